// The surround-controls panel on a real processor: its layout, the one write
// each gesture makes, the tilt control's snapping and drawing, and the
// mirroring of notifications without a write back.
#include "ComponentSnapshot.h"
#include "EditorTestFixture.h"
#include "Fade.h"
#include "GuiTestEnvironment.h"
#include "PeerGestures.h"
#include "QuorvanePanel.h"
#include "SurroundTestSupport.h"

#include <cmath>
#include <limits>
#include <optional>
#include <set>

namespace
{
using Curve = SurroundDisplayComponent::Curve;
using Calls = std::vector<std::pair<int, float>>;
constexpr float notANumber = std::numeric_limits<float>::quiet_NaN();

class QuorvanePanelTest : public EditorTest
{
protected:
    QuorvanePanelTest()
    {
        panel.setBounds (1, 162, 314, 397);
        ShowLayout (kOutputFormat5_1);
    }

    // The layout as the output panel chooses it, mirrored by the editor's refresh.
    void ShowLayout (OutputStemFormat format)
    {
        surroundtest::ApplyLayout (processor, format);
        calls.calls.clear();
    }

    // A point at a screen angle (degrees clockwise from up) from a centre.
    static juce::Point<int> At (juce::Point<float> centre, float degrees, float radius)
    {
        const float a = degrees * juce::MathConstants<float>::pi / 180.0f;
        return { juce::roundToInt (centre.x + radius * std::sin (a)), juce::roundToInt (centre.y - radius * std::cos (a)) };
    }

    // Every value the panel shows: marker, front and rear tilt, the three
    // widths, then the patterns of C, RC, L, R, Ls, Rs, RLs, RRs.
    enum Slot { rotation, frontTilt, rearTilt, front, rear, surround, pattern };
    using Shown = std::array<float, 14>;
    Shown Show() const
    {
        const auto& d = panel.GetDisplay();
        Shown s { d.GetPlaybackRotation(), panel.GetTilt().GetFrontTiltAngle(), panel.GetTilt().GetRearTiltAngle(),
                  (float) d.GetFrontWidth(), (float) d.GetRearWidth(), (float) d.GetSurroundWidth() };
        for (int c = 0; c < 8; ++c)
            s[(size_t) (pattern + c)] = d.GetCurve ((Curve) c).GetPolar();
        return s;
    }
    static bool Same (const Shown& a, const Shown& b)
    {
        return std::equal (a.begin(), a.end(), b.begin(), [] (float x, float y) { return std::abs (x - y) < 1e-3f; });
    }

    Quorvane2AudioProcessor processor;
    QuorvanePanel panel { processor };
    surroundtest::HostCalls calls { processor };
};

juce::String Describe (const Calls& c)
{
    juce::StringArray s;
    for (auto [i, v] : c)
        s.add (juce::String (i) + "=" + juce::String (v, 6));
    return "[" + s.joinIntoString (", ") + "]";
}

// The same writes in the same order; values within a tolerance.
void ExpectCalls (const Calls& actual, const Calls& expected, const juce::String& what, float tolerance = 1e-6f)
{
    bool same = actual.size() == expected.size();
    for (size_t i = 0; same && i < actual.size(); ++i)
        same = actual[i].first == expected[i].first && std::abs (actual[i].second - expected[i].second) <= tolerance;
    EXPECT_TRUE (same) << what << ": got " << Describe (actual) << ", expected " << Describe (expected);
}
} // namespace

//==============================================================================
TEST_F (QuorvanePanelTest, LaysOutDisplayTiltHeaderAndLogo)
{
    panel.setVisible (true); // hit testing looks at shown components only
    auto& display = panel.GetDisplay();
    auto& tilt = panel.GetTilt();
    EXPECT_EQ (panel.getName(), "Surround Controls");
    EXPECT_EQ (display.getName(), "SurroundDisplay");
    EXPECT_EQ (display.getBounds(), juce::Rectangle<int> (27, 29, 261, 261));
    EXPECT_EQ (tilt.getBounds(), juce::Rectangle<int> (191, 266, 121, 121));
    EXPECT_TRUE (tilt.isAlwaysOnTop());
    ASSERT_EQ (panel.getNumChildComponents(), 4);
    EXPECT_EQ (panel.getChildComponent (0)->getBounds(), juce::Rectangle<int> (0, 0, 314, 20)) << "header, at the back";
    EXPECT_EQ (panel.getChildComponent (2)->getBounds(), juce::Rectangle<int> (7, 339, 68, 49)) << "logo";

    // Who takes a press: the tilt only on its disc, curves only inside their outline.
    const auto c = display.GetCurve (Curve::C).getBounds().getCentre() + display.getPosition();
    struct Row { juce::Point<int> at; juce::Component* taker; const char* what; };
    const Row rows[] = {
        { { 251, 326 }, &tilt, "tilt centre" },         { { 195, 270 }, &display, "tilt corner over the display" },
        { { 305, 380 }, &panel, "tilt corner over the panel" }, { c + juce::Point<int> (0, -8), &display.GetCurve (Curve::C), "inside C" },
        { { 157, 159 }, &display, "the head lets presses through" }, { { 41, 363 }, &panel, "the logo lets presses through" },
    };
    for (const auto& r : rows)
        EXPECT_EQ (panel.getComponentAt (r.at), r.taker) << r.what;
}

TEST_F (QuorvanePanelTest, EachCallbackWritesOneParameter)
{
    struct Row { std::function<void (QuorvanePanel&)> call; Calls expected; const char* what; };
    const Row rows[] = {
        { [] (QuorvanePanel& p) { p.RotationChanged (90); }, { { 4, 0.25f } }, "rotation" },
        { [] (QuorvanePanel& p) { p.RotationChanged (37); }, { { 4, 37.0f / 360.0f } }, "rotation 37" },
        { [] (QuorvanePanel& p) { p.FrontTiltChanged (135); }, { { 5, 0.75f } }, "front tilt" },
        { [] (QuorvanePanel& p) { p.RearTiltChanged (45); }, { { 6, 0.25f } }, "rear tilt" },
        { [] (QuorvanePanel& p) { p.FrontWidthChanged (80); }, { { 13, 0.44444445f } }, "front width" },
        { [] (QuorvanePanel& p) { p.RearWidthChanged (140); }, { { 14, 0.7777778f } }, "rear width" },
        { [] (QuorvanePanel& p) { p.SurroundWidthChanged (60); }, { { 15, 0.33333334f } }, "surround width" },
        { [] (QuorvanePanel& p) { p.PolarChanged (0, 0.3f); }, { { 9, 0.3f } }, "pair 0: C" },
        { [] (QuorvanePanel& p) { p.PolarChanged (1, 0.3f); }, { { 8, 0.3f } }, "pair 1: L/R" },
        { [] (QuorvanePanel& p) { p.PolarChanged (2, 0.3f); }, { { 11, 0.3f } }, "pair 2: RLs/RRs" },
        { [] (QuorvanePanel& p) { p.PolarChanged (3, 0.3f); }, { { 10, 0.3f } }, "pair 3: Ls/Rs" },
        { [] (QuorvanePanel& p) { p.PolarChanged (4, 0.3f); }, { { 12, 0.3f } }, "pair 4: RC" },
        { [] (QuorvanePanel& p) { p.PolarChanged (5, 0.3f); }, {}, "pair 5 does not exist" },
        { [] (QuorvanePanel& p) { p.PolarChanged (-1, 0.3f); }, {}, "pair -1 does not exist" },
    };

    for (const auto& r : rows)
    {
        const auto before = surroundtest::Values (processor);
        const auto shown = Show();
        calls.calls.clear();
        r.call (panel);
        ExpectCalls (calls.calls, r.expected, r.what);
        EXPECT_EQ (surroundtest::Changed (before, surroundtest::Values (processor)).size(), r.expected.size()) << r.what;
        EXPECT_TRUE (Same (Show(), shown)) << r.what << ": a control moved before the processor said so";
    }
}

TEST_F (QuorvanePanelTest, NotificationsMoveExactlyOneControlWithoutWritingBack)
{
    ShowLayout (kOutputFormat7_1);
    const int p = pattern;
    struct Row { int index; float value; std::vector<int> slots; float shown; };
    const Row rows[] = {
        { 4, 0.25f, { rotation }, 90 },    { 5, 0.75f, { frontTilt }, 135 }, { 6, 0.25f, { rearTilt }, 45 },
        { 5, 2.0f, { frontTilt }, 180 },   { 13, 0.3333f, { front }, 60 },    { 14, 0.5f, { rear }, 90 },
        { 15, 0.25f, { surround }, 45 },   { 13, 3.0f, { front }, 180 },      { 9, 0.3f, { p }, 0.3f },
        { 12, 0.3f, { p + 1 }, 0.3f },     { 8, 0.3f, { p + 2, p + 3 }, 0.3f }, { 10, 0.3f, { p + 4, p + 5 }, 0.3f },
        { 11, 0.3f, { p + 6, p + 7 }, 0.3f },
    };

    for (const auto& r : rows)
    {
        auto expected = Show();
        for (int slot : r.slots)
            expected[(size_t) slot] = r.shown;
        panel.ParameterChangedFloat (r.index, r.value);
        EXPECT_TRUE (Same (Show(), expected)) << "index " << r.index;
        ExpectCalls (calls.calls, {}, "index " + juce::String (r.index));
        panel.ParameterChangedFloat (r.index, 0.5f); // back near the defaults for the next row
    }

    // Indices of other panels, meters, indices out of range and NaN values move nothing.
    const auto shown = Show();
    for (int index : { -1, 0, 1, 2, 3, 7, 16, 22, 34, 35, 37, 40, 41, 49, 50, 1000 })
        panel.ParameterChangedFloat (index, 0.9f);
    for (int index : { 4, 5, 6, 8, 9, 10, 11, 12, 13, 14, 15 })
        panel.ParameterChangedFloat (index, notANumber);
    EXPECT_TRUE (Same (Show(), shown));
    ExpectCalls (calls.calls, {}, "unrelated notifications");
}

TEST_F (QuorvanePanelTest, LayoutChoosesTheCurvesThePatternRangeAndTheTiltMode)
{
    const juce::StringArray names { "C", "RC", "L", "R", "Ls", "Rs", "RLs", "RRs" };
    struct Row { OutputStemFormat format; const char* shown; float low, high; };
    const Row rows[] = {
        { kOutputFormatStereo, "L R", 0.0f, 1.0f },          { kOutputFormat5_0, "C L R Ls Rs", 0.5f, 0.75f },
        { kOutputFormat5_1, "C L R Ls Rs", 0.5f, 0.75f },    { kOutputFormat6_0, "C RC L R Ls Rs", 0.5f, 0.75f },
        { kOutputFormat6_1, "C RC L R Ls Rs", 0.5f, 0.75f }, { kOutputFormat7_0, "C L R Ls Rs RLs RRs", 0.5f, 0.75f },
        { kOutputFormat7_1, "C L R Ls Rs RLs RRs", 0.5f, 0.75f }, { kOutputFormatBFormat, "", 0.5f, 0.75f },
    };

    panel.ParameterChangedFloat (13, 1.0f); // front pair level: L faces straight left
    for (const auto& r : rows)
    {
        processor.UISetOutputFormat (r.format);
        calls.calls.clear();
        processor.UpdateUI();
        juce::Desktop::getInstance().getAnimator().cancelAllAnimations (true);
        const auto what = juce::String ("format ") + juce::String ((int) r.format);

        juce::StringArray visible;
        for (int c = 0; c < 8; ++c)
            if (panel.GetDisplay().GetCurve ((Curve) c).isVisible())
                visible.add (names[c]);
        EXPECT_EQ (visible.joinIntoString (" "), juce::String (r.shown)) << what;

        auto& l = panel.GetDisplay().GetCurve (Curve::L);
        EXPECT_EQ (panel.GetTilt().bFormatMode, r.format == kOutputFormatBFormat) << what;
        ExpectCalls (calls.calls, {}, what);

        if (r.format == kOutputFormatBFormat)
            continue;

        EXPECT_EQ (l.minimum, r.low) << what;
        EXPECT_EQ (l.maximum, r.high) << what;
        // Pattern 0.5 drawn as coefficient low + 0.5 (high - low): the stereo cardioid bulges 3.125 px behind, 0.625 has a 6.25 px lobe.
        EXPECT_NEAR (l.GetPath().getBounds().getRight(), r.format == kOutputFormatStereo ? 40.125f : 43.25f, 0.05f) << what;
    }
}

TEST_F (QuorvanePanelTest, CurvesFadeOverFourHundredMilliseconds)
{
    EXPECT_EQ (fadeMilliseconds, 400);
    ShowLayout (kOutputFormatBFormat);
    auto& l = panel.GetDisplay().GetCurve (Curve::L);
    ASSERT_FALSE (l.isVisible());
    auto& animator = juce::Desktop::getInstance().getAnimator();
    ASSERT_TRUE (qvtest::LetAnimatorRest()) << "the animator never came to rest";
    processor.UISetOutputFormat (kOutputFormat5_1);
    const auto start = juce::Time::getMillisecondCounterHiRes();
    processor.UpdateUI();
    EXPECT_TRUE (l.isVisible());
    EXPECT_EQ (l.getAlpha(), 0.0f);
    EXPECT_TRUE (animator.isAnimating (&l)) << "shown at once instead of faded in";

    // However slowly the machine runs, the fade cannot end before 400 ms of
    // the animator's clock, which started after `start`: a shorter fade (or
    // one that is cut short) ends sooner. How much later it ends is the
    // machine's business; it only has to end.
    ASSERT_TRUE (qvtest::PumpUntil ([&] { return ! animator.isAnimating (&l); })) << "the fade never ended";
    const auto took = juce::Time::getMillisecondCounterHiRes() - start;
    EXPECT_GE (took, 398.0) << "a fade shorter than 400 ms (the two clocks round to whole milliseconds)";
    EXPECT_EQ (l.getAlpha(), 1.0f);
}

//==============================================================================
TEST_F (QuorvanePanelTest, TiltDragsSnapAndWriteOneTilt)
{
    auto& tilt = panel.GetTilt();
    const juce::Point<float> centre (60.0f, 60.0f);
    const auto at = [&] (float degrees) { return At (centre, degrees, 30.0f).toFloat(); };
    struct Row { OutputStemFormat format; float press, drag; Calls expected; const char* what; };
    const Row rows[] = {
        { kOutputFormat5_1, 90, 45, { { 5, 0.75f } }, "front up 45" },
        { kOutputFormat5_1, 90, 135, { { 5, 0.25f } }, "front down 45" },
        { kOutputFormat5_1, 90, 225, { { 5, 0.0f } }, "front past the bottom: straight down" },
        { kOutputFormat5_1, 90, 315, { { 5, 1.0f } }, "front past the top: straight up" },
        { kOutputFormat5_1, 0, 60, { { 5, 2.0f / 3.0f } }, "a press at 12 o'clock is the front half" },
        { kOutputFormat5_1, 270, 225, { { 6, 0.25f } }, "rear down 45" },
        { kOutputFormat5_1, 270, 45, { { 6, 1.0f } }, "rear past the top: straight up" },
        { kOutputFormat5_1, 270, 135, { { 6, 0.0f } }, "rear past the bottom: straight down" },
        { kOutputFormat5_1, 270, 90, { { 6, 0.0f } }, "rear at 90 is below" },
        { kOutputFormat5_1, 90, 90, {}, "the same tilt again: nothing" },
        { kOutputFormatStereo, 270, 225, {}, "stereo has no rear tilt" },
        { kOutputFormatStereo, 90, 60, { { 5, 2.0f / 3.0f } }, "stereo front" },
        { kOutputFormatBFormat, 270, 225, { { 5, 0.75f } }, "B-format: the rear end of the line turns the front" },
        { kOutputFormatBFormat, 90, 45, { { 5, 0.75f } }, "B-format: the front end, the same tilt" },
        { kOutputFormat5_1, 90, -1, {}, "a drag onto the very centre changes nothing" },
    };

    for (const auto& r : rows)
    {
        processor.resetParameterToDefault (5);
        processor.resetParameterToDefault (6);
        ShowLayout (r.format); // the tilts come back level through the refresh
        const auto before = surroundtest::Values (processor);
        tilt.mouseDown (qvtest::MakeMouseEvent (tilt, at (r.press)));
        tilt.mouseDrag (qvtest::MakeMouseEvent (tilt, r.drag < 0 ? centre : at (r.drag)));
        ExpectCalls (calls.calls, r.expected, r.what);
        EXPECT_EQ (surroundtest::Changed (before, surroundtest::Values (processor)).size(), r.expected.size()) << r.what;
    }

    // The setter clamps, tells only a changed request, and ignores NaN (rear tilts told negative here).
    struct Told : SnapTiltComponentListener, juce::Array<int>
    {
        void FrontTiltChanged (int d) override { add (d); }
        void RearTiltChanged (int d) override { add (-d); }
    } told;
    tilt.addListener (&told);
    for (float a : { 200.0f, 180.0f, notANumber, -5.0f, 33.7f })
        tilt.SetFrontTiltAngle (a, true);
    tilt.SetRearTiltAngle (120.0f, true);
    EXPECT_EQ (told, juce::Array<int> ({ 180, 0, 33, -120 }));
    EXPECT_FLOAT_EQ (tilt.GetFrontTiltAngle(), 33.7f);
    tilt.removeListener (&told);

    EXPECT_FALSE (tilt.hitTest (5, 5)) << "corner of the square";
    EXPECT_FALSE (tilt.hitTest (100, 100)) << "outside the 81 px disc";
    EXPECT_TRUE (tilt.hitTest (60, 60));
    EXPECT_TRUE (tilt.hitTest (22, 60)) << "inside the disc's left edge";
}

TEST_F (QuorvanePanelTest, TiltWedgesFollowZoomLayoutAndMode)
{
    auto& tilt = panel.GetTilt();
    const juce::Point<float> centre (60.5f, 60.5f);
    const auto yellow = [] (juce::Colour c) { return c.getBlue() + 40 < juce::jmin (c.getRed(), c.getGreen()); };
    const auto green = [] (juce::Colour c) { return c.getGreen() > c.getRed() + 30 && c.getGreen() > c.getBlue() + 20; };
    enum Seen { none, front, rear };
    struct Row { OutputStemFormat format; float zoom, frontTilt, rearTilt; std::vector<std::pair<float, Seen>> angles; const char* what; };
    const Row rows[] = {
        { kOutputFormat5_1, 0.0f, 90, 90, { { 88, front }, { 80, none }, { 272, rear }, { 258, rear }, { 248, none } }, "zoom 0: 10 and 34 degrees" },
        { kOutputFormat5_1, 1.0f, 90, 90, { { 80, front }, { 66, none }, { 272, rear }, { 280, none } }, "zoom 1: 34 and 10 degrees" },
        { kOutputFormat5_1, 0.5f, 0, 180, { { 178, front }, { 2, rear }, { 90, none } }, "straight down and up" },
        { kOutputFormatStereo, 0.5f, 90, 90, { { 88, front }, { 272, none } }, "no rear wedge in stereo" },
        { kOutputFormatBFormat, 1.0f, 90, 90, { { 80, front }, { 272, front }, { 280, none } }, "B-format: opposite wedge, narrower" },
    };

    for (const auto& r : rows)
    {
        ShowLayout (r.format);
        panel.ParameterChangedFloat (7, r.zoom);
        processor.setParameter (7, r.zoom);
        tilt.SetFrontTiltAngle (r.frontTilt, false);
        tilt.SetRearTiltAngle (r.rearTilt, false);
        const auto image = qvtest::RenderComponent (tilt);

        for (auto [degrees, seen] : r.angles)
        {
            const auto p = At (centre, degrees, 35.0f);
            const auto c = qvtest::PixelAt (image, p.x, p.y);
            const Seen got = yellow (c) ? front : green (c) ? rear : none;
            EXPECT_EQ (got, seen) << r.what << " at " << degrees << " degrees: " << qvtest::Describe (c);
        }
    }
}

//==============================================================================
// Real gestures through the window: hit testing and the display's listening
// to its curves decide who hears what. Each ends with the editor's refresh,
// which must not write anything back.
TEST_F (QuorvanePanelTest, GesturesThroughTheWindowWriteOnceAndMirrorWithoutEcho)
{
    QV_REQUIRE_DISPLAY();
    panel.setTopLeftPosition (0, 0);
    panel.addToDesktop (0);
    panel.setVisible (true);
    ASSERT_NE (panel.getPeer(), nullptr);
    ASSERT_TRUE (qvtest::WaitForWindowOnScreen (panel)) << "the panel's window never showed";

    // A place in the panel, found once the row's layout has placed the curves.
    struct Spot
    {
        enum { disc, curve, tilt } on;
        float a, b;           // disc: degrees and radius; curve and tilt: offset from the centre
        Curve which = Curve::C;
    };
    const auto where = [this] (const Spot& s) {
        const auto& display = panel.GetDisplay();
        if (s.on == Spot::disc)
            return At ({ 157.5f, 159.5f }, s.a, s.b); // the display's centre in the panel
        if (s.on == Spot::tilt)
            return juce::Point<int> (251 + (int) s.a, 326 + (int) s.b);
        return panel.getLocalPoint (&display.GetCurve (s.which), juce::Point<int> (37 + (int) s.a, 37 + (int) s.b));
    };
    const auto on = [] (float degrees, float radius) { return Spot { Spot::disc, degrees, radius }; };
    const auto in = [] (Curve c, float dx, float dy) { return Spot { Spot::curve, dx, dy, c }; };
    const auto tilt = [] (float dx, float dy) { return Spot { Spot::tilt, dx, dy }; };
    const auto shift = juce::ModifierKeys (juce::ModifierKeys::shiftModifier);
    enum Kind { drag, wheel };
    struct Row { OutputStemFormat format; Kind kind; Spot from; std::vector<Spot> to; juce::ModifierKeys mods; Calls expected;
                 float rotationAfter; const char* what;
                 float degreesOff = 0.0f; }; // pointer positions are whole pixels: angles from the display's centre may round a degree off
    const Row rows[] = {
        { kOutputFormat5_1, drag, on (0, 100), { on (90, 100) }, {}, { { 4, 0.25f } }, 90, "disc: marker to 90", 1 },
        { kOutputFormat5_1, drag, on (0, 100), { on (45, 100), on (90, 100) }, {}, { { 4, 0.125f }, { 4, 0.25f } }, 90, "two drag steps, two writes", 1 },
        { kOutputFormat5_1, drag, in (Curve::C, 0, -10), { on (300, 100) }, {}, { { 4, 300.0f / 360.0f } }, 300, "C curve rotates", 1 },
        { kOutputFormat5_1, wheel, on (200, 100), {}, {}, { { 4, 15.0f / 360.0f } }, 15, "wheel up on the disc" },
        { kOutputFormat5_1, wheel, in (Curve::C, 0, -10), {}, {}, { { 4, 15.0f / 360.0f } }, 15, "wheel up on a curve counts once" },
        { kOutputFormat5_1, drag, in (Curve::L, -6, -8), { on (320, 100) }, {}, { { 13, 80.0f / 180.0f } }, 0, "L widens the front", 1 },
        { kOutputFormat5_1, drag, in (Curve::Rs, 6, 8), { on (150, 100) }, {}, { { 14, 60.0f / 180.0f } }, 0, "Rs widens the rear", 1 },
        { kOutputFormat7_1, drag, in (Curve::RLs, -10, 0), { on (240, 100) }, {}, { { 15, 120.0f / 180.0f } }, 0, "RLs widens the sides", 1 },
        { kOutputFormat5_1, drag, in (Curve::C, 0, -10), { in (Curve::C, 1, -10) }, shift, { { 9, 0.51f } }, 0, "Shift on C" },
        { kOutputFormat5_1, drag, in (Curve::R, 6, -8), { in (Curve::R, 6, -7) }, shift, { { 8, 0.49f } }, 0, "Shift on R" },
        { kOutputFormat5_1, drag, in (Curve::Ls, -6, 8), { in (Curve::Ls, -5, 8) }, shift, { { 10, 0.51f } }, 0, "Shift on Ls" },
        { kOutputFormat7_1, drag, in (Curve::RRs, 10, 0), { in (Curve::RRs, 11, 0) }, shift, { { 11, 0.51f } }, 0, "Shift on RRs" },
        { kOutputFormat6_1, drag, in (Curve::RC, 0, 10), { in (Curve::RC, 0, 11) }, shift, { { 12, 0.49f } }, 0, "Shift on RC" },
        { kOutputFormat5_1, drag, tilt (20, 0), { tilt (14, -14) }, {}, { { 5, 0.75f } }, 0, "tilt front" },
        { kOutputFormat5_1, drag, tilt (-20, 0), { tilt (-14, 14) }, {}, { { 6, 0.25f } }, 0, "tilt rear" },
    };

    for (const auto& r : rows)
    {
        ShowLayout (r.format);
        processor.setParameter (4, 0.0f);
        for (int i = 5; i <= 15; ++i)
            processor.resetParameterToDefault (i);
        processor.UpdateUI();
        calls.calls.clear();
        const auto before = surroundtest::Values (processor);

        std::vector<juce::Point<int>> path;
        for (const auto& spot : r.to)
            path.push_back (where (spot));

        if (r.kind == drag)
            qvtest::DragThroughPeer (panel, where (r.from), path, r.mods);
        else
            qvtest::WheelThroughPeer (panel, where (r.from), 1.0f);

        ExpectCalls (calls.calls, r.expected, r.what, (r.degreesOff + 0.01f) / 180.0f);
        std::set<int> indices;
        for (auto [i, v] : r.expected)
            indices.insert (i);
        EXPECT_EQ (surroundtest::Changed (before, surroundtest::Values (processor)).size(), indices.size()) << r.what;

        calls.calls.clear();
        processor.UpdateUI();
        ExpectCalls (calls.calls, {}, juce::String (r.what) + ", refresh");
        EXPECT_NEAR (panel.GetDisplay().GetPlaybackRotation(), r.rotationAfter, r.degreesOff + 1e-3f) << r.what;
    }

    panel.removeFromDesktop();
}
