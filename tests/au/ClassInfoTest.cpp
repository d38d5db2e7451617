// The class-info dictionary in-process: the parameter blob's exact bytes,
// restoring twice, blobs that end early, element names beyond the elements,
// and values of the wrong kind.
#include "CAXException.h"
#include "CFTestSupport.h"
#include "TestEffectUnit.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace
{
class StateUnit : public TestEffectUnit
{
public:
    explicit StateUnit(UInt32 parameters = 2) : TestEffectUnit(nullptr)
    {
        PostConstructor();
        Globals0()->UseIndexedParameters(parameters);
        for (UInt32 i = 0; i < parameters; ++i)
            Globals0()->SetParameter(i, 0.0f);
    }

    CFMutableDictionaryRef save()
    {
        CFPropertyListRef plist = nullptr;
        EXPECT_EQ(SaveState(&plist), 0);
        auto copy = CFDictionaryCreateMutableCopy(nullptr, 0, static_cast<CFDictionaryRef>(plist));
        CFRelease(plist);
        return copy;
    }

    std::vector<UInt8> blob()
    {
        CFHolder d(save());
        CFHolder key(makeString("data"));
        auto data = static_cast<CFDataRef>(CFDictionaryGetValue(static_cast<CFDictionaryRef>(d.ref), key.ref));
        return std::vector<UInt8>(CFDataGetBytePtr(data), CFDataGetBytePtr(data) + CFDataGetLength(data));
    }

    OSStatus restoreWithBlob(const std::vector<UInt8>& bytes)
    {
        CFHolder d(save());
        CFHolder key(makeString("data"));
        CFHolder data(CFDataCreate(nullptr, bytes.data(), (CFIndex) bytes.size()));
        CFDictionarySetValue((CFMutableDictionaryRef) d.ref, key.ref, data.ref);
        // As a host entry would: a thrown status is the answer.
        return AUCatchAll([&] { return RestoreState(d.ref); });
    }
};

TEST(ClassInfo, BlobOfThreeIndexedParameters)
{
    StateUnit unit(3);
    const std::vector<UInt8> expected = { 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 3, // scope 0, element 0, count 3
                                          0, 0, 0, 0, 0, 0, 0, 0,              // (0, 0.0)
                                          0, 0, 0, 1, 0, 0, 0, 0,              // (1, 0.0)
                                          0, 0, 0, 2, 0, 0, 0, 0 };            // (2, 0.0)
    EXPECT_EQ(unit.blob(), expected);

    // -2.5 is 0xC0200000.
    unit.Globals0()->SetParameter(1, -2.5f);
    const std::vector<UInt8> b = unit.blob();
    EXPECT_EQ(std::vector<UInt8>(b.begin() + 20, b.begin() + 28), (std::vector<UInt8> { 0, 0, 0, 1, 0xC0, 0x20, 0, 0 }));
}

TEST(ClassInfo, RestoringTwiceGivesTheSameState)
{
    StateUnit unit;
    unit.Globals0()->SetParameter(0, 0.125f);
    CFHolder saved(unit.save());
    ASSERT_EQ(unit.RestoreState(saved.ref), 0);
    const std::vector<UInt8> once = unit.blob();
    ASSERT_EQ(unit.RestoreState(saved.ref), 0);
    EXPECT_EQ(unit.blob(), once);
    EXPECT_EQ(unit.Globals0()->GetParameter(0), 0.125f);
}

TEST(ClassInfo, BlobsThatEndEarlyOrNameUnknownPlaces)
{
    StateUnit unit;
    auto record = [](UInt32 scope, UInt32 element, std::vector<std::pair<UInt32, float>> pairs, UInt32 count) {
        std::vector<UInt8> b;
        auto put = [&](UInt32 v) {
            for (int s = 24; s >= 0; s -= 8)
                b.push_back(UInt8(v >> s));
        };
        put(scope);
        put(element);
        put(count);
        for (auto& p : pairs)
        {
            UInt32 bits;
            std::memcpy(&bits, &p.second, 4);
            put(p.first);
            put(bits);
        }
        return b;
    };

    // A whole record, then one whose count promises more pairs than follow.
    std::vector<UInt8> blob = record(0, 0, { { 0, 0.75f } }, 1);
    const std::vector<UInt8> cut = record(0, 0, { { 1, 0.5f } }, 1000000);
    blob.insert(blob.end(), cut.begin(), cut.end());
    EXPECT_EQ(unit.restoreWithBlob(blob), 0);
    EXPECT_EQ(unit.Globals0()->GetParameter(0), 0.75f);
    EXPECT_EQ(unit.Globals0()->GetParameter(1), 0.0f) << "the cut record was not read";

    EXPECT_EQ(unit.restoreWithBlob(record(0, 4, { { 0, 0.25f } }, 1)), 0) << "no element 4: the walk stops";
    EXPECT_EQ(unit.Globals0()->GetParameter(0), 0.75f);
    EXPECT_EQ(unit.restoreWithBlob(record(7, 0, { { 0, 0.25f } }, 1)), -10866) << "scope 7 does not exist";
    EXPECT_EQ(unit.restoreWithBlob(record(0, 0, { { 9, 0.25f } }, 1)), -10878) << "past the indexed parameters";
    EXPECT_EQ(unit.restoreWithBlob({ 0, 0, 0 }), 0) << "three stray bytes";
}

TEST(ClassInfo, ElementNamesOutsideTheScopeAreIgnored)
{
    struct Row
    {
        const char* key;
        UInt32 inputsAfter;
        bool named;
    };
    const Row rows[] = {
        { "0", 1, true },   { "abc", 1, false }, { "-1", 1, false },  { "4294967295", 1, false },
        { " 1", 1, false }, { "256", 1, false }, { "2", 3, true },     { "255", 256, true },
    };
    for (const auto& r : rows)
    {
        StateUnit unit;
        CFHolder saved(unit.save());
        CFHolder name(makeString("N"));
        CFHolder key(makeString(r.key));
        CFHolder inner(CFDictionaryCreate(nullptr, &key.ref, &name.ref, 1, &kCFTypeDictionaryKeyCallBacks,
                                      &kCFTypeDictionaryValueCallBacks));
        CFHolder one(makeString("1"));
        CFHolder outer(CFDictionaryCreate(nullptr, &one.ref, &inner.ref, 1, &kCFTypeDictionaryKeyCallBacks,
                                      &kCFTypeDictionaryValueCallBacks));
        CFHolder elementName(makeString("element-name"));
        CFDictionarySetValue((CFMutableDictionaryRef) saved.ref, elementName.ref, outer.ref);

        EXPECT_EQ(unit.RestoreState(saved.ref), 0) << r.key;
        EXPECT_EQ(unit.Inputs().GetNumberOfElements(), r.inputsAfter) << r.key;
        const UInt32 last = unit.Inputs().GetNumberOfElements() - 1;
        EXPECT_EQ(unit.Inputs().GetElement(last)->HasName(), r.named) << r.key;
    }
}

TEST(ClassInfo, ValuesOfTheWrongKindAreRefused)
{
    StateUnit unit;
    unit.Globals0()->SetParameter(0, 0.5f);
    const Float64 half = 0.5;
    CFHolder fraction(CFNumberCreate(nullptr, kCFNumberFloat64Type, &half));
    CFHolder text(makeString("0"));
    const SInt32 zero = 0;
    CFHolder number(CFNumberCreate(nullptr, kCFNumberSInt32Type, &zero));
    CFHolder inner(CFDictionaryCreate(nullptr, (const void**) &text.ref, &number.ref, 1, &kCFTypeDictionaryKeyCallBacks,
                                  &kCFTypeDictionaryValueCallBacks)); // {"0": 0}: a name that is a number
    CFHolder names(CFDictionaryCreate(nullptr, (const void**) &text.ref, &inner.ref, 1, &kCFTypeDictionaryKeyCallBacks,
                                  &kCFTypeDictionaryValueCallBacks));

    struct Row
    {
        const char* key;
        CFTypeRef value;
    };
    const Row rows[] = { { "version", text.ref },      { "version", fraction.ref },  { "subtype", text.ref },
                         { "manufacturer", fraction.ref }, { "type", text.ref },     { "data", number.ref },
                         { "element-name", text.ref }, { "element-name", names.ref } };
    for (const auto& r : rows)
    {
        CFHolder saved(unit.save());
        CFHolder key(makeString(r.key));
        CFDictionarySetValue((CFMutableDictionaryRef) saved.ref, key.ref, r.value);
        unit.Globals0()->SetParameter(0, 0.25f);
        EXPECT_EQ(unit.RestoreState(saved.ref), -10851) << r.key;
        EXPECT_EQ(unit.Globals0()->GetParameter(0), 0.25f) << r.key << ": nothing applied";
        unit.Globals0()->SetParameter(0, 0.5f);
    }
    EXPECT_EQ(unit.RestoreState(text.ref), -10851) << "not a dictionary";
}
} // namespace
