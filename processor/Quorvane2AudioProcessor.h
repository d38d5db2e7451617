#pragma once

#include <JuceHeader.h>

#include "AudioProcessor.h"
#include "ParameterManager.h"
#include "QuorvaneListener.h"
#include "QvaneHostDspProcess.h"

class PolarPatternParameter;

/** The plug-in's processor: owns the decoder engine and the 50 parameter
    objects, answers the host and feeds the editor through QuorvaneListener.

    Parameter indices: 0-34 host parameters, 35 input format, 36 output layout
    ("Array select"), 37-40 input meters, 41-49 output meters. Every parameter
    operation answers indices up to 49, although only 35 are announced.
*/
class Quorvane2AudioProcessor : public juce::AudioProcessor
{
public:
    enum InputFormat : int32_t
    {
        kAFormat = 0,
        kBFormat = 1
    };

    static constexpr unsigned int kNumParameterSlots = 50;
    static constexpr int kNumHostParameters = 35;
    static constexpr int kInputFormatIndex = 35;
    static constexpr int kArraySelectIndex = 36;
    static constexpr int kFirstMeterIndex = 37;   // 37-40 inputs, 41-49 outputs
    static constexpr int kFirstOutputMeterIndex = 41;
    static constexpr int kPolarPatternLRIndex = 8;

    Quorvane2AudioProcessor();
    ~Quorvane2AudioProcessor() override;

    //==============================================================================
    juce::String getName() const override;
    void prepareToPlay(double sampleRate, int estimatedSamplesPerBlock) override;
    void releaseResources() override;
    // audio thread, under the base's callback lock
    void processBlock(juce::AudioSampleBuffer& buffer, juce::MidiBuffer& midiMessages) override;
    juce::String getInputChannelName(int channelIndex) const override;
    juce::String getOutputChannelName(int channelIndex) const override;
    bool isInputChannelStereoPair(int index) const override;
    bool isOutputChannelStereoPair(int index) const override;
    bool silenceInProducesSilenceOut() const override;
    double getTailLengthSeconds() const override;
    bool acceptsMidi() const override;
    bool producesMidi() const override;
    void HostSetOutputFormat(int format) override;
    // Clears every filter and smoother of the engine (under the callback lock).
    void reset() override;
    juce::AudioProcessorEditor* createEditor() override;
    bool hasEditor() const override;

    using juce::AudioProcessor::getParameterName;
    using juce::AudioProcessor::getParameterText;
    int getNumParameters() override;
    juce::String getParameterName(int index) override;
    float getParameter(int index) override;
    juce::String getParameterText(int index) override;
    juce::String getParameterTextForValue(int index, float value, int maximumStringLength) const override;
    int getParameterNumSteps(int index) override;
    float getParameterDefaultValue(int index) override;
    void setParameter(int index, float newValue) override;
    bool isParameterAutomatable(int index) override;

    int getNumPrograms() override;
    int getCurrentProgram() override;
    void setCurrentProgram(int index) override;
    juce::String getProgramName(int index) override;
    void changeProgramName(int index, const juce::String& newName) override;

    void getStateInformation(juce::MemoryBlock& destData) override;
    void setStateInformation(const void* data, int sizeInBytes) override;

    //==============================================================================
    // Output and input format. Formats outside 1-8 are ignored.
    void UISetOutputFormat(OutputStemFormat format);
    OutputStemFormat GetOutputFormat();
    void SetInputFormat(InputFormat format);
    InputFormat GetInputFormat() const;
    void SetParameterAutomationForOutputFormat(OutputStemFormat format);
    OutputStemFormat GetHostOutputFormat() const noexcept { return hostOutputFormat.load(); }

    // Editor operations.
    void setAllPolars(float value);
    float getAllPolars() const noexcept { return allPolars; }
    void resetParameterToDefault(int index);
    bool GetIsMute(int index);
    bool GetIsSolo(int index);
    bool GetIsSoloMute(int index);
    bool HasLFE();
    bool IsFormat6();
    bool IsFormat7();

    // message thread: the editor's refresh
    void UpdateUI();
    void FullUIUpdate();
    void RefreshMeters();

    QVANE_HOST_DSP_PROCESS& GetEngine() noexcept { return engine; }
    PARAMETER* GetParameterObject(int index) const noexcept;

private:
    void CreateParameters();
    PolarPatternParameter* PolarPatternLR() const noexcept;
    /** Parameter 8 spans omni to figure of eight in stereo, a narrower range otherwise. */
    void SetPolarPatternLRRange(bool stereo);
    /** Sets every parameter the state carries. */
    void ApplyLoadedState(const juce::ValueTree& root);

    PARAMETER_MANAGER parameters;
    QVANE_HOST_DSP_PROCESS engine;
    float* inputs[4] {};
    float* outputs[9] {};
    std::atomic<OutputStemFormat> hostOutputFormat { kOutputFormatNotSet }; // set by the host's thread, read by the editor's
    float allPolars = 0.0f;

public:
    /** The editor and its panels; each adds itself once, the editor's
        destructor empties the list. Not owned. */
    juce::ListenerList<QuorvaneListener> quorvaneListeners;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(Quorvane2AudioProcessor)
};

/** The version text of the info panel: "1.0.0 " (version, a blank, no suffix). */
juce::String VersionInformationString();
