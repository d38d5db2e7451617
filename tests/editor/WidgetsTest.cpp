// The shared widgets: glowing button, parameter slider, bar graph meter,
// panel header and the angle helpers.
#include "BargraphComponent.h"
#include "ComponentSnapshot.h"
#include "EditorTestFixture.h"
#include "GlowingButton.h"
#include "GuiTestEnvironment.h"
#include "PanelHeaderLabel.h"
#include "ParameterSlider.h"
#include "TrigUtils.h"

#include <cmath>
#include <limits>
#include <optional>

namespace
{
class WidgetsTest : public EditorTest
{
};

struct RecordingListener : ParameterSliderListener
{
    juce::String getTextFromValue (int id, double value) override
    {
        return "id " + juce::String (id) + " at " + juce::String (value, 2);
    }

    void resetToDefaultValue (int id) override { resets.add (id); }

    juce::Array<int> resets;
};

// A horizontal slider of 112 x 20 without text box, at 0.5.
void SetUpRowSlider (ParameterSlider& slider)
{
    slider.setSliderStyle (juce::Slider::LinearHorizontal);
    slider.setTextBoxStyle (juce::Slider::NoTextBox, true, 0, 0);
    slider.setRange (0.0, 1.0);
    slider.setSize (112, 20);
    slider.setValue (0.5, juce::dontSendNotification);
}

const auto plainPress = juce::ModifierKeys (juce::ModifierKeys::leftButtonModifier);
const auto altPress = juce::ModifierKeys (juce::ModifierKeys::altModifier | juce::ModifierKeys::leftButtonModifier);

// Mouse down at `from`, a drag to `to` when given, mouse up where it ended.
void Press (juce::Component& c, juce::ModifierKeys mods, juce::Point<float> from, std::optional<juce::Point<float>> to = {})
{
    c.mouseDown (qvtest::MakeMouseEvent (c, from, mods));

    if (to)
        c.mouseDrag (qvtest::MakeMouseEvent (c, *to, mods));

    c.mouseUp (qvtest::MakeMouseEvent (c, to.value_or (from), mods));
}
} // namespace

//==============================================================================
TEST_F (WidgetsTest, GlowingButtonTogglesBeforeListenersHear)
{
    struct ButtonCounter : juce::Button::Listener
    {
        void buttonClicked (juce::Button* b) override { ++clicks; stateWhenHeard = b->getToggleState(); }
        int clicks = 0;
        bool stateWhenHeard = false;
    } counter;
    GlowingButton button ("M", juce::Colours::darkorange);
    button.addListener (&counter);
    button.setSize (16, 13);
    EXPECT_TRUE (button.getClickingTogglesState());
    EXPECT_EQ (button.getName(), "M");
    EXPECT_TRUE (button.showText);
    EXPECT_FALSE (button.flashing);
    button.triggerClick();
    qvtest::PumpUntil ([&] { return counter.clicks != 0; }); // triggerClick is asynchronous
    EXPECT_EQ (counter.clicks, 1);
    EXPECT_TRUE (counter.stateWhenHeard) << "the listener must see the new state";
    button.removeListener (&counter);
}

TEST_F (WidgetsTest, GlowingButtonFlashing)
{
    GlowingButton button ("S", juce::Colours::lightgreen);
    button.DoFlash();
    EXPECT_TRUE (button.showText) << "a button that is not flashing keeps its caption";
    button.flashing = true;
    button.DoFlash();
    EXPECT_FALSE (button.showText);
    button.DoFlash();
    EXPECT_TRUE (button.showText) << "two steps restore the caption";
}

TEST_F (WidgetsTest, GlowingButtonPlateAndCaption)
{
    // On a mid-grey ground: the off plate is white at alpha 0.4, the caption black at 0.8.
    const juce::Colour ground (128, 128, 128);
    GlowingButton button ("INVERT", juce::Colours::orange);
    button.setSize (60, 20);
    auto render = [&] { return qvtest::RenderComponent (button, ground); };
    // Inside the rounded corners, where only plate and caption are.
    auto darkest = [] (const juce::Image& image) {
        float lowest = 1.0f;
        for (int y = 2; y < image.getHeight() - 2; ++y)
            for (int x = 2; x < image.getWidth() - 2; ++x)
                lowest = juce::jmin (lowest, image.getPixelAt (x, y).getBrightness());
        return lowest;
    };
    const auto off = render();
    const auto plateOff = qvtest::PixelAt (off, 2, 10);
    const auto expectedPlate = ground.interpolatedWith (juce::Colours::white, 0.4f);
    EXPECT_TRUE (qvtest::Near (plateOff, expectedPlate, 2)) << qvtest::Describe (plateOff);

    // Fully covered caption pixels: 0.2 of the plate's brightness; none darker.
    EXPECT_GT (darkest (off), 0.2f * expectedPlate.getBrightness() - 0.02f) << "caption drawn darker than alpha 0.8";
    EXPECT_LT (darkest (off), 0.5f * expectedPlate.getBrightness()) << "no caption drawn";
    button.showText = false;
    EXPECT_NEAR (darkest (render()), expectedPlate.getBrightness(), 0.02f) << "caption drawn while hidden";
    button.showText = true;
    button.setToggleState (true, juce::dontSendNotification);
    const auto on = render();
    qvtest::SavePng (on, "glowing-on");

    // Lit: the edge shows the lamp colour lightened a little by the glow, the
    // middle is whiter than the edge.
    const auto edge = qvtest::PixelAt (on, 1, 10);
    EXPECT_GT (edge.getRed(), 230);
    EXPECT_GT (edge.getRed(), edge.getBlue() + 80) << "edge " << qvtest::Describe (edge) << " should be orange";
    EXPECT_GT (qvtest::PixelAt (on, 30, 2).getBlue(), edge.getBlue()) << "the glow is brightest in the middle";
    EXPECT_LT (darkest (on), 0.3f) << "the lit caption is black";
}

//==============================================================================
TEST_F (WidgetsTest, TypedTextScaling)
{
    struct Case
    {
        const char* text;
        int divisor;
        bool centred, raw;
        double expected;
    };
    const Case cases[] = {
        { "-3", 100, false, false, (double) (-3.0f / 100.0f) },
        { "45", 90, true, false, 1.0 },
        { "0.25", 7, false, true, 0.25 },
        { "0.25", 7, true, true, 0.25 },
        { "30", 180, true, false, (double) (30.0f / 180.0f) + 0.5 },
        { "0.2", 1, true, false, (double) 0.2f + 0.5 },
        { "60", 180, false, false, (double) (60.0f / 180.0f) },
        { "12 dB", 100, false, false, (double) (12.0f / 100.0f) },
        { " +0.5", 1, false, false, 0.5 },
        // A zero divisor takes the number as typed.
        { "0.75", 0, false, false, 0.75 },
    };
    for (const auto& c : cases)
    {
        ParameterSlider slider (c.divisor, 1, c.centred, c.raw);
        const double value = slider.getValueFromText (c.text);
        EXPECT_EQ (value, c.expected) << "\"" << c.text << "\" divisor " << c.divisor << (c.centred ? " centred" : "")
                                      << (c.raw ? " raw" : "");
    }
}

TEST_F (WidgetsTest, TextWithoutANumberKeepsTheValue)
{
    // No number, NaN, infinities and numbers past the float range: the slider
    // answers the value it holds, whatever its scaling.
    const char* texts[] = { "", "abc", "dB 3", "-", "nan", "NaN", "inf", "-inf", "1e40", "-1e40" };
    for (const char* text : texts)
    {
        for (auto [centred, raw] : { std::pair { false, false }, std::pair { true, false }, std::pair { false, true } })
        {
            ParameterSlider slider (180, 1, centred, raw);
            slider.setRange (0.0, 1.0);
            slider.setValue (0.7, juce::dontSendNotification);
            EXPECT_EQ (slider.getValueFromText (text), 0.7) << "\"" << text << "\"" << (centred ? " centred" : "") << (raw ? " raw" : "");
        }
    }
}

TEST_F (WidgetsTest, TypedValuesStayInsideTheRange)
{
    // What a typed entry makes the slider write is always within 0..1.
    const char* entries[] = { "5", "-5", "1e30", "-1e30", "nan", "inf", "-inf", "90", "-90", "0.3" };
    for (bool centred : { false, true })
    {
        for (const char* entry : entries)
        {
            ParameterSlider slider (180, 2, centred, false);
            slider.setRange (0.0, 1.0, 1.0 / 90.0);
            slider.setTextBoxStyle (juce::Slider::TextBoxRight, false, 38, 18);
            slider.setValue (0.25, juce::dontSendNotification);
            auto* box = FindTextBox (slider);
            ASSERT_NE (box, nullptr);
            box->setText (entry, juce::sendNotificationSync);
            const double v = slider.getValue();
            EXPECT_TRUE (std::isfinite (v) && v >= 0.0 && v <= 1.0)
                << "\"" << entry << "\"" << (centred ? " centred" : "") << " wrote " << v;
        }
    }
}

TEST_F (WidgetsTest, TextComesFromTheListener)
{
    ParameterSlider slider (100, 7, false, true);
    slider.setRange (0.0, 1.0, 0.01);
    juce::Slider plainSlider;
    plainSlider.setRange (0.0, 1.0, 0.01);
    EXPECT_EQ (slider.getTextFromValue (0.25), plainSlider.getTextFromValue (0.25)) << "no listener: the slider's own text";
    EXPECT_EQ (slider.getTextFromValue (0.25), "0.25");
    RecordingListener listener;
    slider.listener = &listener;
    EXPECT_EQ (slider.getTextFromValue (0.5), "id 7 at 0.50");
    ParameterSliderListener defaults;
    slider.listener = &defaults;
    EXPECT_EQ (slider.getTextFromValue (0.5), "--");
    defaults.resetToDefaultValue (7); // default body: nothing to see, nothing to break
}

TEST_F (WidgetsTest, AltClickResetsInsteadOfPressing)
{
    struct DragCounter : juce::Slider::Listener
    {
        void sliderValueChanged (juce::Slider*) override {}
        void sliderDragStarted (juce::Slider*) override { ++starts; }
        int starts = 0;
    } drags;
    ParameterSlider slider (180, 6, false, false);
    SetUpRowSlider (slider);
    slider.addListener (&drags);
    RecordingListener listener;
    slider.listener = &listener;
    const juce::Point<float> nearRight { 100.0f, 10.0f };
    Press (slider, altPress, nearRight);
    EXPECT_EQ (listener.resets, juce::Array<int> ({ 6 }));
    EXPECT_EQ (drags.starts, 0) << "an Alt-click must not start a drag";
    EXPECT_EQ (slider.getValue(), 0.5) << "an Alt-click must not move the slider";

    // A plain press is the slider's: it jumps toward the click.
    Press (slider, plainPress, nearRight);
    EXPECT_EQ (listener.resets.size(), 1);
    EXPECT_EQ (drags.starts, 1);
    EXPECT_GT (slider.getValue(), 0.8);

    // Without a listener, Alt-click is an ordinary press (Alt makes it a fine drag).
    slider.listener = nullptr;
    Press (slider, altPress, nearRight);
    EXPECT_EQ (drags.starts, 2) << "without a listener the slider must take the press";
    EXPECT_EQ (listener.resets.size(), 1);
    slider.removeListener (&drags);
}

TEST_F (WidgetsTest, AltClickAfterADragMovesNothing)
{
    // A plain press leaves the slider ready for drag events; the reset press
    // that follows must not be dragged with that stale state.
    struct ChangeCounter : juce::Slider::Listener
    {
        void sliderValueChanged (juce::Slider*) override { ++changes; }
        void sliderDragEnded (juce::Slider*) override { ++ends; }
        int changes = 0, ends = 0;
    } counter;
    ParameterSlider slider (180, 3, true, false);
    SetUpRowSlider (slider);
    RecordingListener listener;
    slider.listener = &listener;
    Press (slider, plainPress, { 80.0f, 10.0f }, juce::Point<float> { 70.0f, 10.0f });
    const double afterDrag = slider.getValue();
    ASSERT_GT (afterDrag, 0.55) << "the plain drag did not move the slider";
    slider.addListener (&counter);
    Press (slider, altPress, { 20.0f, 10.0f }, juce::Point<float> { 22.0f, 10.0f });
    EXPECT_EQ (listener.resets, juce::Array<int> ({ 3 }));
    EXPECT_EQ (slider.getValue(), afterDrag) << "the reset press dragged the slider";
    EXPECT_EQ (counter.changes, 0) << "the reset press reported a value change";
    EXPECT_EQ (counter.ends, 0) << "the reset press ended a drag it never began";

    // The next plain press is the slider's again.
    Press (slider, plainPress, { 20.0f, 10.0f });
    EXPECT_LT (slider.getValue(), 0.3) << "a plain press after a reset must move the slider";
    slider.removeListener (&counter);
}

//==============================================================================
TEST (BargraphMath, DecibelScale)
{
    struct Case { float level; float expected; };
    const Case cases[] = { { 0.0f, 0.0f }, { 1.0f, 1.0f }, { 0.5f, 0.8795880f }, { 0.1f, 0.6f },
                           { 0.001f, 0.0f }, { 0.00316228f, 0.0f }, { -0.5f, 0.0f },
                           { std::numeric_limits<float>::quiet_NaN(), 0.0f } };
    for (const auto& c : cases)
        EXPECT_NEAR (BargraphComponent::dBConvert (c.level), c.expected, 1e-6f) << "level " << c.level;
}

TEST (BargraphMath, SetValueClampsAndTreatsNaNAsSilence)
{
    BargraphComponent meter;
    EXPECT_EQ (meter.getName(), "bargraph");
    EXPECT_EQ (meter.level, 0.0f);
    struct Case { float value; float level; };
    const Case cases[] = { { -0.2f, 0.0f }, { 2.0f, 1.0f }, { 1.0f, 1.0f }, { 0.1f, 0.6f },
                           { std::numeric_limits<float>::quiet_NaN(), 0.0f },
                           { std::numeric_limits<float>::infinity(), 1.0f } };
    for (const auto& c : cases)
    {
        meter.setValue (c.value);
        EXPECT_NEAR (meter.level, c.level, 1e-6f) << "setValue (" << c.value << ")";
    }
}

TEST_F (WidgetsTest, VerticalMeterFillsRowsFromTheBottom)
{
    BargraphComponent meter;
    meter.setSize (6, 76);
    auto litRows = [&] (float level) {
        meter.level = level;
        const auto image = qvtest::RenderComponent (meter);
        juce::Array<int> rows;
        for (int y = 0; y < 76; ++y)
        {
            const auto p = image.getPixelAt (2, y);
            if (p.getRed() > 100 || p.getGreen() > 100)
                rows.add (y);
        }
        return rows;
    };

    // ih = 74: level 0.5 lights 37 rows, from row 38 down to the bottom inner edge at row 74.
    const auto half = litRows (0.5f);
    ASSERT_EQ (half.size(), 37);
    EXPECT_EQ (half.getFirst(), 38);
    EXPECT_EQ (half.getLast(), 74);
    EXPECT_EQ (litRows (1.0f).size(), 74);
    EXPECT_EQ (litRows (0.0f).size(), 0);
    EXPECT_EQ (litRows (std::numeric_limits<float>::quiet_NaN()).size(), 0) << "a NaN level draws as 0";
    EXPECT_EQ (litRows (7.0f).size(), 74) << "an out-of-range level draws as full";
    meter.level = 1.0f;
    const auto full = qvtest::RenderComponent (meter);
    qvtest::SavePng (full, "meter-full");

    // Dark ground everywhere but the last column; lit inner columns 1 to 3.
    const auto dark = juce::Colours::black.brighter (0.15f);
    EXPECT_TRUE (qvtest::Near (full.getPixelAt (0, 40), dark));
    EXPECT_TRUE (qvtest::Near (full.getPixelAt (4, 40), dark));
    EXPECT_EQ (full.getPixelAt (5, 40).getAlpha(), 0) << "the last column stays unpainted";
    EXPECT_TRUE (qvtest::Near (full.getPixelAt (2, 0), dark));
    EXPECT_TRUE (qvtest::Near (full.getPixelAt (2, 75), dark));

    // Red at the top, yellow near a fifth down, green at the bottom.
    const auto top = full.getPixelAt (2, 1), fifth = full.getPixelAt (2, 1 + 15), bottom = full.getPixelAt (2, 74);
    EXPECT_GT (top.getRed(), 200);
    EXPECT_LT (top.getGreen(), 120);
    EXPECT_GT (fifth.getRed(), 200);
    EXPECT_GT (fifth.getGreen(), 200);
    EXPECT_GT (bottom.getGreen(), bottom.getRed() + 60) << qvtest::Describe (bottom);
}

TEST_F (WidgetsTest, HorizontalAndTinyMeters)
{
    BargraphComponent meter;
    meter.setSize (76, 6);
    meter.level = 0.5f;
    const auto image = qvtest::RenderComponent (meter);

    // iw = 73: half lights columns 1 to 36.
    int lit = 0;
    for (int x = 0; x < 76; ++x)
        lit += image.getPixelAt (x, 3).getGreen() > 100 ? 1 : 0;
    EXPECT_EQ (lit, 36);
    EXPECT_GT (image.getPixelAt (1, 3).getGreen(), image.getPixelAt (1, 3).getRed()) << "green at the left";
    for (int h : { 0, 1, 2 })
    {
        BargraphComponent tiny;
        tiny.setSize (6, h);
        tiny.level = 1.0f;
        const auto img = qvtest::RenderWith (6, 3, [&] (juce::Graphics& g) { tiny.paint (g); });
        EXPECT_EQ (qvtest::CountPixels (img, [] (juce::Colour p) { return p.getRed() > 100 || p.getGreen() > 100; }), 0)
            << "a meter " << h << " pixels high lit something";
    }
}

//==============================================================================
TEST_F (WidgetsTest, PanelHeaderDrawsLightGreyFromEightPixelsIn)
{
    PanelHeaderLabel header ("OUTPUT", QVLookAndFeel::GetUIFont (QVLookAndFeel::titleFontSize, juce::Font::bold));
    header.setSize (300, 20);
    EXPECT_EQ (header.text, "OUTPUT");
    EXPECT_FLOAT_EQ (header.font.getHeight(), 15.5f);
    const auto image = qvtest::RenderComponent (header);
    qvtest::SavePng (image, "panel-header");
    const auto ink = qvtest::BoundsOfPixels (image, [] (juce::Colour p) { return p.getAlpha() > 0; });
    ASSERT_FALSE (ink.isEmpty());
    EXPECT_GE (ink.getX(), 8);
    EXPECT_LE (ink.getX(), 10);
    EXPECT_LE (ink.getRight(), 8 + (int) std::ceil (header.font.getStringWidth ("OUTPUT")) + 1);
    EXPECT_NEAR (ink.getCentreY(), 10, 2) << "vertically centred";
    const auto solid = qvtest::BoundsOfPixels (image, [] (juce::Colour p) { return p.getAlpha() == 255; });
    ASSERT_FALSE (solid.isEmpty());
    EXPECT_TRUE (qvtest::Near (image.getPixelAt (solid.getX(), solid.getY()).withAlpha ((juce::uint8) 255),
                               juce::Colours::lightgrey, 1));
}

//==============================================================================
TEST (TrigUtilsTest, DistanceBetweenRadians)
{
    constexpr float pi = juce::MathConstants<float>::pi;
    struct Case { float a, b, expected; };
    const Case cases[] = { { 0.1f, 6.2f, 0.1831856f }, { 6.2f, 0.1f, 0.1831856f }, { 0.0f, pi, pi },
                           { 1.0f, 1.0f, 0.0f }, { 0.0f, 3.0f * pi / 2.0f, pi / 2.0f }, { -1.0f, 1.0f, 2.0f },
                           { 0.0f, 5.0f * pi, pi } };
    for (const auto& c : cases)
        EXPECT_NEAR (TrigUtils::DistanceBetweenRadians (c.a, c.b), c.expected, 1e-6f) << c.a << " to " << c.b;
}

TEST (TrigUtilsTest, PointToAngleClockwiseFromUp)
{
    constexpr float pi = juce::MathConstants<float>::pi;
    const juce::Point<float> centre { 50.0f, 50.0f };
    struct Case { juce::Point<float> point; float expected; };
    const Case cases[] = { { { 50.0f, 10.0f }, 0.0f }, { { 90.0f, 50.0f }, pi / 2.0f }, { { 50.0f, 90.0f }, pi },
                           { { 10.0f, 50.0f }, 3.0f * pi / 2.0f }, { { 90.0f, 10.0f }, pi / 4.0f },
                           { centre, pi } };
    for (const auto& c : cases)
        EXPECT_NEAR (TrigUtils::PointToAngle (c.point, centre), c.expected, 1e-6f) << c.point.toString();
    EXPECT_EQ (TrigUtils::PointToAngle ({ std::numeric_limits<float>::quiet_NaN(), 0.0f }, centre), 0.0f)
        << "a NaN point must give a defined angle";
}
