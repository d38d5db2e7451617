// The round top-down view of the sound field: one polar curve per virtual
// microphone of the output layout around the head, the width sectors, and the
// red marker of the sound-field rotation. Dragging the disc or turning the
// wheel rotates, dragging a curve widens its pair, Shift-dragging a curve
// changes its pattern. Every change goes to the listeners; the display never
// writes a parameter.
#pragma once

#include <JuceHeader.h>

#include <optional>

#include "PolarComponent.h"
#include "SurroundDisplayListener.h"

class Quorvane2AudioProcessor;

class SurroundDisplayComponent : public juce::Component,
                                 public PolarComponentListener
{
public:
    explicit SurroundDisplayComponent (Quorvane2AudioProcessor&);
    ~SurroundDisplayComponent() override;

    void addListener (SurroundDisplayListener* l) { listeners.add (l); }
    void removeListener (SurroundDisplayListener* l) { listeners.remove (l); }

    // Marker of the sound-field rotation, degrees clockwise from straight up.
    void SetPlaybackRotation (float degrees, bool notify);

    // Angle between the two curves of a pair, 0..180 degrees.
    void SetLRWidth (int degrees, bool notify);
    void SetLsRsWidth (int degrees, bool notify);
    void SetRLsRRsWidth (int degrees, bool notify);

    // Patterns, 0..1.
    void SetLRPolar (float pattern, bool notify);
    void SetLsRsPolar (float pattern, bool notify);
    void SetRLsRRsPolar (float pattern, bool notify);
    void SetCentrePolar (float pattern);
    void SetRCPolar (float pattern);

    // Turns the whole speaker arrangement (stays 0 in this plug-in).
    void SetGlobalRotation (float degrees, bool notify);

    // Fades the curves of the processor's output layout in and the rest out.
    void SetMode();
    void ZoomHasChanged (float zoom);

    void PolarChanged (PolarComponent* curve) override;

    void resized() override;
    void paint (juce::Graphics&) override;
    void mouseDown (const juce::MouseEvent&) override;
    void mouseDrag (const juce::MouseEvent&) override;
    void mouseUp (const juce::MouseEvent&) override;
    void mouseWheelMove (const juce::MouseEvent&, const juce::MouseWheelDetails&) override;

    enum class Curve { C, RC, L, R, Ls, Rs, RLs, RRs };
    PolarComponent& GetCurve (Curve) const;

    float GetPlaybackRotation() const noexcept;   // degrees
    int GetFrontWidth() const noexcept { return frontWidth; }
    int GetRearWidth() const noexcept { return rearWidth; }
    int GetSurroundWidth() const noexcept { return surroundWidth; }
    const juce::Path& GetMarker() const noexcept { return marker; }

    static constexpr int rotationWheelStep = 15; // degrees per wheel step, on a 15-degree grid

private:
    // One speaker pair: its two curves and the width between them.
    enum class Pair { front, rear, surround };
    void PlacePair (Pair, int degrees, bool notify);
    void PlaceCurve (PolarComponent&, juce::Point<float> centre, float rotation);
    void BuildMarker();
    bool IsBFormat() const;
    bool IsStereo() const;
    std::optional<float> PointerAngle (const juce::MouseEvent&) const;
    using DragTarget = SurroundDisplayListener::DragTarget;
    // What a drag from a press on this component (the display or a curve) changes.
    DragTarget DragTargetOf (const juce::Component* origin, bool shift) const;

    juce::ListenerList<SurroundDisplayListener> listeners;
    std::unique_ptr<PolarComponent> C, RC, L, R, Ls, Rs, RLs, RRs;
    juce::Path marker;
    std::unique_ptr<juce::ImageComponent> head;
    Quorvane2AudioProcessor& processor;
    float centreX = 0.0f, centreY = 0.0f;
    float rotateOffset = 0.0f;      // radians, pointer angle minus marker angle at the press
    float globalRotation = 0.0f;    // radians
    float playbackRotation = 0.0f;  // radians
    int frontWidth = 90;            // degrees between L and R
    int rearWidth = 90;             // degrees between Ls and Rs
    int surroundWidth = 180;        // degrees between RLs and RRs
    float curveRadius = 0.0f;       // pixels from the centre to every curve's centre
    float sectorRadius = 0.0f;      // pixels
    float lineLength = 0.0f;        // pixels
    bool rotating = false;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (SurroundDisplayComponent)
};
