#pragma once

#include "DspPrimitives.h"

// Input stage: high-pass (or identity), smoothed input gain, input meters.
struct MicInputControl
{
    float gainTarget;              // linear, starts at 1
    float gainSmoothed;            // linear
    float a, c;                    // smoothing pair
    SecondOrderFilter filters[4];  // one per input channel
};

void InitialiseMicInputControl(MicInputControl* control);

// Filters, gain and meters of one frame with the smoothed gain held.
inline void ProcessMicInputHeld(float frame[4], MicInputControl* control, DspMeter meters[4])
{
    for (int k = 0; k < 4; ++k)
        frame[k] = FilterSecondOrder(&control->filters[k], frame[k]);
    const float gain = control->gainSmoothed;
    for (int k = 0; k < 4; ++k)
    {
        frame[k] = frame[k] * gain;
        CalculateDspMeter(&meters[k], frame[k]);
    }
}

// The gain smoother does not depend on the signal, so it may step first.
inline void ProcessMicInput(float frame[4], MicInputControl* control, DspMeter meters[4])
{
    control->gainSmoothed = SmoothStep(control->gainTarget, control->gainSmoothed, control->a, control->c);
    ProcessMicInputHeld(frame, control, meters);
}

// True when the gain smoother would not move by a bit.
inline bool MicInputSettled(const MicInputControl* control)
{
    return SmootherSettled(SmoothStep(control->gainTarget, control->gainSmoothed, control->a, control->c),
                           control->gainSmoothed);
}

// ProcessMicInput over a run of frames, with the filters and meters kept in
// registers for the run: four channels side by side, same arithmetic per
// frame. The gain smoother is skipped while settled; coefficients are read
// once per run.
void ProcessMicInputRun(float (*frames)[4], int count, MicInputControl* control, DspMeter meters[4]);
