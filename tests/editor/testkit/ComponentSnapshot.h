// Renders components off-screen, reads their pixels and writes PNGs into the
// build tree (snapshots/ beside the test executable's build folder).
#pragma once

#include <JuceHeader.h>

#include <functional>

namespace qvtest
{
// The component and its children painted into a fresh image of its size, on
// a transparent background unless a background colour is given. Needs no
// display and no window.
juce::Image RenderComponent (juce::Component&, juce::Colour background = juce::Colours::transparentBlack, float scale = 1.0f);

// An image of the given size painted by a function, e.g. one drawing call
// of a look and feel.
juce::Image RenderWith (int width, int height, const std::function<void (juce::Graphics&)>& paint,
                        juce::Colour background = juce::Colours::transparentBlack);

// Folder receiving the PNGs; created on first use.
juce::File SnapshotDirectory();

// Writes the image as <name>.png into the snapshot folder; returns the file
// (which does not exist if writing failed).
juce::File SavePng (const juce::Image&, const juce::String& name);

// The pixel, unpremultiplied. Outside the image: transparent black.
juce::Colour PixelAt (const juce::Image&, int x, int y);

// Pixels of the rectangle for which the predicate holds.
int CountPixels (const juce::Image&, juce::Rectangle<int> area, const std::function<bool (juce::Colour)>& predicate);
int CountPixels (const juce::Image&, const std::function<bool (juce::Colour)>& predicate);

// Smallest rectangle holding every pixel for which the predicate holds (empty if none).
juce::Rectangle<int> BoundsOfPixels (const juce::Image&, const std::function<bool (juce::Colour)>& predicate);

// Are two colours the same within a tolerance per channel (0..255)?
bool Near (juce::Colour a, juce::Colour b, int tolerance = 2);

// "ARGB 0xAARRGGBB" for failure messages.
juce::String Describe (juce::Colour);

// A mouse event on the component at a local position, as the main mouse source would send it.
juce::MouseEvent MakeMouseEvent (juce::Component&, juce::Point<float> position,
                                 juce::ModifierKeys modifiers = {}, int numberOfClicks = 1);

// A press and release through the component's window, the way a real click
// arrives: hit testing, mouse listeners and focus all take part. The
// component must be on the desktop (see HasDisplay).
void ClickThroughPeer (juce::Component&, juce::Point<int> localPosition, juce::ModifierKeys modifiers = {});
} // namespace qvtest
