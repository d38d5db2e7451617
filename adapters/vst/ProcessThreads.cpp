#include "ProcessThreads.h"

#include <JuceHeader.h>

static_assert(std::atomic<uintptr_t>::is_always_lock_free, "the audio thread must never wait here");

// The system's own thread id: reading it neither allocates nor enters the
// kernel, which a thread-local token in a library the host loads at run time
// may. An id can be reused once its thread has ended; an engine's threads do
// not end while it runs.
ProcessThreads::Token ProcessThreads::currentThread() noexcept
{
    return (Token) juce::Thread::getCurrentThreadId();
}

bool ProcessThreads::includes(Token thread) const noexcept
{
    for (const auto& slot : slots)
        if (slot.load(std::memory_order_relaxed) == thread)
            return true;
    return false;
}

void ProcessThreads::noteCurrentThread() noexcept
{
    const Token thread = currentThread();
    if (includes(thread))
        return;

    for (auto& slot : slots)
    {
        Token free = 0;
        if (slot.compare_exchange_strong(free, thread, std::memory_order_relaxed))
            return;
    }

    // Full: a restarted engine's threads may still hold slots.
    slots[nextToReplace.fetch_add(1, std::memory_order_relaxed) % kCapacity].store(thread, std::memory_order_relaxed);
}
