// The output panel driven with the real processor: each gesture becomes
// exactly one processor call, each notification moves exactly its control,
// strips per layout after their animation, meters, the solo flash and the
// panel's pixels.
#include "OutputPanel.h"
#include "PanelTestSupport.h"

#include <climits>
#include <functional>
#include <map>

using namespace paneltest;

namespace
{
using R = juce::Rectangle<int>;

// What a user sees of one strip.
struct StripState
{
    double slider;
    juce::String text;
    bool muteLit, muteFlashing, muteCaption, soloLit;
    float meters[4];
    R bounds;
    bool visible;
    float alpha;

    bool operator== (const StripState& o) const
    {
        return slider == o.slider && text == o.text && muteLit == o.muteLit && muteFlashing == o.muteFlashing
            && muteCaption == o.muteCaption && soloLit == o.soloLit && bounds == o.bounds && visible == o.visible
            && alpha == o.alpha && std::equal (std::begin (meters), std::end (meters), std::begin (o.meters));
    }
};

StripState StateOf (const OutputChannelStrip& s)
{
    auto level = [] (const std::unique_ptr<BargraphComponent>& m) { return m != nullptr ? m->level : -1.0f; };
    return { s.trimSlider->getValue(), s.valueLabel->getText(), s.muteButton->getToggleState(), s.muteButton->flashing,
             s.muteButton->showText, s.soloButton->getToggleState(),
             { level (s.meter1), level (s.meter2), level (s.meter3), level (s.meter4) },
             s.getBounds(), s.isVisible(), s.getAlpha() };
}

OutputChannelStrip& StripOf (OutputPanel& p, int key) { return *p.strips[key]; }

class OutputPanelTest : public EditorTest
{
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        Fresh();
    }

    void TearDown() override
    {
        rig.reset();
        EditorTest::TearDown();
    }

    // A new processor and panel, as the editor bounds it.
    void Fresh()
    {
        rig.reset();
        rig = std::make_unique<PanelRig<OutputPanel>> (R (221, 2, 300, 160));
    }

    OutputChannelStrip& Strip (int key) { return StripOf (*rig->panel, key); }

    std::array<StripState, 7> States()
    {
        std::array<StripState, 7> states;
        for (int key = 0; key < 7; ++key)
            states[(size_t) key] = StateOf (Strip (key));
        return states;
    }

    // The user picks a layout; the processor answers at its next refresh.
    void ChooseLayout (int id)
    {
        rig->panel->formatCombo->setSelectedId (id, juce::sendNotificationSync);
        rig->processor.UpdateUI();
    }

    std::unique_ptr<PanelRig<OutputPanel>> rig;
};

constexpr int LR = OutputPanel::keyLR, C = OutputPanel::keyC, LFE = OutputPanel::keyLFE, LsRs = OutputPanel::keyLsRs,
              RLsRRs = OutputPanel::keyRLsRRs, RC = OutputPanel::keyRC, BF = OutputPanel::keyBF;
} // namespace

TEST_F (OutputPanelTest, BuiltWithHeaderComboAndSevenStrips)
{
    EXPECT_EQ (rig->panel->getName(), "Input");
    EXPECT_EQ (rig->panel->header->text, "OUTPUT");
    EXPECT_EQ (rig->panel->header->getBounds(), R (0, 0, 300, 20));
    EXPECT_EQ (rig->panel->formatCombo->getBounds(), R (216, 4, 80, 14));
    EXPECT_TRUE (rig->panel->formatCombo->isAlwaysOnTop());

    const std::pair<const char*, int> items[] = { { "STEREO", 1 }, { "5.0", 2 }, { "5.1", 3 }, { "6.0", 4 },
                                                  { "6.1", 5 },    { "7.0", 6 }, { "7.1", 7 }, { "B FORMAT", 8 } };
    ASSERT_EQ (rig->panel->formatCombo->getNumItems(), 8);
    for (int i = 0; i < 8; ++i)
    {
        EXPECT_EQ (rig->panel->formatCombo->getItemText (i), items[i].first);
        EXPECT_EQ (rig->panel->formatCombo->getItemId (i), items[i].second);
    }
    EXPECT_EQ (rig->panel->formatCombo->getSelectedId(), 3) << "a new processor has the 5.1 layout";

    struct Case
    {
        int key;
        OutputChannelStrip* member;
        const char* name;
        int channels;
        juce::uint32 sliderColour;
    };
    const Case strips[] = {
        { 0, rig->panel->stripLR.get(), "L/R", 2, 0xFFEBFF99 },     { 1, rig->panel->stripC.get(), "C", 1, 0xFFFF9999 },
        { 2, rig->panel->stripLFE.get(), "LFE", 1, 0xFFE680FF },    { 3, rig->panel->stripLsRs.get(), "LS/RS", 2, 0xFF99FFC2 },
        { 4, rig->panel->stripRLsRRs.get(), "RLS/RRS", 2, 0xFF99C2FF }, { 5, rig->panel->stripRC.get(), "R C", 1, 0xFF99C2FF },
        { 6, rig->panel->stripBF.get(), "B F", 4, 0xFFFFFFFF },
    };
    ASSERT_EQ (rig->panel->strips.size(), 7);
    for (const auto& c : strips)
    {
        SCOPED_TRACE (c.name);
        auto& s = Strip (c.key);
        EXPECT_EQ (&s, c.member);
        EXPECT_EQ (s.stripId, c.key);
        EXPECT_EQ (s.nameLabel->getText(), c.name);
        EXPECT_EQ (s.numChannels, c.channels);
        EXPECT_EQ (s.getHeight(), 136);
        EXPECT_EQ (s.trimSlider->findColour (juce::Slider::trackColourId).getARGB(), c.sliderColour);
        EXPECT_EQ (s.trimSlider->paramId, c.key);
        EXPECT_EQ (s.trimSlider->listener, rig->panel.get());
        EXPECT_TRUE (s.listeners.contains (rig->panel.get()));
        EXPECT_EQ (s.listeners.size(), 1);
    }

    // The full update brought the processor's levels: 0 dB everywhere.
    EXPECT_EQ (Strip (LFE).trimSlider->getValue(), 75.0);
    EXPECT_EQ (Strip (LFE).valueLabel->getText(), "  0dB");
}

TEST_F (OutputPanelTest, StripsOfEachLayoutAfterTheAnimation)
{
    struct Case
    {
        int layout;
        std::map<int, int> shownAtX; // key to x; every other strip is parked
        bool lrButtons;
    };
    // In order, so that some strips stay out of several layouts in a row.
    const Case cases[] = {
        { 1, { { LR, 4 } }, false },
        { 2, { { LR, 4 }, { C, 63 }, { LsRs, 122 } }, true },
        { 3, { { LR, 4 }, { C, 63 }, { LFE, 122 }, { LsRs, 181 } }, true },
        { 4, { { LR, 4 }, { C, 63 }, { LsRs, 122 }, { RC, 181 } }, true },
        { 5, { { LR, 4 }, { C, 63 }, { LFE, 122 }, { LsRs, 181 }, { RC, 240 } }, true },
        { 6, { { LR, 4 }, { C, 63 }, { LsRs, 122 }, { RLsRRs, 181 } }, true },
        { 7, { { LR, 4 }, { C, 63 }, { LFE, 122 }, { LsRs, 181 }, { RLsRRs, 240 } }, true },
        { 8, { { BF, 4 } }, true },
        { 1, { { LR, 4 } }, false },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE ("layout " + std::to_string (c.layout));
        ChooseLayout (c.layout);
        ASSERT_TRUE (WaitForAnimations());
        EXPECT_EQ (rig->panel->formatCombo->getSelectedId(), c.layout);

        for (int key = 0; key < 7; ++key)
        {
            auto& s = Strip (key);
            const auto shown = c.shownAtX.find (key);
            SCOPED_TRACE (s.nameLabel->getText());

            if (shown != c.shownAtX.end())
            {
                EXPECT_TRUE (s.active);
                EXPECT_TRUE (s.isVisible());
                EXPECT_EQ (s.getAlpha(), 1.0f);
                EXPECT_EQ (s.getBounds(), R (shown->second, 20, key == BF ? 112 : 56, 136));
            }
            else
            {
                // Out of the layout: hidden, parked 200 above the row however
                // many layouts in a row it stays out.
                EXPECT_FALSE (s.active);
                EXPECT_FALSE (s.isVisible());
                EXPECT_EQ (s.getAlpha(), 0.0f);
                EXPECT_EQ (s.getY(), -180);
            }
        }

        EXPECT_EQ (Strip (LR).muteButton->isVisible(), c.lrButtons);
        EXPECT_EQ (Strip (LR).soloButton->isVisible(), c.lrButtons);
    }
}

TEST_F (OutputPanelTest, ParkedStripStaysAtOnePlace)
{
    // C is out of B FORMAT and of STEREO: four layout changes, one place.
    for (int layout : { 8, 1, 8, 1 })
    {
        ChooseLayout (layout);
        FinishAnimations();
        EXPECT_EQ (Strip (C).getBounds(), R (63, -180, 56, 136)) << "after layout " << layout;
    }

    // A repeated layout notification leaves every parked strip where it is.
    rig->panel->ParameterChangedFloat (36, rig->processor.getParameter (36));
    FinishAnimations();
    EXPECT_EQ (Strip (C).getY(), -180);
    EXPECT_EQ (Strip (RC).getY(), -180);
}

TEST_F (OutputPanelTest, SwitchToBFormatSlidesInOver300AndOutOver150)
{
    QV_REQUIRE_DISPLAY();
    auto& animator = juce::Desktop::getInstance().getAnimator();
    const auto start = juce::Time::getMillisecondCounter();
    ChooseLayout (8);

    // Placed at once and faded in; the others rise 200 and fade out.
    EXPECT_EQ (Strip (BF).getBounds(), R (4, 20, 112, 136));
    EXPECT_TRUE (animator.isAnimating (&Strip (BF)));
    EXPECT_EQ (animator.getComponentDestination (&Strip (BF)), R (4, 20, 112, 136));
    const std::pair<int, R> leaving[] = { { LR, R (4, -180, 56, 136) }, { C, R (63, -180, 56, 136) },
                                          { LFE, R (122, -180, 56, 136) }, { LsRs, R (181, -180, 56, 136) } };
    for (const auto& [key, destination] : leaving)
    {
        EXPECT_TRUE (animator.isAnimating (&Strip (key))) << key;
        EXPECT_EQ (animator.getComponentDestination (&Strip (key)), destination) << key;
    }
    EXPECT_FALSE (animator.isAnimating (&Strip (RC))) << "a strip already parked is left alone";

    juce::uint32 outDone = 0, inDone = 0;
    while ((outDone == 0 || inDone == 0) && juce::Time::getMillisecondCounter() - start < 3000)
    {
        qvtest::PumpMessages (1);
        const auto now = juce::Time::getMillisecondCounter() - start;
        if (outDone == 0 && ! animator.isAnimating (&Strip (LR)))
            outDone = now;
        if (inDone == 0 && ! animator.isAnimating (&Strip (BF)))
            inDone = now;
    }

    EXPECT_GE (outDone, 150u);
    EXPECT_GE (inDone, 300u);
    EXPECT_LE (outDone, inDone);
    EXPECT_EQ (Strip (BF).getAlpha(), 1.0f);
    EXPECT_TRUE (Strip (BF).isVisible());
    EXPECT_EQ (Strip (LR).getAlpha(), 0.0f);
    EXPECT_FALSE (Strip (LR).isVisible());
}

TEST_F (OutputPanelTest, EachGestureIsOneProcessorCall)
{
    struct Case
    {
        const char* gesture;
        std::function<void (OutputPanel&)> act;
        std::vector<HostCall> calls;
        std::vector<int> changed; // parameter indices whose value moved
        int dragged = -1;         // the strip whose slider the user holds, and so shows the drag
    };
    const Case cases[] = {
        { "drag L/R trim from 75 to 50", [] (OutputPanel& p) { Drag (*StripOf (p, LR).trimSlider, TrimSliderPoint (75), TrimSliderPoint (50)); },
          { { 16, 0.5f } }, { 16 }, LR },
        { "type -6 into C", [] (OutputPanel& p) { TypeInto (*StripOf (p, C).valueLabel, "-6"); }, { { 17, 0.6f } }, { 17 } },
        { "type 3.5 into LFE", [] (OutputPanel& p) { TypeInto (*StripOf (p, LFE).valueLabel, "3.5"); }, { { 21, 0.84f } }, { 21 } },
        { "type 12 into LS/RS", [] (OutputPanel& p) { TypeInto (*StripOf (p, LsRs).valueLabel, "12"); }, { { 18, 1.0f } }, { 18 } },
        { "type -40 into L/R", [] (OutputPanel& p) { TypeInto (*StripOf (p, LR).valueLabel, "-40"); }, { { 16, 0.0f } }, { 16 } },
        { "type abc into C", [] (OutputPanel& p) { TypeInto (*StripOf (p, C).valueLabel, "abc"); }, {}, {} },
        { "type nan into LFE", [] (OutputPanel& p) { TypeInto (*StripOf (p, LFE).valueLabel, "nan"); }, {}, {} },
        { "click M of LS/RS", [] (OutputPanel& p) { Click (*StripOf (p, LsRs).muteButton); }, { { 25, 1.0f } }, { 25 } },
        { "click M of LFE", [] (OutputPanel& p) { Click (*StripOf (p, LFE).muteButton); }, { { 28, 1.0f } }, { 28 } },
        { "click S of C", [] (OutputPanel& p) { Click (*StripOf (p, C).soloButton); }, { { 30, 1.0f } }, { 30 } },
        { "click S of L/R", [] (OutputPanel& p) { Click (*StripOf (p, LR).soloButton); }, { { 29, 1.0f } }, { 29 } },
        { "choose 7.1", [] (OutputPanel& p) { p.formatCombo->setSelectedId (7, juce::sendNotificationSync); },
          { { 8, 0.5f } }, { 36 } }, // the layout, and the L/R pattern re-sent for its range
        { "choose an id that is not listed", [] (OutputPanel& p) { p.formatCombo->setSelectedId (9, juce::sendNotificationSync); }, {}, {} },
        { "choose no item", [] (OutputPanel& p) { p.formatCombo->setSelectedId (0, juce::sendNotificationSync); }, {}, {} },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.gesture);
        Fresh();
        const auto before = ReadParameters (rig->processor);
        const auto controlsBefore = States();
        c.act (*rig->panel);
        EXPECT_EQ (rig->host.calls, c.calls);
        EXPECT_EQ (ChangedIndices (before, ReadParameters (rig->processor)), c.changed);

        // No trim, meter or place moves before the processor reports back.
        const auto controlsAfter = States();
        for (size_t key = 0; key < 7; ++key)
        {
            if ((int) key != c.dragged)
                EXPECT_EQ (controlsAfter[key].slider, controlsBefore[key].slider) << "strip " << key;
            EXPECT_EQ (controlsAfter[key].text, controlsBefore[key].text) << "strip " << key;
            EXPECT_EQ (controlsAfter[key].bounds, controlsBefore[key].bounds) << "strip " << key;
        }
    }

    // What the processor then reports lands in the strip that was typed into.
    Fresh();
    TypeInto (*Strip (C).valueLabel, "-6");
    rig->processor.UpdateUI();
    EXPECT_EQ (Strip (C).trimSlider->getValue(), 60.0);
    EXPECT_EQ (Strip (C).valueLabel->getText(), " -6dB");
    EXPECT_EQ (rig->host.calls, (std::vector<HostCall> { { 17, 0.6f } })) << "mirroring must not write again";

    // The combo leaves the strips alone until the layout comes back.
    ChooseLayout (7);
    FinishAnimations();
    EXPECT_TRUE (Strip (RLsRRs).isVisible());
    EXPECT_EQ (Strip (RLsRRs).getX(), 240);
}

TEST_F (OutputPanelTest, BFormatLevelAndAltClickReset)
{
    ChooseLayout (8);
    FinishAnimations();
    rig->host.calls.clear();
    TypeInto (*Strip (BF).valueLabel, "12");
    EXPECT_EQ (rig->host.calls, (std::vector<HostCall> { { 22, 1.0f } }));

    // Alt-click on the LFE slider resets parameter 21, without telling the host.
    ChooseLayout (3);
    FinishAnimations();
    rig->processor.setParameter (21, 0.2f);
    rig->processor.UpdateUI();
    rig->host.calls.clear();
    const auto before = ReadParameters (rig->processor);
    Click (*Strip (LFE).trimSlider, TrimSliderPoint (90), altLeftButton);
    EXPECT_TRUE (rig->host.calls.empty());
    EXPECT_EQ (ChangedIndices (before, ReadParameters (rig->processor)), (std::vector<int> { 21 }));
    EXPECT_FLOAT_EQ (rig->processor.getParameter (21), 0.75609756f);
    EXPECT_EQ (Strip (LFE).trimSlider->getValue(), 20.0) << "the slider waits for the processor";
    rig->processor.UpdateUI();
    EXPECT_EQ (Strip (LFE).trimSlider->getValue(), 75.0);
    EXPECT_EQ (Strip (LFE).valueLabel->getText(), "  0dB");
}

TEST_F (OutputPanelTest, LevelNotificationsMoveOnlyTheirStrip)
{
    struct Case
    {
        int index;
        float value;
        int key;
        double slider;
        const char* text;
    };
    const Case cases[] = {
        { 16, 0.5f, LR, 50.0, "-11dB" },  { 17, 1.0f, C, 100.0, " 10dB" },     { 18, 0.0f, LsRs, 0.0, "Off" },
        { 19, 0.5f, RLsRRs, 50.0, "-11dB" }, { 20, 0.25f, RC, 25.0, "-21dB" }, { 21, 0.9f, LFE, 90.0, "  6dB" },
        { 22, 0.1f, BF, 10.0, "-27dB" },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE ("parameter " + std::to_string (c.index));
        auto expected = States();
        expected[(size_t) c.key].slider = c.slider;
        expected[(size_t) c.key].text = c.text;

        rig->processor.setParameter (c.index, c.value);
        const auto values = ReadParameters (rig->processor);
        rig->processor.UpdateUI();

        const auto states = States();
        for (size_t key = 0; key < 7; ++key)
            EXPECT_TRUE (states[key] == expected[key]) << "strip " << key << " shows " << states[key].slider << " "
                                                       << states[key].text;
        EXPECT_TRUE (rig->host.calls.empty()) << "mirroring wrote a parameter";
        EXPECT_TRUE (ChangedIndices (values, ReadParameters (rig->processor)).empty());
    }
}

TEST_F (OutputPanelTest, NotificationsOutsideTheRangeChangeNothing)
{
    const auto before = States();
    const int selected = rig->panel->formatCombo->getSelectedId();

    for (int index : { -1, 0, 15, 37, 40, 50, 1000, INT_MIN, INT_MAX })
    {
        rig->panel->ParameterChangedFloat (index, 0.3f);
        rig->panel->OutputMeterChanged (index, 1.0f);
    }
    rig->panel->InputMeterChanged (41, 1.0f);
    rig->panel->TrimChanged (7, 50);
    rig->panel->TrimChanged (-1, 50);
    rig->panel->resetToDefaultValue (7);

    EXPECT_TRUE (States() == before);
    EXPECT_EQ (rig->panel->formatCombo->getSelectedId(), selected);
    EXPECT_TRUE (rig->host.calls.empty());
    EXPECT_EQ (rig->panel->getTextFromValue (7, 0.5), "");
    EXPECT_EQ (rig->panel->getTextFromValue (-1, 0.5), "");
}

TEST_F (OutputPanelTest, SliderTextsAndResetsByKey)
{
    // Distinct levels, so a wrong key shows as a wrong text.
    const std::pair<int, float> levels[] = { { 16, 0.0f }, { 17, 0.1f }, { 21, 0.25f }, { 18, 0.5f },
                                             { 19, 0.9f }, { 20, 1.0f }, { 22, 0.6f } };
    for (auto [index, value] : levels)
        rig->processor.setParameter (index, value);

    const char* texts[] = { "Off", "-27dB", "-21dB", "-11dB", "  6dB", " 10dB", " -6dB" };
    for (int key = 0; key < 7; ++key)
    {
        EXPECT_EQ (rig->panel->getTextFromValue (key, 12.0), texts[key]) << "key " << key;
        EXPECT_EQ (Strip (key).trimSlider->getTextFromValue (12.0), texts[key]) << "key " << key;
    }

    const int trims[] = { 16, 17, 21, 18, 19, 20, 22 };
    for (int key = 0; key < 7; ++key)
    {
        const auto before = ReadParameters (rig->processor);
        rig->panel->resetToDefaultValue (key);
        EXPECT_EQ (ChangedIndices (before, ReadParameters (rig->processor)), (std::vector<int> { trims[key] })) << "key " << key;
        EXPECT_FLOAT_EQ (rig->processor.getParameter (trims[key]), 0.75609756f);
    }
    EXPECT_TRUE (rig->host.calls.empty());
}

TEST_F (OutputPanelTest, MetersByLayout)
{
    struct Case
    {
        int layout;
        int index;
        std::vector<std::pair<int, int>> lit; // (key, meter 1-4)
    };
    const Case cases[] = {
        { 3, 41, { { LR, 1 } } },     { 3, 42, { { LR, 2 } } },     { 3, 43, { { C, 1 } } },
        { 3, 44, { { LFE, 1 } } },    { 3, 45, { { LsRs, 1 } } },   { 3, 46, { { LsRs, 2 } } },
        { 3, 47, { { RLsRRs, 1 } } }, { 3, 48, { { RLsRRs, 2 } } }, { 3, 49, { { RC, 1 } } },
        { 8, 41, { { BF, 1 } } },     { 8, 42, { { BF, 2 } } },     { 8, 43, { { BF, 3 } } },
        { 8, 44, { { BF, 4 } } },     { 8, 45, { { LsRs, 1 } } },
        { 1, 41, { { LR, 1 } } },     { 1, 43, {} },                { 1, 44, {} },
        { 1, 47, { { RLsRRs, 1 } } }, { 1, 49, { { RC, 1 } } },
        { 3, 40, {} },                { 3, 50, {} },                { 3, -1, {} },
    };

    int layout = 0;
    for (const auto& c : cases)
    {
        SCOPED_TRACE (testing::Message() << "layout " << c.layout << ", meter " << c.index);
        if (c.layout != layout)
        {
            ChooseLayout (layout = c.layout);
            FinishAnimations();
        }

        for (int key = 0; key < 7; ++key)
            for (auto* m : { Strip (key).meter1.get(), Strip (key).meter2.get(), Strip (key).meter3.get(), Strip (key).meter4.get() })
                if (m != nullptr)
                    m->setValue (0.0f);

        rig->panel->OutputMeterChanged (c.index, 1.0f);

        for (int key = 0; key < 7; ++key)
        {
            auto& s = Strip (key);
            BargraphComponent* meters[] = { s.meter1.get(), s.meter2.get(), s.meter3.get(), s.meter4.get() };
            for (int m = 0; m < 4; ++m)
            {
                if (meters[m] == nullptr)
                    continue;
                const bool expectLit = std::find (c.lit.begin(), c.lit.end(), std::make_pair (key, m + 1)) != c.lit.end();
                EXPECT_EQ (meters[m]->level, expectLit ? 1.0f : 0.0f) << "strip " << key << " meter " << m + 1;
            }
        }
    }
}

TEST_F (OutputPanelTest, SoloFlashesTheOtherGroups)
{
    const int others[] = { LR, LFE, LsRs };
    Click (*Strip (C).soloButton);
    EXPECT_EQ (rig->host.calls, (std::vector<HostCall> { { 30, 1.0f } }));
    EXPECT_TRUE (rig->panel->isTimerRunning());
    EXPECT_EQ (rig->panel->getTimerInterval(), 500);
    EXPECT_TRUE (Strip (C).soloButton->getToggleState());
    EXPECT_FALSE (Strip (C).muteButton->getToggleState());
    for (int key : others)
    {
        EXPECT_TRUE (Strip (key).muteButton->getToggleState()) << key;
        EXPECT_TRUE (Strip (key).muteButton->flashing) << key;
    }

    // "M" of LS/RS shows lit; a click turns its lamp off and so writes 0, which
    // while a solo is on turns the group's own mute on: the lamp holds steady.
    rig->host.calls.clear();
    Click (*Strip (LsRs).muteButton);
    EXPECT_EQ (rig->host.calls, (std::vector<HostCall> { { 25, 0.0f } }));
    EXPECT_TRUE (Strip (LsRs).muteButton->getToggleState());
    EXPECT_FALSE (Strip (LsRs).muteButton->flashing);

    rig->panel->timerCallback();
    EXPECT_FALSE (Strip (LR).muteButton->showText) << "a blinking caption hides on the first step";
    EXPECT_FALSE (Strip (LFE).muteButton->showText);
    EXPECT_TRUE (Strip (LsRs).muteButton->showText) << "a muted group's caption stays";
    EXPECT_TRUE (Strip (C).muteButton->showText);

    // Clearing the last solo stops the blinking with every caption shown.
    rig->host.calls.clear();
    Click (*Strip (C).soloButton);
    EXPECT_EQ (rig->host.calls, (std::vector<HostCall> { { 30, 0.0f } }));
    EXPECT_FALSE (rig->panel->isTimerRunning());
    for (int key : { LR, C, LFE, LsRs, RLsRRs, RC })
    {
        EXPECT_TRUE (Strip (key).muteButton->showText) << key;
        EXPECT_FALSE (Strip (key).muteButton->flashing) << key;
        EXPECT_EQ (Strip (key).muteButton->getToggleState(), key == LsRs) << key;
    }

    // A solo that arrives from the processor (automation) starts the flash too.
    rig->processor.setParameter (33, 1.0f);
    rig->processor.UpdateUI();
    EXPECT_TRUE (rig->panel->isTimerRunning());
    EXPECT_TRUE (Strip (RC).soloButton->getToggleState());
    EXPECT_TRUE (Strip (LR).muteButton->flashing);
}

TEST_F (OutputPanelTest, HostFixedLayoutDisablesTheCombo)
{
    rig->processor.HostSetOutputFormat (kOutputFormat7_1);
    std::unique_ptr<juce::AudioProcessorEditor> editor (rig->processor.createEditor());
    EXPECT_FALSE (rig->panel->formatCombo->isEnabled());
    EXPECT_EQ (rig->panel->formatCombo->getSelectedId(), 7);
    FinishAnimations();
    EXPECT_TRUE (Strip (RLsRRs).isVisible());
    editor.reset();

    // The input format refills the combo, which keeps the layout selected.
    rig->processor.SetInputFormat (Quorvane2AudioProcessor::kAFormat);
    rig->processor.UpdateUI();
    EXPECT_EQ (rig->panel->formatCombo->getNumItems(), 8);
    EXPECT_EQ (rig->panel->formatCombo->getSelectedId(), 7);
    EXPECT_FALSE (rig->panel->formatCombo->isEnabled());
    EXPECT_TRUE (rig->host.calls.empty());
}

TEST_F (OutputPanelTest, PlatesAndMeterRowsIn71)
{
    ChooseLayout (7);
    FinishAnimations();
    rig->panel->OutputMeterChanged (41, 0.1f); // -20 dB: 44 of 74 rows
    rig->panel->OutputMeterChanged (42, 1.0f); // 0 dB: all of them
    const auto image = qvtest::RenderComponent (*rig->panel, editorBackground);

    // Black at 0.45 over the editor's colour, white at 0.2 over that.
    const juce::Colour ground (0xFF6E8296), plate (0xFF3C4752), stripPlate (0xFF636C75);
    struct Probe
    {
        int x, y;
        juce::Colour expected;
    };
    std::vector<Probe> probes = { { 0, 100, ground }, { 299, 100, ground }, { 2, 100, plate }, { 298, 100, plate },
                                  { 150, 0, ground }, { 150, 159, ground }, { 150, 158, plate } };
    for (int x : { 4, 63, 122, 181, 240 })
    {
        probes.push_back ({ x, 80, plate });
        probes.push_back ({ x + 1, 80, stripPlate });
        probes.push_back ({ x + 54, 80, stripPlate });
        probes.push_back ({ x + 55, 80, plate });
        probes.push_back ({ x + 30, 21, stripPlate });
        probes.push_back ({ x + 30, 154, stripPlate });
        probes.push_back ({ x + 30, 155, plate });
    }
    for (const auto& p : probes)
    {
        const auto pixel = qvtest::PixelAt (image, p.x, p.y);
        EXPECT_TRUE (qvtest::Near (pixel, p.expected, 2)) << "(" << p.x << ", " << p.y << ") " << qvtest::Describe (pixel)
                                                         << ", expected " << qvtest::Describe (p.expected);
    }

    // The L/R meters at panel x 10 and 20, from y 45: lit rows end at 119.
    const std::tuple<int, int, bool> rows[] = { { 11, 75, false }, { 11, 76, true }, { 11, 119, true }, { 11, 120, false },
                                                { 21, 45, false }, { 21, 46, true }, { 21, 119, true } };
    for (auto [x, y, lit] : rows)
        EXPECT_EQ (IsLit (qvtest::PixelAt (image, x, y)), lit) << "(" << x << ", " << y << ")";
}
