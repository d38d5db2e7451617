// The common head of every object of the CoreFoundation subset, and the
// checked casts the functions use to reach one kind of object.
#pragma once

#include "PlatformCoreFoundation.h"

#include <atomic>
#include <new>

namespace qvcf
{
// Type identifiers: opaque to callers, stable within a process.
enum : CFTypeID
{
    kStringTypeID = 7,
    kNumberTypeID = 22,
    kDataTypeID = 20,
    kArrayTypeID = 19,
    kDictionaryTypeID = 18,
    kURLTypeID = 29,
    kRunLoopTypeID = 43,
    kRunLoopTimerTypeID = 44,
    kNotificationCenterTypeID = 51
};

class Object
{
public:
    explicit Object(CFTypeID type) noexcept : typeID(type) {}
    virtual ~Object() = default;

    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;

    virtual bool equals(const Object& other) const noexcept { return this == &other; }
    virtual CFHashCode hash() const noexcept { return (CFHashCode) reinterpret_cast<uintptr_t>(this); }

    const CFTypeID typeID;
    std::atomic<CFIndex> retainCount { 1 };
};

inline Object* object(CFTypeRef ref) noexcept
{
    return static_cast<Object*>(const_cast<void*>(ref));
}

/** The object as T when it is one, else null: a wrong kind of object handed
    to a function is answered like a null one. */
template <class T>
T* as(CFTypeRef ref) noexcept
{
    auto* o = object(ref);
    return (o != nullptr && o->typeID == T::kTypeID) ? static_cast<T*>(o) : nullptr;
}

/** Runs a constructor, answering null instead of throwing. */
template <class T, class... Args>
T* make(Args&&... args) noexcept
{
    try
    {
        return new T(static_cast<Args&&>(args)...);
    }
    catch (...)
    {
        return nullptr;
    }
}

CFHashCode hashBytes(const void* bytes, size_t length) noexcept;

// The retain and release of the kCFType call-back records.
const void* retainCallBack(CFAllocatorRef, const void* value);
void releaseCallBack(CFAllocatorRef, const void* value);
} // namespace qvcf
