// Parameters kept in elements, and a render call divided into slices at
// scheduled events.
#include "AUBase.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{
struct Slice
{
    UInt32 offset, frames;
    AUParameterEventType type;
    SInt32 bufferOffset;
    UInt32 duration;
    Float32 start, end;

    bool operator==(const Slice& o) const
    {
        return offset == o.offset && frames == o.frames && type == o.type && bufferOffset == o.bufferOffset
               && duration == o.duration && start == o.start && end == o.end;
    }
};

std::ostream& operator<<(std::ostream& os, const Slice& s)
{
    return os << "{" << s.offset << ", " << s.frames << ", type " << s.type << ", at " << s.bufferOffset << " for "
              << s.duration << ", " << s.start << " to " << s.end << "}";
}

// A bare unit that records each slice and the state of global parameter 0
// during it. Two group elements hold parameters kept by identifier.
class SliceRecorder : public AUBase
{
public:
    SliceRecorder() : AUBase(nullptr, 1, 1, 2)
    {
        CreateElements();
        Globals0()->SetParameter(0, 1.0f);
    }

    bool StreamFormatWritable(AudioUnitScope, AudioUnitElement) override { return true; }

    OSStatus ProcessScheduledSlice(void*, UInt32 offset, UInt32 frames, UInt32) override
    {
        const ParameterMapEvent& e = Globals0()->GetParamEvent(0);
        slices.push_back(Slice { offset, frames, e.GetEventType(), e.GetBufferOffset(), e.GetDurationInFrames(),
                                 e.GetStartValue(), e.GetEndValue() });
        return failAt == slices.size() ? -1234 : 0;
    }

    std::vector<Slice> run(std::vector<AudioUnitParameterEvent> events, UInt32 frames, OSStatus expected = 0)
    {
        slices.clear();
        EXPECT_EQ(ProcessForScheduledParams(events, frames, nullptr), expected);
        return slices;
    }

    std::vector<Slice> slices;
    size_t failAt = 0;
};

AudioUnitParameterEvent immediate(UInt32 offset, Float32 value, AudioUnitElement element = 0)
{
    AudioUnitParameterEvent e {};
    e.element = element;
    e.eventType = kParameterEvent_Immediate;
    e.eventValues.immediate.bufferOffset = offset;
    e.eventValues.immediate.value = value;
    return e;
}

AudioUnitParameterEvent ramp(SInt32 start, UInt32 duration, Float32 from, Float32 to)
{
    AudioUnitParameterEvent e {};
    e.eventType = kParameterEvent_Ramped;
    e.eventValues.ramp.startBufferOffset = start;
    e.eventValues.ramp.durationInFrames = duration;
    e.eventValues.ramp.startValue = from;
    e.eventValues.ramp.endValue = to;
    return e;
}

TEST(ScheduledParameters, SlicesAtEventsAndRampEnds)
{
    SliceRecorder unit;
    using V = std::vector<Slice>;
    const UInt32 I = kParameterEvent_Immediate, R = kParameterEvent_Ramped;

    EXPECT_EQ(unit.run({}, 64), (V { { 0, 64, I, 0, 0, 1.0f, 1.0f } })) << "no events: one slice";

    EXPECT_EQ(unit.run({ immediate(20, 0.2f), immediate(10, 0.1f) }, 64),
              (V { { 0, 10, I, 0, 0, 1.0f, 1.0f }, { 10, 10, I, 0, 10, 0.1f, 0.1f }, { 20, 44, I, 0, 44, 0.2f, 0.2f } }))
        << "events sorted; slices 0-10, 10-20, 20-64";

    EXPECT_EQ(unit.run({ ramp(0, 16, 0.25f, 0.75f) }, 64),
              (V { { 0, 16, R, 0, 16, 0.25f, 0.75f }, { 16, 48, R, 0, 16, 0.25f, 0.75f } }))
        << "a ramp ends a slice; past its end it is no longer applied";

    EXPECT_EQ(unit.run({ ramp(-8, 40, 0.0f, 1.0f) }, 64),
              (V { { 0, 32, R, -8, 40, 0.0f, 1.0f }, { 32, 32, R, -8, 40, 0.0f, 1.0f } }))
        << "a ramp begun in an earlier call";

    EXPECT_EQ(unit.run({ immediate(8, 0.5f, 9) }, 16), (V { { 0, 8, R, -8, 40, 0.0f, 1.0f }, { 8, 8, R, -8, 40, 0.0f, 1.0f } }))
        << "an event for a missing element is skipped, without a status";

    unit.failAt = 2;
    EXPECT_EQ(unit.run({ immediate(4, 0.4f) }, 16, -1234).size(), 2u) << "a failing slice ends the call";
}

TEST(ScheduledParameters, ScheduleAppliesImmediateEventsAtOnce)
{
    SliceRecorder unit;
    const AudioUnitParameterEvent events[] = { immediate(30, 0.3f), ramp(0, 16, 0.0f, 1.0f) };
    ASSERT_EQ(unit.ScheduleParameter(events, 2), 0);
    EXPECT_EQ(unit.Globals0()->GetParameter(0), 0.3f);
    ASSERT_EQ(unit.GetParamEventList().size(), 2u) << "both events kept for the render";

    AudioUnitParameterEvent bad = immediate(0, 0.9f);
    bad.eventType = 0;
    EXPECT_EQ(unit.ScheduleParameter(&bad, 1), -50);
    EXPECT_EQ(unit.GetParamEventList().size(), 2u);
    EXPECT_EQ(unit.Globals0()->GetParameter(0), 0.3f);
}

TEST(ScheduledParameters, ElementsByIdentifierAndIndexed)
{
    SliceRecorder unit;
    AUElement* g0 = unit.Groups().GetElement(0);
    AUElement* g1 = unit.Groups().GetElement(1);
    for (AudioUnitParameterID id : { 7, 3, 5 })
        g0->SetParameter(id, float(id));
    for (AudioUnitParameterID id : { 14, 10, 12, 11, 13 })
        g1->SetParameter(id, float(id));

    UInt32 count = 0;
    AudioUnitParameterID list[8] = {};
    ASSERT_EQ(unit.GetParameterList(kAudioUnitScope_Group, list, count), 0);
    EXPECT_EQ(count, 5u) << "the element with the most parameters";
    EXPECT_EQ(std::vector<UInt32>(list, list + 5), (std::vector<UInt32> { 10, 11, 12, 13, 14 }));
    g0->GetParameterList(list);
    EXPECT_EQ(std::vector<UInt32>(list, list + 3), (std::vector<UInt32> { 3, 5, 7 }));
    ASSERT_EQ(unit.GetParameterList(kAudioUnitScope_Input, list, count), 0);
    EXPECT_EQ(count, 0u);

    try
    {
        g0->GetParameter(4);
        ADD_FAILURE() << "parameter 4 does not exist";
    }
    catch (OSStatus s)
    {
        EXPECT_EQ(s, -10878);
    }

    // Indexed: identifiers are indices; past the end is -10878.
    g1->UseIndexedParameters(3);
    EXPECT_EQ(g1->GetNumberOfParameters(), 3u);
    EXPECT_EQ(g1->GetParameter(2), 0.0f);
    EXPECT_THROW(g1->SetParameter(3, 1.0f), OSStatus);
}
} // namespace
