// The number-to-text helpers of the effect classes: their fixed layouts and
// their byte limits.
#include "AudioEffect.h"
#include "VstText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

namespace
{
class TextEffect : public AudioEffect
{
public:
    TextEffect() : AudioEffect(nullptr, 0, 0) {}
    void processReplacing(float**, float**, int32_t) override {}
};

constexpr int32_t kMaxLen = 8; // what hosts pass for these texts

/** Runs one helper into a buffer with sentinels, checking it stays within
    maxLen + 1 bytes. */
template <typename F>
std::string run(F helper, int32_t maxLen = kMaxLen)
{
    char buffer[64];
    std::memset(buffer, '#', sizeof(buffer));
    helper(buffer, maxLen);
    EXPECT_EQ(buffer[maxLen], 0) << "byte maxLen must be the terminator";
    EXPECT_EQ(buffer[maxLen + 1], '#') << "written past byte maxLen";
    return std::string(buffer);
}
} // namespace

TEST(VstTextTest, Float2StringLayouts)
{
    TextEffect e;
    const struct { float value; const char* text; } cases[] = {
        { 1.5f, "1.500000" }, { 0.0f, "0.000000" }, { -2.25f, "-2.25000" }, { 1234567.0f, "1234567." },
        { 0.7f, "0.699999" }, { -0.5f, "-0.50000" }, { 99.99f, "99.98999" }, { -123456.0f, "-123456." },
        { 100000000.0f, "Huge!" }, { -10000000.0f, "Huge!" },
        // Whole parts too long for eight characters.
        { 12345678.0f, "Huge!" }, { -1234567.0f, "Huge!" },
        { std::nanf(""), "NaN" }, { INFINITY, "Huge!" }, { -INFINITY, "Huge!" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(run([&](char* t, int32_t n) { e.float2string(c.value, t, n); }), c.text) << "float2string(" << c.value << ")";
}

TEST(VstTextTest, Int2StringLayouts)
{
    TextEffect e;
    const struct { int32_t value; const char* text; } cases[] = {
        { 0, "" }, { -5, "-5" }, { 7, "7" }, { 1000, "1000" }, { 99999999, "99999999" },
        { 100000000, "Huge!" }, { -99999999, "-9999999" }, { -100000000, "-1000000" },
        { INT32_MIN, "Huge!" }, { INT32_MAX, "Huge!" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(run([&](char* t, int32_t n) { e.int2string(c.value, t, n); }), c.text) << "int2string(" << c.value << ")";

    // Only positive values stop at 100000000: a negative one keeps all nine
    // digit places; past them it would lose leading digits, so it is huge.
    const struct { int32_t value; const char* text; } wide[] = {
        { -100000000, "-100000000" }, { -999999999, "-999999999" }, { -1000000000, "Huge!" }, { INT32_MIN, "Huge!" },
    };
    for (const auto& c : wide)
        EXPECT_EQ(run([&](char* t, int32_t n) { e.int2string(c.value, t, n); }, 16), c.text)
            << "int2string(" << c.value << ") with room for 16 characters";
}

TEST(VstTextTest, DecibelHertzAndMilliseconds)
{
    TextEffect e;
    EXPECT_EQ(run([&](char* t, int32_t n) { e.dB2string(1.0f, t, n); }), "0.000000");
    EXPECT_EQ(run([&](char* t, int32_t n) { e.dB2string(0.0f, t, n); }), "-oo");
    EXPECT_EQ(run([&](char* t, int32_t n) { e.dB2string(-3.0f, t, n); }), "-oo");
    EXPECT_EQ(run([&](char* t, int32_t n) { e.dB2string(std::nanf(""), t, n); }), "-oo");
    EXPECT_EQ(run([&](char* t, int32_t n) { e.dB2string(10.0f, t, n); }), "20.00000");
    EXPECT_EQ(run([&](char* t, int32_t n) { e.Hz2string(441.0f, t, n); }), "100.0000") << "44100 / 441";
    EXPECT_EQ(run([&](char* t, int32_t n) { e.Hz2string(0.0f, t, n); }), "0.000000");
    EXPECT_EQ(run([&](char* t, int32_t n) { e.ms2string(4410.0f, t, n); }), "100.0000");
}

TEST(VstTextTest, MaxLenCutsAndAlwaysTerminates)
{
    TextEffect e;
    EXPECT_EQ(run([&](char* t, int32_t n) { e.float2string(1.5f, t, n); }, 3), "1.5");
    EXPECT_EQ(run([&](char* t, int32_t n) { e.int2string(123456, t, n); }, 2), "12");
    EXPECT_EQ(run([&](char* t, int32_t n) { e.dB2string(0.0f, t, n); }, 0), "");
    EXPECT_EQ(run([&](char* t, int32_t n) { e.int2string(5, t, n); }, 6), "5") << "short text, byte maxLen still 0";

    e.float2string(1.0f, nullptr, 8); // writes nothing, does not crash
    char untouched[4] = "abc";
    VstText::copy("xyz", untouched, -1);
    EXPECT_STREQ(untouched, "abc") << "a negative maxLen writes nothing";
}
