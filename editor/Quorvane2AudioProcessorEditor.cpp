#include "Quorvane2AudioProcessorEditor.h"

#include "Bitmaps.h"
#include "EditorFactory.h"
#include "InfoPanel.h"
#include "InputPanel.h"
#include "OutputPanel.h"
#include "PanelHeaderLabel.h"
#include "ParameterContainer.h"
#include "ParamsPanel.h"
#include "Quorvane2AudioProcessor.h"
#include "QuorvanePanel.h"

#include <algorithm>
#include <vector>

namespace
{
constexpr int kInputWidth = 220, kInputHeight = 160;
constexpr int kSurroundWidth = 314;
constexpr int kInfoHeight = 65;
constexpr int kHelpIconInset = 8; // from the right and bottom edges

// The look and feel of every open editor, oldest first. The GUI library looks
// every typeface up through its default look and feel, the embedded face
// included, so one of these stays the default for as long as any editor is
// open, whichever closes first.
std::vector<QVLookAndFeel*>& OpenEditorsLookAndFeels()
{
    static std::vector<QVLookAndFeel*> lookAndFeels;
    return lookAndFeels;
}

juce::Image HelpOverlayFor(juce::AudioProcessor::WrapperType type)
{
    // Audio Unit and AAX hosts show the overlay drawn for them; VST2 hosts,
    // and anything else (tests, an unknown wrapper), the VST one.
    if (type == juce::AudioProcessor::wrapperType_AudioUnit || type == juce::AudioProcessor::wrapperType_AAX)
        return juce::ImageCache::getFromMemory(Bitmaps::protools_help_overlay_png,
                                               Bitmaps::protools_help_overlay_pngSize);

    return juce::ImageCache::getFromMemory(Bitmaps::help_overlay_png, Bitmaps::help_overlay_pngSize);
}

// The help picture writes its own titles where the panels have their headers
// (and the parameter panel its first section title), in narrower lettering:
// the texts it replaces stand aside while it shows, or their ends would show
// through its wash beside its titles.
void ShowTitlesTheHelpReplaces(Quorvane2AudioProcessorEditor& editor, bool show)
{
    for (juce::Component* panel : { static_cast<juce::Component*>(editor.getInputPanel()),
                                    static_cast<juce::Component*>(editor.getOutputPanel()),
                                    static_cast<juce::Component*>(editor.getSurroundPanel()) })
        if (panel != nullptr)
            for (auto* child : panel->getChildren())
                if (auto* header = dynamic_cast<PanelHeaderLabel*>(child))
                    header->setVisible(show);

    if (auto* params = editor.getParamsPanel())
        if (auto* title = dynamic_cast<LabelContainer*>(params->getRow(ParamsPanel::micOrientationTitle)))
            title->getLabel().setVisible(show);
}
} // namespace

Quorvane2AudioProcessorEditor::Quorvane2AudioProcessorEditor(Quorvane2AudioProcessor* p)
    : juce::AudioProcessorEditor(p), processor(p)
{
    lookAndFeel = std::make_unique<QVLookAndFeel>();
    setLookAndFeel(lookAndFeel.get());
    OpenEditorsLookAndFeels().push_back(lookAndFeel.get());
    juce::LookAndFeel::setDefaultLookAndFeel(lookAndFeel.get());

    setSize(kWidth, kHeight);
    const int w = getWidth(), h = getHeight();

    // Each panel placed from those already placed: they tile the window.
    inputPanel = std::make_unique<InputPanel>(*processor);
    inputPanel->setBounds(1, 2, kInputWidth, kInputHeight);
    addAndMakeVisible(*inputPanel);

    outputPanel = std::make_unique<OutputPanel>(*processor);
    outputPanel->setBounds(inputPanel->getRight(), inputPanel->getY(), w - 2 - inputPanel->getWidth(),
                           inputPanel->getHeight());
    addAndMakeVisible(*outputPanel);

    surroundPanel = std::make_unique<QuorvanePanel>(*processor);
    surroundPanel->setBounds(1, inputPanel->getBottom(), kSurroundWidth, h - 3 - inputPanel->getHeight());
    addAndMakeVisible(*surroundPanel);

    paramsPanel = std::make_unique<ParamsPanel>(*processor);
    paramsPanel->setBounds(surroundPanel->getRight(), inputPanel->getBottom(), w - 2 - surroundPanel->getWidth(),
                           surroundPanel->getHeight() - kInfoHeight);
    addAndMakeVisible(*paramsPanel);

    infoPanel = std::make_unique<InfoPanel>(*processor);
    infoPanel->setBounds(paramsPanel->getX(), paramsPanel->getBottom(), paramsPanel->getWidth(), kInfoHeight);
    addAndMakeVisible(*infoPanel);

    startTimer(kRefreshMs);

    helpIcon = std::make_unique<juce::ImageComponent>();
    addAndMakeVisible(*helpIcon);
    const auto icon = juce::ImageCache::getFromMemory(Bitmaps::help_png, Bitmaps::help_pngSize);
    helpIcon->setImage(icon);
    helpIcon->setBounds(w - kHelpIconInset - icon.getWidth(), h - kHelpIconInset - icon.getHeight(),
                        icon.getWidth(), icon.getHeight());
    helpIcon->setInterceptsMouseClicks(true, false);
    helpIcon->addMouseListener(this, false);

    helpOverlay = std::make_unique<juce::ImageComponent>();
    addChildComponent(*helpOverlay); // above every panel and the icon
    const auto overlay = HelpOverlayFor(processor->wrapperType);
    helpOverlay->setImage(overlay);
    helpOverlay->setBounds(0, 0, overlay.getWidth(), overlay.getHeight());
    helpOverlay->setInterceptsMouseClicks(true, false);
    helpOverlay->addMouseListener(this, false);

    processor->quorvaneListeners.add(this);
}

Quorvane2AudioProcessorEditor::~Quorvane2AudioProcessorEditor()
{
    stopTimer();

    // Nothing may notify a panel that is about to go.
    processor->quorvaneListeners.clear();

    // The look and feel goes last, after every component that draws with it,
    // and stops being the default first: the newest editor still open takes
    // over, and the GUI library's own only when none is.
    auto& open = OpenEditorsLookAndFeels();
    open.erase(std::remove(open.begin(), open.end(), lookAndFeel.get()), open.end());
    if (&juce::LookAndFeel::getDefaultLookAndFeel() == lookAndFeel.get())
        juce::LookAndFeel::setDefaultLookAndFeel(open.empty() ? nullptr : open.back());
    setLookAndFeel(nullptr);

    helpOverlay.reset();
    helpIcon.reset();
    infoPanel.reset();
    paramsPanel.reset();
    outputPanel.reset();
    inputPanel.reset();
    surroundPanel.reset();
    lookAndFeel.reset();
}

void Quorvane2AudioProcessorEditor::paint(juce::Graphics& g)
{
    g.fillAll(juce::Colour(kBackgroundArgb));
}

// The icon shows the help; while it is shown, a click anywhere (the overlay
// covers everything, the icon too) hides it again.
void Quorvane2AudioProcessorEditor::mouseDown(const juce::MouseEvent& e)
{
    const bool showHelp = e.originalComponent == helpIcon.get();
    ShowTitlesTheHelpReplaces(*this, ! showHelp);
    helpOverlay->setVisible(showHelp);
}

void Quorvane2AudioProcessorEditor::timerCallback()
{
    processor->UpdateUI();
}

void Quorvane2AudioProcessorEditor::ParameterChangedFloat(int, float) {}

//==============================================================================
juce::AudioProcessorEditor* CreateProcessorEditor(Quorvane2AudioProcessor& processor)
{
    return new Quorvane2AudioProcessorEditor(&processor);
}
