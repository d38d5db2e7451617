// The effect object's life, preparation and audio path.
#include "JuceAAX_Processor.h"

#include "AAX_Guard.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>
#include <vector>

namespace AAXClasses
{
namespace
{
// Every live effect object, so that a view can tell one of ours from any
// other object a host hands it, and so that one view at a time shows an
// effect's editor.
std::mutex liveEffectsLock;
std::vector<JuceAAX_Processor*> liveEffects;

/** The rate to prepare with: the host's, unless it gave none or nonsense. */
float usableSampleRate(AAX_Result status, float rate) noexcept
{
    if (status != AAXStatus::success || ! std::isfinite(rate) || ! (rate > 0.0f))
        return JuceAAX_Processor::kFallbackSampleRate;
    return rate;
}

/** True when there is a channel array and every one of its first `count`
    channels is there. */
template <typename Sample>
bool allChannelsPresent(Sample* const* channels, int count) noexcept
{
    if (count <= 0)
        return true;
    if (channels == nullptr)
        return false;
    for (int i = 0; i < count; ++i)
        if (channels[i] == nullptr)
            return false;
    return true;
}
} // namespace

//==============================================================================
// Host main thread, through the create procedure of the description.
JuceAAX_Processor::JuceAAX_Processor()
    : processor(createPluginFilterOfType(juce::AudioProcessor::wrapperType_AAX)),
      inputCopies(kMaxStemChannels, kMaxPieceFrames)
{
    if (processor == nullptr)
        throw std::bad_alloc();

    inputCopies.clear();
    processor->setPlayHead(this);
    processor->addListener(this);
    AAX_CEffectParameters::GetNumberOfChunks(&stateChunkIndex);

    const std::lock_guard<std::mutex> guard(liveEffectsLock);
    liveEffects.push_back(this);
}

// The processor goes before the GUI library's count does (the fields go in
// reverse order); a view always lets its editor go before it lets go of this
// object, so no editor outlives its processor.
JuceAAX_Processor::~JuceAAX_Processor()
{
    {
        const std::lock_guard<std::mutex> guard(liveEffectsLock);
        liveEffects.erase(std::remove(liveEffects.begin(), liveEffects.end(), this), liveEffects.end());
    }

    processor->removeListener(this);
    processor->setPlayHead(nullptr);
}

AAX_IEffectParameters* JuceAAX_Processor::Create()
{
    try
    {
        return new JuceAAX_Processor();
    }
    catch (...)
    {
        return nullptr;   // the host calls this directly: nothing may reach it
    }
}

JuceAAX_Processor* JuceAAX_Processor::findLiveEffect(const void* effect)
{
    if (effect == nullptr)
        return nullptr;

    const std::lock_guard<std::mutex> guard(liveEffectsLock);
    for (auto* p : liveEffects)
        if (static_cast<const void*>(static_cast<const AAX_IACFEffectParameters*>(p)) == effect)
            return p;
    return nullptr;
}

bool JuceAAX_Processor::attachView(JuceAAX_GUI* view)
{
    const std::lock_guard<std::mutex> guard(liveEffectsLock);
    if (attachedView != nullptr && attachedView != view)
        return false;
    attachedView = view;
    return true;
}

void JuceAAX_Processor::detachView(JuceAAX_GUI* view)
{
    const std::lock_guard<std::mutex> guard(liveEffectsLock);
    if (attachedView == view)
        attachedView = nullptr;
}

//==============================================================================
// Host main thread, from Initialize, once the host has set the stems.
AAX_Result JuceAAX_Processor::EffectInit()
{
    float rate = 0.0f;
    const AAX_Result status = Controller()->GetSampleRate(&rate);
    {
        const juce::ScopedLock sl(processor->getCallbackLock());
        hostSampleRate = usableSampleRate(status, rate);
    }

    preparePlugin();
    addBypassParameter();
    addAudioProcessorParameters();
    return AAXStatus::success;
}

void JuceAAX_Processor::preparePlugin()
{
    AAX_EStemFormat inputStem = AAX_eStemFormat_None;
    AAX_EStemFormat outputStem = AAX_eStemFormat_None;
    if (Controller()->GetInputStemFormat(&inputStem) != AAXStatus::success)
        inputStem = AAX_eStemFormat_None;
    if (Controller()->GetOutputStemFormat(&outputStem) != AAXStatus::success)
        outputStem = AAX_eStemFormat_None;

    {
        // The audio thread sees either the old configuration or the new one.
        const juce::ScopedLock sl(processor->getCallbackLock());
        processor->setPlayConfigDetails(channelCountOfStem(inputStem), channelCountOfStem(outputStem),
                                        hostSampleRate, lastBlockSize);
        processor->prepareToPlay(hostSampleRate, lastBlockSize);
    }

    processor->HostSetOutputFormat(outputFormatOfStem(outputStem));
    Controller()->SetSignalLatency(processor->getLatencySamples());
}

// Field 4 is this instance's private data: the host gives each context a
// block of it and has it filled here.
AAX_Result JuceAAX_Processor::ResetFieldData(AAX_CFieldIndex field, void* data, uint32_t size) const
{
    if (field != kFieldPrivateData || size < sizeof(JuceAAX_Processor*))
        return AAXStatus::success;
    if (data == nullptr)
        return AAXStatus::missingObject;

    auto* self = const_cast<JuceAAX_Processor*>(this);
    auto* bytes = static_cast<char*>(data);
    for (uint32_t at = 0; at + sizeof(self) <= size; at += sizeof(self))
        std::memcpy(bytes + at, &self, sizeof(self));
    return AAXStatus::success;
}

//==============================================================================
// audio thread
void JuceAAX_Processor::process(const float* const* inputs, float* const* outputs, int numSamples, bool bypass,
                                const void*, void*)
{
    if (numSamples < 1)
        return;

    const juce::ScopedLock sl(processor->getCallbackLock());
    const int numIns = std::min(processor->getNumInputChannels(), kMaxStemChannels);
    const int numOuts = std::min(processor->getNumOutputChannels(), kMaxStemChannels);

    // A channel the host left out: nothing is read and nothing is written.
    if (! allChannelsPresent(inputs, numIns) || ! allChannelsPresent(outputs, numOuts))
        return;

    // Only the length is noted: the rate is the same, so the filters,
    // smoothers and meters carry on from the last sample of the last block
    // (preparing again would clear them: a click at every change of length).
    lastBlockSize = numSamples;

    for (int done = 0; done < numSamples;)
    {
        const int piece = std::min(kMaxPieceFrames, numSamples - done);
        processPiece(inputs, outputs, done, piece, numIns, numOuts, bypass);
        done += piece;
    }
}

void JuceAAX_Processor::processPiece(const float* const* inputs, float* const* outputs, int offset, int numSamples,
                                     int numIns, int numOuts, bool bypass)
{
    // Every input is read before any output is written.
    for (int i = 0; i < numIns; ++i)
        inputCopies.copyFrom(i, 0, inputs[i] + offset, numSamples);

    // Outputs carry the input of the same number; those beyond the inputs
    // start silent, so bypass never shows what the host left in them.
    for (int i = 0; i < numOuts; ++i)
    {
        float* out = outputs[i] + offset;
        if (i < numIns)
            juce::FloatVectorOperations::copy(out, inputCopies.getReadPointer(i), numSamples);
        else
            juce::FloatVectorOperations::clear(out, numSamples);
        channelPointerList[(size_t) i] = out;
    }

    // Inputs beyond the outputs (the stereo configuration's 3 and 4) are
    // processed in our copies, never in the host's input buffers.
    for (int i = numOuts; i < numIns; ++i)
        channelPointerList[(size_t) i] = inputCopies.getWritePointer(i);

    process(channelPointerList.data(), std::max(numIns, numOuts), numSamples, bypass);
}

void JuceAAX_Processor::process(float* const* channels, int numChannels, int numSamples, bool bypass,
                                const void*, void*)
{
    if (numSamples < 1 || numChannels < 1 || numChannels > kMaxStemChannels
        || ! allChannelsPresent(channels, numChannels))
        return;

    // Refers to the channels, copies nothing.
    juce::AudioBuffer<float> buffer(channels, numChannels, numSamples);
    blockMidi.clear();

    const juce::ScopedLock sl(processor->getCallbackLock());
    if (bypass)
        processor->processBlockBypassed(buffer, blockMidi);
    else
        processor->processBlock(buffer, blockMidi);
}
} // namespace AAXClasses
