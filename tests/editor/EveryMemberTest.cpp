// Rules that hold for every member of a table, tried on each member: every
// group's mute and solo lamps follow the processor, and every curve of a
// pair takes its partner along.
#include "OutputPanel.h"
#include "PanelTestSupport.h"
#include "PolarComponent.h"
#include "SurroundDisplayComponent.h"
#include "SurroundTestSupport.h"

using namespace paneltest;

namespace
{
using R = juce::Rectangle<int>;
constexpr int LR = 0, C = 1, LFE = 2, LsRs = 3, RLsRRs = 4, RC = 5; // strip keys

class GroupLampsTest : public PanelTest<OutputPanel>
{
protected:
    GroupLampsTest() : PanelTest (R (221, 2, 300, 160)) {}

    // The six groups' lamps, as "M<lit><blinking> S<lit>" each.
    std::vector<std::string> Lamps()
    {
        std::vector<std::string> lamps;
        for (int key = LR; key <= RC; ++key)
        {
            const auto& s = *rig->panel->strips[key];
            lamps.push_back ("M" + std::to_string ((int) s.muteButton->getToggleState()) + std::to_string ((int) s.muteButton->flashing)
                             + " S" + std::to_string ((int) s.soloButton->getToggleState()));
        }
        return lamps;
    }
};

// Each group with its strip and its mute and solo parameters.
struct Group
{
    const char* name;
    int key, mute, solo;
};
constexpr Group groups[] = {
    { "L/R", LR, 23, 29 },          { "C", C, 24, 30 },   { "Ls/Rs", LsRs, 25, 31 },
    { "RLs/RRs", RLsRRs, 26, 32 }, { "RC", RC, 27, 33 }, { "LFE", LFE, 28, 34 },
};
} // namespace

// With no solo anywhere, a mute lights its own group's M, steady, and no other.
TEST_F (GroupLampsTest, EachMuteLightsOnlyItsOwnStrip)
{
    surroundtest::ApplyLayout (rig->processor, kOutputFormat7_1);
    const std::vector<std::string> dark (6, "M00 S0");
    ASSERT_EQ (Lamps(), dark);
    for (const auto& g : groups)
    {
        SCOPED_TRACE (g.name);
        rig->processor.setParameter (g.mute, 1.0f);
        rig->processor.UpdateUI();
        auto expected = dark;
        expected[(size_t) g.key] = "M10 S0";
        EXPECT_EQ (Lamps(), expected);

        rig->processor.setParameter (g.mute, 0.0f);
        rig->processor.UpdateUI();
        EXPECT_EQ (Lamps(), dark) << "the mute went off again";
    }
}

// A solo lights its own S; every other group shows silenced by it (M lit,
// blinking), and all goes dark when the solo ends.
TEST_F (GroupLampsTest, EachSoloLightsItsOwnStripAndSilencesTheOthers)
{
    surroundtest::ApplyLayout (rig->processor, kOutputFormat7_1);
    const std::vector<std::string> dark (6, "M00 S0");
    for (const auto& g : groups)
    {
        SCOPED_TRACE (g.name);
        rig->processor.setParameter (g.solo, 1.0f);
        rig->processor.UpdateUI();
        std::vector<std::string> expected (6, "M11 S0");
        expected[(size_t) g.key] = "M00 S1";
        EXPECT_EQ (Lamps(), expected);

        rig->processor.setParameter (g.solo, 0.0f);
        rig->processor.UpdateUI();
        EXPECT_EQ (Lamps(), dark) << "the solo ended";
    }
}

namespace
{
using Curve = SurroundDisplayComponent::Curve;

class PartnerCurveTest : public EditorTest
{
protected:
    PartnerCurveTest() { display.setSize (261, 261); display.addListener (&heard); }

    struct Heard : SurroundDisplayListener
    {
        void RotationChanged (int) override {}
        void FrontWidthChanged (int) override {}
        void RearWidthChanged (int) override {}
        void SurroundWidthChanged (int) override {}
        void PolarChanged (int id, float p) override { calls.add ("polar " + juce::String (id) + " " + juce::String (p, 2)); }
        juce::StringArray calls;
    };

    Quorvane2AudioProcessor processor;
    SurroundDisplayComponent display { processor };
    Heard heard;
};
} // namespace

// A Shift-drag one step up on any curve: the curve and its partner (none for
// C and RC) take the new pattern, every other curve keeps its own, and the
// pair's id is told once.
TEST_F (PartnerCurveTest, EveryCurveTakesItsPartnerAndNoOther)
{
    surroundtest::ApplyLayout (processor, kOutputFormat7_1);
    const Curve all[] = { Curve::C, Curve::L, Curve::R, Curve::Ls, Curve::Rs, Curve::RLs, Curve::RRs, Curve::RC };
    const char* const names[] = { "C", "L", "R", "Ls", "Rs", "RLs", "RRs", "RC" };
    struct Row
    {
        const char* what;
        Curve dragged, partner;
        const char* told;
    };
    const Row rows[] = {
        { "L", Curve::L, Curve::R, "polar 1 0.31" },       { "R", Curve::R, Curve::L, "polar 1 0.31" },
        { "Ls", Curve::Ls, Curve::Rs, "polar 3 0.31" },    { "Rs", Curve::Rs, Curve::Ls, "polar 3 0.31" },
        { "RLs", Curve::RLs, Curve::RRs, "polar 2 0.31" }, { "RRs", Curve::RRs, Curve::RLs, "polar 2 0.31" },
        { "C", Curve::C, Curve::C, "polar 0 0.31" },       { "RC", Curve::RC, Curve::RC, "polar 4 0.31" },
    };
    const auto shift = juce::ModifierKeys (juce::ModifierKeys::shiftModifier | juce::ModifierKeys::leftButtonModifier);
    for (const auto& r : rows)
    {
        for (auto c : all)
            display.GetCurve (c).SetPolar (0.3f);
        heard.calls.clear();

        auto& curve = display.GetCurve (r.dragged);
        curve.mouseDown (qvtest::MakeMouseEvent (curve, { 30, 30 }, shift));
        curve.mouseDrag (qvtest::MakeMouseEvent (curve, { 31, 30 }, shift));
        curve.mouseUp (qvtest::MakeMouseEvent (curve, { 31, 30 }, shift));

        for (int i = 0; i < 8; ++i)
        {
            const bool moves = all[i] == r.dragged || all[i] == r.partner;
            EXPECT_NEAR (display.GetCurve (all[i]).GetPolar(), moves ? 0.31f : 0.3f, 1e-6f)
                << names[i] << " after a drag on " << r.what;
        }
        EXPECT_EQ (heard.calls.joinIntoString (","), juce::String (r.told)) << "a drag on " << r.what;
    }
}
