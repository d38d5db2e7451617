// A level meter: a 50 dB scale lit from the bottom (or the left, when wider
// than high) with a red-yellow-green gradient.
#pragma once

#include <JuceHeader.h>

class BargraphComponent : public juce::Component
{
public:
    BargraphComponent();
    ~BargraphComponent() override = default;

    void paint (juce::Graphics&) override;

    // message thread. Linear peak level; clamped to 0..1, NaN reads as 0.
    void setValue (float linearLevel);

    // Linear level to the lit fraction: -50 dB and below 0, 0 dB 1, linear in dB.
    static float dBConvert (float linearLevel);

    float level = 0.0f; // lit fraction of the meter, 0..1

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (BargraphComponent)
};
