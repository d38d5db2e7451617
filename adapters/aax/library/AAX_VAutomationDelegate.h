// The host's automation behind a check: missing, every call answers -20004.
#pragma once

#include "AAX_IACFHostInterfaces.h"
#include "AAX_IAutomationDelegate.h"
#include "ACFPtr.h"

class AAX_VAutomationDelegate final : public AAX_IAutomationDelegate
{
public:
    explicit AAX_VAutomationDelegate(IACFUnknown* host);
    ~AAX_VAutomationDelegate() override = default;

    AAX_Result RegisterParameter(AAX_CParamID id) override;
    AAX_Result UnregisterParameter(AAX_CParamID id) override;
    AAX_Result PostSetValueRequest(AAX_CParamID id, double normalized) const override;
    AAX_Result PostCurrentValue(AAX_CParamID id, double normalized) const override;
    AAX_Result PostTouchRequest(AAX_CParamID id) override;
    AAX_Result PostReleaseRequest(AAX_CParamID id) override;
    AAX_Result GetTouchState(AAX_CParamID id, AAX_CBoolean* touched) override;

    /** False when the host offered no automation interface. */
    bool HasHostInterface() const noexcept { return static_cast<bool>(v1); }

private:
    ACFPtr<AAX_IACFAutomationDelegate> v1;
};
