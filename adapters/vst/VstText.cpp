#include "VstText.h"

#include <cmath>
#include <cstring>

namespace VstText
{
namespace
{
constexpr int kFloatWidth = 8;             // characters of every float2string text
constexpr double kFloatHighest = 99999999.0;
constexpr double kFloatLowest = -9999999.0;
constexpr int64_t kIntHuge = 100000000;    // from here up int2string shows "Huge!"
constexpr int64_t kIntTopPower = 100000000; // int2string's highest digit place: 9 digits

Digits fromText(const char* source) noexcept
{
    Digits d {};
    std::strncpy(d.data(), source, d.size() - 1);
    return d;
}
} // namespace

void copy(const char* source, char* text, int32_t maxLen) noexcept
{
    if (text == nullptr || maxLen < 0)
        return;

    int32_t n = 0;
    if (source != nullptr)
        while (n < maxLen && source[n] != 0)
        {
            text[n] = source[n];
            ++n;
        }

    text[n] = 0;
    text[maxLen] = 0;
}

Digits formatFloat(float value) noexcept
{
    const double v = value;

    if (std::isnan(v))
        return fromText("NaN");

    if (v < kFloatLowest || v > kFloatHighest)
        return fromText("Huge!");

    const bool negative = v < 0.0;
    const double magnitude = std::fabs(v);
    const double wholePart = std::floor(magnitude);
    const auto whole = (int64_t) wholePart;

    char wholeDigits[16];
    int numWholeDigits = 0;
    {
        char reversed[16];
        int64_t w = whole;
        do
        {
            reversed[numWholeDigits++] = (char) ('0' + (int) (w % 10));
            w /= 10;
        } while (w > 0);
        for (int i = 0; i < numWholeDigits; ++i)
            wholeDigits[i] = reversed[numWholeDigits - 1 - i];
    }

    // Eight characters keep 7 whole digits (6 after a "-") and the point; a
    // longer whole part would lose its leading digit, so it counts as huge.
    const int signWidth = negative ? 1 : 0;
    if (signWidth + numWholeDigits + 1 > kFloatWidth)
        return fromText("Huge!");

    Digits d {};
    int pos = 0;
    if (negative)
        d[(size_t) pos++] = '-';
    for (int i = 0; i < numWholeDigits; ++i)
        d[(size_t) pos++] = wholeDigits[i];
    d[(size_t) pos++] = '.';

    const int places = kFloatWidth - pos;
    // The fraction in double, so the float 0.7 (just below 0.7) shows 0.699999.
    auto fraction = (int64_t) ((magnitude - wholePart) * std::pow(10.0, places));
    for (int i = places - 1; i >= 0; --i)
    {
        d[(size_t) (pos + i)] = (char) ('0' + (int) (fraction % 10));
        fraction /= 10;
    }
    d[(size_t) (pos + places)] = 0;
    return d;
}

Digits formatInt(int32_t value) noexcept
{
    const int64_t v = value;
    const int64_t magnitude = v < 0 ? -v : v;

    // Only positive values are cut off at 100000000; a negative one keeps its
    // nine digit places, and one whose magnitude needs a tenth (from -1e9
    // down) would lose its leading digits, so it shows "Huge!" too.
    if (v >= kIntHuge || magnitude >= 10 * kIntTopPower)
        return fromText("Huge!");

    Digits d {};
    int pos = 0;
    if (v < 0)
        d[(size_t) pos++] = '-';

    bool started = false;
    for (int64_t power = kIntTopPower; power >= 1; power /= 10)
    {
        const int digit = (int) ((magnitude / power) % 10);
        if (digit != 0 || started)
        {
            d[(size_t) pos++] = (char) ('0' + digit);
            started = true;
        }
    }
    d[(size_t) pos] = 0;
    return d;
}
} // namespace VstText
