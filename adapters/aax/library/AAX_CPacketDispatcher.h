// Turns changed parameter values into packets that the controller posts to
// the audio side. Registration, dirty marking and dispatch may come from
// several host threads; one lock serialises them.
#pragma once

#include "AAX_CMutex.h"
#include "AAX_CPacket.h"
#include "AAX_IPacketHandler.h"

#include <map>
#include <memory>
#include <string>
#include <utility>

class AAX_IController;
class AAX_IEffectParameters;

class AAX_CPacketDispatcher
{
public:
    AAX_CPacketDispatcher() = default;
    ~AAX_CPacketDispatcher();

    AAX_CPacketDispatcher(const AAX_CPacketDispatcher&) = delete;
    AAX_CPacketDispatcher& operator=(const AAX_CPacketDispatcher&) = delete;

    void Initialize(AAX_IController* controller, AAX_IEffectParameters* effectParameters);

    /** Feeds field `field` from parameter `id` through a copy of `handler`.
        Null text or handler: -20004 and nothing registered. */
    AAX_Result RegisterPacket(AAX_CParamID id, AAX_CFieldIndex field, const AAX_IPacketHandler* handler);
    /** Marks every packet fed by `id`; 0 also when none is. */
    AAX_Result SetDirty(AAX_CParamID id, bool dirty);
    /** Posts each dirty packet once; the status of the last post, 0 when none. */
    AAX_Result Dispatch();

    /** Handler body: the parameter's own value as one word (bool as 0 or 1,
        float, 32-bit integer) or a double, in host byte order. */
    AAX_Result GenerateSingleValuePacket(AAX_CParamID id, AAX_CPacket& packet);

    /** Forgets every packet and handler, as when the effect's parameters go. */
    void Reset();

private:
    void releaseAll();

    std::map<AAX_CFieldIndex, std::unique_ptr<AAX_CPacket>> packets;
    std::multimap<std::string, std::pair<AAX_CPacket*, std::unique_ptr<AAX_IPacketHandler>>> handlers;
    AAX_IController* controller = nullptr;              // not owned
    AAX_IEffectParameters* effectParameters = nullptr;  // not owned
    AAX_CMutex lock;
};
