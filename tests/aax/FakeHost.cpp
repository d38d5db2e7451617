#include "FakeHost.h"

#include <iomanip>

std::vector<std::string> HostRecord::callsStartingWith(const std::string& prefix) const
{
    std::vector<std::string> found;
    for (const auto& c : calls)
        if (c.compare(0, prefix.size(), prefix) == 0)
            found.push_back(c);
    return found;
}

std::ostream& operator<<(std::ostream& out, const Bytes& bytes)
{
    const auto* b = static_cast<const unsigned char*>(bytes.data);
    std::ostringstream hex;
    hex << std::hex << std::uppercase << std::setfill('0');
    for (uint32_t i = 0; b != nullptr && i < bytes.size; ++i)
        hex << std::setw(2) << int(b[i]);
    return out << hex.str();
}

namespace
{
const char* text(const char* s)
{
    return s != nullptr ? s : "(null)";
}
} // namespace

FakeObject::FakeObject(HostRecord& r, std::string n, std::vector<acfUID> o)
    : record(r), name(std::move(n)), offered(std::move(o))
{
}

uint32_t FakeObject::addRef()
{
    everReferenced = true;
    return uint32_t(++refs);
}

uint32_t FakeObject::release()
{
    if (refs <= 0)
    {
        record.violations.push_back("over-release: " + name);
        return 0;
    }
    return uint32_t(--refs);
}

int32_t FakeObject::query(void* self, const acfUID& iid, void** out)
{
    if (out == nullptr)
        return AAXStatus::missingObject;
    for (const auto& id : offered)
        if (id == iid)
        {
            *out = self;
            addRef();
            return 0;
        }
    *out = nullptr;
    return AAXStatus::interfaceNotOffered;
}

// ---- controller

FakeController::FakeController(HostRecord& r) : FakeObject(r, "Controller", { IID_IAAXControllerV1, IID_IAAXControllerV2 }) {}

AAX_Result FakeController::GetEffectID(AAX_IString* id) const { self()->log("GetEffectID"); if (id) id->Set("effect-7"); return 0; }
AAX_Result FakeController::GetSampleRate(float* rate) const { self()->log("GetSampleRate"); if (rate && sampleRateStatus == 0) *rate = sampleRate; return sampleRateStatus; }
AAX_Result FakeController::GetInputStemFormat(AAX_EStemFormat* f) const { self()->log("GetInputStemFormat"); if (f && stemStatus == 0) *f = inputStem; return stemStatus; }
AAX_Result FakeController::GetOutputStemFormat(AAX_EStemFormat* f) const { self()->log("GetOutputStemFormat"); if (f && stemStatus == 0) *f = outputStem; return stemStatus; }
AAX_Result FakeController::GetSignalLatency(int32_t* s) const { self()->log("GetSignalLatency"); if (s) *s = 1; return 0; }
AAX_Result FakeController::GetCycleCount(AAX_EProperty w, int32_t*) const { self()->log("GetCycleCount", int(w)); return 0; }
AAX_Result FakeController::GetTODLocation(int64_t*) const { self()->log("GetTODLocation"); return 0; }
AAX_Result FakeController::SetSignalLatency(int32_t s) { log("SetSignalLatency", s); return 0; }
AAX_Result FakeController::SetCycleCount(AAX_EProperty*, int32_t*, int32_t n) { log("SetCycleCount", n); return 0; }
AAX_Result FakeController::PostPacket(AAX_CFieldIndex field, const void* data, uint32_t size)
{
    log("PostPacket", field, Bytes { data, size }, size);
    const auto* bytes = static_cast<const uint8_t*>(data);
    packets[field] = bytes != nullptr ? std::vector<uint8_t>(bytes, bytes + size) : std::vector<uint8_t>();
    return postStatus;
}
AAX_Result FakeController::GetCurrentMeterValue(uint32_t m, float*) const { self()->log("GetCurrentMeterValue", m); return 0; }
AAX_Result FakeController::GetMeterPeakValue(uint32_t m, float*) const { self()->log("GetMeterPeakValue", m); return 0; }
AAX_Result FakeController::ClearMeterPeakValue(uint32_t m) const { self()->log("ClearMeterPeakValue", m); return 0; }
AAX_Result FakeController::GetMeterClipped(uint32_t m, AAX_CBoolean*) const { self()->log("GetMeterClipped", m); return 0; }
AAX_Result FakeController::ClearMeterClipped(uint32_t m) const { self()->log("ClearMeterClipped", m); return 0; }
AAX_Result FakeController::GetMeterCount(uint32_t* c) const { self()->log("GetMeterCount"); if (c) *c = 13; return 0; }
AAX_Result FakeController::GetNextMIDIPacket(AAX_CFieldIndex*, AAX_CMidiPacket*) { log("GetNextMIDIPacket"); return 0; }
AAX_Result FakeController::SendNotification(AAX_CTypeID t, const void* d, uint32_t s) { log("SendNotification", t, Bytes { d, s }, s); return 0; }
AAX_Result FakeController::GetHybridSignalLatency(int32_t*) const { self()->log("GetHybridSignalLatency"); return 0; }
AAX_Result FakeController::GetCurrentAutomationTimestamp(int64_t*) const { self()->log("GetCurrentAutomationTimestamp"); return 0; }
AAX_Result FakeController::GetHostName(AAX_IString* n) const { self()->log("GetHostName"); if (n) n->Set("Fake Host"); return 0; }

// ---- transport

FakeTransport::FakeTransport(HostRecord& r) : FakeObject(r, "Transport", { IID_IAAXTransportV1, IID_IAAXTransportV2 }) {}

AAX_Result FakeTransport::GetCurrentTempo(double* bpm) const { self()->log("GetCurrentTempo"); if (bpm) *bpm = tempo; return 0; }
AAX_Result FakeTransport::GetCurrentMeter(int32_t* n, int32_t* d) const
{
    self()->log("GetCurrentMeter");
    if (writeMeter && n && d)
    {
        *n = meterNumerator;
        *d = meterDenominator;
    }
    return 0;
}
AAX_Result FakeTransport::IsTransportPlaying(bool* p) const { self()->log("IsTransportPlaying"); if (p && playingStatus == 0) *p = playing; return playingStatus; }
AAX_Result FakeTransport::GetCurrentTickPosition(int64_t* t) const { self()->log("GetCurrentTickPosition"); if (writeTicks && t) *t = ticks; return 0; }
AAX_Result FakeTransport::GetCurrentLoopPosition(bool* l, int64_t* s, int64_t* e) const
{
    self()->log("GetCurrentLoopPosition");
    if (writeLoop && l && s && e)
    {
        *l = looping;
        *s = loopStartTicks;
        *e = loopEndTicks;
    }
    return 0;
}
AAX_Result FakeTransport::GetCurrentNativeSampleLocation(int64_t* s) const
{
    self()->log("GetCurrentNativeSampleLocation");
    if (writeNativeSample && s && nativeSampleStatus == 0)
        *s = nativeSample;
    return nativeSampleStatus;
}
AAX_Result FakeTransport::GetCustomTickPosition(int64_t*, int64_t s) const { self()->log("GetCustomTickPosition", s); return 0; }
AAX_Result FakeTransport::GetBarBeatPosition(int32_t*, int32_t*, int64_t*, int64_t s) const { self()->log("GetBarBeatPosition", s); return 0; }
AAX_Result FakeTransport::GetTicksPerQuarter(uint32_t*) const { self()->log("GetTicksPerQuarter"); return 0; }
AAX_Result FakeTransport::GetCurrentTicksPerBeat(uint32_t*) const { self()->log("GetCurrentTicksPerBeat"); return 0; }
AAX_Result FakeTransport::GetTimelineSelectionStartPosition(int64_t* s) const
{
    self()->log("GetTimelineSelectionStartPosition");
    if (writeSelection && s && selectionStatus == 0)
        *s = selectionStart;
    return selectionStatus;
}
AAX_Result FakeTransport::GetTimeCodeInfo(AAX_EFrameRate* r, int32_t* o) const
{
    self()->log("GetTimeCodeInfo");
    if (writeTimeCode && r && o && timeCodeStatus == 0)
    {
        *r = AAX_EFrameRate(timeCodeRate);
        *o = timeCodeOffset;
    }
    return timeCodeStatus;
}
AAX_Result FakeTransport::GetFeetFramesInfo(AAX_EFeetFramesRate*, int64_t*) const { self()->log("GetFeetFramesInfo"); return 0; }

// ---- automation

FakeAutomation::FakeAutomation(HostRecord& r) : FakeObject(r, "Automation", { IID_IAAXAutomationDelegateV1 }) {}

AAX_Result FakeAutomation::RegisterParameter(AAX_CParamID id) { log("RegisterParameter", text(id)); return 0; }
AAX_Result FakeAutomation::UnregisterParameter(AAX_CParamID id) { log("UnregisterParameter", text(id)); return 0; }

AAX_Result FakeAutomation::PostSetValueRequest(AAX_CParamID id, double v) const
{
    const_cast<FakeAutomation*>(this)->log("PostSetValueRequest", text(id), v);
    if (answerTo != nullptr)
        answerTo->UpdateParameterNormalizedValue(id, v, AAX_eUpdateSource_Parameter);
    return 0;
}

AAX_Result FakeAutomation::PostCurrentValue(AAX_CParamID id, double v) const { const_cast<FakeAutomation*>(this)->log("PostCurrentValue", text(id), v); return 0; }
AAX_Result FakeAutomation::PostTouchRequest(AAX_CParamID id) { log("PostTouchRequest", text(id)); return 0; }
AAX_Result FakeAutomation::PostReleaseRequest(AAX_CParamID id) { log("PostReleaseRequest", text(id)); return 0; }
AAX_Result FakeAutomation::GetTouchState(AAX_CParamID id, AAX_CBoolean* t) { log("GetTouchState", text(id)); if (t) *t = 0; return 0; }

// ---- view container

FakeViewContainer::FakeViewContainer(HostRecord& r, int32_t t) : FakeObject(r, "View", { IID_IAAXViewContainerV1 }), type(t) {}

int32_t FakeViewContainer::GetType() { log("GetType"); return type; }
void* FakeViewContainer::GetPtr() { log("GetPtr"); return nativePointer != nullptr ? nativePointer : &nativeView; }
AAX_Result FakeViewContainer::GetModifiers(uint32_t* m) { log("GetModifiers"); if (m) *m = 0; return 0; }
AAX_Result FakeViewContainer::SetViewSize(AAX_Point& size) { log("SetViewSize", size.vert, size.horz); return 0; }
AAX_Result FakeViewContainer::HandleParameterMouseDown(AAX_CParamID id, uint32_t m) { log("HandleParameterMouseDown", text(id), m); return 0; }
AAX_Result FakeViewContainer::HandleParameterMouseDrag(AAX_CParamID id, uint32_t m) { log("HandleParameterMouseDrag", text(id), m); return 0; }
AAX_Result FakeViewContainer::HandleParameterMouseUp(AAX_CParamID id, uint32_t m) { log("HandleParameterMouseUp", text(id), m); return 0; }

// ---- host services

FakeHostServices::FakeHostServices(HostRecord& r) : FakeObject(r, "HostServices", { IID_IAAXHostServicesV1 }) {}
AAX_Result FakeHostServices::Assert(const char* file, int32_t line, const char* note) { log("Assert", text(file), line, text(note)); return 0; }
AAX_Result FakeHostServices::Trace(int32_t priority, const char* message) { log("Trace", priority, text(message)); return 0; }

// ---- description objects

FakePropertyMap::FakePropertyMap(HostRecord& r, std::string n) : FakeObject(r, std::move(n), { IID_IAAXPropertyMapV1, IID_IAAXPropertyMapV2 }) {}

AAX_CBoolean FakePropertyMap::GetProperty(AAX_EProperty p, AAX_CPropertyValue* v) const
{
    auto it = properties.find(p);
    if (it == properties.end())
        return 0;
    if (v != nullptr)
        *v = it->second;
    return 1;
}

AAX_Result FakePropertyMap::AddProperty(AAX_EProperty p, AAX_CPropertyValue v) { log("AddProperty", int(p), v); properties[p] = v; return 0; }
AAX_Result FakePropertyMap::RemoveProperty(AAX_EProperty p) { log("RemoveProperty", int(p)); properties.erase(p); return 0; }
AAX_Result FakePropertyMap::AddPropertyWithIDArray(AAX_EProperty p, const AAX_SPlugInIdentifierTriad*, uint32_t n) { log("AddPropertyWithIDArray", int(p), n); return 0; }
AAX_CBoolean FakePropertyMap::GetPropertyWithIDArray(AAX_EProperty p, const AAX_SPlugInIdentifierTriad**, uint32_t*) const { const_cast<FakePropertyMap*>(this)->log("GetPropertyWithIDArray", int(p)); return 0; }

FakeComponentDescriptor::FakeComponentDescriptor(HostRecord& r, std::string n)
    : FakeObject(r, std::move(n), { IID_IAAXComponentDescriptorV1, IID_IAAXComponentDescriptorV2 }) {}

namespace
{
std::string nameOf(IACFUnknown* u)
{
    auto* fake = dynamic_cast<FakeObject*>(u);
    return u == nullptr ? "null" : (fake != nullptr ? fake->objectName() : "foreign");
}
} // namespace

AAX_Result FakeComponentDescriptor::Clear() { log("Clear"); return 0; }
AAX_Result FakeComponentDescriptor::AddReservedField(AAX_CFieldIndex f, uint32_t t) { log("AddReservedField", f, t); return 0; }
AAX_Result FakeComponentDescriptor::AddAudioIn(AAX_CFieldIndex f) { log("AddAudioIn", f); return 0; }
AAX_Result FakeComponentDescriptor::AddAudioOut(AAX_CFieldIndex f) { log("AddAudioOut", f); return 0; }
AAX_Result FakeComponentDescriptor::AddAudioBufferLength(AAX_CFieldIndex f) { log("AddAudioBufferLength", f); return 0; }
AAX_Result FakeComponentDescriptor::AddSampleRate(AAX_CFieldIndex f) { log("AddSampleRate", f); return 0; }
AAX_Result FakeComponentDescriptor::AddClock(AAX_CFieldIndex f) { log("AddClock", f); return 0; }
AAX_Result FakeComponentDescriptor::AddSideChainIn(AAX_CFieldIndex f) { log("AddSideChainIn", f); return 0; }
AAX_Result FakeComponentDescriptor::AddDataInPort(AAX_CFieldIndex f, uint32_t s, AAX_EDataInPortType t) { log("AddDataInPort", f, s, int(t)); return 0; }
AAX_Result FakeComponentDescriptor::AddAuxOutputStem(AAX_CFieldIndex f, int32_t s, const char* n) { log("AddAuxOutputStem", f, s, text(n)); return 0; }
AAX_Result FakeComponentDescriptor::AddPrivateData(AAX_CFieldIndex f, int32_t s, uint32_t o) { log("AddPrivateData", f, s, o); return 0; }
AAX_Result FakeComponentDescriptor::AddDmaInstance(AAX_CFieldIndex f, AAX_IDma::EMode m) { log("AddDmaInstance", f, int(m)); return 0; }
AAX_Result FakeComponentDescriptor::AddMIDINode(AAX_CFieldIndex f, AAX_EMIDINodeType t, const char* n, uint32_t m) { log("AddMIDINode", f, int(t), text(n), m); return 0; }
AAX_Result FakeComponentDescriptor::AddProcessProc_Native(AAX_CProcessProc p, IACFUnknown* map, AAX_CInstanceInitProc i, AAX_CBackgroundProc b, AAX_CTypeID* id)
{
    log("AddProcessProc_Native", p != nullptr ? "proc" : "null", nameOf(map), i != nullptr ? "init" : "null", b != nullptr ? "background" : "null", id != nullptr ? "id" : "null");
    processProc = p;
    processProperties = map;
    return 0;
}
AAX_Result FakeComponentDescriptor::AddProcessProc_TI(const char* dll, const char* p, IACFUnknown* map, const char* i, const char* b, AAX_CTypeID*)
{
    log("AddProcessProc_TI", text(dll), text(p), nameOf(map), text(i), text(b));
    return 0;
}
AAX_Result FakeComponentDescriptor::AddMeters(AAX_CFieldIndex f, const AAX_CTypeID*, uint32_t n) { log("AddMeters", f, n); return 0; }
AAX_Result FakeComponentDescriptor::AddTemporaryData(AAX_CFieldIndex f, uint32_t s) { log("AddTemporaryData", f, s); return 0; }

FakeEffectDescriptor::FakeEffectDescriptor(HostRecord& r, std::string n)
    : FakeObject(r, std::move(n), { IID_IAAXEffectDescriptorV1, IID_IAAXEffectDescriptorV2 }) {}

AAX_Result FakeEffectDescriptor::AddComponent(IACFUnknown* c) { log("AddComponent", nameOf(c)); return 0; }
AAX_Result FakeEffectDescriptor::AddName(const char* n) { log("AddName", text(n)); return 0; }
AAX_Result FakeEffectDescriptor::AddCategory(uint32_t c) { log("AddCategory", c); return 0; }
AAX_Result FakeEffectDescriptor::AddCategoryBypassParameter(uint32_t c, AAX_CParamID id) { log("AddCategoryBypassParameter", c, text(id)); return 0; }
AAX_Result FakeEffectDescriptor::AddProcPtr(void* proc, AAX_CProcPtrID id) { log("AddProcPtr", id); procs[id] = proc; return 0; }
AAX_Result FakeEffectDescriptor::SetProperties(IACFUnknown* map) { log("SetProperties", nameOf(map)); return 0; }
AAX_Result FakeEffectDescriptor::AddResourceInfo(AAX_EResourceType t, const char* i) { log("AddResourceInfo", int(t), text(i)); return 0; }
AAX_Result FakeEffectDescriptor::AddMeterDescription(AAX_CTypeID id, const char* n, IACFUnknown* map) { log("AddMeterDescription", id, text(n), nameOf(map)); return 0; }
AAX_Result FakeEffectDescriptor::AddControlMIDINode(AAX_CTypeID id, AAX_EMIDINodeType t, const char* n, uint32_t m) { log("AddControlMIDINode", id, int(t), text(n), m); return 0; }

FakePluginDefinition::FakePluginDefinition(HostRecord& r) : FakeObject(r, "Definition", { IID_IACFPluginDefinition }) {}

FakeCollection::FakeCollection(HostRecord& r, FakePluginDefinition& d) : FakeObject(r, "Collection", { IID_IAAXCollectionV1 }), definition(d) {}

int32_t FakeCollection::QueryInterface(const acfUID& iid, void** out)
{
    if (iid == IID_IACFPluginDefinition)
        return definition.QueryInterface(iid, out);
    return query(static_cast<AAX_IACFCollection*>(this), iid, out);
}

AAX_Result FakeCollection::HostSlot3() { log("HostSlot3"); return 0; }
AAX_Result FakeCollection::HostSlot4() { log("HostSlot4"); return 0; }
AAX_Result FakeCollection::HostSlot5() { log("HostSlot5"); return 0; }
AAX_Result FakeCollection::HostSlot6() { log("HostSlot6"); return 0; }
AAX_Result FakeCollection::AddEffect(const char* id, IACFUnknown* d) { log("AddEffect", text(id), nameOf(d)); return 0; }
AAX_Result FakeCollection::SetManufacturerName(const char* n) { log("SetManufacturerName", text(n)); return 0; }
AAX_Result FakeCollection::AddPackageName(const char* n) { log("AddPackageName", text(n)); return 0; }
AAX_Result FakeCollection::SetPackageVersion(uint32_t v) { log("SetPackageVersion", v); return 0; }
AAX_Result FakeCollection::SetProperties(IACFUnknown* map) { log("SetProperties", nameOf(map)); return 0; }

// ---- the host

FakeHost::FakeHost()
    : FakeObject(record, "Host", {}), controller(record), transport(record), automation(record), definition(record)
{
    hostHeld = true;
}

FakeHost::~FakeHost() = default;

int32_t FakeHost::QueryInterface(const acfUID& iid, void** out)
{
    if (out == nullptr)
        return AAXStatus::missingObject;
    *out = nullptr;

    auto hand = [out](IACFUnknown* interface) {
        *out = interface;
        interface->AddRef();
        return 0;
    };

    if (iid == IID_IACFUnknown || (offerFactory && iid == IID_IACFComponentFactory))
        return hand(static_cast<IACFComponentFactory*>(this));
    if ((offerControllerV1 && iid == IID_IAAXControllerV1) || (offerControllerV2 && iid == IID_IAAXControllerV2))
        return hand(static_cast<AAX_IACFController_V2*>(&controller));
    if ((offerTransportV1 && iid == IID_IAAXTransportV1) || (offerTransportV2 && iid == IID_IAAXTransportV2))
        return hand(static_cast<AAX_IACFTransport_V2*>(&transport));
    if (offerAutomation && iid == IID_IAAXAutomationDelegateV1)
        return hand(static_cast<AAX_IACFAutomationDelegate*>(&automation));
    if (effectParameters != nullptr && iid == IID_IAAXEffectParametersV1)
        return effectParameters->QueryInterface(iid, out);
    return AAXStatus::interfaceNotOffered;
}

int32_t FakeHost::CreateComponent(const acfUID& componentID, IACFUnknown* outer, const acfUID& iid, void** out)
{
    if (out == nullptr)
        return AAXStatus::missingObject;
    *out = nullptr;
    if (outer != nullptr)
        record.violations.push_back("CreateComponent with an outer object");

    auto count = [this](const char* prefix) {
        size_t n = 1;
        for (const auto& m : made)
            n += m->objectName().rfind(prefix, 0) == 0 ? 1 : 0;
        return std::to_string(n);
    };

    if (componentID == AAXCompID_AAXCollection && makeCollection)
        made.push_back(std::make_unique<FakeCollection>(record, definition));
    else if (componentID == AAXCompID_AAXEffectDescriptor && makeEffectDescriptors)
        made.push_back(std::make_unique<FakeEffectDescriptor>(record, "Effect" + count("Effect")));
    else if (componentID == AAXCompID_AAXComponentDescriptor && makeComponentDescriptors)
        made.push_back(std::make_unique<FakeComponentDescriptor>(record, "Component" + count("Component")));
    else if (componentID == AAXCompID_AAXPropertyMap && makePropertyMaps)
        made.push_back(std::make_unique<FakePropertyMap>(record, "Map" + count("Map")));
    else if (componentID == AAXCompID_HostServices)
        made.push_back(std::make_unique<FakeHostServices>(record));
    else
        return AAXStatus::interfaceNotOffered;

    auto* created = dynamic_cast<IACFUnknown*>(made.back().get());
    record.calls.push_back("Host.CreateComponent(" + made.back()->objectName() + ")");
    return created->QueryInterface(iid, out);
}

FakeEffectDescriptor* FakeHost::lastEffectDescriptor() const
{
    for (auto it = made.rbegin(); it != made.rend(); ++it)
        if (auto* d = dynamic_cast<FakeEffectDescriptor*>(it->get()))
            return d;
    return nullptr;
}

FakePropertyMap* FakeHost::propertyMap(size_t n) const
{
    for (const auto& m : made)
        if (auto* map = dynamic_cast<FakePropertyMap*>(m.get()))
            if (n-- == 0)
                return map;
    return nullptr;
}

std::vector<std::string> FakeHost::leakedReferences() const
{
    std::vector<std::string> leaks;
    auto check = [&leaks](const FakeObject& o) {
        if (o.references() != 0)
            leaks.push_back(o.objectName() + ": " + std::to_string(o.references()));
    };
    check(*this);
    check(controller);
    check(transport);
    check(automation);
    check(definition);
    for (const auto& m : made)
        check(*m);
    return leaks;
}
