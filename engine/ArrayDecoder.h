#pragma once

#include <cstdint>

#include "BFormatPath.h"
#include "DspPrimitives.h"

// Decoder: one virtual microphone per speaker feed, the LFE as a low-passed
// W, the B-format pass-through, then smoothed levels with mute and solo and
// the output meters. Engine channels: 0 L, 1 R, 2 C, 3 LFE, 4 Ls, 5 Rs,
// 6 RLs, 7 RRs, 8 RC.

constexpr int kDecoderChannels = 9;
constexpr int kLfeChannel = 3;
constexpr uint32_t kRearCentreAngle = 180;  // RC sits straight behind

enum ArrayType : uint32_t
{
    kArrayStereo = 0,
    kArray5_0 = 1,
    kArray5_1 = 2,
    kArray6_0 = 3,
    kArray6_1 = 4,
    kArray7_0 = 5,
    kArray7_1 = 6,
    kArrayBFormat = 7,
};

struct ArrayControl
{
    uint32_t arrayType;                        // 0 stereo .. 7 B-format
    uint32_t midSide;                          // flag: stereo gives mid and side
    float polarTarget[kDecoderChannels];       // 0 omni, 1 cardioid, 2 figure of eight
    float polarSmoothed[kDecoderChannels];
    uint32_t angle[kDecoderChannels];          // degrees 0-359, anticlockwise from front
    float levelTarget[kDecoderChannels];       // linear gain
    float levelSmoothed[kDecoderChannels];
    uint32_t mute[kDecoderChannels];           // 0 or 1
    uint32_t solo[kDecoderChannels];           // 0 or 1
    uint32_t soloMute[kDecoderChannels];       // 1: another channel is soloed, this one not
    float bFormatLevelTarget, bFormatLevelSmoothed;  // linear gain of the B-format output
    float masterLevelTarget, masterLevelSmoothed;    // linear gain of every channel
    SecondOrderFilter lfeFilter;               // 90 Hz low-pass once the rate is set
    SecondOrderFilter stereoFilters[2];        // loaded but never run
    float a, c;                                // smoothing pair
};

void InitialiseArrayControl(ArrayControl* control);

// Virtual microphone of pattern p at a whole-degree angle on a W X Y Z frame.
inline float VirtualMicrophone(const float frame[4], float p, uint32_t angle)
{
    const float wTerm = (2.0f - p) * 1.4142135f * (0.5f * frame[0]);
    const float xTerm = 0.5f * p * frame[1] * CosTable[angle];
    const float yTerm = 0.5f * p * frame[2] * SinTable[angle];
    return yTerm + (xTerm + wTerm);
}

void DecodeToStereo(const float front[4], ArrayControl* control, float out[9]);
void DecodeTo5_0(const float front[4], const float rear[4], ArrayControl* control, float out[9]);
void DecodeTo5_1(const float front[4], const float rear[4], ArrayControl* control, float out[9]);
void DecodeTo6_0(const float front[4], const float rear[4], ArrayControl* control, float out[9]);
void DecodeTo6_1(const float front[4], const float rear[4], ArrayControl* control, float out[9]);
void DecodeTo7_0(const float front[4], const float rear[4], ArrayControl* control, float out[9]);
void DecodeTo7_1(const float front[4], const float rear[4], ArrayControl* control, float out[9]);

// One frame: smoothing, decode by array type, levels, meters (engine meters 4-12).
void DecodeArray(const float front[4], const float rear[4], ArrayControl* control, float out[9],
                 DspMeter meters[9]);

// DecodeArray in two halves: one smoothing step of levels, patterns, the
// B-format and master levels; then the decode with those values held.
void UpdateArraySmoothers(ArrayControl* control);
void DecodeArrayHeld(const float front[4], const float rear[4], ArrayControl* control, float out[9],
                     DspMeter meters[9]);
// True when UpdateArraySmoothers would change no bit of any smoothed value,
// so frames can run through DecodeArrayHeld alone.
bool ArraySettled(const ArrayControl* control);

// DecodeArrayHeld over a run of count frames (at most kRunFrames) for one
// array type, from front and rear runs padded to a multiple of 4 frames.
// channels[i][n] receives engine channel i of frame n.
void DecodeArrayHeldRun(const BFormatRun* front, const BFormatRun* rear, int count, uint32_t arrayType,
                        ArrayControl* control, float (*channels)[kRunFrames], DspMeter meters[9]);

// DecodeArray for one array type without the meters, which the caller then
// runs over the frames with MeterChannelsRun (meters depend on nothing else).
void DecodeArrayUnmetered(const float front[4], const float rear[4], uint32_t arrayType, ArrayControl* control,
                          float out[9]);

// CalculateDspMeter on channel i of meters for each of count frames in turn.
// The channels are read in fours up to count rounded up to a multiple of 4.
void MeterChannelsRun(const float (*channels)[kRunFrames], int count, DspMeter meters[9]);

// Mute and solo logic. A mute write sets the flag, solo or not; a soloed
// channel ignores its own mute.
bool ArrayHasSolo(const ArrayControl* control);
void ArrayUpdateMuteSoloState(ArrayControl* control);
void ArraySetChannelMute(ArrayControl* control, int channel, bool on);
void ArraySetChannelSolo(ArrayControl* control, int channel, bool on);
