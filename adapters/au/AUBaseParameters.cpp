// AUBase: parameters kept in the elements, and parameter events scheduled
// inside the next render call.
#include "AUBase.h"

#include "CAXException.h"

#include <algorithm>

OSStatus AUBase::GetParameter(AudioUnitParameterID id, AudioUnitScope scope, AudioUnitElement element,
                              AudioUnitParameterValue& outValue)
{
    outValue = GetScope(scope).SafeGetElement(element)->GetParameter(id);
    return 0;
}

OSStatus AUBase::SetParameter(AudioUnitParameterID id, AudioUnitScope scope, AudioUnitElement element,
                              AudioUnitParameterValue value, UInt32)
{
    GetScope(scope).SafeGetElement(element)->SetParameter(id, value, false);
    return 0;
}

OSStatus AUBase::GetParameterList(AudioUnitScope scope, AudioUnitParameterID* outList, UInt32& outCount)
{
    AUScope& s = GetScope(scope);
    AUElement* widest = nullptr;
    UInt32 most = 0;
    for (UInt32 i = 0; i < s.GetNumberOfElements(); ++i)
    {
        AUElement* e = s.GetElement(i);
        const UInt32 n = e != nullptr ? e->GetNumberOfParameters() : 0;
        if (n > most)
        {
            most = n;
            widest = e;
        }
    }
    if (outList != nullptr && widest != nullptr)
        widest->GetParameterList(outList);
    outCount = most;
    return 0;
}

// Host thread that schedules; must not run while the list is rendered.
OSStatus AUBase::ScheduleParameter(const AudioUnitParameterEvent* events, UInt32 count)
{
    if (events == nullptr && count > 0)
        return kAudio_ParamError;
    // An event of no known kind refuses the whole call before anything is
    // applied.
    for (UInt32 i = 0; i < count; ++i)
        if (events[i].eventType != kParameterEvent_Immediate && events[i].eventType != kParameterEvent_Ramped)
            return kAudio_ParamError;

    for (UInt32 i = 0; i < count; ++i)
    {
        const AudioUnitParameterEvent& e = events[i];
        if (e.eventType == kParameterEvent_Immediate)
        {
            const OSStatus result = SetParameter(e.parameter, e.scope, e.element, e.eventValues.immediate.value,
                                                 e.eventValues.immediate.bufferOffset);
            if (result != 0)
                return result;
        }
        mParamList.push_back(e);
    }
    return 0;
}

namespace
{
SInt32 startOffset(const AudioUnitParameterEvent& e) noexcept
{
    // The signed word at offset 16: a ramp's start, or an immediate offset
    // read the same way.
    return e.eventValues.ramp.startBufferOffset;
}

int64_t rampEnd(const AudioUnitParameterEvent& e) noexcept
{
    return (int64_t) e.eventValues.ramp.startBufferOffset + e.eventValues.ramp.durationInFrames;
}

bool SortParameterEventList(const AudioUnitParameterEvent& a, const AudioUnitParameterEvent& b) noexcept
{
    return startOffset(a) < startOffset(b);
}
} // namespace

// Render thread.
OSStatus AUBase::ProcessForScheduledParams(ParameterEventList& events, UInt32 frames, void* userData)
{
    if (! events.empty())
        std::sort(events.begin(), events.end(), SortParameterEventList);

    UInt32 sliceStart = 0;
    UInt32 remaining = frames;

    while (remaining > 0)
    {
        // The slice ends at the next event start or ramp end after its start.
        int64_t sliceEnd = frames;
        for (const auto& e : events)
        {
            const int64_t start = startOffset(e);
            if (start > sliceStart && start < sliceEnd)
            {
                sliceEnd = start;
                break;
            }
            if (e.eventType == kParameterEvent_Ramped)
            {
                const int64_t end = rampEnd(e);
                if (end > sliceStart && end < sliceEnd)
                    sliceEnd = end;
            }
        }
        const UInt32 sliceFrames = (UInt32) (sliceEnd - sliceStart);

        for (const auto& e : events)
        {
            const int64_t start = startOffset(e);
            if (e.eventType == kParameterEvent_Ramped)
            {
                if (start >= sliceEnd || rampEnd(e) <= sliceStart)
                    continue;
            }
            else if (start > (int64_t) sliceStart)
            {
                continue;
            }
            // Events for elements that do not exist are skipped.
            if (AUElement* element = GetScope(e.scope).GetElement(e.element))
                element->SetScheduledEvent(e.parameter, e, sliceStart, sliceFrames, false);
        }

        const OSStatus result = ProcessScheduledSlice(userData, sliceStart, sliceFrames, frames);
        if (result != 0)
            return result;

        remaining -= sliceFrames;
        sliceStart = (UInt32) sliceEnd;
    }
    return 0;
}

OSStatus AUBase::ProcessScheduledSlice(void*, UInt32, UInt32, UInt32)
{
    return 0;
}
