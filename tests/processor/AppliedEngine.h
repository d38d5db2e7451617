#pragma once

#include "Quorvane2AudioProcessor.h"

// The engine's record as the audio thread would run on it at its next block:
// parameters only publish, and the engine takes what they published then.
inline QVANE_HOST_DSP_PROCESS& Applied(Quorvane2AudioProcessor& p)
{
    p.GetEngine().ApplyPublishedControls();
    return p.GetEngine();
}
