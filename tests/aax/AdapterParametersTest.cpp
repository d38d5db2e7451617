// The built module's parameters, automation and chunks as a host sees them.
#include "AAXModuleHost.h"

#include "ChunkSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

namespace
{
const char* const kNames[35] = {
    "Input Level", "Invert", "End Fire", "Filter", "Rotate", "Front Tilt", "Rear Tilt", "Zoom",
    "Polar pattern L/R", "Polar pattern C", "Polar pattern Ls/Rs", "Polar pattern RLs/RRs", "Polar pattern RC",
    "Width L/R", "Width Ls/Rs", "Width RLs/RRs", "Level L/R", "Level C", "Level Ls/Rs", "Level RLs/RRs",
    "Level RC", "Level LFE", "Level BFormat", "Mute L/R", "Mute C", "Mute Ls/Rs", "Mute RLs/RRs", "Mute RC",
    "Mute LFE", "Solo L/R", "Solo C", "Solo Ls/Rs", "Solo RLs/RRs", "Solo RC", "Solo LFE",
};

const float kDefaults[35] = {
    0.75609756f, 0, 0, 0, 0, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f, 0.33333334f, 0.6111111f, 1.0f,
    0.75609756f, 0.75609756f, 0.75609756f, 0.75609756f, 0.75609756f, 0.75609756f, 0.75609756f,
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
};

std::string id(int i)
{
    return std::to_string(i);
}

std::vector<double> allParameters(const AAXInstance& plugin)
{
    std::vector<double> values;
    for (int i = 0; i < 35; ++i)
        values.push_back(plugin.parameter(id(i).c_str()));
    return values;
}

std::string stringOf(AAXInstance& plugin, const char* parameter, double value, int32_t maxLength)
{
    AAX_CString text("untouched");
    plugin.effect->GetParameterStringFromValue(parameter, value, &text, maxLength);
    return text.Get();
}

/** The same tones through two instances: true when every sample agrees. */
bool soundAlike(AAXInstance& a, AAXInstance& b)
{
    for (int block = 0; block < 4; ++block)
    {
        Channels in(4, 256);
        for (int c = 0; c < 4; ++c)
            for (int i = 0; i < 256; ++i)
                in.data[(size_t) c][(size_t) i] = float(std::sin(0.01 * (c + 1) * (block * 256 + i)));
        Channels outA(6, 256), outB(6, 256);
        a.render(in, outA, 256);
        b.render(in, outB, 256);
        if (outA.data != outB.data)
            return false;
    }
    return true;
}
} // namespace

TEST(AaxAdapterParameters, TheHostSeesTheBypassThenTheProcessorsParameters)
{
    ASSERT_TRUE(AAXModule::get().loaded());
    AAXInstance plugin(AAX_eStemFormat_5_1);
    auto& fx = *plugin.effect;

    int32_t count = 0;
    ASSERT_EQ(fx.GetNumberOfParameters(&count), 0);
    ASSERT_EQ(count, 36);
    AAX_CString text;
    ASSERT_EQ(fx.GetParameterIDFromIndex(0, &text), 0);
    EXPECT_STREQ(text.Get(), "MasterBypassID");

    for (int i = 0; i < 35; ++i)
    {
        SCOPED_TRACE(kNames[i]);
        const std::string p = id(i);
        ASSERT_EQ(fx.GetParameterIDFromIndex(i + 1, &text), 0);
        EXPECT_EQ(text.Get(), p);
        EXPECT_EQ(fx.GetParameterName(p.c_str(), &text), 0);
        EXPECT_STREQ(text.Get(), kNames[i]);
        EXPECT_EQ(fx.GetParameterNameOfLength(p.c_str(), &text, 4), 0);
        EXPECT_EQ(text.Get(), std::string(kNames[i]).substr(0, 4));
        double value = -1;
        EXPECT_EQ(fx.GetParameterDefaultNormalizedValue(p.c_str(), &value), 0);
        EXPECT_EQ(value, double(kDefaults[i]));
        EXPECT_EQ(plugin.parameter(p.c_str()), double(kDefaults[i]));
        int32_t steps = 0;
        EXPECT_EQ(fx.GetParameterNumberOfSteps(p.c_str(), &steps), 0);
        EXPECT_EQ(steps, 0x7fffffff);
        AAX_EParameterType type = AAX_eParameterType_Discrete;
        EXPECT_EQ(fx.GetParameterType(p.c_str(), &type), 0);
        EXPECT_EQ(type, AAX_eParameterType_Continuous);
    }

    // The master bypass: its names by length, its texts, two steps, discrete.
    const struct { int32_t length; const char* name; } names[] = {
        { 40, "Master Bypass" }, { 13, "Master Bypass" }, { 12, "Mast Byp" }, { 8, "Mast Byp" },
        { 7, "MstByp" }, { 6, "MstByp" }, { 5, "MByp" }, { 0, "MByp" }, { -3, "MByp" },
    };
    for (const auto& n : names)
    {
        EXPECT_EQ(fx.GetParameterNameOfLength("MasterBypassID", &text, n.length), 0);
        EXPECT_STREQ(text.Get(), n.name) << "length " << n.length;
    }
    EXPECT_EQ(fx.GetParameterName("MasterBypassID", &text), 0);
    EXPECT_STREQ(text.Get(), "Master Bypass");
    const struct { double value; int32_t maxLength; const char* text; } bypassTexts[] = {
        { 0.0, 31, "Off" }, { 0.0, 3, "Off" }, { 1.0, 6, "Byp" }, { 1.0, 7, "Byp" }, { 1.0, 8, "Bypassed" }, { 0.5, 31, "Bypassed" },
    };
    for (const auto& t : bypassTexts)
        EXPECT_EQ(stringOf(plugin, "MasterBypassID", t.value, t.maxLength), t.text) << t.value << ", " << t.maxLength;
    int32_t steps = 0;
    EXPECT_EQ(fx.GetParameterNumberOfSteps("MasterBypassID", &steps), 0);
    EXPECT_EQ(steps, 2);
    AAX_EParameterType type = AAX_eParameterType_Continuous;
    EXPECT_EQ(fx.GetParameterType("MasterBypassID", &type), 0);
    EXPECT_EQ(type, AAX_eParameterType_Discrete);
    for (const double hostValue : { 0.777, 1.0, -5.0 })
    {
        double value = hostValue;
        EXPECT_EQ(fx.GetParameterDefaultNormalizedValue("MasterBypassID", &value), 0);
        EXPECT_EQ(value, 0.0) << "the bypass starts off, whatever the host had in " << hostValue;
    }
}

// The text of the value asked about, as the parameter shows it once it holds
// that value; asking sets nothing, tells the host nothing and leaves the
// audio as it was.
TEST(AaxAdapterParameters, TextsOfTheValuesAskedAbout)
{
    ASSERT_TRUE(AAXModule::get().loaded());
    AAXInstance plugin(AAX_eStemFormat_5_1), untouched(AAX_eStemFormat_5_1);
    const std::vector<double> before = allParameters(plugin);
    plugin.host.record.clear();

    const struct
    {
        const char* id;
        double value;
        int32_t maxLength;
        const char* text;
    } texts[] = {
        { "4", 0.5, 31, "180" },          { "4", 0.25, 31, " 90" },        { "4", 1.0, 31, "  0" },
        { "4", 0.9, 31, "324" },          { "4", 0.25, 2, " 9" },          { "0", 1.0, 31, " 10dB" },
        { "0", 0.0, 31, "Off" },          { "0", 0.5, 31, "-11dB" },       { "0", 0.9, 31, "  6dB" },
        { "1", 1.0, 31, "Invert On" },    { "1", 0.0, 31, "Invert Off" },  { "1", 1.0, 6, "Invert" },
        { "2", 1.0, 31, "End Fire On" },  { "3", 0.9, 31, "Filter On" },   { "5", 0.9, 31, " 72" },
        { "5", 0.0, 31, "-90" },          { "6", 0.25, 31, "-45" },        { "7", 1.0, 31, "0.50" },
        { "7", 0.0, 31, "-0.50" },        { "8", 1.0, 31, "0.75" },        { "8", 0.2, 31, "0.55" },
        { "13", 0.5, 31, " 90" },         { "14", 1.0, 31, "180" },        { "15", 0.0, 31, "  0" },
        { "16", 0.0, 31, "Off" },         { "21", 0.5, 31, "-11dB" },      { "23", 1.0, 31, "1.00" },
        { "29", 1.0, 31, "1.00" },        { "34", 0.0, 31, "0.00" },
        // Beyond 0 .. 1 a value is read as the parameter would hold it; NaN
        // asks about no value, and the present one is shown.
        { "4", 7.5, 31, "  0" },          { "0", -3.0, 31, "Off" },        { "0", 2.0, 31, " 10dB" },
        { "4", std::nan(""), 31, "  0" },
    };
    for (const auto& t : texts)
        EXPECT_EQ(stringOf(plugin, t.id, t.value, t.maxLength), t.text)
            << "parameter " << t.id << " at " << t.value << ", " << t.maxLength << " characters";

    EXPECT_EQ(allParameters(plugin), before) << "asking set a parameter";
    EXPECT_TRUE(plugin.host.record.callsStartingWith("Automation.").empty()) << "asking told the host of a change";
    EXPECT_TRUE(soundAlike(plugin, untouched)) << "asking changed the audio";

    // With the parameter set elsewhere, the texts still follow the value asked about.
    ASSERT_EQ(plugin.effect->SetParameterNormalizedValue("4", 0.25), 0);
    EXPECT_EQ(stringOf(plugin, "4", 0.5, 31), "180");
    EXPECT_EQ(stringOf(plugin, "4", 0.25, 31), " 90");
}

TEST(AaxAdapterParameters, ChangesGoThroughTheHostAndAreClampedAndNaNSafe)
{
    ASSERT_TRUE(AAXModule::get().loaded());
    AAXInstance plugin(AAX_eStemFormat_5_1);
    auto& fx = *plugin.effect;

    plugin.host.record.clear();
    ASSERT_EQ(fx.SetParameterNormalizedValue("4", 0.25), 0);
    EXPECT_EQ(plugin.host.record.callsStartingWith("Automation."), (std::vector<std::string> {
        "Automation.PostTouchRequest(4)", "Automation.PostSetValueRequest(4, 0.25)",
        "Automation.PostCurrentValue(4, 0.25)", "Automation.PostReleaseRequest(4)" }));
    EXPECT_EQ(plugin.parameter("4"), 0.25);
    EXPECT_EQ(plugin.text("4"), " 90");

    const struct
    {
        const char* what;
        double value;
        double expected;
    } sets[] = {
        { "NaN keeps the value", std::nan(""), 0.25 },
        { "above 1", 7.5, 1.0 },
        { "below 0", -3.0, 0.0 },
        { "infinite", std::numeric_limits<double>::infinity(), 1.0 },
        { "in range", 0.5, 0.5 },
    };
    fx.SetParameterNormalizedValue("4", 0.25);
    for (const auto& s : sets)
    {
        ASSERT_EQ(fx.SetParameterNormalizedValue("4", s.value), 0) << s.what;
        EXPECT_EQ(plugin.parameter("4"), s.expected) << s.what;
        fx.SetParameterNormalizedValue("4", 0.25);
        ASSERT_EQ(fx.UpdateParameterNormalizedValue("4", s.value, AAX_eUpdateSource_Parameter), 0) << s.what;
        EXPECT_EQ(plugin.parameter("4"), s.expected) << "update: " << s.what;
        fx.SetParameterNormalizedValue("4", 0.25);
    }

    // Relative steps stop at the ends; 360 degrees reads as 0.
    fx.SetParameterNormalizedValue("4", 0.9);
    EXPECT_EQ(fx.SetParameterNormalizedRelative("4", 0.3), 0);
    EXPECT_EQ(plugin.parameter("4"), 1.0);
    EXPECT_EQ(plugin.text("4"), "  0");
    EXPECT_EQ(fx.SetParameterNormalizedRelative("4", std::nan("")), 0);
    EXPECT_EQ(plugin.parameter("4"), 1.0);
    EXPECT_EQ(fx.SetParameterNormalizedRelative("4", -2.0), 0);
    EXPECT_EQ(plugin.parameter("4"), 0.0);

    // The host sets the bypass through its own updates only.
    EXPECT_EQ(fx.SetParameterNormalizedValue("MasterBypassID", 1.0), 0);
    EXPECT_EQ(plugin.parameter("MasterBypassID"), 0.0);

    // Only an identifier naming a registered parameter exactly is one.
    const std::vector<double> before = allParameters(plugin);
    plugin.host.record.clear();
    const char* unknown[] = { "35", "49", "04", " 4", "4 ", "+4", "-1", "4x", "", "MasterBypass", "99999999999", nullptr };
    for (const char* u : unknown)
    {
        const std::string what = u != nullptr ? "\"" + std::string(u) + "\"" : "null";
        double value = 0;
        EXPECT_EQ(fx.SetParameterNormalizedValue(u, 0.7), -20001) << what;
        EXPECT_EQ(fx.SetParameterNormalizedRelative(u, 0.1), -20001) << what;
        EXPECT_EQ(fx.UpdateParameterNormalizedValue(u, 0.7, AAX_eUpdateSource_Parameter), -20001) << what;
        EXPECT_EQ(fx.GetParameterNormalizedValue(u, &value), -20001) << what;
    }
    EXPECT_EQ(allParameters(plugin), before);
    EXPECT_TRUE(plugin.host.record.callsStartingWith("Automation.PostSetValueRequest").empty());
}

// A mute the host sets while a solo is on takes the value's on or off, as
// without a solo, by every way the host sets parameters: after the solo the
// group is muted as the host shows it. 5.1 comes out as L C R Ls Rs LFE.
TEST(AaxAdapterParameters, MuteSetDuringASoloIsSetNotTurnedOver)
{
    ASSERT_TRUE(AAXModule::get().loaded());
    AAXInstance plugin(AAX_eStemFormat_5_1, 44100.0f);
    auto& fx = *plugin.effect;
    auto sounding = [&] {
        Channels in(4, 512), out(6, 512);
        std::fill(in.data[0].begin(), in.data[0].end(), 0.5f); // W alone
        for (int b = 0; b < 16; ++b) // the smoothers and the LFE filter settle
            plugin.render(in, out, 512);
        const char* const names[6] = { "L", "C", "R", "Ls", "Rs", "LFE" };
        std::string shown;
        for (size_t c = 0; c < 6; ++c)
        {
            const float level = std::abs(out.data[c][511]);
            shown += std::string(c == 0 ? "" : " ") + names[c] + (level < 1e-6f ? "-" : level > 0.05f ? "+" : "?");
        }
        return shown;
    };

    ASSERT_EQ(fx.SetParameterNormalizedValue("23", 1.0), 0); // Mute L/R
    ASSERT_EQ(fx.SetParameterNormalizedValue("30", 1.0), 0); // Solo C
    ASSERT_EQ(fx.SetParameterNormalizedValue("23", 0.873), 0);
    EXPECT_EQ(sounding(), "L- C+ R- Ls- Rs- LFE-") << "C soloed";
    EXPECT_FLOAT_EQ(plugin.parameter("23"), 0.873f);
    EXPECT_EQ(plugin.text("23"), "0.87");

    ASSERT_EQ(fx.SetParameterNormalizedValue("30", 0.0), 0);
    EXPECT_EQ(sounding(), "L- C+ R- Ls+ Rs+ LFE+") << "solo off: L/R still muted";

    // The host's own updates (automation playback), each sent twice.
    ASSERT_EQ(fx.SetParameterNormalizedValue("31", 1.0), 0); // Solo Ls/Rs
    for (int twice = 0; twice < 2; ++twice)
    {
        ASSERT_EQ(fx.UpdateParameterNormalizedValue("23", 0.0, AAX_eUpdateSource_Parameter), 0);
        ASSERT_EQ(fx.UpdateParameterNormalizedValue("24", 1.0, AAX_eUpdateSource_Parameter), 0); // Mute C
    }
    ASSERT_EQ(fx.SetParameterNormalizedValue("31", 0.0), 0);
    EXPECT_EQ(sounding(), "L+ C- R+ Ls+ Rs+ LFE+") << "L/R unmuted and C muted during the solo";
}

TEST(AaxAdapterChunks, JuceAndElckRoundTripIntoAFreshInstance)
{
    ASSERT_TRUE(AAXModule::get().loaded());
    AAXInstance saved(AAX_eStemFormat_5_1);
    auto& fx = *saved.effect;

    int32_t count = 0;
    ASSERT_EQ(fx.GetNumberOfChunks(&count), 0);
    EXPECT_EQ(count, 2);
    const struct { int32_t index; AAX_Result status; AAX_CTypeID id; } ids[] = {
        { 0, 0, 0x656C636B }, { 1, 0, 0x6A756365 }, { 2, -20006, 0 }, { -1, -20006, 0 },
    };
    for (const auto& c : ids)
    {
        AAX_CTypeID chunkID = 0xFFFFFFFF;
        EXPECT_EQ(fx.GetChunkIDFromIndex(c.index, &chunkID), c.status) << "index " << c.index;
        EXPECT_EQ(chunkID, c.id) << "index " << c.index;
    }

    const struct { const char* id; double value; } settings[] = {
        { "4", 0.25 }, { "5", 0.75 }, { "7", 0.625 }, { "16", 0.5 }, { "10", 0.1 }, { "29", 1.0 },
    };
    for (const auto& s : settings)
        fx.SetParameterNormalizedValue(s.id, s.value);

    const std::vector<uint8_t> elck = saved.chunk(kElckChunk);
    ASSERT_EQ(elck.size(), 524u) << "35 doubles named 0 to 34, no bypass";
    EXPECT_EQ(std::vector<uint8_t>(elck.begin(), elck.begin() + 8), (std::vector<uint8_t> { 1, 1, 1, 1, 'd', '_', '0', 0 }));

    // Each into a fresh instance, held against a fresh one set directly.
    for (const AAX_CTypeID chunkID : { kJuceChunk, kElckChunk })
    {
        AAXInstance source(AAX_eStemFormat_5_1), restored(AAX_eStemFormat_5_1);
        for (const auto& s : settings)
            source.effect->SetParameterNormalizedValue(s.id, s.value);
        const std::vector<uint8_t> bytes = source.chunk(chunkID);
        ASSERT_FALSE(bytes.empty());
        ASSERT_NE(allParameters(restored), allParameters(source));
        ASSERT_EQ(restored.setChunk(chunkID, bytes), 0);
        EXPECT_EQ(allParameters(restored), allParameters(source)) << std::hex << chunkID;
        EXPECT_TRUE(soundAlike(source, restored)) << std::hex << chunkID;
    }
}

// The host made room for the size it was told; anything else is refused and
// nothing is written. What the host hands in is loaded only when it is a
// whole state: nothing stored is lost to a broken one.
TEST(AaxAdapterChunks, JuceChunkSizesAndHostileBlobsChangeNothing)
{
    ASSERT_TRUE(AAXModule::get().loaded());
    AAXInstance plugin(AAX_eStemFormat_5_1);
    auto& fx = *plugin.effect;
    fx.SetParameterNormalizedValue("4", 0.25);

    ChunkRecord unasked(64, kJuceChunk);
    std::memset(unasked.record()->data, 0xAB, 64);
    unasked.record()->size = 64;
    EXPECT_EQ(fx.GetChunk(kJuceChunk, unasked.record()), -20008) << "no size was ever reported";
    EXPECT_EQ(unasked.record()->size, 64);
    EXPECT_EQ(unasked.dataBytes(), std::vector<uint8_t>(64, 0xAB));

    const std::vector<uint8_t> whole = plugin.chunk(kJuceChunk);
    ASSERT_GT(whole.size(), 16u);
    const std::vector<double> before = allParameters(plugin);

    const struct
    {
        const char* what;
        std::vector<uint8_t> bytes;
    } blobs[] = {
        { "empty", {} },
        { "first half", std::vector<uint8_t>(whole.begin(), whole.begin() + (long) whole.size() / 2) },
        { "all but the last byte", std::vector<uint8_t>(whole.begin(), whole.end() - 1) },
        { "noise", std::vector<uint8_t>(300, 0x5A) },
        { "an elck chunk", plugin.chunk(kElckChunk) },
    };
    for (const auto& b : blobs)
    {
        EXPECT_EQ(plugin.setChunk(kJuceChunk, b.bytes), 0) << b.what;
        EXPECT_EQ(allParameters(plugin), before) << b.what;
    }

    ChunkRecord negative(8, kJuceChunk);
    negative.record()->size = -8;
    EXPECT_EQ(fx.SetChunk(kJuceChunk, negative.record()), -20008);
    EXPECT_EQ(fx.SetChunk(kJuceChunk, nullptr), -20004);
    EXPECT_EQ(allParameters(plugin), before);
}
