// The host's transport record turned into the processor's position record.
#include "VstPlayHead.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace
{
using Info = juce::AudioPlayHead::CurrentPositionInfo;

VstTimeInfo record(int32_t flags)
{
    VstTimeInfo t;
    std::memset(&t, 0, sizeof(t));
    t.sampleRate = 48000.0;
    t.samplePos = 96000.0;
    t.ppqPos = 8.5;
    t.tempo = 133.0;
    t.barStartPos = 8.0;
    t.cycleStartPos = 4.0;
    t.cycleEndPos = 12.0;
    t.timeSigNumerator = 7;
    t.timeSigDenominator = 8;
    t.flags = flags;
    return t;
}

Info marked()
{
    Info info;
    std::memset(&info, 0, sizeof(info));
    info.bpm = -1.0;
    info.timeInSamples = -7;
    return info;
}
} // namespace

TEST(VstPlayHeadTest, NoRecordOrNoRateLeavesTheInfoUntouched)
{
    Info info = marked();
    EXPECT_FALSE(positionFromTimeInfo(nullptr, info));

    for (double rate : { 0.0, -44100.0, (double) NAN })
    {
        VstTimeInfo t = record(0xffff);
        t.sampleRate = rate;
        EXPECT_FALSE(positionFromTimeInfo(&t, info)) << "rate " << rate;
    }
    EXPECT_EQ(info.bpm, -1.0);
    EXPECT_EQ(info.timeInSamples, -7);
}

TEST(VstPlayHeadTest, EveryFieldWhenTheHostMarksItValid)
{
    VstTimeInfo t = record(kTransportPlaying | kTransportCycle | kPpqPositionValid | kTempoValid | kBarStartValid
                           | kCycleValid | kTimeSigValid | kSmpteValid);
    t.smpteFrameRate = 1;
    t.smpteOffset = 4000;
    Info info = marked();
    ASSERT_TRUE(positionFromTimeInfo(&t, info));
    EXPECT_EQ(info.bpm, 133.0);
    EXPECT_EQ(info.timeSigNumerator, 7);
    EXPECT_EQ(info.timeSigDenominator, 8);
    EXPECT_EQ(info.timeInSamples, 96000);
    EXPECT_EQ(info.timeInSeconds, 2.0);
    EXPECT_EQ(info.ppqPosition, 8.5);
    EXPECT_EQ(info.ppqPositionOfLastBarStart, 8.0);
    EXPECT_EQ(info.frameRate, juce::AudioPlayHead::fps25);
    EXPECT_EQ(info.editOriginTime, 2.0) << "4000 / 2000";
    EXPECT_TRUE(info.isPlaying);
    EXPECT_FALSE(info.isRecording);
    EXPECT_TRUE(info.isLooping);
    EXPECT_EQ(info.ppqLoopStart, 4.0);
    EXPECT_EQ(info.ppqLoopEnd, 12.0);
}

TEST(VstPlayHeadTest, DefaultsWhenNothingIsMarkedValid)
{
    VstTimeInfo t = record(0);
    Info info = marked();
    ASSERT_TRUE(positionFromTimeInfo(&t, info));
    EXPECT_EQ(info.bpm, 0.0) << "no tempo";
    EXPECT_EQ(info.timeSigNumerator, 4);
    EXPECT_EQ(info.timeSigDenominator, 4);
    EXPECT_EQ(info.ppqPosition, 0.0);
    EXPECT_EQ(info.ppqPositionOfLastBarStart, 0.0);
    EXPECT_EQ(info.frameRate, juce::AudioPlayHead::fpsUnknown);
    EXPECT_EQ(info.editOriginTime, 0.0);
    EXPECT_EQ(info.ppqLoopStart, 0.0);
    EXPECT_EQ(info.ppqLoopEnd, 0.0);
    EXPECT_FALSE(info.isPlaying);
    EXPECT_FALSE(info.isLooping);
}

TEST(VstPlayHeadTest, SamplePositionRoundsHalfUp)
{
    const struct { double pos; int64_t samples; } cases[] = {
        { 99.5, 100 }, { 99.4, 99 }, { 0.0, 0 }, { -0.7, 0 }, { 1e30, 9200000000000000000LL },
        { (double) NAN, 0 }, { (double) INFINITY, 0 },
    };
    for (const auto& c : cases)
    {
        VstTimeInfo t = record(0);
        t.samplePos = c.pos;
        Info info = marked();
        ASSERT_TRUE(positionFromTimeInfo(&t, info));
        EXPECT_EQ(info.timeInSamples, c.samples) << "sample position " << c.pos;
        EXPECT_TRUE(std::isfinite(info.timeInSeconds)) << "sample position " << c.pos;
    }
}

TEST(VstPlayHeadTest, RecordingCountsAsPlaying)
{
    VstTimeInfo t = record(kTransportRecording);
    Info info = marked();
    ASSERT_TRUE(positionFromTimeInfo(&t, info));
    EXPECT_TRUE(info.isRecording);
    EXPECT_TRUE(info.isPlaying);
}

TEST(VstPlayHeadTest, FrameRateCodes)
{
    using FR = juce::AudioPlayHead::FrameRateType;
    const struct { int32_t code; FR type; double divisor; } cases[] = {
        { 0, FR::fps24, 1920 }, { 1, FR::fps25, 2000 }, { 2, FR::fps2997, 2397.6 }, { 3, FR::fps30, 2400 },
        { 4, FR::fps2997drop, 2397.6 }, { 5, FR::fps30drop, 2400 }, { 6, FR::fpsUnknown, 1920 },
        { 7, FR::fpsUnknown, 1920 }, { 8, FR::fpsUnknown, 80 }, { 9, FR::fpsUnknown, 80 },
        { 10, FR::fpsUnknown, 1918.08 }, { 11, FR::fpsUnknown, 1998.08 }, { 12, FR::fpsUnknown, 4795.2 },
        { 13, FR::fpsUnknown, 4800 }, { 14, FR::fpsUnknown, 80 }, { -1, FR::fpsUnknown, 80 },
    };
    for (const auto& c : cases)
    {
        VstTimeInfo t = record(kSmpteValid);
        t.smpteFrameRate = c.code;
        t.smpteOffset = 2400;
        Info info = marked();
        ASSERT_TRUE(positionFromTimeInfo(&t, info));
        EXPECT_EQ(info.frameRate, c.type) << "code " << c.code;
        EXPECT_DOUBLE_EQ(info.editOriginTime, 2400.0 / c.divisor) << "code " << c.code;
    }
}
