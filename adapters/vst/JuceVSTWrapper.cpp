#include "JuceVSTWrapper.h"

#include "ChannelConfigurations.h"
#include "SpeakerArrangementNames.h"
#include "VstOpcodes.h"
#include "VstPlayHead.h"
#include "VstText.h"

#include <HostType.h>
#include <HostWindow.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

juce::Array<void*> JuceVSTWrapper::activePlugins;
juce::CriticalSection JuceVSTWrapper::activePluginsLock;
bool JuceVSTWrapper::recursionCheck = false;
uint32_t JuceVSTWrapper::lastMasterIdleCall = 0;
int JuceVSTWrapper::liveEditors = 0;

namespace
{
constexpr double kFallbackSampleRate = 44100.0; // Hz, for a host that gave none or nonsense
constexpr int kFallbackBlockSize = 1024;        // samples
constexpr int kMidiBufferBytes = 2048;

constexpr int kEditorTimerMs = 250;      // deferred editor deletion, chunk release, idle requests
constexpr uint32_t kMasterIdleGapMs = 20; // at most one idle request to the host per this

/** The text as UTF-8 in at most maxBytes bytes, the zero included, cut at a
    character boundary. */
void copyToHost(const juce::String& text, char* dest, int maxBytes)
{
    if (dest == nullptr || maxBytes <= 0)
        return;
    text.copyToUTF8(dest, (size_t) maxBytes);
}

/** Thirteen pairs ordered by inputs, then outputs; as the pairs are distinct
    the order only decides where a search stops. */
bool isAcceptedConfiguration(int32_t ins, int32_t outs)
{
    ChannelConfiguration sorted[kNumChannelConfigurations];
    std::copy(std::begin(kChannelConfigurations), std::end(kChannelConfigurations), sorted);
    std::sort(std::begin(sorted), std::end(sorted), [](const ChannelConfiguration& a, const ChannelConfiguration& b) {
        return a.numIns != b.numIns ? a.numIns < b.numIns : a.numOuts < b.numOuts;
    });

    for (const auto& c : sorted)
        if (c.numIns == ins && c.numOuts == outs)
            return true;
    return false;
}
} // namespace

//==============================================================================
JuceVSTWrapper::JuceVSTWrapper(HostCallback callback, juce::AudioProcessor* p)
    : AudioEffectX(callback, p->getNumPrograms(), p->getNumParameters()),
      processor(p),
      deferredEdits(HostType::GetHostType() == HostType::Ardour ? new DeferredEditNotices(p->getNumParameters()) : nullptr)
{
    processor->setPlayConfigDetails(numInputs, numOutputs, 0.0, 0);
    processor->setPlayHead(this);
    processor->addListener(this);

    setFlag(kFlagHasEditor, true);
    effectRecord.version = 1;
    setUniqueID(fourCharCode('Q', 'v', 'r', '2'));
    setNumInputs(numInputs);
    setNumOutputs(numOutputs);
    canProcessReplacing(true);
    isSynth(false);
    noTail(processor->getTailLengthSeconds() <= 0.0);
    setInitialDelay(processor->getLatencySamples());
    programsAreChunks(true);

    const juce::ScopedLock sl(activePluginsLock);
    activePlugins.add(this);
}

JuceVSTWrapper::~JuceVSTWrapper()
{
    stopTimer();

    // The editor goes before the processor it shows (the lock is taken at
    // once on the message thread).
    if (editorHolder != nullptr)
    {
        const juce::MessageManagerLock mmLock;
        deleteEditor(false);
    }

    hasShutdown = true;

    if (processor != nullptr)
        processor->removeListener(this);
    delete processor;
    processor = nullptr;

    channelPointers.fill(nullptr);
    releasePrivateBuffers();

    bool wasLast = false;
    {
        const juce::ScopedLock sl(activePluginsLock);
        activePlugins.removeFirstMatchingValue(this);
        wasLast = activePlugins.isEmpty();
    }

    if (wasLast)
        juce::shutdownJuce_GUI();
}

//==============================================================================
intptr_t JuceVSTWrapper::dispatcher(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt)
{
    if (hasShutdown)
        return 0;

    switch (opcode)
    {
        case EffectOpcode::editorGetRect:
            return editorGetRect(ptr);
        case EffectOpcode::editorOpen:
            return editorOpen(ptr, index, value, opt);
        case EffectOpcode::editorClose:
        {
            adoptMessageThreadIfFree();
            const juce::MessageManagerLock mmLock;
            deleteEditor(true);
            return 0;
        }
        case EffectOpcode::editorIdle:
            doIdleCallback();
            return 0;
        default:
            return AudioEffectX::dispatcher(opcode, index, value, ptr, opt);
    }
}

void JuceVSTWrapper::open()
{
    if (processor != nullptr)
        setFlag(kFlagHasEditor, processor->hasEditor());
}

void JuceVSTWrapper::close()
{
    stopTimer();

    // Off the message thread the holder stays until the wrapper goes.
    if (juce::MessageManager::existsAndIsCurrentThread())
        deleteEditor(false);
}

//==============================================================================
// The editor. Opcodes 13, 14 and 15 may come from any thread: they run under
// the message manager's lock.

void JuceVSTWrapper::adoptMessageThreadIfFree()
{
    // Made here if no entry point made it (the lock below would wait for a
    // message thread that does not exist).
    auto* mm = juce::MessageManager::getInstance();
    if (mm->isThisTheMessageThread())
        return;

    // While any editor lives, its windows belong to the thread that made
    // them; otherwise the thread that opens an editor runs the GUI from now on.
    const juce::ScopedLock sl(activePluginsLock);
    if (liveEditors == 0)
        mm->setCurrentThreadAsMessageThread();
}

// Host thread: answers the address of the editor's rectangle, also written
// where ptr points; 0 (and nothing written) without an editor or without ptr.
intptr_t JuceVSTWrapper::editorGetRect(void* ptr)
{
    if (ptr == nullptr)
        return 0;

    adoptMessageThreadIfFree();
    const juce::MessageManagerLock mmLock;
    createEditorComp();

    if (editorHolder == nullptr)
        return 0;

    editorRect = { 0, 0, (int16_t) editorHolder->getHeight(), (int16_t) editorHolder->getWidth() };
    *static_cast<VstRect**>(ptr) = &editorRect;
    return reinterpret_cast<intptr_t>(&editorRect);
}

// Host thread: ptr is the host's window (an X11 window id). A null or unknown
// window answers 0 and leaves no editor behind.
intptr_t JuceVSTWrapper::editorOpen(void* ptr, int32_t index, intptr_t value, float opt)
{
    if (ptr == nullptr)
        return 0;

    adoptMessageThreadIfFree();
    const juce::MessageManagerLock mmLock;

    startTimer(kEditorTimerMs);
    deleteEditor(true);
    createEditorComp();

    if (editorHolder == nullptr)
        return AudioEffectX::dispatcher(EffectOpcode::editorOpen, index, value, ptr, opt);

    editorHolder->setOpaque(true);
    editorHolder->setVisible(false);
    hostWindow = juce::attachComponentToWindowRef(editorHolder.get(), ptr);

    if (hostWindow == nullptr)
    {
        deleteEditor(false);
        return 0;
    }

    editorHolder->setVisible(true);
    // A host that never sends idle calls still sees the editor drawn.
    juce::paintComponentNow(editorHolder.get());
    return 1;
}

// Message thread.
void JuceVSTWrapper::createEditorComp()
{
    if (hasShutdown || processor == nullptr)
        return;

    if (editorHolder == nullptr)
    {
        // A new editor makes its look and feel the default, which every open
        // window of every instance hears of.
        const juce::ScopedXErrorTrap trap;

        if (auto* editor = processor->createEditorIfNeeded())
        {
            setFlag(kFlagHasEditor, true);
            editor->setOpaque(true);
            editor->setVisible(true);
            editorHolder = std::make_unique<EditorCompWrapper>(*this, editor);

            const juce::ScopedLock sl(activePluginsLock);
            ++liveEditors;
        }
        else
        {
            setFlag(kFlagHasEditor, false);
        }
    }

    deleteEditorPending = false;
}

// Message thread.
void JuceVSTWrapper::deleteEditor(bool canDeferIfModal)
{
    const juce::ScopedXErrorTrap trap;
    juce::PopupMenu::dismissAllActiveMenus();
    recursionCheck = true;

    if (editorHolder != nullptr)
    {
        if (auto* modal = juce::Component::getCurrentlyModalComponent(0))
        {
            modal->exitModalState(0);

            if (canDeferIfModal)
            {
                deleteEditorPending = true;
                recursionCheck = false;
                return;
            }
        }

        if (hostWindow != nullptr)
        {
            juce::detachComponentFromWindowRef(editorHolder.get(), hostWindow);
            hostWindow = nullptr;
        }

        if (processor != nullptr)
            processor->editorBeingDeleted(editorHolder->getEditorComp());

        auto holder = std::move(editorHolder);
        holder.reset(); // the editor goes with it

        const juce::ScopedLock sl(activePluginsLock);
        --liveEditors;
    }

    recursionCheck = false;
}

// Message thread.
void JuceVSTWrapper::resizeHostWindow(int width, int height)
{
    if (editorHolder == nullptr)
        return;

    const juce::ScopedXErrorTrap trap;
    char sizeWindowText[] = "sizeWindow";
    const bool hostDidIt = canHostDo(sizeWindowText) > 0 && sizeWindow(width, height);

    if (! hostDidIt)
        juce::setNativeHostWindowSize(hostWindow, editorHolder.get(), width, height);

    if (auto* peer = editorHolder->getPeer())
        peer->handleMovedOrResized();
}

// Message thread: gives the host idle time while the user drags, at most
// once per 20 ms. Here every timer and repaint runs inside the host's own
// idle call (recursionCheck set), so no request is made from there: the
// host's loop is never held up by the editor, and a request would only
// re-enter it.
void JuceVSTWrapper::tryMasterIdle()
{
    if (! juce::Component::isMouseButtonDownAnywhere() || recursionCheck || editorHolder == nullptr)
        return;

    const uint32_t now = juce::Time::getMillisecondCounter();
    if (now <= lastMasterIdleCall + kMasterIdleGapMs)
        return;

    lastMasterIdleCall = now;
    recursionCheck = true;
    masterIdle();
    recursionCheck = false;
}

// Host thread (opcode 19): hosts do not run our event loop, so their idle
// call is where the editor gets its events, timers and repaints.
void JuceVSTWrapper::doIdleCallback()
{
    if (! juce::MessageManager::existsAndIsCurrentThread() || recursionCheck)
        return;

    recursionCheck = true;
    juce::dispatchPendingGuiWork();
    recursionCheck = false;
}

//==============================================================================
void JuceVSTWrapper::setNonRealtimeFromHost()
{
    processor->setNonRealtime(getCurrentProcessLevel() == kProcessLevelOffline);
}

void JuceVSTWrapper::releasePrivateBuffers()
{
    juce::AudioBuffer<float> oldInputs, oldTemps;
    {
        const juce::ScopedLock sl(processor != nullptr ? processor->getCallbackLock() : chunkLock);
        std::swap(inputCopies, oldInputs);
        std::swap(tempChannels, oldTemps);
        privateFrames = 0;
    }
    // Freed here, outside the lock.
}

void JuceVSTWrapper::clearOutputs(float** outputs, int32_t frames)
{
    for (int i = 0; i < juce::jlimit(0, kMaxChannels, (int) numOutputs); ++i)
        if (outputs[i] != nullptr)
            juce::FloatVectorOperations::clear(outputs[i], frames);
}

void JuceVSTWrapper::resume()
{
    if (processor == nullptr)
        return;

    double rate = getSampleRate();
    int block = getBlockSize();

    setNonRealtimeFromHost();

    // A rate of 0 or less (or one that is no number at all) cannot prepare
    // the engine's filters.
    if (!(rate > 0.0) || !std::isfinite(rate))
        rate = kFallbackSampleRate;

    // Twice the announced block, as hosts have been seen to exceed it; a
    // longer block still goes through in pieces of this size. An empty block
    // size cannot size them, so they take the default one's.
    const int bufferBlock = block > 0 ? block : kFallbackBlockSize;
    const int frames = (int) std::min<int64_t>(2 * (int64_t) bufferBlock, kMaxFramesPerPiece);
    juce::AudioBuffer<float> newInputs(kMaxChannels, frames), newTemps(kMaxChannels, frames);
    newInputs.clear();
    newTemps.clear();

    {
        // Some hosts resume or suspend from another thread while a block is
        // still running; the buffers change only between blocks.
        const juce::ScopedLock sl(processor->getCallbackLock());

        isProcessing = true;
        firstProcessCall = true;
        channelPointers.fill(nullptr);
        std::swap(inputCopies, newInputs);
        std::swap(tempChannels, newTemps);
        privateFrames = frames;

        processor->setPlayConfigDetails(numInputs, numOutputs, rate, block);
        processor->prepareToPlay(rate, block);
        midiBuffer.ensureSize(kMidiBufferBytes);
        midiBuffer.clear();
    }

    setInitialDelay(processor->getLatencySamples());
    AudioEffectX::resume();
}

void JuceVSTWrapper::suspend()
{
    if (processor == nullptr)
        return;

    {
        const juce::ScopedLock sl(processor->getCallbackLock());
        processor->releaseResources();
        isProcessing = false;
        channelPointers.fill(nullptr);
    }
    outgoingEvents.freeEvents();
    releasePrivateBuffers();
}

//==============================================================================
void JuceVSTWrapper::processReplacing(float** inputs, float** outputs, int32_t frames)
{
    if (processor == nullptr || hasShutdown || frames < 1 || outputs == nullptr)
        return;

    // A host that never sent opcode 12, or that processes after suspend,
    // still gets a prepared processor and buffers that fit.
    if (!isProcessing)
        resume();

    if (firstProcessCall)
    {
        firstProcessCall = false;
        setNonRealtimeFromHost();
    }

    // Before the block, so the host records the edits at this block's time.
    if (deferredEdits != nullptr)
    {
        processThreads.noteCurrentThread();
        sendDeferredEditNotices();
    }

    const juce::ScopedLock sl(processor->getCallbackLock());

    // Suspended by another thread since the check above: nothing to process with.
    if (processor->isSuspended() || privateFrames < 1)
        clearOutputs(outputs, frames);
    else
        for (int done = 0; done < frames;)
        {
            // Counted up by what was done, so the count never passes frames.
            const int piece = std::min(privateFrames, frames - done);
            processPiece(inputs, outputs, done, piece);
            done += piece;
        }

    if (!midiBuffer.isEmpty())
        midiBuffer.clear();

    // The lane played this block; the edits it played over hold again.
    if (deferredEdits != nullptr)
        deferredEdits->giveBackAfterBlock([this](int index, float value) { processor->setParameter(index, value); });
}

void JuceVSTWrapper::processPiece(float** inputs, float** outputs, int offset, int frames)
{
    const int ins = juce::jlimit(0, kMaxChannels, (int) numInputs);
    const int outs = juce::jlimit(0, kMaxChannels, (int) numOutputs);

    // Read every input before any output is written.
    for (int i = 0; i < ins; ++i)
    {
        const float* source = inputs != nullptr ? inputs[i] : nullptr;
        if (source != nullptr)
            inputCopies.copyFrom(i, 0, source + offset, frames);
        else
            inputCopies.clear(i, 0, frames);
    }

    bool usesPrivate[kMaxChannels] = {};

    for (int i = 0; i < outs; ++i)
    {
        float* out = outputs[i];
        bool isPrivate = out == nullptr;
        for (int j = 0; j < i && !isPrivate; ++j)
            isPrivate = outputs[j] == out;

        float* buffer = isPrivate ? tempChannels.getWritePointer(i) : out + offset;

        if (i < ins)
            juce::FloatVectorOperations::copy(buffer, inputCopies.getReadPointer(i), frames);
        else if (isPrivate)
        {
            // An extra output holds what the host left in it.
            if (out != nullptr)
                juce::FloatVectorOperations::copy(buffer, out + offset, frames);
            else
                juce::FloatVectorOperations::clear(buffer, frames);
        }

        usesPrivate[i] = isPrivate && out != nullptr;
        channelPointers[(size_t) i] = buffer;
    }

    // Inputs beyond the outputs reach the processor as copies, so the host's
    // input buffers are never written.
    for (int i = outs; i < ins; ++i)
        channelPointers[(size_t) i] = inputCopies.getWritePointer(i);

    juce::AudioBuffer<float> buffer(channelPointers.data(), std::max(ins, outs), frames);

    if (bypassed.load(std::memory_order_relaxed))
        processor->processBlockBypassed(buffer, midiBuffer);
    else
        processor->processBlock(buffer, midiBuffer);

    for (int i = 0; i < outs; ++i)
        if (usesPrivate[i])
            juce::FloatVectorOperations::copy(outputs[i] + offset, tempChannels.getReadPointer(i), frames);
}

//==============================================================================
void JuceVSTWrapper::setParameter(int32_t index, float value)
{
    if (processor == nullptr)
        return;

    // A host that hears of edits late writes its automation over a control
    // the user holds until it hears the begin: the user's value stays.
    if (deferredEdits != nullptr && !deferredEdits->mayHostSet(index))
        return;

    processor->setParameter(index, value);

    if (deferredEdits == nullptr)
        return;

    // On a thread that processes this instance, the write is the host's
    // automation playback just before its block; anywhere else, a change of
    // the host's own, which wins over an edit it has not heard yet.
    if (processThreads.includesCurrentThread())
        deferredEdits->lanePlayed(index);
    else
        deferredEdits->hostChanged(index, processor->getParameter(index));
}

float JuceVSTWrapper::getParameter(int32_t index)
{
    return processor != nullptr ? processor->getParameter(index) : 0.0f;
}

void JuceVSTWrapper::getParameterName(int32_t index, char* text)
{
    if (processor != nullptr)
        copyToHost(processor->getParameterName(index), text, kParameterNameBytes);
}

void JuceVSTWrapper::getParameterDisplay(int32_t index, char* text)
{
    if (processor != nullptr)
        copyToHost(processor->getParameterText(index), text, kParameterTextBytes);
}

bool JuceVSTWrapper::canParameterBeAutomated(int32_t index)
{
    return processor != nullptr && processor->isParameterAutomatable(index);
}

int32_t JuceVSTWrapper::getProgram()
{
    return processor != nullptr ? processor->getCurrentProgram() : 0;
}

void JuceVSTWrapper::setProgram(int32_t program)
{
    if (processor != nullptr)
        processor->setCurrentProgram(program);
}

void JuceVSTWrapper::setProgramName(char* name)
{
    if (processor != nullptr && name != nullptr)
        processor->changeProgramName(processor->getCurrentProgram(), juce::String::fromUTF8(name));
}

void JuceVSTWrapper::getProgramName(char* name)
{
    if (processor != nullptr)
        copyToHost(processor->getProgramName(processor->getCurrentProgram()), name, kProgramNameBytes);
}

bool JuceVSTWrapper::getProgramNameIndexed(int32_t, int32_t index, char* text)
{
    if (processor == nullptr || text == nullptr)
        return false;

    if ((uint32_t) index < (uint32_t) processor->getNumPrograms())
    {
        copyToHost(processor->getProgramName(index), text, kProgramNameBytes);
        return true;
    }
    return false;
}

//==============================================================================
int32_t JuceVSTWrapper::getChunk(void** data, bool onlyCurrent)
{
    if (processor == nullptr || data == nullptr)
        return 0;

    const juce::ScopedLock sl(chunkLock);
    chunkBuffer.reset();

    if (onlyCurrent)
        processor->getCurrentProgramStateInformation(chunkBuffer);
    else
        processor->getStateInformation(chunkBuffer);

    *data = chunkBuffer.getData();
    // 0 means "nothing to release", so a counter that reads 0 is taken as 1.
    chunkTime = std::max<uint32_t>(1, juce::Time::getApproximateMillisecondCounter());
    return (int32_t) chunkBuffer.getSize();
}

int32_t JuceVSTWrapper::setChunk(void* data, int32_t byteSize, bool onlyCurrent)
{
    if (processor == nullptr)
        return 0;

    const juce::ScopedLock sl(chunkLock);

    // A host may hand back the very bytes getChunk gave it, so they are read
    // before the chunk buffer is emptied.
    if (byteSize > 0 && data != nullptr)
    {
        if (onlyCurrent)
            processor->setCurrentProgramStateInformation(data, byteSize);
        else
            processor->setStateInformation(data, byteSize);

        hostChangedEveryParameter();
    }

    chunkBuffer.reset();
    chunkTime = 0;
    return 0;
}

bool JuceVSTWrapper::releaseChunkIfStale(uint32_t nowMs)
{
    const juce::ScopedTryLock sl(chunkLock);

    // A host call that is filling or reading the chunk right now holds the
    // lock; the next tick will try again.
    if (!sl.isLocked() || chunkTime == 0)
        return false;

    if (!isChunkStale(chunkTime, nowMs))
        return false;

    chunkTime = 0;
    chunkBuffer.reset();
    return true;
}

// Message thread, every 250 ms from the first editor open until close.
void JuceVSTWrapper::timerCallback()
{
    if (deleteEditorPending)
    {
        deleteEditorPending = false;
        deleteEditor(true);
    }

    if (! recursionCheck)
        releaseChunkIfStale(juce::Time::getApproximateMillisecondCounter());

    if (hostWindow != nullptr)
        juce::checkWindowVisibility(hostWindow, editorHolder.get());

    tryMasterIdle();
}

//==============================================================================
bool JuceVSTWrapper::setSpeakerArrangement(VstSpeakerArrangement* input, VstSpeakerArrangement* output)
{
    if (processor == nullptr || input == nullptr || output == nullptr)
        return false;

    if (!isAcceptedConfiguration(input->numChannels, output->numChannels))
    {
        processor->setSpeakerArrangement({}, {});
        return false;
    }

    inputArrangementType = input->type;
    outputArrangementType = output->type;
    numInputs = input->numChannels;
    numOutputs = output->numChannels;

    processor->setPlayConfigDetails(numInputs, numOutputs, processor->getSampleRate(), processor->getBlockSize());
    processor->setSpeakerArrangement(speakerArrangementName(input->type), speakerArrangementName(output->type));
    hostChangedEveryParameter(); // the layout can move a parameter
    return true;
}

bool JuceVSTWrapper::getPinProperties(int32_t index, bool isInput, VstPinProperties* properties)
{
    if (processor == nullptr || properties == nullptr || (uint32_t) index > 7)
        return false;

    const juce::String name = isInput ? processor->getInputChannelName(index)
                                      : processor->getOutputChannelName(index);
    copyToHost(name, properties->label, kPinLabelBytes);
    copyToHost(name, properties->shortLabel, kPinShortLabelBytes);

    const int32_t arrangement = isInput ? inputArrangementType : outputArrangementType;
    if (arrangement == -1)
    {
        const bool stereo = isInput ? processor->isInputChannelStereoPair(index)
                                    : processor->isOutputChannelStereoPair(index);
        properties->flags = stereo ? (kPinIsActive | kPinIsStereo) : kPinIsActive;
        properties->arrangementType = 0;
    }
    else
    {
        properties->flags = kPinUseSpeakerType;
        properties->arrangementType = arrangement;
    }
    return true;
}

bool JuceVSTWrapper::getInputProperties(int32_t index, VstPinProperties* properties)
{
    return getPinProperties(index, true, properties);
}

bool JuceVSTWrapper::getOutputProperties(int32_t index, VstPinProperties* properties)
{
    return getPinProperties(index, false, properties);
}

bool JuceVSTWrapper::setBypass(bool onOff)
{
    bypassed.store(onOff, std::memory_order_relaxed);
    return true;
}

int32_t JuceVSTWrapper::processEvents(VstEvents*)
{
    return 0;
}

int32_t JuceVSTWrapper::getGetTailSize()
{
    if (processor == nullptr)
        return 0;

    const double samples = processor->getTailLengthSeconds() * processor->getSampleRate();
    if (!(samples > 0.0))
        return 0;
    return samples < 2147483647.0 ? (int32_t) samples : 2147483647;
}

bool JuceVSTWrapper::getEffectName(char* name)
{
    if (name == nullptr)
        return false;
    copyToHost("Quorvane2", name, kEffectNameBytes);
    return true;
}

bool JuceVSTWrapper::getVendorString(char* text)
{
    if (text == nullptr)
        return false;
    copyToHost("Brennick Limited", text, kEffectNameBytes);
    return true;
}

bool JuceVSTWrapper::getProductString(char* text)
{
    return getEffectName(text);
}

int32_t JuceVSTWrapper::canDo(char* text)
{
    if (text == nullptr)
        return 0;

    static const char* const noMidi[] = { "receiveVstEvents", "receiveVstMidiEvent", "receiveVstMidiEvents",
                                          "sendVstEvents", "sendVstMidiEvent", "sendVstMidiEvents" };
    static const char* const yes[] = { "receiveVstTimeInfo", "conformsToWindowRules", "bypass" };

    for (const char* t : noMidi)
        if (std::strcmp(text, t) == 0)
            return -1;
    for (const char* t : yes)
        if (std::strcmp(text, t) == 0)
            return 1;
    if (std::strcmp(text, "openCloseAnyThread") == 0)
        return -1;
    return 0;
}

//==============================================================================
void JuceVSTWrapper::audioProcessorParameterChanged(juce::AudioProcessor*, int index, float newValue)
{
    // The processor already holds the value; only the host's notice may wait.
    notifyHostOfEdit(HostOpcode::automate, index, newValue);
}

void JuceVSTWrapper::audioProcessorParameterChangeGestureBegin(juce::AudioProcessor*, int index)
{
    notifyHostOfEdit(HostOpcode::beginEdit, index, 0.0f);
}

void JuceVSTWrapper::audioProcessorParameterChangeGestureEnd(juce::AudioProcessor*, int index)
{
    notifyHostOfEdit(HostOpcode::endEdit, index, 0.0f);
}

void JuceVSTWrapper::notifyHostOfEdit(int32_t opcode, int32_t index, float value)
{
    if (deferredEdits != nullptr)
    {
        if (opcode == HostOpcode::automate)
            deferredEdits->valueChanged(index, value);
        else if (opcode == HostOpcode::beginEdit)
            deferredEdits->gestureBegan(index);
        else
            deferredEdits->gestureEnded(index);
    }
    else if (opcode == HostOpcode::automate)
        callHost(opcode, index, 0, nullptr, value);
    else
        callHost(opcode, index);
}

// Host's thread, after it loaded a state or changed the layout: the processor
// may hold new values anywhere, so each waiting value becomes the one held now.
// Gestures the user holds are not refused here: a whole state is the user's
// own choice, and a host told at once would have applied it too.
void JuceVSTWrapper::hostChangedEveryParameter() noexcept
{
    if (deferredEdits == nullptr || processor == nullptr)
        return;

    for (int index = 0; index < deferredEdits->getNumParameters(); ++index)
        deferredEdits->hostChanged(index, processor->getParameter(index));
}

// Audio thread: what waits for the host, neither waiting nor allocating.
void JuceVSTWrapper::sendDeferredEditNotices() noexcept
{
    deferredEdits->sendPending([this](DeferredEditNotices::Notice notice, int index, float value) {
        switch (notice)
        {
            case DeferredEditNotices::Notice::begin: callHost(HostOpcode::beginEdit, index); break;
            case DeferredEditNotices::Notice::value: callHost(HostOpcode::automate, index, 0, nullptr, value); break;
            case DeferredEditNotices::Notice::end:   callHost(HostOpcode::endEdit, index); break;
        }
    });
}

void JuceVSTWrapper::audioProcessorChanged(juce::AudioProcessor*)
{
    if (processor != nullptr)
        setInitialDelay(processor->getLatencySamples());
    ioChanged();
    updateDisplay();
}

bool JuceVSTWrapper::getCurrentPosition(juce::AudioPlayHead::CurrentPositionInfo& info)
{
    return positionFromTimeInfo(getTimeInfo((int32_t) kTimeInfoRequestAll), info);
}
