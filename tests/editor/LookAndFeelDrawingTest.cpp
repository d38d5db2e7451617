// The look and feel's drawing overrides, checked on rendered pixels.
#include "ComponentSnapshot.h"
#include "EditorTestFixture.h"
#include "ParameterSlider.h"

namespace
{
class DrawingTest : public EditorTest
{
};

// Transparent background, so every painted pixel shows.
const juce::Colour none = juce::Colours::transparentBlack;
} // namespace

TEST_F (DrawingTest, DownArrowShape)
{
    const auto arrow = GetDownArrowShape (8.0f, 4.0f);
    EXPECT_EQ (arrow.getBounds(), juce::Rectangle<float> (0.0f, 0.0f, 8.0f, 4.0f));
    EXPECT_TRUE (arrow.contains (4.0f, 1.0f));
    EXPECT_FALSE (arrow.contains (1.0f, 3.0f)) << "the triangle narrows to its lower tip";
}

TEST_F (DrawingTest, ComboArrowBox)
{
    // Arrow box: x = width - 3 - height / 2 (+1 below 35 wide), y = (height - height / 3) / 2,
    // height / 2 wide and height / 3 high. A disabled box draws no arrow.
    struct Case { int width, height; bool enabled; juce::Rectangle<int> arrowBox; };
    const Case cases[] = { { 80, 14, true, { 70, 5, 7, 4 } },
                           { 30, 14, true, { 21, 5, 7, 4 } },
                           { 35, 14, true, { 25, 5, 7, 4 } },
                           { 120, 24, true, { 105, 8, 12, 8 } },
                           { 80, 14, false, {} } };
    for (const auto& c : cases)
    {
        juce::ComboBox box;
        box.setSize (c.width, c.height);
        box.setEnabled (c.enabled);
        EXPECT_EQ (box.findColour (juce::ComboBox::arrowColourId).getARGB(), 0xFFDDDDDDu);
        const auto image = qvtest::RenderWith (c.width, c.height, [&] (juce::Graphics& g) {
            lnf.drawComboBox (g, c.width, c.height, false, 0, 0, 0, 0, box);
        }, none);
        const auto name = juce::String (c.width) + "x" + juce::String (c.height) + (c.enabled ? "" : " disabled");
        qvtest::SavePng (image, "combo-" + name.replace (" ", "-"));

        // Arrow pixels are lighter than the translucent black plate.
        const auto arrowPixels = qvtest::BoundsOfPixels (image, [] (juce::Colour p) { return p.getRed() > 60; });
        if (! c.enabled)
        {
            EXPECT_TRUE (arrowPixels.isEmpty()) << name << ": arrow drawn at " << arrowPixels.toString();
            continue;
        }
        EXPECT_FALSE (arrowPixels.isEmpty()) << name << ": no arrow drawn";
        EXPECT_TRUE (c.arrowBox.contains (arrowPixels)) << name << ": arrow at " << arrowPixels.toString() << ", box " << c.arrowBox.toString();
        // Centred in its box, to within a pixel.
        EXPECT_NEAR (arrowPixels.toFloat().getCentreX(), c.arrowBox.toFloat().getCentreX(), 1.0f) << name;

        // The plate is the combo background, rounded.
        EXPECT_TRUE (qvtest::Near (qvtest::PixelAt (image, 5, c.height / 2), juce::Colour (0x55000000)))
            << name << ": plate " << qvtest::Describe (qvtest::PixelAt (image, 5, c.height / 2));
        EXPECT_LT (qvtest::PixelAt (image, 0, 0).getAlpha(), 0x55) << name << ": corner not rounded";
    }
}

TEST_F (DrawingTest, ComboTextBoxIsCentredInThirteenPixelRoboto)
{
    juce::ComboBox box;
    box.setLookAndFeel (&lnf);
    box.setSize (80, 16);
    box.addItem ("5.1", 1);
    box.setSelectedId (1, juce::dontSendNotification);
    auto* label = FindTextBox (box);
    ASSERT_NE (label, nullptr);
    EXPECT_EQ (label->getJustificationType(), juce::Justification::centred);
    EXPECT_FLOAT_EQ (label->getFont().getHeight(), 13.0f);
    EXPECT_EQ (label->getFont().getTypefaceName(), "Roboto");
    box.setLookAndFeel (nullptr);
}

TEST_F (DrawingTest, LabelTextAlphaFollowsEnablement)
{
    // A large glyph has fully covered pixels, whose alpha is the text's.
    juce::Label label ({}, "HH");
    label.setSize (80, 50);
    label.setFont (QVLookAndFeel::GetUIFont (40.0f, juce::Font::bold));
    label.setColour (juce::Label::backgroundColourId, none);
    label.setColour (juce::Label::textColourId, juce::Colours::white);
    auto maxAlpha = [&] {
        const auto image = qvtest::RenderWith (80, 50, [&] (juce::Graphics& g) { lnf.drawLabel (g, label); }, none);
        int best = 0;
        for (int y = 0; y < 50; ++y)
            for (int x = 0; x < 80; ++x)
                best = juce::jmax (best, (int) image.getPixelAt (x, y).getAlpha());
        return best;
    };
    EXPECT_EQ (maxAlpha(), 255);
    label.setEnabled (false);
    EXPECT_NEAR (maxAlpha(), juce::roundToInt (0.8f * 255.0f), 1) << "disabled labels draw at 0.8 of their alpha";
}

TEST_F (DrawingTest, LabelBeingEditedDrawsOnlyItsBackground)
{
    juce::Component parent;
    parent.setSize (100, 40);
    juce::Label label ({}, "12.5");
    parent.addAndMakeVisible (label);
    label.setBounds (0, 0, 60, 20);
    label.setColour (juce::Label::backgroundColourId, juce::Colours::blue);
    label.setColour (juce::Label::textColourId, juce::Colours::white);
    label.setEditable (true);
    label.showEditor();
    ASSERT_TRUE (label.isBeingEdited());
    const auto image = qvtest::RenderWith (60, 20, [&] (juce::Graphics& g) { lnf.drawLabel (g, label); }, none);
    EXPECT_EQ (qvtest::CountPixels (image, [] (juce::Colour p) { return p.getRed() > 0 || p.getGreen() > 0; }), 0)
        << "text was drawn under the editor";
    EXPECT_TRUE (qvtest::Near (qvtest::PixelAt (image, 30, 10), juce::Colours::blue));
    EXPECT_LT (qvtest::PixelAt (image, 0, 0).getAlpha(), 255) << "background corners are rounded";

    // Painting a label also gives its editor white text.
    EXPECT_EQ (label.findColour (juce::TextEditor::textColourId), juce::Colours::white);
    label.hideEditor (true);
}

TEST_F (DrawingTest, TextEditorBackgroundRoundedAndNoOutline)
{
    juce::TextEditor editor;
    editor.setSize (40, 20);
    editor.setColour (juce::TextEditor::backgroundColourId, juce::Colours::red);
    const auto image = qvtest::RenderWith (40, 20, [&] (juce::Graphics& g) {
        lnf.fillTextEditorBackground (g, 40, 20, editor);
        lnf.drawTextEditorOutline (g, 40, 20, editor);
    }, none);
    EXPECT_TRUE (qvtest::Near (qvtest::PixelAt (image, 20, 10), juce::Colours::red));
    EXPECT_TRUE (qvtest::Near (qvtest::PixelAt (image, 20, 0), juce::Colours::red)) << "no outline along the edge";
    EXPECT_LT (qvtest::PixelAt (image, 0, 0).getAlpha(), 255);
}

TEST_F (DrawingTest, TrimSliderScaleLines)
{
    // Track area y = 10, height 80, value 0 at maxSliderPos = 90: one scale step is 80 / 41.
    ParameterSlider slider (100, 0, false, false);
    slider.setSliderStyle (juce::Slider::LinearVertical);
    slider.setSize (24, 100);
    const int x = 0, y = 10, width = 24, height = 80;
    const float maxPos = 90.0f;
    const auto image = qvtest::RenderWith (24, 100, [&] (juce::Graphics& g) {
        lnf.drawLinearSliderBackground (g, x, y, width, height, maxPos, 0.0f, maxPos, juce::Slider::LinearVertical, slider);
    }, none);
    qvtest::SavePng (image, "trim-scale");
    const float step = (maxPos - (float) y) / 41.0f;
    auto rowOf = [&] (float steps) { return (int) ((float) y + steps * step); };

    // Right of the groove (which covers x 9 to 14), short lines reach x = 19, the 0 dB line x = 21.
    const int shortLineRows[] = { rowOf (5), rowOf (15), rowOf (20), rowOf (25), rowOf (30), rowOf (35) };
    const int zeroDbRow = rowOf (10);
    auto lit = [&] (int px, int py) { return qvtest::PixelAt (image, px, py).getAlpha() > 0; };
    for (int row : shortLineRows)
    {
        EXPECT_TRUE (lit (16, row) && lit (19, row)) << "scale line missing at row " << row;
        EXPECT_FALSE (lit (20, row)) << "short line too long at row " << row;
    }
    EXPECT_TRUE (lit (16, zeroDbRow) && lit (21, zeroDbRow)) << "0 dB line at row " << zeroDbRow;
    EXPECT_FALSE (lit (22, zeroDbRow));
    EXPECT_EQ (zeroDbRow, 29) << "0 dB lies 10 steps below the top";

    // No line at -30 dB: it would fall within five steps of the bottom.
    EXPECT_FALSE (lit (17, rowOf (40)));

    // Scale lines are white at alpha 0.4.
    EXPECT_NEAR (qvtest::PixelAt (image, 17, zeroDbRow).getAlpha(), juce::roundToInt (0.4f * 255.0f), 1);

    // Exactly seven rows carry scale marks right of the groove.
    int rowsWithMarks = 0;
    for (int row = 0; row < 100; ++row)
        rowsWithMarks += lit (17, row) ? 1 : 0;
    EXPECT_EQ (rowsWithMarks, 7);
}

TEST_F (DrawingTest, TrimSliderTrackRunsFromThumbToValueZero)
{
    ParameterSlider slider (100, 0, false, false);
    slider.setSliderStyle (juce::Slider::LinearVertical);
    slider.setColour (juce::Slider::trackColourId, juce::Colours::red);
    const auto image = qvtest::RenderWith (24, 100, [&] (juce::Graphics& g) {
        lnf.drawLinearSliderBackground (g, 0, 10, 24, 80, 50.0f, 0.0f, 90.0f, juce::Slider::LinearVertical, slider);
    }, none);
    auto isTrack = [] (juce::Colour p) { return p.getRed() > 150 && p.getGreen() < 100; };
    const auto track = qvtest::BoundsOfPixels (image, isTrack);
    EXPECT_EQ (track.getY(), 50) << track.toString();
    EXPECT_EQ (track.getBottom(), 89) << "down to the groove's bottom outline, " << track.toString();
    EXPECT_EQ (track.getX(), 10) << "inside the groove's outline, " << track.toString();
    EXPECT_EQ (track.getRight(), 14) << track.toString();
}

TEST_F (DrawingTest, CentredHorizontalTrackGrowsFromTheMiddle)
{
    ParameterSlider centred (180, 2, true, false);
    ParameterSlider plain (180, 6, false, false);
    for (auto* s : { &centred, &plain })
        s->setColour (juce::Slider::trackColourId, juce::Colours::red);
    auto trackOf = [&] (ParameterSlider& s, float pos) {
        const auto image = qvtest::RenderWith (100, 20, [&] (juce::Graphics& g) {
            lnf.drawLinearSliderBackground (g, 0, 0, 100, 20, pos, 0.0f, 0.0f, juce::Slider::LinearHorizontal, s);
        }, none);
        return qvtest::BoundsOfPixels (image, [] (juce::Colour p) { return p.getRed() > 150 && p.getGreen() < 100; });
    };
    EXPECT_TRUE (trackOf (centred, 50.0f).isEmpty()) << "a centred slider at its middle draws no track";
    const auto atMin = trackOf (centred, 0.0f);
    EXPECT_EQ (atMin.getX(), 1) << atMin.toString();
    EXPECT_EQ (atMin.getRight(), 50) << "track runs from the thumb to the middle, " << atMin.toString();
    const auto atMax = trackOf (centred, 100.0f);
    EXPECT_EQ (atMax.getX(), 50) << atMax.toString();
    EXPECT_EQ (atMax.getRight(), 99) << atMax.toString();
    const auto uncentred = trackOf (plain, 30.0f);
    EXPECT_EQ (uncentred.getX(), 1) << uncentred.toString();
    EXPECT_EQ (uncentred.getRight(), 30) << uncentred.toString();

    // Groove rows: (y + height) / 2 - 3, six high, inside a one pixel outline.
    EXPECT_EQ (atMin.getY(), 8) << atMin.toString();
    EXPECT_EQ (atMin.getBottom(), 12) << atMin.toString();
}

TEST_F (DrawingTest, RotaryKnobValueRing)
{
    constexpr float twoPi = juce::MathConstants<float>::twoPi;
    constexpr float pi = juce::MathConstants<float>::pi;
    juce::Slider knob (juce::Slider::Rotary, juce::Slider::NoTextBox);
    knob.setRange (0.0, 1.0);
    knob.setColour (juce::Slider::trackColourId, juce::Colours::blue);
    knob.setColour (juce::Slider::rotarySliderFillColourId, juce::Colours::red);
    auto render = [&] (float pos, float start, float end) {
        return qvtest::RenderWith (60, 60, [&] (juce::Graphics& g) { lnf.drawRotarySlider (g, 0, 0, 60, 60, pos, start, end, knob); }, none);
    };

    // R = 31, ring radius 26 with its inner edge at 0.7: sample the ring's middle.
    auto ringPixel = [] (const juce::Image& image, float angle) {
        const auto p = juce::Point<float> (30.0f, 30.0f).getPointOnCircumference (21.5f, angle);
        return qvtest::PixelAt (image, juce::roundToInt (p.x), juce::roundToInt (p.y));
    };
    auto isFill = [] (juce::Colour p) { return p.getRed() > 200 && p.getBlue() < 60; };
    auto isTrack = [] (juce::Colour p) { return p.getBlue() > 200 && p.getRed() < 60; };

    // Endless knob: a 0.2 radian wedge around the angle, 2 pi + pi / 2 (pointing right).
    const auto endless = render (0.25f, twoPi, 2.0f * twoPi);
    qvtest::SavePng (endless, "rotary-endless");
    EXPECT_TRUE (isFill (ringPixel (endless, pi / 2.0f))) << qvtest::Describe (ringPixel (endless, pi / 2.0f));
    EXPECT_TRUE (isTrack (ringPixel (endless, pi / 2.0f + 0.4f))) << "wedge too wide";
    EXPECT_TRUE (isTrack (ringPixel (endless, pi))) << "an endless knob shows no growing arc";

    // Bounded knob: the arc grows from the start angle.
    const float start = 1.25f * pi, end = 2.75f * pi;
    const auto bounded = render (0.5f, start, end);
    qvtest::SavePng (bounded, "rotary-bounded");
    EXPECT_TRUE (isFill (ringPixel (bounded, start + 0.2f)));
    EXPECT_TRUE (isFill (ringPixel (bounded, 2.0f * pi - 0.2f)));
    EXPECT_TRUE (isTrack (ringPixel (bounded, 2.0f * pi + 0.4f)));

    // Pointer: thumb colour (black) on the dial toward the angle.
    const auto up = juce::Point<float> (30.0f, 30.0f).getPointOnCircumference (7.0f, 0.0f);
    const auto pointerImage = render (0.0f, 0.0f, twoPi * 0.75f);
    const auto pixel = qvtest::PixelAt (pointerImage, juce::roundToInt (up.x), juce::roundToInt (up.y));
    EXPECT_LT (pixel.getBrightness(), 0.2f) << "pointer at 12 o'clock expected, found " << qvtest::Describe (pixel);
}

TEST_F (DrawingTest, ScrollbarTrackAndThumb)
{
    juce::ScrollBar bar (true);
    const auto image = qvtest::RenderWith (10, 100, [&] (juce::Graphics& g) {
        lnf.drawScrollbar (g, bar, 0, 0, 10, 100, true, 20, 30, false, false);
    }, none);
    EXPECT_TRUE (qvtest::Near (qvtest::PixelAt (image, 5, 10), juce::Colour (40, 40, 40)));
    EXPECT_TRUE (qvtest::Near (qvtest::PixelAt (image, 0, 35), juce::Colour (40, 40, 40))) << "edge line";

    // Vertical bar: the thumb's gradient runs across its width, light on the left.
    const auto left = qvtest::PixelAt (image, 2, 35), right = qvtest::PixelAt (image, 7, 35);
    EXPECT_GT (left.getRed(), right.getRed());
    EXPECT_GT (right.getRed(), 120);
    EXPECT_EQ (left.getRed(), left.getBlue()) << "the thumb is grey";
}

TEST_F (DrawingTest, SliderTextBoxStyleAndReadOnlyHosts)
{
    for (int type : { 0, 4, 13, 14, 16, 19, 20, 24 })
    {
        HostType::SetHostTypeForTesting ((HostType::Type) type);
        const bool readOnly = IsReadOnlyHostType (type);
        ParameterSlider slider (180, 2, true, false);
        slider.setLookAndFeel (&lnf);
        slider.setRange (0.0, 1.0);
        slider.setTextBoxStyle (juce::Slider::TextBoxRight, false, 38, 18);
        auto* box = FindTextBox (slider);
        ASSERT_NE (box, nullptr);
        EXPECT_EQ (box->isEditable(), ! readOnly) << "host type " << type;
        EXPECT_EQ (slider.isTextBoxEditable(), ! readOnly) << "host type " << type;
        EXPECT_EQ (box->findColour (juce::Label::textColourId), juce::Colours::white);
        EXPECT_EQ (box->findColour (juce::TextEditor::backgroundColourId), juce::Colours::red.withAlpha (0.4f));
        EXPECT_FLOAT_EQ (box->getFont().getHeight(), 14.5f);

        // A change of look and feel makes a new text box: it stays read-only.
        slider.sendLookAndFeelChange();
        box = FindTextBox (slider);
        ASSERT_NE (box, nullptr);
        EXPECT_EQ (box->isEditable(), ! readOnly) << "host type " << type << " after a look-and-feel change";
        slider.setLookAndFeel (nullptr);
    }
}
