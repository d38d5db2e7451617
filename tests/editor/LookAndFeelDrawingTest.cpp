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

//==============================================================================
// The overrides that no editor component reaches, drawn on their own.

TEST_F (DrawingTest, ProgressBarOnThePanelBackground)
{
    double progress = 0.4;
    juce::ProgressBar bar (progress);
    const auto image = qvtest::RenderWith (100, 16, [&] (juce::Graphics& g) {
        lnf.drawProgressBar (g, bar, 100, 16, 0.4, {});
    }, none);
    qvtest::SavePng (image, "progress-bar");

    // Col_BackgroundColour, ARGB 0xFF28313B, wherever the progress is not drawn.
    for (auto p : { juce::Point<int> (99, 0), juce::Point<int> (99, 15), juce::Point<int> (80, 8), juce::Point<int> (60, 2) })
        EXPECT_EQ (qvtest::PixelAt (image, p.x, p.y).getARGB(), 0xFF28313Bu)
            << "background at " << p.toString() << ": " << qvtest::Describe (qvtest::PixelAt (image, p.x, p.y));

    // The progress, 0.4 of the inner width, in the bar's colour 0xFFAAAAEE: bluish.
    const auto lit = qvtest::BoundsOfPixels (image, [] (juce::Colour p) { return p.getBlue() > p.getRed() + 20; });
    EXPECT_LE (lit.getX(), 2) << lit.toString();
    EXPECT_NEAR (lit.getRight(), 1 + 0.4 * 98, 2.0) << "progress of 0.4 ends at " << lit.toString();
    const auto inside = qvtest::PixelAt (image, 20, 8);
    EXPECT_GT (inside.getBlue(), 0xAA) << qvtest::Describe (inside);
}

TEST_F (DrawingTest, ToggleButtonLampIsLitGreenOnlyWhenOn)
{
    auto isLamp = [] (juce::Colour p) { return p.getARGB() == 0xFF42FF00u; };
    auto isRed = [] (juce::Colour p) { return p.getARGB() == 0xFFFF0000u; };
    auto isText = [] (juce::Colour p) { return p.getAlpha() > 200 && p.getRed() > 200 && p.getGreen() > 200 && p.getBlue() > 200; };

    const struct { const char* name; bool on; int minLamp, maxLamp; bool red; } cases[] = {
        { "toggle", true, 16, 1000, false },
        { "toggle", false, 0, 0, false },
        { "ALERT", true, 0, 0, true },
    };
    for (const auto& c : cases)
    {
        juce::ToggleButton button (c.name);
        button.setButtonText (c.name);
        button.setSize (90, 20);
        button.setToggleState (c.on, juce::dontSendNotification);
        const auto image = qvtest::RenderWith (90, 20, [&] (juce::Graphics& g) { lnf.drawToggleButton (g, button, false, false); }, none);
        const juce::String what = juce::String (c.name) + (c.on ? " on" : " off");
        qvtest::SavePng (image, "toggle-" + what.replace (" ", "-"));

        const int lamp = qvtest::CountPixels (image, isLamp);
        EXPECT_GE (lamp, c.minLamp) << what << ": lit pixels of ARGB 0xFF42FF00";
        EXPECT_LE (lamp, c.maxLamp) << what << ": lit pixels of ARGB 0xFF42FF00";
        EXPECT_EQ (qvtest::CountPixels (image, isRed) > 0, c.red) << what << ": red frame of the warning style";
        EXPECT_GT (qvtest::CountPixels (image, { 20, 0, 70, 20 }, isText), 10) << what << ": the text in ToggleButton::textColourId, white";
    }
}

TEST_F (DrawingTest, TableHeaderBackgroundAndColumn)
{
    juce::TableHeaderComponent header;
    header.setSize (200, 60);

    const auto background = qvtest::RenderWith (200, 60, [&] (juce::Graphics& g) { lnf.drawTableHeaderBackground (g, header); }, none);
    EXPECT_EQ (qvtest::CountPixels (background, [] (juce::Colour p) { return p.getARGB() != 0xFF4A5564u; }), 0)
        << "the header is filled with ARGB 0xFF4A5564, found " << qvtest::Describe (qvtest::PixelAt (background, 0, 0));

    // A column 60 high: its name in a font of half that height, in ARGB 0x99000000.
    auto column = [&] (int flags) {
        return qvtest::RenderWith (200, 60, [&] (juce::Graphics& g) {
            lnf.drawTableHeaderColumn (g, header, "HH", 1, 200, 60, false, false, flags);
        }, none);
    };
    const auto sorted = column (juce::TableHeaderComponent::sortedForwards);
    const auto unsorted = column (0);
    qvtest::SavePng (sorted, "table-header-column");

    int maxAlpha = 0;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 200; ++x)
        {
            const auto p = sorted.getPixelAt (x, y);
            maxAlpha = juce::jmax (maxAlpha, (int) p.getAlpha());
            if (p.getAlpha() > 0)
                ASSERT_EQ (p.getRed() + p.getGreen() + p.getBlue(), 0) << "column ink is black, at " << x << "," << y;
        }
    EXPECT_NEAR (maxAlpha, 0x99, 1) << "column ink alpha";

    // The ink height of an "H" of a 30 pixel font: its outline's height.
    juce::GlyphArrangement reference;
    reference.addLineOfText (QVLookAndFeel::GetUIFont (30.0f, juce::Font::bold), "H", 0.0f, 0.0f);
    juce::Path outline;
    reference.createPath (outline);
    const float capHeight = outline.getBounds().getHeight();
    const auto text = qvtest::BoundsOfPixels (unsorted, [] (juce::Colour p) { return p.getAlpha() > 0; });
    EXPECT_NEAR ((float) text.getHeight(), capHeight, 1.5f) << "name drawn at 0.5 of the column height: ink " << text.toString();
    EXPECT_LT (text.getX(), 10) << "name on the left, " << text.toString();

    // The sort triangle sits at the right end, only when the column is sorted.
    const juce::Rectangle<int> right (150, 0, 50, 60);
    auto inked = [] (juce::Colour p) { return p.getAlpha() > 0; };
    EXPECT_GT (qvtest::CountPixels (sorted, right, inked), 20) << "sort triangle";
    EXPECT_EQ (qvtest::CountPixels (unsorted, right, inked), 0) << "no triangle on an unsorted column";
}

TEST_F (DrawingTest, TitleBarInTheWindowColourWithContrastingTitle)
{
    const struct { juce::uint32 background, title; } cases[] = { { 0xFF28313B, 0xFFFFFFFF }, { 0xFFEEEEEE, 0xFF000000 } };
    for (const auto& c : cases)
    {
        juce::DocumentWindow window ("Quorvane2", juce::Colour (c.background), 0, false);
        const auto image = qvtest::RenderWith (200, 24, [&] (juce::Graphics& g) {
            lnf.drawDocumentWindowTitleBar (window, g, 200, 24, 0, 200, nullptr, true);
        }, none);
        qvtest::SavePng (image, "title-bar-" + juce::String::toHexString ((int) c.background));

        EXPECT_EQ (qvtest::PixelAt (image, 199, 0).getARGB(), c.background) << "title bar background";
        EXPECT_EQ (qvtest::PixelAt (image, 199, 23).getARGB(), c.background) << "title bar background";

        // The pixel furthest from the background is the title's colour.
        juce::Colour furthest (c.background);
        int distance = 0;
        for (int y = 0; y < 24; ++y)
            for (int x = 0; x < 200; ++x)
            {
                const auto p = image.getPixelAt (x, y);
                const int d = std::abs ((int) p.getRed() - (int) juce::Colour (c.background).getRed());
                if (d > distance)
                {
                    distance = d;
                    furthest = p;
                }
            }
        EXPECT_TRUE (qvtest::Near (furthest, juce::Colour (c.title), 3))
            << "title in the contrasting colour, found " << qvtest::Describe (furthest);
        EXPECT_LT (qvtest::BoundsOfPixels (image, [&] (juce::Colour p) { return p.getARGB() != c.background; }).getX(), 10)
            << "title on the left";
    }
}

TEST_F (DrawingTest, ScrollbarButtonOnDarkGrey)
{
    juce::ScrollBar bar (true);
    for (int direction = 0; direction < 4; ++direction)
    {
        const auto image = qvtest::RenderWith (14, 14, [&] (juce::Graphics& g) {
            lnf.drawScrollbarButton (g, bar, 14, 14, direction, true, false, false);
        }, none);
        for (auto p : { juce::Point<int> (0, 0), juce::Point<int> (13, 0), juce::Point<int> (0, 13), juce::Point<int> (13, 13) })
            EXPECT_EQ (qvtest::PixelAt (image, p.x, p.y).getARGB(), juce::Colour (40, 40, 40).getARGB())
                << "direction " << direction << ", corner " << p.toString();
        // The arrow in ScrollBar::thumbColourId, white, over the middle.
        EXPECT_GT (qvtest::PixelAt (image, 7, 7).getBrightness(), 0.8f) << "direction " << direction << ": no arrow";
    }
}

TEST_F (DrawingTest, ButtonBackgroundFillsTheBoundsRounded)
{
    juce::TextButton button ("b");
    button.setSize (40, 20);
    const juce::Colour colour (0xFF336699);
    const auto image = qvtest::RenderWith (40, 20, [&] (juce::Graphics& g) {
        lnf.drawButtonBackground (g, button, colour, false, false);
    }, none);
    EXPECT_EQ (qvtest::PixelAt (image, 20, 10).getARGB(), colour.getARGB()) << "fill in the middle";
    for (auto p : { juce::Point<int> (20, 0), juce::Point<int> (20, 19), juce::Point<int> (0, 10), juce::Point<int> (39, 10) })
        EXPECT_TRUE (qvtest::Near (qvtest::PixelAt (image, p.x, p.y), colour, 3))
            << "fill reaches the edge at " << p.toString() << ": " << qvtest::Describe (qvtest::PixelAt (image, p.x, p.y));
    for (auto p : { juce::Point<int> (0, 0), juce::Point<int> (39, 19) })
    {
        EXPECT_LT (qvtest::PixelAt (image, p.x, p.y).getAlpha(), 200) << "corner " << p.toString() << " not rounded";
        EXPECT_GT (qvtest::PixelAt (image, p.x, p.y).getAlpha(), 0) << "corner " << p.toString() << " rounded by more than 2";
    }
}

// The thumb: r = the base's thumb radius (the smallest of 7, half the height
// and half the width, plus 2) minus 6, a circle of diameter 2r + 4 around the
// thumb position, under a 1 pixel outline half covering the pixels on its edge.
TEST_F (DrawingTest, SliderThumbDiameterFollowsTheThumbRadius)
{
    const struct { int width, height; juce::Slider::SliderStyle style; int diameter; } cases[] = {
        { 100, 30, juce::Slider::LinearHorizontal, 10 },   // radius 9, r 3
        { 100, 10, juce::Slider::LinearHorizontal, 6 },    // radius 7, r 1
        { 12, 100, juce::Slider::LinearVertical, 8 },      // radius 8, r 2
        { 24, 100, juce::Slider::LinearVertical, 10 },     // radius 9, r 3
    };
    for (const auto& c : cases)
    {
        juce::Slider slider (c.style, juce::Slider::NoTextBox);
        slider.setSize (c.width, c.height);
        const bool vertical = c.style == juce::Slider::LinearVertical;
        const int cx = vertical ? c.width / 2 : 50, cy = vertical ? 50 : c.height / 2;
        const auto image = qvtest::RenderWith (c.width, c.height, [&] (juce::Graphics& g) {
            lnf.drawLinearSliderThumb (g, 0, 0, c.width, c.height, 50.0f, 0.0f, 100.0f, c.style, slider);
        }, none);
        const juce::String what = juce::String (c.width) + "x" + juce::String (c.height);
        qvtest::SavePng (image, "slider-thumb-" + what);

        int across = 0, down = 0;
        for (int x = 0; x < c.width; ++x)
            across += image.getPixelAt (x, cy).getAlpha() >= 128 ? 1 : 0;
        for (int y = 0; y < c.height; ++y)
            down += image.getPixelAt (cx, y).getAlpha() >= 128 ? 1 : 0;
        EXPECT_EQ (across, c.diameter) << what << ": thumb width";
        EXPECT_EQ (down, c.diameter) << what << ": thumb height";

        // White at the centre, from the gradient; darker toward the rim.
        const auto centre = qvtest::PixelAt (image, cx, cy);
        EXPECT_GT (centre.getBrightness(), 0.8f) << what << ": centre " << qvtest::Describe (centre);
        const auto rim = qvtest::PixelAt (image, cx + c.diameter / 2 - 1, cy);
        EXPECT_LT (rim.getBrightness(), centre.getBrightness()) << what << ": rim " << qvtest::Describe (rim);
    }
}

// The pan arc: radius min(width / 2, height) - 2 around (centre x, y + that
// radius), from 1.6 pi to 2.4 pi clockwise from 12 o'clock, with a marker in
// the track colour at the thumb's proportion of the arc.
TEST_F (DrawingTest, PanArcSpansItsAngleWithAMarker)
{
    constexpr float pi = juce::MathConstants<float>::pi;
    juce::Slider slider;
    slider.setColour (juce::Slider::trackColourId, juce::Colours::white);
    const juce::Point<float> centre (40.0f, 40.0f);
    constexpr float radius = 38.0f;
    auto pixelOnArc = [&] (const juce::Image& image, float angle) {
        const auto p = centre.getPointOnCircumference (radius, angle);
        return qvtest::PixelAt (image, juce::roundToInt (p.x), juce::roundToInt (p.y));
    };
    auto isGroove = [] (juce::Colour p) { return p.getAlpha() > 200 && p.getRed() < 60 && p.getRed() == p.getBlue(); };
    auto isMarker = [] (juce::Colour p) { return p.getAlpha() > 200 && p.getRed() > 200 && p.getBlue() > 200; };

    const struct { float sliderPos, markerAngle; } cases[] = { { 40.0f, 2.0f * pi }, { 0.0f, 1.6f * pi }, { 80.0f, 2.4f * pi }, { 20.0f, 1.8f * pi } };
    for (const auto& c : cases)
    {
        const auto image = qvtest::RenderWith (80, 40, [&] (juce::Graphics& g) {
            lnf.drawPanSliderBackground (g, 0, 0, 80, 40, c.sliderPos, 0.0f, 80.0f, juce::Slider::LinearHorizontal, slider);
        }, none);
        qvtest::SavePng (image, "pan-arc-" + juce::String (c.sliderPos));

        EXPECT_TRUE (isMarker (pixelOnArc (image, c.markerAngle)))
            << "marker at " << c.markerAngle / pi << " pi for position " << c.sliderPos << ": " << qvtest::Describe (pixelOnArc (image, c.markerAngle));
        for (float angle : { 1.62f, 1.7f, 1.9f, 2.1f, 2.3f, 2.38f })
            if (std::abs (angle * pi - c.markerAngle) > 0.2f)
                EXPECT_TRUE (isGroove (pixelOnArc (image, angle * pi)))
                    << "arc at " << angle << " pi, position " << c.sliderPos << ": " << qvtest::Describe (pixelOnArc (image, angle * pi));
        for (float angle : { 1.5f, 2.5f })
            EXPECT_EQ (pixelOnArc (image, angle * pi).getAlpha(), 0) << "the arc stops short of " << angle << " pi";
    }
}
