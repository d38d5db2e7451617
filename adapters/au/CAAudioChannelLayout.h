// Channel layout records: how many channels one describes.
#pragma once

#include "PlatformAudioUnit.h"

#include <cstddef>

namespace CAAudioChannelLayout
{
/** Tag 0x10000: the bits set in the bitmap; tag 0: the number of channel
    descriptions; any other tag: its low 16 bits. */
UInt32 NumberChannels(const AudioChannelLayout& layout) noexcept;

/** Bytes of a layout record with `descriptions` channel descriptions. */
constexpr size_t CalculateByteSize(UInt32 descriptions) noexcept
{
    return offsetof(AudioChannelLayout, mChannelDescriptions) + size_t(descriptions) * sizeof(AudioChannelDescription);
}
} // namespace CAAudioChannelLayout
