#pragma once

#include "AudioProcessor.h"

class Quorvane2AudioProcessor;

/** A plain editor window of the plug-in's fixed size, with nothing in it. */
class ProcessorEditorWindow : public juce::AudioProcessorEditor
{
public:
    static constexpr int kWidth = 522;
    static constexpr int kHeight = 560;

    explicit ProcessorEditorWindow(Quorvane2AudioProcessor& processor);
    ~ProcessorEditorWindow() override;

    void paint(juce::Graphics& g) override;
};

/** Builds the editor that Quorvane2AudioProcessor::createEditor hands out. */
juce::AudioProcessorEditor* CreateProcessorEditor(Quorvane2AudioProcessor& processor);
