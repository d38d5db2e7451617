#include "MicInput.h"

#include "Lanes4.h"

void InitialiseMicInputControl(MicInputControl* control)
{
    control->gainTarget = 1.0f;
    control->gainSmoothed = 1.0f;
    control->a = 0.75f;
    control->c = 0.25f;
    for (auto& filter : control->filters)
        InitialiseFilter(&filter);
}

namespace
{
// The four channels side by side in four lanes.
struct InputLanes
{
    F4 b0, b1, b2, a1, a2;  // coefficients
    F4 x1, x2, y1, y2;      // filter state
    F4 value, release;      // meters 0-3
};

template <bool kSmoothGain>
void RunInputLanes(InputLanes& l, float (*frames)[4], int count, MicInputControl* control)
{
    float gain = control->gainSmoothed;
    for (int n = 0; n < count; ++n)
    {
        if (kSmoothGain)
            gain = control->gainSmoothed = SmoothStep(control->gainTarget, gain, control->a, control->c);
        const F4 x = Load4(frames[n]);
        const F4 y = KillDenormals4((((l.b0 * x + l.b1 * l.x1) + l.b2 * l.x2) + l.a1 * l.y1) + l.a2 * l.y2);
        l.y2 = l.y1;
        l.y1 = y;
        l.x2 = l.x1;
        l.x1 = x;
        const F4 out = y * Splat4(gain);
        Store4(frames[n], out);
        l.value = NextMeterValue4(l.value, l.release, out);
    }
}

// Gathers one field of the four channels into lanes.
template <typename Get>
F4 Gather4(Get get)
{
    const float v[4] = {get(0), get(1), get(2), get(3)};
    return Load4(v);
}
} // namespace

void ProcessMicInputRun(float (*frames)[4], int count, MicInputControl* control, DspMeter meters[4])
{
    const SecondOrderFilter* f = control->filters;
    InputLanes l;
    l.b0 = Gather4([f](int k) { return f[k].coeffs[0]; });
    l.b1 = Gather4([f](int k) { return f[k].coeffs[1]; });
    l.b2 = Gather4([f](int k) { return f[k].coeffs[2]; });
    l.a1 = Gather4([f](int k) { return f[k].coeffs[3]; });
    l.a2 = Gather4([f](int k) { return f[k].coeffs[4]; });
    l.x1 = Gather4([f](int k) { return f[k].x1; });
    l.x2 = Gather4([f](int k) { return f[k].x2; });
    l.y1 = Gather4([f](int k) { return f[k].y1; });
    l.y2 = Gather4([f](int k) { return f[k].y2; });
    l.value = Gather4([meters](int k) { return meters[k].value; });
    l.release = Gather4([meters](int k) { return meters[k].release; });

    if (MicInputSettled(control))
        RunInputLanes<false>(l, frames, count, control);
    else
        RunInputLanes<true>(l, frames, count, control);

    float x1[4], x2[4], y1[4], y2[4], value[4];
    Store4(x1, l.x1);
    Store4(x2, l.x2);
    Store4(y1, l.y1);
    Store4(y2, l.y2);
    Store4(value, l.value);
    for (int k = 0; k < 4; ++k)
    {
        control->filters[k].x1 = x1[k];
        control->filters[k].x2 = x2[k];
        control->filters[k].y1 = y1[k];
        control->filters[k].y2 = y2[k];
        meters[k].value = value[k];
    }
}
