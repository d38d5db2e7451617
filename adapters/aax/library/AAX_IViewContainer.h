// The host's view that a GUI object draws into (through AAX_VViewContainer).
#pragma once

#include "AAX.h"

class AAX_IViewContainer
{
public:
    virtual ~AAX_IViewContainer() = default;

    virtual int32_t GetType() = 0;        // 0 none, 1 a native view
    virtual void* GetPtr() = 0;           // the native view, or null
    virtual AAX_Result GetModifiers(uint32_t* modifiers) = 0;
    virtual AAX_Result SetViewSize(AAX_Point& size) = 0;
    virtual AAX_Result HandleParameterMouseDown(AAX_CParamID id, uint32_t modifiers) = 0;
    virtual AAX_Result HandleParameterMouseDrag(AAX_CParamID id, uint32_t modifiers) = 0;
    virtual AAX_Result HandleParameterMouseUp(AAX_CParamID id, uint32_t modifiers) = 0;
};
