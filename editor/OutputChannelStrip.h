// One column of the output panel: the meters of one output group (one
// channel, a pair, or the four B-format channels W X Y Z), its trim slider
// with an editable dB label, mute "M", solo "S" and the group's name.
//
// The strip keeps no parameter state: it tells its listeners what the user
// did, and the output panel pushes the processor's values back through
// SetTrim and SetMuteStates. Message thread only.
#pragma once

#include <JuceHeader.h>

#include "BargraphComponent.h"
#include "GlowingButton.h"
#include "OutputChannelStripListener.h"
#include "ParameterSlider.h"

class OutputPanel;

class OutputChannelStrip : public juce::Component,
                           public juce::Slider::Listener,
                           public juce::Button::Listener,
                           public juce::Label::Listener
{
public:
    // numChannels 1, 2 or 4 (B-format); stripId is the strip's key in the
    // output panel; owner (may be null) gives the slider its texts and resets.
    OutputChannelStrip (int numChannels, const juce::String& name, int stripId, OutputPanel* owner);
    ~OutputChannelStrip() override;

    // Slider position 0..100 and the level text, both without notification.
    void SetTrim (int value, const juce::String& text);
    // "M" lit when muted or silenced by another group's solo; it blinks
    // (under the panel's flash timer) only in the second case.
    void SetMuteStates (bool mute, bool soloMute);
    void SetSliderColour (juce::Colour);

    void paint (juce::Graphics&) override;
    void resized() override;

    void sliderValueChanged (juce::Slider*) override;
    void labelTextChanged (juce::Label*) override;
    void buttonClicked (juce::Button*) override;

    static constexpr int meterWidth = 6;
    static constexpr int meterHeight = 76;
    static constexpr int sliderWidth = 24;
    static constexpr int sliderHeight = 91;
    static constexpr int stripHeight = 136; // given by the output panel

    // Children, in declaration order; the output panel reaches the meters and
    // the buttons directly.
    std::unique_ptr<BargraphComponent> meter1;
    std::unique_ptr<BargraphComponent> meter2; // always made; shown for more than one channel
    std::unique_ptr<BargraphComponent> meter3; // B-format only
    std::unique_ptr<BargraphComponent> meter4; // B-format only
    std::unique_ptr<juce::Label> nameLabel;
    std::unique_ptr<ParameterSlider> trimSlider; // position 0..100
    std::unique_ptr<juce::Label> valueLabel;     // level text, editable
    std::unique_ptr<GlowingButton> muteButton;
    std::unique_ptr<GlowingButton> soloButton;
    std::unique_ptr<juce::Label> wLabel, xLabel, yLabel, zLabel; // B-format only

    const int numChannels;
    bool active = true; // in the current output layout; the output panel's to read and write
    const int stripId;
    const bool isBFormat;

    juce::ListenerList<OutputChannelStripListener> listeners;

private:
    // The last level text the panel gave, shown again when typed text is refused.
    juce::String trimText;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (OutputChannelStrip)
};
