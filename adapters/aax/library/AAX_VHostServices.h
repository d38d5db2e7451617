// The host's diagnostic services behind a check: missing, calls answer -20004.
#pragma once

#include "AAX_IACFHostInterfaces.h"
#include "AAX_IHostServices.h"
#include "ACFPtr.h"

class AAX_VHostServices final : public AAX_IHostServices
{
public:
    /** Made through the host's component factory. */
    explicit AAX_VHostServices(IACFUnknown* host);
    ~AAX_VHostServices() override = default;

    AAX_Result Assert(const char* file, int32_t line, const char* note) override;
    AAX_Result Trace(int32_t priority, const char* message) override;

private:
    ACFPtr<AAX_IACFHostServices> v1;
};
