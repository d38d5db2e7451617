// Lines the threads of a threaded test up before each round, and keeps them
// going until they have really raced, so that their writes overlap instead
// of one thread finishing before the next has even started (thread start-up
// and wake-up take far longer than a few hundred stores). Waits spin with a
// yield, which keeps the threads hot and lets a busy two-core machine run the
// others.
#pragma once

#include <atomic>
#include <chrono>
#include <string>
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

/** Runs passes of a threaded test until the threads have really overlapped:
    until every thread has had a number of passes during which another
    thread finished one too. Two threads that only take turns (one of them
    late to wake, or both on one core of a busy machine) never race, and a
    lost update between them would never show; this goes on until they have
    raced often enough. Each thread goes on while any thread still needs
    overlaps, so none is left racing alone. A machine too busy to run the
    threads side by side at all ends the passes at a deadline instead of
    holding the test up. */
class OverlappingPasses
{
public:
    static constexpr int kMaxThreads = 8;

    explicit OverlappingPasses(int threads, std::chrono::seconds patience = std::chrono::seconds(10)) noexcept
        : threads(threads < kMaxThreads ? threads : kMaxThreads),
          deadline(std::chrono::steady_clock::now() + patience)
    {
    }

    OverlappingPasses(const OverlappingPasses&) = delete;
    OverlappingPasses& operator=(const OverlappingPasses&) = delete;

    /** On thread `self` (0 .. threads - 1): calls pass() until every thread's
        count of overlapped passes has reached `overlaps` (a running total:
        raise it round after round), or the deadline has passed. */
    template <class Pass>
    void run(int self, long overlaps, Pass&& pass)
    {
        for (unsigned n = 1; ! allReached(overlaps); ++n)
        {
            const long before = othersPasses(self);
            pass();
            passes[self].fetch_add(1, std::memory_order_relaxed);
            if (othersPasses(self) != before)
                overlapped[self].fetch_add(1, std::memory_order_relaxed);
            if (n % 256 == 0 && std::chrono::steady_clock::now() > deadline)
                return;
        }
    }

private:
    long othersPasses(int self) const noexcept
    {
        long sum = 0;
        for (int t = 0; t < threads; ++t)
            if (t != self)
                sum += passes[t].load(std::memory_order_relaxed);
        return sum;
    }

    bool allReached(long overlaps) const noexcept
    {
        for (int t = 0; t < threads; ++t)
            if (overlapped[t].load(std::memory_order_relaxed) < overlaps)
                return false;
        return true;
    }

    const int threads;
    const std::chrono::steady_clock::time_point deadline;
    std::atomic<long> passes[kMaxThreads] {};
    std::atomic<long> overlapped[kMaxThreads] {};
};

/** The first thing any thread of a threaded check found wrong, for the
    failure message; later finds are only counted. */
struct FirstFault
{
    std::atomic<int> count { 0 };
    std::string what; // written by the first finder only

    void note(const std::string& text)
    {
        if (count.fetch_add(1) == 0)
            what = text;
    }
};
