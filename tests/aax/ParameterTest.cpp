// Parameter templates and their delegates, the text type, the parameter
// manager and the mutex.
#include "AAX_CBinaryDisplayDelegate.h"
#include "AAX_CBinaryTaperDelegate.h"
#include "AAX_CLinearTaperDelegate.h"
#include "AAX_CMutex.h"
#include "AAX_CNumberDisplayDelegate.h"
#include "AAX_CParameter.h"
#include "AAX_CParameterManager.h"
#include "AAX_VAutomationDelegate.h"
#include "FakeHost.h"

#include <gtest/gtest.h>

#include <chrono>
#include <clocale>
#include <cmath>
#include <future>
#include <limits>
#include <thread>

namespace
{
using FloatParameter = AAX_CParameter<float>;
using BoolParameter = AAX_CParameter<bool>;

std::unique_ptr<FloatParameter> floatParameter(const char* id = "4", float defaultValue = 0.5f)
{
    return std::make_unique<FloatParameter>(id, "Rotate", defaultValue, AAX_CLinearTaperDelegate<float, 0>(0.0f, 1.0f),
                                            AAX_CNumberDisplayDelegate<float, 3u, 0u>(), true);
}

std::unique_ptr<BoolParameter> bypassParameter()
{
    return std::make_unique<BoolParameter>("MasterBypassID", "Master Bypass", false, AAX_CBinaryTaperDelegate<bool>(),
                                           AAX_CBinaryDisplayDelegate<bool>("bypass", "on"), true);
}

const double notANumber = std::numeric_limits<double>::quiet_NaN();
} // namespace

TEST(AaxParameter, IdentifierKeepsItsFirst31Characters)
{
    auto p = floatParameter("abcdefghijklmnopqrstuvwxyz0123456789ABCD");
    EXPECT_STREQ(p->Identifier(), "abcdefghijklmnopqrstuvwxyz01234");
}

TEST(AaxParameter, NumberDisplayAtEveryLength)
{
    const AAX_CNumberDisplayDelegate<float, 3u, 0u> display;
    struct Case
    {
        float value;
        int32_t maxChars;
        const char* expected;
    } cases[] = {
        { 0.5f, 100, "0.500" }, { 0.5f, 6, "0.500" }, { 0.5f, 5, "0.500" }, { 0.5f, 4, "0.50" }, { 0.5f, 3, "0.5" },
        { 0.5f, 2, "0" },       { 0.5f, 1, "0" },     { 0.5f, 0, "" },       { 0.5f, -3, "" },    { 1.0f, 2, "1" },
        { 0.125f, 4, "0.12" },  { -0.5f, 3, "-0" },   { 0.0f, 5, "0.000" },  { 0.9999f, 5, "1.000" },
    };
    for (const auto& c : cases)
    {
        AAX_CString text("old");
        EXPECT_TRUE(display.ValueToString(c.value, c.maxChars, &text));
        EXPECT_STREQ(text.Get(), c.expected) << c.value << " in " << c.maxChars;
    }
}

TEST(AaxParameter, NumberTextIsReadWithOneFixedRule)
{
    const AAX_CNumberDisplayDelegate<float, 3u, 0u> display;
    struct Case
    {
        const char* text;
        bool parsed;
        float value;
    } cases[] = {
        { "0.25", true, 0.25f }, { "  0.5 dB", true, 0.5f }, { "+0.75", true, 0.75f }, { "-1", true, -1.0f },
        { ".5", true, 0.5f },    { "2.5e-1", true, 0.25f },  { "abc", false, 0.0f },   { "", false, 0.0f },
        { "-", false, 0.0f },    { "nan", false, 0.0f },     { "inf", false, 0.0f },   { "0x10", true, 0.0f },
        { "1e999", false, 0.0f }, { "1e39", true, std::numeric_limits<float>::max() },
    };
    for (const auto& c : cases)
    {
        float value = 7.0f;
        EXPECT_EQ(display.StringToValue(AAX_CString(c.text), &value), c.parsed) << c.text;
        EXPECT_EQ(value, c.value) << c.text;
    }
}

TEST(AaxParameter, TextDoesNotFollowTheProcessLocale)
{
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr && std::setlocale(LC_ALL, "de_DE.utf8") == nullptr)
        GTEST_SKIP() << "no German locale on this machine";

    AAX_CString text;
    text.AppendNumber(0.5, 3);
    double value = 0.0;
    const bool parsed = AAX_CString("0.25").ToDouble(&value);
    std::setlocale(LC_ALL, "C");

    EXPECT_STREQ(text.Get(), "0.500");
    EXPECT_TRUE(parsed);
    EXPECT_EQ(value, 0.25);
}

TEST(AaxParameter, LinearTaper)
{
    const AAX_CLinearTaperDelegate<float, 0> unit(0.0f, 1.0f);
    const AAX_CLinearTaperDelegate<float, 0> wide(-10.0f, 30.0f);
    EXPECT_EQ(unit.NormalizedToReal(0.25), 0.25f);
    EXPECT_EQ(unit.NormalizedToReal(1.5), 1.0f);
    EXPECT_EQ(unit.NormalizedToReal(-0.5), 0.0f);
    EXPECT_EQ(unit.NormalizedToReal(1e300), 1.0f) << "no float overflow on the way";
    EXPECT_EQ(wide.NormalizedToReal(0.25), 0.0f);
    EXPECT_EQ(wide.NormalizedToReal(1.0), 30.0f);
    EXPECT_EQ(wide.RealToNormalized(20.0f), 0.75);
    EXPECT_EQ(wide.RealToNormalized(99.0f), 1.0);
    EXPECT_EQ(wide.ConstrainRealValue(-11.0f), -10.0f);
    const AAX_CLinearTaperDelegate<float, 0> point(2.0f, 2.0f);
    EXPECT_EQ(point.RealToNormalized(2.0f), 0.0) << "no division by a zero range";
}

TEST(AaxParameter, BinaryTaperAndDisplay)
{
    const AAX_CBinaryTaperDelegate<bool> taper;
    EXPECT_FALSE(taper.NormalizedToReal(0.0));
    EXPECT_TRUE(taper.NormalizedToReal(0.3));
    EXPECT_EQ(taper.RealToNormalized(true), 1.0);

    const AAX_CBinaryDisplayDelegate<bool> display("bypass", "on");
    AAX_CString text;
    display.ValueToString(false, 2, &text);
    EXPECT_STREQ(text.Get(), "bypass") << "with no shorter texts, the limit does not cut";
    display.ValueToString(true, &text);
    EXPECT_STREQ(text.Get(), "on");

    AAX_CBinaryDisplayDelegate<bool> narrow("bypass", "on");
    narrow.AddShortenedStrings("byp", "on");
    narrow.AddShortenedStrings("b", "1");
    const std::unique_ptr<AAX_IDisplayDelegate<bool>> copy(narrow.Clone());
    struct Limit
    {
        int32_t maxChars;
        const char* expected;
    } limits[] = { { 6, "bypass" }, { 5, "byp" }, { 3, "byp" }, { 2, "b" }, { 0, "b" } };
    for (const auto& l : limits)
    {
        copy->ValueToString(false, l.maxChars, &text);
        EXPECT_STREQ(text.Get(), l.expected) << l.maxChars;
    }

    struct Case
    {
        const char* text;
        bool accepted, value;
    } cases[] = { { "on", true, true }, { "bypass", true, false }, { "On", false, false }, { "", false, false } };
    for (const auto& c : cases)
    {
        bool value = ! c.value;
        EXPECT_EQ(display.StringToValue(AAX_CString(c.text), &value), c.accepted) << c.text;
        EXPECT_EQ(value, c.value) << c.text;
    }
}

TEST(AaxParameter, WithoutDelegateValuesTakeEffectAtOnce)
{
    auto p = floatParameter();
    EXPECT_EQ(p->GetNumberOfSteps(), 128u);
    EXPECT_EQ(p->GetType(), AAX_eParameterType_Continuous);
    p->SetValue(0.25f);
    EXPECT_EQ(p->GetNormalizedValue(), 0.25);

    struct Case
    {
        const char* what;
        std::function<void()> set;
        double expected;
    } cases[] = {
        { "normalised above 1 is held", [&] { p->SetNormalizedValue(7.0); }, 1.0 },
        { "normalised below 0 is held", [&] { p->SetNormalizedValue(-3.0); }, 0.0 },
        { "NaN reads as the default", [&] { p->SetNormalizedValue(notANumber); }, 0.5 },
        { "host update NaN reads as the default", [&] { p->SetValue(0.1f); p->UpdateNormalizedValue(notANumber); }, 0.5 },
        { "float NaN reads as the default", [&] { p->SetValue(0.1f); p->SetValueWithFloat(float(notANumber)); }, 0.5 },
        { "step 64 of 128", [&] { p->SetStepValue(127); p->SetStepValue(64); }, double(float(64.0 / 127.0)) },
    };
    for (const auto& c : cases)
    {
        c.set();
        EXPECT_DOUBLE_EQ(p->GetNormalizedValue(), c.expected) << c.what;
    }

    p->SetNormalizedDefaultValue(notANumber);
    EXPECT_EQ(p->GetNormalizedDefaultValue(), 0.5) << "a NaN default is ignored";
}

TEST(AaxParameter, WithDelegateEveryChangeIsARequest)
{
    FakeHost host;
    {
        AAX_VAutomationDelegate delegate(host.unknown());
        auto p = floatParameter();
        p->SetAutomationDelegate(&delegate);
        host.record.clear();

        p->SetValue(0.25f);
        EXPECT_EQ(p->GetNormalizedValue(), 0.5) << "the value waits for the host";
        p->UpdateNormalizedValue(0.25);
        EXPECT_EQ(p->GetNormalizedValue(), 0.25);
        p->UpdateNormalizedValue(0.25);   // the same again: nothing to tell
        EXPECT_EQ(host.record.calls, (std::vector<std::string> {
                                          "Automation.PostTouchRequest(4)",
                                          "Automation.PostSetValueRequest(4, 0.25)",
                                          "Automation.PostReleaseRequest(4)",
                                          "Automation.PostCurrentValue(4, 0.25)",
                                      }));
        host.record.clear();
        p.reset();
        EXPECT_EQ(host.record.calls, (std::vector<std::string> { "Automation.UnregisterParameter(4)" }));
    }
    EXPECT_TRUE(host.leakedReferences().empty());
}

TEST(AaxParameter, TextConversions)
{
    auto p = floatParameter();
    p->SetValue(0.75f);
    AAX_CString text;
    double normalized = -1.0;

    EXPECT_TRUE(p->GetStringFromNormalizedValue(0.25, 4, text));
    EXPECT_STREQ(text.Get(), "0.25");
    EXPECT_EQ(p->GetNormalizedValue(), 0.75) << "the formatter changes nothing";

    EXPECT_TRUE(p->GetNormalizedValueFromString(AAX_CString("0.125"), &normalized));
    EXPECT_EQ(normalized, 0.125);
    EXPECT_FALSE(p->GetNormalizedValueFromString(AAX_CString("2"), &normalized)) << "outside the bounds";
    EXPECT_EQ(normalized, 1.0) << "but still written";
    EXPECT_FALSE(p->GetNormalizedValueFromString(AAX_CString("abc"), &normalized));

    EXPECT_TRUE(p->SetValueFromString(AAX_CString("0.3")));
    EXPECT_TRUE(p->GetValueString(&text));
    EXPECT_STREQ(text.Get(), "0.300");
    EXPECT_FALSE(p->SetValueFromString(AAX_CString("x")));
    EXPECT_STREQ((p->GetValueString(&text), text.Get()), "0.300");
}

TEST(AaxParameter, ShortenedNames)
{
    auto p = floatParameter();   // full name "Rotate"
    EXPECT_STREQ(p->ShortenedName(3).Get(), "Rotate") << "no shortened names yet";
    p->AddShortenedName("Rotn");
    EXPECT_STREQ(p->ShortenedName(4).Get(), "Rotn");
    EXPECT_STREQ(p->ShortenedName(3).Get(), "Rotn") << "none fits: the shortest";
    EXPECT_STREQ(p->ShortenedName(40).Get(), "Rotate");
    p->AddShortenedName("Ro");
    p->AddShortenedName("Rt");   // same length replaces
    EXPECT_STREQ(p->ShortenedName(3).Get(), "Rt");
    EXPECT_STREQ(p->ShortenedName(5).Get(), "Rotn");
}

TEST(AaxParameter, TypedAccessOnlyForItsOwnType)
{
    auto bypass = bypassParameter();
    float f = 7.0f;
    bool b = false;
    EXPECT_FALSE(bypass->GetValueAsFloat(&f));
    EXPECT_EQ(f, 7.0f) << "nothing written";
    EXPECT_FALSE(bypass->SetValueWithFloat(1.0f));
    bypass->SetNormalizedValue(0.3);
    EXPECT_TRUE(bypass->GetValueAsBool(&b));
    EXPECT_TRUE(b);
    EXPECT_FALSE(bypass->GetValueAsBool(nullptr));

    auto p = floatParameter();
    int32_t n = 3;
    EXPECT_FALSE(p->GetValueAsInt32(&n));
    EXPECT_FALSE(p->SetValueWithDouble(0.2));
    EXPECT_FALSE(p->SetValueWithBool(true));
    EXPECT_EQ(p->GetNormalizedValue(), 0.5);
}

TEST(AaxParameter, StepValue)
{
    auto bypass = bypassParameter();
    bypass->SetNumberOfSteps(2);
    auto p = floatParameter();
    struct Case
    {
        AAX_IParameter* parameter;
        uint32_t steps;
        double normalized;
        uint32_t expected;
    } cases[] = {
        { p.get(), 2, 0.6, 1 }, { p.get(), 2, 0.4, 0 }, { p.get(), 5, 0.5, 2 }, { p.get(), 5, 0.62, 2 },
        { p.get(), 5, 0.63, 3 }, { p.get(), 1, 0.9, 0 }, { p.get(), 0x7fffffff, 1.0, 0x7ffffffe },
    };
    for (const auto& c : cases)
    {
        c.parameter->SetNumberOfSteps(c.steps);
        c.parameter->SetNormalizedValue(c.normalized);
        EXPECT_EQ(c.parameter->GetStepValue(), c.expected) << c.steps << " steps at " << c.normalized;
    }
}

TEST(AaxString, NumbersErasingAndComparing)
{
    AAX_CString s;
    s.AppendNumber(0.5, 3);
    EXPECT_STREQ(s.Get(), "0.500");
    EXPECT_EQ(s.Length(), 5u);
    EXPECT_EQ(s.MaxLength(), 0xFFFFFFFEu);

    double value = 9.0;
    EXPECT_FALSE(AAX_CString("abc").ToDouble(&value));
    EXPECT_EQ(value, 0.0);

    struct Case
    {
        uint32_t position, count;
        const char* expected;
    } cases[] = { { 1, 10, "a" }, { 1, 2, "ade" }, { 0, 5, "" }, { 4, 1, "abcd" }, { 9, 1, "abcde" } };
    for (const auto& c : cases)
    {
        AAX_CString t("abcde");
        t.Erase(c.position, c.count);
        EXPECT_STREQ(t.Get(), c.expected) << c.position << "," << c.count;
    }

    EXPECT_STREQ(AAX_CString(static_cast<const char*>(nullptr)).Get(), "");
    EXPECT_TRUE(AAX_CString("ab") != AAX_CString("abc"));
}

TEST(AaxParameterManager, FindsByExactIdentifierAndIndex)
{
    AAX_CParameterManager manager;
    EXPECT_TRUE(manager.AddParameter(bypassParameter().release()));
    EXPECT_TRUE(manager.AddParameter(floatParameter("5", 0.1f).release()));
    auto duplicate = floatParameter("5", 0.9f);
    EXPECT_FALSE(manager.AddParameter(duplicate.get())) << "the first of an identifier stays";
    EXPECT_FALSE(manager.AddParameter(nullptr));

    EXPECT_EQ(manager.NumParameters(), 2);
    EXPECT_EQ(manager.ControlIndexFromID("MasterBypassID"), 0);
    EXPECT_FLOAT_EQ(float(manager.GetParameterByID("5")->GetNormalizedValue()), 0.1f);

    for (const char* unknown : { "abc", "", "35", "05", "5 ", static_cast<const char*>(nullptr) })
    {
        EXPECT_EQ(manager.GetParameterByID(unknown), nullptr) << (unknown ? unknown : "null");
        EXPECT_EQ(manager.ControlIndexFromID(unknown), -1) << (unknown ? unknown : "null");
    }
    EXPECT_EQ(manager.GetParameter(-1), nullptr);
    EXPECT_EQ(manager.GetParameter(2), nullptr);
    EXPECT_STREQ(manager.GetParameter(1)->Identifier(), "5");
}

TEST(AaxMutex, DoesNotNestAndOnlyItsHolderUnlocks)
{
    AAX_CMutex mutex;
    ASSERT_TRUE(mutex.Lock());
    EXPECT_FALSE(mutex.Lock()) << "the holder locking again gets false";

    std::thread([&] { mutex.Unlock(); }).join();   // not the holder: no effect
    auto other = std::async(std::launch::async, [&] {
        const bool took = mutex.Lock();
        if (took)
            mutex.Unlock();
        return took;
    });
    EXPECT_EQ(other.wait_for(std::chrono::milliseconds(50)), std::future_status::timeout) << "still held";

    mutex.Unlock();
    EXPECT_TRUE(other.get());
}
