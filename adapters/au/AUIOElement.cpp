#include "AUIOElement.h"

#include "AUBase.h"
#include "CAAudioChannelLayout.h"
#include "CAXException.h"

#include <cstring>

CAStreamBasicDescription DefaultIOStreamFormat() noexcept
{
    CAStreamBasicDescription f;
    f.mSampleRate = 44100.0;
    f.mFormatID = kAudioFormatLinearPCM;
    f.mFormatFlags = kAudioFormatFlagIsFloat | kAudioFormatFlagIsPacked | kAudioFormatFlagIsNonInterleaved; // 0x29
    f.mBytesPerPacket = 4;
    f.mFramesPerPacket = 1;
    f.mBytesPerFrame = 4;
    f.mChannelsPerFrame = 2;
    f.mBitsPerChannel = 32;
    return f;
}

AUIOElement::AUIOElement(AUBase& audioUnit) : AUElement(audioUnit), mStreamFormat(DefaultIOStreamFormat())
{
}

OSStatus AUIOElement::SetStreamFormat(const CAStreamBasicDescription& format)
{
    if (format.mChannelsPerFrame != mStreamFormat.mChannelsPerFrame)
        mChannelLayout.clear();
    mStreamFormat = format;
    return 0;
}

void AUIOElement::AllocateBuffer(UInt32 frames)
{
    if (! GetAudioUnit().HasBegunInitializing())
        return;
    if (frames == 0)
        frames = GetAudioUnit().GetMaxFramesPerSlice();
    mIOBuffer.Allocate(mStreamFormat, (mWillAllocate && NeedsBufferSpace()) ? frames : 0);
}

AudioBufferList& AUIOElement::PrepareBuffer(UInt32 frames)
{
    if (! mWillAllocate)
        AUThrow(kAudioUnitErr_InvalidPropertyValue);
    return mIOBuffer.PrepareBuffer(mStreamFormat, frames);
}

UInt32 AUIOElement::GetChannelLayoutTags(AudioChannelLayoutTag*)
{
    return 0;
}

UInt32 AUIOElement::GetAudioChannelLayout(AudioChannelLayout* outLayout, Boolean& outWritable)
{
    outWritable = true;
    if (outLayout != nullptr && ! mChannelLayout.empty())
        std::memcpy(outLayout, mChannelLayout.data(), mChannelLayout.size());
    return (UInt32) mChannelLayout.size();
}

OSStatus AUIOElement::SetAudioChannelLayout(const AudioChannelLayout& layout)
{
    const size_t bytes = CAAudioChannelLayout::CalculateByteSize(layout.mNumberChannelDescriptions);
    const auto* p = reinterpret_cast<const UInt8*>(&layout);
    mChannelLayout.assign(p, p + bytes);
    return 0;
}

OSStatus AUIOElement::RemoveAudioChannelLayout()
{
    mChannelLayout.clear();
    return 0;
}

AUOutputElement::AUOutputElement(AUBase& audioUnit) : AUIOElement(audioUnit)
{
    AllocateBuffer();
}

OSStatus AUOutputElement::SetStreamFormat(const CAStreamBasicDescription& format)
{
    AUIOElement::SetStreamFormat(format);
    AllocateBuffer();
    return 0;
}
