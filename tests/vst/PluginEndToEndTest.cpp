// End-to-end tests: the built Quorvane2.so, loaded with dlopen and driven
// through its AEffect record as a host drives it.
#include "VstTestHost.h"

#include "VstOpcodes.h"
#include "DecoderFigures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace
{
constexpr float kRate = 44100.0f;
constexpr int kBlock = 512;
constexpr int kSettleBlocks = 16; // 8192 frames: smoothers, FIRs and the LFE filter have settled

// Default decoder: every pattern 1.25, 0 dB levels (DecoderFigures.h).
using DecoderFigures::virtualMic;
const auto& kSpeakerAngles = DecoderFigures::kSpeakerAngles51;

class PluginTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        // Hosts load plug-ins without a display too (scanners, render servers).
        unsetenv("DISPLAY");
        library = std::make_unique<PluginLibrary>(QV_VST_PLUGIN_PATH);
    }
    static void TearDownTestSuite() { library.reset(); }

    void SetUp() override
    {
        ASSERT_TRUE(library->isLoaded()) << "dlopen failed: " << library->error();
        host = std::make_unique<VstTestHost>(*library);
        ASSERT_TRUE(host->instantiate()) << "VSTPluginMain answered null";
    }

    void TearDown() override { host.reset(); }

    std::unique_ptr<VstTestHost> makeHost()
    {
        auto h = std::make_unique<VstTestHost>(*library);
        EXPECT_TRUE(h->instantiate());
        return h;
    }

    /** Open, then (when ins > 0) a speaker arrangement of ins and outs, then rate, block size and resume. */
    static void start(VstTestHost& h, int block = kBlock, int ins = 0, int outs = 0)
    {
        h.open();
        if (ins > 0)
        {
            ASSERT_TRUE(h.setSpeakerArrangement(0, ins, 0, outs)) << ins << " in, " << outs << " out refused";
        }
        h.setSampleRate(kRate);
        h.setBlockSize(block);
        h.resume();
    }

    /** Runs constant inputs long enough to settle; the outputs hold the last block. */
    static void runSettled(VstTestHost& h, ChannelSet& in, ChannelSet& out)
    {
        for (int b = 0; b < kSettleBlocks; ++b)
            h.process(in.pointers(), out.pointers(), in.frames());
    }

    /** After a settled run of W = 0.5 alone, which of the eight outputs
        sound: e.g. "L- R- C+ LFE+ Ls+ Rs+ 7- 8-" ("?" neither silent nor clearly sounding). */
    static std::string soundingOutputs(VstTestHost& h)
    {
        ChannelSet in(8, kBlock), out(8, kBlock);
        in.fill(0, 0.5f);
        runSettled(h, in, out);
        const char* const names[8] = { "L", "R", "C", "LFE", "Ls", "Rs", "7", "8" };
        std::string shown;
        for (int c = 0; c < 8; ++c)
        {
            const float level = std::abs(out.channel(c)[kBlock - 1]);
            shown += std::string(c == 0 ? "" : " ") + names[c] + (level < 1e-6f ? "-" : level > 0.05f ? "+" : "?");
        }
        return shown;
    }

    static std::unique_ptr<PluginLibrary> library;
    std::unique_ptr<VstTestHost> host;
};

std::unique_ptr<PluginLibrary> PluginTest::library;

template <typename T>
T fieldAt(const AEffect* e, size_t offset)
{
    T value;
    std::memcpy(&value, reinterpret_cast<const char*>(e) + offset, sizeof(T));
    return value;
}

} // namespace

//==============================================================================
TEST_F(PluginTest, EntryPoints)
{
    EXPECT_NE(library->symbol("VSTPluginMain"), nullptr);
    EXPECT_NE(library->symbol("main_macho"), nullptr);
    EXPECT_EQ(library->symbol("createPluginFilterOfType"), nullptr) << "only the entry points may be exported";

    const auto calls = host->calls();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.front().opcode, HostOpcode::version) << "the host's version is asked first";
    EXPECT_EQ(calls.front().effect, nullptr) << "before there is a record";

    EXPECT_EQ(library->entryPoint()(nullptr), nullptr) << "a null callback";
    VstTestHost noHost(*library);
    noHost.versionReply = 0;
    EXPECT_FALSE(noHost.instantiate()) << "a version reply of 0 means no VST host";
    ASSERT_EQ(noHost.calls().size(), 1u) << "nothing may be asked after the version query fails";
    EXPECT_EQ(noHost.calls()[0].opcode, HostOpcode::version);
}

TEST_F(PluginTest, RecordFieldsAtTheirOffsets)
{
    const AEffect* e = host->effect();
    EXPECT_EQ(fieldAt<int32_t>(e, 0), 0x56737450) << "magic 'VstP'";
    EXPECT_NE(fieldAt<void*>(e, 8), nullptr) << "dispatcher";
    EXPECT_NE(fieldAt<void*>(e, 24), nullptr) << "setParameter";
    EXPECT_NE(fieldAt<void*>(e, 32), nullptr) << "getParameter";
    EXPECT_EQ(fieldAt<int32_t>(e, 40), 0) << "programs";
    EXPECT_EQ(fieldAt<int32_t>(e, 44), 35) << "parameters";
    EXPECT_EQ(fieldAt<int32_t>(e, 48), 8) << "inputs";
    EXPECT_EQ(fieldAt<int32_t>(e, 52), 8) << "outputs";
    EXPECT_EQ(fieldAt<int32_t>(e, 56), 0x231) << "flags: editor, replacing, chunks, no tail";
    EXPECT_EQ(fieldAt<int32_t>(e, 80), 1) << "initial delay";
    EXPECT_EQ(fieldAt<float>(e, 92), 1.0f) << "io ratio";
    EXPECT_NE(fieldAt<void*>(e, 96), nullptr) << "effect object";
    EXPECT_EQ(fieldAt<int32_t>(e, 112), 0x51767232) << "unique ID 'Qvr2'";
    EXPECT_EQ(fieldAt<int32_t>(e, 116), 1) << "version";
    EXPECT_NE(fieldAt<void*>(e, 120), nullptr) << "processReplacing";

    host->open();
    EXPECT_EQ(fieldAt<int32_t>(e, 56) & kFlagHasEditor, kFlagHasEditor) << "open keeps the editor flag";
    EXPECT_EQ(fieldAt<int32_t>(e, 56) & kFlagCanDoubleReplacing, 0) << "no double precision";
}

TEST_F(PluginTest, IdentityTextsAndNumbers)
{
    EXPECT_EQ(host->textFrom(EffectOpcode::getEffectName), "Quorvane2");
    EXPECT_EQ(host->textFrom(EffectOpcode::getProductString), "Quorvane2");
    EXPECT_EQ(host->textFrom(EffectOpcode::getVendorString), "Brennick Limited");
    EXPECT_EQ(host->dispatch(EffectOpcode::getVendorVersion), 1);
    EXPECT_EQ(host->dispatch(EffectOpcode::getPlugCategory), 1) << "an effect";
    EXPECT_EQ(host->dispatch(EffectOpcode::getVstVersion), 2400);
    EXPECT_EQ(host->dispatch(EffectOpcode::identify), 0x4E764566);
    EXPECT_EQ(host->dispatch(EffectOpcode::getTailSize), 0);
    EXPECT_EQ(host->dispatch(200), 0) << "unknown opcode";
    EXPECT_EQ(host->dispatch(-3), 0) << "negative opcode";

    char text[64] = "unchanged";
    EXPECT_EQ(host->dispatch(EffectOpcode::getProgramNameIndexed, 0, 0, text), 0) << "no programs";
    EXPECT_STREQ(text, "unchanged");

    // The editor's size, before the editor is embedded.
    VstRect* rect = nullptr;
    EXPECT_NE(host->dispatch(EffectOpcode::editorGetRect, 0, 0, &rect), 0);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->top, 0);
    EXPECT_EQ(rect->left, 0);
    EXPECT_EQ(rect->bottom, 560) << "height";
    EXPECT_EQ(rect->right, 522) << "width";
}

TEST_F(PluginTest, CanDoTable)
{
    const struct { const char* text; intptr_t answer; } cases[] = {
        { "receiveVstEvents", -1 }, { "receiveVstMidiEvent", -1 }, { "receiveVstMidiEvents", -1 },
        { "sendVstEvents", -1 }, { "sendVstMidiEvent", -1 }, { "sendVstMidiEvents", -1 },
        { "receiveVstTimeInfo", 1 }, { "conformsToWindowRules", 1 }, { "bypass", 1 },
        { "openCloseAnyThread", -1 }, { "", 0 }, { "Bypass", 0 }, { "bypass ", 0 }, { "offline", 0 },
    };
    for (const auto& c : cases)
        EXPECT_EQ(host->canDo(c.text), c.answer) << "canDo(\"" << c.text << "\")";
}

TEST_F(PluginTest, ParameterNamesCutTo15Bytes)
{
    const char* const names[35] = {
        "Input Level", "Invert", "End Fire", "Filter", "Rotate", "Front Tilt", "Rear Tilt", "Zoom",
        "Polar pattern L/R", "Polar pattern C", "Polar pattern Ls/Rs", "Polar pattern RLs/RRs", "Polar pattern RC",
        "Width L/R", "Width Ls/Rs", "Width RLs/RRs",
        "Level L/R", "Level C", "Level Ls/Rs", "Level RLs/RRs", "Level RC", "Level LFE", "Level BFormat",
        "Mute L/R", "Mute C", "Mute Ls/Rs", "Mute RLs/RRs", "Mute RC", "Mute LFE",
        "Solo L/R", "Solo C", "Solo Ls/Rs", "Solo RLs/RRs", "Solo RC", "Solo LFE",
    };
    for (int i = 0; i < 35; ++i)
    {
        EXPECT_EQ(host->parameterName(i), std::string(names[i]).substr(0, 15)) << "parameter " << i;
        EXPECT_EQ(host->dispatch(EffectOpcode::canBeAutomated, i), 1) << "parameter " << i << " automatable";
    }

    EXPECT_EQ(host->parameterName(50), "Invalid Paramet") << "an index past the table";
    EXPECT_EQ(host->parameterName(-1), "Invalid Paramet");
    EXPECT_EQ(host->dispatch(EffectOpcode::canBeAutomated, 60), 0);
}

// Texts at exactly their byte limit, the zero included: the longest text the
// plug-in has of each kind, and nothing written past its zero.
TEST_F(PluginTest, TextsStopAtTheirByteLimits)
{
    // A meter parameter holds any finite peak; its text "%1.2f" of 1e30
    // (1000000015047466219876688855040 as a float) is 34 bytes long.
    host->setParameter(41, 1e30f);

    const struct
    {
        const char* what;
        int32_t opcode;
        int32_t index;
        const char* expected;
    } rows[] = {
        { "parameter name, 16 bytes", EffectOpcode::getParameterName, 11, "Polar pattern R" },
        { "parameter name of an index past the table", EffectOpcode::getParameterName, 50, "Invalid Paramet" },
        { "parameter text, 24 bytes", EffectOpcode::getParameterDisplay, 41, "10000000150474662198766" },
        { "parameter label", EffectOpcode::getParameterLabel, 0, "" },
        { "effect name", EffectOpcode::getEffectName, 0, "Quorvane2" },
        { "vendor", EffectOpcode::getVendorString, 0, "Brennick Limited" },
        { "product", EffectOpcode::getProductString, 0, "Quorvane2" },
        { "program name", EffectOpcode::getProgramName, 0, "" },
    };

    for (const auto& row : rows)
    {
        char buffer[256];
        std::memset(buffer, 'X', sizeof(buffer));
        host->dispatch(row.opcode, row.index, 0, buffer);
        const size_t n = std::strlen(row.expected);
        EXPECT_EQ(std::string(buffer, n), row.expected) << row.what;
        EXPECT_EQ(buffer[n], '\0') << row.what << ": not terminated after " << n << " bytes";
        for (size_t i = n + 1; i < 80; ++i)
            ASSERT_EQ(buffer[i], 'X') << row.what << ": byte " << i << " past the text was written";
    }
}

// Opcode 6: no parameter has a unit label, and the host's buffer always ends
// up holding a terminated empty text.
TEST_F(PluginTest, ParameterLabelsAreEmptyTexts)
{
    for (int i : { 0, 4, 7, 22, 34, 35, 49, 50, -1 })
        EXPECT_EQ(host->textFrom(EffectOpcode::getParameterLabel, i), "") << "label of parameter " << i;
}

TEST_F(PluginTest, ParameterTextsOfTheDefaults)
{
    const struct { int index; const char* text; } cases[] = {
        { 0, "  0dB" }, { 1, "Invert Off" }, { 2, "End Fire Off" }, { 3, "Filter Off" },
        { 4, "  0" }, { 5, "  0" }, { 6, "  0" }, { 7, "0.00" },
        { 13, " 60" }, { 14, "110" }, { 15, "180" },
        { 16, "  0dB" }, { 22, "  0dB" }, { 23, "0.00" }, { 34, "0.00" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(host->parameterDisplay(c.index), c.text) << "parameter " << c.index;

    for (int i = 0; i < 35; ++i)
        EXPECT_LT(host->parameterDisplay(i).size(), 24u) << "parameter " << i << " text over its byte limit";
    EXPECT_EQ(host->parameterDisplay(77), "");
}

TEST_F(PluginTest, HostValuesAreClampedAndNaNSafe)
{
    const struct { int index; float sent; float expected; } cases[] = {
        { 4, 1.7f, 1.0f }, { 4, -0.5f, 0.0f }, { 0, 1e30f, 1.0f }, { 13, -1e30f, 0.0f },
    };
    for (const auto& c : cases)
    {
        host->setParameter(c.index, c.sent);
        EXPECT_EQ(host->getParameter(c.index), c.expected) << "parameter " << c.index << " sent " << c.sent;
    }

    host->setParameter(4, 0.25f);
    host->setParameter(4, std::nanf(""));
    const float afterNaN = host->getParameter(4);
    EXPECT_FALSE(std::isnan(afterNaN)) << "a NaN from the host must not be stored";
    EXPECT_GE(afterNaN, 0.0f);
    EXPECT_LE(afterNaN, 1.0f);

    host->setParameter(-1, 0.5f);
    host->setParameter(1000, 0.5f);
    EXPECT_EQ(host->getParameter(-1), 0.0f);
    EXPECT_EQ(host->getParameter(1000), 0.0f);

    // Out-of-range values still decode to in-range audio.
    start(*host);
    host->setParameter(36, 7.5f);
    host->setParameter(13, std::nanf(""));
    ChannelSet in(8, kBlock), out(8, kBlock);
    in.fill(0, 1.0f);
    runSettled(*host, in, out);
    for (int c = 0; c < 8; ++c)
        EXPECT_TRUE(std::isfinite(out.channel(c)[kBlock - 1])) << "channel " << c;
}

//==============================================================================
// Decoded output in 5.1 (L R C LFE Ls Rs), from B-format and A-format input.

TEST_F(PluginTest, DecodesBFormatTo51)
{
    const struct { const char* name; double w, x, y; } signals[] = {
        { "W", 1, 0, 0 }, { "X", 0, 1, 0 }, { "Y", 0, 0, 1 }, { "W+X", 0.5, 0.25, 0 },
    };

    for (const auto& s : signals)
    {
        auto h = makeHost();
        start(*h);
        ChannelSet in(8, kBlock), out(8, kBlock);
        in.fill(0, (float) s.w);
        in.fill(1, (float) s.x);
        in.fill(2, (float) s.y);
        runSettled(*h, in, out);

        for (int c = 0; c < 6; ++c)
        {
            const double expected = c == 3 ? s.w : virtualMic(s.w, s.x, s.y, kSpeakerAngles[c]);
            EXPECT_NEAR(out.channel(c)[kBlock - 1], expected, c == 3 ? 1e-3 : 1e-5)
                << "signal " << s.name << ", output " << c;
        }
        for (int c = 6; c < 8; ++c)
            EXPECT_EQ(out.channel(c)[kBlock - 1], 0.0f) << "signal " << s.name << ", unused output " << c;
    }
}

TEST_F(PluginTest, DecodesAFormatTo51)
{
    const struct { const char* name; float lf, rf, lb, rb; } signals[] = {
        { "all capsules", 1, 1, 1, 1 }, { "LF", 1, 0, 0, 0 }, { "RB", 0, 0, 0, 0.5f },
    };

    for (const auto& s : signals)
    {
        auto h = makeHost();
        start(*h);
        h->setParameter(35, 0.0f); // "Input Format": A-format
        ChannelSet in(8, kBlock), out(8, kBlock);
        in.fill(0, s.lf);
        in.fill(1, s.rf);
        in.fill(2, s.lb);
        in.fill(3, s.rb);
        runSettled(*h, in, out);

        const auto [w, x, y] = DecoderFigures::fromAFormat(s.lf, s.rf, s.lb, s.rb);
        for (int c = 0; c < 6; ++c)
        {
            const double expected = c == 3 ? w : virtualMic(w, x, y, kSpeakerAngles[c]);
            EXPECT_NEAR(out.channel(c)[kBlock - 1], expected, 2e-4) << "signal " << s.name << ", output " << c;
        }
    }
}

TEST_F(PluginTest, BypassPassesInputsThroughUnchanged)
{
    start(*host);
    EXPECT_EQ(host->dispatch(EffectOpcode::setBypass, 0, 1), 1);

    ChannelSet in(8, kBlock), out(8, kBlock);
    for (int c = 0; c < 8; ++c)
        for (int i = 0; i < kBlock; ++i)
            in.channel(c)[i] = (float) (c + 1) * 0.01f + (float) i * 1e-5f;
    host->process(in.pointers(), out.pointers(), kBlock);

    for (int c = 0; c < 8; ++c)
        EXPECT_EQ(std::memcmp(in.channel(c), out.channel(c), sizeof(float) * kBlock), 0) << "channel " << c;

    host->dispatch(EffectOpcode::setBypass, 0, 0);
    host->process(in.pointers(), out.pointers(), kBlock);
    EXPECT_EQ(out.channel(6)[kBlock - 1], 0.0f) << "processing again: 5.1 leaves output 6 silent";
}

TEST_F(PluginTest, BypassWithMoreOutputsThanInputsLeavesTheExtraOutputs)
{
    start(*host, kBlock, 2, 8);
    host->dispatch(EffectOpcode::setBypass, 0, 1);

    ChannelSet in(2, kBlock), out(8, kBlock);
    in.fill(0, 0.3f);
    in.fill(1, -0.6f);
    for (int c = 0; c < 8; ++c)
        out.fill(c, 5.0f + (float) c);
    host->process(in.pointers(), out.pointers(), kBlock);

    for (int i = 0; i < kBlock; ++i)
    {
        ASSERT_EQ(out.channel(0)[i], 0.3f) << "output 0 carries input 0, frame " << i;
        ASSERT_EQ(out.channel(1)[i], -0.6f) << "output 1 carries input 1, frame " << i;
        for (int c = 2; c < 8; ++c)
            ASSERT_EQ(out.channel(c)[i], 5.0f + (float) c) << "extra output " << c << " keeps the host's samples, frame " << i;
    }
}

// A host may pass null for outputs it does not want; with more outputs than
// inputs the extra ones are otherwise read as input, so a null one must read
// as silence and be skipped on the way out.
TEST_F(PluginTest, NullExtraOutputsAreSkippedAndReadAsSilence)
{
    const struct { const char* name; std::vector<int> nullOutputs; } cases[] = {
        { "Rs null", { 5 } }, { "C null", { 2 } }, { "last null", { 7 } }, { "C, LFE and 7 null", { 2, 3, 6 } },
    };

    for (const auto& c : cases)
    {
        auto h = makeHost();
        start(*h, kBlock, 2, 8);
        ChannelSet in(2, kBlock), out(8, kBlock);
        in.fill(0, 0.5f);  // W
        in.fill(1, 0.25f); // X
        std::vector<float*> outs(out.pointers(), out.pointers() + 8);
        for (int n : c.nullOutputs)
            outs[(size_t) n] = nullptr;

        for (int b = 0; b < kSettleBlocks; ++b)
        {
            out.fillAll(0.0f); // the extra outputs reach the processor as Y and Z: keep them silent
            h->process(in.pointers(), outs.data(), kBlock);
        }

        // 5.1 in L R C LFE Ls Rs order; 6 and 7 silent.
        for (int ch = 0; ch < 8; ++ch)
        {
            if (outs[(size_t) ch] == nullptr)
                continue;
            const double expected = ch == 3 ? 0.5 : ch >= 6 ? 0.0 : virtualMic(0.5, 0.25, 0.0, kSpeakerAngles[ch]);
            EXPECT_NEAR(out.channel(ch)[kBlock - 1], expected, ch == 3 ? 1e-3 : 1e-5) << c.name << ", output " << ch;
        }
    }
}

//==============================================================================
// State chunk.

TEST_F(PluginTest, ChunkRoundTripOf1650Bytes)
{
    host->setParameter(4, 0.25f);
    host->setParameter(16, 0.5f);
    host->setParameter(23, 1.0f);
    const auto saved = host->getChunk();
    ASSERT_EQ(saved.size(), 1650u) << "the state blob of 50 parameters";

    auto other = makeHost();
    other->clearCalls();
    EXPECT_EQ(other->setChunk(saved.data(), (intptr_t) saved.size()), 0);

    for (int i = 0; i < 35; ++i)
        EXPECT_EQ(other->getParameter(i), host->getParameter(i)) << "parameter " << i;
    EXPECT_EQ(other->getChunk(), saved) << "save, load and save again must give the same bytes";

    const auto automation = other->callsWithOpcode(HostOpcode::automate);
    const auto sent8 = std::find_if(automation.begin(), automation.end(), [](const HostCall& c) { return c.index == 8; });
    ASSERT_NE(sent8, automation.end()) << "loading a chunk re-sends parameter 8";
    EXPECT_EQ(sent8->opt, other->getParameter(8));
    EXPECT_EQ(sent8->effect, other->effect());
}

TEST_F(PluginTest, ChunkHandedBackFromGetChunkIsReadBeforeItIsReleased)
{
    host->setParameter(4, 0.5f);
    void* data = nullptr;
    const intptr_t size = host->dispatch(EffectOpcode::getChunk, 0, 0, &data);
    ASSERT_GT(size, 0);
    host->setParameter(4, 0.0f);
    // The plug-in's own buffer, straight back: it must not free it first.
    host->dispatch(EffectOpcode::setChunk, 0, size, data);
    EXPECT_EQ(host->getParameter(4), 0.5f);
}

TEST_F(PluginTest, HostileOrTruncatedChunksChangeNothing)
{
    host->setParameter(4, 0.25f);
    host->setParameter(0, 0.5f);
    const auto good = host->getChunk();
    ASSERT_FALSE(good.empty());

    std::vector<float> before;
    for (int i = 0; i < 50; ++i)
        before.push_back(host->getParameter(i));

    std::vector<uint8_t> garbage(4096);
    for (size_t i = 0; i < garbage.size(); ++i)
        garbage[i] = (uint8_t) (i * 131 + 7);
    std::vector<uint8_t> lyingSizes = good;
    for (size_t i = 0; i < lyingSizes.size(); i += 7)
        lyingSizes[i] = 0xff;

    const struct { const char* name; const void* data; intptr_t size; } cases[] = {
        { "truncated to 100 bytes", good.data(), 100 },
        { "truncated by one byte", good.data(), (intptr_t) good.size() - 1 },
        { "garbage", garbage.data(), (intptr_t) garbage.size() },
        { "corrupted sizes", lyingSizes.data(), (intptr_t) lyingSizes.size() },
        { "size 0", good.data(), 0 },
        { "negative size", good.data(), -5 },
        { "null data", nullptr, 1650 },
    };

    for (const auto& c : cases)
    {
        EXPECT_EQ(host->setChunk(c.data, c.size), 0) << c.name;
        for (int i = 0; i < 37; ++i)
            EXPECT_EQ(host->getParameter(i), before[(size_t) i]) << c.name << ": parameter " << i;
    }
}

//==============================================================================
// Mutes written by a host while a solo is on. Hosts write values, not presses.

// A live session: L/R muted, then C soloed, then the mute control dragged
// down to a value that is still on. Un-soloing must leave L/R muted.
TEST_F(PluginTest, MuteDraggedWhileSoloedStaysOnAfterTheSoloEnds)
{
    start(*host);
    host->setParameter(23, 1.0f); // Mute L/R
    EXPECT_EQ(soundingOutputs(*host), "L- R- C+ LFE+ Ls+ Rs+ 7- 8-") << "L/R muted";

    host->setParameter(30, 1.0f); // Solo C
    for (float v : { 0.95f, 0.91f, 0.873f }) // the drag
        host->setParameter(23, v);
    EXPECT_EQ(soundingOutputs(*host), "L- R- C+ LFE- Ls- Rs- 7- 8-") << "C soloed";
    EXPECT_EQ(host->getParameter(23), 0.873f);
    EXPECT_EQ(host->parameterDisplay(23), "0.87");

    host->setParameter(30, 0.0f);
    EXPECT_EQ(soundingOutputs(*host), "L- R- C+ LFE+ Ls+ Rs+ 7- 8-") << "solo off: L/R still muted, the rest plays";
    EXPECT_EQ(host->getParameter(23), 0.873f);

    host->setParameter(23, 0.0f);
    EXPECT_EQ(soundingOutputs(*host), "L+ R+ C+ LFE+ Ls+ Rs+ 7- 8-") << "L/R unmuted";
}

// A saved session (L/R muted, C soloed) reloaded by a host that loads the
// chunk and then sends every parameter value again. The mutes stay as saved.
TEST_F(PluginTest, SessionReloadThatResendsEveryParameterKeepsTheSavedMutes)
{
    host->setParameter(23, 1.0f); // Mute L/R
    host->setParameter(30, 1.0f); // Solo C
    const auto chunk = host->getChunk();
    std::vector<float> values;
    for (int i = 0; i < 35; ++i)
        values.push_back(host->getParameter(i));

    auto reloaded = makeHost();
    start(*reloaded);
    ASSERT_EQ(reloaded->setChunk(chunk.data(), (intptr_t) chunk.size()), 0);
    for (int i = 0; i < 35; ++i)
        reloaded->setParameter(i, values[(size_t) i]);
    EXPECT_EQ(soundingOutputs(*reloaded), "L- R- C+ LFE- Ls- Rs- 7- 8-") << "C soloed";

    const struct { int index; float value; const char* text; } mutes[] = {
        { 23, 1.0f, "1.00" }, { 24, 0.0f, "0.00" }, { 25, 0.0f, "0.00" },
        { 26, 0.0f, "0.00" }, { 27, 0.0f, "0.00" }, { 28, 0.0f, "0.00" },
    };
    for (const auto& m : mutes)
    {
        EXPECT_EQ(reloaded->getParameter(m.index), m.value) << "mute " << m.index;
        EXPECT_EQ(reloaded->parameterDisplay(m.index), m.text) << "mute " << m.index;
    }

    reloaded->setParameter(30, 0.0f); // the user un-solos C
    EXPECT_EQ(soundingOutputs(*reloaded), "L- R- C+ LFE+ Ls+ Rs+ 7- 8-") << "L/R muted as saved, the rest plays";
}

//==============================================================================
// Speaker arrangements and pins.

TEST_F(PluginTest, SpeakerArrangementTable)
{
    const struct { int ins, outs; bool accepted; } cases[] = {
        { 2, 2, true }, { 2, 4, true }, { 2, 6, true }, { 2, 7, true }, { 2, 8, true },
        { 4, 2, true }, { 6, 2, true }, { 7, 2, true }, { 8, 2, true },
        { 4, 4, true }, { 6, 6, true }, { 7, 7, true }, { 8, 8, true },
        { 1, 1, false }, { 4, 6, false }, { 8, 6, false }, { 0, 0, false }, { -2, 2, false }, { 9, 9, false },
    };
    for (const auto& c : cases)
        EXPECT_EQ(host->setSpeakerArrangement(0, c.ins, 0, c.outs), c.accepted) << c.ins << " in, " << c.outs << " out";

    EXPECT_EQ(host->dispatch(EffectOpcode::setSpeakerArrangement, 0, 0, nullptr), 0) << "null arrangements";
}

TEST_F(PluginTest, PinPropertiesBeforeAndAfterAnArrangement)
{
    VstPinProperties pin {};
    ASSERT_EQ(host->dispatch(EffectOpcode::getInputProperties, 0, 0, &pin), 1);
    EXPECT_STREQ(pin.label, "1");
    EXPECT_STREQ(pin.shortLabel, "1");
    EXPECT_EQ(pin.flags, kPinIsActive);
    EXPECT_EQ(pin.arrangementType, 0);

    ASSERT_EQ(host->dispatch(EffectOpcode::getOutputProperties, 7, 0, &pin), 1);
    EXPECT_STREQ(pin.label, "8");
    EXPECT_EQ(host->dispatch(EffectOpcode::getOutputProperties, 8, 0, &pin), 0) << "above channel 7";
    EXPECT_EQ(host->dispatch(EffectOpcode::getInputProperties, -1, 0, &pin), 0) << "negative channel";
    EXPECT_EQ(host->dispatch(EffectOpcode::getInputProperties, 0, 0, nullptr), 0) << "null record";

    // 5.1 in (type 15), stereo out (type 1).
    ASSERT_TRUE(host->setSpeakerArrangement(15, 6, 1, 2));
    ASSERT_EQ(host->dispatch(EffectOpcode::getInputProperties, 2, 0, &pin), 1);
    EXPECT_EQ(pin.flags, kPinUseSpeakerType);
    EXPECT_EQ(pin.arrangementType, 15);
    ASSERT_EQ(host->dispatch(EffectOpcode::getOutputProperties, 1, 0, &pin), 1);
    EXPECT_EQ(pin.arrangementType, 1);
}

TEST_F(PluginTest, InputsBeyondTheOutputsAreNeverWritten)
{
    for (int ins : { 4, 6, 8 })
    {
        auto h = makeHost();
        start(*h, kBlock, ins, 2);

        ChannelSet in(ins, kBlock), out(2, kBlock);
        for (int c = 0; c < ins; ++c)
            in.fill(c, 0.1f * (float) (c + 1));

        runSettled(*h, in, out);
        for (int c = 0; c < ins; ++c)
            for (int i = 0; i < kBlock; ++i)
                ASSERT_EQ(in.channel(c)[i], 0.1f * (float) (c + 1)) << ins << " in: input " << c << " written at " << i;

        // Stereo layout is not selected, so the outputs carry 5.1's L and R.
        EXPECT_NEAR(out.channel(0)[kBlock - 1], virtualMic(0.1, 0.2, 0.3, 30.0), 1e-5) << ins << " in";
    }
}

TEST_F(PluginTest, InputSharingMemoryWithAnotherOutputIsReadIntact)
{
    // Reference: separate buffers.
    auto reference = makeHost();
    start(*reference);
    ChannelSet refIn(8, kBlock), refOut(8, kBlock);
    refIn.fill(0, 0.5f);
    refIn.fill(1, 0.25f);
    refIn.fill(2, -0.25f);
    runSettled(*reference, refIn, refOut);

    // The host's buffers overlap, shifted by one: output i is input i+1, so
    // writing output 0 before input 1 is read would lose input 1.
    start(*host);
    ChannelSet storage(9, kBlock);
    std::vector<float*> ins(8), outs(8);
    for (int b = 0; b < kSettleBlocks; ++b)
    {
        storage.fill(0, 0.5f);
        storage.fill(1, 0.25f);
        storage.fill(2, -0.25f);
        for (int c = 3; c < 9; ++c)
            storage.fill(c, 0.0f);
        for (int c = 0; c < 8; ++c)
        {
            ins[(size_t) c] = storage.channel(c);
            outs[(size_t) c] = storage.channel(c + 1);
        }
        host->process(ins.data(), outs.data(), kBlock);
    }

    for (int c = 0; c < 6; ++c)
        EXPECT_NEAR(outs[(size_t) c][kBlock - 1], refOut.channel(c)[kBlock - 1], 1e-6) << "output " << c;
}

TEST_F(PluginTest, OutputsSharingAnAddressGetTheLaterChannel)
{
    start(*host);
    ChannelSet in(8, kBlock), out(8, kBlock);
    in.fill(2, 1.0f); // Y only: L and R differ in sign
    std::vector<float*> outs(out.pointers(), out.pointers() + 8);
    outs[1] = outs[0];
    for (int b = 0; b < kSettleBlocks; ++b)
        host->process(in.pointers(), outs.data(), kBlock);

    EXPECT_NEAR(out.channel(0)[kBlock - 1], virtualMic(0, 0, 1, 330.0), 1e-5) << "the shared buffer holds R";
    EXPECT_NEAR(out.channel(2)[kBlock - 1], virtualMic(0, 0, 1, 0.0), 1e-5) << "C unaffected";
}

//==============================================================================
// Blocks the host did not announce, and the order of calls.

TEST_F(PluginTest, BlocksLongerThanAnnouncedMatchOneGo)
{
    constexpr int kLong = 20000;

    auto reference = makeHost();
    start(*reference, kLong);
    ChannelSet refIn(8, kLong), refOut(8, kLong);
    for (int i = 0; i < kLong; ++i)
        refIn.channel(1)[i] = std::sin(0.01f * (float) i);
    reference->process(refIn.pointers(), refOut.pointers(), kLong);

    // Announced 64, then a block of 20000 with two outputs at one address.
    start(*host, 64);
    ChannelSet in(8, kLong), out(8, kLong);
    for (int i = 0; i < kLong; ++i)
        in.channel(1)[i] = std::sin(0.01f * (float) i);
    std::vector<float*> outs(out.pointers(), out.pointers() + 8);
    outs[5] = outs[4];
    host->process(in.pointers(), outs.data(), kLong);

    for (int i = 0; i < kLong; i += 997)
    {
        ASSERT_EQ(out.channel(0)[i], refOut.channel(0)[i]) << "L at " << i;
        ASSERT_EQ(out.channel(4)[i], refOut.channel(5)[i]) << "shared Ls/Rs buffer holds Rs at " << i;
    }
}

TEST_F(PluginTest, FramesBelowOneTouchNothing)
{
    start(*host);
    ChannelSet in(8, 16), out(8, 16);
    in.fillAll(0.5f);
    out.fillAll(7.0f);
    for (int frames : { 0, -1, -100000 })
    {
        host->process(in.pointers(), out.pointers(), frames);
        for (int c = 0; c < 8; ++c)
            ASSERT_EQ(out.channel(c)[0], 7.0f) << frames << " frames wrote output " << c;
    }
    host->process(in.pointers(), nullptr, 16); // no output array at all
}

TEST_F(PluginTest, ProcessingWithoutResumeOrAfterSuspendIsSafe)
{
    ChannelSet in(8, kBlock), out(8, kBlock);
    in.fill(0, 1.0f);

    // Never resumed: the first block prepares the processor.
    host->process(in.pointers(), out.pointers(), kBlock);
    EXPECT_FALSE(host->callsWithOpcode(HostOpcode::getCurrentProcessLevel).empty());

    host->resume();
    host->process(in.pointers(), out.pointers(), kBlock);
    host->suspend();
    host->process(in.pointers(), out.pointers(), kBlock);

    // Suspended, then a block four times the announced size.
    host->suspend();
    ChannelSet longIn(8, 4 * kBlock), longOut(8, 4 * kBlock);
    longIn.fill(0, 1.0f);
    host->process(longIn.pointers(), longOut.pointers(), 4 * kBlock);
    for (int c = 0; c < 8; ++c)
        EXPECT_TRUE(std::isfinite(longOut.channel(c)[4 * kBlock - 1])) << "output " << c;

    host->setBlockSize(0);
    host->setSampleRate(std::nanf(""));
    host->resume();
    runSettled(*host, in, out);
    EXPECT_NEAR(out.channel(0)[kBlock - 1], virtualMic(1, 0, 0, 30.0), 1e-5)
        << "a NaN rate and a block size of 0 fall back to usable values";
}

TEST_F(PluginTest, NullInputsReadAsSilence)
{
    start(*host);
    ChannelSet out(8, kBlock);
    out.fillAll(3.0f);
    host->process(nullptr, out.pointers(), kBlock);
    for (int c = 0; c < 8; ++c)
        EXPECT_EQ(out.channel(c)[kBlock - 1], 0.0f) << "output " << c;
}

TEST_F(PluginTest, ResumeAsksTheProcessLevel)
{
    host->processLevelReply = 4;
    host->clearCalls();
    start(*host);
    EXPECT_EQ(host->callsWithOpcode(HostOpcode::getCurrentProcessLevel).size(), 1u);
    EXPECT_TRUE(host->callsWithOpcode(HostOpcode::wantMidi).empty()) << "an effect without MIDI asks for no events";
}

TEST_F(PluginTest, NullPointersAnswerZeroAndWriteNothing)
{
    const int32_t opcodes[] = {
        EffectOpcode::setProgramName, EffectOpcode::getProgramName, EffectOpcode::getParameterLabel,
        EffectOpcode::getParameterDisplay, EffectOpcode::getParameterName, EffectOpcode::getChunk,
        EffectOpcode::setChunk, EffectOpcode::processEvents, EffectOpcode::string2Parameter,
        EffectOpcode::getProgramNameIndexed, EffectOpcode::getInputProperties, EffectOpcode::getOutputProperties,
        EffectOpcode::setSpeakerArrangement, EffectOpcode::getEffectName, EffectOpcode::getVendorString,
        EffectOpcode::getProductString, EffectOpcode::canDo, EffectOpcode::getParameterProperties,
        EffectOpcode::getMidiProgramName, EffectOpcode::getCurrentMidiProgram, EffectOpcode::getMidiProgramCategory,
        EffectOpcode::getMidiKeyName, EffectOpcode::getSpeakerArrangement, EffectOpcode::shellGetNextPlugin,
        EffectOpcode::beginLoadBank, EffectOpcode::beginLoadProgram, EffectOpcode::editorGetRect,
        EffectOpcode::offlineNotify, EffectOpcode::offlinePrepare, EffectOpcode::offlineRun,
        EffectOpcode::processVariableIo,
    };
    for (int32_t op : opcodes)
        EXPECT_EQ(host->dispatch(op, 0, 0, nullptr), 0) << "opcode " << op;
}

TEST_F(PluginTest, CloseAnswersOneAndANewInstanceWorksAfterwards)
{
    EXPECT_EQ(host->close(), 1);

    auto again = makeHost();
    start(*again);
    ChannelSet in(8, kBlock), out(8, kBlock);
    in.fill(0, 1.0f);
    runSettled(*again, in, out);
    EXPECT_NEAR(out.channel(2)[kBlock - 1], virtualMic(1, 0, 0, 0.0), 1e-5);
}
