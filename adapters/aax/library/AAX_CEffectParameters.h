// Base of the plug-in's effect object: answers the host's parameter, chunk and
// notification calls from its parameter manager, keeps every host parameter
// but the master bypass in the controls chunk "elck", and turns value updates
// into packets for the audio side.
//
// Host threads: parameter calls from the host's GUI and automation threads,
// chunk calls from its main thread. No operation lets an exception reach the
// host; an unknown identifier never changes anything and answers -20001; a
// null output answers -20004 with nothing written.
#pragma once

#include "AAX_CChunkDataParser.h"
#include "AAX_CPacketDispatcher.h"
#include "AAX_CParameterManager.h"
#include "AAX_IController.h"
#include "AAX_IEffectParameters.h"
#include "AAX_ITransport.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <set>
#include <string>

class AAX_VAutomationDelegate;
class AAX_VController;
class AAX_VTransport;

class AAX_CEffectParameters : public AAX_IEffectParameters
{
public:
    AAX_CEffectParameters();
    ~AAX_CEffectParameters() override;

    // Host-visible interface.
    AAX_Result Initialize(IACFUnknown* host) override;
    AAX_Result Uninitialize() override;
    AAX_Result NotificationReceived(AAX_CTypeID type, const void* data, uint32_t size) override;
    AAX_Result GetNumberOfParameters(int32_t* count) const override;
    AAX_Result GetMasterBypassParameter(AAX_IString* id) const override;
    AAX_Result GetParameterIsAutomatable(AAX_CParamID id, AAX_CBoolean* automatable) const override;
    AAX_Result GetParameterNumberOfSteps(AAX_CParamID id, int32_t* steps) const override;
    AAX_Result GetParameterName(AAX_CParamID id, AAX_IString* name) const override;
    AAX_Result GetParameterNameOfLength(AAX_CParamID id, AAX_IString* name, int32_t length) const override;
    AAX_Result GetParameterDefaultNormalizedValue(AAX_CParamID id, double* value) const override;
    AAX_Result SetParameterDefaultNormalizedValue(AAX_CParamID id, double value) override;
    AAX_Result GetParameterType(AAX_CParamID id, AAX_EParameterType* type) const override;
    AAX_Result GetParameterOrientation(AAX_CParamID id, int32_t* orientation) const override;
    AAX_Result GetParameter(AAX_CParamID id, AAX_IParameter** parameter) override;
    AAX_Result GetParameterIndex(AAX_CParamID id, int32_t* index) const override;
    AAX_Result GetParameterIDFromIndex(int32_t index, AAX_IString* id) const override;
    AAX_Result GetParameterValueInfo(AAX_CParamID id, int32_t selector, int32_t* value) const override;
    AAX_Result GetParameterValueFromString(AAX_CParamID id, double* value, const AAX_IString& text) const override;
    AAX_Result GetParameterStringFromValue(AAX_CParamID id, double value, AAX_IString* text, int32_t maxLength) const override;
    AAX_Result GetParameterValueString(AAX_CParamID id, AAX_IString* text, int32_t maxLength) const override;
    AAX_Result GetParameterNormalizedValue(AAX_CParamID id, double* value) const override;
    AAX_Result SetParameterNormalizedValue(AAX_CParamID id, double value) override;
    AAX_Result SetParameterNormalizedRelative(AAX_CParamID id, double delta) override;
    AAX_Result TouchParameter(AAX_CParamID id) override;
    AAX_Result ReleaseParameter(AAX_CParamID id) override;
    AAX_Result UpdateParameterTouch(AAX_CParamID id, AAX_CBoolean touched) override;
    AAX_Result UpdateParameterNormalizedValue(AAX_CParamID id, double value, AAX_EUpdateSource source) override;
    AAX_Result UpdateParameterNormalizedRelative(AAX_CParamID id, double delta) override;
    AAX_Result GenerateCoefficients() override;
    AAX_Result ResetFieldData(AAX_CFieldIndex field, void* data, uint32_t size) const override;
    AAX_Result GetNumberOfChunks(int32_t* count) const override;
    AAX_Result GetChunkIDFromIndex(int32_t index, AAX_CTypeID* chunkID) const override;
    AAX_Result GetChunkSize(AAX_CTypeID chunkID, uint32_t* size) const override;
    AAX_Result GetChunk(AAX_CTypeID chunkID, AAX_SPlugInChunk* chunk) const override;
    AAX_Result SetChunk(AAX_CTypeID chunkID, const AAX_SPlugInChunk* chunk) override;
    AAX_Result CompareActiveChunk(const AAX_SPlugInChunk* chunk, AAX_CBoolean* isEqual) const override;
    AAX_Result GetNumberOfChanges(int32_t* changes) const override;
    AAX_Result TimerWakeup() override;
    AAX_Result GetCurveData(AAX_CTypeID curveType, const float* values, uint32_t count, float* out) const override;
    AAX_Result GetCustomData(AAX_CTypeID dataType, uint32_t size, void* data, uint32_t* written) const override;
    AAX_Result SetCustomData(AAX_CTypeID dataType, uint32_t size, const void* data) override;
    AAX_Result DoMIDITransfers() override;
    AAX_Result RenderAudio_Hybrid(AAX_SHybridRenderInfo* info) override;
    AAX_Result UpdateMIDINodes(AAX_CFieldIndex field, AAX_CMidiPacket& packet) override;
    AAX_Result UpdateControlMIDINodes(AAX_CTypeID node, AAX_CMidiPacket& packet) override;

    /** Called by Initialize once the host is connected: the derived effect
        makes its parameters here. A non-zero status ends Initialize. */
    virtual AAX_Result EffectInit();

    /** Never null: before Initialize (or after Uninitialize) these are proxies
        of no host, which drop every call with their missing-interface status. */
    AAX_IController* Controller() const noexcept;
    AAX_ITransport* Transport() const noexcept;

    /** Leaves the parameter of this identifier out of the controls chunk. */
    void FilterParameterIDOnSave(AAX_CParamID id);

protected:
    std::atomic<int32_t> changeCount { 0 };           // 0 .. 0x7fffffff, then round again
    mutable uint32_t controlsChunkSize = 0;           // bytes, as the latest GetChunkSize measured
    mutable AAX_CChunkDataParser chunkParser;         // the chunk being written
    AAX_CPacketDispatcher packetDispatcher;
    AAX_CParameterManager parameterManager;
    std::set<std::string> filteredParameterIDs;
    std::unique_ptr<AAX_VController> controller;
    std::unique_ptr<AAX_VTransport> transport;
    std::unique_ptr<AAX_VAutomationDelegate> automationDelegate;

private:
    /** `read` of the parameter of `id` into *out: null out -20004, unknown id -20001. */
    template <typename Out, typename Read>
    AAX_Result readParameter(AAX_CParamID id, Out* out, Read read) const;
    /** `change` on the parameter of `id`, which answers the status; unknown id -20001. */
    template <typename Change>
    AAX_Result changeParameter(AAX_CParamID id, Change change);
    /** `write` of a text from the parameter of `id`, which answers the status;
        null text -20004, unknown id -20001 and the empty text. */
    template <typename Write>
    AAX_Result writeParameterText(AAX_CParamID id, AAX_IString* text, Write write) const;

    void releaseHostObjects();
    bool isFiltered(AAX_CParamID id) const;
    void buildControlsChunk(AAX_CChunkDataParser& parser) const;
    void restoreControls(AAX_CChunkDataParser& parser);
    bool controlsMatch(AAX_CChunkDataParser& parser) const;

    mutable std::mutex chunkLock;   // the writing parser and its reported size
};
