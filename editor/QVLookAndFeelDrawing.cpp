// The look and feel's drawing, creation and positioning overrides.
#include "QVLookAndFeel.h"

#include "HostType.h"
#include "ParameterSlider.h"

namespace
{
constexpr float labelCorner = 3.0f;
constexpr float grooveThickness = 6.0f;
constexpr float disabledTextAlpha = 0.8f;

// The trim sliders' scale: 41 steps of 1 dB from +10 at the top to -31 at
// the position of value 0.
constexpr float dbScaleSteps = 41.0f;

const juce::Colour scrollbarGrey (40, 40, 40);

juce::Colour grooveColour()
{
    return juce::Colours::black.brighter (0.15f);
}

bool isCentred (juce::Slider& slider)
{
    auto* parameterSlider = dynamic_cast<ParameterSlider*> (&slider);
    return parameterSlider != nullptr && parameterSlider->centred;
}
} // namespace

juce::Path GetDownArrowShape (float width, float height)
{
    juce::Path p;
    p.startNewSubPath (0.0f, 0.0f);
    p.lineTo (width, 0.0f);
    p.lineTo (width / 2.0f, height);
    p.closeSubPath();
    return p;
}

//==============================================================================
void QVLookAndFeel::drawScrollbarButton (juce::Graphics& g, juce::ScrollBar& bar, int width, int height,
                                         int buttonDirection, bool isScrollbarVertical,
                                         bool isMouseOverButton, bool isButtonDown)
{
    g.setColour (scrollbarGrey);
    g.fillRect (0, 0, width, height);

    juce::LookAndFeel_V2::drawScrollbarButton (g, bar, width, height, buttonDirection,
                                               isScrollbarVertical, isMouseOverButton, isButtonDown);
}

void QVLookAndFeel::drawScrollbar (juce::Graphics& g, juce::ScrollBar&, int x, int y, int width, int height,
                                   bool isScrollbarVertical, int thumbStart, int thumbSize, bool, bool)
{
    g.setColour (scrollbarGrey);
    g.fillRect (x, y, width, height);
    g.drawRect (x, y, width, height, 1);

    const juce::Rectangle<float> thumb = isScrollbarVertical
        ? juce::Rectangle<float> ((float) (x + 1), (float) (thumbStart + 1), (float) (width - 2), (float) (thumbSize - 2))
        : juce::Rectangle<float> ((float) (thumbStart + 1), (float) (y + 1), (float) (thumbSize - 2), (float) (height - 2));

    if (thumb.isEmpty())
        return; // no thumb while the whole range is visible

    g.setGradientFill (juce::ColourGradient (juce::Colour (238, 238, 238), 0.0f, 0.0f,
                                             juce::Colour (140, 140, 140),
                                             isScrollbarVertical ? (float) width : 0.0f,
                                             isScrollbarVertical ? 0.0f : (float) height,
                                             false));
    g.fillRoundedRectangle (thumb, 3.0f);
}

void QVLookAndFeel::drawButtonBackground (juce::Graphics& g, juce::Button& button, const juce::Colour& backgroundColour,
                                          bool, bool)
{
    g.setColour (backgroundColour);
    g.fillRoundedRectangle (button.getLocalBounds().toFloat(), 2.0f);
}

void QVLookAndFeel::drawToggleButton (juce::Graphics& g, juce::ToggleButton& button, bool, bool)
{
    constexpr juce::uint32 litGreen = 0xFF42FF00;
    const bool on = button.getToggleState();
    const int boxSize = juce::jmin (button.getHeight() - 4, 14);
    const int boxY = (button.getHeight() - boxSize) / 2;
    const juce::Rectangle<int> box (2, boxY, boxSize, boxSize);

    if (button.getName() == "ALERT")
    {
        // A warning switch: a red frame that fills when set.
        g.setColour (juce::Colours::red);
        g.drawRect (box, 2);

        if (on)
            g.fillRect (box.reduced (3));
    }
    else
    {
        g.setColour (juce::Colours::black.withAlpha (0.5f));
        g.fillRect (box);
        g.setColour (juce::Colours::white.withAlpha (0.6f));
        g.drawRect (box, 1);

        if (on)
        {
            g.setColour (juce::Colour (litGreen));
            g.fillRect (box.reduced (3));
        }
    }

    g.setColour (button.findColour (juce::ToggleButton::textColourId)
                        .withMultipliedAlpha (button.isEnabled() ? 1.0f : disabledTextAlpha));
    g.setFont (GetUIFont (mediumFontSize, juce::Font::bold));
    g.drawFittedText (button.getButtonText(), box.getRight() + 4, 0,
                      juce::jmax (0, button.getWidth() - box.getRight() - 6), button.getHeight(),
                      juce::Justification::centredLeft, 1, 0.7f);
}

void QVLookAndFeel::drawProgressBar (juce::Graphics& g, juce::ProgressBar& bar, int width, int height,
                                     double progress, const juce::String& textToShow)
{
    g.setColour (Col_BackgroundColour);
    g.fillRect (0, 0, width, height);

    const auto foreground = bar.findColour (juce::ProgressBar::foregroundColourId);

    if (progress >= 0.0 && progress < 1.0)
    {
        const float filled = (float) (juce::jlimit (0.0, 1.0, progress) * (double) (width - 2));
        drawGlassLozenge (g, 1.0f, 1.0f, filled, (float) (height - 2), foreground, 0.5f, 0.0f,
                          true, true, true, true);
    }
    else
    {
        // Unknown progress: a full, dimmed bar.
        drawGlassLozenge (g, 1.0f, 1.0f, (float) (width - 2), (float) (height - 2),
                          foreground.withMultipliedAlpha (0.5f), 0.5f, 0.0f, true, true, true, true);
    }

    if (textToShow.isNotEmpty())
    {
        g.setColour (bar.findColour (juce::ProgressBar::backgroundColourId));
        g.setFont (GetUIFont ((float) height * 0.6f, juce::Font::bold));
        g.drawText (textToShow, 0, 0, width, height, juce::Justification::centred, false);
    }
}

void QVLookAndFeel::fillTextEditorBackground (juce::Graphics& g, int, int, juce::TextEditor& editor)
{
    g.setColour (editor.findColour (juce::TextEditor::backgroundColourId));
    g.fillRoundedRectangle (editor.getLocalBounds().toFloat(), labelCorner);
}

void QVLookAndFeel::drawTextEditorOutline (juce::Graphics&, int, int, juce::TextEditor&)
{
}

//==============================================================================
void QVLookAndFeel::drawComboBox (juce::Graphics& g, int width, int height, bool,
                                  int, int, int, int, juce::ComboBox& box)
{
    g.setColour (box.findColour (juce::ComboBox::backgroundColourId));
    g.fillRoundedRectangle (0.0f, 0.0f, (float) width, (float) height, labelCorner);

    if (! box.isEnabled())
        return;

    // Narrow boxes have their arrow one pixel further right.
    const int arrowX = width - 3 - height / 2 + (width < 35 ? 1 : 0);
    const int arrowY = (height - height / 3) / 2;
    const juce::Rectangle<int> arrowBox (arrowX, arrowY, height / 2, height / 3);

    auto arrow = GetDownArrowShape (1.0f, 1.0f);
    arrow.applyTransform (arrow.getTransformToScaleToFit (arrowBox.toFloat(), true, juce::Justification::centred));

    g.setColour (box.findColour (juce::ComboBox::arrowColourId));
    g.fillPath (arrow);
}

juce::Label* QVLookAndFeel::createComboBoxTextBox (juce::ComboBox& box)
{
    auto* label = juce::LookAndFeel_V2::createComboBoxTextBox (box);
    label->setJustificationType (juce::Justification::centred);
    return label;
}

void QVLookAndFeel::positionComboBoxText (juce::ComboBox& box, juce::Label& label)
{
    juce::LookAndFeel_V2::positionComboBoxText (box, label);
    label.setFont (GetUIFont (mediumFontSize, juce::Font::bold));
}

void QVLookAndFeel::drawLabel (juce::Graphics& g, juce::Label& label)
{
    // The label's editor shows white text on whatever the label sets as its background.
    label.setColour (juce::TextEditor::textColourId, juce::Colours::white);

    g.setColour (label.findColour (juce::Label::backgroundColourId));
    g.fillRoundedRectangle (label.getLocalBounds().toFloat(), labelCorner);

    if (label.isBeingEdited())
        return;

    const auto font = label.getFont();
    const int border = label.getBorderSize().getLeft();
    const int height = label.getHeight();

    g.setColour (label.findColour (juce::Label::textColourId)
                      .withMultipliedAlpha (label.isEnabled() ? 1.0f : disabledTextAlpha));
    g.setFont (font);
    g.drawFittedText (label.getText(), border, 0, label.getWidth() - 2 * border, height,
                      label.getJustificationType(),
                      juce::jmax (1, (int) ((float) height / font.getHeight())),
                      label.getMinimumHorizontalScale());
}

//==============================================================================
void QVLookAndFeel::drawLinearSlider (juce::Graphics& g, int x, int y, int width, int height,
                                      float sliderPos, float minSliderPos, float maxSliderPos,
                                      juce::Slider::SliderStyle style, juce::Slider& slider)
{
    drawLinearSliderBackground (g, x, y, width, height, sliderPos, minSliderPos, maxSliderPos, style, slider);
    drawLinearSliderThumb (g, x, y, width, height, sliderPos, minSliderPos, maxSliderPos, style, slider);
}

void QVLookAndFeel::drawLinearSliderBackground (juce::Graphics& g, int x, int y, int width, int height,
                                                float sliderPos, float, float maxSliderPos,
                                                juce::Slider::SliderStyle style, juce::Slider& slider)
{
    const bool centred = isCentred (slider);
    const auto track = slider.findColour (juce::Slider::trackColourId).withAlpha (0.8f);

    if (style == juce::Slider::LinearHorizontal)
    {
        const juce::Rectangle<int> groove (x, (y + height) / 2 - 3, width, (int) grooveThickness);
        g.setColour (grooveColour());
        g.fillRect (groove);

        const float middle = (float) (x + width / 2);
        const float from = centred ? juce::jmin (middle, sliderPos) : (float) x;
        const float to = centred ? juce::jmax (middle, sliderPos) : sliderPos;

        if (to > from)
        {
            g.setColour (track);
            g.fillRect (juce::Rectangle<float> (from, (float) groove.getY(), to - from, grooveThickness));
        }

        g.setColour (grooveColour());
        g.drawRect (groove, 1);
    }
    else if (style == juce::Slider::LinearVertical)
    {
        const float step = (maxSliderPos - (float) y) / dbScaleSteps;
        const int xc = x + width / 2;
        auto lineAt = [&] (float stepsFromTop, int right)
        {
            g.drawHorizontalLine ((int) ((float) y + stepsFromTop * step), (float) xc, (float) right);
        };

        g.setColour (juce::Colours::white.withAlpha (0.4f));
        lineAt (5.0f, width - 4);  // +5 dB
        lineAt (10.0f, width - 2); // 0 dB, the long line

        // -5 dB downward in 5 dB steps, stopping short of the bottom.
        for (float k = 15.0f; (float) y + k * step < maxSliderPos - 5.0f * step; k += 5.0f)
            lineAt (k, width - 4);

        const juce::Rectangle<int> groove (xc - 3, y, (int) grooveThickness, height);
        g.setColour (grooveColour());
        g.fillRect (groove);

        const float middle = (float) (y + height / 2);
        const float from = centred ? juce::jmin (middle, sliderPos) : sliderPos;
        const float to = centred ? juce::jmax (middle, sliderPos) : maxSliderPos;

        if (to > from)
        {
            g.setColour (track);
            g.fillRect (juce::Rectangle<float> ((float) groove.getX(), from, grooveThickness, to - from));
        }

        g.setColour (grooveColour());
        g.drawRect (groove, 1);
    }
}

void QVLookAndFeel::drawLinearSliderThumb (juce::Graphics& g, int x, int y, int width, int height,
                                           float sliderPos, float, float,
                                           juce::Slider::SliderStyle style, juce::Slider& slider)
{
    const float r = (float) (getSliderThumbRadius (slider) - 6);
    const juce::Point<float> centre = style == juce::Slider::LinearVertical
                                          ? juce::Point<float> ((float) (x + width / 2), sliderPos)
                                          : juce::Point<float> (sliderPos, (float) (y + height / 2));
    const float diameter = 2.0f * r + 4.0f;
    const auto knob = juce::Rectangle<float> (diameter, diameter).withCentre (centre);

    g.resetToDefaultState();
    g.setColour (juce::Colours::darkgrey);
    g.fillEllipse (knob);
    g.setColour (juce::Colours::black.withAlpha (0.8f));
    g.drawEllipse (knob, 1.0f);

    g.setGradientFill (juce::ColourGradient (juce::Colours::white, centre.x, centre.y,
                                             juce::Colours::white.withAlpha (0.4f), centre.x, centre.y + 2.0f * r,
                                             true));
    g.fillEllipse (knob);
}

void QVLookAndFeel::drawRotarySlider (juce::Graphics& g, int x, int y, int width, int height,
                                      float sliderPos, float startAngle, float endAngle, juce::Slider& slider)
{
    constexpr float twoPi = juce::MathConstants<float>::twoPi;
    constexpr float ringInner = 0.7f;     // inner radius of the rings, as a fraction
    constexpr float valueRingScale = 0.95f;
    constexpr float endlessWedge = 0.1f;  // half-width of an endless knob's marker, radians

    const float R = (float) juce::jmin (width / 2, height / 2) + 1.0f;
    const float cx = (float) (x + width / 2);
    const float cy = (float) (y + height / 2);
    const float angle = startAngle + sliderPos * (endAngle - startAngle);

    const auto dial = juce::Rectangle<float> (R, R).withCentre ({ cx, cy });
    g.setColour (slider.findColour (juce::Slider::backgroundColourId));
    g.fillEllipse (dial);
    g.setColour (slider.findColour (juce::Slider::thumbColourId).withAlpha (0.6f));
    g.drawEllipse (dial, 1.5f);

    juce::Path pointer;
    pointer.addLineSegment ({ 0.0f, 0.0f, 0.0f, -(R / 2.0f - 1.0f) }, 2.0f);
    pointer.applyTransform (juce::AffineTransform::rotation (angle).translated (cx, cy));
    g.setColour (slider.findColour (juce::Slider::thumbColourId));
    g.fillPath (pointer);

    const float ringRadius = R - 5.0f;
    const auto ringBounds = juce::Rectangle<float> (2.0f * ringRadius, 2.0f * ringRadius).withCentre ({ cx, cy });

    juce::Path trackRing;
    trackRing.addPieSegment (ringBounds, startAngle, endAngle, ringInner);
    trackRing.closeSubPath();
    g.setColour (slider.findColour (juce::Slider::trackColourId));
    g.fillPath (trackRing);

    float from = startAngle, to = angle;

    if (endAngle - startAngle == twoPi)
    {
        from = angle - endlessWedge;
        to = angle + endlessWedge;
    }
    else if (slider.getMinimum() < 0.0)
    {
        from = juce::jmin (angle, twoPi);
        to = juce::jmax (angle, twoPi);
    }

    juce::Path valueRing;
    valueRing.addPieSegment (ringBounds, from, to, ringInner);
    valueRing.applyTransform (juce::AffineTransform::scale (valueRingScale, valueRingScale, cx, cy));
    g.setColour (slider.findColour (juce::Slider::rotarySliderFillColourId));
    g.fillPath (valueRing);
}

juce::Label* QVLookAndFeel::createSliderTextBox (juce::Slider& slider)
{
    auto* label = juce::LookAndFeel_V2::createSliderTextBox (slider);
    label->setColour (juce::TextEditor::backgroundColourId, juce::Colours::red.withAlpha (0.4f));
    label->setColour (juce::Label::textColourId, juce::Colours::white);
    label->setFont (GetUIFont (14.5f, juce::Font::bold));

    if (HostType::IsReadOnlyValueHost())
    {
        label->setEditable (false, false, false);
        // The slider re-applies its own editable setting to each new text box
        // right after this returns, so the slider itself must be read-only too.
        slider.setTextBoxIsEditable (false);
    }

    return label;
}

void QVLookAndFeel::drawDocumentWindowTitleBar (juce::DocumentWindow& window, juce::Graphics& g, int w, int h,
                                                int titleSpaceX, int titleSpaceW, const juce::Image*, bool drawTitleTextOnLeft)
{
    const auto background = window.getBackgroundColour();
    g.setColour (background);
    g.fillRect (0, 0, w, h);

    g.setColour (background.contrasting());
    g.setFont (GetUIFont ((float) h * 0.65f, juce::Font::bold));
    g.drawText (window.getName(), titleSpaceX, 0, titleSpaceW, h,
                drawTitleTextOnLeft ? juce::Justification::centredLeft : juce::Justification::centred, true);
}

void QVLookAndFeel::drawTableHeaderBackground (juce::Graphics& g, juce::TableHeaderComponent& header)
{
    g.fillAll (Col_BackgroundColourHighlight);
    juce::ignoreUnused (header);
}

void QVLookAndFeel::drawTableHeaderColumn (juce::Graphics& g, juce::TableHeaderComponent&, const juce::String& columnName,
                                           int, int width, int height, bool, bool, int columnFlags)
{
    const juce::Colour ink (0x99000000);
    auto area = juce::Rectangle<int> (width, height).reduced (4, 0);

    if ((columnFlags & (juce::TableHeaderComponent::sortedForwards | juce::TableHeaderComponent::sortedBackwards)) != 0)
    {
        const bool forwards = (columnFlags & juce::TableHeaderComponent::sortedForwards) != 0;
        auto triangleArea = area.removeFromRight (height / 2).toFloat().reduced (0.0f, (float) height * 0.3f);
        juce::Path triangle = GetDownArrowShape (1.0f, 1.0f);

        if (! forwards)
            triangle.applyTransform (juce::AffineTransform::verticalFlip (1.0f));

        triangle.applyTransform (triangle.getTransformToScaleToFit (triangleArea, true));
        g.setColour (ink);
        g.fillPath (triangle);
    }

    g.setColour (ink);
    g.setFont (GetUIFont ((float) height * 0.5f, juce::Font::bold));
    g.drawFittedText (columnName, area, juce::Justification::centredLeft, 1);
}

void QVLookAndFeel::drawPanSliderBackground (juce::Graphics& g, int x, int y, int width, int height,
                                             float sliderPos, float minSliderPos, float maxSliderPos,
                                             juce::Slider::SliderStyle, juce::Slider& slider)
{
    constexpr float pi = juce::MathConstants<float>::pi;
    constexpr float arcStart = 1.6f * pi;
    constexpr float arcEnd = 2.4f * pi;

    const float cx = (float) x + (float) width / 2.0f;
    const float radius = (float) juce::jmin (width / 2, height);
    const float cy = (float) y + radius;

    juce::Path arc;
    arc.addCentredArc (cx, cy, radius - 2.0f, radius - 2.0f, 0.0f, arcStart, arcEnd, true);
    g.setColour (grooveColour());
    g.strokePath (arc, juce::PathStrokeType (3.0f));

    // The marker sits on the arc at the point nearest the thumb position.
    const float span = maxSliderPos - minSliderPos;
    const float proportion = span != 0.0f ? juce::jlimit (0.0f, 1.0f, (sliderPos - minSliderPos) / span) : 0.5f;
    const float angle = arcStart + proportion * (arcEnd - arcStart);
    const auto marker = juce::Point<float> (cx, cy).getPointOnCircumference (radius - 2.0f, angle);

    g.setColour (slider.findColour (juce::Slider::trackColourId));
    g.fillEllipse (juce::Rectangle<float> (6.0f, 6.0f).withCentre (marker));
}
