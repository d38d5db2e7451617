// The host's transport as the processor's play head.
#include "JuceAAX_Processor.h"

namespace AAXClasses
{
namespace
{
constexpr double kTicksPerQuarterNote = 960000.0;

struct TimeCodeRate
{
    juce::AudioPlayHead::FrameRateType type;
    double framesPerSecond;
};

/** The host's time-code rate codes 1 to 7; any other has no frame rate and
    counts its offset at 24 frames a second. */
TimeCodeRate timeCodeRateForCode(int32_t code) noexcept
{
    using FR = juce::AudioPlayHead::FrameRateType;
    switch (code)
    {
        case 1: return { FR::fps24, 24.0 };
        case 2: return { FR::fps25, 25.0 };
        case 3: return { FR::fps2997, 29.97002997 };
        case 4: return { FR::fps2997drop, 29.97002997 };
        case 5: return { FR::fps30, 30.0 };
        case 6: return { FR::fps30drop, 30.0 };
        case 7: return { FR::fps24, 23.976 };
        default: return { FR::fpsUnknown, 24.0 };
    }
}
} // namespace

// audio thread (or any other): the answers of the transport are taken as
// they come; a call that fails leaves the value it was to give as it was.
bool JuceAAX_Processor::getCurrentPosition(juce::AudioPlayHead::CurrentPositionInfo& info)
{
    const AAX_ITransport& transport = *Transport();

    double tempo = 0.0;
    transport.GetCurrentTempo(&tempo);
    info.bpm = tempo;

    int32_t numerator = 4, denominator = 4;
    transport.GetCurrentMeter(&numerator, &denominator);
    info.timeSigNumerator = numerator;
    info.timeSigDenominator = denominator;

    int64_t samples = 0;
    bool playing = false;
    if (transport.IsTransportPlaying(&playing) != AAXStatus::success)
        playing = false;
    if (playing)
        transport.GetCurrentNativeSampleLocation(&samples);
    else if (transport.GetTimelineSelectionStartPosition(&samples) != AAXStatus::success)
        transport.GetCurrentNativeSampleLocation(&samples);
    info.timeInSamples = samples;
    info.isPlaying = playing;

    // In double all the way: a float holds whole samples only up to 2^24
    // (about six minutes at 44.1 kHz), so a session hours long would report
    // its position in steps of many samples.
    const double rate = hostSampleRate > 0.0f ? double(hostSampleRate) : double(kFallbackSampleRate);
    info.timeInSeconds = double(samples) / rate;

    int64_t ticks = 0;
    transport.GetCurrentTickPosition(&ticks);
    info.ppqPosition = double(ticks) / kTicksPerQuarterNote;

    bool looping = false;
    int64_t loopStartTicks = 0, loopEndTicks = 0;
    transport.GetCurrentLoopPosition(&looping, &loopStartTicks, &loopEndTicks);
    info.isLooping = looping;
    info.ppqLoopStart = double(loopStartTicks) / kTicksPerQuarterNote;
    info.ppqLoopEnd = double(loopEndTicks) / kTicksPerQuarterNote;

    info.editOriginTime = 0.0;
    info.frameRate = juce::AudioPlayHead::fpsUnknown;
    AAX_EFrameRate code {};
    int32_t offset = 0;
    if (transport.GetTimeCodeInfo(&code, &offset) == AAXStatus::success)
    {
        const TimeCodeRate rateOfCode = timeCodeRateForCode(int32_t(code));
        info.frameRate = rateOfCode.type;
        info.editOriginTime = double(offset) / rateOfCode.framesPerSecond;
    }

    info.isRecording = false;
    info.ppqPositionOfLastBarStart = 0.0;
    return true;
}
} // namespace AAXClasses
