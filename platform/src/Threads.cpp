// One-time initialisation and the atomic operations.
#include "PlatformThreads.h"

#include <sched.h>

namespace
{
constexpr long kOnceRunning = 1;
constexpr long kOnceDone = ~0L;
} // namespace

extern "C" {

// Any thread. The first caller runs the function; the others wait for it.
void dispatch_once_f(dispatch_once_t* predicate, void* context, dispatch_function_t function)
{
    if (predicate == nullptr || function == nullptr)
        return;
    if (__atomic_load_n(predicate, __ATOMIC_ACQUIRE) == kOnceDone)
        return;

    long expected = 0;
    if (__atomic_compare_exchange_n(predicate, &expected, kOnceRunning, false, __ATOMIC_ACQ_REL, __ATOMIC_ACQUIRE))
    {
        function(context);
        __atomic_store_n(predicate, kOnceDone, __ATOMIC_RELEASE);
        return;
    }
    while (__atomic_load_n(predicate, __ATOMIC_ACQUIRE) != kOnceDone)
        sched_yield();
}

bool OSAtomicCompareAndSwap64Barrier(int64_t oldValue, int64_t newValue, volatile int64_t* value)
{
    return __atomic_compare_exchange_n(value, &oldValue, newValue, false, __ATOMIC_SEQ_CST, __ATOMIC_SEQ_CST);
}

void OSMemoryBarrier(void)
{
    __atomic_thread_fence(__ATOMIC_SEQ_CST);
}

} // extern "C"
