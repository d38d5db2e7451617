#include "Fade.h"

void Fade (juce::Component* component, bool in)
{
    if (component == nullptr)
        return;

    auto& animator = juce::Desktop::getInstance().getAnimator();

    if (in)
        animator.fadeIn (component, fadeMilliseconds);
    else
        animator.fadeOut (component, fadeMilliseconds);
}
