#include "AudioProcessor.h"

namespace juce
{

ThreadLocalValue<AudioProcessor::WrapperType> wrapperTypeBeingCreated;

//==============================================================================
AudioProcessorEditor::AudioProcessorEditor(AudioProcessor* ownerProcessor) noexcept
    : owner(ownerProcessor)
{
}

AudioProcessorEditor::~AudioProcessorEditor() = default;

//==============================================================================
AudioProcessor::AudioProcessor()
    : wrapperType(wrapperTypeBeingCreated.get())
{
}

AudioProcessor::~AudioProcessor() = default;

void AudioProcessor::setTypeOfNextNewPlugin(WrapperType type)
{
    wrapperTypeBeingCreated = type;
}

void AudioProcessor::processBlockBypassed(AudioSampleBuffer&, MidiBuffer&) {}
void AudioProcessor::HostSetOutputFormat(int) {}
void AudioProcessor::reset() {}
void AudioProcessor::numChannelsChanged() {}

String AudioProcessor::getParameterName(int parameterIndex, int maximumStringLength)
{
    return getParameterName(parameterIndex).substring(0, maximumStringLength);
}

String AudioProcessor::getParameterText(int parameterIndex, int maximumStringLength)
{
    return getParameterText(parameterIndex).substring(0, maximumStringLength);
}

int AudioProcessor::getParameterNumSteps(int) { return 0x7fffffff; }
float AudioProcessor::getParameterDefaultValue(int) { return 0.0f; }
String AudioProcessor::getParameterLabel(int) const { return {}; }
bool AudioProcessor::isParameterAutomatable(int) { return true; }
bool AudioProcessor::isMetaParameter(int) const { return false; }

void AudioProcessor::getCurrentProgramStateInformation(MemoryBlock& destData)
{
    getStateInformation(destData);
}

void AudioProcessor::setCurrentProgramStateInformation(const void* data, int sizeInBytes)
{
    setStateInformation(data, sizeInBytes);
}

void AudioProcessor::addListener(AudioProcessorListener* newListener)
{
    const ScopedLock sl(listenerLock);
    listeners.addIfNotAlreadyThere(newListener);
}

void AudioProcessor::removeListener(AudioProcessorListener* listenerToRemove)
{
    const ScopedLock sl(listenerLock);
    listeners.removeFirstMatchingValue(listenerToRemove);
}

void AudioProcessor::setPlayHead(AudioPlayHead* newPlayHead)
{
    playHead = newPlayHead;
}

String AudioProcessor::getParameterTextForValue(int, float, int) const { return {}; }

//==============================================================================
void AudioProcessor::setPlayConfigDetails(int numIns, int numOuts, double newSampleRate, int newBlockSize)
{
    sampleRate = newSampleRate;
    blockSize = newBlockSize;

    if (numIns != numInputChannels || numOuts != numOutputChannels)
    {
        numInputChannels = numIns;
        numOutputChannels = numOuts;
        numChannelsChanged();
    }
}

void AudioProcessor::setSpeakerArrangement(const String& inputs, const String& outputs)
{
    inputSpeakerArrangement = inputs;
    outputSpeakerArrangement = outputs;
}

void AudioProcessor::setNonRealtime(bool isNonRealtime) noexcept
{
    nonRealtime = isNonRealtime;
}

void AudioProcessor::setLatencySamples(int newLatency)
{
    if (latencySamples != newLatency)
    {
        latencySamples = newLatency;
        updateHostDisplay();
    }
}

// Every walk goes backwards from the count seen at its start and fetches each
// listener under the lock, so a listener that removes itself (or another) while
// being called only makes later indices come back null, which are skipped.
void AudioProcessor::updateHostDisplay()
{
    for (int i = listeners.size(); --i >= 0;)
        if (auto* l = getListenerLocked(i))
            l->audioProcessorChanged(this);
}

void AudioProcessor::setParameterNotifyingHost(int parameterIndex, float newValue)
{
    setParameter(parameterIndex, newValue);
    sendParamChangeMessageToListeners(parameterIndex, newValue);
}

void AudioProcessor::sendParamChangeMessageToListeners(int parameterIndex, float newValue)
{
    if (! isHostParameter(parameterIndex))
        return;

    for (int i = listeners.size(); --i >= 0;)
        if (auto* l = getListenerLocked(i))
            l->audioProcessorParameterChanged(this, parameterIndex, newValue);
}

// Gestures take the same walk as value changes, so every listener hears a
// parameter's begin, values and end in the same order.
void AudioProcessor::beginParameterChangeGesture(int parameterIndex)
{
    if (! isHostParameter(parameterIndex))
        return;

    for (int i = listeners.size(); --i >= 0;)
        if (auto* l = getListenerLocked(i))
            l->audioProcessorParameterChangeGestureBegin(this, parameterIndex);
}

void AudioProcessor::endParameterChangeGesture(int parameterIndex)
{
    if (! isHostParameter(parameterIndex))
        return;

    for (int i = listeners.size(); --i >= 0;)
        if (auto* l = getListenerLocked(i))
            l->audioProcessorParameterChangeGestureEnd(this, parameterIndex);
}

bool AudioProcessor::isHostParameter(int parameterIndex)
{
    return static_cast<unsigned int>(parameterIndex) < static_cast<unsigned int>(getNumParameters());
}

AudioProcessorListener* AudioProcessor::getListenerLocked(int index) const noexcept
{
    const ScopedLock sl(listenerLock);
    return listeners[index]; // null when out of range
}

//==============================================================================
AudioProcessorEditor* AudioProcessor::createEditorIfNeeded()
{
    if (auto* existing = activeEditor.getComponent())
        return existing;

    auto* editor = createEditor();

    if (editor != nullptr)
    {
        const ScopedLock sl(callbackLock);
        activeEditor = editor;
    }

    return editor;
}

void AudioProcessor::editorBeingDeleted(AudioProcessorEditor* editor) noexcept
{
    const ScopedLock sl(callbackLock);

    if (activeEditor.getComponent() == editor)
        activeEditor = nullptr;
}

} // namespace juce

//==============================================================================
juce::AudioProcessor* createPluginFilterOfType(juce::AudioProcessor::WrapperType type)
{
    // Reset the thread's type on every way out, so a constructor that throws
    // cannot leave it set for an unrelated processor built later on this thread.
    struct TypeReset
    {
        ~TypeReset() { juce::AudioProcessor::setTypeOfNextNewPlugin(juce::AudioProcessor::wrapperType_Undefined); }
    } reset;

    juce::AudioProcessor::setTypeOfNextNewPlugin(type);
    return createPluginFilter();
}
