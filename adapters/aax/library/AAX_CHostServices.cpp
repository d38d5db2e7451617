#include "AAX_CHostServices.h"

#include "AAX_VHostServices.h"

namespace
{
AAX_VHostServices* hostServices = nullptr;   // owned
}

void AAX_CHostServices::Set(IACFUnknown* host)
{
    if (host != nullptr && hostServices == nullptr)
        hostServices = new AAX_VHostServices(host);
    else if (host == nullptr && hostServices != nullptr)
    {
        delete hostServices;
        hostServices = nullptr;
    }
}

AAX_IHostServices* AAX_CHostServices::Get() noexcept
{
    return hostServices;
}

AAX_Result AAX_CHostServices::Assert(const char* file, int32_t line, const char* note)
{
    return hostServices != nullptr ? hostServices->Assert(file, line, note) : AAXStatus::missingObject;
}

AAX_Result AAX_CHostServices::Trace(int32_t priority, const char* message)
{
    return hostServices != nullptr ? hostServices->Trace(priority, message) : AAXStatus::missingObject;
}
