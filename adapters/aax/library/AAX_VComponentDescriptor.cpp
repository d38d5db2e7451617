#include "AAX_VComponentDescriptor.h"

#include "AAX_UIDs.h"

AAX_VComponentDescriptor::AAX_VComponentDescriptor(IACFUnknown* u)
{
    unknown.retain(u);
    v1 = AAX_CreateHostObjectAs<AAX_IACFComponentDescriptor>(u, AAXCompID_AAXComponentDescriptor, IID_IAAXComponentDescriptorV1);
    v2 = ACFPtr<AAX_IACFComponentDescriptor_V2>::query(v1.get(), IID_IAAXComponentDescriptorV2);
}

// The maps go first (they were made after this descriptor), then the
// interfaces, then the unknown.
AAX_VComponentDescriptor::~AAX_VComponentDescriptor()
{
    propertyMaps.clear();
    v2.reset();
    v1.reset();
    unknown.reset();
}

#define AAX_V1_CALL(call) return v1 ? v1->call : AAXStatus::missingObject
#define AAX_V2_CALL(call) return v2 ? v2->call : AAXStatus::notImplemented

AAX_Result AAX_VComponentDescriptor::Clear() { AAX_V1_CALL(Clear()); }
AAX_Result AAX_VComponentDescriptor::AddAudioIn(AAX_CFieldIndex field) { AAX_V1_CALL(AddAudioIn(field)); }
AAX_Result AAX_VComponentDescriptor::AddAudioOut(AAX_CFieldIndex field) { AAX_V1_CALL(AddAudioOut(field)); }
AAX_Result AAX_VComponentDescriptor::AddAudioBufferLength(AAX_CFieldIndex field) { AAX_V1_CALL(AddAudioBufferLength(field)); }
AAX_Result AAX_VComponentDescriptor::AddSampleRate(AAX_CFieldIndex field) { AAX_V1_CALL(AddSampleRate(field)); }
AAX_Result AAX_VComponentDescriptor::AddClock(AAX_CFieldIndex field) { AAX_V1_CALL(AddClock(field)); }
AAX_Result AAX_VComponentDescriptor::AddSideChainIn(AAX_CFieldIndex field) { AAX_V1_CALL(AddSideChainIn(field)); }
AAX_Result AAX_VComponentDescriptor::AddDataInPort(AAX_CFieldIndex field, uint32_t packetSize, AAX_EDataInPortType type) { AAX_V1_CALL(AddDataInPort(field, packetSize, type)); }
AAX_Result AAX_VComponentDescriptor::AddAuxOutputStem(AAX_CFieldIndex field, int32_t stemFormat, const char* name) { AAX_V1_CALL(AddAuxOutputStem(field, stemFormat, name)); }
AAX_Result AAX_VComponentDescriptor::AddPrivateData(AAX_CFieldIndex field, int32_t dataSize, uint32_t options) { AAX_V1_CALL(AddPrivateData(field, dataSize, options)); }
AAX_Result AAX_VComponentDescriptor::AddTemporaryData(AAX_CFieldIndex field, uint32_t dataElementSize) { AAX_V2_CALL(AddTemporaryData(field, dataElementSize)); }
AAX_Result AAX_VComponentDescriptor::AddDmaInstance(AAX_CFieldIndex field, AAX_IDma::EMode mode) { AAX_V1_CALL(AddDmaInstance(field, mode)); }
AAX_Result AAX_VComponentDescriptor::AddMeters(AAX_CFieldIndex field, const AAX_CTypeID* meterIDs, uint32_t count) { AAX_V1_CALL(AddMeters(field, meterIDs, count)); }
AAX_Result AAX_VComponentDescriptor::AddMIDINode(AAX_CFieldIndex field, AAX_EMIDINodeType type, const char* name, uint32_t channelMask) { AAX_V1_CALL(AddMIDINode(field, type, name, channelMask)); }
AAX_Result AAX_VComponentDescriptor::AddReservedField(AAX_CFieldIndex field, uint32_t fieldType) { AAX_V1_CALL(AddReservedField(field, fieldType)); }

AAX_Result AAX_VComponentDescriptor::AddProcessProc_Native(AAX_CProcessProc process, AAX_IPropertyMap* properties,
                                                           AAX_CInstanceInitProc instanceInit, AAX_CBackgroundProc background,
                                                           AAX_CTypeID* procID)
{
    AAX_V1_CALL(AddProcessProc_Native(process, AAX_VPropertyMap::HostObjectOf(properties), instanceInit, background, procID));
}

AAX_Result AAX_VComponentDescriptor::AddProcessProc_TI(const char* dllName, const char* processName, AAX_IPropertyMap* properties,
                                                       const char* instanceInitName, const char* backgroundName, AAX_CTypeID* procID)
{
    AAX_V1_CALL(AddProcessProc_TI(dllName, processName, AAX_VPropertyMap::HostObjectOf(properties), instanceInitName, backgroundName, procID));
}

AAX_IPropertyMap* AAX_VComponentDescriptor::NewPropertyMap()
{
    return AAX_KeepNewProxy(propertyMaps, unknown.get());
}

AAX_IPropertyMap* AAX_VComponentDescriptor::DuplicatePropertyMap(AAX_IPropertyMap* source)
{
    AAX_IPropertyMap* copy = NewPropertyMap();
    if (copy == nullptr || source == nullptr)
        return copy;

    for (int32_t p = AAX_eProperty_FirstCopied; p <= AAX_eProperty_LastCopied; ++p)
    {
        AAX_CPropertyValue value = 0;
        if (source->GetProperty(static_cast<AAX_EProperty>(p), &value))
            copy->AddProperty(static_cast<AAX_EProperty>(p), value);
    }
    return copy;
}

IACFUnknown* AAX_VComponentDescriptor::HostObjectOf(AAX_IComponentDescriptor* component) noexcept
{
    auto* proxy = dynamic_cast<AAX_VComponentDescriptor*>(component);
    return proxy != nullptr ? proxy->GetIUnknown() : nullptr;
}
