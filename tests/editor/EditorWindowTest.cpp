// The editor window: its panels at their places, its background, the help
// icon and overlay, the 40 ms refresh, its listeners, and two editors sharing
// the GUI library's default look and feel.
#include <gtest/gtest.h>

#include "Bitmaps.h"
#include "ComponentSnapshot.h"
#include "EditorTestFixture.h"
#include "GuiTestEnvironment.h"
#include "InfoPanel.h"
#include "InputPanel.h"
#include "OutputPanel.h"
#include "ParamsPanel.h"
#include "Quorvane2AudioProcessor.h"
#include "Quorvane2AudioProcessorEditor.h"
#include "QuorvanePanel.h"

#include <memory>
#include <utility>

namespace
{
class EditorWindowTest : public EditorTest
{
};

std::unique_ptr<Quorvane2AudioProcessor> ProcessorOfType (int type)
{
    auto* p = createPluginFilterOfType ((juce::AudioProcessor::WrapperType) type);
    return std::unique_ptr<Quorvane2AudioProcessor> (dynamic_cast<Quorvane2AudioProcessor*> (p));
}

// The editor as the processor hands it out (createEditor then sends the full
// update), owned by the test.
std::unique_ptr<Quorvane2AudioProcessorEditor> OpenEditor (Quorvane2AudioProcessor& p)
{
    return std::unique_ptr<Quorvane2AudioProcessorEditor> (dynamic_cast<Quorvane2AudioProcessorEditor*> (p.createEditor()));
}

int NumListeners (Quorvane2AudioProcessor& p)
{
    int n = 0;
    p.quorvaneListeners.call ([&n] (QuorvaneListener&) { ++n; });
    return n;
}

// Same size, and the same colour at a grid of points.
bool SameImage (const juce::Image& a, const juce::Image& b)
{
    if (a.getBounds() != b.getBounds())
        return false;
    for (int y = 0; y < a.getHeight(); y += 7)
        for (int x = 0; x < a.getWidth(); x += 7)
            if (a.getPixelAt (x, y) != b.getPixelAt (x, y))
                return false;
    return true;
}
} // namespace

TEST_F (EditorWindowTest, PanelsTileTheWindow)
{
    Quorvane2AudioProcessor p;
    auto editor = OpenEditor (p);
    ASSERT_NE (editor, nullptr);

    EXPECT_EQ (editor->getBounds(), juce::Rectangle<int> (0, 0, 522, 560));
    const struct { const char* name; juce::Component* panel; juce::Rectangle<int> bounds; } rows[] = {
        { "input", editor->getInputPanel(), { 1, 2, 220, 160 } },
        { "output", editor->getOutputPanel(), { 221, 2, 300, 160 } },
        { "surround", editor->getSurroundPanel(), { 1, 162, 314, 397 } },
        { "parameter", editor->getParamsPanel(), { 315, 162, 206, 332 } },
        { "info", editor->getInfoPanel(), { 315, 494, 206, 65 } },
        { "help icon", editor->getHelpIcon(), { 498, 540, 16, 12 } },
        { "help overlay", editor->getHelpOverlay(), { 0, 0, 522, 560 } },
    };
    for (const auto& row : rows)
    {
        ASSERT_NE (row.panel, nullptr) << row.name;
        EXPECT_EQ (row.panel->getBounds(), row.bounds) << row.name;
        EXPECT_EQ (row.panel->getParentComponent(), editor.get()) << row.name;
    }
    EXPECT_EQ (editor->getOutputPanel()->getRight(), 521);
    EXPECT_EQ (editor->getParamsPanel()->getRight(), 521);
    EXPECT_EQ (editor->getSurroundPanel()->getBottom(), 559);
    EXPECT_EQ (editor->getInfoPanel()->getBottom(), 559);

    EXPECT_TRUE (editor->getHelpIcon()->isVisible());
    EXPECT_FALSE (editor->getHelpOverlay()->isVisible()) << "the help starts hidden";
    EXPECT_EQ (editor->getIndexOfChildComponent (editor->getHelpOverlay()), editor->getNumChildComponents() - 1)
        << "the overlay lies above every panel and the icon";
    EXPECT_EQ (&editor->getLookAndFeel(), &juce::LookAndFeel::getDefaultLookAndFeel())
        << "the editor's look and feel is the default while it lives";
}

// The bare background shows in the one-pixel seams: red 110, green 130, blue 150.
TEST_F (EditorWindowTest, BackgroundShowsAroundThePanels)
{
    Quorvane2AudioProcessor p;
    auto editor = OpenEditor (p);
    const auto image = qvtest::RenderComponent (*editor);

    for (auto point : { juce::Point<int> (0, 0), { 521, 1 }, { 0, 300 }, { 300, 0 }, { 260, 559 }, { 521, 400 } })
        EXPECT_EQ (qvtest::PixelAt (image, point.x, point.y).getARGB(), 0xFF6E8296u)
            << "at " << point.toString() << ": " << qvtest::Describe (qvtest::PixelAt (image, point.x, point.y));

    // Inside the input panel, left of its trim plate: the panel's own plate.
    EXPECT_EQ (qvtest::PixelAt (image, 5, 40).getARGB(), 0xFF3C4752u) << qvtest::Describe (qvtest::PixelAt (image, 5, 40));
}

// The overlay follows the host format: the VST one for VST2 and for anything
// unknown (type 0, 3), the other one for Audio Unit and AAX.
TEST_F (EditorWindowTest, HelpOverlayFollowsTheWrapperType)
{
    const auto vst = juce::ImageFileFormat::loadFrom (Bitmaps::help_overlay_png, (size_t) Bitmaps::help_overlay_pngSize);
    const auto proTools = juce::ImageFileFormat::loadFrom (Bitmaps::protools_help_overlay_png,
                                                           (size_t) Bitmaps::protools_help_overlay_pngSize);
    ASSERT_EQ (vst.getBounds(), juce::Rectangle<int> (0, 0, 522, 560));
    ASSERT_EQ (proTools.getBounds(), juce::Rectangle<int> (0, 0, 522, 560));
    ASSERT_FALSE (SameImage (vst, proTools));

    const std::pair<int, const juce::Image*> cases[] = { { 0, &vst }, { 1, &vst }, { 2, &proTools }, { 3, &vst }, { 4, &proTools } };
    for (auto [type, expected] : cases)
    {
        auto p = ProcessorOfType (type);
        ASSERT_NE (p, nullptr);
        auto editor = OpenEditor (*p);
        EXPECT_TRUE (SameImage (editor->getHelpOverlay()->getImage(), *expected)) << "wrapper type " << type;
    }
}

// A click on the icon shows the overlay; the next click anywhere hides it;
// clicks elsewhere while it is hidden leave it hidden.
TEST_F (EditorWindowTest, HelpIconShowsAndAnyClickHidesTheOverlay)
{
    Quorvane2AudioProcessor p;
    auto editor = OpenEditor (p);
    auto& icon = *editor->getHelpIcon();
    auto& overlay = *editor->getHelpOverlay();

    // Mouse listeners hear of presses on the icon and the overlay as the
    // window would deliver them.
    auto deliver = [&] (juce::Component& c, juce::Point<float> at) {
        editor->mouseDown (qvtest::MakeMouseEvent (c, at));
    };

    deliver (*editor, { 0.0f, 0.0f });
    EXPECT_FALSE (overlay.isVisible()) << "a click on the background";
    deliver (icon, { 8.0f, 6.0f });
    EXPECT_TRUE (overlay.isVisible()) << "a click on the icon";
    deliver (overlay, { 507.0f, 546.0f });
    EXPECT_FALSE (overlay.isVisible()) << "a click on the overlay over the icon";
    deliver (icon, { 1.0f, 1.0f });
    deliver (overlay, { 100.0f, 100.0f });
    EXPECT_FALSE (overlay.isVisible()) << "a click anywhere on the overlay";
}

// The same through a real window: hit testing and mouse listeners take part.
TEST_F (EditorWindowTest, HelpThroughTheWindow)
{
    QV_REQUIRE_DISPLAY();
    Quorvane2AudioProcessor p;
    auto editor = OpenEditor (p);
    editor->addToDesktop (0);
    editor->setVisible (true);
    ASSERT_TRUE (qvtest::WaitForWindowOnScreen (*editor)) << "the editor's window never showed";

    qvtest::ClickThroughPeer (*editor, { 150, 300 }); // the surround panel
    EXPECT_FALSE (editor->getHelpOverlay()->isVisible());
    qvtest::ClickThroughPeer (*editor, { 505, 545 }); // the icon
    EXPECT_TRUE (editor->getHelpOverlay()->isVisible());
    qvtest::ClickThroughPeer (*editor, { 150, 300 });
    EXPECT_FALSE (editor->getHelpOverlay()->isVisible());
    editor->removeFromDesktop();
}

// The help draws its own titles (INPUT, OUTPUT, SURROUND CONTROLS,
// PARAMETERS) where the panels have their headers, in narrower lettering than
// the headers' own. Inside each header's bounds, wherever the help picture is
// only its dark wash, the editor must show the washed bare plate: no letter of
// the header beside or between the help's title letters. The combo boxes in
// the INPUT and OUTPUT bands are left out; the help points at them.
TEST_F (EditorWindowTest, HelpTitlesHideTheHeadersTheyReplace)
{
    const auto wash = juce::Colour (0xD10A0E13); // the help picture's plain wash: RGB 10, 14, 19 at alpha 209
    const auto washedPlate = juce::Colour (0xFF13181E); // that wash over the panel plate 0xFF3C4752

    // Header bounds in the editor, less 2 pixels at the panel plates' rounded
    // edges, less the combo boxes (input 122..215, output 437..516).
    const struct { const char* header; juce::Rectangle<int> area; } headers[] = {
        { "INPUT", { 4, 5, 116, 17 } },
        { "OUTPUT", { 224, 5, 211, 17 } },
        { "SURROUND CONTROLS", { 4, 165, 308, 17 } },
        { "MIC ORIENTATION (under PARAMETERS)", { 320, 167, 196, 17 } },
    };

    for (auto type : { 1, 2 })
    {
        auto p = ProcessorOfType (type);
        ASSERT_NE (p, nullptr);
        auto editor = OpenEditor (*p);
        juce::Desktop::getInstance().getAnimator().cancelAllAnimations (true);
        editor->mouseDown (qvtest::MakeMouseEvent (*editor->getHelpIcon(), { 4.0f, 4.0f }));
        ASSERT_TRUE (editor->getHelpOverlay()->isVisible());
        const auto help = editor->getHelpOverlay()->getImage();
        const auto shown = qvtest::RenderComponent (*editor);
        qvtest::SavePng (shown, "help-titles-wrapper-" + juce::String (type));

        for (const auto& h : headers)
        {
            int washPixels = 0, showingThrough = 0;
            juce::Point<int> first;
            for (int y = h.area.getY(); y < h.area.getBottom(); ++y)
                for (int x = h.area.getX(); x < h.area.getRight(); ++x)
                {
                    if (! qvtest::Near (help.getPixelAt (x, y), wash, 2))
                        continue; // the help's own title, frame or callout
                    ++washPixels;
                    if (! qvtest::Near (qvtest::PixelAt (shown, x, y), washedPlate, 3) && showingThrough++ == 0)
                        first = { x, y };
                }
            EXPECT_GT (washPixels, h.area.getWidth() * h.area.getHeight() / 2) << h.header << ": the help picture changed";
            EXPECT_EQ (showingThrough, 0) << "wrapper type " << type << ", " << h.header << ": " << showingThrough
                                          << " pixels show something under the help's wash, first at " << first.toString() << " ("
                                          << qvtest::Describe (qvtest::PixelAt (shown, first.x, first.y)) << ")";
        }

        // Hidden again, the headers are back as they were.
        editor->mouseDown (qvtest::MakeMouseEvent (*editor, { 100.0f, 300.0f }));
        const auto hidden = qvtest::RenderComponent (*editor);
        for (const auto& h : headers)
            EXPECT_GT (qvtest::CountPixels (hidden, h.area, [] (juce::Colour c) { return c.getBrightness() > 0.7f; }), 30)
                << h.header << " is not drawn once the help is hidden";
    }
}

// Every 40 ms the editor pulls the refresh: a parameter set behind its back
// reaches the panels without anyone calling UpdateUI.
TEST_F (EditorWindowTest, RefreshRunsEvery40Milliseconds)
{
    Quorvane2AudioProcessor p;
    auto editor = OpenEditor (p);
    EXPECT_TRUE (editor->isTimerRunning());
    EXPECT_EQ (editor->getTimerInterval(), 40);

    auto* zoom = editor->getParamsPanel()->getRow (4);
    ASSERT_NE (zoom, nullptr);
    p.setParameter (7, 0.7f);
    qvtest::PumpUntil ([&] { return zoom->GetValue() == 0.7f; });
    EXPECT_EQ (zoom->GetValue(), 0.7f) << "the zoom row did not follow on the editor's own timer";
}

// The editor and its four listening panels register once; destroying the
// editor empties the list, so nothing can notify a panel that is gone.
TEST_F (EditorWindowTest, ListenersRegisterOnceAndLeaveWithTheEditor)
{
    Quorvane2AudioProcessor p;
    auto editor = OpenEditor (p);
    EXPECT_EQ (NumListeners (p), 5) << "editor, input, output, surround and parameter panels";
    editor.reset();
    EXPECT_EQ (NumListeners (p), 0);
    p.UpdateUI();      // nothing left to call
    p.FullUIUpdate();
}

// Two editors open at once, closed in either order: the look and feel goes
// after the panels that draw with it, and is no longer the default when it
// goes. A component drawn with the default afterwards finds a live one
// (the sanitizer build catches a dangling one).
TEST_F (EditorWindowTest, TwoEditorsCloseInEitherOrder)
{
    juce::LookAndFeel::setDefaultLookAndFeel (nullptr);

    for (bool firstClosesFirst : { true, false })
    {
        Quorvane2AudioProcessor p1, p2;
        auto first = OpenEditor (p1);
        auto second = OpenEditor (p2);
        auto* secondLookAndFeel = &second->getLookAndFeel();
        EXPECT_EQ (&juce::LookAndFeel::getDefaultLookAndFeel(), secondLookAndFeel) << "the newest editor's";

        (firstClosesFirst ? first : second).reset();
        juce::Label probe ({}, "probe");
        probe.setBounds (0, 0, 60, 20);
        (void) qvtest::RenderComponent (probe);
        if (firstClosesFirst)
            EXPECT_EQ (&juce::LookAndFeel::getDefaultLookAndFeel(), secondLookAndFeel) << "the open editor's stays";
        else
            EXPECT_NE (&juce::LookAndFeel::getDefaultLookAndFeel(), secondLookAndFeel) << "a closed editor's stayed the default";

        (firstClosesFirst ? second : first).reset();
        (void) qvtest::RenderComponent (probe);
        EXPECT_EQ (dynamic_cast<QVLookAndFeel*> (&juce::LookAndFeel::getDefaultLookAndFeel()), nullptr)
            << "the default still points at an editor's look and feel after both closed";
    }
}

// Whichever editor closes, the ones still open and those opened later draw
// with the embedded face: the default look and feel stays one of theirs
// while any is open. Measured with typefaces looked up afresh, in another
// face "B FORMAT" in a menu row (the GUI library's font, on the sans-serif
// placeholder) is 75.1 pixels wide instead of 63.6, the "OUTPUT" header 64.5
// instead of 55.9.
TEST_F (EditorWindowTest, EmbeddedFaceOutlivesTheEditorThatInstalledIt)
{
    juce::LookAndFeel::setDefaultLookAndFeel (nullptr);
    const auto widths = [] (Quorvane2AudioProcessorEditor& editor)
    {
        juce::Typeface::clearTypefaceCache();
        return std::make_pair (editor.getLookAndFeel().getPopupMenuFont().getStringWidthFloat ("B FORMAT"),
                               QVLookAndFeel::GetUIFont (QVLookAndFeel::titleFontSize, juce::Font::bold).getStringWidthFloat ("OUTPUT"));
    };

    for (bool firstClosesFirst : { true, false })
    {
        Quorvane2AudioProcessor p1, p2, p3;
        auto first = OpenEditor (p1);
        const auto alone = widths (*first);
        EXPECT_NEAR (alone.first, 63.55f, 0.05f);
        EXPECT_NEAR (alone.second, 55.93f, 0.05f);

        auto second = OpenEditor (p2);
        auto& open = firstClosesFirst ? second : first;
        (firstClosesFirst ? first : second).reset();
        EXPECT_EQ (&juce::LookAndFeel::getDefaultLookAndFeel(), &open->getLookAndFeel());
        EXPECT_EQ (widths (*open), alone) << "first closes first: " << firstClosesFirst;

        // One opened after the close, and closed again before the older one.
        auto third = OpenEditor (p3);
        EXPECT_EQ (widths (*third), alone) << "first closes first: " << firstClosesFirst;
        third.reset();
        EXPECT_EQ (widths (*open), alone) << "first closes first: " << firstClosesFirst;
    }
}

// Pictures of the whole editor for a person to look at (nothing asserted about
// the drawing here; the panels' own tests carry the pixel checks): every
// output layout family with either input format, meters lit, and the help.
TEST_F (EditorWindowTest, WritesEditorPicturesForPeopleToLookAt)
{
    QV_REQUIRE_DISPLAY(); // the panels' slides need the desktop's animator
    const struct { const char* name; OutputStemFormat layout; Quorvane2AudioProcessor::InputFormat input; bool help; } shots[] = {
        { "editor-stereo-aformat", kOutputFormatStereo, Quorvane2AudioProcessor::kAFormat, false },
        { "editor-5_1-bformat", kOutputFormat5_1, Quorvane2AudioProcessor::kBFormat, false },
        { "editor-7_1-aformat", kOutputFormat7_1, Quorvane2AudioProcessor::kAFormat, false },
        { "editor-bformat-bformat", kOutputFormatBFormat, Quorvane2AudioProcessor::kBFormat, false },
        { "editor-5_1-help", kOutputFormat5_1, Quorvane2AudioProcessor::kBFormat, true },
    };
    for (const auto& shot : shots)
    {
        Quorvane2AudioProcessor p;
        auto editor = OpenEditor (p);
        p.UISetOutputFormat (shot.layout);
        p.SetInputFormat (shot.input);
        p.UpdateUI();
        juce::Desktop::getInstance().getAnimator().cancelAllAnimations (true);
        for (int i = 37; i <= 49; ++i)
        {
            editor->getInputPanel()->InputMeterChanged (i, 0.1f);
            editor->getOutputPanel()->OutputMeterChanged (i, 0.5f);
        }
        if (shot.help)
            editor->mouseDown (qvtest::MakeMouseEvent (*editor->getHelpIcon(), { 4.0f, 4.0f }));
        const auto file = qvtest::SavePng (qvtest::RenderComponent (*editor), shot.name);
        EXPECT_TRUE (file.existsAsFile()) << shot.name;
    }
}
