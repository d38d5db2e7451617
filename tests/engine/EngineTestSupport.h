// Shared by the engine tests: host-style buffers, the processor's set-up, the
// pipeline run one frame at a time from the stage functions, and bit-exact
// comparisons that name the first difference.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "QvaneHostDspProcess.h"

namespace enginetest
{
inline bool SameBits(float a, float b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// 4 input channels of seeded noise and 9 output channels holding -7.
struct Block
{
    std::vector<std::vector<float>> in, out;
    float* inputs[4];
    float* outputs[9];

    explicit Block(int frames, unsigned seed = 1) : in(4, std::vector<float>(frames)), out(9, std::vector<float>(frames, -7.0f))
    {
        for (auto& ch : in)
            for (float& v : ch)
            {
                seed = seed * 1664525u + 1013904223u;
                v = float(int(seed >> 8) - (1 << 23)) / float(1 << 23);
            }
        for (int k = 0; k < 4; ++k)
            inputs[k] = in[k].data();
        for (int k = 0; k < 9; ++k)
            outputs[k] = out[k].data();
    }
};

// The processor's defaults, so every stage does real work.
inline void SetUpLikeProcessor(QVANE_HOST_DSP_PROCESS& e, float fs, unsigned char arrayType, bool aFormat)
{
    e.SetSampleRate(fs);
    e.SetAFormatEnable(aFormat);
    e.SetFilterEnable(true);
    e.SetArrayType(arrayType);
    const unsigned short angles[9] = {30, 330, 0, 0, 125, 235, 90, 270, 180};
    for (unsigned char ch = 0; ch < 9; ++ch)
    {
        e.SetChannelOutputLevelCoeff(ch, 1.0f);
        e.SetChannelPolarPattern(ch, 1.25f);
        e.SetChannelAngle(ch, angles[ch]);
    }
    e.SetAzimuthAngle(20);
    e.SetFrontElevationAngle(10);
    e.SetRearElevationAngle(350);
    e.SetDominance(0.1f);
}

inline void Silence(QVANE_HOST_DSP_PROCESS& e, long frames)
{
    float* none[9] = {};
    e.Process(none, none, frames);
}

// The pipeline one frame at a time from the stage functions alone, on the
// records of a second engine: what Process must reproduce bit for bit,
// however it groups frames or skips settled smoothers.
inline void ReferenceProcess(QVANE_HOST_DSP_PROCESS& e, float** inputs, float** outputs, int frames)
{
    e.ApplyPublishedControls(); // as Process does at the start of every block
    for (int n = 0; n < frames; ++n)
    {
        float frame[4];
        for (int k = 0; k < 4; ++k)
            frame[k] = std::isfinite(inputs[k][n]) ? inputs[k][n] : 0.0f;
        ProcessMicInput(frame, &e.micInput, e.meters);
        if (e.aFormatEnable)
        {
            float b[4];
            ProcessAtoB(frame, b, &e.aToB);
            for (int k = 0; k < 4; ++k)
                frame[k] = b[k];
            frame[0] = frame[0] * 0.70710677f;
        }
        float rear[4], decoded[9];
        ProcessBFormatPath(frame, rear, &e.bFormatPath);
        DecodeArray(frame, rear, &e.arrayControl, decoded, e.meters + 4);
        e.copyOut[e.arrayControl.arrayType](decoded, outputs, n);
    }
}

// Slots 0 .. slots-1 of two blocks agree bit for bit over the first frames.
inline ::testing::AssertionResult SameOutput(const Block& a, const Block& b, int frames, int slots = 9)
{
    for (int ch = 0; ch < slots; ++ch)
        for (int n = 0; n < frames; ++n)
            if (!SameBits(a.out[ch][n], b.out[ch][n]))
                return ::testing::AssertionFailure()
                       << "slot " << ch << ", frame " << n << ": " << a.out[ch][n] << " vs " << b.out[ch][n];
    return ::testing::AssertionSuccess();
}

// All 13 meters of two engines agree bit for bit (the audio thread's own
// values: the reference publishes nothing).
inline ::testing::AssertionResult SameMeters(QVANE_HOST_DSP_PROCESS& a, QVANE_HOST_DSP_PROCESS& b)
{
    for (int m = 0; m < 13; ++m)
        if (!SameBits(a.meters[m].value, b.meters[m].value))
            return ::testing::AssertionFailure()
                   << "meter " << m << ": " << a.meters[m].value << " vs " << b.meters[m].value;
    return ::testing::AssertionSuccess();
}
} // namespace enginetest
