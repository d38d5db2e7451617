// CoreFoundation conveniences for tests: a reference released at the end of
// a scope, and UTF-8 strings.
#pragma once

#include "PlatformCoreFoundation.h"

struct CFHolder
{
    CFTypeRef ref = nullptr;
    explicit CFHolder(CFTypeRef r = nullptr) : ref(r) {}
    ~CFHolder()
    {
        if (ref != nullptr)
            CFRelease(ref);
    }
    CFHolder(const CFHolder&) = delete;
    CFHolder& operator=(const CFHolder&) = delete;
};

/** Owned by the caller. */
inline CFStringRef makeString(const char* text)
{
    return CFStringCreateWithCString(nullptr, text, kCFStringEncodingUTF8);
}
