// Levels typed into the editor's value labels, in decibels, turned into the
// 41-step level scale of the level parameters ("Off", then -30 to +10 dB).
#pragma once

#include <JuceHeader.h>

#include <optional>

class TypedLevel
{
public:
    // The number at the start of typed text ("-6", " 3.5 dB", "+2"), read the
    // same way in every locale. Nothing when the text does not begin with a
    // finite number: "abc", "", "nan", "inf" and numbers past the float range
    // must not move a level.
    static std::optional<float> ParseNumber (const juce::String& text);

    // Typed decibels to a level fraction: below -31 dB 0, 10 dB and above 1,
    // (dB + 31) / 41 between.
    static float DecibelsToFraction (float dB);

    static constexpr float bottomDb = -31.0f; // the position of level 0
    static constexpr float topDb = 10.0f;     // the position of level 1
    static constexpr float spanDb = 41.0f;    // one step per dB
};
