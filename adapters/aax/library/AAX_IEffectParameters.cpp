#include "AAX_IEffectParameters.h"

#include "AAX_UIDs.h"

int32_t AAX_IEffectParameters::QueryInterface(const acfUID& iid, void** out)
{
    return GetOuterUnknown()->QueryInterface(iid, out);
}

uint32_t AAX_IEffectParameters::AddRef()
{
    return GetOuterUnknown()->AddRef();
}

uint32_t AAX_IEffectParameters::Release()
{
    return GetOuterUnknown()->Release();
}

int32_t AAX_IEffectParameters::InternalQueryInterface(const acfUID& iid, void** out)
{
    if (out != nullptr && (iid == IID_IAAXEffectParametersV1 || iid == IID_IAAXEffectParametersV2))
    {
        *out = static_cast<AAX_IACFEffectParameters_V2*>(this);
        AddRef();
        return AAXStatus::success;
    }
    return CACFUnknown::InternalQueryInterface(iid, out);
}
