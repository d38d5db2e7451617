// The platform's calls that units make from several threads at once: the
// compare-and-swap and its barrier, once-only initialisation, and the
// reference counts of CoreFoundation objects. Each round lines the threads
// up first, so that their calls really overlap. Plain (non-atomic) data rides
// on every handover, so that a missing barrier is a data race the thread
// sanitizer build reports, and lost updates show in the counts in any build.
#include "CFTestSupport.h"
#include "PlatformThreads.h"
#include "SpinBarrier.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace
{

// Four threads count up one word by compare-and-swap. Every swap that
// succeeds takes the number it stored as a ticket and fills that ticket's
// slot (a plain write): no two threads may ever get the same ticket, and
// none of the increments may be lost.
TEST(PlatformThreads, ConcurrentCompareAndSwapIncrementsAreNotLost)
{
    constexpr int kThreads = 4, kRounds = 200, kPerRound = 100;
    constexpr int kTotal = kThreads * kRounds * kPerRound;
    volatile int64_t word = 0;
    std::vector<int> ticketHolder(kTotal + 1, -1);
    SpinBarrier startLine(kThreads);

    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&, t] {
            for (int round = 0; round < kRounds; ++round)
            {
                startLine.arriveAndWait();
                for (int i = 0; i < kPerRound; ++i)
                {
                    int64_t old = __atomic_load_n(&word, __ATOMIC_RELAXED);
                    while (! OSAtomicCompareAndSwap64Barrier(old, old + 1, &word))
                        old = __atomic_load_n(&word, __ATOMIC_RELAXED);
                    if (old + 1 <= kTotal)
                        ticketHolder[(size_t) (old + 1)] = t;
                }
            }
        });
    for (auto& t : threads)
        t.join();

    EXPECT_EQ(word, kTotal) << "increments lost";
    int unfilled = 0;
    for (int ticket = 1; ticket <= kTotal; ++ticket)
        unfilled += ticketHolder[(size_t) ticket] < 0 ? 1 : 0;
    EXPECT_EQ(unfilled, 0) << "tickets handed out twice leave others unfilled";
}

// A writer fills a plain record, then hands it over with a swap of the
// word; the reader takes it with a swap and reads the record; the writer
// waits for the reader's swap before it writes the next record. The barrier
// of the swap is all that orders the record.
TEST(PlatformThreads, ConcurrentHandoverThroughCompareAndSwapPublishesTheRecord)
{
    constexpr int kHandovers = 5000;
    volatile int64_t word = 0; // 2i: record i may be written; 2i+1: record i is ready
    struct Record
    {
        int serial;
        int twice;
    } record { -1, -1 };
    FirstFault fault;

    std::thread writer([&] {
        for (int i = 0; i < kHandovers; ++i)
        {
            while (! OSAtomicCompareAndSwap64Barrier(2 * i, 2 * i, &word))
                std::this_thread::yield();
            record.serial = i;
            record.twice = 2 * i;
            if (! OSAtomicCompareAndSwap64Barrier(2 * i, 2 * i + 1, &word))
                fault.note("the writer lost its word at " + std::to_string(i));
        }
    });
    std::thread reader([&] {
        for (int i = 0; i < kHandovers; ++i)
        {
            while (! OSAtomicCompareAndSwap64Barrier(2 * i + 1, 2 * i + 1, &word))
                std::this_thread::yield();
            if (record.serial != i || record.twice != 2 * i)
                fault.note("handover " + std::to_string(i) + " read record " + std::to_string(record.serial) + "/"
                           + std::to_string(record.twice));
            if (! OSAtomicCompareAndSwap64Barrier(2 * i + 1, 2 * i + 2, &word))
                fault.note("the reader lost its word at " + std::to_string(i));
        }
    });
    writer.join();
    reader.join();

    EXPECT_EQ(fault.count.load(), 0) << "first: " << fault.what;
    EXPECT_EQ(word, 2 * kHandovers);
}

// Rounds of four threads racing into a fresh once-flag each: the function
// runs once per flag, and every caller sees what it wrote (plain data) when
// it returns, however it got through: by running the function, by waiting
// for it, or by finding the flag done.
constexpr int kOnceRounds = 2000;
int onceRunsOf[kOnceRounds];
int onceValueOf[kOnceRounds];

void onceForRound(void* context)
{
    const int round = *static_cast<int*>(context);
    ++onceRunsOf[round];
    onceValueOf[round] = round * 3 + 1;
}

TEST(PlatformThreads, ConcurrentDispatchOnceRunsOncePerFlagAndPublishesItsWork)
{
    constexpr int kThreads = 4;
    std::vector<dispatch_once_t> flags(kOnceRounds, 0);
    std::vector<int> roundNumbers(kOnceRounds);
    for (int round = 0; round < kOnceRounds; ++round)
    {
        roundNumbers[(size_t) round] = round;
        onceRunsOf[round] = 0;
        onceValueOf[round] = 0;
    }
    SpinBarrier startLine(kThreads);
    FirstFault fault;

    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&] {
            for (int round = 0; round < kOnceRounds; ++round)
            {
                startLine.arriveAndWait();
                dispatch_once_f(&flags[(size_t) round], &roundNumbers[(size_t) round], onceForRound);
                if (onceValueOf[round] != round * 3 + 1)
                    fault.note("round " + std::to_string(round) + ": returned before the function's work was seen");
                // Again, once done: the fast way out.
                dispatch_once_f(&flags[(size_t) round], &roundNumbers[(size_t) round], onceForRound);
            }
        });
    for (auto& t : threads)
        t.join();

    EXPECT_EQ(fault.count.load(), 0) << "first: " << fault.what;
    int notOnce = 0, firstBad = -1;
    for (int round = 0; round < kOnceRounds; ++round)
        if (onceRunsOf[round] != 1)
        {
            ++notOnce;
            if (firstBad < 0)
                firstBad = round;
        }
    EXPECT_EQ(notOnce, 0) << "rounds whose function did not run exactly once, the first " << firstBad << " ran "
                          << (firstBad >= 0 ? onceRunsOf[firstBad] : 0) << " times";
}

// Four threads retain and release one array over and over, reading it in
// between, as a host and the unit's threads share a dictionary or a name.
// The count comes back exactly; then each thread drops its last reference
// after writing into its own part of a data object the array holds, and the
// thread whose release is the last one deletes the lot: only once, and after
// every other thread's writes.
TEST(PlatformThreads, ConcurrentRetainAndReleaseKeepTheCountAndFreeOnce)
{
    constexpr int kThreads = 4, kRounds = 200, kPerRound = 50;
    CFHolder name(makeString("shared"));
    CFMutableDataRef bytes = CFDataCreateMutable(nullptr, 0);
    ASSERT_NE(bytes, nullptr);
    const UInt8 zeros[kThreads] = {};
    CFDataAppendBytes(bytes, zeros, kThreads);
    const void* values[2] = { name.ref, bytes };
    CFArrayRef array = CFArrayCreate(nullptr, values, 2, &kCFTypeArrayCallBacks);
    ASSERT_NE(array, nullptr);
    CFRelease(bytes); // the array's now
    ASSERT_EQ(CFGetRetainCount(name.ref), 2) << "the test's and the array's";

    for (int t = 0; t < kThreads; ++t)
        CFRetain(array); // one for each thread
    CFRelease(array);    // the test's own: the threads' references keep it
    SpinBarrier startLine(kThreads);
    FirstFault fault;
    std::atomic<long> countAfterRounds { 0 };

    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&, t] {
            for (int round = 0; round < kRounds; ++round)
            {
                startLine.arriveAndWait();
                for (int i = 0; i < kPerRound; ++i)
                {
                    CFRetain(array);
                    if (CFArrayGetCount(array) != 2 || CFArrayGetValueAtIndex(array, 0) != name.ref)
                        fault.note("round " + std::to_string(round) + ": the array changed under a reference");
                    CFRelease(array);
                }
            }
            startLine.arriveAndWait();
            if (t == 0)
                countAfterRounds = (long) CFGetRetainCount(array);
            startLine.arriveAndWait();
            auto data = (CFMutableDataRef) CFArrayGetValueAtIndex(array, 1);
            CFDataGetMutableBytePtr(data)[t] = (UInt8) (t + 1);
            CFRelease(array);
        });
    for (auto& t : threads)
        t.join();

    EXPECT_EQ(fault.count.load(), 0) << "first: " << fault.what;
    EXPECT_EQ(countAfterRounds.load(), kThreads) << "the threads' references only: retains or releases lost";
    EXPECT_EQ(CFGetRetainCount(name.ref), 1) << "the array was freed and released its values exactly once";
}
} // namespace
