// Straight-line taper between a minimum and a maximum.
#pragma once

#include "AAX_ITaperDelegate.h"
#include "AAX_Numeric.h"

#include <cstdint>
#include <type_traits>

/** RealPrecision 0: real values are not rounded (the only form this system builds). */
template <typename T, int32_t RealPrecision = 0>
class AAX_CLinearTaperDelegate : public AAX_ITaperDelegate<T>
{
    static_assert(RealPrecision == 0, "only unrounded linear tapers are built");

public:
    explicit AAX_CLinearTaperDelegate(T minValue = T(0), T maxValue = T(1)) : minimum(minValue), maximum(maxValue) {}

    AAX_CLinearTaperDelegate* Clone() const override { return new AAX_CLinearTaperDelegate(*this); }
    T GetMinimumValue() const override { return minimum; }
    T GetMaximumValue() const override { return maximum; }

    T ConstrainRealValue(T value) const override
    {
        if (value > maximum)
            return maximum;
        if (value < minimum)
            return minimum;
        return value;
    }

    T NormalizedToReal(double normalized) const override
    {
        const double real = (double(maximum) - double(minimum)) * normalized + double(minimum);
        return ConstrainRealValue(narrow(real));
    }

    double RealToNormalized(T value) const override
    {
        const double range = double(maximum) - double(minimum);
        if (range == 0.0)
            return 0.0;   // a taper without range has one position
        return (double(ConstrainRealValue(value)) - double(minimum)) / range;
    }

private:
    static T narrow(double v)
    {
        if constexpr (std::is_same_v<T, float>)
            return AAX_NarrowToFloat(v);
        else
            return static_cast<T>(v);
    }

    T minimum;
    T maximum;
};

extern template class AAX_CLinearTaperDelegate<float, 0>;
