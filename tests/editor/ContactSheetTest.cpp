// A contact sheet of every shared widget and look-and-feel drawing in each of
// its states, written as a PNG for a person to look at (it asserts nothing
// about the drawing); and the same widgets in a real window, clicked through
// the window system (needs a display).
#include <gtest/gtest.h>

#include "BargraphComponent.h"
#include "ComponentSnapshot.h"
#include "EditorTestFixture.h"
#include "GlowingButton.h"
#include "GuiTestEnvironment.h"
#include "InfoPanel.h"
#include "InputPanel.h"
#include "OutputPanel.h"
#include "PanelHeaderLabel.h"
#include "PanelTestSupport.h"
#include "ParameterSlider.h"
#include "ParamsPanel.h"
#include "PolarComponent.h"
#include "QuorvanePanel.h"
#include "SnapTiltComponent.h"
#include "SurroundTestSupport.h"

#include <functional>
#include <limits>
#include <tuple>
#include <memory>
#include <type_traits>
#include <vector>

namespace
{
const juce::Colour editorBackground (0xFF6E8296);

// One titled plate of the sheet, with captioned cells laid out left to right.
class SheetPanel : public juce::Component
{
public:
    explicit SheetPanel (const juce::String& title)
        : header (title, QVLookAndFeel::GetUIFont (QVLookAndFeel::titleFontSize, juce::Font::bold))
    {
        addAndMakeVisible (header);
    }

    // Adds a component with a caption under it; returns it for further set-up.
    template <typename C>
    C& add (std::unique_ptr<C> component, int width, int height, const juce::String& caption)
    {
        auto& c = *component;
        addAndMakeVisible (c);
        c.setBounds (x, 26, width, height);
        captions.push_back ({ caption, juce::Rectangle<int> (x - 6, 26 + height + 4, juce::jmax (width + 12, 70), 24) });
        x += juce::jmax (width, 58) + 16;
        bottom = juce::jmax (bottom, 26 + height + 4 + 24);
        owned.push_back (std::move (component));
        return c;
    }

    int usedWidth() const { return x; }
    int usedHeight() const { return bottom + 4; }

    void resized() override { header.setBounds (0, 0, getWidth(), 20); }

    void paint (juce::Graphics& g) override
    {
        QVLookAndFeel::DrawPanelBackground (g, this);
        g.setColour (juce::Colours::white.withAlpha (0.85f));
        g.setFont (QVLookAndFeel::GetUIFont (10.0f, juce::Font::plain));

        for (const auto& c : captions)
            g.drawFittedText (c.text, c.area, juce::Justification::centredTop, 2, 0.8f);
    }

private:
    struct Caption
    {
        juce::String text;
        juce::Rectangle<int> area;
    };

    PanelHeaderLabel header;
    std::vector<std::unique_ptr<juce::Component>> owned;
    std::vector<Caption> captions;
    int x = 12;
    int bottom = 0;
};

// Paints a free drawing call of the look and feel.
class Drawing : public juce::Component
{
public:
    explicit Drawing (std::function<void (juce::Graphics&, juce::Component&)> f) : draw (std::move (f)) {}
    void paint (juce::Graphics& g) override { draw (g, *this); }

private:
    std::function<void (juce::Graphics&, juce::Component&)> draw;
};

std::unique_ptr<GlowingButton> glowing (const juce::String& name, juce::Colour colour, bool on, bool showText = true)
{
    auto b = std::make_unique<GlowingButton> (name, colour);
    b->setToggleState (on, juce::dontSendNotification);
    b->showText = showText;
    return b;
}

std::unique_ptr<BargraphComponent> meter (float linearLevel)
{
    auto m = std::make_unique<BargraphComponent>();
    m->setValue (linearLevel);
    return m;
}

std::unique_ptr<ParameterSlider> rowSlider (bool centred, bool raw, double value, juce::Colour track)
{
    auto s = std::make_unique<ParameterSlider> (centred ? 180 : 100, 0, centred, raw);
    s->setSliderStyle (juce::Slider::LinearHorizontal);
    s->setRange (0.0, 1.0, 0.01);
    s->setTextBoxStyle (juce::Slider::TextBoxRight, false, 38, 18);
    s->setColour (juce::Slider::trackColourId, track);
    s->setColour (juce::Slider::textBoxBackgroundColourId, juce::Colours::black.withAlpha (0.2f));
    s->setValue (value, juce::dontSendNotification);
    return s;
}

std::unique_ptr<ParameterSlider> trimSlider (double position, juce::Colour track)
{
    auto s = std::make_unique<ParameterSlider> (100, 0, false, false);
    s->setSliderStyle (juce::Slider::LinearVertical);
    s->setRange (0.0, 100.0, 1.0);
    s->setTextBoxStyle (juce::Slider::NoTextBox, true, 0, 0);
    s->setColour (juce::Slider::trackColourId, track);
    s->setValue (position, juce::dontSendNotification);
    return s;
}

std::unique_ptr<ParameterSlider> knob (double value, bool endless)
{
    constexpr float pi = juce::MathConstants<float>::pi;
    auto s = std::make_unique<ParameterSlider> (360, 1, false, false);
    s->setSliderStyle (juce::Slider::Rotary);
    s->setRange (0.0, 1.0, 1.0 / 360.0);
    s->setTextBoxStyle (juce::Slider::TextBoxRight, false, 38, 18);
    s->setColour (juce::Slider::textBoxBackgroundColourId, juce::Colours::black.withAlpha (0.2f));
    s->setColour (juce::Slider::trackColourId, juce::Colours::black.withAlpha (0.5f));

    if (endless)
        s->setRotaryParameters (2.0f * pi, 4.0f * pi, false);
    else
        s->setRotaryParameters (1.25f * pi, 2.75f * pi, true);

    s->setValue (value, juce::dontSendNotification);
    return s;
}

std::unique_ptr<juce::ComboBox> combo (const juce::String& item, bool enabled = true)
{
    auto c = std::make_unique<juce::ComboBox>();
    c->addItem (item, 1);
    c->setSelectedId (1, juce::dontSendNotification);
    c->setEnabled (enabled);
    return c;
}

template <typename B>
std::unique_ptr<B> toggled (const juce::String& name, bool on)
{
    auto b = std::make_unique<B> (name);
    b->setToggleState (on, juce::dontSendNotification);
    return b;
}

std::unique_ptr<juce::Label> ownedLabel (juce::Label* l, const juce::String& text)
{
    l->setText (text, juce::dontSendNotification);

    // The factories add the label to a parent; the sheet adopts it instead.
    if (auto* parent = l->getParentComponent())
        parent->removeChildComponent (l);

    return std::unique_ptr<juce::Label> (l);
}

std::unique_ptr<juce::ImageComponent> picture (const juce::Image& image)
{
    auto c = std::make_unique<juce::ImageComponent>();
    c->setImage (image);
    return c;
}

// What the processor reports before a panel's picture is taken.
struct PanelState
{
    std::vector<std::pair<int, float>> parameters;
    float meters = 0.0f;    // linear level of every meter
    bool flashStep = false; // one step of the solo flash
};

// A panel as the editor shows it, with a processor behind it in the format
// that setFormat chose, its strips settled.
template <typename Panel>
juce::Image PanelPicture (juce::Rectangle<int> bounds, const std::function<void (Quorvane2AudioProcessor&)>& setFormat, const PanelState& state)
{
    paneltest::PanelRig<Panel> rig (bounds);
    setFormat (rig.processor);
    for (auto [index, value] : state.parameters)
        rig.processor.setParameter (index, value);
    rig.processor.UpdateUI();
    paneltest::FinishAnimations();

    // Each panel takes its own meters and ignores the others.
    for (int index = 37; index <= 49; ++index)
    {
        rig.panel->InputMeterChanged (index, state.meters);
        rig.panel->OutputMeterChanged (index, state.meters);
    }

    if constexpr (std::is_same_v<Panel, OutputPanel>)
        if (state.flashStep)
            rig.panel->timerCallback();

    return qvtest::RenderComponent (*rig.panel, editorBackground);
}

std::unique_ptr<juce::ImageComponent> OutputPicture (OutputStemFormat layout, const PanelState& state = {})
{
    return picture (PanelPicture<OutputPanel> ({ 221, 2, 300, 160 }, [layout] (auto& p) { p.UISetOutputFormat (layout); }, state));
}

std::unique_ptr<juce::ImageComponent> InputPicture (Quorvane2AudioProcessor::InputFormat format, const PanelState& state = {})
{
    return picture (PanelPicture<InputPanel> ({ 1, 2, 220, 160 }, [format] (auto& p) { p.SetInputFormat (format); }, state));
}

// The parameter panel as the editor shows it, with a processor behind it in
// the given layout, "ALL" on or off, after its rows have slid into place.
std::unique_ptr<juce::ImageComponent> ParamsPanelPicture (OutputStemFormat layout, bool all,
                                                          const std::function<void (Quorvane2AudioProcessor&)>& state = {})
{
    Quorvane2AudioProcessor processor;
    ParamsPanel panel (processor);
    panel.setBounds (315, 162, 206, 332);
    processor.UISetOutputFormat (layout);
    processor.FullUIUpdate();

    if (all)
        panel.getAllButton().setToggleState (true, juce::sendNotificationSync);

    if (state)
        state (processor);

    processor.UpdateUI();
    juce::Desktop::getInstance().getAnimator().cancelAllAnimations (true);
    auto c = std::make_unique<juce::ImageComponent>();
    c->setImage (qvtest::RenderComponent (panel, editorBackground));
    return c;
}

std::unique_ptr<juce::ImageComponent> InfoPanelPicture (juce::AudioProcessor::WrapperType type)
{
    std::unique_ptr<juce::AudioProcessor> processor (createPluginFilterOfType (type));
    InfoPanel panel (dynamic_cast<Quorvane2AudioProcessor&> (*processor));
    panel.setBounds (315, 494, 206, 65);
    auto c = std::make_unique<juce::ImageComponent>();
    c->setImage (qvtest::RenderComponent (panel, editorBackground));
    return c;
}

// Every widget in every state, in titled plates stacked down the sheet.
class ContactSheet : public juce::Component,
                     private ParameterSliderListener
{
public:
    ContactSheet()
    {
        auto& buttons = addPanel ("GLOWING BUTTONS");
        buttons.add (glowing ("M", juce::Colours::darkorange, false), 16, 13, "M off");
        buttons.add (glowing ("M", juce::Colours::darkorange, true), 16, 13, "M on");
        buttons.add (glowing ("M", juce::Colours::darkorange, true, false), 16, 13, "M blink (hidden)");
        buttons.add (glowing ("S", juce::Colours::lightgreen, true), 16, 13, "S on");
        buttons.add (glowing ("INVERT", juce::Colours::orange, false), 60, 16, "INVERT off");
        buttons.add (glowing ("INVERT", juce::Colours::orange, true), 60, 16, "INVERT on");
        buttons.add (glowing ("HI PASS", QVLookAndFeel::Col_LRPolar, true), 60, 16, "HI PASS on");
        buttons.add (glowing ("ALL", juce::Colours::orange, true), 27, 13, "ALL on");
        buttons.add (glowing ("END FIRE", juce::Colours::orange, false), 30, 13, "squeezed");

        auto& meters = addPanel ("BARGRAPH METERS");
        const std::pair<float, const char*> levels[] = { { 0.0f, "silence" }, { 0.01f, "-40 dB" }, { 0.1f, "-20 dB" },
                                                         { 0.5f, "-6 dB" }, { 1.0f, "0 dB" },
                                                         { std::numeric_limits<float>::quiet_NaN(), "NaN" } };

        for (const auto& [level, caption] : levels)
            meters.add (meter (level), 6, 76, caption);

        meters.add (meter (0.5f), 76, 6, "horizontal -6 dB");
        meters.add (meter (1.0f), 76, 6, "horizontal 0 dB");

        auto& sliders = addPanel ("PARAMETER SLIDERS");
        withTexts (sliders.add (rowSlider (false, false, 0.3, QVLookAndFeel::Col_LRPolar), 112, 20, "width 0.3"));
        withTexts (sliders.add (rowSlider (true, false, 0.5, QVLookAndFeel::Col_LRPolar), 112, 20, "centred middle"));
        withTexts (sliders.add (rowSlider (true, false, 0.0, QVLookAndFeel::Col_LsRsPolar), 112, 20, "centred min"));
        withTexts (sliders.add (rowSlider (true, false, 1.0, juce::Colours::white), 112, 20, "centred max"));
        withTexts (sliders.add (rowSlider (false, true, 0.8, QVLookAndFeel::Col_CentrePolar), 112, 20, "raw 0.8"));
        sliders.add (trimSlider (0.0, QVLookAndFeel::Col_CentrePolar), 24, 91, "trim -31 dB");
        sliders.add (trimSlider (75.0, QVLookAndFeel::Col_LRPolar), 24, 91, "trim 0 dB");
        sliders.add (trimSlider (100.0, QVLookAndFeel::Col_BFormat), 24, 91, "trim +10 dB");

        auto& knobs = addPanel ("ROTARY KNOBS AND COMBO BOXES");
        withTexts (knobs.add (knob (0.0, true), 90, 33, "endless 0"));
        withTexts (knobs.add (knob (0.25, true), 90, 33, "endless 90"));
        withTexts (knobs.add (knob (0.6, false), 60, 60, "bounded 0.6"));
        knobs.add (combo ("5.1"), 80, 14, "combo 80x14");
        knobs.add (combo ("B"), 30, 14, "narrow");
        knobs.add (combo ("7.1", false), 80, 14, "disabled");
        knobs.add (std::make_unique<Drawing> ([] (juce::Graphics& g, juce::Component& c) {
            g.setColour (juce::Colours::white);
            g.fillPath (GetDownArrowShape ((float) c.getWidth(), (float) c.getHeight()));
        }), 16, 8, "arrow shape");

        auto& labels = addPanel ("LABELS");
        labels.add (ownedLabel (QVLookAndFeel::MakeSmallLabel (nullptr), "W"), 18, 12, "small");
        labels.add (ownedLabel (QVLookAndFeel::MakeSliderLabel (nullptr), "-6.0"), 40, 15, "slider label");
        HostType::SetHostTypeForTesting (HostType::SteinbergCubase7);
        labels.add (ownedLabel (QVLookAndFeel::MakeSliderLabel (nullptr), "3.5"), 40, 15, "read-only host");
        HostType::ClearHostTypeForTesting();
        auto& dimmed = labels.add (ownedLabel (QVLookAndFeel::MakeSliderLabel (nullptr), "-31.0"), 40, 15, "disabled");
        dimmed.setEnabled (false);
        editing = &labels.add (ownedLabel (QVLookAndFeel::MakeSliderLabel (nullptr), "10.0"), 40, 15, "editing");
        labels.add (std::make_unique<juce::Label> (juce::String(), "plain"), 50, 18, "default label");
        labels.add (std::make_unique<PanelHeaderLabel> ("INPUT", QVLookAndFeel::GetUIFont (QVLookAndFeel::titleFontSize, juce::Font::bold)),
                    80, 20, "header");
        labels.add (std::make_unique<Drawing> ([] (juce::Graphics& g, juce::Component& c) {
            QVLookAndFeel::DrawSubPanelBackground (g, c.getLocalBounds().toFloat().reduced (1.0f));
        }), 56, 60, "sub-panel");

        auto& fonts = addPanel ("ROBOTO BOLD: HINTED 5-8, THEN 11.5, 13, 15.5");
        const float heights[] = { 5.0f, 6.0f, 7.0f, 8.0f, 11.5f, 13.0f, 15.5f };
        const auto sample = "Quorvane2 " + juce::String::charToString ((juce::juce_wchar) 0xA9) + " AV 0123";

        for (float h : heights)
        {
            fonts.add (std::make_unique<Drawing> ([h, sample] (juce::Graphics& g, juce::Component& c) {
                g.setColour (juce::Colours::white);
                g.setFont (QVLookAndFeel::GetUIFont (h, juce::Font::bold));
                g.drawText (sample, c.getLocalBounds(), juce::Justification::centredLeft, false);
            }), (int) (h * 11.0f), 20, juce::String (h, 1) + " px");
        }

        auto& others = addPanel ("SCROLL BARS AND DEFAULT WIDGETS");
        auto& vbar = others.add (std::make_unique<juce::ScrollBar> (true), 12, 90, "scroll bar");
        vbar.setRangeLimits (0.0, 100.0);
        vbar.setCurrentRange (20.0, 30.0);
        auto& hbar = others.add (std::make_unique<juce::ScrollBar> (false), 90, 12, "horizontal");
        hbar.setRangeLimits (0.0, 100.0);
        hbar.setCurrentRange (60.0, 25.0);
        others.add (toggled<juce::ToggleButton> ("toggle", false), 80, 20, "toggle off");
        others.add (toggled<juce::ToggleButton> ("toggle", true), 80, 20, "toggle on");
        others.add (toggled<juce::ToggleButton> ("ALERT", true), 80, 20, "ALERT on");
        others.add (std::make_unique<juce::TextButton> ("button"), 60, 20, "text button");
        others.add (std::make_unique<juce::ProgressBar> (progress), 90, 16, "progress 0.4");
        auto& table = others.add (std::make_unique<juce::TableHeaderComponent>(), 140, 20, "table header");
        table.addColumn ("Name", 1, 80);
        table.addColumn ("dB", 2, 60);
        table.setSortColumnId (1, true);
        others.add (std::make_unique<Drawing> ([] (juce::Graphics& g, juce::Component& c) {
            auto& lnf = dynamic_cast<QVLookAndFeel&> (c.getLookAndFeel());
            juce::Slider dummy;
            dummy.setColour (juce::Slider::trackColourId, juce::Colours::white);
            lnf.drawPanSliderBackground (g, 0, 0, c.getWidth(), c.getHeight(), 30.0f, 0.0f, 60.0f,
                                         juce::Slider::LinearHorizontal, dummy);
        }), 60, 30, "pan arc");

        AddPanelPlates();
        // The rows slide with the desktop's animator, which needs a display.
        if (qvtest::HasDisplay())
            AddParameterAndInfoPlates();

        int width = 0;

        for (auto* p : panels)
            width = juce::jmax (width, p->usedWidth());

        int y = 4;

        for (auto* p : panels)
        {
            p->setBounds (4, y, width, p->usedHeight());
            y += p->usedHeight() + 4;
        }

        setSize (width + 8, y);
    }

    void paint (juce::Graphics& g) override { g.fillAll (editorBackground); }

    juce::Label* editing = nullptr;

private:
    // Texts as the panels give them: whole degrees for knobs, two decimals otherwise.
    juce::String getTextFromValue (int id, double value) override
    {
        return id == 1 ? juce::String (juce::roundToInt (value * 360.0) % 360) : juce::String (value, 2);
    }

    // The input and output panels in their layouts, formats and meter levels.
    void AddPanelPlates()
    {
        auto& layouts = addPanel ("OUTPUT PANEL: LAYOUTS");
        layouts.add (OutputPicture (kOutputFormatStereo), 300, 160, "STEREO");
        layouts.add (OutputPicture (kOutputFormat5_1), 300, 160, "5.1");
        layouts.add (OutputPicture (kOutputFormat7_1), 300, 160, "7.1");
        layouts.add (OutputPicture (kOutputFormatBFormat), 300, 160, "B FORMAT");

        auto& levels = addPanel ("OUTPUT PANEL: METERS");
        levels.add (OutputPicture (kOutputFormat7_1, { {}, 0.1f }), 300, 160, "7.1, meters at -20 dB");
        levels.add (OutputPicture (kOutputFormat7_1, { {}, 1.0f }), 300, 160, "7.1, meters at 0 dB");
        levels.add (OutputPicture (kOutputFormatBFormat, { {}, 0.1f }), 300, 160, "B FORMAT, meters at -20 dB");

        // C soloed and LS/RS muted on its own: the others blink, LS/RS holds.
        const PanelState soloC { { { 25, 1.0f }, { 30, 1.0f } }, 0.1f };
        auto& solo = addPanel ("OUTPUT PANEL: MUTE AND SOLO FLASHING");
        solo.add (OutputPicture (kOutputFormat5_1, soloC), 300, 160, "5.1, C solo, LS/RS muted: captions shown");
        solo.add (OutputPicture (kOutputFormat5_1, { soloC.parameters, 0.1f, true }), 300, 160, "the next flash step: blinking captions hidden");
        solo.add (OutputPicture (kOutputFormatStereo, { { { 16, 0.5f } }, 1.0f }), 300, 160, "STEREO at -11 dB, 0 dB meters");

        auto& inputs = addPanel ("INPUT PANEL");
        inputs.add (InputPicture (Quorvane2AudioProcessor::kAFormat), 220, 160, "A FORMAT, silence");
        inputs.add (InputPicture (Quorvane2AudioProcessor::kBFormat, { {}, 0.1f }), 220, 160, "B FORMAT, -20 dB");
        inputs.add (InputPicture (Quorvane2AudioProcessor::kBFormat, { { { 1, 1.0f }, { 3, 1.0f } }, 1.0f }), 220, 160,
                    "B FORMAT, 0 dB, INVERT and HI PASS");
        inputs.add (InputPicture (Quorvane2AudioProcessor::kAFormat, { { { 0, 0.6097561f }, { 2, 1.0f } }, 0.5f }), 220, 160,
                    "A FORMAT, trim -6 dB, END FIRE, -6 dB");
    }

    // The parameter panel in its layouts and the info panel per plug-in format.
    void AddParameterAndInfoPlates()
    {
        auto& params = addPanel ("PARAMETER PANEL: LAYOUTS");
        params.add (ParamsPanelPicture (kOutputFormatStereo, false), 206, 332, "STEREO");
        params.add (ParamsPanelPicture (kOutputFormat5_1, false), 206, 332, "5.1");
        params.add (ParamsPanelPicture (kOutputFormat7_1, false), 206, 332, "7.1");
        params.add (ParamsPanelPicture (kOutputFormatBFormat, false), 206, 332, "B FORMAT");

        auto& all = addPanel ("PARAMETER PANEL: ALL, 6.1 AND VALUES");
        all.add (ParamsPanelPicture (kOutputFormat7_1, true), 206, 332, "7.1, ALL on");
        all.add (ParamsPanelPicture (kOutputFormat5_1, true), 206, 332, "5.1, ALL on");
        all.add (ParamsPanelPicture (kOutputFormat6_1, false), 206, 332, "6.1");
        all.add (ParamsPanelPicture (kOutputFormat7_1, false, [] (Quorvane2AudioProcessor& p) {
                     const std::pair<int, float> values[] = { { 4, 0.25f }, { 5, 0.6666667f }, { 6, 0.2f }, { 7, 0.7f },
                                                              { 8, 1.0f }, { 9, 0.0f }, { 10, 0.25f }, { 11, 0.8f },
                                                              { 13, 0.5f }, { 14, 0.75f }, { 15, 0.25f } };
                     for (auto [index, value] : values)
                         p.setParameter (index, value);
                 }),
                 206, 332, "7.1, rotation 90, tilts 30 / -54, zoom 0.20");

        auto& info = addPanel ("INFO PANEL");
        info.add (InfoPanelPicture (juce::AudioProcessor::wrapperType_VST), 206, 65, "VST");
        info.add (InfoPanelPicture (juce::AudioProcessor::wrapperType_AudioUnit), 206, 65, "AU");
        info.add (InfoPanelPicture (juce::AudioProcessor::wrapperType_AAX), 206, 65, "AAX");
    }

    template <typename C>
    C& withTexts (C& slider)
    {
        slider.listener = this;
        slider.updateText();
        return slider;
    }

    SheetPanel& addPanel (const juce::String& title)
    {
        ownedPanels.push_back (std::make_unique<SheetPanel> (title));
        panels.push_back (ownedPanels.back().get());
        addAndMakeVisible (*panels.back());
        return *panels.back();
    }

    double progress = 0.4;
    std::vector<std::unique_ptr<SheetPanel>> ownedPanels;
    std::vector<SheetPanel*> panels;
};

// The surround-controls panel in every output layout and in a few states of
// its own, each on a processor of its own, with the curve and tilt control
// alone below them.
class SurroundSheet : public juce::Component
{
public:
    SurroundSheet()
    {
        for (const auto& layout : surroundtest::layouts)
            addPanel (layout.format, layout.name, {});

        addPanel (kOutputFormat5_1, "5.1: turned 30, tilts 120 / 45, zoom 0.8",
                  { { 4, 30.0f / 360.0f }, { 5, 120.0f / 180.0f }, { 6, 45.0f / 180.0f }, { 7, 0.8f } });
        addPanel (kOutputFormat7_1, "7.1: widths 100 / 140 / 60, patterns 0 and 1",
                  { { 13, 100.0f / 180.0f }, { 14, 140.0f / 180.0f }, { 15, 60.0f / 180.0f }, { 8, 0.0f }, { 9, 1.0f }, { 10, 1.0f }, { 11, 0.0f } });
        addPanel (kOutputFormatStereo, "STEREO: figure of eight, width 180",
                  { { 8, 1.0f }, { 13, 1.0f } });
        addPanel (kOutputFormatBFormat, "B FORMAT: zoom 0, front tilt 150",
                  { { 7, 0.0f }, { 5, 150.0f / 180.0f } });

        auto& curves = addParts ("POLAR CURVES (0.5..0.75 RANGE, THEN 0..1)");
        const std::tuple<float, float, float, float, const char*> shapes[] = {
            { 0.5f, 0.75f, 0.0f, 90.0f, "0, left" },        { 0.5f, 0.75f, 0.5f, 135.0f, "0.5, up" },
            { 0.5f, 0.75f, 1.0f, 45.0f, "1, down" },        { 0.0f, 1.0f, 0.0f, 90.0f, "omni" },
            { 0.0f, 1.0f, 0.5f, 0.0f, "cardioid, right" }, { 0.0f, 1.0f, 1.0f, 112.5f, "eight, 225" },
        };

        for (const auto& [low, high, pattern, rotation, caption] : shapes)
        {
            auto curve = std::make_unique<PolarComponent> (1);
            curve->minimum = low;
            curve->maximum = high;
            curve->rotation = rotation;
            curve->colour = QVLookAndFeel::Col_LRPolar;
            curve->setSize (74, 74);
            curve->SetPolar (pattern);
            curves.add (std::move (curve), 74, 74, caption);
        }

        auto& tilts = addParts ("TILT CONTROL");
        addTilt (tilts, kOutputFormat5_1, 0.5f, 90.0f, 90.0f, "5.1 level");
        addTilt (tilts, kOutputFormat5_1, 0.5f, 0.0f, 180.0f, "down / up");
        addTilt (tilts, kOutputFormat5_1, 0.0f, 135.0f, 45.0f, "zoom 0");
        addTilt (tilts, kOutputFormat5_1, 1.0f, 135.0f, 45.0f, "zoom 1");
        addTilt (tilts, kOutputFormatStereo, 0.5f, 60.0f, 90.0f, "stereo");
        addTilt (tilts, kOutputFormatBFormat, 0.8f, 60.0f, 90.0f, "B format");

        juce::Desktop::getInstance().getAnimator().cancelAllAnimations (true);

        int x = 4, y = 4, rowHeight = 0;
        int width = 0;

        for (auto& cell : cells)
        {
            if (x + cell.panel->getWidth() > 4 * (314 + 8))
            {
                x = 4;
                y += rowHeight + 8;
                rowHeight = 0;
            }

            cell.caption = { x, y, cell.panel->getWidth(), 16 };
            cell.panel->setTopLeftPosition (x, y + 18);
            x += cell.panel->getWidth() + 8;
            rowHeight = juce::jmax (rowHeight, cell.panel->getHeight() + 18);
            width = juce::jmax (width, x);
        }

        y += rowHeight + 8;

        for (auto* p : parts)
        {
            p->setBounds (4, y, p->usedWidth(), p->usedHeight());
            y += p->usedHeight() + 4;
            width = juce::jmax (width, p->usedWidth() + 8);
        }

        setSize (width, y);
    }

    // Each panel alone, twice the size, for a close look.
    void saveEachPanel() const
    {
        for (const auto& cell : cells)
        {
            const auto name = cell.name.upToFirstOccurrenceOf (":", false, false).replaceCharacters (" .", "--")
                            + (cell.name.containsChar (':') ? "-state" : "");
            qvtest::SavePng (qvtest::RenderComponent (*cell.panel, editorBackground, 2.0f), "surround-panel-" + name.toLowerCase());
        }
    }

    void paint (juce::Graphics& g) override
    {
        g.fillAll (editorBackground);
        g.setColour (juce::Colours::white);
        g.setFont (QVLookAndFeel::GetUIFont (11.5f, juce::Font::bold));

        for (const auto& cell : cells)
            g.drawText (cell.name, cell.caption, juce::Justification::centredLeft, true);
    }

private:
    struct Cell
    {
        std::unique_ptr<Quorvane2AudioProcessor> processor;
        std::unique_ptr<QuorvanePanel> panel;
        juce::String name;
        juce::Rectangle<int> caption;
    };

    void addPanel (OutputStemFormat format, const juce::String& name, std::vector<std::pair<int, float>> settings)
    {
        Cell cell;
        cell.processor = std::make_unique<Quorvane2AudioProcessor>();
        cell.panel = std::make_unique<QuorvanePanel> (*cell.processor);
        cell.panel->setSize (314, 397);
        addAndMakeVisible (*cell.panel);
        surroundtest::ApplyLayout (*cell.processor, format);

        for (auto [index, value] : settings)
            cell.processor->setParameter (index, value);

        cell.processor->UpdateUI();
        cell.name = name;
        cells.push_back (std::move (cell));
    }

    void addTilt (SheetPanel& plate, OutputStemFormat format, float zoom, float front, float rear, const juce::String& caption)
    {
        tiltProcessors.push_back (std::make_unique<Quorvane2AudioProcessor>());
        auto& p = *tiltProcessors.back();
        p.UISetOutputFormat (format);
        p.setParameter (7, zoom);
        auto tilt = std::make_unique<SnapTiltComponent> (p);
        tilt->setSize (121, 121);
        tilt->bFormatMode = format == kOutputFormatBFormat;
        tilt->SetFrontTiltAngle (front, false);
        tilt->SetRearTiltAngle (rear, false);
        plate.add (std::move (tilt), 121, 121, caption);
    }

    SheetPanel& addParts (const juce::String& title)
    {
        ownedParts.push_back (std::make_unique<SheetPanel> (title));
        parts.push_back (ownedParts.back().get());
        addAndMakeVisible (*parts.back());
        return *parts.back();
    }

    std::vector<std::unique_ptr<Quorvane2AudioProcessor>> tiltProcessors;
    std::vector<Cell> cells;
    std::vector<std::unique_ptr<SheetPanel>> ownedParts;
    std::vector<SheetPanel*> parts;
};

class ContactSheetTest : public EditorTest
{
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        juce::Typeface::clearTypefaceCache();
    }
};
} // namespace

// A picture for people to look at, not a check of the drawing: the pixel
// checks of LookAndFeelDrawingTest and WidgetsTest carry the assertions. This
// only makes sure the sheet is written and reads back.
TEST_F (ContactSheetTest, WritesAPictureForPeopleToLookAt)
{
    ContactSheet sheet;
    sheet.setLookAndFeel (&lnf);
    sheet.editing->showEditor();
    const auto image = qvtest::RenderComponent (sheet);
    const auto file = qvtest::SavePng (image, "contact-sheet");
    const auto zoomed = qvtest::SavePng (qvtest::RenderComponent (sheet, juce::Colours::transparentBlack, 2.0f), "contact-sheet@2x");
    ASSERT_TRUE (file.existsAsFile()) << file.getFullPathName();
    ASSERT_TRUE (zoomed.existsAsFile()) << zoomed.getFullPathName();
    const auto reloaded = juce::ImageFileFormat::loadFrom (file);
    ASSERT_TRUE (reloaded.isValid()) << "the PNG does not read back";
    EXPECT_EQ (reloaded.getBounds(), image.getBounds());
    sheet.editing->hideEditor (true);
    sheet.setLookAndFeel (nullptr);
}

TEST_F (ContactSheetTest, WindowOnTheDisplayTakesRealClicks)
{
    QV_REQUIRE_DISPLAY();
    struct Recorder : ParameterSliderListener
    {
        void resetToDefaultValue (int id) override { resets.add (id); }
        juce::Array<int> resets;
    } recorder;
    juce::Component window;
    window.setLookAndFeel (&lnf);
    window.setSize (300, 120);
    GlowingButton button ("M", juce::Colours::darkorange);
    window.addAndMakeVisible (button);
    button.setBounds (10, 10, 16, 13);
    std::unique_ptr<juce::Label> label (QVLookAndFeel::MakeSliderLabel (&window));
    label->setBounds (40, 10, 40, 15);
    label->setText ("0.0", juce::dontSendNotification);

    // Made while running inside Cubase 5 and Nuendo: value labels refuse clicks.
    std::vector<std::unique_ptr<juce::Label>> readOnlyLabels;
    for (auto host : { HostType::SteinbergCubase5, HostType::SteinbergNuendo })
    {
        HostType::SetHostTypeForTesting (host);
        readOnlyLabels.emplace_back (QVLookAndFeel::MakeSliderLabel (&window));
        readOnlyLabels.back()->setBounds (90 + 50 * (int) (readOnlyLabels.size() - 1), 10, 40, 15);
        readOnlyLabels.back()->setText ("1.0", juce::dontSendNotification);
    }
    HostType::ClearHostTypeForTesting();
    ParameterSlider slider (180, 6, false, false);
    window.addAndMakeVisible (slider);
    slider.setRange (0.0, 1.0);
    slider.setTextBoxStyle (juce::Slider::NoTextBox, true, 0, 0);
    slider.setBounds (10, 50, 200, 20);
    slider.setValue (0.5, juce::dontSendNotification);
    slider.listener = &recorder;
    window.addToDesktop (0);
    window.setVisible (true);
    ASSERT_NE (window.getPeer(), nullptr);
    // The clicks go straight to our window, and each result is read before
    // the message loop runs again; but an open value editor closes when the
    // window loses the keyboard focus, so the window must hold it first.
    ASSERT_TRUE (qvtest::WaitForWindowOnScreen (window, true)) << "the window never showed with the keyboard focus";
    const auto stillOurs = [&] { return window.getPeer()->isFocused() ? "" : " (another window took the keyboard focus)"; };
    qvtest::ClickThroughPeer (button, { 8, 6 });
    EXPECT_TRUE (button.getToggleState()) << "a click through the window should switch the lamp on";
    qvtest::ClickThroughPeer (*label, { 20, 7 });
    EXPECT_TRUE (label->isBeingEdited()) << "one click opens the value editor" << stillOurs();
    label->hideEditor (true);
    for (auto& readOnly : readOnlyLabels)
    {
        qvtest::ClickThroughPeer (*readOnly, { 20, 7 });
        EXPECT_FALSE (readOnly->isBeingEdited()) << "a label made under a Steinberg host must not open an editor";
        readOnly->hideEditor (true);
    }
    qvtest::ClickThroughPeer (slider, { 190, 10 }, juce::ModifierKeys::altModifier);
    EXPECT_EQ (recorder.resets, juce::Array<int> ({ 6 }));
    EXPECT_EQ (slider.getValue(), 0.5);
    qvtest::SavePng (window.createComponentSnapshot (window.getLocalBounds()), "window-after-clicks");
    label.reset();
    readOnlyLabels.clear();
    window.removeFromDesktop();
    window.setLookAndFeel (nullptr);
}

TEST_F (ContactSheetTest, WritesTheSurroundControlsInEveryLayout)
{
    SurroundSheet sheet;
    sheet.setLookAndFeel (&lnf);
    const auto image = qvtest::RenderComponent (sheet);
    const auto file = qvtest::SavePng (image, "contact-sheet-surround");
    qvtest::SavePng (qvtest::RenderComponent (sheet, juce::Colours::transparentBlack, 2.0f), "contact-sheet-surround@2x");
    sheet.saveEachPanel();
    ASSERT_TRUE (file.existsAsFile()) << file.getFullPathName();
    EXPECT_EQ (image.getPixelAt (1, 1).getARGB(), editorBackground.getARGB());

    // Every panel's disc is drawn: the black ground inside each display is there.
    EXPECT_GT (qvtest::CountPixels (image, [] (juce::Colour p) { return p.getBrightness() < 0.05f && p.getAlpha() == 255; }), 12 * 20000);
    sheet.setLookAndFeel (nullptr);
}
