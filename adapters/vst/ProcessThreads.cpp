#include "ProcessThreads.h"

#include <JuceHeader.h>

#if defined(__linux__)
 #include <pthread.h>
 #include <time.h>
#endif

static_assert(std::atomic<uint64_t>::is_always_lock_free, "the audio thread must never wait here");

// Which thread calls, as an identity no later thread is given while the
// instance lives. The system's thread handle alone is not one: a thread made
// after another ended is handed the ended one's handle when it reuses its
// stack, which an engine restart (a new buffer size or device) does to a
// host's process threads, so a control surface or script runner started
// afterwards would pass for automation playback.
//
// On Linux the kernel's thread id, which comes round again only after the
// system's whole id range has, is read from the thread's CPU-time clock id:
// the C library keeps it in the thread's descriptor, so this neither enters
// the kernel nor allocates, where a syscall would cost every lane write and a
// thread-local token in a library the host loads at run time may allocate on
// the audio thread. The handle's low bits go with it, so that even a wrapped
// kernel id must also land on the ended thread's stack to be mistaken.
ProcessThreads::Token ProcessThreads::currentThread() noexcept
{
#if defined(__linux__)
    const pthread_t self = pthread_self();
    clockid_t clock;
    if (pthread_getcpuclockid(self, &clock) == 0)
        return ((Token) (uint32_t) clock << 32) | (uint32_t) (uintptr_t) self; // the clock id is never 0
#endif
    return (Token) (uintptr_t) juce::Thread::getCurrentThreadId();
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
