// What the decoder's outputs settle to under the default settings, worked
// out from its formulas (never from its code), for the tests of every host
// adapter.
#pragma once

#include <cmath>

namespace DecoderFigures
{
// Every polar pattern by default: 2 x 0.625. L/R in the stereo layout span
// omni to figure of eight, so their default there is 2 x (0 + 0.5 x 1).
constexpr double kPattern = 1.25;
constexpr double kStereoPattern = 1.0;
constexpr double kPi = 3.14159265358979323846;
constexpr double kSqrt2 = 1.4142135;

/** One speaker feed: a virtual microphone of the pattern, pointing `degrees`
    anticlockwise from the front. */
inline double virtualMic(double w, double x, double y, double degrees, double pattern = kPattern)
{
    const double r = degrees * kPi / 180.0;
    return (2.0 - pattern) * kSqrt2 * 0.5 * w + 0.5 * pattern * (x * std::cos(r) + y * std::sin(r));
}

// Speaker directions by default, degrees: the widths put L/R at 30 and 330,
// Ls/Rs at 125 and 235, RLs/RRs at 90 and 270; C faces the front and RC
// straight behind.
constexpr double kL = 30, kR = 330, kC = 0, kLs = 125, kRs = 235, kRLs = 90, kRRs = 270, kRC = 180;

/** 5.1 in the host's L R C LFE Ls Rs order (LFE: -1, not a microphone). */
constexpr double kSpeakerAngles51[6] = { kL, kR, kC, -1.0, kLs, kRs };

// A-format in steady state: the capsule matrix and the 44.1 kHz correction
// filters, whose taps sum to 0.699828 (W) and 1.289954 (X, Y, Z).
constexpr double kWSum = 0.699828, kXSum = 1.289954;

struct BFormat
{
    double w, x, y;
};

/** The B-format that steady capsule signals LF, RF, LB, RB become. */
inline BFormat fromAFormat(double lf, double rf, double lb, double rb)
{
    return { (lf + rf + lb + rb) * 0.46125 * kWSum * 0.70710677, (lf + rf - lb - rb) * 0.5 * kXSum,
             (lf - rf + lb - rb) * 0.5 * kXSum };
}
} // namespace DecoderFigures
