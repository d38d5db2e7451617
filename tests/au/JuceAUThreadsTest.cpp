// The plug-in's unit driven from several host threads while its render
// thread renders, as hosts do: automation and the host's controls set
// parameters and read them back from their own threads, the render thread
// schedules parameter events of its own, and a browser thread asks for the
// parameters' descriptions and toggles a render-notify callback. The thread
// sanitizer build runs this with every race a failure.
#include "AdapterTestSupport.h"
#include "SpinBarrier.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <string>
#include <thread>
#include <vector>

namespace
{
class JuceAUThreads : public UnitTest
{
};

INSTANTIATE_TEST_SUITE_P(BothWays, JuceAUThreads, ::testing::Values(Way::factory, Way::component),
                         [](const auto& info) { return std::string(wayName(info.param)); });


std::atomic<int> notices { 0 };

OSStatus countNotice(void*, AudioUnitRenderActionFlags*, const AudioTimeStamp*, UInt32, UInt32, AudioBufferList*)
{
    notices.fetch_add(1, std::memory_order_relaxed);
    return 0;
}

// What a host thread sets: values k/16, all exact in a float, so a read
// back is the very value written, or another thread's.
Float32 valueFor(int step, AudioUnitParameterID id)
{
    return (Float32) ((step + (int) id) % 17) / 16.0f;
}

constexpr AudioUnitParameterID kScheduled = 22; // "Level BFormat": the render thread's own

TEST_P(JuceAUThreads, HostThreadsSetAndReadParametersWhileRendering)
{
    SteadyInput input { { 0.5f, 0.25f } };
    ASSERT_EQ(startUnit(*unit, 2, 6, input), 0);

    // Each setter owns parameters no other thread writes, so what it reads
    // back must be what it wrote last. Mutes only, no solos: a mute write
    // while a solo is on is not a plain store.
    const std::vector<AudioUnitParameterID> owned[2] = {
        { 0, 2, 4, 5, 7, 8, 10, 12, 14, 16, 18, 20, 23, 25, 27 },
        { 3, 6, 9, 11, 13, 15, 17, 19, 21, 24, 26, 28 },
    };
    constexpr int kRounds = 400;
    SpinBarrier startLine(4);
    std::atomic<bool> stop { false };
    std::atomic<int> renders { 0 };
    FirstFault fault;
    HostUnit* host = unit.get();

    std::thread render([&] {
        ChannelBuffers out(6, kBlock);
        Float64 sample = 0;
        startLine.arriveAndWait();
        for (int block = 0; ! stop.load() || block < 20; ++block)
        {
            AudioUnitParameterEvent event {};
            event.scope = kAudioUnitScope_Global;
            event.parameter = kScheduled;
            event.eventType = kParameterEvent_Immediate;
            event.eventValues.immediate.value = (Float32) (block % 9) / 8.0f;
            if (OSStatus s = host->scheduleParameters(&event, 1))
                fault.note("scheduling failed with " + std::to_string(s));
            if (OSStatus s = renderBlocks(*host, out, 1, sample))
                fault.note("render failed with " + std::to_string(s));
            for (UInt32 c = 0; c < 6; ++c)
                if (! std::isfinite(out.channel(c)[kBlock - 1]))
                    fault.note("output " + std::to_string(c) + " not finite");
            renders.fetch_add(1);
        }
        // The last event stays.
        AudioUnitParameterEvent event {};
        event.scope = kAudioUnitScope_Global;
        event.parameter = kScheduled;
        event.eventType = kParameterEvent_Immediate;
        event.eventValues.immediate.value = 0.375f;
        host->scheduleParameters(&event, 1);
        renderBlocks(*host, out, 1, sample);
    });

    auto setter = [&](int which) {
        startLine.arriveAndWait();
        for (int step = 0; step < kRounds; ++step)
            for (AudioUnitParameterID id : owned[which])
            {
                const Float32 v = valueFor(step, id);
                if (OSStatus s = host->setParameter(id, kAudioUnitScope_Global, 0, v, 0))
                    fault.note("set of " + std::to_string(id) + " failed with " + std::to_string(s));
                Float32 back = -1.0f;
                if (host->getParameter(id, kAudioUnitScope_Global, 0, &back) != 0 || back != v)
                    fault.note("parameter " + std::to_string(id) + " read " + std::to_string(back) + " after "
                               + std::to_string(v) + " was written");
            }
    };

    std::thread browser([&] {
        startLine.arriveAndWait();
        for (int step = 0; step < kRounds; ++step)
        {
            const AudioUnitParameterID id = (AudioUnitParameterID) (step % 35);
            AudioUnitParameterInfo info {};
            if (host->get(kAudioUnitProperty_ParameterInfo, kAudioUnitScope_Global, id, info) != 0
                || info.cfNameString == nullptr || info.name[0] == '\0')
                fault.note("no description of parameter " + std::to_string(id));
            if (info.cfNameString != nullptr)
                CFRelease(info.cfNameString);
            Float32 v = -1.0f;
            if (host->getParameter(id, kAudioUnitScope_Global, 0, &v) != 0 || ! (v >= 0.0f && v <= 1.0f))
                fault.note("parameter " + std::to_string(id) + " read " + std::to_string(v));
            if ((step & 1) == 0)
                host->addRenderNotify(countNotice, nullptr);
            else
                host->removeRenderNotify(countNotice, nullptr);
        }
        host->removeRenderNotify(countNotice, nullptr);
    });

    std::thread a(setter, 0), b(setter, 1);
    a.join();
    b.join();
    browser.join();
    stop = true;
    render.join();

    EXPECT_EQ(fault.count.load(), 0) << "first: " << fault.what;
    EXPECT_GE(renders.load(), 20);
    for (int which = 0; which < 2; ++which)
        for (AudioUnitParameterID id : owned[which])
        {
            Float32 v = -1.0f;
            ASSERT_EQ(unit->getParameter(id, kAudioUnitScope_Global, 0, &v), 0);
            EXPECT_EQ(v, valueFor(kRounds - 1, id)) << "parameter " << id << ": the last write of its setter";
        }
    Float32 scheduled = -1.0f;
    ASSERT_EQ(unit->getParameter(kScheduled, kAudioUnitScope_Global, 0, &scheduled), 0);
    EXPECT_EQ(scheduled, 0.375f) << "the render thread's last scheduled event";
}
} // namespace
