#include "AAX_CEffectParameters.h"

#include "AAX_CString.h"
#include "AAX_Guard.h"
#include "AAX_IParameter.h"
#include "AAX_Numeric.h"
#include "AAX_VAutomationDelegate.h"
#include "AAX_VController.h"
#include "AAX_VTransport.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace
{
constexpr size_t nameLineWindow = 255;   // bytes of a shortened name searched for lines

/** A parameter's value in the first typed form it answers, in the order the
    controls chunk asks: float, 32-bit integer, boolean, double, text. */
struct ControlValue
{
    enum Kind { none, floating, integer, boolean, real, text } kind = none;
    float f = 0.0f;
    int32_t n = 0;
    bool b = false;
    double d = 0.0;
    AAX_CString s;
};

ControlValue readControl(const AAX_IParameter& p)
{
    ControlValue v;
    if (p.GetValueAsFloat(&v.f))
        v.kind = ControlValue::floating;
    else if (p.GetValueAsInt32(&v.n))
        v.kind = ControlValue::integer;
    else if (p.GetValueAsBool(&v.b))
        v.kind = ControlValue::boolean;
    else if (p.GetValueAsDouble(&v.d))
        v.kind = ControlValue::real;
    else if (p.GetValueAsString(&v.s))
        v.kind = ControlValue::text;
    return v;
}

/** The value stored for `id` in the parser, in the kind of `current`; false
    when there is none of that kind. Booleans are stored as integers. */
bool findControl(AAX_CChunkDataParser& parser, const char* id, const ControlValue& current, ControlValue& stored)
{
    stored.kind = current.kind;
    switch (current.kind)
    {
        case ControlValue::floating:
            if (! parser.FindDouble(id, &stored.d))
                return false;
            stored.f = AAX_NarrowToFloat(stored.d);
            return true;
        case ControlValue::integer: return parser.FindInt32(id, &stored.n);
        case ControlValue::boolean:
            if (! parser.FindInt32(id, &stored.n))
                return false;
            stored.b = stored.n != 0;
            return true;
        case ControlValue::real: return parser.FindDouble(id, &stored.d);
        case ControlValue::text: return parser.FindString(id, &stored.s);
        case ControlValue::none: break;
    }
    return false;
}
} // namespace

template <typename Out, typename Read>
AAX_Result AAX_CEffectParameters::readParameter(AAX_CParamID id, Out* out, Read read) const
{
    if (out == nullptr)
        return AAXStatus::missingObject;
    const AAX_IParameter* p = parameterManager.GetParameterByID(id);
    if (p == nullptr)
        return AAXStatus::unknownParameter;
    *out = read(*p);
    return AAXStatus::success;
}

template <typename Change>
AAX_Result AAX_CEffectParameters::changeParameter(AAX_CParamID id, Change change)
{
    return AAX_Guarded([&] {
        AAX_IParameter* p = parameterManager.GetParameterByID(id);
        return p != nullptr ? change(*p) : AAXStatus::unknownParameter;
    });
}

template <typename Write>
AAX_Result AAX_CEffectParameters::writeParameterText(AAX_CParamID id, AAX_IString* text, Write write) const
{
    if (text == nullptr)
        return AAXStatus::missingObject;
    return AAX_Guarded([&] {
        const AAX_IParameter* p = parameterManager.GetParameterByID(id);
        if (p == nullptr)
        {
            text->Set("");
            return AAXStatus::unknownParameter;
        }
        return write(*p, *text);
    });
}

AAX_CEffectParameters::AAX_CEffectParameters() = default;

AAX_CEffectParameters::~AAX_CEffectParameters()
{
    // Destroyed without Uninitialize: still release every host object, and
    // remove the parameters first so they unregister through a live delegate.
    releaseHostObjects();
}

void AAX_CEffectParameters::releaseHostObjects()
{
    parameterManager.RemoveAllParameters();
    parameterManager.Initialize(nullptr);
    packetDispatcher.Reset();
    packetDispatcher.Initialize(nullptr, this);
    automationDelegate.reset();
    transport.reset();
    controller.reset();
}

AAX_IController* AAX_CEffectParameters::Controller() const noexcept
{
    return controller != nullptr ? static_cast<AAX_IController*>(controller.get()) : &AAX_VController::Absent();
}

AAX_ITransport* AAX_CEffectParameters::Transport() const noexcept
{
    return transport != nullptr ? static_cast<AAX_ITransport*>(transport.get()) : &AAX_VTransport::Absent();
}

void AAX_CEffectParameters::FilterParameterIDOnSave(AAX_CParamID id)
{
    if (id != nullptr)
        filteredParameterIDs.insert(id);
}

bool AAX_CEffectParameters::isFiltered(AAX_CParamID id) const
{
    return id == nullptr || filteredParameterIDs.count(id) != 0;
}

// Host main thread, once per instance before any other parameter call.
AAX_Result AAX_CEffectParameters::Initialize(IACFUnknown* host)
{
    return AAX_Guarded([&] {
        // A second Initialize starts from nothing, so no proxy or parameter of
        // the first connection is left behind.
        releaseHostObjects();

        controller = std::make_unique<AAX_VController>(host);
        automationDelegate = std::make_unique<AAX_VAutomationDelegate>(host);
        transport = std::make_unique<AAX_VTransport>(host);

        // Without the host's automation interface a set-value request would go
        // nowhere and no parameter could change: parameters then set at once.
        parameterManager.Initialize(automationDelegate->HasHostInterface() ? automationDelegate.get() : nullptr);
        packetDispatcher.Initialize(controller.get(), this);

        const AAX_Result status = EffectInit();
        if (status != AAXStatus::success)
            return status;

        AAX_CString bypassID;
        GetMasterBypassParameter(&bypassID);
        FilterParameterIDOnSave(bypassID.Get());
        return status;
    });
}

AAX_Result AAX_CEffectParameters::Uninitialize()
{
    return AAX_Guarded([&] {
        releaseHostObjects();
        return AAXStatus::success;
    });
}

AAX_Result AAX_CEffectParameters::EffectInit()
{
    return AAXStatus::success;
}

AAX_Result AAX_CEffectParameters::NotificationReceived(AAX_CTypeID type, const void* data, uint32_t size)
{
    return AAX_Guarded([&] {
        // The data is read only within the pointer and size the host gives.
        if (type == AAX_PreviewNotification && data != nullptr && size >= sizeof(int32_t))
        {
            if (AAX_IParameter* preview = parameterManager.GetParameterByID(AAX_PreviewParameterID))
            {
                int32_t word = 0;
                std::memcpy(&word, data, sizeof(word));
                preview->SetValueWithBool(word != 0);
            }
        }
        return AAXStatus::success;
    });
}

AAX_Result AAX_CEffectParameters::GetNumberOfParameters(int32_t* count) const
{
    if (count == nullptr)
        return AAXStatus::missingObject;
    *count = parameterManager.NumParameters();
    return AAXStatus::success;
}

AAX_Result AAX_CEffectParameters::GetMasterBypassParameter(AAX_IString* id) const
{
    if (id == nullptr)
        return AAXStatus::missingObject;
    return AAX_Guarded([&] {
        id->Set(parameterManager.GetParameterByID(AAX_MasterBypassID) != nullptr ? AAX_MasterBypassID : "");
        return AAXStatus::success;
    });
}

AAX_Result AAX_CEffectParameters::GetParameterIsAutomatable(AAX_CParamID id, AAX_CBoolean* automatable) const
{
    if (automatable != nullptr)
        *automatable = 0;
    return readParameter(id, automatable, [](const AAX_IParameter& p) { return AAX_CBoolean(p.Automatable() ? 1 : 0); });
}

AAX_Result AAX_CEffectParameters::GetParameterNumberOfSteps(AAX_CParamID id, int32_t* steps) const
{
    return readParameter(id, steps, [](const AAX_IParameter& p) {
        const uint32_t n = p.GetNumberOfSteps();
        return n > uint32_t(std::numeric_limits<int32_t>::max()) ? std::numeric_limits<int32_t>::max() : int32_t(n);
    });
}

AAX_Result AAX_CEffectParameters::GetParameterName(AAX_CParamID id, AAX_IString* name) const
{
    return writeParameterText(id, name, [](const AAX_IParameter& p, AAX_IString& text) {
        text = p.Name();
        return AAXStatus::success;
    });
}

AAX_Result AAX_CEffectParameters::GetParameterNameOfLength(AAX_CParamID id, AAX_IString* name, int32_t length) const
{
    return writeParameterText(id, name, [length](const AAX_IParameter& p, AAX_IString& text) {
        const AAX_CString& shortName = p.ShortenedName(length);
        if (shortName.Length() == 0)
        {
            text.Set("");   // nothing to offer; a success still answers with a text
            return AAXStatus::success;
        }

        // A shortened name may hold several lines: the longest line that fits wins.
        const std::string& whole = shortName.StdString();
        const std::string window = whole.substr(0, std::min(whole.size(), nameLineWindow));
        std::string best;
        size_t start = 0;
        while (start <= window.size())
        {
            size_t end = window.find('\n', start);
            if (end == std::string::npos)
                end = window.size();
            const size_t lineLength = end - start;
            if (lineLength >= 1 && length >= 0 && lineLength <= size_t(length) && lineLength > best.size())
                best = window.substr(start, lineLength);
            start = end + 1;
        }
        text.Set(best.empty() ? shortName.Get() : best.c_str());
        return AAXStatus::success;
    });
}

AAX_Result AAX_CEffectParameters::GetParameterDefaultNormalizedValue(AAX_CParamID id, double* value) const
{
    return readParameter(id, value, [](const AAX_IParameter& p) { return p.GetNormalizedDefaultValue(); });
}

AAX_Result AAX_CEffectParameters::SetParameterDefaultNormalizedValue(AAX_CParamID id, double value)
{
    return changeParameter(id, [value](AAX_IParameter& p) {
        p.SetNormalizedDefaultValue(value);
        return AAXStatus::success;
    });
}

AAX_Result AAX_CEffectParameters::GetParameterType(AAX_CParamID id, AAX_EParameterType* type) const
{
    return readParameter(id, type, [](const AAX_IParameter& p) { return p.GetType(); });
}

AAX_Result AAX_CEffectParameters::GetParameterOrientation(AAX_CParamID id, int32_t* orientation) const
{
    return readParameter(id, orientation, [](const AAX_IParameter& p) { return p.GetOrientation(); });
}

AAX_Result AAX_CEffectParameters::GetParameter(AAX_CParamID id, AAX_IParameter** parameter)
{
    if (parameter == nullptr)
        return AAXStatus::missingObject;
    *parameter = parameterManager.GetParameterByID(id);
    return *parameter != nullptr ? AAXStatus::success : AAXStatus::unknownParameter;
}

AAX_Result AAX_CEffectParameters::GetParameterIndex(AAX_CParamID id, int32_t* index) const
{
    if (index == nullptr)
        return AAXStatus::missingObject;
    *index = parameterManager.ControlIndexFromID(id);
    return *index >= 0 ? AAXStatus::success : AAXStatus::unknownParameter;
}

AAX_Result AAX_CEffectParameters::GetParameterIDFromIndex(int32_t index, AAX_IString* id) const
{
    if (id == nullptr)
        return AAXStatus::missingObject;
    return AAX_Guarded([&] {
        const AAX_IParameter* p = parameterManager.GetParameter(index);
        id->Set(p != nullptr ? p->Identifier() : "");
        return p != nullptr ? AAXStatus::success : AAXStatus::unknownParameter;
    });
}

AAX_Result AAX_CEffectParameters::GetParameterValueInfo(AAX_CParamID, int32_t, int32_t* value) const
{
    if (value != nullptr)
        *value = 0;
    return AAXStatus::notImplemented;
}

AAX_Result AAX_CEffectParameters::GetParameterValueFromString(AAX_CParamID id, double* value, const AAX_IString& text) const
{
    if (value == nullptr)
        return AAXStatus::missingObject;
    return AAX_Guarded([&] {
        const AAX_IParameter* p = parameterManager.GetParameterByID(id);
        if (p == nullptr)
            return AAXStatus::unknownParameter;
        return p->GetNormalizedValueFromString(AAX_CString(text), value) ? AAXStatus::success : AAXStatus::textRefused;
    });
}

AAX_Result AAX_CEffectParameters::GetParameterStringFromValue(AAX_CParamID id, double value, AAX_IString* text, int32_t maxLength) const
{
    return writeParameterText(id, text, [=](const AAX_IParameter& p, AAX_IString& out) {
        AAX_CString converted;
        if (! p.GetStringFromNormalizedValue(value, maxLength, converted))
            return AAXStatus::textRefused;
        out = converted;
        return AAXStatus::success;
    });
}

AAX_Result AAX_CEffectParameters::GetParameterValueString(AAX_CParamID id, AAX_IString* text, int32_t maxLength) const
{
    return writeParameterText(id, text, [=](const AAX_IParameter& p, AAX_IString& out) {
        AAX_CString converted;
        if (! p.GetValueString(maxLength, &converted))
            return AAXStatus::textRefused;
        out = converted;
        return AAXStatus::success;
    });
}

AAX_Result AAX_CEffectParameters::GetParameterNormalizedValue(AAX_CParamID id, double* value) const
{
    return readParameter(id, value, [](const AAX_IParameter& p) { return p.GetNormalizedValue(); });
}

AAX_Result AAX_CEffectParameters::SetParameterNormalizedValue(AAX_CParamID id, double value)
{
    return changeParameter(id, [value](AAX_IParameter& p) {
        p.SetNormalizedValue(value);   // NaN reads as the default, the rest is held to 0..1
        return AAXStatus::success;
    });
}

AAX_Result AAX_CEffectParameters::SetParameterNormalizedRelative(AAX_CParamID id, double delta)
{
    return AAX_Guarded([&] {
        double value = 0.0;
        const AAX_Result status = GetParameterNormalizedValue(id, &value);
        if (status != AAXStatus::success)
            return status;
        if (std::isnan(delta))
            delta = 0.0;   // a step of no size
        return SetParameterNormalizedValue(id, std::min(1.0, std::max(0.0, value + delta)));
    });
}

AAX_Result AAX_CEffectParameters::TouchParameter(AAX_CParamID id)
{
    return changeParameter(id, [](AAX_IParameter& p) {
        p.Touch();
        return AAXStatus::success;
    });
}

AAX_Result AAX_CEffectParameters::ReleaseParameter(AAX_CParamID id)
{
    return changeParameter(id, [](AAX_IParameter& p) {
        p.Release();
        return AAXStatus::success;
    });
}

AAX_Result AAX_CEffectParameters::UpdateParameterTouch(AAX_CParamID id, AAX_CBoolean)
{
    return parameterManager.GetParameterByID(id) != nullptr ? AAXStatus::success : AAXStatus::unknownParameter;
}

AAX_Result AAX_CEffectParameters::UpdateParameterNormalizedValue(AAX_CParamID id, double value, AAX_EUpdateSource)
{
    return changeParameter(id, [&](AAX_IParameter& p) {
        p.UpdateNormalizedValue(value);
        const AAX_Result status = packetDispatcher.SetDirty(id, true);
        // Kept within 0 .. 0x7fffffff so that it always reads as a count.
        int32_t count = changeCount.load();
        while (! changeCount.compare_exchange_weak(count, (count + 1) & std::numeric_limits<int32_t>::max()))
        {
        }
        return status;
    });
}

AAX_Result AAX_CEffectParameters::UpdateParameterNormalizedRelative(AAX_CParamID id, double delta)
{
    return AAX_Guarded([&] {
        double value = 0.0;
        const AAX_Result status = GetParameterNormalizedValue(id, &value);
        if (status != AAXStatus::success)
            return status;
        if (std::isnan(delta))
            delta = 0.0;
        return UpdateParameterNormalizedValue(id, std::min(1.0, std::max(0.0, value + delta)), AAX_eUpdateSource_Unspecified);
    });
}

AAX_Result AAX_CEffectParameters::GenerateCoefficients()
{
    return AAX_Guarded([&] { return packetDispatcher.Dispatch(); });
}

AAX_Result AAX_CEffectParameters::ResetFieldData(AAX_CFieldIndex, void* data, uint32_t size) const
{
    if (size == 0)
        return AAXStatus::success;
    if (data == nullptr)
        return AAXStatus::missingObject;
    std::memset(data, 0, size);
    return AAXStatus::success;
}

AAX_Result AAX_CEffectParameters::GetNumberOfChunks(int32_t* count) const
{
    if (count == nullptr)
        return AAXStatus::missingObject;
    *count = 1;
    return AAXStatus::success;
}

AAX_Result AAX_CEffectParameters::GetChunkIDFromIndex(int32_t index, AAX_CTypeID* chunkID) const
{
    if (chunkID == nullptr)
        return AAXStatus::missingObject;
    if (index != 0)
    {
        *chunkID = 0;
        return AAXStatus::chunkIndexOutOfRange;
    }
    *chunkID = AAX_ControlsChunkID;
    return AAXStatus::success;
}

void AAX_CEffectParameters::buildControlsChunk(AAX_CChunkDataParser& parser) const
{
    parser.Clear();
    const int32_t count = parameterManager.NumParameters();
    for (int32_t i = 0; i < count; ++i)
    {
        const AAX_IParameter* p = parameterManager.GetParameter(i);
        if (p == nullptr || isFiltered(p->Identifier()))
            continue;

        const ControlValue v = readControl(*p);
        switch (v.kind)
        {
            case ControlValue::floating: parser.AddDouble(p->Identifier(), double(v.f)); break;
            case ControlValue::integer: parser.AddInt32(p->Identifier(), v.n); break;
            case ControlValue::boolean: parser.AddInt32(p->Identifier(), v.b ? 1 : 0); break;
            case ControlValue::real: parser.AddDouble(p->Identifier(), v.d); break;
            case ControlValue::text: parser.AddString(p->Identifier(), v.s); break;
            case ControlValue::none: break;
        }
    }
}

AAX_Result AAX_CEffectParameters::GetChunkSize(AAX_CTypeID chunkID, uint32_t* size) const
{
    if (size == nullptr)
        return AAXStatus::missingObject;
    if (chunkID != AAX_ControlsChunkID)
    {
        *size = 0;
        return AAXStatus::unknownChunk;
    }
    return AAX_Guarded([&] {
        std::lock_guard<std::mutex> guard(chunkLock);
        buildControlsChunk(chunkParser);
        controlsChunkSize = chunkParser.GetChunkDataSize();
        *size = controlsChunkSize;
        return AAXStatus::success;
    }, AAXStatus::chunkWriteFailed);
}

AAX_Result AAX_CEffectParameters::GetChunk(AAX_CTypeID chunkID, AAX_SPlugInChunk* chunk) const
{
    if (chunk == nullptr)
        return AAXStatus::missingObject;
    if (chunkID != AAX_ControlsChunkID)
        return AAXStatus::unknownChunk;

    return AAX_Guarded([&] {
        std::lock_guard<std::mutex> guard(chunkLock);
        buildControlsChunk(chunkParser);
        // The host made room for the size it was told: write nothing else.
        const uint32_t size = chunkParser.GetChunkDataSize();
        if (size == 0 || size != controlsChunkSize)
            return AAXStatus::chunkSizeChanged;

        chunk->version = chunkParser.GetChunkVersion();
        std::memset(chunk->name, 0, sizeof(chunk->name));
        std::strncpy(chunk->name, AAX_ControlsChunkName, sizeof(chunk->name) - 1);
        return chunkParser.GetChunkData(chunk);
    }, AAXStatus::chunkWriteFailed);
}

void AAX_CEffectParameters::restoreControls(AAX_CChunkDataParser& parser)
{
    const int32_t count = parameterManager.NumParameters();
    for (int32_t i = 0; i < count; ++i)
    {
        AAX_IParameter* p = parameterManager.GetParameter(i);
        if (p == nullptr || isFiltered(p->Identifier()))
            continue;

        // Without a value of its kind a parameter keeps its own. Out of range
        // is held by the taper; a NaN reads as the default.
        ControlValue stored;
        if (! findControl(parser, p->Identifier(), readControl(*p), stored))
            continue;
        switch (stored.kind)
        {
            case ControlValue::floating: p->SetValueWithFloat(stored.f); break;
            case ControlValue::integer: p->SetValueWithInt32(stored.n); break;
            case ControlValue::boolean: p->SetValueWithBool(stored.b); break;
            case ControlValue::real: p->SetValueWithDouble(stored.d); break;
            case ControlValue::text: p->SetValueWithString(stored.s); break;
            case ControlValue::none: break;
        }
    }
}

AAX_Result AAX_CEffectParameters::SetChunk(AAX_CTypeID chunkID, const AAX_SPlugInChunk* chunk)
{
    if (chunk == nullptr)
        return AAXStatus::missingObject;
    if (chunkID != AAX_ControlsChunkID)
        return AAXStatus::unknownChunk;

    return AAX_Guarded([&] {
        // Its own parser: a host answering a set-value request by asking for
        // the chunk again cannot pull the values from under this loop.
        AAX_CChunkDataParser parser;
        if (! parser.LoadChunk(chunk))
            return AAXStatus::chunkSizeChanged;   // an entry runs past the size: restore nothing
        restoreControls(parser);
        return AAXStatus::success;
    });
}

bool AAX_CEffectParameters::controlsMatch(AAX_CChunkDataParser& parser) const
{
    const int32_t count = parameterManager.NumParameters();
    for (int32_t i = 0; i < count; ++i)
    {
        const AAX_IParameter* p = parameterManager.GetParameter(i);
        if (p == nullptr || isFiltered(p->Identifier()))
            continue;

        const ControlValue current = readControl(*p);
        if (current.kind == ControlValue::none)
            continue;   // nothing the chunk could hold
        ControlValue stored;
        if (! findControl(parser, p->Identifier(), current, stored))
            return false;
        const bool same = (current.kind == ControlValue::floating && stored.f == current.f)
                          || (current.kind == ControlValue::integer && stored.n == current.n)
                          || (current.kind == ControlValue::boolean && stored.b == current.b)
                          || (current.kind == ControlValue::real && stored.d == current.d)
                          || (current.kind == ControlValue::text && stored.s == current.s);
        if (! same)
            return false;
    }
    return true;
}

AAX_Result AAX_CEffectParameters::CompareActiveChunk(const AAX_SPlugInChunk* chunk, AAX_CBoolean* isEqual) const
{
    if (chunk == nullptr || isEqual == nullptr)
        return AAXStatus::missingObject;
    if (chunk->chunkID != AAX_ControlsChunkID)
    {
        *isEqual = 1;   // not ours to judge
        return AAXStatus::success;
    }

    *isEqual = 0;
    return AAX_Guarded([&] {
        AAX_CChunkDataParser parser;
        if (parser.LoadChunk(chunk) && controlsMatch(parser))
            *isEqual = 1;
        return AAXStatus::success;
    });
}

AAX_Result AAX_CEffectParameters::GetNumberOfChanges(int32_t* changes) const
{
    if (changes == nullptr)
        return AAXStatus::missingObject;
    *changes = changeCount.load();
    return AAXStatus::success;
}

AAX_Result AAX_CEffectParameters::TimerWakeup()
{
    return AAXStatus::success;
}

AAX_Result AAX_CEffectParameters::GetCurveData(AAX_CTypeID, const float*, uint32_t, float*) const
{
    return AAXStatus::notImplemented;
}

AAX_Result AAX_CEffectParameters::GetCustomData(AAX_CTypeID, uint32_t, void*, uint32_t* written) const
{
    if (written == nullptr)
        return AAXStatus::missingObject;
    *written = 0;
    return AAXStatus::success;
}

AAX_Result AAX_CEffectParameters::SetCustomData(AAX_CTypeID, uint32_t, const void*)
{
    return AAXStatus::success;
}

AAX_Result AAX_CEffectParameters::DoMIDITransfers()
{
    return AAXStatus::success;
}

AAX_Result AAX_CEffectParameters::RenderAudio_Hybrid(AAX_SHybridRenderInfo*)
{
    return AAXStatus::notImplemented;
}

AAX_Result AAX_CEffectParameters::UpdateMIDINodes(AAX_CFieldIndex, AAX_CMidiPacket&)
{
    return AAXStatus::success;
}

AAX_Result AAX_CEffectParameters::UpdateControlMIDINodes(AAX_CTypeID, AAX_CMidiPacket&)
{
    return AAXStatus::success;
}
