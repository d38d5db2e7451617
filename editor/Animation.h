#pragma once

#include <JuceHeader.h>

/** Moves a component to bounds and alpha over milliseconds with the desktop's
    animator, which slides a stand-in image of it. Without a display (a host
    that builds the editor to ask its size while scanning, a headless render)
    there is no screen to make that image for, and the component takes its
    end state at once: those bounds and alpha, hidden when the alpha is 0. */
void AnimateComponent(juce::Component& component, juce::Rectangle<int> bounds, float alpha, int milliseconds,
                      double startSpeed, double endSpeed);

/** True when the desktop has a display the animator can draw for. */
bool CanAnimate();
