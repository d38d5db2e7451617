// The "INPUT" panel: the input format (A-format capsules or B-format), the
// four input meters named for that format, the input trim and the invert,
// end-fire and high-pass switches. User actions become processor calls; the
// controls follow only what the processor reports back. Message thread only.
#pragma once

#include <JuceHeader.h>

#include "BargraphComponent.h"
#include "GlowingButton.h"
#include "PanelHeaderLabel.h"
#include "ParameterGestures.h"
#include "ParameterSlider.h"
#include "Quorvane2AudioProcessor.h"

class InputPanel : public juce::Component,
                   public QuorvaneListener,
                   public juce::Slider::Listener,
                   public juce::ComboBox::Listener,
                   public juce::Button::Listener,
                   public ParameterSliderListener,
                   public juce::Label::Listener
{
public:
    explicit InputPanel (Quorvane2AudioProcessor&);
    ~InputPanel() override;

    // Channel names and combo selection for the processor's input format, no notification.
    void UpdatePanel();

    void paint (juce::Graphics&) override;
    void resized() override;
    void comboBoxChanged (juce::ComboBox*) override;
    void sliderValueChanged (juce::Slider*) override;
    void labelTextChanged (juce::Label*) override;
    void buttonClicked (juce::Button*) override;

    // QuorvaneListener: message thread, from the processor's refresh.
    void ParameterChangedFloat (int index, float value) override;
    void InputMeterChanged (int index, float value) override;

    // ParameterSliderListener: Alt-click on the trim slider and the start and
    // end of its drags. Its text stays the default: the slider has no text box.
    void resetToDefaultValue (int id) override;
    void changeStarted (int id) override;
    void changeEnded (int id) override;

    static constexpr int trimSliderId = 1;

    // Processor parameters written and mirrored here.
    static constexpr int inputLevelIndex = 0;
    static constexpr int invertIndex = 1;
    static constexpr int endFireIndex = 2;
    static constexpr int filterIndex = 3;
    static constexpr int firstMeterIndex = 37; // 37-40, one per input

    // Children, in declaration order.
    std::unique_ptr<PanelHeaderLabel> header;
    std::unique_ptr<juce::ComboBox> formatCombo; // "A FORMAT" 1, "B FORMAT" 2
    std::unique_ptr<BargraphComponent> meter1, meter2, meter3, meter4;
    std::unique_ptr<juce::Label> meterLabel1, meterLabel2, meterLabel3, meterLabel4;
    std::unique_ptr<juce::Label> trimLabel;
    std::unique_ptr<ParameterSlider> trimSlider; // input level position 0..100
    std::unique_ptr<juce::Label> trimValueLabel; // input level text, editable
    std::unique_ptr<GlowingButton> invertButton;
    std::unique_ptr<GlowingButton> endFireButton;
    std::unique_ptr<GlowingButton> hiPassButton;

private:
    Quorvane2AudioProcessor& processor;
    ParameterGestures gestures { processor }; // after the processor: ends what a closing editor cut short

    // The last level text the processor gave, shown again when typed text is refused.
    juce::String trimText;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (InputPanel)
};
