// Told by the tilt control when the user drags a tilt to a new whole degree:
// 0 straight down, 90 horizontal, 180 straight up.
#pragma once

class SnapTiltComponentListener
{
public:
    virtual ~SnapTiltComponentListener() = default;

    virtual void FrontTiltChanged (int degrees) = 0;
    virtual void RearTiltChanged (int degrees) = 0;

    // The tilt a drag from a press moves: the front one from the front half
    // (or anywhere in B-format), the rear one from the rear half, nothing
    // from the rear half in stereo.
    enum class TiltTarget { nothing, front, rear };

    // A press on the disc and its release, around every tilt it changes.
    virtual void TiltPressed (TiltTarget) {}
    virtual void TiltReleased() {}
};
