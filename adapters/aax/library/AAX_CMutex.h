// A non-nesting lock: a thread that already holds it gets false from Lock()
// and goes on without a second lock; only its outermost Unlock() releases.
#pragma once

#include <memory>

class AAX_CMutex
{
public:
    AAX_CMutex();
    ~AAX_CMutex();

    AAX_CMutex(const AAX_CMutex&) = delete;
    AAX_CMutex& operator=(const AAX_CMutex&) = delete;

    /** True when this call took the lock; false when the calling thread holds
        it already or no platform mutex could be made. */
    bool Lock();
    /** Releases only when called by the holding thread. */
    void Unlock();

private:
    struct Record;
    std::unique_ptr<Record> record;   // null when the platform mutex could not be made
};

/** Holds an AAX_CMutex for a scope, unlocking only what it locked. */
class AAX_StLock_Guard
{
public:
    explicit AAX_StLock_Guard(AAX_CMutex& m) : mutex(m), locked(m.Lock()) {}
    ~AAX_StLock_Guard()
    {
        if (locked)
            mutex.Unlock();
    }

    AAX_StLock_Guard(const AAX_StLock_Guard&) = delete;
    AAX_StLock_Guard& operator=(const AAX_StLock_Guard&) = delete;

private:
    AAX_CMutex& mutex;
    bool locked;
};
