#include "AAX_VHostServices.h"

#include "AAX_UIDs.h"

AAX_VHostServices::AAX_VHostServices(IACFUnknown* host)
    : v1(AAX_CreateHostObjectAs<AAX_IACFHostServices>(host, AAXCompID_HostServices, IID_IAAXHostServicesV1))
{
}

AAX_Result AAX_VHostServices::Assert(const char* file, int32_t line, const char* note)
{
    return v1 ? v1->Assert(file, line, note) : AAXStatus::missingObject;
}

AAX_Result AAX_VHostServices::Trace(int32_t priority, const char* message)
{
    return v1 ? v1->Trace(priority, message) : AAXStatus::missingObject;
}
