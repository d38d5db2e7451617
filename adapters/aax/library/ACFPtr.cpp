#include "ACFPtr.h"

#include "AAX_UIDs.h"

void* AAX_CreateHostObject(IACFUnknown* host, const acfUID& componentID, const acfUID& iid)
{
    auto factory = ACFPtr<IACFComponentFactory>::query(host, IID_IACFComponentFactory);
    if (! factory)
        return nullptr;

    void* out = nullptr;
    if (factory->CreateComponent(componentID, nullptr, iid, &out) != AAXStatus::success)
        return nullptr;
    return out;
}
