// Told by a polar curve after a Shift-drag step changed (or tried to change)
// its pattern.
#pragma once

class PolarComponent;

class PolarComponentListener
{
public:
    virtual ~PolarComponentListener() = default;

    virtual void PolarChanged (PolarComponent* curve) = 0;
};
