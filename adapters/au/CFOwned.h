// A CoreFoundation reference released at the end of a scope unless handed on.
#pragma once

#include "PlatformCoreFoundation.h"

class CFOwned
{
public:
    explicit CFOwned(CFTypeRef r) noexcept : ref(r) {}
    ~CFOwned()
    {
        if (ref != nullptr)
            CFRelease(ref);
    }
    CFOwned(const CFOwned&) = delete;
    CFOwned& operator=(const CFOwned&) = delete;

    /** Hands the reference on: it is no longer released here. */
    CFTypeRef release() noexcept
    {
        CFTypeRef r = ref;
        ref = nullptr;
        return r;
    }

    CFTypeRef ref;
};
