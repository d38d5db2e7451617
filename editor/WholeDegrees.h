// Whole-degree arithmetic shared by the round controls: angles travel between
// the controls and the parameters as whole degrees.
#pragma once

#include <JuceHeader.h>

#include <cmath>

namespace WholeDegrees
{
constexpr float degreesPerRadian = 57.295776f;

// Nearest whole number, ties going to the even one. Callers pass finite
// values; anything else (or beyond a million) is kept within int range.
inline int Nearest (double x)
{
    if (std::isnan (x))
        return 0;

    return (int) std::nearbyint (juce::jlimit (-1.0e6, 1.0e6, x));
}

inline float ToDegrees (float radians) { return radians * degreesPerRadian; }
inline float ToRadians (float degrees) { return degrees / degreesPerRadian; }
} // namespace WholeDegrees
