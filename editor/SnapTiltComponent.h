// The small round side view of the head with which the front and rear tilts
// are dragged. Wedges point in the tilt directions; near the vertical a drag
// snaps to straight up or straight down. Tilts are degrees 0 (down) to 180
// (up), 90 horizontal; screen angles are clockwise from 12 o'clock.
#pragma once

#include <JuceHeader.h>

#include "SnapTiltComponentListener.h"

#include <optional>

class Quorvane2AudioProcessor;

class SnapTiltComponent : public juce::Component
{
public:
    explicit SnapTiltComponent (Quorvane2AudioProcessor&);
    ~SnapTiltComponent() override;

    void addListener (SnapTiltComponentListener* l) { listeners.add (l); }
    void removeListener (SnapTiltComponentListener* l) { listeners.remove (l); }

    // Stores the angle clamped to 0..180; with notify, tells the listeners
    // when the requested angle differs from the one stored before.
    void SetFrontTiltAngle (float degrees, bool notify);
    void SetRearTiltAngle (float degrees, bool notify);
    float GetFrontTiltAngle() const noexcept { return frontTilt; }
    float GetRearTiltAngle() const noexcept { return rearTilt; }

    bool hitTest (int x, int y) override;
    void paint (juce::Graphics&) override;
    void paintOverChildren (juce::Graphics&) override;
    void resized() override;
    void mouseDown (const juce::MouseEvent&) override;
    void mouseDrag (const juce::MouseEvent&) override;
    void mouseUp (const juce::MouseEvent&) override;

    // Written by the owner: true while the output layout is B-format, when
    // only the front tilt applies and is drawn both ways.
    bool bFormatMode = false;

    static constexpr int discInset = 20; // pixels between the bounds and the disc

private:
    juce::Rectangle<float> Disc() const;
    std::optional<int> ScreenAngle (const juce::MouseEvent&) const;
    void SetTilt (float& stored, float degrees, bool notify, bool front);

    juce::ListenerList<SnapTiltComponentListener> listeners;
    std::unique_ptr<juce::Label> rearLabel, frontLabel, topLabel, bottomLabel;
    std::unique_ptr<juce::ImageComponent> head;
    Quorvane2AudioProcessor& processor;
    float rearTilt = 90.0f;     // degrees, 0..180
    float frontTilt = 90.0f;    // degrees, 0..180
    bool frontHalfDrag = false; // the press that began the drag was in the right (front) half

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (SnapTiltComponent)
};
