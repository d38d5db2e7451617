// A host property map as descriptions fill it (through AAX_VPropertyMap).
#pragma once

#include "AAX.h"

class AAX_IPropertyMap
{
public:
    virtual ~AAX_IPropertyMap() = default;

    virtual AAX_CBoolean GetProperty(AAX_EProperty property, AAX_CPropertyValue* value) const = 0;
    virtual AAX_Result AddProperty(AAX_EProperty property, AAX_CPropertyValue value) = 0;
    virtual AAX_Result RemoveProperty(AAX_EProperty property) = 0;
    virtual AAX_Result AddPropertyWithIDArray(AAX_EProperty property, const AAX_SPlugInIdentifierTriad* ids, uint32_t count) = 0;
    virtual AAX_CBoolean GetPropertyWithIDArray(AAX_EProperty property, const AAX_SPlugInIdentifierTriad** ids, uint32_t* count) const = 0;
};
