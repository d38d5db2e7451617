// The calls into the host's world: routing through an instance's interface
// record, the component registry, the event recorder, once-initialisation
// and compare-and-swap.
#include "PlatformAudioUnit.h"
#include "PlatformThreads.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace
{
// A unit as the platform sees it: an interface record whose Lookup hands
// out functions that record what reached them.
struct FakeUnit
{
    AudioComponentPlugInInterface iface;
    int opened = 0, closed = 0;
    UInt32 lastId = 0, lastFrames = 0;
};

FakeUnit* lastMade = nullptr;

OSStatus fakeGetProperty(void* self, UInt32 id, UInt32, UInt32, void*, UInt32* size)
{
    static_cast<FakeUnit*>(self)->lastId = id;
    *size = 40;
    return 7;
}

OSStatus fakeRender(void* self, AudioUnitRenderActionFlags*, const AudioTimeStamp*, UInt32, UInt32 frames,
                    AudioBufferList*)
{
    static_cast<FakeUnit*>(self)->lastFrames = frames;
    return 8;
}

AudioComponentMethod fakeLookup(SInt16 selector)
{
    if (selector == kAudioUnitGetPropertySelect)
        return reinterpret_cast<AudioComponentMethod>(fakeGetProperty);
    if (selector == kAudioUnitRenderSelect)
        return reinterpret_cast<AudioComponentMethod>(fakeRender);
    return nullptr;
}

AudioComponentMethod emptyLookup(SInt16)
{
    return nullptr;
}

OSStatus fakeOpen(void* self, AudioComponentInstance instance)
{
    auto* u = static_cast<FakeUnit*>(self);
    u->opened++;
    // The registry knows the instance while it opens.
    return AudioComponentInstanceGetComponent(instance) != nullptr ? 0 : -1;
}

OSStatus fakeClose(void* self)
{
    static_cast<FakeUnit*>(self)->closed++;
    return 0;
}

OSStatus failingOpen(void*, AudioComponentInstance)
{
    return -10875;
}

AudioComponentPlugInInterface* fakeFactory(const AudioComponentDescription*)
{
    lastMade = new FakeUnit { { fakeOpen, fakeClose, fakeLookup, nullptr } };
    return &lastMade->iface;
}

AudioComponentPlugInInterface* failingFactory(const AudioComponentDescription*)
{
    static FakeUnit unit { { failingOpen, fakeClose, fakeLookup, nullptr } };
    return &unit.iface;
}

TEST(PlatformCalls, PropertyAndRenderRouteThroughLookup)
{
    FakeUnit unit { { nullptr, nullptr, fakeLookup, nullptr } };
    auto handle = reinterpret_cast<AudioUnit>(&unit);
    UInt32 size = 0;
    EXPECT_EQ(AudioUnitGetProperty(handle, 8, 2, 0, nullptr, &size), 7);
    EXPECT_EQ(unit.lastId, 8u);
    EXPECT_EQ(size, 40u);
    EXPECT_EQ(AudioUnitRender(handle, nullptr, nullptr, 0, 512, nullptr), 8);
    EXPECT_EQ(unit.lastFrames, 512u);

    EXPECT_EQ(AudioUnitGetProperty(nullptr, 8, 2, 0, nullptr, &size), -50);
    EXPECT_EQ(AudioUnitGetProperty(handle, 8, 2, 0, nullptr, nullptr), -50);
    EXPECT_EQ(AudioUnitRender(nullptr, nullptr, nullptr, 0, 512, nullptr), -50);
    FakeUnit empty { { nullptr, nullptr, emptyLookup, nullptr } };
    EXPECT_EQ(AudioUnitRender(reinterpret_cast<AudioUnit>(&empty), nullptr, nullptr, 0, 1, nullptr),
              (OSStatus) 0x80008002);
}

TEST(PlatformCalls, ComponentRegistryMakesAndDisposesInstances)
{
    const AudioComponentDescription d { 0x61756678, 0x74657374, 0x51767478, 0, 0 };
    AudioComponent c = AudioComponentRegister(&d, nullptr, 1, fakeFactory);
    ASSERT_NE(c, nullptr);
    AudioComponentDescription back {};
    EXPECT_EQ(AudioComponentGetDescription(c, &back), 0);
    EXPECT_EQ(back.componentSubType, 0x74657374u);

    AudioComponentInstance instance = nullptr;
    ASSERT_EQ(AudioComponentInstanceNew(c, &instance), 0);
    FakeUnit* made = lastMade;
    EXPECT_EQ(instance, reinterpret_cast<AudioComponentInstance>(&made->iface)) << "the handle is the record";
    EXPECT_EQ(made->opened, 1);
    EXPECT_EQ(AudioComponentInstanceGetComponent(instance), c);
    EXPECT_EQ(AudioComponentInstanceDispose(instance), 0);
    EXPECT_EQ(made->closed, 1);
    EXPECT_EQ(AudioComponentInstanceGetComponent(instance), nullptr);
    delete made;

    AudioComponent failing = AudioComponentRegister(&d, nullptr, 1, failingFactory);
    EXPECT_EQ(AudioComponentInstanceNew(failing, &instance), -10875);
    EXPECT_EQ(instance, nullptr);
    EXPECT_EQ(AudioComponentInstanceNew(nullptr, &instance), -50);
    EXPECT_EQ(AudioComponentRegister(nullptr, nullptr, 1, fakeFactory), nullptr);
}

TEST(PlatformCalls, EventListenerNotifyKeepsTheLatestEvents)
{
    QvPlatformClearRecordedEvents();
    EXPECT_EQ(AUEventListenerNotify(nullptr, nullptr, nullptr), -50);
    for (UInt32 i = 0; i < 1030; ++i)
    {
        AudioUnitEvent e {};
        e.mEventType = kAudioUnitEvent_BeginParameterChangeGesture;
        e.mArgument.mParameter.mParameterID = i;
        ASSERT_EQ(AUEventListenerNotify(nullptr, nullptr, &e), 0);
    }
    EXPECT_EQ(QvPlatformRecordedEventCount(), 1030u);
    AudioUnitEvent e {};
    ASSERT_TRUE(QvPlatformRecordedEvent(0, &e));
    EXPECT_EQ(e.mArgument.mParameter.mParameterID, 6u) << "the oldest of the last 1024";
    EXPECT_EQ(e.mEventType, 1u);
    ASSERT_TRUE(QvPlatformRecordedEvent(1023, &e));
    EXPECT_EQ(e.mArgument.mParameter.mParameterID, 1029u);
    EXPECT_FALSE(QvPlatformRecordedEvent(1024, &e));
    QvPlatformClearRecordedEvents();
    EXPECT_EQ(QvPlatformRecordedEventCount(), 0u);
}

std::atomic<int> onceRuns { 0 };

void slowOnce(void* context)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    onceRuns++;
    *static_cast<int*>(context) = 42;
}

TEST(PlatformThreads, DispatchOnceRunsOnceAndEveryoneWaitsForIt)
{
    dispatch_once_t predicate = 0;
    int value = 0;
    std::vector<std::thread> threads;
    std::atomic<int> sawValue { 0 };
    for (int t = 0; t < 8; ++t)
        threads.emplace_back([&] {
            dispatch_once_f(&predicate, &value, slowOnce);
            if (value == 42)
                sawValue++;
        });
    for (auto& t : threads)
        t.join();
    EXPECT_EQ(onceRuns.load(), 1);
    EXPECT_EQ(sawValue.load(), 8);
    dispatch_once_f(&predicate, &value, slowOnce);
    EXPECT_EQ(onceRuns.load(), 1);
}

TEST(PlatformAtomics, CompareAndSwap)
{
    volatile int64_t word = 5;
    EXPECT_FALSE(OSAtomicCompareAndSwap64Barrier(4, 9, &word));
    EXPECT_EQ(word, 5);
    EXPECT_TRUE(OSAtomicCompareAndSwap64Barrier(5, -9, &word));
    EXPECT_EQ(word, -9);
    OSMemoryBarrier();
}
} // namespace
