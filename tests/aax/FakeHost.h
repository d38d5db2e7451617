// A simulated AAX host: recording fakes of every host interface the library
// reaches. Each call is logged as "Object.Operation(arguments)"; reference
// counts are tracked, and an over-release or a call on an object whose
// references were all given back is recorded as a violation.
#pragma once

#include "AAX_IACFEffectParameters.h"
#include "AAX_IACFHostInterfaces.h"
#include "AAX_UIDs.h"

#include <cstdint>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

struct HostRecord
{
    std::vector<std::string> calls;
    std::vector<std::string> violations;

    /** Calls logged so far that begin with `prefix`. */
    std::vector<std::string> callsStartingWith(const std::string& prefix) const;
    void clear() { calls.clear(); }
};

/** Arguments joined as the log writes them; bytes are written as hexadecimal. */
struct Bytes
{
    const void* data;
    uint32_t size;
};

std::ostream& operator<<(std::ostream& out, const Bytes& bytes);

template <typename... Args>
std::string callText(const std::string& name, const Args&... args)
{
    std::ostringstream out;
    out << name << '(';
    const char* separator = "";
    ((out << separator << args, separator = ", "), ...);
    (void) separator;
    out << ')';
    return out.str();
}

/** Reference counting and logging shared by all fakes. */
class FakeObject
{
public:
    FakeObject(HostRecord& record, std::string name, std::vector<acfUID> offered);
    virtual ~FakeObject() = default;

    int references() const { return refs; }
    const std::string& objectName() const { return name; }

    /** Objects the host keeps alive itself (the unknowns it passes in) may be
        used without a reference. */
    bool hostHeld = false;

protected:
    uint32_t addRef();
    uint32_t release();
    int32_t query(void* self, const acfUID& iid, void** out);

    template <typename... Args>
    void log(const std::string& operation, const Args&... args)
    {
        const std::string text = name + "." + callText(operation, args...);
        if (! hostHeld && everReferenced && refs <= 0)
            record.violations.push_back("use after release: " + text);
        record.calls.push_back(text);
    }

    HostRecord& record;

private:
    std::string name;
    std::vector<acfUID> offered;
    int refs = 0;
    bool everReferenced = false;
};

#define FAKE_UNKNOWN(Interface)                                                                                   \
    int32_t QueryInterface(const acfUID& iid, void** out) override { return query(static_cast<Interface*>(this), iid, out); } \
    uint32_t AddRef() override { return addRef(); }                                                              \
    uint32_t Release() override { return release(); }

class FakeController final : public AAX_IACFController_V2, public FakeObject
{
public:
    explicit FakeController(HostRecord& r);
    FAKE_UNKNOWN(AAX_IACFController_V2)

    float sampleRate = 48000.0f;
    AAX_Result sampleRateStatus = 0;
    AAX_EStemFormat inputStem = AAX_eStemFormat_Quad;
    AAX_EStemFormat outputStem = AAX_eStemFormat_5_1;
    AAX_Result stemStatus = 0;   // answered by both stem queries; not 0: nothing written
    AAX_Result postStatus = 0;
    std::map<AAX_CFieldIndex, std::vector<uint8_t>> packets;   // the last one posted to each field

    AAX_Result GetEffectID(AAX_IString* id) const override;
    AAX_Result GetSampleRate(float* rate) const override;
    AAX_Result GetInputStemFormat(AAX_EStemFormat* f) const override;
    AAX_Result GetOutputStemFormat(AAX_EStemFormat* f) const override;
    AAX_Result GetSignalLatency(int32_t* s) const override;
    AAX_Result GetCycleCount(AAX_EProperty w, int32_t* c) const override;
    AAX_Result GetTODLocation(int64_t* l) const override;
    AAX_Result SetSignalLatency(int32_t s) override;
    AAX_Result SetCycleCount(AAX_EProperty* w, int32_t* c, int32_t n) override;
    AAX_Result PostPacket(AAX_CFieldIndex field, const void* data, uint32_t size) override;
    AAX_Result GetCurrentMeterValue(uint32_t m, float* v) const override;
    AAX_Result GetMeterPeakValue(uint32_t m, float* v) const override;
    AAX_Result ClearMeterPeakValue(uint32_t m) const override;
    AAX_Result GetMeterClipped(uint32_t m, AAX_CBoolean* c) const override;
    AAX_Result ClearMeterClipped(uint32_t m) const override;
    AAX_Result GetMeterCount(uint32_t* c) const override;
    AAX_Result GetNextMIDIPacket(AAX_CFieldIndex* p, AAX_CMidiPacket* packet) override;
    AAX_Result SendNotification(AAX_CTypeID t, const void* d, uint32_t s) override;
    AAX_Result GetHybridSignalLatency(int32_t* s) const override;
    AAX_Result GetCurrentAutomationTimestamp(int64_t* t) const override;
    AAX_Result GetHostName(AAX_IString* n) const override;

private:
    FakeController* self() const { return const_cast<FakeController*>(this); }
};

class FakeTransport final : public AAX_IACFTransport_V2, public FakeObject
{
public:
    explicit FakeTransport(HostRecord& r);
    FAKE_UNKNOWN(AAX_IACFTransport_V2)

    // What the transport answers. A position call answers its status and
    // writes its value only when that status is 0.
    double tempo = 120.0;
    int32_t meterNumerator = 4, meterDenominator = 4;
    bool writeMeter = false;
    bool playing = true;
    AAX_Result playingStatus = 0;
    int64_t ticks = 0;
    bool writeTicks = false;
    bool looping = false;
    int64_t loopStartTicks = 0, loopEndTicks = 0;
    bool writeLoop = false;
    int64_t nativeSample = 0;
    AAX_Result nativeSampleStatus = 0;
    bool writeNativeSample = false;
    int64_t selectionStart = 0;
    AAX_Result selectionStatus = 0;
    bool writeSelection = false;
    int32_t timeCodeRate = 0, timeCodeOffset = 0;
    AAX_Result timeCodeStatus = 0;
    bool writeTimeCode = false;

    AAX_Result GetCurrentTempo(double* bpm) const override;
    AAX_Result GetCurrentMeter(int32_t* n, int32_t* d) const override;
    AAX_Result IsTransportPlaying(bool* p) const override;
    AAX_Result GetCurrentTickPosition(int64_t* t) const override;
    AAX_Result GetCurrentLoopPosition(bool* l, int64_t* s, int64_t* e) const override;
    AAX_Result GetCurrentNativeSampleLocation(int64_t* s) const override;
    AAX_Result GetCustomTickPosition(int64_t* t, int64_t s) const override;
    AAX_Result GetBarBeatPosition(int32_t* b, int32_t* beats, int64_t* t, int64_t s) const override;
    AAX_Result GetTicksPerQuarter(uint32_t* t) const override;
    AAX_Result GetCurrentTicksPerBeat(uint32_t* t) const override;
    AAX_Result GetTimelineSelectionStartPosition(int64_t* s) const override;
    AAX_Result GetTimeCodeInfo(AAX_EFrameRate* r, int32_t* o) const override;
    AAX_Result GetFeetFramesInfo(AAX_EFeetFramesRate* r, int64_t* o) const override;

private:
    FakeTransport* self() const { return const_cast<FakeTransport*>(this); }
};

/** Answers set-value requests as a host does: at once, through the effect's
    UpdateParameterNormalizedValue, when `answerTo` is set. */
class FakeAutomation final : public AAX_IACFAutomationDelegate, public FakeObject
{
public:
    explicit FakeAutomation(HostRecord& r);
    FAKE_UNKNOWN(AAX_IACFAutomationDelegate)

    AAX_IACFEffectParameters* answerTo = nullptr;

    AAX_Result RegisterParameter(AAX_CParamID id) override;
    AAX_Result UnregisterParameter(AAX_CParamID id) override;
    AAX_Result PostSetValueRequest(AAX_CParamID id, double v) const override;
    AAX_Result PostCurrentValue(AAX_CParamID id, double v) const override;
    AAX_Result PostTouchRequest(AAX_CParamID id) override;
    AAX_Result PostReleaseRequest(AAX_CParamID id) override;
    AAX_Result GetTouchState(AAX_CParamID id, AAX_CBoolean* t) override;
};

class FakeViewContainer final : public AAX_IACFViewContainer, public FakeObject
{
public:
    FakeViewContainer(HostRecord& r, int32_t type);
    FAKE_UNKNOWN(AAX_IACFViewContainer)

    int32_t type;
    int nativeView = 0;            // its address stands for the native view
    void* nativePointer = nullptr; // when set, what GetPtr answers instead (an X11 window id)

    int32_t GetType() override;
    void* GetPtr() override;
    AAX_Result GetModifiers(uint32_t* m) override;
    AAX_Result SetViewSize(AAX_Point& size) override;
    AAX_Result HandleParameterMouseDown(AAX_CParamID id, uint32_t m) override;
    AAX_Result HandleParameterMouseDrag(AAX_CParamID id, uint32_t m) override;
    AAX_Result HandleParameterMouseUp(AAX_CParamID id, uint32_t m) override;
};

class FakeHostServices final : public AAX_IACFHostServices, public FakeObject
{
public:
    explicit FakeHostServices(HostRecord& r);
    FAKE_UNKNOWN(AAX_IACFHostServices)
    AAX_Result Assert(const char* file, int32_t line, const char* note) override;
    AAX_Result Trace(int32_t priority, const char* message) override;
};

class FakePropertyMap final : public AAX_IACFPropertyMap_V2, public FakeObject
{
public:
    FakePropertyMap(HostRecord& r, std::string name);
    FAKE_UNKNOWN(AAX_IACFPropertyMap_V2)

    std::map<int32_t, AAX_CPropertyValue> properties;

    AAX_CBoolean GetProperty(AAX_EProperty p, AAX_CPropertyValue* v) const override;
    AAX_Result AddProperty(AAX_EProperty p, AAX_CPropertyValue v) override;
    AAX_Result RemoveProperty(AAX_EProperty p) override;
    AAX_Result AddPropertyWithIDArray(AAX_EProperty p, const AAX_SPlugInIdentifierTriad* ids, uint32_t n) override;
    AAX_CBoolean GetPropertyWithIDArray(AAX_EProperty p, const AAX_SPlugInIdentifierTriad** ids, uint32_t* n) const override;
};

class FakeComponentDescriptor final : public AAX_IACFComponentDescriptor_V2, public FakeObject
{
public:
    FakeComponentDescriptor(HostRecord& r, std::string name);
    FAKE_UNKNOWN(AAX_IACFComponentDescriptor_V2)

    // What AddProcessProc_Native was given.
    AAX_CProcessProc processProc = nullptr;
    IACFUnknown* processProperties = nullptr;

    AAX_Result Clear() override;
    AAX_Result AddReservedField(AAX_CFieldIndex f, uint32_t t) override;
    AAX_Result AddAudioIn(AAX_CFieldIndex f) override;
    AAX_Result AddAudioOut(AAX_CFieldIndex f) override;
    AAX_Result AddAudioBufferLength(AAX_CFieldIndex f) override;
    AAX_Result AddSampleRate(AAX_CFieldIndex f) override;
    AAX_Result AddClock(AAX_CFieldIndex f) override;
    AAX_Result AddSideChainIn(AAX_CFieldIndex f) override;
    AAX_Result AddDataInPort(AAX_CFieldIndex f, uint32_t s, AAX_EDataInPortType t) override;
    AAX_Result AddAuxOutputStem(AAX_CFieldIndex f, int32_t s, const char* n) override;
    AAX_Result AddPrivateData(AAX_CFieldIndex f, int32_t s, uint32_t o) override;
    AAX_Result AddDmaInstance(AAX_CFieldIndex f, AAX_IDma::EMode m) override;
    AAX_Result AddMIDINode(AAX_CFieldIndex f, AAX_EMIDINodeType t, const char* n, uint32_t m) override;
    AAX_Result AddProcessProc_Native(AAX_CProcessProc p, IACFUnknown* map, AAX_CInstanceInitProc i, AAX_CBackgroundProc b, AAX_CTypeID* id) override;
    AAX_Result AddProcessProc_TI(const char* dll, const char* p, IACFUnknown* map, const char* i, const char* b, AAX_CTypeID* id) override;
    AAX_Result AddMeters(AAX_CFieldIndex f, const AAX_CTypeID* ids, uint32_t n) override;
    AAX_Result AddTemporaryData(AAX_CFieldIndex f, uint32_t s) override;
};

class FakeEffectDescriptor final : public AAX_IACFEffectDescriptor_V2, public FakeObject
{
public:
    FakeEffectDescriptor(HostRecord& r, std::string name);
    FAKE_UNKNOWN(AAX_IACFEffectDescriptor_V2)

    std::map<AAX_CProcPtrID, void*> procs;

    AAX_Result AddComponent(IACFUnknown* c) override;
    AAX_Result AddName(const char* n) override;
    AAX_Result AddCategory(uint32_t c) override;
    AAX_Result AddCategoryBypassParameter(uint32_t c, AAX_CParamID id) override;
    AAX_Result AddProcPtr(void* proc, AAX_CProcPtrID id) override;
    AAX_Result SetProperties(IACFUnknown* map) override;
    AAX_Result AddResourceInfo(AAX_EResourceType t, const char* i) override;
    AAX_Result AddMeterDescription(AAX_CTypeID id, const char* n, IACFUnknown* map) override;
    AAX_Result AddControlMIDINode(AAX_CTypeID id, AAX_EMIDINodeType t, const char* n, uint32_t m) override;
};

class FakePluginDefinition final : public IACFPluginDefinition, public FakeObject
{
public:
    explicit FakePluginDefinition(HostRecord& r);
    FAKE_UNKNOWN(IACFPluginDefinition)
};

class FakeCollection final : public AAX_IACFCollection, public FakeObject
{
public:
    FakeCollection(HostRecord& r, FakePluginDefinition& definition);
    /** Also answers IID_IACFPluginDefinition, with the host's definition object. */
    int32_t QueryInterface(const acfUID& iid, void** out) override;
    uint32_t AddRef() override { return addRef(); }
    uint32_t Release() override { return release(); }

    AAX_Result HostSlot3() override;
    AAX_Result HostSlot4() override;
    AAX_Result HostSlot5() override;
    AAX_Result HostSlot6() override;
    AAX_Result AddEffect(const char* id, IACFUnknown* d) override;
    AAX_Result SetManufacturerName(const char* n) override;
    AAX_Result AddPackageName(const char* n) override;
    AAX_Result SetPackageVersion(uint32_t v) override;
    AAX_Result SetProperties(IACFUnknown* map) override;

private:
    FakePluginDefinition& definition;
};

/** The host itself: the unknown handed to the entry points and to Initialize.
    It offers its component factory and, unless told otherwise, every service. */
class FakeHost final : public IACFComponentFactory, public FakeObject
{
public:
    FakeHost();
    ~FakeHost() override;

    int32_t QueryInterface(const acfUID& iid, void** out) override;
    uint32_t AddRef() override { return addRef(); }
    uint32_t Release() override { return release(); }
    int32_t CreateComponent(const acfUID& componentID, IACFUnknown* outer, const acfUID& iid, void** out) override;

    IACFUnknown* unknown() { return this; }

    // What the host offers.
    bool offerFactory = true;
    bool offerControllerV1 = true, offerControllerV2 = true;
    bool offerTransportV1 = true, offerTransportV2 = true;
    bool offerAutomation = true;
    bool makeCollection = true, makeEffectDescriptors = true, makeComponentDescriptors = true, makePropertyMaps = true;
    AAX_IACFEffectParameters* effectParameters = nullptr;   // offered to GUI objects when set

    HostRecord record;
    FakeController controller;
    FakeTransport transport;
    FakeAutomation automation;
    FakePluginDefinition definition;

    /** Objects made by the factory, in order of making. */
    std::vector<std::unique_ptr<FakeObject>> made;
    FakeEffectDescriptor* lastEffectDescriptor() const;
    FakePropertyMap* propertyMap(size_t n) const;   // the n-th map made

    /** One line per fake still holding references: "name: n". */
    std::vector<std::string> leakedReferences() const;
};
