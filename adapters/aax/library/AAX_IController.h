// What the effect and GUI code ask of the host's controller (through AAX_VController).
#pragma once

#include "AAX.h"
#include "AAX_IString.h"

class AAX_IController
{
public:
    virtual ~AAX_IController() = default;

    virtual AAX_Result GetEffectID(AAX_IString* effectID) const = 0;
    virtual AAX_Result GetSampleRate(float* rate) const = 0;
    virtual AAX_Result GetInputStemFormat(AAX_EStemFormat* format) const = 0;
    virtual AAX_Result GetOutputStemFormat(AAX_EStemFormat* format) const = 0;
    virtual AAX_Result GetSignalLatency(int32_t* samples) const = 0;
    virtual AAX_Result GetCycleCount(AAX_EProperty which, int32_t* cycles) const = 0;
    virtual AAX_Result GetTODLocation(int64_t* location) const = 0;
    virtual AAX_Result SetSignalLatency(int32_t samples) = 0;
    virtual AAX_Result SetCycleCount(AAX_EProperty* which, int32_t* cycles, int32_t count) = 0;
    virtual AAX_Result PostPacket(AAX_CFieldIndex field, const void* data, uint32_t size) = 0;
    virtual AAX_Result SendNotification(AAX_CTypeID type, const void* data, uint32_t size) = 0;
    virtual AAX_Result GetCurrentMeterValue(uint32_t meter, float* value) const = 0;
    virtual AAX_Result GetMeterPeakValue(uint32_t meter, float* value) const = 0;
    virtual AAX_Result ClearMeterPeakValue(uint32_t meter) const = 0;
    virtual AAX_Result GetMeterCount(uint32_t* count) const = 0;
    virtual AAX_Result GetMeterClipped(uint32_t meter, AAX_CBoolean* clipped) const = 0;
    virtual AAX_Result ClearMeterClipped(uint32_t meter) const = 0;
    virtual AAX_Result GetNextMIDIPacket(AAX_CFieldIndex* port, AAX_CMidiPacket* packet) = 0;
    virtual AAX_Result GetHybridSignalLatency(int32_t* samples) const = 0;
    virtual AAX_Result GetCurrentAutomationTimestamp(int64_t* timestamp) const = 0;
    virtual AAX_Result GetHostName(AAX_IString* name) const = 0;
};
