// Run loops with timers: one loop per thread, run by its own thread, which
// sleeps until the next timer falls due.
#include "CFObject.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <mutex>
#include <thread>
#include <unistd.h>
#include <sys/syscall.h>
#include <vector>

struct QvCFRunLoopTimer final : qvcf::Object
{
    static constexpr CFTypeID kTypeID = qvcf::kRunLoopTimerTypeID;

    QvCFRunLoopTimer() : Object(kTypeID) {}
    ~QvCFRunLoopTimer() override
    {
        if (context.release != nullptr)
            context.release(context.info);
    }

    std::mutex lock;
    CFAbsoluteTime fireDate = 0;         // seconds since 2001
    CFTimeInterval interval = 0;         // seconds; 0 or less: once
    CFRunLoopTimerCallBack callout = nullptr;
    CFRunLoopTimerContext context {};
    bool valid = true;
    QvCFRunLoop* loop = nullptr;         // the loop it is added to, if any
};

struct QvCFRunLoop final : qvcf::Object
{
    static constexpr CFTypeID kTypeID = qvcf::kRunLoopTypeID;

    QvCFRunLoop() : Object(kTypeID) {}

    std::recursive_mutex lock;
    std::vector<QvCFRunLoopTimer*> timers; // each retained
};

namespace
{
// Seconds from 1 January 1970 to 1 January 2001.
constexpr double kEpochOffset = 978307200.0;

bool isMainThread() noexcept
{
    return (pid_t) syscall(SYS_gettid) == getpid();
}

QvCFRunLoop*& mainLoopSlot()
{
    static QvCFRunLoop* loop = nullptr;
    return loop;
}

std::mutex& mainLoopLock()
{
    static std::mutex m;
    return m;
}

QvCFRunLoop* mainLoop()
{
    std::lock_guard<std::mutex> sl(mainLoopLock());
    auto*& loop = mainLoopSlot();
    if (loop == nullptr)
        loop = new QvCFRunLoop; // never released: the main thread's loop lives with the process
    return loop;
}

void removeFromLoop(QvCFRunLoop& loop, QvCFRunLoopTimer* timer)
{
    bool removed = false;
    {
        std::lock_guard<std::recursive_mutex> sl(loop.lock);
        auto it = std::find(loop.timers.begin(), loop.timers.end(), timer);
        if (it != loop.timers.end())
        {
            loop.timers.erase(it);
            removed = true;
        }
        std::lock_guard<std::mutex> tl(timer->lock);
        if (timer->loop == &loop)
            timer->loop = nullptr;
    }
    if (removed)
        CFRelease(timer);
}

// The earliest valid timer's fire date; false when there is none.
bool nextFireDate(QvCFRunLoop& loop, CFAbsoluteTime& date)
{
    std::lock_guard<std::recursive_mutex> sl(loop.lock);
    bool any = false;
    for (auto* t : loop.timers)
    {
        std::lock_guard<std::mutex> tl(t->lock);
        if (t->valid && (! any || t->fireDate < date))
        {
            date = t->fireDate;
            any = true;
        }
    }
    return any;
}

// Fires every timer due at `now`, each once; a repeating one moves on to its
// next date after now (dates missed while the loop did not run are skipped).
void fireDueTimers(QvCFRunLoop& loop, CFAbsoluteTime now)
{
    std::vector<QvCFRunLoopTimer*> due;
    {
        std::lock_guard<std::recursive_mutex> sl(loop.lock);
        for (auto* t : loop.timers)
        {
            std::lock_guard<std::mutex> tl(t->lock);
            if (t->valid && t->fireDate <= now)
            {
                CFRetain(t);
                due.push_back(t);
            }
        }
    }

    for (auto* t : due)
    {
        bool fire = false;
        bool once = false;
        {
            std::lock_guard<std::mutex> tl(t->lock);
            fire = t->valid;
            if (t->interval > 0.0)
                t->fireDate += t->interval * std::max(1.0, std::ceil((now - t->fireDate) / t->interval));
            else
                once = true;
        }
        if (once)
            CFRunLoopTimerInvalidate(t);
        if (fire && t->callout != nullptr)
            t->callout(t, t->context.info);
        CFRelease(t);
    }
}

void sleepUntil(CFAbsoluteTime date)
{
    const double seconds = date - CFAbsoluteTimeGetCurrent();
    if (seconds > 0.0)
        std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

QvCFRunLoopTimer* timerOf(CFRunLoopTimerRef ref) noexcept
{
    return qvcf::as<QvCFRunLoopTimer>(ref);
}

QvCFRunLoop* loopOf(CFRunLoopRef ref) noexcept
{
    return qvcf::as<QvCFRunLoop>(ref);
}

CFStringRef modeName(const char* text)
{
    return CFStringCreateWithCString(nullptr, text, kCFStringEncodingUTF8);
}
} // namespace

extern "C" {

const CFRunLoopMode kCFRunLoopDefaultMode = modeName("kCFRunLoopDefaultMode");
const CFRunLoopMode kCFRunLoopCommonModes = modeName("kCFRunLoopCommonModes");

CFAbsoluteTime CFAbsoluteTimeGetCurrent(void)
{
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    return std::chrono::duration<double>(now).count() - kEpochOffset;
}

CFRunLoopRef CFRunLoopGetMain(void)
{
    return mainLoop();
}

CFRunLoopRef CFRunLoopGetCurrent(void)
{
    if (isMainThread())
        return mainLoop();
    // Released when the thread ends.
    struct Holder
    {
        QvCFRunLoop* loop = new QvCFRunLoop;
        ~Holder()
        {
            std::vector<QvCFRunLoopTimer*> timers;
            {
                std::lock_guard<std::recursive_mutex> sl(loop->lock);
                timers = loop->timers;
            }
            for (auto* t : timers)
                removeFromLoop(*loop, t);
            CFRelease(loop);
        }
    };
    thread_local Holder holder;
    return holder.loop;
}

// The calling thread's loop.
SInt32 CFRunLoopRunInMode(CFRunLoopMode, CFTimeInterval seconds, Boolean)
{
    auto* loop = loopOf(CFRunLoopGetCurrent());
    const CFAbsoluteTime deadline = CFAbsoluteTimeGetCurrent() + std::max(0.0, std::isfinite(seconds) ? seconds : 0.0);

    for (;;)
    {
        CFAbsoluteTime next = 0;
        if (! nextFireDate(*loop, next))
            return kCFRunLoopRunFinished;
        if (next > deadline)
        {
            sleepUntil(deadline);
            return kCFRunLoopRunTimedOut;
        }
        sleepUntil(next);
        fireDueTimers(*loop, CFAbsoluteTimeGetCurrent());
        if (CFAbsoluteTimeGetCurrent() >= deadline)
            return kCFRunLoopRunTimedOut;
    }
}

CFRunLoopTimerRef CFRunLoopTimerCreate(CFAllocatorRef, CFAbsoluteTime fireDate, CFTimeInterval interval, CFOptionFlags,
                                       CFIndex, CFRunLoopTimerCallBack callout, CFRunLoopTimerContext* context)
{
    if (callout == nullptr || ! std::isfinite(fireDate))
        return nullptr;
    auto* t = qvcf::make<QvCFRunLoopTimer>();
    if (t == nullptr)
        return nullptr;
    t->fireDate = fireDate;
    t->interval = std::isfinite(interval) ? interval : 0.0;
    t->callout = callout;
    if (context != nullptr)
    {
        t->context = *context;
        if (t->context.retain != nullptr)
            t->context.info = const_cast<void*>(t->context.retain(t->context.info));
    }
    return t;
}

void CFRunLoopAddTimer(CFRunLoopRef ref, CFRunLoopTimerRef timerRef, CFRunLoopMode)
{
    auto* loop = loopOf(ref);
    auto* timer = timerOf(timerRef);
    if (loop == nullptr || timer == nullptr)
        return;
    std::lock_guard<std::recursive_mutex> sl(loop->lock);
    std::lock_guard<std::mutex> tl(timer->lock);
    // A timer belongs to one loop at a time; an invalid one to none.
    if (! timer->valid || timer->loop != nullptr)
        return;
    timer->loop = loop;
    CFRetain(timer);
    loop->timers.push_back(timer);
}

void CFRunLoopRemoveTimer(CFRunLoopRef ref, CFRunLoopTimerRef timerRef, CFRunLoopMode)
{
    auto* loop = loopOf(ref);
    auto* timer = timerOf(timerRef);
    if (loop != nullptr && timer != nullptr)
        removeFromLoop(*loop, timer);
}

Boolean CFRunLoopContainsTimer(CFRunLoopRef ref, CFRunLoopTimerRef timerRef, CFRunLoopMode)
{
    auto* loop = loopOf(ref);
    auto* timer = timerOf(timerRef);
    if (loop == nullptr || timer == nullptr)
        return false;
    std::lock_guard<std::recursive_mutex> sl(loop->lock);
    return std::find(loop->timers.begin(), loop->timers.end(), timer) != loop->timers.end();
}

void CFRunLoopTimerInvalidate(CFRunLoopTimerRef timerRef)
{
    auto* timer = timerOf(timerRef);
    if (timer == nullptr)
        return;
    QvCFRunLoop* loop = nullptr;
    {
        std::lock_guard<std::mutex> tl(timer->lock);
        timer->valid = false;
        loop = timer->loop;
    }
    if (loop != nullptr)
        removeFromLoop(*loop, timer);
}

Boolean CFRunLoopTimerIsValid(CFRunLoopTimerRef timerRef)
{
    auto* timer = timerOf(timerRef);
    if (timer == nullptr)
        return false;
    std::lock_guard<std::mutex> tl(timer->lock);
    return timer->valid;
}

} // extern "C"
