// The output panel with the real processor: each gesture is exactly one
// processor call, each notification moves exactly its control, strips per
// layout and their animation, meters, the solo flash, the panel's pixels.
#include "OutputPanel.h"
#include "PanelTestSupport.h"

#include <climits>
#include <functional>

using namespace paneltest;

namespace
{
using R = juce::Rectangle<int>;
constexpr int LR = 0, C = 1, LFE = 2, LsRs = 3, RLsRRs = 4, RC = 5, BF = 6; // strip keys

// What a user sees of one strip, so whole panels compare in one line: the
// level (slider and text), then lamps, meters and place.
juce::String Level (const OutputChannelStrip& s) { return juce::String ((int) s.trimSlider->getValue()) + " " + s.valueLabel->getText(); }
juce::String Rest (const OutputChannelStrip& s)
{
    juce::String t;
    t << "M" << (int) s.muteButton->getToggleState() << (int) s.muteButton->flashing << (int) s.muteButton->showText
      << " S" << (int) s.soloButton->getToggleState();
    for (auto* m : { s.meter1.get(), s.meter2.get(), s.meter3.get(), s.meter4.get() })
        if (m != nullptr)
            t << " " << m->level;
    return t << " " << s.getBounds().toString() << (s.isVisible() ? "" : " hidden");
}
juce::String Shown (const OutputChannelStrip& s) { return Level (s) + " " + Rest (s); }

class OutputPanelTest : public PanelTest<OutputPanel>
{
protected:
    OutputPanelTest() : PanelTest (R (221, 2, 300, 160)) {}

    OutputChannelStrip& Strip (int key) { return *rig->panel->strips[key]; }
    std::vector<juce::String> AllShown()
    {
        std::vector<juce::String> shown;
        for (int key = 0; key < 7; ++key)
            shown.push_back (Shown (Strip (key)));
        return shown;
    }
    // The user picks a layout; the processor answers at its next refresh.
    void ChooseLayout (int id)
    {
        Panel().formatCombo->setSelectedId (id, juce::sendNotificationSync);
        rig->processor.UpdateUI();
    }
};
} // namespace

TEST_F (OutputPanelTest, BuiltWithComboAndSevenStrips)
{
    EXPECT_EQ (Panel().getName(), "Input");
    EXPECT_EQ (Panel().header->text, "OUTPUT");
    EXPECT_EQ (Panel().formatCombo->getBounds(), R (216, 4, 80, 14));
    juce::StringArray items;
    for (int i = 0; i < Panel().formatCombo->getNumItems(); ++i)
        items.add (juce::String (Panel().formatCombo->getItemId (i)) + " " + Panel().formatCombo->getItemText (i));
    EXPECT_EQ (items.joinIntoString (","), "1 STEREO,2 5.0,3 5.1,4 6.0,5 6.1,6 7.0,7 7.1,8 B FORMAT");
    EXPECT_EQ (Panel().formatCombo->getSelectedId(), 3) << "a new processor has the 5.1 layout";

    const std::tuple<const char*, int, juce::uint32> strips[] = { { "L/R", 2, 0xFFEBFF99 }, { "C", 1, 0xFFFF9999 },
                                                                  { "LFE", 1, 0xFFE680FF }, { "LS/RS", 2, 0xFF99FFC2 },
                                                                  { "RLS/RRS", 2, 0xFF99C2FF }, { "R C", 1, 0xFF99C2FF },
                                                                  { "B F", 4, 0xFFFFFFFF } };
    ASSERT_EQ (Panel().strips.size(), 7);
    for (int key = 0; key < 7; ++key)
    {
        auto [name, channels, colour] = strips[key];
        auto& s = Strip (key);
        EXPECT_EQ (s.nameLabel->getText(), name);
        EXPECT_EQ (s.numChannels, channels) << name;
        EXPECT_EQ (s.trimSlider->findColour (juce::Slider::trackColourId).getARGB(), colour) << name;
        EXPECT_EQ (s.trimSlider->paramId, key);
        EXPECT_EQ (s.trimSlider->listener, &Panel());
        EXPECT_TRUE (s.listeners.contains (&Panel()) && s.listeners.size() == 1) << name;
    }
    EXPECT_EQ (Panel().stripRC.get(), &Strip (RC));
    EXPECT_EQ (Panel().stripLFE.get(), &Strip (LFE));
}

TEST_F (OutputPanelTest, StripsOfEachLayoutAfterTheAnimation)
{
    // In this order some strips stay out of several layouts in a row: they must
    // wait at one place, 200 above the row, not rise further each time.
    const std::pair<int, const char*> layouts[] = {
        { 1, "L/R 4" }, { 2, "L/R 4, C 63, LS/RS 122" }, { 3, "L/R 4, C 63, LFE 122, LS/RS 181" },
        { 4, "L/R 4, C 63, LS/RS 122, R C 181" },         { 5, "L/R 4, C 63, LFE 122, LS/RS 181, R C 240" },
        { 6, "L/R 4, C 63, LS/RS 122, RLS/RRS 181" },    { 7, "L/R 4, C 63, LFE 122, LS/RS 181, RLS/RRS 240" },
        { 8, "B F 4" }, { 1, "L/R 4" }, { 8, "B F 4" },
    };
    for (auto [layout, expected] : layouts)
    {
        SCOPED_TRACE ("layout " + std::to_string (layout));
        ChooseLayout (layout);
        FinishAnimations();
        juce::StringArray shown;
        for (int key = 0; key < 7; ++key)
        {
            auto& s = Strip (key);
            EXPECT_EQ (s.active, s.isVisible());
            EXPECT_EQ (s.getAlpha(), s.isVisible() ? 1.0f : 0.0f);
            EXPECT_EQ (s.getY(), s.isVisible() ? 20 : -180) << s.nameLabel->getText();
            EXPECT_EQ (s.getWidth(), key == BF ? 112 : 56);
            if (s.isVisible())
                shown.add (s.nameLabel->getText() + " " + juce::String (s.getX()));
        }
        EXPECT_EQ (shown.joinIntoString (", "), expected);
        EXPECT_EQ (Panel().formatCombo->getSelectedId(), layout);
        EXPECT_EQ (Strip (LR).muteButton->isVisible() && Strip (LR).soloButton->isVisible(), layout != 1) << "no M or S in stereo";
    }
}

TEST_F (OutputPanelTest, BFormatFadesInOver300WhileTheOthersRiseOver150)
{
    QV_REQUIRE_DISPLAY();
    auto& animator = juce::Desktop::getInstance().getAnimator();
    // The animator's clock restarts from the first new animation only if it
    // has stopped, which it does in the step that ends its last animation.
    ASSERT_TRUE (qvtest::LetAnimatorRest()) << "the animator never came to rest";
    const auto start = juce::Time::getMillisecondCounter();
    ChooseLayout (8);

    EXPECT_EQ (Strip (BF).getBounds(), R (4, 20, 112, 136)) << "placed at once, then faded in";
    const std::pair<int, R> destinations[] = { { BF, R (4, 20, 112, 136) },   { LR, R (4, -180, 56, 136) },
                                               { C, R (63, -180, 56, 136) },  { LFE, R (122, -180, 56, 136) },
                                               { LsRs, R (181, -180, 56, 136) } };
    for (auto [key, destination] : destinations)
        EXPECT_EQ (animator.isAnimating (&Strip (key)) ? animator.getComponentDestination (&Strip (key)) : R(), destination) << key;
    EXPECT_FALSE (animator.isAnimating (&Strip (RC))) << "a strip already parked is left alone";

    // When each was first seen to have ended. A loaded machine sees them
    // late, never early: the animations' clock started after `start`.
    juce::uint32 outDone = 0, inDone = 0;
    const bool ended = qvtest::PumpUntil ([&] {
        const auto now = juce::Time::getMillisecondCounter() - start;
        outDone = outDone != 0 || animator.isAnimating (&Strip (LR)) ? outDone : now;
        inDone = inDone != 0 || animator.isAnimating (&Strip (BF)) ? inDone : now;
        return outDone != 0 && inDone != 0;
    });
    ASSERT_TRUE (ended) << "the animations never ended";
    EXPECT_GE (outDone, 150u);
    EXPECT_GE (inDone, 300u);
    EXPECT_LE (outDone, inDone);
    EXPECT_TRUE (Strip (BF).isVisible() && Strip (BF).getAlpha() == 1.0f);
    EXPECT_FALSE (Strip (LR).isVisible());
}

TEST_F (OutputPanelTest, EachGestureIsOneProcessorCall)
{
    auto strip = [] (OutputPanel& p, int key) -> OutputChannelStrip& { return *p.strips[key]; };
    const GestureCase<OutputPanel> cases[] = {
        { "drag L/R from 75 to 50", [&] (auto& p) { Drag (*strip (p, LR).trimSlider, TrimSliderPoint (75), TrimSliderPoint (50)); }, { { 16, 0.5f } }, { 16 } },
        { "type -6 into C", [&] (auto& p) { TypeInto (*strip (p, C).valueLabel, "-6"); }, { { 17, 0.6f } }, { 17 } },
        { "type 3.5 into LFE", [&] (auto& p) { TypeInto (*strip (p, LFE).valueLabel, "3.5"); }, { { 21, 0.84f } }, { 21 } },
        { "type 12 into LS/RS", [&] (auto& p) { TypeInto (*strip (p, LsRs).valueLabel, "12"); }, { { 18, 1.0f } }, { 18 } },
        { "type abc into C", [&] (auto& p) { TypeInto (*strip (p, C).valueLabel, "abc"); }, {}, {} },
        { "type nan into L/R", [&] (auto& p) { TypeInto (*strip (p, LR).valueLabel, "nan"); }, {}, {} },
        { "click M of LS/RS", [&] (auto& p) { Click (*strip (p, LsRs).muteButton); }, { { 25, 1.0f } }, { 25 } },
        { "click M of LFE", [&] (auto& p) { Click (*strip (p, LFE).muteButton); }, { { 28, 1.0f } }, { 28 } },
        { "click S of C", [&] (auto& p) { Click (*strip (p, C).soloButton); }, { { 30, 1.0f } }, { 30 } },
        { "click S of L/R", [&] (auto& p) { Click (*strip (p, LR).soloButton); }, { { 29, 1.0f } }, { 29 } },
        // The layout, and the L/R pattern re-sent to the host for its range.
        { "choose 7.1", [] (auto& p) { p.formatCombo->setSelectedId (7, juce::sendNotificationSync); }, { { 8, 0.5f } }, { 36 } },
        { "choose an unlisted id", [] (auto& p) { p.formatCombo->setSelectedId (9, juce::sendNotificationSync); }, {}, {} },
        { "choose no item", [] (auto& p) { p.formatCombo->setSelectedId (0, juce::sendNotificationSync); }, {}, {} },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.gesture);
        Fresh();
        juce::String before;
        for (int key = 0; key < 7; ++key)
            before << Strip (key).valueLabel->getText() << Strip (key).getBounds().toString() << ";";
        rig->ExpectGesture (c.act, c.calls, c.changed);

        // No text or place moves before the processor reports back.
        juce::String after;
        for (int key = 0; key < 7; ++key)
            after << Strip (key).valueLabel->getText() << Strip (key).getBounds().toString() << ";";
        EXPECT_EQ (after, before);
        EXPECT_EQ (Panel().formatCombo->getSelectedId(), c.changed == std::vector<int> { 36 } ? 7 : 3);
    }

    // What the processor then reports lands in the strip typed into, with no write back.
    Fresh();
    rig->ExpectGesture ([&] (auto& p) { TypeInto (*strip (p, C).valueLabel, "-6"); rig->processor.UpdateUI(); }, { { 17, 0.6f } }, { 17 });
    EXPECT_EQ (Shown (Strip (C)), "60  -6dB M001 S0 0 0 63 20 56 136");

    // The B-format level, and Alt-click on the LFE slider: a reset to 0 dB (31/41) that the host hears of.
    rig->processor.UISetOutputFormat (kOutputFormatBFormat);
    rig->processor.UpdateUI();
    rig->ExpectGesture ([&] (auto& p) { TypeInto (*strip (p, BF).valueLabel, "12"); }, { { 22, 1.0f } }, { 22 });
    rig->processor.UISetOutputFormat (kOutputFormat5_1);
    rig->processor.setParameter (21, 0.2f);
    rig->processor.UpdateUI();
    FinishAnimations();
    rig->ExpectGesture ([&] (auto& p) { Click (*strip (p, LFE).trimSlider, TrimSliderPoint (90), altLeftButton); }, { { 21, 31.0f / 41.0f } }, { 21 });
    EXPECT_FLOAT_EQ (rig->processor.getParameter (21), 0.75609756f);
    EXPECT_EQ (Strip (LFE).trimSlider->getValue(), 20.0) << "the slider waits for the processor";
    rig->processor.UpdateUI();
    EXPECT_EQ (Shown (Strip (LFE)), "75   0dB M001 S0 0 0 122 20 56 136");
}

TEST_F (OutputPanelTest, LevelNotificationsMoveOnlyTheirStrip)
{
    const std::tuple<int, float, int, const char*> cases[] = {
        { 16, 0.5f, LR, "50 -11dB" },     { 17, 1.0f, C, "100  10dB" },  { 18, 0.0f, LsRs, "0 Off" },  { 19, 0.5f, RLsRRs, "50 -11dB" },
        { 20, 0.25f, RC, "25 -21dB" },    { 21, 0.9f, LFE, "90   6dB" },  { 22, 0.1f, BF, "10 -27dB" },
    };
    for (auto [index, value, key, shown] : cases)
    {
        SCOPED_TRACE ("parameter " + std::to_string (index));
        auto expected = AllShown();
        expected[(size_t) key] = juce::String (shown) + " " + Rest (Strip (key));
        rig->ExpectGesture ([&] (auto&) { rig->processor.setParameter (index, value); }, {}, { index });
        rig->ExpectGesture ([&] (auto&) { rig->processor.UpdateUI(); }, {}, {}); // mirroring writes nothing
        EXPECT_EQ (AllShown(), expected);
    }
}

TEST_F (OutputPanelTest, MetersByLayout)
{
    const std::tuple<int, int, const char*> cases[] = { // layout, meter parameter, lit meters as key.meter
        { 3, 41, "0.1" }, { 3, 42, "0.2" }, { 3, 43, "1.1" }, { 3, 44, "2.1" }, { 3, 45, "3.1" }, { 3, 46, "3.2" },
        { 3, 47, "4.1" }, { 3, 48, "4.2" }, { 3, 49, "5.1" }, { 3, 40, "" },    { 3, 50, "" },    { 3, -1, "" },
        { 8, 41, "6.1" }, { 8, 42, "6.2" }, { 8, 43, "6.3" }, { 8, 44, "6.4" }, { 8, 45, "3.1" },
        { 1, 41, "0.1" }, { 1, 43, "" },    { 1, 44, "" },    { 1, 47, "4.1" }, { 1, 49, "5.1" },
    };
    for (auto [layout, index, expected] : cases)
    {
        SCOPED_TRACE (testing::Message() << "layout " << layout << ", meter " << index);
        rig->processor.UISetOutputFormat (static_cast<OutputStemFormat> (layout));
        rig->processor.UpdateUI();
        const auto meters = [&] (int key) {
            auto& s = Strip (key);
            return std::array<BargraphComponent*, 4> { s.meter1.get(), s.meter2.get(), s.meter3.get(), s.meter4.get() };
        };
        for (int key = 0; key < 7; ++key)
            for (auto* m : meters (key))
                if (m != nullptr)
                    m->setValue (0.0f);
        Panel().OutputMeterChanged (index, 1.0f);
        juce::StringArray lit;
        for (int key = 0; key < 7; ++key)
            for (int m = 0; m < 4; ++m)
                if (meters (key)[(size_t) m] != nullptr && meters (key)[(size_t) m]->level != 0.0f)
                    lit.add (juce::String (key) + "." + juce::String (m + 1));
        EXPECT_EQ (lit.joinIntoString (","), expected);
    }
}

TEST_F (OutputPanelTest, SoloFlashesTheOtherGroups)
{
    rig->ExpectGesture ([&] (auto&) { Click (*Strip (C).soloButton); }, { { 30, 1.0f } }, { 30 });
    EXPECT_TRUE (Panel().isTimerRunning() && Panel().getTimerInterval() == 500);

    // The M of LS/RS shows lit, though LS/RS is not muted itself; a click
    // mutes it: its lamp holds steady.
    rig->ExpectGesture ([&] (auto&) { Click (*Strip (LsRs).muteButton); }, { { 25, 1.0f } }, { 25 });
    Panel().timerCallback();
    const char* lamps[] = { "M110 S0", "M001 S1", "M110 S0", "M101 S0", "M110 S0", "M110 S0" }; // L/R C LFE LS/RS RLS/RRS R C
    for (int key = 0; key < 6; ++key)
        EXPECT_TRUE (Shown (Strip (key)).contains (lamps[key])) << Shown (Strip (key));

    // Clearing the last solo stops the blinking with every caption shown.
    rig->ExpectGesture ([&] (auto&) { Click (*Strip (C).soloButton); }, { { 30, 0.0f } }, { 30 });
    EXPECT_FALSE (Panel().isTimerRunning());
    for (int key = 0; key < 6; ++key)
        EXPECT_TRUE (Shown (Strip (key)).contains (key == LsRs ? "M101 S0" : "M001 S0")) << Shown (Strip (key));

    // A solo from automation starts the flash as well.
    rig->processor.setParameter (33, 1.0f);
    rig->processor.UpdateUI();
    EXPECT_TRUE (Panel().isTimerRunning());
    EXPECT_TRUE (Shown (Strip (LR)).contains ("M111 S0")) << Shown (Strip (LR));
    EXPECT_TRUE (Shown (Strip (RC)).contains ("S1")) << Shown (Strip (RC));
}

// During a solo a click on M turns the group's own mute over, whatever its
// lamp shows: the lamp is lit for every group the solo silences.
TEST_F (OutputPanelTest, MClicksDuringASoloTurnTheGroupsOwnMuteOver)
{
    const struct
    {
        const char* name;
        int key, mute, solo, layout;
    } groups[] = {
        { "L/R under solo C", LR, 23, 30, 7 },         { "C under solo L/R", C, 24, 29, 7 },
        { "LFE under solo C", LFE, 28, 30, 7 },        { "LS/RS under solo LFE", LsRs, 25, 34, 7 },
        { "RLS/RRS under solo C", RLsRRs, 26, 30, 7 }, { "R C under solo LS/RS", RC, 27, 31, 5 },
        { "C under its own solo", C, 24, 30, 7 },
    };
    for (const auto& g : groups)
    {
        SCOPED_TRACE (g.name);
        Fresh();
        ChooseLayout (g.layout);
        FinishAnimations();
        rig->processor.setParameter (g.solo, 1.0f);
        rig->processor.UpdateUI();
        const bool ownSolo = g.solo - 29 == g.mute - 23;

        rig->ExpectGesture ([&] (auto&) { Click (*Strip (g.key).muteButton); }, { { g.mute, 1.0f } }, { g.mute });
        EXPECT_TRUE (rig->processor.GetIsMute (g.mute));
        EXPECT_TRUE (Shown (Strip (g.key)).contains ("M101")) << "lit and steady: " << Shown (Strip (g.key));

        rig->ExpectGesture ([&] (auto&) { Click (*Strip (g.key).muteButton); }, { { g.mute, 0.0f } }, { g.mute });
        EXPECT_FALSE (rig->processor.GetIsMute (g.mute));
        EXPECT_TRUE (Shown (Strip (g.key)).contains (ownSolo ? "M001" : "M111"))
            << (ownSolo ? "dark: " : "lit by the solo, blinking: ") << Shown (Strip (g.key));

        // A mute the host wrote as 0.873 is on: the click turns it off.
        rig->processor.setParameter (g.mute, 0.873f);
        rig->processor.UpdateUI();
        rig->ExpectGesture ([&] (auto&) { Click (*Strip (g.key).muteButton); }, { { g.mute, 0.0f } }, { g.mute });
        EXPECT_FALSE (rig->processor.GetIsMute (g.mute));
    }
}

TEST_F (OutputPanelTest, HostFixedLayoutAndRefills)
{
    rig->processor.HostSetOutputFormat (kOutputFormat7_1);
    std::unique_ptr<juce::AudioProcessorEditor> editor (rig->processor.createEditor());
    EXPECT_FALSE (Panel().formatCombo->isEnabled());
    EXPECT_EQ (Panel().formatCombo->getSelectedId(), 7);
    editor.reset();

    // The input format refills the combo, which keeps the layout.
    rig->processor.SetInputFormat (Quorvane2AudioProcessor::kAFormat);
    rig->processor.UpdateUI();
    EXPECT_EQ (Panel().formatCombo->getNumItems(), 8);
    EXPECT_EQ (Panel().formatCombo->getSelectedId(), 7);
    EXPECT_TRUE (rig->host.calls.empty());
}

TEST_F (OutputPanelTest, KeysAndIndicesOutsideTheRangeChangeNothing)
{
    const auto before = AllShown();
    rig->ExpectGesture ([] (OutputPanel& p) {
        for (int i : { -1, 0, 15, 37, 40, 50, 1000, INT_MIN, INT_MAX })
        {
            p.ParameterChangedFloat (i, 0.3f);
            p.OutputMeterChanged (i, 1.0f);
        }
        p.InputMeterChanged (41, 1.0f);
        for (int key : { -1, 7, INT_MAX })
        {
            p.TrimChanged (key, 50);
            p.resetToDefaultValue (key);
            EXPECT_EQ (p.getTextFromValue (key, 50.0), "");
        }
    }, {}, {});
    EXPECT_EQ (AllShown(), before);
    EXPECT_EQ (Panel().formatCombo->getSelectedId(), 3);

    // A level a host left outside 0..1, or not a number, still gives a slider position.
    for (auto [value, position] : { std::pair (std::numeric_limits<float>::quiet_NaN(), 0.0), { 1.0e30f, 100.0 }, { -2.0f, 0.0 } })
    {
        Panel().ParameterChangedFloat (16, value);
        EXPECT_EQ (Strip (LR).trimSlider->getValue(), position) << value;
    }

    // Within the range, each key's slider text and reset belong to its own level parameter.
    const int trims[] = { 16, 17, 21, 18, 19, 20, 22 };
    const char* texts[] = { "Off", "-27dB", "-21dB", "-11dB", "  6dB", " 10dB", " -6dB" };
    const float values[] = { 0.0f, 0.1f, 0.25f, 0.5f, 0.9f, 1.0f, 0.6f };
    for (int key = 0; key < 7; ++key)
    {
        rig->processor.setParameter (trims[key], values[key]);
        EXPECT_EQ (Strip (key).trimSlider->getTextFromValue (12.0), texts[key]);
        rig->ExpectGesture ([key] (auto& p) { p.resetToDefaultValue (key); }, { { trims[key], 31.0f / 41.0f } }, { trims[key] });
    }
}

TEST_F (OutputPanelTest, PlatesAndMeterRowsIn71)
{
    rig->processor.UISetOutputFormat (kOutputFormat7_1);
    rig->processor.UpdateUI();
    FinishAnimations();
    Panel().OutputMeterChanged (41, 0.1f); // -20 dB: 44 of 74 rows
    Panel().OutputMeterChanged (42, 1.0f); // 0 dB: all of them
    const auto image = qvtest::RenderComponent (Panel(), juce::Colour (groundArgb));

    std::vector<PixelProbe> probes = { { 0, 100, groundArgb }, { 299, 100, groundArgb }, { 2, 100, plateArgb },
                                       { 298, 100, plateArgb }, { 150, 0, groundArgb },  { 150, 158, plateArgb } };
    const PixelProbe stripEdges[] = { { 0, 80, plateArgb },       { 1, 80, groupPlateArgb },  { 54, 80, groupPlateArgb }, { 55, 80, plateArgb },
                                      { 30, 21, groupPlateArgb }, { 30, 154, groupPlateArgb }, { 30, 155, plateArgb } };
    for (int x : { 4, 63, 122, 181, 240 }) // each strip's plate spans (x + 1, 21) to (x + 54, 154)
        for (auto edge : stripEdges)
            probes.push_back ({ x + edge.x, edge.y, edge.argb });
    ExpectPixels (image, probes);
    // The L/R meters at panel x 10 and 20 from y 45; lit rows end at 119.
    ExpectMeterRows (image, { { 11, 75, false }, { 11, 76, true }, { 11, 119, true }, { 11, 120, false }, { 21, 45, false }, { 21, 46, true } });
}
