// Change gestures as hosts hear them: every editor action that writes a
// parameter reports a begin before its first value and an end after its last,
// once per action and per parameter written; a drag holds its gesture from
// press to release, wherever the release happens, and one cut short by
// closing the editor still ends. The actions are sent to the real editor's
// components as the window system would (own handler, then mouse listeners).
#include "PanelTestSupport.h"
#include "PeerGestures.h"

#include "InputPanel.h"
#include "OutputPanel.h"
#include "ParameterContainer.h"
#include "ParamsPanel.h"
#include "Quorvane2AudioProcessorEditor.h"
#include "QuorvanePanel.h"

#include <functional>
#include <memory>
#include <string>

namespace
{
using paneltest::altLeftButton;
using paneltest::leftButton;
using Curve = SurroundDisplayComponent::Curve;

// What the host hears, as text: "B7" a begin on parameter 7, "C7" a value of
// it, "E7" an end, in the order heard.
class GestureLog : public juce::AudioProcessorListener
{
public:
    void audioProcessorParameterChanged (juce::AudioProcessor*, int index, float) override { Add ("C", index); }
    void audioProcessorChanged (juce::AudioProcessor*) override {}
    void audioProcessorParameterChangeGestureBegin (juce::AudioProcessor*, int index) override { Add ("B", index); }
    void audioProcessorParameterChangeGestureEnd (juce::AudioProcessor*, int index) override { Add ("E", index); }

    std::string Take()
    {
        const auto text = heard.joinIntoString (" ").toStdString();
        heard.clear();
        return text;
    }

private:
    void Add (const char* what, int index) { heard.add (what + juce::String (index)); }
    juce::StringArray heard;
};

class EditorGestureTest : public EditorTest
{
public:
    void SetUp() override
    {
        EditorTest::SetUp();
        Open (kOutputFormat5_1);
    }

    void TearDown() override
    {
        Close();
        processor.reset();
        EditorTest::TearDown();
    }

    // A fresh processor with its editor as the adapters open it, in a layout.
    void Open (OutputStemFormat format)
    {
        Close();
        processor = std::make_unique<Quorvane2AudioProcessor>();
        processor->UISetOutputFormat (format);
        editor = dynamic_cast<Quorvane2AudioProcessorEditor*> (processor->createEditorIfNeeded());
        ASSERT_NE (editor, nullptr);
        processor->UpdateUI();
        paneltest::FinishAnimations();
        processor->addListener (&log);
    }

    // As the adapters close the view.
    void Close()
    {
        if (editor != nullptr)
        {
            paneltest::FinishAnimations();
            processor->editorBeingDeleted (editor);
            delete editor;
            editor = nullptr;
        }
    }

    // A parameter away from its default, with the editor showing it.
    void Hold (int index, float value)
    {
        processor->setParameter (index, value);
        processor->UpdateUI();
        log.Take();
    }

    ParamsPanel& Params() { return *editor->getParamsPanel(); }
    InputPanel& Input() { return *editor->getInputPanel(); }
    OutputPanel& Output() { return *editor->getOutputPanel(); }
    QuorvanePanel& Surround() { return *editor->getSurroundPanel(); }
    SurroundDisplayComponent& Display() { return Surround().GetDisplay(); }
    SnapTiltComponent& Tilt() { return Surround().GetTilt(); }
    OutputChannelStrip& Strip (int key) { return *Output().strips[key]; }

    ParameterSlider& Row (int id)
    {
        auto* row = Params().getRow (id);
        if (auto* s = dynamic_cast<SliderParameterContainer*> (row))
            return s->getSlider();
        return dynamic_cast<RotaryParameterContainer&> (*row).getSlider();
    }

    // Mouse events on the display or one of its curves: the curve's own
    // handler, then the display's as the curve's mouse listener.
    enum class Mouse { down, drag, up };
    void OnDisplay (juce::Component& target, Mouse kind, juce::Point<float> inDisplay, juce::ModifierKeys mods = leftButton)
    {
        const auto at = target.getLocalPoint (&Display(), inDisplay);
        const auto e = qvtest::MakeMouseEvent (target, at, mods);
        const auto send = [&] (juce::Component& c) {
            if (kind == Mouse::down)
                c.mouseDown (e);
            else if (kind == Mouse::drag)
                c.mouseDrag (e);
            else
                c.mouseUp (e);
        };
        send (target);
        if (&target != &Display())
            send (Display());
    }
    // A point on the display's disc: degrees clockwise from up, radius 100.
    static juce::Point<float> Disc (float degrees)
    {
        const float a = juce::degreesToRadians (degrees);
        return { 130.5f + 100.0f * std::sin (a), 130.5f - 100.0f * std::cos (a) };
    }
    // A point inside a curve's outline, in display coordinates.
    juce::Point<float> InCurve (Curve c, float dx, float dy)
    {
        auto& curve = Display().GetCurve (c);
        return Display().getLocalPoint (&curve, juce::Point<float> (37.0f + dx, 37.0f + dy));
    }
    // A point on the tilt control's disc: degrees clockwise from up, radius 30.
    static juce::Point<float> OnTilt (float degrees)
    {
        const float a = juce::degreesToRadians (degrees);
        return { 60.0f + 30.0f * std::sin (a), 60.0f - 30.0f * std::cos (a) };
    }
    void TiltEvent (Mouse kind, float degrees)
    {
        const auto e = qvtest::MakeMouseEvent (Tilt(), OnTilt (degrees));
        kind == Mouse::down ? Tilt().mouseDown (e) : kind == Mouse::drag ? Tilt().mouseDrag (e) : Tilt().mouseUp (e);
    }

    std::unique_ptr<Quorvane2AudioProcessor> processor;
    Quorvane2AudioProcessorEditor* editor = nullptr;
    GestureLog log;
};

struct ActionCase
{
    const char* action;
    OutputStemFormat layout;
    std::function<void (EditorGestureTest&)> prepare; // may be empty
    std::function<void (EditorGestureTest&)> act;
    const char* heard;
};
} // namespace

// Each kind of action, through the components it starts from.
TEST_F (EditorGestureTest, EveryActionFramesItsWritesOncePerParameter)
{
    using T = EditorGestureTest;
    using M = Mouse;
    const ActionCase cases[] = {
        // Parameter panel: row 4 is ZOOM (7), row 1 the ROTATION knob (4),
        // row 2 FRONT TILT (5), row 6 the L / R width (13), row 15 ALL (8 to 12).
        { "slider drag", kOutputFormat5_1, {}, [] (T& t) { paneltest::Drag (t.Row (4), { 23, 10 }, { 51, 10 }); }, "B7 C7 C7 E7" },
        { "knob drag", kOutputFormat5_1, {}, [] (T& t) { paneltest::Drag (t.Row (1), { 26, 30 }, { 45, 16 }); }, "B4 C4 C4 E4" },
        { "knob double-click", kOutputFormat5_1, [] (T& t) { t.Hold (4, 0.5f); },
          [] (T& t) { t.Row (1).mouseDoubleClick (qvtest::MakeMouseEvent (t.Row (1), { 26, 16 }, leftButton, 2)); }, "B4 C4 E4" },
        { "typed value", kOutputFormat5_1, {}, [] (T& t) { paneltest::TypeInto (*FindTextBox (t.Row (2)), "30"); }, "B5 C5 E5" },
        { "Alt-click reset", kOutputFormat5_1, [] (T& t) { t.Hold (13, 0.9f); },
          [] (T& t) { paneltest::Click (t.Row (6), { 37, 10 }, altLeftButton); }, "B13 C13 E13" },
        { "wheel step", kOutputFormat5_1, {},
          [] (T& t) {
              juce::MouseWheelDetails wheel {};
              wheel.deltaY = 0.5f;
              t.Row (4).mouseWheelMove (qvtest::MakeMouseEvent (t.Row (4), { 37, 10 }), wheel);
          },
          "B7 C7 E7" },
        { "ALL slider drag", kOutputFormat5_1, {}, [] (T& t) { paneltest::Drag (t.Row (15), { 23, 10 }, { 23, 10 }); },
          "B8 B9 B10 B11 B12 C8 C9 C10 C11 C12 E8 E9 E10 E11 E12" },
        { "ALL Alt-click reset", kOutputFormat5_1, [] (T& t) { t.Hold (8, 0.9f); },
          [] (T& t) { paneltest::Click (t.Row (15), { 37, 10 }, altLeftButton); }, "B8 B9 B10 B11 B12 C8 C9 C10 C11 C12 E8 E9 E10 E11 E12" },
        { "ALL on", kOutputFormat5_1, {}, [] (T& t) { paneltest::Click (t.Params().getAllButton()); },
          "B8 B9 B10 B11 B12 C8 C9 C10 C11 C12 E8 E9 E10 E11 E12" },
        { "ALL off writes nothing", kOutputFormat5_1, [] (T& t) { paneltest::Click (t.Params().getAllButton()); t.log.Take(); },
          [] (T& t) { paneltest::Click (t.Params().getAllButton()); }, "" },

        // Input panel: 0 input level, 1 invert, 2 end fire, 3 filter.
        { "input trim drag", kOutputFormat5_1, {},
          [] (T& t) { paneltest::Drag (*t.Input().trimSlider, paneltest::TrimSliderPoint (76), paneltest::TrimSliderPoint (20)); }, "B0 C0 E0" },
        { "input level typed", kOutputFormat5_1, {}, [] (T& t) { paneltest::TypeInto (*t.Input().trimValueLabel, "-6"); }, "B0 C0 E0" },
        { "input trim Alt-click", kOutputFormat5_1, [] (T& t) { t.Hold (0, 0.2f); },
          [] (T& t) { paneltest::Click (*t.Input().trimSlider, paneltest::TrimSliderPoint (60), altLeftButton); }, "B0 C0 E0" },
        { "INVERT", kOutputFormat5_1, {}, [] (T& t) { paneltest::Click (*t.Input().invertButton); }, "B1 C1 E1" },
        { "END FIRE", kOutputFormat5_1, {}, [] (T& t) { paneltest::Click (*t.Input().endFireButton); }, "B2 C2 E2" },
        { "HI PASS", kOutputFormat5_1, {}, [] (T& t) { paneltest::Click (*t.Input().hiPassButton); }, "B3 C3 E3" },
        { "input format choice", kOutputFormat5_1, {},
          [] (T& t) { t.Input().formatCombo->setSelectedId (1, juce::sendNotificationSync); }, "" }, // no host parameter

        // Output panel, strip keys: 0 L/R, 1 C, 2 LFE, 3 LS/RS.
        { "strip trim drag", kOutputFormat5_1, {},
          [] (T& t) { paneltest::Drag (*t.Strip (2).trimSlider, paneltest::TrimSliderPoint (75), paneltest::TrimSliderPoint (50)); }, "B21 C21 E21" },
        { "strip level typed", kOutputFormat5_1, {}, [] (T& t) { paneltest::TypeInto (*t.Strip (1).valueLabel, "-6"); }, "B17 C17 E17" },
        { "strip Alt-click", kOutputFormat5_1, [] (T& t) { t.Hold (21, 0.2f); },
          [] (T& t) { paneltest::Click (*t.Strip (2).trimSlider, paneltest::TrimSliderPoint (90), altLeftButton); }, "B21 C21 E21" },
        { "M", kOutputFormat5_1, {}, [] (T& t) { paneltest::Click (*t.Strip (1).muteButton); }, "B24 C24 E24" },
        { "S", kOutputFormat5_1, {}, [] (T& t) { paneltest::Click (*t.Strip (3).soloButton); }, "B31 C31 E31" },
        { "layout choice", kOutputFormat5_1, {}, // the L / R pattern is sent again; the layout is no host parameter
          [] (T& t) { t.Output().formatCombo->setSelectedId (7, juce::sendNotificationSync); }, "B8 C8 E8" },

        // Surround display and tilt control.
        { "display drag", kOutputFormat5_1, {},
          [] (T& t) {
              t.OnDisplay (t.Display(), M::down, Disc (0));
              t.OnDisplay (t.Display(), M::drag, Disc (45));
              t.OnDisplay (t.Display(), M::drag, Disc (90));
              t.OnDisplay (t.Display(), M::up, Disc (90));
          },
          "B4 C4 C4 E4" },
        { "display drag moving two", kOutputFormat5_1, {},
          [] (T& t) {
              auto& c = t.Display().GetCurve (Curve::C);
              t.OnDisplay (c, M::down, t.InCurve (Curve::C, 0, -10));
              t.OnDisplay (c, M::drag, Disc (300));                                       // rotates
              t.OnDisplay (c, M::drag, t.InCurve (Curve::C, 1, -10), juce::ModifierKeys (juce::ModifierKeys::shiftModifier | juce::ModifierKeys::leftButtonModifier)); // C pattern
              t.OnDisplay (c, M::up, t.InCurve (Curve::C, 1, -10));
          },
          "B4 C4 B9 C9 E4 E9" },
        { "curve drag", kOutputFormat5_1, {},
          [] (T& t) {
              auto& l = t.Display().GetCurve (Curve::L);
              t.OnDisplay (l, M::down, t.InCurve (Curve::L, -6, -8));
              t.OnDisplay (l, M::drag, Disc (320));
              t.OnDisplay (l, M::up, Disc (320));
          },
          "B13 C13 E13" },
        { "curve Shift-drag", kOutputFormat6_1, {},
          [] (T& t) {
              const juce::ModifierKeys shift (juce::ModifierKeys::shiftModifier | juce::ModifierKeys::leftButtonModifier);
              auto& rc = t.Display().GetCurve (Curve::RC);
              t.OnDisplay (rc, M::down, t.InCurve (Curve::RC, 0, 10), shift);
              t.OnDisplay (rc, M::drag, t.InCurve (Curve::RC, 0, 11), shift);
              t.OnDisplay (rc, M::drag, t.InCurve (Curve::RC, 0, 12), shift);
              t.OnDisplay (rc, M::up, t.InCurve (Curve::RC, 0, 12), shift);
          },
          "B12 C12 C12 E12" },
        { "display wheel step", kOutputFormat5_1, {},
          [] (T& t) {
              juce::MouseWheelDetails wheel {};
              wheel.deltaY = 1.0f;
              t.Display().mouseWheelMove (qvtest::MakeMouseEvent (t.Display(), Disc (200)), wheel);
          },
          "B4 C4 E4" },
        { "front tilt drag", kOutputFormat5_1, {},
          [] (T& t) { t.TiltEvent (M::down, 90); t.TiltEvent (M::drag, 45); t.TiltEvent (M::drag, 135); t.TiltEvent (M::up, 135); },
          "B5 C5 C5 E5" },
        { "rear tilt drag", kOutputFormat5_1, {},
          [] (T& t) { t.TiltEvent (M::down, 270); t.TiltEvent (M::drag, 225); t.TiltEvent (M::up, 225); }, "B6 C6 E6" },
        { "rear half in stereo moves nothing", kOutputFormatStereo, {},
          [] (T& t) { t.TiltEvent (M::down, 270); t.TiltEvent (M::drag, 225); t.TiltEvent (M::up, 225); }, "" },
    };

    for (const auto& c : cases)
    {
        Open (c.layout);
        if (c.prepare)
            c.prepare (*this);
        log.Take();
        c.act (*this);
        EXPECT_EQ (log.Take(), std::string (c.heard)) << c.action;

        // The editor's refresh after it moves controls without writing back.
        processor->UpdateUI();
        EXPECT_EQ (log.Take(), std::string()) << c.action << ": refresh";
    }

    // The input format choice did reach the processor, though no host hears of it.
    Open (kOutputFormat5_1);
    Input().formatCombo->setSelectedId (1, juce::sendNotificationSync);
    EXPECT_EQ (processor->GetInputFormat(), Quorvane2AudioProcessor::kAFormat);
}

// A drag holds its gesture from the press: the begin comes before any value
// and the end only with the release, wherever the pointer is then.
TEST_F (EditorGestureTest, DragsBeginAtThePressAndEndWithTheReleaseEvenOutside)
{
    using T = EditorGestureTest;
    using M = Mouse;
    const juce::Point<float> farAway (-400.0f, 900.0f);
    struct Case
    {
        const char* drag;
        std::function<void (T&)> press, move, release;
        const char* atPress;
        const char* atRelease;
    };
    const Case cases[] = {
        { "slider", [] (T& t) { t.Row (4).mouseDown (qvtest::MakeMouseEvent (t.Row (4), { 23, 10 }, leftButton)); },
          [&] (T& t) { t.Row (4).mouseDrag (qvtest::MakeMouseEvent (t.Row (4), farAway, leftButton)); },
          [&] (T& t) { t.Row (4).mouseUp (qvtest::MakeMouseEvent (t.Row (4), farAway, leftButton)); },
          "B7 C7", "C7 E7" }, // the press already moves the slider to the pointer
        { "strip trim", [] (T& t) { t.Strip (2).trimSlider->mouseDown (qvtest::MakeMouseEvent (*t.Strip (2).trimSlider, paneltest::TrimSliderPoint (75), leftButton)); },
          [&] (T& t) { t.Strip (2).trimSlider->mouseDrag (qvtest::MakeMouseEvent (*t.Strip (2).trimSlider, farAway, leftButton)); },
          [&] (T& t) { t.Strip (2).trimSlider->mouseUp (qvtest::MakeMouseEvent (*t.Strip (2).trimSlider, farAway, leftButton)); },
          "B21", "C21 E21" },
        { "display", [] (T& t) { t.OnDisplay (t.Display(), M::down, Disc (0)); },
          [&] (T& t) { t.OnDisplay (t.Display(), M::drag, farAway); },
          [&] (T& t) { t.OnDisplay (t.Display(), M::up, farAway); },
          "B4", "C4 E4" },
        { "tilt", [] (T& t) { t.TiltEvent (M::down, 90); },
          [&] (T& t) { t.Tilt().mouseDrag (qvtest::MakeMouseEvent (t.Tilt(), farAway)); },
          [&] (T& t) { t.Tilt().mouseUp (qvtest::MakeMouseEvent (t.Tilt(), farAway)); },
          "B5", "C5 E5" },
    };

    for (const auto& c : cases)
    {
        Open (kOutputFormat5_1);
        c.press (*this);
        EXPECT_EQ (log.Take(), std::string (c.atPress)) << c.drag << ": press";
        c.move (*this);
        c.release (*this);
        EXPECT_EQ (log.Take(), std::string (c.atRelease)) << c.drag << ": drag out and release outside";
    }
}

// Closing the editor in the middle of a drag ends the drag's gesture: no
// parameter stays touched in the host.
TEST_F (EditorGestureTest, ADragCutShortByClosingTheEditorStillEnds)
{
    using T = EditorGestureTest;
    using M = Mouse;
    struct Case
    {
        const char* drag;
        std::function<void (T&)> start;
        const char* heard;
    };
    const Case cases[] = {
        { "slider", [] (T& t) { t.Row (4).mouseDown (qvtest::MakeMouseEvent (t.Row (4), { 23, 10 }, leftButton)); }, "B7 C7 E7" },
        { "knob", [] (T& t) { t.Row (1).mouseDown (qvtest::MakeMouseEvent (t.Row (1), { 26, 30 }, leftButton)); }, "B4 C4 E4" },
        { "ALL row", [] (T& t) { t.Row (15).mouseDown (qvtest::MakeMouseEvent (t.Row (15), { 23, 10 }, leftButton)); },
          "B8 B9 B10 B11 B12 C8 C9 C10 C11 C12 E8 E9 E10 E11 E12" },
        { "input trim", [] (T& t) { t.Input().trimSlider->mouseDown (qvtest::MakeMouseEvent (*t.Input().trimSlider, paneltest::TrimSliderPoint (20), leftButton)); },
          "B0 C0 E0" },
        { "strip trim", [] (T& t) { t.Strip (3).trimSlider->mouseDown (qvtest::MakeMouseEvent (*t.Strip (3).trimSlider, paneltest::TrimSliderPoint (50), leftButton)); },
          "B18 C18 E18" },
        { "display", [] (T& t) { t.OnDisplay (t.Display(), M::down, Disc (0)); t.OnDisplay (t.Display(), M::drag, Disc (90)); }, "B4 C4 E4" },
        { "tilt", [] (T& t) { t.TiltEvent (M::down, 270); t.TiltEvent (M::drag, 225); }, "B6 C6 E6" },
    };

    for (const auto& c : cases)
    {
        Open (kOutputFormat5_1);
        c.start (*this);
        Close();
        EXPECT_EQ (log.Take(), std::string (c.heard)) << c.drag;
    }
}

// Through a real window: the press, drag and release go through the
// window's own event handling, hit testing and mouse listeners included.
TEST_F (EditorGestureTest, DragsThroughTheWindowFrameTheirWrites)
{
    QV_REQUIRE_DISPLAY();
    editor->setTopLeftPosition (0, 0);
    editor->addToDesktop (0);
    editor->setVisible (true);
    ASSERT_NE (editor->getPeer(), nullptr);

    auto& zoom = Row (4);
    const auto inEditor = [&] (juce::Component& c, juce::Point<int> p) { return editor->getLocalPoint (&c, p); };
    qvtest::DragThroughPeer (*editor, inEditor (zoom, { 23, 10 }), { inEditor (zoom, { 51, 10 }) });
    EXPECT_EQ (log.Take(), "B7 C7 C7 E7") << "ZOOM slider";

    // The front half of the tilt control, dragged up 45 degrees.
    const auto tilt = [&] (float degrees) { return inEditor (Tilt(), OnTilt (degrees).roundToInt()); };
    qvtest::DragThroughPeer (*editor, tilt (90), { tilt (45) });
    EXPECT_EQ (log.Take(), "B5 C5 E5") << "tilt control";

    // The L curve widened from a press inside its outline.
    const auto lCurve = inEditor (Display(), InCurve (Curve::L, -6, -8).roundToInt());
    qvtest::DragThroughPeer (*editor, lCurve, { inEditor (Display(), Disc (320).roundToInt()) });
    EXPECT_EQ (log.Take(), "B13 C13 E13") << "L curve";

    editor->removeFromDesktop();
}
