// The built Quorvane2AU.so driven as a host drives it, through the factory
// and through the component entry: identity and properties, parameters,
// initialisation for every channel pair, decoded audio, the output layout by
// channel-layout tag, saved state and bypass.
#include "AdapterTestSupport.h"
#include "ComponentManager.h"
#include "DecoderFigures.h"

#include "PlatformObjCRuntime.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

using DecoderFigures::virtualMic;

namespace
{
constexpr OSStatus kNoProperty = -10879, kBadValue = -10851, kBadParameter = -10878, kFormatNotSupported = -10868,
                   kUninitialized = -10867;

class JuceAUTest : public UnitTest
{
protected:
    Float32 parameter(HostUnit& u, AudioUnitParameterID id)
    {
        Float32 v = -1.0f;
        EXPECT_EQ(u.getParameter(id, kAudioUnitScope_Global, 0, &v), 0) << "parameter " << id;
        return v;
    }

    OSStatus setLayout(HostUnit& u, AudioChannelLayoutTag tag)
    {
        const AudioChannelLayout layout = layoutWithTag(tag);
        return u.set(kAudioUnitProperty_AudioChannelLayout, kAudioUnitScope_Output, 0, layout);
    }
};

INSTANTIATE_TEST_SUITE_P(BothWays, JuceAUTest, ::testing::Values(Way::factory, Way::component),
                         [](const auto& info) { return std::string(wayName(info.param)); });

std::string text(CFStringRef s)
{
    const char* p = CFStringGetCStringPtr(s, kCFStringEncodingUTF8);
    return p != nullptr ? p : "<none>";
}

// ---- Identity and properties -------------------------------------------------------

TEST_P(JuceAUTest, PropertyInfoOfTheUnitsOwnAndInheritedProperties)
{
    const struct
    {
        AudioUnitPropertyID id;
        AudioUnitScope scope;
        OSStatus status;
        UInt32 size;
        bool writable;
    } rows[] = {
        { 31, 0, 0, 16, true },            // Cocoa view record
        { 37, 0, 0, 4, true },             // offline render
        { 1000, 0, 0, 4, false },
        { 0x1a45ffe9, 0, 0, 16, false },   // view link
        { 31, 2, kNoProperty, 0, false },  // global scope only
        { 37, 1, kNoProperty, 0, false },
        { 1000, 2, kNoProperty, 0, false },
        { 0x1a45ffe9, 1, kNoProperty, 0, false },
        { 12, 0, 0, 8, false },            // latency
        { 20, 0, 0, 8, false },            // tail: supported
        { 13, 0, 0, 52, false },           // 13 channel pairs
        { 32, 2, 0, 20, false },           // five layout tags on the output scope
        { 32, 1, kNoProperty, 0, false },  // none on the input scope
        { 24, 0, 0, 8, false },            // factory presets
        { 21, 0, 0, 4, true },             // bypass
        { 3, 0, 0, 140, false },           // 35 parameters
    };
    for (const auto& r : rows)
    {
        UInt32 size = 0xDEAD;
        Boolean writable = 2;
        EXPECT_EQ(unit->getPropertyInfo(r.id, r.scope, 0, &size, &writable), r.status)
            << "property " << r.id << " scope " << r.scope;
        if (r.status == 0)
        {
            EXPECT_EQ(size, r.size) << "property " << r.id;
            EXPECT_EQ(writable != 0, r.writable) << "property " << r.id;
        }
    }
}

TEST_P(JuceAUTest, FixedAnswers)
{
    UInt32 one = 0;
    EXPECT_EQ(unit->get(1000, 0, 0, one), 0);
    EXPECT_EQ(one, 1u);

    Float64 latency = -1, tail = -1;
    EXPECT_EQ(unit->get(kAudioUnitProperty_Latency, 0, 0, latency), 0);
    EXPECT_DOUBLE_EQ(latency, 1.0 / 44100.0) << "one sample at 44.1 kHz";
    EXPECT_EQ(unit->get(kAudioUnitProperty_TailTime, 0, 0, tail), 0);
    EXPECT_EQ(tail, 0.0);

    ASSERT_EQ(unit->setChannels(kAudioUnitScope_Output, 2, 48000.0), 0);
    EXPECT_EQ(unit->get(kAudioUnitProperty_Latency, 0, 0, latency), 0);
    EXPECT_DOUBLE_EQ(latency, 1.0 / 48000.0) << "one sample at the output's new rate";

    AUChannelInfo pairs[13] {};
    UInt32 size = sizeof(pairs);
    ASSERT_EQ(unit->getProperty(kAudioUnitProperty_SupportedNumChannels, 0, 0, pairs, &size), 0);
    const SInt16 expected[13][2] = { { 2, 2 }, { 2, 4 }, { 2, 6 }, { 2, 7 }, { 2, 8 }, { 4, 2 }, { 6, 2 },
                                     { 7, 2 }, { 8, 2 }, { 4, 4 }, { 6, 6 }, { 7, 7 }, { 8, 8 } };
    for (int i = 0; i < 13; ++i)
    {
        EXPECT_EQ(pairs[i].inChannels, expected[i][0]) << "pair " << i;
        EXPECT_EQ(pairs[i].outChannels, expected[i][1]) << "pair " << i;
    }

    AudioChannelLayoutTag tags[5] {};
    size = sizeof(tags);
    ASSERT_EQ(unit->getProperty(kAudioUnitProperty_SupportedChannelLayoutTags, kAudioUnitScope_Output, 0, tags, &size), 0);
    const AudioChannelLayoutTag offered[5] = { 0x790006, 0x7D0007, 0x800008, 0x650002, 0x6C0004 };
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(tags[i], offered[i]) << "tag " << i;

    if (GetParam() == Way::component)
    {
        const OSStatus version = ComponentCall(kComponentVersionSelect, unit->handle())
                                     .call(testPluginModule().entry(), GetComponentInstanceStorage(unit->handle()));
        EXPECT_EQ(version, 1);
    }
}

TEST_P(JuceAUTest, BothElementsStartWithTheSameFormat)
{
    for (AudioUnitScope scope : { kAudioUnitScope_Input, kAudioUnitScope_Output })
    {
        AudioStreamBasicDescription f {};
        ASSERT_EQ(unit->get(kAudioUnitProperty_StreamFormat, scope, 0, f), 0);
        EXPECT_EQ(f.mSampleRate, 44100.0) << "scope " << scope;
        EXPECT_EQ(f.mFormatID, 0x6C70636Du) << "'lpcm'";
        EXPECT_EQ(f.mFormatFlags, 0x29u) << "float, packed, non-interleaved";
        EXPECT_EQ(f.mBytesPerPacket, 4u);
        EXPECT_EQ(f.mFramesPerPacket, 1u);
        EXPECT_EQ(f.mBytesPerFrame, 4u);
        EXPECT_EQ(f.mChannelsPerFrame, 2u);
        EXPECT_EQ(f.mBitsPerChannel, 32u);
    }
}

// The record of property 31: the plug-in's own file and the factory class,
// registered once per process under a random name.
TEST_P(JuceAUTest, CocoaViewRecordNamesThisFileAndTheFactoryClass)
{
    AudioUnitCocoaViewInfo info {};
    UInt32 size = sizeof(info);
    ASSERT_EQ(unit->getProperty(kAudioUnitProperty_CocoaUI, 0, 0, &info, &size), 0);
    CFHolder url(info.mCocoaAUViewBundleLocation), name(info.mCocoaAUViewClass[0]);
    ASSERT_NE(info.mCocoaAUViewBundleLocation, nullptr);
    ASSERT_NE(info.mCocoaAUViewClass[0], nullptr);

    CFHolder path(CFURLCopyFileSystemPath(info.mCocoaAUViewBundleLocation, kCFURLPOSIXPathStyle));
    char* real = realpath(QV_AU_PLUGIN_PATH, nullptr);
    ASSERT_NE(real, nullptr);
    EXPECT_EQ(text(static_cast<CFStringRef>(path.ref)), std::string(real));
    std::free(real);

    const std::string className = text(info.mCocoaAUViewClass[0]);
    EXPECT_TRUE(isPrefixThenHex(className, "JUCE_AUCocoaViewClass_")) << className;

    Class factory = objc_getClass(className.c_str());
    ASSERT_NE(factory, nullptr) << "the class is registered under the name handed out";
    EXPECT_EQ(class_getSuperclass(factory), objc_getClass("NSObject"));
    EXPECT_TRUE(class_conformsToProtocol(factory, objc_getProtocol("AUCocoaUIBase")));

    auto call = [&](const char* selector) { return method_getImplementation(class_getInstanceMethod(factory, sel_registerName(selector))); };
    ASSERT_NE(call("interfaceVersion"), nullptr);
    ASSERT_NE(call("description"), nullptr);
    ASSERT_NE(call("uiViewForAudioUnit:withSize:"), nullptr);
    id instance = class_createInstance(factory, 0);
    const auto version = reinterpret_cast<UInt32 (*)(id, SEL)>(call("interfaceVersion"))(instance, nullptr);
    const auto description = reinterpret_cast<CFStringRef>(reinterpret_cast<id (*)(id, SEL)>(call("description"))(instance, nullptr));
    EXPECT_EQ(version, 0u);
    EXPECT_EQ(text(description), "Quorvane2");
    objc_release(instance);

    // The same class for a later read and for another unit.
    auto other = open();
    AudioUnitCocoaViewInfo again {};
    ASSERT_EQ(other->getProperty(kAudioUnitProperty_CocoaUI, 0, 0, &again, &size), 0);
    CFHolder url2(again.mCocoaAUViewBundleLocation), name2(again.mCocoaAUViewClass[0]);
    EXPECT_EQ(text(again.mCocoaAUViewClass[0]), className);
}

TEST_P(JuceAUTest, OfflineRenderFollowsTheHost)
{
    UInt32 offline = 7;
    EXPECT_EQ(unit->get(kAudioUnitProperty_OfflineRender, 0, 0, offline), 0);
    EXPECT_EQ(offline, 0u);
    EXPECT_EQ(unit->set(kAudioUnitProperty_OfflineRender, 0, 0, UInt32(1)), 0);
    EXPECT_EQ(unit->get(kAudioUnitProperty_OfflineRender, 0, 0, offline), 0);
    EXPECT_EQ(offline, 1u);
    EXPECT_EQ(unit->set(kAudioUnitProperty_OfflineRender, 0, 0, UInt32(0)), 0);
    EXPECT_EQ(unit->get(kAudioUnitProperty_OfflineRender, 0, 0, offline), 0);
    EXPECT_EQ(offline, 0u);
}

TEST_P(JuceAUTest, NoFactoryPresets)
{
    CFArrayRef presets = nullptr;
    ASSERT_EQ(unit->get(kAudioUnitProperty_FactoryPresets, 0, 0, presets), 0);
    CFHolder hold(presets);
    ASSERT_NE(presets, nullptr);
    EXPECT_EQ(CFArrayGetCount(presets), 0);

    CFHolder name(makeString("Zero"));
    const AUPreset first { 0, static_cast<CFStringRef>(name.ref) };
    EXPECT_EQ(unit->set(kAudioUnitProperty_PresentPreset, 0, 0, first), kNoProperty) << "no program 0";
}

// MIDI, through the component entry, is taken and dropped: answered 0 once
// the unit is initialised.
TEST(JuceAUMidi, TakenAndDropped)
{
    ASSERT_TRUE(testPluginModule().isLoaded()) << testPluginModule().error();
    auto unit = openUnit(Way::component);
    ASSERT_NE(unit, nullptr);
    const ComponentEntry entry = testPluginModule().entry();
    void* storage = GetComponentInstanceStorage(unit->handle());
    const UInt8 sysex[] = { 0xF0, 0x7E, 0x7F, 0x06, 0x01, 0xF7 };
    auto midi = [&] { return ComponentCall(257, unit->handle()).arg(0x90u).arg(60u).arg(100u).arg(0u).call(entry, storage); };
    auto sysEx = [&] { return ComponentCall(258, unit->handle()).arg(sysex).arg(UInt32(sizeof(sysex))).call(entry, storage); };

    EXPECT_EQ(midi(), 0) << "a note-on before initialisation";
    EXPECT_EQ(sysEx(), kUninitialized);
    SteadyInput input { { 0.5f } };
    ASSERT_EQ(startUnit(*unit, 2, 2, input), 0);
    EXPECT_EQ(midi(), 0);
    EXPECT_EQ(sysEx(), 0);

    MusicDeviceMIDIEventProc fast = nullptr;
    ASSERT_EQ(unit->get(kAudioUnitProperty_FastDispatch, 0, kMusicDeviceMIDIEventSelect, fast), 0);
    EXPECT_EQ(fast(storage, 0xB0, 7, 127, 0), 0) << "a controller through the fast call";
}

// ---- Parameters ----------------------------------------------------------------------

TEST_P(JuceAUTest, ParameterListAndInfo)
{
    AudioUnitParameterID ids[35] {};
    UInt32 size = sizeof(ids);
    ASSERT_EQ(unit->getProperty(kAudioUnitProperty_ParameterList, 0, 0, ids, &size), 0);
    for (UInt32 i = 0; i < 35; ++i)
        EXPECT_EQ(ids[i], i);

    const struct
    {
        AudioUnitParameterID id;
        const char* name;
        Float32 defaultValue;
    } rows[] = {
        { 0, "Input Level", 0.75609756f },  { 1, "Invert", 0.0f },          { 4, "Rotate", 0.0f },
        { 5, "Front Tilt", 0.5f },          { 7, "Zoom", 0.5f },            { 8, "Polar pattern L/R", 0.5f },
        { 11, "Polar pattern RLs/RRs", 0.5f }, { 13, "Width L/R", 0.33333334f }, { 14, "Width Ls/Rs", 0.6111111f },
        { 15, "Width RLs/RRs", 1.0f },      { 22, "Level BFormat", 0.75609756f }, { 28, "Mute LFE", 0.0f },
        { 34, "Solo LFE", 0.0f },
    };
    for (const auto& r : rows)
    {
        AudioUnitParameterInfo info {};
        ASSERT_EQ(unit->get(kAudioUnitProperty_ParameterInfo, 0, r.id, info), 0) << "parameter " << r.id;
        CFHolder name(info.cfNameString);
        EXPECT_STREQ(info.name, r.name) << "parameter " << r.id;
        EXPECT_EQ(text(info.cfNameString), r.name) << "parameter " << r.id;
        EXPECT_EQ(info.flags, 0xC8000010u) << "writable, readable, name string to release; parameter " << r.id;
        EXPECT_EQ(info.minValue, 0.0f);
        EXPECT_EQ(info.maxValue, 1.0f);
        EXPECT_EQ(info.defaultValue, r.defaultValue) << "parameter " << r.id;
        EXPECT_EQ(info.unit, 0u) << "generic";
    }

    AudioUnitParameterInfo info {};
    EXPECT_EQ(unit->get(kAudioUnitProperty_ParameterInfo, 0, 35, info), kBadParameter) << "the 36th";
    EXPECT_EQ(unit->get(kAudioUnitProperty_ParameterInfo, 1, 0, info), kBadParameter) << "input scope";
    EXPECT_EQ(unit->get(kAudioUnitProperty_ParameterInfo, 0, 0xFFFFFFFFu, info), kBadParameter);
}

// The output layout decides which parameters a host may automate.
TEST_P(JuceAUTest, LayoutMarksParametersNonRealTime)
{
    ASSERT_EQ(unit->setChannels(kAudioUnitScope_Output, 2), 0);
    ASSERT_EQ(setLayout(*unit, 0x650002), 0) << "stereo";

    const struct
    {
        AudioUnitParameterID id;
        UInt32 flags;
    } rows[] = {
        { 0, 0xC8000010 },  // input level: always
        { 4, 0xC8000010 },  // rotate: not in B-format only
        { 6, 0xC9000010 },  // rear tilt: surround only
        { 9, 0xC9000010 },  // C pattern: surround only
        { 16, 0xC8000010 }, // L/R level
        { 21, 0xC9000010 }, // LFE level: layouts with LFE only
        { 22, 0xC8000010 }, // B-format level: always
    };
    for (const auto& r : rows)
    {
        AudioUnitParameterInfo info {};
        ASSERT_EQ(unit->get(kAudioUnitProperty_ParameterInfo, 0, r.id, info), 0);
        CFHolder name(info.cfNameString);
        EXPECT_EQ(info.flags, r.flags) << "parameter " << r.id << " in stereo";
    }
}

TEST_P(JuceAUTest, ParametersSetAndReadWithoutEchoToTheHost)
{
    QvPlatformClearRecordedEvents();
    const struct
    {
        AudioUnitParameterID id;
        Float32 sent;
        Float32 read;
    } rows[] = {
        { 4, 0.25f, 0.25f }, { 16, 0.5f, 0.5f }, { 23, 1.0f, 1.0f }, { 35, 0.0f, 0.0f },
        { 4, 1.7f, 1.0f },   { 13, -0.5f, 0.0f }, { 0, 1e30f, 1.0f },
    };
    for (const auto& r : rows)
    {
        ASSERT_EQ(unit->setParameter(r.id, kAudioUnitScope_Global, 0, r.sent, 0), 0);
        EXPECT_EQ(parameter(*unit, r.id), r.read) << "parameter " << r.id << " sent " << r.sent;
    }

    unit->setParameter(4, kAudioUnitScope_Global, 0, std::nanf(""), 0);
    const Float32 afterNaN = parameter(*unit, 4);
    EXPECT_TRUE(afterNaN >= 0.0f && afterNaN <= 1.0f) << afterNaN;

    EXPECT_EQ(QvPlatformRecordedEventCount(), 0u) << "a host's own change is not sent back to it";
    EXPECT_EQ(parameter(*unit, 1000), 0.0f) << "an index past the table reads 0";

    Float32 v = 0;
    EXPECT_EQ(unit->getParameter(0, kAudioUnitScope_Input, 0, &v), kBadParameter) << "the input element has none";
}

// A mute set by the host while a solo is on takes the value's on or off, as
// without a solo: after the solo the group is muted as the host shows it.
TEST_P(JuceAUTest, MuteSetDuringASoloIsSetNotTurnedOver)
{
    SteadyInput input { { 0.5f } }; // W alone
    ASSERT_EQ(startUnit(*unit, 6, 6, input), 0);
    ChannelBuffers out(6, kBlock);
    Float64 t = 0;
    auto sounding = [&] {
        EXPECT_EQ(renderBlocks(*unit, out, kSettleBlocks, t), 0);
        const char* const names[6] = { "L", "R", "C", "LFE", "Ls", "Rs" };
        std::string shown;
        for (UInt32 c = 0; c < 6; ++c)
        {
            const float level = std::abs(out.channel(c)[kBlock - 1]);
            shown += std::string(c == 0 ? "" : " ") + names[c] + (level < 1e-6f ? "-" : level > 0.05f ? "+" : "?");
        }
        return shown;
    };

    ASSERT_EQ(unit->setParameter(23, kAudioUnitScope_Global, 0, 1.0f, 0), 0); // Mute L/R
    ASSERT_EQ(unit->setParameter(30, kAudioUnitScope_Global, 0, 1.0f, 0), 0); // Solo C
    for (Float32 v : { 1.0f, 0.95f, 0.873f })
        ASSERT_EQ(unit->setParameter(23, kAudioUnitScope_Global, 0, v, 0), 0);
    EXPECT_EQ(sounding(), "L- R- C+ LFE- Ls- Rs-") << "C soloed";
    EXPECT_EQ(parameter(*unit, 23), 0.873f);

    ASSERT_EQ(unit->setParameter(30, kAudioUnitScope_Global, 0, 0.0f, 0), 0);
    EXPECT_EQ(sounding(), "L- R- C+ LFE+ Ls+ Rs+") << "solo off: L/R still muted";

    // Unmuting and muting again during a solo, each sent twice.
    ASSERT_EQ(unit->setParameter(31, kAudioUnitScope_Global, 0, 1.0f, 0), 0); // Solo Ls/Rs
    for (Float32 v : { 0.0f, 0.0f })
        ASSERT_EQ(unit->setParameter(23, kAudioUnitScope_Global, 0, v, 0), 0);
    for (Float32 v : { 0.6f, 0.6f })
        ASSERT_EQ(unit->setParameter(24, kAudioUnitScope_Global, 0, v, 0), 0); // Mute C
    ASSERT_EQ(unit->setParameter(31, kAudioUnitScope_Global, 0, 0.0f, 0), 0);
    EXPECT_EQ(sounding(), "L+ R+ C- LFE+ Ls+ Rs+") << "L/R unmuted and C muted during the solo";
}

// ---- Initialisation --------------------------------------------------------------------

TEST_P(JuceAUTest, InitialisesForEveryAcceptedPairAndRefusesTheRest)
{
    const SInt16 accepted[13][2] = { { 2, 2 }, { 2, 4 }, { 2, 6 }, { 2, 7 }, { 2, 8 }, { 4, 2 }, { 6, 2 },
                                     { 7, 2 }, { 8, 2 }, { 4, 4 }, { 6, 6 }, { 7, 7 }, { 8, 8 } };
    for (const auto& pair : accepted)
    {
        auto u = open();
        SteadyInput input { { 0.5f } };
        ASSERT_EQ(startUnit(*u, (UInt32) pair[0], (UInt32) pair[1], input), 0) << pair[0] << " in, " << pair[1] << " out";
        ChannelBuffers out((UInt32) pair[1], kBlock);
        Float64 t = 0;
        EXPECT_EQ(renderBlocks(*u, out, 1, t), 0) << pair[0] << " in, " << pair[1] << " out";
        EXPECT_EQ(input.pulls, 1);
    }

    const UInt32 refused[][2] = { { 3, 2 }, { 2, 3 }, { 1, 1 }, { 4, 6 }, { 8, 4 }, { 5, 5 }, { 6, 8 } };
    for (const auto& pair : refused)
    {
        auto u = open();
        SteadyInput input { { 0.5f } };
        EXPECT_EQ(startUnit(*u, pair[0], pair[1], input), kFormatNotSupported) << pair[0] << " in, " << pair[1] << " out";
        ChannelBuffers out(pair[1], kBlock, 9.0f);
        Float64 t = 0;
        EXPECT_EQ(renderBlocks(*u, out, 1, t), kUninitialized) << "nothing renders after a refusal";
        EXPECT_EQ(out.channel(0)[0], 9.0f) << "the host's buffer is untouched";
        EXPECT_EQ(input.pulls, 0);
    }
}

// ---- Decoded audio ------------------------------------------------------------------

// Six in, 5.1 out (the default layout): steady capsule signals. (B-format
// input is decoded into every layout below.)
TEST_P(JuceAUTest, DecodesAFormatTo51)
{
    const struct
    {
        const char* name;
        float lf, rf, lb, rb;
    } signals[] = { { "all capsules", 1, 1, 1, 1 }, { "LF", 1, 0, 0, 0 }, { "RB", 0, 0, 0, 0.5f } };

    for (const auto& s : signals)
    {
        auto u = open();
        ASSERT_EQ(u->setParameter(35, kAudioUnitScope_Global, 0, 0.0f, 0), 0) << "\"Input Format\": A-format";
        SteadyInput input { { s.lf, s.rf, s.lb, s.rb } };
        ASSERT_EQ(startUnit(*u, 6, 6, input), 0);
        ChannelBuffers out(6, kBlock);
        Float64 t = 0;
        ASSERT_EQ(renderBlocks(*u, out, kSettleBlocks, t), 0);

        const auto b = DecoderFigures::fromAFormat(s.lf, s.rf, s.lb, s.rb);
        for (UInt32 c = 0; c < 6; ++c)
        {
            const double expected = c == 3 ? b.w : virtualMic(b.w, b.x, b.y, DecoderFigures::kSpeakerAngles51[c]);
            EXPECT_NEAR(out.channel(c)[kBlock - 1], expected, 2e-4) << s.name << ", output " << c;
        }
    }
}

// Two in, six out: the unit's own output memory carries the last block's
// output into the next; the inputs the host does not give must be silence,
// not that output fed back in as Y and Z.
TEST_P(JuceAUTest, MissingInputsAreSilentNotTheLastOutput)
{
    SteadyInput input { { 0.5f, 0.25f } };
    ASSERT_EQ(startUnit(*unit, 2, 6, input), 0);
    ChannelBuffers out(6, kBlock);
    Float64 t = 0;
    for (int b = 0; b < kSettleBlocks; ++b)
    {
        out.clearPointers(); // the unit renders into its own buffers
        AudioUnitRenderActionFlags flags = 0;
        const AudioTimeStamp time = sampleTime(t);
        ASSERT_EQ(unit->render(&flags, &time, 0, kBlock, out.list()), 0);
        t += kBlock;
    }
    for (UInt32 c = 0; c < 6; ++c)
    {
        const auto* samples = static_cast<const float*>(out.list()->mBuffers[c].mData);
        ASSERT_NE(samples, nullptr);
        const double expected = c == 3 ? 0.5 : virtualMic(0.5, 0.25, 0.0, DecoderFigures::kSpeakerAngles51[c]);
        EXPECT_NEAR(samples[kBlock - 1], expected, c == 3 ? 1e-3 : 1e-5) << "output " << c;
    }
}

// Eight in, two out: inputs past the outputs are read, and the host's own
// input memory (the callback hands its own buffers) is never written.
TEST_P(JuceAUTest, HostInputMemoryIsNeverWritten)
{
    struct OwnMemory
    {
        std::vector<std::vector<float>> channels = std::vector<std::vector<float>>(8, std::vector<float>(kBlock));
        static OSStatus supply(void* self, AudioUnitRenderActionFlags*, const AudioTimeStamp*, UInt32, UInt32,
                               AudioBufferList* list)
        {
            auto& m = *static_cast<OwnMemory*>(self);
            for (UInt32 c = 0; c < list->mNumberBuffers; ++c)
            {
                list->mBuffers[c].mData = m.channels[c].data();
                list->mBuffers[c].mDataByteSize = kBlock * 4;
            }
            return 0;
        }
    } memory;
    const float levels[8] = { 1.0f, 0.5f, 0.25f, 0.125f, 0.3f, 0.4f, 0.6f, 0.7f };
    for (UInt32 c = 0; c < 8; ++c)
        std::fill(memory.channels[c].begin(), memory.channels[c].end(), levels[c]);

    const UInt32 noAllocation = 0;
    ASSERT_EQ(unit->set(kAudioUnitProperty_ShouldAllocateBuffer, kAudioUnitScope_Input, 0, noAllocation), 0);
    ASSERT_EQ(unit->setChannels(kAudioUnitScope_Input, 8), 0);
    ASSERT_EQ(unit->setChannels(kAudioUnitScope_Output, 2), 0);
    ASSERT_EQ(unit->setInputCallback(&OwnMemory::supply, &memory), 0);
    ASSERT_EQ(unit->initialize(), 0);

    ChannelBuffers out(2, kBlock);
    Float64 t = 0;
    ASSERT_EQ(renderBlocks(*unit, out, kSettleBlocks, t), 0);
    for (UInt32 c = 0; c < 8; ++c)
        for (UInt32 j = 0; j < kBlock; ++j)
            ASSERT_EQ(memory.channels[c][j], levels[c]) << "host input " << c << " sample " << j << " was written";

    // 5.1 decoded from W X Y, its L and R in the two outputs.
    EXPECT_NEAR(out.channel(0)[kBlock - 1], virtualMic(1.0, 0.5, 0.25, DecoderFigures::kL), 1e-5);
    EXPECT_NEAR(out.channel(1)[kBlock - 1], virtualMic(1.0, 0.5, 0.25, DecoderFigures::kR), 1e-5);
}

// ---- The output layout by channel-layout tag -------------------------------------------

TEST_P(JuceAUTest, EveryOfferedLayoutTagDecodesItsLayout)
{
    using namespace DecoderFigures;
    constexpr double w = 0.5, x = 0.25, y = 0.1, z = 0.05;
    constexpr double S = kStereoPattern;
    const struct
    {
        const char* name;
        AudioChannelLayoutTag tag;
        UInt32 ins, outs;
        Float32 arraySelect;         // parameter 36 afterwards: layout code - 1, over 7
        std::vector<double> angles;  // per output: direction, -1 LFE, -2 the B-format channel of that number
        double pattern;
    } rows[] = {
        { "stereo", 0x650002, 4, 2, 0.0f, { kL, kR }, S },
        { "5.1 (MPEG A)", 0x790006, 6, 6, 2.0f / 7.0f, { kL, kR, kC, -1, kLs, kRs }, kPattern },
        { "6.1 (MPEG A)", 0x7D0007, 7, 7, 4.0f / 7.0f, { kL, kR, kC, -1, kLs, kRs, kRC }, kPattern },
        { "7.1 (MPEG C)", 0x800008, 8, 8, 6.0f / 7.0f, { kL, kR, kC, -1, kLs, kRs, kRLs, kRRs }, kPattern },
        { "B-format", 0x6C0004, 4, 4, 1.0f, { -2, -2, -2, -2 }, kPattern },
    };
    const double bformat[4] = { w, x, y, z };

    for (const auto& r : rows)
    {
        auto u = open();
        ASSERT_EQ(u->setChannels(kAudioUnitScope_Output, r.outs), 0) << r.name;
        ASSERT_EQ(setLayout(*u, r.tag), 0) << r.name;
        EXPECT_NEAR(parameter(*u, 36), r.arraySelect, 1e-6) << r.name << ": \"Array select\"";

        AudioChannelLayout stored {};
        ASSERT_EQ(u->get(kAudioUnitProperty_AudioChannelLayout, kAudioUnitScope_Output, 0, stored), 0) << r.name;
        EXPECT_EQ(stored.mChannelLayoutTag, r.tag) << r.name;

        SteadyInput input { { (float) w, (float) x, (float) y, (float) z } };
        ASSERT_EQ(startUnit(*u, r.ins, r.outs, input), 0) << r.name;
        ChannelBuffers out(r.outs, kBlock);
        Float64 t = 0;
        ASSERT_EQ(renderBlocks(*u, out, kSettleBlocks, t), 0) << r.name;
        for (UInt32 c = 0; c < r.outs; ++c)
        {
            const double a = r.angles[c];
            const double expected = a == -2 ? bformat[c] : a == -1 ? w : virtualMic(w, x, y, a, r.pattern);
            EXPECT_NEAR(out.channel(c)[kBlock - 1], expected, a == -1 ? 1e-3 : 1e-5) << r.name << ", output " << c;
        }
    }
}

TEST_P(JuceAUTest, LayoutsNotOfferedAreRefused)
{
    ASSERT_EQ(unit->setChannels(kAudioUnitScope_Output, 8), 0);
    EXPECT_EQ(setLayout(*unit, 0x7E0008), kBadValue) << "7.1 A is not offered";
    EXPECT_NEAR(parameter(*unit, 36), 0.25f, 1e-6) << "and selects nothing: 5.1 stays";

    const AudioChannelLayout stereo = layoutWithTag(0x650002);
    EXPECT_EQ(unit->set(kAudioUnitProperty_AudioChannelLayout, kAudioUnitScope_Input, 0, stereo), kNoProperty)
        << "the input scope offers no tags";

    // A tag for another channel count is refused, and the processor keeps
    // its format.
    ASSERT_EQ(unit->setChannels(kAudioUnitScope_Output, 6), 0);
    EXPECT_EQ(setLayout(*unit, 0x650002), kBadValue);
    EXPECT_NEAR(parameter(*unit, 36), 0.25f, 1e-6) << "5.1 as the unit began";
}

// Whatever the unit refuses, the output format stays the host's: no
// parameter, no automatable flag and no sound changes. Each row begins from a
// layout the unit took, then sets one it refuses.
TEST_P(JuceAUTest, RefusedLayoutsChangeNothing)
{
    constexpr OSStatus kNoElement = -10877;
    constexpr UInt32 kAutomatable = 0xC8000010, kNotAutomatable = 0xC9000010;
    const struct
    {
        const char* what;
        UInt32 outs;
        AudioChannelLayoutTag taken;   // set first, and accepted
        AudioUnitScope scope;
        AudioChannelLayoutTag refused;
        OSStatus status;
        Float32 arraySelect;           // parameter 36 throughout
        UInt32 flags9, flags21;        // C pattern, LFE level
    } rows[] = {
        { "stereo on the 5.1 output", 6, 0x790006, kAudioUnitScope_Output, 0x650002, kBadValue, 0.2857143f, kAutomatable, kAutomatable },
        { "stereo on the global scope", 6, 0x790006, kAudioUnitScope_Global, 0x650002, kNoElement, 0.2857143f, kAutomatable, kAutomatable },
        { "stereo on the input scope", 6, 0x790006, kAudioUnitScope_Input, 0x650002, kNoProperty, 0.2857143f, kAutomatable, kAutomatable },
        { "B-format on the 5.1 output", 6, 0x790006, kAudioUnitScope_Output, 0x6C0004, kBadValue, 0.2857143f, kAutomatable, kAutomatable },
        { "7.1 on the 5.1 output", 6, 0x790006, kAudioUnitScope_Output, 0x800008, kBadValue, 0.2857143f, kAutomatable, kAutomatable },
        { "5.1 on the stereo output", 2, 0x650002, kAudioUnitScope_Output, 0x790006, kBadValue, 0.0f, kNotAutomatable, kNotAutomatable },
        { "6.1 on the stereo output", 2, 0x650002, kAudioUnitScope_Output, 0x7D0007, kBadValue, 0.0f, kNotAutomatable, kNotAutomatable },
    };
    auto flags = [](HostUnit& u, AudioUnitParameterID id) {
        AudioUnitParameterInfo info {};
        EXPECT_EQ(u.get(kAudioUnitProperty_ParameterInfo, 0, id, info), 0);
        CFHolder name(info.cfNameString);
        return info.flags;
    };

    for (const auto& r : rows)
    {
        auto u = open();
        ASSERT_EQ(u->setChannels(kAudioUnitScope_Output, r.outs), 0) << r.what;
        ASSERT_EQ(setLayout(*u, r.taken), 0) << r.what;
        std::vector<Float32> before;
        for (AudioUnitParameterID i = 0; i < 37; ++i)
            before.push_back(parameter(*u, i));

        const AudioChannelLayout layout = layoutWithTag(r.refused);
        EXPECT_EQ(u->set(kAudioUnitProperty_AudioChannelLayout, r.scope, 0, layout), r.status) << r.what;

        EXPECT_NEAR(parameter(*u, 36), r.arraySelect, 1e-6) << r.what << ": \"Array select\"";
        for (AudioUnitParameterID i = 0; i < 37; ++i)
            EXPECT_EQ(parameter(*u, i), before[i]) << r.what << ": parameter " << i;
        EXPECT_EQ(flags(*u, 9), r.flags9) << r.what << ": C pattern";
        EXPECT_EQ(flags(*u, 21), r.flags21) << r.what << ": LFE level";
        AudioChannelLayout stored {};
        ASSERT_EQ(u->get(kAudioUnitProperty_AudioChannelLayout, kAudioUnitScope_Output, 0, stored), 0) << r.what;
        EXPECT_EQ(stored.mChannelLayoutTag, r.taken) << r.what << ": the layout the unit took";
    }
}

// After a refused stereo layout the 5.1 unit still sounds as 5.1: C, LFE, Ls
// and Rs carry their virtual microphones, not silence.
TEST_P(JuceAUTest, RefusedLayoutLeavesTheSoundAlone)
{
    using namespace DecoderFigures;
    constexpr double w = 0.5, x = 0.25, y = 0.1, z = 0.05;
    ASSERT_EQ(unit->setChannels(kAudioUnitScope_Output, 6), 0);
    ASSERT_EQ(setLayout(*unit, 0x790006), 0);
    ASSERT_EQ(setLayout(*unit, 0x650002), kBadValue);

    SteadyInput input { { (float) w, (float) x, (float) y, (float) z } };
    ASSERT_EQ(startUnit(*unit, 6, 6, input), 0);
    ChannelBuffers out(6, kBlock);
    Float64 t = 0;
    ASSERT_EQ(renderBlocks(*unit, out, kSettleBlocks, t), 0);
    const char* names[6] = { "L", "R", "C", "LFE", "Ls", "Rs" };
    for (UInt32 c = 0; c < 6; ++c)
    {
        const double a = kSpeakerAngles51[c];
        const double expected = a == -1.0 ? w : virtualMic(w, x, y, a, kPattern);
        EXPECT_NEAR(out.channel(c)[kBlock - 1], expected, a == -1.0 ? 1e-3 : 1e-5) << names[c];
    }
}

// ---- Saved state ----------------------------------------------------------------------

TEST_P(JuceAUTest, StateTravelsIntoAFreshUnitWithIdenticalAudio)
{
    const struct
    {
        AudioUnitParameterID id;
        Float32 value;
    } settings[] = { { 4, 0.25f }, { 7, 0.7f }, { 8, 0.9f }, { 16, 0.5f }, { 1, 1.0f }, { 35, 0.0f } };
    for (const auto& s : settings)
        ASSERT_EQ(unit->setParameter(s.id, 0, 0, s.value, 0), 0);

    CFPropertyListRef state = nullptr;
    ASSERT_EQ(unit->get(kAudioUnitProperty_ClassInfo, 0, 0, state), 0);
    CFHolder hold(state);
    auto dict = static_cast<CFDictionaryRef>(state);

    auto number = [&](const char* key) {
        CFHolder k(makeString(key));
        SInt32 v = -1;
        auto n = static_cast<CFNumberRef>(CFDictionaryGetValue(dict, k.ref));
        EXPECT_TRUE(n != nullptr && CFNumberGetValue(n, kCFNumberSInt32Type, &v)) << key;
        return v;
    };
    EXPECT_EQ(number("version"), 0);
    EXPECT_EQ(number("type"), 0x61756678) << "'aufx'";
    EXPECT_EQ(number("subtype"), 0x51767232) << "'Qvr2'";
    EXPECT_EQ(number("manufacturer"), 0x42726E6B) << "'Brnk'";
    CFHolder key(makeString("jucePluginState"));
    auto blob = static_cast<CFDataRef>(CFDictionaryGetValue(dict, key.ref));
    ASSERT_NE(blob, nullptr);
    ASSERT_EQ(CFGetTypeID(blob), CFDataGetTypeID());
    EXPECT_EQ(CFDataGetLength(blob), 1650) << "the state blob of 50 parameters";

    auto fresh = open();
    ASSERT_EQ(fresh->set(kAudioUnitProperty_ClassInfo, 0, 0, state), 0);
    for (AudioUnitParameterID i = 0; i < 36; ++i)
        EXPECT_EQ(parameter(*fresh, i), parameter(*unit, i)) << "parameter " << i;

    // Saved again, the blob is the same bytes.
    CFPropertyListRef again = nullptr;
    ASSERT_EQ(fresh->get(kAudioUnitProperty_ClassInfo, 0, 0, again), 0);
    CFHolder holdAgain(again);
    auto blobAgain = static_cast<CFDataRef>(CFDictionaryGetValue(static_cast<CFDictionaryRef>(again), key.ref));
    ASSERT_NE(blobAgain, nullptr);
    ASSERT_EQ(CFDataGetLength(blobAgain), CFDataGetLength(blob));
    EXPECT_EQ(std::memcmp(CFDataGetBytePtr(blobAgain), CFDataGetBytePtr(blob), 1650), 0);

    // The same audio from both.
    SteadyInput input { { 0.3f, -0.2f, 0.6f, 0.1f, 0.0f, 0.0f } };
    ASSERT_EQ(startUnit(*unit, 6, 6, input), 0);
    ASSERT_EQ(startUnit(*fresh, 6, 6, input), 0);
    ChannelBuffers a(6, kBlock), b(6, kBlock);
    Float64 ta = 0, tb = 0;
    for (int block = 0; block < 4; ++block)
    {
        ASSERT_EQ(renderBlocks(*unit, a, 1, ta), 0);
        ASSERT_EQ(renderBlocks(*fresh, b, 1, tb), 0);
        for (UInt32 c = 0; c < 6; ++c)
            EXPECT_EQ(std::memcmp(a.channel(c), b.channel(c), kBlock * sizeof(float)), 0)
                << "block " << block << ", output " << c;
    }
}

// The layout comes from the host, never from a saved state.
TEST_P(JuceAUTest, StateDoesNotCarryTheLayout)
{
    ASSERT_EQ(unit->setChannels(kAudioUnitScope_Output, 2), 0);
    ASSERT_EQ(setLayout(*unit, 0x650002), 0);
    ASSERT_EQ(parameter(*unit, 36), 0.0f);

    CFPropertyListRef state = nullptr;
    ASSERT_EQ(unit->get(kAudioUnitProperty_ClassInfo, 0, 0, state), 0);
    CFHolder hold(state);

    auto fresh = open();
    ASSERT_EQ(fresh->set(kAudioUnitProperty_ClassInfo, 0, 0, state), 0);
    EXPECT_NEAR(parameter(*fresh, 36), 0.25f, 1e-6) << "5.1, as the fresh unit began";
}

// ---- Bypass -------------------------------------------------------------------------------

TEST_P(JuceAUTest, BypassPassesTheInputThroughUntouched)
{
    SteadyInput input { { 0.9f, -0.4f, 0.3f, 0.2f, 0.1f, -0.7f } };
    ASSERT_EQ(startUnit(*unit, 6, 6, input), 0);
    ASSERT_EQ(unit->set(kAudioUnitProperty_BypassEffect, 0, 0, UInt32(1)), 0);

    ChannelBuffers out(6, kBlock);
    Float64 t = 0;
    ASSERT_EQ(renderBlocks(*unit, out, 2, t), 0);
    for (UInt32 c = 0; c < 6; ++c)
        for (UInt32 j = 0; j < kBlock; ++j)
            ASSERT_EQ(out.channel(c)[j], input.levels[c]) << "output " << c << " sample " << j;

    ASSERT_EQ(unit->set(kAudioUnitProperty_BypassEffect, 0, 0, UInt32(0)), 0);
    ASSERT_EQ(renderBlocks(*unit, out, kSettleBlocks, t), 0);
    EXPECT_NEAR(out.channel(0)[kBlock - 1], virtualMic(0.9, -0.4, 0.3, DecoderFigures::kL), 1e-5) << "decoding again";
}
} // namespace
