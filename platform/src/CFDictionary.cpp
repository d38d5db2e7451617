// Key-value maps with the platform's call-back records: keys hashed and
// compared through the key call-backs (or by address when there are none).
#include "CFObject.h"

#include <unordered_map>
#include <utility>

extern "C" const CFDictionaryKeyCallBacks kCFTypeDictionaryKeyCallBacks = {
    0, qvcf::retainCallBack, qvcf::releaseCallBack, nullptr, CFEqual, CFHash
};
extern "C" const CFDictionaryValueCallBacks kCFTypeDictionaryValueCallBacks = {
    0, qvcf::retainCallBack, qvcf::releaseCallBack, nullptr, CFEqual
};

struct QvCFDictionary final : qvcf::Object
{
    static constexpr CFTypeID kTypeID = qvcf::kDictionaryTypeID;

    using Entries = std::unordered_multimap<CFHashCode, std::pair<const void*, const void*>>;

    QvCFDictionary(bool m, const CFDictionaryKeyCallBacks* k, const CFDictionaryValueCallBacks* v)
        : Object(kTypeID), isMutable(m)
    {
        if (k != nullptr)
            keyCallBacks = *k;
        if (v != nullptr)
            valueCallBacks = *v;
    }

    ~QvCFDictionary() override
    {
        for (auto& e : entries)
            releasePair(e.second);
    }

    bool equals(const Object& other) const noexcept override
    {
        const auto& o = static_cast<const QvCFDictionary&>(other);
        if (entries.size() != o.entries.size())
            return false;
        for (auto& e : entries)
        {
            auto it = o.find(e.second.first);
            if (it == o.entries.end())
                return false;
            const auto* a = e.second.second;
            const auto* b = it->second.second;
            if (! (valueCallBacks.equal != nullptr ? valueCallBacks.equal(a, b) : a == b))
                return false;
        }
        return true;
    }

    CFHashCode hash() const noexcept override { return (CFHashCode) entries.size(); }

    CFHashCode hashOf(const void* key) const noexcept
    {
        return keyCallBacks.hash != nullptr ? keyCallBacks.hash(key) : (CFHashCode) reinterpret_cast<uintptr_t>(key);
    }

    Entries::const_iterator find(const void* key) const noexcept
    {
        auto range = entries.equal_range(hashOf(key));
        for (auto it = range.first; it != range.second; ++it)
        {
            const auto* k = it->second.first;
            if (keyCallBacks.equal != nullptr ? keyCallBacks.equal(k, key) : k == key)
                return it;
        }
        return entries.end();
    }

    // Replaces or adds; false (nothing changed) when out of memory.
    bool set(const void* key, const void* value) noexcept
    {
        auto it = find(key);
        if (it != entries.end())
        {
            auto& slot = const_cast<std::pair<const void*, const void*>&>(it->second);
            const void* old = slot.second;
            slot.second = valueCallBacks.retain != nullptr ? valueCallBacks.retain(nullptr, value) : value;
            if (valueCallBacks.release != nullptr)
                valueCallBacks.release(nullptr, old);
            return true;
        }
        try
        {
            auto added = entries.emplace(hashOf(key), std::make_pair(key, value));
            auto& slot = added->second;
            if (keyCallBacks.retain != nullptr)
                slot.first = keyCallBacks.retain(nullptr, key);
            if (valueCallBacks.retain != nullptr)
                slot.second = valueCallBacks.retain(nullptr, value);
        }
        catch (...)
        {
            return false;
        }
        return true;
    }

    void remove(const void* key) noexcept
    {
        auto it = find(key);
        if (it == entries.end())
            return;
        const auto pair = it->second;
        entries.erase(it);
        releasePair(pair);
    }

    void releasePair(const std::pair<const void*, const void*>& p) const noexcept
    {
        if (keyCallBacks.release != nullptr)
            keyCallBacks.release(nullptr, p.first);
        if (valueCallBacks.release != nullptr)
            valueCallBacks.release(nullptr, p.second);
    }

    const bool isMutable;
    CFDictionaryKeyCallBacks keyCallBacks {};
    CFDictionaryValueCallBacks valueCallBacks {};
    Entries entries;
};

extern "C" {

CFTypeID CFDictionaryGetTypeID(void)
{
    return QvCFDictionary::kTypeID;
}

// Any thread. Null for a negative count, or arrays missing for a count above 0.
CFDictionaryRef CFDictionaryCreate(CFAllocatorRef, const void** keys, const void** values, CFIndex count,
                                   const CFDictionaryKeyCallBacks* keyCallBacks,
                                   const CFDictionaryValueCallBacks* valueCallBacks)
{
    if (count < 0 || (count > 0 && (keys == nullptr || values == nullptr)))
        return nullptr;

    auto* d = qvcf::make<QvCFDictionary>(false, keyCallBacks, valueCallBacks);
    if (d == nullptr)
        return nullptr;
    for (CFIndex i = 0; i < count; ++i)
    {
        if (! d->set(keys[i], values[i]))
        {
            delete d;
            return nullptr;
        }
    }
    return d;
}

CFMutableDictionaryRef CFDictionaryCreateMutable(CFAllocatorRef, CFIndex capacity,
                                                 const CFDictionaryKeyCallBacks* keyCallBacks,
                                                 const CFDictionaryValueCallBacks* valueCallBacks)
{
    if (capacity < 0)
        return nullptr;
    return qvcf::make<QvCFDictionary>(true, keyCallBacks, valueCallBacks);
}

CFMutableDictionaryRef CFDictionaryCreateMutableCopy(CFAllocatorRef, CFIndex capacity, CFDictionaryRef dictionary)
{
    auto* source = qvcf::as<QvCFDictionary>(dictionary);
    if (source == nullptr || capacity < 0)
        return nullptr;

    auto* d = qvcf::make<QvCFDictionary>(true, &source->keyCallBacks, &source->valueCallBacks);
    if (d == nullptr)
        return nullptr;
    for (auto& e : source->entries)
    {
        if (! d->set(e.second.first, e.second.second))
        {
            delete d;
            return nullptr;
        }
    }
    return d;
}

CFIndex CFDictionaryGetCount(CFDictionaryRef dictionary)
{
    auto* d = qvcf::as<QvCFDictionary>(dictionary);
    return d != nullptr ? (CFIndex) d->entries.size() : 0;
}

const void* CFDictionaryGetValue(CFDictionaryRef dictionary, const void* key)
{
    const void* value = nullptr;
    CFDictionaryGetValueIfPresent(dictionary, key, &value);
    return value;
}

Boolean CFDictionaryGetValueIfPresent(CFDictionaryRef dictionary, const void* key, const void** value)
{
    auto* d = qvcf::as<QvCFDictionary>(dictionary);
    if (d == nullptr)
        return false;
    auto it = d->find(key);
    if (it == d->entries.end())
        return false;
    if (value != nullptr)
        *value = it->second.second;
    return true;
}

Boolean CFDictionaryContainsKey(CFDictionaryRef dictionary, const void* key)
{
    return CFDictionaryGetValueIfPresent(dictionary, key, nullptr);
}

void CFDictionaryGetKeysAndValues(CFDictionaryRef dictionary, const void** keys, const void** values)
{
    auto* d = qvcf::as<QvCFDictionary>(dictionary);
    if (d == nullptr)
        return;
    size_t i = 0;
    for (auto& e : d->entries)
    {
        if (keys != nullptr)
            keys[i] = e.second.first;
        if (values != nullptr)
            values[i] = e.second.second;
        ++i;
    }
}

// An immutable dictionary is left as it was.
void CFDictionarySetValue(CFMutableDictionaryRef dictionary, const void* key, const void* value)
{
    auto* d = qvcf::as<QvCFDictionary>(dictionary);
    if (d != nullptr && d->isMutable)
        d->set(key, value);
}

void CFDictionaryRemoveValue(CFMutableDictionaryRef dictionary, const void* key)
{
    auto* d = qvcf::as<QvCFDictionary>(dictionary);
    if (d != nullptr && d->isMutable)
        d->remove(key);
}

} // extern "C"
