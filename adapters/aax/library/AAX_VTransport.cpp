#include "AAX_VTransport.h"

#include "AAX_UIDs.h"

AAX_VTransport& AAX_VTransport::Absent()
{
    static AAX_VTransport none(nullptr);
    return none;
}

AAX_VTransport::AAX_VTransport(IACFUnknown* host)
    : v1(ACFPtr<AAX_IACFTransport>::query(host, IID_IAAXTransportV1)),
      v2(ACFPtr<AAX_IACFTransport_V2>::query(host, IID_IAAXTransportV2))
{
}

#define AAX_V1_CALL(call) return v1 ? v1->call : AAXStatus::missingObject
#define AAX_V2_CALL(call) return v2 ? v2->call : AAXStatus::missingObject

AAX_Result AAX_VTransport::GetCurrentTempo(double* bpm) const { AAX_V1_CALL(GetCurrentTempo(bpm)); }
AAX_Result AAX_VTransport::GetCurrentMeter(int32_t* numerator, int32_t* denominator) const { AAX_V1_CALL(GetCurrentMeter(numerator, denominator)); }
AAX_Result AAX_VTransport::IsTransportPlaying(bool* playing) const { AAX_V1_CALL(IsTransportPlaying(playing)); }
AAX_Result AAX_VTransport::GetCurrentTickPosition(int64_t* ticks) const { AAX_V1_CALL(GetCurrentTickPosition(ticks)); }
AAX_Result AAX_VTransport::GetCurrentLoopPosition(bool* looping, int64_t* startTicks, int64_t* endTicks) const { AAX_V1_CALL(GetCurrentLoopPosition(looping, startTicks, endTicks)); }
AAX_Result AAX_VTransport::GetCurrentNativeSampleLocation(int64_t* sample) const { AAX_V1_CALL(GetCurrentNativeSampleLocation(sample)); }
AAX_Result AAX_VTransport::GetCustomTickPosition(int64_t* ticks, int64_t sample) const { AAX_V1_CALL(GetCustomTickPosition(ticks, sample)); }
AAX_Result AAX_VTransport::GetBarBeatPosition(int32_t* bars, int32_t* beats, int64_t* displayTicks, int64_t sample) const { AAX_V1_CALL(GetBarBeatPosition(bars, beats, displayTicks, sample)); }
AAX_Result AAX_VTransport::GetTicksPerQuarter(uint32_t* ticks) const { AAX_V1_CALL(GetTicksPerQuarter(ticks)); }
AAX_Result AAX_VTransport::GetCurrentTicksPerBeat(uint32_t* ticks) const { AAX_V1_CALL(GetCurrentTicksPerBeat(ticks)); }
AAX_Result AAX_VTransport::GetTimelineSelectionStartPosition(int64_t* sample) const { AAX_V2_CALL(GetTimelineSelectionStartPosition(sample)); }
AAX_Result AAX_VTransport::GetTimeCodeInfo(AAX_EFrameRate* rate, int32_t* offset) const { AAX_V2_CALL(GetTimeCodeInfo(rate, offset)); }
AAX_Result AAX_VTransport::GetFeetFramesInfo(AAX_EFeetFramesRate* rate, int64_t* offset) const { AAX_V2_CALL(GetFeetFramesInfo(rate, offset)); }
