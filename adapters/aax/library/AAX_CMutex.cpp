#include "AAX_CMutex.h"

#include <atomic>
#include <pthread.h>

struct AAX_CMutex::Record
{
    // The owner is read without the lock by any thread asking whether it
    // holds it, so it is atomic; `owned` says whether `owner` means anything.
    std::atomic<bool> owned { false };
    std::atomic<pthread_t> owner {};
    pthread_mutex_t mutex;

    bool heldByCaller() const noexcept
    {
        return owned.load(std::memory_order_acquire) && pthread_equal(owner.load(std::memory_order_acquire), pthread_self());
    }
};

AAX_CMutex::AAX_CMutex()
{
    auto r = std::make_unique<Record>();
    if (pthread_mutex_init(&r->mutex, nullptr) == 0)
        record = std::move(r);
}

AAX_CMutex::~AAX_CMutex()
{
    if (record != nullptr)
        pthread_mutex_destroy(&record->mutex);
}

bool AAX_CMutex::Lock()
{
    if (record == nullptr || record->heldByCaller())
        return false;

    if (pthread_mutex_lock(&record->mutex) != 0)
        return false;
    record->owner.store(pthread_self(), std::memory_order_release);
    record->owned.store(true, std::memory_order_release);
    return true;
}

void AAX_CMutex::Unlock()
{
    if (record == nullptr || ! record->heldByCaller())
        return;

    record->owned.store(false, std::memory_order_release);
    pthread_mutex_unlock(&record->mutex);
}
