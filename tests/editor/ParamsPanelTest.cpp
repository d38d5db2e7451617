// The parameter panel on a real processor: its rows, what each gesture asks
// of the processor, how the rows follow the processor's notifications, and
// which rows each output layout shows once the slides have ended.
#include <gtest/gtest.h>

#include "ComponentSnapshot.h"
#include "EditorTestFixture.h"
#include "GuiTestEnvironment.h"
#include "ParamsPanel.h"

#include <array>
#include <climits>
#include <cmath>
#include <limits>
#include <map>
#include <vector>

namespace
{
struct Call
{
    int index;
    float value;
    bool operator== (const Call& o) const { return index == o.index && std::abs (value - o.value) <= 1.0e-6f; }
};
std::ostream& operator<< (std::ostream& os, const Call& c) { return os << "(" << c.index << ", " << c.value << ")"; }

// What the host hears: every setParameterNotifyingHost of the processor.
struct HostEar : juce::AudioProcessorListener
{
    void audioProcessorParameterChanged (juce::AudioProcessor*, int index, float value) override { calls.push_back ({ index, value }); }
    void audioProcessorChanged (juce::AudioProcessor*) override {}
    std::vector<Call> calls;
};

const auto leftButton = juce::ModifierKeys (juce::ModifierKeys::leftButtonModifier);
const auto altLeftButton = juce::ModifierKeys (juce::ModifierKeys::altModifier | juce::ModifierKeys::leftButtonModifier);

void FinishSlides() { juce::Desktop::getInstance().getAnimator().cancelAllAnimations (true); }

// A fresh processor and its panel, brought up to date as when the editor
// opens (the full update, then a refresh), slides ended, nothing heard yet.
class ParamsPanelTest : public EditorTest
{
protected:
    void SetUp() override
    {
        EditorTest::SetUp();

        if (! qvtest::HasDisplay())
            GTEST_SKIP() << "the slides need a display: run under xvfb-run";

        processor.addListener (&host);
        panel = std::make_unique<ParamsPanel> (processor);
        panel->setBounds (315, 162, 206, 332);
        processor.FullUIUpdate();
        processor.UpdateUI();
        FinishSlides();
    }

    void TearDown() override
    {
        FinishSlides();
        panel.reset();
        processor.removeListener (&host);
        EditorTest::TearDown();
    }

    ParameterSlider& Slider (int id)
    {
        auto* row = panel->getRow (id);
        if (auto* s = dynamic_cast<SliderParameterContainer*> (row))
            return s->getSlider();
        return dynamic_cast<RotaryParameterContainer&> (*row).getSlider();
    }

    void Layout (OutputStemFormat format)
    {
        processor.UISetOutputFormat (format);
        processor.UpdateUI();
        FinishSlides();
    }

    std::array<float, 37> Parameters()
    {
        std::array<float, 37> v {};
        for (int i = 0; i < 37; ++i)
            v[(size_t) i] = processor.getParameter (i);
        return v;
    }

    // Runs a gesture; the host must hear exactly `calls` and exactly the
    // parameters `changed` may move.
    template <typename Gesture>
    void ExpectOnly (const char* what, Gesture&& gesture, const std::vector<Call>& calls, const std::vector<int>& changed)
    {
        const auto before = Parameters();
        host.calls.clear();
        gesture();
        EXPECT_EQ (host.calls, calls) << what;
        const auto after = Parameters();
        std::vector<int> moved;
        for (int i = 0; i < 37; ++i)
            if (before[(size_t) i] != after[(size_t) i])
                moved.push_back (i);
        EXPECT_EQ (moved, changed) << what;
    }

    std::map<int, double> SliderValues()
    {
        std::map<int, double> v;
        for (int id : { 1, 2, 3, 4, 6, 7, 8, 10, 11, 12, 13, 14, 15 })
            v[id] = Slider (id).getValue();
        return v;
    }

    Quorvane2AudioProcessor processor;
    HostEar host;
    std::unique_ptr<ParamsPanel> panel;
};

void Type (juce::Slider& slider, const juce::String& text)
{
    auto* box = FindTextBox (slider);
    ASSERT_NE (box, nullptr);
    box->showEditor();
    ASSERT_NE (box->getCurrentTextEditor(), nullptr);
    box->getCurrentTextEditor()->setText (text, false);
    box->hideEditor (false);
}

void Press (juce::Component& c, juce::Point<float> at, juce::ModifierKeys mods = leftButton)
{
    c.mouseDown (qvtest::MakeMouseEvent (c, at, mods));
}
void Click (juce::Component& c)
{
    const auto centre = c.getLocalBounds().getCentre().toFloat();
    c.mouseDown (qvtest::MakeMouseEvent (c, centre, leftButton));
    c.mouseUp (qvtest::MakeMouseEvent (c, centre, leftButton));
}
void DragAndRelease (juce::Component& c, juce::Point<float> to)
{
    c.mouseDrag (qvtest::MakeMouseEvent (c, to, leftButton));
    c.mouseUp (qvtest::MakeMouseEvent (c, to, leftButton));
}
} // namespace

//==============================================================================
TEST_F (ParamsPanelTest, RowsOfTheTableAtTheirConstructionPlaces)
{
    ParamsPanel fresh (processor); // no layout applied yet: 5-pixel gaps, every row shown
    struct Row { int id; const char* text; int y, height; };
    const Row table[] = { { 0, "MIC ORIENTATION", 5, 18 }, { 1, "ROTATION", 28, 28 }, { 2, "FRONT TILT", 61, 20 },
                          { 3, "REAR TILT", 86, 20 },      { 4, "ZOOM", 111, 20 },    { 5, "WIDTH", 136, 18 },
                          { 6, "L / R", 159, 20 },         { 8, "RLS / RRS", 184, 20 }, { 7, "LS / RS", 209, 20 },
                          { 9, "POLARS", 234, 18 },        { 15, "ALL", 257, 20 },    { 11, "C", 257, 20 },
                          { 10, "L / R", 282, 20 },        { 13, "RLS / RRS", 307, 20 }, { 12, "LS / RS", 332, 20 },
                          { 14, "R C", 357, 20 } };
    for (const auto& r : table)
    {
        auto* row = fresh.getRow (r.id);
        ASSERT_NE (row, nullptr) << r.id;
        EXPECT_EQ (row->getBounds(), juce::Rectangle<int> (5, r.y, 216, r.height)) << "row " << r.id;
        EXPECT_EQ (row->getParentComponent(), &fresh);
        juce::Label* label = nullptr;
        if (auto* s = dynamic_cast<SliderParameterContainer*> (row))
        {
            label = &s->getLabel();
            EXPECT_EQ (label->getRight(), 84) << "row " << r.id << ": the name stands left of the slider";
        }
        else if (auto* k = dynamic_cast<RotaryParameterContainer*> (row))
        {
            label = &k->getLabel();
            EXPECT_EQ (label->getBounds(), juce::Rectangle<int> (7, 5, 72, 18));
            EXPECT_EQ (label->getJustificationType(), juce::Justification::centredRight);
        }
        else
        {
            label = &dynamic_cast<LabelContainer&> (*row).getLabel();
            EXPECT_EQ (label->getBounds(), juce::Rectangle<int> (0, 0, 196, 17));
            EXPECT_EQ (label->getFont().getHeight(), 13.0f);
            EXPECT_TRUE (label->getFont().isBold());
        }
        EXPECT_EQ (label->getText(), r.text) << "row " << r.id;
    }
    EXPECT_EQ (fresh.getName(), "Params");
    auto& all = fresh.getAllButton();
    EXPECT_EQ (all.getParentComponent(), fresh.getRow (9));
    EXPECT_EQ (all.getBounds(), juce::Rectangle<int> (167, 2, 27, 13));
    EXPECT_EQ (all.getName(), "ALL");
    EXPECT_EQ (all.glowColour, juce::Colours::orange);
    EXPECT_EQ (processor.quorvaneListeners.size(), 2) << "each panel registers once";
}

TEST_F (ParamsPanelTest, SlidersOfEachRow)
{
    struct Row { int id, divisor; bool centred, raw; double interval; juce::Colour track; };
    const Row table[] = {
        { 2, 180, true, false, 1.0f / 90.0f, QVLookAndFeel::Col_LRPolar },
        { 3, 180, true, false, 1.0f / 90.0f, QVLookAndFeel::Col_LsRsPolar },
        { 4, 1, true, false, 1.0f / 100.0f, juce::Colours::white },
        { 6, 180, false, false, 1.0f / 180.0f, QVLookAndFeel::Col_LRPolar },
        { 7, 180, false, false, 1.0f / 180.0f, QVLookAndFeel::Col_LsRsPolar },
        { 8, 180, false, false, 1.0f / 180.0f, QVLookAndFeel::Col_RLsRRsPolar },
        { 10, 100, false, true, 1.0f / 100.0f, QVLookAndFeel::Col_LRPolar },
        { 11, 100, false, true, 1.0f / 100.0f, QVLookAndFeel::Col_CentrePolar },
        { 12, 100, false, true, 1.0f / 100.0f, QVLookAndFeel::Col_LsRsPolar },
        { 13, 100, false, true, 1.0f / 100.0f, QVLookAndFeel::Col_RLsRRsPolar },
        { 14, 100, false, true, 1.0f / 100.0f, QVLookAndFeel::Col_RLsRRsPolar },
        { 15, 100, false, true, 1.0f / 100.0f, juce::Colours::white },
    };
    for (const auto& r : table)
    {
        auto& s = Slider (r.id);
        const auto where = "row " + std::to_string (r.id);
        EXPECT_TRUE (s.paramId == r.id && s.divisor == r.divisor && s.centred == r.centred && s.raw == r.raw) << where;
        EXPECT_EQ (s.getInterval(), r.interval) << where;
        EXPECT_EQ (s.findColour (juce::Slider::trackColourId), r.track) << where;
        EXPECT_EQ (s.getSliderStyle(), juce::Slider::LinearHorizontal);
        EXPECT_EQ (s.getBounds(), juce::Rectangle<int> (84, 0, 112, 20));
        EXPECT_EQ (FindTextBox (s)->getBounds(), juce::Rectangle<int> (74, 1, 38, 18)) << where << ": value box on the right";
        EXPECT_EQ (s.findColour (juce::Slider::textBoxBackgroundColourId).getARGB(), 0x33000000u);
        EXPECT_TRUE (s.isTextBoxEditable() && s.listener == panel.get()) << where;
    }

    auto& knob = Slider (1);
    EXPECT_EQ (knob.getSliderStyle(), juce::Slider::Rotary);
    EXPECT_EQ (knob.getBounds(), juce::Rectangle<int> (105, -2, 90, 33));
    EXPECT_EQ (FindTextBox (knob)->getBounds(), juce::Rectangle<int> (52, 7, 38, 18));
    EXPECT_TRUE (knob.divisor == 360 && ! knob.centred && ! knob.raw && knob.listener == panel.get());
    EXPECT_EQ (knob.getInterval(), (double) (1.0f / 360.0f));
    const auto rotary = knob.getRotaryParameters();
    EXPECT_EQ (rotary.startAngleRadians, 2.0f * juce::MathConstants<float>::pi);
    EXPECT_EQ (rotary.endAngleRadians, 4.0f * juce::MathConstants<float>::pi);
    EXPECT_FALSE (rotary.stopAtEnd) << "the knob is endless";
    EXPECT_TRUE (knob.isDoubleClickReturnEnabled() && knob.getDoubleClickReturnValue() == 0.0);
    EXPECT_EQ (knob.findColour (juce::Slider::trackColourId).getARGB(), 0x80000000u);
}

TEST_F (ParamsPanelTest, ValueBoxesAreReadOnlyUnderSteinbergHosts)
{
    const std::pair<HostType::Type, bool> hosts[] = { { HostType::SteinbergCubase4, false }, { HostType::SteinbergNuendo, false },
                                                      { HostType::UnknownHost, true }, { HostType::AbletonLive8, true } };
    for (auto [host, editable] : hosts)
    {
        HostType::SetHostTypeForTesting (host);
        ParamsPanel other (processor);
        for (int id : { 1, 2, 4, 7, 10, 15 })
        {
            auto* row = other.getRow (id);
            auto& s = id == 1 ? dynamic_cast<RotaryParameterContainer&> (*row).getSlider()
                              : dynamic_cast<SliderParameterContainer&> (*row).getSlider();
            EXPECT_EQ (s.isTextBoxEditable(), editable) << "host " << host << ", row " << id;
            EXPECT_EQ (FindTextBox (s)->isEditable(), editable) << "host " << host << ", row " << id;
        }
    }
}

//==============================================================================
TEST_F (ParamsPanelTest, TypedValuesWriteTheirParameterAndShowAgain)
{
    struct Case { int row; const char* typed; std::vector<Call> calls; const char* shown; };
    const Case cases[] = {
        { 1, "90", { { 4, 0.25f } }, " 90" },
        { 1, "400", { { 4, 1.0f } }, "  0" },            // past a full turn: the top, which is 0 degrees
        { 2, "30", { { 5, 0.6666667f } }, " 30" },        // 30 / 180 + 0.5
        { 2, "31.2", { { 5, 0.6777778f } }, " 32" },      // snapped to 61/90
        { 3, "-44 deg", { { 6, 0.25555557f } }, "-44" },  // a unit after the number is ignored
        { 4, "0.2", { { 7, 0.7f } }, "0.20" },            // zoom shows its value less 0.5
        { 4, "-0.5", { { 7, 0.0f } }, "-0.50" },
        { 6, "90", { { 13, 0.5f } }, " 90" },
        { 7, "60", { { 14, 0.33333334f } }, " 60" },
        { 8, "45", { { 15, 0.25f } }, " 45" },
        { 10, "0.8", { { 8, 0.8f } }, "0.80" },
        { 11, "0.8", { { 9, 0.8f } }, "0.80" },
        { 12, "0.8", { { 10, 0.8f } }, "0.80" },
        { 13, "0.8", { { 11, 0.8f } }, "0.80" },
        { 14, "0.8", { { 12, 0.8f } }, "0.80" },
        { 15, "0.25", { { 8, 0.25f }, { 9, 0.25f }, { 10, 0.25f }, { 11, 0.25f }, { 12, 0.25f } }, "0.25" },
        { 11, "7", { { 9, 1.0f } }, "1.00" },              // a pattern above 1 is the top
    };
    for (const auto& c : cases)
    {
        std::vector<int> changed;
        for (const auto& call : c.calls)
            changed.push_back (call.index);
        auto& slider = Slider (c.row);
        ExpectOnly (c.typed, [&] { Type (slider, c.typed); }, c.calls, changed);
        EXPECT_EQ (FindTextBox (slider)->getText(), c.shown) << "row " << c.row << " typed " << c.typed;
        EXPECT_FLOAT_EQ (processor.getParameter (c.calls.back().index), c.calls.back().value);
        processor.UpdateUI(); // the rows follow before the next entry
    }
}

TEST_F (ParamsPanelTest, TypedTextWithoutAFiniteNumberChangesNothing)
{
    for (int row : { 1, 2, 4, 7, 12, 15 })
    {
        auto& slider = Slider (row);
        const auto shownBefore = FindTextBox (slider)->getText();
        const double valueBefore = slider.getValue();
        for (const char* text : { "abc", "", "nan", "inf", "-inf", "1e40", "+-3", "." })
        {
            ExpectOnly (text, [&] { Type (slider, text); }, {}, {});
            EXPECT_EQ (slider.getValue(), valueBefore) << "row " << row << " \"" << text << "\"";
            EXPECT_EQ (FindTextBox (slider)->getText(), shownBefore) << "row " << row << " \"" << text << "\"";
        }
    }
}

TEST_F (ParamsPanelTest, DragsAndDoubleClickWriteOnlyTheirParameter)
{
    // A row's slider runs from x 9 to x 65 (its value box takes the right 38
    // pixels, the thumb 9 at either end); the knob's centre is (26, 16).
    struct Case { int row; juce::Point<float> press, drag; std::vector<Call> calls; std::vector<int> changed; };
    const Case cases[] = {
        { 15, { 23, 10 }, { 23, 10 }, { { 8, 0.25f }, { 9, 0.25f }, { 10, 0.25f }, { 11, 0.25f }, { 12, 0.25f } }, { 8, 9, 10, 11, 12 } },
        { 4, { 23, 10 }, { 51, 10 }, { { 7, 0.25f }, { 7, 0.75f } }, { 7 } },
        { 2, { 65, 10 }, { -20, 10 }, { { 5, 1.0f }, { 5, 0.0f } }, { 5 } },
        { 3, { 37, 10 }, { 65, 10 }, { { 6, 1.0f } }, { 6 } },      // the press lands on the value held: no write
        { 6, { 23, 10 }, { 90, 10 }, { { 13, 0.25f }, { 13, 1.0f } }, { 13 } },
        { 8, { 9, 10 }, { 37, 10 }, { { 15, 0.0f }, { 15, 0.5f } }, { 15 } },
        { 11, { 51, 10 }, { 200, 10 }, { { 9, 0.75f }, { 9, 1.0f } }, { 9 } },
        { 14, { 51, 10 }, { 51, 10 }, { { 12, 0.75f } }, { 12 } },
        { 1, { 26, 30 }, { 45, 16 }, { { 4, 0.5f }, { 4, 0.25f } }, { 4 } },   // below the centre 180, right of it 90
        { 1, { 7, 16 }, { 7, 16 }, { { 4, 0.75f } }, { 4 } },                  // left of it 270
    };
    for (const auto& c : cases)
    {
        auto& slider = Slider (c.row);
        const auto others = SliderValues();
        ExpectOnly ("drag", [&] { Press (slider, c.press); DragAndRelease (slider, c.drag); }, c.calls, c.changed);
        for (auto [id, value] : others)
            if (id != c.row)
                EXPECT_EQ (Slider (id).getValue(), value) << "dragging row " << c.row << " moved row " << id;
    }

    processor.UpdateUI();
    ExpectOnly ("double-click", [&] { Slider (1).mouseDoubleClick (qvtest::MakeMouseEvent (Slider (1), { 26, 16 }, leftButton, 2)); },
                { { 4, 0.0f } }, { 4 });
}

TEST_F (ParamsPanelTest, AltClickResetsAndTellsTheHost)
{
    // Every row's parameter away from its default first.
    for (int index : { 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15 })
        processor.setParameter (index, 0.9f);
    processor.UpdateUI();

    struct Case { int row; std::vector<int> reset; float defaultValue; };
    const Case cases[] = {
        { 1, { 4 }, 0.0f }, { 2, { 5 }, 0.5f }, { 3, { 6 }, 0.5f }, { 4, { 7 }, 0.5f },
        { 6, { 13 }, 0.33333334f }, { 7, { 14 }, 0.6111111f }, { 8, { 15 }, 1.0f },
        { 10, { 8 }, 0.5f }, { 11, { 9 }, 0.5f }, { 12, { 10 }, 0.5f }, { 13, { 11 }, 0.5f }, { 14, { 12 }, 0.5f },
        { 15, { 8, 9, 10, 11, 12 }, 0.5f },
    };
    for (const auto& c : cases)
    {
        for (int index : c.reset)
            processor.setParameter (index, 0.9f);
        processor.UpdateUI();
        auto& slider = Slider (c.row);
        const double held = slider.getValue();
        std::vector<Call> told;
        for (int index : c.reset)
            told.push_back ({ index, c.defaultValue });
        ExpectOnly ("Alt-click", [&] { Press (slider, { 37, 10 }, altLeftButton); slider.mouseUp (qvtest::MakeMouseEvent (slider, { 37, 10 }, altLeftButton)); },
                    told, c.reset);
        for (int index : c.reset)
            EXPECT_FLOAT_EQ (processor.getParameter (index), c.defaultValue) << "row " << c.row << " parameter " << index;
        EXPECT_EQ (slider.getValue(), held) << "row " << c.row << " moves only when the processor says so";
        processor.UpdateUI();
        EXPECT_NEAR (slider.getValue(), c.defaultValue, 0.006) << "row " << c.row << " after the refresh";
    }
}

//==============================================================================
TEST_F (ParamsPanelTest, NotificationsMoveExactlyTheirRowsAndWriteNothing)
{
    struct Case { int index; float value; std::vector<int> rows; double position; const char* shown; };
    const Case cases[] = {
        { 4, 0.25f, { 1 }, 0.25, " 90" },         { 5, 0.6666667f, { 2 }, 0.6666667, " 30" },
        { 6, 0.2f, { 3 }, 0.2, "-54" },           { 7, 0.7f, { 4 }, 0.7, "0.20" },
        { 8, 0.3f, { 10, 15 }, 0.3, "0.30" },     { 9, 0.8f, { 11 }, 0.8, "0.80" },
        { 10, 0.1f, { 12 }, 0.1, "0.10" },        { 11, 0.2f, { 13 }, 0.2, "0.20" },
        { 12, 0.4f, { 14 }, 0.4, "0.40" },        { 13, 0.5f, { 6 }, 0.5, " 90" },
        { 14, 0.25f, { 7 }, 0.25, " 45" },        { 15, 0.75f, { 8 }, 0.75, "135" },
        { 5, 0.5f, { 2 }, 0.5, "  0" },
        // The slider stays on 45/90, only the processor's text moves from 0 to 1 degree.
        { 5, 0.503f, { 2 }, 0.5, "  1" },
    };
    for (const auto& c : cases)
    {
        processor.setParameter (c.index, c.value);
        const auto before = SliderValues();
        ExpectOnly ("notification", [&] { processor.UpdateUI(); }, {}, {});
        for (auto [id, value] : before)
        {
            if (std::find (c.rows.begin(), c.rows.end(), id) != c.rows.end())
            {
                EXPECT_NEAR (Slider (id).getValue(), c.position, 1.0e-6) << "parameter " << c.index << ", row " << id;
                EXPECT_EQ (FindTextBox (Slider (id))->getText(), c.shown) << "parameter " << c.index << ", row " << id;
            }
            else
                EXPECT_EQ (Slider (id).getValue(), value) << "parameter " << c.index << " moved row " << id;
        }
    }
}

TEST_F (ParamsPanelTest, NotificationsOutsideTheRowsAreIgnored)
{
    const auto before = SliderValues();
    const auto bounds = panel->getRow (3)->getBounds();
    const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
    const std::pair<int, float> notes[] = { { -1, 0.9f }, { 0, 0.9f }, { 3, 0.9f }, { 16, 0.9f }, { 35, 0.0f }, { 37, 0.9f },
                                            { 49, 0.9f }, { 50, 0.9f }, { INT_MAX, 0.9f }, { INT_MIN, 0.9f },
                                            { 5, nan }, { 8, inf }, { 4, -inf } };
    for (auto [index, value] : notes)
        ExpectOnly ("stray notification", [&] { panel->ParameterChangedFloat (index, value); }, {}, {});
    FinishSlides();
    EXPECT_EQ (SliderValues(), before);
    EXPECT_EQ (panel->getRow (3)->getBounds(), bounds);
}

//==============================================================================
TEST_F (ParamsPanelTest, RowsShownPerLayoutAfterTheSlides)
{
    using Column = std::vector<std::pair<int, int>>; // {row id, y}
    const Column stereo = { { 0, 5 }, { 1, 25 }, { 2, 55 }, { 4, 77 }, { 5, 99 }, { 6, 119 }, { 9, 141 }, { 10, 161 } };
    const Column top5 = { { 0, 5 }, { 1, 25 }, { 2, 55 }, { 3, 77 }, { 4, 99 }, { 5, 121 }, { 6, 141 }, { 7, 163 }, { 9, 185 } };
    const Column top7 = { { 0, 5 }, { 1, 25 }, { 2, 55 }, { 3, 77 }, { 4, 99 }, { 5, 121 }, { 6, 141 }, { 7, 163 }, { 8, 185 }, { 9, 207 } };
    const auto with = [] (Column c, const Column& more) { c.insert (c.end(), more.begin(), more.end()); return c; };
    const Column bFormat = { { 0, 5 }, { 1, 25 }, { 2, 55 }, { 4, 77 } };
    const Column five = with (top5, { { 10, 205 }, { 11, 227 }, { 12, 249 } });
    const Column six = with (top5, { { 10, 205 }, { 11, 227 }, { 12, 249 }, { 14, 271 } });
    const Column seven = with (top7, { { 10, 227 }, { 11, 249 }, { 12, 271 }, { 13, 293 } });
    const Column fiveAll = with (top5, { { 15, 205 } });
    const Column sevenAll = with (top7, { { 15, 227 } });

    struct Case { OutputStemFormat format; bool all; const Column& shown; };
    const Case cases[] = {
        { kOutputFormatStereo, false, stereo }, { kOutputFormatStereo, true, stereo },
        { kOutputFormat5_0, false, five },      { kOutputFormat5_0, true, fiveAll },
        { kOutputFormat5_1, false, five },      { kOutputFormat5_1, true, fiveAll },
        { kOutputFormat6_0, false, six },       { kOutputFormat6_0, true, fiveAll },
        { kOutputFormat6_1, false, six },       { kOutputFormat6_1, true, fiveAll },
        { kOutputFormat7_0, false, seven },     { kOutputFormat7_0, true, sevenAll },
        { kOutputFormat7_1, false, seven },     { kOutputFormat7_1, true, sevenAll },
        { kOutputFormatBFormat, false, bFormat }, { kOutputFormatBFormat, true, bFormat },
    };
    for (const auto& c : cases)
    {
        ParamsPanel fresh (processor);
        processor.UISetOutputFormat (kOutputFormat5_1);
        processor.FullUIUpdate();
        FinishSlides();
        if (c.all)
            Click (fresh.getAllButton());
        processor.UISetOutputFormat (c.format);
        processor.UpdateUI();
        FinishSlides();
        const auto where = "layout " + std::to_string (c.format) + (c.all ? " with ALL" : "");
        std::map<int, int> shownY (c.shown.begin(), c.shown.end());
        for (int id = 0; id < ParamsPanel::numRows; ++id)
        {
            auto* row = fresh.getRow (id);
            if (shownY.count (id) != 0)
            {
                EXPECT_EQ (row->getPosition(), juce::Point<int> (5, shownY[id])) << where << ", row " << id;
                EXPECT_TRUE (row->isVisible() && row->getAlpha() == 1.0f) << where << ", row " << id;
            }
            else
            {
                EXPECT_EQ (row->getX(), 255) << where << ", row " << id;
                EXPECT_TRUE (! row->isVisible() && row->getAlpha() == 0.0f) << where << ", row " << id;
            }
        }
        const bool stereoLayout = c.format == kOutputFormatStereo;
        EXPECT_EQ (fresh.getAllButton().isVisible(), ! stereoLayout) << where;
        EXPECT_EQ (fresh.getAllButton().getToggleState(), c.all && ! stereoLayout) << where;
        const auto& tilt = dynamic_cast<SliderParameterContainer&> (*fresh.getRow (2)).getLabel();
        EXPECT_EQ (tilt.getText(), c.format == kOutputFormatBFormat ? "TILT" : "FRONT TILT") << where;
    }
}

TEST_F (ParamsPanelTest, TheAllButtonSetsEveryPatternToLRAndSwapsTheRows)
{
    Layout (kOutputFormat7_1);
    processor.setParameter (8, 0.25f);
    processor.UpdateUI();
    auto& all = panel->getAllButton();
    ExpectOnly ("ALL on", [&] { Click (all); },
                { { 8, 0.25f }, { 9, 0.25f }, { 10, 0.25f }, { 11, 0.25f }, { 12, 0.25f } }, { 9, 10, 11, 12 });
    EXPECT_TRUE (all.getToggleState());
    FinishSlides(); // the rows swap at the click, before any notification
    for (int id : { 10, 11, 12, 13 })
        EXPECT_FALSE (panel->getRow (id)->isVisible()) << "row " << id;
    EXPECT_EQ (panel->getRow (15)->getPosition(), juce::Point<int> (5, 227));
    processor.UpdateUI();
    EXPECT_NEAR (Slider (15).getValue(), 0.25, 1e-6) << "the ALL row follows parameter 8";

    ExpectOnly ("ALL off", [&] { Click (all); }, {}, {});
    FinishSlides();
    EXPECT_FALSE (panel->getRow (15)->isVisible());
    EXPECT_EQ (panel->getRow (13)->getPosition(), juce::Point<int> (5, 293));

    Layout (kOutputFormat5_1);
    Click (all);
    Layout (kOutputFormatStereo);
    EXPECT_FALSE (all.getToggleState()) << "stereo switches ALL off";
    EXPECT_FALSE (all.isVisible());
}

TEST_F (ParamsPanelTest, HiddenRowsStayParkedWhereTheyLeft)
{
    // {layout, row 8 (RLS / RRS width) and row 3 (REAR TILT) afterwards; visible}
    struct Step { OutputStemFormat format; juce::Point<int> width, rearTilt; bool widthShown, tiltShown; };
    const Step steps[] = {
        { kOutputFormat5_1, { 255, 184 }, { 5, 77 }, false, true },   // row 8 leaves from its first place
        { kOutputFormatStereo, { 255, 184 }, { 255, 77 }, false, false },
        { kOutputFormatBFormat, { 255, 184 }, { 255, 77 }, false, false },
        { kOutputFormat6_1, { 255, 184 }, { 5, 77 }, false, true },
        { kOutputFormat7_1, { 5, 185 }, { 5, 77 }, true, true },
        { kOutputFormatStereo, { 255, 185 }, { 255, 77 }, false, false },
        { kOutputFormat5_0, { 255, 185 }, { 5, 77 }, false, true },
        { kOutputFormatBFormat, { 255, 185 }, { 255, 77 }, false, false },
    };
    for (const auto& s : steps)
    {
        Layout (s.format);
        EXPECT_EQ (panel->getRow (8)->getPosition(), s.width) << "layout " << s.format;
        EXPECT_EQ (panel->getRow (3)->getPosition(), s.rearTilt) << "layout " << s.format;
        EXPECT_EQ (panel->getRow (8)->isVisible(), s.widthShown) << "layout " << s.format;
        EXPECT_EQ (panel->getRow (3)->isVisible(), s.tiltShown) << "layout " << s.format;
    }

    // Changes faster than the slides end at the same places.
    Layout (kOutputFormat7_1);
    for (auto format : { kOutputFormatStereo, kOutputFormatBFormat, kOutputFormat7_1, kOutputFormatStereo, kOutputFormat5_1 })
    {
        processor.UISetOutputFormat (format);
        processor.UpdateUI();
    }
    FinishSlides();
    EXPECT_EQ (panel->getRow (8)->getPosition(), juce::Point<int> (255, 185));
    EXPECT_EQ (panel->getRow (3)->getPosition(), juce::Point<int> (5, 77));
    EXPECT_EQ (panel->getRow (12)->getPosition(), juce::Point<int> (5, 249));
}

TEST_F (ParamsPanelTest, RowsSlideFor300Milliseconds)
{
    auto& animator = juce::Desktop::getInstance().getAnimator();
    // The animator counts from its previous tick: let its clock stop, so that
    // the next slide counts from its own start.
    ASSERT_TRUE (qvtest::LetAnimatorRest()) << "the animator never came to rest";
    const auto start = juce::Time::getMillisecondCounterHiRes();
    processor.UISetOutputFormat (kOutputFormatStereo);
    processor.UpdateUI();
    auto* rearTilt = panel->getRow (3);
    EXPECT_TRUE (animator.isAnimating (rearTilt));
    EXPECT_EQ (animator.getComponentDestination (rearTilt), juce::Rectangle<int> (255, 77, 216, 20));
    EXPECT_EQ (animator.getComponentDestination (panel->getRow (5)), juce::Rectangle<int> (5, 99, 216, 18));
    // A loaded machine ends them late, never early: the slides' clock
    // started after `start`.
    const bool ended = qvtest::PumpUntil ([&] { return ! animator.isAnimating(); });
    const double took = juce::Time::getMillisecondCounterHiRes() - start;
    ASSERT_TRUE (ended) << "the slides never ended";
    EXPECT_GE (took, 298.0) << "300 ms, counted in whole milliseconds";
    EXPECT_EQ (rearTilt->getX(), 255);
    EXPECT_FALSE (rearTilt->isVisible());

    // Back in 5.1 it comes in from the right, at its new height.
    processor.UISetOutputFormat (kOutputFormat5_1);
    processor.UpdateUI();
    EXPECT_EQ (rearTilt->getBounds(), juce::Rectangle<int> (255, 77, 216, 20));
    EXPECT_EQ (animator.getComponentDestination (rearTilt), juce::Rectangle<int> (5, 77, 216, 20));
}

TEST_F (ParamsPanelTest, APanelDeletedMidSlideLeavesNothingBehind)
{
    processor.UISetOutputFormat (kOutputFormatStereo);
    processor.UpdateUI();
    ASSERT_TRUE (juce::Desktop::getInstance().getAnimator().isAnimating());
    panel.reset();
    EXPECT_FALSE (juce::Desktop::getInstance().getAnimator().isAnimating());
    EXPECT_EQ (processor.quorvaneListeners.size(), 0);
    processor.setParameter (5, 0.1f);
    processor.UpdateUI(); // no panel left to reach
    processor.FullUIUpdate();
}

TEST_F (ParamsPanelTest, PlateAndLamp)
{
    Layout (kOutputFormat7_1);
    Click (panel->getAllButton());
    FinishSlides();
    const auto image = qvtest::RenderComponent (*panel, juce::Colour (0xFF6E8296));
    // The editor's ground at the edge; black at 0.45 over it inside; the lit
    // ALL lamp at (172, 209) in the title row at y 207.
    EXPECT_TRUE (qvtest::Near (qvtest::PixelAt (image, 0, 200), juce::Colour (0xFF6E8296)));
    EXPECT_TRUE (qvtest::Near (qvtest::PixelAt (image, 2, 320), juce::Colour (0xFF3C4752)));
    const auto lamp = qvtest::PixelAt (image, 173, 220);
    EXPECT_GT (lamp.getRed(), 200) << qvtest::Describe (lamp);
    EXPECT_LT (lamp.getBlue(), lamp.getRed() - 60) << qvtest::Describe (lamp);
}
