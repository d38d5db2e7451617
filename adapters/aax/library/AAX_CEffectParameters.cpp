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
} // namespace

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
    if (automatable == nullptr)
        return AAXStatus::missingObject;
    *automatable = 0;
    const AAX_IParameter* p = parameterManager.GetParameterByID(id);
    if (p == nullptr)
        return AAXStatus::unknownParameter;
    *automatable = p->Automatable() ? 1 : 0;
    return AAXStatus::success;
}

AAX_Result AAX_CEffectParameters::GetParameterNumberOfSteps(AAX_CParamID id, int32_t* steps) const
{
    if (steps == nullptr)
        return AAXStatus::missingObject;
    const AAX_IParameter* p = parameterManager.GetParameterByID(id);
    if (p == nullptr)
        return AAXStatus::unknownParameter;
    const uint32_t n = p->GetNumberOfSteps();
    *steps = n > uint32_t(std::numeric_limits<int32_t>::max()) ? std::numeric_limits<int32_t>::max() : int32_t(n);
    return AAXStatus::success;
}

AAX_Result AAX_CEffectParameters::GetParameterName(AAX_CParamID id, AAX_IString* name) const
{
    if (name == nullptr)
        return AAXStatus::missingObject;
    return AAX_Guarded([&] {
        const AAX_IParameter* p = parameterManager.GetParameterByID(id);
        if (p == nullptr)
        {
            name->Set("");
            return AAXStatus::unknownParameter;
        }
        *name = p->Name();
        return AAXStatus::success;
    });
}

AAX_Result AAX_CEffectParameters::GetParameterNameOfLength(AAX_CParamID id, AAX_IString* name, int32_t length) const
{
    if (name == nullptr)
        return AAXStatus::missingObject;
    return AAX_Guarded([&] {
        const AAX_IParameter* p = parameterManager.GetParameterByID(id);
        if (p == nullptr)
        {
            name->Set("");
            return AAXStatus::unknownParameter;
        }

        const AAX_CString& shortName = p->ShortenedName(length);
        if (shortName.Length() == 0)
            return AAXStatus::success;   // nothing to offer: the text is left as it was

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
        name->Set(best.empty() ? shortName.Get() : best.c_str());
        return AAXStatus::success;
    });
}

AAX_Result AAX_CEffectParameters::GetParameterDefaultNormalizedValue(AAX_CParamID id, double* value) const
{
    if (value == nullptr)
        return AAXStatus::missingObject;
    const AAX_IParameter* p = parameterManager.GetParameterByID(id);
    if (p == nullptr)
        return AAXStatus::unknownParameter;
    *value = p->GetNormalizedDefaultValue();
    return AAXStatus::success;
}

AAX_Result AAX_CEffectParameters::SetParameterDefaultNormalizedValue(AAX_CParamID id, double value)
{
    return AAX_Guarded([&] {
        AAX_IParameter* p = parameterManager.GetParameterByID(id);
        if (p == nullptr)
            return AAXStatus::unknownParameter;
        p->SetNormalizedDefaultValue(value);
        return AAXStatus::success;
    });
}

AAX_Result AAX_CEffectParameters::GetParameterType(AAX_CParamID id, AAX_EParameterType* type) const
{
    if (type == nullptr)
        return AAXStatus::missingObject;
    const AAX_IParameter* p = parameterManager.GetParameterByID(id);
    if (p == nullptr)
        return AAXStatus::unknownParameter;
    *type = p->GetType();
    return AAXStatus::success;
}

AAX_Result AAX_CEffectParameters::GetParameterOrientation(AAX_CParamID id, int32_t* orientation) const
{
    if (orientation == nullptr)
        return AAXStatus::missingObject;
    const AAX_IParameter* p = parameterManager.GetParameterByID(id);
    if (p == nullptr)
        return AAXStatus::unknownParameter;
    *orientation = p->GetOrientation();
    return AAXStatus::success;
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
    if (text == nullptr)
        return AAXStatus::missingObject;
    return AAX_Guarded([&] {
        const AAX_IParameter* p = parameterManager.GetParameterByID(id);
        if (p == nullptr)
            return AAXStatus::unknownParameter;
        AAX_CString converted;
        if (! p->GetStringFromNormalizedValue(value, maxLength, converted))
            return AAXStatus::textRefused;
        *text = converted;
        return AAXStatus::success;
    });
}

AAX_Result AAX_CEffectParameters::GetParameterValueString(AAX_CParamID id, AAX_IString* text, int32_t maxLength) const
{
    if (text == nullptr)
        return AAXStatus::missingObject;
    return AAX_Guarded([&] {
        const AAX_IParameter* p = parameterManager.GetParameterByID(id);
        if (p == nullptr)
            return AAXStatus::unknownParameter;
        AAX_CString converted;
        if (! p->GetValueString(maxLength, &converted))
            return AAXStatus::textRefused;
        *text = converted;
        return AAXStatus::success;
    });
}

AAX_Result AAX_CEffectParameters::GetParameterNormalizedValue(AAX_CParamID id, double* value) const
{
    if (value == nullptr)
        return AAXStatus::missingObject;
    const AAX_IParameter* p = parameterManager.GetParameterByID(id);
    if (p == nullptr)
        return AAXStatus::unknownParameter;
    *value = p->GetNormalizedValue();
    return AAXStatus::success;
}

AAX_Result AAX_CEffectParameters::SetParameterNormalizedValue(AAX_CParamID id, double value)
{
    return AAX_Guarded([&] {
        AAX_IParameter* p = parameterManager.GetParameterByID(id);
        if (p == nullptr)
            return AAXStatus::unknownParameter;
        p->SetNormalizedValue(value);   // NaN reads as the default, the rest is held to 0..1
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
    return AAX_Guarded([&] {
        AAX_IParameter* p = parameterManager.GetParameterByID(id);
        if (p == nullptr)
            return AAXStatus::unknownParameter;
        p->Touch();
        return AAXStatus::success;
    });
}

AAX_Result AAX_CEffectParameters::ReleaseParameter(AAX_CParamID id)
{
    return AAX_Guarded([&] {
        AAX_IParameter* p = parameterManager.GetParameterByID(id);
        if (p == nullptr)
            return AAXStatus::unknownParameter;
        p->Release();
        return AAXStatus::success;
    });
}

AAX_Result AAX_CEffectParameters::UpdateParameterTouch(AAX_CParamID id, AAX_CBoolean)
{
    return parameterManager.GetParameterByID(id) != nullptr ? AAXStatus::success : AAXStatus::unknownParameter;
}

AAX_Result AAX_CEffectParameters::UpdateParameterNormalizedValue(AAX_CParamID id, double value, AAX_EUpdateSource)
{
    return AAX_Guarded([&] {
        AAX_IParameter* p = parameterManager.GetParameterByID(id);
        if (p == nullptr)
            return AAXStatus::unknownParameter;
        p->UpdateNormalizedValue(value);
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

        // The first typed form the parameter answers gives the entry's kind.
        const char* id = p->Identifier();
        float f = 0.0f;
        int32_t n = 0;
        bool b = false;
        double d = 0.0;
        AAX_CString s;
        if (p->GetValueAsFloat(&f))
            parser.AddDouble(id, double(f));
        else if (p->GetValueAsInt32(&n))
            parser.AddInt32(id, n);
        else if (p->GetValueAsBool(&b))
            parser.AddInt32(id, b ? 1 : 0);
        else if (p->GetValueAsDouble(&d))
            parser.AddDouble(id, d);
        else if (p->GetValueAsString(&s))
            parser.AddString(id, s);
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

        const char* id = p->Identifier();
        float f = 0.0f;
        int32_t n = 0;
        bool b = false;
        double d = 0.0;
        AAX_CString s;
        if (p->GetValueAsFloat(&f))
        {
            if (parser.FindDouble(id, &d))
                p->SetValueWithFloat(AAX_NarrowToFloat(d));   // out of range is held, NaN reads as the default
        }
        else if (p->GetValueAsInt32(&n))
        {
            if (parser.FindInt32(id, &n))
                p->SetValueWithInt32(n);
        }
        else if (p->GetValueAsBool(&b))
        {
            if (parser.FindInt32(id, &n))
                p->SetValueWithBool(n != 0);
        }
        else if (p->GetValueAsDouble(&d))
        {
            if (parser.FindDouble(id, &d))
                p->SetValueWithDouble(d);
        }
        else if (p->GetValueAsString(&s))
        {
            if (parser.FindString(id, &s))
                p->SetValueWithString(s);
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

        const char* id = p->Identifier();
        float f = 0.0f;
        int32_t n = 0, stored = 0;
        bool b = false;
        double d = 0.0, storedDouble = 0.0;
        AAX_CString s, storedText;
        if (p->GetValueAsFloat(&f))
        {
            if (! parser.FindDouble(id, &storedDouble) || AAX_NarrowToFloat(storedDouble) != f)
                return false;
        }
        else if (p->GetValueAsInt32(&n))
        {
            if (! parser.FindInt32(id, &stored) || stored != n)
                return false;
        }
        else if (p->GetValueAsBool(&b))
        {
            if (! parser.FindInt32(id, &stored) || (stored != 0) != b)
                return false;
        }
        else if (p->GetValueAsDouble(&d))
        {
            if (! parser.FindDouble(id, &storedDouble) || storedDouble != d)
                return false;
        }
        else if (p->GetValueAsString(&s))
        {
            if (! parser.FindString(id, &storedText) || storedText != s)
                return false;
        }
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
