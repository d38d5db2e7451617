#include <gtest/gtest.h>

#include <string>

#include "QvaneHostDspProcess.h"

namespace
{
constexpr float kUntouched = -99.0f;
// Decoded channel i holds 10 + i so every slot shows where it came from.
constexpr float kDecoded[9] = {10, 11, 12, 13, 14, 15, 16, 17, 18};
constexpr float L = 10, R = 11, C = 12, LFE = 13, Ls = 14, Rs = 15, RLs = 16, RRs = 17, RC = 18;

struct Case
{
    const char* name;
    CopyOutFunction copy;
    float slots[8];
};

const Case kCases[] = {
    {"CopyToStereo", CopyToStereo, {L, R, 0, 0, 0, 0, 0, 0}},
    {"CopyToQuad", CopyToQuad, {10, 11, 12, 13, 0, 0, 0, 0}},
    {"CopyTo5_0_EBU", CopyTo5_0_EBU, {L, R, C, Ls, Rs, 0, 0, 0}},
    {"CopyTo5_1_EBU", CopyTo5_1_EBU, {L, R, C, LFE, Ls, Rs, 0, 0}},
    {"CopyTo6_0_EBU", CopyTo6_0_EBU, {L, R, C, Ls, Rs, RC, 0, 0}},
    {"CopyTo6_1_EBU", CopyTo6_1_EBU, {L, R, C, LFE, Ls, Rs, RC, 0}},
    {"CopyTo7_0_EBU", CopyTo7_0_EBU, {L, R, C, Ls, Rs, RLs, RRs, 0}},
    {"CopyTo7_1_EBU", CopyTo7_1_EBU, {L, R, C, LFE, Ls, Rs, RLs, RRs}},
    {"CopyTo5_0", CopyTo5_0, {L, C, R, Ls, Rs, 0, 0, 0}},
    {"CopyTo5_1", CopyTo5_1, {L, C, R, Ls, Rs, LFE, 0, 0}},
    {"CopyTo6_0", CopyTo6_0, {L, C, R, Ls, RC, Rs, 0, 0}},
    {"CopyTo6_1", CopyTo6_1, {L, C, R, Ls, RC, Rs, LFE, 0}},
    {"CopyTo7_0", CopyTo7_0, {L, C, R, RLs, RRs, Ls, Rs, 0}},
    {"CopyTo7_1", CopyTo7_1, {L, C, R, RLs, RRs, Ls, Rs, LFE}},
};

struct Buffers
{
    float data[9][3];
    float* slots[9];
    Buffers()
    {
        for (int s = 0; s < 9; ++s)
        {
            for (float& v : data[s])
                v = kUntouched;
            slots[s] = data[s];
        }
    }
};
} // namespace

TEST(CopyOut, SlotOrders)
{
    for (const Case& c : kCases)
    {
        Buffers b;
        c.copy(kDecoded, b.slots, 1);
        for (int s = 0; s < 8; ++s)
        {
            EXPECT_EQ(b.data[s][1], c.slots[s]) << c.name << " slot " << s;
            EXPECT_EQ(b.data[s][0], kUntouched) << c.name << " wrote another sample index, slot " << s;
            EXPECT_EQ(b.data[s][2], kUntouched) << c.name << " wrote another sample index, slot " << s;
        }
        EXPECT_EQ(b.data[8][1], kUntouched) << c.name << " must never write slot 8";

        // A null slot is skipped; its neighbours are still written.
        b.slots[5] = nullptr;
        c.copy(kDecoded, b.slots, 0);
        EXPECT_EQ(b.data[5][0], kUntouched) << c.name << " wrote through a null slot 5";
        EXPECT_EQ(b.data[4][0], c.slots[4]) << c.name << " with slot 5 null";
        EXPECT_EQ(b.data[6][0], c.slots[6]) << c.name << " with slot 5 null";
    }
}

TEST(CopyOut, EngineTablePerOrder)
{
    const QVANE_HOST_DSP_PROCESS standard(true), aax(false);
    EXPECT_EQ(standard.copyOut[0], &CopyToStereo);
    EXPECT_EQ(aax.copyOut[0], &CopyToStereo);
    EXPECT_EQ(standard.copyOut[7], &CopyToQuad);
    EXPECT_EQ(aax.copyOut[7], &CopyToQuad);
    const CopyOutFunction ebu[] = {CopyTo5_0_EBU, CopyTo5_1_EBU, CopyTo6_0_EBU,
                                   CopyTo6_1_EBU, CopyTo7_0_EBU, CopyTo7_1_EBU};
    const CopyOutFunction pro[] = {CopyTo5_0, CopyTo5_1, CopyTo6_0, CopyTo6_1, CopyTo7_0, CopyTo7_1};
    for (int t = 1; t <= 6; ++t)
    {
        EXPECT_EQ(standard.copyOut[t], ebu[t - 1]) << "standard order, array type " << t;
        EXPECT_EQ(aax.copyOut[t], pro[t - 1]) << "AAX order, array type " << t;
    }
}
