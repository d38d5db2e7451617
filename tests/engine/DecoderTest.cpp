#include <gtest/gtest.h>

#include <cmath>

#include "QvaneHostDspProcess.h"

namespace
{
// Decoder at 48 kHz: unity levels, patterns 1, speakers at 30/330, 0,
// 125/235, 90/270.
ArrayControl MakeDecoder(uint32_t arrayType)
{
    GenerateSineCosTables();
    ArrayControl c;
    InitialiseArrayControl(&c);
    CalculateSmoothingPair(48000.0f, &c.a, &c.c);
    c.arrayType = arrayType;
    const uint32_t angles[9] = {30, 330, 0, 0, 125, 235, 90, 270, 180};
    for (int i = 0; i < 9; ++i)
    {
        c.levelTarget[i] = 1.0f;
        c.angle[i] = angles[i];
    }
    return c;
}

struct Output
{
    float ch[9];
};

Output Decode(ArrayControl& c, float w, float x, float y, float z, int frames = 1)
{
    const float frame[4] = {w, x, y, z};
    DspMeter meters[9] = {};
    Output out{};
    for (int i = 0; i < frames; ++i)
        DecodeArray(frame, frame, &c, out.ch, meters);
    return out;
}
} // namespace

TEST(Decoder, InitialValues)
{
    ArrayControl c;
    InitialiseArrayControl(&c);
    EXPECT_EQ(c.arrayType, 0u);
    EXPECT_EQ(c.angle[8], 180u) << "RC is decoded from straight behind";
    for (int i = 0; i < 9; ++i)
    {
        EXPECT_EQ(c.polarTarget[i], 1.0f) << "pattern of channel " << i;
        EXPECT_EQ(c.levelTarget[i], 0.0f) << "level of channel " << i;
        EXPECT_EQ(c.mute[i] | c.solo[i] | c.soloMute[i], 0u) << "mute/solo flags of channel " << i;
    }
    EXPECT_EQ(c.masterLevelTarget, 1.0f);
    EXPECT_EQ(c.bFormatLevelTarget, 1.0f);
}

TEST(Decoder, OmniSignalInto5_1)
{
    ArrayControl c = MakeDecoder(kArray5_1);
    float lfeCoeffs[5];
    CalculateLfeFilterCoeffs(48000.0f, 90.0f, lfeCoeffs);
    FilterSetNewCoeffs(&c.lfeFilter, lfeCoeffs);
    const Output o = Decode(c, 1.0f, 0.0f, 0.0f, 0.0f, 4000);
    for (int ch : {0, 1, 2, 4, 5})
        EXPECT_NEAR(o.ch[ch], 0.707107f, 1e-6f) << "channel " << ch;
    EXPECT_NEAR(o.ch[3], 1.0f, 1e-3f) << "LFE settles to the DC gain of its low-pass";
    for (int ch : {6, 7, 8})
        EXPECT_EQ(o.ch[ch], 0.0f) << "channel " << ch << " is not in 5.1";
}

// Which channels each layout writes for an omni signal, and that the LFE
// filter runs (its state moves) only in the layouts that have an LFE.
TEST(Decoder, ChannelsWrittenPerLayout)
{
    struct Case { uint32_t type; unsigned mask; bool lfe; };
    const Case cases[] = {{kArrayStereo, 0x003, false}, {kArray5_0, 0x037, false}, {kArray5_1, 0x03f, true},
                          {kArray6_0, 0x137, false},    {kArray6_1, 0x13f, true},  {kArray7_0, 0x0f7, false},
                          {kArray7_1, 0x0ff, true},     {kArrayBFormat, 0x001, false}};
    for (const Case& k : cases)
    {
        ArrayControl c = MakeDecoder(k.type);
        const float pass[5] = {1.0f, 0.0f, 0.0f, 0.0f, 0.0f};
        FilterSetNewCoeffs(&c.lfeFilter, pass);
        const Output o = Decode(c, 1.0f, 0.0f, 0.0f, 0.0f, 2000);
        for (int ch = 0; ch < 9; ++ch)
            EXPECT_EQ(o.ch[ch] != 0.0f, bool((k.mask >> ch) & 1u)) << "array type " << k.type << " channel " << ch;
        EXPECT_EQ(c.lfeFilter.x1, k.lfe ? 1.0f : 0.0f) << "LFE state moves only with an LFE, type " << k.type;
    }
}

TEST(Decoder, PolarPatterns)
{
    GenerateSineCosTables();
    struct Case { float pattern; uint32_t angle; float w, x, y; float expected; const char* what; };
    const Case cases[] = {
        {0.0f, 0, 1.0f, 0.0f, 0.0f, 1.4142135f, "omni is 1.4142135 W"},
        {0.0f, 123, 0.5f, 1.0f, -1.0f, 0.70710677f, "omni ignores direction"},
        {2.0f, 90, 0.5f, 0.7f, 0.25f, 0.25f, "figure of eight at 90 is Y"},
        {2.0f, 0, 0.5f, 0.7f, 0.25f, 0.7f, "figure of eight at 0 is X"},
        {1.0f, 180, 1.0f, -1.4142135f, 0.0f, 1.4142135f, "cardioid facing the source"},
        {1.0f, 0, 1.0f, -1.4142135f, 0.0f, 0.0f, "cardioid null"},
    };
    for (const Case& k : cases)
    {
        const float frame[4] = {k.w, k.x, k.y, 0.3f};
        EXPECT_NEAR(VirtualMicrophone(frame, k.pattern, k.angle), k.expected, 2e-7f) << k.what;
    }
}

TEST(Decoder, RearCentreFacesBehind)
{
    ArrayControl c = MakeDecoder(kArray6_0);
    c.polarTarget[8] = 2.0f;
    const Output back = Decode(c, 0.0f, -1.0f, 0.0f, 0.0f, 2000);
    EXPECT_NEAR(back.ch[8], 1.0f, 1e-5f) << "sound from behind reaches RC";
}

TEST(Decoder, BFormatPassThroughAndLevels)
{
    ArrayControl c = MakeDecoder(kArrayBFormat);
    Output o = Decode(c, 0.1f, 0.2f, 0.3f, 0.4f, 2000);
    const float in[4] = {0.1f, 0.2f, 0.3f, 0.4f};
    for (int k = 0; k < 4; ++k)
        EXPECT_NEAR(o.ch[k], in[k], 1e-7f) << "B-format channel " << k;
    for (int k = 4; k < 9; ++k)
        EXPECT_EQ(o.ch[k], 0.0f) << "channel " << k;
    c.levelTarget[1] = 0.0f;
    o = Decode(c, 0.1f, 0.2f, 0.3f, 0.4f, 2000);
    EXPECT_EQ(o.ch[1], 0.0f) << "the level of channel 1 silences X";
    EXPECT_NEAR(o.ch[0], 0.1f, 1e-7f);
    c.bFormatLevelTarget = 0.5f;
    o = Decode(c, 0.1f, 0.2f, 0.3f, 0.4f, 2000);
    EXPECT_NEAR(o.ch[3], 0.2f, 1e-7f) << "B-format level";
}

TEST(Decoder, MidSideStereo)
{
    ArrayControl c = MakeDecoder(kArrayStereo);
    c.midSide = 1;
    c.angle[0] = 90;
    const Output o = Decode(c, 0.5f, 0.25f, 0.75f, 0.0f, 2000);
    EXPECT_NEAR(o.ch[0], 0.70710677f * 0.5f, 1e-6f) << "mid from channel 0's pattern";
    EXPECT_NEAR(o.ch[1], 0.5f * 0.75f, 1e-6f) << "side is the Y part";
}

TEST(Decoder, SoloAndMute)
{
    ArrayControl c = MakeDecoder(kArray5_0);
    ArraySetChannelMute(&c, 2, true);
    ArraySetChannelSolo(&c, 2, true);
    EXPECT_TRUE(ArrayHasSolo(&c));
    Output o = Decode(c, 1.0f, 0.0f, 0.0f, 0.0f, 2000);
    EXPECT_NEAR(o.ch[2], 0.707107f, 1e-6f) << "a soloed channel ignores its own mute";
    for (int ch : {0, 1, 4, 5})
        EXPECT_EQ(o.ch[ch], 0.0f) << "solo silences channel " << ch;

    // While a solo is on, a mute write sets the flag as it does without one.
    const struct { bool on; uint32_t flag; const char* what; } writes[] = {
        { true, 1u, "first mute while soloed" },
        { true, 1u, "the same mute again while soloed" },
        { false, 0u, "unmute while soloed" },
        { false, 0u, "the same unmute again while soloed" },
    };
    for (const auto& w : writes)
    {
        ArraySetChannelMute(&c, 0, w.on);
        EXPECT_EQ(c.mute[0], w.flag) << w.what;
        EXPECT_EQ(c.soloMute[0], 1u) << w.what << ": channel 0 is still silenced by the solo";
    }

    ArraySetChannelSolo(&c, 2, false);
    EXPECT_FALSE(ArrayHasSolo(&c));
    for (int ch = 0; ch < 9; ++ch)
        EXPECT_EQ(c.soloMute[ch], 0u) << "solo-mute cleared on channel " << ch;
    o = Decode(c, 1.0f, 0.0f, 0.0f, 0.0f, 2000);
    EXPECT_EQ(o.ch[2], 0.0f) << "clearing the solo restores channel 2's own mute";
    EXPECT_NEAR(o.ch[0], 0.707107f, 1e-6f);

    ArraySetChannelMute(&c, 0, true);
    ArraySetChannelMute(&c, 0, true);
    EXPECT_EQ(c.mute[0], 1u) << "without a solo a mute write sets the flag";
}

TEST(Decoder, MuteFadesThroughLevelSmoother)
{
    ArrayControl c = MakeDecoder(kArray5_0);
    Decode(c, 1.0f, 0.0f, 0.0f, 0.0f, 2000);
    ArraySetChannelMute(&c, 0, true);
    const Output first = Decode(c, 1.0f, 0.0f, 0.0f, 0.0f);
    EXPECT_GT(first.ch[0], 0.0f) << "a mute fades rather than cuts";
    EXPECT_LT(first.ch[0], 0.707107f);
    const Output later = Decode(c, 1.0f, 0.0f, 0.0f, 0.0f, 2000);
    EXPECT_EQ(later.ch[0], 0.0f);
}

TEST(Decoder, OutputMeters)
{
    ArrayControl c = MakeDecoder(kArray5_0);
    const float frame[4] = {1.0f, 0.0f, 0.0f, 0.0f};
    DspMeter meters[9];
    for (auto& m : meters)
        InitialiseDspMeter(&m, 48000.0f);
    float out[9];
    for (int i = 0; i < 2000; ++i)
        DecodeArray(frame, frame, &c, out, meters);
    for (int ch = 0; ch < 9; ++ch)
        EXPECT_EQ(meters[ch].value, std::fabs(out[ch])) << "meter " << ch << " reads the final value";
    EXPECT_NEAR(meters[0].value, 0.707107f, 1e-6f);
}

// One step of every per-channel smoother from the initial pair a = 0.75,
// c = 0.25: pattern 1 -> 2 gives 1.25 then 1.4375; level 1 -> 0 gives 0.75
// then 0.5625. Channel 0 faces front with X only, so out = 0.5 * p * level.
TEST(Decoder, SmoothingStepsFromTheInitialPair)
{
    GenerateSineCosTables();
    ArrayControl c;
    InitialiseArrayControl(&c);
    c.arrayType = kArrayStereo;
    c.levelTarget[0] = c.levelSmoothed[0] = 1.0f;
    c.levelTarget[1] = 0.0f;
    c.levelSmoothed[1] = 1.0f;
    c.polarTarget[0] = 2.0f;

    const struct { float pattern0, level1; } steps[] = { { 1.25f, 0.75f }, { 1.4375f, 0.5625f } };
    for (const auto& s : steps)
    {
        const Output o = Decode(c, 0.0f, 1.0f, 0.0f, 0.0f);
        EXPECT_EQ(c.polarSmoothed[0], s.pattern0) << "pattern smoother: target weighted by c, previous by a";
        EXPECT_EQ(o.ch[0], 0.5f * s.pattern0) << "L follows the smoothed pattern";
        EXPECT_EQ(c.levelSmoothed[1], s.level1) << "level smoother";
        EXPECT_EQ(o.ch[1], 0.5f * s.level1) << "R follows the smoothed level";
    }
}
