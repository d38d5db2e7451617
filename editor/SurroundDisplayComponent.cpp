#include "SurroundDisplayComponent.h"

#include "Bitmaps.h"
#include "Fade.h"
#include "QVLookAndFeel.h"
#include "Quorvane2AudioProcessor.h"
#include "TrigUtils.h"
#include "WholeDegrees.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace
{
constexpr float pi = juce::MathConstants<float>::pi;
constexpr int curveSize = 74;              // pixels, square
constexpr float curveRadiusFactor = 0.65f; // of half the display's width
constexpr float sectorRadiusFactor = 0.25f;
constexpr float lineLengthFactor = 0.5f;
constexpr float markerRadiusFactor = 0.9f; // the marker sits near the rim
constexpr float discInset = 2.0f;          // pixels
constexpr float lineWidth = 0.5f;
const juce::Colour facingHalfColour (0xff0f0f1f);

using WholeDegrees::Nearest;
using WholeDegrees::ToDegrees;
using WholeDegrees::ToRadians;

// Wraps an angle once into 0..360; a caller never hands more than a turn out.
float WrapOnce (float degrees)
{
    if (degrees < 0.0f)
        return degrees + 360.0f;

    if (degrees > 360.0f)
        return degrees - 360.0f;

    return degrees;
}

// A segment of the thin line width from `from` to `to`, for stroking.
juce::Path Segment (juce::Point<float> from, juce::Point<float> to)
{
    juce::Path p;
    p.addLineSegment ({ from, to }, lineWidth);
    return p;
}

const juce::PathStrokeType thinStroke (lineWidth, juce::PathStrokeType::mitered, juce::PathStrokeType::butt);

// A filled sector from the centre, angles clockwise from 12 o'clock.
void FillSector (juce::Graphics& g, juce::Point<float> centre, float radius, float from, float to)
{
    juce::Path p;
    p.startNewSubPath (centre);
    p.addCentredArc (centre.x, centre.y, radius, radius, 0.0f, from, to, false);
    p.closeSubPath();
    g.fillPath (p);
}
} // namespace

SurroundDisplayComponent::SurroundDisplayComponent (Quorvane2AudioProcessor& p)
    : juce::Component ("SurroundDisplay"), processor (p)
{
    struct NewCurve
    {
        std::unique_ptr<PolarComponent>& curve;
        int pairId;
        juce::Colour colour;
    };

    const NewCurve curves[] = {
        { C, 0, QVLookAndFeel::Col_CentrePolar },
        { L, 1, QVLookAndFeel::Col_LRPolar },
        { R, 1, QVLookAndFeel::Col_LRPolar },
        { Ls, 3, QVLookAndFeel::Col_LsRsPolar },
        { Rs, 3, QVLookAndFeel::Col_LsRsPolar },
        { RLs, 2, QVLookAndFeel::Col_RLsRRsPolar },
        { RRs, 2, QVLookAndFeel::Col_RLsRRsPolar },
        { RC, 4, QVLookAndFeel::Col_RLsRRsPolar },
    };

    for (const auto& made : curves)
    {
        made.curve = std::make_unique<PolarComponent> (made.pairId);
        auto& curve = *made.curve;
        addAndMakeVisible (curve);
        curve.setBounds (0, 0, curveSize, curveSize);
        curve.addMouseListener (this, false); // presses on a curve reach the display too
        curve.colour = made.colour;
        curve.repaint();
        curve.addListener (this);
    }

    head = std::make_unique<juce::ImageComponent> (juce::String());
    addAndMakeVisible (*head);
    const auto image = juce::ImageCache::getFromMemory (Bitmaps::head_topdown_outline_png, Bitmaps::head_topdown_outline_pngSize);
    head->setImage (image);
    head->setSize (image.getWidth(), image.getHeight());
    head->setAlpha (0.5f);
    head->setInterceptsMouseClicks (false, false);

    SetGlobalRotation (0.0f, false);
}

SurroundDisplayComponent::~SurroundDisplayComponent() = default;

PolarComponent& SurroundDisplayComponent::GetCurve (Curve which) const
{
    switch (which)
    {
        case Curve::C:   return *C;
        case Curve::RC:  return *RC;
        case Curve::L:   return *L;
        case Curve::R:   return *R;
        case Curve::Ls:  return *Ls;
        case Curve::Rs:  return *Rs;
        case Curve::RLs: return *RLs;
        case Curve::RRs: break;
    }

    return *RRs;
}

float SurroundDisplayComponent::GetPlaybackRotation() const noexcept
{
    return ToDegrees (playbackRotation);
}

bool SurroundDisplayComponent::IsBFormat() const
{
    return processor.GetOutputFormat() == kOutputFormatBFormat;
}

bool SurroundDisplayComponent::IsStereo() const
{
    return processor.GetOutputFormat() == kOutputFormatStereo;
}

//==============================================================================
void SurroundDisplayComponent::resized()
{
    const auto bounds = getLocalBounds().toFloat();
    centreX = bounds.getX() + bounds.getWidth() * 0.5f;
    centreY = bounds.getY() + bounds.getHeight() * 0.5f;

    const auto half = (float) (getWidth() / 2);
    curveRadius = curveRadiusFactor * half;
    sectorRadius = sectorRadiusFactor * half;
    lineLength = lineLengthFactor * half;

    // The translucent head lies over the curves.
    head->setCentrePosition ((int) centreX, (int) centreY);
    head->toFront (false);

    SetGlobalRotation (ToDegrees (globalRotation), false);
    BuildMarker();
}

void SurroundDisplayComponent::PlaceCurve (PolarComponent& curve, juce::Point<float> centre, float rotation)
{
    curve.setCentrePosition ((int) centre.x, (int) centre.y);
    curve.rotation = rotation;
    curve.BuildPath();
    curve.repaint();
}

void SurroundDisplayComponent::SetGlobalRotation (float degrees, bool notify)
{
    if (! std::isfinite (degrees))
        return;

    const float previous = globalRotation;
    globalRotation = ToRadians (WrapOnce (degrees));

    const int g = Nearest (ToDegrees (globalRotation));
    const auto turn = juce::AffineTransform::rotation (ToRadians ((float) g), centreX, centreY);
    const auto place = [&] (float x, float y) { return juce::Point<float> (x, y).transformedBy (turn); };

    PlaceCurve (*C, place (centreX, centreY - curveRadius), 135.0f + (float) g * 0.5f);

    if (processor.IsFormat6())
        PlaceCurve (*RC, place (centreX, centreY + curveRadius), 45.0f + (float) g * 0.5f);

    const bool tell = notify && globalRotation != previous;
    SetLsRsWidth (rearWidth, tell);
    SetLRWidth (frontWidth, tell);
    SetRLsRRsWidth (surroundWidth, tell);
    repaint();
}

void SurroundDisplayComponent::SetLRWidth (int degrees, bool notify)     { PlacePair (Pair::front, degrees, notify); }
void SurroundDisplayComponent::SetLsRsWidth (int degrees, bool notify)   { PlacePair (Pair::rear, degrees, notify); }
void SurroundDisplayComponent::SetRLsRRsWidth (int degrees, bool notify) { PlacePair (Pair::surround, degrees, notify); }

void SurroundDisplayComponent::PlacePair (Pair pair, int degrees, bool notify)
{
    int& width = pair == Pair::front ? frontWidth : pair == Pair::rear ? rearWidth : surroundWidth;
    auto& first = pair == Pair::front ? *L : pair == Pair::rear ? *Ls : *RLs;
    auto& second = pair == Pair::front ? *R : pair == Pair::rear ? *Rs : *RRs;

    const int previous = width;
    width = juce::jlimit (0, 180, degrees);

    // Each curve sits half the width (whole degrees) off the pair's axis,
    // facing outwards; q turns the lobes with the width in half-degree units.
    const float a = ToRadians ((float) (width / 2));
    const float q = (float) width * 0.25f + 45.0f;
    const float r = curveRadius;
    const int g = Nearest (ToDegrees (globalRotation));
    const float turnHalf = (float) g * 0.5f;
    const auto turn = juce::AffineTransform::rotation (ToRadians ((float) g), centreX, centreY);
    const auto place = [&] (float x, float y) { return juce::Point<float> (x, y).transformedBy (turn); };

    if (pair == Pair::front)
    {
        PlaceCurve (first, place (centreX - r * std::sin (a), centreY - r * std::cos (a)), 180.0f - q + turnHalf);
        PlaceCurve (second, place (centreX + r * std::sin (a), centreY - r * std::cos (a)), 180.0f - (90.0f - q) + turnHalf);
    }
    else
    {
        PlaceCurve (first, place (centreX - r * std::sin (a), centreY + r * std::cos (a)), q + turnHalf);
        PlaceCurve (second, place (centreX + r * std::sin (a), centreY + r * std::cos (a)), (90.0f - q) + turnHalf);
    }

    if (notify && degrees != previous)
    {
        const int stored = width;

        if (pair == Pair::front)
            listeners.call ([stored] (SurroundDisplayListener& l) { l.FrontWidthChanged (stored); });
        else if (pair == Pair::rear)
            listeners.call ([stored] (SurroundDisplayListener& l) { l.RearWidthChanged (stored); });
        else
            listeners.call ([stored] (SurroundDisplayListener& l) { l.SurroundWidthChanged (stored); });
    }

    repaint();
}

void SurroundDisplayComponent::SetLRPolar (float pattern, bool notify)
{
    L->SetPolar (pattern);
    R->SetPolar (pattern);
    SetLRWidth (frontWidth, notify);
    repaint();
}

void SurroundDisplayComponent::SetLsRsPolar (float pattern, bool notify)
{
    Ls->SetPolar (pattern);
    Rs->SetPolar (pattern);
    SetLsRsWidth (rearWidth, notify);
    repaint();
}

void SurroundDisplayComponent::SetRLsRRsPolar (float pattern, bool notify)
{
    RLs->SetPolar (pattern);
    RRs->SetPolar (pattern);
    SetRLsRRsWidth (surroundWidth, notify);
    repaint();
}

void SurroundDisplayComponent::SetCentrePolar (float pattern)
{
    C->SetPolar (pattern);
}

void SurroundDisplayComponent::SetRCPolar (float pattern)
{
    RC->SetPolar (pattern);
    repaint();
}

void SurroundDisplayComponent::ZoomHasChanged (float)
{
    for (auto* curve : { L.get(), R.get(), C.get(), Ls.get(), Rs.get(), RLs.get(), RRs.get(), RC.get() })
    {
        curve->BuildPath();
        curve->repaint();
    }
}

void SurroundDisplayComponent::SetMode()
{
    SetGlobalRotation ((float) Nearest (ToDegrees (globalRotation)), true);

    const auto format = processor.GetOutputFormat();

    if (format != kOutputFormatBFormat)
    {
        const bool stereo = format == kOutputFormatStereo;
        const bool seven = processor.IsFormat7();
        const bool six = processor.IsFormat6();

        Fade (L.get(), true);
        Fade (R.get(), true);
        Fade (C.get(), ! stereo);
        Fade (Ls.get(), ! stereo);
        Fade (Rs.get(), ! stereo);
        Fade (RLs.get(), seven);
        Fade (RRs.get(), seven);
        Fade (RC.get(), six);

        // Stereo's front pair spans omni to figure of eight; the others a narrower range.
        for (auto* curve : { L.get(), R.get() })
        {
            curve->minimum = stereo ? 0.0f : 0.5f;
            curve->maximum = stereo ? 1.0f : 0.75f;
        }
    }
    else
    {
        for (auto* curve : { C.get(), L.get(), R.get(), Ls.get(), Rs.get(), RLs.get(), RRs.get(), RC.get() })
            Fade (curve, false);
    }

    repaint();
}

//==============================================================================
void SurroundDisplayComponent::BuildMarker()
{
    const float lift = markerRadiusFactor * (float) (getWidth() / 2);
    marker.clear();
    marker.addTriangle (centreX, centreY - 12.0f, centreX - 8.0f, centreY, centreX + 8.0f, centreY);
    marker.applyTransform (juce::AffineTransform::translation (0.0f, -lift)
                               .rotated (playbackRotation, centreX, centreY));
}

void SurroundDisplayComponent::SetPlaybackRotation (float degrees, bool notify)
{
    // A NaN or infinite angle has no marker position: keep the one shown.
    if (! std::isfinite (degrees))
        return;

    const float wrapped = WrapOnce (degrees);
    const float previous = playbackRotation;
    playbackRotation = ToRadians (wrapped);
    BuildMarker();

    if (playbackRotation != previous && notify)
    {
        const int reported = (int) wrapped;
        listeners.call ([reported] (SurroundDisplayListener& l) { l.RotationChanged (reported); });
    }

    repaint();
}

void SurroundDisplayComponent::PolarChanged (PolarComponent* curve)
{
    if (curve == nullptr)
        return;

    const int pairId = curve->GetPairId();
    const float pattern = curve->GetPolar();

    // Keep the partner of a pair on the same pattern.
    if (pairId == 1)
        SetLRPolar (pattern, true);
    else if (pairId == 2)
        SetRLsRRsPolar (pattern, true);
    else if (pairId == 3)
        SetLsRsPolar (pattern, true);

    listeners.call ([pairId, pattern] (SurroundDisplayListener& l) { l.PolarChanged (pairId, pattern); });
}

//==============================================================================
std::optional<float> SurroundDisplayComponent::PointerAngle (const juce::MouseEvent& e) const
{
    const auto point = getLocalPoint (e.eventComponent, e.position);
    const juce::Point<float> centre (centreX, centreY);

    // The centre itself points nowhere, and neither does a position that is not a number.
    if (point == centre || ! std::isfinite (point.x) || ! std::isfinite (point.y))
        return std::nullopt;

    const float angle = TrigUtils::PointToAngle (point, centre);

    if (! std::isfinite (angle))
        return std::nullopt;

    return angle;
}

void SurroundDisplayComponent::mouseDown (const juce::MouseEvent& e)
{
    const auto* origin = e.originalComponent;

    if (origin != this && origin != C.get() && origin != RC.get())
    {
        rotating = false;
        rotateOffset = 0.0f;
    }
    else
    {
        rotating = true;

        // A press on the very centre has no direction: the marker then follows the pointer.
        const auto angle = PointerAngle (e);
        rotateOffset = angle ? *angle - playbackRotation : 0.0f;
    }

    const auto target = DragTargetOf (origin, e.mods.isShiftDown());
    const auto* curve = dynamic_cast<const PolarComponent*> (origin);
    const int pairId = target == DragTarget::pattern && curve != nullptr ? curve->GetPairId() : -1;
    listeners.call ([target, pairId] (SurroundDisplayListener& l) { l.DisplayPressed (target, pairId); });
}

SurroundDisplayListener::DragTarget SurroundDisplayComponent::DragTargetOf (const juce::Component* origin, bool shift) const
{
    const PolarComponent* const curves[] = { C.get(), RC.get(), L.get(), R.get(), Ls.get(), Rs.get(), RLs.get(), RRs.get() };
    const bool onCurve = std::find (std::begin (curves), std::end (curves), origin) != std::end (curves);

    // Shift-drags are the curves' own; on the bare disc they change nothing.
    if (shift)
        return onCurve ? DragTarget::pattern : DragTarget::nothing;

    if (origin == this || origin == C.get() || origin == RC.get())
        return DragTarget::rotation;
    if (origin == L.get() || origin == R.get())
        return DragTarget::frontWidth;
    if (origin == Ls.get() || origin == Rs.get())
        return DragTarget::rearWidth;
    if (origin == RLs.get() || origin == RRs.get())
        return DragTarget::surroundWidth;

    return DragTarget::nothing;
}

void SurroundDisplayComponent::mouseDrag (const juce::MouseEvent& e)
{
    if (e.mods.isShiftDown())
        return; // the curve's own Shift-drag changes its pattern

    const auto angle = PointerAngle (e);

    if (! angle)
        return;

    if (rotating)
    {
        SetPlaybackRotation ((float) Nearest (ToDegrees (*angle - rotateOffset)), true);
        return;
    }

    // A pair's width is twice the pointer's distance from the pair's axis.
    const auto widthFrom = [&] (float axis) -> std::optional<int> {
        const float distance = TrigUtils::DistanceBetweenRadians (*angle, axis);

        if (! std::isfinite (distance))
            return std::nullopt;

        return Nearest (2.0f * ToDegrees (distance));
    };

    const auto* origin = e.originalComponent;

    if (origin == L.get() || origin == R.get())
    {
        if (const auto w = widthFrom (globalRotation))
            SetLRWidth (*w, true);
    }
    else if (origin == Ls.get() || origin == Rs.get())
    {
        if (const auto w = widthFrom (globalRotation + pi))
            SetLsRsWidth (*w, true);
    }
    else if (origin == RLs.get() || origin == RRs.get())
    {
        if (const auto w = widthFrom (globalRotation + pi))
            SetRLsRRsWidth (*w, true);
    }
}

void SurroundDisplayComponent::mouseUp (const juce::MouseEvent&)
{
    rotating = false;
    listeners.call ([] (SurroundDisplayListener& l) { l.DisplayReleased(); });
}

void SurroundDisplayComponent::mouseWheelMove (const juce::MouseEvent&, const juce::MouseWheelDetails& wheel)
{
    // One step on a 15-degree grid; a sideways or zero delta counts as down.
    int d = Nearest (ToDegrees (playbackRotation)) + (wheel.deltaY > 0.0f ? rotationWheelStep : -rotationWheelStep);
    d = (d / rotationWheelStep) * rotationWheelStep;
    SetPlaybackRotation ((float) d, true);
}

//==============================================================================
void SurroundDisplayComponent::paint (juce::Graphics& g)
{
    const auto disc = getLocalBounds().toFloat().reduced (discInset);
    const auto dc = disc.getCentre();
    const float radius = disc.getHeight() / 2.0f;
    const juce::Point<float> centre (centreX, centreY);
    const auto arrangement = juce::AffineTransform::rotation (globalRotation, dc.x, dc.y);

    g.setColour (juce::Colours::black);
    g.fillEllipse (disc);

    // The half of the field in front of the rotated listener.
    g.setColour (facingHalfColour);
    FillSector (g, dc, radius, playbackRotation - pi / 2.0f, playbackRotation + pi / 2.0f);

    // Ticks every 15 degrees, longer ones every 45.
    g.setColour (juce::Colours::white.withAlpha (0.65f));
    const auto tick = [&] (float length, int degrees) {
        g.strokePath (Segment ({ dc.x, disc.getY() }, { dc.x, disc.getY() + length }), thinStroke,
                      juce::AffineTransform::rotation (ToRadians ((float) degrees) + globalRotation, dc.x, dc.y));
    };

    for (int d = 15; d <= 345; d += 15)
        if (d % 45 != 0)
            tick (3.0f, d);

    for (int d = 0; d < 360; d += 45)
        tick (5.0f, d);

    g.setColour (juce::Colours::white.withAlpha (0.35f));
    const float dashes[] = { 1.0f, 3.0f };
    g.drawDashedLine ({ disc.getX(), dc.y, disc.getRight(), dc.y }, dashes, 2, 1.0f);
    g.drawDashedLine ({ dc.x, disc.getY(), dc.x, disc.getBottom() }, dashes, 2, 1.0f);

    // The cross of the rotated field; its forward arm stops short of the marker.
    juce::Path cross;
    cross.startNewSubPath (dc.x - radius, dc.y);
    cross.lineTo (dc.x + radius, dc.y);
    cross.startNewSubPath (dc.x, dc.y - radius + 12.0f);
    cross.lineTo (dc.x, dc.y + radius);
    g.setColour (juce::Colours::white.withAlpha (0.5f));
    g.strokePath (cross, thinStroke, juce::AffineTransform::rotation (playbackRotation, dc.x, dc.y));

    if (! IsBFormat())
    {
        const bool rear = ! IsStereo();
        const bool surround = processor.IsFormat7();
        const float aFront = ToRadians ((float) (frontWidth / 2));
        const float aRear = ToRadians ((float) (rearWidth / 2));
        const float aSurround = ToRadians ((float) (surroundWidth / 2));
        const float back = globalRotation - pi;

        g.setColour (QVLookAndFeel::Col_LRPolar.withAlpha (0.25f));
        FillSector (g, centre, sectorRadius, globalRotation - aFront, globalRotation + aFront);

        if (rear)
        {
            g.setColour (QVLookAndFeel::Col_LsRsPolar.withAlpha (0.25f));
            FillSector (g, centre, sectorRadius, back + aRear, back - aRear);
        }

        if (surround)
        {
            g.setColour (QVLookAndFeel::Col_RLsRRsPolar.withAlpha (0.25f));
            FillSector (g, centre, sectorRadius, back + aSurround, back - aSurround);
        }

        // Two lines from the centre along the pair's directions.
        const auto lines = [&] (juce::Colour colour, float a, float towardsY) {
            const float x = lineLength * std::sin (a);
            const float y = centreY + towardsY * lineLength * std::cos (a);
            g.setColour (colour.withAlpha (0.5f));
            g.strokePath (Segment (centre, { centreX - x, y }), thinStroke, arrangement);
            g.strokePath (Segment (centre, { centreX + x, y }), thinStroke, arrangement);
        };

        lines (QVLookAndFeel::Col_LRPolar, aFront, -1.0f);

        if (rear)
            lines (QVLookAndFeel::Col_LsRsPolar, aRear, 1.0f);

        if (surround)
            lines (QVLookAndFeel::Col_RLsRRsPolar, aSurround, 1.0f);
    }

    g.setColour (juce::Colours::red.withAlpha (0.8f));
    g.fillPath (marker);

    if (processor.HasLFE())
    {
        const juce::Rectangle<float> badge ((float) (getWidth() - 32), 4.0f, 25.0f, 25.0f);
        g.setColour (juce::Colours::black.withAlpha (0.5f));
        g.fillRoundedRectangle (badge, 2.0f);
        g.setColour (juce::Colours::lightgrey);
        g.drawRoundedRectangle (badge, 2.0f, 0.5f);
        g.setFont (QVLookAndFeel::GetUIFont (QVLookAndFeel::smallFontSize, juce::Font::bold));
        g.drawText ("LFE", badge, juce::Justification::centred, false);
    }

    g.setColour (juce::Colours::black);
    g.drawEllipse (disc, 1.0f);
}
