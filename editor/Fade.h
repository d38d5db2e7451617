// Shows or hides a component by fading it with the desktop's animator.
#pragma once

#include <JuceHeader.h>

constexpr int fadeMilliseconds = 400;

void Fade (juce::Component* component, bool in);
