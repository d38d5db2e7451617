// The polar curve of one virtual microphone: a blend of an omnidirectional
// circle and a figure of eight, turned to face the microphone's direction.
// Shift-dragging on the outline changes the pattern in 0.01 steps. The curve
// knows nothing of parameters; its owner translates.
#pragma once

#include <JuceHeader.h>

#include "PolarComponentListener.h"

class PolarComponent : public juce::Component
{
public:
    explicit PolarComponent (int pairId);
    ~PolarComponent() override = default;

    // Stores the pattern clamped to 0..1 and redraws; tells nobody.
    void SetPolar (float pattern);
    float GetPolar() const noexcept { return pattern; }
    int GetPairId() const noexcept { return pairId; }

    // Rebuilds the outline from pattern, rotation, minimum, maximum and size.
    void BuildPath();
    const juce::Path& GetPath() const noexcept { return path; }

    void addListener (PolarComponentListener* l) { listeners.add (l); }
    void removeListener (PolarComponentListener* l) { listeners.remove (l); }

    void resized() override;
    void paint (juce::Graphics&) override;
    bool hitTest (int x, int y) override;
    void mouseDown (const juce::MouseEvent&) override;
    void mouseDrag (const juce::MouseEvent&) override;
    void mouseWheelMove (const juce::MouseEvent&, const juce::MouseWheelDetails&) override;

    // Written by the owner, which then calls BuildPath (or SetPolar) and repaint.
    float rotation = 90.0f;                    // main lobe direction, half screen degrees from +x toward +y
    juce::Colour colour { juce::Colours::white };
    float minimum = 0.5f;                      // coefficient drawn for pattern 0
    float maximum = 0.75f;                     // coefficient drawn for pattern 1

    static constexpr float maxRadius = 25.0f;  // pixels, the lobe's length at any pattern
    static constexpr float patternStep = 0.01f;
    static constexpr float strokeWidth = 1.1f;

private:
    float pattern = 0.5f; // 0..1, as the parameter shows it
    juce::Path path;
    const int pairId;     // 0 C, 1 L/R, 2 RLs/RRs, 3 Ls/Rs, 4 RC
    juce::Point<int> lastMouse;
    juce::ListenerList<PolarComponentListener> listeners;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (PolarComponent)
};
