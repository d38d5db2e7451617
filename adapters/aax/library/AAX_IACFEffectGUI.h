// The GUI object as the host sees it, in the host's slot order (numbers in
// the comments).
#pragma once

#include "AAX.h"
#include "AAX_IString.h"
#include "ACFUnknown.h"

class AAX_IACFEffectGUI : public IACFUnknown
{
public:
    virtual AAX_Result Initialize(IACFUnknown* host) = 0;                                                  // 3
    virtual AAX_Result Uninitialize() = 0;                                                                 // 4
    virtual AAX_Result NotificationReceived(AAX_CTypeID type, const void* data, uint32_t size) = 0;        // 5
    virtual AAX_Result SetViewContainer(IACFUnknown* container) = 0;                                       // 6
    virtual AAX_Result GetViewSize(AAX_Point* size) const = 0;                                             // 7
    virtual AAX_Result Draw(AAX_Rect* area) = 0;                                                           // 8
    virtual AAX_Result TimerWakeup() = 0;                                                                  // 9
    virtual AAX_Result ParameterUpdated(AAX_CParamID id) = 0;                                              // 10
    virtual AAX_Result GetCustomLabel(AAX_EPlugInStrings selector, AAX_IString* label) const = 0;          // 11
    virtual AAX_Result SetControlHighlightInfo(AAX_CParamID id, AAX_CBoolean highlighted, AAX_EHighlightColor colour) = 0; // 12

protected:
    ~AAX_IACFEffectGUI() = default;
};
