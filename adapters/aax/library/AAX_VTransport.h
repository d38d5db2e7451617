// The host's transport behind a check: either version missing answers -20004.
#pragma once

#include "AAX_IACFHostInterfaces.h"
#include "AAX_ITransport.h"
#include "ACFPtr.h"

class AAX_VTransport final : public AAX_ITransport
{
public:
    /** A proxy of no host, shared: drops every call with its missing-interface status. */
    static AAX_VTransport& Absent();

    explicit AAX_VTransport(IACFUnknown* host);
    ~AAX_VTransport() override = default;

    AAX_Result GetCurrentTempo(double* bpm) const override;
    AAX_Result GetCurrentMeter(int32_t* numerator, int32_t* denominator) const override;
    AAX_Result IsTransportPlaying(bool* playing) const override;
    AAX_Result GetCurrentTickPosition(int64_t* ticks) const override;
    AAX_Result GetCurrentLoopPosition(bool* looping, int64_t* startTicks, int64_t* endTicks) const override;
    AAX_Result GetCurrentNativeSampleLocation(int64_t* sample) const override;
    AAX_Result GetCustomTickPosition(int64_t* ticks, int64_t sample) const override;
    AAX_Result GetBarBeatPosition(int32_t* bars, int32_t* beats, int64_t* displayTicks, int64_t sample) const override;
    AAX_Result GetTicksPerQuarter(uint32_t* ticks) const override;
    AAX_Result GetCurrentTicksPerBeat(uint32_t* ticks) const override;
    AAX_Result GetTimelineSelectionStartPosition(int64_t* sample) const override;
    AAX_Result GetTimeCodeInfo(AAX_EFrameRate* rate, int32_t* offset) const override;
    AAX_Result GetFeetFramesInfo(AAX_EFeetFramesRate* rate, int64_t* offset) const override;

private:
    ACFPtr<AAX_IACFTransport> v1;
    ACFPtr<AAX_IACFTransport_V2> v2;
};
