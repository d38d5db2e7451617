// Buffer lists: overflow-guarded sizes, the memory layout of prepared
// buffers, null lists, copies, and a host's external memory.
#include "AUBufferList.h"
#include "AUIOElement.h"
#include "SpinBarrier.h"
#include "ThreadSafeList.h"

#include <gtest/gtest.h>

#include <atomic>
#include <new>
#include <string>
#include <thread>
#include <vector>

namespace
{
CAStreamBasicDescription floatFormat(UInt32 channels)
{
    CAStreamBasicDescription f = DefaultIOStreamFormat();
    f.mChannelsPerFrame = channels;
    return f;
}

// A buffer list record with room for n buffers.
class HostList
{
public:
    explicit HostList(UInt32 n) : bytes(AudioBufferListBytes(n), 0) { list()->mNumberBuffers = n; }
    AudioBufferList* list() { return reinterpret_cast<AudioBufferList*>(bytes.data()); }

private:
    std::vector<unsigned char> bytes;
};

TEST(SafeMultiplyAdd, ProductsThatFitAndThoseThatDoNot)
{
    struct Row
    {
        UInt32 a, b, c;
        UInt32 result;
        bool overflows;
    };
    const Row rows[] = {
        { 0, 5, 8, 8, false },          { 5, 0, 8, 8, false },         { 3, 4, 5, 17, false },
        { 0xFFFFFFFF, 1, 0, 0xFFFFFFFF, false }, { 0xFFFFFFFF, 1, 1, 0, true }, { 0x10000, 0x10000, 0, 0, true },
        { 0xFFFF, 0x10001, 0, 0xFFFFFFFF, false },
    };
    for (const auto& r : rows)
    {
        if (r.overflows)
            EXPECT_THROW(SafeMultiplyAddUInt32(r.a, r.b, r.c), std::bad_alloc) << r.a << " x " << r.b << " + " << r.c;
        else
            EXPECT_EQ(SafeMultiplyAddUInt32(r.a, r.b, r.c), r.result) << r.a << " x " << r.b << " + " << r.c;
    }
}

TEST(AUBufferList, StereoNonInterleavedLayout)
{
    AUBufferList list;
    list.Allocate(floatFormat(2), 512);
    EXPECT_EQ(list.GetAllocatedStreams(), 2u);
    EXPECT_EQ(list.GetAllocatedBytes(), 4096u) << "two streams of 512 x 4 bytes";
    EXPECT_EQ(list.GetAllocatedFrames(), 512u);
    EXPECT_EQ(list.GetPtrState(), AUBufferList::kPtrsInvalid);

    AudioBufferList& b = list.PrepareBuffer(floatFormat(2), 100);
    EXPECT_EQ(list.GetPtrState(), AUBufferList::kPtrsToMyMemory);
    ASSERT_EQ(b.mNumberBuffers, 2u);
    EXPECT_EQ(b.mBuffers[0].mData, list.GetMemory());
    EXPECT_EQ(b.mBuffers[1].mData, list.GetMemory() + 2048) << "streams lie a whole allocation apart";
    EXPECT_EQ(b.mBuffers[1].mDataByteSize, 400u);
    EXPECT_EQ(b.mBuffers[1].mNumberChannels, 1u);

    EXPECT_NO_THROW(list.PrepareBuffer(floatFormat(2), 512));
    try
    {
        list.PrepareBuffer(floatFormat(2), 513);
        ADD_FAILURE() << "513 frames were prepared in room for 512";
    }
    catch (OSStatus s)
    {
        EXPECT_EQ(s, -10874);
    }
    try
    {
        list.PrepareBuffer(floatFormat(4), 16);
        ADD_FAILURE() << "four streams were prepared in room for two";
    }
    catch (OSStatus s)
    {
        EXPECT_EQ(s, -10868);
    }
}

TEST(AUBufferList, StreamsAreRoundedUpToSixteenBytes)
{
    struct Row
    {
        UInt32 channels, frames, bytes;
    };
    const Row rows[] = { { 1, 3, 16 }, { 2, 3, 32 }, { 2, 4, 32 }, { 2, 5, 64 }, { 1, 1156, 4624 }, { 3, 0, 0 } };
    for (const auto& r : rows)
    {
        AUBufferList list;
        list.Allocate(floatFormat(r.channels), r.frames);
        EXPECT_EQ(list.GetAllocatedBytes(), r.bytes) << r.channels << " channels of " << r.frames << " frames";
    }
}

TEST(AUBufferList, NullListsCopiesAndInvalidState)
{
    AUBufferList list;
    EXPECT_THROW(list.GetBufferList(), OSStatus) << "nothing prepared yet";
    list.Allocate(floatFormat(2), 64);

    AudioBufferList& n = list.PrepareNullBuffer(floatFormat(2), 10);
    EXPECT_EQ(list.GetPtrState(), AUBufferList::kPtrsToExternalMemory);
    EXPECT_EQ(n.mBuffers[0].mData, nullptr);
    EXPECT_EQ(n.mBuffers[1].mDataByteSize, 40u);

    // One source buffer fills every destination buffer.
    std::vector<float> a(8, 3.0f), b(8, 0.0f), c(8, 0.0f);
    HostList one(1), two(2), three(3);
    one.list()->mBuffers[0] = AudioBuffer { 1, 32, a.data() };
    list.SetBufferList(*one.list());
    two.list()->mBuffers[0] = AudioBuffer { 1, 32, b.data() };
    two.list()->mBuffers[1] = AudioBuffer { 1, 32, c.data() };
    list.CopyBufferContentsTo(*two.list());
    EXPECT_EQ(b[7], 3.0f);
    EXPECT_EQ(c[7], 3.0f);

    // A list of more buffers than streams is refused.
    EXPECT_THROW(list.SetBufferList(*three.list()), OSStatus);

    list.InvalidateBufferList();
    EXPECT_THROW(list.CopyBufferListTo(*two.list()), OSStatus);
}

TEST(AUBufferList, ExternalMemoryReplacesOwnWhenLargeEnough)
{
    AUBufferList list;
    list.Allocate(floatFormat(2), 512); // 4096 bytes
    alignas(16) static Byte host[8192];

    list.UseExternalBuffer(floatFormat(2), AudioUnitExternalBuffer { host, 4095 }); // 4080 usable: too small
    EXPECT_FALSE(list.UsesExternalMemory());

    list.UseExternalBuffer(floatFormat(2), AudioUnitExternalBuffer { host, 6010 }); // 6000 usable
    EXPECT_TRUE(list.UsesExternalMemory());
    EXPECT_EQ(list.GetMemory(), host);
    EXPECT_EQ(list.GetAllocatedBytes(), 6000u);
    EXPECT_EQ(list.GetAllocatedFrames(), 750u) << "6000 / (2 streams x 4 bytes)";

    // Growing past it takes own memory again; the host's is not freed.
    list.Allocate(floatFormat(2), 1024);
    EXPECT_FALSE(list.UsesExternalMemory());
    EXPECT_NE(list.GetMemory(), host);
    list.Deallocate();
    EXPECT_EQ(list.GetAllocatedBytes(), 0u);
    EXPECT_EQ(list.GetAllocatedFrames(), 0u);
}

// ---- The render-notify list ---------------------------------------------------------

struct Item
{
    int a = 0;
    int b = 0;
    bool operator==(const Item& o) const { return a == o.a && b == o.b; }
};

std::vector<int> active(const TThreadSafeList<Item>& list)
{
    std::vector<int> v;
    for (const Item& i : list)
        v.push_back(i.a * 10 + i.b);
    return v;
}

TEST(ThreadSafeList, ChangesApplyAtUpdateInQueuedOrder)
{
    static_assert(sizeof(TThreadSafeList<Item>::Node) == 24, "link, kind and an 8-byte item");
    TThreadSafeList<Item> list;
    list.deferred_add(Item { 1, 0 });
    list.deferred_add(Item { 2, 0 });
    list.deferred_add(Item { 1, 0 }); // already queued: one entry
    list.deferred_add(Item { 1, 1 }); // other data: another entry
    EXPECT_TRUE(active(list).empty()) << "nothing before update";

    list.update();
    EXPECT_EQ(active(list), (std::vector<int> { 10, 20, 11 }));

    list.deferred_remove(Item { 1, 0 });
    list.deferred_remove(Item { 9, 9 }); // never added
    list.deferred_add(Item { 3, 0 });
    list.update();
    EXPECT_EQ(active(list), (std::vector<int> { 20, 11, 30 }));

    list.deferred_clear();
    list.deferred_add(Item { 4, 0 });
    list.update();
    EXPECT_EQ(active(list), (std::vector<int> { 40 }));
}

// Three host threads queue additions and removals of items of their own
// while the render thread applies them and walks the list, round after round
// with the threads lined up. Every request of every thread is applied, in
// that thread's order: at the end exactly each thread's even items are there
// (each odd one was removed right after it was added). A push lost to two
// threads swapping a stack's head at once leaves an item missing or one too
// many, or links a node twice (the walk then never ends, and the test runs
// into its time limit); the thread sanitizer build reports the swap itself,
// and a node handed over without its contents, as data races.
TEST(ThreadSafeListThreads, ConcurrentRequestsAreAllAppliedInEachThreadsOrder)
{
    constexpr int kProducers = 3, kRounds = 150, kItemsPerRound = 10;
    constexpr int kItems = kRounds * kItemsPerRound; // per producer
    TThreadSafeList<Item> list;
    SpinBarrier startLine(kProducers + 1);
    std::atomic<int> badWalks { 0 };
    std::string firstBad; // written by the render thread only

    std::vector<std::thread> producers;
    for (int p = 1; p <= kProducers; ++p)
        producers.emplace_back([&, p] {
            for (int round = 0; round < kRounds; ++round)
            {
                startLine.arriveAndWait();
                for (int j = 0; j < kItemsPerRound; ++j)
                {
                    const int i = round * kItemsPerRound + j;
                    list.deferred_add(Item { p, i });
                    if (i % 2 == 1)
                        list.deferred_remove(Item { p, i });
                }
            }
        });
    std::thread render([&] {
        for (int round = 0; round < kRounds; ++round)
        {
            startLine.arriveAndWait();
            for (int k = 0; k < 2 * kItemsPerRound; ++k)
            {
                list.update();
                for (const Item& item : list)
                    if (item.a < 1 || item.a > kProducers || item.b < 0 || item.b >= kItems)
                    {
                        if (badWalks.fetch_add(1) == 0)
                            firstBad = std::to_string(item.a) + "/" + std::to_string(item.b);
                    }
            }
        }
    });
    for (auto& t : producers)
        t.join();
    render.join();
    list.update();

    EXPECT_EQ(badWalks.load(), 0) << "the render thread walked over item " << firstBad;
    std::vector<int> counts((size_t) (kProducers + 1) * kItems, 0);
    int total = 0;
    for (const Item& item : list)
    {
        ++total;
        if (item.a >= 1 && item.a <= kProducers && item.b >= 0 && item.b < kItems)
            ++counts[(size_t) (item.a * kItems + item.b)];
    }
    EXPECT_EQ(total, kProducers * kItems / 2) << "requests lost";
    int wrong = 0;
    std::string firstWrong;
    for (int p = 1; p <= kProducers; ++p)
        for (int i = 0; i < kItems; ++i)
            if (counts[(size_t) (p * kItems + i)] != (i % 2 == 0 ? 1 : 0))
            {
                if (wrong++ == 0)
                    firstWrong = "producer " + std::to_string(p) + ", item " + std::to_string(i) + " is there "
                                 + std::to_string(counts[(size_t) (p * kItems + i)]) + " times";
            }
    EXPECT_EQ(wrong, 0) << "first: " << firstWrong;
}
} // namespace
