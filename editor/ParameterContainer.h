// The rows of the parameter panel: each binds one control to one parameter
// (or, for the section titles, holds only a text). The panel owns the rows,
// places them, listens to their sliders and sets them from the processor.
#pragma once

#include <JuceHeader.h>

#include <memory>

#include "ParameterSlider.h"

class ParamsPanel;

class ParameterContainer : public juce::Component
{
public:
    explicit ParameterContainer (int rowId) : id (rowId) {}
    ~ParameterContainer() override = default;

    // The parameter's value arrived from the processor; sets the control
    // without notification.
    virtual void SetValue (float) {}
    virtual float GetValue() { return 0.0f; }
    virtual void SetText (juce::String) {}

    const int id;      // the row's key, and the paramId of its slider
    bool shown = true; // the output layout shows this row

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ParameterContainer)
};

// A name on the left and a horizontal slider with a value box on the right.
class SliderParameterContainer : public ParameterContainer
{
public:
    // steps: slider positions from 0 to 1; divisor, centred, raw: how a typed
    // number becomes a value (see ParameterSlider).
    SliderParameterContainer (int id, int steps, int divisor, bool centred, bool raw,
                              ParamsPanel* panel, juce::String name, juce::Colour colour);
    ~SliderParameterContainer() override;

    void SetValue (float) override;
    float GetValue() override;
    void SetText (juce::String) override;

    ParameterSlider& getSlider() noexcept { return *slider; }
    juce::Label& getLabel() noexcept { return *label; }

private:
    std::unique_ptr<juce::Label> label;
    std::unique_ptr<ParameterSlider> slider;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (SliderParameterContainer)
};

// The endless rotation knob with its value box, named on its left.
class RotaryParameterContainer : public ParameterContainer
{
public:
    // The colour is not used: the knob keeps the look and feel's colours.
    RotaryParameterContainer (int id, ParamsPanel* panel, juce::String name, juce::Colour colour);
    ~RotaryParameterContainer() override;

    void SetValue (float) override;

    ParameterSlider& getSlider() noexcept { return *slider; }
    juce::Label& getLabel() noexcept { return *label; }

private:
    ParameterSlider* MakeRotarySlider (juce::Component* parent);

    std::unique_ptr<juce::Label> label;
    std::unique_ptr<ParameterSlider> slider;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (RotaryParameterContainer)
};

// A section title ("MIC ORIENTATION", "WIDTH", "POLARS").
class LabelContainer : public ParameterContainer
{
public:
    LabelContainer (int id, ParamsPanel* panel, juce::String text);
    ~LabelContainer() override = default;

    void SetText (juce::String) override;

    juce::Label& getLabel() noexcept { return *label; }

private:
    std::unique_ptr<juce::Label> label;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (LabelContainer)
};
