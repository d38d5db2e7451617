#include "ParameterContainer.h"

#include "HostType.h"
#include "ParamsPanel.h"
#include "QVLookAndFeel.h"

namespace
{
constexpr int valueBoxWidth = 38;  // pixels, right of every slider
constexpr int valueBoxHeight = 18; // pixels
constexpr float valueBoxAlpha = 0.2f; // black behind the value text

const juce::Rectangle<int> sliderBounds (84, 0, 112, 20);   // in a slider row
const juce::Rectangle<int> rotaryBounds (105, -2, 90, 33);  // in the rotation row; overhangs the row a little
constexpr int rotaryLabelLeft = 98;   // the knob's name starts this far left of the knob
constexpr int rotaryLabelWidth = 72;
constexpr int rotaryLabelHeight = 18;

const juce::Rectangle<int> titleBounds (0, 0, 196, 17);     // in a title row

// Typed text in value boxes upsets some of Steinberg's older hosts.
void MakeReadOnlyUnderSteinbergHosts (juce::Slider& slider)
{
    if (HostType::IsReadOnlyValueHost())
        slider.setTextBoxIsEditable (false);
}
} // namespace

//==============================================================================
SliderParameterContainer::SliderParameterContainer (int rowId, int steps, int divisor, bool centred, bool raw,
                                                    ParamsPanel* panel, juce::String name, juce::Colour colour)
    : ParameterContainer (rowId)
{
    slider = std::make_unique<ParameterSlider> (divisor, rowId, centred, raw);
    slider->setSliderStyle (juce::Slider::LinearHorizontal);
    // The interval is the float step, as the parameter's positions are.
    slider->setRange (0.0, 1.0, (double) (1.0f / (float) steps));
    slider->setTextBoxStyle (juce::Slider::TextBoxRight, false, valueBoxWidth, valueBoxHeight);
    slider->setBounds (sliderBounds);
    slider->setColour (juce::Slider::trackColourId, colour);
    slider->setColour (juce::Slider::textBoxBackgroundColourId, juce::Colours::black.withAlpha (valueBoxAlpha));
    slider->listener = panel;
    slider->addListener (panel);

    addAndMakeVisible (*slider);
    label.reset (QVLookAndFeel::MakeAttachedLabel (slider.get(), name));

    panel->addAndMakeVisible (this);
    MakeReadOnlyUnderSteinbergHosts (*slider);
}

SliderParameterContainer::~SliderParameterContainer()
{
    label.reset();
    slider.reset();
}

void SliderParameterContainer::SetValue (float v)
{
    slider->setValue (v, juce::dontSendNotification);
    // The box shows the processor's text, which a slider already at v would not ask for again.
    slider->updateText();
}

float SliderParameterContainer::GetValue()
{
    return (float) slider->getValue();
}

void SliderParameterContainer::SetText (juce::String text)
{
    label->setText (text, juce::dontSendNotification);
}

//==============================================================================
RotaryParameterContainer::RotaryParameterContainer (int rowId, ParamsPanel* panel, juce::String name, juce::Colour)
    : ParameterContainer (rowId)
{
    constexpr float twoPi = juce::MathConstants<float>::twoPi;

    slider.reset (MakeRotarySlider (this));
    slider->setBounds (rotaryBounds);
    slider->addListener (panel);
    // Endless: the knob turns on past 360 degrees into 0.
    slider->setRotaryParameters (twoPi, 2.0f * twoPi, false);

    label.reset (QVLookAndFeel::MakeSmallLabel (this));
    label->setText (name, juce::dontSendNotification);
    label->setBounds (slider->getX() - rotaryLabelLeft, slider->getY() + slider->getHeight() / 2 - rotaryLabelHeight / 2,
                      rotaryLabelWidth, rotaryLabelHeight);
    label->setJustificationType (juce::Justification::centredRight);

    slider->listener = panel;
    panel->addAndMakeVisible (this);
}

RotaryParameterContainer::~RotaryParameterContainer()
{
    label.reset();
    slider.reset();
}

ParameterSlider* RotaryParameterContainer::MakeRotarySlider (juce::Component* parent)
{
    constexpr int degreesPerTurn = 360;

    auto* knob = new ParameterSlider (degreesPerTurn, id, false, false);
    parent->addAndMakeVisible (knob);
    knob->setSliderStyle (juce::Slider::Rotary);
    knob->setRange (0.0, 1.0, (double) (1.0f / (float) degreesPerTurn));
    knob->setValue (0.0, juce::dontSendNotification);
    knob->setDoubleClickReturnValue (true, 0.0);
    knob->setTextBoxStyle (juce::Slider::TextBoxRight, false, valueBoxWidth, valueBoxHeight);
    knob->setColour (juce::Slider::textBoxBackgroundColourId, juce::Colours::black.withAlpha (valueBoxAlpha));
    knob->setColour (juce::Slider::trackColourId, juce::Colours::black.withAlpha (0.5f));
    knob->setPopupMenuEnabled (true);
    MakeReadOnlyUnderSteinbergHosts (*knob);
    return knob;
}

void RotaryParameterContainer::SetValue (float v)
{
    slider->setValue (v * slider->getMaximum(), juce::dontSendNotification);
    slider->updateText();
}

//==============================================================================
LabelContainer::LabelContainer (int rowId, ParamsPanel* panel, juce::String text)
    : ParameterContainer (rowId)
{
    label = std::make_unique<juce::Label> (juce::String(), text);
    addAndMakeVisible (*label);
    label->setBounds (titleBounds);
    label->setFont (QVLookAndFeel::GetUIFont (QVLookAndFeel::mediumFontSize, juce::Font::bold));
    panel->addAndMakeVisible (this);
}

void LabelContainer::SetText (juce::String text)
{
    label->setText (text, juce::dontSendNotification);
}
