// A processor for tests of the processor base and the adapters: every
// operation answers its neutral value, so a test overrides only what it looks at.
#pragma once

#include "AudioProcessor.h"

class NeutralTestProcessor : public juce::AudioProcessor
{
public:
    juce::String getName() const override { return "Test"; }
    void prepareToPlay(double, int) override {}
    void releaseResources() override {}
    void processBlock(juce::AudioSampleBuffer&, juce::MidiBuffer&) override {}
    juce::String getInputChannelName(int) const override { return {}; }
    juce::String getOutputChannelName(int) const override { return {}; }
    bool isInputChannelStereoPair(int) const override { return false; }
    bool isOutputChannelStereoPair(int) const override { return false; }
    bool silenceInProducesSilenceOut() const override { return false; }
    double getTailLengthSeconds() const override { return 0.0; }
    bool acceptsMidi() const override { return false; }
    bool producesMidi() const override { return false; }
    juce::AudioProcessorEditor* createEditor() override { return nullptr; }
    bool hasEditor() const override { return false; }

    using juce::AudioProcessor::getParameterName;
    using juce::AudioProcessor::getParameterText;
    int getNumParameters() override { return 0; }
    juce::String getParameterName(int) override { return {}; }
    float getParameter(int) override { return 0.0f; }
    juce::String getParameterText(int) override { return {}; }
    void setParameter(int, float) override {}

    int getNumPrograms() override { return 0; }
    int getCurrentProgram() override { return 0; }
    void setCurrentProgram(int) override {}
    juce::String getProgramName(int) override { return {}; }
    void changeProgramName(int, const juce::String&) override {}

    void getStateInformation(juce::MemoryBlock&) override {}
    void setStateInformation(const void*, int) override {}
};
