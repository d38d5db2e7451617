// The "OUTPUT" panel: the output layout combo and one channel strip per
// output group of the layout, side by side. It turns strip actions into
// parameter writes on the processor and moves its strips, meters and buttons
// only when the processor reports back. Message thread only.
#pragma once

#include <JuceHeader.h>

#include "OutputChannelStrip.h"
#include "OutputChannelStripListener.h"
#include "PanelHeaderLabel.h"
#include "ParameterGestures.h"
#include "ParameterSlider.h"
#include "Quorvane2AudioProcessor.h"

class OutputPanel : public juce::Component,
                    public juce::ComboBox::Listener,
                    public OutputChannelStripListener,
                    public QuorvaneListener,
                    public ParameterSliderListener,
                    public juce::Timer
{
public:
    explicit OutputPanel (Quorvane2AudioProcessor&);
    ~OutputPanel() override;

    // The eight layouts, the processor's one selected; no notification.
    void FillFormatCombo();
    // Which strips the processor's layout uses, and their animated places.
    void FormatChannelStrips();
    // Mute and solo lamps from the processor; the flash timer runs while any solo is on.
    void UpdateMutesAndSolos();

    void paint (juce::Graphics&) override;
    void resized() override;
    void comboBoxChanged (juce::ComboBox*) override;
    void timerCallback() override;

    // QuorvaneListener: message thread, from the processor's refresh.
    void ParameterChangedFloat (int index, float value) override;
    void OutputMeterChanged (int index, float value) override;
    void HostHasSetOutputFormat (OutputStemFormat) override;

    // OutputChannelStripListener: the strips' user actions.
    void TrimChanged (int key, int position) override;
    void MuteChanged (int key, bool on) override;
    void SoloChanged (int key, bool on) override;

    // ParameterSliderListener: the strips' trim sliders, whose id is the strip key:
    // texts, Alt-click resets and the start and end of every change.
    juce::String getTextFromValue (int key, double value) override;
    void resetToDefaultValue (int key) override;
    void changeStarted (int key) override;
    void changeEnded (int key) override;

    // Strip keys, left to right in every layout.
    enum StripKey
    {
        keyLR = 0,
        keyC = 1,
        keyLFE = 2,
        keyLsRs = 3,
        keyRLsRRs = 4,
        keyRC = 5,
        keyBF = 6,
        numStripKeys = 7
    };

    static constexpr int stripsLeft = 4;   // first strip's x
    static constexpr int stripsTop = 20;   // below the header
    static constexpr int stripGap = 3;     // between neighbouring strips
    static constexpr int parkedRise = 200; // inactive strips wait this far above the row
    static constexpr int slideInMs = 300;
    static constexpr int slideOutMs = 150;
    static constexpr int flashIntervalMs = 500;

    // Children, in declaration order.
    std::unique_ptr<PanelHeaderLabel> header;
    std::unique_ptr<juce::ComboBox> formatCombo;
    std::unique_ptr<OutputChannelStrip> stripC;
    std::unique_ptr<OutputChannelStrip> stripLR;
    std::unique_ptr<OutputChannelStrip> stripRLsRRs;
    std::unique_ptr<OutputChannelStrip> stripLsRs;
    std::unique_ptr<OutputChannelStrip> stripRC;
    std::unique_ptr<OutputChannelStrip> stripLFE;
    std::unique_ptr<OutputChannelStrip> stripBF;

    // Key to strip (not owning); every walk over the strips goes by key.
    juce::HashMap<int, OutputChannelStrip*> strips { 101 };

private:
    // Moves a strip to its place through the desktop's animator.
    void AnimateStrip (OutputChannelStrip&, juce::Rectangle<int> bounds, float alpha, int milliseconds);

    Quorvane2AudioProcessor& processor;
    ParameterGestures gestures { processor }; // after the processor: ends what a closing editor cut short

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (OutputPanel)
};
