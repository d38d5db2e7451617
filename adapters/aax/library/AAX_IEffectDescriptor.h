// One effect of the plug-in's description (through AAX_VEffectDescriptor).
#pragma once

#include "AAX.h"

class AAX_IComponentDescriptor;
class AAX_IPropertyMap;

class AAX_IEffectDescriptor
{
public:
    virtual ~AAX_IEffectDescriptor() = default;

    /** A new component kept by this descriptor; null when the host makes none. */
    virtual AAX_IComponentDescriptor* NewComponentDescriptor() = 0;
    virtual AAX_Result AddComponent(AAX_IComponentDescriptor* component) = 0;
    virtual AAX_Result AddName(const char* name) = 0;
    virtual AAX_Result AddCategory(uint32_t category) = 0;
    virtual AAX_Result AddCategoryBypassParameter(uint32_t category, AAX_CParamID id) = 0;
    virtual AAX_Result AddProcPtr(void* proc, AAX_CProcPtrID procID) = 0;
    /** A new map kept by this descriptor; null when the host makes none. */
    virtual AAX_IPropertyMap* NewPropertyMap() = 0;
    virtual AAX_Result SetProperties(AAX_IPropertyMap* properties) = 0;
    virtual AAX_Result AddResourceInfo(AAX_EResourceType type, const char* info) = 0;
    virtual AAX_Result AddMeterDescription(AAX_CTypeID meterID, const char* name, AAX_IPropertyMap* properties) = 0;
    virtual AAX_Result AddControlMIDINode(AAX_CTypeID nodeID, AAX_EMIDINodeType type, const char* name, uint32_t channelMask) = 0;
};
