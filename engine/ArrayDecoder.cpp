#include "ArrayDecoder.h"

#include "Lanes4.h"

void InitialiseArrayControl(ArrayControl* control)
{
    *control = ArrayControl{};
    for (int i = 0; i < kDecoderChannels; ++i)
    {
        control->polarTarget[i] = 1.0f;
        control->polarSmoothed[i] = 1.0f;
    }
    // No parameter steers the rear centre; decode it from straight behind.
    control->angle[8] = kRearCentreAngle;
    control->bFormatLevelTarget = control->bFormatLevelSmoothed = 1.0f;
    control->masterLevelTarget = control->masterLevelSmoothed = 1.0f;
    InitialiseFilter(&control->lfeFilter);
    InitialiseFilter(&control->stereoFilters[0]);
    InitialiseFilter(&control->stereoFilters[1]);
    control->a = 0.75f;
    control->c = 0.25f;
}

namespace
{
inline float Microphone(const float frame[4], const ArrayControl* control, int channel)
{
    return VirtualMicrophone(frame, control->polarSmoothed[channel], control->angle[channel]);
}

inline void ClearChannels(float out[9])
{
    for (int i = 0; i < kDecoderChannels; ++i)
        out[i] = 0.0f;
}

inline void DecodeFront(const float front[4], const ArrayControl* control, float out[9])
{
    out[0] = Microphone(front, control, 0);
    out[1] = Microphone(front, control, 1);
    out[2] = Microphone(front, control, 2);
}

inline void DecodeSides(const float rear[4], const ArrayControl* control, float out[9])
{
    out[4] = Microphone(rear, control, 4);
    out[5] = Microphone(rear, control, 5);
}

inline float DecodeLfe(const float front[4], ArrayControl* control)
{
    return FilterSecondOrder(&control->lfeFilter, front[0]);
}
} // namespace

namespace
{
inline void DecodeToStereoFrame(const float front[4], const ArrayControl* control, float out[9])
{
    ClearChannels(out);
    if (control->midSide != 0)
    {
        const float p = control->polarSmoothed[0];
        const uint32_t angle = control->angle[0];
        out[0] = (2.0f - p) * 1.4142135f * (0.5f * front[0]) + 0.5f * p * front[1] * CosTable[angle];
        out[1] = 0.5f * p * front[2] * SinTable[angle];
        return;
    }
    out[0] = Microphone(front, control, 0);
    out[1] = Microphone(front, control, 1);
}

inline void DecodeTo5_0Frame(const float front[4], const float rear[4], ArrayControl* control, float out[9])
{
    ClearChannels(out);
    DecodeFront(front, control, out);
    DecodeSides(rear, control, out);
}

inline void DecodeTo5_1Frame(const float front[4], const float rear[4], ArrayControl* control, float out[9])
{
    DecodeTo5_0Frame(front, rear, control, out);
    out[kLfeChannel] = DecodeLfe(front, control);
}

inline void DecodeTo6_0Frame(const float front[4], const float rear[4], ArrayControl* control, float out[9])
{
    DecodeTo5_0Frame(front, rear, control, out);
    out[8] = Microphone(rear, control, 8);
}

inline void DecodeTo6_1Frame(const float front[4], const float rear[4], ArrayControl* control, float out[9])
{
    DecodeTo6_0Frame(front, rear, control, out);
    out[kLfeChannel] = DecodeLfe(front, control);
}

inline void DecodeTo7_0Frame(const float front[4], const float rear[4], ArrayControl* control, float out[9])
{
    DecodeTo5_0Frame(front, rear, control, out);
    out[6] = Microphone(rear, control, 6);
    out[7] = Microphone(rear, control, 7);
}

inline void DecodeTo7_1Frame(const float front[4], const float rear[4], ArrayControl* control, float out[9])
{
    DecodeTo7_0Frame(front, rear, control, out);
    out[kLfeChannel] = DecodeLfe(front, control);
}

} // namespace

void DecodeToStereo(const float front[4], ArrayControl* control, float out[9])
{
    DecodeToStereoFrame(front, control, out);
}

void DecodeTo5_0(const float front[4], const float rear[4], ArrayControl* control, float out[9])
{
    DecodeTo5_0Frame(front, rear, control, out);
}

void DecodeTo5_1(const float front[4], const float rear[4], ArrayControl* control, float out[9])
{
    DecodeTo5_1Frame(front, rear, control, out);
}

void DecodeTo6_0(const float front[4], const float rear[4], ArrayControl* control, float out[9])
{
    DecodeTo6_0Frame(front, rear, control, out);
}

void DecodeTo6_1(const float front[4], const float rear[4], ArrayControl* control, float out[9])
{
    DecodeTo6_1Frame(front, rear, control, out);
}

void DecodeTo7_0(const float front[4], const float rear[4], ArrayControl* control, float out[9])
{
    DecodeTo7_0Frame(front, rear, control, out);
}

void DecodeTo7_1(const float front[4], const float rear[4], ArrayControl* control, float out[9])
{
    DecodeTo7_1Frame(front, rear, control, out);
}

namespace
{
// Level target after mute and solo; a soloed channel ignores its own mute.
inline float GainTarget(const ArrayControl* control, int i)
{
    const bool silent = control->solo[i] != 0 ? control->soloMute[i] != 0
                                              : (control->mute[i] != 0 || control->soloMute[i] != 0);
    return silent ? 0.0f : control->levelTarget[i];
}

inline float NextLevel(const ArrayControl* control, int i)
{
    return test_and_kill_denormal(GainTarget(control, i) * control->c + control->levelSmoothed[i] * control->a);
}

inline float NextPolar(const ArrayControl* control, int i)
{
    return test_and_kill_denormal(control->polarSmoothed[i] * control->a + control->polarTarget[i] * control->c);
}
} // namespace

void UpdateArraySmoothers(ArrayControl* control)
{
    for (int i = 0; i < kDecoderChannels; ++i)
    {
        control->levelSmoothed[i] = NextLevel(control, i);
        control->polarSmoothed[i] = NextPolar(control, i);
    }
    const float a = control->a, c = control->c;
    control->bFormatLevelSmoothed = SmoothStep(control->bFormatLevelTarget, control->bFormatLevelSmoothed, a, c);
    control->masterLevelSmoothed = SmoothStep(control->masterLevelTarget, control->masterLevelSmoothed, a, c);
}

bool ArraySettled(const ArrayControl* control)
{
    for (int i = 0; i < kDecoderChannels; ++i)
        if (!SmootherSettled(NextLevel(control, i), control->levelSmoothed[i]) ||
            !SmootherSettled(NextPolar(control, i), control->polarSmoothed[i]))
            return false;
    const float a = control->a, c = control->c;
    return SmootherSettled(SmoothStep(control->bFormatLevelTarget, control->bFormatLevelSmoothed, a, c),
                           control->bFormatLevelSmoothed) &&
           SmootherSettled(SmoothStep(control->masterLevelTarget, control->masterLevelSmoothed, a, c),
                           control->masterLevelSmoothed);
}

namespace
{
inline void DecodeByType(const float front[4], const float rear[4], uint32_t arrayType, ArrayControl* control,
                         float decoded[kDecoderChannels])
{
    switch (arrayType)
    {
    case kArrayStereo: DecodeToStereoFrame(front, control, decoded); break;
    case kArray5_0: DecodeTo5_0Frame(front, rear, control, decoded); break;
    case kArray5_1: DecodeTo5_1Frame(front, rear, control, decoded); break;
    case kArray6_0: DecodeTo6_0Frame(front, rear, control, decoded); break;
    case kArray6_1: DecodeTo6_1Frame(front, rear, control, decoded); break;
    case kArray7_0: DecodeTo7_0Frame(front, rear, control, decoded); break;
    case kArray7_1: DecodeTo7_1Frame(front, rear, control, decoded); break;
    default:
    {
        const float level = control->bFormatLevelSmoothed;
        for (int k = 0; k < 4; ++k)
            decoded[k] = front[k] * level;
        for (int i = 4; i < kDecoderChannels; ++i)
            decoded[i] = 0.0f;
        break;
    }
    }
}
} // namespace

void DecodeArrayHeld(const float front[4], const float rear[4], ArrayControl* control, float out[9],
                     DspMeter meters[9])
{
    float decoded[kDecoderChannels];  // local, so no store to out can alias the control
    DecodeByType(front, rear, control->arrayType, control, decoded);
    const float master = control->masterLevelSmoothed;
    for (int i = 0; i < kDecoderChannels; ++i)
    {
        decoded[i] = decoded[i] * control->levelSmoothed[i] * master;
        CalculateDspMeter(&meters[i], decoded[i]);
        out[i] = decoded[i];
    }
}

void DecodeArrayUnmetered(const float front[4], const float rear[4], uint32_t arrayType, ArrayControl* control,
                          float out[9])
{
    UpdateArraySmoothers(control);
    float decoded[kDecoderChannels];
    DecodeByType(front, rear, arrayType, control, decoded);
    const float master = control->masterLevelSmoothed;
    for (int i = 0; i < kDecoderChannels; ++i)
        out[i] = decoded[i] * control->levelSmoothed[i] * master;
}

namespace
{
// Channels decoded as virtual microphones per array type 0-6, as bits.
constexpr unsigned kMicrophones[7] = {0x003, 0x037, 0x037, 0x137, 0x137, 0x0f7, 0x0f7};

inline bool HasLfe(uint32_t arrayType)
{
    return arrayType == kArray5_1 || arrayType == kArray6_1 || arrayType == kArray7_1;
}

// Lanes are frames. Each channel's pattern, angle and level are held for the
// run, so its constants are computed once with the per-frame formula's order.
void MicrophoneRun(const BFormatRun* src, int padded, float p, uint32_t angle, float level, float master,
                   float* dst)
{
    const F4 wScale = Splat4((2.0f - p) * 1.4142135f), half = Splat4(0.5f), halfP = Splat4(0.5f * p);
    const F4 cs = Splat4(CosTable[angle]), sn = Splat4(SinTable[angle]);
    const F4 lv = Splat4(level), ms = Splat4(master);
    for (int n = 0; n < padded; n += 4)
    {
        const F4 wTerm = wScale * (half * Load4(src->w + n));
        const F4 xTerm = (halfP * Load4(src->x + n)) * cs;
        const F4 yTerm = (halfP * Load4(src->y + n)) * sn;
        Store4(dst + n, ((yTerm + (xTerm + wTerm)) * lv) * ms);
    }
}

void MidSideRun(const BFormatRun* src, int padded, const ArrayControl* control, float master,
                float (*channels)[kRunFrames])
{
    const float p = control->polarSmoothed[0];
    const uint32_t angle = control->angle[0];
    const F4 wScale = Splat4((2.0f - p) * 1.4142135f), half = Splat4(0.5f), halfP = Splat4(0.5f * p);
    const F4 cs = Splat4(CosTable[angle]), sn = Splat4(SinTable[angle]);
    const F4 ms = Splat4(master);
    const F4 lv0 = Splat4(control->levelSmoothed[0]), lv1 = Splat4(control->levelSmoothed[1]);
    for (int n = 0; n < padded; n += 4)
    {
        const F4 mid = wScale * (half * Load4(src->w + n)) + (halfP * Load4(src->x + n)) * cs;
        const F4 side = (halfP * Load4(src->y + n)) * sn;
        Store4(channels[0] + n, (mid * lv0) * ms);
        Store4(channels[1] + n, (side * lv1) * ms);
    }
}

// FilterSecondOrder frame by frame, with the state in registers for the run
// and the active coefficient bank read once. The filter runs only over the
// real frames; the padding up to a multiple of 4 gets 0, as every other
// channel's padding is defined, because the meters read it in fours.
void LfeRun(SecondOrderFilter* filter, const float* w, int count, int padded, float level, float master,
            float* dst)
{
    const float* k = filter->coeffs;
    const float b0 = k[0], b1 = k[1], b2 = k[2], a1 = k[3], a2 = k[4];
    float x1 = filter->x1, x2 = filter->x2, y1 = filter->y1, y2 = filter->y2;
    for (int n = 0; n < count; ++n)
    {
        const float x = w[n];
        const float y = test_and_kill_denormal((((b0 * x + b1 * x1) + b2 * x2) + a1 * y1) + a2 * y2);
        y2 = y1;
        y1 = y;
        x2 = x1;
        x1 = x;
        dst[n] = y * level * master;
    }
    for (int n = count; n < padded; ++n)
        dst[n] = 0.0f;
    filter->x1 = x1;
    filter->x2 = x2;
    filter->y1 = y1;
    filter->y2 = y2;
}

void ScaledRun(const float* src, int padded, float gain, float level, float master, float* dst)
{
    const F4 g = Splat4(gain), lv = Splat4(level), ms = Splat4(master);
    for (int n = 0; n < padded; n += 4)
        Store4(dst + n, ((Load4(src + n) * g) * lv) * ms);
}

void ConstantRun(int padded, float value, float* dst)
{
    for (int n = 0; n < padded; ++n)
        dst[n] = value;
}
} // namespace

// Lanes are channels 0-3 and 4-7, frame after frame; channel 8 alone.
void MeterChannelsRun(const float (*channels)[kRunFrames], int count, DspMeter meters[9])
{
    float v[8], r[8];
    for (int i = 0; i < 8; ++i)
    {
        v[i] = meters[i].value;
        r[i] = meters[i].release;
    }
    F4 low = Load4(v), high = Load4(v + 4);
    const F4 lowRelease = Load4(r), highRelease = Load4(r + 4);
    float rc = meters[8].value;
    const float rcRelease = meters[8].release;
    for (int n = 0; n < count; n += 4)
    {
        F4 a[4] = {Load4(channels[0] + n), Load4(channels[1] + n), Load4(channels[2] + n), Load4(channels[3] + n)};
        F4 b[4] = {Load4(channels[4] + n), Load4(channels[5] + n), Load4(channels[6] + n), Load4(channels[7] + n)};
        Transpose4(a[0], a[1], a[2], a[3]);
        Transpose4(b[0], b[1], b[2], b[3]);
        const int frames = count - n < 4 ? count - n : 4;
        for (int j = 0; j < frames; ++j)
        {
            low = NextMeterValue4(low, lowRelease, a[j]);
            high = NextMeterValue4(high, highRelease, b[j]);
            rc = NextMeterValue(rc, rcRelease, channels[8][n + j]);
        }
    }
    Store4(v, low);
    Store4(v + 4, high);
    for (int i = 0; i < 8; ++i)
        meters[i].value = v[i];
    meters[8].value = rc;
}

void DecodeArrayHeldRun(const BFormatRun* front, const BFormatRun* rear, int count, uint32_t arrayType,
                        ArrayControl* control, float (*channels)[kRunFrames], DspMeter meters[9])
{
    const int padded = (count + 3) & ~3;
    const float master = control->masterLevelSmoothed;
    const float* level = control->levelSmoothed;
    if (arrayType >= kArrayBFormat)
    {
        const float* component[4] = {front->w, front->x, front->y, front->z};
        for (int i = 0; i < 4; ++i)
            ScaledRun(component[i], padded, control->bFormatLevelSmoothed, level[i], master, channels[i]);
        for (int i = 4; i < kDecoderChannels; ++i)
            ConstantRun(padded, 0.0f * level[i] * master, channels[i]);
    }
    else
    {
        const unsigned microphones = kMicrophones[arrayType];
        for (int i = 0; i < kDecoderChannels; ++i)
        {
            if ((microphones >> i) & 1u)
                MicrophoneRun(i < 3 ? front : rear, padded, control->polarSmoothed[i], control->angle[i], level[i],
                              master, channels[i]);
            else
                ConstantRun(padded, 0.0f * level[i] * master, channels[i]);
        }
        if (arrayType == kArrayStereo && control->midSide != 0)
            MidSideRun(front, padded, control, master, channels);
        if (HasLfe(arrayType))
            LfeRun(&control->lfeFilter, front->w, count, padded, level[kLfeChannel], master, channels[kLfeChannel]);
    }
    MeterChannelsRun(channels, count, meters);
}

void DecodeArray(const float front[4], const float rear[4], ArrayControl* control, float out[9],
                 DspMeter meters[9])
{
    UpdateArraySmoothers(control);
    DecodeArrayHeld(front, rear, control, out, meters);
}

bool ArrayHasSolo(const ArrayControl* control)
{
    for (int i = 0; i < kDecoderChannels; ++i)
        if (control->solo[i] != 0)
            return true;
    return false;
}

void ArrayUpdateMuteSoloState(ArrayControl* control)
{
    const bool anySolo = ArrayHasSolo(control);
    for (int i = 0; i < kDecoderChannels; ++i)
        control->soloMute[i] = (anySolo && control->solo[i] == 0) ? 1u : 0u;
}

void ArraySetChannelMute(ArrayControl* control, int channel, bool on)
{
    control->mute[channel] = on ? 1u : 0u;
    ArrayUpdateMuteSoloState(control);
}

void ArraySetChannelSolo(ArrayControl* control, int channel, bool on)
{
    control->solo[channel] = on ? 1u : 0u;
    ArrayUpdateMuteSoloState(control);
}
