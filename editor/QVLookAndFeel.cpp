#include "QVLookAndFeel.h"

#include "FreeTypeFaces.h"
#include "HostType.h"
#include "Fonts.h"

const juce::Colour QVLookAndFeel::Col_TabColour (0xFFBEC4CC);
const juce::Colour QVLookAndFeel::Col_BackgroundColour (0xFF28313B);
const juce::Colour QVLookAndFeel::Col_BackgroundColourHighlight (0xFF4A5564);
const juce::Colour QVLookAndFeel::Col_CentrePolar (0.0f, 0.4f, 1.0f, 1.0f);
const juce::Colour QVLookAndFeel::Col_LRPolar (0.2f, 0.4f, 1.0f, 1.0f);
const juce::Colour QVLookAndFeel::Col_LsRsPolar (0.4f, 0.4f, 1.0f, 1.0f);
const juce::Colour QVLookAndFeel::Col_RLsRRsPolar (0.6f, 0.4f, 1.0f, 1.0f);
const juce::Colour QVLookAndFeel::Col_LFEPolar (0.8f, 0.5f, 1.0f, 1.0f);
const juce::Colour QVLookAndFeel::Col_BFormat (0.0f, 0.0f, 1.0f, 1.0f);

const char* const QVLookAndFeel::uiTypefaceName = "Roboto";

namespace
{
// The embedded face is hinted from this height up to the next one, in pixels;
// above that, letters are spaced out a little for legibility on the dark plates.
constexpr float minHintedHeight = 5.0f;
constexpr float maxHintedHeight = 8.0f;
constexpr float extraKerningAboveHinted = 0.11f;

constexpr float labelFontSize = 11.5f;
constexpr float sliderLabelFontSize = 14.5f;
} // namespace

QVLookAndFeel::QVLookAndFeel()
{
    FreeTypeFaces::addFaceFromMemory (minHintedHeight, maxHintedHeight, false,
                                      Fonts::robotobold_ttf, Fonts::robotobold_ttfSize, false);

    for (const auto& pair : colourTable)
        setColour ((int) pair.id, juce::Colour (pair.argb));

    setDefaultSansSerifTypefaceName (uiTypefaceName);
}

juce::Font QVLookAndFeel::GetUIFont (float height, int styleFlags)
{
    juce::Font font (uiTypefaceName, height, styleFlags);

    if (height > maxHintedHeight)
        font.setExtraKerningFactor (extraKerningAboveHinted);

    return font;
}

juce::Typeface::Ptr QVLookAndFeel::getTypefaceForFont (const juce::Font& font)
{
    // The fonts the GUI library makes on its own (pop-up menu rows, combo box
    // and label defaults, tooltips, alert windows) carry the default
    // sans-serif placeholder, which stands for Roboto here. Asked of the
    // platform instead, a machine without a Roboto of its own would hand back
    // a face without glyphs, and those texts would come out blank.
    const auto name = font.getTypefaceName();

    if (name == uiTypefaceName || name == juce::Font::getDefaultSansSerifFontName())
    {
        juce::Font copy (font);
        copy.setTypefaceName (uiTypefaceName);

        if (auto typeface = FreeTypeFaces::createTypefaceForFont (copy))
            return typeface;
    }

    return juce::LookAndFeel::getTypefaceForFont (font);
}

juce::Label* QVLookAndFeel::MakeAttachedLabel (juce::Component* owner, const juce::String& text)
{
    auto* label = new juce::Label (juce::String(), text);
    label->setFont (GetUIFont (labelFontSize, juce::Font::bold));
    label->attachToComponent (owner, true);
    label->setColour (juce::Label::backgroundColourId, juce::Colours::transparentBlack);
    return label;
}

juce::Label* QVLookAndFeel::MakeSmallLabel (juce::Component* parent)
{
    auto* label = new juce::Label();

    if (parent != nullptr)
        parent->addAndMakeVisible (label);

    label->setColour (juce::Label::textColourId, juce::Colours::white);
    label->setFont (GetUIFont (labelFontSize, juce::Font::bold));
    label->setJustificationType (juce::Justification::centred);
    label->setColour (juce::Label::backgroundColourId, juce::Colours::transparentBlack);
    label->setBorderSize (juce::BorderSize<int> (0));
    return label;
}

juce::Label* QVLookAndFeel::MakeSliderLabel (juce::Component* parent)
{
    const auto host = HostType::GetHostType();

    auto* label = new juce::Label();

    if (parent != nullptr)
        parent->addAndMakeVisible (label);

    label->setColour (juce::Label::textColourId, juce::Colours::white);
    label->setFont (GetUIFont (sliderLabelFontSize, juce::Font::bold));
    label->setEditable (true, false, false);
    label->setJustificationType (juce::Justification::centred);
    label->setColour (juce::Label::backgroundColourId, juce::Colours::black.withAlpha (0.4f));
    label->setColour (juce::TextEditor::backgroundColourId, juce::Colours::red.withAlpha (0.4f));
    label->setBorderSize (juce::BorderSize<int> (0));

    if (HostType::IsReadOnlyValueHost (host))
        label->setEditable (false, false, false);

    return label;
}

void QVLookAndFeel::DrawPanelBackground (juce::Graphics& g, juce::Component* panel)
{
    if (panel == nullptr)
        return;

    const auto bounds = panel->getLocalBounds();
    const juce::Rectangle<float> plate ((float) bounds.getX() + 1.0f,
                                        (float) bounds.getY() + 1.0f,
                                        (float) juce::jmax (bounds.getWidth() - 2, 0),
                                        (float) juce::jmax (bounds.getHeight() - 2, 0));

    g.setColour (juce::Colours::black.withAlpha (0.45f));
    g.fillRoundedRectangle (plate, 2.0f);
}

void QVLookAndFeel::DrawSubPanelBackground (juce::Graphics& g, juce::Rectangle<float> area)
{
    g.setColour (juce::Colours::white.withAlpha (0.2f));
    g.fillRoundedRectangle (area, 2.0f);
}
