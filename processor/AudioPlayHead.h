#pragma once

#include <cstdint>

namespace juce
{

/** The host's transport, as an adapter reports it to the processor.

    Every host adapter implements this and registers itself with
    AudioProcessor::setPlayHead(). The record's field order is part of the
    adapters' contract, so fields must not be reordered.
*/
class AudioPlayHead
{
public:
    enum FrameRateType : int32_t
    {
        fps24       = 0,
        fps25       = 1,
        fps2997     = 2,
        fps30       = 3,
        fps2997drop = 4,
        fps30drop   = 5,
        fpsUnknown  = 99
    };

    struct CurrentPositionInfo
    {
        double bpm;                        // tempo, beats per minute
        int32_t timeSigNumerator;
        int32_t timeSigDenominator;
        int64_t timeInSamples;             // position, samples
        double timeInSeconds;              // position, seconds
        double editOriginTime;             // edit origin, seconds
        double ppqPosition;                // position, quarter notes
        double ppqPositionOfLastBarStart;  // quarter notes
        FrameRateType frameRate;
        bool isPlaying;
        bool isRecording;
        double ppqLoopStart;               // quarter notes
        double ppqLoopEnd;                 // quarter notes
        bool isLooping;

        /** Stopped at zero, 120 bpm in 4/4, no frame rate, no loop. */
        void resetToDefault() noexcept
        {
            *this = CurrentPositionInfo {};
            bpm = 120.0;
            timeSigNumerator = 4;
            timeSigDenominator = 4;
            frameRate = fpsUnknown;
        }
    };

    virtual ~AudioPlayHead() = default;

    /** Fills result with the current transport state; false (result left as it
        was) when the host has no position to give. Any thread. */
    virtual bool getCurrentPosition(CurrentPositionInfo& result) = 0;
};

} // namespace juce
