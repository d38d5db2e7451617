// Reference counting, identity and equality shared by every object.
#include "CFObject.h"

extern "C" {

const CFAllocatorRef kCFAllocatorDefault = nullptr;

// Any thread.
CFTypeRef CFRetain(CFTypeRef ref)
{
    if (auto* o = qvcf::object(ref))
        o->retainCount.fetch_add(1, std::memory_order_relaxed);
    return ref;
}

// Any thread. The last release deletes the object.
void CFRelease(CFTypeRef ref)
{
    auto* o = qvcf::object(ref);
    if (o != nullptr && o->retainCount.fetch_sub(1, std::memory_order_acq_rel) == 1)
        delete o;
}

CFIndex CFGetRetainCount(CFTypeRef ref)
{
    auto* o = qvcf::object(ref);
    return o != nullptr ? o->retainCount.load(std::memory_order_relaxed) : 0;
}

CFTypeID CFGetTypeID(CFTypeRef ref)
{
    auto* o = qvcf::object(ref);
    return o != nullptr ? o->typeID : 0;
}

Boolean CFEqual(CFTypeRef a, CFTypeRef b)
{
    if (a == b)
        return true;
    auto* x = qvcf::object(a);
    auto* y = qvcf::object(b);
    if (x == nullptr || y == nullptr || x->typeID != y->typeID)
        return false;
    return x->equals(*y);
}

CFHashCode CFHash(CFTypeRef ref)
{
    auto* o = qvcf::object(ref);
    return o != nullptr ? o->hash() : 0;
}

} // extern "C"

namespace qvcf
{
// FNV-1a: cheap and good enough for the short keys dictionaries hold.
CFHashCode hashBytes(const void* bytes, size_t length) noexcept
{
    uint64_t h = 0xcbf29ce484222325ull;
    auto* p = static_cast<const uint8_t*>(bytes);
    for (size_t i = 0; i < length; ++i)
        h = (h ^ p[i]) * 0x100000001b3ull;
    return (CFHashCode) h;
}

const void* retainCallBack(CFAllocatorRef, const void* value)
{
    return CFRetain(value);
}

void releaseCallBack(CFAllocatorRef, const void* value)
{
    CFRelease(value);
}
} // namespace qvcf
