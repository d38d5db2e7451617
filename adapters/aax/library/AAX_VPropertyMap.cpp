#include "AAX_VPropertyMap.h"

#include "AAX_UIDs.h"

AAX_VPropertyMap::AAX_VPropertyMap(IACFUnknown* host)
    : v1(AAX_CreateHostObjectAs<AAX_IACFPropertyMap>(host, AAXCompID_AAXPropertyMap, IID_IAAXPropertyMapV1)),
      v2(ACFPtr<AAX_IACFPropertyMap_V2>::query(v1.get(), IID_IAAXPropertyMapV2))
{
}

AAX_CBoolean AAX_VPropertyMap::GetProperty(AAX_EProperty property, AAX_CPropertyValue* value) const
{
    return v1 ? v1->GetProperty(property, value) : AAX_CBoolean(0);
}

AAX_Result AAX_VPropertyMap::AddProperty(AAX_EProperty property, AAX_CPropertyValue value)
{
    return v1 ? v1->AddProperty(property, value) : AAXStatus::missingObject;
}

AAX_Result AAX_VPropertyMap::RemoveProperty(AAX_EProperty property)
{
    return v1 ? v1->RemoveProperty(property) : AAXStatus::missingObject;
}

AAX_Result AAX_VPropertyMap::AddPropertyWithIDArray(AAX_EProperty property, const AAX_SPlugInIdentifierTriad* ids, uint32_t count)
{
    return v2 ? v2->AddPropertyWithIDArray(property, ids, count) : AAXStatus::notImplemented;
}

AAX_CBoolean AAX_VPropertyMap::GetPropertyWithIDArray(AAX_EProperty property, const AAX_SPlugInIdentifierTriad** ids, uint32_t* count) const
{
    return v2 ? v2->GetPropertyWithIDArray(property, ids, count) : AAX_CBoolean(0);
}

IACFUnknown* AAX_VPropertyMap::HostObjectOf(AAX_IPropertyMap* map) noexcept
{
    auto* proxy = dynamic_cast<AAX_VPropertyMap*>(map);
    return proxy != nullptr ? proxy->GetIUnknown() : nullptr;
}
