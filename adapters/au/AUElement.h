// An element of a scope: its parameters (kept by identifier, or indexed) and
// its name. The I/O elements of the input and output scopes derive from it.
#pragma once

#include "PlatformAudioUnit.h"

#include <atomic>
#include <map>
#include <vector>

class AUBase;
class AUIOElement;

/** The stored state of one parameter: its value, or the ramp it follows in
    the current slice.

    Threads: hosts set and read values from any thread while the render
    thread reads them (and alone takes scheduled events), so the value and
    the event type are atomics. Each is a word of its own, read and written
    whole; nothing else is published through them, so relaxed order does. */
class ParameterMapEvent
{
public:
    ParameterMapEvent() noexcept = default;
    explicit ParameterMapEvent(AudioUnitParameterValue value) noexcept : mValue1(value), mValue2(value) {}

    // Copies (the indexed parameters live in a vector) take each word whole.
    ParameterMapEvent(const ParameterMapEvent& other) noexcept { *this = other; }
    ParameterMapEvent& operator=(const ParameterMapEvent& other) noexcept
    {
        mEventType.store(other.mEventType.load(std::memory_order_relaxed), std::memory_order_relaxed);
        mBufferOffset = other.mBufferOffset;
        mDurationInFrames = other.mDurationInFrames;
        mValue1.store(other.mValue1.load(std::memory_order_relaxed), std::memory_order_relaxed);
        mValue2.store(other.mValue2.load(std::memory_order_relaxed), std::memory_order_relaxed);
        mSliceDurationFrames = other.mSliceDurationFrames;
        return *this;
    }

    /** Render thread: takes a scheduled event for the slice that starts
        `sliceOffset` frames into the render call and lasts `sliceFrames`. */
    void SetScheduledEvent(const AudioUnitParameterEvent& event, UInt32 sliceOffset, UInt32 sliceFrames) noexcept;

    // Any thread.
    void SetValue(AudioUnitParameterValue value) noexcept
    {
        mEventType.store(kParameterEvent_Immediate, std::memory_order_relaxed);
        mValue1.store(value, std::memory_order_relaxed);
        mValue2.store(value, std::memory_order_relaxed);
    }

    // Any thread.
    AudioUnitParameterValue GetValue() const noexcept { return mValue1.load(std::memory_order_relaxed); }
    AUParameterEventType GetEventType() const noexcept { return mEventType.load(std::memory_order_relaxed); }

    // Render thread: the ramp of the current slice.
    SInt32 GetBufferOffset() const noexcept { return mBufferOffset; }
    UInt32 GetDurationInFrames() const noexcept { return mDurationInFrames; }
    AudioUnitParameterValue GetStartValue() const noexcept { return mValue1.load(std::memory_order_relaxed); }
    AudioUnitParameterValue GetEndValue() const noexcept { return mValue2.load(std::memory_order_relaxed); }
    UInt32 GetSliceDurationFrames() const noexcept { return mSliceDurationFrames; }

private:
    std::atomic<AUParameterEventType> mEventType { kParameterEvent_Immediate };
    SInt32 mBufferOffset = 0;              // frames from the start of the slice (render thread)
    UInt32 mDurationInFrames = 0;          // render thread
    std::atomic<AudioUnitParameterValue> mValue1 { 0.0f }; // the value, or the ramp's start
    std::atomic<AudioUnitParameterValue> mValue2 { 0.0f }; // the ramp's end
    UInt32 mSliceDurationFrames = 0;       // render thread
};

class AUElement
{
public:
    explicit AUElement(AUBase& audioUnit) noexcept : mAudioUnit(audioUnit) {}
    virtual ~AUElement();

    AUElement(const AUElement&) = delete;
    AUElement& operator=(const AUElement&) = delete;

    virtual UInt32 GetNumberOfParameters();
    /** Writes the identifiers: 0 to n - 1 when indexed, else ascending. */
    virtual void GetParameterList(AudioUnitParameterID* outList);
    /** Switches to indexed storage with `count` parameters. */
    virtual void UseIndexedParameters(UInt32 count);
    virtual AUIOElement* AsIOElement() { return nullptr; }

    /** Throws -10878 for a parameter the element does not have. */
    ParameterMapEvent& GetParamEvent(AudioUnitParameterID id);
    AudioUnitParameterValue GetParameter(AudioUnitParameterID id) { return GetParamEvent(id).GetValue(); }

    /** An unknown identifier is added, unless the unit is initialised and
        okWhenInitialized is false (then nothing happens); past the end of an
        indexed element: -10878 thrown. */
    void SetParameter(AudioUnitParameterID id, AudioUnitParameterValue value, bool okWhenInitialized = false);
    void SetScheduledEvent(AudioUnitParameterID id, const AudioUnitParameterEvent& event, UInt32 sliceOffset,
                           UInt32 sliceFrames, bool okWhenInitialized = false);

    bool UsesIndexedParameters() const noexcept { return mUseIndexedParameters; }

    /** Appends the count and the (identifier, value) pairs, big-endian. */
    void SaveState(CFMutableDataRef data);
    /** Reads a count and its pairs from [state, end). Null, and nothing read,
        when they do not lie wholly inside. */
    const UInt8* RestoreState(const UInt8* state, const UInt8* end);

    CFStringRef GetName() const noexcept { return mElementName; }
    bool HasName() const noexcept { return mElementName != nullptr; }
    /** Releases the old name, retains the new one (null allowed). */
    void SetName(CFStringRef name) noexcept;

    AUBase& GetAudioUnit() const noexcept { return mAudioUnit; }

private:
    ParameterMapEvent* FindOrAdd(AudioUnitParameterID id, bool okWhenInitialized);

    AUBase& mAudioUnit;
    std::map<AudioUnitParameterID, ParameterMapEvent> mParameters;
    bool mUseIndexedParameters = false;
    std::vector<ParameterMapEvent> mIndexedParameters;
    CFStringRef mElementName = nullptr; // owned
};
