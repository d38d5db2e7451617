#pragma once

#include <JuceHeader.h>

#include "AudioPlayHead.h"

namespace juce
{

class AudioProcessor;

/** Base of the plug-in's editor: a component that knows its processor.
    Its destructor does not tell the processor; whoever deletes an editor calls
    AudioProcessor::editorBeingDeleted() first. */
class AudioProcessorEditor : public Component
{
public:
    explicit AudioProcessorEditor(AudioProcessor* owner) noexcept;
    ~AudioProcessorEditor() override;

    AudioProcessor* getAudioProcessor() const noexcept { return owner; }

private:
    AudioProcessor* const owner; // not owned

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(AudioProcessorEditor)
};

/** Implemented by each host adapter to hear what the processor reports.
    Callbacks run on the thread that caused them, outside any processor lock. */
class AudioProcessorListener
{
public:
    virtual ~AudioProcessorListener() = default;

    virtual void audioProcessorParameterChanged(AudioProcessor* processor, int parameterIndex, float newValue) = 0;
    virtual void audioProcessorChanged(AudioProcessor* processor) = 0;
    virtual void audioProcessorParameterChangeGestureBegin(AudioProcessor* /*processor*/, int /*parameterIndex*/) {}
    virtual void audioProcessorParameterChangeGestureEnd(AudioProcessor* /*processor*/, int /*parameterIndex*/) {}
};

/** The processor base that the host adapters drive.

    The order of the virtual operations below is the order the adapters rely
    on; HostSetOutputFormat() sits between producesMidi() and reset(). */
class AudioProcessor
{
public:
    /** The plug-in format that created an instance. 3 is never used. */
    enum WrapperType : int32_t
    {
        wrapperType_Undefined = 0,
        wrapperType_VST       = 1,
        wrapperType_AudioUnit = 2,
        wrapperType_AAX       = 4
    };

protected:
    /** Takes its wrapper type from the calling thread (see setTypeOfNextNewPlugin). */
    AudioProcessor();

public:
    virtual ~AudioProcessor();

    virtual String getName() const = 0;
    virtual void prepareToPlay(double sampleRate, int estimatedSamplesPerBlock) = 0;
    virtual void releaseResources() = 0;
    virtual void processBlock(AudioSampleBuffer& buffer, MidiBuffer& midiMessages) = 0;
    /** Leaves whatever the adapter put in the buffer, so inputs pass through. */
    virtual void processBlockBypassed(AudioSampleBuffer& buffer, MidiBuffer& midiMessages);
    virtual String getInputChannelName(int channelIndex) const = 0;
    virtual String getOutputChannelName(int channelIndex) const = 0;
    virtual bool isInputChannelStereoPair(int index) const = 0;
    virtual bool isOutputChannelStereoPair(int index) const = 0;
    virtual bool silenceInProducesSilenceOut() const = 0;
    virtual double getTailLengthSeconds() const = 0;
    virtual bool acceptsMidi() const = 0;
    virtual bool producesMidi() const = 0;
    /** The host fixes the output layout (an OutputStemFormat code). */
    virtual void HostSetOutputFormat(int format);
    virtual void reset();
    virtual AudioProcessorEditor* createEditor() = 0;
    virtual bool hasEditor() const = 0;
    virtual int getNumParameters() = 0;
    virtual String getParameterName(int parameterIndex) = 0;
    virtual float getParameter(int parameterIndex) = 0;
    virtual String getParameterText(int parameterIndex) = 0;
    virtual String getParameterName(int parameterIndex, int maximumStringLength);
    virtual String getParameterText(int parameterIndex, int maximumStringLength);
    virtual int getParameterNumSteps(int parameterIndex);
    virtual float getParameterDefaultValue(int parameterIndex);
    virtual String getParameterLabel(int index) const;
    virtual void setParameter(int parameterIndex, float newValue) = 0;
    virtual bool isParameterAutomatable(int parameterIndex);
    virtual bool isMetaParameter(int parameterIndex) const;
    virtual int getNumPrograms() = 0;
    virtual int getCurrentProgram() = 0;
    virtual void setCurrentProgram(int index) = 0;
    virtual String getProgramName(int index) = 0;
    virtual void changeProgramName(int index, const String& newName) = 0;
    virtual void getStateInformation(MemoryBlock& destData) = 0;
    virtual void getCurrentProgramStateInformation(MemoryBlock& destData);
    virtual void setStateInformation(const void* data, int sizeInBytes) = 0;
    virtual void setCurrentProgramStateInformation(const void* data, int sizeInBytes);
    virtual void numChannelsChanged();
    virtual void addListener(AudioProcessorListener* newListener);
    virtual void removeListener(AudioProcessorListener* listenerToRemove);
    virtual void setPlayHead(AudioPlayHead* newPlayHead);
    /** The text the parameter would show if it were set to `value` now, cut
        to maximumStringLength characters; nothing is set. Empty by default. */
    virtual String getParameterTextForValue(int parameterIndex, float value, int maximumStringLength) const;

    //==============================================================================
    /** Sets the wrapper type that the next processor built on this thread takes. */
    static void setTypeOfNextNewPlugin(WrapperType type);

    void setPlayConfigDetails(int numIns, int numOuts, double newSampleRate, int newBlockSize);
    void setSpeakerArrangement(const String& inputs, const String& outputs);
    void setNonRealtime(bool isNonRealtime) noexcept;
    void setLatencySamples(int newLatency);
    void updateHostDisplay();
    void setParameterNotifyingHost(int parameterIndex, float newValue);
    void sendParamChangeMessageToListeners(int parameterIndex, float newValue);
    /** The user starts and finishes changing a parameter (a drag, a click, a
        typed value): hosts that record automation by touch take the values in
        between. Only host parameters are reported, as with value changes. */
    void beginParameterChangeGesture(int parameterIndex);
    void endParameterChangeGesture(int parameterIndex);

    AudioProcessorEditor* createEditorIfNeeded();
    void editorBeingDeleted(AudioProcessorEditor* editor) noexcept;
    AudioProcessorEditor* getActiveEditor() const noexcept { return activeEditor.getComponent(); }

    AudioPlayHead* getPlayHead() const noexcept { return playHead; }
    double getSampleRate() const noexcept { return sampleRate; }
    int getBlockSize() const noexcept { return blockSize; }
    int getNumInputChannels() const noexcept { return numInputChannels; }
    int getNumOutputChannels() const noexcept { return numOutputChannels; }
    int getLatencySamples() const noexcept { return latencySamples; }
    bool isSuspended() const noexcept { return suspended; }
    bool isNonRealtime() const noexcept { return nonRealtime; }
    const String& getInputSpeakerArrangement() const noexcept { return inputSpeakerArrangement; }
    const String& getOutputSpeakerArrangement() const noexcept { return outputSpeakerArrangement; }

    /** Recursive; held by the adapters around every processBlock call. */
    const CriticalSection& getCallbackLock() const noexcept { return callbackLock; }

    /** The plug-in format that created this instance, fixed for its life. */
    const WrapperType wrapperType;

private:
    AudioProcessorListener* getListenerLocked(int index) const noexcept;
    /** Unsigned, so negative indices are refused with the ones past the host's count. */
    bool isHostParameter(int parameterIndex);

    AudioPlayHead* playHead = nullptr;                // not owned
    Array<AudioProcessorListener*> listeners;         // not owned; guarded by listenerLock
    Component::SafePointer<AudioProcessorEditor> activeEditor; // written under callbackLock
    double sampleRate = 0.0;
    int blockSize = 0;
    int numInputChannels = 0;
    int numOutputChannels = 0;
    int latencySamples = 0;
    bool suspended = false;                           // nothing sets it
    bool nonRealtime = false;
    CriticalSection callbackLock, listenerLock;
    String inputSpeakerArrangement, outputSpeakerArrangement;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(AudioProcessor)
};

/** The wrapper type of the processor being built, one per thread; 0 until set. */
extern ThreadLocalValue<AudioProcessor::WrapperType> wrapperTypeBeingCreated;

} // namespace juce

//==============================================================================
/** Builds the plug-in's processor with the given wrapper type (1 VST,
    2 Audio Unit, 4 AAX). The caller owns the result. The calling thread's
    wrapper type is back to 0 afterwards, even when construction throws. */
juce::AudioProcessor* createPluginFilterOfType(juce::AudioProcessor::WrapperType type);

/** Builds the plug-in's processor with the calling thread's wrapper type. */
juce::AudioProcessor* createPluginFilter();

namespace juce
{
using ::createPluginFilter;
using ::createPluginFilterOfType;
} // namespace juce
