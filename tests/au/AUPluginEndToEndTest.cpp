// The test unit's module driven as a host drives it, through the factory and
// through the component entry: open, properties and listeners, parameters and
// scheduled events, initialisation with every channel pair, render with its
// notifications, pulling from a callback and from another unit, reset, saved
// state, and close.
#include "AUTestHost.h"
#include "ComponentManager.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

namespace
{
constexpr OSStatus kNoScope = -10866, kNoElement = -10877, kNoProperty = -10879, kBadValue = -10851;

class AUPluginTest : public ::testing::TestWithParam<Way>
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(testPluginModule().isLoaded()) << testPluginModule().error();
        OSStatus s = 0;
        unit = openUnit(GetParam(), &s);
        ASSERT_NE(unit, nullptr) << "open answered " << s;
    }

    /** Input from a host callback, channels and frames as given, then initialised. */
    void prepare(UInt32 channels)
    {
        ASSERT_EQ(unit->setChannels(kAudioUnitScope_Input, channels), 0);
        ASSERT_EQ(unit->setChannels(kAudioUnitScope_Output, channels), 0);
        ASSERT_EQ(unit->setInputCallback(&AUPluginTest::ramp, this), 0);
        ASSERT_EQ(unit->initialize(), 0);
    }

    // Input sample j of channel c: (c + 1) * 100 + j.
    static OSStatus ramp(void* self, AudioUnitRenderActionFlags*, const AudioTimeStamp*, UInt32, UInt32 frames,
                         AudioBufferList* list)
    {
        static_cast<AUPluginTest*>(self)->pulls++;
        for (UInt32 c = 0; c < list->mNumberBuffers; ++c)
            for (UInt32 j = 0; j < frames; ++j)
                static_cast<float*>(list->mBuffers[c].mData)[j] = float((c + 1) * 100 + j);
        return 0;
    }

    static float input(UInt32 c, UInt32 j) { return float((c + 1) * 100 + j); }

    std::unique_ptr<HostUnit> unit;
    int pulls = 0;
};

INSTANTIATE_TEST_SUITE_P(BothWays, AUPluginTest, ::testing::Values(Way::factory, Way::component),
                         [](const auto& info) { return std::string(wayName(info.param)); });

// ---- Properties -------------------------------------------------------------------

struct InfoRow
{
    AudioUnitPropertyID id;
    AudioUnitScope scope;
    AudioUnitElement element;
    OSStatus status;
    UInt32 size;
    bool writable;
};

TEST_P(AUPluginTest, PropertyInfoAnswersSizeWritableAndStatus)
{
    const InfoRow rows[] = {
        { 0, 0, 0, 0, 8, true },          { 0, 1, 0, kNoScope, 0, false },  { 0, 0, 1, kNoElement, 0, false },
        { 1, 1, 0, 0, 16, true },         { 1, 2, 0, kNoScope, 0, false },  { 2, 1, 0, 0, 8, true },
        { 3, 0, 0, 0, 8, false },         { 4, 0, 0, 0, 104, false },       { 8, 2, 0, 0, 40, true },
        { 8, 2, 1, kNoElement, 0, false }, { 8, 5, 0, kNoScope, 0, false }, { 11, 1, 0, 0, 4, false },
        { 12, 0, 0, 0, 8, false },        { 12, 2, 0, kNoScope, 0, false }, { 13, 0, 0, 0, 52, false },
        { 14, 0, 0, 0, 4, true },         { 16, 0, 0, kNoProperty, 0, false }, { 18, 0, 0, kNoProperty, 0, false },
        { 19, 2, 0, kBadValue, 0, true }, { 19, 1, 0, kNoProperty, 0, true }, { 20, 0, 0, 0, 8, false },
        { 21, 0, 0, 0, 4, true },         { 22, 0, 0, 0, 4, false },        { 23, 1, 0, 0, 16, true },
        { 23, 2, 0, kNoScope, 0, false }, { 24, 0, 0, 0, 8, false },        { 25, 0, 0, 0, 8, true },
        { 26, 0, 0, 0, 4, true },         { 27, 0, 0, 0, 32, true },        { 29, 0, 0, 0, 4, true },
        { 30, 1, 0, 0, 8, true },         { 32, 2, 0, 0, 20, false },       { 32, 1, 0, kNoProperty, 0, false },
        { 35, 0, 0, 0, 16, false },       { 36, 0, 0, 0, 16, true },        { 39, 0, 0, kNoProperty, 0, false },
        { 51, 0, 0, kNoScope, 0, false }, { 51, 2, 0, 0, 4, true },         { 53, 0, 0, 0, 8, false },
        { 0x6C727374, 0, 0, 0, 8, false }, { 1006, 0, 0, kNoProperty, 0, false }, { 1006, 2, 0, kNoScope, 0, false },
        { 1006, 0, 1, kNoElement, 0, false }, { 9999, 0, 0, kNoProperty, 0, false },
    };
    for (const auto& r : rows)
    {
        UInt32 size = 0xDEAD;
        Boolean writable = 2;
        EXPECT_EQ(unit->getPropertyInfo(r.id, r.scope, r.element, &size, &writable), r.status)
            << "property " << r.id << " scope " << r.scope << " element " << r.element;
        if (r.status == 0)
        {
            EXPECT_EQ(size, r.size) << "property " << r.id;
            EXPECT_EQ(writable != 0, r.writable) << "property " << r.id;
        }
    }
}

TEST_P(AUPluginTest, FastDispatchOnlyForTheComponentWay)
{
    UInt32 size = 0;
    const OSStatus expected = GetParam() == Way::factory ? kNoProperty : 0;
    EXPECT_EQ(unit->getPropertyInfo(5, 0, 0, &size, nullptr), expected);

    void* function = nullptr;
    if (GetParam() == Way::component)
    {
        for (AudioUnitElement e : { 6u, 7u, 14u, 257u })
        {
            function = nullptr;
            EXPECT_EQ(unit->get(5, 0, e, function), 0) << "element " << e;
            EXPECT_NE(function, nullptr) << "element " << e;
        }
        EXPECT_EQ(unit->get(5, 0, 258, function), kNoElement);

        // The fast functions take the object; a null one is -50.
        AudioUnitGetParameterProc getParameter = nullptr;
        ASSERT_EQ(unit->get(5, 0, 6, getParameter), 0);
        Float32 value = 0;
        EXPECT_EQ(getParameter(nullptr, 0, 0, 0, &value), -50);
    }
}

TEST_P(AUPluginTest, DefaultStreamFormatAndValues)
{
    AudioStreamBasicDescription f {};
    ASSERT_EQ(unit->get(kAudioUnitProperty_StreamFormat, kAudioUnitScope_Output, 0, f), 0);
    EXPECT_EQ(f.mSampleRate, 44100.0);
    EXPECT_EQ(f.mFormatID, 0x6C70636Du);
    EXPECT_EQ(f.mFormatFlags, 0x29u);
    EXPECT_EQ(f.mBytesPerPacket, 4u);
    EXPECT_EQ(f.mFramesPerPacket, 1u);
    EXPECT_EQ(f.mBytesPerFrame, 4u);
    EXPECT_EQ(f.mChannelsPerFrame, 2u);
    EXPECT_EQ(f.mBitsPerChannel, 32u);

    UInt32 frames = 0;
    EXPECT_EQ(unit->get(kAudioUnitProperty_MaximumFramesPerSlice, 0, 0, frames), 0);
    EXPECT_EQ(frames, 1156u);

    const UInt32 counts[] = { 1, 1, 1, 0 }; // global, input, output, group
    for (AudioUnitScope s = 0; s < 4; ++s)
    {
        UInt32 n = 99;
        EXPECT_EQ(unit->get(kAudioUnitProperty_ElementCount, s, 0, n), 0);
        EXPECT_EQ(n, counts[s]) << "scope " << s;
    }

    Float64 lastSample = 0;
    EXPECT_EQ(unit->get(0x6C727374, 0, 0, lastSample), 0);
    EXPECT_EQ(lastSample, -1.0);

    AUChannelInfo pairs[13] {};
    UInt32 size = sizeof(pairs);
    ASSERT_EQ(unit->getProperty(kAudioUnitProperty_SupportedNumChannels, 0, 0, pairs, &size), 0);
    EXPECT_EQ(size, 52u);
    const SInt16 expected[13][2] = { { 2, 2 }, { 2, 4 }, { 2, 6 }, { 2, 7 }, { 2, 8 }, { 4, 2 }, { 6, 2 },
                                     { 7, 2 }, { 8, 2 }, { 4, 4 }, { 6, 6 }, { 7, 7 }, { 8, 8 } };
    for (int i = 0; i < 13; ++i)
    {
        EXPECT_EQ(pairs[i].inChannels, expected[i][0]) << "pair " << i;
        EXPECT_EQ(pairs[i].outChannels, expected[i][1]) << "pair " << i;
    }

    AUPreset preset {};
    ASSERT_EQ(unit->get(kAudioUnitProperty_PresentPreset, 0, 0, preset), 0);
    CFHolder name(preset.presetName);
    EXPECT_EQ(preset.presetNumber, -1);
    EXPECT_STREQ(CFStringGetCStringPtr(preset.presetName, kCFStringEncodingUTF8), "Untitled");
}

TEST_P(AUPluginTest, GetPropertySizeHandling)
{
    // No buffer: the size only. Size 0: -50. A short buffer: the first bytes,
    // the size left as given.
    UInt32 size = 0;
    EXPECT_EQ(unit->getProperty(kAudioUnitProperty_StreamFormat, 2, 0, nullptr, &size), 0);
    EXPECT_EQ(size, 40u);

    Float64 head = 0;
    size = 0;
    EXPECT_EQ(unit->getProperty(kAudioUnitProperty_StreamFormat, 2, 0, &head, &size), -50);

    size = 8;
    EXPECT_EQ(unit->getProperty(kAudioUnitProperty_StreamFormat, 2, 0, &head, &size), 0);
    EXPECT_EQ(size, 8u);
    EXPECT_EQ(head, 44100.0);

    // A class-info reference cut short is released by the unit (ASan would
    // report the dictionary otherwise).
    UInt32 half = 0;
    size = 4;
    EXPECT_EQ(unit->getProperty(kAudioUnitProperty_ClassInfo, 0, 0, &half, &size), 0);
    EXPECT_EQ(size, 4u);
}

TEST_P(AUPluginTest, StreamFormatWrites)
{
    AudioStreamBasicDescription f {};
    ASSERT_EQ(unit->get(kAudioUnitProperty_StreamFormat, 2, 0, f), 0);

    struct Row
    {
        const char* what;
        Float64 rate;
        UInt32 flags;
        UInt32 bytesPerFrame;
        OSStatus status;
    };
    const Row rows[] = {
        { "48 kHz non-interleaved", 48000.0, 0x29, 4, 0 },
        { "interleaved stereo", 48000.0, 0x09, 8, -10868 },
        { "big-endian", 48000.0, 0x2B, 4, -10868 },
        { "integer", 48000.0, 0x2C, 4, -10868 },
        { "rate 0", 0.0, 0x29, 4, -10868 },
        { "negative rate", -44100.0, 0x29, 4, -10868 },
        { "NaN rate", std::nan(""), 0x29, 4, -10868 },
        { "infinite rate", INFINITY, 0x29, 4, -10868 },
    };
    for (const auto& r : rows)
    {
        AudioStreamBasicDescription g = f;
        g.mSampleRate = r.rate;
        g.mFormatFlags = r.flags;
        g.mBytesPerFrame = g.mBytesPerPacket = r.bytesPerFrame;
        EXPECT_EQ(unit->set(kAudioUnitProperty_StreamFormat, 2, 0, g), r.status) << r.what;
    }
    Float64 rate = 0;
    ASSERT_EQ(unit->get(kAudioUnitProperty_SampleRate, 2, 0, rate), 0);
    EXPECT_EQ(rate, 48000.0) << "refused formats changed nothing";

    // 36 bytes are enough (the reserved word is not read); 35 are not.
    EXPECT_EQ(unit->setProperty(kAudioUnitProperty_StreamFormat, 2, 0, &f, 36), 0);
    EXPECT_EQ(unit->setProperty(kAudioUnitProperty_StreamFormat, 2, 0, &f, 35), kBadValue);
    EXPECT_EQ(unit->setProperty(kAudioUnitProperty_SampleRate, 2, 0, &rate, 4), kBadValue);

    // Initialised: the format is not writable, yet its own value is accepted.
    prepare(2);
    EXPECT_EQ(unit->set(kAudioUnitProperty_StreamFormat, 2, 0, f), 0);
    Float64 other = 96000.0;
    EXPECT_EQ(unit->set(kAudioUnitProperty_SampleRate, 2, 0, other), -10865);
    UInt32 frames = 512;
    EXPECT_EQ(unit->set(kAudioUnitProperty_MaximumFramesPerSlice, 0, 0, frames), -10849);
    UInt32 allocate = 0;
    EXPECT_EQ(unit->set(kAudioUnitProperty_ShouldAllocateBuffer, 2, 0, allocate), -10849);
}

// ---- Listeners ----------------------------------------------------------------------

struct Notice
{
    void* userData;
    AudioUnit unit;
    AudioUnitPropertyID id;
    AudioUnitScope scope;
    AudioUnitElement element;
};

std::vector<Notice> notices;

void listener(void* userData, AudioUnit u, AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element)
{
    notices.push_back(Notice { userData, u, id, scope, element });
}

TEST_P(AUPluginTest, PropertyListenersHearChangesInOrder)
{
    notices.clear();
    int a = 0, b = 0;
    ASSERT_EQ(unit->addPropertyListener(14, listener, &a), 0);
    ASSERT_EQ(unit->addPropertyListener(14, listener, &b), 0);
    ASSERT_EQ(unit->addPropertyListener(36, listener, &a), 0);
    EXPECT_EQ(unit->addPropertyListener(14, nullptr, &a), -50);

    UInt32 frames = 512;
    ASSERT_EQ(unit->set(kAudioUnitProperty_MaximumFramesPerSlice, 0, 0, frames), 0);
    ASSERT_EQ(notices.size(), 2u);
    EXPECT_EQ(notices[0].userData, &a);
    EXPECT_EQ(notices[1].userData, &b);
    EXPECT_EQ(notices[0].unit, unit->handle());
    EXPECT_EQ(notices[0].id, 14u);
    EXPECT_EQ(notices[0].scope, 0u);
    EXPECT_EQ(notices[0].element, 0u);

    EXPECT_EQ(unit->removePropertyListener(14, listener, &a), 0);
    EXPECT_EQ(unit->removePropertyListener(22, listener, &a), 0) << "never added";
    notices.clear();
    ASSERT_EQ(unit->set(kAudioUnitProperty_MaximumFramesPerSlice, 0, 0, frames), 0);
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0].userData, &b);

    // Host callbacks: a notice for a change, none for the same record.
    ASSERT_EQ(unit->addPropertyListener(27, listener, &a), 0);
    notices.clear();
    HostCallbackInfo callbacks {};
    callbacks.hostUserData = &b;
    EXPECT_EQ(unit->set(kAudioUnitProperty_HostCallbacks, 0, 0, callbacks), 0);
    EXPECT_EQ(unit->set(kAudioUnitProperty_HostCallbacks, 0, 0, callbacks), 0);
    EXPECT_EQ(unit->setProperty(kAudioUnitProperty_HostCallbacks, 0, 0, nullptr, 0), 0) << "removal";
    ASSERT_EQ(notices.size(), 2u);
    HostCallbackInfo back {};
    back.hostUserData = &a;
    ASSERT_EQ(unit->get(kAudioUnitProperty_HostCallbacks, 0, 0, back), 0);
    EXPECT_EQ(back.hostUserData, nullptr);
}

TEST_P(AUPluginTest, NamesPresetsAndLastError)
{
    CFHolder mic(makeString("Mic"));
    EXPECT_EQ(unit->set(kAudioUnitProperty_ElementName, 1, 0, mic.ref), 0);
    CFStringRef name = nullptr;
    ASSERT_EQ(unit->get(kAudioUnitProperty_ElementName, 1, 0, name), 0);
    CFHolder held(name);
    EXPECT_TRUE(CFEqual(name, mic.ref));
    EXPECT_EQ(unit->get(kAudioUnitProperty_ElementName, 2, 0, name), kBadValue) << "unnamed";

    EXPECT_EQ(unit->get(kAudioUnitProperty_ContextName, 0, 0, name), kBadValue) << "none yet";
    EXPECT_EQ(unit->set(kAudioUnitProperty_ContextName, 0, 0, mic.ref), 0);
    EXPECT_EQ(unit->setProperty(kAudioUnitProperty_ContextName, 0, 0, nullptr, 0), 0);
    EXPECT_EQ(unit->get(kAudioUnitProperty_ContextName, 0, 0, name), kBadValue) << "removed";

    // A negative number needs a name; a refusal keeps the old preset.
    CFHolder mine(makeString("Mine"));
    EXPECT_EQ(unit->set(kAudioUnitProperty_PresentPreset, 0, 0, AUPreset { -2, nullptr }), kBadValue);
    EXPECT_EQ(unit->set(kAudioUnitProperty_PresentPreset, 0, 0, AUPreset { -2, (CFStringRef) mine.ref }), 0);
    EXPECT_EQ(unit->set(kAudioUnitProperty_PresentPreset, 0, 0, AUPreset { 5, nullptr }), kNoProperty);
    AUPreset p {};
    ASSERT_EQ(unit->get(kAudioUnitProperty_PresentPreset, 0, 0, p), 0);
    CFHolder pn(p.presetName);
    EXPECT_EQ(p.presetNumber, -2);
    EXPECT_TRUE(CFEqual(p.presetName, mine.ref));

    // Factory preset 1 ("Half") sets the gain to 0.5.
    EXPECT_EQ(unit->set(kAudioUnitProperty_PresentPreset, 0, 0, AUPreset { 1, nullptr }), 0);
    Float32 gain = 0;
    EXPECT_EQ(unit->getParameter(0, 0, 0, &gain), 0);
    EXPECT_EQ(gain, 0.5f);
    CFArrayRef presets = nullptr;
    ASSERT_EQ(unit->get(kAudioUnitProperty_FactoryPresets, 0, 0, presets), 0);
    CFHolder hp(presets);
    ASSERT_EQ(CFArrayGetCount(presets), 2);
    EXPECT_STREQ(CFStringGetCStringPtr(static_cast<const AUPreset*>(CFArrayGetValueAtIndex(presets, 1))->presetName,
                                       kCFStringEncodingUTF8),
                 "Half");

    // An uninitialised render fails; the first error is kept until read.
    ChannelBuffers out(2, 64);
    AudioTimeStamp t = sampleTime(0);
    EXPECT_EQ(unit->render(nullptr, &t, 0, 64, out.list()), -10867);
    OSStatus error = 0;
    EXPECT_EQ(unit->get(kAudioUnitProperty_LastRenderError, 0, 0, error), 0);
    EXPECT_EQ(error, -10867);
    EXPECT_EQ(unit->get(kAudioUnitProperty_LastRenderError, 0, 0, error), 0);
    EXPECT_EQ(error, 0) << "reading clears it";
}

// ---- Parameters ----------------------------------------------------------------------

TEST_P(AUPluginTest, ParametersByScopeElementAndId)
{
    Float32 v = -1;
    EXPECT_EQ(unit->getParameter(0, 0, 0, &v), 0);
    EXPECT_EQ(v, 1.0f);
    EXPECT_EQ(unit->setParameter(1, 0, 0, 0.25f, 0), 0);
    EXPECT_EQ(unit->getParameter(1, 0, 0, &v), 0);
    EXPECT_EQ(v, 0.25f);

    struct Row
    {
        AudioUnitParameterID id;
        AudioUnitScope scope;
        AudioUnitElement element;
        OSStatus status;
    };
    const Row rows[] = { { 2, 0, 0, -10878 }, { 0, 1, 0, -10878 }, { 0, 0, 3, kNoElement }, { 0, 9, 0, kNoScope } };
    for (const auto& r : rows)
        EXPECT_EQ(unit->getParameter(r.id, r.scope, r.element, &v), r.status) << "parameter " << r.id;
    EXPECT_EQ(unit->setParameter(2, 0, 0, 1.0f, 0), -10878) << "past the indexed parameters";
    EXPECT_EQ(unit->getParameter(0, 0, 0, nullptr), -50);

    UInt32 ids[2] = { 99, 99 };
    UInt32 size = sizeof(ids);
    ASSERT_EQ(unit->getProperty(kAudioUnitProperty_ParameterList, 0, 0, ids, &size), 0);
    EXPECT_EQ(ids[0], 0u);
    EXPECT_EQ(ids[1], 1u);

    AudioUnitParameterInfo info {};
    ASSERT_EQ(unit->get(kAudioUnitProperty_ParameterInfo, 0, 0, info), 0);
    EXPECT_STREQ(info.name, "Gain");
    EXPECT_EQ(info.maxValue, 2.0f);
    EXPECT_EQ(unit->get(kAudioUnitProperty_ParameterInfo, 0, 2, info), -10878);

    // An immediate event is applied at once, before any render.
    AudioUnitParameterEvent e {};
    e.eventType = kParameterEvent_Immediate;
    e.eventValues.immediate.value = 0.75f;
    ASSERT_EQ(unit->scheduleParameters(&e, 1), 0);
    EXPECT_EQ(unit->getParameter(0, 0, 0, &v), 0);
    EXPECT_EQ(v, 0.75f);
}

// ---- Initialisation ---------------------------------------------------------------

TEST_P(AUPluginTest, InitialisesWithEveryPairAndRefusesOthers)
{
    struct Pair
    {
        UInt32 in, out;
        OSStatus status;
    };
    const Pair pairs[] = {
        { 2, 2, 0 },      { 2, 4, 0 },      { 2, 6, 0 },      { 2, 7, 0 },      { 2, 8, 0 },
        { 4, 2, 0 },      { 6, 2, 0 },      { 7, 2, 0 },      { 8, 2, 0 },      { 4, 4, 0 },
        { 6, 6, 0 },      { 7, 7, 0 },      { 8, 8, 0 },      { 3, 2, -10868 }, { 2, 3, -10868 },
        { 1, 1, -10868 }, { 6, 4, -10868 }, { 4, 8, -10868 },
    };
    for (const auto& p : pairs)
    {
        ASSERT_EQ(unit->setChannels(kAudioUnitScope_Input, p.in), 0);
        ASSERT_EQ(unit->setChannels(kAudioUnitScope_Output, p.out), 0);
        EXPECT_EQ(unit->initialize(), p.status) << p.in << " in, " << p.out << " out";
        EXPECT_EQ(unit->uninitialize(), 0);
    }
}

// ---- Render ---------------------------------------------------------------------------

struct NotifyLog
{
    std::vector<AudioUnitRenderActionFlags> flags;
};

OSStatus notify(void* log, AudioUnitRenderActionFlags* flags, const AudioTimeStamp*, UInt32, UInt32, AudioBufferList*)
{
    static_cast<NotifyLog*>(log)->flags.push_back(*flags);
    *flags |= 0x8000; // a callback's changes stay its own
    return 0;
}

TEST_P(AUPluginTest, RenderAppliesGainWithNotificationsAround)
{
    prepare(2);
    NotifyLog log;
    ASSERT_EQ(unit->addRenderNotify(notify, &log), 0);
    ASSERT_EQ(unit->setParameter(0, 0, 0, 0.5f, 0), 0);

    ChannelBuffers out(2, 64);
    AudioTimeStamp t = sampleTime(0);
    AudioUnitRenderActionFlags flags = 0;
    ASSERT_EQ(unit->render(&flags, &t, 0, 64, out.list()), 0);
    for (UInt32 c = 0; c < 2; ++c)
        for (UInt32 j : { 0u, 31u, 63u })
            EXPECT_EQ(out.channel(c)[j], 0.5f * input(c, j)) << "channel " << c << " frame " << j;
    EXPECT_EQ(out.list()->mBuffers[0].mDataByteSize, 256u);
    EXPECT_EQ(flags & 0x10, 0u) << "output is not silence";
    EXPECT_EQ(flags & 0x8000, 0u) << "a callback's flags are its own copy";
    ASSERT_EQ(log.flags.size(), 2u);
    EXPECT_EQ(log.flags[0], 0x4u);
    EXPECT_EQ(log.flags[1], 0x8u);

    // Same sample time: rendered already, the host's buffers stay as they are.
    ChannelBuffers again(2, 64, 7.0f);
    ASSERT_EQ(unit->render(&flags, &t, 0, 64, again.list()), 0);
    EXPECT_EQ(again.channel(0)[10], 7.0f);
    EXPECT_EQ(pulls, 1);

    // Without a source the render fails after the pre-notice; the post-notice
    // carries 0x100 and the error is kept.
    ASSERT_EQ(unit->setInputCallback(nullptr, nullptr), 0);
    log.flags.clear();
    t = sampleTime(64);
    EXPECT_EQ(unit->render(nullptr, &t, 0, 64, out.list()), -10876);
    ASSERT_EQ(log.flags.size(), 2u);
    EXPECT_EQ(log.flags[0], 0x4u);
    EXPECT_EQ(log.flags[1], 0x108u);

    // The removal takes effect at the next render.
    ASSERT_EQ(unit->removeRenderNotify(notify, &log), 0);
    log.flags.clear();
    t = sampleTime(128);
    EXPECT_EQ(unit->render(nullptr, &t, 0, 64, out.list()), -10876);
    EXPECT_TRUE(log.flags.empty());
    EXPECT_EQ(unit->render(nullptr, &t, 0, 1157, out.list()), -10874);
    OSStatus error = 0;
    ASSERT_EQ(unit->get(kAudioUnitProperty_LastRenderError, 0, 0, error), 0);
    EXPECT_EQ(error, -10876) << "the first of two failures";
}

TEST_P(AUPluginTest, RenderRefusesBufferListsUnlikeTheFormat)
{
    prepare(2);
    AudioTimeStamp t = sampleTime(0);

    EXPECT_EQ(unit->render(nullptr, &t, 0, 1157, ChannelBuffers(2, 1157).list()), -10874);
    EXPECT_EQ(unit->render(nullptr, &t, 1, 64, ChannelBuffers(2, 64).list()), kNoElement);
    EXPECT_EQ(unit->render(nullptr, &t, 0, 64, ChannelBuffers(1, 64).list()), -50) << "one buffer for stereo";
    EXPECT_EQ(unit->render(nullptr, &t, 0, 64, ChannelBuffers(3, 64).list()), -50) << "three buffers";

    ChannelBuffers shortBuffer(2, 64);
    shortBuffer.list()->mBuffers[1].mDataByteSize = 255;
    EXPECT_EQ(unit->render(nullptr, &t, 0, 64, shortBuffer.list()), -50) << "255 bytes for 64 frames";

    ChannelBuffers mixed(2, 64);
    mixed.list()->mBuffers[1].mData = nullptr;
    EXPECT_EQ(unit->render(nullptr, &t, 0, 64, mixed.list()), -50) << "one pointer null, one not";

    ChannelBuffers twoChannels(2, 64);
    twoChannels.list()->mBuffers[0].mNumberChannels = 2;
    EXPECT_EQ(unit->render(nullptr, &t, 0, 64, twoChannels.list()), -50) << "a buffer claiming two channels";
    EXPECT_EQ(pulls, 0) << "nothing was rendered";

    // All pointers null: the unit lends its own buffers.
    ChannelBuffers none(2, 64);
    none.clearPointers();
    ASSERT_EQ(unit->render(nullptr, &t, 0, 64, none.list()), 0);
    for (UInt32 c = 0; c < 2; ++c)
    {
        const AudioBuffer& b = none.list()->mBuffers[c];
        ASSERT_NE(b.mData, nullptr);
        EXPECT_EQ(b.mDataByteSize, 256u);
        EXPECT_EQ(static_cast<float*>(b.mData)[5], input(c, 5));
    }
}

// A source that answers with buffers the unit cannot use: none, short, or
// fewer than asked for.
int brokenHow = 0;

OSStatus brokenInput(void*, AudioUnitRenderActionFlags*, const AudioTimeStamp*, UInt32, UInt32, AudioBufferList* list)
{
    switch (brokenHow)
    {
        case 0: list->mBuffers[1].mData = nullptr; break;
        case 1: list->mBuffers[0].mDataByteSize = 4; break;
        case 2: list->mNumberBuffers = 1; break;
        default: return -9; // a source's own failure comes back as it is
    }
    return 0;
}

TEST_P(AUPluginTest, PulledInputThatCannotBeUsedIsRefused)
{
    ASSERT_EQ(unit->setInputCallback(brokenInput, nullptr), 0);
    ASSERT_EQ(unit->initialize(), 0);
    const OSStatus expected[] = { -50, -50, -50, -9 };
    for (int how = 0; how < 4; ++how)
    {
        brokenHow = how;
        ChannelBuffers out(2, 64, 5.0f);
        AudioTimeStamp t = sampleTime(64.0 * how);
        EXPECT_EQ(unit->render(nullptr, &t, 0, 64, out.list()), expected[how]) << "case " << how;
        EXPECT_EQ(out.channel(0)[0], 5.0f) << "nothing written, case " << how;
    }
}

TEST_P(AUPluginTest, ScheduledEventSplitsTheRender)
{
    prepare(2);
    // A ramp from frame 32 to the end: frames 0 to 31 keep the gain of 1,
    // the slice from 32 takes the ramp's start value.
    AudioUnitParameterEvent e {};
    e.eventType = kParameterEvent_Ramped;
    e.eventValues.ramp.startBufferOffset = 32;
    e.eventValues.ramp.durationInFrames = 32;
    e.eventValues.ramp.startValue = 0.25f;
    e.eventValues.ramp.endValue = 0.75f;
    ASSERT_EQ(unit->scheduleParameters(&e, 1), 0);

    ChannelBuffers out(2, 64);
    AudioTimeStamp t = sampleTime(0);
    ASSERT_EQ(unit->render(nullptr, &t, 0, 64, out.list()), 0);
    EXPECT_EQ(out.channel(1)[0], input(1, 0));
    EXPECT_EQ(out.channel(1)[31], input(1, 31));
    EXPECT_EQ(out.channel(1)[32], 0.25f * input(1, 32));
    EXPECT_EQ(out.channel(1)[63], 0.25f * input(1, 63));
    EXPECT_EQ(out.list()->mBuffers[1].mDataByteSize, 256u);

    // The events were used up by that render.
    t = sampleTime(64);
    ASSERT_EQ(unit->render(nullptr, &t, 0, 64, out.list()), 0);
    EXPECT_EQ(out.channel(0)[0], 0.25f * input(0, 0));

    AudioUnitParameterEvent odd = e;
    odd.eventType = 3;
    EXPECT_EQ(unit->scheduleParameters(&odd, 1), -50) << "an event of no known kind";

    // Bypass copies the input through, whatever the gain.
    UInt32 on = 1;
    ASSERT_EQ(unit->set(kAudioUnitProperty_BypassEffect, 0, 0, on), 0);
    t = sampleTime(128);
    ASSERT_EQ(unit->render(nullptr, &t, 0, 64, out.list()), 0);
    EXPECT_EQ(out.channel(0)[9], input(0, 9));
}

TEST_P(AUPluginTest, ResetThroughTheEntryRewindsTheRenderTime)
{
    prepare(2);
    ChannelBuffers out(2, 64);
    AudioTimeStamp t = sampleTime(512);
    ASSERT_EQ(unit->render(nullptr, &t, 0, 64, out.list()), 0);
    Float64 last = 0;
    ASSERT_EQ(unit->get(0x6C727374, 0, 0, last), 0);
    EXPECT_EQ(last, 512.0);
    ASSERT_EQ(unit->reset(0, 0), 0);
    ASSERT_EQ(unit->get(0x6C727374, 0, 0, last), 0);
    EXPECT_EQ(last, -1.0);
}

// ---- Pulling from another unit ----------------------------------------------------------

TEST_P(AUPluginTest, PullsInputFromAConnectedUnit)
{
    // The source opens the other way, so both routes meet: render through a
    // handle, and the fast render function of a component instance.
    const Way otherWay = GetParam() == Way::factory ? Way::component : Way::factory;
    auto source = openUnit(otherWay);
    ASSERT_NE(source, nullptr);
    ASSERT_EQ(source->setChannels(kAudioUnitScope_Input, 2, 48000.0), 0);
    ASSERT_EQ(source->setChannels(kAudioUnitScope_Output, 2, 48000.0), 0);
    ASSERT_EQ(source->setInputCallback(&AUPluginTest::ramp, this), 0);
    ASSERT_EQ(source->setParameter(0, 0, 0, 2.0f, 0), 0);
    ASSERT_EQ(source->initialize(), 0);

    ASSERT_EQ(unit->setChannels(kAudioUnitScope_Output, 2, 48000.0), 0);
    const AudioUnitConnection connection { source->handle(), 0, 0 };
    ASSERT_EQ(unit->set(kAudioUnitProperty_MakeConnection, kAudioUnitScope_Input, 0, connection), 0);
    Float64 rate = 0;
    ASSERT_EQ(unit->get(kAudioUnitProperty_SampleRate, kAudioUnitScope_Input, 0, rate), 0);
    EXPECT_EQ(rate, 48000.0) << "the input took the source's format";
    Boolean writable = 1;
    ASSERT_EQ(unit->getPropertyInfo(kAudioUnitProperty_StreamFormat, 1, 0, nullptr, &writable), 0);
    EXPECT_EQ(writable, 0) << "a connected input's format follows its source";

    ASSERT_EQ(unit->setParameter(0, 0, 0, 0.5f, 0), 0);
    ASSERT_EQ(unit->initialize(), 0);
    ChannelBuffers out(2, 128);
    AudioTimeStamp t = sampleTime(0);
    ASSERT_EQ(unit->render(nullptr, &t, 0, 128, out.list()), 0);
    EXPECT_EQ(out.channel(0)[127], 2.0f * 0.5f * input(0, 127));
    EXPECT_EQ(out.channel(1)[64], 2.0f * 0.5f * input(1, 64));

    // Disconnected: no source any more.
    const AudioUnitConnection none { nullptr, 0, 0 };
    ASSERT_EQ(unit->set(kAudioUnitProperty_MakeConnection, kAudioUnitScope_Input, 0, none), 0);
    t = sampleTime(128);
    EXPECT_EQ(unit->render(nullptr, &t, 0, 128, out.list()), -10876);
}

// ---- Saved state --------------------------------------------------------------------------

SInt32 numberIn(CFDictionaryRef dict, const char* key)
{
    CFHolder k(makeString(key));
    SInt32 v = -12345;
    CFNumberGetValue(static_cast<CFNumberRef>(CFDictionaryGetValue(dict, k.ref)), kCFNumberSInt32Type, &v);
    return v;
}

CFTypeRef valueIn(CFDictionaryRef dict, const char* key)
{
    CFHolder k(makeString(key));
    return CFDictionaryGetValue(dict, k.ref);
}

TEST_P(AUPluginTest, ClassInfoSavesTheKeysAndParameterBlob)
{
    ASSERT_EQ(unit->setParameter(0, 0, 0, 0.5f, 0), 0);
    CFPropertyListRef plist = nullptr;
    ASSERT_EQ(unit->get(kAudioUnitProperty_ClassInfo, 0, 0, plist), 0);
    CFHolder held(plist);
    auto dict = static_cast<CFDictionaryRef>(plist);
    ASSERT_EQ(CFGetTypeID(dict), CFDictionaryGetTypeID());

    EXPECT_EQ(numberIn(dict, "version"), 0);
    EXPECT_EQ(numberIn(dict, "type"), 0x61756678);
    EXPECT_EQ(numberIn(dict, "subtype"), 0x51767232);
    EXPECT_EQ(numberIn(dict, "manufacturer"), 0x5176616E);
    EXPECT_EQ(numberIn(dict, "render-quality"), 64);
    EXPECT_EQ(valueIn(dict, "cpu-load"), nullptr);
    EXPECT_EQ(valueIn(dict, "element-name"), nullptr);
    EXPECT_STREQ(CFStringGetCStringPtr(static_cast<CFStringRef>(valueIn(dict, "name")), kCFStringEncodingUTF8),
                 "Untitled");

    // Global element 0: count 2, (0, 0.5), (1, 0.0), all big-endian.
    const UInt8 expected[] = { 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 0, 0, 0,
                               0x3F, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0 };
    auto data = static_cast<CFDataRef>(valueIn(dict, "data"));
    ASSERT_EQ(CFDataGetLength(data), (CFIndex) sizeof(expected));
    EXPECT_EQ(std::memcmp(CFDataGetBytePtr(data), expected, sizeof(expected)), 0);

    // Restored after a change, the saved values come back.
    ASSERT_EQ(unit->setParameter(0, 0, 0, 1.5f, 0), 0);
    ASSERT_EQ(unit->set(kAudioUnitProperty_ClassInfo, 0, 0, plist), 0);
    Float32 gain = 0;
    ASSERT_EQ(unit->getParameter(0, 0, 0, &gain), 0);
    EXPECT_EQ(gain, 0.5f);
}

TEST_P(AUPluginTest, ClassInfoRefusalsAndElementNames)
{
    auto restoreWith = [&](const char* key, CFTypeRef value) {
        CFPropertyListRef plist = nullptr;
        EXPECT_EQ(unit->get(kAudioUnitProperty_ClassInfo, 0, 0, plist), 0);
        CFHolder held(plist);
        CFHolder copy(CFDictionaryCreateMutableCopy(nullptr, 0, static_cast<CFDictionaryRef>(plist)));
        CFHolder k(makeString(key));
        auto* dict = static_cast<CFMutableDictionaryRef>(const_cast<void*>(copy.ref));
        if (value != nullptr)
            CFDictionarySetValue(dict, k.ref, value);
        else
            CFDictionaryRemoveValue(dict, k.ref);
        return unit->set(kAudioUnitProperty_ClassInfo, 0, 0, copy.ref);
    };
    SInt32 one = 1, seven = 7;
    CFHolder numberOne(CFNumberCreate(nullptr, kCFNumberSInt32Type, &one));
    CFHolder numberSeven(CFNumberCreate(nullptr, kCFNumberSInt32Type, &seven));
    CFHolder text(makeString("x"));

    EXPECT_EQ(restoreWith("version", numberOne.ref), kBadValue);
    EXPECT_EQ(restoreWith("subtype", numberSeven.ref), kBadValue);
    EXPECT_EQ(restoreWith("manufacturer", nullptr), kBadValue);
    EXPECT_EQ(restoreWith("part", numberOne.ref), kBadValue);
    EXPECT_EQ(restoreWith("type", numberSeven.ref), 0) << "the type is not compared";
    EXPECT_EQ(restoreWith("type", text.ref), kBadValue) << "but must be a number";
    EXPECT_EQ(restoreWith("data", text.ref), kBadValue);

    // Without a name the preset is "Untitled", number -1.
    CFHolder mine(makeString("Mine"));
    ASSERT_EQ(unit->set(kAudioUnitProperty_PresentPreset, 0, 0, AUPreset { -3, (CFStringRef) mine.ref }), 0);
    EXPECT_EQ(restoreWith("name", nullptr), 0);
    AUPreset p {};
    ASSERT_EQ(unit->get(kAudioUnitProperty_PresentPreset, 0, 0, p), 0);
    CFHolder pn(p.presetName);
    EXPECT_EQ(p.presetNumber, -1);
    EXPECT_STREQ(CFStringGetCStringPtr(p.presetName, kCFStringEncodingUTF8), "Untitled");

    // Names for input element 5 of one: the scope grows to 6, with a notice.
    notices.clear();
    ASSERT_EQ(unit->addPropertyListener(11, listener, nullptr), 0);
    CFHolder five(makeString("Five"));
    CFHolder k5(makeString("5"));
    CFHolder scopeNames(CFDictionaryCreate(nullptr, &k5.ref, &five.ref, 1, &kCFTypeDictionaryKeyCallBacks,
                                           &kCFTypeDictionaryValueCallBacks));
    CFHolder k1(makeString("1"));
    CFHolder names(CFDictionaryCreate(nullptr, &k1.ref, &scopeNames.ref, 1, &kCFTypeDictionaryKeyCallBacks,
                                      &kCFTypeDictionaryValueCallBacks));
    EXPECT_EQ(restoreWith("element-name", names.ref), 0);
    UInt32 inputs = 0;
    ASSERT_EQ(unit->get(kAudioUnitProperty_ElementCount, 1, 0, inputs), 0);
    EXPECT_EQ(inputs, 6u);
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0].id, 11u);
    EXPECT_EQ(notices[0].scope, 1u);
    CFStringRef name = nullptr;
    ASSERT_EQ(unit->get(kAudioUnitProperty_ElementName, 1, 5, name), 0);
    CFHolder hn(name);
    EXPECT_TRUE(CFEqual(name, five.ref));

    // Saved again, the name travels under "element-name" → "1" → "5".
    CFPropertyListRef plist = nullptr;
    ASSERT_EQ(unit->get(kAudioUnitProperty_ClassInfo, 0, 0, plist), 0);
    CFHolder held(plist);
    auto saved = static_cast<CFDictionaryRef>(valueIn(static_cast<CFDictionaryRef>(plist), "element-name"));
    ASSERT_NE(saved, nullptr);
    EXPECT_TRUE(CFEqual(saved, names.ref));
}

TEST(AUPluginFactory, InstanceBlockLayoutAndLookupTable)
{
    const PluginModule& module = testPluginModule();
    ASSERT_TRUE(module.isLoaded()) << module.error();
    const AudioComponentDescription d = testDescription();
    AudioComponentPlugInInterface* iface = module.factory()(&d);
    ASSERT_NE(iface, nullptr);

    auto* words = reinterpret_cast<void**>(iface);
    for (int slot : { 0, 1, 2, 4, 5 })
        EXPECT_NE(words[slot], nullptr) << "offset " << slot * 8;
    for (int slot : { 3, 6, 7 })
        EXPECT_EQ(words[slot], nullptr) << "offset " << slot * 8;

    for (SInt16 s : { 1, 2, 3, 4, 5, 6, 7, 9, 10, 11, 14, 15, 16, 17, 18 })
        EXPECT_NE(iface->Lookup(s), nullptr) << "selector " << s;
    for (SInt16 s : { 0, 8, 12, 13, 19, 257, 258, -1 })
        EXPECT_EQ(iface->Lookup(s), nullptr) << "selector " << s;

    // Opened with itself as the instance, closed again.
    ASSERT_EQ(iface->Open(iface, reinterpret_cast<AudioComponentInstance>(iface)), 0);
    EXPECT_EQ(iface->Close(iface), 0);
}

TEST(AUPluginComponent, CanDoVersionAndUnknownSelectors)
{
    auto unit = openUnit(Way::component);
    ASSERT_NE(unit, nullptr);
    const ComponentEntry entry = testPluginModule().entry();
    // The storage is what the unit keeps for itself; reach it as a host would.
    void* storage = GetComponentInstanceStorage(unit->handle());
    ASSERT_NE(storage, nullptr);

    struct Row
    {
        SInt16 asked;
        OSStatus canDo;
    };
    const Row rows[] = { { 1, 1 },  { 2, 1 },  { 3, 1 },  { 4, 1 },  { 5, 1 },  { 6, 1 },   { 7, 1 },   { 9, 1 },
                         { 10, 1 }, { 14, 1 }, { 15, 1 }, { 16, 1 }, { 17, 1 }, { 18, 1 },  { -1, 1 },  { -2, 1 },
                         { -3, 1 }, { -4, 1 }, { 8, 0 },  { 11, 0 }, { 12, 0 }, { 13, 0 },  { 257, 0 }, { 258, 0 } };
    for (const auto& r : rows)
        EXPECT_EQ(ComponentCall(kComponentCanDoSelect, unit->handle()).arg(r.asked).call(entry, storage), r.canDo)
            << "can do " << r.asked;

    EXPECT_EQ(ComponentCall(kComponentVersionSelect, unit->handle()).call(entry, storage), 1);
    for (SInt16 s : { 8, 11, 12, 13, 19, -5 })
        EXPECT_EQ(ComponentCall(s, unit->handle()).call(entry, storage), (OSStatus) 0x80008002) << "selector " << s;

    // MIDI through the entry: refused before initialisation, taken after.
    EXPECT_EQ(ComponentCall(257, unit->handle()).arg(0x90u).arg(60u).arg(100u).arg(0u).call(entry, storage), -10867);
    ASSERT_EQ(unit->initialize(), 0);
    EXPECT_EQ(ComponentCall(257, unit->handle()).arg(0x90u).arg(60u).arg(100u).arg(0u).call(entry, storage), 0);
    const UInt8 sysex[] = { 0xF0, 0x7E, 0xF7 };
    EXPECT_EQ(ComponentCall(258, unit->handle()).arg(sysex).arg(3u).call(entry, storage), 0);
}
} // namespace
