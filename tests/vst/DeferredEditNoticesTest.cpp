// What a host that hears of edits only at its next process call is told, for
// each pattern of edits made between two sends.
#include "DeferredEditNotices.h"
#include "SpinBarrier.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace
{
// "b" gesture began, "e" ended, "v25" the value 0.25, "h25" the host's own
// change to 0.25, "l" its automation lane's write just before the block, "|"
// a send and its block; the host's notices as "B", "V25", "E", each send's in
// brackets, "!" where the host's write was refused, and "G25" where 0.25 was
// given back to the processor after the block.
std::string run(DeferredEditNotices& notices, int index, const std::string& script)
{
    std::string heard = "[";
    auto percent = [](float value) { return std::to_string(std::lround(value * 100.0f)); };
    auto send = [&] {
        notices.sendPending([&](DeferredEditNotices::Notice n, int i, float value) {
            heard += i != index ? "?" + std::to_string(i) : "";
            if (n == DeferredEditNotices::Notice::begin)
                heard += "B ";
            else if (n == DeferredEditNotices::Notice::end)
                heard += "E ";
            else
                heard += "V" + percent(value) + " ";
        });
        notices.giveBackAfterBlock([&](int i, float value) {
            heard += (i != index ? "?" + std::to_string(i) : "") + "G" + percent(value) + " ";
        });
        if (heard.back() == ' ')
            heard.pop_back();
        heard += "]";
    };

    for (size_t k = 0; k < script.size(); ++k)
    {
        switch (script[k])
        {
            case 'b': notices.gestureBegan(index); break;
            case 'e': notices.gestureEnded(index); break;
            case 'v': notices.valueChanged(index, (float) std::stoi(script.substr(k + 1, 2)) / 100.0f); k += 2; break;
            case 'h':
                if (notices.mayHostSet(index))
                    notices.hostChanged(index, (float) std::stoi(script.substr(k + 1, 2)) / 100.0f);
                else
                    heard += "!";
                k += 2;
                break;
            case 'l':
                if (notices.mayHostSet(index))
                    notices.lanePlayed(index);
                else
                    heard += "!";
                break;
            case '|': send(); heard += "["; break;
            default: break;
        }
    }
    send();
    return heard;
}
} // namespace

TEST(DeferredEditNoticesTest, WhatTheHostHearsForEachPatternOfEdits)
{
    struct Case
    {
        const char* script;
        const char* heard;
        bool leftOpen = false; // the host holds a begin without its end yet
    };
    const Case cases[] = {
        { "v25", "[V25]" },                     // an edit outside any gesture
        { "v25v50v75", "[V75]" },               // only the latest value waits
        { "bv25v50e", "[B V50 E]" },            // a whole gesture between two sends
        { "bv25|v50e", "[B V25][V50 E]" },      // begun before a send, ended after it
        { "bv25|e", "[B V25][E]" },             // ended with no new value
        { "b|||e", "[B][][][E]" },              // held open over sends that have nothing new
        // The held gesture ends on its own value, the next one follows.
        { "bv25|ebv50", "[B V25][E B V50]", true }, // ended and begun again, still open
        { "bv25|ebv50|e", "[B V25][E B V50][E]" },
        { "bv25|ebv50e", "[B V25][E B V50 E]" },
        { "bv25|v30ebe", "[B V25][E B V30 E]" }, // the new one is told the value it holds
        { "bv25ebv50e", "[B V50 E]" },          // two gestures between two sends: one
        { "bbv25ee", "[B V25 E]" },             // a nested begin and end add nothing
        { "e", "[]" },                          // an end without a begin
        { "ev25", "[V25]" },
        { "bv25e|", "[B V25 E][]" },            // nothing is sent twice
        // The host's own changes: it never hears a value older than its
        // change, and its automation waits for a held control's begin.
        { "h50", "[]" },                        // the host is not told its own value
        { "v25h50", "[V50]" },                  // a waiting edit takes the host's value
        { "bv25eh50", "[B V50 E]" },            // so does a gesture that has ended
        { "bv25h50", "[!B V25]", true },        // held, its begin unheard: refused
        { "bv25h50|h60v70e", "[!B V25][V70 E]" }, // once the begin is heard, applied
        { "bv25|v40h50", "[B V25][V50]", true }, // held and heard: the host's value waits
        { "bv25|ebv40h50", "[B V25][!E B V40]", true }, // begun again, unheard: refused
        { "bv25ebh50e", "[!B V25 E]" },         // a second gesture held when the host wrote
        { "bv25eh50v60", "[B V60 E]" },         // an edit after the host's change wins
        // Its lane, played over an edit made in one go that it has not heard:
        // the lane plays one block, the host hears the edit, which then holds.
        { "bv25el", "[B V25 E G25]" },          // a click or a typed value
        { "v25l|", "[V25 G25][]" },             // an edit outside a gesture; given back once
        { "bv25elv60", "[B V60 E G60]" },       // a later edit is the one given back
        { "bv25elh50", "[B V50 E]" },           // a host change after the lane wins
        { "bv25|el", "[B V25][E]" },            // nothing waits: the lane wins
        { "bv25l", "[!B V25]", true },          // held, its begin unheard: refused
    };

    for (const auto& c : cases)
    {
        DeferredEditNotices notices(35);
        EXPECT_EQ(run(notices, 7, c.script), c.heard) << "edits " << c.script;
        EXPECT_EQ(notices.isOpenForHost(7), c.leftOpen) << "edits " << c.script;
    }
}

TEST(DeferredEditNoticesTest, ParametersAreKeptApartAndOutOfRangeIndicesIgnored)
{
    DeferredEditNotices notices(35);
    ASSERT_EQ(notices.getNumParameters(), 35);

    for (int index : { -1, 35, 36, 49, 1 << 30 })
    {
        notices.gestureBegan(index);
        notices.valueChanged(index, 0.5f);
        notices.gestureEnded(index);
        EXPECT_FALSE(notices.isOpenForHost(index));
    }
    notices.gestureBegan(34);
    notices.valueChanged(34, 0.125f);
    notices.valueChanged(0, 1.0f);
    notices.gestureBegan(20);

    std::string heard;
    notices.sendPending([&](DeferredEditNotices::Notice n, int index, float value) {
        heard += std::to_string(index) + (n == DeferredEditNotices::Notice::begin ? "B" : n == DeferredEditNotices::Notice::end ? "E" : "V") + " ";
        if (n == DeferredEditNotices::Notice::value)
        {
            EXPECT_EQ(value, index == 34 ? 0.125f : 1.0f) << "parameter " << index;
        }
    });
    EXPECT_EQ(heard, "0V 20B 34B 34V ") << "in index order, nothing for out-of-range indices";
    EXPECT_TRUE(notices.isOpenForHost(20));
    EXPECT_TRUE(notices.isOpenForHost(34));
    EXPECT_FALSE(notices.isOpenForHost(0));

    DeferredEditNotices none(-3);
    EXPECT_EQ(none.getNumParameters(), 0);
    none.valueChanged(0, 0.5f);
    none.sendPending([](DeferredEditNotices::Notice, int index, float) { ADD_FAILURE() << "heard of parameter " << index; });
}

// A sender that finds another send under way leaves everything to the next.
TEST(DeferredEditNoticesTest, ASendInsideASendLeavesItsNoticesForTheNext)
{
    DeferredEditNotices notices(4);
    notices.valueChanged(1, 0.5f);
    notices.valueChanged(2, 0.25f);

    int outer = 0, inner = 0;
    notices.sendPending([&](DeferredEditNotices::Notice, int index, float) {
        ++outer;
        notices.valueChanged(3, 0.75f); // an edit made from inside the host's callback
        notices.sendPending([&](DeferredEditNotices::Notice, int, float) { ++inner; });
    });
    EXPECT_EQ(outer, 3) << "parameters 1 and 2, and 3 edited during the send";
    EXPECT_EQ(inner, 0);

    notices.valueChanged(3, 0.875f);
    std::string heard;
    notices.sendPending([&](DeferredEditNotices::Notice, int index, float value) {
        heard += std::to_string(index) + "=" + std::to_string(std::lround(value * 1000.0f)) + " ";
    });
    EXPECT_EQ(heard, "3=875 ");
}

// Hosts run a plug-in on one audio thread in one cycle and another in the
// next, and some overlap them. Two threads write lanes and send while a
// third edits: every notice is taken once, in order, begins and ends balance,
// and the sender's own note of what the host holds open passes whole from one
// thread to the other, never read by the host's side. (The ThreadSanitizer
// stage runs this; the senders share nothing but the notices themselves, so
// any ordering it needs must come from them.)
TEST(DeferredEditNoticesTest, TwoSendingThreadsAndAnEditingThread)
{
    constexpr int kParameters = 4, kGestures = 1000, kValuesPerGesture = 3;
    DeferredEditNotices notices(kParameters);

    struct Heard
    {
        uint32_t order;
        DeferredEditNotices::Notice notice;
        int index;
        float value;
    };
    // Each sender logs alone; a relaxed counter orders the two logs without
    // making the senders wait for each other.
    std::atomic<uint32_t> order { 0 };
    std::vector<Heard> logs[2];
    std::atomic<bool> editsDone { false };
    std::atomic<int> sends[2] = { { 0 }, { 0 } }; // calls each sender has made
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);

    auto sender = [&](int which) {
        logs[which].reserve(3 * kGestures * kValuesPerGesture);
        while (!editsDone.load() && std::chrono::steady_clock::now() < deadline)
        {
            // Lanes on the edited parameters, written before each send.
            for (int index = 0; index < kParameters; ++index)
                if (notices.mayHostSet(index))
                    notices.lanePlayed(index);
            notices.sendPending([&](DeferredEditNotices::Notice n, int index, float value) {
                logs[which].push_back({ order.fetch_add(1, std::memory_order_relaxed), n, index, value });
            });
            notices.giveBackAfterBlock([](int, float) {});
            sends[which].fetch_add(1, std::memory_order_relaxed);
            std::this_thread::yield();
        }
    };
    std::thread first(sender, 0);
    std::thread second(sender, 1);

    // Each gesture waits for a call of each sender, so that both take part
    // all along rather than one finding the edits already done.
    auto waitForBothSenders = [&] {
        const int seen[2] = { sends[0].load(), sends[1].load() };
        while ((sends[0].load() == seen[0] || sends[1].load() == seen[1]) && std::chrono::steady_clock::now() < deadline)
            std::this_thread::yield();
    };
    for (int g = 0; g < kGestures; ++g)
    {
        const int index = g % kParameters;
        notices.gestureBegan(index);
        for (int v = 0; v < kValuesPerGesture; ++v)
            notices.valueChanged(index, (float) (g * kValuesPerGesture + v + 1) / 65536.0f);
        if (g % 2 == 0)
            waitForBothSenders(); // some gestures are held over sends
        notices.gestureEnded(index);
        waitForBothSenders();
    }
    editsDone = true;
    first.join();
    second.join();

    ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "a sender stalled";
    std::vector<Heard> heard(logs[0]);
    heard.insert(heard.end(), logs[1].begin(), logs[1].end());
    notices.sendPending([&](DeferredEditNotices::Notice n, int index, float value) {
        heard.push_back({ order.fetch_add(1, std::memory_order_relaxed), n, index, value });
    });
    std::sort(heard.begin(), heard.end(), [](const Heard& a, const Heard& b) { return a.order < b.order; });

    bool open[kParameters] = {};
    float last[kParameters] = {};
    for (size_t k = 0; k < heard.size(); ++k)
    {
        const auto& h = heard[k];
        ASSERT_TRUE(h.index >= 0 && h.index < kParameters) << "notice " << k;
        bool& isOpen = open[h.index];
        if (h.notice == DeferredEditNotices::Notice::begin)
        {
            ASSERT_FALSE(isOpen) << "notice " << k << ": parameter " << h.index << " begun twice";
            isOpen = true;
        }
        else if (h.notice == DeferredEditNotices::Notice::end)
        {
            ASSERT_TRUE(isOpen) << "notice " << k << ": parameter " << h.index << " ended without a begin";
            isOpen = false;
        }
        else
        {
            ASSERT_TRUE(isOpen) << "notice " << k << ": a value outside its gesture";
            ASSERT_GT(h.value, last[h.index]) << "notice " << k << ": parameter " << h.index << " heard out of order or twice";
            last[h.index] = h.value;
        }
    }
    for (int index = 0; index < kParameters; ++index)
    {
        EXPECT_FALSE(open[index]) << "parameter " << index << " left open for the host";
        EXPECT_FALSE(notices.isOpenForHost(index)) << "parameter " << index;
        const int lastGesture = kGestures - kParameters + index;
        EXPECT_EQ(last[index], (float) ((lastGesture + 1) * kValuesPerGesture) / 65536.0f)
            << "parameter " << index << ": its last value was lost";
    }
}

// Two audio threads that call at the same instant, as overlapping graph
// threads can: one sends and the other returns at once, so the host is never
// called from two threads at once. Each round releases both together with a
// notice waiting on every parameter: a gesture's begin in one round, its
// value and end in the next.
TEST(DeferredEditNoticesTest, SendsStartedAtOnceOnTwoThreads)
{
    constexpr int kParameters = 8, kRounds = 20000;
    DeferredEditNotices notices(kParameters);
    SpinBarrier barrier(3); // the two senders and the editing thread
    std::atomic<int> inside { 0 }, overlaps { 0 };
    int heard[kParameters][3] = {}; // begins, values, ends; written only by the one sender

    auto sender = [&] {
        for (int round = 1; round <= kRounds; ++round)
        {
            barrier.arriveAndWait(); // the round's notices wait
            notices.sendPending([&](DeferredEditNotices::Notice n, int index, float) {
                if (inside.fetch_add(1) != 0)
                    overlaps.fetch_add(1);
                ++heard[index][(int) n];
                // Long enough for a second sender to reach a parameter of its own.
                for (int spin = 0; spin < 200 && inside.load() == 1; ++spin)
                    std::atomic_signal_fence(std::memory_order_seq_cst);
                inside.fetch_sub(1);
            });
            barrier.arriveAndWait(); // both have called
        }
    };
    std::thread first(sender), second(sender);

    for (int round = 1; round <= kRounds; ++round)
    {
        for (int index = 0; index < kParameters; ++index)
        {
            if (round % 2 == 1)
            {
                notices.gestureBegan(index);
            }
            else
            {
                notices.valueChanged(index, (float) round / 65536.0f);
                notices.gestureEnded(index);
            }
        }
        barrier.arriveAndWait();
        barrier.arriveAndWait();
    }
    first.join();
    second.join();

    EXPECT_EQ(overlaps.load(), 0) << "two threads sent at once";
    for (int index = 0; index < kParameters; ++index)
        for (int n = 0; n < 3; ++n)
            EXPECT_EQ(heard[index][n], kRounds / 2) << "parameter " << index << ", notice " << n;
}
