// Byte buffers, immutable or growable.
#include "CFObject.h"

#include <cstring>
#include <vector>

struct QvCFData final : qvcf::Object
{
    static constexpr CFTypeID kTypeID = qvcf::kDataTypeID;

    explicit QvCFData(bool m) : Object(kTypeID), isMutable(m) {}

    bool equals(const Object& other) const noexcept override
    {
        return bytes == static_cast<const QvCFData&>(other).bytes;
    }

    CFHashCode hash() const noexcept override { return qvcf::hashBytes(bytes.data(), bytes.size()); }

    const bool isMutable;
    std::vector<UInt8> bytes;
};

extern "C" {

CFTypeID CFDataGetTypeID(void)
{
    return QvCFData::kTypeID;
}

// Any thread. Null for a negative length, or bytes missing for a length above 0.
CFDataRef CFDataCreate(CFAllocatorRef, const UInt8* bytes, CFIndex length)
{
    if (length < 0 || (bytes == nullptr && length > 0))
        return nullptr;

    auto* d = qvcf::make<QvCFData>(false);
    if (d == nullptr)
        return nullptr;
    try
    {
        d->bytes.assign(bytes, bytes + length);
    }
    catch (...)
    {
        delete d;
        return nullptr;
    }
    return d;
}

// The capacity is a hint only: the data grows as bytes are appended.
CFMutableDataRef CFDataCreateMutable(CFAllocatorRef, CFIndex capacity)
{
    if (capacity < 0)
        return nullptr;
    return qvcf::make<QvCFData>(true);
}

// An immutable data object, a negative length or missing bytes leave it as it was.
void CFDataAppendBytes(CFMutableDataRef data, const UInt8* bytes, CFIndex length)
{
    auto* d = qvcf::as<QvCFData>(data);
    if (d == nullptr || ! d->isMutable || length <= 0 || bytes == nullptr)
        return;
    try
    {
        d->bytes.insert(d->bytes.end(), bytes, bytes + length);
    }
    catch (...)
    {
        // Out of memory: nothing appended.
    }
}

CFIndex CFDataGetLength(CFDataRef data)
{
    auto* d = qvcf::as<QvCFData>(data);
    return d != nullptr ? (CFIndex) d->bytes.size() : 0;
}

const UInt8* CFDataGetBytePtr(CFDataRef data)
{
    auto* d = qvcf::as<QvCFData>(data);
    return d != nullptr ? d->bytes.data() : nullptr;
}

UInt8* CFDataGetMutableBytePtr(CFMutableDataRef data)
{
    auto* d = qvcf::as<QvCFData>(data);
    return (d != nullptr && d->isMutable) ? d->bytes.data() : nullptr;
}

} // extern "C"
