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

    // What a drag from a press changes with the keys held at the press:
    // rotation from the disc and the C and RC curves, a pair's width from its
    // curves, with Shift the pattern of the pressed curve's pair.
    enum class DragTarget { nothing, rotation, frontWidth, rearWidth, surroundWidth, pattern };

    // A press on the display or one of its curves and its release, around
    // every change the drag makes; Shift pressed or let go on the way may
    // change something besides the target.
    virtual void DisplayPressed (DragTarget, int /*pairId*/) {}
    virtual void DisplayReleased() {}
};
