#pragma once

#include <JuceHeader.h>

#include <memory>

#include "AudioProcessor.h"
#include "QVLookAndFeel.h"
#include "QuorvaneListener.h"

class Quorvane2AudioProcessor;
class QuorvanePanel;
class InputPanel;
class OutputPanel;
class ParamsPanel;
class InfoPanel;

/** The plug-in's editor: a fixed 522 x 560 window holding the input, output,
    surround-controls, parameter and info panels, refreshed from the processor
    every 40 ms, with a help overlay behind the small icon in its lower right
    corner.

    Message thread only.
*/
class Quorvane2AudioProcessorEditor : public juce::AudioProcessorEditor,
                                      public QuorvaneListener,
                                      public juce::Button::Listener,
                                      public juce::Timer
{
public:
    static constexpr int kWidth = 522;
    static constexpr int kHeight = 560;
    static constexpr int kRefreshMs = 40;
    static constexpr uint32_t kBackgroundArgb = 0xFF6E8296; // red 110, green 130, blue 150

    explicit Quorvane2AudioProcessorEditor(Quorvane2AudioProcessor* processor);
    ~Quorvane2AudioProcessorEditor() override;

    void paint(juce::Graphics& g) override;
    void mouseDown(const juce::MouseEvent& e) override;
    void timerCallback() override;

    // The panels listen for themselves.
    void ParameterChangedFloat(int index, float value) override;
    void buttonClicked(juce::Button*) override {}

    // For tests and the adapters' own checks.
    QuorvanePanel* getSurroundPanel() const noexcept { return surroundPanel.get(); }
    InputPanel* getInputPanel() const noexcept { return inputPanel.get(); }
    OutputPanel* getOutputPanel() const noexcept { return outputPanel.get(); }
    ParamsPanel* getParamsPanel() const noexcept { return paramsPanel.get(); }
    InfoPanel* getInfoPanel() const noexcept { return infoPanel.get(); }
    juce::ImageComponent* getHelpIcon() const noexcept { return helpIcon.get(); }
    juce::ImageComponent* getHelpOverlay() const noexcept { return helpOverlay.get(); }

private:
    std::unique_ptr<QuorvanePanel> surroundPanel;    // surround display, tilt control, logo
    std::unique_ptr<InputPanel> inputPanel;          // input format, meters, trim, switches
    std::unique_ptr<OutputPanel> outputPanel;        // output layout and channel strips
    std::unique_ptr<ParamsPanel> paramsPanel;        // rotation, tilt, zoom, width and polar rows
    std::unique_ptr<InfoPanel> infoPanel;            // info image, version and notice
    std::unique_ptr<juce::ImageComponent> helpIcon;  // 16 x 12, opens the help
    std::unique_ptr<juce::ImageComponent> helpOverlay; // 522 x 560 over everything
    std::unique_ptr<QVLookAndFeel> lookAndFeel;
    Quorvane2AudioProcessor* const processor;        // not owned

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(Quorvane2AudioProcessorEditor)
};
