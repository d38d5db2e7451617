// The CoreFoundation subset: the platform's constants, number conversions,
// UTF-8 strings, and the retain and release rules of dictionaries and arrays.
#include "CFTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

namespace
{
TEST(CoreFoundation, PublishedConstants)
{
    EXPECT_EQ(kCFNumberSInt8Type, 1);
    EXPECT_EQ(kCFNumberSInt32Type, 3);
    EXPECT_EQ(kCFNumberSInt64Type, 4);
    EXPECT_EQ(kCFNumberFloat32Type, 5);
    EXPECT_EQ(kCFNumberFloat64Type, 6);
    EXPECT_EQ(kCFNumberIntType, 9);
    EXPECT_EQ(kCFNumberDoubleType, 13);
    EXPECT_EQ(kCFNumberCGFloatType, 16);
    EXPECT_EQ((UInt32) kCFStringEncodingUTF8, 0x08000100u);
    EXPECT_EQ((UInt32) kCFStringEncodingASCII, 0x0600u);
    EXPECT_EQ(kCFAllocatorDefault, nullptr);
    EXPECT_EQ(kCFTypeDictionaryKeyCallBacks.version, 0);
    EXPECT_NE(kCFTypeDictionaryKeyCallBacks.hash, nullptr);
}

TEST(CoreFoundation, NumbersConvertAndSayWhenTheyLoseSomething)
{
    struct Row
    {
        const char* what;
        CFNumberType from;
        double value;
        CFNumberType to;
        double expected;
        bool exact;
    };
    const Row rows[] = {
        { "7 as SInt8", kCFNumberSInt32Type, 7, kCFNumberSInt8Type, 7, true },
        { "7 as Float32", kCFNumberSInt32Type, 7, kCFNumberFloat32Type, 7, true },
        { "0.5 as SInt32", kCFNumberFloat64Type, 0.5, kCFNumberSInt32Type, 0, false },
        { "-2.75 as SInt32", kCFNumberFloat64Type, -2.75, kCFNumberSInt32Type, -2, false },
        { "300 as SInt8", kCFNumberSInt32Type, 300, kCFNumberSInt8Type, 127, false },
        { "-300 as SInt16", kCFNumberSInt32Type, -300, kCFNumberSInt16Type, -300, true },
        { "1e300 as Float32", kCFNumberFloat64Type, 1e300, kCFNumberFloat32Type, INFINITY, false },
        { "0.1 as Float32", kCFNumberFloat64Type, 0.1, kCFNumberFloat32Type, (double) 0.1f, false },
        { "0.25 as Float32", kCFNumberFloat64Type, 0.25, kCFNumberFloat32Type, 0.25, true },
        { "1e19 as SInt64", kCFNumberFloat64Type, 1e19, kCFNumberSInt64Type, 9223372036854775807.0, false },
        { "NaN as SInt32", kCFNumberFloat64Type, NAN, kCFNumberSInt32Type, 0, false },
    };
    for (const auto& r : rows)
    {
        const int32_t asInteger = r.from == kCFNumberSInt32Type ? (int32_t) r.value : 0;
        CFHolder n(r.from == kCFNumberFloat64Type ? CFNumberCreate(nullptr, r.from, &r.value)
                                              : CFNumberCreate(nullptr, r.from, &asInteger));
        ASSERT_NE(n.ref, nullptr) << r.what;
        EXPECT_EQ(CFGetTypeID(n.ref), CFNumberGetTypeID());
        EXPECT_EQ(CFNumberGetType((CFNumberRef) n.ref), r.from) << r.what;

        union
        {
            int8_t i8;
            int16_t i16;
            int32_t i32;
            int64_t i64;
            float f;
        } out {};
        EXPECT_EQ(CFNumberGetValue((CFNumberRef) n.ref, r.to, &out) != 0, r.exact) << r.what;
        double got = 0;
        switch (r.to)
        {
            case kCFNumberSInt8Type: got = out.i8; break;
            case kCFNumberSInt16Type: got = out.i16; break;
            case kCFNumberSInt32Type: got = out.i32; break;
            case kCFNumberSInt64Type: got = (double) out.i64; break;
            default: got = out.f; break;
        }
        EXPECT_EQ(got, r.expected) << r.what;
    }

    int32_t two = 2;
    double twoPointZero = 2.0;
    CFHolder a(CFNumberCreate(nullptr, kCFNumberSInt32Type, &two));
    CFHolder b(CFNumberCreate(nullptr, kCFNumberFloat64Type, &twoPointZero));
    EXPECT_TRUE(CFEqual(a.ref, b.ref));
    EXPECT_EQ(CFHash(a.ref), CFHash(b.ref));
    EXPECT_EQ(CFNumberCreate(nullptr, 17, &two), nullptr) << "no such number type";
    EXPECT_EQ(CFNumberCreate(nullptr, kCFNumberSInt32Type, nullptr), nullptr);
}

TEST(CoreFoundation, StringsAreWellFormedUtf8)
{
    struct Row
    {
        const char* what;
        const char* bytes;
        bool valid;
        CFIndex utf16Length;
    };
    const Row rows[] = {
        { "ASCII", "render-quality", true, 14 },
        { "two-byte form", "Zo\xC3\xAB", true, 3 },
        { "four-byte form", "\xF0\x9F\x98\x80", true, 2 },
        { "empty", "", true, 0 },
        { "stray continuation", "\x80", false, 0 },
        { "cut two-byte form", "\xC3", false, 0 },
        { "overlong slash", "\xC0\xAF", false, 0 },
        { "surrogate", "\xED\xA0\x80", false, 0 },
        { "above U+10FFFF", "\xF4\x90\x80\x80", false, 0 },
    };
    for (const auto& r : rows)
    {
        CFHolder s(makeString(r.bytes));
        EXPECT_EQ(s.ref != nullptr, r.valid) << r.what;
        if (s.ref != nullptr)
        {
            EXPECT_EQ(CFStringGetLength((CFStringRef) s.ref), r.utf16Length) << r.what;
            EXPECT_STREQ(CFStringGetCStringPtr((CFStringRef) s.ref, kCFStringEncodingUTF8), r.bytes) << r.what;
        }
    }

    EXPECT_EQ(CFStringCreateWithCString(nullptr, "Zo\xC3\xAB", kCFStringEncodingASCII), nullptr);
    EXPECT_EQ(CFStringCreateWithCString(nullptr, "x", 0x0201), nullptr) << "an encoding this subset lacks";

    // The buffer must hold the text and its zero.
    CFHolder s(makeString("abc"));
    char buffer[4];
    EXPECT_FALSE(CFStringGetCString((CFStringRef) s.ref, buffer, 3, kCFStringEncodingUTF8));
    EXPECT_TRUE(CFStringGetCString((CFStringRef) s.ref, buffer, 4, kCFStringEncodingUTF8));
    EXPECT_STREQ(buffer, "abc");
    EXPECT_EQ(CFStringGetMaximumSizeForEncoding(5, kCFStringEncodingUTF8), 15);

    CFHolder url(CFURLCreateWithFileSystemPath(nullptr, (CFStringRef) s.ref, kCFURLPOSIXPathStyle, true));
    CFHolder back(CFURLCopyFileSystemPath((CFURLRef) url.ref, kCFURLPOSIXPathStyle));
    EXPECT_TRUE(CFEqual(back.ref, s.ref));
    EXPECT_EQ(CFGetTypeID(url.ref), CFURLGetTypeID());
}

TEST(CoreFoundation, DictionariesRetainKeysAndValuesAndCompareKeysByContent)
{
    CFHolder key(makeString("name"));
    CFHolder sameKey(makeString("name"));
    CFHolder value(makeString("value"));
    CFHolder other(makeString("other"));
    CFMutableDictionaryRef d =
        CFDictionaryCreateMutable(nullptr, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks);

    CFDictionarySetValue(d, key.ref, value.ref);
    EXPECT_EQ(CFGetRetainCount(key.ref), 2);
    EXPECT_EQ(CFGetRetainCount(value.ref), 2);
    EXPECT_EQ(CFDictionaryGetValue(d, sameKey.ref), value.ref) << "another string with the same text";

    CFDictionarySetValue(d, sameKey.ref, other.ref);
    EXPECT_EQ(CFDictionaryGetCount(d), 1);
    EXPECT_EQ(CFGetRetainCount(value.ref), 1) << "the replaced value is released";

    CFMutableDictionaryRef copy = CFDictionaryCreateMutableCopy(nullptr, 0, d);
    EXPECT_EQ(CFGetRetainCount(other.ref), 3);
    EXPECT_TRUE(CFEqual(copy, d));
    CFDictionaryRemoveValue(copy, key.ref);
    EXPECT_EQ(CFDictionaryGetCount(copy), 0);
    EXPECT_FALSE(CFEqual(copy, d));
    CFRelease(copy);

    const void* keys[1] = {};
    const void* values[1] = {};
    CFDictionaryGetKeysAndValues(d, keys, values);
    EXPECT_EQ(keys[0], key.ref);
    EXPECT_EQ(values[0], other.ref);
    CFRelease(d);
    EXPECT_EQ(CFGetRetainCount(key.ref), 1);
    EXPECT_EQ(CFGetRetainCount(other.ref), 1);

    // No call-backs: plain pointers, compared by address, never retained.
    int a = 0, b = 0;
    CFMutableDictionaryRef plain = CFDictionaryCreateMutable(nullptr, 0, nullptr, nullptr);
    CFDictionarySetValue(plain, &a, &b);
    EXPECT_EQ(CFDictionaryGetValue(plain, &a), &b);
    EXPECT_EQ(CFDictionaryGetValue(plain, &b), nullptr);
    CFRelease(plain);

    // An immutable dictionary stays as it was made.
    const void* k = key.ref;
    const void* v = value.ref;
    CFHolder fixed(CFDictionaryCreate(nullptr, &k, &v, 1, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks));
    CFDictionarySetValue((CFMutableDictionaryRef) fixed.ref, other.ref, other.ref);
    EXPECT_EQ(CFDictionaryGetCount((CFDictionaryRef) fixed.ref), 1);
    EXPECT_EQ(CFDictionaryGetCount((CFDictionaryRef) key.ref), 0) << "a string is not a dictionary";
}

TEST(CoreFoundation, ArraysAndData)
{
    CFHolder s(makeString("x"));
    const void* values[2] = { s.ref, s.ref };
    CFHolder retained(CFArrayCreate(nullptr, values, 2, &kCFTypeArrayCallBacks));
    EXPECT_EQ(CFGetRetainCount(s.ref), 3);
    EXPECT_EQ(CFArrayGetCount((CFArrayRef) retained.ref), 2);
    EXPECT_EQ(CFArrayGetValueAtIndex((CFArrayRef) retained.ref, 2), nullptr);
    EXPECT_EQ(CFArrayGetValueAtIndex((CFArrayRef) retained.ref, -1), nullptr);

    int raw = 0;
    CFMutableArrayRef plain = CFArrayCreateMutable(nullptr, 0, nullptr);
    CFArrayAppendValue(plain, &raw);
    EXPECT_EQ(CFArrayGetValueAtIndex(plain, 0), &raw);
    CFRelease(plain);

    const UInt8 bytes[3] = { 1, 2, 3 };
    CFHolder data(CFDataCreate(nullptr, bytes, 3));
    EXPECT_EQ(CFDataGetLength((CFDataRef) data.ref), 3);
    EXPECT_EQ(CFDataGetBytePtr((CFDataRef) data.ref)[2], 3);
    EXPECT_EQ(CFDataCreate(nullptr, bytes, -1), nullptr);
    EXPECT_EQ(CFDataCreate(nullptr, nullptr, 4), nullptr);
    CFDataAppendBytes((CFMutableDataRef) data.ref, bytes, 3);
    EXPECT_EQ(CFDataGetLength((CFDataRef) data.ref), 3) << "immutable";

    CFMutableDataRef grow = CFDataCreateMutable(nullptr, 0);
    CFDataAppendBytes(grow, bytes, 3);
    CFDataAppendBytes(grow, bytes, 2);
    EXPECT_EQ(CFDataGetLength(grow), 5);
    EXPECT_EQ(CFDataGetBytePtr(grow)[4], 2);
    CFRelease(grow);

    EXPECT_EQ(CFRetain(nullptr), nullptr);
    CFRelease(nullptr);
    EXPECT_EQ(CFGetTypeID(nullptr), 0u);
}
} // namespace
