// Conversions of host numbers that must not overflow.
#pragma once

#include <cmath>
#include <limits>

/** double to float without the undefined behaviour of an out-of-range
    conversion: beyond the float range gives the largest float of that sign
    (infinities included); NaN stays NaN. */
inline float AAX_NarrowToFloat(double value) noexcept
{
    constexpr double top = std::numeric_limits<float>::max();
    if (value > top)
        return std::numeric_limits<float>::max();
    if (value < -top)
        return -std::numeric_limits<float>::max();
    return static_cast<float>(value);
}

/** A normalised value from a host: NaN gives `fallback`, the rest is held to 0..1. */
inline double AAX_SanitizeNormalized(double normalized, double fallback) noexcept
{
    if (std::isnan(normalized))
        return fallback;
    return normalized < 0.0 ? 0.0 : (normalized > 1.0 ? 1.0 : normalized);
}
