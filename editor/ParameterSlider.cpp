#include "ParameterSlider.h"

#include "NumberText.h"

#include <cmath>

juce::String ParameterSliderListener::getTextFromValue (int, double)
{
    return "--";
}

void ParameterSliderListener::resetToDefaultValue (int)
{
}

void ParameterSliderListener::changeStarted (int)
{
}

void ParameterSliderListener::changeEnded (int)
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
    float typed = 0.0f;

    // Text that does not begin with a finite number ("abc", "nan", "inf", a
    // number past the float range) is no entry: answering the value the
    // slider holds makes the text box change nothing and show its text again.
    if (! NumberText::ParseLeading (text, typed))
        return getValue();

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

// The slider frames typed values, wheel steps and double-clicks with these
// as well as drags, so the listener hears every change the user makes.
void ParameterSlider::startedDragging()
{
    if (listener != nullptr)
        listener->changeStarted (paramId);
}

void ParameterSlider::stoppedDragging()
{
    if (listener != nullptr)
        listener->changeEnded (paramId);
}
