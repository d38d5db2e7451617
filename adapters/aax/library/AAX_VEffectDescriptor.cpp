#include "AAX_VEffectDescriptor.h"

#include "AAX_UIDs.h"

AAX_VEffectDescriptor::AAX_VEffectDescriptor(IACFUnknown* u)
{
    unknown.retain(u);
    v1 = AAX_CreateHostObjectAs<AAX_IACFEffectDescriptor>(u, AAXCompID_AAXEffectDescriptor, IID_IAAXEffectDescriptorV1);
    v2 = ACFPtr<AAX_IACFEffectDescriptor_V2>::query(v1.get(), IID_IAAXEffectDescriptorV2);
}

AAX_VEffectDescriptor::~AAX_VEffectDescriptor()
{
    propertyMaps.clear();
    componentDescriptors.clear();
    v2.reset();
    v1.reset();
    unknown.reset();
}

#define AAX_V1_CALL(call) return v1 ? v1->call : AAXStatus::missingObject

AAX_IComponentDescriptor* AAX_VEffectDescriptor::NewComponentDescriptor()
{
    // Null when the host makes none: the description skips it.
    return AAX_KeepNewProxy(componentDescriptors, unknown.get());
}

AAX_Result AAX_VEffectDescriptor::AddComponent(AAX_IComponentDescriptor* component)
{
    AAX_V1_CALL(AddComponent(AAX_VComponentDescriptor::HostObjectOf(component)));
}

AAX_Result AAX_VEffectDescriptor::AddName(const char* name) { AAX_V1_CALL(AddName(name)); }
AAX_Result AAX_VEffectDescriptor::AddCategory(uint32_t category) { AAX_V1_CALL(AddCategory(category)); }
AAX_Result AAX_VEffectDescriptor::AddCategoryBypassParameter(uint32_t category, AAX_CParamID id) { AAX_V1_CALL(AddCategoryBypassParameter(category, id)); }
AAX_Result AAX_VEffectDescriptor::AddProcPtr(void* proc, AAX_CProcPtrID procID) { AAX_V1_CALL(AddProcPtr(proc, procID)); }

AAX_IPropertyMap* AAX_VEffectDescriptor::NewPropertyMap()
{
    return AAX_KeepNewProxy(propertyMaps, unknown.get());
}

AAX_Result AAX_VEffectDescriptor::SetProperties(AAX_IPropertyMap* properties)
{
    AAX_V1_CALL(SetProperties(AAX_VPropertyMap::HostObjectOf(properties)));
}

AAX_Result AAX_VEffectDescriptor::AddResourceInfo(AAX_EResourceType type, const char* info) { AAX_V1_CALL(AddResourceInfo(type, info)); }

AAX_Result AAX_VEffectDescriptor::AddMeterDescription(AAX_CTypeID meterID, const char* name, AAX_IPropertyMap* properties)
{
    AAX_V1_CALL(AddMeterDescription(meterID, name, AAX_VPropertyMap::HostObjectOf(properties)));
}

AAX_Result AAX_VEffectDescriptor::AddControlMIDINode(AAX_CTypeID nodeID, AAX_EMIDINodeType type, const char* name, uint32_t channelMask)
{
    return v2 ? v2->AddControlMIDINode(nodeID, type, name, channelMask) : AAXStatus::notImplemented;
}

IACFUnknown* AAX_VEffectDescriptor::HostObjectOf(AAX_IEffectDescriptor* descriptor) noexcept
{
    auto* proxy = dynamic_cast<AAX_VEffectDescriptor*>(descriptor);
    return proxy != nullptr ? proxy->GetIUnknown() : nullptr;
}
