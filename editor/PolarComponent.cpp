#include "PolarComponent.h"

#include <cmath>

namespace
{
constexpr int numPoints = 180; // one every 2 degrees
constexpr float pi = juce::MathConstants<float>::pi;
} // namespace

PolarComponent::PolarComponent (int id)
    : juce::Component ("PolarComponent"), pairId (id)
{
}

void PolarComponent::SetPolar (float newPattern)
{
    // A NaN has no place on the curve: keep the pattern drawn now.
    if (std::isnan (newPattern))
        return;

    pattern = juce::jlimit (0.0f, 1.0f, newPattern);
    BuildPath();
    repaint();
}

void PolarComponent::BuildPath()
{
    path.clear();

    const auto cx = (float) (getWidth() / 2);
    const auto cy = (float) (getHeight() / 2);
    const float p = minimum + (maximum - minimum) * pattern;

    for (int i = 0; i < numPoints; ++i)
    {
        const float theta = (float) i * 2.0f * pi / (float) numPoints; // where the response is evaluated
        const float phi = 2.0f * (rotation - (float) i) * pi / 180.0f;  // where it is drawn
        const float r = maxRadius * std::abs ((1.0f - p) + p * std::cos (theta));
        const juce::Point<float> point (cx + r * std::cos (phi), cy + r * std::sin (phi));

        if (i == 0)
            path.startNewSubPath (point);
        else
            path.lineTo (point);
    }

    path.closeSubPath();
}

void PolarComponent::resized()
{
    BuildPath();
}

void PolarComponent::paint (juce::Graphics& g)
{
    g.setColour (colour);
    g.strokePath (path, juce::PathStrokeType (strokeWidth, juce::PathStrokeType::mitered, juce::PathStrokeType::butt));
}

bool PolarComponent::hitTest (int x, int y)
{
    // Only presses inside the outline are the curve's; the rest belong to the owner.
    return path.contains ((float) x, (float) y, 1.0f);
}

void PolarComponent::mouseDown (const juce::MouseEvent& e)
{
    lastMouse = e.getPosition();
}

void PolarComponent::mouseDrag (const juce::MouseEvent& e)
{
    if (! e.mods.isShiftDown())
        return;

    // Up or to the right widens toward a figure of eight; down, left or along
    // the diagonal narrows toward omni. One step per event, whatever the distance.
    const auto now = e.getPosition();
    const bool upOrRight = (lastMouse.y - lastMouse.x) > (now.y - now.x);

    SetPolar (upOrRight ? pattern + patternStep : pattern - patternStep);
    lastMouse = now;
    listeners.call ([this] (PolarComponentListener& l) { l.PolarChanged (this); });
}

void PolarComponent::mouseWheelMove (const juce::MouseEvent&, const juce::MouseWheelDetails&)
{
    // The owner hears the wheel as this curve's mouse listener; passing it up
    // to the parent as well would count every wheel step twice.
}
