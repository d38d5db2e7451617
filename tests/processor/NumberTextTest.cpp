#include <gtest/gtest.h>

#include <clocale>
#include <limits>
#include <string>

#include "NumberText.h"

// The texts printf gives in the "C" locale, which hosts have always shown.
TEST(NumberText, FixedMatchesTheCLocalePrintf)
{
    struct Case { double value; int decimals; const char* text; };
    const Case cases[] = {
        { 0.0, 2, "0.00" },
        { -0.5, 2, "-0.50" },
        { 0.625, 2, "0.62" },     // an exact tie rounds to even
        { 0.375, 2, "0.38" },
        { 1.005, 2, "1.00" },     // 1.00499999999999989...
        { -0.001, 2, "-0.00" },   // the sign of a value rounded to 0 stays
        { 1e6, 2, "1000000.00" },
        { 2.5, 0, "2" },
        { 0.1f, 9, "0.100000001" },
        { std::numeric_limits<double>::quiet_NaN(), 2, "nan" },
        { -std::numeric_limits<double>::infinity(), 2, "-inf" },
    };
    for (const Case& c : cases)
        EXPECT_EQ(NumberText::Fixed(c.value, c.decimals).toStdString(), c.text) << c.value << " to " << c.decimals;
}

TEST(NumberText, PaddedRightAlignsWithoutCutting)
{
    EXPECT_EQ(NumberText::Padded(5, 3).toStdString(), "  5");
    EXPECT_EQ(NumberText::Padded(-90, 3).toStdString(), "-90");
    EXPECT_EQ(NumberText::Padded(10, 3).toStdString(), " 10");
    EXPECT_EQ(NumberText::Padded(1234, 3).toStdString(), "1234");
    EXPECT_EQ(NumberText::Padded(-2147483649LL, 1).toStdString(), "-2147483649");
}

namespace
{
struct ParseCase { const char* text; bool ok; double value; };

// Each text gives its number, or is refused and leaves the output alone.
template <size_t N>
void ExpectParses(bool (*parse)(const juce::String&, double&), const ParseCase (&cases)[N])
{
    for (const ParseCase& c : cases)
    {
        double out = 42.0;
        EXPECT_EQ(parse(c.text, out), c.ok) << '"' << c.text << '"';
        EXPECT_EQ(out, c.ok ? c.value : 42.0) << '"' << c.text << "\" must leave the output alone when refused";
    }
}
} // namespace

TEST(NumberText, ParseTakesOnlyAWholeFiniteNumber)
{
    const ParseCase cases[] = {
        { "1.5", true, 1.5 },   { " -2 ", true, -2.0 }, { "+3", true, 3.0 },  { "1e3", true, 1000.0 },
        { "-31", true, -31.0 }, { "1,5", false, 0 },    { "abc", false, 0 },  { "", false, 0 },
        { "  ", false, 0 },     { "nan", false, 0 },    { "inf", false, 0 },  { "1e999", false, 0 },
        { "+-1", false, 0 },    { "1.2.3", false, 0 },  { "5dB", false, 0 },
    };
    ExpectParses(NumberText::Parse, cases);
}

// Typed values: the number at the start counts, a unit after it does not.
TEST(NumberText, ParseLeadingTakesTheNumberAtTheStart)
{
    const ParseCase cases[] = {
        { "30", true, 30.0 },       { " -4.5 dB", true, -4.5 }, { "+2", true, 2.0 },   { ".5", true, 0.5 },
        { "-.25", true, -0.25 },    { "1e3 x", true, 1000.0 },  { "1,5", true, 1.0 }, { "7deg", true, 7.0 },
        { "abc", false, 0 },        { "", false, 0 },           { " ", false, 0 },    { "-", false, 0 },
        { ".", false, 0 },          { "nan", false, 0 },        { "-inf", false, 0 }, { "+-1", false, 0 },
        { "1e999", false, 0 },      { "dB 3", false, 0 },
    };
    ExpectParses(NumberText::ParseLeading, cases);
}

// For a float, a number beyond the float range is no number either.
TEST(NumberText, ParseLeadingIntoAFloatStaysInItsRange)
{
    float out = 42.0f;
    EXPECT_TRUE(NumberText::ParseLeading(" 3.5 dB", out));
    EXPECT_EQ(out, 3.5f);
    EXPECT_TRUE(NumberText::ParseLeading("-3e38", out));
    EXPECT_EQ(out, -3e38f);
    out = 42.0f;
    for (const char* text : { "1e39", "-4e38", "nan", "" })
    {
        EXPECT_FALSE(NumberText::ParseLeading(text, out)) << text;
        EXPECT_EQ(out, 42.0f) << text << " must leave the output alone";
    }
}

// The process's locale has no say: a comma locale changes nothing.
TEST(NumberText, SameInACommaLocale)
{
    const std::string before = std::setlocale(LC_ALL, nullptr);
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr && std::setlocale(LC_ALL, "de_DE.utf8") == nullptr)
        GTEST_SKIP() << "no de_DE locale installed (localedef -i de_DE -f UTF-8 de_DE.UTF-8)";

    double parsed = 0.0;
    const bool ok = NumberText::Parse("-0.75", parsed);
    const std::string text = NumberText::Fixed(-0.5, 2).toStdString();
    std::setlocale(LC_ALL, before.c_str());

    EXPECT_EQ(text, "-0.50");
    EXPECT_TRUE(ok);
    EXPECT_EQ(parsed, -0.75);
}
