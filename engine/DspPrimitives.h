#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>

// Signal primitives shared by every stage of the engine: denormal flush,
// one-pole smoother, second-order filter with double-buffered coefficients,
// peak meter, and the whole-degree sine and cosine tables.

// Whole-degree angle tables, entry i = sin/cos of i degrees.
extern float SinTable[360];
extern float CosTable[360];
void GenerateSineCosTables();

// A float whose exponent bits are all zero and whose mantissa is not becomes
// +0; every other value, both zeros included, passes unchanged.
inline float test_and_kill_denormal(float x)
{
    uint32_t bits;
    std::memcpy(&bits, &x, sizeof bits);
    // (magnitude - 1) wraps for +-0, so only 1 .. 0x007fffff is below the
    // mark. A branch, not a mask: it is almost never taken, and keeps the
    // test off the dependency chain of recursive filters.
    return ((bits & 0x7fffffffu) - 1u) < 0x007fffffu ? 0.0f : x;
}

// One step of the one-pole smoother: the new target weighted by c, the
// previous smoothed value by a = 1 - c.
inline float SmoothStep(float target, float smoothed, float a, float c)
{
    return test_and_kill_denormal(target * c + smoothed * a);
}

struct SecondOrderFilter
{
    float x1, x2;          // previous inputs
    float y1, y2;          // previous outputs
    float banks[2][5];     // b0 b1 b2 A1 A2; y = b0 x + b1 x1 + b2 x2 + A1 y1 + A2 y2
    const float* coeffs;   // active bank, the only one the audio thread reads
    int32_t bankIndex;     // 0 or 1, index of the active bank
};

// Clears the state and loads the identity {1, 0, 0, 0, 0} into both banks.
void InitialiseFilter(SecondOrderFilter* filter);

// Writes the idle bank and then makes it active, so a change made on another
// thread lands between two samples as a whole bank. Two changes of one
// filter must be at least one sample period apart.
void FilterSetNewCoeffs(SecondOrderFilter* filter, const float coeffs[5]);

inline float FilterSecondOrder(SecondOrderFilter* filter, float x)
{
    const float* k = filter->coeffs;
    const float y = test_and_kill_denormal(
        (((k[0] * x + k[1] * filter->x1) + k[2] * filter->x2) + k[3] * filter->y1) + k[4] * filter->y2);
    filter->y2 = filter->y1;
    filter->y1 = y;
    filter->x2 = filter->x1;
    filter->x1 = x;
    return y;
}

// Second-order Butterworth low-pass at cutoff Hz by the bilinear transform.
void CalculateLfeFilterCoeffs(float sampleRate, float cutoff, float coeffs[5]);
// Second-order Butterworth high-pass at cutoff Hz by the bilinear transform.
void CalculateHighPassFilterCoeffs(float sampleRate, float cutoff, float coeffs[5]);

// Smoothing pair of a one-pole low-pass with its corner at 12 kHz.
void CalculateSmoothingPair(float sampleRate, float* a, float* c);

struct DspMeter
{
    float value;    // linear peak
    float release;  // per-sample decay factor, linear
};

// Value 0, release for a fall of 30 dB per second at sampleRate.
void InitialiseDspMeter(DspMeter* meter, float sampleRate);

// A new peak is taken at once, otherwise the value decays. Written as a
// select: on noise the peak test is a coin toss for a branch predictor.
inline float NextMeterValue(float value, float release, float x)
{
    const float magnitude = std::fabs(x);
    const float decayed = test_and_kill_denormal(value * release);
    return magnitude > value ? magnitude : decayed;
}

inline void CalculateDspMeter(DspMeter* meter, float x)
{
    meter->value = NextMeterValue(meter->value, meter->release, x);
}

// True when a smoothing step would give back exactly the same bits.
inline bool SmootherSettled(float next, float smoothed)
{
    uint32_t a, b;
    std::memcpy(&a, &next, sizeof a);
    std::memcpy(&b, &smoothed, sizeof b);
    return a == b;
}
