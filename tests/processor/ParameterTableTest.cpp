// The 50 parameters: names, defaults, texts and what each drives in the engine.

#include "AppliedEngine.h"
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "Quorvane2AudioProcessor.h"

namespace
{
struct Row
{
    int index;
    const char* name;
    float defaultValue;
    const char* defaultText;
};

// Texts at the default value; "%1.2f" of 0.625 rounds to even here.
const Row table[] = {
    { 0, "Input Level", 0.75609756f, "  0dB" },
    { 1, "Invert", 0.0f, "Invert Off" },
    { 2, "End Fire", 0.0f, "End Fire Off" },
    { 3, "Filter", 0.0f, "Filter Off" },
    { 4, "Rotate", 0.0f, "  0" },
    { 5, "Front Tilt", 0.5f, "  0" },
    { 6, "Rear Tilt", 0.5f, "  0" },
    { 7, "Zoom", 0.5f, "0.00" },
    { 8, "Polar pattern L/R", 0.5f, "0.62" },
    { 9, "Polar pattern C", 0.5f, "0.62" },
    { 10, "Polar pattern Ls/Rs", 0.5f, "0.62" },
    { 11, "Polar pattern RLs/RRs", 0.5f, "0.62" },
    { 12, "Polar pattern RC", 0.5f, "0.62" },
    { 13, "Width L/R", 0.33333334f, " 60" },
    { 14, "Width Ls/Rs", 0.6111111f, "110" },
    { 15, "Width RLs/RRs", 1.0f, "180" },
    { 16, "Level L/R", 0.75609756f, "  0dB" },
    { 17, "Level C", 0.75609756f, "  0dB" },
    { 18, "Level Ls/Rs", 0.75609756f, "  0dB" },
    { 19, "Level RLs/RRs", 0.75609756f, "  0dB" },
    { 20, "Level RC", 0.75609756f, "  0dB" },
    { 21, "Level LFE", 0.75609756f, "  0dB" },
    { 22, "Level BFormat", 0.75609756f, "  0dB" },
    { 23, "Mute L/R", 0.0f, "0.00" },
    { 24, "Mute C", 0.0f, "0.00" },
    { 25, "Mute Ls/Rs", 0.0f, "0.00" },
    { 26, "Mute RLs/RRs", 0.0f, "0.00" },
    { 27, "Mute RC", 0.0f, "0.00" },
    { 28, "Mute LFE", 0.0f, "0.00" },
    { 29, "Solo L/R", 0.0f, "0.00" },
    { 30, "Solo C", 0.0f, "0.00" },
    { 31, "Solo Ls/Rs", 0.0f, "0.00" },
    { 32, "Solo RLs/RRs", 0.0f, "0.00" },
    { 33, "Solo RC", 0.0f, "0.00" },
    { 34, "Solo LFE", 0.0f, "0.00" },
    { 35, "Input Format", 1.0f, "1.00" },
    { 36, "Array select", 0.25f, "0.25" },
    { 37, "Input Meter 1", 0.0f, "0.00" },
    { 38, "Input Meter 2", 0.0f, "0.00" },
    { 39, "Input Meter 3", 0.0f, "0.00" },
    { 40, "Input Meter 4", 0.0f, "0.00" },
    { 41, "Output Meter L", 0.0f, "0.00" },
    { 42, "Output Meter R", 0.0f, "0.00" },
    { 43, "Output Meter C", 0.0f, "0.00" },
    { 44, "Output Meter LFE", 0.0f, "0.00" },
    { 45, "Output Meter Ls", 0.0f, "0.00" },
    { 46, "Output Meter Rs", 0.0f, "0.00" },
    { 47, "Output Meter RLs", 0.0f, "0.00" },
    { 48, "Output Meter RRs", 0.0f, "0.00" },
    { 49, "Output Meter RC", 0.0f, "0.00" },
};

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();
} // namespace

TEST(ParameterTable, NamesDefaultsTextsAndAutomation)
{
    Quorvane2AudioProcessor p;

    for (const auto& row : table)
    {
        EXPECT_EQ(p.getParameterName(row.index), row.name) << "index " << row.index;
        EXPECT_EQ(p.getParameterDefaultValue(row.index), row.defaultValue) << row.name;
        EXPECT_EQ(p.getParameter(row.index), row.defaultValue) << row.name;
        EXPECT_EQ(p.getParameterText(row.index), row.defaultText) << row.name;
        EXPECT_EQ(p.isParameterAutomatable(row.index), row.index < 35) << row.name;
    }
}

TEST(ParameterTable, DefaultsArePushedIntoTheEngine)
{
    Quorvane2AudioProcessor p;
    auto& e = Applied(p);
    const auto& a = e.arrayControl;

    EXPECT_EQ(e.GetArrayType(), 2) << "5.1 must be the layout of a new processor";
    EXPECT_FALSE(e.aFormatEnable) << "B-format input by default";
    EXPECT_FLOAT_EQ(e.micInput.gainTarget, 1.0f);
    EXPECT_FLOAT_EQ(a.bFormatLevelTarget, 1.0f);

    for (int ch = 0; ch < 9; ++ch)
    {
        EXPECT_FLOAT_EQ(a.levelTarget[ch], 1.0f) << "channel " << ch;
        if (ch != 3) // the LFE has no pattern
        {
            EXPECT_FLOAT_EQ(a.polarTarget[ch], 1.25f) << "channel " << ch;
        }
    }

    const struct { int channel; unsigned angle; } angles[] = {
        { 0, 30 }, { 1, 330 }, { 4, 125 }, { 5, 235 }, { 6, 90 }, { 7, 270 }
    };

    for (auto c : angles)
        EXPECT_EQ(a.angle[c.channel], c.angle) << "default width angle of channel " << c.channel;
}

// One value written, the text it reads as and the engine value it drives.
TEST(ParameterTable, MappingsAndTexts)
{
    using P = Quorvane2AudioProcessor;
    struct Reader { const char* what; double (*read)(P&); };
    const Reader gain { "input gain", [](P& p) -> double { return Applied(p).micInput.gainTarget; } };
    const Reader bLevel { "B-format level", [](P& p) -> double { return Applied(p).arrayControl.bFormatLevelTarget; } };
    const Reader azimuth { "azimuth", [](P& p) -> double { return Applied(p).bFormatPath.azimuth; } };
    const Reader front { "front elevation", [](P& p) -> double { return Applied(p).bFormatPath.frontElevation; } };
    const Reader rear { "rear elevation", [](P& p) -> double { return Applied(p).bFormatPath.rearElevation; } };
    const Reader angle0 { "angle of channel 0", [](P& p) -> double { return Applied(p).arrayControl.angle[0]; } };
    const Reader dominance { "dominance", [](P& p) -> double { return Applied(p).bFormatPath.dominanceTarget; } };
    const Reader invert { "invert", [](P& p) -> double { return Applied(p).bFormatPath.invert != 0; } };
    const Reader endFire { "end fire", [](P& p) -> double { return Applied(p).bFormatPath.endFire != 0; } };
    const Reader filter { "filter", [](P& p) -> double { return Applied(p).filterEnable; } };
    const Reader aFormat { "A-format enable", [](P& p) -> double { return Applied(p).aFormatEnable; } };
    const Reader inputFormat { "input format", [](P& p) -> double { return p.GetInputFormat(); } };
    const Reader arrayType { "array type", [](P& p) -> double { return p.GetEngine().GetArrayType(); } };
    const Reader textOnly { "", nullptr }; // the group table checks the channels

    const struct
    {
        int index;
        float set;
        const char* text; // nullptr: not checked
        Reader engine;
        double expected;
        bool approx;      // float rounding of the dB maths
    } rows[] = {
        { 0, 0.0f, "Off", gain, 0.0, false },
        { 0, 1.0f, " 10dB", gain, 3.1622777, true },
        { 0, 1.0f / 41.0f, "-30dB", gain, 0.031622775, true },
        { 22, 0.0f, "Off", bLevel, 0.0, false },
        { 4, 1.0f, "  0", azimuth, 0, false },     // a full turn is 0
        { 4, 0.5f, "180", azimuth, 180, false },
        { 5, 0.0f, "-90", front, 270, false },
        { 5, 1.0f, " 90", front, 90, false },
        { 6, 0.25f, "-45", rear, 315, false },
        { 13, 0.5f, " 90", angle0, 45, false },
        { 7, 0.0f, "-0.50", dominance, -0.5, false },
        { 1, 0.5f, "Invert On", invert, 1, false },
        { 2, 1.0f, "End Fire On", endFire, 1, false },
        { 3, 0.7f, "Filter On", filter, 1, false },
        { 3, 0.49f, "Filter Off", filter, 0, false },
        { 35, 0.0f, "0.00", aFormat, 1, false },
        { 35, 0.0f, nullptr, inputFormat, P::kAFormat, false },
        { 36, 1.0f, "1.00", arrayType, 7, false },
        { 36, 0.5f, nullptr, arrayType, 3, false }, // 3.5 goes toward zero: 6.0
        { 10, 1.0f, "0.75", textOnly, 0, false },
        { 12, 0.0f, "0.50", textOnly, 0, false },
        { 24, 1.0f, "1.00", textOnly, 0, false },
    };

    for (const auto& row : rows)
    {
        P p;
        p.setParameter(row.index, row.set);
        const std::string where = p.getParameterName(row.index).toStdString() + " at " + std::to_string(row.set);

        if (row.text != nullptr)
        {
            EXPECT_EQ(p.getParameterText(row.index), row.text) << where;
        }

        if (row.engine.read == nullptr)
            continue;

        const double got = row.engine.read(p);

        if (row.approx)
        {
            EXPECT_FLOAT_EQ(static_cast<float>(got), static_cast<float>(row.expected)) << where << ": " << row.engine.what;
        }
        else
        {
            EXPECT_EQ(got, row.expected) << where << ": " << row.engine.what;
        }
    }
}

// Hosts and saved states may send anything: no value may leave 0..1 or reach
// the engine as an index it cannot use.
TEST(ParameterTable, HostValuesAreClampedAndNaNReadsAsZero)
{
    const float hostile[] = { kNaN, -kNaN, kInf, -kInf, -0.5f, 1.5f, 7.0f, -1.0e30f, 1.0e30f };

    for (float v : hostile)
    {
        Quorvane2AudioProcessor p;
        auto& e = Applied(p);

        for (int i = 0; i <= 36; ++i)
        {
            p.setParameter(i, v);
            const float stored = p.getParameter(i);
            EXPECT_TRUE(stored >= 0.0f && stored <= 1.0f) << p.getParameterName(i) << " stored " << stored << " for " << v;

            if (std::isnan(v))
            {
                EXPECT_EQ(stored, 0.0f) << p.getParameterName(i);
            }
        }

        EXPECT_LE(e.GetArrayType(), 7) << v;
        EXPECT_LT(e.bFormatPath.azimuth, 360u) << v;
        EXPECT_LT(e.bFormatPath.frontElevation, 360u) << v;
        EXPECT_LT(e.bFormatPath.rearElevation, 360u) << v;

        for (int ch = 0; ch < 9; ++ch)
            EXPECT_LT(e.arrayControl.angle[ch], 360u) << v;

        EXPECT_TRUE(std::isfinite(e.micInput.gainTarget)) << v;
    }

    Quorvane2AudioProcessor p;
    p.setParameter(1, kNaN);
    EXPECT_EQ(p.getParameterText(1), "Invert Off") << "a NaN switch is off";
    p.setParameter(35, kNaN);
    EXPECT_EQ(p.GetInputFormat(), Quorvane2AudioProcessor::kAFormat) << "a NaN input format selects A-format";
    p.setParameter(36, 3.0f);
    EXPECT_EQ(p.GetOutputFormat(), kOutputFormatBFormat);
    p.setParameter(4, 1.5f);
    EXPECT_EQ(p.getParameter(4), 1.0f);
    EXPECT_EQ(Applied(p).bFormatPath.azimuth, 0u);
}

TEST(ParameterTable, MetersKeepPeaksAboveOneButNotNonFiniteValues)
{
    Quorvane2AudioProcessor p;
    p.setParameter(40, 0.3f);
    EXPECT_EQ(p.getParameter(40), 0.3f) << "meter 40 answers although beyond the announced count";
    p.setParameter(41, 2.5f);
    EXPECT_EQ(p.getParameter(41), 2.5f) << "a peak above full scale is kept";

    for (float v : { kNaN, kInf, -kInf })
    {
        p.setParameter(45, v);
        EXPECT_EQ(p.getParameter(45), 0.0f) << v;
    }
}

// Each channel parameter must reach exactly the engine channels of its group:
// a pair both of its channels, a single group its one channel, and no other.
TEST(ParameterTable, EachGroupParameterDrivesExactlyItsChannels)
{
    enum Field { pattern, level, mute, solo, angle };

    struct Target
    {
        int channel;
        float value; // engine value expected on that channel
    };

    const struct
    {
        int index;
        Field field;
        float set; // normalised value written
        std::vector<Target> targets;
    } rows[] = {
        { 8, pattern, 1.0f, { { 0, 1.5f }, { 1, 1.5f } } }, // 2 * (0.5 + 1 * 0.25)
        { 9, pattern, 1.0f, { { 2, 1.5f } } },
        { 10, pattern, 1.0f, { { 4, 1.5f }, { 5, 1.5f } } },
        { 11, pattern, 1.0f, { { 6, 1.5f }, { 7, 1.5f } } },
        { 12, pattern, 1.0f, { { 8, 1.5f } } },
        { 16, level, 1.0f, { { 0, 3.1622777f }, { 1, 3.1622777f } } },
        { 17, level, 1.0f, { { 2, 3.1622777f } } },
        { 18, level, 1.0f, { { 4, 3.1622777f }, { 5, 3.1622777f } } },
        { 19, level, 1.0f, { { 6, 3.1622777f }, { 7, 3.1622777f } } },
        { 20, level, 1.0f, { { 8, 3.1622777f } } },
        { 21, level, 1.0f, { { 3, 3.1622777f } } },
        { 23, mute, 1.0f, { { 0, 1.0f }, { 1, 1.0f } } },
        { 24, mute, 1.0f, { { 2, 1.0f } } },
        { 25, mute, 1.0f, { { 4, 1.0f }, { 5, 1.0f } } },
        { 26, mute, 1.0f, { { 6, 1.0f }, { 7, 1.0f } } },
        { 27, mute, 1.0f, { { 8, 1.0f } } },
        { 28, mute, 1.0f, { { 3, 1.0f } } },
        { 29, solo, 1.0f, { { 0, 1.0f }, { 1, 1.0f } } },
        { 30, solo, 1.0f, { { 2, 1.0f } } },
        { 31, solo, 1.0f, { { 4, 1.0f }, { 5, 1.0f } } },
        { 32, solo, 1.0f, { { 6, 1.0f }, { 7, 1.0f } } },
        { 33, solo, 1.0f, { { 8, 1.0f } } },
        { 34, solo, 1.0f, { { 3, 1.0f } } },
        { 13, angle, 0.2f, { { 0, 18.0f }, { 1, 342.0f } } },   // w = 18: front, mirrored
        { 14, angle, 0.2f, { { 4, 162.0f }, { 5, 198.0f } } },  // 180 - w, 180 + w
        { 15, angle, 0.2f, { { 6, 162.0f }, { 7, 198.0f } } },
        { 13, angle, 0.5f, { { 0, 45.0f }, { 1, 315.0f } } },
        { 13, angle, 0.0f, { { 0, 0.0f }, { 1, 0.0f } } },     // 360 - 0 wraps to 0
        { 14, angle, 1.0f, { { 4, 90.0f }, { 5, 270.0f } } },
        { 15, angle, 0.0f, { { 6, 180.0f }, { 7, 180.0f } } },
        { 12, pattern, 0.0f, { { 8, 1.0f } } },
        { 22, level, 0.0f, {} },                                 // B-format level: no channel
    };

    auto read = [](const ArrayControl& a, Field f, int ch) -> float {
        switch (f)
        {
            case pattern: return a.polarTarget[ch];
            case level: return a.levelTarget[ch];
            case mute: return static_cast<float>(a.mute[ch]);
            case solo: return static_cast<float>(a.solo[ch]);
            case angle: return static_cast<float>(a.angle[ch]);
        }
        return 0.0f;
    };

    for (const auto& row : rows)
    {
        Quorvane2AudioProcessor p;
        const ArrayControl before = Applied(p).arrayControl;
        p.setParameter(row.index, row.set);
        const ArrayControl& after = Applied(p).arrayControl;

        for (int ch = 0; ch < 9; ++ch)
        {
            const auto target = std::find_if(row.targets.begin(), row.targets.end(),
                                             [ch](const Target& t) { return t.channel == ch; });

            if (target != row.targets.end())
            {
                EXPECT_FLOAT_EQ(read(after, row.field, ch), target->value)
                    << p.getParameterName(row.index) << " at " << row.set << " on channel " << ch;
            }
            else
            {
                EXPECT_EQ(read(after, row.field, ch), read(before, row.field, ch))
                    << p.getParameterName(row.index) << " at " << row.set << " reached channel " << ch << " outside its group";
            }
        }
    }
}
