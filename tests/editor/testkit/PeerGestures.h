// Drags and wheel turns delivered through a component's window, the way the
// window system sends them: hit testing and mouse listeners take part. The
// component must be on the desktop (see HasDisplay).
#pragma once

#include <JuceHeader.h>

#include <vector>

namespace qvtest
{
// Press at `from`, one drag event at each point of `path` in order, release
// at the last point. Positions are the component's own.
void DragThroughPeer (juce::Component&, juce::Point<int> from, const std::vector<juce::Point<int>>& path,
                      juce::ModifierKeys modifiers = {});

// One wheel event at the position with the given vertical delta.
void WheelThroughPeer (juce::Component&, juce::Point<int> localPosition, float deltaY);
} // namespace qvtest
