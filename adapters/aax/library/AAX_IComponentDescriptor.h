// One algorithm component of an effect description (through AAX_VComponentDescriptor).
#pragma once

#include "AAX.h"
#include "AAX_IACFHostInterfaces.h"

class AAX_IPropertyMap;

class AAX_IComponentDescriptor
{
public:
    virtual ~AAX_IComponentDescriptor() = default;

    virtual AAX_Result Clear() = 0;
    virtual AAX_Result AddAudioIn(AAX_CFieldIndex field) = 0;
    virtual AAX_Result AddAudioOut(AAX_CFieldIndex field) = 0;
    virtual AAX_Result AddAudioBufferLength(AAX_CFieldIndex field) = 0;
    virtual AAX_Result AddSampleRate(AAX_CFieldIndex field) = 0;
    virtual AAX_Result AddClock(AAX_CFieldIndex field) = 0;
    virtual AAX_Result AddSideChainIn(AAX_CFieldIndex field) = 0;
    virtual AAX_Result AddDataInPort(AAX_CFieldIndex field, uint32_t packetSize, AAX_EDataInPortType type) = 0;
    virtual AAX_Result AddAuxOutputStem(AAX_CFieldIndex field, int32_t stemFormat, const char* name) = 0;
    virtual AAX_Result AddPrivateData(AAX_CFieldIndex field, int32_t dataSize, uint32_t options) = 0;
    virtual AAX_Result AddTemporaryData(AAX_CFieldIndex field, uint32_t dataElementSize) = 0;
    virtual AAX_Result AddDmaInstance(AAX_CFieldIndex field, AAX_IDma::EMode mode) = 0;
    virtual AAX_Result AddMeters(AAX_CFieldIndex field, const AAX_CTypeID* meterIDs, uint32_t count) = 0;
    virtual AAX_Result AddMIDINode(AAX_CFieldIndex field, AAX_EMIDINodeType type, const char* name, uint32_t channelMask) = 0;
    virtual AAX_Result AddReservedField(AAX_CFieldIndex field, uint32_t fieldType) = 0;
    /** A new map kept by this descriptor; null when the host makes none. */
    virtual AAX_IPropertyMap* NewPropertyMap() = 0;
    /** A new map holding every property 10 to 307 of `source`. */
    virtual AAX_IPropertyMap* DuplicatePropertyMap(AAX_IPropertyMap* source) = 0;
    virtual AAX_Result AddProcessProc_Native(AAX_CProcessProc process, AAX_IPropertyMap* properties,
                                             AAX_CInstanceInitProc instanceInit, AAX_CBackgroundProc background,
                                             AAX_CTypeID* procID) = 0;
    virtual AAX_Result AddProcessProc_TI(const char* dllName, const char* processName, AAX_IPropertyMap* properties,
                                         const char* instanceInitName, const char* backgroundName, AAX_CTypeID* procID) = 0;
};
