// The host's view behind a check. Missing: no type (0), no view (null),
// size changes dropped (0), every other call -20009.
#pragma once

#include "AAX_IACFHostInterfaces.h"
#include "AAX_IViewContainer.h"
#include "ACFPtr.h"

class AAX_VViewContainer final : public AAX_IViewContainer
{
public:
    /** A proxy of no host, shared: drops every call with its missing-interface status. */
    static AAX_VViewContainer& Absent();

    explicit AAX_VViewContainer(IACFUnknown* container);
    ~AAX_VViewContainer() override = default;

    int32_t GetType() override;
    void* GetPtr() override;
    AAX_Result GetModifiers(uint32_t* modifiers) override;
    AAX_Result SetViewSize(AAX_Point& size) override;
    AAX_Result HandleParameterMouseDown(AAX_CParamID id, uint32_t modifiers) override;
    AAX_Result HandleParameterMouseDrag(AAX_CParamID id, uint32_t modifiers) override;
    AAX_Result HandleParameterMouseUp(AAX_CParamID id, uint32_t modifiers) override;

private:
    ACFPtr<AAX_IACFViewContainer> v1;
};
