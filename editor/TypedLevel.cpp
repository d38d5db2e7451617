#include "TypedLevel.h"

#include "NumberText.h"

std::optional<float> TypedLevel::ParseNumber (const juce::String& text)
{
    float value = 0.0f;
    if (! NumberText::ParseLeading (text, value))
        return std::nullopt;
    return value;
}

float TypedLevel::DecibelsToFraction (float dB)
{
    if (dB < bottomDb)
        return 0.0f;

    return (juce::jmin (dB, topDb) - bottomDb) / spanDb;
}
