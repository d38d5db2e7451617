// A parameter's value and byte from several threads at once: a host's
// automation thread sets values while the state code on the message thread
// re-derives the byte (Decode). The value and its byte are one word;
// re-deriving the byte must never put back a value that a setter has
// replaced meanwhile.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "Parameter.h"
#include "SpinBarrier.h"

namespace
{
TEST(ParameterThreads, ConcurrentDecodeNeverPutsBackAnOlderValue)
{
    constexpr int kRounds = 10;
    constexpr long kOverlapsPerRound = 50;
    PARAMETER_UNIPOLAR p(0, "U", 0.0f);
    SpinBarrier startLine(2);
    OverlappingPasses racing(2);
    std::atomic<int> lost { 0 };
    std::string firstLost; // written by the setter only
    int k = 0;             // the setter's last position

    std::thread setter([&] {
        for (int round = 0; round < kRounds; ++round)
        {
            startLine.arriveAndWait();
            racing.run(0, (round + 1) * kOverlapsPerRound, [&] {
                // Only this thread sets values: what it reads is what it set
                // last, before and after each set.
                const float before = p.GetValue();
                if (before != (float) k / 127.0f && lost.fetch_add(1) == 0)
                    firstLost = "set " + std::to_string(k) + "/127, later read " + std::to_string(before);
                k = (k + 37) % 128;
                p.SetValue((float) k / 127.0f);
                const float after = p.GetValue();
                if (after != (float) k / 127.0f && lost.fetch_add(1) == 0)
                    firstLost = "set " + std::to_string(k) + "/127, read " + std::to_string(after);
            });
        }
    });
    std::thread decoder([&] {
        for (int round = 0; round < kRounds; ++round)
        {
            startLine.arriveAndWait();
            racing.run(1, (round + 1) * kOverlapsPerRound, [&] { p.Decode(); });
        }
    });
    setter.join();
    decoder.join();

    EXPECT_EQ(lost.load(), 0) << "a value replaced by an older one, first: " << firstLost;
    EXPECT_EQ(p.GetValue(), (float) k / 127.0f) << "the last value set";
    EXPECT_EQ(p.GetByte(), k) << "value k/127 has byte k";
}
} // namespace
