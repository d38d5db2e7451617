// The plug-in's unit against careless and hostile hosts: its own properties
// with wrong sizes and null pointers, class-info dictionaries that carry
// anything under "jucePluginState", and renders it was not made ready for.
// Every call answers a status; nothing that was refused changes anything.
#include "AdapterTestSupport.h"
#include "ComponentManager.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <random>
#include <vector>

namespace
{
constexpr OSStatus kParamError = -50, kNoProperty = -10879, kBadValue = -10851, kTooManyFrames = -10874,
                   kUninitialized = -10867;

class JuceAUHostileTest : public UnitTest
{
protected:
    // Values that differ from every default, so that a load that changed
    // anything shows.
    void setKnownValues()
    {
        for (AudioUnitParameterID i = 0; i < 35; ++i)
            ASSERT_EQ(unit->setParameter(i, 0, 0, known(i), 0), 0);
    }

    static Float32 known(AudioUnitParameterID i) { return (i % 2 == 0) ? 0.125f + 0.0125f * (float) i : 0.0f + (i % 3 == 0); }

    void expectKnownValues(const char* what)
    {
        for (AudioUnitParameterID i = 0; i < 35; ++i)
        {
            Float32 v = -1.0f;
            ASSERT_EQ(unit->getParameter(i, 0, 0, &v), 0);
            EXPECT_EQ(v, known(i)) << what << ": parameter " << i;
        }
    }
};

INSTANTIATE_TEST_SUITE_P(BothWays, JuceAUHostileTest, ::testing::Values(Way::factory, Way::component),
                         [](const auto& info) { return std::string(wayName(info.param)); });

TEST_P(JuceAUHostileTest, OwnPropertiesWithWrongSizesAndNullPointers)
{
    const AudioUnitPropertyID own[] = { 31, 37, 1000, 0x1a45ffe9 };
    for (AudioUnitPropertyID id : own)
    {
        unsigned char buffer[32];
        EXPECT_EQ(unit->getProperty(id, 0, 0, buffer, nullptr), kParamError) << "property " << id << ", no size";
        UInt32 size = 0;
        EXPECT_EQ(unit->getProperty(id, 0, 0, buffer, &size), kParamError) << "property " << id << ", size 0";
        UInt32 asked = 99;
        EXPECT_EQ(unit->getProperty(id, 0, 0, nullptr, &asked), 0) << "property " << id << ", size only";
        EXPECT_EQ(asked, id == 31 || id == 0x1a45ffe9 ? 16u : 4u) << "property " << id;

        // A short buffer gets the first bytes, nothing past them; a reference
        // the host did not receive whole is released by the unit (the
        // sanitizer build reports it otherwise).
        std::memset(buffer, 0xAB, sizeof(buffer));
        size = 3;
        EXPECT_EQ(unit->getProperty(id, 0, 0, buffer, &size), 0) << "property " << id;
        EXPECT_EQ(size, 3u);
        for (size_t i = 3; i < sizeof(buffer); ++i)
            ASSERT_EQ(buffer[i], 0xAB) << "property " << id << ": byte " << i << " written";

        EXPECT_EQ(unit->setProperty(id, 0, 0, buffer, 0), kParamError) << "property " << id << ", data without size";
        EXPECT_EQ(unit->setProperty(id, 0, 0, nullptr, 4), kParamError) << "property " << id << ", size without data";
    }

    // The Cocoa-view record cut after its first reference: the name is
    // released, the host keeps the URL.
    AudioUnitCocoaViewInfo info {};
    UInt32 size = 8;
    ASSERT_EQ(unit->getProperty(31, 0, 0, &info, &size), 0);
    EXPECT_EQ(info.mCocoaAUViewClass[0], nullptr);
    ASSERT_NE(info.mCocoaAUViewBundleLocation, nullptr);
    CFRelease(info.mCocoaAUViewBundleLocation);

    // Parameter information cut before its name: the name goes too.
    unsigned char head[60];
    size = sizeof(head);
    ASSERT_EQ(unit->getProperty(kAudioUnitProperty_ParameterInfo, 0, 4, head, &size), 0);
    EXPECT_STREQ(reinterpret_cast<const char*>(head), "Rotate");

    // Read-only and refused writes.
    unsigned char sixteen[16] = {};
    EXPECT_EQ(unit->setProperty(1000, 0, 0, sixteen, 4), kNoProperty);
    EXPECT_EQ(unit->setProperty(0x1a45ffe9, 0, 0, sixteen, 16), kNoProperty);
    EXPECT_EQ(unit->setProperty(31, 0, 0, sixteen, 16), kNoProperty);
    const unsigned char one = 1;
    EXPECT_EQ(unit->setProperty(37, 0, 0, &one, 1), kBadValue) << "a 1-byte value for a 4-byte property";
    UInt32 offline = 9;
    EXPECT_EQ(unit->get(37, 0, 0, offline), 0);
    EXPECT_EQ(offline, 0u) << "the refused write changed nothing";
}

// Whatever lies under "jucePluginState", the answer is the class info's,
// and a state that is not a state of ours changes no parameter.
TEST_P(JuceAUHostileTest, HostileStatesChangeNothing)
{
    setKnownValues();

    CFPropertyListRef saved = nullptr;
    ASSERT_EQ(unit->get(kAudioUnitProperty_ClassInfo, 0, 0, saved), 0);
    CFHolder holdSaved(saved);
    CFHolder key(makeString("jucePluginState"));
    auto blob = static_cast<CFDataRef>(CFDictionaryGetValue(static_cast<CFDictionaryRef>(saved), key.ref));
    ASSERT_NE(blob, nullptr);
    const std::vector<UInt8> good(CFDataGetBytePtr(blob), CFDataGetBytePtr(blob) + CFDataGetLength(blob));

    std::mt19937 random(1234);
    std::vector<UInt8> noise(4096);
    for (auto& b : noise)
        b = (UInt8) random();
    std::vector<UInt8> flipped = good;
    for (size_t i = 40; i < flipped.size(); i += 97)
        flipped[i] ^= 0x5A;

    const SInt32 seven = 7;
    CFHolder number(CFNumberCreate(nullptr, kCFNumberSInt32Type, &seven));
    CFHolder string(makeString("QVParameters"));
    CFHolder empty(CFDataCreate(nullptr, nullptr, 0));
    CFHolder truncated(CFDataCreate(nullptr, good.data(), (CFIndex) good.size() / 2));
    CFHolder oneByte(CFDataCreate(nullptr, good.data(), 1));
    CFHolder random4k(CFDataCreate(nullptr, noise.data(), (CFIndex) noise.size()));
    CFHolder corrupted(CFDataCreate(nullptr, flipped.data(), (CFIndex) flipped.size()));

    const struct
    {
        const char* what;
        CFTypeRef value;
    } rows[] = {
        { "a number", number.ref },          { "a string", string.ref },       { "empty data", empty.ref },
        { "half a state", truncated.ref },   { "one byte", oneByte.ref },      { "4 KiB of noise", random4k.ref },
        { "a state with flipped bytes", corrupted.ref }, { "nothing", nullptr },
    };
    for (const auto& r : rows)
    {
        CFMutableDictionaryRef dict = CFDictionaryCreateMutableCopy(nullptr, 0, static_cast<CFDictionaryRef>(saved));
        CFHolder holdDict(dict);
        if (r.value != nullptr)
            CFDictionarySetValue(dict, key.ref, r.value);
        else
            CFDictionaryRemoveValue(dict, key.ref);
        // The base part of the dictionary is the unit's own; only the
        // parameter values of the processor could change.
        for (AudioUnitParameterID i = 0; i < 35; ++i)
            unit->setParameter(i, 0, 0, known(i), 0);

        EXPECT_EQ(unit->set(kAudioUnitProperty_ClassInfo, 0, 0, static_cast<CFPropertyListRef>(dict)), 0) << r.what;
        if (r.value == corrupted.ref)
        {
            // The loader takes what still parses; whatever it takes is in range.
            for (AudioUnitParameterID i = 0; i < 35; ++i)
            {
                Float32 v = -1.0f;
                ASSERT_EQ(unit->getParameter(i, 0, 0, &v), 0);
                EXPECT_TRUE(v >= 0.0f && v <= 1.0f) << r.what << ": parameter " << i << " = " << v;
            }
            continue;
        }
        expectKnownValues(r.what);
    }

    // Not class info at all.
    CFHolder notADict(makeString("class info"));
    EXPECT_EQ(unit->set(kAudioUnitProperty_ClassInfo, 0, 0, static_cast<CFPropertyListRef>(notADict.ref)), kBadValue);
    EXPECT_EQ(unit->set(kAudioUnitProperty_ClassInfo, 0, 0, static_cast<CFPropertyListRef>(nullptr)), kBadValue);

    // Another unit's class info (manufacturer differs) is refused whole: the
    // state in it is not read.
    CFMutableDictionaryRef foreign = CFDictionaryCreateMutableCopy(nullptr, 0, static_cast<CFDictionaryRef>(saved));
    CFHolder holdForeign(foreign);
    const SInt32 otherMaker = 0x41424344;
    CFHolder maker(CFNumberCreate(nullptr, kCFNumberSInt32Type, &otherMaker));
    CFHolder makerKey(makeString("manufacturer"));
    CFDictionarySetValue(foreign, makerKey.ref, maker.ref);
    unit->setParameter(4, 0, 0, 0.9f, 0);
    EXPECT_EQ(unit->set(kAudioUnitProperty_ClassInfo, 0, 0, static_cast<CFPropertyListRef>(foreign)), kBadValue);
    Float32 rotate = 0;
    ASSERT_EQ(unit->getParameter(4, 0, 0, &rotate), 0);
    EXPECT_EQ(rotate, 0.9f) << "a refused class info loads no state";
}

TEST_P(JuceAUHostileTest, RendersTheUnitWasNotMadeReadyFor)
{
    ChannelBuffers out(6, kBlock, 9.0f);
    AudioUnitRenderActionFlags flags = 0;
    const AudioTimeStamp time = sampleTime(0);
    EXPECT_EQ(unit->render(&flags, &time, 0, kBlock, out.list()), kUninitialized) << "before initialisation";
    EXPECT_EQ(unit->render(&flags, nullptr, 0, kBlock, out.list()), kParamError) << "no time stamp";
    EXPECT_EQ(unit->render(&flags, &time, 0, kBlock, nullptr), kParamError) << "no buffer list";

    SteadyInput input { { 0.5f } };
    ASSERT_EQ(startUnit(*unit, 6, 6, input), 0);

    EXPECT_EQ(unit->render(&flags, &time, 0, 1157, out.list()), kTooManyFrames) << "one past the 1156 maximum";
    EXPECT_EQ(unit->render(&flags, &time, 1, kBlock, out.list()), -10877) << "no output element 1";

    ChannelBuffers five(5, kBlock, 9.0f);
    EXPECT_EQ(unit->render(&flags, &time, 0, kBlock, five.list()), kParamError) << "five buffers for six channels";

    out.list()->mBuffers[2].mDataByteSize = kBlock * 4 - 4;
    EXPECT_EQ(unit->render(&flags, &time, 0, kBlock, out.list()), kParamError) << "a buffer one sample short";
    out.restorePointers();
    out.list()->mBuffers[4].mData = nullptr;
    EXPECT_EQ(unit->render(&flags, &time, 0, kBlock, out.list()), kParamError) << "one buffer without memory";
    out.restorePointers();

    for (UInt32 c = 0; c < 6; ++c)
        for (UInt32 j = 0; j < kBlock; ++j)
            ASSERT_EQ(out.channel(c)[j], 9.0f) << "a refused render wrote output " << c;
    EXPECT_EQ(input.pulls, 0) << "nothing was pulled for a refused render";

    // Uninitialised again, nothing renders.
    ASSERT_EQ(unit->uninitialize(), 0);
    EXPECT_EQ(unit->render(&flags, &time, 0, kBlock, out.list()), kUninitialized);
}

// Values and indices a host should not send: every call answers, the audio
// stays finite.
TEST_P(JuceAUHostileTest, WildParametersKeepTheAudioFinite)
{
    SteadyInput input { { 1.0f, 0.5f, 0.5f, 0.5f, 0.0f, 0.0f, 0.0f, 0.0f } };
    ASSERT_EQ(startUnit(*unit, 8, 8, input), 0);
    const Float32 wild[] = { std::nanf(""), 1e30f, -1e30f, 7.5f, -0.5f };
    for (AudioUnitParameterID id = 0; id < 50; ++id)
        for (Float32 v : wild)
            EXPECT_EQ(unit->setParameter(id, 0, 0, v, 0), 0) << "parameter " << id;
    for (AudioUnitParameterID id : { 50u, 1000u, 0x7FFFFFFFu, 0xFFFFFFFFu })
        EXPECT_EQ(unit->setParameter(id, 0, 0, 0.5f, 0), 0) << "index " << id << " is ignored";

    ChannelBuffers out(8, kBlock);
    Float64 t = 0;
    ASSERT_EQ(renderBlocks(*unit, out, 4, t), 0);
    for (UInt32 c = 0; c < 8; ++c)
        for (UInt32 j = 0; j < kBlock; ++j)
            ASSERT_TRUE(std::isfinite(out.channel(c)[j])) << "output " << c << " sample " << j;
}
} // namespace
