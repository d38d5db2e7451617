#include <gtest/gtest.h>

#include <cmath>

#include "QvaneHostDspProcess.h"

namespace
{
// A path control at 48 kHz with its smoothers run until they stop moving.
BFormatPathControl SettledPath(uint64_t azimuth, uint64_t front, uint64_t rear, float dominance)
{
    GenerateSineCosTables();
    BFormatPathControl p;
    InitialiseBFormatPathControl(&p);
    CalculateSmoothingPair(48000.0f, &p.a, &p.c);
    p.azimuth = azimuth;
    p.frontElevation = front;
    p.rearElevation = rear;
    p.dominanceTarget = dominance;
    for (int i = 0; i < 2000; ++i)
    {
        float frame[4] = {}, rear4[4];
        ProcessBFormatPath(frame, rear4, &p);
    }
    return p;
}

struct Frames
{
    float front[4];
    float rear[4];
};

Frames PathFrame(BFormatPathControl& p, float w, float x, float y, float z)
{
    Frames f{{w, x, y, z}, {}};
    ProcessBFormatPath(f.front, f.rear, &p);
    return f;
}
} // namespace

TEST(BFormatPath, StartsFromZeroCosines)
{
    BFormatPathControl p;
    InitialiseBFormatPathControl(&p);
    EXPECT_EQ(p.azimuthCos, 0.0f);
    EXPECT_EQ(p.frontCos, 0.0f);
    EXPECT_EQ(p.a, 0.75f);
    EXPECT_EQ(p.c, 0.25f);
    GenerateSineCosTables();
    const Frames f = PathFrame(p, 1.0f, 1.0f, 0.0f, 0.0f);
    EXPECT_EQ(p.azimuthCos, 0.25f) << "first step from 0 toward cos 0 = 1";
    EXPECT_EQ(f.front[0], 1.0f) << "W is untouched";
    EXPECT_LT(f.front[1], 0.1f) << "X is small until the cosines have risen";
}

// Settled path figures. The smoothed cosines settle a few ulps short of 1
// (0.99999976 at 48 kHz), so "unchanged" means within float precision.
TEST(BFormatPath, SettledTransforms)
{
    struct Case
    {
        const char* what;
        uint64_t azimuth, front, rear;
        float dominance;
        float in[4], front4[4], rear4[4];
        float frontTolerance, rearTolerance;
    };
    const float s = 0.866025f;  // sqrt(1 - 0.5^2)
    const Case cases[] = {
        {"identity", 0, 0, 0, 0.0f, {0.1f, 0.2f, -0.3f, 0.4f}, {0.1f, 0.2f, -0.3f, 0.4f}, {0.1f, 0.2f, -0.3f, 0.4f}, 1e-5f, 1e-5f},
        {"rotate 90: X turns to Y, front and rear", 90, 0, 0, 0.0f, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 1, 0}, 1e-6f, 1e-6f},
        {"zoom 0.5: X' = X + 0.707107 W, Y and Z scaled", 0, 0, 0, 0.5f, {1, 0, 1, 1}, {1, 0.707107f, s, s}, {1, 0.707107f, s, s}, 1e-6f, 1e-6f},
        {"zoom 0.5: W' = W + 0.353553 X", 0, 0, 0, 0.5f, {0, 1, 0, 0}, {0.353553f, 1, 0, 0}, {0.353553f, 1, 0, 0}, 1e-6f, 1e-6f},
        {"front tilt 90: X' = -Z, Z' = X; rear keeps X and Z", 0, 90, 0, 0.0f, {0, 0.25f, 0, 0.5f}, {0, -0.5f, 0, 0.25f}, {0, 0.25f, 0, 0.5f}, 1e-6f, 1e-5f},
    };
    for (const Case& c : cases)
    {
        BFormatPathControl p = SettledPath(c.azimuth, c.front, c.rear, c.dominance);
        EXPECT_NEAR(p.dominanceSmoothed, c.dominance, 1e-6f) << c.what;
        const Frames f = PathFrame(p, c.in[0], c.in[1], c.in[2], c.in[3]);
        for (int k = 0; k < 4; ++k)
        {
            EXPECT_NEAR(f.front[k], c.front4[k], c.frontTolerance) << c.what << ": front " << "WXYZ"[k];
            EXPECT_NEAR(f.rear[k], c.rear4[k], c.rearTolerance) << c.what << ": rear " << "WXYZ"[k];
        }
    }
}

TEST(BFormatPath, EndFireAndInvert)
{
    struct Case { uint32_t endFire, invert; float out[4]; };
    const Case cases[] = {
        {0, 0, {1, 2, 3, 4}},
        {1, 0, {1, 4, 3, -2}},
        {0, 1, {1, 2, -3, -4}},
        {1, 1, {1, 4, -3, 2}},  // (W, Z, -Y, X)
    };
    for (const Case& c : cases)
    {
        BFormatPathControl p = SettledPath(0, 0, 0, 0.0f);
        p.endFire = c.endFire;
        p.invert = c.invert;
        const Frames f = PathFrame(p, 1, 2, 3, 4);
        EXPECT_EQ(f.front[0], c.out[0]) << "end-fire " << c.endFire << " invert " << c.invert << ": W";
        for (int k = 1; k < 4; ++k)
            EXPECT_NEAR(f.front[k], c.out[k], 1e-5f) << "end-fire " << c.endFire << " invert " << c.invert << ": " << "WXYZ"[k];
    }
}

TEST(BFormatPath, AzimuthStepPassesThroughNearZero)
{
    BFormatPathControl p = SettledPath(0, 0, 0, 0.0f);
    p.azimuth = 180;
    float smallest = 1.0f;
    for (int i = 0; i < 100; ++i)
    {
        PathFrame(p, 0, 0, 0, 0);
        smallest = std::min(smallest, std::hypot(p.azimuthCos, p.azimuthSin));
    }
    // At 48 kHz the cosine steps 1, 0.46, 0.07, -0.21 ... while the sine stays
    // near 0: the turn passes close to the origin, not round the circle.
    EXPECT_LT(smallest, 0.1f) << "cos and sin glide independently through the origin";
    EXPECT_NEAR(p.azimuthCos, -1.0f, 1e-6f);
}
