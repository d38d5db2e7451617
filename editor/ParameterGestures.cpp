#include "ParameterGestures.h"

#include <algorithm>

ParameterGestures::ParameterGestures (juce::AudioProcessor& p)
    : processor (p)
{
}

ParameterGestures::~ParameterGestures()
{
    EndAll();
}

void ParameterGestures::Begin (int index)
{
    for (auto& o : open)
    {
        if (o.index == index)
        {
            ++o.depth;
            return;
        }
    }

    open.push_back ({ index, 1 });
    processor.beginParameterChangeGesture (index);
}

void ParameterGestures::End (int index)
{
    const auto it = std::find_if (open.begin(), open.end(), [index] (const Open& o) { return o.index == index; });

    if (it == open.end() || --it->depth > 0)
        return;

    open.erase (it);
    processor.endParameterChangeGesture (index);
}

void ParameterGestures::EndAll()
{
    // Taken out first: a listener that reacts to an end must not find it still open.
    const auto ending = std::move (open);
    open.clear();

    for (const auto& o : ending)
        processor.endParameterChangeGesture (o.index);
}

bool ParameterGestures::IsOpen (int index) const
{
    return std::any_of (open.begin(), open.end(), [index] (const Open& o) { return o.index == index; });
}
