// Reads a Component Manager parameter block: the selector at offset 2, the
// instance slot at offset 8 and the arguments in 8-byte slots from offset 16,
// a 32-bit or float argument in the low bytes of its slot.
#pragma once

#include "PlatformAudioUnit.h"

#include <cstring>

class ComponentArguments
{
public:
    static constexpr size_t kSelectorOffset = 2;
    static constexpr size_t kInstanceOffset = 8;
    static constexpr size_t kFirstArgumentOffset = 16;
    static constexpr size_t kSlotBytes = 8;

    explicit ComponentArguments(const ComponentParameters& params) noexcept
        : mBytes(reinterpret_cast<const UInt8*>(&params))
    {
    }

    SInt16 Selector() const noexcept { return read<SInt16>(kSelectorOffset); }

    /** Whether the block says it carries `count` argument slots; a block that
        does not is refused rather than read past its end. */
    bool Carries(unsigned count) const noexcept { return mBytes[1] >= kSlotBytes * count; }

    /** Whether it carries at least `bytes` argument bytes. */
    bool CarriesBytes(unsigned bytes) const noexcept { return mBytes[1] >= bytes; }

    void* Instance() const noexcept { return read<void*>(kInstanceOffset); }

    /** Argument `index` (0 = first, at offset 16) as T. */
    template <class T>
    T Get(unsigned index) const noexcept
    {
        static_assert(sizeof(T) <= kSlotBytes, "one slot per argument");
        return read<T>(kFirstArgumentOffset + kSlotBytes * index);
    }

private:
    template <class T>
    T read(size_t offset) const noexcept
    {
        T v;
        std::memcpy(&v, mBytes + offset, sizeof(T));
        return v;
    }

    const UInt8* mBytes;
};
