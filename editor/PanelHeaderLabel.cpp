#include "PanelHeaderLabel.h"

PanelHeaderLabel::PanelHeaderLabel (const juce::String& t, const juce::Font& f)
    : text (t), font (f)
{
}

void PanelHeaderLabel::paint (juce::Graphics& g)
{
    constexpr int leftInset = 8;

    g.setColour (juce::Colours::lightgrey);
    g.setFont (font);

    const int textWidth = (int) font.getStringWidth (text);
    g.drawFittedText (text, leftInset, 0, textWidth, getHeight(), juce::Justification::centredLeft, 0, 0.7f);
}
