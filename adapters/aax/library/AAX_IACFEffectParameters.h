// The effect object as the host sees it, in the host's slot order (numbers in
// the comments). The second version adds the hybrid and MIDI slots.
#pragma once

#include "AAX.h"
#include "AAX_IString.h"
#include "ACFUnknown.h"

class AAX_IParameter;

class AAX_IACFEffectParameters : public IACFUnknown
{
public:
    virtual AAX_Result Initialize(IACFUnknown* host) = 0;                                                  // 3
    virtual AAX_Result Uninitialize() = 0;                                                                 // 4
    virtual AAX_Result NotificationReceived(AAX_CTypeID type, const void* data, uint32_t size) = 0;        // 5
    virtual AAX_Result GetNumberOfParameters(int32_t* count) const = 0;                                    // 6
    virtual AAX_Result GetMasterBypassParameter(AAX_IString* id) const = 0;                                // 7
    virtual AAX_Result GetParameterIsAutomatable(AAX_CParamID id, AAX_CBoolean* automatable) const = 0;    // 8
    virtual AAX_Result GetParameterNumberOfSteps(AAX_CParamID id, int32_t* steps) const = 0;               // 9
    virtual AAX_Result GetParameterName(AAX_CParamID id, AAX_IString* name) const = 0;                     // 10
    virtual AAX_Result GetParameterNameOfLength(AAX_CParamID id, AAX_IString* name, int32_t length) const = 0; // 11
    virtual AAX_Result GetParameterDefaultNormalizedValue(AAX_CParamID id, double* value) const = 0;       // 12
    virtual AAX_Result SetParameterDefaultNormalizedValue(AAX_CParamID id, double value) = 0;              // 13
    virtual AAX_Result GetParameterType(AAX_CParamID id, AAX_EParameterType* type) const = 0;              // 14
    virtual AAX_Result GetParameterOrientation(AAX_CParamID id, int32_t* orientation) const = 0;           // 15
    virtual AAX_Result GetParameter(AAX_CParamID id, AAX_IParameter** parameter) = 0;                      // 16
    virtual AAX_Result GetParameterIndex(AAX_CParamID id, int32_t* index) const = 0;                       // 17
    virtual AAX_Result GetParameterIDFromIndex(int32_t index, AAX_IString* id) const = 0;                  // 18
    virtual AAX_Result GetParameterValueInfo(AAX_CParamID id, int32_t selector, int32_t* value) const = 0; // 19
    virtual AAX_Result GetParameterValueFromString(AAX_CParamID id, double* value, const AAX_IString& text) const = 0; // 20
    virtual AAX_Result GetParameterStringFromValue(AAX_CParamID id, double value, AAX_IString* text, int32_t maxLength) const = 0; // 21
    virtual AAX_Result GetParameterValueString(AAX_CParamID id, AAX_IString* text, int32_t maxLength) const = 0; // 22
    virtual AAX_Result GetParameterNormalizedValue(AAX_CParamID id, double* value) const = 0;              // 23
    virtual AAX_Result SetParameterNormalizedValue(AAX_CParamID id, double value) = 0;                     // 24
    virtual AAX_Result SetParameterNormalizedRelative(AAX_CParamID id, double delta) = 0;                  // 25
    virtual AAX_Result TouchParameter(AAX_CParamID id) = 0;                                                // 26
    virtual AAX_Result ReleaseParameter(AAX_CParamID id) = 0;                                              // 27
    virtual AAX_Result UpdateParameterTouch(AAX_CParamID id, AAX_CBoolean touched) = 0;                    // 28
    virtual AAX_Result UpdateParameterNormalizedValue(AAX_CParamID id, double value, AAX_EUpdateSource source) = 0; // 29
    virtual AAX_Result UpdateParameterNormalizedRelative(AAX_CParamID id, double delta) = 0;               // 30
    virtual AAX_Result GenerateCoefficients() = 0;                                                         // 31
    virtual AAX_Result ResetFieldData(AAX_CFieldIndex field, void* data, uint32_t size) const = 0;         // 32
    virtual AAX_Result GetNumberOfChunks(int32_t* count) const = 0;                                        // 33
    virtual AAX_Result GetChunkIDFromIndex(int32_t index, AAX_CTypeID* chunkID) const = 0;                 // 34
    virtual AAX_Result GetChunkSize(AAX_CTypeID chunkID, uint32_t* size) const = 0;                        // 35
    virtual AAX_Result GetChunk(AAX_CTypeID chunkID, AAX_SPlugInChunk* chunk) const = 0;                   // 36
    virtual AAX_Result SetChunk(AAX_CTypeID chunkID, const AAX_SPlugInChunk* chunk) = 0;                   // 37
    virtual AAX_Result CompareActiveChunk(const AAX_SPlugInChunk* chunk, AAX_CBoolean* isEqual) const = 0; // 38
    virtual AAX_Result GetNumberOfChanges(int32_t* changes) const = 0;                                     // 39
    virtual AAX_Result TimerWakeup() = 0;                                                                  // 40
    virtual AAX_Result GetCurveData(AAX_CTypeID curveType, const float* values, uint32_t count, float* out) const = 0; // 41
    virtual AAX_Result GetCustomData(AAX_CTypeID dataType, uint32_t size, void* data, uint32_t* written) const = 0; // 42
    virtual AAX_Result SetCustomData(AAX_CTypeID dataType, uint32_t size, const void* data) = 0;           // 43
    virtual AAX_Result DoMIDITransfers() = 0;                                                              // 44

protected:
    ~AAX_IACFEffectParameters() = default;
};

class AAX_IACFEffectParameters_V2 : public AAX_IACFEffectParameters
{
public:
    virtual AAX_Result RenderAudio_Hybrid(AAX_SHybridRenderInfo* info) = 0;                                // 45
    virtual AAX_Result UpdateMIDINodes(AAX_CFieldIndex field, AAX_CMidiPacket& packet) = 0;                // 46
    virtual AAX_Result UpdateControlMIDINodes(AAX_CTypeID node, AAX_CMidiPacket& packet) = 0;              // 47

protected:
    ~AAX_IACFEffectParameters_V2() = default;
};
