// The polar curve and the surround display: outline geometry, pattern steps,
// curve placement, width and rotation rules, wheel steps and what is drawn.
#include "ComponentSnapshot.h"
#include "EditorTestFixture.h"
#include "PolarComponent.h"
#include "SurroundDisplayComponent.h"
#include "SurroundTestSupport.h"

#include <cmath>
#include <limits>

namespace
{
using Curve = SurroundDisplayComponent::Curve;
constexpr float notANumber = std::numeric_limits<float>::quiet_NaN();
constexpr float pi = juce::MathConstants<float>::pi;

struct Heard : SurroundDisplayListener, PolarComponentListener
{
    void RotationChanged (int d) override { calls.add ("rotation " + juce::String (d)); }
    void FrontWidthChanged (int d) override { calls.add ("front " + juce::String (d)); }
    void RearWidthChanged (int d) override { calls.add ("rear " + juce::String (d)); }
    void SurroundWidthChanged (int d) override { calls.add ("surround " + juce::String (d)); }
    void PolarChanged (int id, float p) override { calls.add ("polar " + juce::String (id) + " " + juce::String (p, 2)); }
    void PolarChanged (PolarComponent* c) override { calls.add ("curve " + juce::String (c->GetPolar(), 2)); }
    juce::StringArray calls;
};

class SurroundDisplayTest : public EditorTest
{
protected:
    SurroundDisplayTest() { display.setSize (261, 261); display.addListener (&heard); }

    // A display point at a screen angle (degrees clockwise from up) and radius.
    static juce::Point<float> At (float degrees, float radius)
    {
        const float a = degrees * pi / 180.0f;
        return { 130.5f + radius * std::sin (a), 130.5f - radius * std::cos (a) };
    }

    // Press and drag as the display hears them from `origin` (itself or a curve).
    void Drag (juce::Component& origin, juce::Point<float> from, juce::Point<float> to, juce::ModifierKeys mods = {})
    {
        const auto local = [&] (juce::Point<float> p) { return origin.getLocalPoint (&display, p); };
        display.mouseDown (qvtest::MakeMouseEvent (origin, local (from), mods));
        display.mouseDrag (qvtest::MakeMouseEvent (origin, local (to), mods));
        display.mouseUp (qvtest::MakeMouseEvent (origin, local (to), mods));
    }

    Quorvane2AudioProcessor processor;
    SurroundDisplayComponent display { processor };
    Heard heard;
};

std::unique_ptr<PolarComponent> MakeCurve (float low, float high, float rotation, float pattern)
{
    auto c = std::make_unique<PolarComponent> (1);
    c->minimum = low;
    c->maximum = high;
    c->rotation = rotation;
    c->setSize (74, 74);
    c->SetPolar (pattern);
    return c;
}
} // namespace

//==============================================================================
TEST_F (SurroundDisplayTest, CurveOutlineReachesTwentyFivePixelsAlongTheLobe)
{
    struct Row { float low, high, rotation, pattern; juce::Rectangle<float> bounds; const char* what; };
    const Row rows[] = {
        { 0.5f, 0.75f, 90.0f, 0.5f, { 12.0f, 21.979f, 31.25f, 30.042f }, "p 0.625 facing left: 6.25 px rear lobe" },
        { 0.5f, 0.75f, 135.0f, 0.5f, { 21.979f, 12.0f, 30.042f, 31.25f }, "facing up" },
        { 0.5f, 0.75f, 0.0f, 0.0f, { 33.875f, 20.762f, 28.125f, 32.476f }, "cardioid facing right" },
        { 0.0f, 1.0f, 90.0f, 0.0f, { 12.0f, 12.0f, 50.0f, 50.0f }, "omni circle of radius 25" },
        { 0.0f, 1.0f, 90.0f, 1.0f, { 12.0f, 24.5f, 50.0f, 25.0f }, "figure of eight" },
    };

    for (const auto& r : rows)
    {
        const auto b = MakeCurve (r.low, r.high, r.rotation, r.pattern)->GetPath().getBounds();
        EXPECT_NEAR (b.getX(), r.bounds.getX(), 0.05f) << r.what;
        EXPECT_NEAR (b.getY(), r.bounds.getY(), 0.05f) << r.what;
        EXPECT_NEAR (b.getRight(), r.bounds.getRight(), 0.05f) << r.what;
        EXPECT_NEAR (b.getBottom(), r.bounds.getBottom(), 0.05f) << r.what;
    }

    // The two lobes of the figure of eight meet at the centre.
    EXPECT_TRUE (MakeCurve (0.0f, 1.0f, 90.0f, 1.0f)->GetPath().contains (30.0f, 37.0f));
    EXPECT_FALSE (MakeCurve (0.0f, 1.0f, 90.0f, 1.0f)->GetPath().contains (37.0f, 30.0f));

    // Pixels: the 1.1 px stroke lights column 12 at the lobe's tip, nothing left of it.
    auto curve = MakeCurve (0.5f, 0.75f, 90.0f, 0.5f);
    curve->colour = QVLookAndFeel::Col_LRPolar;
    const auto image = qvtest::RenderComponent (*curve);
    EXPECT_TRUE (qvtest::Near (qvtest::PixelAt (image, 12, 37).withAlpha (1.0f), juce::Colour (0xFFEBFF99)))
        << qvtest::Describe (qvtest::PixelAt (image, 12, 37));
    EXPECT_GT (qvtest::PixelAt (image, 12, 37).getAlpha(), 100);
    EXPECT_EQ (qvtest::BoundsOfPixels (image, [] (juce::Colour c) { return c.getAlpha() > 60; }).getX(), 11);
    EXPECT_EQ (qvtest::PixelAt (image, 25, 37).getAlpha(), 0) << "nothing is filled";
}

TEST_F (SurroundDisplayTest, CurveClampsItsPatternAndStepsOnShiftDrags)
{
    struct Set { float in, stored; };
    for (auto [in, stored] : { Set { -0.3f, 0.0f }, Set { 1.7f, 1.0f }, Set { 0.42f, 0.42f }, Set { notANumber, 0.42f } })
    {
        PolarComponent c (3);
        c.SetPolar (0.42f);
        c.SetPolar (in);
        EXPECT_FLOAT_EQ (c.GetPolar(), stored) << in;
    }

    const auto shift = juce::ModifierKeys (juce::ModifierKeys::shiftModifier | juce::ModifierKeys::leftButtonModifier);
    const auto plain = juce::ModifierKeys (juce::ModifierKeys::leftButtonModifier);
    struct Step { float from; juce::Point<float> move; juce::ModifierKeys mods; float to; int told; const char* what; };
    const Step steps[] = {
        { 0.5f, { 1, 0 }, shift, 0.51f, 1, "right raises" },     { 0.5f, { 0, -1 }, shift, 0.51f, 1, "up raises" },
        { 0.5f, { 0, 1 }, shift, 0.49f, 1, "down lowers" },      { 0.5f, { -1, 0 }, shift, 0.49f, 1, "left lowers" },
        { 0.5f, { 1, 1 }, shift, 0.49f, 1, "diagonal lowers" }, { 0.5f, { 40, 0 }, shift, 0.51f, 1, "one step per event" },
        { 1.0f, { 1, 0 }, shift, 1.0f, 1, "top still tells" },   { 0.0f, { 0, 1 }, shift, 0.0f, 1, "bottom still tells" },
        { 0.5f, { 1, 0 }, plain, 0.5f, 0, "no Shift, nothing" },
    };

    for (const auto& s : steps)
    {
        PolarComponent c (1);
        c.setSize (74, 74);
        c.SetPolar (s.from);
        Heard h;
        c.addListener (&h);
        c.mouseDown (qvtest::MakeMouseEvent (c, { 20, 37 }, s.mods));
        c.mouseDrag (qvtest::MakeMouseEvent (c, juce::Point<float> (20, 37) + s.move, s.mods));
        EXPECT_NEAR (c.GetPolar(), s.to, 1e-6f) << s.what;
        EXPECT_EQ (h.calls.size(), s.told) << s.what;
    }

    // Only the inside of the outline is the curve's.
    auto c = MakeCurve (0.5f, 0.75f, 90.0f, 0.5f);
    EXPECT_TRUE (c->hitTest (20, 37));
    EXPECT_FALSE (c->hitTest (70, 5));
}

//==============================================================================
TEST_F (SurroundDisplayTest, CurvesSitOnTheirCircleWithTheirColours)
{
    surroundtest::ApplyLayout (processor, kOutputFormat6_1); // RC is placed only where it exists
    display.SetMode();
    struct Row { Curve curve; int pairId; juce::uint32 argb; juce::Point<int> centre; float rotation; };
    const Row rows[] = {
        { Curve::C, 0, 0xFFFF9999, { 130, 46 }, 135.0f },   { Curve::RC, 4, 0xFF99C2FF, { 130, 215 }, 45.0f },
        { Curve::L, 1, 0xFFEBFF99, { 70, 70 }, 112.5f },    { Curve::R, 1, 0xFFEBFF99, { 190, 70 }, 157.5f },
        { Curve::Ls, 3, 0xFF99FFC2, { 70, 190 }, 67.5f },   { Curve::Rs, 3, 0xFF99FFC2, { 190, 190 }, 22.5f },
        { Curve::RLs, 2, 0xFF99C2FF, { 46, 130 }, 90.0f },  { Curve::RRs, 2, 0xFF99C2FF, { 215, 130 }, 0.0f },
    };

    for (const auto& r : rows)
    {
        const auto& c = display.GetCurve (r.curve);
        const auto what = "curve with pair id " + juce::String (r.pairId);
        EXPECT_EQ (c.GetPairId(), r.pairId);
        EXPECT_TRUE (qvtest::Near (c.colour, juce::Colour (r.argb), 1)) << what << " " << qvtest::Describe (c.colour);
        EXPECT_EQ (c.getBounds().getCentre(), r.centre) << what;
        EXPECT_EQ (c.getWidth(), 74);
        EXPECT_FLOAT_EQ (c.rotation, r.rotation) << what;
    }

    // Whole-degree halving: 61 places the pair where 60 does; the lobes turn by a quarter.
    for (auto [w, l, rRot] : { std::tuple { 60, 120.0f, 150.0f }, std::tuple { 61, 119.75f, 150.25f } })
    {
        display.SetLRWidth (w, false);
        EXPECT_EQ (display.GetCurve (Curve::L).getBounds().getCentre(), juce::Point<int> (88, 57)) << w;
        EXPECT_EQ (display.GetCurve (Curve::R).getBounds().getCentre(), juce::Point<int> (172, 57)) << w;
        EXPECT_FLOAT_EQ (display.GetCurve (Curve::L).rotation, l);
        EXPECT_FLOAT_EQ (display.GetCurve (Curve::R).rotation, rRot);
    }
    EXPECT_TRUE (heard.calls.isEmpty()) << heard.calls.joinIntoString (", ");
}

TEST_F (SurroundDisplayTest, WidthsClampAndTellOnlyChangedRequests)
{
    struct Row { int width; bool notify; int stored; const char* told; };
    const Row rows[] = {
        { 200, true, 180, "front 180" }, { 200, true, 180, "front 180" }, { 180, true, 180, "" },
        { -20, true, 0, "front 0" },     { 60, false, 60, "" },           { 61, true, 61, "front 61" },
    };

    for (const auto& r : rows)
    {
        heard.calls.clear();
        display.SetLRWidth (r.width, r.notify);
        EXPECT_EQ (display.GetFrontWidth(), r.stored) << r.width;
        EXPECT_EQ (heard.calls.joinIntoString (","), juce::String (r.told)) << r.width;
    }

    heard.calls.clear();
    display.SetLsRsWidth (500, true);
    display.SetRLsRRsWidth (-1, true);
    EXPECT_EQ (heard.calls.joinIntoString (","), "rear 180,surround 0");
}

TEST_F (SurroundDisplayTest, RotationWrapsOnceAndTheWheelStepsOnAFifteenDegreeGrid)
{
    struct Row { float set; float stored; const char* told; };
    for (const auto& r : { Row { -15.0f, 345.0f, "rotation 345" }, Row { -15.0f, 345.0f, "" }, Row { 360.0f, 360.0f, "rotation 360" },
                           Row { notANumber, 360.0f, "" }, Row { 37.9f, 37.9f, "rotation 37" } })
    {
        heard.calls.clear();
        display.SetPlaybackRotation (r.set, true);
        EXPECT_NEAR (display.GetPlaybackRotation(), r.stored, 1e-3f) << r.set;
        EXPECT_EQ (heard.calls.joinIntoString (","), juce::String (r.told)) << r.set;
    }

    struct Wheel { float from, deltaY, to; };
    for (const auto& w : { Wheel { 7, 1, 15 }, Wheel { 7, -1, 0 }, Wheel { 0, -1, 345 }, Wheel { 345, 1, 360 },
                           Wheel { 360, 1, 15 }, Wheel { 30, 0, 15 }, Wheel { 44, 0.2f, 45 } })
    {
        display.SetPlaybackRotation (w.from, false);
        juce::MouseWheelDetails wheel {};
        wheel.deltaY = w.deltaY;
        display.mouseWheelMove (qvtest::MakeMouseEvent (display, { 60, 60 }), wheel);
        EXPECT_NEAR (display.GetPlaybackRotation(), w.to, 1e-3f) << "from " << w.from << " by " << w.deltaY;
    }
}

TEST_F (SurroundDisplayTest, DragsRotateFromTheDiscAndTheCentreCurvesAndWidenThePairs)
{
    surroundtest::ApplyLayout (processor, kOutputFormat7_1);
    const auto shift = juce::ModifierKeys (juce::ModifierKeys::shiftModifier | juce::ModifierKeys::leftButtonModifier);
    const juce::Point<float> centre (130.5f, 130.5f), nowhere (notANumber, 10.0f);
    struct Row { Curve origin; bool onDisc; juce::Point<float> from, to; juce::ModifierKeys mods; const char* told; };
    const Row rows[] = {
        { Curve::C, true, At (20, 100), At (110, 100), {}, "rotation 90" },       // the marker keeps its offset
        { Curve::RC, false, At (180, 100), At (200, 100), {}, "rotation 20" },
        { Curve::L, false, At (330, 100), At (320, 100), {}, "front 80" },        // 40 degrees left of ahead
        { Curve::R, false, At (30, 100), At (120, 100), {}, "front 180" },        // beyond 90: clamped
        { Curve::RRs, false, At (100, 100), At (120, 100), {}, "surround 120" },
        { Curve::C, true, At (0, 100), At (90, 100), shift, "" },                 // Shift belongs to the curves
        { Curve::C, true, At (0, 100), centre, {}, "" },                          // the centre has no angle
        { Curve::C, true, At (0, 100), nowhere, {}, "" },
        { Curve::L, false, At (330, 100), nowhere, {}, "" },
        { Curve::C, true, centre, At (45, 100), {}, "rotation 45" },              // pressed on the centre: follows the pointer
    };

    for (const auto& r : rows)
    {
        display.SetPlaybackRotation (0.0f, false);
        display.SetLRWidth (60, false);
        heard.calls.clear();
        Drag (r.onDisc ? static_cast<juce::Component&> (display) : display.GetCurve (r.origin), r.from, r.to, r.mods);
        EXPECT_EQ (heard.calls.joinIntoString (","), juce::String (r.told)) << r.from.toString() << " -> " << r.to.toString();
    }

    // A Shift-drag on one curve of a pair moves its partner and tells the pair id once.
    heard.calls.clear();
    auto& ls = display.GetCurve (Curve::Ls);
    ls.SetPolar (0.3f);
    ls.mouseDown (qvtest::MakeMouseEvent (ls, { 30, 30 }, shift));
    ls.mouseDrag (qvtest::MakeMouseEvent (ls, { 31, 30 }, shift));
    EXPECT_FLOAT_EQ (display.GetCurve (Curve::Rs).GetPolar(), 0.31f);
    EXPECT_EQ (heard.calls.joinIntoString (","), "polar 3 0.31");
}

TEST_F (SurroundDisplayTest, DrawsSectorsBadgeAndMarkerByLayout)
{
    struct Row { OutputStemFormat format; bool front, rear, surround, lfe; };
    const Row rows[] = {
        { kOutputFormatStereo, true, false, false, false }, { kOutputFormat5_0, true, true, false, false },
        { kOutputFormat5_1, true, true, false, true },      { kOutputFormat6_0, true, true, false, false },
        { kOutputFormat6_1, true, true, false, true },      { kOutputFormat7_0, true, true, true, false },
        { kOutputFormat7_1, true, true, true, true },       { kOutputFormatBFormat, false, false, false, false },
    };
    // The sectors tint the grey head above them: yellow ahead, green behind, blue to the sides.
    const auto yellow = [] (juce::Colour c) { return c.getBlue() + 8 < juce::jmin (c.getRed(), c.getGreen()); };
    const auto green = [] (juce::Colour c) { return c.getGreen() > c.getRed() + 8; };
    const auto blue = [] (juce::Colour c) { return c.getBlue() > c.getRed() + 8; };
    const auto light = [] (juce::Colour c) { return c.getBrightness() > 0.6f; };

    for (const auto& r : rows)
    {
        surroundtest::ApplyLayout (processor, r.format);
        display.SetMode();
        display.SetPlaybackRotation (0.0f, false);
        display.SetRLsRRsWidth (180, false);
        juce::Desktop::getInstance().getAnimator().cancelAllAnimations (true);
        const auto image = qvtest::RenderComponent (display);
        const auto what = juce::String ("format ") + juce::String ((int) r.format);

        // Inside the sector radius, 20 px ahead, 20 px behind and 25 px to the left behind.
        EXPECT_EQ (yellow (qvtest::PixelAt (image, 130, 110)), r.front) << what;
        EXPECT_EQ (green (qvtest::PixelAt (image, 130, 150)), r.rear) << what;
        EXPECT_EQ (blue (qvtest::PixelAt (image, 105, 140)), r.surround) << what;
        EXPECT_EQ (qvtest::CountPixels (image, { 229, 4, 25, 25 }, light) > 20, r.lfe) << what;

        // The disc, the facing half and the marker are there in every layout.
        EXPECT_EQ (qvtest::PixelAt (image, 40, 110).getARGB(), 0xff0f0f1fu) << what;
        EXPECT_EQ (qvtest::PixelAt (image, 40, 150).getARGB(), 0xff000000u) << what;
        EXPECT_GT (qvtest::PixelAt (image, 130, 9).getRed(), 200) << what;
        EXPECT_LT (qvtest::PixelAt (image, 130, 9).getGreen(), 60) << what;
    }

    // Turned half round: the facing half and the marker go with it.
    display.SetPlaybackRotation (180.0f, false);
    const auto turned = qvtest::RenderComponent (display);
    EXPECT_EQ (qvtest::PixelAt (turned, 40, 150).getARGB(), 0xff0f0f1fu);
    EXPECT_EQ (qvtest::PixelAt (turned, 40, 110).getARGB(), 0xff000000u);
    EXPECT_GT (qvtest::PixelAt (turned, 130, 251).getRed(), 200);
    EXPECT_LT (qvtest::PixelAt (turned, 130, 9).getRed(), qvtest::PixelAt (turned, 130, 9).getGreen() + 30);
}
