#pragma once

// Base of the decoder engine. It contributes one switch, the input format;
// everything else lives in QVANE_HOST_DSP_PROCESS.
class QVANE_DSP_PROCESS
{
public:
    virtual ~QVANE_DSP_PROCESS() = default;

    // true: the four inputs are capsule signals (LF, RF, LB, RB);
    // false: they are B-format W, X, Y, Z.
    virtual void SetAFormatEnable(bool on) = 0;
};
