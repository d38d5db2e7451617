#include "Fade.h"

#include "Animation.h"

void Fade (juce::Component* component, bool in)
{
    if (component == nullptr)
        return;

    auto& animator = juce::Desktop::getInstance().getAnimator();

    // A fade out slides a stand-in image, which needs a display.
    if (! CanAnimate())
    {
        animator.cancelAnimation (component, false);
        component->setAlpha (1.0f);
        component->setVisible (in);
        return;
    }

    if (in)
        animator.fadeIn (component, fadeMilliseconds);
    else
        animator.fadeOut (component, fadeMilliseconds);
}
