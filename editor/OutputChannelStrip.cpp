#include "OutputChannelStrip.h"

#include "OutputPanel.h"
#include "QVLookAndFeel.h"
#include "TypedLevel.h"

// GCC 12 takes the on-stack iterator that the listener list links in while it
// calls its listeners, and unlinks again before returning, for a dangling pointer.
#if defined(__GNUC__) && ! defined(__clang__) && __GNUC__ >= 12
 #pragma GCC diagnostic ignored "-Wdangling-pointer"
#endif

namespace
{
constexpr int meterTop = 25;
constexpr int sliderTop = 19;
constexpr int buttonWidth = 16, buttonHeight = 13;
constexpr int channelLabelWidth = 18, channelLabelHeight = 12;
constexpr int valueLabelWidth = 40, valueLabelHeight = 15;
constexpr int nameLabelHeight = 10;
constexpr int nameCentreFromBottom = 23;
constexpr int rightMargin = 6;      // from the slider to the strip's right edge
constexpr int valueLabelInset = 4;  // from the strip's top-right corner
constexpr float soloCentreX = 0.3f, muteCentreX = 0.7f, buttonCentreY = 0.92f;

std::unique_ptr<BargraphComponent> MakeMeter (juce::Component& parent)
{
    auto meter = std::make_unique<BargraphComponent>();
    parent.addAndMakeVisible (*meter);
    meter->setSize (OutputChannelStrip::meterWidth, OutputChannelStrip::meterHeight);
    return meter;
}

std::unique_ptr<juce::Label> MakeChannelLabel (juce::Component& parent, const juce::String& text)
{
    std::unique_ptr<juce::Label> label (QVLookAndFeel::MakeSmallLabel (&parent));
    label->setText (text, juce::dontSendNotification);
    label->setSize (channelLabelWidth, channelLabelHeight);
    return label;
}
} // namespace

OutputChannelStrip::OutputChannelStrip (int channels, const juce::String& name, int id, OutputPanel* owner)
    : numChannels (channels), stripId (id), isBFormat (channels == 4)
{
    meter1 = MakeMeter (*this);
    meter2 = MakeMeter (*this);
    meter2->setVisible (numChannels > 1);

    if (isBFormat)
    {
        meter3 = MakeMeter (*this);
        meter4 = MakeMeter (*this);
        wLabel = MakeChannelLabel (*this, "W");
        xLabel = MakeChannelLabel (*this, "X");
        yLabel = MakeChannelLabel (*this, "Y");
        zLabel = MakeChannelLabel (*this, "Z");
    }

    nameLabel.reset (QVLookAndFeel::MakeSmallLabel (this));
    nameLabel->setText (name, juce::dontSendNotification);
    nameLabel->setVisible (true);

    trimSlider = std::make_unique<ParameterSlider> (100, stripId, false, false);
    trimSlider->setSliderStyle (juce::Slider::LinearVertical);
    trimSlider->setRange (0.0, 100.0, 1.0);
    trimSlider->listener = owner;
    addAndMakeVisible (*trimSlider);
    trimSlider->addListener (this);
    trimSlider->setSize (sliderWidth, sliderHeight);

    valueLabel.reset (QVLookAndFeel::MakeSliderLabel (this));
    valueLabel->setVisible (true);
    valueLabel->addListener (this);

    muteButton = std::make_unique<GlowingButton> ("M", juce::Colours::darkorange);
    muteButton->setSize (buttonWidth, buttonHeight);
    muteButton->addListener (this);
    addAndMakeVisible (*muteButton);

    soloButton = std::make_unique<GlowingButton> ("S", juce::Colours::lightgreen);
    soloButton->setSize (buttonWidth, buttonHeight);
    soloButton->addListener (this);
    addAndMakeVisible (*soloButton);
}

OutputChannelStrip::~OutputChannelStrip()
{
    listeners.clear();
}

void OutputChannelStrip::SetTrim (int value, const juce::String& text)
{
    if (trimSlider == nullptr)
        return;

    trimSlider->setValue (value, juce::dontSendNotification);
    trimText = text;
    valueLabel->setText (text, juce::dontSendNotification);
}

void OutputChannelStrip::SetMuteStates (bool mute, bool soloMute)
{
    muteButton->flashing = false;
    muteButton->showText = true;
    muteButton->repaint();

    // Silenced only by another group's solo: lit and blinking. Muted by its
    // own mute: lit and steady.
    if (soloMute && ! mute)
        muteButton->flashing = true;

    muteButton->setToggleState (mute || soloMute, juce::dontSendNotification);
}

void OutputChannelStrip::SetSliderColour (juce::Colour colour)
{
    if (trimSlider != nullptr)
        trimSlider->setColour (juce::Slider::trackColourId, colour);
}

void OutputChannelStrip::paint (juce::Graphics& g)
{
    QVLookAndFeel::DrawSubPanelBackground (g, juce::Rectangle<int> (1, 1, juce::jmax (getWidth() - 2, 0),
                                                                    juce::jmax (getHeight() - 2, 0)).toFloat());
}

void OutputChannelStrip::resized()
{
    const bool isPair = numChannels == 2;
    constexpr int pairGap = 4, bFormatGap = 12, singleGap = 10;

    meter1->setTopLeftPosition (isPair ? 6 : 10, meterTop);
    int sliderX = meter1->getRight() + singleGap;

    if (isPair)
    {
        meter2->setTopLeftPosition (meter1->getRight() + pairGap, meterTop);
        sliderX = meter2->getRight() + pairGap;
    }
    else if (isBFormat)
    {
        meter2->setTopLeftPosition (meter1->getRight() + bFormatGap, meterTop);
        meter3->setTopLeftPosition (meter2->getRight() + bFormatGap, meterTop);
        meter4->setTopLeftPosition (meter3->getRight() + bFormatGap, meterTop);

        // The B-format group has no mute, solo or name: W X Y Z say what it is.
        soloButton->setVisible (false);
        muteButton->setVisible (false);
        nameLabel->setVisible (false);

        const std::pair<juce::Label*, BargraphComponent*> labelled[] = {
            { wLabel.get(), meter1.get() }, { xLabel.get(), meter2.get() },
            { yLabel.get(), meter3.get() }, { zLabel.get(), meter4.get() }
        };

        for (auto [label, meter] : labelled)
            label->setTopLeftPosition (meter->getX() - 6, meter->getBottom() + 6);

        sliderX = meter4->getRight() + bFormatGap;
    }

    trimSlider->setTopLeftPosition (sliderX, sliderTop);

    const int width = trimSlider->getRight() + rightMargin;
    setSize (width, getHeight()); // calls back here once; the second pass changes nothing

    nameLabel->setSize (width, nameLabelHeight);
    nameLabel->setCentrePosition (width / 2, getHeight() - nameCentreFromBottom);

    soloButton->setCentreRelative (soloCentreX, buttonCentreY);
    muteButton->setCentreRelative (muteCentreX, buttonCentreY);

    valueLabel->setBounds (width - valueLabelInset - valueLabelWidth, valueLabelInset, valueLabelWidth, valueLabelHeight);
}

void OutputChannelStrip::sliderValueChanged (juce::Slider* slider)
{
    if (slider != trimSlider.get())
        return;

    const int position = (int) slider->getValue();
    listeners.call ([this, position] (OutputChannelStripListener& l) { l.TrimChanged (stripId, position); });
}

void OutputChannelStrip::labelTextChanged (juce::Label* label)
{
    if (label != valueLabel.get())
        return;

    const auto typed = TypedLevel::ParseNumber (label->getText());

    // The label goes back to the processor's text at once; the new level's
    // text comes with the processor's next refresh. Text without a number
    // changes nothing.
    label->setText (trimText, juce::dontSendNotification);

    if (! typed)
        return;

    const int position = (int) (TypedLevel::DecibelsToFraction (*typed) * 100.0f);
    listeners.call ([this, position] (OutputChannelStripListener& l) { l.TrimChanged (stripId, position); });
}

void OutputChannelStrip::buttonClicked (juce::Button* button)
{
    // The toggle state is already the new one: glowing buttons flip before they notify.
    const bool on = button->getToggleState();

    if (button == muteButton.get())
        listeners.call ([this, on] (OutputChannelStripListener& l) { l.MuteChanged (stripId, on); });
    else if (button == soloButton.get())
        listeners.call ([this, on] (OutputChannelStripListener& l) { l.SoloChanged (stripId, on); });
}
