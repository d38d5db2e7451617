// The adapter built into the test itself, where a host cannot reach: the
// render walk over host buffer lists and its refusals, initialisation that
// the base refuses, processor notifications, the play head, and the view's
// holder as the editor changes size or takes keys.
#include "AUPlugInDispatch.h"
#include "ChannelBuffers.h"
#include "DecoderFigures.h"
#include "JuceAU.h"
#include "X11HostWindow.h"

#include <HostWindow.h>

#include "ObjCMessage.h"
#include "PlatformAppKit.h"

#include <HostType.h>

#include <gtest/gtest.h>

#include <X11/Xlib.h>
#undef KeyPress // Xlib's event number, not juce::KeyPress

#include <cstdlib>
#include <vector>

namespace
{
using DecoderFigures::virtualMic;
using qvobjc::send;

constexpr UInt32 kFrames = 512;
constexpr int kSettle = 16; // blocks until smoothers and filters have settled

AudioStreamBasicDescription nonInterleaved(UInt32 channels)
{
    AudioStreamBasicDescription f {};
    f.mSampleRate = 44100.0;
    f.mFormatID = kAudioFormatLinearPCM;
    f.mFormatFlags = kAudioFormatFlagIsFloat | kAudioFormatFlagIsPacked | kAudioFormatFlagIsNonInterleaved;
    f.mBytesPerPacket = f.mBytesPerFrame = 4;
    f.mFramesPerPacket = 1;
    f.mChannelsPerFrame = channels;
    f.mBitsPerChannel = 32;
    return f;
}

/** A unit made the way the factory makes one, owned by the test. */
std::unique_ptr<JuceAU> makeUnit(UInt32 ins = 2, UInt32 outs = 2)
{
    auto au = std::make_unique<JuceAU>(nullptr);
    au->PostConstructor();
    const auto in = nonInterleaved(ins), out = nonInterleaved(outs);
    EXPECT_EQ(au->DispatchSetProperty(kAudioUnitProperty_StreamFormat, kAudioUnitScope_Input, 0, &in, sizeof(in)), 0);
    EXPECT_EQ(au->DispatchSetProperty(kAudioUnitProperty_StreamFormat, kAudioUnitScope_Output, 0, &out, sizeof(out)), 0);
    return au;
}

// ---- The render walk --------------------------------------------------------------

// A list of one buffer with `channels` interleaved channels.
struct InterleavedList
{
    std::vector<float> samples;
    AudioBufferList list {};

    InterleavedList(UInt32 channels, UInt32 frames) : samples(size_t(channels) * frames, 0.0f)
    {
        list.mNumberBuffers = 1;
        list.mBuffers[0] = AudioBuffer { channels, (UInt32) (samples.size() * sizeof(float)), samples.data() };
    }
};

TEST(JuceAUInProcess, InterleavedOutputIsInterleavedBackAndSilenceFlagCleared)
{
    auto au = makeUnit(2, 2);
    ASSERT_EQ(au->DoInitialize(), 0);

    ChannelBuffers in(2, kFrames);
    std::fill(in.channel(0), in.channel(0) + kFrames, 0.5f);  // W
    std::fill(in.channel(1), in.channel(1) + kFrames, 0.25f); // X
    InterleavedList out(2, kFrames);

    for (int b = 0; b < kSettle; ++b)
    {
        AudioUnitRenderActionFlags flags = kAudioUnitRenderAction_OutputIsSilence | kAudioUnitRenderAction_PreRender;
        ASSERT_EQ(au->ProcessBufferLists(flags, *in.list(), out.list, kFrames), 0);
        ASSERT_EQ(flags, (AudioUnitRenderActionFlags) kAudioUnitRenderAction_PreRender) << "only the silence flag goes";
    }
    // 5.1 decoded into two channels: L and R, sample by sample in turn.
    const size_t last = size_t(kFrames - 1) * 2;
    EXPECT_NEAR(out.samples[last], virtualMic(0.5, 0.25, 0.0, DecoderFigures::kL), 1e-5);
    EXPECT_NEAR(out.samples[last + 1], virtualMic(0.5, 0.25, 0.0, DecoderFigures::kR), 1e-5);
    for (int c = 0; c < 2; ++c)
        EXPECT_EQ(in.channel(c)[kFrames - 1], c == 0 ? 0.5f : 0.25f) << "the input stays as the host gave it";
}

// Anything the processor was not prepared for is refused before it runs:
// the output keeps the host's samples.
TEST(JuceAUInProcess, RefusedBeforeTheProcessorRuns)
{
    auto au = makeUnit(2, 2);
    ChannelBuffers in(2, 1200, 0.5f), out(2, 1200, 9.0f);
    auto untouched = [&](const char* what) {
        for (UInt32 c = 0; c < 2; ++c)
            for (UInt32 j = 0; j < 1200; ++j)
                ASSERT_EQ(out.channel(c)[j], 9.0f) << what << ": output " << c << " sample " << j;
    };
    AudioUnitRenderActionFlags flags = 0;

    EXPECT_EQ(au->ProcessBufferLists(flags, *in.list(), *out.list(), kFrames), -10867) << "not prepared";
    untouched("not prepared");

    ASSERT_EQ(au->DoInitialize(), 0);
    EXPECT_EQ(au->ProcessBufferLists(flags, *in.list(), *out.list(), 1157), -10874) << "1156 frames prepared";
    untouched("too many frames");

    // One channel short, memory missing, a buffer one sample short.
    out.list()->mNumberBuffers = 1;
    EXPECT_EQ(au->ProcessBufferLists(flags, *in.list(), *out.list(), kFrames), -50) << "one output channel of two";
    out.restorePointers();
    out.list()->mNumberBuffers = 2;
    out.list()->mBuffers[1].mData = nullptr;
    EXPECT_EQ(au->ProcessBufferLists(flags, *in.list(), *out.list(), kFrames), -50) << "no memory";
    out.restorePointers();
    in.list()->mBuffers[1].mDataByteSize = kFrames * 4 - 4;
    EXPECT_EQ(au->ProcessBufferLists(flags, *in.list(), *out.list(), kFrames), -50) << "input one sample short";
    in.restorePointers();
    untouched("mismatched buffers");

    // A processor that somehow holds a pair the unit does not accept.
    au->getProcessor()->setPlayConfigDetails(3, 2, 44100.0, 1156);
    EXPECT_EQ(au->ProcessBufferLists(flags, *in.list(), *out.list(), kFrames), -10868);
    untouched("refused pair");
    au->getProcessor()->setPlayConfigDetails(2, 2, 44100.0, 1156);
    EXPECT_EQ(au->ProcessBufferLists(flags, *in.list(), *out.list(), kFrames), 0) << "and with the right pair, it runs";
}

// A base that refuses initialisation (here: its own channel table allows
// only six in, six out) is heard; nothing is prepared.
TEST(JuceAUInProcess, InitialisationPassesTheBasesRefusalOn)
{
    struct NarrowUnit : JuceAU
    {
        using JuceAU::JuceAU;
        UInt32 SupportedNumChannels(const AUChannelInfo** outInfo) override
        {
            static const AUChannelInfo only { 6, 6 };
            if (outInfo != nullptr)
                *outInfo = &only;
            return 1;
        }
    };
    NarrowUnit au(nullptr);
    au.PostConstructor();
    EXPECT_EQ(au.DoInitialize(), -10868) << "2 in, 2 out: the unit's pair, not the base's";
    EXPECT_FALSE(au.IsInitialized());
    EXPECT_EQ(au.getProcessor()->getSampleRate(), 0.0) << "the processor was never prepared";
}

// ---- Notifications and the play head ---------------------------------------------------

// A gesture the processor reports (as the editor does around every change)
// reaches the host as begin (1), value (0) and end (2) events of that
// parameter; gestures on the input format and layout, which are no host
// parameters, send nothing.
TEST(JuceAUInProcess, ProcessorGesturesBecomeBeginValueEndEvents)
{
    int instance = 0;
    auto au = std::make_unique<JuceAU>(reinterpret_cast<AudioComponentInstance>(&instance));
    au->PostConstructor();
    juce::AudioProcessor* processor = au->getProcessor();
    QvPlatformClearRecordedEvents();

    processor->beginParameterChangeGesture(5);
    processor->setParameterNotifyingHost(5, 0.25f);
    processor->endParameterChangeGesture(5);
    for (int notHost : { 35, 36, -1 })
    {
        processor->beginParameterChangeGesture(notHost);
        processor->endParameterChangeGesture(notHost);
    }

    const struct
    {
        AudioUnitEventType type;
        AudioUnitParameterID parameter;
    } expected[] = { { 1, 5 }, { 0, 5 }, { 2, 5 } };
    ASSERT_EQ(QvPlatformRecordedEventCount(), 3u) << "one begin, one value, one end and nothing for 35, 36 or -1";
    for (UInt32 i = 0; i < 3; ++i)
    {
        AudioUnitEvent e {};
        ASSERT_TRUE(QvPlatformRecordedEvent(i, &e));
        EXPECT_EQ(e.mEventType, expected[i].type) << "event " << i;
        EXPECT_EQ(e.mArgument.mParameter.mParameterID, expected[i].parameter) << "event " << i;
        EXPECT_EQ(e.mArgument.mParameter.mAudioUnit, reinterpret_cast<AudioUnit>(&instance)) << "event " << i;
    }
}

TEST(JuceAUInProcess, ProcessorNotificationsBecomeEvents)
{
    int instance = 0;
    auto au = std::make_unique<JuceAU>(reinterpret_cast<AudioComponentInstance>(&instance));
    au->PostConstructor();
    juce::AudioProcessor* processor = au->getProcessor();
    QvPlatformClearRecordedEvents();

    processor->setParameterNotifyingHost(4, 0.5f);
    au->audioProcessorParameterChangeGestureBegin(processor, 7);
    au->audioProcessorParameterChangeGestureEnd(processor, 7);
    processor->setParameterNotifyingHost(36, 0.5f); // not a host parameter: not sent

    const struct
    {
        AudioUnitEventType type;
        AudioUnitParameterID parameter;
    } expected[] = { { 0, 4 }, { 1, 7 }, { 2, 7 } };
    ASSERT_EQ(QvPlatformRecordedEventCount(), 3u);
    for (UInt32 i = 0; i < 3; ++i)
    {
        AudioUnitEvent e {};
        ASSERT_TRUE(QvPlatformRecordedEvent(i, &e));
        EXPECT_EQ(e.mEventType, expected[i].type) << "event " << i;
        EXPECT_EQ(e.mArgument.mParameter.mParameterID, expected[i].parameter) << "event " << i;
        EXPECT_EQ(e.mArgument.mParameter.mAudioUnit, reinterpret_cast<AudioUnit>(&instance)) << "event " << i;
        EXPECT_EQ(e.mArgument.mParameter.mScope, 0u);
        EXPECT_EQ(e.mArgument.mParameter.mElement, 0u);
    }
    Float32 value = 0;
    EXPECT_EQ(au->GetParameter(4, kAudioUnitScope_Global, 0, value), 0);
    EXPECT_EQ(value, 0.5f) << "listeners read the value back";

    // A processor change is a latency change for the host.
    struct Heard
    {
        std::vector<AudioUnitPropertyID> ids;
        static void call(void* self, AudioUnit, AudioUnitPropertyID id, AudioUnitScope, AudioUnitElement)
        {
            static_cast<Heard*>(self)->ids.push_back(id);
        }
    } heard;
    ASSERT_EQ(au->AddPropertyListener(kAudioUnitProperty_Latency, &Heard::call, &heard), 0);
    au->audioProcessorChanged(processor);
    ASSERT_EQ(heard.ids.size(), 1u);
    EXPECT_EQ(heard.ids[0], 12u);
}

TEST(JuceAUInProcess, FrameRatesBySMPTEType)
{
    const struct
    {
        UInt32 smpte;
        int frameRate;
    } rows[] = { { 0, 0 }, { 1, 1 }, { 2, 5 }, { 3, 3 }, { 4, 2 }, { 5, 4 }, { 6, 99 }, { 0xFFFFFFFF, 99 } };
    for (const auto& r : rows)
        EXPECT_EQ((int) JuceAU::FrameRateForSMPTEType(r.smpte), r.frameRate) << "SMPTE type " << r.smpte;
}

struct Transport
{
    OSStatus status = 0;
    Float32 numerator = 7.9f;

    static OSStatus beat(void* self, Float64* beat, Float64* tempo)
    {
        *beat = 12.5;
        *tempo = 96.0;
        return static_cast<Transport*>(self)->status;
    }
    static OSStatus musical(void* self, UInt32* offset, Float32* numerator, UInt32* denominator, Float64* downBeat)
    {
        *offset = 3;
        *numerator = static_cast<Transport*>(self)->numerator;
        *denominator = 8;
        *downBeat = 10.0;
        return static_cast<Transport*>(self)->status;
    }
    static OSStatus state(void* self, Boolean* playing, Boolean* changed, Float64* sample, Boolean* cycling,
                          Float64* start, Float64* end)
    {
        *playing = true;
        *changed = false;
        *sample = 88200.0;
        *cycling = true;
        *start = 1;
        *end = 2;
        return static_cast<Transport*>(self)->status;
    }
};

TEST(JuceAUInProcess, PlayHeadFromTheHostsCallbacks)
{
    auto au = makeUnit();
    juce::AudioPlayHead::CurrentPositionInfo info;
    info.resetToDefault();

    // Without callbacks: tempo 0, 0/0, stopped.
    EXPECT_TRUE(au->getCurrentPosition(info));
    EXPECT_EQ(info.bpm, 0.0);
    EXPECT_EQ(info.timeSigNumerator, 0);
    EXPECT_EQ(info.timeSigDenominator, 0);
    EXPECT_FALSE(info.isPlaying);
    EXPECT_EQ(info.frameRate, juce::AudioPlayHead::fps24) << "SMPTE type 0 of a render not yet made";

    Transport transport;
    HostCallbackInfo callbacks { &transport, &Transport::beat, &Transport::musical, &Transport::state };
    ASSERT_EQ(au->DispatchSetProperty(kAudioUnitProperty_HostCallbacks, 0, 0, &callbacks, sizeof(callbacks)), 0);
    EXPECT_TRUE(au->getCurrentPosition(info));
    EXPECT_EQ(info.ppqPosition, 12.5);
    EXPECT_EQ(info.bpm, 96.0);
    EXPECT_EQ(info.timeSigNumerator, 7) << "7.9 truncated";
    EXPECT_EQ(info.timeSigDenominator, 8);
    EXPECT_EQ(info.ppqPositionOfLastBarStart, 10.0);
    EXPECT_TRUE(info.isPlaying);
    EXPECT_EQ(info.timeInSamples, 88200);
    EXPECT_EQ(info.timeInSeconds, 2.0);
    EXPECT_FALSE(info.isLooping) << "the host's cycle is not used";
    EXPECT_FALSE(info.isRecording);

    // A numerator no integer holds reads 0; failing callbacks leave zeros.
    transport.numerator = std::nanf("");
    EXPECT_TRUE(au->getCurrentPosition(info));
    EXPECT_EQ(info.timeSigNumerator, 0);
    transport.status = -1;
    EXPECT_TRUE(au->getCurrentPosition(info)) << "true also when the host's calls fail";
    EXPECT_EQ(info.bpm, 0.0);
    EXPECT_EQ(info.timeInSamples, 0);
    EXPECT_FALSE(info.isPlaying);
}

// ---- The view's holder ---------------------------------------------------------------------

class JuceAUHolderTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (! HasX11Display())
            GTEST_SKIP() << "no display: run under xvfb-run (the test script does)";
        X11HostWindow::installErrorCounter();
        errorsBefore = X11HostWindow::errorCount();
        // Made as a host makes it: the factory's block, opened through the registry.
        static AudioComponent component = [] {
            const AudioComponentDescription d { 0x61756678, 0x51767232, 0x42726E6B, 0, 0 };
            return AudioComponentRegister(&d, nullptr, 1, &APFactory<AUBaseLookup, JuceAU>::Factory);
        }();
        ASSERT_EQ(AudioComponentInstanceNew(component, &instance), 0);
        au = static_cast<JuceAU*>(InstanceObject(instance));

        AudioUnitCocoaViewInfo info {};
        ASSERT_EQ(JuceAU::GetCocoaViewInfo(info), 0);
        Class factoryClass = objc_getClass(CFStringGetCStringPtr(info.mCocoaAUViewClass[0], kCFStringEncodingUTF8));
        CFRelease(info.mCocoaAUViewBundleLocation);
        CFRelease(info.mCocoaAUViewClass[0]);

        id factory = send<id>(class_createInstance(factoryClass, 0), "init");
        void* pool = objc_autoreleasePoolPush();
        view = objc_retain(send<id>(factory, "uiViewForAudioUnit:withSize:", static_cast<AudioUnit>(instance), NSSize {}));
        objc_autoreleasePoolPop(pool);
        objc_release(factory);
        ASSERT_NE(view, nullptr);

        void* holderPointer = nullptr;
        object_getInstanceVariable(view, "editor", &holderPointer);
        holder = static_cast<JuceAU::EditorCompHolder*>(holderPointer);
        ASSERT_NE(holder, nullptr);
    }

    void TearDown() override
    {
        if (view != nullptr)
        {
            send<void>(view, "removeFromSuperview");
            objc_release(view);
        }
        if (instance != nullptr)
            AudioComponentInstanceDispose(instance);
        HostType::ClearHostTypeForTesting();
        if (HasX11Display())
        {
            EXPECT_EQ(X11HostWindow::errorCount(), errorsBefore) << X11HostWindow::lastErrorText();
        }
    }

    static XWindowAttributes attributesOf(unsigned long window)
    {
        static Display* display = XOpenDisplay(nullptr);
        XWindowAttributes a {};
        XGetWindowAttributes(display, window, &a);
        return a;
    }

    AudioComponentInstance instance = nullptr;
    JuceAU* au = nullptr;
    id view = nullptr;
    JuceAU::EditorCompHolder* holder = nullptr;
    int errorsBefore = 0;
};

// The editor at 20 x 10: the holder stays 32 x 32, the host's view takes the
// editor's size, and its X11 window with it.
TEST_F(JuceAUHolderTest, SmallEditorKeepsTheHolderAt32)
{
    X11HostWindow host(600, 600, 0xffffff);
    id window = QvWindowCreateForX11Window(host.id());
    send<void>(send<id>(window, "contentView"), "addSubview:", view);
    send<void>(view, "setFrame:", NSRect { { 7, 9 }, { 522, 560 } });

    auto* editor = au->getProcessor()->getActiveEditor();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(holder->getWidth(), 522);
    EXPECT_EQ(holder->getHeight(), 560);

    const struct
    {
        int width, height;   // the editor's
        int holderWidth, holderHeight;
    } rows[] = { { 20, 10, 32, 32 }, { 31, 40, 32, 40 }, { 33, 32, 33, 32 }, { 522, 560, 522, 560 } };
    for (const auto& r : rows)
    {
        {
            // As on the GUI library's own turns, which run under the trap.
            const juce::ScopedXErrorTrap trap;
            editor->setSize(r.width, r.height);
        }
        EXPECT_EQ(holder->getWidth(), r.holderWidth) << r.width << " x " << r.height;
        EXPECT_EQ(holder->getHeight(), r.holderHeight) << r.width << " x " << r.height;
        const NSRect frame = send<NSRect>(view, "frame");
        EXPECT_EQ(frame.origin.x, 7) << "the view keeps its origin";
        EXPECT_EQ(frame.origin.y, 9);
        EXPECT_EQ(frame.size.width, r.width) << "the view takes the editor's size, not the holder's";
        EXPECT_EQ(frame.size.height, r.height);
        const auto a = attributesOf(QvViewGetX11Window(view));
        EXPECT_EQ(a.width, r.width);
        EXPECT_EQ(a.height, r.height);
    }
    objc_release(window);
}

TEST_F(JuceAUHolderTest, HolderTakesNoFocusAndHoldsTheEditor)
{
    EXPECT_FALSE(holder->getWantsKeyboardFocus());
    EXPECT_EQ(holder->getNumChildComponents(), 1);
    EXPECT_EQ(holder->getChildComponent(0), au->getProcessor()->getActiveEditor());
    EXPECT_TRUE(holder->getChildComponent(0)->isVisible());
}

// A host's view that records the keys that reach it.
std::vector<id> keysAtHost;

Class keyRecordingView()
{
    static Class cls = [] {
        Class c = objc_allocateClassPair(objc_getClass("NSView"), "QvTestHostKeyView", 0);
        auto record = +[](id, SEL, id event) { keysAtHost.push_back(event); };
        class_addMethod(c, sel_registerName("keyDown:"), reinterpret_cast<IMP>(record), "v@:@");
        objc_registerClassPair(c);
        return c;
    }();
    return cls;
}

TEST_F(JuceAUHolderTest, KeysGoBackToTheHostOnlyInLive)
{
    X11HostWindow host(600, 600, 0xffffff);
    id window = QvWindowCreateForX11Window(host.id());
    id hostView = send<id>(class_createInstance(keyRecordingView(), 0), "initWithFrame:", NSRect { { 0, 0 }, { 600, 600 } });
    send<void>(send<id>(window, "contentView"), "addSubview:", hostView);
    send<void>(hostView, "addSubview:", view);

    const juce::KeyPress key('a');
    id first = QvEventCreateKeyDown(5.0, 0);
    id second = QvEventCreateKeyDown(6.0, 0);
    send<void>(NSApp, "sendEvent:", first);

    const struct
    {
        HostType::Type host;
        size_t forwarded; // events at the host's view after three presses of two events
    } rows[] = { { HostType::UnknownHost, 0 }, { HostType::SteinbergCubase7, 0 }, { HostType::AbletonLive8, 2 },
                 { HostType::AbletonLiveGeneric, 2 } };
    for (const auto& r : rows)
    {
        HostType::SetHostTypeForTesting(r.host);
        keysAtHost.clear();
        send<void>(NSApp, "sendEvent:", first);
        EXPECT_FALSE(holder->keyPressed(key)) << "the key also goes its normal way";
        EXPECT_FALSE(holder->keyPressed(key)) << "the same event again";
        send<void>(NSApp, "sendEvent:", second);
        EXPECT_FALSE(holder->keyPressed(key));
        ASSERT_EQ(keysAtHost.size(), r.forwarded) << "host type " << (int) r.host;
        if (r.forwarded == 2)
        {
            EXPECT_EQ(keysAtHost[0], first);
            EXPECT_EQ(keysAtHost[1], second);
            EXPECT_EQ(send<id>(window, "firstResponder"), view) << "the plug-in's view answers again";
        }
        // The process remembers the last event: the next row starts afresh.
        id reset = QvEventCreateKeyDown(100.0 + (double) r.host, 0);
        send<void>(NSApp, "sendEvent:", reset);
        HostType::SetHostTypeForTesting(HostType::AbletonLiveGeneric);
        holder->keyPressed(key);
        objc_release(reset);
    }

    send<void>(NSApp, "sendEvent:", static_cast<id>(nullptr));
    objc_release(first);
    objc_release(second);
    send<void>(view, "removeFromSuperview");
    objc_release(hostView);
    objc_release(window);
}
} // namespace

// The adapter's render walk at the number of frames it was prepared for:
// exactly that many run through the processor, one more is refused before
// it runs.
TEST(JuceAULimits, ExactlyThePreparedFramesRunAndOneMoreIsRefused)
{
    struct Row
    {
        UInt32 maximum; // 0: the unit's own, 1156
        UInt32 frames;
        OSStatus status;
    };
    const Row rows[] = { { 0, 1156, 0 }, { 0, 1157, -10874 }, { 300, 300, 0 }, { 300, 301, -10874 } };
    for (const auto& r : rows)
    {
        SCOPED_TRACE(testing::Message() << "maximum " << (r.maximum == 0 ? 1156 : r.maximum) << ", " << r.frames
                                        << " frames");
        JuceAU au(nullptr);
        au.PostConstructor();
        const auto format = nonInterleaved(2);
        ASSERT_EQ(au.DispatchSetProperty(kAudioUnitProperty_StreamFormat, kAudioUnitScope_Input, 0, &format, sizeof(format)), 0);
        ASSERT_EQ(au.DispatchSetProperty(kAudioUnitProperty_StreamFormat, kAudioUnitScope_Output, 0, &format, sizeof(format)), 0);
        if (r.maximum != 0)
        {
            ASSERT_EQ(au.DispatchSetProperty(kAudioUnitProperty_MaximumFramesPerSlice, 0, 0, &r.maximum, 4), 0);
        }
        ASSERT_EQ(au.DoInitialize(), 0);

        ChannelBuffers in(2, r.frames, 0.5f), out(2, r.frames, 9.0f);
        AudioUnitRenderActionFlags flags = 0;
        EXPECT_EQ(au.ProcessBufferLists(flags, *in.list(), *out.list(), r.frames), r.status);
        // A run replaces the host's 9s (the decoder never puts out 9 from
        // inputs of 0.5); a refusal leaves every one of them.
        for (UInt32 c = 0; c < 2; ++c)
            EXPECT_EQ(out.channel(c)[r.frames - 1] == 9.0f, r.status != 0) << "output " << c;
    }
}
