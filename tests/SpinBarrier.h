// Lines threads up before each round of a threaded test, so that their
// writes overlap instead of one thread finishing before the next has even
// started (thread start-up takes far longer than a few hundred stores).
// Reusable, round after round; waits by spinning with a yield, which keeps
// the threads hot and lets a busy two-core machine run the others.
#pragma once

#include <atomic>
#include <thread>

class SpinBarrier
{
public:
    explicit SpinBarrier(int parties) noexcept : parties(parties) {}

    SpinBarrier(const SpinBarrier&) = delete;
    SpinBarrier& operator=(const SpinBarrier&) = delete;

    /** Returns once all parties have arrived in this round. What a party did
        before arriving is seen by every party after it returns. */
    void arriveAndWait() noexcept
    {
        const unsigned round = generation.load(std::memory_order_acquire);
        if (arrived.fetch_add(1, std::memory_order_acq_rel) + 1 == parties)
        {
            arrived.store(0, std::memory_order_relaxed);
            generation.fetch_add(1, std::memory_order_acq_rel);
            return;
        }
        while (generation.load(std::memory_order_acquire) == round)
            std::this_thread::yield();
    }

private:
    const int parties;
    std::atomic<int> arrived { 0 };
    std::atomic<unsigned> generation { 0 };
};
