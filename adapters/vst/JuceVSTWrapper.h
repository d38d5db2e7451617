// The VST 2.4 adapter: makes the processor a VST effect that a host drives
// through the AEffect record.
#pragma once

#include "AudioEffectX.h"
#include "ChannelConfigurations.h"
#include "DeferredEditNotices.h"
#include "ProcessThreads.h"
#include "VSTMidiEventList.h"

#include <AudioProcessor.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>

class JuceVSTWrapper : public AudioEffectX,
                       private juce::Timer,
                       public juce::AudioProcessorListener,
                       public juce::AudioPlayHead
{
public:
    /** Takes over the processor. Host thread of the entry point. */
    JuceVSTWrapper(HostCallback hostCallback, juce::AudioProcessor* processor);
    ~JuceVSTWrapper() override;

    intptr_t dispatcher(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) override;

    void open() override;
    void close() override;

    // Host thread; the host changes neither the arrangement nor the block
    // size between resume and suspend.
    void resume() override;
    void suspend() override;

    /** Audio thread. */
    void processReplacing(float** inputs, float** outputs, int32_t frames) override;

    // Any thread the host uses.
    void setParameter(int32_t index, float value) override;
    float getParameter(int32_t index) override;
    void getParameterName(int32_t index, char* text) override;
    void getParameterDisplay(int32_t index, char* text) override;
    bool canParameterBeAutomated(int32_t index) override;
    int32_t getProgram() override;
    void setProgram(int32_t program) override;
    void setProgramName(char* name) override;
    void getProgramName(char* name) override;
    bool getProgramNameIndexed(int32_t category, int32_t index, char* text) override;
    int32_t getChunk(void** data, bool onlyCurrent) override;
    int32_t setChunk(void* data, int32_t byteSize, bool onlyCurrent) override;
    bool setSpeakerArrangement(VstSpeakerArrangement* input, VstSpeakerArrangement* output) override;
    bool getInputProperties(int32_t index, VstPinProperties* properties) override;
    bool getOutputProperties(int32_t index, VstPinProperties* properties) override;
    bool setBypass(bool onOff) override;
    int32_t processEvents(VstEvents* events) override;
    int32_t startProcess() override { return 0; }
    int32_t stopProcess() override { return 0; }
    int32_t getGetTailSize() override;
    bool getEffectName(char* name) override;
    bool getVendorString(char* text) override;
    bool getProductString(char* text) override;
    int32_t getVendorVersion() override { return 1; }
    int32_t getPlugCategory() override { return 1; } // effect
    int32_t canDo(char* text) override;

    // juce::AudioProcessorListener, on the thread that caused the change.
    void audioProcessorParameterChanged(juce::AudioProcessor*, int index, float newValue) override;
    void audioProcessorParameterChangeGestureBegin(juce::AudioProcessor*, int index) override;
    void audioProcessorParameterChangeGestureEnd(juce::AudioProcessor*, int index) override;
    void audioProcessorChanged(juce::AudioProcessor*) override;

    // juce::AudioPlayHead; audio thread.
    bool getCurrentPosition(juce::AudioPlayHead::CurrentPositionInfo& info) override;

    /** Empties the chunk handed to the host once more than kChunkHoldMs have
        passed since getChunk, measured as elapsed time so that the wrap of
        the 32-bit millisecond counter does not matter. True when released. */
    bool releaseChunkIfStale(uint32_t nowMs);

    /** More than kChunkHoldMs from fetchedAtMs to nowMs, in 32-bit unsigned
        arithmetic. */
    static bool isChunkStale(uint32_t fetchedAtMs, uint32_t nowMs) noexcept
    {
        return (uint32_t) (nowMs - fetchedAtMs) > kChunkHoldMs;
    }

    /** Holds the editor in the host's window: its only child is the editor,
        which it owns. Message thread. */
    class EditorCompWrapper : public juce::Component, public juce::AsyncUpdater
    {
    public:
        EditorCompWrapper(JuceVSTWrapper& owner, juce::AudioProcessorEditor* editor);
        ~EditorCompWrapper() override;

        void paint(juce::Graphics&) override {}
        void paintOverChildren(juce::Graphics&) override;
        bool keyPressed(const juce::KeyPress&) override;
        void resized() override;
        void childBoundsChanged(juce::Component* child) override;
        void handleAsyncUpdate() override;

        juce::AudioProcessorEditor* getEditorComp() const;

    private:
        JuceVSTWrapper& owner;

        JUCE_DECLARE_NON_COPYABLE(EditorCompWrapper)
    };

    /** Message thread: the holder and the host window, for the editor's own use. */
    EditorCompWrapper* getEditorHolder() const noexcept { return editorHolder.get(); }
    void resizeHostWindow(int width, int height);
    void tryMasterIdle();

    /** Byte limits of the texts handed to the host, the zero included. */
    static constexpr int kParameterNameBytes = 16;
    static constexpr int kParameterTextBytes = 24;
    static constexpr int kProgramNameBytes = 24;
    static constexpr int kEffectNameBytes = 64;
    static constexpr int kPinLabelBytes = 63;
    static constexpr int kPinShortLabelBytes = 7;

    static constexpr uint32_t kChunkHoldMs = 2000;
    static constexpr int kNumChannelsAtStart = 8;

    /** The most frames one processor call gets; longer host blocks go through
        in pieces, so no private buffer is ever written past its end. */
    static constexpr int kMaxFramesPerPiece = 8192;

    /** True when the host hears of edits only from the audio thread: decided
        once, at construction, from the host type. */
    bool defersEditNotices() const noexcept { return deferredEdits != nullptr; }

private:
    void timerCallback() override;

    // The editor (message thread).
    intptr_t editorGetRect(void* ptr);
    intptr_t editorOpen(void* ptr, int32_t index, intptr_t value, float opt);
    void createEditorComp();
    void deleteEditor(bool canDeferIfModal);
    void doIdleCallback();
    /** Makes the calling thread the GUI library's message thread when no
        editor of any instance lives, so a host that opens editors from a
        thread other than the one that loaded us is not left waiting for a
        message loop that never runs. */
    static void adoptMessageThreadIfFree();

    bool getPinProperties(int32_t index, bool isInput, VstPinProperties* properties);
    void setNonRealtimeFromHost();
    void releasePrivateBuffers();
    void clearOutputs(float** outputs, int32_t frames);
    void processPiece(float** inputs, float** outputs, int offset, int frames);

    static constexpr int kMaxChannels = kMaxConfiguredChannels;

    // Edits reported to the host from the start of the next process call.
    // Ardour answers begin edit and automate from a thread that is not its
    // own only by crashing (its tempo map is per thread, and only its own
    // threads have one), and it calls the editor's idle, and so the editor's
    // mouse handling, from a GUI thread it never set up; its audio thread,
    // which calls processReplacing, is safe.
    void notifyHostOfEdit(int32_t opcode, int32_t index, float value);
    void sendDeferredEditNotices() noexcept;
    void hostChangedEveryParameter() noexcept;

    juce::AudioProcessor* processor;  // owned; null once destruction has begun
    juce::MemoryBlock chunkBuffer;    // the blob last handed to the host
    uint32_t chunkTime = 0;           // ms counter at getChunk; 0: nothing to release
    juce::CriticalSection chunkLock;  // chunkBuffer and chunkTime, against the timer's release
    std::unique_ptr<EditorCompWrapper> editorHolder; // the editor in the host's window; null when closed
    VstRect editorRect {};            // the size handed to the host
    void* hostWindow = nullptr;       // the host's window while the editor is attached
    bool deleteEditorPending = false; // a deletion deferred while a modal component was up
    juce::MidiBuffer midiBuffer;      // passed to every processing call; nothing fills it
    juce::VSTMidiEventList outgoingEvents;
    int32_t inputArrangementType = -1;
    int32_t outputArrangementType = -1;
    int32_t numInputs = kNumChannelsAtStart;
    int32_t numOutputs = kNumChannelsAtStart;
    bool isProcessing = false;        // between resume and suspend
    std::atomic<bool> bypassed { false }; // set by the host on any thread, read by the audio thread
    bool hasShutdown = false;
    bool firstProcessCall = true;

    // Channels handed to the processor: outputs first, then any inputs beyond
    // the output count. Sized for the largest configuration, so an arrangement
    // change never leaves them short.
    std::array<float*, 2 * kMaxChannels> channelPointers {};

    // Private storage, allocated at resume and freed at suspend (swapped in
    // and out under the processor's callback lock): the host's
    // inputs are copied here before any output is written (an input may share
    // memory with an output of another index), and an output that shares its
    // address with an earlier output, or that the host left null, is
    // processed here and copied out afterwards.
    juce::AudioBuffer<float> inputCopies;
    juce::AudioBuffer<float> tempChannels;
    int privateFrames = 0;            // frames each private channel holds

    // Null unless the host hears of edits only at its next process call.
    const std::unique_ptr<DeferredEditNotices> deferredEdits;
    ProcessThreads processThreads; // noted only while deferredEdits is set

    static juce::Array<void*> activePlugins;
    static juce::CriticalSection activePluginsLock;
    static bool recursionCheck;           // message thread: editor deletion, idle work, the host's idle call
    static uint32_t lastMasterIdleCall;   // ms counter of the last idle request to the host
    static int liveEditors;               // message thread: holders of every instance

    JUCE_DECLARE_NON_COPYABLE(JuceVSTWrapper)
};
