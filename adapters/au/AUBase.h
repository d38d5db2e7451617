// The root Audio Unit class: scopes and elements, properties and their
// listeners, parameters and scheduled parameter events, rendering with the
// render-notify callbacks, stream formats, channel layouts, saved state and
// presets. Subclasses replace the virtual operations; the Dispatch and Do
// operations are what the host entries call.
#pragma once

#include "AUIOElement.h"
#include "AUInputElement.h"
#include "AUScope.h"
#include "CAStreamBasicDescription.h"
#include "ComponentBase.h"
#include "ThreadSafeList.h"

#include <atomic>
#include <vector>

class AUBase : public ComponentBase
{
public:
    struct PropertyListener
    {
        AudioUnitPropertyID propertyID;
        AudioUnitPropertyListenerProc listenerProc;
        void* listenerRefCon;
    };

    struct RenderCallback
    {
        AURenderCallback mRenderNotify = nullptr;
        void* mRenderNotifyRefCon = nullptr;

        bool operator==(const RenderCallback& other) const noexcept
        {
            return mRenderNotify == other.mRenderNotify && mRenderNotifyRefCon == other.mRenderNotifyRefCon;
        }
    };

    using RenderCallbackList = TThreadSafeList<RenderCallback>;
    static_assert(sizeof(RenderCallbackList::Node) == 32, "a render-notify node is 32 bytes");

    using ParameterEventList = std::vector<AudioUnitParameterEvent>;

    /** The "lrst" property: the sample time of the last render. */
    static constexpr AudioUnitPropertyID kLastRenderSampleTimeProperty = 0x6C727374;
    /** Maximum frames per slice after construction. */
    static constexpr UInt32 kDefaultMaxFramesPerSlice = 1156;
    /** The Audio Unit interface version the constructor sets. */
    static constexpr UInt8 kDefaultAudioUnitAPIVersion = 2;

    /** The global scope gets its one element; input, output and group
        elements come with PostConstructor. */
    AUBase(AudioComponentInstance instance, UInt32 numInputElements, UInt32 numOutputElements,
           UInt32 numGroupElements = 0);
    ~AUBase() override;

    // ---- Virtual operations, in slot order ----------------------------------

    void PostConstructor() override { CreateElements(); }
    void PreDestructor() override;
    OSStatus Version() override { return 1; }
    virtual void CreateExtendedElements() {}
    virtual OSStatus Initialize() { return 0; }
    virtual void Cleanup() {}
    virtual OSStatus Reset(AudioUnitScope scope, AudioUnitElement element);
    virtual OSStatus GetPropertyInfo(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                                     UInt32& outDataSize, Boolean& outWritable);
    virtual OSStatus GetProperty(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element, void* outData);
    virtual OSStatus SetProperty(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                                 const void* inData, UInt32 inDataSize);
    virtual OSStatus RemovePropertyValue(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element);
    virtual OSStatus AddPropertyListener(AudioUnitPropertyID id, AudioUnitPropertyListenerProc proc, void* userData);
    virtual OSStatus RemovePropertyListener(AudioUnitPropertyID id, AudioUnitPropertyListenerProc proc, void* userData,
                                            bool useUserData);
    virtual OSStatus SetRenderNotification(AURenderCallback proc, void* userData);
    virtual OSStatus RemoveRenderNotification(AURenderCallback proc, void* userData);
    virtual OSStatus GetParameter(AudioUnitParameterID id, AudioUnitScope scope, AudioUnitElement element,
                                  AudioUnitParameterValue& outValue);
    virtual OSStatus SetParameter(AudioUnitParameterID id, AudioUnitScope scope, AudioUnitElement element,
                                  AudioUnitParameterValue value, UInt32 bufferOffset);
    virtual OSStatus ScheduleParameter(const AudioUnitParameterEvent* events, UInt32 count);
    virtual OSStatus ProcessBufferLists(AudioUnitRenderActionFlags& flags, const AudioBufferList& input,
                                        AudioBufferList& output, UInt32 frames);
    virtual OSStatus ProcessMultipleBufferLists(AudioUnitRenderActionFlags& flags, UInt32 frames, UInt32 inputCount,
                                                const AudioBufferList** inputs, UInt32 outputCount,
                                                AudioBufferList** outputs);
    virtual OSStatus ComplexRender(AudioUnitRenderActionFlags& flags, const AudioTimeStamp& timeStamp, UInt32 bus,
                                   UInt32 packets, UInt32* outPacketCount, AudioBufferList& ioData);
    virtual OSStatus RenderBus(AudioUnitRenderActionFlags& flags, const AudioTimeStamp& timeStamp, UInt32 bus,
                               UInt32 frames);
    virtual OSStatus Render(AudioUnitRenderActionFlags& flags, const AudioTimeStamp& timeStamp, UInt32 frames);
    virtual bool BusCountWritable(AudioUnitScope scope) { (void) scope; return false; }
    virtual OSStatus SetBusCount(AudioUnitScope scope, UInt32 count);
    virtual OSStatus SetConnection(const AudioUnitConnection& connection);
    virtual OSStatus SetInputCallback(UInt32 property, AudioUnitElement element, AURenderCallback proc, void* refCon);
    virtual OSStatus GetParameterList(AudioUnitScope scope, AudioUnitParameterID* outList, UInt32& outCount);
    virtual OSStatus GetParameterInfo(AudioUnitScope scope, AudioUnitParameterID id, AudioUnitParameterInfo& outInfo);
    virtual OSStatus GetParameterHistoryInfo(AudioUnitScope scope, AudioUnitParameterID id, Float32& updatesPerSecond,
                                             Float32& historyDuration);
    virtual OSStatus SaveState(CFPropertyListRef* outData);
    virtual OSStatus RestoreState(CFPropertyListRef plist);
    virtual OSStatus GetParameterValueStrings(AudioUnitScope scope, AudioUnitParameterID id, CFArrayRef* outStrings);
    virtual OSStatus CopyClumpName(AudioUnitScope scope, UInt32 clumpID, UInt32 desiredLength, CFStringRef* outName);
    virtual OSStatus GetPresets(CFArrayRef* outPresets) const;
    virtual OSStatus NewFactoryPresetSet(const AUPreset& preset);
    virtual UInt32 GetNumCustomUIComponents() { return 0; }
    virtual void GetUIComponentDescs(AudioComponentDescription* outDescriptions) { (void) outDescriptions; }
    virtual CFURLRef CopyIconLocation() { return nullptr; }
    virtual Float64 GetLatency() { return 0.0; }
    virtual Float64 GetTailTime() { return 0.0; }
    virtual bool SupportsTail() { return false; }
    virtual bool StreamFormatWritable(AudioUnitScope scope, AudioUnitElement element) = 0;
    virtual UInt32 SupportedNumChannels(const AUChannelInfo** outInfo);
    virtual bool ValidFormat(AudioUnitScope scope, AudioUnitElement element, const CAStreamBasicDescription& format);
    virtual const CAStreamBasicDescription& GetStreamFormat(AudioUnitScope scope, AudioUnitElement element);
    virtual OSStatus ChangeStreamFormat(AudioUnitScope scope, AudioUnitElement element,
                                        const CAStreamBasicDescription& previous,
                                        const CAStreamBasicDescription& format);
    virtual AUScope* GetScopeExtended(AudioUnitScope scope) { (void) scope; return nullptr; }
    virtual void PropertyChanged(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element);
    virtual AUElement* CreateElement(AudioUnitScope scope, AudioUnitElement element);
    virtual OSStatus Start() { return kAudio_UnimplementedError; }
    virtual OSStatus Stop() { return kAudio_UnimplementedError; }
    virtual OSStatus PrepareInstrument(UInt32 instrument) { (void) instrument; return kAudio_UnimplementedError; }
    virtual OSStatus ReleaseInstrument(UInt32 instrument) { (void) instrument; return kAudio_UnimplementedError; }
    virtual OSStatus MIDIEvent(UInt32 status, UInt32 data1, UInt32 data2, UInt32 offset);
    virtual OSStatus SysEx(const UInt8* data, UInt32 length);
    virtual OSStatus StartNote(UInt32 instrument, UInt32 group, UInt32* outNoteInstance, UInt32 offset,
                               const void* noteParams);
    virtual OSStatus StopNote(UInt32 group, UInt32 noteInstance, UInt32 offset);
    virtual void ReallocateBuffers();
    virtual void SetMaxFramesPerSlice(UInt32 frames);
    virtual OSStatus CanSetMaxFrames() const;
    virtual UInt32 GetChannelLayoutTags(AudioUnitScope scope, AudioUnitElement element, AudioChannelLayoutTag* outTags);
    virtual UInt32 GetAudioChannelLayout(AudioUnitScope scope, AudioUnitElement element, AudioChannelLayout* outLayout,
                                         Boolean& outWritable);
    virtual OSStatus SetAudioChannelLayout(AudioUnitScope scope, AudioUnitElement element,
                                           const AudioChannelLayout* layout);
    virtual OSStatus RemoveAudioChannelLayout(AudioUnitScope scope, AudioUnitElement element);
    virtual OSStatus ProcessForScheduledParams(ParameterEventList& events, UInt32 frames, void* userData);
    virtual OSStatus ProcessScheduledSlice(void* userData, UInt32 sliceOffset, UInt32 sliceFrames, UInt32 totalFrames);

    // ---- Life cycle ---------------------------------------------------------

    /** Once: creates the input, output and group elements. */
    void CreateElements();
    /** Host main thread. 0 when already initialised; a failing Initialize()
        changes nothing. */
    OSStatus DoInitialize();
    /** Host main thread. */
    void DoCleanup();

    bool IsInitialized() const noexcept { return mInitialized.load(std::memory_order_acquire); }
    bool HasBegunInitializing() const noexcept { return mHasBegunInitializing; }
    UInt8 AudioUnitAPIVersion() const noexcept { return mAudioUnitAPIVersion; }

    // ---- Scopes and elements --------------------------------------------

    /** Scopes 0 to 3, or GetScopeExtended; -10866 thrown when there is none. */
    AUScope& GetScope(AudioUnitScope scope);
    AUScope& Globals() noexcept { return mScopes[kAudioUnitScope_Global]; }
    AUScope& Inputs() noexcept { return mScopes[kAudioUnitScope_Input]; }
    AUScope& Outputs() noexcept { return mScopes[kAudioUnitScope_Output]; }
    AUScope& Groups() noexcept { return mScopes[kAudioUnitScope_Group]; }
    AUElement* Globals0() { return Globals().SafeGetElement(0); }
    /** -10877 thrown when missing. */
    AUInputElement* GetInput(AudioUnitElement element);
    AUOutputElement* GetOutput(AudioUnitElement element);
    AUElement* GetElement(AudioUnitScope scope, AudioUnitElement element) { return GetScope(scope).GetElement(element); }

    bool IsStreamFormatWritable(AudioUnitScope scope, AudioUnitElement element);

    // ---- Host entries (the Dispatch and Do operations) ---------------------
    // Properties: whatever thread the host uses, one at a time (mostly its
    // main thread). Rendering: the render thread.

    /** Size and writable flag of a property; see the property tables. */
    OSStatus DispatchGetPropertyInfo(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                                     UInt32& outDataSize, Boolean& outWritable);
    /** Writes a property's value; outData holds at least the size from above. */
    OSStatus DispatchGetProperty(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element, void* outData);
    OSStatus DispatchSetProperty(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                                 const void* inData, UInt32 inDataSize);
    OSStatus DispatchRemovePropertyValue(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element);

    /** The host's get-info call: size and flag stored where the pointers are
        not null, even when the call failed. */
    OSStatus HostGetPropertyInfo(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                                 UInt32* outDataSize, Boolean* outWritable);
    /** The host's get call, with its size handling: no buffer asks for the
        size; a short buffer gets the value's first bytes. */
    OSStatus HostGetProperty(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element, void* outData,
                             UInt32* ioDataSize);
    /** The host's set call: data and size both given set, both absent remove,
        one without the other is -50. */
    OSStatus HostSetProperty(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                             const void* inData, UInt32 inDataSize);
    /** The host's render call: null time stamp or list is -50, null flags read
        as 0. */
    OSStatus HostRender(AudioUnitRenderActionFlags* ioFlags, const AudioTimeStamp* timeStamp, UInt32 bus,
                        UInt32 frames, AudioBufferList* ioData);

    /** Render thread. */
    OSStatus DoRender(AudioUnitRenderActionFlags& ioFlags, const AudioTimeStamp& timeStamp, UInt32 bus, UInt32 frames,
                      AudioBufferList& ioData);
    OSStatus DoRenderBus(AudioUnitRenderActionFlags& ioFlags, const AudioTimeStamp& timeStamp, UInt32 bus,
                         AUOutputElement& output, UInt32 frames, AudioBufferList& ioData);

    /** The component entry's chain below the MIDI selectors. */
    static OSStatus ComponentEntryDispatch(ComponentParameters* params, AUBase* object);

    // ---- Rendering state ----------------------------------------------------

    UInt32 GetMaxFramesPerSlice() const noexcept { return mMaxFramesPerSlice; }
    const AudioTimeStamp& CurrentRenderTime() const noexcept { return mCurrentRenderTime; }
    /** All zeros with sample time -1.0. */
    void ResetRenderTime() noexcept;
    OSStatus LastRenderError() const noexcept { return mLastRenderError.load(std::memory_order_relaxed); }
    bool HasScheduledEvents() const noexcept { return ! mParamList.empty(); }
    ParameterEventList& GetParamEventList() noexcept { return mParamList; }

    /** True only for "lpcm", 1 frame per packet, 32-bit native-endian float,
        bytes per packet equal to bytes per frame, at least one channel, a
        finite sample rate above 0, and the interleaving this interface
        version takes for several channels. */
    bool FormatIsCanonical(const CAStreamBasicDescription& format) const noexcept;

    /** Whether a layout may be set on an element, without setting it: 0, or
        -10851 (channel count unlike the element's, or a tag not offered),
        -10879 (no tags offered), -10877 thrown for a missing element. */
    OSStatus CheckAudioChannelLayout(AudioUnitScope scope, AudioUnitElement element, const AudioChannelLayout& layout);

    // ---- Presets and names --------------------------------------------------

    /** Refuses a negative number or a null name; sends no notice. */
    bool SetAFactoryPresetAsCurrent(const AUPreset& preset);
    const AUPreset& CurrentPreset() const noexcept { return mCurrentPreset; }
    CFStringRef ContextName() const noexcept { return mContextName; }
    const HostCallbackInfo& HostCallbacks() const noexcept { return mHostCallbackInfo; }

    static void AddNumToDictionary(CFMutableDictionaryRef dict, CFStringRef key, SInt32 value);

    /** The class-info keys, made once per process. */
    struct StateKeys
    {
        CFStringRef untitled, version, type, subtype, manufacturer, data, name, renderQuality, cpuLoad, elementName,
            part;
    };
    static const StateKeys& Keys();

protected:
    void SetAudioUnitAPIVersion(UInt8 version) noexcept { mAudioUnitAPIVersion = version; }

private:
    OSStatus ValidateClassInfo(CFDictionaryRef dict, const AudioComponentDescription& description);
    void RestoreParameterBlob(CFDataRef data);
    OSStatus SetStreamFormatProperty(AudioUnitScope scope, AudioUnitElement element,
                                     const CAStreamBasicDescription& format);
    void NoteRenderError(OSStatus error);

    bool mElementsCreated = false;
    std::atomic<bool> mInitialized { false };
    bool mHasBegunInitializing = false;
    UInt8 mAudioUnitAPIVersion = kDefaultAudioUnitAPIVersion;
    const UInt32 mInitNumInputEls;
    const UInt32 mInitNumOutputEls;
    const UInt32 mInitNumGroupEls;
    AUScope mScopes[4];
    RenderCallbackList mRenderCallbacks;
    std::atomic<bool> mRenderCallbacksTouched { false };
    AudioTimeStamp mCurrentRenderTime {};
    UInt32 mMaxFramesPerSlice = 0;
    std::atomic<OSStatus> mLastRenderError { 0 };
    AUPreset mCurrentPreset {};
    ParameterEventList mParamList;
    std::vector<PropertyListener> mPropertyListeners;
    bool mBuffersAllocated = false;
    HostCallbackInfo mHostCallbackInfo {};
    CFStringRef mContextName = nullptr; // owned
};
