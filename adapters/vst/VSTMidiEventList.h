// Events the plug-in could hand to the host. The processor makes no MIDI, so
// nothing fills this list; it is emptied at every suspend.
#pragma once

#include <JuceHeader.h>

#include <cstdint>

namespace juce
{

class VSTMidiEventList
{
public:
    /** Event type whose record carries a separately allocated data block. */
    static constexpr int32_t kSysExType = 6;

    VSTMidiEventList() = default;
    ~VSTMidiEventList() { freeEvents(); }

    /** Appends a copy of one event; a system-exclusive event keeps its own
        copy of the data. Message thread or audio thread outside processing. */
    void addEvent(int32_t type, const void* data, int32_t numBytes);

    /** Frees every record from the last to the first, then the block. */
    void freeEvents();

    int getNumEvents() const noexcept { return numEventsUsed; }

private:
    struct EventRecord
    {
        int32_t type;
        int32_t numBytes;
        uint8_t inlineData[16];   // short events
        uint8_t* sysexData;       // type 6 only, owned
    };

    static void freeVSTEvent(EventRecord* record);

    HeapBlock<EventRecord*> events;
    int numEventsUsed = 0;
    int numEventsAllocated = 0;

    JUCE_DECLARE_NON_COPYABLE(VSTMidiEventList)
};

} // namespace juce
