// Angle helpers for the round displays. Angles are radians, 0 straight up,
// growing clockwise on screen (y grows downward).
#pragma once

#include <JuceHeader.h>

class TrigUtils
{
public:
    // The shorter way between two angles, 0..pi.
    static float DistanceBetweenRadians (float a, float b);

    // Angle of point seen from centre, 0..2 pi.
    static float PointToAngle (juce::Point<float> point, juce::Point<float> centre);
};
