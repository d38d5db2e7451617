#include "ProcessorEditorWindow.h"

#include "Quorvane2AudioProcessor.h"

ProcessorEditorWindow::ProcessorEditorWindow(Quorvane2AudioProcessor& processor)
    : juce::AudioProcessorEditor(&processor)
{
    setOpaque(true);
    setSize(kWidth, kHeight);
}

ProcessorEditorWindow::~ProcessorEditorWindow() = default;

void ProcessorEditorWindow::paint(juce::Graphics& g)
{
    g.fillAll(juce::Colours::black);
}

juce::AudioProcessorEditor* CreateProcessorEditor(Quorvane2AudioProcessor& processor)
{
    return new ProcessorEditorWindow(processor);
}
