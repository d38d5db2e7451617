// The plug-in's exported functions: each runs its AAX_Init counterpart and
// answers 0x8000FFFF instead of letting any exception reach the host.
#include "AAX_Exports.h"

#include "AAX_Guard.h"
#include "AAX_Init.h"

int32_t ACFRegisterPlugin(IACFUnknown* host, IACFPluginDefinition** out)
{
    return AAX_Guarded([&] { return AAXRegisterPlugin(host, out); });
}

int32_t ACFRegisterComponent(IACFUnknown* host, uint32_t index, IACFComponentDefinition** out)
{
    return AAX_Guarded([&] { return AAXRegisterComponent(host, index, out); });
}

int32_t ACFGetClassFactory(IACFUnknown* host, const acfUID& component, const acfUID& iid, void** out)
{
    return AAX_Guarded([&] { return AAXGetClassFactory(host, component, iid, out); });
}

int32_t ACFCanUnloadNow(IACFUnknown* host)
{
    return AAX_Guarded([&] { return AAXCanUnloadNow(host); });
}

int32_t ACFStartup(IACFUnknown* host)
{
    return AAX_Guarded([&] { return AAXStartup(host); });
}

int32_t ACFShutdown(IACFUnknown* host)
{
    return AAX_Guarded([&] { return AAXShutdown(host); });
}

int32_t ACFGetSDKVersion(uint64_t* out)
{
    return AAX_Guarded([&] { return AAXGetSDKVersion(out); });
}
