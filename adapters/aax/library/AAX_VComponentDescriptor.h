// A host component description behind a check: a missing first version
// answers -20004, a missing second version -20009. Owns the maps it makes.
#pragma once

#include "AAX_IACFHostInterfaces.h"
#include "AAX_IComponentDescriptor.h"
#include "AAX_VPropertyMap.h"
#include "ACFPtr.h"

#include <memory>
#include <vector>

class AAX_VComponentDescriptor final : public AAX_IComponentDescriptor
{
public:
    /** Made through the host's component factory on `unknown`, which it keeps. */
    explicit AAX_VComponentDescriptor(IACFUnknown* unknown);
    ~AAX_VComponentDescriptor() override;

    AAX_Result Clear() override;
    AAX_Result AddAudioIn(AAX_CFieldIndex field) override;
    AAX_Result AddAudioOut(AAX_CFieldIndex field) override;
    AAX_Result AddAudioBufferLength(AAX_CFieldIndex field) override;
    AAX_Result AddSampleRate(AAX_CFieldIndex field) override;
    AAX_Result AddClock(AAX_CFieldIndex field) override;
    AAX_Result AddSideChainIn(AAX_CFieldIndex field) override;
    AAX_Result AddDataInPort(AAX_CFieldIndex field, uint32_t packetSize, AAX_EDataInPortType type) override;
    AAX_Result AddAuxOutputStem(AAX_CFieldIndex field, int32_t stemFormat, const char* name) override;
    AAX_Result AddPrivateData(AAX_CFieldIndex field, int32_t dataSize, uint32_t options) override;
    AAX_Result AddTemporaryData(AAX_CFieldIndex field, uint32_t dataElementSize) override;
    AAX_Result AddDmaInstance(AAX_CFieldIndex field, AAX_IDma::EMode mode) override;
    AAX_Result AddMeters(AAX_CFieldIndex field, const AAX_CTypeID* meterIDs, uint32_t count) override;
    AAX_Result AddMIDINode(AAX_CFieldIndex field, AAX_EMIDINodeType type, const char* name, uint32_t channelMask) override;
    AAX_Result AddReservedField(AAX_CFieldIndex field, uint32_t fieldType) override;
    AAX_IPropertyMap* NewPropertyMap() override;
    AAX_IPropertyMap* DuplicatePropertyMap(AAX_IPropertyMap* source) override;
    AAX_Result AddProcessProc_Native(AAX_CProcessProc process, AAX_IPropertyMap* properties,
                                     AAX_CInstanceInitProc instanceInit, AAX_CBackgroundProc background,
                                     AAX_CTypeID* procID) override;
    AAX_Result AddProcessProc_TI(const char* dllName, const char* processName, AAX_IPropertyMap* properties,
                                 const char* instanceInitName, const char* backgroundName, AAX_CTypeID* procID) override;

    IACFUnknown* GetIUnknown() const noexcept { return v1.get(); }
    static IACFUnknown* HostObjectOf(AAX_IComponentDescriptor* component) noexcept;

private:
    ACFPtr<IACFUnknown> unknown;
    ACFPtr<AAX_IACFComponentDescriptor> v1;
    ACFPtr<AAX_IACFComponentDescriptor_V2> v2;
    std::vector<std::unique_ptr<AAX_VPropertyMap>> propertyMaps;
};
