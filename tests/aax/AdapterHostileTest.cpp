// Whatever a host hands the built module: a status, never a crash, and
// nothing touched that should not be.
#include "AAXModuleHost.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
constexpr float kUntouched = 42.0f;
constexpr int kFrames = 64;
} // namespace

// Render calls with a frame count below 1 or a pointer left out process
// nothing and write nothing, inputs and outputs alike.
TEST(AaxAdapterHostile, RenderCallsWithMissingPiecesTouchNothing)
{
    ASSERT_TRUE(AAXModule::get().loaded());
    AAXInstance plugin(AAX_eStemFormat_5_1);
    auto process = AAXModule::get().processProc;

    Channels in(4, kFrames, 0.5f), out(6, kFrames, kUntouched);
    auto ins = in.pointers();
    auto outs = out.pointers();
    int32_t frames = kFrames, zero = 0, negative = -5, bypass = 0;
    void* block = plugin.privateData.data();
    std::vector<uint8_t> emptyBlock(8, 0);
    auto withNull = [](std::vector<float*> v, size_t i) { v[i] = nullptr; return v; };
    auto insNull = withNull(ins, 2);
    auto outsNull = withNull(outs, 5);

    const struct
    {
        const char* what;
        const void* fields[5];
    } contexts[] = {
        { "0 frames", { ins.data(), outs.data(), &zero, &bypass, block } },
        { "-5 frames", { ins.data(), outs.data(), &negative, &bypass, block } },
        { "no input array", { nullptr, outs.data(), &frames, &bypass, block } },
        { "no output array", { ins.data(), nullptr, &frames, &bypass, block } },
        { "an input channel missing", { insNull.data(), outs.data(), &frames, &bypass, block } },
        { "an output channel missing", { ins.data(), outsNull.data(), &frames, &bypass, block } },
        { "no buffer length", { ins.data(), outs.data(), nullptr, &bypass, block } },
        { "no bypass field", { ins.data(), outs.data(), &frames, nullptr, block } },
        { "no private data", { ins.data(), outs.data(), &frames, &bypass, nullptr } },
        { "private data never filled", { ins.data(), outs.data(), &frames, &bypass, emptyBlock.data() } },
    };
    for (const auto& c : contexts)
    {
        void* instances[1] = { const_cast<void**>(c.fields) };
        process(instances, instances + 1);
        for (int ch = 0; ch < 6; ++ch)
            ASSERT_EQ(out.data[(size_t) ch], std::vector<float>(kFrames, kUntouched)) << c.what << ", output " << ch;
        for (int ch = 0; ch < 4; ++ch)
            ASSERT_EQ(in.data[(size_t) ch], std::vector<float>(kFrames, 0.5f)) << c.what << ", input " << ch;
    }

    const void* good[5] = { ins.data(), outs.data(), &frames, &bypass, block };
    void* instances[2] = { nullptr, good };
    process(instances, instances);           // no instance at all
    process(instances + 1, instances);       // an end before the start
    process(nullptr, nullptr);
    process(instances, instances + 1);       // a null context
    EXPECT_EQ(out.data[0], std::vector<float>(kFrames, kUntouched));
    process(instances, instances + 2);       // the null one is skipped, the next renders
    EXPECT_NE(out.data[0], std::vector<float>(kFrames, kUntouched));
}

TEST(AaxAdapterHostile, EffectCallsWithNullsAndNonsenseAnswerAStatus)
{
    ASSERT_TRUE(AAXModule::get().loaded());
    AAXInstance plugin(AAX_eStemFormat_5_1);
    auto& fx = *plugin.effect;
    AAX_CString text;
    double value = 0;

    const struct
    {
        const char* what;
        AAX_Result status;
        AAX_Result expected;
    } calls[] = {
        { "GetParameterName null text", fx.GetParameterName("4", nullptr), -20004 },
        { "GetParameterNameOfLength null text", fx.GetParameterNameOfLength("4", nullptr, 4), -20004 },
        { "GetParameterDefaultNormalizedValue null", fx.GetParameterDefaultNormalizedValue("4", nullptr), -20004 },
        { "GetParameterStringFromValue null text", fx.GetParameterStringFromValue("4", 0.5, nullptr, 8), -20004 },
        { "GetParameterNormalizedValue null", fx.GetParameterNormalizedValue("4", nullptr), -20004 },
        { "GetParameterName unknown", fx.GetParameterName("x", &text), -20001 },
        { "GetParameterNameOfLength unknown", fx.GetParameterNameOfLength(nullptr, &text, 4), -20001 },
        { "GetParameterDefaultNormalizedValue unknown", fx.GetParameterDefaultNormalizedValue("35", &value), -20001 },
        { "GetParameterStringFromValue unknown", fx.GetParameterStringFromValue("", 0.5, &text, 8), -20001 },
        { "GetParameterStringFromValue negative length", fx.GetParameterStringFromValue("1", 0.5, &text, -4), 0 },
        { "GetNumberOfChunks null", fx.GetNumberOfChunks(nullptr), -20004 },
        { "GetChunkIDFromIndex null", fx.GetChunkIDFromIndex(1, nullptr), -20004 },
        { "GetChunkSize juce null", fx.GetChunkSize(kJuceChunk, nullptr), -20004 },
        { "GetChunk juce null", fx.GetChunk(kJuceChunk, nullptr), -20004 },
        { "GetChunkSize unknown chunk", fx.GetChunkSize(0x12345678, reinterpret_cast<uint32_t*>(&value)), -20007 },
        { "offline notification without data", fx.NotificationReceived(0x41586F66, nullptr, 0), 0 },
        { "online notification with a size but no data", fx.NotificationReceived(0x41586F78, nullptr, 64), 0 },
        { "ResetFieldData private data null", fx.ResetFieldData(4, nullptr, 8), -20004 },
        { "ResetFieldData other field null", fx.ResetFieldData(3, nullptr, 4), 0 },
    };
    for (const auto& c : calls)
        EXPECT_EQ(c.status, c.expected) << c.what;
    EXPECT_STREQ(text.Get(), "") << "a negative length gives no characters";

    // Private data: every whole 8-byte slot holds the effect; the rest is left.
    std::vector<uint8_t> data(20, 0xEE);
    EXPECT_EQ(fx.ResetFieldData(4, data.data(), 20), 0);
    EXPECT_EQ(std::vector<uint8_t>(data.begin(), data.begin() + 8), plugin.privateData);
    EXPECT_EQ(std::vector<uint8_t>(data.begin() + 8, data.begin() + 16), plugin.privateData);
    EXPECT_EQ(std::vector<uint8_t>(data.begin() + 16, data.end()), std::vector<uint8_t>(4, 0xEE));
    std::vector<uint8_t> shortBlock(7, 0xEE);
    EXPECT_EQ(fx.ResetFieldData(4, shortBlock.data(), 7), 0);
    EXPECT_EQ(shortBlock, std::vector<uint8_t>(7, 0xEE));
}

// An effect initialised without a host, or on stems of no known kind, runs
// on what it has: no channels, 44.1 kHz.
TEST(AaxAdapterHostile, EffectsWithoutAHostOrWithUnknownStemsStayQuiet)
{
    ASSERT_TRUE(AAXModule::get().loaded());
    {
        AAXInstance orphan(AAX_eStemFormat_5_1, 48000.0f, false);
        EXPECT_EQ(orphan.effect->Initialize(nullptr), 0);
        int32_t count = 0;
        orphan.effect->GetNumberOfParameters(&count);
        EXPECT_EQ(count, 36);
        Channels in(4, kFrames, 0.5f), out(6, kFrames, kUntouched);
        orphan.render(in, out, kFrames);
        EXPECT_EQ(out.data[0], std::vector<float>(kFrames, kUntouched)) << "no stems: no channels to write";
    }
    for (const auto stem : { AAX_EStemFormat(0x7FFF0003), AAX_eStemFormat_None, AAX_eStemFormat_Mono })
    {
        AAXInstance odd(stem);
        AAX_CBoolean automatable = 2;
        odd.effect->GetParameterIsAutomatable("6", &automatable);
        EXPECT_EQ(automatable, 0) << "an unknown stem selects stereo, which has no rear tilt; stem " << stem;
        Channels in(4, kFrames, 0.5f), out(8, kFrames, kUntouched);
        odd.render(in, out, kFrames);
        for (const auto& ch : out.data)
            for (float s : ch)
                ASSERT_TRUE(std::isfinite(s));
    }
    EXPECT_EQ(AAXModule::get().liveObjects(), 0);
}

TEST(AaxAdapterHostile, GuiCallsWithNullsAndForeignObjectsAnswerAStatus)
{
    ASSERT_TRUE(AAXModule::get().loaded());
    AAX_IEffectGUI* made = AAXModule::get().createGUI();
    ASSERT_NE(made, nullptr);
    auto* gui = static_cast<AAX_IACFEffectGUI*>(made);
    gui->AddRef();

    AAX_Point size { -1.0f, -1.0f };
    EXPECT_EQ(gui->Initialize(nullptr), -20011);
    EXPECT_EQ(gui->GetViewSize(nullptr), -20004);
    EXPECT_EQ(gui->GetViewSize(&size), -20004);
    EXPECT_EQ(size.horz, -1.0f);
    EXPECT_EQ(gui->SetViewContainer(nullptr), 0);
    EXPECT_EQ(gui->Draw(nullptr), 0);
    EXPECT_EQ(gui->TimerWakeup(), 0);
    EXPECT_EQ(gui->ParameterUpdated(nullptr), 0);
    EXPECT_EQ(gui->SetControlHighlightInfo(nullptr, 1, AAX_EHighlightColor(3)), 0);
    EXPECT_EQ(gui->GetCustomLabel(AAX_EPlugInStrings(0), nullptr), -20004);

    // A host whose effect is not one of ours, and a container that is no view.
    FakeHost host;
    EXPECT_EQ(gui->Initialize(host.unknown()), 0);
    EXPECT_EQ(gui->SetViewContainer(host.unknown()), 0);
    EXPECT_EQ(gui->GetViewSize(&size), -20004);
    EXPECT_EQ(gui->Uninitialize(), 0);
    EXPECT_EQ(gui->Release(), 0u);
    EXPECT_EQ(AAXModule::get().liveObjects(), 0);
    EXPECT_TRUE(host.leakedReferences().empty()) << ::testing::PrintToString(host.leakedReferences());
}
