#include "Animation.h"

bool CanAnimate()
{
    return juce::Desktop::getInstance().getDisplays().getPrimaryDisplay() != nullptr;
}

void AnimateComponent(juce::Component& component, juce::Rectangle<int> bounds, float alpha, int milliseconds,
                      double startSpeed, double endSpeed)
{
    auto& animator = juce::Desktop::getInstance().getAnimator();

    if (! CanAnimate())
    {
        animator.cancelAnimation(&component, false);
        component.setBounds(bounds);
        component.setAlpha(alpha);
        component.setVisible(alpha > 0.0f);
        return;
    }

    animator.animateComponent(&component, bounds, alpha, milliseconds, true, startSpeed, endSpeed);
}
