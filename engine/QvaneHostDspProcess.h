#pragma once

#include "ArrayDecoder.h"
#include "AtoB.h"
#include "BFormatPath.h"
#include "CopyOut.h"
#include "DspPrimitives.h"
#include "EngineControls.h"
#include "MicInput.h"
#include "QvaneDspProcess.h"

// The decoder engine: every control value and every piece of filter state of
// the signal path, with one setter per control.
//
// Threads: Process runs on the audio thread. The setters run on whichever
// thread sets a parameter: they only publish the new value (`controls`,
// atomics) and take no lock. Process takes everything published at the start
// of each call and alone writes what the signal path runs on, so a change
// reaches the audio at the next block (smoothed targets then glide) and no
// filter is ever rewritten under the audio thread. The getters answer what
// was published, at once. SetSampleRate and ResetState are lifecycle calls:
// never while Process runs (the processor holds its callback lock for them).
//
// Out-of-range requests are refused here so that no caller can index past a
// table: array types above 7, channels above 8 and meters above 12 are
// ignored, angles are taken modulo 360 (a 16-bit value with the top bit set
// reads as a negative angle, so -90 wraps to 270), non-finite levels,
// patterns, zoom and filter coefficients are ignored, and the zoom is held
// to -0.5 .. 0.5. A non-finite input sample reads as 0.
class QVANE_HOST_DSP_PROCESS : public QVANE_DSP_PROCESS
{
public:
    static constexpr int kNumInputs = 4;
    static constexpr int kNumChannels = 9;   // engine channels 0 L .. 8 RC
    static constexpr int kNumMeters = 13;    // 0-3 inputs, 4-12 channels 0-8
    static constexpr int kNumArrayTypes = 8; // 0 stereo .. 7 B-format

    // standardOrder: L R C LFE Ls Rs surround order (VST2, Audio Unit);
    // false gives L C R Ls Rs LFE (AAX).
    explicit QVANE_HOST_DSP_PROCESS(bool standardOrder);
    ~QVANE_HOST_DSP_PROCESS() override = default;

    // The filters point into their own coefficient banks: never copy.
    QVANE_HOST_DSP_PROCESS(const QVANE_HOST_DSP_PROCESS&) = delete;
    QVANE_HOST_DSP_PROCESS& operator=(const QVANE_HOST_DSP_PROCESS&) = delete;

    // Recomputes every rate-dependent coefficient; a rate that is not finite
    // or not above 0 is ignored. Not while Process runs.
    virtual void SetSampleRate(float sampleRate);
    virtual void SetInputLevelCoeff(float gain);           // linear
    void SetAFormatEnable(bool on) override;
    virtual void SetInvertEnable(bool on);
    virtual void SetEndFireEnable(bool on);
    virtual void SetFilterEnable(bool on);                 // 80 Hz input high-pass
    virtual void SetAzimuthAngle(unsigned short degrees);
    virtual void SetFrontElevationAngle(unsigned short degrees);
    virtual void SetRearElevationAngle(unsigned short degrees);
    virtual void SetDominance(float zoom);                 // -0.5 .. 0.5
    virtual void SetArrayType(unsigned char arrayType);    // 0 .. 7
    virtual void SetStereoMidSideEnable(bool on);
    virtual void SetStereoFilterCoeffs(float* coeffs);     // b0 b1 b2 A1 A2
    virtual void SetLfeFilterCoeffs(float* coeffs);        // b0 b1 b2 A1 A2
    virtual void SetChannelPolarPattern(unsigned char channel, float pattern); // 0 omni, 1 cardioid, 2 figure of eight
    virtual void SetChannelAngle(unsigned char channel, unsigned short degrees);
    virtual void SetChannelOutputLevelCoeff(unsigned char channel, float gain); // linear
    virtual void SetChannelMute(unsigned char channel, bool on);
    virtual void SetChannelSolo(unsigned char channel, bool on);
    virtual void SetBFormatArrayLevelCoeff(float gain);    // linear
    virtual void SetMasterOutputLevelCoeff(float gain);    // linear
    virtual void ResetMeter(unsigned char meter);
    virtual float GetMeterValue(unsigned char meter);      // linear peak; 0 for a bad index
    // inputs: 4 channel pointers, outputs: at least 8; any pointer may be null.
    // Works in place: inputs and outputs may be the same buffers.
    virtual void Process(float** inputs, float** outputs, long numSamples);
    virtual unsigned char GetArrayType();
    virtual bool GetIsChannelSolo(unsigned char channel);
    virtual bool GetIsChannelMute(unsigned char channel);
    virtual bool GetIsChannelSoloMute(unsigned char channel);
    virtual bool HasSolo();

    // Not virtual: the processor reads the input format back from here.
    bool GetAFormatEnable() const { return controls.aFormat.load(std::memory_order_relaxed); }

    // Recomputes every channel's solo-mute flag from the solo flags.
    void UpdateMuteSoloState();

    // What the setters have published so far.
    ControlSnapshot GetControls() const { return TakeSnapshot(controls); }

    // audio thread (Process calls it first): takes every published control
    // into the record below.
    void ApplyPublishedControls();

    // Clears every filter history, smoother, meter and correction-filter
    // history, as in a freshly built engine at the current rate, and takes the
    // published controls again: a resumed plug-in starts clean. Not while
    // Process runs.
    void ResetState();

private:
    void CopyOutRun(uint32_t type, const float (*channels)[kRunFrames], float** out, int count);
    void LoadInputFilters();
    void ApplyCoefficientSets();
    void PublishMeters();
    void ClearNonFiniteState();

    EngineControls controls;                  // what the setters publish
    uint32_t appliedSerial;                   // controls.serial last taken
    uint32_t appliedLfeSequence;              // controls.lfeCoeffs last taken
    uint32_t appliedStereoSequence;           // controls.stereoCoeffs last taken
    std::atomic<float> meterOut[kNumMeters];  // meter values for other threads, once per block

public:
    // The record the audio thread runs on. Plain fields so that tests can
    // read them; the audio thread alone writes them, from what was published.
    bool aFormatEnable;                       // inputs are capsule signals
    bool filterEnable;                        // input high-pass on
    CopyOutFunction copyOut[kNumArrayTypes];  // per array type
    AtoBState aToB;                           // A-format correction filters
    MicInputControl micInput;                 // high-pass, input gain
    BFormatPathControl bFormatPath;           // end-fire .. tilt
    ArrayControl arrayControl;                // decoder, levels, mute, solo
    DspMeter meters[kNumMeters];              // 0-3 inputs, 4-12 channels 0-8
    float sampleRate;                         // Hz
    float highPassCoeffs[5];                  // 80 Hz high-pass: b0 b1 b2 A1 A2
};
