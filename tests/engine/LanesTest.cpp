#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "EngineTestSupport.h"
#include "Lanes4.h"

// The engine's vector code is written once over F4; these check that the
// SSE2 lanes and the portable lanes give the same bits as scalar code.

namespace
{
const float kDenorm = std::numeric_limits<float>::denorm_min();
const float kMinNormal = std::numeric_limits<float>::min();

const std::vector<float> kValues = {
    0.0f, -0.0f, 1.0f, -1.0f, 0.5f, 3.0e-39f, -3.0e-39f, kDenorm, -kDenorm, kMinNormal, -kMinNormal,
    1.0e-20f, 0.70710677f, -1.4142135f, 123.456f, 1.0e30f, 0.99992168f, 0.333333f, -0.25f, 7.0e-30f,
};

template <typename F4T, typename Op>
void ExpectLanes(const char* name, Op op, float (*scalar)(float, float, float))
{
    const size_t n = kValues.size();
    for (size_t i = 0; i < n; ++i)
        for (size_t j = 0; j < n; j += 4)
        {
            float a[4], b[4], c[4], out[4];
            for (int k = 0; k < 4; ++k)
            {
                a[k] = kValues[i];
                b[k] = kValues[(j + k) % n];
                c[k] = kValues[(i + j + k) % n];
            }
            op(a, b, c, out);
            for (int k = 0; k < 4; ++k)
                ASSERT_TRUE(enginetest::SameBits(out[k], scalar(a[k], b[k], c[k])))
                    << name << " of " << a[k] << ", " << b[k] << ", " << c[k];
        }
}

#define QV_LANE_CHECKS(NS)                                                                                        \
    ExpectLanes<NS::F4>(#NS " multiply-add",                                                                      \
                        [](const float* a, const float* b, const float* c, float* o) {                           \
                            NS::Store4(o, NS::Load4(a) * NS::Load4(b) + NS::Load4(c));                            \
                        },                                                                                        \
                        [](float a, float b, float c) { return a * b + c; });                                    \
    ExpectLanes<NS::F4>(#NS " subtract",                                                                          \
                        [](const float* a, const float* b, const float*, float* o) {                             \
                            NS::Store4(o, NS::Load4(a) - NS::Load4(b));                                           \
                        },                                                                                        \
                        [](float a, float b, float) { return a - b; });                                          \
    ExpectLanes<NS::F4>(#NS " negate",                                                                            \
                        [](const float* a, const float*, const float*, float* o) {                               \
                            NS::Store4(o, NS::Negate4(NS::Load4(a)));                                             \
                        },                                                                                        \
                        [](float a, float, float) { return -a; });                                               \
    ExpectLanes<NS::F4>(#NS " denormal flush",                                                                    \
                        [](const float* a, const float* b, const float*, float* o) {                             \
                            NS::Store4(o, NS::KillDenormals4(NS::Load4(a) * NS::Load4(b)));                       \
                        },                                                                                        \
                        [](float a, float b, float) { return test_and_kill_denormal(a * b); });                  \
    ExpectLanes<NS::F4>(#NS " meter",                                                                             \
                        [](const float* a, const float* b, const float* c, float* o) {                           \
                            NS::Store4(o, NS::NextMeterValue4(NS::Abs4(NS::Load4(a)), NS::Abs4(NS::Load4(b)),     \
                                                              NS::Load4(c)));                                     \
                        },                                                                                        \
                        [](float a, float b, float c) { return NextMeterValue(std::fabs(a), std::fabs(b), c); });

} // namespace

TEST(Lanes, PortableMatchesScalar)
{
    QV_LANE_CHECKS(lanes_portable)
}

#if QV_LANES_SSE2
TEST(Lanes, Sse2MatchesScalar)
{
    QV_LANE_CHECKS(lanes_sse2)
}
#endif

TEST(Lanes, Transpose)
{
    const float rows[4][4] = {{0, 1, 2, 3}, {4, 5, 6, 7}, {8, 9, 10, 11}, {12, 13, 14, 15}};
    F4 a = Load4(rows[0]), b = Load4(rows[1]), c = Load4(rows[2]), d = Load4(rows[3]);
    Transpose4(a, b, c, d);
    float out[4][4];
    Store4(out[0], a);
    Store4(out[1], b);
    Store4(out[2], c);
    Store4(out[3], d);
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            EXPECT_EQ(out[i][j], rows[j][i]) << "row " << i << " column " << j;
}
