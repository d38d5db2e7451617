#include "AAX_VController.h"

#include "AAX_UIDs.h"

AAX_VController& AAX_VController::Absent()
{
    static AAX_VController none(nullptr);
    return none;
}

AAX_VController::AAX_VController(IACFUnknown* host)
    : v1(ACFPtr<AAX_IACFController>::query(host, IID_IAAXControllerV1)),
      v2(ACFPtr<AAX_IACFController_V2>::query(host, IID_IAAXControllerV2))
{
}

#define AAX_V1_CALL(call) return v1 ? v1->call : AAXStatus::missingObject
#define AAX_V2_CALL(call) return v2 ? v2->call : AAXStatus::notImplemented

AAX_Result AAX_VController::GetEffectID(AAX_IString* effectID) const { AAX_V1_CALL(GetEffectID(effectID)); }
AAX_Result AAX_VController::GetSampleRate(float* rate) const { AAX_V1_CALL(GetSampleRate(rate)); }
AAX_Result AAX_VController::GetInputStemFormat(AAX_EStemFormat* format) const { AAX_V1_CALL(GetInputStemFormat(format)); }
AAX_Result AAX_VController::GetOutputStemFormat(AAX_EStemFormat* format) const { AAX_V1_CALL(GetOutputStemFormat(format)); }
AAX_Result AAX_VController::GetSignalLatency(int32_t* samples) const { AAX_V1_CALL(GetSignalLatency(samples)); }
AAX_Result AAX_VController::GetCycleCount(AAX_EProperty which, int32_t* cycles) const { AAX_V1_CALL(GetCycleCount(which, cycles)); }
AAX_Result AAX_VController::GetTODLocation(int64_t* location) const { AAX_V1_CALL(GetTODLocation(location)); }
AAX_Result AAX_VController::SetSignalLatency(int32_t samples) { AAX_V1_CALL(SetSignalLatency(samples)); }
AAX_Result AAX_VController::SetCycleCount(AAX_EProperty* which, int32_t* cycles, int32_t count) { AAX_V1_CALL(SetCycleCount(which, cycles, count)); }
AAX_Result AAX_VController::PostPacket(AAX_CFieldIndex field, const void* data, uint32_t size) { AAX_V1_CALL(PostPacket(field, data, size)); }
AAX_Result AAX_VController::SendNotification(AAX_CTypeID type, const void* data, uint32_t size) { AAX_V2_CALL(SendNotification(type, data, size)); }
AAX_Result AAX_VController::GetCurrentMeterValue(uint32_t meter, float* value) const { AAX_V1_CALL(GetCurrentMeterValue(meter, value)); }
AAX_Result AAX_VController::GetMeterPeakValue(uint32_t meter, float* value) const { AAX_V1_CALL(GetMeterPeakValue(meter, value)); }
AAX_Result AAX_VController::ClearMeterPeakValue(uint32_t meter) const { AAX_V1_CALL(ClearMeterPeakValue(meter)); }
AAX_Result AAX_VController::GetMeterCount(uint32_t* count) const { AAX_V1_CALL(GetMeterCount(count)); }
AAX_Result AAX_VController::GetMeterClipped(uint32_t meter, AAX_CBoolean* clipped) const { AAX_V1_CALL(GetMeterClipped(meter, clipped)); }
AAX_Result AAX_VController::ClearMeterClipped(uint32_t meter) const { AAX_V1_CALL(ClearMeterClipped(meter)); }
AAX_Result AAX_VController::GetNextMIDIPacket(AAX_CFieldIndex* port, AAX_CMidiPacket* packet) { AAX_V1_CALL(GetNextMIDIPacket(port, packet)); }
AAX_Result AAX_VController::GetHybridSignalLatency(int32_t* samples) const { AAX_V2_CALL(GetHybridSignalLatency(samples)); }
AAX_Result AAX_VController::GetCurrentAutomationTimestamp(int64_t* timestamp) const { AAX_V2_CALL(GetCurrentAutomationTimestamp(timestamp)); }
AAX_Result AAX_VController::GetHostName(AAX_IString* name) const { AAX_V2_CALL(GetHostName(name)); }
