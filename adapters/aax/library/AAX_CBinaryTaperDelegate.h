// On/off taper: any normalised value above 0 is on.
#pragma once

#include "AAX_ITaperDelegate.h"

template <typename T>
class AAX_CBinaryTaperDelegate : public AAX_ITaperDelegate<T>
{
public:
    AAX_CBinaryTaperDelegate* Clone() const override { return new AAX_CBinaryTaperDelegate(*this); }
    T GetMinimumValue() const override { return false; }
    T GetMaximumValue() const override { return true; }
    T ConstrainRealValue(T value) const override { return value; }
    T NormalizedToReal(double normalized) const override { return normalized > 0.0; }
    double RealToNormalized(T value) const override { return value ? 1.0 : 0.0; }
};

extern template class AAX_CBinaryTaperDelegate<bool>;
