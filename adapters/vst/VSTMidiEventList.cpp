#include "VSTMidiEventList.h"

#include <cstdlib>
#include <cstring>

namespace juce
{

void VSTMidiEventList::addEvent(int32_t type, const void* data, int32_t numBytes)
{
    if (numBytes < 0 || (numBytes > 0 && data == nullptr))
        return;

    if (numEventsUsed == numEventsAllocated)
    {
        const int newSize = jmax(8, numEventsAllocated * 2);
        events.realloc((size_t) newSize);
        numEventsAllocated = newSize;
    }

    auto* record = static_cast<EventRecord*>(std::calloc(1, sizeof(EventRecord)));
    if (record == nullptr)
        return;

    record->type = type;
    record->numBytes = numBytes;

    if (type == kSysExType)
    {
        record->sysexData = static_cast<uint8_t*>(std::malloc((size_t) jmax(1, numBytes)));
        if (record->sysexData == nullptr)
        {
            std::free(record);
            return;
        }
        if (numBytes > 0)
            std::memcpy(record->sysexData, data, (size_t) numBytes);
    }
    else
    {
        record->numBytes = jmin(numBytes, (int32_t) sizeof(record->inlineData));
        if (record->numBytes > 0)
            std::memcpy(record->inlineData, data, (size_t) record->numBytes);
    }

    events[numEventsUsed++] = record;
}

void VSTMidiEventList::freeVSTEvent(EventRecord* record)
{
    if (record == nullptr)
        return;
    if (record->type == kSysExType)
        std::free(record->sysexData);
    std::free(record);
}

void VSTMidiEventList::freeEvents()
{
    for (int i = numEventsUsed; --i >= 0;)
        freeVSTEvent(events[i]);

    events.free();
    numEventsUsed = 0;
    numEventsAllocated = 0;
}

} // namespace juce
