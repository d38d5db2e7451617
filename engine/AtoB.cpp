#include "AtoB.h"

#include <algorithm>

#include "CorrectionTables.h"
#include "Lanes4.h"

namespace
{
struct CorrectionPair
{
    const float* w;
    const float* x;
    int32_t taps;
};

// Rate classes with strict bounds; a rate on a bound, 44100 and every rate
// not listed take the 29-tap pair.
CorrectionPair SelectCorrection(float fs)
{
    if (fs > 47000.0f && fs < 50000.0f)
        return {Varrow_host_W_Filter_44K, Varrow_host_X_Filter_44K, kCorrectionTaps44K};
    if (fs > 80000.0f && fs < 90000.0f)
        return {Varrow_host_W_Filter_88K, Varrow_host_X_Filter_88K, kCorrectionTaps88K};
    if (fs > 90000.0f && fs < 100000.0f)
        return {Varrow_host_W_Filter_96K, Varrow_host_X_Filter_96K, kCorrectionTaps88K};
    if (fs > 170000.0f && fs < 180000.0f)
        return {Varrow_host_W_Filter_176K, Varrow_host_X_Filter_176K, kCorrectionTaps176K};
    if (fs > 190000.0f && fs < 200000.0f)
        return {Varrow_host_W_Filter_192K, Varrow_host_X_Filter_192K, kCorrectionTaps176K};
    return {Varrow_host_W_Filter_44K, Varrow_host_X_Filter_44K, kCorrectionTaps44K};
}

void LoadFilter(FirFilterState* state, const float* table, int32_t taps)
{
    state->taps = taps;
    std::fill(state->history, state->history + taps, 0.0f);
    std::copy(table, table + taps, state->coefficients);
}

constexpr int kBlockFrames = 64;

// Runs one filter over count inputs. line holds the taps-1 previous inputs,
// oldest first, followed by the count new ones; out[n] is the output for
// line[taps - 1 + n]. Each lane sums one output in coefficient order, as
// FirFilter does; sixteen outputs in flight hide the latency of the adds.
void FirRun(const float* coefficients, int taps, const float* line, int count, float* out)
{
    int n = 0;
    for (; n + 16 <= count; n += 16)
    {
        F4 s0 = Splat4(0.0f), s1 = s0, s2 = s0, s3 = s0;
        const float* newest = line + (taps - 1) + n;
        for (int j = 0; j < taps; ++j)
        {
            const F4 coeff = Splat4(coefficients[j]);
            const float* x = newest - j;
            s0 = s0 + Load4(x) * coeff;
            s1 = s1 + Load4(x + 4) * coeff;
            s2 = s2 + Load4(x + 8) * coeff;
            s3 = s3 + Load4(x + 12) * coeff;
        }
        Store4(out + n, s0);
        Store4(out + n + 4, s1);
        Store4(out + n + 8, s2);
        Store4(out + n + 12, s3);
    }
    for (; n + 4 <= count; n += 4)
    {
        F4 sum = Splat4(0.0f);
        const float* newest = line + (taps - 1) + n;
        for (int j = 0; j < taps; ++j)
            sum = sum + Load4(newest - j) * Splat4(coefficients[j]);
        Store4(out + n, sum);
    }
    for (; n < count; ++n)
    {
        float sum = 0.0f;
        const float* newest = line + (taps - 1) + n;
        for (int j = 0; j < taps; ++j)
            sum += newest[-j] * coefficients[j];
        out[n] = sum;
    }
}

// The same as count calls of FirFilter on the inputs, leaving the history
// as those calls would.
void FirFilterBlock(FirFilterState* state, const float* in, int count, float* out)
{
    const int taps = state->taps;
    float line[kMaxFirTaps - 1 + kBlockFrames];
    // history[j] holds the input j - 1 frames back (history[0] is stale).
    for (int i = 0; i < taps - 1; ++i)
        line[i] = state->history[taps - 1 - i];
    std::copy(in, in + count, line + taps - 1);
    FirRun(state->coefficients, taps, line, count, out);
    const float* newest = line + (taps - 1) + (count - 1);
    state->history[0] = *newest;
    for (int j = 1; j < taps; ++j)
        state->history[j] = newest[1 - j];
}
} // namespace

void WFilterInitialise(FirFilterState* state, float sampleRate)
{
    const CorrectionPair pair = SelectCorrection(sampleRate);
    LoadFilter(state, pair.w, pair.taps);
}

void XFilterInitialise(FirFilterState* state, float sampleRate)
{
    const CorrectionPair pair = SelectCorrection(sampleRate);
    LoadFilter(state, pair.x, pair.taps);
}

void InitialiseAtoB(AtoBState* state, float sampleRate)
{
    WFilterInitialise(&state->filters[0], sampleRate);
    for (int k = 1; k < 4; ++k)
        XFilterInitialise(&state->filters[k], sampleRate);
}

float FirFilter(FirFilterState* state, float x)
{
    const int taps = state->taps;
    state->history[0] = x;
    float y = 0.0f;
    for (int j = 0; j < taps; ++j)
        y += state->history[j] * state->coefficients[j];
    for (int j = taps - 1; j >= 1; --j)
        state->history[j] = state->history[j - 1];
    return y;
}

void ProcessAtoB(const float capsules[4], float bformat[4], AtoBState* state)
{
    AtoBMatrix(capsules, bformat);
    for (int k = 0; k < 4; ++k)
        bformat[k] = FirFilter(&state->filters[k], bformat[k]);
}

void ProcessAtoBBlock(float (*frames)[4], int count, AtoBState* state)
{
    float channel[4][kBlockFrames];
    float filtered[kBlockFrames];
    for (int start = 0; start < count; start += kBlockFrames)
    {
        const int run = std::min(kBlockFrames, count - start);
        for (int n = 0; n < run; ++n)
        {
            float b[4];
            AtoBMatrix(frames[start + n], b);
            for (int k = 0; k < 4; ++k)
                channel[k][n] = b[k];
        }
        for (int k = 0; k < 4; ++k)
        {
            FirFilterBlock(&state->filters[k], channel[k], run, filtered);
            for (int n = 0; n < run; ++n)
                frames[start + n][k] = filtered[n];
        }
    }
}
