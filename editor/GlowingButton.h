// A toggle button drawn as a lamp in its own colour; its caption (the
// button's name) can blink, driven by the owner's timer through DoFlash.
#pragma once

#include <JuceHeader.h>

class GlowingButton : public juce::Button
{
public:
    GlowingButton (const juce::String& name, juce::Colour glowColour);
    ~GlowingButton() override = default;

    void paintButton (juce::Graphics&, bool isMouseOverButton, bool isButtonDown) override;

    // One blink step: while flashing, hides or shows the caption.
    virtual void DoFlash();

    juce::Colour glowColour; // lamp colour when on
    bool showText = true;    // caption is drawn
    bool flashing = false;   // DoFlash blinks the caption

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (GlowingButton)
};
