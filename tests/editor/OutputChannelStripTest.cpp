// The output channel strip on its own: layout per channel count, what it
// tells its listener for each gesture, how it shows what it is given, and
// its plate and meter pixels.
#include "OutputChannelStrip.h"
#include "PanelTestSupport.h"

#include <vector>

using namespace paneltest;

namespace
{
struct StripCall
{
    char kind; // 'T' trim, 'M' mute, 'S' solo
    int id;
    int value;

    bool operator== (const StripCall& o) const { return kind == o.kind && id == o.id && value == o.value; }
};

std::ostream& operator<< (std::ostream& os, const StripCall& c)
{
    return os << c.kind << "(" << c.id << ", " << c.value << ")";
}

struct StripRecorder : OutputChannelStripListener
{
    void ResetToDefault (int id) override { calls.push_back ({ 'R', id, 0 }); }
    void TrimChanged (int id, int value) override { calls.push_back ({ 'T', id, value }); }
    void MuteChanged (int id, bool on) override { calls.push_back ({ 'M', id, on ? 1 : 0 }); }
    void SoloChanged (int id, bool on) override { calls.push_back ({ 'S', id, on ? 1 : 0 }); }

    std::vector<StripCall> calls;
};

class OutputChannelStripTest : public EditorTest
{
protected:
    // A strip as the output panel builds it: 136 high, laid out, listened to.
    std::unique_ptr<OutputChannelStrip> MakeStrip (int channels, int id)
    {
        auto strip = std::make_unique<OutputChannelStrip> (channels, "L/R", id, nullptr);
        strip->setSize (0, 136);
        strip->resized();
        strip->listeners.add (&recorder);
        return strip;
    }

    StripRecorder recorder;
};

juce::Rectangle<int> BoundsOf (juce::Component* c) { return c != nullptr ? c->getBounds() : juce::Rectangle<int>(); }
} // namespace

TEST_F (OutputChannelStripTest, LayoutPerChannelCount)
{
    using R = juce::Rectangle<int>;
    struct Case
    {
        int channels;
        int width;
        std::vector<R> meters;         // every meter that is shown
        std::vector<R> channelLabels;  // W X Y Z
        R slider, valueLabel;
        bool buttonsAndName;
    };
    const Case cases[] = {
        { 1, 56, { R (10, 25, 6, 76) }, {}, R (26, 19, 24, 91), R (12, 4, 40, 15), true },
        { 2, 56, { R (6, 25, 6, 76), R (16, 25, 6, 76) }, {}, R (26, 19, 24, 91), R (12, 4, 40, 15), true },
        { 4, 112, { R (10, 25, 6, 76), R (28, 25, 6, 76), R (46, 25, 6, 76), R (64, 25, 6, 76) },
          { R (4, 107, 18, 12), R (22, 107, 18, 12), R (40, 107, 18, 12), R (58, 107, 18, 12) },
          R (82, 19, 24, 91), R (68, 4, 40, 15), false },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE ("channels " + std::to_string (c.channels));
        auto strip = MakeStrip (c.channels, 0);
        EXPECT_EQ (strip->getWidth(), c.width);
        EXPECT_EQ (strip->getHeight(), 136);

        BargraphComponent* meters[] = { strip->meter1.get(), strip->meter2.get(), strip->meter3.get(), strip->meter4.get() };
        ASSERT_NE (strip->meter2, nullptr) << "the second meter is always made";
        EXPECT_EQ (strip->meter3 != nullptr, c.channels == 4);
        for (size_t m = 0; m < 4; ++m)
        {
            const bool shown = m < c.meters.size();
            if (meters[m] == nullptr)
                continue;
            EXPECT_EQ (meters[m]->isVisible(), shown) << "meter " << m + 1;
            if (shown)
                EXPECT_EQ (meters[m]->getBounds(), c.meters[m]) << "meter " << m + 1;
        }

        juce::Label* channelLabels[] = { strip->wLabel.get(), strip->xLabel.get(), strip->yLabel.get(), strip->zLabel.get() };
        const char* texts[] = { "W", "X", "Y", "Z" };
        for (size_t i = 0; i < 4; ++i)
        {
            ASSERT_EQ (channelLabels[i] != nullptr, ! c.channelLabels.empty());
            if (channelLabels[i] != nullptr)
            {
                EXPECT_EQ (channelLabels[i]->getBounds(), c.channelLabels[i]) << texts[i];
                EXPECT_EQ (channelLabels[i]->getText(), texts[i]);
                EXPECT_TRUE (channelLabels[i]->isVisible());
            }
        }

        EXPECT_EQ (strip->trimSlider->getBounds(), c.slider);
        EXPECT_EQ (strip->valueLabel->getBounds(), c.valueLabel);
        EXPECT_EQ (strip->muteButton->isVisible(), c.buttonsAndName);
        EXPECT_EQ (strip->soloButton->isVisible(), c.buttonsAndName);
        EXPECT_EQ (strip->nameLabel->isVisible(), c.buttonsAndName);

        if (c.buttonsAndName)
        {
            // Centred at 0.3 and 0.7 of 56 and 0.92 of 136; the name centred 23 above the bottom.
            EXPECT_EQ (strip->soloButton->getBounds(), R (9, 119, 16, 13));
            EXPECT_EQ (strip->muteButton->getBounds(), R (31, 119, 16, 13));
            EXPECT_EQ (strip->nameLabel->getBounds(), R (0, 108, 56, 10));
            EXPECT_EQ (strip->nameLabel->getText(), "L/R");
        }
    }
}

TEST_F (OutputChannelStripTest, ChildrenAsBuilt)
{
    auto strip = MakeStrip (2, 4);
    EXPECT_EQ (strip->muteButton->getName(), "M");
    EXPECT_EQ (strip->muteButton->glowColour.getARGB(), 0xFFFF8C00u) << "dark orange";
    EXPECT_EQ (strip->soloButton->getName(), "S");
    EXPECT_EQ (strip->soloButton->glowColour.getARGB(), 0xFF90EE90u) << "light green";
    EXPECT_EQ (strip->trimSlider->paramId, 4);
    EXPECT_EQ (strip->trimSlider->divisor, 100);
    EXPECT_FALSE (strip->trimSlider->centred);
    EXPECT_FALSE (strip->trimSlider->raw);
    EXPECT_EQ (strip->trimSlider->getSliderStyle(), juce::Slider::LinearVertical);
    EXPECT_EQ (strip->trimSlider->getMinimum(), 0.0);
    EXPECT_EQ (strip->trimSlider->getMaximum(), 100.0);
    EXPECT_EQ (strip->trimSlider->getInterval(), 1.0);
    EXPECT_EQ (strip->trimSlider->listener, nullptr) << "a strip without owner has no text source";
    EXPECT_TRUE (strip->active);
    EXPECT_FALSE (strip->isBFormat);
    strip->SetSliderColour (juce::Colour (0xFF99FFC2));
    EXPECT_EQ (strip->trimSlider->findColour (juce::Slider::trackColourId).getARGB(), 0xFF99FFC2u);
}

TEST_F (OutputChannelStripTest, TypedDecibelsBecomeSliderPositions)
{
    struct Case
    {
        const char* typed;
        int position; // -1: nothing is sent
    };
    const Case cases[] = {
        { "-6", 60 },   { "10", 100 },  { "12", 100 }, { "40", 100 },   { "-31", 0 },   { "-40", 0 },
        { "3.5", 84 },  { "0", 75 },    { " -6 dB", 60 }, { "+2", 80 },  { "-30.5", 1 }, { ".5", 76 },
        // Text without a finite number must not move the level.
        { "abc", -1 },  { "", -1 },     { "dB", -1 },   { "nan", -1 },   { "inf", -1 },  { "-inf", -1 },
        { "1e39", -1 }, { ".", -1 },    { "-", -1 },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (std::string ("typed \"") + c.typed + "\"");
        auto strip = MakeStrip (1, 5);
        strip->SetTrim (75, "  0dB");
        TypeInto (*strip->valueLabel, c.typed);

        if (c.position < 0)
            EXPECT_TRUE (recorder.calls.empty());
        else
            EXPECT_EQ (recorder.calls, (std::vector<StripCall> { { 'T', 5, c.position } }));

        // The strip shows the processor's text until the processor says otherwise.
        EXPECT_EQ (strip->valueLabel->getText(), "  0dB");
        EXPECT_EQ (strip->trimSlider->getValue(), 75.0);
        recorder.calls.clear();
    }
}

TEST_F (OutputChannelStripTest, SliderDragReportsAndSetTrimDoesNot)
{
    auto strip = MakeStrip (2, 3);
    strip->SetTrim (20, "-15dB");
    Drag (*strip->trimSlider, TrimSliderPoint (20), TrimSliderPoint (75));
    EXPECT_EQ (recorder.calls, (std::vector<StripCall> { { 'T', 3, 75 } }));

    recorder.calls.clear();
    strip->SetTrim (40, "-14dB");
    EXPECT_TRUE (recorder.calls.empty()) << "mirroring a value must not report it back";
    EXPECT_EQ (strip->trimSlider->getValue(), 40.0);
    EXPECT_EQ (strip->valueLabel->getText(), "-14dB");
}

TEST_F (OutputChannelStripTest, MuteLampStates)
{
    struct Case
    {
        bool mute, soloMute;
        bool lit, flashing;
    };
    const Case cases[] = {
        { false, true, true, true },    // silenced by another group's solo: blinks
        { true, true, true, false },    // muted itself: steady
        { true, false, true, false },
        { false, false, false, false },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (testing::Message() << "mute " << c.mute << ", solo-mute " << c.soloMute);
        auto strip = MakeStrip (1, 1);
        auto& m = *strip->muteButton;

        // Start from a blinking lamp caught with its caption hidden.
        m.flashing = true;
        m.DoFlash();
        ASSERT_FALSE (m.showText);

        strip->SetMuteStates (c.mute, c.soloMute);
        EXPECT_EQ (m.getToggleState(), c.lit);
        EXPECT_EQ (m.flashing, c.flashing);
        EXPECT_TRUE (m.showText) << "every new state starts with the caption shown";
        m.DoFlash();
        EXPECT_EQ (m.showText, ! c.flashing);
        EXPECT_TRUE (recorder.calls.empty());
    }
}

TEST_F (OutputChannelStripTest, ButtonsReportTheirNewState)
{
    auto strip = MakeStrip (2, 4);
    Click (*strip->muteButton);
    Click (*strip->muteButton);
    Click (*strip->soloButton);
    EXPECT_EQ (recorder.calls, (std::vector<StripCall> { { 'M', 4, 1 }, { 'M', 4, 0 }, { 'S', 4, 1 } }));

    // The B-format strip's buttons are hidden: clicks on them do nothing.
    recorder.calls.clear();
    auto bFormat = MakeStrip (4, 6);
    Click (*bFormat->muteButton);
    Click (*bFormat->soloButton);
    EXPECT_TRUE (recorder.calls.empty());
}

TEST_F (OutputChannelStripTest, WithoutOwnerTheSliderStillWorks)
{
    auto strip = MakeStrip (1, 2);
    strip->SetTrim (75, "  0dB");

    // No listener to reset through: Alt-click is the slider's own press, which
    // with Alt held drags finely and so does not jump to the mouse.
    Click (*strip->trimSlider, TrimSliderPoint (40), altLeftButton);
    EXPECT_TRUE (recorder.calls.empty());
    EXPECT_EQ (strip->trimSlider->getValue(), 75.0);

    Click (*strip->trimSlider, TrimSliderPoint (40));
    EXPECT_EQ (recorder.calls, (std::vector<StripCall> { { 'T', 2, 40 } }));
}

TEST_F (OutputChannelStripTest, PlateAndMeterRows)
{
    auto strip = MakeStrip (2, 0);
    strip->meter1->setValue (0.1f); // -20 dB: 0.6 of the 74 inner rows, 44 rows
    strip->meter2->setValue (1.0f); // 0 dB: all 74
    const auto image = qvtest::RenderComponent (*strip);

    // The light plate: white at alpha 0.2 over (1, 1, 54, 134).
    const juce::Colour plate (0x33FFFFFF);
    struct Probe
    {
        int x, y;
        bool onPlate;
    };
    const Probe plateProbes[] = { { 0, 60, false }, { 1, 60, true }, { 54, 60, true }, { 55, 60, false },
                                  { 3, 0, false },  { 3, 1, true },  { 3, 134, true }, { 3, 135, false } };
    for (const auto& p : plateProbes)
    {
        const auto pixel = qvtest::PixelAt (image, p.x, p.y);
        EXPECT_TRUE (qvtest::Near (pixel, p.onPlate ? plate : juce::Colours::transparentBlack, 2))
            << "(" << p.x << ", " << p.y << ") " << qvtest::Describe (pixel);
    }

    // Meters at x 6 and 16, y 25; their lit rows end one above the bottom row 100.
    const Probe meterProbes[] = { { 7, 55, false }, { 7, 56, true },  { 7, 99, true }, { 7, 100, false },
                                  { 17, 25, false }, { 17, 26, true }, { 17, 99, true } };
    for (const auto& p : meterProbes)
    {
        const auto pixel = qvtest::PixelAt (image, p.x, p.y);
        EXPECT_EQ (IsLit (pixel), p.onPlate) << "(" << p.x << ", " << p.y << ") " << qvtest::Describe (pixel);
    }
}
