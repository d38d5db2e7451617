// Driving the editor's panels as a user and the processor do: gestures
// through the components' own mouse and label handling, what reached the real
// processor (host notifications, parameter values), animations run to their end.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <ostream>
#include <vector>

#include "AudioProcessor.h"
#include "ComponentSnapshot.h"
#include "EditorTestFixture.h"
#include "GuiTestEnvironment.h"
#include "Quorvane2AudioProcessor.h"

namespace paneltest
{
// One parameter write as the host hears it; values equal within 4 units in
// the last place, as figures such as 25/41 are written to seven digits.
struct HostCall
{
    int index;
    float value;
    bool operator== (HostCall o) const
    {
        return index == o.index && std::abs (value - o.value) <= 4.0f * std::numeric_limits<float>::epsilon() * std::max (1.0f, std::abs (o.value));
    }
};
inline std::ostream& operator<< (std::ostream& os, HostCall c) { return os << "(" << c.index << ", " << c.value << ")"; }

struct HostRecorder : juce::AudioProcessorListener
{
    void audioProcessorParameterChanged (juce::AudioProcessor*, int index, float value) override { calls.push_back ({ index, value }); }
    void audioProcessorChanged (juce::AudioProcessor*) override {}
    std::vector<HostCall> calls;
};

// The indices of the processor's 50 parameters whose value (bits) differ from `before`.
using ParameterValues = std::array<float, 50>;
inline ParameterValues ReadParameters (Quorvane2AudioProcessor& p)
{
    ParameterValues v {};
    for (int i = 0; i < 50; ++i)
        v[(size_t) i] = p.getParameter (i);
    return v;
}
inline std::vector<int> ChangedIndices (const ParameterValues& before, Quorvane2AudioProcessor& p)
{
    const auto after = ReadParameters (p);
    std::vector<int> changed;
    for (int i = 0; i < 50; ++i)
        if (std::memcmp (&before[(size_t) i], &after[(size_t) i], sizeof (float)) != 0)
            changed.push_back (i);
    return changed;
}

inline const juce::ModifierKeys leftButton (juce::ModifierKeys::leftButtonModifier);
inline const juce::ModifierKeys altLeftButton (juce::ModifierKeys::altModifier | juce::ModifierKeys::leftButtonModifier);

inline void Click (juce::Component& c, juce::Point<float> at, juce::ModifierKeys mods = leftButton)
{
    c.mouseDown (qvtest::MakeMouseEvent (c, at, mods));
    c.mouseUp (qvtest::MakeMouseEvent (c, at, mods));
}
inline void Click (juce::Button& b) { Click (b, b.getLocalBounds().getCentre().toFloat()); }

inline void Drag (juce::Component& c, juce::Point<float> from, juce::Point<float> to)
{
    c.mouseDown (qvtest::MakeMouseEvent (c, from, leftButton));
    c.mouseDrag (qvtest::MakeMouseEvent (c, to, leftButton));
    c.mouseUp (qvtest::MakeMouseEvent (c, to, leftButton));
}

// Opens the label's editor, types, and leaves it keeping the text (as a click elsewhere does).
inline void TypeInto (juce::Label& label, const juce::String& text)
{
    label.showEditor();
    ASSERT_NE (label.getCurrentTextEditor(), nullptr) << "the label did not open for editing";
    label.getCurrentTextEditor()->setText (text, false);
    label.hideEditor (false);
}

inline void FinishAnimations() { juce::Desktop::getInstance().getAnimator().cancelAllAnimations (true); }

// The trim sliders are 24 x 91: the GUI library keeps the thumb 9 pixels from
// either end, so positions 100 to 0 lie from y 9 to y 82.
inline juce::Point<float> TrimSliderPoint (double position) { return { 12.0f, 9.0f + (float) (1.0 - position / 100.0) * 73.0f }; }

// A lit meter pixel is a saturated colour of the gradient; unlit is the dark grey ground.
inline bool IsLit (juce::Colour c) { return c.getSaturation() > 0.4f && c.getBrightness() > 0.5f; }

// Pixels given as {x, y, ARGB}, within 2 per channel.
struct PixelProbe
{
    int x, y;
    juce::uint32 argb;
};
inline void ExpectPixels (const juce::Image& image, const std::vector<PixelProbe>& probes)
{
    for (const auto& p : probes)
    {
        const auto pixel = qvtest::PixelAt (image, p.x, p.y);
        EXPECT_TRUE (qvtest::Near (pixel, juce::Colour (p.argb), 2))
            << "(" << p.x << ", " << p.y << ") is " << qvtest::Describe (pixel) << ", not " << qvtest::Describe (juce::Colour (p.argb));
    }
}
// Rows of a meter column: {x, y, lit}.
inline void ExpectMeterRows (const juce::Image& image, const std::vector<std::tuple<int, int, bool>>& rows)
{
    for (auto [x, y, lit] : rows)
        EXPECT_EQ (IsLit (qvtest::PixelAt (image, x, y)), lit) << "(" << x << ", " << y << ")";
}

// Editor background; black at 0.45 over it (panel plate); white at 0.2 over that (group plate).
constexpr juce::uint32 groundArgb = 0xFF6E8296, plateArgb = 0xFF3C4752, groupPlateArgb = 0xFF636C75;

// A fresh processor with a panel listening to it, brought up to date as when
// the editor opens (the full update, then a refresh that finds nothing new),
// strips settled and nothing heard by the host yet.
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

    // One user gesture: exactly these host calls and these parameters changed.
    template <typename Gesture>
    void ExpectGesture (Gesture&& gesture, const std::vector<HostCall>& calls, const std::vector<int>& changed)
    {
        host.calls.clear();
        const auto before = ReadParameters (processor);
        gesture (*panel);
        EXPECT_EQ (host.calls, calls);
        EXPECT_EQ (ChangedIndices (before, processor), changed);
    }

    Quorvane2AudioProcessor processor;
    HostRecorder host;
    std::unique_ptr<Panel> panel;
};

// One row of a gesture table: what the user does, the host calls and changed
// parameters it must give, and (when given) what the panel then shows.
template <typename Panel>
struct GestureCase
{
    const char* gesture;
    std::function<void (Panel&)> act;
    std::vector<HostCall> calls;
    std::vector<int> changed;
    const char* shown = nullptr;
};

// A test of one panel type with a fresh rig, bounded as in the editor.
template <typename PanelType>
class PanelTest : public EditorTest
{
protected:
    explicit PanelTest (juce::Rectangle<int> editorBounds) : bounds (editorBounds) {}

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
    // Starts over with a new processor and panel.
    void Fresh()
    {
        rig.reset();
        rig = std::make_unique<PanelRig<PanelType>> (bounds);
    }
    PanelType& Panel() { return *rig->panel; }

    const juce::Rectangle<int> bounds;
    std::unique_ptr<PanelRig<PanelType>> rig;
};
} // namespace paneltest
