#pragma once

#include <cmath>
#include <cstdint>

#include "DspPrimitives.h"

// B-format path: end-fire turn, invert, rotate, zoom, then separate tilts for
// the front frame (front channels, LFE, B-format out) and the rear frame
// (rear channels). Frames are W, X, Y, Z with X front, Y left, Z up.
struct BFormatPathControl
{
    uint32_t endFire;           // non-zero: microphone held end-on
    uint32_t invert;            // non-zero: invert Y and Z
    uint64_t azimuth;           // rotation, whole degrees 0-359
    float azimuthCos, azimuthSin;
    uint64_t frontElevation;    // front tilt, whole degrees 0-359
    float frontCos, frontSin;
    uint64_t rearElevation;     // rear tilt, whole degrees 0-359
    float rearCos, rearSin;
    float dominanceTarget;      // zoom, -0.5 .. 0.5
    float dominanceSmoothed;
    float a, c;                 // smoothing pair
};

// Everything zero (so the smoothed cosines rise from 0), then a = 0.75, c = 0.25.
void InitialiseBFormatPathControl(BFormatPathControl* control);

constexpr float kInvSqrt2 = 0.70710677f;  // 1/sqrt 2 as a float
constexpr float kSqrt2 = 1.4142135f;      // sqrt 2 as a float

inline void ProcessInvertEndFire(float frame[4], const BFormatPathControl* control)
{
    if (control->endFire != 0)
    {
        const float x = frame[1];
        frame[1] = frame[3];
        frame[3] = -x;
    }
    if (control->invert != 0)
    {
        frame[2] = -frame[2];
        frame[3] = -frame[3];
    }
}

// The per-frame arithmetic, split from the smoother updates so that a run of
// frames whose smoothers have settled can skip the updates and still give
// the same bits.

inline void RotateFrame(float frame[4], float cs, float sn)
{
    const float x = frame[1], y = frame[2];
    frame[1] = x * cs - y * sn;
    frame[2] = x * sn + y * cs;
}

// s = sqrt(1 - d^2), a function of d alone.
inline float ZoomSideGain(float d)
{
    return std::sqrt(1.0f - d * d);
}

inline void ZoomFrame(float frame[4], float d, float s)
{
    const float w = frame[0], x = frame[1];
    frame[0] = w + kInvSqrt2 * d * x;
    frame[1] = x + kSqrt2 * d * w;
    frame[2] = frame[2] * s;
    frame[3] = frame[3] * s;
}

// Tilt about the Y axis.
inline void TiltFrame(float frame[4], float cs, float sn)
{
    const float x = frame[1], z = frame[3];
    frame[1] = x * cs - z * sn;
    frame[3] = z * cs + x * sn;
}

inline float SmoothCosine(float smoothed, uint64_t angle, float a, float c)
{
    return test_and_kill_denormal(smoothed * a + c * CosTable[angle]);
}

inline float SmoothSine(float smoothed, uint64_t angle, float a, float c)
{
    return test_and_kill_denormal(a * smoothed + c * SinTable[angle]);
}

inline void ProcessRotate(float frame[4], BFormatPathControl* control)
{
    control->azimuthCos = SmoothCosine(control->azimuthCos, control->azimuth, control->a, control->c);
    control->azimuthSin = SmoothSine(control->azimuthSin, control->azimuth, control->a, control->c);
    RotateFrame(frame, control->azimuthCos, control->azimuthSin);
}

inline void ProcessZoom(float frame[4], BFormatPathControl* control)
{
    control->dominanceSmoothed =
        test_and_kill_denormal(control->a * control->dominanceSmoothed + control->c * control->dominanceTarget);
    const float d = control->dominanceSmoothed;
    ZoomFrame(frame, d, ZoomSideGain(d));
}

inline void ProcessTilt(float frame[4], uint64_t angle, float* cosine, float* sine, float a, float c)
{
    *cosine = SmoothCosine(*cosine, angle, a, c);
    *sine = SmoothSine(*sine, angle, a, c);
    TiltFrame(frame, *cosine, *sine);
}

// frame becomes the front frame in place; rear receives the rear frame.
inline void ProcessBFormatPath(float frame[4], float rear[4], BFormatPathControl* control)
{
    ProcessInvertEndFire(frame, control);
    ProcessRotate(frame, control);
    ProcessZoom(frame, control);
    for (int k = 0; k < 4; ++k)
        rear[k] = frame[k];
    ProcessTilt(frame, control->frontElevation, &control->frontCos, &control->frontSin, control->a, control->c);
    ProcessTilt(rear, control->rearElevation, &control->rearCos, &control->rearSin, control->a, control->c);
}

// True when one more frame would leave every smoothed value of the path
// exactly where it is, so frames can run with the values held.
bool BFormatPathSettled(const BFormatPathControl* control);

// A run of up to kRunFrames frames, one array per component.
constexpr int kRunFrames = 64;
struct BFormatRun
{
    float w[kRunFrames], x[kRunFrames], y[kRunFrames], z[kRunFrames];
};

// ProcessBFormatPath with its smoothers held, over count frames (a multiple
// of 4, at most kRunFrames), into front and rear runs. Flags and held values
// are read once.
void ProcessBFormatPathSettledRun(const float (*frames)[4], int count, const BFormatPathControl* control,
                                  BFormatRun* front, BFormatRun* rear);
