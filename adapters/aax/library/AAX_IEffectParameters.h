// The effect object: the host-visible interface joined to the reference
// counting of CACFUnknown.
#pragma once

#include "AAX_IACFEffectParameters.h"
#include "CACFUnknown.h"

class AAX_IEffectParameters : public AAX_IACFEffectParameters_V2, public CACFUnknown
{
public:
    // Host thread: each goes to the outer unknown.
    int32_t QueryInterface(const acfUID& iid, void** out) override;
    uint32_t AddRef() override;
    uint32_t Release() override;

    /** Both effect-parameters identifiers give the host-visible interface. */
    int32_t InternalQueryInterface(const acfUID& iid, void** out) override;
    ~AAX_IEffectParameters() override = default;
};

/** The create procedure a description registers for effect objects. */
using AAX_CreateEffectParametersProc = AAX_IEffectParameters* (*)();
