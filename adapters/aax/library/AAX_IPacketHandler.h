// What the packet dispatcher calls to fill a dirty packet.
#pragma once

#include "AAX.h"
#include "AAX_CPacket.h"

class AAX_IPacketHandler
{
public:
    virtual ~AAX_IPacketHandler() = default;
    virtual AAX_IPacketHandler* Clone() const = 0;
    /** Fills `packet` for parameter `id`; 0 when it is ready to post. */
    virtual AAX_Result Call(AAX_CParamID id, AAX_CPacket& packet) const = 0;
};

/** Binds a handler to a member operation of a worker object, taking either
    (identifier, packet) or the packet alone. Unbound: -20004. */
template <class Worker>
class AAX_CPacketHandler final : public AAX_IPacketHandler
{
public:
    using IdAndPacketMember = AAX_Result (Worker::*)(AAX_CParamID, AAX_CPacket&);
    using PacketMember = AAX_Result (Worker::*)(AAX_CPacket&);

    AAX_CPacketHandler(Worker* w, IdAndPacketMember m) : worker(w), withId(m) {}
    AAX_CPacketHandler(Worker* w, PacketMember m) : worker(w), packetOnly(m) {}

    AAX_CPacketHandler* Clone() const override { return new AAX_CPacketHandler(*this); }

    AAX_Result Call(AAX_CParamID id, AAX_CPacket& packet) const override
    {
        if (worker == nullptr)
            return AAXStatus::missingObject;
        if (withId != nullptr)
            return (worker->*withId)(id, packet);
        if (packetOnly != nullptr)
            return (worker->*packetOnly)(packet);
        return AAXStatus::missingObject;
    }

private:
    Worker* worker;                       // not owned
    IdAndPacketMember withId = nullptr;
    PacketMember packetOnly = nullptr;
};
