// The generic parameter kinds, their byte encoding and rounding, and the manager.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "ParameterManager.h"
#include "QvaneHostDspProcess.h"
#include "QvaneParameters.h"

namespace
{
// Counts the engine calls that parameters make.
struct SpyEngine : QVANE_HOST_DSP_PROCESS
{
    SpyEngine() : QVANE_HOST_DSP_PROCESS(true) {}

    void SetAzimuthAngle(unsigned short degrees) override
    {
        ++azimuthCalls;
        QVANE_HOST_DSP_PROCESS::SetAzimuthAngle(degrees);
    }
    void SetArrayType(unsigned char type) override
    {
        lastArrayType = type;
        QVANE_HOST_DSP_PROCESS::SetArrayType(type);
    }

    int azimuthCalls = 0;
    int lastArrayType = -1;
};
} // namespace

TEST(ParameterRounding, FloatToByteRoundsHalvesTowardZeroAndKeepsLowBits)
{
    const struct { float value; unsigned char scale; int expected; } cases[] = {
        { 0.25f, 7, 2 },      // 1.75 rounds up
        { 0.5f, 41, 20 },     // 20.5 goes toward zero
        { 1.0f, 41, 41 },
        { 0.5f, 7, 3 },       // 3.5 goes toward zero
        { 0.0f, 127, 0 },
        { 1.0f, 127, 127 },
        { -0.5f, 5, 254 },    // -2.5 -> -2, kept to 8 bits
        { -0.3f, 10, 253 },   // -3
        { 0.51f, 10, 5 },     // 5.1
        { 0.56f, 10, 6 },     // 5.6
        { 2.0f, 200, 144 },   // 400 & 0xff
        { std::numeric_limits<float>::quiet_NaN(), 41, 0 },
        { std::numeric_limits<float>::infinity(), 41, 0 },
    };

    for (const auto& c : cases)
        EXPECT_EQ(PARAMETER::FloatToByte(c.value, c.scale), c.expected)
            << "FloatToByte(" << c.value << ", " << int(c.scale) << ")";
}

TEST(ParameterRounding, FloatTouint16KeepsSixteenBits)
{
    const struct { float value; unsigned short scale; int expected; } cases[] = {
        { 1.0f, 360, 360 },     // callers map a full turn to 0 themselves
        { 0.5f, 90, 45 },
        { 0.25f, 90, 22 },      // 22.5: an exact half goes toward zero
        { 0.75f, 90, 67 },      // 67.5 likewise
        { -1.0f, 90, 65446 },
        { 1.0e9f, 360, static_cast<uint16_t>(static_cast<int64_t>(3.6e11) & 0xffff) },
    };

    for (const auto& c : cases)
        EXPECT_EQ(PARAMETER::FloatTouint16_t(c.value, c.scale), c.expected)
            << "FloatTouint16_t(" << c.value << ", " << c.scale << ")";
}

TEST(ParameterKinds, EncodeDrivesValueAndDecodeRestoresByte)
{
    PARAMETER_BIPOLAR b(0, "B", 0.5f, 128);
    EXPECT_EQ(b.GetByte(), 128) << "bipolar 0.5 with half 128 encodes as 128";
    b.Encode(64);
    EXPECT_EQ(b.GetValue(), 0.0f);
    EXPECT_EQ(b.GetByte(), 64);

    PARAMETER_SWITCH s(0, "S", 0.0f, 7);
    s.Encode(3);
    EXPECT_FLOAT_EQ(s.GetValue(), 3.0f / 7.0f);
    EXPECT_EQ(s.GetByte(), 3) << "Decode after SetValue must give the position back";

    PARAMETER_UNIPOLAR u(0, "U", 0.0f);
    u.Encode(127);
    EXPECT_EQ(u.GetValue(), 1.0f);
    EXPECT_EQ(u.GetByte(), 127);

    // Through the virtual slot, Encode reaches the concrete parameter's engine setter.
    SpyEngine engine;
    ArraySelectParameter arraySelect(36, &engine);
    arraySelect.Encode(6);
    EXPECT_EQ(engine.lastArrayType, 6);
    EXPECT_EQ(arraySelect.GetByte(), 6);
    EXPECT_FLOAT_EQ(arraySelect.GetValue(), 6.0f / 7.0f);
}

TEST(ParameterKinds, ChangedFlagFollowsRealChangesButTheEngineHearsEveryValue)
{
    PARAMETER p(0, "P", 0.5f, 0, 1, 1, PARAMETER::kUnipolar);
    EXPECT_TRUE(p.TakeChanged());
    EXPECT_FALSE(p.IsChanged());

    p.SetValue(0.5f);
    EXPECT_FALSE(p.IsChanged()) << "setting the current value must not mark a change";

    p.SetValue(0.75f);
    EXPECT_TRUE(p.TakeChanged());

    p.SetValue(std::numeric_limits<float>::quiet_NaN());
    EXPECT_TRUE(p.TakeChanged());
    p.SetValue(std::numeric_limits<float>::quiet_NaN());
    EXPECT_TRUE(p.IsChanged()) << "a NaN never compares equal, so it always counts as a change";

    SpyEngine engine;
    RotateParameter rotate(4, &engine);
    rotate.SetValue(0.25f);
    ASSERT_TRUE(rotate.TakeChanged());
    const int calls = engine.azimuthCalls;

    rotate.SetValue(0.25f);
    EXPECT_FALSE(rotate.IsChanged());
    EXPECT_EQ(engine.azimuthCalls, calls + 1) << "the engine setter runs even for an unchanged value";
}

//==============================================================================
TEST(ParameterManager, AdoptsPushesDefaultsAndRefusesBadSlots)
{
    SpyEngine engine;
    PARAMETER_MANAGER manager(50);
    EXPECT_EQ(manager.GetCount(), 50u);
    EXPECT_EQ(manager.Get(0), nullptr);

    auto* rotate = new RotateParameter(4, &engine);
    manager.SetParameter(4, rotate);
    EXPECT_EQ(manager.Get(4), rotate);
    EXPECT_EQ(engine.azimuthCalls, 1) << "adoption pushes the default into the engine";

    RotateParameter outside(50, &engine);
    manager.SetParameter(50, &outside); // not adopted: the test still owns it
    EXPECT_EQ(manager.Get(50), nullptr);
    EXPECT_EQ(engine.azimuthCalls, 1) << "a refused parameter must not be pushed";

    manager.SetParameter(4, rotate); // the same object again is kept, not deleted
    EXPECT_EQ(manager.Get(4), rotate);
    EXPECT_EQ(manager.Get(static_cast<unsigned int>(-1)), nullptr);
}

TEST(ParameterManager, ReadTakesFirstNumericChildAndLeavesOthersAlone)
{
    SpyEngine engine;
    PARAMETER_MANAGER manager(50);
    manager.SetParameter(4, new RotateParameter(4, &engine));
    manager.SetParameter(7, new ZoomParameter(7, &engine));
    manager.SetParameter(36, new ArraySelectParameter(36, &engine));

    juce::ValueTree root("QVParameters");
    auto addChild = [&root](const char* name, const juce::var& v) {
        juce::ValueTree c { juce::Identifier(name) };
        if (! v.isVoid())
            c.setProperty("value", v, nullptr);
        root.appendChild(c, nullptr);
    };
    addChild("Rotate", 0.25);
    addChild("Rotate", 0.75);      // only the first counts
    addChild("Zoom", "0.9");       // text is not a number: Zoom keeps its value
    addChild("Array select", 1);   // int is a number
    addChild("Unknown", 0.1);      // no such parameter: ignored

    manager.ReadValueTree(root, false);
    EXPECT_EQ(manager.Get(4)->GetValue(), 0.25f);
    EXPECT_EQ(manager.Get(7)->GetValue(), 0.5f);
    EXPECT_EQ(manager.Get(36)->GetValue(), 0.25f) << "Array select must be skipped when not loading it";

    manager.ReadValueTree(root, true);
    EXPECT_EQ(manager.Get(36)->GetValue(), 1.0f);
    EXPECT_EQ(engine.lastArrayType, 7);
}
