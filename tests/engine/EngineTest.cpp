#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <thread>

#include "CorrectionTables.h"
#include "EngineTestSupport.h"

using namespace enginetest;

namespace
{
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kIdentity[5] = {1, 0, 0, 0, 0};

// Each of the four input filters holds these coefficients.
::testing::AssertionResult InputFiltersAre(const QVANE_HOST_DSP_PROCESS& e, const float k[5])
{
    for (int f = 0; f < 4; ++f)
        for (int i = 0; i < 5; ++i)
            if (e.micInput.filters[f].coeffs[i] != k[i])
                return ::testing::AssertionFailure() << "input filter " << f << ", coefficient " << i << " is "
                                                     << e.micInput.filters[f].coeffs[i] << ", not " << k[i];
    return ::testing::AssertionSuccess();
}
} // namespace

TEST(Engine, FreshState)
{
    QVANE_HOST_DSP_PROCESS e(true);
    EXPECT_EQ(e.sampleRate, 44100.0f);
    EXPECT_NEAR(e.micInput.c, 0.248218f, 5e-7f);
    EXPECT_EQ(e.bFormatPath.c, e.micInput.c);
    EXPECT_EQ(e.arrayControl.c, e.micInput.c);
    EXPECT_FALSE(e.filterEnable);
    EXPECT_FALSE(e.GetAFormatEnable());
    EXPECT_TRUE(InputFiltersAre(e, kIdentity)) << "fresh engine";
    for (const auto& f : e.aToB.filters)
        EXPECT_EQ(f.taps, 29);
    EXPECT_EQ(e.GetArrayType(), 0);
    for (unsigned char m = 0; m < 13; ++m)
        EXPECT_EQ(e.GetMeterValue(m), 0.0f) << "meter " << int(m);
    float lfe[5];
    CalculateLfeFilterCoeffs(44100.0f, 90.0f, lfe);
    for (int k = 0; k < 5; ++k)
        EXPECT_EQ(e.arrayControl.lfeFilter.coeffs[k], lfe[k]) << "LFE coefficient " << k;
}

TEST(Engine, FilterEnableLoadsHighPass)
{
    QVANE_HOST_DSP_PROCESS e(true);
    e.SetSampleRate(48000.0f);
    e.SetFilterEnable(true);
    float hp[5];
    CalculateHighPassFilterCoeffs(48000.0f, 80.0f, hp);
    EXPECT_TRUE(InputFiltersAre(e, kIdentity)) << "the setter only publishes";
    e.ApplyPublishedControls();
    EXPECT_TRUE(InputFiltersAre(e, hp)) << "80 Hz high-pass at 48 kHz";

    e.SetSampleRate(96000.0f);
    CalculateHighPassFilterCoeffs(96000.0f, 80.0f, hp);
    EXPECT_TRUE(InputFiltersAre(e, hp)) << "a new rate reloads the enabled filter";

    e.SetFilterEnable(false);
    e.ApplyPublishedControls();
    EXPECT_TRUE(InputFiltersAre(e, kIdentity)) << "filter off restores the identity";
}

TEST(Engine, SampleRateRejectsNonsense)
{
    QVANE_HOST_DSP_PROCESS e(true);
    e.SetSampleRate(48000.0f);
    const float c = e.micInput.c;
    for (float bad : {kNaN, kInf, -kInf, 0.0f, -0.0f, -48000.0f})
    {
        e.SetSampleRate(bad);
        EXPECT_EQ(e.sampleRate, 48000.0f) << "rate " << bad << " must be ignored";
        EXPECT_EQ(e.micInput.c, c) << "rate " << bad;
        EXPECT_TRUE(std::isfinite(e.meters[0].release)) << "rate " << bad;
    }
}

// A positive rate so small that the filter designs overflow keeps the
// previous filters, so no NaN reaches the filter state.
TEST(Engine, TinySampleRateKeepsFiltersFinite)
{
    QVANE_HOST_DSP_PROCESS e(true);
    SetUpLikeProcessor(e, 48000.0f, 2, false);
    float hp[5];
    CalculateHighPassFilterCoeffs(48000.0f, 80.0f, hp);
    e.SetSampleRate(1e-37f);
    EXPECT_EQ(e.sampleRate, 1e-37f);
    EXPECT_TRUE(InputFiltersAre(e, hp)) << "previous high-pass kept";
    for (int k = 0; k < 5; ++k)
        EXPECT_TRUE(std::isfinite(e.arrayControl.lfeFilter.coeffs[k])) << "LFE coefficient " << k;
    Block b(200);
    e.Process(b.inputs, b.outputs, 200);
    for (int ch = 0; ch < 8; ++ch)
        EXPECT_TRUE(std::isfinite(b.out[ch][199])) << "slot " << ch;
}

TEST(Engine, SettersKeepIndicesInRange)
{
    QVANE_HOST_DSP_PROCESS e(true);
    e.SetArrayType(5);
    e.SetArrayType(8);
    e.SetArrayType(255);
    EXPECT_EQ(e.GetArrayType(), 5) << "array types above 7 are ignored";

    e.ApplyPublishedControls();
    const ArrayControl before = e.arrayControl;
    e.SetChannelAngle(9, 45);
    e.SetChannelPolarPattern(9, 2.0f);
    e.SetChannelOutputLevelCoeff(200, 1.0f);
    e.SetChannelMute(9, true);
    e.SetChannelSolo(9, true);
    e.ApplyPublishedControls();
    EXPECT_EQ(std::memcmp(&before, &e.arrayControl, sizeof before), 0) << "channel above 8 changed the decoder";
    EXPECT_FALSE(e.HasSolo());
    EXPECT_FALSE(e.GetIsChannelSolo(9));
    EXPECT_FALSE(e.GetIsChannelMute(9));
    EXPECT_FALSE(e.GetIsChannelSoloMute(255));

    // Input 1 at 0.5 through unity gain: meter 0 reads 0.5 once the block is done.
    e.SetFilterEnable(false);
    float half = 0.5f;
    float* in[4] = {&half, nullptr, nullptr, nullptr};
    float* none[9] = {};
    e.Process(in, none, 1);
    EXPECT_EQ(e.GetMeterValue(0), 0.5f);
    EXPECT_EQ(e.GetMeterValue(13), 0.0f);
    e.ResetMeter(13);
    EXPECT_EQ(e.GetMeterValue(0), 0.5f) << "meter 13 does not exist";
    e.ResetMeter(0);
    EXPECT_EQ(e.GetMeterValue(0), 0.0f) << "a reset reads 0 at once";
    e.Process(none, none, 1);
    EXPECT_EQ(e.GetMeterValue(0), 0.0f) << "and the audio thread starts the next block from 0, not 0.5 decayed";
}

TEST(Engine, AnglesWrap)
{
    struct Case { unsigned short in; uint32_t out; };
    const Case cases[] = {
        {0, 0}, {359, 359}, {360, 0}, {450, 90}, {725, 5},
        {static_cast<unsigned short>(-90), 270}, {static_cast<unsigned short>(-360), 0},
        {static_cast<unsigned short>(-1), 359}, {32767, 32767 % 360},
    };
    for (const Case& c : cases)
    {
        QVANE_HOST_DSP_PROCESS e(true);
        e.SetAzimuthAngle(c.in);
        e.SetFrontElevationAngle(c.in);
        e.SetRearElevationAngle(c.in);
        e.SetChannelAngle(4, c.in);
        e.ApplyPublishedControls();
        EXPECT_EQ(e.bFormatPath.azimuth, c.out) << "azimuth " << c.in;
        EXPECT_EQ(e.bFormatPath.frontElevation, c.out) << "front tilt " << c.in;
        EXPECT_EQ(e.bFormatPath.rearElevation, c.out) << "rear tilt " << c.in;
        EXPECT_EQ(e.arrayControl.angle[4], c.out) << "channel angle " << c.in;
    }
}

TEST(Engine, NonFiniteTargetsIgnored)
{
    QVANE_HOST_DSP_PROCESS e(true);
    e.SetInputLevelCoeff(0.5f);
    e.SetInputLevelCoeff(kNaN);
    e.ApplyPublishedControls();
    EXPECT_EQ(e.micInput.gainTarget, 0.5f);
    e.SetDominance(kInf);
    e.SetDominance(2.0f);
    e.ApplyPublishedControls();
    EXPECT_EQ(e.bFormatPath.dominanceTarget, 0.5f) << "zoom held to its range";
    e.SetDominance(-0.25f);
    e.ApplyPublishedControls();
    EXPECT_EQ(e.bFormatPath.dominanceTarget, -0.25f);
    e.SetChannelPolarPattern(0, kNaN);
    e.SetChannelOutputLevelCoeff(0, kInf);
    e.SetBFormatArrayLevelCoeff(kNaN);
    e.SetMasterOutputLevelCoeff(kNaN);
    e.ApplyPublishedControls();
    EXPECT_EQ(e.arrayControl.polarTarget[0], 1.0f);
    EXPECT_EQ(e.arrayControl.levelTarget[0], 0.0f);
    EXPECT_EQ(e.arrayControl.bFormatLevelTarget, 1.0f);
    EXPECT_EQ(e.arrayControl.masterLevelTarget, 1.0f);
    float bad[5] = {kNaN, 0, 0, 0, 0};
    const float before = e.arrayControl.lfeFilter.coeffs[0];
    e.SetLfeFilterCoeffs(bad);
    e.SetLfeFilterCoeffs(nullptr);
    e.SetStereoFilterCoeffs(nullptr);
    e.ApplyPublishedControls();
    EXPECT_EQ(e.arrayControl.lfeFilter.coeffs[0], before);
}

TEST(Engine, NonFiniteInputReadsAsSilence)
{
    for (float bad : {kNaN, kInf, -kInf})
    {
        QVANE_HOST_DSP_PROCESS e(true), twin(true);
        SetUpLikeProcessor(e, 48000.0f, 2, true);
        SetUpLikeProcessor(twin, 48000.0f, 2, true);
        Block a(300, 3), b(300, 3);
        a.in[1][100] = bad;
        b.in[1][100] = 0.0f;
        e.Process(a.inputs, a.outputs, 300);
        twin.Process(b.inputs, b.outputs, 300);
        ASSERT_TRUE(SameOutput(a, b, 300)) << "input " << bad << " differs from a 0";
        for (unsigned char m = 0; m < 13; ++m)
            EXPECT_TRUE(std::isfinite(e.GetMeterValue(m))) << "input " << bad << ", meter " << int(m);
    }
}

TEST(Engine, EmptyBlocksAndNullInputs)
{
    QVANE_HOST_DSP_PROCESS e(true);
    Block b(4);
    for (long n : {0L, -1L, -100000L})
    {
        e.Process(b.inputs, b.outputs, n);
        for (int ch = 0; ch < 9; ++ch)
            for (float v : b.out[ch])
                ASSERT_EQ(v, -7.0f) << "block of " << n << " wrote channel " << ch;
    }
    e.Process(nullptr, nullptr, 16);  // no channel arrays at all: nothing to read or write

    // Null input pointers read as silence: meters stay 0, slots 0-7 get 0.
    QVANE_HOST_DSP_PROCESS f(true);
    SetUpLikeProcessor(f, 48000.0f, 6, false);
    Block c(256);
    float* none[4] = {};
    f.Process(none, c.outputs, 256);
    for (unsigned char m = 0; m < 13; ++m)
        EXPECT_EQ(f.GetMeterValue(m), 0.0f) << "null inputs, meter " << int(m);
    for (int ch = 0; ch < 8; ++ch)
        for (float v : c.out[ch])
            ASSERT_EQ(v, 0.0f) << "null inputs, slot " << ch;
    EXPECT_EQ(c.out[8][0], -7.0f) << "slot 8 is never written";
}

TEST(Engine, GainSmootherLandsOnExactZero)
{
    QVANE_HOST_DSP_PROCESS e(true);
    e.SetInputLevelCoeff(0.0f);
    const float a = e.micInput.a, c = e.micInput.c;
    float previous = e.micInput.gainSmoothed;
    bool sawFlush = false;
    for (int i = 0; i < 1000 && previous != 0.0f; ++i)
    {
        Silence(e, 1);
        const float raw = 0.0f * c + previous * a, now = e.micInput.gainSmoothed;
        const bool denormal = std::fpclassify(raw) == FP_SUBNORMAL;
        EXPECT_EQ(now, denormal ? 0.0f : raw) << "step " << i << (denormal ? ": the first denormal step must land on 0" : "");
        sawFlush = sawFlush || denormal;
        previous = now;
    }
    EXPECT_EQ(previous, 0.0f);
    EXPECT_TRUE(sawFlush);
}

TEST(Engine, InputMetersFollowGain)
{
    QVANE_HOST_DSP_PROCESS e(true);
    e.SetSampleRate(48000.0f);
    float w = 0.5f, zero = 0.0f;
    float* inputs[4] = {&w, &zero, &zero, &zero};
    float* none[9] = {};
    e.Process(inputs, none, 1);
    EXPECT_EQ(e.GetMeterValue(0), 0.5f) << "filter off, gain 1: the meter sees the input";
    Silence(e, 1);
    EXPECT_EQ(e.GetMeterValue(0), 0.5f * e.meters[0].release);
}

// An impulse on all four capsules, at 44.1 kHz with the filter off, reaches
// the B-format output as the W correction table times 4 * 0.46125 / sqrt 2.
TEST(Engine, AFormatImpulseThroughProcess)
{
    QVANE_HOST_DSP_PROCESS e(true);
    e.SetAFormatEnable(true);
    e.SetArrayType(7);
    for (unsigned char ch = 0; ch < 4; ++ch)
        e.SetChannelOutputLevelCoeff(ch, 1.0f);
    Silence(e, 4000);  // level and path smoothers settle
    Block b(40);
    for (auto& ch : b.in)
        std::fill(ch.begin(), ch.end(), 0.0f);
    for (int k = 0; k < 4; ++k)
        b.in[k][0] = 1.0f;
    e.Process(b.inputs, b.outputs, 40);
    const float scale = 4.0f * 0.46125f * 0.70710677f;
    for (int n = 0; n < 40; ++n)
    {
        EXPECT_NEAR(b.out[0][n], n < 29 ? Varrow_host_W_Filter_44K[n] * scale : 0.0f, 2e-6f) << "W at " << n;
        for (int k = 1; k < 4; ++k)
            EXPECT_NEAR(b.out[k][n], 0.0f, 1e-7f) << "XYZ"[k - 1] << " at " << n;
    }
}

// Block boundaries must not show: the same signal in one block or in many
// odd-sized ones gives the same bits, for both input formats.
TEST(Engine, BlockSizeDoesNotChangeOutput)
{
    const int total = 1000;
    const int pieces[] = {1, 63, 64, 65, 3, 200, 128, 17, 459};
    for (bool aFormat : {false, true})
        for (unsigned char type : {0, 2, 4, 6, 7})
        {
            QVANE_HOST_DSP_PROCESS whole(true), split(true);
            SetUpLikeProcessor(whole, 48000.0f, type, aFormat);
            SetUpLikeProcessor(split, 48000.0f, type, aFormat);
            Block a(total, 9), b(total, 9);
            whole.Process(a.inputs, a.outputs, total);
            long start = 0;
            for (int piece : pieces)
            {
                float* in[4];
                float* out[9];
                for (int k = 0; k < 4; ++k)
                    in[k] = b.inputs[k] + start;
                for (int k = 0; k < 9; ++k)
                    out[k] = b.outputs[k] + start;
                split.Process(in, out, piece);
                start += piece;
            }
            ASSERT_EQ(start, total);
            ASSERT_TRUE(SameOutput(a, b, total)) << (aFormat ? "A" : "B") << "-format, type " << int(type);
            EXPECT_TRUE(SameMeters(whole, split)) << (aFormat ? "A" : "B") << "-format, type " << int(type);
        }
}

// The processor hands the engine the same buffers for input and output.
TEST(Engine, InPlaceMatchesSeparateBuffers)
{
    for (bool aFormat : {false, true})
    {
        QVANE_HOST_DSP_PROCESS sep(true), inPlace(true);
        SetUpLikeProcessor(sep, 48000.0f, 6, aFormat);
        SetUpLikeProcessor(inPlace, 48000.0f, 6, aFormat);
        Block a(500, 5), b(500, 5);
        sep.Process(a.inputs, a.outputs, 500);
        for (int k = 0; k < 4; ++k)
            b.out[k] = b.in[k];
        for (int k = 0; k < 9; ++k)
            b.outputs[k] = b.out[k].data();
        inPlace.Process(b.outputs, b.outputs, 500);
        ASSERT_TRUE(SameOutput(a, b, 500, 8)) << (aFormat ? "A" : "B") << "-format";
    }
}

TEST(Engine, CopyOutOrderFollowsConstructorFlag)
{
    for (bool standard : {true, false})
    {
        QVANE_HOST_DSP_PROCESS e(standard);
        SetUpLikeProcessor(e, 48000.0f, 6, false);
        e.SetChannelOutputLevelCoeff(3, 0.0f);  // LFE silent: its slot reads 0
        e.SetChannelMute(1, true);              // R silent
        Block b(3000, 2);
        e.Process(b.inputs, b.outputs, 3000);
        const int lfeSlot = standard ? 3 : 7, rSlot = standard ? 1 : 2;
        for (int s = 0; s < 8; ++s)
            EXPECT_EQ(b.out[s][2999] == 0.0f, s == lfeSlot || s == rSlot)
                << (standard ? "standard" : "AAX") << " order, slot " << s << " (LFE " << lfeSlot << ", R " << rSlot << ")";
    }
}

// Runs one engine through Process and a twin through the reference, block by
// block, with the changes of each step made to both between blocks.
struct ReferenceStep
{
    int frames;
    void (*change)(QVANE_HOST_DSP_PROCESS&);
};

TEST(Engine, ProcessMatchesFrameByFrameReference)
{
    // Long enough blocks for every smoother to settle, then changes between
    // blocks that start new glides.
    const ReferenceStep steps[] = {
        {3000, [](QVANE_HOST_DSP_PROCESS&) {}},
        {700, [](QVANE_HOST_DSP_PROCESS& x) { x.SetAzimuthAngle(135); }},
        {700, [](QVANE_HOST_DSP_PROCESS& x) { x.SetChannelSolo(2, true); }},
        {700, [](QVANE_HOST_DSP_PROCESS& x) { x.SetChannelSolo(2, false); x.SetDominance(-0.4f); }},
        {700, [](QVANE_HOST_DSP_PROCESS& x) { x.SetInputLevelCoeff(0.25f); x.SetArrayType(6); }},
        {700, [](QVANE_HOST_DSP_PROCESS& x) { x.SetChannelPolarPattern(4, 0.3f); x.SetRearElevationAngle(45); }},
        {700, [](QVANE_HOST_DSP_PROCESS& x) { x.SetArrayType(7); x.SetBFormatArrayLevelCoeff(0.5f); }},
        {700, [](QVANE_HOST_DSP_PROCESS& x) { x.SetEndFireEnable(true); x.SetInvertEnable(true); x.SetArrayType(4); }},
        {701, [](QVANE_HOST_DSP_PROCESS& x) { x.SetArrayType(0); x.SetStereoMidSideEnable(true); }},
        {333, [](QVANE_HOST_DSP_PROCESS& x) { x.SetArrayType(5); x.SetChannelMute(6, true); }},
    };
    for (int variant = 0; variant < 3; ++variant)
    {
        const bool aFormat = variant == 1, standardOrder = variant != 2;
        QVANE_HOST_DSP_PROCESS e(standardOrder), ref(standardOrder);
        SetUpLikeProcessor(e, 48000.0f, 2, aFormat);
        SetUpLikeProcessor(ref, 48000.0f, 2, aFormat);
        unsigned seed = 11;
        for (const auto& step : steps)
        {
            step.change(e);
            step.change(ref);
            Block a(step.frames, ++seed), b(step.frames, seed);
            a.outputs[6] = b.outputs[6] = nullptr;  // a host channel left out
            e.Process(a.inputs, a.outputs, step.frames);
            ReferenceProcess(ref, b.inputs, b.outputs, step.frames);
            ASSERT_TRUE(SameOutput(a, b, step.frames)) << "variant " << variant << ", step " << (&step - steps);
            ASSERT_TRUE(SameMeters(e, ref)) << "variant " << variant << ", step " << (&step - steps);
        }
    }
}

// Every layout, every rate class of the correction filters and both input
// formats: the run-based stages (settled and gliding) against the reference,
// including the layouts whose padding the vector code fills itself.
TEST(Engine, EveryLayoutAndRateMatchesReference)
{
    const ReferenceStep steps[] = {
        {1500, [](QVANE_HOST_DSP_PROCESS&) {}},
        {61, [](QVANE_HOST_DSP_PROCESS&) {}},
        // A glide starts in the middle of the run.
        {7, [](QVANE_HOST_DSP_PROCESS& x) { x.SetChannelPolarPattern(8, 0.5f); x.SetFrontElevationAngle(300); }},
        {250, [](QVANE_HOST_DSP_PROCESS&) {}},
    };
    for (float fs : {44100.0f, 88200.0f, 96000.0f, 176400.0f, 192000.0f})
        for (bool aFormat : {false, true})
            for (unsigned char type = 0; type < 8; ++type)
            {
                QVANE_HOST_DSP_PROCESS e(type % 2 == 0), ref(type % 2 == 0);
                SetUpLikeProcessor(e, fs, type, aFormat);
                SetUpLikeProcessor(ref, fs, type, aFormat);
                unsigned seed = 40u + type;
                for (const auto& step : steps)
                {
                    step.change(e);
                    step.change(ref);
                    Block x(step.frames, ++seed), y(step.frames, seed);
                    e.Process(x.inputs, x.outputs, step.frames);
                    ReferenceProcess(ref, y.inputs, y.outputs, step.frames);
                    ASSERT_TRUE(SameOutput(x, y, step.frames))
                        << "rate " << fs << (aFormat ? " A" : " B") << "-format, type " << int(type) << ", block " << (&step - steps);
                    ASSERT_TRUE(SameMeters(e, ref)) << "rate " << fs << ", type " << int(type) << ", block " << (&step - steps);
                }
            }
}

// Setters publish; the record the audio thread runs on changes only when a
// block starts. The getters answer what was published, at once.
TEST(Engine, SettersPublishAndTheNextBlockTakesThem)
{
    QVANE_HOST_DSP_PROCESS e(true);
    e.SetAzimuthAngle(90);
    e.SetArrayType(6);
    e.SetChannelOutputLevelCoeff(4, 0.5f);
    e.SetAFormatEnable(true);
    EXPECT_EQ(e.bFormatPath.azimuth, 0u) << "a setter wrote the audio thread's record";
    EXPECT_EQ(e.arrayControl.arrayType, 0u) << "a setter wrote the audio thread's record";
    EXPECT_EQ(e.arrayControl.levelTarget[4], 0.0f) << "a setter wrote the audio thread's record";
    EXPECT_EQ(e.GetArrayType(), 6) << "getters answer the published value";
    EXPECT_TRUE(e.GetAFormatEnable());
    EXPECT_EQ(e.GetControls().azimuth, 90u);
    EXPECT_EQ(e.GetControls().level[4], 0.5f);

    float* none[9] = {};
    e.Process(none, none, 1);
    EXPECT_EQ(e.bFormatPath.azimuth, 90u);
    EXPECT_EQ(e.arrayControl.arrayType, 6u);
    EXPECT_EQ(e.arrayControl.levelTarget[4], 0.5f);
    EXPECT_TRUE(e.aFormatEnable);
}

// The mute and solo rules, through the published flags: a soloed channel
// silences the others, a mute write sets the mute whether a solo is on or not.
TEST(Engine, MuteAndSoloFlags)
{
    QVANE_HOST_DSP_PROCESS e(true);
    e.SetChannelMute(1, true);
    EXPECT_TRUE(e.GetIsChannelMute(1));
    EXPECT_FALSE(e.HasSolo());

    e.SetChannelSolo(2, true);
    EXPECT_TRUE(e.HasSolo());
    EXPECT_TRUE(e.GetIsChannelSolo(2));
    for (unsigned char ch = 0; ch < 9; ++ch)
        EXPECT_EQ(e.GetIsChannelSoloMute(ch), ch != 2) << "solo-mute of channel " << int(ch);

    const struct { unsigned char channel; bool on; bool muted; const char* what; } writes[] = {
        { 5, true, true, "first write of true while soloed" },
        { 5, true, true, "second write of true leaves it muted" },
        { 1, true, true, "true on a muted channel leaves it muted" },
        { 1, false, false, "a write of false unmutes" },
        { 1, false, false, "a second write of false leaves it unmuted" },
        { 2, true, true, "the soloed channel takes its mute too" },
        { 2, false, false, "and clears it" },
    };
    for (const auto& w : writes)
    {
        e.SetChannelMute(w.channel, w.on);
        EXPECT_EQ(e.GetIsChannelMute(w.channel), w.muted) << w.what;
        EXPECT_TRUE(e.GetIsChannelSolo(2)) << w.what << ": the solo stays";
        EXPECT_EQ(e.GetIsChannelSoloMute(w.channel), w.channel != 2) << w.what;
    }

    e.SetChannelSolo(2, false);
    EXPECT_FALSE(e.HasSolo());
    for (unsigned char ch = 0; ch < 9; ++ch)
        EXPECT_FALSE(e.GetIsChannelSoloMute(ch)) << "channel " << int(ch);

    float* none[9] = {};
    e.Process(none, none, 1);
    EXPECT_EQ(e.arrayControl.mute[1], 0u);
    EXPECT_EQ(e.arrayControl.mute[5], 1u) << "the mute set while soloed holds after the solo";
    EXPECT_EQ(e.arrayControl.solo[2], 0u);
}

// A NaN or infinity in a recursive value (filter state, smoother, meter) is
// cleared at the end of the block it appears in, not kept for good.
TEST(Engine, NonFiniteStateIsClearedWithinABlock)
{
    QVANE_HOST_DSP_PROCESS e(true), twin(true);
    SetUpLikeProcessor(e, 48000.0f, 2, false);
    SetUpLikeProcessor(twin, 48000.0f, 2, false);
    Block warm(500, 5), warmTwin(500, 5);
    e.Process(warm.inputs, warm.outputs, 500);
    twin.Process(warmTwin.inputs, warmTwin.outputs, 500);

    e.micInput.filters[1].y1 = kNaN;
    e.arrayControl.lfeFilter.x2 = kInf;
    e.arrayControl.levelSmoothed[4] = kNaN;
    e.meters[7].value = kInf;
    Block poisoned(64, 6);
    e.Process(poisoned.inputs, poisoned.outputs, 64);

    const SecondOrderFilter& in1 = e.micInput.filters[1];
    EXPECT_TRUE(std::isfinite(in1.x1) && std::isfinite(in1.x2) && std::isfinite(in1.y1) && std::isfinite(in1.y2))
        << "input filter 1";
    const SecondOrderFilter& lfe = e.arrayControl.lfeFilter;
    EXPECT_TRUE(std::isfinite(lfe.x1) && std::isfinite(lfe.x2) && std::isfinite(lfe.y1) && std::isfinite(lfe.y2))
        << "LFE filter";
    EXPECT_TRUE(std::isfinite(e.arrayControl.levelSmoothed[4]));
    EXPECT_TRUE(std::isfinite(e.GetMeterValue(7)));

    Block later(256, 7);
    e.Process(later.inputs, later.outputs, 256);
    for (int ch = 0; ch < 9; ++ch)
        for (int n = 0; n < 256; ++n)
            ASSERT_TRUE(std::isfinite(later.out[ch][n])) << "slot " << ch << ", frame " << n;
}

// ResetState: every history, smoother and meter back to a new engine's, the
// controls kept. After it the engine sounds exactly like a new one set up
// the same way.
TEST(Engine, ResetStateSoundsLikeANewEngine)
{
    for (bool aFormat : {false, true})
    {
        QVANE_HOST_DSP_PROCESS used(true), fresh(true);
        SetUpLikeProcessor(used, 48000.0f, 6, aFormat);
        SetUpLikeProcessor(fresh, 48000.0f, 6, aFormat);
        Block history(3000, 8);
        used.Process(history.inputs, history.outputs, 3000);
        used.ResetState();
        for (unsigned char m = 0; m < 13; ++m)
            EXPECT_EQ(used.GetMeterValue(m), 0.0f) << "meter " << int(m);

        Block a(700, 9), b(700, 9);
        used.Process(a.inputs, a.outputs, 700);
        fresh.Process(b.inputs, b.outputs, 700);
        EXPECT_TRUE(SameOutput(a, b, 700)) << (aFormat ? "A-format" : "B-format");
    }
}

namespace
{
// Runs constant W X Y inputs (B-format) for the given frames; the nine output
// slots of the last frame.
std::vector<float> RunConstant(QVANE_HOST_DSP_PROCESS& e, float w, float x, float y, int frames)
{
    std::vector<std::vector<float>> in(4, std::vector<float>((size_t) frames, 0.0f)), out(9, std::vector<float>((size_t) frames, 0.0f));
    std::fill(in[0].begin(), in[0].end(), w);
    std::fill(in[1].begin(), in[1].end(), x);
    std::fill(in[2].begin(), in[2].end(), y);
    float* inputs[4];
    float* outputs[9];
    for (int k = 0; k < 4; ++k)
        inputs[k] = in[(size_t) k].data();
    for (int k = 0; k < 9; ++k)
        outputs[k] = out[(size_t) k].data();
    e.Process(inputs, outputs, frames);
    std::vector<float> last(9);
    for (int k = 0; k < 9; ++k)
        last[(size_t) k] = out[(size_t) k][(size_t) frames - 1];
    return last;
}
} // namespace

// The pattern and level smoothers, one frame at a time after a step of their
// targets, against smoothed = target * c + smoothed * a with the 44.1 kHz pair
// c = 0.248218, a = 0.751782. Stereo, both microphones facing front, X only:
// L = 0.5 * pattern * level, R the same with its own pattern and level.
TEST(Engine, PatternAndLevelStepsFollowTheSmoothingFormula)
{
    constexpr double c = 0.248218, a = 0.751782;
    QVANE_HOST_DSP_PROCESS e(true);
    e.SetChannelOutputLevelCoeff(0, 1.0f);
    e.SetChannelOutputLevelCoeff(1, 1.0f);
    RunConstant(e, 0.0f, 1.0f, 0.0f, 8192);

    e.SetChannelPolarPattern(0, 2.0f);        // L: pattern 1 -> 2, level held at 1
    e.SetChannelOutputLevelCoeff(1, 0.25f);   // R: level 1 -> 0.25, pattern held at 1
    double patternL = 1.0, levelR = 1.0;
    for (int frame = 1; frame <= 4; ++frame)
    {
        patternL = 2.0 * c + patternL * a;
        levelR = 0.25 * c + levelR * a;
        const auto out = RunConstant(e, 0.0f, 1.0f, 0.0f, 1);
        EXPECT_NEAR(out[0], 0.5 * patternL, 2e-6) << "L at frame " << frame << " after the pattern step";
        EXPECT_NEAR(out[1], 0.5 * levelR, 2e-6) << "R at frame " << frame << " after the level step";
    }
}

// Mid/side stereo through the engine's setters, with L and R at different
// levels: L = level L * mid, R = level R * side, both from channel 0's
// pattern 1 and angle 30: mid = 1.4142135 * 0.5 * W + 0.5 * X * cos 30,
// side = 0.5 * Y * sin 30.
TEST(Engine, MidSideKeepsEachChannelsOwnLevel)
{
    const struct { float levelL, levelR; } rows[] = { { 1.0f, 0.5f }, { 0.5f, 1.0f }, { 0.0f, 0.75f } };
    const double w = 1.0, x = 0.5, y = 0.8;
    const double mid = 1.4142135 * 0.5 * w + 0.5 * x * std::cos(M_PI / 6.0);
    const double side = 0.5 * y * 0.5;

    for (const auto& row : rows)
    {
        QVANE_HOST_DSP_PROCESS e(true);
        e.SetStereoMidSideEnable(true);
        e.SetChannelAngle(0, 30);
        e.SetChannelAngle(1, 330);
        e.SetChannelOutputLevelCoeff(0, row.levelL);
        e.SetChannelOutputLevelCoeff(1, row.levelR);
        const auto out = RunConstant(e, (float) w, (float) x, (float) y, 8192);
        EXPECT_NEAR(out[0], row.levelL * mid, 2e-6) << "mid, levels " << row.levelL << " / " << row.levelR;
        EXPECT_NEAR(out[1], row.levelR * side, 2e-6) << "side, levels " << row.levelL << " / " << row.levelR;
    }
}
