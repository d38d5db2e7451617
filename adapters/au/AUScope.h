// One scope of a unit (global, input, output, group): its elements, owned and
// numbered by position, and the element names that travel in saved state.
#pragma once

#include "AUElement.h"

#include <memory>
#include <vector>

/** Answers the element count and makes elements in a scope's place. Nothing
    in this system installs one. */
class AUScopeDelegate
{
public:
    virtual ~AUScopeDelegate() = default;
    virtual UInt32 GetNumberOfElements() = 0;
    virtual AUElement* GetElement(UInt32 index) = 0;
    virtual void SetNumberOfElements(UInt32 count) = 0;
};

class AUScope
{
public:
    AUScope() noexcept = default;
    AUScope(const AUScope&) = delete;
    AUScope& operator=(const AUScope&) = delete;

    void Initialize(AUBase* base, AudioUnitScope scope, UInt32 count);

    AudioUnitScope GetScope() const noexcept { return mScope; }
    UInt32 GetNumberOfElements() const;
    /** Shrinking deletes from the end; growing makes each new element with
        the unit's CreateElement, in index order. */
    void SetNumberOfElements(UInt32 count);

    /** Null past the end. */
    AUElement* GetElement(UInt32 index) const;
    /** Throws -10877 past the end. */
    AUElement* SafeGetElement(UInt32 index) const;
    /** Throws -10877 when missing or not an I/O element. */
    AUIOElement* GetIOElement(UInt32 index) const;

    bool HasElementWithName() const;
    /** Adds {"index": name} for every named element under this scope's number. */
    void AddElementNamesToDict(CFMutableDictionaryRef& names) const;
    /** Names elements from {"index": name}; answers whether it added elements. */
    bool RestoreElementNames(CFDictionaryRef names);

    void SetDelegate(AUScopeDelegate* delegate) noexcept { mDelegate = delegate; }

    /** The most elements a saved state may make a scope grow to: a state
        names the buses a host added, but a hostile one must not make us build
        millions. */
    static constexpr UInt32 kMaxElementsFromState = 256;

private:
    AUBase* mCreator = nullptr;
    AudioUnitScope mScope = 0;
    std::vector<std::unique_ptr<AUElement>> mElements;
    AUScopeDelegate* mDelegate = nullptr;
};

/** Decimal text of a whole number (no sign, no spaces) below `limit`, or -1. */
int64_t ParseElementIndex(CFStringRef key, uint64_t limit);
