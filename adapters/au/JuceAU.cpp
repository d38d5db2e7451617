#include "JuceAU.h"

#include "CAXException.h"
#include "CFOwned.h"
#include "ChannelConfigurations.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>

juce::Array<JuceAU*> JuceAU::activePlugins;
juce::Array<id> JuceAU::activeUIs;

namespace
{
constexpr int kMidiBufferBytes = 2048;
constexpr int kScratchPadFrames = 32;     // spare samples per scratch channel beyond the maximum frames
constexpr int kExtraChannelPointers = 4;  // slots beyond the larger channel count
constexpr int kIdleScratchChannels = 2, kIdleScratchFrames = 16; // until prepared

const char* const kStateKey = "jucePluginState";

static_assert(kNumChannelConfigurations == 13, "the unit answers 13 channel pairs");

bool isAcceptedPair(int ins, int outs) noexcept
{
    for (const auto& c : kChannelConfigurations)
        if (c.numIns == ins && c.numOuts == outs)
            return true;
    return false;
}

UInt32 channelsOf(AUScope& scope)
{
    return scope.GetNumberOfElements() > 0 ? scope.GetIOElement(0)->NumberChannels() : 0;
}

template <class T>
void put(void* data, const T& value) noexcept
{
    std::memcpy(data, &value, sizeof(T));
}

CFStringRef makeString(const juce::String& text)
{
    return CFStringCreateWithCString(nullptr, text.toRawUTF8(), kCFStringEncodingUTF8);
}

// Whether a host's buffer list can carry `channels` channels of `frames`
// samples in the walk below: every buffer the walk reaches has memory of at
// least its channels' worth, and together they hold enough channels.
bool buffersCarry(const AudioBufferList& list, int channels, UInt32 frames) noexcept
{
    int counted = 0;
    for (UInt32 i = 0; i < list.mNumberBuffers && counted < channels; ++i)
    {
        const AudioBuffer& b = list.mBuffers[i];
        if (b.mNumberChannels == 0)
            continue;
        const uint64_t bytes = uint64_t(b.mNumberChannels) * frames * sizeof(float);
        if (b.mData == nullptr || b.mDataByteSize < bytes)
            return false;
        counted += (int) std::min<UInt32>(b.mNumberChannels, (UInt32) channels);
    }
    return counted >= channels;
}
} // namespace

//==============================================================================
UInt32 JuceAUBaseClass::GetChannelLayoutTags(AudioUnitScope scope, AudioUnitElement, AudioChannelLayoutTag* outTags)
{
    if (scope != kAudioUnitScope_Output)
        return 0;
    if (outTags != nullptr)
        std::copy(std::begin(kOutputLayoutTags), std::end(kOutputLayoutTags), outTags);
    return kNumOutputLayoutTags;
}

OSStatus JuceAUBaseClass::MIDIEvent(UInt32 status, UInt32 data1, UInt32 data2, UInt32 offset)
{
    return HandleMidiEvent(UInt8(status & 0xF0), UInt8(status & 0x0F), UInt8(data1), UInt8(data2), offset);
}

OSStatus JuceAUBaseClass::SysEx(const UInt8* data, UInt32 length)
{
    return AUMIDIBase::SysEx(data, length);
}

OSStatus JuceAUBaseClass::HandleMidiEvent(UInt8, UInt8, UInt8, UInt8, UInt32)
{
    return 0;
}

//==============================================================================
JuceAU::JuceAU(AudioComponentInstance instance) : JuceAUBaseClass(instance)
{
    const bool startsGui = activePlugins.isEmpty() && activeUIs.isEmpty();
    if (startsGui)
        juce::initialiseJuce_GUI();

    try
    {
        processor.reset(createPluginFilterOfType(juce::AudioProcessor::wrapperType_AudioUnit));
        processor->setPlayHead(this);
        processor->addListener(this);

        Globals0()->UseIndexedParameters((UInt32) processor->getNumParameters());
        activePlugins.add(this);

        parameterEvent.mArgument.mParameter.mAudioUnit = GetComponentInstance();
        parameterEvent.mArgument.mParameter.mScope = kAudioUnitScope_Global;
        parameterEvent.mArgument.mParameter.mElement = 0;

        CreateElements();

        CAStreamBasicDescription format;
        format.mSampleRate = GetOutput(0)->GetStreamFormat().mSampleRate;
        format.mFormatID = kAudioFormatLinearPCM;
        format.mFormatFlags = kAudioFormatFlagIsFloat | kAudioFormatFlagIsPacked | kAudioFormatFlagIsNonInterleaved;
        format.mBytesPerPacket = 4;
        format.mFramesPerPacket = 1;
        format.mBytesPerFrame = 4;
        format.mChannelsPerFrame = 2;
        format.mBitsPerChannel = 32;
        GetOutput(0)->SetStreamFormat(format);
        GetInput(0)->SetStreamFormat(format);
    }
    catch (...)
    {
        // No unit comes of it: nothing may keep pointing at it, and the GUI
        // library goes again if it came for this one.
        activePlugins.removeFirstMatchingValue(this);
        if (startsGui)
            juce::shutdownJuce_GUI();
        throw;
    }
}

JuceAU::~JuceAU()
{
    // The editors go while the processor they show still exists.
    deleteActiveEditors();
    processor.reset();
    clearPresetsArray();

    activePlugins.removeFirstMatchingValue(this);
    if (activePlugins.isEmpty() && activeUIs.isEmpty())
        juce::shutdownJuce_GUI();
}

//==============================================================================
OSStatus JuceAU::Initialize()
{
    const auto ins = (int) channelsOf(Inputs());
    const auto outs = (int) channelsOf(Outputs());
    if (! isAcceptedPair(ins, outs))
        return kAudioUnitErr_FormatNotSupported;

    // A failure of the base's initialisation is the host's answer; nothing
    // is prepared for a unit that is not initialised.
    const OSStatus result = JuceAUBaseClass::Initialize();
    if (result != 0)
        return result;

    prepareToPlay();
    return 0;
}

void JuceAU::Cleanup()
{
    JuceAUBaseClass::Cleanup();
    if (processor == nullptr)
        return;

    processor->releaseResources();
    juce::AudioSampleBuffer idle(kIdleScratchChannels, kIdleScratchFrames);
    {
        const juce::ScopedLock sl(processor->getCallbackLock());
        std::swap(scratchBuffer, idle);
        blockMidi.clear();
        pendingMidi.clear();
        isPrepared = false;
    }
}

OSStatus JuceAU::Reset(AudioUnitScope scope, AudioUnitElement element)
{
    if (! isPrepared)
        prepareToPlay();
    if (processor != nullptr)
        processor->reset();
    return JuceAUBaseClass::Reset(scope, element);
}

// Host main thread. The buffers are made outside the processor's lock and
// swapped in under it, so a block in flight never sees them half made.
void JuceAU::prepareToPlay()
{
    if (processor == nullptr)
        return;

    const auto ins = (int) channelsOf(Inputs());
    const auto outs = (int) channelsOf(Outputs());
    const Float64 rate = GetOutput(0)->GetStreamFormat().mSampleRate;
    // The host's maximum, kept where the scratch size below cannot overflow.
    const int frames = (int) std::min<UInt32>(GetMaxFramesPerSlice(), (UInt32) (INT_MAX - kScratchPadFrames));

    juce::AudioSampleBuffer newScratch(ins + outs, frames + kScratchPadFrames);
    const int numPointers = std::max(ins, outs) + kExtraChannelPointers;
    std::unique_ptr<float*[]> newPointers(new float*[(size_t) numPointers]());

    const juce::ScopedLock sl(processor->getCallbackLock());
    processor->setPlayConfigDetails(ins, outs, rate, frames);
    std::swap(scratchBuffer, newScratch);
    processor->prepareToPlay(rate, frames);
    blockMidi.ensureSize(kMidiBufferBytes);
    blockMidi.clear();
    pendingMidi.ensureSize(kMidiBufferBytes);
    pendingMidi.clear();
    std::swap(channelPointers, newPointers);
    numChannelPointers = numPointers;
    preparedFrames = frames;
    isPrepared = true;
}

//==============================================================================
OSStatus JuceAU::GetPropertyInfo(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                                 UInt32& outDataSize, Boolean& outWritable)
{
    if (scope == kAudioUnitScope_Global)
    {
        switch (id)
        {
            case kAudioUnitProperty_CocoaUI:
                outDataSize = sizeof(AudioUnitCocoaViewInfo);
                outWritable = true;
                return 0;
            case kAudioUnitProperty_OfflineRender:
                outDataSize = sizeof(UInt32);
                outWritable = true;
                return 0;
            case kVersionCheckProperty:
                outDataSize = sizeof(UInt32);
                outWritable = false;
                return 0;
            case kViewLinkProperty:
                outDataSize = sizeof(ViewLink);
                outWritable = false;
                return 0;
            default:
                break;
        }
    }
    return JuceAUBaseClass::GetPropertyInfo(id, scope, element, outDataSize, outWritable);
}

OSStatus JuceAU::GetProperty(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element, void* outData)
{
    if (scope == kAudioUnitScope_Global)
    {
        switch (id)
        {
            case kAudioUnitProperty_CocoaUI:
            {
                AudioUnitCocoaViewInfo info {};
                const OSStatus result = GetCocoaViewInfo(info);
                if (result == 0)
                    put(outData, info);
                return result;
            }
            case kAudioUnitProperty_OfflineRender:
                put<UInt32>(outData, processor != nullptr && processor->isNonRealtime() ? 1 : 0);
                return 0;
            case kVersionCheckProperty:
                put<UInt32>(outData, 1);
                return 0;
            case kViewLinkProperty:
                put(outData, ViewLink { processor.get(), this });
                return 0;
            default:
                break;
        }
    }
    return JuceAUBaseClass::GetProperty(id, scope, element, outData);
}

OSStatus JuceAU::SetProperty(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                             const void* inData, UInt32 inDataSize)
{
    if (scope == kAudioUnitScope_Global && id == kAudioUnitProperty_OfflineRender)
    {
        // Four bytes are read: fewer would read past the host's value.
        if (inDataSize < sizeof(UInt32))
            return kAudioUnitErr_InvalidPropertyValue;
        UInt32 offline = 0;
        std::memcpy(&offline, inData, sizeof(offline));
        if (processor != nullptr)
            processor->setNonRealtime(offline != 0);
        return 0;
    }
    return JuceAUBaseClass::SetProperty(id, scope, element, inData, inDataSize);
}

//==============================================================================
OSStatus JuceAU::GetParameter(AudioUnitParameterID id, AudioUnitScope scope, AudioUnitElement element,
                              AudioUnitParameterValue& outValue)
{
    if (scope == kAudioUnitScope_Global && processor != nullptr)
    {
        outValue = processor->getParameter((int) id);
        return 0;
    }
    return JuceAUBaseClass::GetParameter(id, scope, element, outValue);
}

OSStatus JuceAU::SetParameter(AudioUnitParameterID id, AudioUnitScope scope, AudioUnitElement element,
                              AudioUnitParameterValue value, UInt32 bufferOffset)
{
    if (scope == kAudioUnitScope_Global && processor != nullptr)
    {
        processor->setParameter((int) id, value);
        return 0;
    }
    return JuceAUBaseClass::SetParameter(id, scope, element, value, bufferOffset);
}

OSStatus JuceAU::GetParameterInfo(AudioUnitScope scope, AudioUnitParameterID id, AudioUnitParameterInfo& info)
{
    if (scope != kAudioUnitScope_Global || processor == nullptr || id >= (UInt32) processor->getNumParameters())
        return kAudioUnitErr_InvalidParameter;

    const int index = (int) id;
    info.flags = kAudioUnitParameterFlag_IsWritable | kAudioUnitParameterFlag_IsReadable
                 | kAudioUnitParameterFlag_HasCFNameString;

    const juce::String name = processor->getParameterName(index);
    if (name.isEmpty() || ! processor->isParameterAutomatable(index))
        info.flags |= kAudioUnitParameterFlag_NonRealTime;
    if (processor->isMetaParameter(index))
        info.flags |= kAudioUnitParameterFlag_IsGlobalMeta;

    info.cfNameString = makeString(name);
    if (info.cfNameString != nullptr)
        info.flags |= kAudioUnitParameterFlag_HasCFNameString | kAudioUnitParameterFlag_CFNameRelease;
    name.copyToUTF8(info.name, sizeof(info.name));

    info.minValue = 0.0f;
    info.maxValue = 1.0f;
    info.defaultValue = processor->getParameterDefaultValue(index);
    info.unit = kAudioUnitParameterUnit_Generic;
    return 0;
}

//==============================================================================
OSStatus JuceAU::Render(AudioUnitRenderActionFlags& flags, const AudioTimeStamp& timeStamp, UInt32 frames)
{
    renderTimeStamp = timeStamp;
    return JuceAUBaseClass::Render(flags, timeStamp, frames);
}

// Render thread. The buffers are walked under the processor's lock, which
// preparation also takes, so they cannot change under the walk.
OSStatus JuceAU::ProcessBufferLists(AudioUnitRenderActionFlags& flags, const AudioBufferList& input,
                                    AudioBufferList& output, UInt32 frames)
{
    if (processor == nullptr)
        return 0;

    const juce::ScopedLock sl(processor->getCallbackLock());

    // Nothing reaches the processor that it was not prepared for.
    if (! isPrepared || channelPointers == nullptr)
        return kAudioUnitErr_Uninitialized;
    if (frames > (UInt32) preparedFrames)
        return kAudioUnitErr_TooManyFramesToProcess;
    const int numIn = processor->getNumInputChannels();
    const int numOut = processor->getNumOutputChannels();
    if (! isAcceptedPair(numIn, numOut) || std::max(numIn, numOut) + kExtraChannelPointers > numChannelPointers)
        return kAudioUnitErr_FormatNotSupported;
    if (! buffersCarry(output, numOut, frames) || ! buffersCarry(input, numIn, frames))
        return kAudio_ParamError;

    const int numSpare = scratchBuffer.getNumChannels();
    int spare = 0;
    auto nextSpare = [&]() -> float* { return spare < numSpare ? scratchBuffer.getWritePointer(spare++) : nullptr; };

    // 1. Output channels: one-channel buffers in place, the channels of
    // interleaved ones in spare channels.
    bool needsInterleaving = false;
    int numOutputsPlaced = 0;
    for (UInt32 i = 0; i < output.mNumberBuffers && numOutputsPlaced < numOut; ++i)
    {
        const AudioBuffer& b = output.mBuffers[i];
        if (b.mNumberChannels == 1)
        {
            channelPointers[(size_t) numOutputsPlaced++] = static_cast<float*>(b.mData);
            continue;
        }
        needsInterleaving = true;
        for (UInt32 c = 0; c < b.mNumberChannels && numOutputsPlaced < numOut; ++c)
            channelPointers[(size_t) numOutputsPlaced++] = nextSpare();
    }
    const int spareOutputs = spare;

    // 2. Input channels into the output channel of the same number, or into
    // a spare channel beyond the outputs. The processor writes every channel
    // it is handed, so a host's input memory is never handed over itself.
    int numInputsPlaced = 0;
    for (UInt32 i = 0; i < input.mNumberBuffers && numInputsPlaced < numIn; ++i)
    {
        const AudioBuffer& b = input.mBuffers[i];
        const auto* source = static_cast<const float*>(b.mData);
        for (UInt32 c = 0; c < b.mNumberChannels && numInputsPlaced < numIn; ++c)
        {
            float*& destination = channelPointers[(size_t) numInputsPlaced];
            if (numInputsPlaced >= numOutputsPlaced)
                destination = nextSpare();
            if (destination == nullptr)
                return kAudio_ParamError;
            ++numInputsPlaced;

            if (b.mNumberChannels == 1)
            {
                if (destination != source)
                    std::memmove(destination, source, frames * sizeof(float));
            }
            else
            {
                for (UInt32 j = 0; j < frames; ++j)
                    destination[j] = source[c + size_t(j) * b.mNumberChannels];
            }
        }
    }

    // Outputs beyond the inputs start silent: left as they were, they would
    // bring the previous block's output (or whatever the host left) back in
    // as the missing inputs.
    for (int c = numInputsPlaced; c < numOutputsPlaced; ++c)
        juce::FloatVectorOperations::clear(channelPointers[(size_t) c], (int) frames);

    // 3. MIDI collected since the last block.
    {
        const juce::ScopedLock ml(pendingMidiLock);
        blockMidi.clear();
        blockMidi.swapWith(pendingMidi);
    }

    // 4. and 5.
    juce::AudioSampleBuffer buffer(channelPointers.get(), std::max(numIn, numOut), (int) frames);
    if (processor->isSuspended())
    {
        for (int c = 0; c < numOut; ++c)
            buffer.clear(c, 0, (int) frames);
    }
    else if (ShouldBypassEffect())
    {
        processor->processBlockBypassed(buffer, blockMidi);
    }
    else
    {
        processor->processBlock(buffer, blockMidi);
    }

    // 6. No MIDI goes out.
    blockMidi.clear();

    // 7. Interleaved output buffers take their channels back from the spare
    // channels they were given; channels past the outputs are silent.
    if (needsInterleaving)
    {
        int nextOutputSpare = 0;
        for (UInt32 i = 0; i < output.mNumberBuffers; ++i)
        {
            AudioBuffer& b = output.mBuffers[i];
            if (b.mNumberChannels < 2 || b.mData == nullptr)
                continue;
            auto* destination = static_cast<float*>(b.mData);
            for (UInt32 c = 0; c < b.mNumberChannels; ++c)
            {
                const float* source =
                    nextOutputSpare < spareOutputs ? scratchBuffer.getReadPointer(nextOutputSpare++) : nullptr;
                for (UInt32 j = 0; j < frames; ++j)
                    destination[c + size_t(j) * b.mNumberChannels] = source != nullptr ? source[j] : 0.0f;
            }
        }
    }

    // 8.
    flags &= ~(AudioUnitRenderActionFlags) kAudioUnitRenderAction_OutputIsSilence;
    return 0;
}

//==============================================================================
OSStatus JuceAU::SaveState(CFPropertyListRef* outData)
{
    const OSStatus result = JuceAUBaseClass::SaveState(outData);
    if (result != 0 || processor == nullptr)
        return result;

    juce::MemoryBlock state;
    processor->getCurrentProgramStateInformation(state);
    if (state.getSize() == 0)
        return 0;

    CFOwned data(CFDataCreate(nullptr, static_cast<const UInt8*>(state.getData()), (CFIndex) state.getSize()));
    CFOwned key(CFStringCreateWithCString(nullptr, kStateKey, kCFStringEncodingUTF8));
    if (data.ref == nullptr || key.ref == nullptr)
        throw std::bad_alloc();
    CFDictionarySetValue(static_cast<CFMutableDictionaryRef>(const_cast<void*>(*outData)), key.ref, data.ref);
    return 0;
}

OSStatus JuceAU::RestoreState(CFPropertyListRef plist)
{
    if (plist == nullptr || CFGetTypeID(plist) != CFDictionaryGetTypeID())
        return JuceAUBaseClass::RestoreState(plist); // refuses what is no dictionary

    const auto dict = static_cast<CFDictionaryRef>(plist);
    {
        // The base restores everything but its own copy of the parameter
        // values: the processor's state below holds them.
        CFOwned copy(CFDictionaryCreateMutableCopy(nullptr, 0, dict));
        if (copy.ref == nullptr)
            throw std::bad_alloc();
        CFDictionaryRemoveValue(static_cast<CFMutableDictionaryRef>(const_cast<void*>(copy.ref)), Keys().data);
        const OSStatus result = JuceAUBaseClass::RestoreState(copy.ref);
        if (result != 0)
            return result;
    }

    if (processor == nullptr)
        return 0;

    // Only a data object is a state; anything else under the key is ignored.
    CFOwned key(CFStringCreateWithCString(nullptr, kStateKey, kCFStringEncodingUTF8));
    CFTypeRef state = key.ref != nullptr ? CFDictionaryGetValue(dict, key.ref) : nullptr;
    if (state != nullptr && CFGetTypeID(state) == CFDataGetTypeID())
    {
        const auto data = static_cast<CFDataRef>(state);
        const CFIndex length = CFDataGetLength(data);
        const UInt8* bytes = CFDataGetBytePtr(data);
        if (bytes != nullptr && length >= 1 && length <= (CFIndex) INT_MAX)
            processor->setCurrentProgramStateInformation(bytes, (int) length);
    }
    return 0;
}

void JuceAU::clearPresetsArray() const
{
    for (auto it = presets.rbegin(); it != presets.rend(); ++it)
        if (it->presetName != nullptr)
            CFRelease(it->presetName);
    presets.clear();
    presets.shrink_to_fit();
}

OSStatus JuceAU::GetPresets(CFArrayRef* outPresets) const
{
    if (outPresets == nullptr)
        return 0;

    clearPresetsArray();
    const int numPrograms = processor != nullptr ? processor->getNumPrograms() : 0;
    // Reserved first: the array points into this storage.
    presets.reserve((size_t) std::max(0, numPrograms));
    for (int i = 0; i < numPrograms; ++i)
    {
        juce::String name = processor->getProgramName(i);
        if (name.isEmpty())
            name = "Untitled";
        presets.push_back(AUPreset { (SInt32) i, makeString(name) });
    }

    CFMutableArrayRef array = CFArrayCreateMutable(nullptr, (CFIndex) presets.size(), nullptr);
    if (array == nullptr)
        throw std::bad_alloc();
    for (const auto& p : presets)
        CFArrayAppendValue(array, &p);
    *outPresets = array;
    return 0;
}

OSStatus JuceAU::NewFactoryPresetSet(const AUPreset& preset)
{
    const int number = preset.presetNumber;
    if (processor == nullptr || number < 0 || number >= processor->getNumPrograms())
        return kAudioUnitErr_InvalidProperty;

    CFOwned name(makeString(processor->getProgramName(number)));
    processor->setCurrentProgram(number);
    SetAFactoryPresetAsCurrent(AUPreset { number, static_cast<CFStringRef>(name.ref) });
    return 0;
}

//==============================================================================
Float64 JuceAU::GetLatency()
{
    const Float64 rate = GetOutput(0)->GetStreamFormat().mSampleRate;
    if (processor == nullptr || !(rate > 0.0))
        return 0.0;
    return processor->getLatencySamples() / rate;
}

Float64 JuceAU::GetTailTime()
{
    return processor != nullptr ? processor->getTailLengthSeconds() : 0.0;
}

bool JuceAU::StreamFormatWritable(AudioUnitScope, AudioUnitElement)
{
    return ! IsInitialized();
}

UInt32 JuceAU::SupportedNumChannels(const AUChannelInfo** outInfo)
{
    if (outInfo != nullptr)
    {
        for (int i = 0; i < kNumChannelConfigurations; ++i)
            supportedChannels[i] = AUChannelInfo { kChannelConfigurations[i].numIns, kChannelConfigurations[i].numOuts };
        *outInfo = supportedChannels;
    }
    return (UInt32) kNumChannelConfigurations;
}

int JuceAU::OutputFormatForLayoutTag(AudioChannelLayoutTag tag) noexcept
{
    switch (tag)
    {
        case kAudioChannelLayoutTag_Stereo: return 1;
        case kAudioChannelLayoutTag_MPEG_5_1_A: return 3;
        case kAudioChannelLayoutTag_MPEG_6_1_A: return 5;
        case kAudioChannelLayoutTag_MPEG_7_1_C: return 7; // the 7.1 tag offered (see kOutputLayoutTags)
        case kAudioChannelLayoutTag_Ambisonic_B_Format: return 8;
        default: return 0;
    }
}

OSStatus JuceAU::SetAudioChannelLayout(AudioUnitScope scope, AudioUnitElement element, const AudioChannelLayout* layout)
{
    // The base checks scope, element, channel count and the offered tags
    // first: a layout it refuses changes nothing, so the host's layout and
    // what is rendered never part ways.
    const OSStatus result = JuceAUBaseClass::SetAudioChannelLayout(scope, element, layout);
    if (result == 0 && layout != nullptr && processor != nullptr)
        if (const int format = OutputFormatForLayoutTag(layout->mChannelLayoutTag))
            processor->HostSetOutputFormat(format);
    return result;
}

//==============================================================================
// Each notification is built in its own record: hosts set parameters from
// several threads at once, and a shared record could go out with the type of
// one change and the index of another.
void JuceAU::notifyParameterEvent(AudioUnitEventType type, int index)
{
    AudioUnitEvent event = parameterEvent;
    event.mEventType = type;
    event.mArgument.mParameter.mParameterID = (AudioUnitParameterID) index;
    AUEventListenerNotify(nullptr, nullptr, &event);
}

void JuceAU::audioProcessorParameterChanged(juce::AudioProcessor*, int index, float)
{
    // The value is not sent: listeners read it back with GetParameter.
    notifyParameterEvent(kAudioUnitEvent_ParameterValueChange, index);
}

void JuceAU::audioProcessorParameterChangeGestureBegin(juce::AudioProcessor*, int index)
{
    notifyParameterEvent(kAudioUnitEvent_BeginParameterChangeGesture, index);
}

void JuceAU::audioProcessorParameterChangeGestureEnd(juce::AudioProcessor*, int index)
{
    notifyParameterEvent(kAudioUnitEvent_EndParameterChangeGesture, index);
}

void JuceAU::audioProcessorChanged(juce::AudioProcessor*)
{
    PropertyChanged(kAudioUnitProperty_Latency, kAudioUnitScope_Global, 0);
}
