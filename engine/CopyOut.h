#pragma once

// Copy-out of the nine engine channels of one frame into the host's output
// slots 0-7 at one sample index. Null slots are skipped, slots the layout
// does not use get 0, slot 8 is never written.
using CopyOutFunction = void (*)(const float decoded[9], float** outputs, int sampleIndex);

void CopyToStereo(const float decoded[9], float** outputs, int sampleIndex);
void CopyToQuad(const float decoded[9], float** outputs, int sampleIndex);

// L R C LFE Ls Rs order (VST2, Audio Unit).
void CopyTo5_0_EBU(const float decoded[9], float** outputs, int sampleIndex);
void CopyTo5_1_EBU(const float decoded[9], float** outputs, int sampleIndex);
void CopyTo6_0_EBU(const float decoded[9], float** outputs, int sampleIndex);
void CopyTo6_1_EBU(const float decoded[9], float** outputs, int sampleIndex);
void CopyTo7_0_EBU(const float decoded[9], float** outputs, int sampleIndex);
void CopyTo7_1_EBU(const float decoded[9], float** outputs, int sampleIndex);

// L C R Ls Rs LFE order (AAX).
void CopyTo5_0(const float decoded[9], float** outputs, int sampleIndex);
void CopyTo5_1(const float decoded[9], float** outputs, int sampleIndex);
void CopyTo6_0(const float decoded[9], float** outputs, int sampleIndex);
void CopyTo6_1(const float decoded[9], float** outputs, int sampleIndex);
void CopyTo7_0(const float decoded[9], float** outputs, int sampleIndex);
void CopyTo7_1(const float decoded[9], float** outputs, int sampleIndex);

// The slot contents of one of the functions above: for slots 0-7, the engine
// channel it writes or kCopyOutZero. nullptr for any other function. Lets a
// run of frames be copied slot by slot with the same result.
constexpr int kCopyOutZero = -1;
const int* CopyOutSlotMap(CopyOutFunction copy);
