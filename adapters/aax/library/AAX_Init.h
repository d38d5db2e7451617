// What the seven exported functions do, each behind its own catch-all.
#pragma once

#include "AAX.h"
#include "ACFUnknown.h"

class AAX_ICollection;

/** The SDK version this layer reports to the host. */
constexpr uint64_t AAX_SDKVersion = 0x000002000061125CULL;

/** Supplied by the plug-in: fills the collection with the effect's
    description; 0 on success. */
AAX_Result GetEffectDescriptions(AAX_ICollection* collection);

AAX_Result AAXRegisterPlugin(IACFUnknown* host, IACFPluginDefinition** out);
AAX_Result AAXRegisterComponent(IACFUnknown* host, uint32_t index, IACFComponentDefinition** out);
AAX_Result AAXGetClassFactory(IACFUnknown* host, const acfUID& component, const acfUID& iid, void** out);
AAX_Result AAXCanUnloadNow(IACFUnknown* host);
AAX_Result AAXStartup(IACFUnknown* host);
AAX_Result AAXShutdown(IACFUnknown* host);
AAX_Result AAXGetSDKVersion(uint64_t* out);
