// The render-notify list changed from another thread while the render thread
// renders: additions and removals are queued without locks and applied at the
// start of a render. Every render sees a stable list: each callback that got
// the pre-render notice gets the post-render notice of the same call, and
// once every callback is removed, none is called.
#include "AUTestHost.h"
#include "SpinBarrier.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <thread>

namespace
{
constexpr int kCallbacks = 8;

struct Counter
{
    std::atomic<int> pre { 0 };
    std::atomic<int> post { 0 };
    std::atomic<int> badFlags { 0 };
};

Counter counters[kCallbacks];

OSStatus count(void* userData, AudioUnitRenderActionFlags* flags, const AudioTimeStamp*, UInt32, UInt32,
               AudioBufferList*)
{
    auto& c = *static_cast<Counter*>(userData);
    if (*flags & kAudioUnitRenderAction_PreRender)
        c.pre.fetch_add(1, std::memory_order_relaxed);
    else if (*flags & kAudioUnitRenderAction_PostRender)
        c.post.fetch_add(1, std::memory_order_relaxed);
    else
        c.badFlags.fetch_add(1, std::memory_order_relaxed);
    return 0;
}

OSStatus ones(void*, AudioUnitRenderActionFlags*, const AudioTimeStamp*, UInt32, UInt32 frames, AudioBufferList* list)
{
    for (UInt32 c = 0; c < list->mNumberBuffers; ++c)
        for (UInt32 j = 0; j < frames; ++j)
            static_cast<float*>(list->mBuffers[c].mData)[j] = 1.0f;
    return 0;
}

class RenderNotifyThreads : public ::testing::TestWithParam<Way>
{
};

INSTANTIATE_TEST_SUITE_P(BothWays, RenderNotifyThreads, ::testing::Values(Way::factory, Way::component),
                         [](const auto& info) { return std::string(wayName(info.param)); });

TEST_P(RenderNotifyThreads, ListChangesWhileRendering)
{
    for (auto& c : counters)
    {
        c.pre = 0;
        c.post = 0;
        c.badFlags = 0;
    }
    auto unit = openUnit(GetParam());
    ASSERT_NE(unit, nullptr);
    ASSERT_EQ(unit->setInputCallback(ones, nullptr), 0);
    ASSERT_EQ(unit->initialize(), 0);

    std::atomic<bool> stop { false };
    std::atomic<int> renderFailures { 0 };
    std::atomic<int> renders { 0 };

    std::thread renderer([&] {
        ChannelBuffers out(2, 64);
        for (int i = 0; ! stop.load() || i < 200; ++i)
        {
            AudioTimeStamp t = sampleTime(64.0 * i);
            if (unit->render(nullptr, &t, 0, 64, out.list()) != 0 || out.channel(1)[63] != 1.0f)
                renderFailures.fetch_add(1);
            renders.fetch_add(1);
        }
    });

    // Two host threads (say the main thread and a metering thread), lined up
    // to start together: each adds and removes callbacks of its own half as
    // fast as it can, the same one twice now and then, 10000 times and for
    // as long as 500 renders take. Their requests meet on the same pending
    // list.
    SpinBarrier startLine(2);
    std::atomic<int> hostFailures { 0 };
    auto host = [&](int half, uint32_t seed) {
        startLine.arriveAndWait();
        uint32_t x = seed;
        for (int i = 0; i < 10000 || renders.load() < 500; ++i)
        {
            x = x * 1664525u + 1013904223u;
            Counter* c = &counters[half * (kCallbacks / 2) + (x >> 8) % (kCallbacks / 2)];
            const OSStatus status = ((x >> 4) & 1) ? unit->addRenderNotify(count, c) : unit->removeRenderNotify(count, c);
            if (status != 0)
                hostFailures.fetch_add(1);
        }
        for (int k = 0; k < kCallbacks / 2; ++k)
            if (unit->removeRenderNotify(count, &counters[half * (kCallbacks / 2) + k]) != 0)
                hostFailures.fetch_add(1);
    };
    std::thread hostA(host, 0, 12345u), hostB(host, 1, 54321u);
    hostA.join();
    hostB.join();
    EXPECT_EQ(hostFailures.load(), 0) << "adds or removes refused";
    stop = true;
    renderer.join();

    EXPECT_EQ(renderFailures.load(), 0);
    EXPECT_GE(renders.load(), 200);
    int total = 0;
    for (int i = 0; i < kCallbacks; ++i)
    {
        EXPECT_EQ(counters[i].pre.load(), counters[i].post.load()) << "callback " << i;
        EXPECT_EQ(counters[i].badFlags.load(), 0) << "callback " << i;
        total += counters[i].pre.load();
    }

    // All removed: the next render calls nobody.
    ChannelBuffers out(2, 64);
    AudioTimeStamp t = sampleTime(1.0e9);
    ASSERT_EQ(unit->render(nullptr, &t, 0, 64, out.list()), 0);
    int after = 0;
    for (auto& c : counters)
        after += c.pre.load();
    EXPECT_EQ(after, total);
}
// The base's own parameters (the test unit's gain, which its kernels read on
// the render thread) set and read back by a host thread while rendering:
// every block is rendered with one of the gains the host set, and the host
// reads back what it wrote.
class BaseParameterThreads : public ::testing::TestWithParam<Way>
{
};

INSTANTIATE_TEST_SUITE_P(BothWays, BaseParameterThreads, ::testing::Values(Way::factory, Way::component),
                         [](const auto& info) { return std::string(wayName(info.param)); });

TEST_P(BaseParameterThreads, HostThreadSetsTheGainWhileRendering)
{
    auto unit = openUnit(GetParam());
    ASSERT_NE(unit, nullptr);
    ASSERT_EQ(unit->setInputCallback(ones, nullptr), 0);
    ASSERT_EQ(unit->setParameter(0, kAudioUnitScope_Global, 0, 0.0f, 0), 0);
    ASSERT_EQ(unit->initialize(), 0);

    constexpr int kSets = 20000;
    SpinBarrier startLine(2);
    std::atomic<bool> stop { false };
    std::atomic<int> renders { 0 }, badBlocks { 0 }, badReads { 0 };

    std::thread renderer([&] {
        ChannelBuffers out(2, 64);
        startLine.arriveAndWait();
        for (int i = 0; ! stop.load() || i < 50; ++i)
        {
            AudioTimeStamp t = sampleTime(64.0 * i);
            if (unit->render(nullptr, &t, 0, 64, out.list()) != 0)
                badBlocks.fetch_add(1);
            // Input 1 times a gain k/8, k = 0 .. 8.
            const float g = out.channel(1)[63];
            if (g * 8.0f != std::floor(g * 8.0f) || g < 0.0f || g > 1.0f)
                badBlocks.fetch_add(1);
            renders.fetch_add(1);
        }
    });
    startLine.arriveAndWait();
    for (int k = 0; k < kSets || renders.load() < 50; ++k)
    {
        const Float32 gain = (Float32) (k % 9) / 8.0f;
        Float32 back = -1.0f;
        if (unit->setParameter(0, kAudioUnitScope_Global, 0, gain, 0) != 0
            || unit->getParameter(0, kAudioUnitScope_Global, 0, &back) != 0 || back != gain)
            badReads.fetch_add(1);
    }
    ASSERT_EQ(unit->setParameter(0, kAudioUnitScope_Global, 0, 0.5f, 0), 0);
    stop = true;
    renderer.join();

    EXPECT_EQ(badBlocks.load(), 0) << "blocks that failed or carry no gain the host set";
    EXPECT_EQ(badReads.load(), 0) << "sets refused or not read back";
    ChannelBuffers out(2, 64);
    AudioTimeStamp t = sampleTime(1.0e9);
    ASSERT_EQ(unit->render(nullptr, &t, 0, 64, out.list()), 0);
    EXPECT_EQ(out.channel(0)[0], 0.5f) << "the last gain";
}
} // namespace
