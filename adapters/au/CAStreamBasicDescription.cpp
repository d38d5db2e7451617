#include "CAStreamBasicDescription.h"

#include <cstring>

CAStreamBasicDescription::CAStreamBasicDescription() noexcept
{
    std::memset(static_cast<AudioStreamBasicDescription*>(this), 0, sizeof(AudioStreamBasicDescription));
}

CAStreamBasicDescription::CAStreamBasicDescription(const AudioStreamBasicDescription& other) noexcept
{
    std::memcpy(static_cast<AudioStreamBasicDescription*>(this), &other, sizeof(AudioStreamBasicDescription));
}

CAStreamBasicDescription& CAStreamBasicDescription::operator=(const AudioStreamBasicDescription& other) noexcept
{
    std::memmove(static_cast<AudioStreamBasicDescription*>(this), &other, sizeof(AudioStreamBasicDescription));
    return *this;
}

UInt32 CAStreamBasicDescription::NumberChannelStreams() const noexcept
{
    return (IsPCM() && ! IsInterleaved()) ? mChannelsPerFrame : 1;
}

UInt32 CAStreamBasicDescription::NumberInterleavedChannels() const noexcept
{
    return (IsPCM() && ! IsInterleaved()) ? 1 : mChannelsPerFrame;
}

bool CAStreamBasicDescription::IsEqual(const AudioStreamBasicDescription& other, bool interpretingWildcards) const noexcept
{
    if (interpretingWildcards)
        return *this == CAStreamBasicDescription(other);
    return std::memcmp(static_cast<const AudioStreamBasicDescription*>(this), &other, kStreamFormatCompareBytes) == 0;
}

bool CAStreamBasicDescription::IdentifyCommonPCMFormat(CommonPCMFormat& outFormat, bool* outIsInterleaved) const noexcept
{
    outFormat = kPCMFormatOther;

    if (! IsPCM() || mFramesPerPacket != 1 || mBytesPerPacket != mBytesPerFrame
        || mBitsPerChannel / 8 > mBytesPerFrame || mChannelsPerFrame == 0)
        return false;

    const bool interleaved = IsInterleaved();
    if (interleaved && mBytesPerFrame % mChannelsPerFrame != 0)
        return false;
    if (outIsInterleaved != nullptr)
        *outIsInterleaved = interleaved;

    const UInt32 bytesPerSample = interleaved ? mBytesPerFrame / mChannelsPerFrame : mBytesPerFrame;
    const bool nativeEndian = (mFormatFlags & kAudioFormatFlagIsBigEndian) == 0;
    const UInt32 fractionBits = (mFormatFlags & kLinearPCMFormatFlagsSampleFractionMask) >> kLinearPCMFormatFlagsSampleFractionShift;

    if (nativeEndian && 8 * bytesPerSample == mBitsPerChannel)
    {
        if (mFormatFlags & kAudioFormatFlagIsFloat)
        {
            // A float format may not also claim integer or fixed-point bits.
            if (mFormatFlags & (kLinearPCMFormatFlagsSampleFractionMask | kAudioFormatFlagIsSignedInteger))
                return false;
            if (bytesPerSample == 4)
                outFormat = kPCMFormatFloat32;
        }
        else if (mFormatFlags & kAudioFormatFlagIsSignedInteger)
        {
            if (bytesPerSample == 4 && fractionBits == 24)
                outFormat = kPCMFormatFixed824;
            else if (bytesPerSample == 2 && fractionBits == 0)
                outFormat = kPCMFormatInt16;
        }
    }
    return true;
}

namespace
{
bool matches(UInt32 a, UInt32 b) noexcept
{
    return a == 0 || b == 0 || a == b;
}

// Flag bits that do not change what an lpcm format means, removed before
// two formats' flags are compared.
void normaliseLinearPCMFlags(UInt32& fa, UInt32& fb, const AudioStreamBasicDescription& a,
                             const AudioStreamBasicDescription& b) noexcept
{
    fa &= ~(UInt32) kAudioFormatFlagsAreAllClear;
    fb &= ~(UInt32) kAudioFormatFlagsAreAllClear;

    if ((fa & kAudioFormatFlagIsPacked) && (fb & kAudioFormatFlagIsPacked))
    {
        fa &= ~(UInt32) kAudioFormatFlagIsAlignedHigh;
        fb &= ~(UInt32) kAudioFormatFlagIsAlignedHigh;
    }
    if ((fa & kAudioFormatFlagIsFloat) && (fb & kAudioFormatFlagIsFloat))
    {
        fa &= ~(UInt32) kAudioFormatFlagIsSignedInteger;
        fb &= ~(UInt32) kAudioFormatFlagIsSignedInteger;
    }
    // Byte order means nothing for samples of one byte.
    if (a.mBitsPerChannel < 9 && (fa & kAudioFormatFlagIsPacked))
        fa &= ~(UInt32) kAudioFormatFlagIsBigEndian;
    if (b.mBitsPerChannel < 9 && (fb & kAudioFormatFlagIsPacked))
        fb &= ~(UInt32) kAudioFormatFlagIsBigEndian;
    if (a.mChannelsPerFrame == 1 && b.mChannelsPerFrame == 1)
    {
        fa &= ~(UInt32) kAudioFormatFlagIsNonInterleaved;
        fb &= ~(UInt32) kAudioFormatFlagIsNonInterleaved;
    }
}
} // namespace

bool operator==(const CAStreamBasicDescription& a, const CAStreamBasicDescription& b) noexcept
{
    // NaN never equals anything, itself included.
    if (a.mSampleRate != 0.0 && b.mSampleRate != 0.0 && ! (a.mSampleRate == b.mSampleRate))
        return false;
    if (! matches(a.mFormatID, b.mFormatID))
        return false;

    if (a.mFormatID != 0 && b.mFormatID != 0 && a.mFormatFlags != 0 && b.mFormatFlags != 0)
    {
        UInt32 fa = a.mFormatFlags;
        UInt32 fb = b.mFormatFlags;
        if (a.mFormatID == kAudioFormatLinearPCM)
            normaliseLinearPCMFlags(fa, fb, a, b);
        if (fa != fb)
            return false;
    }

    return matches(a.mBytesPerPacket, b.mBytesPerPacket) && matches(a.mFramesPerPacket, b.mFramesPerPacket)
           && matches(a.mBytesPerFrame, b.mBytesPerFrame) && matches(a.mChannelsPerFrame, b.mChannelsPerFrame)
           && matches(a.mBitsPerChannel, b.mBitsPerChannel);
}
