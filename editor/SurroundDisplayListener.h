// What the surround display reports, in whole degrees or pattern units.
// Pair ids: 0 C, 1 L/R, 2 RLs/RRs, 3 Ls/Rs, 4 RC.
#pragma once

class SurroundDisplayListener
{
public:
    virtual ~SurroundDisplayListener() = default;

    virtual void RotationChanged (int degrees) = 0;
    virtual void FrontWidthChanged (int degrees) = 0;
    virtual void RearWidthChanged (int degrees) = 0;
    virtual void SurroundWidthChanged (int degrees) = 0;
    virtual void PolarChanged (int pairId, float pattern) = 0;
};
