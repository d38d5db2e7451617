#include "AAX_IEffectGUI.h"

#include "AAX_UIDs.h"

int32_t AAX_IEffectGUI::QueryInterface(const acfUID& iid, void** out)
{
    return GetOuterUnknown()->QueryInterface(iid, out);
}

uint32_t AAX_IEffectGUI::AddRef()
{
    return GetOuterUnknown()->AddRef();
}

uint32_t AAX_IEffectGUI::Release()
{
    return GetOuterUnknown()->Release();
}

int32_t AAX_IEffectGUI::InternalQueryInterface(const acfUID& iid, void** out)
{
    if (out != nullptr && iid == IID_IAAXEffectGUIV1)
    {
        *out = static_cast<AAX_IACFEffectGUI*>(this);
        AddRef();
        return AAXStatus::success;
    }
    return CACFUnknown::InternalQueryInterface(iid, out);
}
