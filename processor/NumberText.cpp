#include "NumberText.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace NumberText
{
juce::String Fixed(double value, int decimals)
{
    decimals = juce::jlimit(0, 9, decimals);

    if (std::isnan(value))
        return "nan";
    if (std::isinf(value))
        return value < 0 ? "-inf" : "inf";

    // 309 integer digits, a sign, a point and the decimals fit.
    char buffer[340];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    return juce::String(buffer, static_cast<size_t>(result.ptr - buffer));
}

juce::String Padded(int64_t value, int width)
{
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    const auto length = static_cast<int>(result.ptr - buffer);
    return juce::String::repeatedString(" ", juce::jmax(0, width - length))
           + juce::String(buffer, static_cast<size_t>(length));
}

bool Parse(const juce::String& text, double& out)
{
    const std::string s = text.trim().toStdString();
    const char* first = s.data();
    const char* last = s.data() + s.size();

    if (first != last && *first == '+')
    {
        ++first;
        if (first != last && *first == '-')
            return false; // "+-1" is no number
    }

    double value = 0.0;
    const auto result = std::from_chars(first, last, value, std::chars_format::general);

    if (result.ec != std::errc() || result.ptr != last || ! std::isfinite(value))
        return false;

    out = value;
    return true;
}

bool ParseLeading(const juce::String& text, double& out)
{
    const std::string s = text.trimStart().toStdString();
    const char* first = s.data();
    const char* const last = s.data() + s.size();

    const bool plus = first != last && *first == '+';

    if (plus)
        ++first; // from_chars takes a "-" but no "+"

    // A number begins with a digit or a point after its one sign; from_chars
    // alone would also read "inf" and "nan".
    const char* digits = (! plus && first != last && *first == '-') ? first + 1 : first;

    if (digits == last || ! ((*digits >= '0' && *digits <= '9') || *digits == '.'))
        return false;

    double value = 0.0;
    const auto result = std::from_chars(first, last, value, std::chars_format::general);

    if (result.ec != std::errc() || ! std::isfinite(value))
        return false;

    out = value;
    return true;
}
bool ParseLeading(const juce::String& text, float& out)
{
    double value = 0.0;
    if (! ParseLeading(text, value) || std::fabs(value) > std::numeric_limits<float>::max())
        return false;

    out = static_cast<float>(value);
    return true;
}
} // namespace NumberText
