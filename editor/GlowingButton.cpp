#include "GlowingButton.h"

#include "QVLookAndFeel.h"

GlowingButton::GlowingButton (const juce::String& name, juce::Colour colour)
    : juce::Button (name), glowColour (colour)
{
    // Every click flips the state before the listeners hear of it.
    setClickingTogglesState (true);
}

void GlowingButton::paintButton (juce::Graphics& g, bool, bool)
{
    const auto bounds = getLocalBounds().toFloat();
    const float x = bounds.getX(), y = bounds.getY(), w = bounds.getWidth(), h = bounds.getHeight();
    const bool on = getToggleState();
    constexpr float corner = 2.0f;

    g.setColour (on ? glowColour : juce::Colours::white.withAlpha (0.4f));
    g.fillRoundedRectangle (bounds, corner);

    if (on)
    {
        // A highlight from the middle, fading toward the lower edge.
        const juce::ColourGradient glow (juce::Colours::white.withAlpha (0.7f), x + w / 2.0f, y + h / 2.0f,
                                         juce::Colours::white.withAlpha (0.2f), x + w / 2.0f, juce::jmax (x + w, y + h),
                                         true);
        g.setGradientFill (glow);
        g.fillRoundedRectangle (bounds, corner);
    }

    if (showText)
    {
        g.setColour (on ? juce::Colours::black : juce::Colours::black.withAlpha (0.8f));
        g.setFont (QVLookAndFeel::GetUIFont (QVLookAndFeel::mediumFontSize, juce::Font::bold));
        g.drawFittedText (getName(), 0, 0, getWidth(), getHeight(), juce::Justification::centred, 10, 0.7f);
    }
}

void GlowingButton::DoFlash()
{
    if (! flashing)
        return;

    showText = ! showText;
    repaint();
}
