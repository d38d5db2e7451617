// Told by the tilt control when the user drags a tilt to a new whole degree:
// 0 straight down, 90 horizontal, 180 straight up.
#pragma once

class SnapTiltComponentListener
{
public:
    virtual ~SnapTiltComponentListener() = default;

    virtual void FrontTiltChanged (int degrees) = 0;
    virtual void RearTiltChanged (int degrees) = 0;
};
