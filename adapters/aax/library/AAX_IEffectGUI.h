// The GUI object: the host-visible interface joined to the reference counting
// of CACFUnknown.
#pragma once

#include "AAX_IACFEffectGUI.h"
#include "CACFUnknown.h"

class AAX_IEffectGUI : public AAX_IACFEffectGUI, public CACFUnknown
{
public:
    // Host thread: each goes to the outer unknown.
    int32_t QueryInterface(const acfUID& iid, void** out) override;
    uint32_t AddRef() override;
    uint32_t Release() override;

    /** IID_IAAXEffectGUIV1 gives the host-visible interface. */
    int32_t InternalQueryInterface(const acfUID& iid, void** out) override;
    ~AAX_IEffectGUI() override = default;
};

/** The create procedure a description registers for GUI objects. */
using AAX_CreateEffectGUIProc = AAX_IEffectGUI* (*)();
