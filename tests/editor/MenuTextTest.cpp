// The pop-up menus the editor opens (the input-format and output-layout combo
// boxes, the ROTATION knob's right-click menu) show the text of every row on a
// machine whose fonts are only the system's own, also after another editor
// has come and gone. The menus are real windows on the display; each one is
// painted into an image and the text area of every row is searched for ink.
#include <gtest/gtest.h>

#include "ComponentSnapshot.h"
#include "GuiTestEnvironment.h"
#include "InputPanel.h"
#include "OutputPanel.h"
#include "ParameterContainer.h"
#include "ParamsPanel.h"
#include "Quorvane2AudioProcessor.h"
#include "Quorvane2AudioProcessorEditor.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

namespace
{
std::unique_ptr<Quorvane2AudioProcessorEditor> OpenEditor (Quorvane2AudioProcessor& p)
{
    return std::unique_ptr<Quorvane2AudioProcessorEditor> (dynamic_cast<Quorvane2AudioProcessorEditor*> (p.createEditor()));
}

juce::ComboBox* FindCombo (juce::Component& parent)
{
    for (auto* child : parent.getChildren())
        if (auto* combo = dynamic_cast<juce::ComboBox*> (child))
            return combo;

    return nullptr;
}

// The GUI library puts each open menu on the desktop as a window named "menu".
juce::Component* OpenMenuWindow()
{
    auto& desktop = juce::Desktop::getInstance();

    for (int i = desktop.getNumComponents(); --i >= 0;)
        if (auto* c = desktop.getComponent (i); c != nullptr && c->getName() == "menu" && c->isShowing())
            return c;

    return nullptr;
}

float Luma (juce::Colour c) { return 0.299f * c.getFloatRed() + 0.587f * c.getFloatGreen() + 0.114f * c.getFloatBlue(); }

// Pixels that stand out from the area's ground (its median brightness): the
// strokes of letters, dark on a plain row, light on the highlighted one.
int InkIn (const juce::Image& image, juce::Rectangle<int> area)
{
    std::vector<float> lumas;

    for (int y = area.getY(); y < area.getBottom(); ++y)
        for (int x = area.getX(); x < area.getRight(); ++x)
            lumas.push_back (Luma (qvtest::PixelAt (image, x, y)));

    if (lumas.empty())
        return 0;

    auto sorted = lumas;
    std::nth_element (sorted.begin(), sorted.begin() + (long) sorted.size() / 2, sorted.end());
    const float ground = sorted[sorted.size() / 2];

    return (int) std::count_if (lumas.begin(), lumas.end(), [ground] (float l) { return std::abs (l - ground) > 0.25f; });
}

// One menu: how to open it and, top to bottom, which of its rows carry text
// (false for a separator).
struct MenuCase
{
    const char* name;
    std::function<void (Quorvane2AudioProcessorEditor&)> open;
    std::vector<const char*> rows; // nullptr for a separator
};

const std::vector<MenuCase>& Menus()
{
    static const std::vector<MenuCase> menus = {
        { "input-format",
          [] (Quorvane2AudioProcessorEditor& e) { FindCombo (*e.getInputPanel())->showPopup(); },
          { "A FORMAT", "B FORMAT" } },
        { "output-layout",
          [] (Quorvane2AudioProcessorEditor& e) { FindCombo (*e.getOutputPanel())->showPopup(); },
          { "STEREO", "5.0", "5.1", "6.0", "6.1", "7.0", "7.1", "B FORMAT" } },
        { "rotation-knob",
          [] (Quorvane2AudioProcessorEditor& e)
          {
              auto& knob = dynamic_cast<RotaryParameterContainer&> (*e.getParamsPanel()->getRow (ParamsPanel::rotationRow)).getSlider();
              const auto mods = juce::ModifierKeys (juce::ModifierKeys::rightButtonModifier);
              knob.mouseDown (qvtest::MakeMouseEvent (knob, knob.getLocalBounds().getCentre().toFloat(), mods));
              knob.mouseUp (qvtest::MakeMouseEvent (knob, knob.getLocalBounds().getCentre().toFloat(), mods));
          },
          { "Velocity-sensitive mode", nullptr, "Rotary mode" } },
    };
    return menus;
}

// Opens each menu of the editor, checks the ink of every text row, closes it.
// `stage` names the pictures and the failures.
void ExpectEveryRowHasText (Quorvane2AudioProcessorEditor& editor, const juce::String& stage)
{
    for (const auto& menu : Menus())
    {
        const auto what = stage + " " + menu.name;
        ASSERT_TRUE (FindCombo (*editor.getInputPanel()) != nullptr && FindCombo (*editor.getOutputPanel()) != nullptr) << what;

        menu.open (editor);
        ASSERT_TRUE (qvtest::PumpUntil ([] { return OpenMenuWindow() != nullptr; })) << what << ": no menu opened";
        auto* window = OpenMenuWindow();

        std::vector<juce::Component*> rows (window->getChildren().begin(), window->getChildren().end());
        std::sort (rows.begin(), rows.end(), [] (auto* a, auto* b) { return a->getY() < b->getY(); });
        const auto picture = qvtest::RenderComponent (*window);
        qvtest::SavePng (picture, "menu-" + stage + "-" + menu.name);

        ASSERT_EQ (rows.size(), menu.rows.size()) << what << ": rows of the menu";

        for (size_t i = 0; i < rows.size(); ++i)
        {
            // The row's text area: right of the tick column, clear of a
            // sub-menu arrow at the right end.
            auto area = rows[i]->getBounds().reduced (1);
            area.removeFromLeft (area.getHeight() * 5 / 4);
            area.removeFromRight (juce::jmax (12, area.getHeight()));
            const int ink = InkIn (picture, area);

            if (menu.rows[i] == nullptr)
                EXPECT_EQ (ink, 0) << what << ": separator row " << (int) i;
            else
                EXPECT_GE (ink, 8) << what << ": row " << (int) i << " \"" << menu.rows[i] << "\" shows no text in "
                                    << area.toString();
        }

        juce::PopupMenu::dismissAllActiveMenus();
        ASSERT_TRUE (qvtest::PumpUntil ([] { return OpenMenuWindow() == nullptr; })) << what << ": the menu did not close";
    }
}

class MenuTextTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (! qvtest::HasDisplay())
            GTEST_SKIP() << "menus are windows: run under xvfb-run with QV_GUI_TESTS=ON";
    }

    void TearDown() override
    {
        juce::PopupMenu::dismissAllActiveMenus();
        juce::LookAndFeel::setDefaultLookAndFeel (nullptr);
    }

    static void Show (Quorvane2AudioProcessorEditor& editor, int x)
    {
        editor.setTopLeftPosition (x, 0);
        editor.addToDesktop (0);
        editor.setVisible (true);
    }
};
} // namespace

TEST_F (MenuTextTest, EveryRowOfEveryMenuShowsItsText)
{
    Quorvane2AudioProcessor p;
    auto editor = OpenEditor (p);
    Show (*editor, 0);
    ExpectEveryRowHasText (*editor, "first");
}

// Another editor opened beside the first and closed again takes nothing with
// it that the first one's menus draw with, even once the GUI library has to
// look its typefaces up afresh (its cache keeps only a few). Neither does
// an editor closed before the next one opens.
TEST_F (MenuTextTest, MenusKeepTheirTextWhenAnotherEditorCloses)
{
    Quorvane2AudioProcessor p1, p2, p3;
    auto first = OpenEditor (p1);
    Show (*first, 0);
    ExpectEveryRowHasText (*first, "before");

    auto second = OpenEditor (p2);
    Show (*second, 530);
    ExpectEveryRowHasText (*second, "second");
    second.reset();
    juce::Typeface::clearTypefaceCache();
    ExpectEveryRowHasText (*first, "after-second-closed");

    first.reset();
    juce::Typeface::clearTypefaceCache();
    auto next = OpenEditor (p3);
    Show (*next, 0);
    ExpectEveryRowHasText (*next, "next");
}
