#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <limits>

#include "QvaneHostDspProcess.h"

namespace
{
// Magnitude of a biquad in the engine's sign convention at f Hz.
double Magnitude(const float k[5], double f, double fs)
{
    const std::complex<double> z1 = std::polar(1.0, -2.0 * M_PI * f / fs);
    const std::complex<double> num = double(k[0]) + double(k[1]) * z1 + double(k[2]) * z1 * z1;
    const std::complex<double> den = 1.0 - double(k[3]) * z1 - double(k[4]) * z1 * z1;
    return std::abs(num / den);
}
} // namespace

TEST(Primitives, DenormalFlush)
{
    const float denormMin = std::numeric_limits<float>::denorm_min();
    const float normMin = std::numeric_limits<float>::min();
    struct Case { float in, out; const char* what; };
    const Case cases[] = {
        {denormMin, 0.0f, "smallest denormal"},
        {-denormMin, 0.0f, "negative denormal"},
        {normMin * 0.5f, 0.0f, "mid denormal"},
        {std::nextafter(normMin, 0.0f), 0.0f, "largest denormal"},
        {normMin, normMin, "smallest normal passes"},
        {-normMin, -normMin, "negative normal passes"},
        {1.0f, 1.0f, "one"},
        {0.0f, 0.0f, "zero"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(test_and_kill_denormal(c.in), c.out) << c.what;
    EXPECT_TRUE(std::signbit(test_and_kill_denormal(-0.0f))) << "-0 must pass unchanged";
    EXPECT_FALSE(std::signbit(test_and_kill_denormal(-denormMin))) << "a denormal becomes +0";
}

// Known values of whole degrees. The tables are built from the float angle
// i * 6.2831855 / 360, which lies a little above the exact one, so the zeros
// of 90, 180 and 270 degrees are tiny non-zero values.
TEST(Primitives, SineCosineTables)
{
    GenerateSineCosTables();
    struct Case { int degrees; float sine, cosine; };
    const Case cases[] = {
        {0, 0.0f, 1.0f},
        {30, 0.5f, 0.8660254f},
        {45, 0.70710677f, 0.70710677f},
        {60, 0.8660254f, 0.5f},
        {90, 1.0f, 0.0f},
        {135, 0.70710677f, -0.70710677f},
        {180, 0.0f, -1.0f},
        {210, -0.5f, -0.8660254f},
        {270, -1.0f, 0.0f},
        {330, -0.5f, 0.8660254f},
        {359, -0.017452406f, 0.9998477f},
    };
    for (const Case& k : cases)
    {
        EXPECT_NEAR(SinTable[k.degrees], k.sine, 1e-6f) << "sin " << k.degrees;
        EXPECT_NEAR(CosTable[k.degrees], k.cosine, 1e-6f) << "cos " << k.degrees;
    }
    EXPECT_EQ(SinTable[0], 0.0f) << "sin 0 exactly";
    EXPECT_EQ(CosTable[0], 1.0f) << "cos 0 exactly";
    EXPECT_EQ(SinTable[90], 1.0f) << "sin 90 exactly";

    // Every entry is the sine and cosine of its whole degree, to float precision.
    for (int i = 0; i < 360; ++i)
    {
        const double exact = double(i) * 3.14159265358979323846 / 180.0;
        ASSERT_NEAR(SinTable[i], std::sin(exact), 1e-6) << "sin " << i;
        ASSERT_NEAR(CosTable[i], std::cos(exact), 1e-6) << "cos " << i;
    }
}

TEST(Primitives, SmoothingPairPerRate)
{
    struct Case { float fs, c, a; };
    const Case cases[] = {
        {44100.0f, 0.248218f, 0.751782f},
        {48000.0f, 0.267949f, 1.0f - 0.267949f},
        {96000.0f, 0.473398f, 1.0f - 0.473398f},
        {192000.0f, 0.678584f, 1.0f - 0.678584f},
    };
    for (const Case& k : cases)
    {
        float a = 0.0f, c = 0.0f;
        CalculateSmoothingPair(k.fs, &a, &c);
        EXPECT_NEAR(c, k.c, 5e-7f) << "c at " << k.fs;
        EXPECT_NEAR(a, k.a, 5e-7f) << "a at " << k.fs;
        EXPECT_EQ(a, 1.0f - c) << "a is 1 - c in float at " << k.fs;
    }
}

TEST(Primitives, MeterReleaseAndDecay)
{
    DspMeter meter{};
    InitialiseDspMeter(&meter, 44100.0f);
    EXPECT_NEAR(meter.release, 0.999921684f, 1e-9f) << "release at 44.1 kHz";
    EXPECT_EQ(meter.value, 0.0f);
    InitialiseDspMeter(&meter, 48000.0f);
    EXPECT_NEAR(meter.release, 0.999928047f, 1e-9f) << "release at 48 kHz";

    CalculateDspMeter(&meter, -0.5f);
    EXPECT_EQ(meter.value, 0.5f) << "peak of a negative sample";
    CalculateDspMeter(&meter, 0.0f);
    EXPECT_EQ(meter.value, 0.5f * meter.release) << "one silent frame decays once";
    CalculateDspMeter(&meter, 0.25f);
    EXPECT_EQ(meter.value, 0.5f * meter.release * meter.release) << "a smaller sample only decays";

    DspMeter tiny{1e-36f, 0.5f};
    for (int i = 0; i < 40; ++i)
    {
        CalculateDspMeter(&tiny, 0.0f);
        ASSERT_NE(std::fpclassify(tiny.value), FP_SUBNORMAL) << "the decay left a denormal at frame " << i;
    }
    EXPECT_EQ(tiny.value, 0.0f) << "the decay ends on exact 0";
}

TEST(Primitives, FilterBanksAndDifferenceEquation)
{
    SecondOrderFilter f;
    InitialiseFilter(&f);
    EXPECT_EQ(f.bankIndex, 0);
    EXPECT_EQ(f.coeffs, f.banks[0]);
    for (int b = 0; b < 2; ++b)
        for (int k = 0; k < 5; ++k)
            EXPECT_EQ(f.banks[b][k], k == 0 ? 1.0f : 0.0f) << "identity bank " << b << " coefficient " << k;
    EXPECT_EQ(FilterSecondOrder(&f, 0.75f), 0.75f) << "identity filter";

    const float first[5] = {0.5f, 0.25f, 0.125f, 0.0625f, 0.03125f};
    FilterSetNewCoeffs(&f, first);
    EXPECT_EQ(f.bankIndex, 1);
    EXPECT_EQ(f.coeffs, f.banks[1]);
    EXPECT_EQ(f.banks[0][0], 1.0f) << "the bank in use must not be written";
    const float second[5] = {2.0f, 0.0f, 0.0f, 0.0f, 0.0f};
    FilterSetNewCoeffs(&f, second);
    EXPECT_EQ(f.bankIndex, 0);
    EXPECT_EQ(f.coeffs, f.banks[0]);
    EXPECT_EQ(f.banks[1][0], 0.5f);
    EXPECT_EQ(f.x1, 0.75f) << "a coefficient change keeps the state";

    // Impulse response of y = .5x + .25x1 + .125x2 + .5y1 - .25y2, exact in binary.
    SecondOrderFilter g;
    InitialiseFilter(&g);
    const float k[5] = {0.5f, 0.25f, 0.125f, 0.5f, -0.25f};
    FilterSetNewCoeffs(&g, k);
    const float expected[] = {0.5f, 0.5f, 0.25f, 0.0f, -0.0625f, -0.03125f};
    for (int n = 0; n < 6; ++n)
        EXPECT_EQ(FilterSecondOrder(&g, n == 0 ? 1.0f : 0.0f), expected[n]) << "impulse response at " << n;
}

TEST(Primitives, ButterworthCoefficients)
{
    for (float fs : {44100.0f, 48000.0f, 96000.0f, 192000.0f})
    {
        float hp[5], lp[5];
        CalculateHighPassFilterCoeffs(fs, 80.0f, hp);
        CalculateLfeFilterCoeffs(fs, 90.0f, lp);
        EXPECT_EQ(hp[1], -2.0f * hp[0]);
        EXPECT_EQ(hp[2], hp[0]);
        EXPECT_EQ(lp[1], 2.0f * lp[0]);
        EXPECT_EQ(lp[2], lp[0]);
        EXPECT_NEAR(Magnitude(hp, 0.0, fs), 0.0, 1e-6) << "high-pass blocks DC at " << fs;
        EXPECT_NEAR(Magnitude(hp, 80.0, fs), M_SQRT1_2, 2e-4) << "high-pass -3 dB at 80 Hz at " << fs;
        EXPECT_NEAR(Magnitude(hp, fs / 2.0, fs), 1.0, 1e-5) << "high-pass passes Nyquist at " << fs;
        // Float coefficients put the 90 Hz poles only roughly next to z = 1:
        // the DC gain drifts by up to half a percent at 192 kHz.
        EXPECT_NEAR(Magnitude(lp, 0.0, fs), 1.0, 1e-2) << "low-pass passes DC at " << fs;
        EXPECT_NEAR(Magnitude(lp, 90.0, fs), M_SQRT1_2, 1e-2) << "low-pass -3 dB at 90 Hz at " << fs;
        EXPECT_NEAR(Magnitude(lp, fs / 2.0, fs), 0.0, 1e-6) << "low-pass blocks Nyquist at " << fs;
    }
}
