#include "InputPanel.h"

#include "QVLookAndFeel.h"
#include "TypedLevel.h"

#include <cmath>

namespace
{
constexpr int aFormatId = 1, bFormatId = 2; // combo ids: the processor's InputFormat + 1

// Channel names under the four meters, by input format.
const char* const channelNames[2][4] = {
    { "LF", "RF", "LB", "RB" }, // A-format capsules: left/right, front/back
    { "W", "X", "Y", "Z" },     // B-format
};

constexpr int meterLeft = 48, meterStep = 20, meterTop = 45;
constexpr int meterWidth = 6, meterHeight = 76;
constexpr int meterLabelWidth = 18, meterLabelHeight = 12;
constexpr int meterLabelOffsetX = -5, meterLabelGap = 6;

constexpr int trimX = 164, trimY = 39, trimWidth = 24, trimHeight = 91;
constexpr int trimTextX = 156, trimTextWidth = 40, trimValueHeight = 15, trimLabelHeight = 14;
constexpr int trimLabelRise = 4; // "TRIM" overlaps the slider's bottom by this much

constexpr int buttonWidth = 60, buttonHeight = 13;
constexpr float buttonCentreY = 0.905f;
constexpr float invertCentreX = 0.2f, endFireCentreX = 0.5f, hiPassCentreX = 0.8f;

constexpr int headerHeight = 20, comboInset = 4;

// A switch parameter is on strictly above one half.
bool IsOn (float value) { return value > 0.5f; }
} // namespace

InputPanel::InputPanel (Quorvane2AudioProcessor& p)
    : juce::Component ("Input"), processor (p)
{
    header = std::make_unique<PanelHeaderLabel> ("INPUT", QVLookAndFeel::GetUIFont (QVLookAndFeel::titleFontSize, juce::Font::bold));
    addAndMakeVisible (*header);
    header->setBounds (0, 0, 360, headerHeight);

    formatCombo = std::make_unique<juce::ComboBox> (juce::String());
    addAndMakeVisible (*formatCombo);
    formatCombo->addItem ("A FORMAT", aFormatId);
    formatCombo->addItem ("B FORMAT", bFormatId);
    formatCombo->setSelectedId (aFormatId, juce::dontSendNotification);
    formatCombo->setBounds (121, 4, 94, 14);
    formatCombo->addListener (this);

    std::unique_ptr<BargraphComponent>* const meters[] = { &meter1, &meter2, &meter3, &meter4 };
    std::unique_ptr<juce::Label>* const labels[] = { &meterLabel1, &meterLabel2, &meterLabel3, &meterLabel4 };

    for (int i = 0; i < 4; ++i)
    {
        auto& meter = *meters[i];
        meter = std::make_unique<BargraphComponent>();
        addAndMakeVisible (*meter);
        meter->setBounds (meterLeft + i * meterStep, meterTop, meterWidth, meterHeight);

        auto& label = *labels[i];
        label.reset (QVLookAndFeel::MakeSmallLabel (this));
        label->setText (channelNames[Quorvane2AudioProcessor::kAFormat][i], juce::dontSendNotification);
        label->setBounds (meter->getX() + meterLabelOffsetX, meter->getBottom() + meterLabelGap, meterLabelWidth, meterLabelHeight);
    }

    trimSlider = std::make_unique<ParameterSlider> (100, trimSliderId, false, false);
    trimSlider->setSliderStyle (juce::Slider::LinearVertical);
    trimSlider->setTextBoxStyle (juce::Slider::NoTextBox, false, 0, 0);
    trimSlider->setRange (0.0, 100.0, 1.0);
    addAndMakeVisible (*trimSlider);
    trimSlider->addListener (this);
    trimSlider->listener = this;
    trimSlider->setBounds (trimX, trimY, trimWidth, trimHeight);

    trimValueLabel.reset (QVLookAndFeel::MakeSliderLabel (this));
    trimValueLabel->setBounds (trimTextX, trimSlider->getY() - trimValueHeight, trimTextWidth, trimValueHeight);
    trimValueLabel->addListener (this);

    trimLabel.reset (QVLookAndFeel::MakeSmallLabel (this));
    trimLabel->setText ("TRIM", juce::dontSendNotification);
    trimLabel->setBounds (trimTextX, trimSlider->getBottom() - trimLabelRise, trimTextWidth, trimLabelHeight);

    const std::pair<std::unique_ptr<GlowingButton>*, const char*> buttons[] = {
        { &invertButton, "INVERT" }, { &endFireButton, "END FIRE" }, { &hiPassButton, "HI PASS" }
    };

    for (auto [button, caption] : buttons)
    {
        *button = std::make_unique<GlowingButton> (caption, juce::Colours::darkorange);
        (*button)->setSize (buttonWidth, buttonHeight);
        (*button)->addListener (this);
        addAndMakeVisible (**button);
    }

    // A-format names and "A FORMAT" until the processor's full update says otherwise.
    processor.quorvaneListeners.add (this);
}

InputPanel::~InputPanel()
{
    // The editor empties the processor's list when it closes; leaving it here
    // as well means a panel closed on its own is never called again.
    processor.quorvaneListeners.remove (this);
}

void InputPanel::UpdatePanel()
{
    const int format = processor.GetInputFormat() == Quorvane2AudioProcessor::kAFormat
                           ? Quorvane2AudioProcessor::kAFormat
                           : Quorvane2AudioProcessor::kBFormat;
    juce::Label* const labels[] = { meterLabel1.get(), meterLabel2.get(), meterLabel3.get(), meterLabel4.get() };

    for (int i = 0; i < 4; ++i)
        labels[i]->setText (channelNames[format][i], juce::dontSendNotification);

    formatCombo->setSelectedId (format + 1, juce::dontSendNotification);
}

void InputPanel::paint (juce::Graphics& g)
{
    QVLookAndFeel::DrawPanelBackground (g, this);

    // The light plate behind the trim group, from above its value to below "TRIM".
    constexpr int plateX = 5, plateInsetWidth = 10, plateAbove = 3, plateBelow = 28;
    const int top = trimValueLabel->getY();
    const juce::Rectangle<int> plate (plateX, top - plateAbove, getWidth() - plateInsetWidth,
                                      trimSlider->getY() + trimSlider->getHeight() - top + plateBelow);
    QVLookAndFeel::DrawSubPanelBackground (g, plate.toFloat());
}

void InputPanel::resized()
{
    header->setBounds (0, 0, getWidth(), headerHeight);
    invertButton->setCentreRelative (invertCentreX, buttonCentreY);
    endFireButton->setCentreRelative (endFireCentreX, buttonCentreY);
    hiPassButton->setCentreRelative (hiPassCentreX, buttonCentreY);
    formatCombo->setTopLeftPosition (getWidth() - comboInset - formatCombo->getWidth(), comboInset);
}

void InputPanel::comboBoxChanged (juce::ComboBox* combo)
{
    if (combo != formatCombo.get())
        return;

    const int id = combo->getSelectedId();

    // Only the two listed formats reach the processor; anything else puts
    // the processor's own format back in the box.
    if (id != aFormatId && id != bFormatId)
    {
        combo->setSelectedId (processor.GetInputFormat() + 1, juce::dontSendNotification);
        return;
    }

    // The input format is no host parameter: the processor tells no host of this gesture.
    gestures.Framed ({ Quorvane2AudioProcessor::kInputFormatIndex },
                     [&] { processor.SetInputFormat (static_cast<Quorvane2AudioProcessor::InputFormat> (id - 1)); });
}

void InputPanel::sliderValueChanged (juce::Slider* slider)
{
    if (slider != trimSlider.get())
        return;

    const float value = (float) slider->getValue() / 100.0f;
    gestures.Framed ({ inputLevelIndex }, [&] { processor.setParameterNotifyingHost (inputLevelIndex, value); });
}

void InputPanel::labelTextChanged (juce::Label* label)
{
    if (label != trimValueLabel.get())
        return;

    const auto typed = TypedLevel::ParseNumber (label->getText());

    // The label goes back to the processor's text at once; the new level's
    // text comes with the processor's next refresh. Text without a number
    // changes nothing.
    label->setText (trimText, juce::dontSendNotification);

    if (typed)
        gestures.Framed ({ inputLevelIndex }, [&] {
            processor.setParameterNotifyingHost (inputLevelIndex, TypedLevel::DecibelsToFraction (*typed));
        });
}

void InputPanel::buttonClicked (juce::Button* button)
{
    // The toggle state is already the new one: glowing buttons flip before they notify.
    const float v = button->getToggleState() ? 1.0f : 0.0f;
    const int index = button == invertButton.get()    ? invertIndex
                      : button == endFireButton.get() ? endFireIndex
                      : button == hiPassButton.get()  ? filterIndex
                                                      : -1;

    if (index >= 0)
        gestures.Framed ({ index }, [&] { processor.setParameterNotifyingHost (index, v); });
}

void InputPanel::ParameterChangedFloat (int index, float value)
{
    switch (index)
    {
        case inputLevelIndex:
            trimText = processor.getParameterText (inputLevelIndex);
            trimValueLabel->setText (trimText, juce::dontSendNotification);
            // A NaN a host may have left in the parameter shows as the bottom.
            trimSlider->setValue (std::isfinite (value) ? value * 100.0f : 0.0f, juce::dontSendNotification);
            break;
        case invertIndex:
            invertButton->setToggleState (IsOn (value), juce::dontSendNotification);
            break;
        case endFireIndex:
            endFireButton->setToggleState (IsOn (value), juce::dontSendNotification);
            break;
        case filterIndex:
            hiPassButton->setToggleState (IsOn (value), juce::dontSendNotification);
            break;
        case Quorvane2AudioProcessor::kInputFormatIndex:
            UpdatePanel();
            break;
        default:
            break;
    }
}

void InputPanel::InputMeterChanged (int index, float value)
{
    // Range first: index - 37 would overflow for the most negative indices.
    if (index < firstMeterIndex || index >= firstMeterIndex + 4)
        return;

    BargraphComponent* const meters[] = { meter1.get(), meter2.get(), meter3.get(), meter4.get() };
    meters[index - firstMeterIndex]->setValue (value);
}

void InputPanel::resetToDefaultValue (int id)
{
    if (id == trimSliderId)
        gestures.Framed ({ inputLevelIndex }, [this] { processor.resetParameterToDefault (inputLevelIndex); });
}

void InputPanel::changeStarted (int id)
{
    if (id == trimSliderId)
        gestures.Begin (inputLevelIndex);
}

void InputPanel::changeEnded (int id)
{
    if (id == trimSliderId)
        gestures.End (inputLevelIndex);
}
