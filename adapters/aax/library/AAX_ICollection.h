// The plug-in's description as registration fills it (through AAX_VCollection).
#pragma once

#include "AAX.h"

class AAX_IEffectDescriptor;
class AAX_IPropertyMap;

class AAX_ICollection
{
public:
    virtual ~AAX_ICollection() = default;

    /** A new effect description kept by the collection; null when the host makes none. */
    virtual AAX_IEffectDescriptor* NewDescriptor() = 0;
    virtual AAX_Result AddEffect(const char* effectID, AAX_IEffectDescriptor* descriptor) = 0;
    virtual AAX_Result SetManufacturerName(const char* name) = 0;
    virtual AAX_Result AddPackageName(const char* name) = 0;
    virtual AAX_Result SetPackageVersion(uint32_t version) = 0;
    /** A new map kept by the collection; null when the host makes none. */
    virtual AAX_IPropertyMap* NewPropertyMap() = 0;
    virtual AAX_Result SetProperties(AAX_IPropertyMap* properties) = 0;
};
