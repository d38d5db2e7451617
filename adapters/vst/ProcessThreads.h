// The threads a host has processed one plug-in instance on, so that a write
// can be told apart by where it comes from: on one of them, just before the
// block, it is the host's automation playback; anywhere else it is the
// host's own control, a script or a control surface. Ardour answers 0 to the
// process-level query, so the plug-in has to keep this itself.
//
// Kept per instance: Ardour processes a second instance on its GUI thread for
// its analysis view, and that must not make the GUI thread's changes to the
// instance in the track look like playback. Kept for the instance's life: a
// host's process threads live as long as its engine and come back, with a
// lane write before their first block, after a deactivation. A host's graph
// may process one instance on a different thread each cycle, so there are
// several. Threads that ended stay noted, harmlessly: no later thread is
// given their identity.
#pragma once

#include <atomic>
#include <cstdint>

class ProcessThreads
{
public:
    /** Audio thread, at every block: lock-free, neither waits nor allocates. */
    void noteCurrentThread() noexcept;

    /** Any thread. */
    bool includesCurrentThread() const noexcept { return includes(currentThread()); }

    /** More threads than any engine runs; past it, the oldest noted goes. */
    static constexpr int kCapacity = 32;

private:
    using Token = uint64_t; // never 0: 0 marks a free slot

    static Token currentThread() noexcept;
    bool includes(Token) const noexcept;

    std::atomic<Token> slots[kCapacity] {};
    std::atomic<unsigned> nextToReplace { 0 };
};
