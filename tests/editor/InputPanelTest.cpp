// The input panel driven with the real processor: layout, each gesture as
// exactly one processor call, each notification moving exactly its control,
// and the panel's plates and meter rows.
#include "InputPanel.h"
#include "PanelTestSupport.h"

#include <climits>
#include <functional>

using namespace paneltest;

namespace
{
using R = juce::Rectangle<int>;

// What a user sees of the panel.
struct InputState
{
    juce::String names[4];
    int comboId;
    double slider;
    juce::String text;
    bool invert, endFire, hiPass;
    float meters[4];

    bool operator== (const InputState& o) const
    {
        return std::equal (std::begin (names), std::end (names), std::begin (o.names)) && comboId == o.comboId
            && slider == o.slider && text == o.text && invert == o.invert && endFire == o.endFire && hiPass == o.hiPass
            && std::equal (std::begin (meters), std::end (meters), std::begin (o.meters));
    }
};

InputState StateOf (const InputPanel& p)
{
    return { { p.meterLabel1->getText(), p.meterLabel2->getText(), p.meterLabel3->getText(), p.meterLabel4->getText() },
             p.formatCombo->getSelectedId(), p.trimSlider->getValue(), p.trimValueLabel->getText(),
             p.invertButton->getToggleState(), p.endFireButton->getToggleState(), p.hiPassButton->getToggleState(),
             { p.meter1->level, p.meter2->level, p.meter3->level, p.meter4->level } };
}

void SetNames (InputState& s, std::initializer_list<const char*> names)
{
    std::copy (names.begin(), names.end(), std::begin (s.names));
}

class InputPanelTest : public EditorTest
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
        rig = std::make_unique<PanelRig<InputPanel>> (R (1, 2, 220, 160));
    }

    InputPanel& Panel() { return *rig->panel; }

    std::unique_ptr<PanelRig<InputPanel>> rig;
};
} // namespace

TEST_F (InputPanelTest, ChildrenInPlace)
{
    auto& p = Panel();
    EXPECT_EQ (p.getName(), "Input");
    EXPECT_EQ (p.header->text, "INPUT");

    const std::pair<juce::Component*, R> places[] = {
        { p.header.get(), R (0, 0, 220, 20) },          { p.formatCombo.get(), R (122, 4, 94, 14) },
        { p.meter1.get(), R (48, 45, 6, 76) },          { p.meter2.get(), R (68, 45, 6, 76) },
        { p.meter3.get(), R (88, 45, 6, 76) },          { p.meter4.get(), R (108, 45, 6, 76) },
        { p.meterLabel1.get(), R (43, 127, 18, 12) },   { p.meterLabel2.get(), R (63, 127, 18, 12) },
        { p.meterLabel3.get(), R (83, 127, 18, 12) },   { p.meterLabel4.get(), R (103, 127, 18, 12) },
        { p.trimLabel.get(), R (156, 126, 40, 14) },    { p.trimSlider.get(), R (164, 39, 24, 91) },
        { p.trimValueLabel.get(), R (156, 24, 40, 15) }, // the three switches centred at 0.2, 0.5, 0.8 and 0.905
        { p.invertButton.get(), R (14, 139, 60, 13) },  { p.endFireButton.get(), R (80, 139, 60, 13) },
        { p.hiPassButton.get(), R (146, 139, 60, 13) },
    };
    for (const auto& [child, bounds] : places)
    {
        EXPECT_EQ (child->getBounds(), bounds) << child->getName() << " " << child->getBounds().toString();
        EXPECT_TRUE (child->isVisible());
        EXPECT_EQ (child->getParentComponent(), &p);
    }

    EXPECT_EQ (p.trimLabel->getText(), "TRIM");
    const std::pair<GlowingButton*, const char*> buttons[] = { { p.invertButton.get(), "INVERT" },
                                                               { p.endFireButton.get(), "END FIRE" },
                                                               { p.hiPassButton.get(), "HI PASS" } };
    for (auto [button, caption] : buttons)
    {
        EXPECT_EQ (button->getName(), caption);
        EXPECT_EQ (button->glowColour.getARGB(), 0xFFFF8C00u) << caption << ": dark orange";
    }

    ASSERT_EQ (p.formatCombo->getNumItems(), 2);
    EXPECT_EQ (p.formatCombo->getItemText (0), "A FORMAT");
    EXPECT_EQ (p.formatCombo->getItemId (0), 1);
    EXPECT_EQ (p.formatCombo->getItemText (1), "B FORMAT");
    EXPECT_EQ (p.formatCombo->getItemId (1), 2);

    EXPECT_EQ (p.trimSlider->paramId, 1);
    EXPECT_EQ (p.trimSlider->divisor, 100);
    EXPECT_EQ (p.trimSlider->listener, &p);
    EXPECT_EQ (p.trimSlider->getTextBoxPosition(), juce::Slider::NoTextBox);
    EXPECT_EQ (p.trimSlider->getMaximum(), 100.0);
    EXPECT_EQ (p.trimSlider->getInterval(), 1.0);
    EXPECT_EQ (p.getTextFromValue (1, 0.5), "--");
}

TEST_F (InputPanelTest, AFormatUntilTheProcessorSaysOtherwise)
{
    Quorvane2AudioProcessor processor; // B-format input when new
    InputPanel panel (processor);
    EXPECT_EQ (panel.meterLabel1->getText(), "LF");
    EXPECT_EQ (panel.meterLabel2->getText(), "RF");
    EXPECT_EQ (panel.meterLabel3->getText(), "LB");
    EXPECT_EQ (panel.meterLabel4->getText(), "RB");
    EXPECT_EQ (panel.formatCombo->getSelectedId(), 1);

    processor.FullUIUpdate();
    const auto shown = StateOf (panel);
    // 0.7561 x 100 goes to the slider's nearest step, 76.
    const InputState expected { { "W", "X", "Y", "Z" }, 2, 76.0, "  0dB", false, false, false, { 0, 0, 0, 0 } };
    EXPECT_TRUE (shown == expected) << shown.names[0] << " " << shown.comboId << " " << shown.slider << " " << shown.text;
}

TEST_F (InputPanelTest, EachGestureIsOneProcessorCall)
{
    using Shown = std::function<void (InputState&)>;
    struct Case
    {
        const char* gesture;
        std::function<void (InputPanel&)> act;
        std::vector<HostCall> calls;
        std::vector<std::pair<int, float>> changed; // parameters and their new values
        Shown own;                                  // the control the user moved shows it at once
    };
    const Case cases[] = {
        { "drag trim from 76 to 20", [] (InputPanel& p) { Drag (*p.trimSlider, TrimSliderPoint (76), TrimSliderPoint (20)); },
          { { 0, 0.2f } }, { { 0, 0.2f } }, [] (InputState& s) { s.slider = 20.0; } },
        { "type -6", [] (InputPanel& p) { TypeInto (*p.trimValueLabel, "-6"); }, { { 0, 0.6097561f } }, { { 0, 0.6097561f } } },
        { "type 0", [] (InputPanel& p) { TypeInto (*p.trimValueLabel, "0"); }, { { 0, 0.7560976f } }, {} }, // the default
        { "type 15", [] (InputPanel& p) { TypeInto (*p.trimValueLabel, "15"); }, { { 0, 1.0f } }, { { 0, 1.0f } } },
        { "type -31", [] (InputPanel& p) { TypeInto (*p.trimValueLabel, "-31"); }, { { 0, 0.0f } }, { { 0, 0.0f } } },
        { "type -50", [] (InputPanel& p) { TypeInto (*p.trimValueLabel, "-50"); }, { { 0, 0.0f } }, { { 0, 0.0f } } },
        { "type abc", [] (InputPanel& p) { TypeInto (*p.trimValueLabel, "abc"); }, {}, {} },
        { "type nan", [] (InputPanel& p) { TypeInto (*p.trimValueLabel, "nan"); }, {}, {} },
        { "type 1e40", [] (InputPanel& p) { TypeInto (*p.trimValueLabel, "1e40"); }, {}, {} },
        { "click INVERT", [] (InputPanel& p) { Click (*p.invertButton); }, { { 1, 1.0f } }, { { 1, 1.0f } },
          [] (InputState& s) { s.invert = true; } },
        { "click END FIRE twice", [] (InputPanel& p) { Click (*p.endFireButton); Click (*p.endFireButton); },
          { { 2, 1.0f }, { 2, 0.0f } }, {} },
        { "click HI PASS", [] (InputPanel& p) { Click (*p.hiPassButton); }, { { 3, 1.0f } }, { { 3, 1.0f } },
          [] (InputState& s) { s.hiPass = true; } },
        // No host call: the input format is not a host parameter. The names wait for the processor.
        { "choose A FORMAT", [] (InputPanel& p) { p.formatCombo->setSelectedId (1, juce::sendNotificationSync); },
          {}, { { 35, 0.0f } }, [] (InputState& s) { s.comboId = 1; } },
        { "choose an id that is not listed", [] (InputPanel& p) { p.formatCombo->setSelectedId (3, juce::sendNotificationSync); }, {}, {} },
        { "choose no item", [] (InputPanel& p) { p.formatCombo->setSelectedId (0, juce::sendNotificationSync); }, {}, {} },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.gesture);
        Fresh();
        const auto before = ReadParameters (rig->processor);
        auto expectedShown = StateOf (Panel());
        c.act (Panel());
        EXPECT_EQ (rig->host.calls, c.calls);

        const auto after = ReadParameters (rig->processor);
        std::vector<int> expectedIndices;
        for (auto [index, value] : c.changed)
        {
            expectedIndices.push_back (index);
            EXPECT_FLOAT_EQ (after[(size_t) index], value) << "parameter " << index;
        }
        EXPECT_EQ (ChangedIndices (before, after), expectedIndices);

        if (c.own)
            c.own (expectedShown);
        const auto shown = StateOf (Panel());
        EXPECT_TRUE (shown == expectedShown) << shown.slider << " " << shown.text << " " << shown.names[0] << " " << shown.comboId;
    }

    // Then the processor's refresh brings the names of the new format.
    Fresh();
    Panel().formatCombo->setSelectedId (1, juce::sendNotificationSync);
    EXPECT_EQ (rig->processor.GetInputFormat(), Quorvane2AudioProcessor::kAFormat);
    rig->processor.UpdateUI();
    EXPECT_EQ (Panel().meterLabel1->getText(), "LF");
    EXPECT_EQ (Panel().meterLabel4->getText(), "RB");
    EXPECT_EQ (Panel().formatCombo->getSelectedId(), 1);
}

TEST_F (InputPanelTest, AltClickResetsTheInputLevel)
{
    rig->processor.setParameter (0, 0.2f);
    rig->processor.UpdateUI();
    ASSERT_EQ (Panel().trimSlider->getValue(), 20.0);
    Click (*Panel().trimSlider, TrimSliderPoint (60), altLeftButton);
    EXPECT_FLOAT_EQ (rig->processor.getParameter (0), 0.75609756f);
    EXPECT_TRUE (rig->host.calls.empty());
    EXPECT_EQ (Panel().trimSlider->getValue(), 20.0) << "the slider waits for the processor";
    rig->processor.UpdateUI();
    EXPECT_EQ (Panel().trimSlider->getValue(), 76.0) << "0.7561 x 100 goes to the nearest step";
    EXPECT_EQ (Panel().trimValueLabel->getText(), "  0dB");
}

TEST_F (InputPanelTest, NotificationsMoveOnlyTheirControl)
{
    struct Case
    {
        int index;
        float value;
        std::function<void (InputState&)> expect;
    };
    // Applied in order to one processor.
    const Case cases[] = {
        { 0, 0.5f, [] (InputState& s) { s.slider = 50.0; s.text = "-11dB"; } },
        { 0, 1.0f, [] (InputState& s) { s.slider = 100.0; s.text = " 10dB"; } },
        { 0, 0.0f, [] (InputState& s) { s.slider = 0.0; s.text = "Off"; } },
        { 1, 1.0f, [] (InputState& s) { s.invert = true; } },
        { 2, 1.0f, [] (InputState& s) { s.endFire = true; } },
        { 3, 1.0f, [] (InputState& s) { s.hiPass = true; } },
        { 3, 0.5f, [] (InputState& s) { s.hiPass = false; } }, // on strictly above one half
        { 3, 0.51f, [] (InputState& s) { s.hiPass = true; } },
        { 1, 0.0f, [] (InputState& s) { s.invert = false; } },
        { 35, 0.0f, [] (InputState& s) { s.comboId = 1; SetNames (s, { "LF", "RF", "LB", "RB" }); } },
        { 35, 1.0f, [] (InputState& s) { s.comboId = 2; SetNames (s, { "W", "X", "Y", "Z" }); } },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (testing::Message() << "parameter " << c.index << " at " << c.value);
        auto expected = StateOf (Panel());
        c.expect (expected);
        rig->processor.setParameter (c.index, c.value);
        const auto values = ReadParameters (rig->processor);
        rig->processor.UpdateUI();
        const auto shown = StateOf (Panel());
        EXPECT_TRUE (shown == expected) << shown.slider << " " << shown.text << " " << shown.names[0] << " " << shown.comboId;
        EXPECT_TRUE (rig->host.calls.empty()) << "mirroring wrote a parameter";
        EXPECT_TRUE (ChangedIndices (values, ReadParameters (rig->processor)).empty());
    }
}

TEST_F (InputPanelTest, MetersAndIndicesOutsideTheRange)
{
    for (int index : { 37, 38, 39, 40 })
    {
        SCOPED_TRACE ("meter " + std::to_string (index));
        for (auto* m : { Panel().meter1.get(), Panel().meter2.get(), Panel().meter3.get(), Panel().meter4.get() })
            m->setValue (0.0f);
        Panel().InputMeterChanged (index, 1.0f);
        const auto s = StateOf (Panel());
        for (int m = 0; m < 4; ++m)
            EXPECT_EQ (s.meters[m], m == index - 37 ? 1.0f : 0.0f) << "meter " << m + 1;
    }

    Panel().InputMeterChanged (37, 0.0f);
    const auto before = StateOf (Panel());
    for (int index : { -1, 4, 36, 41, 50, INT_MIN, INT_MAX })
    {
        Panel().ParameterChangedFloat (index, 1.0f);
        Panel().InputMeterChanged (index, 1.0f);
        Panel().OutputMeterChanged (index, 1.0f);
    }
    Panel().resetToDefaultValue (0);
    Panel().resetToDefaultValue (2);
    EXPECT_TRUE (StateOf (Panel()) == before);
    EXPECT_TRUE (rig->host.calls.empty());
}

TEST_F (InputPanelTest, TrimPlateAndMeterRows)
{
    Panel().InputMeterChanged (37, 0.1f); // -20 dB: 44 of 74 rows
    Panel().InputMeterChanged (40, 1.0f); // 0 dB
    const auto image = qvtest::RenderComponent (Panel(), editorBackground);

    // The trim group's light plate (5, 21, 210, 134) on the panel's dark one.
    const juce::Colour ground (0xFF6E8296), plate (0xFF3C4752), trimPlate (0xFF636C75);
    const std::tuple<int, int, juce::Colour> probes[] = {
        { 0, 80, ground },       { 1, 80, plate },       { 4, 80, plate },        { 5, 80, trimPlate },
        { 214, 30, trimPlate },  { 215, 30, plate },     { 219, 30, ground },     { 30, 20, plate },
        { 30, 21, trimPlate },   { 30, 154, trimPlate }, { 30, 155, plate },      { 30, 159, ground },
    };
    for (auto [x, y, expected] : probes)
    {
        const auto pixel = qvtest::PixelAt (image, x, y);
        EXPECT_TRUE (qvtest::Near (pixel, expected, 2)) << "(" << x << ", " << y << ") " << qvtest::Describe (pixel)
                                                       << ", expected " << qvtest::Describe (expected);
    }

    const std::tuple<int, int, bool> rows[] = { { 49, 75, false },  { 49, 76, true },  { 49, 119, true }, { 49, 120, false },
                                                { 109, 45, false }, { 109, 46, true }, { 69, 100, false } };
    for (auto [x, y, lit] : rows)
        EXPECT_EQ (IsLit (qvtest::PixelAt (image, x, y)), lit) << "(" << x << ", " << y << ")";
}
