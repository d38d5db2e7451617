#include "ParameterSlider.h"

#include <cmath>

juce::String ParameterSliderListener::getTextFromValue (int, double)
{
    return "--";
}

void ParameterSliderListener::resetToDefaultValue (int)
{
}

ParameterSlider::ParameterSlider (int divisorToUse, int id, bool isCentred, bool isRaw)
    : divisor (divisorToUse), paramId (id), centred (isCentred), raw (isRaw)
{
}

void ParameterSlider::mouseDown (const juce::MouseEvent& e)
{
    if (e.mods.isAltDown() && listener != nullptr)
    {
        listener->resetToDefaultValue (paramId);
        return; // the press is not the slider's: no drag begins
    }

    juce::Slider::mouseDown (e);
}

double ParameterSlider::getValueFromText (const juce::String& text)
{
    float typed = text.getFloatValue();

    // "nan", "inf" and numbers past the float range count as no number.
    if (! std::isfinite (typed))
        typed = 0.0f;

    if (raw)
        return typed;

    // A zero divisor would turn every entry into infinity; take the number as typed.
    const float scaled = divisor != 0 ? typed / (float) divisor : typed;

    return centred ? (double) scaled + 0.5 : (double) scaled;
}

juce::String ParameterSlider::getTextFromValue (double value)
{
    if (listener != nullptr)
        return listener->getTextFromValue (paramId, value);

    return juce::Slider::getTextFromValue (value);
}
