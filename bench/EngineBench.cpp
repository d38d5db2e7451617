// Cost of the decoder engine per sample frame, 512-frame blocks.
//   Process/<input>/<layout>/<rate>: B- or A-format input into one array type,
//     controls steady (the smoothers settle after the first blocks).
//   Process/B/5.1/48000/Gliding: the rotation moves every 64 frames, as under
//     dense automation, so the smoothers never settle.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

#include "QvaneHostDspProcess.h"

namespace
{
constexpr long kBlockFrames = 512;
constexpr int kOutputs = 9;

struct Layout
{
    const char* name;
    unsigned char arrayType;
};

constexpr Layout kLayouts[] = {
    {"Stereo", 0}, {"5.0", 1}, {"5.1", 2}, {"6.0", 3}, {"6.1", 4}, {"7.0", 5}, {"7.1", 6}, {"BFormat", 7},
};

// The processor's defaults: unity levels, patterns 1.25, speakers at
// 30/330, 125/235 and 90/270 degrees; the high-pass on so it does real work.
void SetUpLikeProcessor(QVANE_HOST_DSP_PROCESS& engine, bool aFormat, float sampleRate, unsigned char arrayType)
{
    engine.SetSampleRate(sampleRate);
    engine.SetAFormatEnable(aFormat);
    engine.SetFilterEnable(true);
    engine.SetArrayType(arrayType);
    for (unsigned char ch = 0; ch < 9; ++ch)
    {
        engine.SetChannelOutputLevelCoeff(ch, 1.0f);
        engine.SetChannelPolarPattern(ch, 1.25f);
    }
    const unsigned short angles[9] = {30, 330, 0, 0, 125, 235, 90, 270, 180};
    for (unsigned char ch = 0; ch < 9; ++ch)
        engine.SetChannelAngle(ch, angles[ch]);
    engine.SetAzimuthAngle(20);
    engine.SetFrontElevationAngle(10);
    engine.SetRearElevationAngle(350);
    engine.SetDominance(0.1f);
}

void BM_Process(benchmark::State& state, bool aFormat, float sampleRate, unsigned char arrayType)
{
    QVANE_HOST_DSP_PROCESS engine(true);
    SetUpLikeProcessor(engine, aFormat, sampleRate, arrayType);

    std::vector<std::vector<float>> in(4, std::vector<float>(kBlockFrames));
    std::vector<std::vector<float>> out(kOutputs, std::vector<float>(kBlockFrames));
    uint32_t seed = 12345u;
    for (auto& channel : in)
        for (float& x : channel)
        {
            seed = seed * 1664525u + 1013904223u;  // fixed noise, same every run
            x = static_cast<float>(seed >> 8) / 8388608.0f - 1.0f;
        }
    float* inputs[4];
    float* outputs[kOutputs];
    for (int k = 0; k < 4; ++k)
        inputs[k] = in[k].data();
    for (int k = 0; k < kOutputs; ++k)
        outputs[k] = out[k].data();

    for (auto _ : state)
    {
        engine.Process(inputs, outputs, kBlockFrames);
        benchmark::DoNotOptimize(out[0].data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kBlockFrames);
}

void BM_ProcessGliding(benchmark::State& state)
{
    QVANE_HOST_DSP_PROCESS engine(true);
    SetUpLikeProcessor(engine, false, 48000.0f, 2);
    std::vector<std::vector<float>> buffers(kOutputs, std::vector<float>(kBlockFrames, 0.25f));
    float* channels[kOutputs];
    for (int k = 0; k < kOutputs; ++k)
        channels[k] = buffers[k].data();
    constexpr long kStep = 64;
    unsigned short azimuth = 0;
    for (auto _ : state)
    {
        for (long start = 0; start < kBlockFrames; start += kStep)
        {
            engine.SetAzimuthAngle(azimuth);
            azimuth = static_cast<unsigned short>((azimuth + 7) % 360);
            float* in[4];
            float* out[kOutputs];
            for (int k = 0; k < kOutputs; ++k)
                out[k] = channels[k] + start;
            for (int k = 0; k < 4; ++k)
                in[k] = out[k];  // in place, as the processor runs it
            engine.Process(in, out, kStep);
        }
        benchmark::DoNotOptimize(buffers[0].data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kBlockFrames);
}

const bool registered = [] {
    for (const Layout& layout : kLayouts)
        benchmark::RegisterBenchmark((std::string("Process/B/") + layout.name + "/48000").c_str(), BM_Process,
                                     false, 48000.0f, layout.arrayType);
    for (float rate : {48000.0f, 192000.0f})
        benchmark::RegisterBenchmark(
            (std::string("Process/A/5.1/") + std::to_string(static_cast<int>(rate))).c_str(), BM_Process, true,
            rate, static_cast<unsigned char>(2));
    benchmark::RegisterBenchmark("Process/B/5.1/48000/Gliding", BM_ProcessGliding);
    return true;
}();
} // namespace

BENCHMARK_MAIN();
