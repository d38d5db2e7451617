// The host's controller behind a check: a missing first version answers
// -20004, a missing second version -20009, and nothing is called.
#pragma once

#include "AAX_IACFHostInterfaces.h"
#include "AAX_IController.h"
#include "ACFPtr.h"

class AAX_VController final : public AAX_IController
{
public:
    /** Queries `host` for both versions; a null host leaves both missing. */
    /** A proxy of no host, shared: drops every call with its missing-interface status. */
    static AAX_VController& Absent();

    explicit AAX_VController(IACFUnknown* host);
    ~AAX_VController() override = default;

    AAX_Result GetEffectID(AAX_IString* effectID) const override;
    AAX_Result GetSampleRate(float* rate) const override;
    AAX_Result GetInputStemFormat(AAX_EStemFormat* format) const override;
    AAX_Result GetOutputStemFormat(AAX_EStemFormat* format) const override;
    AAX_Result GetSignalLatency(int32_t* samples) const override;
    AAX_Result GetCycleCount(AAX_EProperty which, int32_t* cycles) const override;
    AAX_Result GetTODLocation(int64_t* location) const override;
    AAX_Result SetSignalLatency(int32_t samples) override;
    AAX_Result SetCycleCount(AAX_EProperty* which, int32_t* cycles, int32_t count) override;
    AAX_Result PostPacket(AAX_CFieldIndex field, const void* data, uint32_t size) override;
    AAX_Result SendNotification(AAX_CTypeID type, const void* data, uint32_t size) override;
    AAX_Result GetCurrentMeterValue(uint32_t meter, float* value) const override;
    AAX_Result GetMeterPeakValue(uint32_t meter, float* value) const override;
    AAX_Result ClearMeterPeakValue(uint32_t meter) const override;
    AAX_Result GetMeterCount(uint32_t* count) const override;
    AAX_Result GetMeterClipped(uint32_t meter, AAX_CBoolean* clipped) const override;
    AAX_Result ClearMeterClipped(uint32_t meter) const override;
    AAX_Result GetNextMIDIPacket(AAX_CFieldIndex* port, AAX_CMidiPacket* packet) override;
    AAX_Result GetHybridSignalLatency(int32_t* samples) const override;
    AAX_Result GetCurrentAutomationTimestamp(int64_t* timestamp) const override;
    AAX_Result GetHostName(AAX_IString* name) const override;

private:
    ACFPtr<AAX_IACFController> v1;
    ACFPtr<AAX_IACFController_V2> v2;
};
