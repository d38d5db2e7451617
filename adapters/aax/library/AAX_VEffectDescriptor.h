// A host effect description behind a check: a missing first version answers
// -20004, a missing second version -20009. Owns the components and maps it makes.
#pragma once

#include "AAX_IACFHostInterfaces.h"
#include "AAX_IEffectDescriptor.h"
#include "AAX_VComponentDescriptor.h"
#include "AAX_VPropertyMap.h"
#include "ACFPtr.h"

#include <memory>
#include <vector>

class AAX_VEffectDescriptor final : public AAX_IEffectDescriptor
{
public:
    /** Made through the host's component factory on `unknown`, which it keeps. */
    explicit AAX_VEffectDescriptor(IACFUnknown* unknown);
    ~AAX_VEffectDescriptor() override;

    AAX_IComponentDescriptor* NewComponentDescriptor() override;
    AAX_Result AddComponent(AAX_IComponentDescriptor* component) override;
    AAX_Result AddName(const char* name) override;
    AAX_Result AddCategory(uint32_t category) override;
    AAX_Result AddCategoryBypassParameter(uint32_t category, AAX_CParamID id) override;
    AAX_Result AddProcPtr(void* proc, AAX_CProcPtrID procID) override;
    AAX_IPropertyMap* NewPropertyMap() override;
    AAX_Result SetProperties(AAX_IPropertyMap* properties) override;
    AAX_Result AddResourceInfo(AAX_EResourceType type, const char* info) override;
    AAX_Result AddMeterDescription(AAX_CTypeID meterID, const char* name, AAX_IPropertyMap* properties) override;
    AAX_Result AddControlMIDINode(AAX_CTypeID nodeID, AAX_EMIDINodeType type, const char* name, uint32_t channelMask) override;

    IACFUnknown* GetIUnknown() const noexcept { return v1.get(); }
    static IACFUnknown* HostObjectOf(AAX_IEffectDescriptor* descriptor) noexcept;

private:
    ACFPtr<IACFUnknown> unknown;
    ACFPtr<AAX_IACFEffectDescriptor> v1;
    ACFPtr<AAX_IACFEffectDescriptor_V2> v2;
    std::vector<std::unique_ptr<AAX_VComponentDescriptor>> componentDescriptors;
    std::vector<std::unique_ptr<AAX_VPropertyMap>> propertyMaps;
};
