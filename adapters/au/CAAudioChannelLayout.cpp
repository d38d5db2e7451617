#include "CAAudioChannelLayout.h"

UInt32 CAAudioChannelLayout::NumberChannels(const AudioChannelLayout& layout) noexcept
{
    switch (layout.mChannelLayoutTag)
    {
        case kAudioChannelLayoutTag_UseChannelBitmap:
            return (UInt32) __builtin_popcount(layout.mChannelBitmap);
        case kAudioChannelLayoutTag_UseChannelDescriptions:
            return layout.mNumberChannelDescriptions;
        default:
            return layout.mChannelLayoutTag & 0xFFFF;
    }
}
