#include "DspPrimitives.h"

#include <cmath>

float SinTable[360];
float CosTable[360];

namespace
{
constexpr float kTwoPi = 6.2831855f;                      // 2 pi as a float
constexpr float kPi = 3.1415927f;                         // pi as a float
constexpr float kSqrt2 = 1.4142135f;                      // Butterworth damping, 2 cos(pi/4)
constexpr double kTwoPiTimes12k = 75398.22368615503;      // 2 pi 12 kHz: smoothing corner
constexpr double kMeterFallDecibelsPerSecond = 30.0;
} // namespace

namespace
{
bool FillSineCosTables()
{
    for (int i = 0; i < 360; ++i)
    {
        const float radians = static_cast<float>(i) * kTwoPi / 360.0f;
        SinTable[i] = static_cast<float>(std::sin(static_cast<double>(radians)));
        CosTable[i] = static_cast<float>(std::cos(static_cast<double>(radians)));
    }
    return true;
}
} // namespace

void GenerateSineCosTables()
{
    // Filled once: a second engine built while the first is processing must
    // not write the tables under the first one's reads.
    static const bool filled = FillSineCosTables();
    (void)filled;
}

void InitialiseFilter(SecondOrderFilter* filter)
{
    filter->x1 = filter->x2 = filter->y1 = filter->y2 = 0.0f;
    for (auto& bank : filter->banks)
    {
        bank[0] = 1.0f;
        bank[1] = bank[2] = bank[3] = bank[4] = 0.0f;
    }
    filter->bankIndex = 0;
    filter->coeffs = filter->banks[0];
}

void FilterSetNewCoeffs(SecondOrderFilter* filter, const float coeffs[5])
{
    const int32_t next = filter->bankIndex == 0 ? 1 : 0;
    filter->bankIndex = next;
    for (int k = 0; k < 5; ++k)
        filter->banks[next][k] = coeffs[k];
    filter->coeffs = filter->banks[next];
}

void CalculateLfeFilterCoeffs(float sampleRate, float cutoff, float coeffs[5])
{
    const float k = static_cast<float>(1.0 / std::tan(static_cast<double>(kPi * cutoff / sampleRate)));
    const float kk = k * k;
    const float d = kk + kSqrt2 * k + 1.0f;
    const float b0 = 1.0f / d;
    coeffs[0] = b0;
    coeffs[1] = 2.0f * b0;
    coeffs[2] = b0;
    coeffs[3] = 2.0f * (kk - 1.0f) * b0;
    coeffs[4] = -(kk - kSqrt2 * k + 1.0f) * b0;
}

void CalculateHighPassFilterCoeffs(float sampleRate, float cutoff, float coeffs[5])
{
    const float k = static_cast<float>(std::tan(static_cast<double>(kPi * cutoff / sampleRate)));
    const float kk = k * k;
    const float d = 1.0f + kSqrt2 * k + kk;
    const float b0 = 1.0f / d;
    coeffs[0] = b0;
    coeffs[1] = -2.0f * b0;
    coeffs[2] = b0;
    coeffs[3] = 2.0f * (1.0f - kk) * b0;
    coeffs[4] = -(1.0f - kSqrt2 * k + kk) * b0;
}

void CalculateSmoothingPair(float sampleRate, float* a, float* c)
{
    // One-pole low-pass y += c (x - y) matched to the 12 kHz corner:
    // c = b - sqrt(b^2 - 1) with b = 2 - cos w.
    const double w = kTwoPiTimes12k / static_cast<double>(sampleRate);
    const double cosW = std::cos(w);
    const double twoCosMinus4 = 2.0 * cosW - 4.0;
    const float coeff = static_cast<float>(((4.0 - 2.0 * cosW) - std::sqrt(twoCosMinus4 * twoCosMinus4 - 4.0)) / 2.0);
    *c = coeff;
    *a = 1.0f - coeff;
}

void InitialiseDspMeter(DspMeter* meter, float sampleRate)
{
    meter->value = 0.0f;
    // 30 dB per second is an amplitude factor of 10^(-1.5) per second.
    meter->release = static_cast<float>(
        std::pow(10.0, -(kMeterFallDecibelsPerSecond / 20.0) / static_cast<double>(sampleRate)));
}
