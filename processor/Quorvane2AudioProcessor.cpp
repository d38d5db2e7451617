#include "Quorvane2AudioProcessor.h"

#include "EditorFactory.h"
#include "QvaneParameters.h"

namespace
{
// Engine channels of the six output groups, in the order of the mute (23-28)
// and solo (29-34) parameters: L/R, C, Ls/Rs, RLs/RRs, RC, LFE. The first
// channel of each pair stands for the group.
constexpr unsigned char groupChannel[6] = { 0, 2, 4, 6, 8, 3 };
constexpr int firstMuteIndex = 23;
constexpr int firstSoloIndex = 29;
constexpr int numGroups = 6;

// The output group (0-5) of a mute or solo index, or -1. Compared before any
// subtraction, so no index can overflow.
int GroupOf(int index, int firstIndex) noexcept
{
    return index >= firstIndex && index < firstIndex + numGroups ? index - firstIndex : -1;
}

bool IsValidOutputFormat(int format) noexcept
{
    return format >= kOutputFormatStereo && format <= kOutputFormatBFormat;
}

const char* const meterNames[13] = {
    "Input Meter 1", "Input Meter 2", "Input Meter 3", "Input Meter 4",
    "Output Meter L", "Output Meter R", "Output Meter C", "Output Meter LFE", "Output Meter Ls",
    "Output Meter Rs", "Output Meter RLs", "Output Meter RRs", "Output Meter RC"
};
} // namespace

//==============================================================================
Quorvane2AudioProcessor::Quorvane2AudioProcessor()
    : parameters(kNumParameterSlots),
      engine(wrapperType != wrapperType_AAX)
{
    setLatencySamples(1);
    CreateParameters();
}

Quorvane2AudioProcessor::~Quorvane2AudioProcessor() = default;

void Quorvane2AudioProcessor::CreateParameters()
{
    using EC = EngineChannels;
    using Width = WidthParameter::Pair;
    using Tilt = TiltParameter::Which;
    auto* e = &engine;

    auto add = [this](PARAMETER* p) { parameters.SetParameter(p->GetIndex(), p); };

    add(new InputLevelParameter(0, e));
    add(new InvertParameter(1, e));
    add(new EndFireParameter(2, e));
    add(new InputFormatParameter(35, e));
    add(new FilterEnableParameter(3, e));
    add(new RotateParameter(4, e));
    add(new TiltParameter(5, "Front Tilt", e, Tilt::front));
    add(new TiltParameter(6, "Rear Tilt", e, Tilt::rear));
    add(new ZoomParameter(7, e));
    add(new PolarPatternParameter(8, "Polar pattern L/R", e, EC::Two(0, 1)));
    add(new PolarPatternParameter(9, "Polar pattern C", e, EC::One(2)));
    add(new PolarPatternParameter(10, "Polar pattern Ls/Rs", e, EC::Two(4, 5)));
    add(new PolarPatternParameter(11, "Polar pattern RLs/RRs", e, EC::Two(6, 7)));
    add(new PolarPatternParameter(12, "Polar pattern RC", e, EC::One(8)));
    add(new WidthParameter(13, "Width L/R", e, Width::front));
    add(new WidthParameter(14, "Width Ls/Rs", e, Width::side));
    add(new WidthParameter(15, "Width RLs/RRs", e, Width::rear));
    add(new OutputChannelLevelParameter(16, "Level L/R", e, EC::Two(0, 1)));
    add(new OutputChannelLevelParameter(17, "Level C", e, EC::One(2)));
    add(new OutputChannelLevelParameter(18, "Level Ls/Rs", e, EC::Two(4, 5)));
    add(new OutputChannelLevelParameter(20, "Level RC", e, EC::One(8)));
    add(new OutputChannelLevelParameter(19, "Level RLs/RRs", e, EC::Two(6, 7)));
    add(new OutputChannelLevelParameter(21, "Level LFE", e, EC::One(3)));
    add(new OutputChannelLevelParameter(22, "Level BFormat", e));

    const char* const groupNames[numGroups] = { "L/R", "C", "Ls/Rs", "RLs/RRs", "RC", "LFE" };
    const EC groupChannels[numGroups] = { EC::Two(0, 1), EC::One(2), EC::Two(4, 5),
                                          EC::Two(6, 7), EC::One(8), EC::One(3) };

    for (int g = 0; g < numGroups; ++g)
        add(new OutputChannelMuteParameter(static_cast<unsigned int>(firstMuteIndex + g),
                                           juce::String("Mute ") + groupNames[g], e, groupChannels[g]));

    for (int g = 0; g < numGroups; ++g)
        add(new OutputChannelSoloParameter(static_cast<unsigned int>(firstSoloIndex + g),
                                           juce::String("Solo ") + groupNames[g], e, groupChannels[g]));

    for (int m = 0; m < 13; ++m)
        add(new ChannelMeter(static_cast<unsigned int>(kFirstMeterIndex + m), meterNames[m], e));

    // Last, so the 5.1 array type is the last default pushed into the engine.
    add(new ArraySelectParameter(kArraySelectIndex, e));

    for (int i = 0; i < kNumHostParameters; ++i)
        GetParameterObject(i)->SetAutomatable(true);
}

PARAMETER* Quorvane2AudioProcessor::GetParameterObject(int index) const noexcept
{
    return parameters.Get(static_cast<unsigned int>(index)); // negative indices wrap to bad ones
}

PolarPatternParameter* Quorvane2AudioProcessor::PolarPatternLR() const noexcept
{
    return dynamic_cast<PolarPatternParameter*>(GetParameterObject(kPolarPatternLRIndex));
}

void Quorvane2AudioProcessor::SetPolarPatternLRRange(bool stereo)
{
    if (auto* p = PolarPatternLR())
    {
        if (stereo)
            p->SetRange(0.0f, 1.0f);
        else
            p->SetRange(0.5f, 0.75f);
    }
}

//==============================================================================
juce::String Quorvane2AudioProcessor::getName() const { return "Quorvane2"; }

// Under the callback lock: a host that prepares while its audio thread is
// still running never has the coefficients rewritten under Process. Only a
// fresh start prepares (a new rate, a resume); a new block length alone
// does not, so no adapter calls this to follow one. A resumed plug-in starts clean, with no filter history or meter
// left from before.
void Quorvane2AudioProcessor::prepareToPlay(double sampleRate, int)
{
    const juce::ScopedLock sl(getCallbackLock());
    engine.SetSampleRate(static_cast<float>(sampleRate));
    engine.ResetState();
}

void Quorvane2AudioProcessor::reset()
{
    const juce::ScopedLock sl(getCallbackLock());
    engine.ResetState();
}

void Quorvane2AudioProcessor::releaseResources() {}

void Quorvane2AudioProcessor::processBlock(juce::AudioSampleBuffer& buffer, juce::MidiBuffer&)
{
    const int numChannels = buffer.getNumChannels();

    // Fresh pointers every block: channels beyond this buffer must not be
    // reached through pointers left over from a wider one.
    for (int i = 0; i < 4; ++i)
        inputs[i] = i < numChannels ? buffer.getWritePointer(i) : nullptr;

    for (int i = 0; i < 9; ++i)
        outputs[i] = i < numChannels ? buffer.getWritePointer(i) : nullptr;

    engine.Process(inputs, outputs, buffer.getNumSamples());
}

// In 64 bits, so that any index a host sends numbers without overflow.
juce::String Quorvane2AudioProcessor::getInputChannelName(int channelIndex) const { return juce::String(static_cast<juce::int64>(channelIndex) + 1); }
juce::String Quorvane2AudioProcessor::getOutputChannelName(int channelIndex) const { return juce::String(static_cast<juce::int64>(channelIndex) + 1); }
bool Quorvane2AudioProcessor::isInputChannelStereoPair(int) const { return false; }
bool Quorvane2AudioProcessor::isOutputChannelStereoPair(int) const { return false; }
bool Quorvane2AudioProcessor::silenceInProducesSilenceOut() const { return false; }
double Quorvane2AudioProcessor::getTailLengthSeconds() const { return 0.0; }
bool Quorvane2AudioProcessor::acceptsMidi() const { return false; }
bool Quorvane2AudioProcessor::producesMidi() const { return false; }
bool Quorvane2AudioProcessor::hasEditor() const { return true; }

//==============================================================================
int Quorvane2AudioProcessor::getNumParameters() { return kNumHostParameters; }

juce::String Quorvane2AudioProcessor::getParameterName(int index)
{
    if (auto* p = GetParameterObject(index))
        return p->GetName();

    return "Invalid Parameter";
}

float Quorvane2AudioProcessor::getParameter(int index)
{
    auto* p = GetParameterObject(index);
    return p != nullptr ? p->GetValue() : 0.0f;
}

juce::String Quorvane2AudioProcessor::getParameterText(int index)
{
    auto* p = GetParameterObject(index);
    return p != nullptr ? p->Format() : juce::String();
}

// A host asking what a value would read as, before or without setting it:
// the parameter formats the value it would hold, and nothing is stored, so
// neither the engine nor the editor hears of the question.
juce::String Quorvane2AudioProcessor::getParameterTextForValue(int index, float value, int maximumStringLength) const
{
    auto* p = GetParameterObject(index);
    return p != nullptr ? p->FormatValue(value).substring(0, maximumStringLength) : juce::String();
}

int Quorvane2AudioProcessor::getParameterNumSteps(int) { return 0x7fffffff; }

float Quorvane2AudioProcessor::getParameterDefaultValue(int index)
{
    auto* p = GetParameterObject(index);
    return p != nullptr ? p->GetDefault() : 0.0f;
}

void Quorvane2AudioProcessor::setParameter(int index, float newValue)
{
    if (auto* p = GetParameterObject(index))
        p->SetValue(newValue);
}

bool Quorvane2AudioProcessor::isParameterAutomatable(int index)
{
    auto* p = GetParameterObject(index);
    return p != nullptr && p->IsAutomatable();
}

int Quorvane2AudioProcessor::getNumPrograms() { return 0; }
int Quorvane2AudioProcessor::getCurrentProgram() { return 0; }
void Quorvane2AudioProcessor::setCurrentProgram(int) {}
juce::String Quorvane2AudioProcessor::getProgramName(int) { return {}; }
void Quorvane2AudioProcessor::changeProgramName(int, const juce::String&) {}

//==============================================================================
void Quorvane2AudioProcessor::UISetOutputFormat(OutputStemFormat format)
{
    if (! IsValidOutputFormat(format))
        return;

    if (auto* arraySelect = GetParameterObject(kArraySelectIndex))
        arraySelect->Encode(static_cast<unsigned char>(format - 1));

    SetPolarPatternLRRange(format == kOutputFormatStereo);

    if (auto* pattern = GetParameterObject(kPolarPatternLRIndex))
        setParameterNotifyingHost(kPolarPatternLRIndex, pattern->GetValue());
}

void Quorvane2AudioProcessor::HostSetOutputFormat(int format)
{
    if (! IsValidOutputFormat(format))
        return;

    const auto f = static_cast<OutputStemFormat>(format);
    hostOutputFormat = f;

    if (auto* arraySelect = GetParameterObject(kArraySelectIndex))
        arraySelect->Encode(static_cast<unsigned char>(f - 1));

    SetParameterAutomationForOutputFormat(f);
    SetPolarPatternLRRange(f == kOutputFormatStereo);

    // Push the L/R pattern for the new range at once, so what is heard matches
    // what is shown; the host is not told, its value did not change.
    if (auto* pattern = GetParameterObject(kPolarPatternLRIndex))
        pattern->SetValue(pattern->GetValue());
}

void Quorvane2AudioProcessor::SetParameterAutomationForOutputFormat(OutputStemFormat f)
{
    const bool notBFormat = f != kOutputFormatBFormat;
    const bool surround = f != kOutputFormatStereo && f != kOutputFormatBFormat;
    const bool rearPair = f == kOutputFormat7_0 || f == kOutputFormat7_1;
    const bool rearCentre = f == kOutputFormat6_0 || f == kOutputFormat6_1;
    const bool lfe = f == kOutputFormat5_1 || f == kOutputFormat6_1 || f == kOutputFormat7_1;

    struct Rule
    {
        bool automatable;
        std::initializer_list<int> indices;
    };

    // 0-3 (input level and switches) and 22 (B-format level) stay as built.
    const Rule rules[] = {
        { notBFormat, { 4, 5, 7, 8, 13, 16, 23, 29 } },
        { surround, { 6, 9, 10, 14, 17, 18, 24, 25, 30, 31 } },
        { rearPair, { 11, 15, 19, 26, 32 } },
        { rearCentre, { 12, 20, 27, 33 } },
        { lfe, { 21, 28, 34 } },
    };

    for (const auto& rule : rules)
        for (int index : rule.indices)
            if (auto* p = GetParameterObject(index))
                p->SetAutomatable(rule.automatable);
}

OutputStemFormat Quorvane2AudioProcessor::GetOutputFormat()
{
    return static_cast<OutputStemFormat>(engine.GetArrayType() + 1);
}

void Quorvane2AudioProcessor::SetInputFormat(InputFormat format)
{
    if (auto* p = GetParameterObject(kInputFormatIndex))
        p->SetValue(format == kBFormat ? 1.0f : 0.0f);
}

Quorvane2AudioProcessor::InputFormat Quorvane2AudioProcessor::GetInputFormat() const
{
    return engine.GetAFormatEnable() ? kAFormat : kBFormat;
}

void Quorvane2AudioProcessor::setAllPolars(float value)
{
    allPolars = value;

    for (int k = 8; k <= 12; ++k)
        setParameterNotifyingHost(k, value);
}

// The host hears the reset like any other edit: a host in Touch or Latch mode
// records it, and its own display and automation lane stop showing the old
// value (which it would otherwise write back on its next automation pass).
void Quorvane2AudioProcessor::resetParameterToDefault(int index)
{
    if (auto* p = GetParameterObject(index))
    {
        p->SetValue(p->GetDefault());
        sendParamChangeMessageToListeners(index, getParameter(index));
    }
}

bool Quorvane2AudioProcessor::GetIsMute(int index)
{
    const int g = GroupOf(index, firstMuteIndex);
    return g >= 0 && engine.GetIsChannelMute(groupChannel[g]);
}

bool Quorvane2AudioProcessor::GetIsSolo(int index)
{
    const int g = GroupOf(index, firstSoloIndex);
    return g >= 0 && engine.GetIsChannelSolo(groupChannel[g]);
}

bool Quorvane2AudioProcessor::GetIsSoloMute(int index)
{
    const int g = GroupOf(index, firstMuteIndex);
    return g >= 0 && engine.GetIsChannelSoloMute(groupChannel[g]);
}

bool Quorvane2AudioProcessor::HasLFE()
{
    const auto f = GetOutputFormat();
    return f == kOutputFormat5_1 || f == kOutputFormat6_1 || f == kOutputFormat7_1;
}

bool Quorvane2AudioProcessor::IsFormat6()
{
    const auto f = GetOutputFormat();
    return f == kOutputFormat6_0 || f == kOutputFormat6_1;
}

bool Quorvane2AudioProcessor::IsFormat7()
{
    const auto f = GetOutputFormat();
    return f == kOutputFormat7_0 || f == kOutputFormat7_1;
}

//==============================================================================
juce::AudioProcessorEditor* Quorvane2AudioProcessor::createEditor()
{
    auto* editor = CreateProcessorEditor(*this);

    if (const auto f = hostOutputFormat.load(); f != kOutputFormatNotSet)
    {
        quorvaneListeners.call([f](QuorvaneListener& l) { l.HostHasSetOutputFormat(f); });
    }

    FullUIUpdate();
    return editor;
}

void Quorvane2AudioProcessor::RefreshMeters()
{
    for (int m = 0; m < 13; ++m)
        if (auto* p = GetParameterObject(kFirstMeterIndex + m))
            p->SetValue(engine.GetMeterValue(static_cast<unsigned char>(m)));
}

void Quorvane2AudioProcessor::UpdateUI()
{
    RefreshMeters();

    for (int i = kFirstMeterIndex; i < kFirstOutputMeterIndex; ++i)
    {
        const float v = getParameter(i);
        quorvaneListeners.call([i, v](QuorvaneListener& l) { l.InputMeterChanged(i, v); });
    }

    for (int i = kFirstOutputMeterIndex; i < static_cast<int>(kNumParameterSlots); ++i)
    {
        const float v = getParameter(i);
        quorvaneListeners.call([i, v](QuorvaneListener& l) { l.OutputMeterChanged(i, v); });
    }

    for (int i = 0; i <= kArraySelectIndex; ++i)
    {
        auto* p = GetParameterObject(i);

        // The flag is cleared before the listeners hear of it, so a change made
        // on another thread while they run is seen at the next refresh.
        if (p == nullptr || ! p->TakeChanged())
            continue;

        const float v = p->GetValue();
        quorvaneListeners.call([i, v](QuorvaneListener& l) { l.ParameterChangedFloat(i, v); });
    }
}

void Quorvane2AudioProcessor::FullUIUpdate()
{
    for (int i = 0; i <= kArraySelectIndex; ++i)
    {
        const float v = getParameter(i);
        quorvaneListeners.call([i, v](QuorvaneListener& l) { l.ParameterChangedFloat(i, v); });
    }
}

//==============================================================================
juce::String VersionInformationString()
{
    constexpr int major = 1, minor = 0, patch = 0;
    const juce::String suffix;
    return juce::String(major) + "." + juce::String(minor) + "." + juce::String(patch) + " " + suffix;
}
