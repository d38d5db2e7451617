// A slider bound to a parameter id: typed text is scaled into the slider's
// value, the shown text comes from the listener, and Alt-click (Option-click
// on macOS) asks the listener to reset the parameter.
#pragma once

#include <JuceHeader.h>

class ParameterSliderListener
{
public:
    virtual ~ParameterSliderListener() = default;

    // Text shown for the slider with this id at this value.
    virtual juce::String getTextFromValue (int id, double value);
    // Alt-click on the slider with this id.
    virtual void resetToDefaultValue (int id);
    // The user starts and finishes one change of the slider with this id: a
    // drag from press to release, or a typed value, a wheel step or a
    // double-click on their own. Values set between them belong to it.
    virtual void changeStarted (int id);
    virtual void changeEnded (int id);
};

class ParameterSlider : public juce::Slider
{
public:
    ParameterSlider (int divisor, int paramId, bool centred, bool raw);
    ~ParameterSlider() override = default;

    void mouseDown (const juce::MouseEvent&) override;
    // The number at the start of the text, scaled; the current value when
    // the text holds no finite number, so a mistyped entry changes nothing.
    double getValueFromText (const juce::String&) override;
    juce::String getTextFromValue (double value) override;
    // The slider's own drag notifications, passed on with the slider's id.
    void startedDragging() override;
    void stoppedDragging() override;

    ParameterSliderListener* listener = nullptr; // not owned; set by the owner
    int divisor;   // typed numbers are divided by it
    int paramId;   // the owner's key for this slider
    bool centred;  // bipolar: 0.5 is added after the division, the track is drawn from the middle
    bool raw;      // typed numbers are taken as they are

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ParameterSlider)
};
