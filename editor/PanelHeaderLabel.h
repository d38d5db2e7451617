// The light-grey title at the top left of a panel.
#pragma once

#include <JuceHeader.h>

class PanelHeaderLabel : public juce::Component
{
public:
    PanelHeaderLabel (const juce::String& text, const juce::Font& font);
    ~PanelHeaderLabel() override = default;

    void paint (juce::Graphics&) override;

    juce::String text;
    juce::Font font;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (PanelHeaderLabel)
};
