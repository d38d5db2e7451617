// The output channel strip on its own: layout per channel count, what it
// reports for each gesture and how it shows what it is given. Its plate and
// meter pixels are checked in the output panel.
#include "OutputChannelStrip.h"
#include "PanelTestSupport.h"

using namespace paneltest;

namespace
{
using R = juce::Rectangle<int>;

struct StripRecorder : OutputChannelStripListener
{
    void TrimChanged (int id, int value) override { calls.push_back ("T" + juce::String (id) + ":" + juce::String (value)); }
    void MuteChanged (int id, bool on) override { calls.push_back ("M" + juce::String (id) + ":" + juce::String ((int) on)); }
    void SoloChanged (int id, bool on) override { calls.push_back ("S" + juce::String (id) + ":" + juce::String ((int) on)); }
    std::vector<juce::String> calls;
};

class OutputChannelStripTest : public EditorTest
{
protected:
    // As the output panel builds it: 136 high, laid out, listened to, at 0 dB.
    std::unique_ptr<OutputChannelStrip> MakeStrip (int channels, int id)
    {
        auto strip = std::make_unique<OutputChannelStrip> (channels, "L/R", id, nullptr);
        strip->setSize (0, 136);
        strip->resized();
        strip->listeners.add (&recorder);
        strip->SetTrim (75, "  0dB");
        return strip;
    }
    StripRecorder recorder;
};
} // namespace

TEST_F (OutputChannelStripTest, LayoutPerChannelCount)
{
    struct Case
    {
        int channels, width;
        std::vector<R> meters, wxyz; // meters shown; W X Y Z labels
        R slider, valueLabel;
    };
    const Case cases[] = {
        { 1, 56, { R (10, 25, 6, 76) }, {}, R (26, 19, 24, 91), R (12, 4, 40, 15) },
        { 2, 56, { R (6, 25, 6, 76), R (16, 25, 6, 76) }, {}, R (26, 19, 24, 91), R (12, 4, 40, 15) },
        { 4, 112, { R (10, 25, 6, 76), R (28, 25, 6, 76), R (46, 25, 6, 76), R (64, 25, 6, 76) },
          { R (4, 107, 18, 12), R (22, 107, 18, 12), R (40, 107, 18, 12), R (58, 107, 18, 12) }, R (82, 19, 24, 91), R (68, 4, 40, 15) },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE ("channels " + std::to_string (c.channels));
        auto s = MakeStrip (c.channels, 0);
        EXPECT_EQ (s->getBounds(), R (0, 0, c.width, 136));
        BargraphComponent* meters[] = { s->meter1.get(), s->meter2.get(), s->meter3.get(), s->meter4.get() };
        ASSERT_NE (meters[1], nullptr) << "the second meter is always made";
        EXPECT_EQ (meters[2] != nullptr, c.channels == 4);
        for (size_t m = 0; m < 4 && meters[m] != nullptr; ++m)
            EXPECT_EQ (meters[m]->isVisible() ? meters[m]->getBounds() : R(), m < c.meters.size() ? c.meters[m] : R()) << m;
        juce::Label* wxyz[] = { s->wLabel.get(), s->xLabel.get(), s->yLabel.get(), s->zLabel.get() };
        for (size_t i = 0; i < c.wxyz.size(); ++i)
            EXPECT_EQ (wxyz[i]->getText() + wxyz[i]->getBounds().toString(), juce::String::charToString ("WXYZ"[i]) + c.wxyz[i].toString());
        EXPECT_EQ (s->trimSlider->getBounds(), c.slider);
        EXPECT_EQ (s->valueLabel->getBounds(), c.valueLabel);

        // "S" and "M" centred at 0.3 and 0.7 of 56 and 0.92 of 136, the name 23 above the bottom; B-format has none.
        const bool named = c.channels != 4;
        EXPECT_EQ (s->soloButton->isVisible() ? s->soloButton->getBounds() : R(), named ? R (9, 119, 16, 13) : R());
        EXPECT_EQ (s->muteButton->isVisible() ? s->muteButton->getBounds() : R(), named ? R (31, 119, 16, 13) : R());
        EXPECT_EQ (s->nameLabel->isVisible() ? s->nameLabel->getBounds() : R(), named ? R (0, 108, 56, 10) : R());
    }
}

TEST_F (OutputChannelStripTest, TypedDecibelsBecomeSliderPositions)
{
    const std::pair<const char*, const char*> cases[] = {
        { "-6", "T5:60" },  { "10", "T5:100" }, { "12", "T5:100" },    { "40", "T5:100" }, { "-31", "T5:0" },
        { "-40", "T5:0" },  { "3.5", "T5:84" }, { " -6 dB", "T5:60" }, { "+2", "T5:80" },  { "-30.5", "T5:1" },
        // Text without a finite number leaves the level alone.
        { "abc", "" }, { "", "" }, { "nan", "" }, { "-inf", "" }, { "1e39", "" }, { ".", "" },
    };
    for (auto [typed, sent] : cases)
    {
        SCOPED_TRACE (typed);
        recorder.calls.clear();
        auto s = MakeStrip (1, 5);
        TypeInto (*s->valueLabel, typed);
        EXPECT_EQ (juce::StringArray (recorder.calls.data(), (int) recorder.calls.size()).joinIntoString (","), sent);
        // It shows the processor's text and value until the processor reports the new ones.
        EXPECT_EQ (s->valueLabel->getText(), "  0dB");
        EXPECT_EQ (s->trimSlider->getValue(), 75.0);
    }
}

TEST_F (OutputChannelStripTest, GesturesReportAndMirroringDoesNot)
{
    auto s = MakeStrip (2, 3);
    Drag (*s->trimSlider, TrimSliderPoint (75), TrimSliderPoint (40));
    Click (*s->muteButton);
    Click (*s->muteButton);
    Click (*s->soloButton);
    s->SetTrim (20, "-15dB");
    s->SetMuteStates (true, false);
    EXPECT_EQ (recorder.calls, (std::vector<juce::String> { "T3:40", "M3:1", "M3:0", "S3:1" }));
    EXPECT_EQ (s->trimSlider->getValue(), 20.0);
    EXPECT_EQ (s->valueLabel->getText(), "-15dB");

    // B-format's buttons are hidden, so clicks on them do nothing.
    auto bFormat = MakeStrip (4, 6);
    Click (*bFormat->muteButton);
    Click (*bFormat->soloButton);
    EXPECT_EQ (recorder.calls.size(), 4u);
}

TEST_F (OutputChannelStripTest, MuteLamp)
{
    struct Case
    {
        bool mute, soloMute, lit, blinks;
    };
    const Case cases[] = { { false, true, true, true }, { true, true, true, false }, { true, false, true, false }, { false, false, false, false } };
    for (const auto& c : cases)
    {
        SCOPED_TRACE (testing::Message() << "mute " << c.mute << ", solo-mute " << c.soloMute);
        auto s = MakeStrip (1, 1);
        auto& m = *s->muteButton;
        m.flashing = true; // caught blinking with the caption hidden
        m.DoFlash();
        s->SetMuteStates (c.mute, c.soloMute);
        EXPECT_EQ (m.getToggleState(), c.lit);
        EXPECT_TRUE (m.showText) << "every new state starts with the caption shown";
        m.DoFlash();
        EXPECT_EQ (m.showText, ! c.blinks);
    }
    EXPECT_TRUE (recorder.calls.empty());
}
