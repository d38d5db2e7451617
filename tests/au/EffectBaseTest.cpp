// The effect and MIDI bases: the channel check on initialisation, bypass,
// kernels over non-interleaved and interleaved lists, the silence countdown,
// slicing inside a render, MIDI decoding and the MIDI name property.
#include "AUFastDispatch.h"
#include "AUMIDIEffectBase.h"
#include "ChannelBuffers.h"
#include "TestEffectUnit.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
// The test unit with a channel table, reset and bypass counters, a tail, and
// a record of the MIDI handlers called.
class ProbeUnit : public TestEffectUnit
{
public:
    ProbeUnit() : TestEffectUnit(nullptr) { PostConstructor(); }

    UInt32 SupportedNumChannels(const AUChannelInfo** out) override
    {
        if (out != nullptr)
            *out = table.data();
        return (UInt32) table.size();
    }
    OSStatus Reset(AudioUnitScope scope, AudioUnitElement element) override
    {
        ++resets;
        return TestEffectUnit::Reset(scope, element);
    }
    void SetBypassEffect(bool bypass) override
    {
        ++bypassSets;
        TestEffectUnit::SetBypassEffect(bypass);
    }
    Float64 GetTailTime() override { return tail; }
    OSStatus ProcessBufferLists(AudioUnitRenderActionFlags& flags, const AudioBufferList& in, AudioBufferList& out,
                                UInt32 frames) override
    {
        processed.push_back(frames);
        if (processed.size() == failOnCall)
            return -1234;
        return TestEffectUnit::ProcessBufferLists(flags, in, out, frames);
    }

    OSStatus HandleNoteOn(UInt8 c, UInt8 n, UInt8 v, UInt32) override { return log("on", c, n, v); }
    OSStatus HandleNoteOff(UInt8 c, UInt8 n, UInt8 v, UInt32) override { return log("off", c, n, v); }
    OSStatus HandleControlChange(UInt8 c, UInt8 n, UInt8 v, UInt32) override { return log("cc", c, n, v); }
    OSStatus HandlePitchWheel(UInt8 c, UInt8 lo, UInt8 hi, UInt32) override { return log("bend", c, lo, hi); }
    OSStatus HandleChannelPressure(UInt8 c, UInt8 v, UInt32) override { return log("pressure", c, v, 0); }
    OSStatus HandleProgramChange(UInt8 c, UInt8 p) override { return log("program", c, p, 0); }
    OSStatus HandlePolyPressure(UInt8 c, UInt8 n, UInt8 v, UInt32) override { return log("poly", c, n, v); }
    OSStatus HandleResetAllControllers(UInt8 c) override { return log("reset", c, 0, 0); }
    OSStatus HandleAllNotesOff(UInt8 c) override { return log("notesoff", c, 0, 0); }
    OSStatus HandleAllSoundOff(UInt8 c) override { return log("soundoff", c, 0, 0); }

    OSStatus log(const char* what, int c, int a, int b)
    {
        midi = std::string(what) + " " + std::to_string(c) + " " + std::to_string(a) + " " + std::to_string(b);
        return 0;
    }

    OSStatus setChannels(UInt32 in, UInt32 out)
    {
        CAStreamBasicDescription f = DefaultIOStreamFormat();
        f.mChannelsPerFrame = in;
        OSStatus s = DispatchSetProperty(kAudioUnitProperty_StreamFormat, kAudioUnitScope_Input, 0, &f, 40);
        f.mChannelsPerFrame = out;
        return s != 0 ? s : DispatchSetProperty(kAudioUnitProperty_StreamFormat, kAudioUnitScope_Output, 0, &f, 40);
    }

    std::vector<AUChannelInfo> table;
    int resets = 0, bypassSets = 0;
    Float64 tail = 0.0;
    std::string midi;
    std::vector<UInt32> processed;
    size_t failOnCall = 0;
};

TEST(EffectBase, ChannelTablesOnInitialisation)
{
    struct Row
    {
        std::vector<AUChannelInfo> table;
        UInt32 in, out;
        OSStatus status;
    };
    const Row rows[] = {
        { { { 2, 2 }, { 4, 4 } }, 4, 2, -10868 },
        { { { 2, 2 }, { 4, 4 }, { 4, 2 } }, 4, 2, 0 },
        { { { -1, -1 } }, 6, 6, 0 },
        { { { -1, -1 } }, 6, 2, -10868 },
        { { { -1, -2 } }, 6, 2, 0 },
        { { { -2, -1 } }, 1, 8, 0 },
        { { { -1, 2 } }, 7, 2, 0 },
        { { { -1, 2 } }, 7, 3, -10868 },
        { { { -3, -3 } }, 2, 2, -10868 },
        { {}, 3, 3, 0 },
        { {}, 3, 2, -10868 },
    };
    for (const auto& r : rows)
    {
        ProbeUnit unit;
        unit.table = r.table;
        ASSERT_EQ(unit.setChannels(r.in, r.out), 0);
        EXPECT_EQ(unit.DoInitialize(), r.status) << r.in << " in, " << r.out << " out, " << r.table.size() << " pairs";
        if (r.status == 0)
        {
            ASSERT_EQ(unit.Kernels().size(), r.out) << "one kernel per output channel";
            EXPECT_EQ(unit.Kernels().back()->GetChannelNum(), r.out - 1);
        }
        else
        {
            EXPECT_FALSE(unit.IsInitialized());
        }
    }
}

TEST(EffectBase, BypassChangesOnceAndResetsWhenSwitchedOff)
{
    ProbeUnit unit;
    const UInt32 on = 1, off = 0;
    ASSERT_EQ(unit.DoInitialize(), 0);
    EXPECT_EQ(unit.DispatchSetProperty(21, 0, 0, &on, 4), 0);
    EXPECT_EQ(unit.DispatchSetProperty(21, 0, 0, &on, 4), 0);
    EXPECT_EQ(unit.bypassSets, 1);
    EXPECT_EQ(unit.resets, 0);
    EXPECT_EQ(unit.DispatchSetProperty(21, 0, 0, &off, 4), 0);
    EXPECT_EQ(unit.bypassSets, 2);
    EXPECT_EQ(unit.resets, 1);

    UInt32 value = 9;
    EXPECT_EQ(unit.DispatchGetProperty(21, 0, 0, &value), 0);
    EXPECT_EQ(value, 0u);
    EXPECT_EQ(unit.DispatchSetProperty(29, 0, 0, &on, 4), 0);
    EXPECT_TRUE(unit.ProcessesInPlace());
}

TEST(EffectBase, KernelsOverSeparateAndInterleavedBuffers)
{
    ProbeUnit unit;
    ASSERT_EQ(unit.DoInitialize(), 0);
    unit.Globals0()->SetParameter(TestEffectUnit::kGain, 2.0f);

    // One interleaved stereo buffer: kernel i takes every second sample from i.
    float in[8] = { 1, 10, 2, 20, 3, 30, 4, 40 };
    float out[8] = {};
    AudioBufferList inList { 1, { { 2, sizeof(in), in } } };
    AudioBufferList outList { 1, { { 2, sizeof(out), out } } };
    AudioUnitRenderActionFlags flags = 0;
    ASSERT_EQ(unit.ProcessBufferLists(flags, inList, outList, 4), 0);
    const float expected[8] = { 2, 20, 4, 40, 6, 60, 8, 80 };
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(out[i], expected[i]) << "sample " << i;
    EXPECT_EQ(flags & 0x10, 0u);

    // A list whose buffers do not pair up is left alone rather than overrun.
    float wide[8] = {};
    AudioBufferList mono { 1, { { 1, 16, in } } };
    AudioBufferList stereo { 1, { { 2, sizeof(wide), wide } } };
    ASSERT_EQ(unit.ProcessBufferLists(flags, mono, stereo, 4), 0);
    EXPECT_EQ(wide[1], 0.0f);
}

TEST(EffectBase, SilentInputCountsDownLatencyAndTail)
{
    ProbeUnit unit;
    ASSERT_EQ(unit.DoInitialize(), 0);
    unit.tail = 0.001; // 44.1 frames at 44100 Hz: 44
    const AudioUnitRenderActionFlags silent = kAudioUnitRenderAction_OutputIsSilence;

    EXPECT_FALSE(unit.IsInputSilent(silent, 32)) << "44 frames left";
    EXPECT_FALSE(unit.IsInputSilent(silent, 32)) << "12 frames left";
    EXPECT_TRUE(unit.IsInputSilent(silent, 32));
    EXPECT_FALSE(unit.IsInputSilent(0, 32)) << "sound again restarts the count";
    EXPECT_FALSE(unit.IsInputSilent(silent, 32));
}

OSStatus constantInput(void*, AudioUnitRenderActionFlags*, const AudioTimeStamp*, UInt32, UInt32 frames,
                       AudioBufferList* list)
{
    for (UInt32 c = 0; c < list->mNumberBuffers; ++c)
        for (UInt32 j = 0; j < frames; ++j)
            static_cast<float*>(list->mBuffers[c].mData)[j] = 1.0f;
    return 0;
}

TEST(EffectBase, ScheduledEventRendersInTwoSlicesAndRestoresTheLists)
{
    ProbeUnit unit;
    ASSERT_EQ(unit.SetInputCallback(23, 0, constantInput, nullptr), 0);
    ASSERT_EQ(unit.DoInitialize(), 0);

    AudioUnitParameterEvent e {};
    e.eventType = kParameterEvent_Immediate;
    e.eventValues.immediate.bufferOffset = 32;
    e.eventValues.immediate.value = 0.5f;
    ASSERT_EQ(unit.ScheduleParameter(&e, 1), 0);

    ChannelBuffers host(2, 64);
    AudioTimeStamp t {};
    AudioUnitRenderActionFlags flags = 0;
    ASSERT_EQ(unit.DoRender(flags, t, 0, 64, *host.list()), 0);

    EXPECT_EQ(unit.processed, (std::vector<UInt32> { 32, 32 }));
    EXPECT_EQ(host.channel(1)[63], 0.5f);
    const AudioBufferList& input = unit.GetInput(0)->GetBufferList();
    EXPECT_EQ(input.mBuffers[1].mDataByteSize, 256u) << "the lists describe 64 frames again";
    EXPECT_EQ(input.mBuffers[0].mData, unit.GetInput(0)->GetBuffers().GetMemory());
    EXPECT_FALSE(unit.HasScheduledEvents()) << "used up by the render";
}

TEST(EffectBase, AFailedSliceStillLeavesTheListsWhole)
{
    ProbeUnit unit;
    ASSERT_EQ(unit.SetInputCallback(23, 0, constantInput, nullptr), 0);
    ASSERT_EQ(unit.DoInitialize(), 0);
    unit.failOnCall = 2;

    AudioUnitParameterEvent events[2] {};
    for (int i = 0; i < 2; ++i)
    {
        events[i].eventType = kParameterEvent_Immediate;
        events[i].eventValues.immediate.bufferOffset = 16 * (i + 1);
        events[i].eventValues.immediate.value = 0.5f;
    }
    ASSERT_EQ(unit.ScheduleParameter(events, 2), 0);

    ChannelBuffers host(2, 64);
    AudioTimeStamp t {};
    AudioUnitRenderActionFlags flags = 0;
    EXPECT_EQ(unit.DoRender(flags, t, 0, 64, *host.list()), -1234);
    EXPECT_EQ(unit.processed, (std::vector<UInt32> { 16, 16 })) << "the second of three slices failed";

    // Moved back by the 32 frames the two slices went, not by all 64.
    const AudioBufferList& input = unit.GetInput(0)->GetBufferList();
    EXPECT_EQ(input.mBuffers[0].mData, unit.GetInput(0)->GetBuffers().GetMemory());
    EXPECT_EQ(input.mBuffers[1].mDataByteSize, 256u);
}

TEST(MIDIBase, MessagesReachTheirHandlers)
{
    ProbeUnit unit;
    EXPECT_EQ(unit.MIDIEvent(0x90, 60, 100, 0), -10867) << "before initialisation";
    const UInt8 sysex[] = { 0xF0, 0xF7 };
    EXPECT_EQ(unit.SysEx(sysex, 2), -10867);
    ASSERT_EQ(unit.DoInitialize(), 0);

    struct Row
    {
        UInt32 status, data1, data2;
        const char* handled;
    };
    const Row rows[] = {
        { 0x93, 60, 100, "on 3 60 100" },  { 0x93, 60, 0, "off 3 60 0" },     { 0x81, 61, 64, "off 1 61 64" },
        { 0xB3, 120, 0, "soundoff 3 0 0" }, { 0xB3, 121, 0, "reset 3 0 0" },  { 0xB3, 123, 0, "notesoff 3 0 0" },
        { 0xB3, 7, 99, "cc 3 7 99" },      { 0xC1, 5, 0, "program 1 5 0" },   { 0xD2, 77, 0, "pressure 2 77 0" },
        { 0xE0, 1, 64, "bend 0 1 64" },    { 0xA5, 60, 30, "poly 5 60 30" },  { 0x193, 0x13C, 0x164, "on 3 60 100" },
    };
    for (const auto& r : rows)
    {
        unit.midi.clear();
        EXPECT_EQ(unit.MIDIEvent(r.status, r.data1, r.data2, 0), 0) << std::hex << r.status;
        EXPECT_EQ(unit.midi, r.handled) << std::hex << r.status;
    }
    unit.midi.clear();
    EXPECT_EQ(unit.MIDIEvent(0xF8, 0, 0, 0), 0);
    EXPECT_EQ(unit.midi, "") << "a system message reaches no handler";

    // The fast MIDI entry splits the status the same way.
    EXPECT_EQ(AUMIDIEffectBaseMIDIEvent(static_cast<AUBase*>(&unit), 0x9A, 0x140, 0x17F, 0), 0);
    EXPECT_EQ(unit.midi, "on 10 64 127");
    EXPECT_EQ(AUMIDIEffectBaseMIDIEvent(nullptr, 0x90, 1, 1, 0), -50);
}

TEST(MIDIBase, NameDocumentProperty)
{
    ProbeUnit unit;
    UInt32 size = 0;
    Boolean writable = false;
    EXPECT_EQ(unit.DispatchGetPropertyInfo(1006, 2, 0, size, writable), -10866);
    EXPECT_EQ(unit.DispatchGetPropertyInfo(1006, 0, 1, size, writable), -10877);
    EXPECT_EQ(unit.DispatchGetPropertyInfo(1006, 0, 0, size, writable), -10879) << "no names to give";
    const UInt32 v = 1;
    EXPECT_EQ(unit.DispatchSetProperty(1006, 0, 0, &v, 4), -10879);
}
} // namespace
