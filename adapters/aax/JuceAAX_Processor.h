// The plug-in's AAX effect object: the processor behind the library's
// effect-parameters base. It describes the processor's parameters to the host
// beside a master bypass, carries the processor's state as the chunk "juce",
// renders audio from the algorithm context the host builds per instance, and
// reports the host's transport to the processor as its play head.
//
// Threads: construction, EffectInit, chunks and notifications on the host's
// main thread; parameter calls from any host thread; process on the audio
// thread. No operation lets an exception reach the host.
#pragma once

#include "AAXStemFormats.h"
#include "JUCELibraryRefCount.h"

#include "AAX_CEffectParameters.h"

#include <AudioProcessor.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>

namespace AAXClasses
{
class JuceAAX_GUI;

/** Fields of the algorithm context, as declared in each component's description. */
enum AlgorithmField : AAX_CFieldIndex
{
    kFieldAudioInputs = 0,
    kFieldAudioOutputs = 1,
    kFieldBufferLength = 2,
    kFieldBypass = 3,        // packets of "MasterBypassID"
    kFieldPrivateData = 4    // 8 bytes: this instance's JuceAAX_Processor
};

/** The record the host builds for each instance from those fields. */
struct JUCEAlgorithmContext
{
    const float* const* inputChannels;   // one pointer per input channel
    float* const* outputChannels;        // one pointer per output channel
    const int32_t* bufferLength;         // samples in this block
    const int32_t* bypass;               // non-zero: bypassed
    void* const* privateData;            // holds the JuceAAX_Processor*
};

static_assert(offsetof(JUCEAlgorithmContext, inputChannels) == 0, "algorithm context layout");
static_assert(offsetof(JUCEAlgorithmContext, outputChannels) == 8, "algorithm context layout");
static_assert(offsetof(JUCEAlgorithmContext, bufferLength) == 16, "algorithm context layout");
static_assert(offsetof(JUCEAlgorithmContext, bypass) == 24, "algorithm context layout");
static_assert(offsetof(JUCEAlgorithmContext, privateData) == 32, "algorithm context layout");
static_assert(sizeof(JUCEAlgorithmContext) == 40, "algorithm context layout");

/** The chunk that holds the processor's state blob. */
constexpr AAX_CTypeID kStateChunkID = AAX_FourCharCode('j', 'u', 'c', 'e');   // 0x6A756365
/** Offline rendering begins and ends. */
constexpr AAX_CTypeID kEnteringOfflineMode = AAX_FourCharCode('A', 'X', 'o', 'f');   // 0x41586F66
constexpr AAX_CTypeID kLeavingOfflineMode = AAX_FourCharCode('A', 'X', 'o', 'x');    // 0x41586F78

class JuceAAX_Processor : public AAX_CEffectParameters,
                          public juce::AudioPlayHead,
                          public juce::AudioProcessorListener
{
public:
    JuceAAX_Processor();
    ~JuceAAX_Processor() override;

    /** The effect-parameters create procedure of the description: one new
        object, or null when making it failed (nothing reaches the host). */
    static AAX_IEffectParameters* Create();

    //==============================================================================
    // Preparation and audio.
    AAX_Result EffectInit() override;
    AAX_Result ResetFieldData(AAX_CFieldIndex field, void* data, uint32_t size) const override;

    // audio thread: the host's channels for one block. The MIDI nodes are
    // never given and never read.
    void process(const float* const* inputs, float* const* outputs, int numSamples, bool bypass,
                 const void* midiIn = nullptr, void* midiOut = nullptr);
    // audio thread: the processor on numChannels channels, in place.
    void process(float* const* channels, int numChannels, int numSamples, bool bypass,
                 const void* midiIn = nullptr, void* midiOut = nullptr);

    //==============================================================================
    // Parameters: "MasterBypassID" and the processor's "0" to "34".
    AAX_Result GetParameterName(AAX_CParamID id, AAX_IString* name) const override;
    AAX_Result GetParameterNameOfLength(AAX_CParamID id, AAX_IString* name, int32_t length) const override;
    AAX_Result GetParameterDefaultNormalizedValue(AAX_CParamID id, double* value) const override;
    AAX_Result GetParameterStringFromValue(AAX_CParamID id, double value, AAX_IString* text, int32_t maxLength) const override;
    AAX_Result GetParameterNormalizedValue(AAX_CParamID id, double* value) const override;
    AAX_Result SetParameterNormalizedValue(AAX_CParamID id, double value) override;
    AAX_Result SetParameterNormalizedRelative(AAX_CParamID id, double delta) override;
    AAX_Result UpdateParameterNormalizedValue(AAX_CParamID id, double value, AAX_EUpdateSource source) override;

    // Chunks: the library's "elck", then "juce".
    AAX_Result GetNumberOfChunks(int32_t* count) const override;
    AAX_Result GetChunkIDFromIndex(int32_t index, AAX_CTypeID* chunkID) const override;
    AAX_Result GetChunkSize(AAX_CTypeID chunkID, uint32_t* size) const override;
    AAX_Result GetChunk(AAX_CTypeID chunkID, AAX_SPlugInChunk* chunk) const override;
    AAX_Result SetChunk(AAX_CTypeID chunkID, const AAX_SPlugInChunk* chunk) override;

    AAX_Result NotificationReceived(AAX_CTypeID type, const void* data, uint32_t size) override;

    //==============================================================================
    // What the processor reports (juce::AudioProcessorListener).
    void audioProcessorParameterChanged(juce::AudioProcessor*, int index, float value) override;
    void audioProcessorChanged(juce::AudioProcessor*) override;
    void audioProcessorParameterChangeGestureBegin(juce::AudioProcessor*, int index) override;
    void audioProcessorParameterChangeGestureEnd(juce::AudioProcessor*, int index) override;

    // audio thread: the host's transport (juce::AudioPlayHead).
    bool getCurrentPosition(juce::AudioPlayHead::CurrentPositionInfo& info) override;

    //==============================================================================
    juce::AudioProcessor& getPluginInstance() const noexcept { return *processor; }

    /** The live effect object whose host-visible interface `effect` is; null
        for anything else (a host's own object, one already gone). */
    static JuceAAX_Processor* findLiveEffect(const void* effect);

    /** One view at a time shows an effect's editor: true when `view` may
        show it now (it is the view already showing it, or there is none). */
    bool attachView(JuceAAX_GUI* view);
    void detachView(JuceAAX_GUI* view);

    /** Hosts give 0, negative, non-finite or no rate at all: this is used then. */
    static constexpr float kFallbackSampleRate = 44100.0f;   // Hz
    /** Frames the processor runs on at a time; longer host blocks go in pieces. */
    static constexpr int kMaxPieceFrames = 4096;

private:
    /** The processor's index of a processor parameter registered under `id`;
        -1 for the master bypass and every identifier not registered. */
    int processorIndexForID(AAX_CParamID id) const;
    bool isMasterBypass(AAX_CParamID id) const;

    void preparePlugin();
    void addBypassParameter();
    void addAudioProcessorParameters();
    void processPiece(const float* const* inputs, float* const* outputs, int offset, int numSamples,
                      int numIns, int numOuts, bool bypass);
    /** Fills stateBlock from the processor unless it holds a capture already. */
    void captureState(bool fresh) const;

    JUCELibraryRefCount libraryRefCount;
    std::unique_ptr<juce::AudioProcessor> processor;
    juce::MidiBuffer blockMidi;                                // never holds an event
    std::array<float*, kMaxStemChannels> channelPointerList {}; // what the processor runs on
    int32_t stateChunkIndex = 0;                               // "juce" comes after the library's chunks
    float hostSampleRate = 0.0f;                               // Hz; 0 until EffectInit
    int lastBlockSize = 1024;                                  // samples
    mutable juce::MemoryBlock stateBlock;                      // a capture between GetChunkSize and GetChunk

    // Inputs are read into these before any output is written, so a host
    // that processes in place loses nothing, and inputs beyond the outputs
    // are processed here, never in the host's buffers.
    juce::AudioBuffer<float> inputCopies;                      // kMaxStemChannels x kMaxPieceFrames
    mutable std::mutex stateLock;                              // stateBlock and reportedStateSize
    mutable int64_t reportedStateSize = -1;                    // bytes; -1 until GetChunkSize("juce")
    JuceAAX_GUI* attachedView = nullptr;                       // guarded by the live-effect lock
};
} // namespace AAXClasses
