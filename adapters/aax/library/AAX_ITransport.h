// What the effect and GUI code ask of the host's transport (through AAX_VTransport).
#pragma once

#include "AAX.h"

class AAX_ITransport
{
public:
    virtual ~AAX_ITransport() = default;

    virtual AAX_Result GetCurrentTempo(double* bpm) const = 0;
    virtual AAX_Result GetCurrentMeter(int32_t* numerator, int32_t* denominator) const = 0;
    virtual AAX_Result IsTransportPlaying(bool* playing) const = 0;
    virtual AAX_Result GetCurrentTickPosition(int64_t* ticks) const = 0;
    virtual AAX_Result GetCurrentLoopPosition(bool* looping, int64_t* startTicks, int64_t* endTicks) const = 0;
    virtual AAX_Result GetCurrentNativeSampleLocation(int64_t* sample) const = 0;
    virtual AAX_Result GetCustomTickPosition(int64_t* ticks, int64_t sample) const = 0;
    virtual AAX_Result GetBarBeatPosition(int32_t* bars, int32_t* beats, int64_t* displayTicks, int64_t sample) const = 0;
    virtual AAX_Result GetTicksPerQuarter(uint32_t* ticks) const = 0;
    virtual AAX_Result GetCurrentTicksPerBeat(uint32_t* ticks) const = 0;
    virtual AAX_Result GetTimelineSelectionStartPosition(int64_t* sample) const = 0;
    virtual AAX_Result GetTimeCodeInfo(AAX_EFrameRate* rate, int32_t* offset) const = 0;
    virtual AAX_Result GetFeetFramesInfo(AAX_EFeetFramesRate* rate, int64_t* offset) const = 0;
};
