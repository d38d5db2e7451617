// On/off display: one text for false, one for true, optionally shorter pairs
// for narrow places.
#pragma once

#include "AAX_IDisplayDelegate.h"

#include <cstdint>
#include <vector>

template <typename T>
class AAX_CBinaryDisplayDelegate : public AAX_IDisplayDelegate<T>
{
public:
    AAX_CBinaryDisplayDelegate(const char* falseString, const char* trueString)
        : falseText(falseString), trueText(trueString),
          maxTextLength(falseText.Length() > trueText.Length() ? falseText.Length() : trueText.Length())
    {
    }

    AAX_CBinaryDisplayDelegate* Clone() const override { return new AAX_CBinaryDisplayDelegate(*this); }

    /** A shorter pair for places of fewer characters than the full texts. */
    void AddShortenedStrings(const char* falseString, const char* trueString)
    {
        shortened.push_back({ AAX_CString(falseString), AAX_CString(trueString) });
    }

    bool ValueToString(T value, AAX_CString* text) const override
    {
        if (text == nullptr)
            return false;
        *text = value ? trueText : falseText;
        return true;
    }

    bool ValueToString(T value, int32_t maxChars, AAX_CString* text) const override
    {
        if (text == nullptr)
            return false;
        const uint32_t limit = maxChars > 0 ? static_cast<uint32_t>(maxChars) : 0u;
        if (shortened.empty() || limit >= maxTextLength)
            return ValueToString(value, text);

        // The longest pair that fits, else the shortest there is.
        const Pair* best = nullptr;
        const Pair* shortest = nullptr;
        for (const auto& pair : shortened)
        {
            const uint32_t length = pair.longer();
            if (length <= limit && (best == nullptr || length > best->longer()))
                best = &pair;
            if (shortest == nullptr || length < shortest->longer())
                shortest = &pair;
        }
        const Pair& chosen = best != nullptr ? *best : *shortest;
        *text = value ? chosen.trueText : chosen.falseText;
        return true;
    }

    bool StringToValue(const AAX_CString& text, T* value) const override
    {
        if (value == nullptr)
            return false;
        *value = (text == trueText);
        return text == trueText || text == falseText;
    }

private:
    struct Pair
    {
        AAX_CString falseText, trueText;
        uint32_t longer() const { return falseText.Length() > trueText.Length() ? falseText.Length() : trueText.Length(); }
    };

    AAX_CString falseText;
    AAX_CString trueText;
    uint32_t maxTextLength;        // characters of the longer text
    std::vector<Pair> shortened;   // empty in this system
};

extern template class AAX_CBinaryDisplayDelegate<bool>;
