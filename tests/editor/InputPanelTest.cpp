// The input panel with the real processor: layout, each gesture as exactly
// one processor call, each notification moving exactly its control, pixels.
#include "InputPanel.h"
#include "PanelTestSupport.h"

#include <climits>
#include <functional>

using namespace paneltest;

namespace
{
using R = juce::Rectangle<int>;

// What a user sees of the panel, in one line.
juce::String Shown (const InputPanel& p)
{
    juce::String t;
    for (auto* l : { p.meterLabel1.get(), p.meterLabel2.get(), p.meterLabel3.get(), p.meterLabel4.get() })
        t << l->getText() << " ";
    t << "combo " << p.formatCombo->getSelectedId() << " trim " << (int) p.trimSlider->getValue() << " " << p.trimValueLabel->getText()
      << " switches " << (int) p.invertButton->getToggleState() << (int) p.endFireButton->getToggleState() << (int) p.hiPassButton->getToggleState()
      << " meters";
    for (auto* m : { p.meter1.get(), p.meter2.get(), p.meter3.get(), p.meter4.get() })
        t << " " << m->level;
    return t;
}

class InputPanelTest : public PanelTest<InputPanel>
{
protected:
    InputPanelTest() : PanelTest (R (1, 2, 220, 160)) {}
};

// B-format as a new processor has it; 0 dB (0.7561 x 100) goes to the slider's nearest step, 76.
const char* const freshlyShown = "W X Y Z combo 2 trim 76   0dB switches 000 meters 0 0 0 0";
} // namespace

TEST_F (InputPanelTest, ChildrenInPlace)
{
    auto& p = Panel();
    EXPECT_EQ (p.getName(), "Input");
    EXPECT_EQ (p.header->text, "INPUT");
    const std::pair<juce::Component*, R> places[] = {
        { p.header.get(), R (0, 0, 220, 20) },        { p.formatCombo.get(), R (122, 4, 94, 14) },
        { p.meter1.get(), R (48, 45, 6, 76) },        { p.meter2.get(), R (68, 45, 6, 76) },
        { p.meter3.get(), R (88, 45, 6, 76) },        { p.meter4.get(), R (108, 45, 6, 76) },
        { p.meterLabel1.get(), R (43, 127, 18, 12) }, { p.meterLabel2.get(), R (63, 127, 18, 12) },
        { p.meterLabel3.get(), R (83, 127, 18, 12) }, { p.meterLabel4.get(), R (103, 127, 18, 12) },
        { p.trimLabel.get(), R (156, 126, 40, 14) },  { p.trimSlider.get(), R (164, 39, 24, 91) },
        { p.trimValueLabel.get(), R (156, 24, 40, 15) },
        // Centred at 0.2, 0.5 and 0.8 of the width and 0.905 of the height.
        { p.invertButton.get(), R (14, 139, 60, 13) }, { p.endFireButton.get(), R (80, 139, 60, 13) },
        { p.hiPassButton.get(), R (146, 139, 60, 13) },
    };
    for (auto [child, bounds] : places)
        EXPECT_EQ (child->isVisible() && child->getParentComponent() == &p ? child->getBounds() : R(), bounds) << child->getBounds().toString();

    EXPECT_EQ (p.trimLabel->getText(), "TRIM");
    for (auto [button, caption] : { std::pair (p.invertButton.get(), "INVERT"), { p.endFireButton.get(), "END FIRE" }, { p.hiPassButton.get(), "HI PASS" } })
        EXPECT_EQ (button->getName() + " " + juce::String::toHexString ((int) button->glowColour.getARGB()), juce::String (caption) + " ffff8c00");
    EXPECT_EQ (p.formatCombo->getItemText (0) + p.formatCombo->getItemText (1), "A FORMATB FORMAT");
    EXPECT_EQ (p.formatCombo->getItemId (1), 2);
    EXPECT_EQ (p.trimSlider->paramId, 1);
    EXPECT_EQ (p.trimSlider->listener, &p);
    EXPECT_EQ (p.trimSlider->getTextBoxPosition(), juce::Slider::NoTextBox);
    EXPECT_EQ (p.getTextFromValue (1, 0.5), "--");

    // Built, the panel shows A-format until the processor's full update says otherwise.
    Quorvane2AudioProcessor processor;
    InputPanel panel (processor);
    EXPECT_EQ (Shown (panel), "LF RF LB RB combo 1 trim 0  switches 000 meters 0 0 0 0");
    processor.FullUIUpdate();
    EXPECT_EQ (Shown (panel), freshlyShown);
}

TEST_F (InputPanelTest, EachGestureIsOneProcessorCall)
{
    const auto typed = [] (const char* text) { return [text] (InputPanel& p) { TypeInto (*p.trimValueLabel, text); }; };
    const GestureCase<InputPanel> cases[] = {
        { "drag trim from 76 to 20", [] (auto& p) { Drag (*p.trimSlider, TrimSliderPoint (76), TrimSliderPoint (20)); }, { { 0, 0.2f } }, { 0 },
          "W X Y Z combo 2 trim 20   0dB switches 000 meters 0 0 0 0" },
        { "type -6", typed ("-6"), { { 0, 0.6097561f } }, { 0 }, freshlyShown },
        { "type 0", typed ("0"), { { 0, 0.7560976f } }, {}, freshlyShown }, // the default
        { "type 15", typed ("15"), { { 0, 1.0f } }, { 0 }, freshlyShown },
        { "type -31", typed ("-31"), { { 0, 0.0f } }, { 0 }, freshlyShown },
        { "type -50", typed ("-50"), { { 0, 0.0f } }, { 0 }, freshlyShown },
        { "type abc", typed ("abc"), {}, {}, freshlyShown },
        { "type nan", typed ("nan"), {}, {}, freshlyShown },
        { "type 1e40", typed ("1e40"), {}, {}, freshlyShown },
        { "click INVERT", [] (auto& p) { Click (*p.invertButton); }, { { 1, 1.0f } }, { 1 },
          "W X Y Z combo 2 trim 76   0dB switches 100 meters 0 0 0 0" },
        { "click END FIRE twice", [] (auto& p) { Click (*p.endFireButton); Click (*p.endFireButton); }, { { 2, 1.0f }, { 2, 0.0f } }, {}, freshlyShown },
        { "click HI PASS", [] (auto& p) { Click (*p.hiPassButton); }, { { 3, 1.0f } }, { 3 },
          "W X Y Z combo 2 trim 76   0dB switches 001 meters 0 0 0 0" },
        // Not a host parameter: the host hears nothing; the names wait for the processor.
        { "choose A FORMAT", [] (auto& p) { p.formatCombo->setSelectedId (1, juce::sendNotificationSync); }, {}, { 35 },
          "W X Y Z combo 1 trim 76   0dB switches 000 meters 0 0 0 0" },
        { "choose an unlisted id", [] (auto& p) { p.formatCombo->setSelectedId (3, juce::sendNotificationSync); }, {}, {}, freshlyShown },
        { "choose no item", [] (auto& p) { p.formatCombo->setSelectedId (0, juce::sendNotificationSync); }, {}, {}, freshlyShown },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.gesture);
        Fresh();
        rig->ExpectGesture (c.act, c.calls, c.changed);
        EXPECT_EQ (Shown (Panel()), c.shown);
    }

    // Alt-click resets the input level to 0 dB (31/41) and tells the host; the slider follows the refresh.
    rig->processor.setParameter (0, 0.2f);
    rig->processor.UpdateUI();
    rig->ExpectGesture ([] (auto& p) { Click (*p.trimSlider, TrimSliderPoint (60), altLeftButton); }, { { 0, 31.0f / 41.0f } }, { 0 });
    EXPECT_EQ (Shown (Panel()), "W X Y Z combo 2 trim 20 -23dB switches 000 meters 0 0 0 0");
    rig->processor.UpdateUI();
    EXPECT_EQ (Shown (Panel()), freshlyShown);
}

TEST_F (InputPanelTest, NotificationsMoveOnlyTheirControl)
{
    const std::tuple<int, float, const char*> steps[] = { // applied in order to one processor
        { 0, 0.5f, "W X Y Z combo 2 trim 50 -11dB switches 000" },  { 0, 1.0f, "W X Y Z combo 2 trim 100  10dB switches 000" },
        { 1, 1.0f, "W X Y Z combo 2 trim 100  10dB switches 100" }, { 2, 1.0f, "W X Y Z combo 2 trim 100  10dB switches 110" },
        { 3, 1.0f, "W X Y Z combo 2 trim 100  10dB switches 111" }, { 3, 0.5f, "W X Y Z combo 2 trim 100  10dB switches 110" },
        { 3, 0.51f, "W X Y Z combo 2 trim 100  10dB switches 111" }, { 35, 0.0f, "LF RF LB RB combo 1 trim 100  10dB switches 111" },
        { 0, 0.0f, "LF RF LB RB combo 1 trim 0 Off switches 111" },   { 35, 1.0f, "W X Y Z combo 2 trim 0 Off switches 111" },
    };
    for (auto [index, value, shown] : steps)
    {
        SCOPED_TRACE (testing::Message() << "parameter " << index << " at " << value);
        rig->processor.setParameter (index, value);
        rig->ExpectGesture ([&] (auto&) { rig->processor.UpdateUI(); }, {}, {}); // mirroring writes nothing
        EXPECT_EQ (Shown (Panel()), juce::String (shown) + " meters 0 0 0 0");
    }

    // Meters 37 to 40 each light their own meter; every other index changes nothing.
    for (int index : { 37, 38, 39, 40 })
    {
        Fresh();
        Panel().InputMeterChanged (index, 1.0f);
        EXPECT_EQ (Shown (Panel()).fromLastOccurrenceOf ("meters", false, false),
                   juce::String (" 0 0 0 0").replaceSection (1 + 2 * (index - 37), 1, "1"));
    }
    Fresh();
    rig->ExpectGesture ([] (InputPanel& p) {
        for (int i : { -1, 4, 36, 41, 50, INT_MIN, INT_MAX })
        {
            p.ParameterChangedFloat (i, 1.0f);
            p.InputMeterChanged (i, 1.0f);
            p.OutputMeterChanged (i, 1.0f);
        }
        p.resetToDefaultValue (0);
        p.resetToDefaultValue (2);
    }, {}, {});
    EXPECT_EQ (Shown (Panel()), freshlyShown);

    Panel().ParameterChangedFloat (0, std::numeric_limits<float>::quiet_NaN()); // a NaN a host left there
    EXPECT_EQ (Panel().trimSlider->getValue(), 0.0);
}

TEST_F (InputPanelTest, TrimPlateAndMeterRows)
{
    Panel().InputMeterChanged (37, 0.1f); // -20 dB: 44 of 74 rows
    Panel().InputMeterChanged (40, 1.0f); // 0 dB
    const auto image = qvtest::RenderComponent (Panel(), juce::Colour (groundArgb));

    // The trim group's plate (5, 21, 210, 134) on the panel's plate.
    ExpectPixels (image, { { 0, 80, groundArgb },     { 1, 80, plateArgb },       { 4, 80, plateArgb },    { 5, 80, groupPlateArgb },
                           { 214, 30, groupPlateArgb }, { 215, 30, plateArgb },     { 219, 30, groundArgb }, { 30, 20, plateArgb },
                           { 30, 21, groupPlateArgb },  { 30, 154, groupPlateArgb }, { 30, 155, plateArgb },  { 30, 159, groundArgb } });
    ExpectMeterRows (image, { { 49, 75, false }, { 49, 76, true }, { 49, 119, true }, { 49, 120, false }, { 109, 45, false }, { 109, 46, true }, { 69, 100, false } });
}
