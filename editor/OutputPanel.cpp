#include "OutputPanel.h"

#include "Animation.h"

#include "QVLookAndFeel.h"

#include <cmath>

namespace
{
constexpr int noParameter = -1;

// One output group: its strip and the processor parameters behind it.
struct OutputGroup
{
    int key;
    const char* name;
    int channels;
    const juce::Colour* sliderColour;
    int trim; // level parameter
    int mute; // noParameter for the B-format group
    int solo;
};

// In key order.
const OutputGroup outputGroups[OutputPanel::numStripKeys] = {
    { OutputPanel::keyLR, "L/R", 2, &QVLookAndFeel::Col_LRPolar, 16, 23, 29 },
    { OutputPanel::keyC, "C", 1, &QVLookAndFeel::Col_CentrePolar, 17, 24, 30 },
    { OutputPanel::keyLFE, "LFE", 1, &QVLookAndFeel::Col_LFEPolar, 21, 28, 34 },
    { OutputPanel::keyLsRs, "LS/RS", 2, &QVLookAndFeel::Col_LsRsPolar, 18, 25, 31 },
    { OutputPanel::keyRLsRRs, "RLS/RRS", 2, &QVLookAndFeel::Col_RLsRRsPolar, 19, 26, 32 },
    { OutputPanel::keyRC, "R C", 1, &QVLookAndFeel::Col_RLsRRsPolar, 20, 27, 33 },
    { OutputPanel::keyBF, "B F", 4, &QVLookAndFeel::Col_BFormat, 22, noParameter, noParameter },
};

const OutputGroup* GroupForKey (int key)
{
    return key >= 0 && key < OutputPanel::numStripKeys ? &outputGroups[key] : nullptr;
}

const OutputGroup* GroupForTrim (int index)
{
    for (const auto& group : outputGroups)
        if (group.trim == index)
            return &group;

    return nullptr;
}

// The groups with mute and solo, in the order their lamps are mirrored.
constexpr int mirroredKeys[] = { OutputPanel::keyLR, OutputPanel::keyC, OutputPanel::keyLsRs,
                                 OutputPanel::keyRLsRRs, OutputPanel::keyRC, OutputPanel::keyLFE };

// The "M" lamps that blink, in the order they are stepped.
constexpr int flashingKeys[] = { OutputPanel::keyC, OutputPanel::keyLR, OutputPanel::keyRLsRRs,
                                 OutputPanel::keyLsRs, OutputPanel::keyRC, OutputPanel::keyLFE };

// Where an output meter parameter shows: a meter (1-4) of a strip, only while
// that strip is active or always; and the B-format strip's meter (0: none)
// while the B-format strip is active.
struct MeterRoute
{
    int index;
    int key;
    int meter;
    bool onlyWhenActive;
    int bFormatMeter;
};

const MeterRoute meterRoutes[] = {
    { 41, OutputPanel::keyLR, 1, true, 1 },     // L, or W
    { 42, OutputPanel::keyLR, 2, true, 2 },     // R, or X
    { 43, OutputPanel::keyC, 1, true, 3 },      // C, or Y
    { 44, OutputPanel::keyLFE, 1, true, 4 },    // LFE, or Z
    { 45, OutputPanel::keyLsRs, 1, false, 0 },  // Ls
    { 46, OutputPanel::keyLsRs, 2, false, 0 },  // Rs
    { 47, OutputPanel::keyRLsRRs, 1, false, 0 }, // RLs
    { 48, OutputPanel::keyRLsRRs, 2, false, 0 }, // RRs
    { 49, OutputPanel::keyRC, 1, false, 0 },    // RC
};

BargraphComponent* MeterOf (OutputChannelStrip& strip, int meter)
{
    switch (meter)
    {
        case 1: return strip.meter1.get();
        case 2: return strip.meter2.get();
        case 3: return strip.meter3.get();
        case 4: return strip.meter4.get();
        default: return nullptr;
    }
}

struct FormatItem
{
    const char* text;
    OutputStemFormat id;
};

const FormatItem formatItems[] = {
    { "STEREO", kOutputFormatStereo }, { "5.0", kOutputFormat5_0 }, { "5.1", kOutputFormat5_1 },
    { "6.0", kOutputFormat6_0 },       { "6.1", kOutputFormat6_1 }, { "7.0", kOutputFormat7_0 },
    { "7.1", kOutputFormat7_1 },       { "B FORMAT", kOutputFormatBFormat },
};

bool IsListedFormat (int id)
{
    return id >= kOutputFormatStereo && id <= kOutputFormatBFormat;
}

// A level parameter's value as a slider position 0..100. A value outside
// 0..1, or a NaN a host may have left there, still gives a position.
int SliderPosition (float value)
{
    if (! std::isfinite (value))
        return 0;

    return (int) (juce::jlimit (0.0f, 1.0f, value) * 100.0f);
}
} // namespace

OutputPanel::OutputPanel (Quorvane2AudioProcessor& p)
    : juce::Component ("Input"), processor (p)
{
    header = std::make_unique<PanelHeaderLabel> ("OUTPUT", QVLookAndFeel::GetUIFont (QVLookAndFeel::titleFontSize, juce::Font::bold));
    addAndMakeVisible (*header);
    header->setBounds (0, 0, 360, 24);

    formatCombo = std::make_unique<juce::ComboBox> (juce::String());
    addAndMakeVisible (*formatCombo);
    FillFormatCombo();
    formatCombo->setBounds (274, 4, 80, 14);
    formatCombo->addListener (this);
    formatCombo->setAlwaysOnTop (true);

    std::unique_ptr<OutputChannelStrip>* const owners[numStripKeys] = { &stripLR, &stripC, &stripLFE, &stripLsRs,
                                                                       &stripRLsRRs, &stripRC, &stripBF };

    for (const auto& group : outputGroups)
    {
        auto& strip = *owners[group.key];
        strip = std::make_unique<OutputChannelStrip> (group.channels, group.name, group.key, this);
        addAndMakeVisible (*strip);
        strip->setSize (0, OutputChannelStrip::stripHeight);
        strips.set (group.key, strip.get());
        strip->SetSliderColour (*group.sliderColour);
    }

    for (int key = 0; key < strips.size(); ++key)
    {
        strips[key]->listeners.add (this);
        strips[key]->resized();
    }

    // Until the processor's full update every strip counts as active.
    processor.quorvaneListeners.add (this);
}

OutputPanel::~OutputPanel()
{
    stopTimer();

    // An animation still running would outlive the strips.
    auto& animator = juce::Desktop::getInstance().getAnimator();

    for (int key = 0; key < strips.size(); ++key)
        animator.cancelAnimation (strips[key], false);

    strips.clear();

    // The editor empties the processor's list when it closes; leaving it here
    // as well means a panel closed on its own is never called again.
    processor.quorvaneListeners.remove (this);
}

void OutputPanel::FillFormatCombo()
{
    formatCombo->clear (juce::dontSendNotification);

    for (const auto& item : formatItems)
        formatCombo->addItem (item.text, item.id);

    formatCombo->setSelectedId (processor.GetOutputFormat(), juce::dontSendNotification);
}

void OutputPanel::FormatChannelStrips()
{
    const int f = processor.GetOutputFormat();
    const bool bFormat = f == kOutputFormatBFormat;
    const bool surround = f != kOutputFormatStereo && ! bFormat;

    stripBF->active = bFormat;
    stripLR->active = ! bFormat;
    stripC->active = surround;
    stripLsRs->active = surround;
    stripRC->active = processor.IsFormat6() && ! bFormat;
    stripRLsRRs->active = processor.IsFormat7() && ! bFormat;
    stripLFE->active = processor.HasLFE() && ! bFormat;

    // Stereo has nothing to mute against or solo.
    stripLR->muteButton->setVisible (f != kOutputFormatStereo);
    stripLR->soloButton->setVisible (f != kOutputFormatStereo);

    int x = stripsLeft;
    const int y = stripsTop;

    for (int key = 0; key < strips.size(); ++key)
    {
        auto& strip = *strips[key];

        if (strip.active)
        {
            strip.setBounds (x, y, strip.getWidth(), strip.getHeight());
            AnimateStrip (strip, strip.getBounds(), 1.0f, slideInMs);
            x += stripC->getWidth() + stripGap;
        }
        else
        {
            // Parked at one place above the row, however many layouts it stays out of.
            const juce::Rectangle<int> parked (strip.getX(), y - parkedRise, strip.getWidth(), strip.getHeight());
            const bool alreadyParked = ! strip.isVisible() && strip.getBounds() == parked
                                    && ! juce::Desktop::getInstance().getAnimator().isAnimating (&strip);

            if (! alreadyParked)
                AnimateStrip (strip, parked, 0.0f, slideOutMs);
        }
    }
}

void OutputPanel::AnimateStrip (OutputChannelStrip& strip, juce::Rectangle<int> bounds, float alpha, int milliseconds)
{
    constexpr double startSpeed = 0.0, endSpeed = 2.0;
    AnimateComponent (strip, bounds, alpha, milliseconds, startSpeed, endSpeed);
}

void OutputPanel::UpdateMutesAndSolos()
{
    for (int key : mirroredKeys)
        strips[key]->soloButton->setToggleState (processor.GetIsSolo (outputGroups[key].solo), juce::dontSendNotification);

    for (int key : mirroredKeys)
    {
        const int mute = outputGroups[key].mute;
        strips[key]->SetMuteStates (processor.GetIsMute (mute), processor.GetIsSoloMute (mute));
    }

    if (processor.GetEngine().HasSolo())
    {
        startTimer (flashIntervalMs);
    }
    else
    {
        stopTimer();
        timerCallback();
    }
}

void OutputPanel::paint (juce::Graphics& g)
{
    QVLookAndFeel::DrawPanelBackground (g, this);
}

void OutputPanel::resized()
{
    constexpr int headerHeight = 20, comboInset = 4;

    header->setBounds (0, 0, getWidth(), headerHeight);
    formatCombo->setTopLeftPosition (getWidth() - comboInset - formatCombo->getWidth(), comboInset);

    juce::Rectangle<int> r (stripsLeft, stripsTop, stripC->getWidth(), stripC->getHeight());

    for (int key = 0; key < strips.size(); ++key)
    {
        auto& strip = *strips[key];

        if (strip.active)
        {
            strip.setBounds (r);
            r.setX (r.getX() + r.getWidth() + stripGap);
        }
        else
        {
            strip.setBounds (r.translated (0, -parkedRise));
        }

        strip.resized(); // the strip fixes its own width
    }
}

void OutputPanel::comboBoxChanged (juce::ComboBox* combo)
{
    if (combo != formatCombo.get())
        return;

    const int id = combo->getSelectedId();

    // Only the eight listed layouts reach the processor; anything else puts
    // the processor's own layout back in the box.
    if (! IsListedFormat (id))
    {
        combo->setSelectedId (processor.GetOutputFormat(), juce::dontSendNotification);
        return;
    }

    // The layout is no host parameter, but choosing one writes the L / R pattern
    // again (its range follows the layout), which hosts hear.
    gestures.Framed ({ Quorvane2AudioProcessor::kArraySelectIndex, Quorvane2AudioProcessor::kPolarPatternLRIndex },
                     [&] { processor.UISetOutputFormat (static_cast<OutputStemFormat> (id)); });
}

void OutputPanel::timerCallback()
{
    for (int key : flashingKeys)
        strips[key]->muteButton->DoFlash();
}

void OutputPanel::ParameterChangedFloat (int index, float value)
{
    if (const auto* group = GroupForTrim (index))
    {
        const auto text = processor.getParameterText (index);
        strips[group->key]->SetTrim (SliderPosition (value), text);
    }
    else if (index >= 23 && index <= 34) // mutes and solos
    {
        UpdateMutesAndSolos();
    }
    else if (index == Quorvane2AudioProcessor::kInputFormatIndex)
    {
        FillFormatCombo();
    }
    else if (index == Quorvane2AudioProcessor::kArraySelectIndex)
    {
        FormatChannelStrips();
        FillFormatCombo();
    }
}

void OutputPanel::OutputMeterChanged (int index, float value)
{
    for (const auto& route : meterRoutes)
    {
        if (route.index != index)
            continue;

        auto& strip = *strips[route.key];

        if (strip.active || ! route.onlyWhenActive)
            MeterOf (strip, route.meter)->setValue (value);

        if (route.bFormatMeter != 0 && stripBF->active)
            MeterOf (*stripBF, route.bFormatMeter)->setValue (value);
    }
}

void OutputPanel::HostHasSetOutputFormat (OutputStemFormat)
{
    // The host's layout is the processor's now; the user can no longer change it.
    FillFormatCombo();
    formatCombo->setEnabled (false);
}

void OutputPanel::TrimChanged (int key, int position)
{
    // A drag of the strip's slider frames this write already; a typed level is framed here.
    if (const auto* group = GroupForKey (key))
        gestures.Framed ({ group->trim }, [&] { processor.setParameterNotifyingHost (group->trim, (float) position / 100.0f); });
}

void OutputPanel::MuteChanged (int key, bool)
{
    // A click turns the group's own mute over. The lamp's new state cannot say
    // which way: during another group's solo it is lit for a group that is
    // not muted itself.
    if (const auto* group = GroupForKey (key); group != nullptr && group->mute != noParameter)
        gestures.Framed ({ group->mute }, [&] {
            processor.setParameterNotifyingHost (group->mute, processor.GetIsMute (group->mute) ? 0.0f : 1.0f);
        });

    UpdateMutesAndSolos();
}

void OutputPanel::SoloChanged (int key, bool on)
{
    if (const auto* group = GroupForKey (key); group != nullptr && group->solo != noParameter)
        gestures.Framed ({ group->solo }, [&] { processor.setParameterNotifyingHost (group->solo, on ? 1.0f : 0.0f); });

    UpdateMutesAndSolos();
}

juce::String OutputPanel::getTextFromValue (int key, double)
{
    // The processor's text of the level, whatever position the slider is at.
    if (const auto* group = GroupForKey (key))
        return processor.getParameterText (group->trim);

    return {};
}

void OutputPanel::resetToDefaultValue (int key)
{
    if (const auto* group = GroupForKey (key))
        gestures.Framed ({ group->trim }, [&] { processor.resetParameterToDefault (group->trim); });
}

void OutputPanel::changeStarted (int key)
{
    if (const auto* group = GroupForKey (key))
        gestures.Begin (group->trim);
}

void OutputPanel::changeEnded (int key)
{
    if (const auto* group = GroupForKey (key))
        gestures.End (group->trim);
}
