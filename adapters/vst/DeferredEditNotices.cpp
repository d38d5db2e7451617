#include "DeferredEditNotices.h"

#include <algorithm>
#include <cstring>

static_assert(std::atomic<uint64_t>::is_always_lock_free, "the editing thread must never wait for the sender");

namespace
{
uint32_t bitsOf(float value) noexcept
{
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

float valueOf(uint64_t word) noexcept
{
    const auto bits = (uint32_t) (word >> 32);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}
} // namespace

DeferredEditNotices::DeferredEditNotices(int count)
    : numParameters(std::max(0, count)),
      words(new std::atomic<uint64_t>[(size_t) numParameters]),
      openForHost(new bool[(size_t) numParameters])
{
    for (int i = 0; i < numParameters; ++i)
    {
        words[(size_t) i].store(0, std::memory_order_relaxed);
        openForHost[(size_t) i] = false;
    }
}

void DeferredEditNotices::update(int index, UpdateFn fn, uint32_t valueBits) noexcept
{
    if ((unsigned) index >= (unsigned) numParameters)
        return;

    auto& word = words[(size_t) index];
    uint64_t old = word.load(std::memory_order_relaxed);
    // Retried only when another writer or the sender changed the word in
    // between: lock-free, and nobody is waited for.
    while (!word.compare_exchange_weak(old, fn(old, valueBits), std::memory_order_acq_rel, std::memory_order_relaxed))
    {
    }
}

void DeferredEditNotices::valueChanged(int index, float value) noexcept
{
    update(index, [](uint64_t word, uint32_t bits) noexcept {
        return ((uint64_t) bits << 32) | (word & 0xffffffffu) | kValuePending;
    }, bitsOf(value));
}

void DeferredEditNotices::gestureBegan(int index) noexcept
{
    update(index, [](uint64_t word, uint32_t) noexcept {
        return (word & kOpen) != 0 ? word : word | kOpen | kBegan;
    }, 0);
}

void DeferredEditNotices::gestureEnded(int index) noexcept
{
    update(index, [](uint64_t word, uint32_t) noexcept {
        return (word & kOpen) == 0 ? word : (word & ~kOpen) | kEnded;
    }, 0);
}

bool DeferredEditNotices::mayHostSet(int index) const noexcept
{
    if ((unsigned) index >= (unsigned) numParameters)
        return true;
    const uint64_t word = words[(size_t) index].load(std::memory_order_acquire);
    return (word & (kOpen | kBegan)) != (kOpen | kBegan);
}

void DeferredEditNotices::hostChanged(int index, float valueNow) noexcept
{
    // The gesture flags stay: a gesture the user made is still the host's to
    // hear, with the value that holds now. Nothing is given back over it.
    update(index, [](uint64_t word, uint32_t bits) noexcept {
        word &= ~kGiveBack;
        return (word & kValuePending) == 0 ? word : ((uint64_t) bits << 32) | (word & 0xffffffffu);
    }, bitsOf(valueNow));
}

void DeferredEditNotices::lanePlayed(int index) noexcept
{
    // A lane write after the edit was heard wins, as any host change does.
    update(index, [](uint64_t word, uint32_t) noexcept {
        return (word & kValuePending) != 0 ? word | kGiveBack : word & ~kGiveBack;
    }, 0);
}

bool DeferredEditNotices::takeGiveBack(int index, float& value) noexcept
{
    auto& word = words[(size_t) index];
    // A plain load first: most blocks have nothing to give back.
    if ((word.load(std::memory_order_relaxed) & kGiveBack) == 0)
        return false;
    const uint64_t taken = word.fetch_and(~kGiveBack, std::memory_order_acq_rel);
    value = valueOf(taken);
    return (taken & kGiveBack) != 0;
}

bool DeferredEditNotices::isOpenForHost(int index) const noexcept
{
    return (unsigned) index < (unsigned) numParameters && openForHost[(size_t) index];
}

// Takes what is due for one parameter and leaves only its open flag and value.
// The host hears a gesture that began and ended between two sends as begin,
// latest value, end; one still open as begin and latest value, its end
// following at a later send. When the gesture the host holds ended and
// another began since, the held one ends on the value it was last told, so
// that it never ends on its neighbour's, and the new one follows whole.
// Gestures that ended and began again with none held by the host reach it
// as one: no block was played between them.
DeferredEditNotices::Due DeferredEditNotices::takeDue(int index) noexcept
{
    Due due;
    const uint64_t word = words[(size_t) index].fetch_and(~(kValuePending | kBegan | kEnded), std::memory_order_acq_rel);
    const bool valuePending = (word & kValuePending) != 0;
    const bool began = (word & kBegan) != 0;
    const bool ended = (word & kEnded) != 0;
    const bool open = (word & kOpen) != 0;
    bool& hostOpen = openForHost[(size_t) index];

    due.value = valueOf(word);
    auto add = [&due](Notice n) { due.notices[due.count++] = n; };

    if (hostOpen && ended && began)
    {
        add(Notice::end);
        hostOpen = false;
    }

    if (hostOpen)
    {
        // The value first: it belongs to the gesture the host has open.
        if (valuePending)
            add(Notice::value);
        if (ended)
        {
            add(Notice::end);
            hostOpen = false;
        }
    }
    else if (began)
    {
        add(Notice::begin);
        if (valuePending)
            add(Notice::value);
        if (open)
            hostOpen = true;
        else
            add(Notice::end);
    }
    else if (valuePending)
    {
        add(Notice::value); // an edit made outside any gesture
    }

    return due;
}
