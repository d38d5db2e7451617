// Edits the host hears of only at its next process call, for hosts that take
// begin edit, automate and end edit safely only on their own audio thread.
//
// What waits is state, not a log: for each parameter, the latest value not
// yet sent and whether a gesture began or ended since the last send. However
// long the host stops processing, nothing overflows and no edit is lost; the
// host hears each touched parameter's gesture begin, its latest value and its
// end, in that order, with begins and ends balanced.
//
// The host's own changes go through the same state, so that waiting never
// makes the host hear something a host told at once would not have: a value
// older than its own change, its automation written over a control the user
// holds before the host could know that it is held, or its automation's value
// in place of an edit the user made in one go (a click, a typed value) just
// before the host played the lane again.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

class DeferredEditNotices
{
public:
    enum class Notice { begin, value, end };

    /** Allocates everything it will ever need; the audio thread never does. */
    explicit DeferredEditNotices(int numParameters);

    int getNumParameters() const noexcept { return numParameters; }

    // Any thread; lock-free, never waiting for the sender. Out-of-range
    // indices are ignored.
    void valueChanged(int index, float value) noexcept;
    /** A second begin of an open gesture tells the host nothing new. */
    void gestureBegan(int index) noexcept;
    /** An end with no open gesture has no begin for the host to close. */
    void gestureEnded(int index) noexcept;

    /** Audio thread; neither waits nor allocates. Calls send(Notice, index,
        value) for every notice due, parameter by parameter. A second thread
        calling at the same time returns at once, leaving everything due to
        the next call. */
    template <typename Send>
    void sendPending(Send&& send) noexcept
    {
        if (sending.exchange(true, std::memory_order_acquire))
            return;

        for (int index = 0; index < numParameters; ++index)
        {
            const Due due = takeDue(index);
            for (int i = 0; i < due.count; ++i)
                send(due.notices[i], index, due.value);
        }

        sending.store(false, std::memory_order_release);
    }

    /** Host's thread, before it applies a change of its own: false while the
        user holds a gesture open whose begin the host has not heard yet. A
        host told at once would have stopped its automation there, so the
        change is not applied and the user's value stays. */
    bool mayHostSet(int index) const noexcept;
    /** Host's thread, after its change is applied: a waiting value becomes
        the one the processor now holds, so the host is never told a value
        older than its own change. Nothing waits on its account otherwise. */
    void hostChanged(int index, float valueNow) noexcept;

    /** Host's audio thread, after applying the write its automation lane
        makes just before the block. A host told at once would have heard a
        waiting edit before it played the lane again. So the edit stays
        waiting for the host, the lane plays the next block as it would have,
        and the edit's value is given back after that block: a host that then
        plays the lane again (Touch, Play) writes over it, one that latched
        the edit does not. With nothing waiting, as hostChanged. */
    void lanePlayed(int index) noexcept;

    /** Audio thread, after the block: calls giveBack(index, value) with the
        latest edited value of each parameter a lane played over since, for
        the processor to hold again. Neither waits nor allocates. */
    template <typename GiveBack>
    void giveBackAfterBlock(GiveBack&& giveBack) noexcept
    {
        for (int index = 0; index < numParameters; ++index)
        {
            float value;
            if (takeGiveBack(index, value))
                giveBack(index, value);
        }
    }

    /** True while the host has heard a begin of this parameter and not its
        end; sender's thread. */
    bool isOpenForHost(int index) const noexcept;

private:
    struct Due
    {
        Notice notices[4];
        int count = 0;
        float value = 0.0f;
    };

    // One word per parameter, so that a value and the gesture flags around it
    // are always read together: the value's bits above, flags below.
    static constexpr uint64_t kValuePending = 1; // a value not yet sent
    static constexpr uint64_t kBegan = 2;        // a gesture began since the last send
    static constexpr uint64_t kEnded = 4;        // a gesture ended since the last send
    static constexpr uint64_t kOpen = 8;         // the editing side's gesture is open now
    static constexpr uint64_t kGiveBack = 16;    // a lane played over a waiting edit

    using UpdateFn = uint64_t (*)(uint64_t word, uint32_t valueBits) noexcept;
    void update(int index, UpdateFn fn, uint32_t valueBits) noexcept;
    Due takeDue(int index) noexcept;
    bool takeGiveBack(int index, float& value) noexcept;

    const int numParameters;
    std::unique_ptr<std::atomic<uint64_t>[]> words;
    std::unique_ptr<bool[]> openForHost; // the sender's own
    std::atomic<bool> sending { false };
};
