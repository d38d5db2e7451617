// The host's collection that registration fills, behind a check: missing, every
// call answers -20004. Owns the effect descriptions and maps it makes.
#pragma once

#include "AAX_IACFHostInterfaces.h"
#include "AAX_ICollection.h"
#include "AAX_VEffectDescriptor.h"
#include "AAX_VPropertyMap.h"
#include "ACFPtr.h"

#include <memory>
#include <vector>

class AAX_VCollection final : public AAX_ICollection
{
public:
    /** Made through the host's component factory on `unknown`, which it keeps. */
    explicit AAX_VCollection(IACFUnknown* unknown);
    ~AAX_VCollection() override;

    AAX_IEffectDescriptor* NewDescriptor() override;
    AAX_Result AddEffect(const char* effectID, AAX_IEffectDescriptor* descriptor) override;
    AAX_Result SetManufacturerName(const char* name) override;
    AAX_Result AddPackageName(const char* name) override;
    AAX_Result SetPackageVersion(uint32_t version) override;
    AAX_IPropertyMap* NewPropertyMap() override;
    AAX_Result SetProperties(AAX_IPropertyMap* properties) override;

    /** The host collection, or null when the host made none. */
    IACFUnknown* GetIUnknown() const noexcept { return v1.get(); }

private:
    ACFPtr<IACFUnknown> unknown;
    ACFPtr<AAX_IACFCollection> v1;
    std::vector<std::unique_ptr<AAX_VEffectDescriptor>> effectDescriptors;
    std::vector<std::unique_ptr<AAX_VPropertyMap>> propertyMaps;
};
