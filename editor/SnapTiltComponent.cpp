#include "SnapTiltComponent.h"

#include "Bitmaps.h"
#include "QVLookAndFeel.h"
#include "Quorvane2AudioProcessor.h"
#include "TrigUtils.h"
#include "WholeDegrees.h"

#include <cmath>

namespace
{
constexpr int zoomIndex = 7;
constexpr float wedgeWidth = 10.0f;     // degrees at the narrow end of the zoom
constexpr float wedgeWidening = 24.0f;  // degrees added over the zoom's range
constexpr float wedgeAlpha = 0.5f;
constexpr float headAlpha = 0.2f;

float ClampTilt (float degrees) { return juce::jlimit (0.0f, 180.0f, degrees); }

// A wedge of the disc between two screen angles in degrees.
void FillWedge (juce::Graphics& g, juce::Rectangle<float> disc, float fromDegrees, float toDegrees)
{
    juce::Path p;
    p.addPieSegment (disc, WholeDegrees::ToRadians (fromDegrees), WholeDegrees::ToRadians (toDegrees), 0.0f);
    g.fillPath (p);
}
} // namespace

SnapTiltComponent::SnapTiltComponent (Quorvane2AudioProcessor& p)
    : processor (p)
{
    head = std::make_unique<juce::ImageComponent> (juce::String());
    addAndMakeVisible (*head);
    const auto image = juce::ImageCache::getFromMemory (Bitmaps::head_outline_png, Bitmaps::head_outline_pngSize);
    head->setImage (image);
    head->setSize (image.getWidth(), image.getHeight());
    head->setAlpha (headAlpha);
    head->setInterceptsMouseClicks (false, false);

    const std::pair<std::unique_ptr<juce::Label>*, const char*> labels[] = {
        { &rearLabel, "R" }, { &frontLabel, "F" }, { &topLabel, "T" }, { &bottomLabel, "B" }
    };

    for (const auto& [label, text] : labels)
    {
        label->reset (QVLookAndFeel::MakeSmallLabel (this));
        (*label)->setText (text, juce::dontSendNotification);
        (*label)->setSize (18, 10);
        (*label)->setVisible (true);
    }
}

SnapTiltComponent::~SnapTiltComponent() = default;

juce::Rectangle<float> SnapTiltComponent::Disc() const
{
    return getLocalBounds().reduced (discInset).toFloat();
}

void SnapTiltComponent::resized()
{
    head->setCentreRelative (0.5f, 0.5f);
    rearLabel->setCentreRelative (0.07f, 0.5f);
    frontLabel->setCentreRelative (0.93f, 0.5f);
    topLabel->setCentreRelative (0.52f, 0.07f);
    bottomLabel->setCentreRelative (0.52f, 0.93f);
    repaint();
}

bool SnapTiltComponent::hitTest (int x, int y)
{
    // Only the disc is the control's; its corners fall through to what lies beneath.
    juce::Path disc;
    disc.addEllipse (Disc());
    return disc.contains ((float) x, (float) y, 1.0f);
}

void SnapTiltComponent::paint (juce::Graphics& g)
{
    const auto disc = Disc();
    g.setColour (juce::Colours::black.withAlpha (0.8f));
    g.fillEllipse (disc);
    g.setColour (juce::Colours::black);
    g.drawEllipse (disc, 1.0f);
}

void SnapTiltComponent::paintOverChildren (juce::Graphics& g)
{
    const auto disc = Disc();
    const auto centre = disc.getCentre();

    // Ticks at the diagonals.
    juce::Path tick;
    tick.addLineSegment ({ centre.x, disc.getY() + 0.5f, centre.x, disc.getY() + 4.0f }, 0.5f);
    g.setColour (juce::Colours::white.withAlpha (0.4f));

    for (int d = 45; d < 360; d += 90)
        g.strokePath (tick, juce::PathStrokeType (0.5f, juce::PathStrokeType::mitered, juce::PathStrokeType::butt),
                      juce::AffineTransform::rotation (WholeDegrees::ToRadians ((float) d), centre.x, centre.y));

    g.setColour (juce::Colours::white.withAlpha (0.35f));
    const float dashes[] = { 1.0f, 3.0f };
    g.drawDashedLine ({ disc.getX(), centre.y, disc.getRight(), centre.y }, dashes, 2, 1.0f);
    g.drawDashedLine ({ centre.x, disc.getY(), centre.x, disc.getBottom() }, dashes, 2, 1.0f);

    // The zoom narrows one wedge as it widens the other.
    const float z = processor.getParameter (zoomIndex);
    const float front = wedgeWidth + wedgeWidening * z;
    const float other = wedgeWidth + wedgeWidening * (1.0f - z);

    g.setColour (QVLookAndFeel::Col_LRPolar.withAlpha (wedgeAlpha));
    FillWedge (g, disc, 180.0f - frontTilt - front / 2.0f, 180.0f - frontTilt + front / 2.0f);

    if (bFormatMode)
    {
        g.setColour (QVLookAndFeel::Col_LRPolar.withAlpha (wedgeAlpha));
        FillWedge (g, disc, 360.0f - frontTilt - other / 2.0f, 360.0f - frontTilt + other / 2.0f);
    }
    else if (processor.GetOutputFormat() != kOutputFormatStereo)
    {
        g.setColour (QVLookAndFeel::Col_LsRsPolar.withAlpha (wedgeAlpha));
        FillWedge (g, disc, 180.0f + rearTilt - other / 2.0f, 180.0f + rearTilt + other / 2.0f);
    }
}

std::optional<int> SnapTiltComponent::ScreenAngle (const juce::MouseEvent& e) const
{
    const juce::Point<float> centre ((float) (getWidth() / 2), (float) (getHeight() / 2));
    const auto point = e.position;

    // The centre points nowhere; a NaN position has no angle either.
    if (point == centre || ! std::isfinite (point.x) || ! std::isfinite (point.y))
        return std::nullopt;

    const float radians = TrigUtils::PointToAngle (point, centre);

    if (! std::isfinite (radians))
        return std::nullopt;

    return WholeDegrees::Nearest (WholeDegrees::ToDegrees (radians));
}

void SnapTiltComponent::mouseDown (const juce::MouseEvent& e)
{
    // A press on the very centre counts as the front half, as straight down would.
    const int a = ScreenAngle (e).value_or (180);
    frontHalfDrag = a >= 0 && a <= 180;

    using Target = SnapTiltComponentListener::TiltTarget;
    const auto target = bFormatMode || frontHalfDrag ? Target::front
                        : processor.GetOutputFormat() != kOutputFormatStereo ? Target::rear
                                                                              : Target::nothing;
    listeners.call ([target] (SnapTiltComponentListener& l) { l.TiltPressed (target); });
}

void SnapTiltComponent::mouseUp (const juce::MouseEvent&)
{
    listeners.call ([] (SnapTiltComponentListener& l) { l.TiltReleased(); });
}

void SnapTiltComponent::mouseDrag (const juce::MouseEvent& e)
{
    const auto angle = ScreenAngle (e);

    if (! angle)
        return;

    int a = *angle;

    if (bFormatMode)
    {
        // Either end of a line through the centre gives the same front tilt.
        if (a > 180)
            a -= 180;

        SetFrontTiltAngle ((float) (180 - a), true);
    }
    else if (frontHalfDrag)
    {
        // Past the vertical the front tilt snaps to straight down or up.
        const int front = a <= 180 ? 180 - a : a <= 270 ? 0 : 180;
        SetFrontTiltAngle ((float) front, true);
    }
    else if (processor.GetOutputFormat() != kOutputFormatStereo)
    {
        const int rear = a >= 180 ? a - 180 : a < 90 ? 180 : 0;
        SetRearTiltAngle ((float) rear, true);
    }
}

void SnapTiltComponent::SetFrontTiltAngle (float degrees, bool notify) { SetTilt (frontTilt, degrees, notify, true); }
void SnapTiltComponent::SetRearTiltAngle (float degrees, bool notify)  { SetTilt (rearTilt, degrees, notify, false); }

void SnapTiltComponent::SetTilt (float& stored, float degrees, bool notify, bool front)
{
    // A NaN tilt has no direction: keep the one shown.
    if (std::isnan (degrees))
        return;

    const float previous = stored;
    stored = ClampTilt (degrees);
    repaint();

    if (notify && degrees != previous)
    {
        const int reported = (int) stored;

        if (front)
            listeners.call ([reported] (SnapTiltComponentListener& l) { l.FrontTiltChanged (reported); });
        else
            listeners.call ([reported] (SnapTiltComponentListener& l) { l.RearTiltChanged (reported); });
    }
}
