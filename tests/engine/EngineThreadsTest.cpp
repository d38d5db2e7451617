// The engine's controls set from several threads at once, as hosts do from
// their GUI and automation threads: the packed mute word and the coefficient
// sets handed to the audio thread. Each round lines the threads up first and
// goes on until their writes have really overlapped.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>

#include "EngineControls.h"
#include "EngineTestSupport.h"
#include "SpinBarrier.h"

using namespace enginetest;

namespace
{

// Two threads each own some channels' mutes and write them over and over,
// checking their own bits before and after every write: only this thread
// writes them, so a bit that is not what it last wrote was put back by the
// other thread storing a word it had read before this thread's write.
TEST(EngineThreads, ConcurrentMuteWritesAreNotLost)
{
    constexpr int kRounds = 10;
    constexpr long kOverlapsPerRound = 50;
    QVANE_HOST_DSP_PROCESS e(true);
    SpinBarrier startLine(2);
    OverlappingPasses racing(2);
    FirstFault fault;

    auto writer = [&](int self) {
        bool mine[9] = {};
        int written = 0;
        for (int round = 0; round < kRounds; ++round)
        {
            startLine.arriveAndWait();
            racing.run(self, (round + 1) * kOverlapsPerRound, [&] {
                for (unsigned char ch = (unsigned char) self; ch < 9; ch += 2)
                {
                    if (e.GetIsChannelMute(ch) != mine[ch])
                        fault.note("round " + std::to_string(round) + ": mute of channel " + std::to_string(ch)
                                   + " changed by the other thread's write");
                    mine[ch] = ((++written + ch) & 1) == 0;
                    e.SetChannelMute(ch, mine[ch]);
                    if (e.GetIsChannelMute(ch) != mine[ch])
                        fault.note("round " + std::to_string(round) + ": mute of channel " + std::to_string(ch)
                                   + " lost right after it was written");
                }
            });
        }
        // Every channel ends muted.
        startLine.arriveAndWait();
        for (unsigned char ch = (unsigned char) self; ch < 9; ch += 2)
            e.SetChannelMute(ch, true);
    };

    std::thread even(writer, 0), odd(writer, 1);
    even.join();
    odd.join();

    EXPECT_EQ(fault.count.load(), 0) << "first: " << fault.what;
    for (unsigned char ch = 0; ch < 9; ++ch)
        EXPECT_TRUE(e.GetIsChannelMute(ch)) << "mute of channel " << int(ch) << " lost";
    EXPECT_FALSE(e.HasSolo());
}

// A set as one writer makes it: b0 = k and each next coefficient one more,
// so a set with values of two writers, or half old and half new, shows.
void MakeSet(float k, float out[5])
{
    for (int i = 0; i < 5; ++i)
        out[i] = k + (float) i;
}

bool IsOneSet(const float c[5])
{
    for (int i = 1; i < 5; ++i)
        if (c[i] != c[0] + (float) i)
            return false;
    return true;
}

std::string Describe(const float c[5])
{
    std::string s;
    for (int i = 0; i < 5; ++i)
        s += (i ? " " : "") + std::to_string(c[i]);
    return s;
}

// Two setter threads publish coefficient sets while the audio thread takes
// them: the audio thread only ever takes a whole set of one writer, and when
// the writers are done the set left is whole too, the last of one of them.
TEST(EngineThreads, ConcurrentCoefficientSetsAreTakenWhole)
{
    constexpr int kRounds = 10;
    constexpr long kOverlapsPerRound = 50;
    constexpr float kBase[2] = { 1.0f, -1.0e6f };
    PublishedCoefficients published;
    SpinBarrier startLine(3);
    OverlappingPasses racing(2);
    std::atomic<int> writersInRound { 0 };
    std::atomic<long> publishes { 0 };
    std::atomic<float> lastOf[2] = { { 0.0f }, { 0.0f } };
    FirstFault fault;
    std::atomic<int> taken { 0 };

    auto writer = [&](int self) {
        long count = 0;
        float set[5] = {};
        for (int round = 0; round < kRounds; ++round)
        {
            startLine.arriveAndWait();
            racing.run(self, (round + 1) * kOverlapsPerRound, [&] {
                // Distinct from the last ones, and exact in a float.
                MakeSet(kBase[self] + (float) (++count % 100000) * 8.0f, set);
                published.Publish(set);
            });
            writersInRound.fetch_sub(1);
        }
        lastOf[self] = set[0];
        publishes.fetch_add(count);
    };
    std::thread audio([&] {
        uint32_t seen = 0;
        float got[5];
        for (int round = 0; round < kRounds; ++round)
        {
            writersInRound.store(2);
            startLine.arriveAndWait();
            while (writersInRound.load() > 0)
                if (published.TakeIfNewer(&seen, got))
                {
                    taken.fetch_add(1, std::memory_order_relaxed);
                    if (! IsOneSet(got))
                        fault.note("round " + std::to_string(round) + " took " + Describe(got));
                }
        }
    });
    std::thread a(writer, 0), b(writer, 1);
    a.join();
    b.join();
    audio.join();

    EXPECT_EQ(fault.count.load(), 0) << "first: " << fault.what;
    EXPECT_GT(taken.load(), 0) << "the audio thread never took a set";

    uint32_t seen = 0;
    float last[5] = {};
    ASSERT_TRUE(published.TakeIfNewer(&seen, last)) << "no stable set after the writers";
    EXPECT_TRUE(IsOneSet(last)) << "the set left is " << Describe(last);
    EXPECT_TRUE(last[0] == lastOf[0].load() || last[0] == lastOf[1].load())
        << "the set left is " << Describe(last) << ", not one writer's last";
    EXPECT_EQ(seen % 2u, 0u) << "the sequence is left odd";
    EXPECT_EQ(seen, (uint32_t) (2 * publishes.load())) << "a publish was not counted";
}
} // namespace
