#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "CorrectionTables.h"
#include "QvaneHostDspProcess.h"

namespace
{
struct TableCase
{
    const char* name;
    const float* table;
    int taps;
    int centre;
    int firstSymmetric;  // symmetric about centre from here to the last tap
    double sum;
};

const TableCase kTables[] = {
    {"W 44K", Varrow_host_W_Filter_44K, 29, 14, 0, 0.699828},
    {"X 44K", Varrow_host_X_Filter_44K, 29, 14, 0, 1.289954},
    {"W 88K", Varrow_host_W_Filter_88K, 57, 28, 0, 0.700276},
    {"X 88K", Varrow_host_X_Filter_88K, 57, 28, 0, 1.265123},
    {"W 96K", Varrow_host_W_Filter_96K, 57, 28, 0, 0.698028},
    {"X 96K", Varrow_host_X_Filter_96K, 57, 28, 0, 1.266244},
    {"W 176K", Varrow_host_W_Filter_176K, 113, 57, 2, 0.698231},
    {"X 176K", Varrow_host_X_Filter_176K, 113, 57, 2, 1.253994},
    {"W 192K", Varrow_host_W_Filter_192K, 113, 57, 2, 0.693535},
    {"X 192K", Varrow_host_X_Filter_192K, 113, 57, 2, 1.246747},
};
} // namespace

TEST(CorrectionTables, ShapeAndSums)
{
    for (const TableCase& t : kTables)
    {
        double sum = 0.0;
        for (int i = 0; i < t.taps; ++i)
        {
            sum += t.table[i];
            if (i != t.centre)
            {
                EXPECT_LT(std::fabs(t.table[i]), t.table[t.centre]) << t.name << ": centre not the largest, tap " << i;
            }
        }
        EXPECT_NEAR(sum, t.sum, 1e-6) << t.name << " sum";
        for (int k = 1; t.centre + k < t.taps; ++k)
        {
            ASSERT_GE(t.centre - k, t.firstSymmetric) << t.name;
            EXPECT_EQ(t.table[t.centre - k], t.table[t.centre + k]) << t.name << " not symmetric at offset " << k;
        }
    }
    EXPECT_EQ(Varrow_host_W_Filter_44K[14], 1.381501f);
    EXPECT_EQ(Varrow_host_X_Filter_44K[14], 1.515780f);
}

TEST(CorrectionTables, SelectionByRate)
{
    struct Case { float fs; const float* w; const float* x; int taps; };
    const Case cases[] = {
        {44100.0f, Varrow_host_W_Filter_44K, Varrow_host_X_Filter_44K, 29},
        {47000.0f, Varrow_host_W_Filter_44K, Varrow_host_X_Filter_44K, 29},
        {48000.0f, Varrow_host_W_Filter_44K, Varrow_host_X_Filter_44K, 29},
        {50000.0f, Varrow_host_W_Filter_44K, Varrow_host_X_Filter_44K, 29},
        {80000.0f, Varrow_host_W_Filter_44K, Varrow_host_X_Filter_44K, 29},
        {88200.0f, Varrow_host_W_Filter_88K, Varrow_host_X_Filter_88K, 57},
        {90000.0f, Varrow_host_W_Filter_44K, Varrow_host_X_Filter_44K, 29},
        {96000.0f, Varrow_host_W_Filter_96K, Varrow_host_X_Filter_96K, 57},
        {100000.0f, Varrow_host_W_Filter_44K, Varrow_host_X_Filter_44K, 29},
        {176400.0f, Varrow_host_W_Filter_176K, Varrow_host_X_Filter_176K, 113},
        {180000.0f, Varrow_host_W_Filter_44K, Varrow_host_X_Filter_44K, 29},
        {192000.0f, Varrow_host_W_Filter_192K, Varrow_host_X_Filter_192K, 113},
        {200000.0f, Varrow_host_W_Filter_44K, Varrow_host_X_Filter_44K, 29},
        {22050.0f, Varrow_host_W_Filter_44K, Varrow_host_X_Filter_44K, 29},
    };
    for (const Case& c : cases)
    {
        AtoBState state;
        InitialiseAtoB(&state, c.fs);
        for (int k = 0; k < 4; ++k)
        {
            const FirFilterState& f = state.filters[k];
            ASSERT_EQ(f.taps, c.taps) << "rate " << c.fs << " filter " << k;
            const float* expected = k == 0 ? c.w : c.x;
            EXPECT_TRUE(std::equal(expected, expected + c.taps, f.coefficients))
                << "rate " << c.fs << " filter " << k << " has the wrong table";
            EXPECT_TRUE(std::all_of(f.history, f.history + c.taps, [](float h) { return h == 0.0f; }))
                << "history cleared, rate " << c.fs;
        }
    }
}

// At 44.1 kHz an impulse on all four capsules gives W only (the W table times
// 4 * 0.46125, times 1 / sqrt 2 once the pipeline scales W); one on LF alone
// gives X = Y = Z (the X table times 0.5) and W the W table times 0.46125.
TEST(AtoB, CapsuleImpulses)
{
    struct Case { const char* what; float capsules[4]; float wScale; float xScale; };
    const Case cases[] = {
        {"all capsules", {1, 1, 1, 1}, 4.0f * 0.46125f, 0.0f},
        {"LF alone", {1, 0, 0, 0}, 0.46125f, 0.5f},
    };
    for (const Case& c : cases)
    {
        AtoBState state;
        InitialiseAtoB(&state, 44100.0f);
        for (int n = 0; n < 29 + 3; ++n)
        {
            float capsules[4], b[4];
            for (int k = 0; k < 4; ++k)
                capsules[k] = n == 0 ? c.capsules[k] : 0.0f;
            ProcessAtoB(capsules, b, &state);
            const float w = n < 29 ? Varrow_host_W_Filter_44K[n] : 0.0f, x = n < 29 ? Varrow_host_X_Filter_44K[n] : 0.0f;
            EXPECT_NEAR(b[0] * 0.70710677f, w * c.wScale * 0.70710677f, 1e-6f) << c.what << ": W at sample " << n;
            EXPECT_EQ(b[1], x * c.xScale) << c.what << ": X at sample " << n;
            EXPECT_EQ(b[2], b[1]) << c.what << ": Y equals X at sample " << n;
            EXPECT_EQ(b[3], b[1]) << c.what << ": Z equals X at sample " << n;
        }
    }
}

// The engine runs the filters over runs of frames; that must be exactly the
// sample-by-sample filter, whatever the run lengths and the history left over.
TEST(AtoB, BlockEqualsSampleBySample)
{
    for (float fs : {48000.0f, 96000.0f, 192000.0f})
    {
        AtoBState one, block;
        InitialiseAtoB(&one, fs);
        InitialiseAtoB(&block, fs);
        unsigned seed = 7;
        auto noise = [&seed] {
            seed = seed * 1103515245u + 12345u;
            return float(int(seed >> 9) - (1 << 21)) / float(1 << 21);
        };
        const int runs[] = {1, 7, 64, 65, 3, 200, 113, 2};
        for (int run : runs)
        {
            std::vector<float> frames(size_t(run) * 4);
            for (float& v : frames)
                v = noise();
            std::vector<float> expected(frames.size());
            for (int n = 0; n < run; ++n)
                ProcessAtoB(&frames[size_t(n) * 4], &expected[size_t(n) * 4], &one);
            ProcessAtoBBlock(reinterpret_cast<float(*)[4]>(frames.data()), run, &block);
            for (size_t i = 0; i < frames.size(); ++i)
                ASSERT_EQ(frames[i], expected[i]) << "rate " << fs << ", run of " << run << ", value " << i;
        }
    }
}
