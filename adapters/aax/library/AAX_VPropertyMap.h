// A host property map behind a check: a missing first version answers false
// or -20004, a missing second version false or -20009.
#pragma once

#include "AAX_IACFHostInterfaces.h"
#include "AAX_IPropertyMap.h"
#include "ACFPtr.h"

class AAX_VPropertyMap final : public AAX_IPropertyMap
{
public:
    /** Made through the host's component factory on `host`. */
    explicit AAX_VPropertyMap(IACFUnknown* host);
    ~AAX_VPropertyMap() override = default;

    AAX_CBoolean GetProperty(AAX_EProperty property, AAX_CPropertyValue* value) const override;
    AAX_Result AddProperty(AAX_EProperty property, AAX_CPropertyValue value) override;
    AAX_Result RemoveProperty(AAX_EProperty property) override;
    AAX_Result AddPropertyWithIDArray(AAX_EProperty property, const AAX_SPlugInIdentifierTriad* ids, uint32_t count) override;
    AAX_CBoolean GetPropertyWithIDArray(AAX_EProperty property, const AAX_SPlugInIdentifierTriad** ids, uint32_t* count) const override;

    /** The host object, or null when the host made none. */
    IACFUnknown* GetIUnknown() const noexcept { return v1.get(); }

    /** The host object behind any map of this library; null for null or a foreign map. */
    static IACFUnknown* HostObjectOf(AAX_IPropertyMap* map) noexcept;

private:
    ACFPtr<AAX_IACFPropertyMap> v1;
    ACFPtr<AAX_IACFPropertyMap_V2> v2;
};
