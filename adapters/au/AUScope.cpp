#include "AUScope.h"

#include "AUBase.h"
#include "CAXException.h"

#include <algorithm>
#include <charconv>
#include <vector>

void AUScope::Initialize(AUBase* base, AudioUnitScope scope, UInt32 count)
{
    mCreator = base;
    mScope = scope;
    SetNumberOfElements(count);
}

UInt32 AUScope::GetNumberOfElements() const
{
    return mDelegate != nullptr ? mDelegate->GetNumberOfElements() : (UInt32) mElements.size();
}

void AUScope::SetNumberOfElements(UInt32 count)
{
    if (mDelegate != nullptr)
    {
        mDelegate->SetNumberOfElements(count);
        return;
    }
    if (count < mElements.size())
    {
        mElements.resize(count);
        return;
    }
    mElements.reserve(count);
    for (UInt32 i = (UInt32) mElements.size(); i < count; ++i)
    {
        std::unique_ptr<AUElement> element(mCreator->CreateElement(mScope, i));
        mElements.push_back(std::move(element)); // room reserved: cannot throw
    }
}

AUElement* AUScope::GetElement(UInt32 index) const
{
    if (mDelegate != nullptr)
        return mDelegate->GetElement(index);
    return index < mElements.size() ? mElements[index].get() : nullptr;
}

AUElement* AUScope::SafeGetElement(UInt32 index) const
{
    AUElement* element = GetElement(index);
    if (element == nullptr)
        AUThrow(kAudioUnitErr_InvalidElement);
    return element;
}

AUIOElement* AUScope::GetIOElement(UInt32 index) const
{
    AUElement* element = GetElement(index);
    AUIOElement* io = element != nullptr ? element->AsIOElement() : nullptr;
    if (io == nullptr)
        AUThrow(kAudioUnitErr_InvalidElement);
    return io;
}

bool AUScope::HasElementWithName() const
{
    for (UInt32 i = 0; i < GetNumberOfElements(); ++i)
    {
        AUElement* e = GetElement(i);
        if (e != nullptr && e->HasName())
            return true;
    }
    return false;
}

namespace
{
// Decimal text of n, made a string in UTF-8.
CFStringRef decimalString(uint64_t n)
{
    char text[32];
    auto r = std::to_chars(text, text + sizeof(text) - 1, n);
    *r.ptr = 0;
    CFStringRef s = CFStringCreateWithCString(nullptr, text, kCFStringEncodingUTF8);
    if (s == nullptr)
        throw std::bad_alloc();
    return s;
}

// Releases a CF reference at the end of a scope.
struct Released
{
    CFTypeRef ref;
    ~Released()
    {
        if (ref != nullptr)
            CFRelease(ref);
    }
};
} // namespace

void AUScope::AddElementNamesToDict(CFMutableDictionaryRef& names) const
{
    if (! HasElementWithName())
        return;

    CFMutableDictionaryRef elementDict =
        CFDictionaryCreateMutable(nullptr, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks);
    if (elementDict == nullptr)
        throw std::bad_alloc();
    Released holdDict { elementDict };

    for (UInt32 i = 0; i < GetNumberOfElements(); ++i)
    {
        AUElement* e = GetElement(i);
        if (e == nullptr || ! e->HasName())
            continue;
        Released key { decimalString(i) };
        CFDictionarySetValue(elementDict, key.ref, e->GetName());
    }

    Released scopeKey { decimalString(mScope) };
    CFDictionarySetValue(names, scopeKey.ref, elementDict);
}

int64_t ParseElementIndex(CFStringRef key, uint64_t limit)
{
    char text[32];
    if (CFGetTypeID(key) != CFStringGetTypeID() || ! CFStringGetCString(key, text, sizeof(text), kCFStringEncodingUTF8))
        return -1;

    const char* end = text;
    while (*end != 0)
        ++end;
    uint64_t value = 0;
    auto r = std::from_chars(text, end, value);
    if (r.ec != std::errc() || r.ptr != end || end == text || value >= limit)
        return -1;
    return (int64_t) value;
}

bool AUScope::RestoreElementNames(CFDictionaryRef names)
{
    const CFIndex n = CFDictionaryGetCount(names);
    if (n <= 0)
        return false;

    std::vector<const void*> keys((size_t) n);
    std::vector<const void*> values((size_t) n);
    CFDictionaryGetKeysAndValues(names, keys.data(), values.data());

    // Indices that do not parse, or lie beyond what a state may create, are
    // outside the scope's elements and ignored.
    int64_t largest = -1;
    for (const void* key : keys)
        largest = std::max(largest, ParseElementIndex(static_cast<CFStringRef>(key), kMaxElementsFromState));

    bool raised = false;
    if (largest >= 0 && (uint64_t) largest >= GetNumberOfElements())
    {
        SetNumberOfElements((UInt32) largest + 1);
        raised = true;
    }

    for (size_t i = 0; i < keys.size(); ++i)
    {
        const int64_t index = ParseElementIndex(static_cast<CFStringRef>(keys[i]), kMaxElementsFromState);
        AUElement* element = index >= 0 ? GetElement((UInt32) index) : nullptr;
        if (element != nullptr && CFGetTypeID(values[i]) == CFStringGetTypeID())
            element->SetName(static_cast<CFStringRef>(values[i]));
    }
    return raised;
}
