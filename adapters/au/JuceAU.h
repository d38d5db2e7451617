// The Audio Unit adapter: makes the processor an Audio Unit effect on the
// base classes, and hands hosts its editor in a view.
#pragma once

#include "AUMIDIEffectBase.h"

#include <AudioProcessor.h>

#include "PlatformObjCRuntime.h"

#include <memory>
#include <vector>

/** The effect base as this plug-in uses it: the output layout tags it offers
    and MIDI that is taken and dropped. */
class JuceAUBaseClass : public AUMIDIEffectBase
{
public:
    explicit JuceAUBaseClass(AudioComponentInstance instance) : AUMIDIEffectBase(instance, false) {}

    /** The output layouts a host may pick, in the order offered. */
    static constexpr AudioChannelLayoutTag kOutputLayoutTags[] = {
        kAudioChannelLayoutTag_MPEG_5_1_A, kAudioChannelLayoutTag_MPEG_6_1_A,
        // 7.1 as the decoder lays it out: L R C LFE Ls Rs, then the rear pair
        // RLs RRs. "7.1 A" would put a front-centre pair in the last two
        // channels, which this decoder never feeds.
        kAudioChannelLayoutTag_MPEG_7_1_C,
        kAudioChannelLayoutTag_Stereo, kAudioChannelLayoutTag_Ambisonic_B_Format
    };
    static constexpr UInt32 kNumOutputLayoutTags = sizeof(kOutputLayoutTags) / sizeof(kOutputLayoutTags[0]);

    /** Output scope, any element: the five tags; other scopes none. */
    UInt32 GetChannelLayoutTags(AudioUnitScope scope, AudioUnitElement element, AudioChannelLayoutTag* outTags) override;
    OSStatus MIDIEvent(UInt32 status, UInt32 data1, UInt32 data2, UInt32 offset) override;
    OSStatus SysEx(const UInt8* data, UInt32 length) override;
    /** Takes the event and drops it: this effect has no use for MIDI. */
    OSStatus HandleMidiEvent(UInt8 status, UInt8 channel, UInt8 data1, UInt8 data2, UInt32 offset) override;
};

class JuceAU : public JuceAUBaseClass, public juce::AudioProcessorListener, public juce::AudioPlayHead
{
public:
    /** The adapter's own properties, global scope only. */
    static constexpr AudioUnitPropertyID kVersionCheckProperty = 1000;   // 4 bytes, read-only: 1
    static constexpr AudioUnitPropertyID kViewLinkProperty = 0x1a45ffe9; // 16 bytes, read-only

    /** What the view-link property holds: how the view factory reaches the
        unit that a host hands it. */
    struct ViewLink
    {
        juce::AudioProcessor* processor;
        JuceAU* unit;
    };
    static_assert(sizeof(ViewLink) == 16, "the view link is two pointers");

    /** Host main thread, under the base's open lock. */
    explicit JuceAU(AudioComponentInstance instance);
    ~JuceAU() override;

    OSStatus Version() override { return 1; }
    // Host main thread.
    OSStatus Initialize() override;
    void Cleanup() override;
    OSStatus Reset(AudioUnitScope scope, AudioUnitElement element) override;

    // Any thread the host uses for properties.
    OSStatus GetPropertyInfo(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                             UInt32& outDataSize, Boolean& outWritable) override;
    OSStatus GetProperty(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element, void* outData) override;
    OSStatus SetProperty(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element, const void* inData,
                         UInt32 inDataSize) override;

    // Any thread; no lock: the processor's setters publish.
    OSStatus GetParameter(AudioUnitParameterID id, AudioUnitScope scope, AudioUnitElement element,
                          AudioUnitParameterValue& outValue) override;
    OSStatus SetParameter(AudioUnitParameterID id, AudioUnitScope scope, AudioUnitElement element,
                          AudioUnitParameterValue value, UInt32 bufferOffset) override;
    OSStatus GetParameterInfo(AudioUnitScope scope, AudioUnitParameterID id, AudioUnitParameterInfo& outInfo) override;

    // Render thread.
    OSStatus ProcessBufferLists(AudioUnitRenderActionFlags& flags, const AudioBufferList& input,
                                AudioBufferList& output, UInt32 frames) override;
    OSStatus Render(AudioUnitRenderActionFlags& flags, const AudioTimeStamp& timeStamp, UInt32 frames) override;

    // Host main thread.
    OSStatus SaveState(CFPropertyListRef* outData) override;
    OSStatus RestoreState(CFPropertyListRef plist) override;
    OSStatus GetPresets(CFArrayRef* outPresets) const override;
    OSStatus NewFactoryPresetSet(const AUPreset& preset) override;

    Float64 GetLatency() override;
    Float64 GetTailTime() override;
    bool SupportsTail() override { return true; }
    bool StreamFormatWritable(AudioUnitScope scope, AudioUnitElement element) override;
    UInt32 SupportedNumChannels(const AUChannelInfo** outInfo) override;
    OSStatus SetAudioChannelLayout(AudioUnitScope scope, AudioUnitElement element,
                                   const AudioChannelLayout* layout) override;
    OSStatus StartNote(UInt32, UInt32, UInt32*, UInt32, const void*) override { return 0; }
    OSStatus StopNote(UInt32, UInt32, UInt32) override { return 0; }

    // juce::AudioProcessorListener, on the thread that caused the change.
    void audioProcessorParameterChanged(juce::AudioProcessor*, int index, float newValue) override;
    void audioProcessorChanged(juce::AudioProcessor*) override;
    void audioProcessorParameterChangeGestureBegin(juce::AudioProcessor*, int index) override;
    void audioProcessorParameterChangeGestureEnd(juce::AudioProcessor*, int index) override;

    /** Audio thread: the host's transport. Always true. */
    bool getCurrentPosition(juce::AudioPlayHead::CurrentPositionInfo& info) override;

    /** The OutputStemFormat a layout tag selects (0 for none). */
    static int OutputFormatForLayoutTag(AudioChannelLayoutTag tag) noexcept;

    /** The position record's frame-rate code for an SMPTE type. */
    static juce::AudioPlayHead::FrameRateType FrameRateForSMPTEType(UInt32 smpteType) noexcept;

    /** Holds the processor's editor inside a host's view (see JuceAUView.cpp).
        Message thread. */
    class EditorCompHolder : public juce::Component
    {
    public:
        explicit EditorCompHolder(juce::AudioProcessorEditor* editor);
        ~EditorCompHolder() override;

        /** The view a host gets: a new view-class instance holding this
            holder and its editor, autoreleased. */
        static id createViewFor(juce::AudioProcessor* processor, JuceAU* au, juce::AudioProcessorEditor* editor);

        void childBoundsChanged(juce::Component* child) override;
        bool keyPressed(const juce::KeyPress& key) override;

        /** The holder never gets smaller than this, whatever the editor does. */
        static constexpr int kMinimumSize = 32;

    private:
        JUCE_DECLARE_NON_COPYABLE(EditorCompHolder)
    };

    /** Host main thread: the Cocoa-view record of property 31 (both
        references retained for the caller). */
    static OSStatus GetCocoaViewInfo(AudioUnitCocoaViewInfo& outInfo);

    /** Deletes the editors of every live view made for this unit, newest first. */
    void deleteActiveEditors();

    juce::AudioProcessor* getProcessor() const noexcept { return processor.get(); }

    // Host main thread: the live units, and the live views (view objects) in
    // the order they were made. The GUI library lives while either has one.
    static juce::Array<JuceAU*> activePlugins;
    static juce::Array<id> activeUIs;

private:
    void prepareToPlay();
    void clearPresetsArray() const;
    void notifyParameterEvent(AudioUnitEventType type, int index);

    std::unique_ptr<juce::AudioProcessor> processor;
    juce::AudioSampleBuffer scratchBuffer { 2, 16 }; // spare channels for interleaved host buffers
    std::unique_ptr<float*[]> channelPointers;       // handed to the processor; sized at each preparation
    int numChannelPointers = 0;
    int preparedFrames = 0;                          // the most frames one render may bring
    juce::MidiBuffer blockMidi;                      // handed to the processor for one block
    juce::MidiBuffer pendingMidi;                    // collected between blocks; nothing adds to it
    bool isPrepared = false;
    AUChannelInfo supportedChannels[13] {};
    AudioUnitEvent parameterEvent {};                // the template of every parameter notification
    mutable std::vector<AUPreset> presets;           // the factory presets last handed out; names owned
    juce::CriticalSection pendingMidiLock;
    AudioTimeStamp renderTimeStamp {};

    JUCE_DECLARE_NON_COPYABLE(JuceAU)
};
