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

// The smoothed cosines settle a few ulps short of 1 (0.99999976 at 48 kHz),
// so "unchanged" means within float precision.
TEST(BFormatPath, SettledIdentity)
{
    BFormatPathControl p = SettledPath(0, 0, 0, 0.0f);
    const Frames f = PathFrame(p, 0.1f, 0.2f, -0.3f, 0.4f);
    const float in[4] = {0.1f, 0.2f, -0.3f, 0.4f};
    for (int k = 0; k < 4; ++k)
    {
        EXPECT_NEAR(f.front[k], in[k], 1e-5f) << "front " << k;
        EXPECT_NEAR(f.rear[k], in[k], 1e-5f) << "rear " << k;
    }
}

TEST(BFormatPath, EndFireAndInvert)
{
    struct Case { uint32_t endFire, invert; float w, x, y, z; };
    const Case cases[] = {
        {0, 0, 1, 2, 3, 4},
        {1, 0, 1, 4, 3, -2},
        {0, 1, 1, 2, -3, -4},
        {1, 1, 1, 4, -3, 2},  // (W, Z, -Y, X)
    };
    for (const Case& c : cases)
    {
        BFormatPathControl p = SettledPath(0, 0, 0, 0.0f);
        p.endFire = c.endFire;
        p.invert = c.invert;
        const Frames f = PathFrame(p, 1, 2, 3, 4);
        EXPECT_EQ(f.front[0], c.w) << "end-fire " << c.endFire << " invert " << c.invert;
        EXPECT_NEAR(f.front[1], c.x, 1e-5f) << "end-fire " << c.endFire << " invert " << c.invert;
        EXPECT_NEAR(f.front[2], c.y, 1e-5f) << "end-fire " << c.endFire << " invert " << c.invert;
        EXPECT_NEAR(f.front[3], c.z, 1e-5f) << "end-fire " << c.endFire << " invert " << c.invert;
    }
}

TEST(BFormatPath, RotateBy90)
{
    BFormatPathControl p = SettledPath(90, 0, 0, 0.0f);
    const Frames f = PathFrame(p, 0.0f, 1.0f, 0.0f, 0.0f);
    EXPECT_NEAR(f.front[1], 0.0f, 1e-6f) << "X turned away";
    EXPECT_NEAR(f.front[2], 1.0f, 1e-6f) << "front turned to the left";
    EXPECT_NEAR(f.rear[2], 1.0f, 1e-6f) << "rear frame rotates too";
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

TEST(BFormatPath, ZoomHalf)
{
    BFormatPathControl p = SettledPath(0, 0, 0, 0.5f);
    EXPECT_NEAR(p.dominanceSmoothed, 0.5f, 1e-6f);
    const Frames f = PathFrame(p, 1.0f, 0.0f, 1.0f, 1.0f);
    EXPECT_NEAR(f.front[0], 1.0f, 1e-6f);
    EXPECT_NEAR(f.front[1], 0.707107f, 1e-6f) << "X' = X + 0.707107 W";
    EXPECT_NEAR(f.front[2], 0.866025f, 1e-6f) << "Y scaled by sqrt(1 - d^2)";
    EXPECT_NEAR(f.front[3], 0.866025f, 1e-6f) << "Z scaled by sqrt(1 - d^2)";
    const Frames g = PathFrame(p, 0.0f, 1.0f, 0.0f, 0.0f);
    EXPECT_NEAR(g.front[0], 0.353553f, 1e-6f) << "W' = W + 0.353553 X";
    EXPECT_NEAR(g.front[1], 1.0f, 1e-6f);
}

TEST(BFormatPath, FrontTilt90RearTilt0)
{
    BFormatPathControl p = SettledPath(0, 90, 0, 0.0f);
    const Frames f = PathFrame(p, 0.0f, 0.25f, 0.0f, 0.5f);
    EXPECT_NEAR(f.front[1], -0.5f, 1e-6f) << "front X' = -Z";
    EXPECT_NEAR(f.front[3], 0.25f, 1e-6f) << "front Z' = X";
    EXPECT_NEAR(f.rear[1], 0.25f, 1e-5f) << "rear keeps X";
    EXPECT_NEAR(f.rear[3], 0.5f, 1e-5f) << "rear keeps Z";
}
