// The seven functions a host looks up in the plug-in by name. C linkage; the
// plug-in exports these and nothing else.
#pragma once

#include "AAX.h"
#include "ACFUnknown.h"

extern "C"
{
using ACFRegisterPluginProc = int32_t (*)(IACFUnknown* host, IACFPluginDefinition** out);
using ACFRegisterComponentProc = int32_t (*)(IACFUnknown* host, uint32_t index, IACFComponentDefinition** out);
using ACFGetClassFactoryProc = int32_t (*)(IACFUnknown* host, const acfUID& component, const acfUID& iid, void** out);
using ACFCanUnloadNowProc = int32_t (*)(IACFUnknown* host);
using ACFStartupProc = int32_t (*)(IACFUnknown* host);
using ACFShutdownProc = int32_t (*)(IACFUnknown* host);
using ACFGetSDKVersionProc = int32_t (*)(uint64_t* out);

__attribute__((visibility("default"))) int32_t ACFRegisterPlugin(IACFUnknown* host, IACFPluginDefinition** out);
__attribute__((visibility("default"))) int32_t ACFRegisterComponent(IACFUnknown* host, uint32_t index, IACFComponentDefinition** out);
__attribute__((visibility("default"))) int32_t ACFGetClassFactory(IACFUnknown* host, const acfUID& component, const acfUID& iid, void** out);
__attribute__((visibility("default"))) int32_t ACFCanUnloadNow(IACFUnknown* host);
__attribute__((visibility("default"))) int32_t ACFStartup(IACFUnknown* host);
__attribute__((visibility("default"))) int32_t ACFShutdown(IACFUnknown* host);
__attribute__((visibility("default"))) int32_t ACFGetSDKVersion(uint64_t* out);
}
