#include "AAX_VCollection.h"

#include "AAX_UIDs.h"

AAX_VCollection::AAX_VCollection(IACFUnknown* u)
{
    unknown.retain(u);
    v1 = AAX_CreateHostObjectAs<AAX_IACFCollection>(u, AAXCompID_AAXCollection, IID_IAAXCollectionV1);
}

AAX_VCollection::~AAX_VCollection()
{
    propertyMaps.clear();
    effectDescriptors.clear();
    v1.reset();
    unknown.reset();
}

#define AAX_V1_CALL(call) return v1 ? v1->call : AAXStatus::missingObject

AAX_IEffectDescriptor* AAX_VCollection::NewDescriptor()
{
    // Null when the host makes none: the description then answers -20004 and adds nothing.
    return AAX_KeepNewProxy(effectDescriptors, unknown.get());
}

AAX_Result AAX_VCollection::AddEffect(const char* effectID, AAX_IEffectDescriptor* descriptor)
{
    AAX_V1_CALL(AddEffect(effectID, AAX_VEffectDescriptor::HostObjectOf(descriptor)));
}

AAX_Result AAX_VCollection::SetManufacturerName(const char* name) { AAX_V1_CALL(SetManufacturerName(name)); }
AAX_Result AAX_VCollection::AddPackageName(const char* name) { AAX_V1_CALL(AddPackageName(name)); }
AAX_Result AAX_VCollection::SetPackageVersion(uint32_t version) { AAX_V1_CALL(SetPackageVersion(version)); }

AAX_IPropertyMap* AAX_VCollection::NewPropertyMap()
{
    return AAX_KeepNewProxy(propertyMaps, unknown.get());
}

AAX_Result AAX_VCollection::SetProperties(AAX_IPropertyMap* properties)
{
    AAX_V1_CALL(SetProperties(AAX_VPropertyMap::HostObjectOf(properties)));
}
