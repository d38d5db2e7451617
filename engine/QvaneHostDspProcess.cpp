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
    : aFormatEnable(false), filterEnable(false), copyOut{}, aToB{}, micInput{}, bFormatPath{}, arrayControl{},
      meters{}, sampleRate(kDefaultSampleRate), highPassCoeffs{}
{
    GenerateSineCosTables();
    InitialiseAtoB(&aToB, kDefaultSampleRate);
    InitialiseMicInputControl(&micInput);
    InitialiseBFormatPathControl(&bFormatPath);
    InitialiseArrayControl(&arrayControl);
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
}

void QVANE_HOST_DSP_PROCESS::SetSampleRate(float fs)
{
    if (!std::isfinite(fs) || fs <= 0.0f)
        return;
    sampleRate = fs;
    for (auto& meter : meters)
        InitialiseDspMeter(&meter, fs);

    float a, c;
    CalculateSmoothingPair(fs, &a, &c);
    micInput.a = bFormatPath.a = arrayControl.a = a;
    micInput.c = bFormatPath.c = arrayControl.c = c;

    InitialiseAtoB(&aToB, fs);

    float lfe[5];
    CalculateLfeFilterCoeffs(fs, kLfeCutoff, lfe);
    SetLfeFilterCoeffs(lfe);

    // A rate so small that the design overflows would leave NaN in the input
    // filters' state for good; keep the previous high-pass as the LFE keeps
    // its previous low-pass.
    float highPass[5];
    CalculateHighPassFilterCoeffs(fs, kHighPassCutoff, highPass);
    if (AllFinite(highPass, 5))
        std::copy(highPass, highPass + 5, highPassCoeffs);
    SetFilterEnable(filterEnable);
}

void QVANE_HOST_DSP_PROCESS::SetInputLevelCoeff(float gain)
{
    if (std::isfinite(gain))
        micInput.gainTarget = gain;
}

void QVANE_HOST_DSP_PROCESS::SetAFormatEnable(bool on)
{
    aFormatEnable = on;
}

void QVANE_HOST_DSP_PROCESS::SetInvertEnable(bool on)
{
    bFormatPath.invert = on ? 1u : 0u;
}

void QVANE_HOST_DSP_PROCESS::SetEndFireEnable(bool on)
{
    bFormatPath.endFire = on ? 1u : 0u;
}

void QVANE_HOST_DSP_PROCESS::SetFilterEnable(bool on)
{
    filterEnable = on;
    const float* coeffs = on ? highPassCoeffs : kIdentityCoeffs;
    for (auto& filter : micInput.filters)
        FilterSetNewCoeffs(&filter, coeffs);
}

void QVANE_HOST_DSP_PROCESS::SetAzimuthAngle(unsigned short degrees)
{
    bFormatPath.azimuth = WrapAngle(degrees);
}

void QVANE_HOST_DSP_PROCESS::SetFrontElevationAngle(unsigned short degrees)
{
    bFormatPath.frontElevation = WrapAngle(degrees);
}

void QVANE_HOST_DSP_PROCESS::SetRearElevationAngle(unsigned short degrees)
{
    bFormatPath.rearElevation = WrapAngle(degrees);
}

void QVANE_HOST_DSP_PROCESS::SetDominance(float zoom)
{
    if (std::isfinite(zoom))
        bFormatPath.dominanceTarget = std::clamp(zoom, -kMaxDominance, kMaxDominance);
}

void QVANE_HOST_DSP_PROCESS::SetArrayType(unsigned char arrayType)
{
    if (arrayType < kNumArrayTypes)
        arrayControl.arrayType = arrayType;
}

void QVANE_HOST_DSP_PROCESS::SetStereoMidSideEnable(bool on)
{
    arrayControl.midSide = on ? 1u : 0u;
}

void QVANE_HOST_DSP_PROCESS::SetStereoFilterCoeffs(float* coeffs)
{
    if (coeffs == nullptr || !AllFinite(coeffs, 5))
        return;
    FilterSetNewCoeffs(&arrayControl.stereoFilters[0], coeffs);
    FilterSetNewCoeffs(&arrayControl.stereoFilters[1], coeffs);
}

void QVANE_HOST_DSP_PROCESS::SetLfeFilterCoeffs(float* coeffs)
{
    if (coeffs == nullptr || !AllFinite(coeffs, 5))
        return;
    FilterSetNewCoeffs(&arrayControl.lfeFilter, coeffs);
}

void QVANE_HOST_DSP_PROCESS::SetChannelPolarPattern(unsigned char channel, float pattern)
{
    if (channel < kNumChannels && std::isfinite(pattern))
        arrayControl.polarTarget[channel] = pattern;
}

void QVANE_HOST_DSP_PROCESS::SetChannelAngle(unsigned char channel, unsigned short degrees)
{
    if (channel < kNumChannels)
        arrayControl.angle[channel] = WrapAngle(degrees);
}

void QVANE_HOST_DSP_PROCESS::SetChannelOutputLevelCoeff(unsigned char channel, float gain)
{
    if (channel < kNumChannels && std::isfinite(gain))
        arrayControl.levelTarget[channel] = gain;
}

void QVANE_HOST_DSP_PROCESS::SetChannelMute(unsigned char channel, bool on)
{
    if (channel < kNumChannels)
        ArraySetChannelMute(&arrayControl, channel, on);
}

void QVANE_HOST_DSP_PROCESS::SetChannelSolo(unsigned char channel, bool on)
{
    if (channel < kNumChannels)
        ArraySetChannelSolo(&arrayControl, channel, on);
}

void QVANE_HOST_DSP_PROCESS::SetBFormatArrayLevelCoeff(float gain)
{
    if (std::isfinite(gain))
        arrayControl.bFormatLevelTarget = gain;
}

void QVANE_HOST_DSP_PROCESS::SetMasterOutputLevelCoeff(float gain)
{
    if (std::isfinite(gain))
        arrayControl.masterLevelTarget = gain;
}

void QVANE_HOST_DSP_PROCESS::ResetMeter(unsigned char meter)
{
    if (meter < kNumMeters)
        meters[meter].value = 0.0f;
}

float QVANE_HOST_DSP_PROCESS::GetMeterValue(unsigned char meter)
{
    return meter < kNumMeters ? meters[meter].value : 0.0f;
}

unsigned char QVANE_HOST_DSP_PROCESS::GetArrayType()
{
    return static_cast<unsigned char>(arrayControl.arrayType);
}

bool QVANE_HOST_DSP_PROCESS::GetIsChannelSolo(unsigned char channel)
{
    return channel < kNumChannels && arrayControl.solo[channel] == 1;
}

bool QVANE_HOST_DSP_PROCESS::GetIsChannelMute(unsigned char channel)
{
    return channel < kNumChannels && arrayControl.mute[channel] == 1;
}

bool QVANE_HOST_DSP_PROCESS::GetIsChannelSoloMute(unsigned char channel)
{
    return channel < kNumChannels && arrayControl.soloMute[channel] == 1;
}

bool QVANE_HOST_DSP_PROCESS::HasSolo()
{
    return ArrayHasSolo(&arrayControl);
}

void QVANE_HOST_DSP_PROCESS::UpdateMuteSoloState()
{
    ArrayUpdateMuteSoloState(&arrayControl);
}

// The stages run chunk by chunk: no stage depends on a later one, so each can
// run ahead over a chunk (the meters last of all), while the order of every
// float operation within a frame stays that of one frame at a time. All
// inputs of a chunk are read before any of its outputs is written, so the
// host's buffers may be shared between inputs and outputs.
//
// Once a smoother has reached its fixed point (one more step would return the
// same bits), stepping it is skipped and the chunk runs as vectors over its
// frames: the output is identical. Whether the smoothers have settled, and
// the array type, are read at the start of each chunk, so a control set from
// another thread in the middle of a chunk acts from the next one.
void QVANE_HOST_DSP_PROCESS::Process(float** inputs, float** outputs, long numSamples)
{
    if (numSamples < 1)
        return;

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
