#include "QuorvanePanel.h"

#include "Bitmaps.h"
#include "QVLookAndFeel.h"
#include "Quorvane2AudioProcessor.h"
#include "WholeDegrees.h"

#include <cmath>
#include <iterator>

namespace
{
constexpr int displaySize = 261;   // pixels, square
constexpr int tiltSize = 121;      // pixels, square
constexpr int headerHeight = 20;   // pixels
constexpr float degreesPerTurn = 360.0f;
constexpr float degreesPerHalfTurn = 180.0f;

// The pattern parameter of each pair id: 0 C, 1 L/R, 2 RLs/RRs, 3 Ls/Rs, 4 RC.
constexpr int patternIndexOfPair[] = { QuorvanePanel::patternCIndex, QuorvanePanel::patternLRIndex,
                                       QuorvanePanel::patternRLsRRsIndex, QuorvanePanel::patternLsRsIndex,
                                       QuorvanePanel::patternRCIndex };

int WidthFrom (float value) { return WholeDegrees::Nearest (value * degreesPerHalfTurn); }
} // namespace

QuorvanePanel::QuorvanePanel (Quorvane2AudioProcessor& p)
    : juce::Component ("Surround Controls"), processor (p)
{
    display = std::make_unique<SurroundDisplayComponent> (processor);
    display->setSize (displaySize, displaySize);
    addAndMakeVisible (*display);
    display->addListener (this);

    tilt = std::make_unique<SnapTiltComponent> (processor);
    tilt->setSize (tiltSize, tiltSize);
    addAndMakeVisible (*tilt);
    tilt->setAlwaysOnTop (true);
    tilt->addListener (this);

    header = std::make_unique<PanelHeaderLabel> ("SURROUND CONTROLS",
                                                 QVLookAndFeel::GetUIFont (QVLookAndFeel::titleFontSize, juce::Font::bold));
    addAndMakeVisible (*header);
    header->setBounds (0, 0, 360, 24);
    header->toBack();

    logo = std::make_unique<juce::ImageComponent> (juce::String());
    addAndMakeVisible (*logo);
    const auto image = juce::ImageCache::getFromMemory (Bitmaps::logo_png, Bitmaps::logo_pngSize);
    logo->setImage (image);
    logo->setSize (image.getWidth(), image.getHeight());
    logo->setInterceptsMouseClicks (false, false);

    // The controls get their values from the processor's full update after
    // the editor is made; the layout (index 36) comes last in it.
    processor.quorvaneListeners.add (this);
}

QuorvanePanel::~QuorvanePanel()
{
    // The editor empties the whole list first; leaving it here as well keeps
    // a panel that goes on its own from being called after it is gone.
    processor.quorvaneListeners.remove (this);
}

void QuorvanePanel::resized()
{
    display->setCentrePosition (getWidth() / 2, display->getBounds().getCentreY());
    display->setCentreRelative (0.5f, 0.4f);
    header->setBounds (getLocalBounds().withHeight (headerHeight));
    tilt->setCentreRelative (0.8f, 0.82f);
    logo->setCentreRelative (0.13f, 0.915f);
}

void QuorvanePanel::paint (juce::Graphics& g)
{
    QVLookAndFeel::DrawPanelBackground (g, this);
}

//==============================================================================
void QuorvanePanel::Write (int index, float value)
{
    if (! pressed)
    {
        gestures.Framed ({ index }, [&] { processor.setParameterNotifyingHost (index, value); });
        return;
    }

    // Shift pressed or let go during a drag changes what it moves: the new
    // parameter's gesture runs to the release as well.
    if (! gestures.IsOpen (index))
        gestures.Begin (index);

    processor.setParameterNotifyingHost (index, value);
}

void QuorvanePanel::Pressed (int index)
{
    // A press whose release never came (the control went away under it) ends here.
    gestures.EndAll();
    pressed = true;

    if (index >= 0)
        gestures.Begin (index);
}

void QuorvanePanel::Released()
{
    pressed = false;
    gestures.EndAll();
}

void QuorvanePanel::DisplayPressed (DragTarget target, int pairId)
{
    const bool knownPair = pairId >= 0 && pairId < (int) std::size (patternIndexOfPair);

    switch (target)
    {
        case DragTarget::rotation:      Pressed (rotateIndex); break;
        case DragTarget::frontWidth:    Pressed (widthLRIndex); break;
        case DragTarget::rearWidth:     Pressed (widthLsRsIndex); break;
        case DragTarget::surroundWidth: Pressed (widthRLsRRsIndex); break;
        case DragTarget::pattern:       Pressed (knownPair ? patternIndexOfPair[pairId] : -1); break;
        case DragTarget::nothing:
        default:                        Pressed (-1); break;
    }
}

void QuorvanePanel::DisplayReleased() { Released(); }

void QuorvanePanel::TiltPressed (TiltTarget target)
{
    Pressed (target == TiltTarget::front  ? frontTiltIndex
             : target == TiltTarget::rear ? rearTiltIndex
                                          : -1);
}

void QuorvanePanel::TiltReleased() { Released(); }

void QuorvanePanel::RotationChanged (int d)      { Write (rotateIndex, (float) d / degreesPerTurn); }
void QuorvanePanel::FrontTiltChanged (int t)     { Write (frontTiltIndex, (float) t / degreesPerHalfTurn); }
void QuorvanePanel::RearTiltChanged (int t)      { Write (rearTiltIndex, (float) t / degreesPerHalfTurn); }
void QuorvanePanel::FrontWidthChanged (int w)    { Write (widthLRIndex, (float) w / degreesPerHalfTurn); }
void QuorvanePanel::RearWidthChanged (int w)     { Write (widthLsRsIndex, (float) w / degreesPerHalfTurn); }
void QuorvanePanel::SurroundWidthChanged (int w) { Write (widthRLsRRsIndex, (float) w / degreesPerHalfTurn); }

void QuorvanePanel::PolarChanged (int pairId, float pattern)
{
    if (pairId < 0 || pairId >= (int) std::size (patternIndexOfPair))
        return;

    Write (patternIndexOfPair[pairId], pattern);
}

//==============================================================================
void QuorvanePanel::ParameterChangedFloat (int index, float v)
{
    // Every reaction places a control from the value; a value that is not a
    // number places nothing.
    if (! std::isfinite (v) && index != arraySelectIndex)
        return;

    switch (index)
    {
        case rotateIndex:        display->SetPlaybackRotation (v * degreesPerTurn, false); break;
        case frontTiltIndex:     tilt->SetFrontTiltAngle (v * degreesPerHalfTurn, false); break;
        case rearTiltIndex:      tilt->SetRearTiltAngle (v * degreesPerHalfTurn, false); break;
        case zoomIndex:
            display->ZoomHasChanged (v);
            tilt->repaint(); // the wedge widths follow the zoom
            break;
        case patternLRIndex:     display->SetLRPolar (v, false); break;
        case patternCIndex:      display->SetCentrePolar (v); break;
        case patternLsRsIndex:   display->SetLsRsPolar (v, false); break;
        case patternRLsRRsIndex: display->SetRLsRRsPolar (v, false); break;
        case patternRCIndex:     display->SetRCPolar (v); break;
        case widthLRIndex:       display->SetLRWidth (WidthFrom (v), false); break;
        case widthLsRsIndex:     display->SetLsRsWidth (WidthFrom (v), false); break;
        case widthRLsRRsIndex:   display->SetRLsRRsWidth (WidthFrom (v), false); break;
        case arraySelectIndex:
            display->SetMode();
            tilt->repaint();
            tilt->bFormatMode = processor.GetOutputFormat() == kOutputFormatBFormat;
            tilt->repaint();
            // Redraw the front pair with the pattern range the layout has just set.
            display->SetLRPolar (processor.getParameter (patternLRIndex), false);
            break;
        default:
            break;
    }
}
