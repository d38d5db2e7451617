// The "SURROUND CONTROLS" panel: the surround display and the tilt control,
// joined to the rotation, tilt, zoom, width and pattern parameters. It turns
// the controls' callbacks into one parameter write each, and mirrors the
// processor's notifications back into the controls without notification, so
// nothing echoes to the processor.
#pragma once

#include <JuceHeader.h>

#include "PanelHeaderLabel.h"
#include "ParameterGestures.h"
#include "Quorvane2AudioProcessor.h"
#include "QuorvaneListener.h"
#include "SnapTiltComponent.h"
#include "SurroundDisplayComponent.h"

class QuorvanePanel : public juce::Component,
                      public QuorvaneListener,
                      public SurroundDisplayListener,
                      public SnapTiltComponentListener
{
public:
    explicit QuorvanePanel (Quorvane2AudioProcessor&);
    ~QuorvanePanel() override;

    void resized() override;
    void paint (juce::Graphics&) override;

    // message thread: from the editor's refresh and the full update
    void ParameterChangedFloat (int index, float value) override;

    void RotationChanged (int degrees) override;
    void FrontWidthChanged (int degrees) override;
    void RearWidthChanged (int degrees) override;
    void SurroundWidthChanged (int degrees) override;
    void PolarChanged (int pairId, float pattern) override;
    void FrontTiltChanged (int degrees) override;
    void RearTiltChanged (int degrees) override;

    // A press on the display or the tilt control opens a gesture on what its
    // drag moves, and on anything else it writes before the release, which
    // ends them all.
    void DisplayPressed (DragTarget, int pairId) override;
    void DisplayReleased() override;
    void TiltPressed (TiltTarget) override;
    void TiltReleased() override;

    SurroundDisplayComponent& GetDisplay() const noexcept { return *display; }
    SnapTiltComponent& GetTilt() const noexcept { return *tilt; }

    // Parameter indices this panel writes and follows.
    enum Index
    {
        rotateIndex = 4,
        frontTiltIndex = 5,
        rearTiltIndex = 6,
        zoomIndex = 7,
        patternLRIndex = 8,
        patternCIndex = 9,
        patternLsRsIndex = 10,
        patternRLsRRsIndex = 11,
        patternRCIndex = 12,
        widthLRIndex = 13,
        widthLsRsIndex = 14,
        widthRLsRRsIndex = 15,
        arraySelectIndex = 36
    };

private:
    // Inside a press, within the press's gestures; otherwise (a wheel step) as a gesture of its own.
    void Write (int index, float value);
    void Pressed (int index);
    void Released();

    std::unique_ptr<SurroundDisplayComponent> display;
    std::unique_ptr<SnapTiltComponent> tilt;
    std::unique_ptr<PanelHeaderLabel> header;
    Quorvane2AudioProcessor& processor;
    std::unique_ptr<juce::ImageComponent> logo;
    ParameterGestures gestures { processor }; // ends what a closing editor cut short
    bool pressed = false;                     // between a press on the display or the tilt control and its release

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (QuorvanePanel)
};
