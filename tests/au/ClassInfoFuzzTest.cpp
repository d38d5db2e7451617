// A bounded, seeded mutation run over class-info dictionaries: values of the
// wrong kind, missing and unknown keys, cut and flipped parameter blobs, huge
// counts and element indices. Each result is restored into a live unit; it
// must answer one of the statuses restoring can give, never grow a scope past
// what a state may make, and keep working. The sanitizer build runs it under
// ASan and UBSan.
#include "AUTestHost.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace
{
// std::mt19937 gives the same sequence everywhere; numbers are taken from it
// directly, not through distributions (which differ between libraries).
class DictionaryMutator
{
public:
    explicit DictionaryMutator(uint32_t seed) : random(seed) {}

    size_t below(size_t n) { return n == 0 ? 0 : static_cast<size_t>(random() % n); }

    CFMutableDictionaryRef mutate(CFDictionaryRef seed)
    {
        CFMutableDictionaryRef d = CFDictionaryCreateMutableCopy(nullptr, 0, seed);
        const size_t steps = 1 + below(4);
        for (size_t s = 0; s < steps; ++s)
            mutateOnce(d);
        return d;
    }

private:
    static constexpr const char* kKeys[] = { "version", "type",     "subtype",      "manufacturer", "data",
                                             "name",    "render-quality", "cpu-load", "element-name", "part" };

    void put(CFMutableDictionaryRef d, const char* key, CFTypeRef value)
    {
        CFHolder k(makeString(key));
        CFHolder v(value);
        CFDictionarySetValue(d, k.ref, v.ref);
    }

    CFTypeRef number(SInt32 v) { return CFNumberCreate(nullptr, kCFNumberSInt32Type, &v); }

    // A value of a random kind.
    CFTypeRef anyValue()
    {
        switch (below(7))
        {
            case 0: return number(interestingInt());
            case 1: { Float64 f = (Float64) interestingInt() + 0.5; return CFNumberCreate(nullptr, kCFNumberFloat64Type, &f); }
            case 2: return makeString(interestingKey().c_str());
            case 3: { auto b = randomBytes(below(40)); return CFDataCreate(nullptr, b.data(), (CFIndex) b.size()); }
            case 4: return CFDictionaryCreate(nullptr, nullptr, nullptr, 0, &kCFTypeDictionaryKeyCallBacks,
                                              &kCFTypeDictionaryValueCallBacks);
            case 5: return CFArrayCreate(nullptr, nullptr, 0, &kCFTypeArrayCallBacks);
            default: return elementNames();
        }
    }

    SInt32 interestingInt()
    {
        static const SInt32 values[] = { 0, 1, -1, 2, 3, 4, 7, 255, 256, 0x7FFFFFFF, (SInt32) 0x80000000,
                                         0x51767232, 0x5176616E, 0x61756678 };
        return values[below(sizeof(values) / sizeof(values[0]))];
    }

    std::string interestingKey()
    {
        static const char* keys[] = { "0", "1", "2", "3", "5", "255", "256", "4294967295", "4294967296", "-1",
                                      "abc", "", " 3", "3 ", "007", "99999999999999999999", "1e3", "+2" };
        return keys[below(sizeof(keys) / sizeof(keys[0]))];
    }

    std::vector<UInt8> randomBytes(size_t n)
    {
        std::vector<UInt8> b(n);
        for (auto& x : b)
            x = (UInt8) random();
        return b;
    }

    // {"scope": {"index": name}} with odd keys, odd values, sometimes many.
    CFTypeRef elementNames()
    {
        CFMutableDictionaryRef outer = CFDictionaryCreateMutable(nullptr, 0, &kCFTypeDictionaryKeyCallBacks,
                                                                 &kCFTypeDictionaryValueCallBacks);
        const size_t scopes = 1 + below(3);
        for (size_t s = 0; s < scopes; ++s)
        {
            CFMutableDictionaryRef inner = CFDictionaryCreateMutable(nullptr, 0, &kCFTypeDictionaryKeyCallBacks,
                                                                     &kCFTypeDictionaryValueCallBacks);
            const size_t n = below(8) == 0 ? 300 + below(300) : below(6);
            for (size_t i = 0; i < n; ++i)
            {
                const std::string key = n > 100 ? std::to_string(below(100000)) : interestingKey();
                CFHolder k(makeString(key.c_str()));
                CFHolder v(below(6) == 0 ? number(1) : makeString("name"));
                CFDictionarySetValue(inner, k.ref, v.ref);
            }
            CFHolder k(makeString(below(4) == 0 ? interestingKey().c_str() : std::to_string(below(4)).c_str()));
            CFDictionarySetValue(outer, k.ref, inner);
            CFRelease(inner);
        }
        return outer;
    }

    void mutateBlob(CFMutableDictionaryRef d)
    {
        CFHolder k(makeString("data"));
        auto data = static_cast<CFDataRef>(CFDictionaryGetValue(d, k.ref));
        std::vector<UInt8> b;
        if (data != nullptr && CFGetTypeID(data) == CFDataGetTypeID())
            b.assign(CFDataGetBytePtr(data), CFDataGetBytePtr(data) + CFDataGetLength(data));

        switch (below(6))
        {
            case 0: b.resize(below(b.size() + 1)); break; // cut
            case 1: if (! b.empty()) b[below(b.size())] ^= (UInt8) (1u << below(8)); break;
            case 2: if (b.size() >= 12) std::memset(b.data() + 8, 0xFF, 4); break; // a huge count
            case 3: if (b.size() >= 8) b[3] = (UInt8) below(8); break;             // another scope
            case 4: if (b.size() >= 8) std::memset(b.data() + 4, 0x7F, 4); break;  // a far element
            default: { auto extra = randomBytes(below(24)); b.insert(b.end(), extra.begin(), extra.end()); break; }
        }
        put(d, "data", CFDataCreate(nullptr, b.data(), (CFIndex) b.size()));
    }

    void mutateOnce(CFMutableDictionaryRef d)
    {
        const char* key = kKeys[below(sizeof(kKeys) / sizeof(kKeys[0]))];
        switch (below(6))
        {
            case 0: { CFHolder k(makeString(key)); CFDictionaryRemoveValue(d, k.ref); break; }
            case 1: put(d, key, anyValue()); break;
            case 2: mutateBlob(d); break;
            case 3: put(d, "element-name", elementNames()); break;
            case 4: put(d, interestingKey().c_str(), anyValue()); break;
            default: put(d, key, number(interestingInt())); break;
        }
    }

    std::mt19937 random;
};

bool isRestoreStatus(OSStatus s)
{
    // Restored; refused; a blob record for an unknown scope, or for a
    // parameter past an indexed element's end.
    return s == 0 || s == -10851 || s == -10866 || s == -10878;
}

void fuzz(Way way, uint32_t seed, int iterations)
{
    auto unit = openUnit(way);
    ASSERT_NE(unit, nullptr);

    // The seed state: a changed gain and a named input.
    ASSERT_EQ(unit->setParameter(0, 0, 0, 0.375f, 0), 0);
    CFHolder mic(makeString("Mic"));
    ASSERT_EQ(unit->set(kAudioUnitProperty_ElementName, 1, 0, mic.ref), 0);
    CFPropertyListRef seedState = nullptr;
    ASSERT_EQ(unit->get(kAudioUnitProperty_ClassInfo, 0, 0, seedState), 0);
    CFHolder held(seedState);

    DictionaryMutator mutator(seed);
    for (int i = 0; i < iterations; ++i)
    {
        CFHolder mutated(mutator.mutate(static_cast<CFDictionaryRef>(seedState)));
        const OSStatus s = unit->set(kAudioUnitProperty_ClassInfo, 0, 0, mutated.ref);
        ASSERT_TRUE(isRestoreStatus(s)) << "iteration " << i << " answered " << s;

        for (AudioUnitScope scope = 0; scope < 4; ++scope)
        {
            UInt32 n = 0;
            ASSERT_EQ(unit->get(kAudioUnitProperty_ElementCount, scope, 0, n), 0);
            ASSERT_LE(n, 256u) << "iteration " << i << " scope " << scope;
        }
        if (i % 64 == 0)
        {
            CFPropertyListRef again = nullptr;
            ASSERT_EQ(unit->get(kAudioUnitProperty_ClassInfo, 0, 0, again), 0) << "iteration " << i;
            CFRelease(again);
        }
    }

    // The unit still restores its own state and renders.
    ASSERT_EQ(unit->setParameter(0, 0, 0, 1.0f, 0), 0);
    ASSERT_EQ(unit->set(kAudioUnitProperty_ClassInfo, 0, 0, seedState), 0);
    Float32 gain = 0;
    ASSERT_EQ(unit->getParameter(0, 0, 0, &gain), 0);
    EXPECT_EQ(gain, 0.375f);

    ASSERT_EQ(unit->setInputCallback(
                  [](void*, AudioUnitRenderActionFlags*, const AudioTimeStamp*, UInt32, UInt32 frames,
                     AudioBufferList* list) {
                      for (UInt32 c = 0; c < list->mNumberBuffers; ++c)
                          for (UInt32 j = 0; j < frames; ++j)
                              static_cast<float*>(list->mBuffers[c].mData)[j] = 1.0f;
                      return OSStatus(0);
                  },
                  nullptr),
              0);
    ASSERT_EQ(unit->initialize(), 0);
    ChannelBuffers out(2, 32);
    AudioTimeStamp t = sampleTime(0);
    ASSERT_EQ(unit->render(nullptr, &t, 0, 32, out.list()), 0);
    EXPECT_EQ(out.channel(1)[31], 0.375f);
}

TEST(ClassInfoFuzz, FactoryInstanceSurvivesMutatedDictionaries)
{
    fuzz(Way::factory, 0x51767232u, 1500);
}

TEST(ClassInfoFuzz, ComponentInstanceSurvivesMutatedDictionaries)
{
    fuzz(Way::component, 20240611u, 500);
}
} // namespace
