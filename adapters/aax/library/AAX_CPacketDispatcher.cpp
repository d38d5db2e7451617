#include "AAX_CPacketDispatcher.h"

#include "AAX_IController.h"
#include "AAX_IEffectParameters.h"
#include "AAX_IParameter.h"

#include <cstring>

AAX_CPacketDispatcher::~AAX_CPacketDispatcher()
{
    AAX_StLock_Guard guard(lock);
    releaseAll();
}

void AAX_CPacketDispatcher::releaseAll()
{
    handlers.clear();
    packets.clear();
}

void AAX_CPacketDispatcher::Reset()
{
    AAX_StLock_Guard guard(lock);
    releaseAll();
}

void AAX_CPacketDispatcher::Initialize(AAX_IController* c, AAX_IEffectParameters* e)
{
    controller = c;
    effectParameters = e;
}

AAX_Result AAX_CPacketDispatcher::RegisterPacket(AAX_CParamID id, AAX_CFieldIndex field, const AAX_IPacketHandler* handler)
{
    if (id == nullptr || handler == nullptr)
        return AAXStatus::missingObject;

    AAX_StLock_Guard guard(lock);
    std::unique_ptr<AAX_IPacketHandler> copy(handler->Clone());
    auto& packet = packets[field];
    if (packet == nullptr)
        packet = std::make_unique<AAX_CPacket>(field);   // dirty, size 0
    handlers.emplace(id, std::make_pair(packet.get(), std::move(copy)));
    return AAXStatus::success;
}

AAX_Result AAX_CPacketDispatcher::SetDirty(AAX_CParamID id, bool dirty)
{
    if (id == nullptr)
        return AAXStatus::success;

    AAX_StLock_Guard guard(lock);
    const auto range = handlers.equal_range(id);
    for (auto it = range.first; it != range.second; ++it)
        it->second.first->SetDirty(dirty);
    return AAXStatus::success;
}

AAX_Result AAX_CPacketDispatcher::Dispatch()
{
    AAX_StLock_Guard guard(lock);
    AAX_Result status = AAXStatus::success;

    for (auto& [id, entry] : handlers)
    {
        AAX_CPacket& packet = *entry.first;
        if (! packet.IsDirty())
            continue;

        AAX_Result filled = AAXStatus::unexpected;
        try
        {
            filled = entry.second->Call(id.c_str(), packet);
        }
        catch (...)
        {
            // A handler that throws fills nothing; the others still run.
        }

        if (filled == AAXStatus::success)
            status = controller != nullptr ? controller->PostPacket(packet.GetID(), packet.Data(), packet.GetSize())
                                           : AAXStatus::missingObject;
        packet.SetDirty(false);
    }
    return status;
}

AAX_Result AAX_CPacketDispatcher::GenerateSingleValuePacket(AAX_CParamID id, AAX_CPacket& packet)
{
    if (effectParameters == nullptr)
        return AAXStatus::missingObject;

    AAX_IParameter* parameter = nullptr;
    if (effectParameters->GetParameter(id, &parameter) != AAXStatus::success || parameter == nullptr)
        return AAXStatus::missingObject;

    bool b = false;
    float f = 0.0f;
    int32_t i = 0;
    double d = 0.0;
    if (parameter->GetValueAsBool(&b))
    {
        const int32_t word = b ? 1 : 0;
        std::memcpy(packet.Reserve(sizeof(word)), &word, sizeof(word));
    }
    else if (parameter->GetValueAsFloat(&f))
        std::memcpy(packet.Reserve(sizeof(f)), &f, sizeof(f));
    else if (parameter->GetValueAsInt32(&i))
        std::memcpy(packet.Reserve(sizeof(i)), &i, sizeof(i));
    else if (parameter->GetValueAsDouble(&d))
        std::memcpy(packet.Reserve(sizeof(d)), &d, sizeof(d));
    else
        return AAXStatus::missingObject;
    return AAXStatus::success;
}
