// The adapter's render walk at the number of frames it was prepared for:
// exactly that many run through the processor, one more is refused before
// it runs.
#include "ChannelBuffers.h"
#include "JuceAU.h"

#include <gtest/gtest.h>

namespace
{
AudioStreamBasicDescription floatChannels(UInt32 channels)
{
    AudioStreamBasicDescription f {};
    f.mSampleRate = 44100.0;
    f.mFormatID = kAudioFormatLinearPCM;
    f.mFormatFlags = kAudioFormatFlagIsFloat | kAudioFormatFlagIsPacked | kAudioFormatFlagIsNonInterleaved;
    f.mBytesPerPacket = f.mBytesPerFrame = 4;
    f.mFramesPerPacket = 1;
    f.mChannelsPerFrame = channels;
    f.mBitsPerChannel = 32;
    return f;
}
} // namespace

TEST(JuceAULimits, ExactlyThePreparedFramesRunAndOneMoreIsRefused)
{
    struct Row
    {
        UInt32 maximum; // 0: the unit's own, 1156
        UInt32 frames;
        OSStatus status;
    };
    const Row rows[] = { { 0, 1156, 0 }, { 0, 1157, -10874 }, { 300, 300, 0 }, { 300, 301, -10874 } };
    for (const auto& r : rows)
    {
        SCOPED_TRACE(testing::Message() << "maximum " << (r.maximum == 0 ? 1156 : r.maximum) << ", " << r.frames
                                        << " frames");
        JuceAU au(nullptr);
        au.PostConstructor();
        const auto format = floatChannels(2);
        ASSERT_EQ(au.DispatchSetProperty(kAudioUnitProperty_StreamFormat, kAudioUnitScope_Input, 0, &format, sizeof(format)), 0);
        ASSERT_EQ(au.DispatchSetProperty(kAudioUnitProperty_StreamFormat, kAudioUnitScope_Output, 0, &format, sizeof(format)), 0);
        if (r.maximum != 0)
        {
            ASSERT_EQ(au.DispatchSetProperty(kAudioUnitProperty_MaximumFramesPerSlice, 0, 0, &r.maximum, 4), 0);
        }
        ASSERT_EQ(au.DoInitialize(), 0);

        ChannelBuffers in(2, r.frames, 0.5f), out(2, r.frames, 9.0f);
        AudioUnitRenderActionFlags flags = 0;
        EXPECT_EQ(au.ProcessBufferLists(flags, *in.list(), *out.list(), r.frames), r.status);
        // A run replaces the host's 9s (the decoder never puts out 9 from
        // inputs of 0.5); a refusal leaves every one of them.
        for (UInt32 c = 0; c < 2; ++c)
            EXPECT_EQ(out.channel(c)[r.frames - 1] == 9.0f, r.status != 0) << "output " << c;
    }
}
