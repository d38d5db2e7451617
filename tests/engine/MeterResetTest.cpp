// A meter reset is a request the audio thread takes once: the meter reads 0
// for the next block, then follows the signal and falls from its peak again;
// the other meters never notice.
#include <gtest/gtest.h>

#include <vector>

#include "QvaneHostDspProcess.h"

namespace
{
// Inputs 1 and 2 held at a and b for n frames, inputs 3 and 4 silent.
void Feed(QVANE_HOST_DSP_PROCESS& e, float a, float b, int n)
{
    std::vector<float> first(static_cast<size_t>(n), a), second(static_cast<size_t>(n), b);
    float* in[4] = {first.data(), second.data(), nullptr, nullptr};
    float* none[9] = {};
    e.Process(in, none, n);
}
} // namespace

TEST(MeterReset, TakenOnceThenTheMeterFollowsTheSignalAgain)
{
    QVANE_HOST_DSP_PROCESS e(true);
    e.SetFilterEnable(false);
    Feed(e, 0.5f, 0.25f, 1);
    ASSERT_EQ(e.GetMeterValue(0), 0.5f);
    ASSERT_EQ(e.GetMeterValue(1), 0.25f);

    e.ResetMeter(1);
    EXPECT_EQ(e.GetMeterValue(1), 0.0f) << "cleared for readers at once";
    EXPECT_EQ(e.GetMeterValue(0), 0.5f) << "only the meter asked for";

    // At 30 dB a second a peak falls less than 1 dB in 64 frames (at any
    // rate from 44.1 kHz): above 0.9 of itself, below itself.
    Feed(e, 0.0f, 0.0f, 64);
    EXPECT_EQ(e.GetMeterValue(1), 0.0f) << "the block after the reset starts from 0";
    const float fallen = e.GetMeterValue(0);
    EXPECT_GT(fallen, 0.45f) << "meter 1 was reset along with meter 2";
    EXPECT_LT(fallen, 0.5f);

    struct Step
    {
        const char* what;
        float a, b;
        int frames;
        float low1, high1, low2, high2; // bounds of meters 1 and 2 after the step
    };
    const Step steps[] = {
        {"a new peak on input 2", 0.0f, 0.25f, 1, 0.0f, fallen, 0.25f, 0.25f},
        {"silence: it falls from that peak", 0.0f, 0.0f, 64, 0.0f, fallen, 0.225f, 0.2499f},
        {"and goes on falling", 0.0f, 0.0f, 64, 0.0f, fallen, 0.2f, 0.2499f},
    };
    float previous = 1.0f;
    for (const Step& s : steps)
    {
        Feed(e, s.a, s.b, s.frames);
        const float m1 = e.GetMeterValue(0), m2 = e.GetMeterValue(1);
        EXPECT_GE(m1, s.low1) << s.what;
        EXPECT_LE(m1, s.high1) << s.what;
        EXPECT_GE(m2, s.low2) << s.what;
        EXPECT_LE(m2, s.high2) << s.what;
        EXPECT_LE(m2, previous) << s.what;
        previous = m2;
    }
}
