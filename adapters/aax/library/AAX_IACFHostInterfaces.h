// The host's interfaces, in the host's slot order. Slots 0 to 2 are the
// unknown's; the numbers in the comments are the slots the host calls. A
// second version extends the first, so its slots follow on.
//
// Where the host takes a descriptor or a property map it takes the host
// object behind the library's proxy, as its unknown.
#pragma once

#include "AAX.h"
#include "AAX_IString.h"
#include "ACFUnknown.h"

/** Process procedure of a native algorithm: the instances' context pointers, from first to end. */
using AAX_CProcessProc = void (*)(void* const instancesBegin[], const void* instancesEnd);
using AAX_CInstanceInitProc = int32_t (*)(const void* instanceContext, const void* data, int32_t action);
using AAX_CBackgroundProc = int32_t (*)();

class AAX_IACFController : public IACFUnknown
{
public:
    virtual AAX_Result GetEffectID(AAX_IString* effectID) const = 0;                              // 3
    virtual AAX_Result GetSampleRate(float* rate) const = 0;                                      // 4
    virtual AAX_Result GetInputStemFormat(AAX_EStemFormat* format) const = 0;                     // 5
    virtual AAX_Result GetOutputStemFormat(AAX_EStemFormat* format) const = 0;                    // 6
    virtual AAX_Result GetSignalLatency(int32_t* samples) const = 0;                              // 7
    virtual AAX_Result GetCycleCount(AAX_EProperty which, int32_t* cycles) const = 0;             // 8
    virtual AAX_Result GetTODLocation(int64_t* location) const = 0;                               // 9
    virtual AAX_Result SetSignalLatency(int32_t samples) = 0;                                     // 10
    virtual AAX_Result SetCycleCount(AAX_EProperty* which, int32_t* cycles, int32_t count) = 0;   // 11
    virtual AAX_Result PostPacket(AAX_CFieldIndex field, const void* data, uint32_t size) = 0;    // 12
    virtual AAX_Result GetCurrentMeterValue(uint32_t meter, float* value) const = 0;              // 13
    virtual AAX_Result GetMeterPeakValue(uint32_t meter, float* value) const = 0;                 // 14
    virtual AAX_Result ClearMeterPeakValue(uint32_t meter) const = 0;                             // 15
    virtual AAX_Result GetMeterClipped(uint32_t meter, AAX_CBoolean* clipped) const = 0;          // 16
    virtual AAX_Result ClearMeterClipped(uint32_t meter) const = 0;                               // 17
    virtual AAX_Result GetMeterCount(uint32_t* count) const = 0;                                  // 18
    virtual AAX_Result GetNextMIDIPacket(AAX_CFieldIndex* port, AAX_CMidiPacket* packet) = 0;     // 19

protected:
    ~AAX_IACFController() = default;
};

class AAX_IACFController_V2 : public AAX_IACFController
{
public:
    virtual AAX_Result SendNotification(AAX_CTypeID type, const void* data, uint32_t size) = 0;   // 20
    virtual AAX_Result GetHybridSignalLatency(int32_t* samples) const = 0;                        // 21
    virtual AAX_Result GetCurrentAutomationTimestamp(int64_t* timestamp) const = 0;               // 22
    virtual AAX_Result GetHostName(AAX_IString* name) const = 0;                                  // 23

protected:
    ~AAX_IACFController_V2() = default;
};

class AAX_IACFTransport : public IACFUnknown
{
public:
    virtual AAX_Result GetCurrentTempo(double* bpm) const = 0;                                    // 3
    virtual AAX_Result GetCurrentMeter(int32_t* numerator, int32_t* denominator) const = 0;       // 4
    virtual AAX_Result IsTransportPlaying(bool* playing) const = 0;                               // 5
    virtual AAX_Result GetCurrentTickPosition(int64_t* ticks) const = 0;                          // 6
    virtual AAX_Result GetCurrentLoopPosition(bool* looping, int64_t* startTicks, int64_t* endTicks) const = 0; // 7
    virtual AAX_Result GetCurrentNativeSampleLocation(int64_t* sample) const = 0;                 // 8
    virtual AAX_Result GetCustomTickPosition(int64_t* ticks, int64_t sample) const = 0;           // 9
    virtual AAX_Result GetBarBeatPosition(int32_t* bars, int32_t* beats, int64_t* displayTicks, int64_t sample) const = 0; // 10
    virtual AAX_Result GetTicksPerQuarter(uint32_t* ticks) const = 0;                             // 11
    virtual AAX_Result GetCurrentTicksPerBeat(uint32_t* ticks) const = 0;                         // 12

protected:
    ~AAX_IACFTransport() = default;
};

class AAX_IACFTransport_V2 : public AAX_IACFTransport
{
public:
    virtual AAX_Result GetTimelineSelectionStartPosition(int64_t* sample) const = 0;              // 13
    virtual AAX_Result GetTimeCodeInfo(AAX_EFrameRate* rate, int32_t* offset) const = 0;          // 14
    virtual AAX_Result GetFeetFramesInfo(AAX_EFeetFramesRate* rate, int64_t* offset) const = 0;   // 15

protected:
    ~AAX_IACFTransport_V2() = default;
};

class AAX_IACFAutomationDelegate : public IACFUnknown
{
public:
    virtual AAX_Result RegisterParameter(AAX_CParamID id) = 0;                                    // 3
    virtual AAX_Result UnregisterParameter(AAX_CParamID id) = 0;                                  // 4
    virtual AAX_Result PostSetValueRequest(AAX_CParamID id, double normalized) const = 0;         // 5
    virtual AAX_Result PostCurrentValue(AAX_CParamID id, double normalized) const = 0;            // 6
    virtual AAX_Result PostTouchRequest(AAX_CParamID id) = 0;                                     // 7
    virtual AAX_Result PostReleaseRequest(AAX_CParamID id) = 0;                                   // 8
    virtual AAX_Result GetTouchState(AAX_CParamID id, AAX_CBoolean* touched) = 0;                 // 9

protected:
    ~AAX_IACFAutomationDelegate() = default;
};

class AAX_IACFViewContainer : public IACFUnknown
{
public:
    virtual int32_t GetType() = 0;                                                                // 3
    virtual void* GetPtr() = 0;                                                                   // 4
    virtual AAX_Result GetModifiers(uint32_t* modifiers) = 0;                                     // 5
    virtual AAX_Result SetViewSize(AAX_Point& size) = 0;                                          // 6
    virtual AAX_Result HandleParameterMouseDown(AAX_CParamID id, uint32_t modifiers) = 0;         // 7
    virtual AAX_Result HandleParameterMouseDrag(AAX_CParamID id, uint32_t modifiers) = 0;         // 8
    virtual AAX_Result HandleParameterMouseUp(AAX_CParamID id, uint32_t modifiers) = 0;           // 9

protected:
    ~AAX_IACFViewContainer() = default;
};

class AAX_IACFHostServices : public IACFUnknown
{
public:
    virtual AAX_Result Assert(const char* file, int32_t line, const char* note) = 0;              // 3
    virtual AAX_Result Trace(int32_t priority, const char* message) = 0;                          // 4

protected:
    ~AAX_IACFHostServices() = default;
};

/** Slots 3 to 6 are the host's own; the library never calls them. */
class AAX_IACFCollection : public IACFUnknown
{
public:
    virtual AAX_Result HostSlot3() = 0;                                                           // 3
    virtual AAX_Result HostSlot4() = 0;                                                           // 4
    virtual AAX_Result HostSlot5() = 0;                                                           // 5
    virtual AAX_Result HostSlot6() = 0;                                                           // 6
    virtual AAX_Result AddEffect(const char* effectID, IACFUnknown* effectDescriptor) = 0;        // 7
    virtual AAX_Result SetManufacturerName(const char* name) = 0;                                 // 8
    virtual AAX_Result AddPackageName(const char* name) = 0;                                      // 9
    virtual AAX_Result SetPackageVersion(uint32_t version) = 0;                                   // 10
    virtual AAX_Result SetProperties(IACFUnknown* propertyMap) = 0;                               // 11

protected:
    ~AAX_IACFCollection() = default;
};

class AAX_IACFEffectDescriptor : public IACFUnknown
{
public:
    virtual AAX_Result AddComponent(IACFUnknown* componentDescriptor) = 0;                        // 3
    virtual AAX_Result AddName(const char* name) = 0;                                             // 4
    virtual AAX_Result AddCategory(uint32_t category) = 0;                                        // 5
    virtual AAX_Result AddCategoryBypassParameter(uint32_t category, AAX_CParamID id) = 0;        // 6
    virtual AAX_Result AddProcPtr(void* proc, AAX_CProcPtrID procID) = 0;                         // 7
    virtual AAX_Result SetProperties(IACFUnknown* propertyMap) = 0;                               // 8
    virtual AAX_Result AddResourceInfo(AAX_EResourceType type, const char* info) = 0;             // 9
    virtual AAX_Result AddMeterDescription(AAX_CTypeID meterID, const char* name, IACFUnknown* propertyMap) = 0; // 10

protected:
    ~AAX_IACFEffectDescriptor() = default;
};

class AAX_IACFEffectDescriptor_V2 : public AAX_IACFEffectDescriptor
{
public:
    virtual AAX_Result AddControlMIDINode(AAX_CTypeID nodeID, AAX_EMIDINodeType type, const char* name, uint32_t channelMask) = 0; // 11

protected:
    ~AAX_IACFEffectDescriptor_V2() = default;
};

class AAX_IACFComponentDescriptor : public IACFUnknown
{
public:
    virtual AAX_Result Clear() = 0;                                                               // 3
    virtual AAX_Result AddReservedField(AAX_CFieldIndex field, uint32_t fieldType) = 0;           // 4
    virtual AAX_Result AddAudioIn(AAX_CFieldIndex field) = 0;                                     // 5
    virtual AAX_Result AddAudioOut(AAX_CFieldIndex field) = 0;                                    // 6
    virtual AAX_Result AddAudioBufferLength(AAX_CFieldIndex field) = 0;                           // 7
    virtual AAX_Result AddSampleRate(AAX_CFieldIndex field) = 0;                                  // 8
    virtual AAX_Result AddClock(AAX_CFieldIndex field) = 0;                                       // 9
    virtual AAX_Result AddSideChainIn(AAX_CFieldIndex field) = 0;                                 // 10
    virtual AAX_Result AddDataInPort(AAX_CFieldIndex field, uint32_t packetSize, AAX_EDataInPortType type) = 0; // 11
    virtual AAX_Result AddAuxOutputStem(AAX_CFieldIndex field, int32_t stemFormat, const char* name) = 0; // 12
    virtual AAX_Result AddPrivateData(AAX_CFieldIndex field, int32_t dataSize, uint32_t options) = 0; // 13
    virtual AAX_Result AddDmaInstance(AAX_CFieldIndex field, AAX_IDma::EMode mode) = 0;           // 14
    virtual AAX_Result AddMIDINode(AAX_CFieldIndex field, AAX_EMIDINodeType type, const char* name, uint32_t channelMask) = 0; // 15
    virtual AAX_Result AddProcessProc_Native(AAX_CProcessProc process, IACFUnknown* properties,
                                             AAX_CInstanceInitProc instanceInit, AAX_CBackgroundProc background,
                                             AAX_CTypeID* procID) = 0;                           // 16
    virtual AAX_Result AddProcessProc_TI(const char* dllName, const char* processName, IACFUnknown* properties,
                                         const char* instanceInitName, const char* backgroundName,
                                         AAX_CTypeID* procID) = 0;                               // 17
    virtual AAX_Result AddMeters(AAX_CFieldIndex field, const AAX_CTypeID* meterIDs, uint32_t count) = 0; // 18

protected:
    ~AAX_IACFComponentDescriptor() = default;
};

class AAX_IACFComponentDescriptor_V2 : public AAX_IACFComponentDescriptor
{
public:
    virtual AAX_Result AddTemporaryData(AAX_CFieldIndex field, uint32_t dataElementSize) = 0;     // 19

protected:
    ~AAX_IACFComponentDescriptor_V2() = default;
};

class AAX_IACFPropertyMap : public IACFUnknown
{
public:
    virtual AAX_CBoolean GetProperty(AAX_EProperty property, AAX_CPropertyValue* value) const = 0;  // 3
    virtual AAX_Result AddProperty(AAX_EProperty property, AAX_CPropertyValue value) = 0;          // 4
    virtual AAX_Result RemoveProperty(AAX_EProperty property) = 0;                                 // 5

protected:
    ~AAX_IACFPropertyMap() = default;
};

class AAX_IACFPropertyMap_V2 : public AAX_IACFPropertyMap
{
public:
    virtual AAX_Result AddPropertyWithIDArray(AAX_EProperty property, const AAX_SPlugInIdentifierTriad* ids, uint32_t count) = 0; // 6
    virtual AAX_CBoolean GetPropertyWithIDArray(AAX_EProperty property, const AAX_SPlugInIdentifierTriad** ids, uint32_t* count) const = 0; // 7

protected:
    ~AAX_IACFPropertyMap_V2() = default;
};
