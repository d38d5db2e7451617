#include "CopyOut.h"

namespace
{
// Engine channels.
constexpr int L = 0, R = 1, C = 2, LFE = 3, Ls = 4, Rs = 5, RLs = 6, RRs = 7, RC = 8;
constexpr int Zero = kCopyOutZero;

// Slot contents per function: the engine channel written to slots 0-7, or Zero.
constexpr int kStereo[8] = {L, R, Zero, Zero, Zero, Zero, Zero, Zero};
constexpr int kQuad[8] = {0, 1, 2, 3, Zero, Zero, Zero, Zero};  // W X Y Z in channels 0-3
constexpr int k5_0_EBU[8] = {L, R, C, Ls, Rs, Zero, Zero, Zero};
constexpr int k5_1_EBU[8] = {L, R, C, LFE, Ls, Rs, Zero, Zero};
constexpr int k6_0_EBU[8] = {L, R, C, Ls, Rs, RC, Zero, Zero};
constexpr int k6_1_EBU[8] = {L, R, C, LFE, Ls, Rs, RC, Zero};
constexpr int k7_0_EBU[8] = {L, R, C, Ls, Rs, RLs, RRs, Zero};
constexpr int k7_1_EBU[8] = {L, R, C, LFE, Ls, Rs, RLs, RRs};
constexpr int k5_0[8] = {L, C, R, Ls, Rs, Zero, Zero, Zero};
constexpr int k5_1[8] = {L, C, R, Ls, Rs, LFE, Zero, Zero};
constexpr int k6_0[8] = {L, C, R, Ls, RC, Rs, Zero, Zero};
constexpr int k6_1[8] = {L, C, R, Ls, RC, Rs, LFE, Zero};
constexpr int k7_0[8] = {L, C, R, RLs, RRs, Ls, Rs, Zero};
constexpr int k7_1[8] = {L, C, R, RLs, RRs, Ls, Rs, LFE};

inline void CopyBySlotMap(const int (&slots)[8], const float decoded[9], float** outputs, int sampleIndex)
{
    for (int s = 0; s < 8; ++s)
        if (float* out = outputs[s])
            out[sampleIndex] = slots[s] == Zero ? 0.0f : decoded[slots[s]];
}
} // namespace

void CopyToStereo(const float decoded[9], float** outputs, int sampleIndex) { CopyBySlotMap(kStereo, decoded, outputs, sampleIndex); }
void CopyToQuad(const float decoded[9], float** outputs, int sampleIndex) { CopyBySlotMap(kQuad, decoded, outputs, sampleIndex); }
void CopyTo5_0_EBU(const float decoded[9], float** outputs, int sampleIndex) { CopyBySlotMap(k5_0_EBU, decoded, outputs, sampleIndex); }
void CopyTo5_1_EBU(const float decoded[9], float** outputs, int sampleIndex) { CopyBySlotMap(k5_1_EBU, decoded, outputs, sampleIndex); }
void CopyTo6_0_EBU(const float decoded[9], float** outputs, int sampleIndex) { CopyBySlotMap(k6_0_EBU, decoded, outputs, sampleIndex); }
void CopyTo6_1_EBU(const float decoded[9], float** outputs, int sampleIndex) { CopyBySlotMap(k6_1_EBU, decoded, outputs, sampleIndex); }
void CopyTo7_0_EBU(const float decoded[9], float** outputs, int sampleIndex) { CopyBySlotMap(k7_0_EBU, decoded, outputs, sampleIndex); }
void CopyTo7_1_EBU(const float decoded[9], float** outputs, int sampleIndex) { CopyBySlotMap(k7_1_EBU, decoded, outputs, sampleIndex); }
void CopyTo5_0(const float decoded[9], float** outputs, int sampleIndex) { CopyBySlotMap(k5_0, decoded, outputs, sampleIndex); }
void CopyTo5_1(const float decoded[9], float** outputs, int sampleIndex) { CopyBySlotMap(k5_1, decoded, outputs, sampleIndex); }
void CopyTo6_0(const float decoded[9], float** outputs, int sampleIndex) { CopyBySlotMap(k6_0, decoded, outputs, sampleIndex); }
void CopyTo6_1(const float decoded[9], float** outputs, int sampleIndex) { CopyBySlotMap(k6_1, decoded, outputs, sampleIndex); }
void CopyTo7_0(const float decoded[9], float** outputs, int sampleIndex) { CopyBySlotMap(k7_0, decoded, outputs, sampleIndex); }
void CopyTo7_1(const float decoded[9], float** outputs, int sampleIndex) { CopyBySlotMap(k7_1, decoded, outputs, sampleIndex); }

const int* CopyOutSlotMap(CopyOutFunction copy)
{
    struct Entry
    {
        CopyOutFunction copy;
        const int* slots;
    };
    static const Entry kEntries[] = {
        {CopyToStereo, kStereo}, {CopyToQuad, kQuad},
        {CopyTo5_0_EBU, k5_0_EBU}, {CopyTo5_1_EBU, k5_1_EBU}, {CopyTo6_0_EBU, k6_0_EBU},
        {CopyTo6_1_EBU, k6_1_EBU}, {CopyTo7_0_EBU, k7_0_EBU}, {CopyTo7_1_EBU, k7_1_EBU},
        {CopyTo5_0, k5_0}, {CopyTo5_1, k5_1}, {CopyTo6_0, k6_0},
        {CopyTo6_1, k6_1}, {CopyTo7_0, k7_0}, {CopyTo7_1, k7_1},
    };
    for (const Entry& e : kEntries)
        if (e.copy == copy)
            return e.slots;
    return nullptr;
}
