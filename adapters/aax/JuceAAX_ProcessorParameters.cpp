// The effect object's parameters, chunks, notifications and what the
// processor reports back.
//
// An identifier reaches the processor only when it names a registered
// parameter exactly ("0" to "34"); anything else answers -20001 and changes
// nothing, as the library answers for every identifier it does not know.
#include "AAXParamIDs.h"
#include "JuceAAX_Processor.h"

#include "AAX_CBinaryDisplayDelegate.h"
#include "AAX_CBinaryTaperDelegate.h"
#include "AAX_CLinearTaperDelegate.h"
#include "AAX_CNumberDisplayDelegate.h"
#include "AAX_CParameter.h"
#include "AAX_Guard.h"
#include "AAX_IPacketHandler.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>

namespace AAXClasses
{
namespace
{
constexpr const char* kBypassName = "Master Bypass";

/** The bypass parameter's name for a place of `length` characters. */
const char* bypassNameOfLength(int32_t length) noexcept
{
    if (length >= 13)
        return kBypassName;
    if (length >= 8)
        return "Mast Byp";
    if (length >= 6)
        return "MstByp";
    return "MByp";
}

/** A value from the host as the processor may take it: within 0 .. 1, and a
    NaN (no value at all) keeps `current`. */
float processorValue(double value, float current) noexcept
{
    if (std::isnan(value))
        return current;
    return static_cast<float>(std::min(1.0, std::max(0.0, value)));
}

/** The data that runs on past the chunk record's fixed fields. */
char* chunkData(AAX_SPlugInChunk* chunk) noexcept
{
    return reinterpret_cast<char*>(chunk) + AAX_ChunkHeaderBytes;
}

const char* chunkData(const AAX_SPlugInChunk* chunk) noexcept
{
    return reinterpret_cast<const char*>(chunk) + AAX_ChunkHeaderBytes;
}

/** The processor's texts go to the host as UTF-8. */
void setText(AAX_IString& text, const juce::String& value)
{
    text.Set(value.toRawUTF8());
}
} // namespace

bool JuceAAX_Processor::isMasterBypass(AAX_CParamID id) const
{
    return id != nullptr && std::strcmp(id, AAX_MasterBypassID) == 0;
}

int JuceAAX_Processor::processorIndexForID(AAX_CParamID id) const
{
    if (isMasterBypass(id) || parameterManager.GetParameterByID(id) == nullptr)
        return -1;
    const int index = indexFromParamID(id);
    return index < processor->getNumParameters() ? index : -1;
}

//==============================================================================
// Host main thread, from EffectInit.
void JuceAAX_Processor::addBypassParameter()
{
    auto bypass = std::make_unique<AAX_CParameter<bool>>(AAX_MasterBypassID, AAX_CString(kBypassName), false,
                                                         AAX_CBinaryTaperDelegate<bool>(),
                                                         AAX_CBinaryDisplayDelegate<bool>("bypass", "on"), true);
    bypass->SetNumberOfSteps(2);
    bypass->SetType(AAX_eParameterType_Discrete);
    if (parameterManager.AddParameter(bypass.get()))
        bypass.release();

    // Every change of the bypass is posted to the algorithm's bypass field.
    const AAX_CPacketHandler<AAX_CPacketDispatcher> handler(&packetDispatcher,
                                                            &AAX_CPacketDispatcher::GenerateSingleValuePacket);
    packetDispatcher.RegisterPacket(AAX_MasterBypassID, kFieldBypass, &handler);
}

void JuceAAX_Processor::addAudioProcessorParameters()
{
    const int count = processor->getNumParameters();
    for (int i = 0; i < count; ++i)
    {
        // The processor's value of this moment is the host's default.
        auto parameter = std::make_unique<AAX_CParameter<float>>(
            paramIdForIndex(i), AAX_CString(processor->getParameterName(i, 31).toRawUTF8()), processor->getParameter(i),
            AAX_CLinearTaperDelegate<float, 0>(0.0f, 1.0f), AAX_CNumberDisplayDelegate<float, 3u, 0u>(),
            processor->isParameterAutomatable(i));
        parameter->AddShortenedName(AAX_CString(processor->getParameterName(i, 4).toRawUTF8()));
        parameter->SetNumberOfSteps(static_cast<uint32_t>(processor->getParameterNumSteps(i)));
        parameter->SetType(AAX_eParameterType_Continuous);
        if (parameterManager.AddParameter(parameter.get()))
            parameter.release();
    }
}

//==============================================================================
// Host threads.
AAX_Result JuceAAX_Processor::GetParameterName(AAX_CParamID id, AAX_IString* name) const
{
    if (name == nullptr)
        return AAXStatus::missingObject;
    return AAX_Guarded([&] {
        if (isMasterBypass(id))
        {
            name->Set(kBypassName);
            return AAXStatus::success;
        }
        const int index = processorIndexForID(id);
        if (index < 0)
            return AAX_CEffectParameters::GetParameterName(id, name);
        setText(*name, processor->getParameterName(index, 31));
        return AAXStatus::success;
    });
}

AAX_Result JuceAAX_Processor::GetParameterNameOfLength(AAX_CParamID id, AAX_IString* name, int32_t length) const
{
    if (name == nullptr)
        return AAXStatus::missingObject;
    return AAX_Guarded([&] {
        if (isMasterBypass(id))
        {
            name->Set(bypassNameOfLength(length));
            return AAXStatus::success;
        }
        const int index = processorIndexForID(id);
        if (index < 0)
            return AAX_CEffectParameters::GetParameterNameOfLength(id, name, length);
        setText(*name, processor->getParameterName(index, std::max<int32_t>(0, length)));
        return AAXStatus::success;
    });
}

AAX_Result JuceAAX_Processor::GetParameterDefaultNormalizedValue(AAX_CParamID id, double* value) const
{
    if (value == nullptr)
        return AAXStatus::missingObject;
    if (isMasterBypass(id))
    {
        *value = 0.0;   // the bypass starts off
        return AAXStatus::success;
    }
    const int index = processorIndexForID(id);
    if (index < 0)
        return AAX_CEffectParameters::GetParameterDefaultNormalizedValue(id, value);
    *value = processor->getParameterDefaultValue(index);
    return AAXStatus::success;
}

AAX_Result JuceAAX_Processor::GetParameterStringFromValue(AAX_CParamID id, double value, AAX_IString* text,
                                                          int32_t maxLength) const
{
    if (text == nullptr)
        return AAXStatus::missingObject;
    return AAX_Guarded([&] {
        if (isMasterBypass(id))
        {
            text->Set(value == 0.0 ? "Off" : (maxLength < 8 ? "Byp" : "Bypassed"));
            return AAXStatus::success;
        }
        const int index = processorIndexForID(id);
        if (index < 0)
            return AAX_CEffectParameters::GetParameterStringFromValue(id, value, text, maxLength);
        // The text of the value asked about, as the parameter would show it
        // once set; a NaN asks about no value, so the present one is shown.
        const float asked = processorValue(value, processor->getParameter(index));
        setText(*text, processor->getParameterTextForValue(index, asked, std::max<int32_t>(0, maxLength)));
        return AAXStatus::success;
    });
}

AAX_Result JuceAAX_Processor::GetParameterNormalizedValue(AAX_CParamID id, double* value) const
{
    if (value == nullptr)
        return AAXStatus::missingObject;
    const int index = processorIndexForID(id);
    if (index < 0)
        return AAX_CEffectParameters::GetParameterNormalizedValue(id, value);
    *value = processor->getParameter(index);
    return AAXStatus::success;
}

AAX_Result JuceAAX_Processor::SetParameterNormalizedValue(AAX_CParamID id, double value)
{
    return AAX_Guarded([&] {
        if (isMasterBypass(id))
            return AAXStatus::success;   // the host sets the bypass through its own updates
        const int index = processorIndexForID(id);
        if (index < 0)
            return AAXStatus::unknownParameter;

        const float v = processorValue(value, processor->getParameter(index));
        if (AAX_IParameter* parameter = parameterManager.GetParameterByID(id))
            parameter->SetValueWithFloat(v);
        processor->setParameter(index, v);
        return AAXStatus::success;
    });
}

AAX_Result JuceAAX_Processor::SetParameterNormalizedRelative(AAX_CParamID id, double delta)
{
    return AAX_Guarded([&] {
        if (isMasterBypass(id))
            return AAXStatus::success;
        const int index = processorIndexForID(id);
        if (index < 0)
            return AAXStatus::unknownParameter;

        const float current = processor->getParameter(index);
        const float v = processorValue(double(current) + (std::isnan(delta) ? 0.0 : delta), current);
        processor->setParameter(index, v);
        if (AAX_IParameter* parameter = parameterManager.GetParameterByID(id))
            parameter->SetValueWithFloat(v);
        return AAXStatus::success;
    });
}

AAX_Result JuceAAX_Processor::UpdateParameterNormalizedValue(AAX_CParamID id, double value, AAX_EUpdateSource source)
{
    return AAX_Guarded([&] {
        const int index = processorIndexForID(id);
        if (index < 0)
            return AAX_CEffectParameters::UpdateParameterNormalizedValue(id, value, source);

        const float v = processorValue(value, processor->getParameter(index));
        const AAX_Result status = AAX_CEffectParameters::UpdateParameterNormalizedValue(id, v, source);
        processor->setParameter(index, v);
        return status;
    });
}

//==============================================================================
// Host main thread: the chunks. "juce" holds the processor's state blob
// exactly as the processor writes it.
AAX_Result JuceAAX_Processor::GetNumberOfChunks(int32_t* count) const
{
    if (count == nullptr)
        return AAXStatus::missingObject;
    *count = stateChunkIndex + 1;
    return AAXStatus::success;
}

AAX_Result JuceAAX_Processor::GetChunkIDFromIndex(int32_t index, AAX_CTypeID* chunkID) const
{
    if (chunkID == nullptr)
        return AAXStatus::missingObject;
    if (index != stateChunkIndex)
        return AAX_CEffectParameters::GetChunkIDFromIndex(index, chunkID);
    *chunkID = kStateChunkID;
    return AAXStatus::success;
}

void JuceAAX_Processor::captureState(bool fresh) const
{
    if (fresh)
        stateBlock.reset();
    if (stateBlock.getSize() == 0)
        processor->getStateInformation(stateBlock);
}

AAX_Result JuceAAX_Processor::GetChunkSize(AAX_CTypeID chunkID, uint32_t* size) const
{
    if (chunkID != kStateChunkID)
        return AAX_CEffectParameters::GetChunkSize(chunkID, size);
    if (size == nullptr)
        return AAXStatus::missingObject;

    return AAX_Guarded([&] {
        const std::lock_guard<std::mutex> guard(stateLock);
        captureState(true);
        if (stateBlock.getSize() > size_t(std::numeric_limits<int32_t>::max()))
        {
            // No chunk record can say so many bytes.
            stateBlock.reset();
            reportedStateSize = -1;
            *size = 0;
            return AAXStatus::chunkSizeChanged;
        }
        reportedStateSize = int64_t(stateBlock.getSize());
        *size = uint32_t(stateBlock.getSize());
        return AAXStatus::success;
    });
}

AAX_Result JuceAAX_Processor::GetChunk(AAX_CTypeID chunkID, AAX_SPlugInChunk* chunk) const
{
    if (chunkID != kStateChunkID)
        return AAX_CEffectParameters::GetChunk(chunkID, chunk);
    if (chunk == nullptr)
        return AAXStatus::missingObject;

    return AAX_Guarded([&] {
        const std::lock_guard<std::mutex> guard(stateLock);
        captureState(false);

        // The host made room for the size it was told; a state that has grown
        // since (or a size never asked for) would be written past that room.
        const size_t bytes = stateBlock.getSize();
        if (reportedStateSize < 0 || int64_t(bytes) != reportedStateSize)
        {
            stateBlock.reset();
            return AAXStatus::chunkSizeChanged;
        }

        chunk->size = int32_t(bytes);
        if (bytes > 0)
            std::memcpy(chunkData(chunk), stateBlock.getData(), bytes);
        stateBlock.reset();
        return AAXStatus::success;
    });
}

AAX_Result JuceAAX_Processor::SetChunk(AAX_CTypeID chunkID, const AAX_SPlugInChunk* chunk)
{
    if (chunkID != kStateChunkID)
        return AAX_CEffectParameters::SetChunk(chunkID, chunk);
    if (chunk == nullptr)
        return AAXStatus::missingObject;
    if (chunk->size < 0)
        return AAXStatus::chunkSizeChanged;   // no such size: nothing is loaded

    // The processor's loader takes any bytes: what does not parse as its
    // state changes nothing.
    return AAX_Guarded([&] {
        processor->setStateInformation(chunkData(chunk), chunk->size);
        return AAXStatus::success;
    });
}

AAX_Result JuceAAX_Processor::NotificationReceived(AAX_CTypeID type, const void* data, uint32_t size)
{
    if (type == kEnteringOfflineMode)
        processor->setNonRealtime(true);
    else if (type == kLeavingOfflineMode)
        processor->setNonRealtime(false);
    return AAX_CEffectParameters::NotificationReceived(type, data, size);
}

//==============================================================================
// The thread that changed the processor (the editor's: the message thread).

// The host records the change through the AAX parameter, and the processor
// takes the value once more on the way.
void JuceAAX_Processor::audioProcessorParameterChanged(juce::AudioProcessor*, int index, float value)
{
    SetParameterNormalizedValue(paramIdForIndex(index), value);
}

void JuceAAX_Processor::audioProcessorChanged(juce::AudioProcessor*)
{
    Controller()->SetSignalLatency(processor->getLatencySamples());
}

void JuceAAX_Processor::audioProcessorParameterChangeGestureBegin(juce::AudioProcessor*, int index)
{
    TouchParameter(paramIdForIndex(index));
}

void JuceAAX_Processor::audioProcessorParameterChangeGestureEnd(juce::AudioProcessor*, int index)
{
    ReleaseParameter(paramIdForIndex(index));
}
} // namespace AAXClasses
