// The 40-byte stream format record with the comparisons and classifications
// the base classes need.
#pragma once

#include "PlatformAudioUnit.h"

/** The sample kinds the effect base can process. */
enum CommonPCMFormat : UInt32
{
    kPCMFormatOther = 0,
    kPCMFormatFloat32 = 1,
    kPCMFormatInt16 = 2,
    kPCMFormatFixed824 = 3
};

class CAStreamBasicDescription : public AudioStreamBasicDescription
{
public:
    /** All 40 bytes zero. */
    CAStreamBasicDescription() noexcept;
    CAStreamBasicDescription(const AudioStreamBasicDescription& other) noexcept;
    CAStreamBasicDescription& operator=(const AudioStreamBasicDescription& other) noexcept;

    bool IsPCM() const noexcept { return mFormatID == kAudioFormatLinearPCM; }
    bool IsInterleaved() const noexcept { return (mFormatFlags & kAudioFormatFlagIsNonInterleaved) == 0; }

    /** Buffers a list of this format has: one per channel for non-interleaved
        linear PCM, else one. */
    UInt32 NumberChannelStreams() const noexcept;

    /** Channels in each of those buffers. */
    UInt32 NumberInterleavedChannels() const noexcept;

    /** Without wildcards: the first 36 bytes compared exactly. With them: as
        operator== below. */
    bool IsEqual(const AudioStreamBasicDescription& other, bool interpretingWildcards) const noexcept;

    /** Classifies linear PCM; false (kind 0) when the format is not one the
        base classes can address sample by sample. */
    bool IdentifyCommonPCMFormat(CommonPCMFormat& outFormat, bool* outIsInterleaved = nullptr) const noexcept;
};

static_assert(sizeof(CAStreamBasicDescription) == sizeof(AudioStreamBasicDescription), "no fields of its own");

/** Comparison with wildcards: a zero field on either side matches anything. */
bool operator==(const CAStreamBasicDescription& a, const CAStreamBasicDescription& b) noexcept;
inline bool operator!=(const CAStreamBasicDescription& a, const CAStreamBasicDescription& b) noexcept
{
    return ! (a == b);
}

/** The bytes of a format that identify it; the reserved last word is not one. */
constexpr size_t kStreamFormatCompareBytes = 36;
