#pragma once

#include <cstdint>

// A-format to B-format: the tetrahedral capsule matrix followed by the
// rate-dependent correction FIRs of W and of the figure-of-eight signals.

constexpr int kMaxFirTaps = 113;

struct FirFilterState
{
    int32_t taps;                     // 29, 57 or 113
    float history[kMaxFirTaps];       // history[0] newest; first `taps` used
    float coefficients[kMaxFirTaps];  // first `taps` used
};

struct AtoBState
{
    FirFilterState filters[4];  // W, X, Y, Z
};

// Chooses the correction tables for the sample rate and clears the histories.
void InitialiseAtoB(AtoBState* state, float sampleRate);
void WFilterInitialise(FirFilterState* state, float sampleRate);
void XFilterInitialise(FirFilterState* state, float sampleRate);

// One sample through a correction filter: the newest sample meets
// coefficient 0, the products summed from coefficient 0 upward.
float FirFilter(FirFilterState* state, float x);

// The capsule matrix alone, LF RF LB RB into W X Y Z (W before the 1/sqrt 2).
inline void AtoBMatrix(const float capsules[4], float bformat[4])
{
    const float lf = capsules[0], rf = capsules[1], lb = capsules[2], rb = capsules[3];
    bformat[0] = (((lf + rf) + lb) + rb) * 0.46125f;
    bformat[1] = (((lf + rf) - lb) - rb) * 0.5f;
    bformat[2] = (((lf - rf) + lb) - rb) * 0.5f;
    bformat[3] = (((lf - rf) - lb) + rb) * 0.5f;
}

// Matrix and correction filters for one frame.
void ProcessAtoB(const float capsules[4], float bformat[4], AtoBState* state);

// The same as `count` calls of ProcessAtoB with identical arithmetic, in
// place: capsule frames in, B-format frames out. Each filter runs over the
// whole run of frames so that independent output sums overlap in time.
void ProcessAtoBBlock(float (*frames)[4], int count, AtoBState* state);
