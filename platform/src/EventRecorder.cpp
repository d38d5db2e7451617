// AUEventListenerNotify: the events a unit sends to the host's listeners,
// kept for a host (or a test) to read back.
#include "PlatformAudioUnit.h"

#include <mutex>

namespace
{
constexpr UInt32 kKeptEvents = 1024;

struct Recorder
{
    std::mutex lock;
    AudioUnitEvent events[kKeptEvents];
    UInt32 received = 0; // since the last clear
};

Recorder& recorder()
{
    static Recorder r;
    return r;
}
} // namespace

extern "C" {

// Any thread.
OSStatus AUEventListenerNotify(AUEventListenerRef, void*, const AudioUnitEvent* event)
{
    if (event == nullptr)
        return kAudio_ParamError;
    auto& r = recorder();
    std::lock_guard<std::mutex> g(r.lock);
    r.events[r.received % kKeptEvents] = *event;
    ++r.received;
    return 0;
}

UInt32 QvPlatformRecordedEventCount(void)
{
    auto& r = recorder();
    std::lock_guard<std::mutex> g(r.lock);
    return r.received;
}

Boolean QvPlatformRecordedEvent(UInt32 index, AudioUnitEvent* outEvent)
{
    auto& r = recorder();
    std::lock_guard<std::mutex> g(r.lock);
    const UInt32 kept = r.received < kKeptEvents ? r.received : kKeptEvents;
    if (outEvent == nullptr || index >= kept)
        return false;
    const UInt32 oldest = r.received - kept;
    *outEvent = r.events[(oldest + index) % kKeptEvents];
    return true;
}

void QvPlatformClearRecordedEvents(void)
{
    auto& r = recorder();
    std::lock_guard<std::mutex> g(r.lock);
    r.received = 0;
}

} // extern "C"
