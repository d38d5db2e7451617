#include "TrigUtils.h"

#include <cmath>

float TrigUtils::DistanceBetweenRadians (float a, float b)
{
    constexpr float twoPi = juce::MathConstants<float>::twoPi;
    constexpr float pi = juce::MathConstants<float>::pi;

    auto d = (float) std::fmod ((double) (b - a), (double) twoPi);

    if (d < 0.0f)
        d += twoPi;

    if (d > pi)
        d -= twoPi;

    return std::abs (d);
}

float TrigUtils::PointToAngle (juce::Point<float> point, juce::Point<float> centre)
{
    constexpr float twoPi = juce::MathConstants<float>::twoPi;

    auto angle = std::atan2 (point.x - centre.x, -(point.y - centre.y));

    // A NaN coordinate has no angle: answer straight up rather than NaN.
    if (! std::isfinite (angle))
        return 0.0f;

    while (angle < 0.0f)
        angle += twoPi;

    return angle;
}
