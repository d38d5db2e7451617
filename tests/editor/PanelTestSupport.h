// Driving the editor's panels the way a user and the processor do: gestures
// delivered through the components' own mouse and label handling, what
// reached the real processor (host notifications and parameter values), and
// the end of the strips' animations.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <cstring>
#include <ostream>
#include <vector>

#include "AudioProcessor.h"
#include "ComponentSnapshot.h"
#include "EditorTestFixture.h"
#include "GuiTestEnvironment.h"
#include "Quorvane2AudioProcessor.h"

namespace paneltest
{
// One parameter write as the host hears of it (setParameterNotifyingHost).
struct HostCall
{
    int index;
    float value;
};

// Values within 4 units in the last place, as EXPECT_FLOAT_EQ: figures such as
// 25/41 are written to seven digits.
inline bool operator== (HostCall a, HostCall b)
{
    return a.index == b.index
        && std::abs (a.value - b.value) <= 4.0f * std::numeric_limits<float>::epsilon() * std::max (1.0f, std::abs (b.value));
}
inline std::ostream& operator<< (std::ostream& os, HostCall c) { return os << "(" << c.index << ", " << c.value << ")"; }

class HostRecorder : public juce::AudioProcessorListener
{
public:
    void audioProcessorParameterChanged (juce::AudioProcessor*, int index, float value) override { calls.push_back ({ index, value }); }
    void audioProcessorChanged (juce::AudioProcessor*) override {}

    std::vector<HostCall> calls;
};

// Every one of the processor's 50 parameter values.
using ParameterValues = std::array<float, 50>;

inline ParameterValues ReadParameters (Quorvane2AudioProcessor& p)
{
    ParameterValues v {};
    for (int i = 0; i < (int) v.size(); ++i)
        v[(size_t) i] = p.getParameter (i);
    return v;
}

// Indices whose value differs (bit for bit, so a NaN counts once it appears).
inline std::vector<int> ChangedIndices (const ParameterValues& before, const ParameterValues& after)
{
    std::vector<int> changed;
    for (size_t i = 0; i < before.size(); ++i)
        if (std::memcmp (&before[i], &after[i], sizeof (float)) != 0)
            changed.push_back ((int) i);
    return changed;
}

inline const juce::ModifierKeys leftButton (juce::ModifierKeys::leftButtonModifier);
inline const juce::ModifierKeys altLeftButton (juce::ModifierKeys::altModifier | juce::ModifierKeys::leftButtonModifier);

// A press and release at a local position.
inline void Click (juce::Component& c, juce::Point<float> at, juce::ModifierKeys mods = leftButton)
{
    c.mouseDown (qvtest::MakeMouseEvent (c, at, mods));
    c.mouseUp (qvtest::MakeMouseEvent (c, at, mods));
}

inline void Click (juce::Button& b) { Click (b, b.getLocalBounds().getCentre().toFloat()); }

// A press at `from`, one drag to `to` and the release there.
inline void Drag (juce::Component& c, juce::Point<float> from, juce::Point<float> to)
{
    c.mouseDown (qvtest::MakeMouseEvent (c, from, leftButton));
    c.mouseDrag (qvtest::MakeMouseEvent (c, to, leftButton));
    c.mouseUp (qvtest::MakeMouseEvent (c, to, leftButton));
}

// Opens the label's editor, types the text and leaves the editor, which keeps
// what was typed (as a click elsewhere does).
inline void TypeInto (juce::Label& label, const juce::String& text)
{
    label.showEditor();
    auto* editor = label.getCurrentTextEditor();
    ASSERT_NE (editor, nullptr) << "the label did not open for editing";
    editor->setText (text, false);
    label.hideEditor (false);
}

// Pumps messages until the desktop's animator is idle; false on a timeout.
inline bool WaitForAnimations (int timeoutMs = 3000)
{
    auto& animator = juce::Desktop::getInstance().getAnimator();
    const auto end = juce::Time::getMillisecondCounter() + (juce::uint32) timeoutMs;

    while (animator.isAnimating())
    {
        if (juce::Time::getMillisecondCounter() > end)
            return false;

        qvtest::PumpMessages (2);
    }

    return true;
}

// Ends every running animation with its components at their destinations.
inline void FinishAnimations() { juce::Desktop::getInstance().getAnimator().cancelAllAnimations (true); }

// The trim sliders are 24 x 91: the GUI library keeps the thumb 9 pixels from
// either end, so positions 100 to 0 lie from y 9 to y 82.
inline float TrimSliderY (double position) { return 9.0f + (float) (1.0 - position / 100.0) * 73.0f; }
inline juce::Point<float> TrimSliderPoint (double position) { return { 12.0f, TrimSliderY (position) }; }

// A lit meter pixel is a saturated colour of the gradient; an unlit one is the dark grey ground.
inline bool IsLit (juce::Colour c) { return c.getSaturation() > 0.4f && c.getBrightness() > 0.5f; }

// The editor's background, behind every panel.
inline const juce::Colour editorBackground (0xFF6E8296);

// A fresh processor with a panel listening to it, brought up to date as when
// the editor opens (the full update, then a refresh that finds nothing new),
// with no animation running and nothing heard by the host yet.
template <typename Panel>
struct PanelRig
{
    explicit PanelRig (juce::Rectangle<int> bounds)
    {
        processor.addListener (&host);
        panel = std::make_unique<Panel> (processor);
        panel->setBounds (bounds);
        processor.FullUIUpdate();
        processor.UpdateUI();
        FinishAnimations();
        host.calls.clear();
    }

    ~PanelRig()
    {
        FinishAnimations();
        panel.reset();
        processor.removeListener (&host);
    }

    Quorvane2AudioProcessor processor;
    HostRecorder host;
    std::unique_ptr<Panel> panel;
};
} // namespace paneltest
