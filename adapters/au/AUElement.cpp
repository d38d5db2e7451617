#include "AUElement.h"

#include "AUBase.h"
#include "BigEndian.h"
#include "CAXException.h"

#include <cstring>

namespace
{
UInt32 floatBits(float f) noexcept
{
    UInt32 u;
    std::memcpy(&u, &f, 4);
    return u;
}

float bitsFloat(UInt32 u) noexcept
{
    float f;
    std::memcpy(&f, &u, 4);
    return f;
}
} // namespace

void ParameterMapEvent::SetScheduledEvent(const AudioUnitParameterEvent& event, UInt32 sliceOffset,
                                          UInt32 sliceFrames) noexcept
{
    constexpr auto relaxed = std::memory_order_relaxed;
    mEventType.store(event.eventType, relaxed);
    mSliceDurationFrames = sliceFrames;

    if (event.eventType == kParameterEvent_Immediate)
    {
        mValue1.store(event.eventValues.immediate.value, relaxed);
        mValue2.store(event.eventValues.immediate.value, relaxed);
        mBufferOffset = 0;
        mDurationInFrames = sliceFrames;
    }
    else
    {
        mBufferOffset = (SInt32) ((int64_t) event.eventValues.ramp.startBufferOffset - (int64_t) sliceOffset);
        mDurationInFrames = event.eventValues.ramp.durationInFrames;
        mValue1.store(event.eventValues.ramp.startValue, relaxed);
        mValue2.store(event.eventValues.ramp.endValue, relaxed);
    }
}

AUElement::~AUElement()
{
    if (mElementName != nullptr)
        CFRelease(mElementName);
}

UInt32 AUElement::GetNumberOfParameters()
{
    return mUseIndexedParameters ? (UInt32) mIndexedParameters.size() : (UInt32) mParameters.size();
}

void AUElement::GetParameterList(AudioUnitParameterID* outList)
{
    if (outList == nullptr)
        return;
    if (mUseIndexedParameters)
    {
        for (UInt32 i = 0; i < (UInt32) mIndexedParameters.size(); ++i)
            outList[i] = i;
    }
    else
    {
        for (const auto& p : mParameters)
            *outList++ = p.first;
    }
}

void AUElement::UseIndexedParameters(UInt32 count)
{
    mIndexedParameters.resize(count);
    mUseIndexedParameters = true;
}

ParameterMapEvent& AUElement::GetParamEvent(AudioUnitParameterID id)
{
    if (mUseIndexedParameters)
    {
        if (id >= mIndexedParameters.size())
            AUThrow(kAudioUnitErr_InvalidParameter);
        return mIndexedParameters[id];
    }
    auto it = mParameters.find(id);
    if (it == mParameters.end())
        AUThrow(kAudioUnitErr_InvalidParameter);
    return it->second;
}

ParameterMapEvent* AUElement::FindOrAdd(AudioUnitParameterID id, bool okWhenInitialized)
{
    if (mUseIndexedParameters)
        return &GetParamEvent(id);

    auto it = mParameters.find(id);
    if (it != mParameters.end())
        return &it->second;
    // Parameters come into being before initialisation; afterwards an
    // unknown identifier is ignored.
    if (mAudioUnit.IsInitialized() && ! okWhenInitialized)
        return nullptr;
    return &mParameters[id];
}

void AUElement::SetParameter(AudioUnitParameterID id, AudioUnitParameterValue value, bool okWhenInitialized)
{
    if (auto* event = FindOrAdd(id, okWhenInitialized))
        event->SetValue(value);
}

void AUElement::SetScheduledEvent(AudioUnitParameterID id, const AudioUnitParameterEvent& event, UInt32 sliceOffset,
                                  UInt32 sliceFrames, bool okWhenInitialized)
{
    if (auto* stored = FindOrAdd(id, okWhenInitialized))
        stored->SetScheduledEvent(event, sliceOffset, sliceFrames);
}

void AUElement::SaveState(CFMutableDataRef data)
{
    AppendBigEndian32(data, GetNumberOfParameters());
    if (mUseIndexedParameters)
    {
        for (UInt32 i = 0; i < (UInt32) mIndexedParameters.size(); ++i)
        {
            AppendBigEndian32(data, i);
            AppendBigEndian32(data, floatBits(mIndexedParameters[i].GetValue()));
        }
    }
    else
    {
        for (const auto& p : mParameters)
        {
            AppendBigEndian32(data, p.first);
            AppendBigEndian32(data, floatBits(p.second.GetValue()));
        }
    }
}

const UInt8* AUElement::RestoreState(const UInt8* state, const UInt8* end)
{
    constexpr uint64_t kPairBytes = 8;
    if (end - state < 4)
        return nullptr;
    const UInt32 count = ReadBigEndian32(state);
    state += 4;
    if ((uint64_t) (end - state) < count * kPairBytes)
        return nullptr;

    for (UInt32 i = 0; i < count; ++i, state += kPairBytes)
        SetParameter(ReadBigEndian32(state), bitsFloat(ReadBigEndian32(state + 4)), false);
    return state;
}

void AUElement::SetName(CFStringRef name) noexcept
{
    if (name != nullptr)
        CFRetain(name);
    if (mElementName != nullptr)
        CFRelease(mElementName);
    mElementName = name;
}
