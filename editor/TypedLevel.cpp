#include "TypedLevel.h"

#include <charconv>
#include <cmath>
#include <string>

std::optional<float> TypedLevel::ParseNumber (const juce::String& text)
{
    const std::string utf8 = text.trimStart().toStdString();
    const char* p = utf8.data();
    const char* const end = p + utf8.size();

    bool negative = false;

    if (p != end && (*p == '+' || *p == '-'))
    {
        negative = *p == '-';
        ++p;
    }

    // from_chars alone would also read "inf" and "nan": a number begins with a
    // digit or a decimal point.
    if (p == end || ! ((*p >= '0' && *p <= '9') || *p == '.'))
        return std::nullopt;

    float value = 0.0f;
    const auto [next, error] = std::from_chars (p, end, value, std::chars_format::general);

    if (error != std::errc() || ! std::isfinite (value))
        return std::nullopt;

    return negative ? -value : value;
}

float TypedLevel::DecibelsToFraction (float dB)
{
    if (dB < bottomDb)
        return 0.0f;

    return (juce::jmin (dB, topDb) - bottomDb) / spanDb;
}
