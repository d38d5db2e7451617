/* One-time initialisation and atomic operations of the platform, under the
   platform's names and signatures. */
#ifndef QV_PLATFORM_THREADS_H
#define QV_PLATFORM_THREADS_H

#include "PlatformCoreFoundation.h"

#ifdef __cplusplus
extern "C" {
#endif

/* A once-flag: 0 before the first call; the function runs exactly once, and
   every caller returns only after it has finished. */
typedef long dispatch_once_t;
typedef void (*dispatch_function_t)(void* context);

/* Any thread. */
QV_PLATFORM_API void dispatch_once_f(dispatch_once_t* predicate, void* context, dispatch_function_t function);

/* Any thread. Stores newValue when *value equals oldValue, atomically and
   with a full memory barrier; answers whether it stored. */
QV_PLATFORM_API bool OSAtomicCompareAndSwap64Barrier(int64_t oldValue, int64_t newValue, volatile int64_t* value);

/* Any thread. A full memory barrier. */
QV_PLATFORM_API void OSMemoryBarrier(void);

#ifdef __cplusplus
}
#endif

#endif
