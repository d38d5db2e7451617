// A number in fixed notation with Precision decimals, the same in every locale.
#pragma once

#include "AAX_IDisplayDelegate.h"
#include "AAX_Numeric.h"

#include <cstdint>
#include <type_traits>

template <typename T, uint32_t Precision = 2, uint32_t SpaceAfter = 0>
class AAX_CNumberDisplayDelegate : public AAX_IDisplayDelegate<T>
{
public:
    AAX_CNumberDisplayDelegate* Clone() const override { return new AAX_CNumberDisplayDelegate(*this); }

    bool ValueToString(T value, AAX_CString* text) const override
    {
        if (text == nullptr)
            return false;
        text->Clear();
        text->AppendNumber(static_cast<double>(value), Precision);
        return true;
    }

    bool ValueToString(T value, int32_t maxChars, AAX_CString* text) const override
    {
        if (! ValueToString(value, text))
            return false;

        const uint32_t limit = maxChars > 0 ? static_cast<uint32_t>(maxChars) : 0u;
        if (text->Length() > limit)
            text->Erase(limit, text->Length() - limit);
        // A cut that ends on the point would show a bare "0.": drop the point.
        if (limit > 0 && text->Length() == limit && (*text)[limit - 1] == '.')
            text->Erase(limit - 1, 1);
        return true;
    }

    bool StringToValue(const AAX_CString& text, T* value) const override
    {
        if (value == nullptr)
            return false;
        double parsed = 0.0;
        if (! text.ToDouble(&parsed))
        {
            *value = T(0);
            return false;
        }
        if constexpr (std::is_same_v<T, float>)
            *value = AAX_NarrowToFloat(parsed);
        else
            *value = static_cast<T>(parsed);
        return true;
    }
};

extern template class AAX_CNumberDisplayDelegate<float, 3u, 0u>;
