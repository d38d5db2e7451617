#include "QvaneHostDspProcess.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace
{
constexpr float kDefaultSampleRate = 44100.0f;
constexpr float kLfeCutoff = 90.0f;       // Hz, LFE low-pass
constexpr float kHighPassCutoff = 80.0f;  // Hz, input high-pass
constexpr float kIdentityCoeffs[5] = {1.0f, 0.0f, 0.0f, 0.0f, 0.0f};
constexpr float kMaxDominance = 0.5f;     // zoom range; keeps sqrt(1 - d^2) real
constexpr int kChunkFrames = kRunFrames;  // frames per pass of the stages

// A 16-bit angle with its top bit set reads as a negative number of degrees,
// so a caller's -90 arrives as 270; anything else wraps into 0-359.
uint32_t WrapAngle(unsigned short degrees)
{
    int angle = static_cast<int16_t>(degrees) % 360;
    if (angle < 0)
        angle += 360;
    return static_cast<uint32_t>(angle);
}

bool AllFinite(const float* values, int count)
{
    for (int k = 0; k < count; ++k)
        if (!std::isfinite(values[k]))
            return false;
    return true;
}

// A NaN or infinite input sample would stay in the filters and smoothers for
// good; it reads as silence instead.
inline float FiniteOrZero(float x)
{
    uint32_t bits;
    std::memcpy(&bits, &x, sizeof bits);
    return (bits & 0x7f800000u) == 0x7f800000u ? 0.0f : x;
}
} // namespace

QVANE_HOST_DSP_PROCESS::QVANE_HOST_DSP_PROCESS(bool standardOrder)
    : appliedSerial(0), appliedLfeSequence(0), appliedStereoSequence(0), aFormatEnable(false), filterEnable(false),
      copyOut{}, aToB{}, micInput{}, bFormatPath{}, arrayControl{}, meters{}, sampleRate(kDefaultSampleRate),
      highPassCoeffs{}
{
    GenerateSineCosTables();
    InitialiseAtoB(&aToB, kDefaultSampleRate);
    InitialiseMicInputControl(&micInput);
    InitialiseBFormatPathControl(&bFormatPath);
    InitialiseArrayControl(&arrayControl);
    // The published controls start as the record does.
    controls.angle[8].store(arrayControl.angle[8], std::memory_order_relaxed);
    for (auto& m : meterOut)
        m.store(0.0f, std::memory_order_relaxed);
    SetSampleRate(kDefaultSampleRate);

    copyOut[0] = CopyToStereo;
    if (standardOrder)
    {
        copyOut[1] = CopyTo5_0_EBU;
        copyOut[2] = CopyTo5_1_EBU;
        copyOut[3] = CopyTo6_0_EBU;
        copyOut[4] = CopyTo6_1_EBU;
        copyOut[5] = CopyTo7_0_EBU;
        copyOut[6] = CopyTo7_1_EBU;
    }
    else
    {
        copyOut[1] = CopyTo5_0;
        copyOut[2] = CopyTo5_1;
        copyOut[3] = CopyTo6_0;
        copyOut[4] = CopyTo6_1;
        copyOut[5] = CopyTo7_0;
        copyOut[6] = CopyTo7_1;
    }
    copyOut[7] = CopyToQuad;
    ApplyPublishedControls();
}

void QVANE_HOST_DSP_PROCESS::SetSampleRate(float fs)
{
    if (!std::isfinite(fs) || fs <= 0.0f)
        return;
    sampleRate = fs;
    for (auto& meter : meters)
        InitialiseDspMeter(&meter, fs);
    PublishMeters();

    float a, c;
    CalculateSmoothingPair(fs, &a, &c);
    micInput.a = bFormatPath.a = arrayControl.a = a;
    micInput.c = bFormatPath.c = arrayControl.c = c;

    InitialiseAtoB(&aToB, fs);

    float lfe[5];
    CalculateLfeFilterCoeffs(fs, kLfeCutoff, lfe);
    SetLfeFilterCoeffs(lfe);
    ApplyCoefficientSets(); // nothing runs meanwhile: take it now

    // A rate so small that the design overflows would leave NaN in the input
    // filters' state for good; keep the previous high-pass as the LFE keeps
    // its previous low-pass.
    float highPass[5];
    CalculateHighPassFilterCoeffs(fs, kHighPassCutoff, highPass);
    if (AllFinite(highPass, 5))
        std::copy(highPass, highPass + 5, highPassCoeffs);
    filterEnable = controls.filter.load(std::memory_order_acquire);
    LoadInputFilters();
}

void QVANE_HOST_DSP_PROCESS::LoadInputFilters()
{
    const float* coeffs = filterEnable ? highPassCoeffs : kIdentityCoeffs;
    for (auto& filter : micInput.filters)
        FilterSetNewCoeffs(&filter, coeffs);
}

void QVANE_HOST_DSP_PROCESS::SetInputLevelCoeff(float gain)
{
    if (!std::isfinite(gain))
        return;
    controls.Set(controls.inputGain, gain);
}

void QVANE_HOST_DSP_PROCESS::SetAFormatEnable(bool on)
{
    controls.Set(controls.aFormat, on);
}

void QVANE_HOST_DSP_PROCESS::SetInvertEnable(bool on)
{
    controls.Set(controls.invert, on);
}

void QVANE_HOST_DSP_PROCESS::SetEndFireEnable(bool on)
{
    controls.Set(controls.endFire, on);
}

// Only the flag is published: the audio thread loads the coefficients into
// the four input filters itself when it sees the flag change, so a setter
// that flips the switch back and forth never writes a bank the audio thread
// is reading.
void QVANE_HOST_DSP_PROCESS::SetFilterEnable(bool on)
{
    controls.Set(controls.filter, on);
}

void QVANE_HOST_DSP_PROCESS::SetAzimuthAngle(unsigned short degrees)
{
    controls.Set(controls.azimuth, WrapAngle(degrees));
}

void QVANE_HOST_DSP_PROCESS::SetFrontElevationAngle(unsigned short degrees)
{
    controls.Set(controls.frontElevation, WrapAngle(degrees));
}

void QVANE_HOST_DSP_PROCESS::SetRearElevationAngle(unsigned short degrees)
{
    controls.Set(controls.rearElevation, WrapAngle(degrees));
}

void QVANE_HOST_DSP_PROCESS::SetDominance(float zoom)
{
    if (!std::isfinite(zoom))
        return;
    controls.Set(controls.dominance, std::clamp(zoom, -kMaxDominance, kMaxDominance));
}

void QVANE_HOST_DSP_PROCESS::SetArrayType(unsigned char arrayType)
{
    if (arrayType >= kNumArrayTypes)
        return;
    controls.Set(controls.arrayType, arrayType);
}

void QVANE_HOST_DSP_PROCESS::SetStereoMidSideEnable(bool on)
{
    controls.Set(controls.midSide, on);
}

void QVANE_HOST_DSP_PROCESS::SetStereoFilterCoeffs(float* coeffs)
{
    if (coeffs == nullptr || !AllFinite(coeffs, 5))
        return;
    controls.stereoCoeffs.Publish(coeffs);
    controls.Changed();
}

void QVANE_HOST_DSP_PROCESS::SetLfeFilterCoeffs(float* coeffs)
{
    if (coeffs == nullptr || !AllFinite(coeffs, 5))
        return;
    controls.lfeCoeffs.Publish(coeffs);
    controls.Changed();
}

void QVANE_HOST_DSP_PROCESS::SetChannelPolarPattern(unsigned char channel, float pattern)
{
    if (channel >= kNumChannels || !std::isfinite(pattern))
        return;
    controls.Set(controls.polarPattern[channel], pattern);
}

void QVANE_HOST_DSP_PROCESS::SetChannelAngle(unsigned char channel, unsigned short degrees)
{
    if (channel >= kNumChannels)
        return;
    controls.Set(controls.angle[channel], WrapAngle(degrees));
}

void QVANE_HOST_DSP_PROCESS::SetChannelOutputLevelCoeff(unsigned char channel, float gain)
{
    if (channel >= kNumChannels || !std::isfinite(gain))
        return;
    controls.Set(controls.level[channel], gain);
}

namespace
{
// One read-modify-write of the packed mute and solo flags.
template <typename Change>
void UpdateMuteSolo(EngineControls& controls, Change change)
{
    uint32_t word = controls.muteSolo.load(std::memory_order_relaxed);
    while (!controls.muteSolo.compare_exchange_weak(word, change(word), std::memory_order_relaxed))
    {
    }
    controls.Changed();
}
} // namespace

void QVANE_HOST_DSP_PROCESS::SetChannelMute(unsigned char channel, bool on)
{
    if (channel < kNumChannels)
        UpdateMuteSolo(controls, [channel, on](uint32_t w) { return MuteSoloWord::WithMute(w, channel, on); });
}

void QVANE_HOST_DSP_PROCESS::SetChannelSolo(unsigned char channel, bool on)
{
    if (channel < kNumChannels)
        UpdateMuteSolo(controls, [channel, on](uint32_t w) { return MuteSoloWord::WithSolo(w, channel, on); });
}

void QVANE_HOST_DSP_PROCESS::UpdateMuteSoloState()
{
    UpdateMuteSolo(controls, [](uint32_t w) { return MuteSoloWord::WithSoloMute(w); });
}

void QVANE_HOST_DSP_PROCESS::SetBFormatArrayLevelCoeff(float gain)
{
    if (!std::isfinite(gain))
        return;
    controls.Set(controls.bFormatLevel, gain);
}

void QVANE_HOST_DSP_PROCESS::SetMasterOutputLevelCoeff(float gain)
{
    if (!std::isfinite(gain))
        return;
    controls.Set(controls.masterLevel, gain);
}

// The meter is cleared for readers at once and for the audio thread at its
// next block (until then the audio thread may still publish the old peak
// once, which is what a meter reset during playback looks like anyway).
void QVANE_HOST_DSP_PROCESS::ResetMeter(unsigned char meter)
{
    if (meter >= kNumMeters)
        return;
    controls.meterResets.fetch_or(1u << meter, std::memory_order_relaxed);
    meterOut[meter].store(0.0f, std::memory_order_relaxed);
}

float QVANE_HOST_DSP_PROCESS::GetMeterValue(unsigned char meter)
{
    return meter < kNumMeters ? meterOut[meter].load(std::memory_order_relaxed) : 0.0f;
}

unsigned char QVANE_HOST_DSP_PROCESS::GetArrayType()
{
    return static_cast<unsigned char>(controls.arrayType.load(std::memory_order_relaxed));
}

bool QVANE_HOST_DSP_PROCESS::GetIsChannelSolo(unsigned char channel)
{
    return channel < kNumChannels && MuteSoloWord::Solo(controls.muteSolo.load(std::memory_order_relaxed), channel);
}

bool QVANE_HOST_DSP_PROCESS::GetIsChannelMute(unsigned char channel)
{
    return channel < kNumChannels && MuteSoloWord::Mute(controls.muteSolo.load(std::memory_order_relaxed), channel);
}

bool QVANE_HOST_DSP_PROCESS::GetIsChannelSoloMute(unsigned char channel)
{
    return channel < kNumChannels
           && MuteSoloWord::SoloMute(controls.muteSolo.load(std::memory_order_relaxed), channel);
}

bool QVANE_HOST_DSP_PROCESS::HasSolo()
{
    return MuteSoloWord::AnySolo(controls.muteSolo.load(std::memory_order_relaxed));
}

//==============================================================================
void QVANE_HOST_DSP_PROCESS::ApplyPublishedControls()
{
    constexpr auto relaxed = std::memory_order_relaxed;

    const uint32_t resets = controls.meterResets.exchange(0, std::memory_order_acquire);
    for (int m = 0; m < kNumMeters; ++m)
        if ((resets >> m) & 1u)
            meters[m].value = 0.0f;

    const uint32_t serial = controls.serial.load(std::memory_order_acquire);
    if (serial == appliedSerial)
        return;
    appliedSerial = serial;

    micInput.gainTarget = controls.inputGain.load(relaxed);
    aFormatEnable = controls.aFormat.load(relaxed);
    bFormatPath.invert = controls.invert.load(relaxed) ? 1u : 0u;
    bFormatPath.endFire = controls.endFire.load(relaxed) ? 1u : 0u;
    bFormatPath.azimuth = controls.azimuth.load(relaxed);
    bFormatPath.frontElevation = controls.frontElevation.load(relaxed);
    bFormatPath.rearElevation = controls.rearElevation.load(relaxed);
    bFormatPath.dominanceTarget = controls.dominance.load(relaxed);
    arrayControl.arrayType = controls.arrayType.load(relaxed);
    arrayControl.midSide = controls.midSide.load(relaxed) ? 1u : 0u;
    for (int ch = 0; ch < kNumChannels; ++ch)
    {
        arrayControl.polarTarget[ch] = controls.polarPattern[ch].load(relaxed);
        arrayControl.angle[ch] = controls.angle[ch].load(relaxed);
        arrayControl.levelTarget[ch] = controls.level[ch].load(relaxed);
    }
    const uint32_t word = controls.muteSolo.load(relaxed);
    for (int ch = 0; ch < kNumChannels; ++ch)
    {
        arrayControl.mute[ch] = MuteSoloWord::Mute(word, ch) ? 1u : 0u;
        arrayControl.solo[ch] = MuteSoloWord::Solo(word, ch) ? 1u : 0u;
        arrayControl.soloMute[ch] = MuteSoloWord::SoloMute(word, ch) ? 1u : 0u;
    }
    arrayControl.bFormatLevelTarget = controls.bFormatLevel.load(relaxed);
    arrayControl.masterLevelTarget = controls.masterLevel.load(relaxed);

    const bool filter = controls.filter.load(relaxed);
    if (filter != filterEnable)
    {
        filterEnable = filter;
        LoadInputFilters();
    }
    ApplyCoefficientSets();
}

void QVANE_HOST_DSP_PROCESS::ApplyCoefficientSets()
{
    float k[5];
    if (controls.lfeCoeffs.TakeIfNewer(&appliedLfeSequence, k))
        FilterSetNewCoeffs(&arrayControl.lfeFilter, k);
    if (controls.stereoCoeffs.TakeIfNewer(&appliedStereoSequence, k))
    {
        FilterSetNewCoeffs(&arrayControl.stereoFilters[0], k);
        FilterSetNewCoeffs(&arrayControl.stereoFilters[1], k);
    }
}

void QVANE_HOST_DSP_PROCESS::PublishMeters()
{
    for (int m = 0; m < kNumMeters; ++m)
        meterOut[m].store(meters[m].value, std::memory_order_relaxed);
}

namespace
{
void ClearFilterState(SecondOrderFilter* filter)
{
    filter->x1 = filter->x2 = filter->y1 = filter->y2 = 0.0f;
}

bool FilterStateFinite(const SecondOrderFilter& f)
{
    return std::isfinite(f.x1) && std::isfinite(f.x2) && std::isfinite(f.y1) && std::isfinite(f.y2);
}

void ClearIfNotFinite(float* value, float clean)
{
    if (!std::isfinite(*value))
        *value = clean;
}
} // namespace

void QVANE_HOST_DSP_PROCESS::ResetState()
{
    for (auto& filter : micInput.filters)
        ClearFilterState(&filter);
    ClearFilterState(&arrayControl.lfeFilter);
    ClearFilterState(&arrayControl.stereoFilters[0]);
    ClearFilterState(&arrayControl.stereoFilters[1]);
    InitialiseAtoB(&aToB, sampleRate);

    // The smoothed values start where a new engine's do.
    micInput.gainSmoothed = 1.0f;
    bFormatPath.azimuthCos = bFormatPath.azimuthSin = 0.0f;
    bFormatPath.frontCos = bFormatPath.frontSin = 0.0f;
    bFormatPath.rearCos = bFormatPath.rearSin = 0.0f;
    bFormatPath.dominanceSmoothed = 0.0f;
    for (int ch = 0; ch < kNumChannels; ++ch)
    {
        arrayControl.polarSmoothed[ch] = 1.0f;
        arrayControl.levelSmoothed[ch] = 0.0f;
    }
    arrayControl.bFormatLevelSmoothed = 1.0f;
    arrayControl.masterLevelSmoothed = 1.0f;

    for (auto& meter : meters)
        meter.value = 0.0f;
    PublishMeters();

    appliedSerial = controls.serial.load(std::memory_order_acquire) - 1u; // take everything again
    ApplyPublishedControls();
}

// A sample large enough to overflow the gain stage, or anything else that
// leaves an infinity or NaN in a recursive value, would otherwise stay there
// for good (0 times NaN is NaN): such a value is cleared, once per block.
void QVANE_HOST_DSP_PROCESS::ClearNonFiniteState()
{
    float sum = 0.0f;
    for (const auto& filter : micInput.filters)
        sum += filter.x1 + filter.x2 + filter.y1 + filter.y2;
    const SecondOrderFilter& lfe = arrayControl.lfeFilter;
    sum += lfe.x1 + lfe.x2 + lfe.y1 + lfe.y2;
    for (const auto& meter : meters)
        sum += meter.value;
    sum += micInput.gainSmoothed + bFormatPath.azimuthCos + bFormatPath.azimuthSin + bFormatPath.frontCos
           + bFormatPath.frontSin + bFormatPath.rearCos + bFormatPath.rearSin + bFormatPath.dominanceSmoothed
           + arrayControl.bFormatLevelSmoothed + arrayControl.masterLevelSmoothed;
    for (int ch = 0; ch < kNumChannels; ++ch)
        sum += arrayControl.polarSmoothed[ch] + arrayControl.levelSmoothed[ch];
    if (std::isfinite(sum))
        return; // the usual case: one test per block

    for (auto& filter : micInput.filters)
        if (!FilterStateFinite(filter))
            ClearFilterState(&filter);
    if (!FilterStateFinite(arrayControl.lfeFilter))
        ClearFilterState(&arrayControl.lfeFilter);
    for (auto& meter : meters)
        ClearIfNotFinite(&meter.value, 0.0f);
    ClearIfNotFinite(&micInput.gainSmoothed, micInput.gainTarget);
    ClearIfNotFinite(&bFormatPath.azimuthCos, 0.0f);
    ClearIfNotFinite(&bFormatPath.azimuthSin, 0.0f);
    ClearIfNotFinite(&bFormatPath.frontCos, 0.0f);
    ClearIfNotFinite(&bFormatPath.frontSin, 0.0f);
    ClearIfNotFinite(&bFormatPath.rearCos, 0.0f);
    ClearIfNotFinite(&bFormatPath.rearSin, 0.0f);
    ClearIfNotFinite(&bFormatPath.dominanceSmoothed, 0.0f);
    ClearIfNotFinite(&arrayControl.bFormatLevelSmoothed, 0.0f);
    ClearIfNotFinite(&arrayControl.masterLevelSmoothed, 0.0f);
    for (int ch = 0; ch < kNumChannels; ++ch)
    {
        ClearIfNotFinite(&arrayControl.polarSmoothed[ch], 1.0f);
        ClearIfNotFinite(&arrayControl.levelSmoothed[ch], 0.0f);
    }
    // The correction filters hold no feedback, but a non-finite sample in
    // their history would still come out for a whole filter length.
    for (auto& fir : aToB.filters)
        for (int j = 0; j < fir.taps; ++j)
            ClearIfNotFinite(&fir.history[j], 0.0f);
}

// The stages run chunk by chunk: no stage depends on a later one, so each can
// run ahead over a chunk (the meters last of all), while the order of every
// float operation within a frame stays that of one frame at a time. All
// inputs of a chunk are read before any of its outputs is written, so the
// host's buffers may be shared between inputs and outputs.
//
// Once a smoother has reached its fixed point (one more step would return the
// same bits), stepping it is skipped and the chunk runs as vectors over its
// frames: the output is identical. The controls are taken once, at the start
// of the call, so every chunk of a block runs on the same settings.
void QVANE_HOST_DSP_PROCESS::Process(float** inputs, float** outputs, long numSamples)
{
    if (numSamples < 1)
        return;

    ApplyPublishedControls();

    float frames[kChunkFrames][4];
    for (long start = 0; start < numSamples; start += kChunkFrames)
    {
        const int count = static_cast<int>(std::min<long>(kChunkFrames, numSamples - start));

        for (int k = 0; k < kNumInputs; ++k)
        {
            const float* in = inputs != nullptr ? inputs[k] : nullptr;
            if (in == nullptr)
                for (int n = 0; n < count; ++n)
                    frames[n][k] = 0.0f;
            else
                for (int n = 0; n < count; ++n)
                    frames[n][k] = FiniteOrZero(in[start + n]);
        }
        ProcessMicInputRun(frames, count, &micInput, meters);

        if (aFormatEnable)
        {
            ProcessAtoBBlock(frames, count, &aToB);
            for (int n = 0; n < count; ++n)
                frames[n][0] = frames[n][0] * kInvSqrt2;
        }

        // Slot pointers moved to the chunk so the copy-out's int index stays small.
        float* out[8];
        for (int s = 0; s < 8; ++s)
            out[s] = (outputs != nullptr && outputs[s] != nullptr) ? outputs[s] + start : nullptr;

        DspMeter* outputMeters = meters + kNumInputs;
        const uint32_t type = std::min<uint32_t>(arrayControl.arrayType, kNumArrayTypes - 1);
        // Frames past count only pad the vectors; they are never output.
        const int padded = (count + 3) & ~3;
        float channels[kNumChannels][kRunFrames];
        if (BFormatPathSettled(&bFormatPath) && ArraySettled(&arrayControl))
        {
            for (int n = count; n < padded; ++n)
                for (float& v : frames[n])
                    v = 0.0f;
            BFormatRun front, rear;
            ProcessBFormatPathSettledRun(frames, padded, &bFormatPath, &front, &rear);
            DecodeArrayHeldRun(&front, &rear, count, type, &arrayControl, channels, outputMeters);
        }
        else
        {
            for (int n = 0; n < count; ++n)
            {
                float rear[4];
                float decoded[kNumChannels];
                ProcessBFormatPath(frames[n], rear, &bFormatPath);
                DecodeArrayUnmetered(frames[n], rear, type, &arrayControl, decoded);
                for (int i = 0; i < kNumChannels; ++i)
                    channels[i][n] = decoded[i];
            }
            for (int i = 0; i < kNumChannels; ++i)
                for (int n = count; n < padded; ++n)
                    channels[i][n] = 0.0f;
            MeterChannelsRun(channels, count, outputMeters);
        }
        CopyOutRun(type, channels, out, count);
    }

    ClearNonFiniteState();
    PublishMeters();
}

void QVANE_HOST_DSP_PROCESS::CopyOutRun(uint32_t type, const float (*channels)[kRunFrames], float** out, int count)
{
    if (const int* slots = CopyOutSlotMap(copyOut[type]))
    {
        for (int s = 0; s < 8; ++s)
        {
            if (out[s] == nullptr)
                continue;
            if (slots[s] == kCopyOutZero)
                std::fill(out[s], out[s] + count, 0.0f);
            else
                std::copy(channels[slots[s]], channels[slots[s]] + count, out[s]);
        }
        return;
    }
    for (int n = 0; n < count; ++n)
    {
        float decoded[kNumChannels];
        for (int i = 0; i < kNumChannels; ++i)
            decoded[i] = channels[i][n];
        copyOut[type](decoded, out, n);
    }
}
