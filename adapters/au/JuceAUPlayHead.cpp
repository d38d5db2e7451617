// The host's transport, as the unit hands it to the processor's play head.
#include "JuceAU.h"

#include <cmath>
#include <limits>

namespace
{
// Truncated toward zero; 0 for what no integer of that type can hold (a
// host's NaN or a wild value must not be converted).
template <class Int>
Int truncated(double value) noexcept
{
    if (! std::isfinite(value) || value <= (double) std::numeric_limits<Int>::min() - 1.0
        || value >= (double) std::numeric_limits<Int>::max() + 1.0)
        return 0;
    return (Int) value;
}
} // namespace

juce::AudioPlayHead::FrameRateType JuceAU::FrameRateForSMPTEType(UInt32 smpteType) noexcept
{
    switch (smpteType)
    {
        case 0: return fps24;
        case 1: return fps25;
        case 2: return fps30drop;
        case 3: return fps30;
        case 4: return fps2997;
        case 5: return fps2997drop;
        default: return fpsUnknown;
    }
}

// Audio thread, during a render.
bool JuceAU::getCurrentPosition(juce::AudioPlayHead::CurrentPositionInfo& info)
{
    info = juce::AudioPlayHead::CurrentPositionInfo {};
    info.frameRate = FrameRateForSMPTEType(renderTimeStamp.mSMPTETime.mType);

    const HostCallbackInfo& host = HostCallbacks();

    Float64 beat = 0, tempo = 0;
    if (host.beatAndTempoProc != nullptr && host.beatAndTempoProc(host.hostUserData, &beat, &tempo) == 0)
    {
        info.ppqPosition = beat;
        info.bpm = tempo;
    }

    UInt32 offsetToNextBeat = 0, denominator = 0;
    Float32 numerator = 0;
    Float64 downBeat = 0;
    if (host.musicalTimeLocationProc != nullptr
        && host.musicalTimeLocationProc(host.hostUserData, &offsetToNextBeat, &numerator, &denominator, &downBeat) == 0)
    {
        info.timeSigNumerator = truncated<int32_t>(numerator);
        info.timeSigDenominator = truncated<int32_t>(denominator);
        info.ppqPositionOfLastBarStart = downBeat;
    }

    Boolean playing = false, changed = false, cycling = false;
    Float64 sample = 0, cycleStart = 0, cycleEnd = 0;
    if (host.transportStateProc != nullptr
        && host.transportStateProc(host.hostUserData, &playing, &changed, &sample, &cycling, &cycleStart, &cycleEnd) == 0)
    {
        info.isPlaying = playing != 0;
        info.timeInSamples = truncated<int64_t>(sample);
        const Float64 rate = GetOutput(0)->GetStreamFormat().mSampleRate;
        info.timeInSeconds = rate > 0.0 && std::isfinite(sample) ? sample / rate : 0.0;
    }
    return true;
}
