// Ordered collections of values, with optional retain and release call-backs.
#include "CFObject.h"

#include <vector>

extern "C" const CFArrayCallBacks kCFTypeArrayCallBacks = { 0, qvcf::retainCallBack, qvcf::releaseCallBack, nullptr, CFEqual };

struct QvCFArray final : qvcf::Object
{
    static constexpr CFTypeID kTypeID = qvcf::kArrayTypeID;

    QvCFArray(bool m, const CFArrayCallBacks* cb) : Object(kTypeID), isMutable(m)
    {
        if (cb != nullptr)
            callBacks = *cb;
    }

    ~QvCFArray() override
    {
        if (callBacks.release != nullptr)
            for (auto* v : values)
                callBacks.release(nullptr, v);
    }

    bool equals(const Object& other) const noexcept override
    {
        const auto& o = static_cast<const QvCFArray&>(other);
        if (values.size() != o.values.size())
            return false;
        for (size_t i = 0; i < values.size(); ++i)
        {
            const bool same = callBacks.equal != nullptr ? callBacks.equal(values[i], o.values[i])
                                                         : values[i] == o.values[i];
            if (! same)
                return false;
        }
        return true;
    }

    CFHashCode hash() const noexcept override { return (CFHashCode) values.size(); }

    // Appends, retaining through the call-back; false when out of memory.
    bool append(const void* value) noexcept
    {
        try
        {
            values.push_back(value);
        }
        catch (...)
        {
            return false;
        }
        if (callBacks.retain != nullptr)
            values.back() = callBacks.retain(nullptr, value);
        return true;
    }

    const bool isMutable;
    CFArrayCallBacks callBacks {};
    std::vector<const void*> values;
};

extern "C" {

CFTypeID CFArrayGetTypeID(void)
{
    return QvCFArray::kTypeID;
}

// Any thread. Null for a negative count, or values missing for a count above 0.
CFArrayRef CFArrayCreate(CFAllocatorRef, const void** values, CFIndex count, const CFArrayCallBacks* callBacks)
{
    if (count < 0 || (values == nullptr && count > 0))
        return nullptr;

    auto* a = qvcf::make<QvCFArray>(false, callBacks);
    if (a == nullptr)
        return nullptr;
    for (CFIndex i = 0; i < count; ++i)
    {
        if (! a->append(values[i]))
        {
            delete a;
            return nullptr;
        }
    }
    return a;
}

CFMutableArrayRef CFArrayCreateMutable(CFAllocatorRef, CFIndex capacity, const CFArrayCallBacks* callBacks)
{
    if (capacity < 0)
        return nullptr;
    return qvcf::make<QvCFArray>(true, callBacks);
}

// An immutable array is left as it was.
void CFArrayAppendValue(CFMutableArrayRef array, const void* value)
{
    auto* a = qvcf::as<QvCFArray>(array);
    if (a != nullptr && a->isMutable)
        a->append(value);
}

CFIndex CFArrayGetCount(CFArrayRef array)
{
    auto* a = qvcf::as<QvCFArray>(array);
    return a != nullptr ? (CFIndex) a->values.size() : 0;
}

// Null outside 0 to count - 1.
const void* CFArrayGetValueAtIndex(CFArrayRef array, CFIndex index)
{
    auto* a = qvcf::as<QvCFArray>(array);
    if (a == nullptr || index < 0 || (size_t) index >= a->values.size())
        return nullptr;
    return a->values[(size_t) index];
}

} // extern "C"
