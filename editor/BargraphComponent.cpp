#include "BargraphComponent.h"

#include <cmath>

namespace
{
constexpr float floorDb = -50.0f; // bottom of the scale
} // namespace

BargraphComponent::BargraphComponent()
    : juce::Component ("bargraph")
{
}

float BargraphComponent::dBConvert (float x)
{
    // Zero, negative and NaN levels have no decibel value: nothing is lit.
    if (! (x > 0.0f))
        return 0.0f;

    const auto dB = (float) (20.0 * std::log10 ((double) x));
    return 1.0f - juce::jmax (dB, floorDb) / floorDb;
}

void BargraphComponent::setValue (float v)
{
    if (std::isnan (v))
        v = 0.0f;

    level = dBConvert (juce::jlimit (0.0f, 1.0f, v));
    repaint();
}

void BargraphComponent::paint (juce::Graphics& g)
{
    const int width = getWidth(), height = getHeight();

    g.setColour (juce::Colours::black.brighter (0.15f));
    g.fillRect (0, 0, width - 1, height);

    const int iw = juce::jmax (width - 3, 0);
    const int ih = juce::jmax (height - 2, 0);

    // level is public; whatever was stored, draw within the meter.
    const float lit = std::isfinite (level) ? juce::jlimit (0.0f, 1.0f, level) : 0.0f;

    if (width <= height)
    {
        juce::ColourGradient gradient (juce::Colours::red, 0.0f, 0.0f,
                                       juce::Colours::green.brighter (0.4f), 0.0f, (float) ih, false);
        gradient.addColour (0.1, juce::Colours::red.brighter (0.4f));
        gradient.addColour (0.2, juce::Colours::yellow);
        g.setGradientFill (gradient);

        const int fh = (int) ((float) ih * lit);
        g.fillRect (1, 1 + ih - fh, iw, fh);
    }
    else
    {
        juce::ColourGradient gradient (juce::Colours::green.brighter (0.4f), 0.0f, 0.0f,
                                       juce::Colours::red, (float) iw, 0.0f, false);
        gradient.addColour (0.8, juce::Colours::yellow);
        gradient.addColour (0.9, juce::Colours::red.brighter (0.4f));
        g.setGradientFill (gradient);

        const int fw = (int) ((float) iw * lit);
        g.fillRect (1, 1, fw, ih);
    }
}
