#include "ChannelBuffers.h"

ChannelBuffers::ChannelBuffers(UInt32 channels, UInt32 f, float fill)
    : frames(f), data(channels, std::vector<float>(f, fill)), storage(8 + 16 * (channels == 0 ? 1 : channels), 0)
{
    list()->mNumberBuffers = channels;
    restorePointers();
}

void ChannelBuffers::clearPointers()
{
    for (UInt32 c = 0; c < list()->mNumberBuffers; ++c)
    {
        list()->mBuffers[c].mData = nullptr;
        list()->mBuffers[c].mDataByteSize = 0;
    }
}

void ChannelBuffers::restorePointers()
{
    for (UInt32 c = 0; c < list()->mNumberBuffers; ++c)
    {
        list()->mBuffers[c].mNumberChannels = 1;
        list()->mBuffers[c].mDataByteSize = frames * 4;
        list()->mBuffers[c].mData = data[c].data();
    }
}

AudioTimeStamp sampleTime(Float64 sample)
{
    AudioTimeStamp t {};
    t.mSampleTime = sample;
    t.mFlags = kAudioTimeStampSampleTimeValid;
    return t;
}
