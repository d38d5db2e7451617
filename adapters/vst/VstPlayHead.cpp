#include "VstPlayHead.h"

#include <cmath>
#include <limits>

SmpteRate smpteRateForCode(int32_t code) noexcept
{
    using FR = juce::AudioPlayHead::FrameRateType;

    switch (code)
    {
        case 0:  return { FR::fps24, 1920.0 };
        case 1:  return { FR::fps25, 2000.0 };
        case 2:  return { FR::fps2997, 2397.6 };
        case 3:  return { FR::fps30, 2400.0 };
        case 4:  return { FR::fps2997drop, 2397.6 };
        case 5:  return { FR::fps30drop, 2400.0 };
        case 6:
        case 7:  return { FR::fpsUnknown, 1920.0 };
        case 8:
        case 9:  return { FR::fpsUnknown, 80.0 };
        case 10: return { FR::fpsUnknown, 1918.08 };
        case 11: return { FR::fpsUnknown, 1998.08 };
        case 12: return { FR::fpsUnknown, 4795.2 };
        case 13: return { FR::fpsUnknown, 4800.0 };
        default: return { FR::fpsUnknown, 80.0 };
    }
}

namespace
{
/** The sample position rounded half up, kept to what an int64 holds; a NaN
    or infinite position from the host reads as 0. */
int64_t roundedSamplePosition(double samplePos) noexcept
{
    if (!std::isfinite(samplePos))
        return 0;

    const double shifted = samplePos + 0.5;
    constexpr double kLimit = 9.2e18; // just inside the int64 range
    if (shifted >= kLimit)
        return (int64_t) kLimit;
    if (shifted <= -kLimit)
        return -(int64_t) kLimit;
    return (int64_t) shifted;
}
} // namespace

bool positionFromTimeInfo(const VstTimeInfo* ti, juce::AudioPlayHead::CurrentPositionInfo& info) noexcept
{
    // A NaN rate fails this test too.
    if (ti == nullptr || !(ti->sampleRate > 0.0))
        return false;

    const int32_t flags = ti->flags;

    info.bpm = (flags & kTempoValid) != 0 ? ti->tempo : 0.0;

    if ((flags & kTimeSigValid) != 0)
    {
        info.timeSigNumerator = ti->timeSigNumerator;
        info.timeSigDenominator = ti->timeSigDenominator;
    }
    else
    {
        info.timeSigNumerator = 4;
        info.timeSigDenominator = 4;
    }

    const double samplePos = std::isfinite(ti->samplePos) ? ti->samplePos : 0.0;
    info.timeInSamples = roundedSamplePosition(samplePos);
    info.timeInSeconds = samplePos / ti->sampleRate;

    info.ppqPosition = (flags & kPpqPositionValid) != 0 ? ti->ppqPos : 0.0;
    info.ppqPositionOfLastBarStart = (flags & kBarStartValid) != 0 ? ti->barStartPos : 0.0;

    if ((flags & kSmpteValid) != 0)
    {
        const SmpteRate rate = smpteRateForCode(ti->smpteFrameRate);
        info.frameRate = rate.type;
        info.editOriginTime = ti->smpteOffset / rate.divisor;
    }
    else
    {
        info.frameRate = juce::AudioPlayHead::fpsUnknown;
        info.editOriginTime = 0.0;
    }

    // Recording counts as playing.
    info.isRecording = (flags & kTransportRecording) != 0;
    info.isPlaying = (flags & (kTransportPlaying | kTransportRecording)) != 0;
    info.isLooping = (flags & kTransportCycle) != 0;

    if ((flags & kCycleValid) != 0)
    {
        info.ppqLoopStart = ti->cycleStartPos;
        info.ppqLoopEnd = ti->cycleEndPos;
    }
    else
    {
        info.ppqLoopStart = 0.0;
        info.ppqLoopEnd = 0.0;
    }

    return true;
}
