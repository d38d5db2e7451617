// Stream formats: comparison with wildcards, classification of sample kinds,
// what a unit takes as canonical, and channel counts of layouts.
#include "AUEffectBase.h"
#include "CAAudioChannelLayout.h"
#include "CAStreamBasicDescription.h"
#include "TestEffectUnit.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
CAStreamBasicDescription pcm(Float64 rate, UInt32 flags, UInt32 bytesPerFrame, UInt32 channels, UInt32 bits)
{
    CAStreamBasicDescription f;
    f.mSampleRate = rate;
    f.mFormatID = kAudioFormatLinearPCM;
    f.mFormatFlags = flags;
    f.mBytesPerPacket = bytesPerFrame;
    f.mFramesPerPacket = 1;
    f.mBytesPerFrame = bytesPerFrame;
    f.mChannelsPerFrame = channels;
    f.mBitsPerChannel = bits;
    return f;
}

TEST(StreamFormat, ComparisonWithWildcards)
{
    const CAStreamBasicDescription stereo = pcm(44100, 0x29, 4, 2, 32);
    struct Row
    {
        const char* what;
        CAStreamBasicDescription other;
        bool equal;
    };
    CAStreamBasicDescription anyRate = stereo;
    anyRate.mSampleRate = 0;
    CAStreamBasicDescription nan = stereo;
    nan.mSampleRate = std::nan("");
    CAStreamBasicDescription anyChannels = stereo;
    anyChannels.mChannelsPerFrame = 0;
    CAStreamBasicDescription otherId = stereo;
    otherId.mFormatID = 0x61616320; // 'aac '

    const Row rows[] = {
        { "itself", stereo, true },
        { "rate 0 matches any", anyRate, true },
        { "another rate", pcm(48000, 0x29, 4, 2, 32), false },
        { "NaN rate", nan, false },
        { "channels 0 match any", anyChannels, true },
        { "bit 31 ignored", pcm(44100, 0x80000029, 4, 2, 32), true },
        { "aligned-high ignored when both packed", pcm(44100, 0x39, 4, 2, 32), true },
        { "signed-integer ignored when both float", pcm(44100, 0x2D, 4, 2, 32), true },
        { "interleaving counts for stereo", pcm(44100, 0x09, 4, 2, 32), false },
        { "big-endian counts for 32 bits", pcm(44100, 0x2B, 4, 2, 32), false },
        { "another format identifier", otherId, false },
    };
    for (const auto& r : rows)
        EXPECT_EQ(stereo == r.other, r.equal) << r.what;

    // One channel: interleaving means nothing; 8 bits packed: byte order means nothing.
    EXPECT_TRUE(pcm(44100, 0x29, 4, 1, 32) == pcm(44100, 0x09, 4, 1, 32));
    EXPECT_TRUE(pcm(44100, 0x0C, 1, 1, 8) == pcm(44100, 0x0E, 1, 1, 8));
    EXPECT_FALSE(pcm(44100, 0x0C, 2, 1, 16) == pcm(44100, 0x0E, 2, 1, 16));

    // Exact comparison: 36 bytes, not the reserved word.
    CAStreamBasicDescription reserved = stereo;
    reserved.mReserved = 7;
    EXPECT_TRUE(stereo.IsEqual(reserved, false));
    EXPECT_FALSE(stereo.IsEqual(anyRate, false));
}

TEST(StreamFormat, CommonPCMKinds)
{
    struct Row
    {
        const char* what;
        CAStreamBasicDescription format;
        bool answer;
        CommonPCMFormat kind;
        bool interleaved;
    };
    CAStreamBasicDescription aac = pcm(44100, 0, 0, 2, 0);
    aac.mFormatID = 0x61616320;
    const Row rows[] = {
        { "float, non-interleaved", pcm(44100, 0x29, 4, 2, 32), true, kPCMFormatFloat32, false },
        { "float, interleaved stereo", pcm(44100, 0x09, 8, 2, 32), true, kPCMFormatFloat32, true },
        { "16-bit interleaved stereo", pcm(44100, 0x0C, 4, 2, 16), true, kPCMFormatInt16, true },
        { "8.24 fixed", pcm(44100, 0x2C | (24 << 7), 4, 2, 32), true, kPCMFormatFixed824, false },
        { "24-bit packed", pcm(44100, 0x0C, 6, 2, 24), true, kPCMFormatOther, true },
        { "float with fraction bits", pcm(44100, 0x29 | (3 << 7), 4, 2, 32), false, kPCMFormatOther, false },
        { "big-endian float", pcm(44100, 0x2B, 4, 2, 32), true, kPCMFormatOther, false },
        { "not linear PCM", aac, false, kPCMFormatOther, false },
        { "no channels", pcm(44100, 0x29, 4, 0, 32), false, kPCMFormatOther, false },
        { "3 channels in 10 bytes", pcm(44100, 0x09, 10, 3, 16), false, kPCMFormatOther, false },
    };
    for (const auto& r : rows)
    {
        CommonPCMFormat kind = kPCMFormatFixed824;
        bool interleaved = ! r.interleaved;
        EXPECT_EQ(r.format.IdentifyCommonPCMFormat(kind, &interleaved), r.answer) << r.what;
        EXPECT_EQ(kind, r.kind) << r.what;
        if (r.answer)
        {
            EXPECT_EQ(interleaved, r.interleaved) << r.what;
        }
    }
}

class VersionOneUnit : public TestEffectUnit
{
public:
    VersionOneUnit() : TestEffectUnit(nullptr) { SetAudioUnitAPIVersion(1); }
};

TEST(StreamFormat, CanonicalFormatsByInterfaceVersion)
{
    TestEffectUnit two(nullptr);
    VersionOneUnit one;
    struct Row
    {
        const char* what;
        CAStreamBasicDescription format;
        bool version2, version1;
    };
    const Row rows[] = {
        { "non-interleaved stereo", pcm(44100, 0x29, 4, 2, 32), true, false },
        { "interleaved stereo", pcm(44100, 0x09, 8, 2, 32), false, true },
        { "mono either way", pcm(44100, 0x09, 4, 1, 32), true, true },
        { "16-bit", pcm(44100, 0x2C, 2, 2, 16), false, false },
        { "big-endian", pcm(44100, 0x2B, 4, 2, 32), false, false },
        { "interleaved bytes wrong", pcm(44100, 0x09, 4, 2, 32), false, false },
        { "no channels", pcm(44100, 0x29, 4, 0, 32), false, false },
        { "rate 0", pcm(0, 0x29, 4, 2, 32), false, false },
        { "infinite rate", pcm(INFINITY, 0x29, 4, 2, 32), false, false },
    };
    for (const auto& r : rows)
    {
        EXPECT_EQ(two.FormatIsCanonical(r.format), r.version2) << r.what << ", version 2";
        EXPECT_EQ(one.FormatIsCanonical(r.format), r.version1) << r.what << ", version 1";
    }
}

TEST(ChannelLayout, NumberOfChannels)
{
    struct Row
    {
        AudioChannelLayoutTag tag;
        AudioChannelBitmap bitmap;
        UInt32 descriptions;
        UInt32 channels;
    };
    const Row rows[] = { { 0x10000, 0x3F, 0, 6 }, { 0x10000, 0, 9, 0 },    { 0, 0xFF, 3, 3 },
                         { 0x790006, 0, 0, 6 },   { 0x6C0004, 1, 2, 4 }, { 0x650002, 0, 0, 2 } };
    for (const auto& r : rows)
    {
        AudioChannelLayout l {};
        l.mChannelLayoutTag = r.tag;
        l.mChannelBitmap = r.bitmap;
        l.mNumberChannelDescriptions = r.descriptions;
        EXPECT_EQ(CAAudioChannelLayout::NumberChannels(l), r.channels) << std::hex << r.tag;
    }
    EXPECT_EQ(CAAudioChannelLayout::CalculateByteSize(0), 12u);
    EXPECT_EQ(CAAudioChannelLayout::CalculateByteSize(3), 72u);
}
} // namespace
