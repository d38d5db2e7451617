#include "AAX_Init.h"

#include "AAX_CHostServices.h"
#include "AAX_UIDs.h"
#include "AAX_VCollection.h"
#include "CACFUnknown.h"

// Host thread that loads the plug-in; once, after ACFStartup.
AAX_Result AAXRegisterPlugin(IACFUnknown* host, IACFPluginDefinition** out)
{
    if (out == nullptr)
        return AAXStatus::missingObject;
    *out = nullptr;

    // Destroyed on return: its description proxies go with it, and the host
    // keeps the collection through the reference handed back in *out.
    AAX_VCollection collection(host);
    if (collection.GetIUnknown() == nullptr)
        return AAXStatus::missingObject;   // no collection to describe anything into

    const AAX_Result described = GetEffectDescriptions(&collection);

    void* definition = nullptr;
    const bool found = collection.GetIUnknown()->QueryInterface(IID_IACFPluginDefinition, &definition) == AAXStatus::success
                       && definition != nullptr;
    *out = found ? static_cast<IACFPluginDefinition*>(definition) : nullptr;

    if (described != AAXStatus::success)
        return described;
    return found ? AAXStatus::success : AAXStatus::missingObject;
}

AAX_Result AAXRegisterComponent(IACFUnknown*, uint32_t, IACFComponentDefinition** out)
{
    if (out == nullptr)
        return AAXStatus::missingObject;
    *out = nullptr;
    return AAXStatus::success;
}

// Objects are made only through the create procedures of the description.
AAX_Result AAXGetClassFactory(IACFUnknown*, const acfUID&, const acfUID&, void** out)
{
    if (out != nullptr)
        *out = nullptr;
    return AAXStatus::notImplemented;
}

AAX_Result AAXCanUnloadNow(IACFUnknown*)
{
    return CACFUnknown::GetActiveObjectCount();
}

AAX_Result AAXStartup(IACFUnknown* host)
{
    AAX_CHostServices::Set(host);
    return AAXStatus::success;
}

AAX_Result AAXShutdown(IACFUnknown*)
{
    AAX_CHostServices::Set(nullptr);
    return AAXStatus::success;
}

AAX_Result AAXGetSDKVersion(uint64_t* out)
{
    if (out == nullptr)
        return AAXStatus::missingObject;
    *out = AAX_SDKVersion;
    return AAXStatus::success;
}
