// The factory way in: the plug-in instance block a host gets from the
// factory, its Open, Close and Lookup, and the one plain function per Audio
// Unit call that Lookup hands out.
#pragma once

#include "AUBase.h"

#include <cstddef>
#include <cstdlib>
#include <new>

/** The head of a plug-in instance block; the unit object follows at offset
    64. Allocated by the factory with malloc, released by Close with free. */
struct AUPlugInInstance
{
    AudioComponentPlugInInterface mInterface;                            // 0: what the host reads
    ComponentBase* (*mConstruct)(void* storage, AudioComponentInstance); // 32
    void (*mDestruct)(void* storage);                                    // 40
    void* mPad[2];                                                       // 48: 0
};

static_assert(sizeof(AUPlugInInstance) == 64, "the instance block's head is 64 bytes");
static_assert(offsetof(AUPlugInInstance, mInterface) == 0, "AUPlugInInstance layout");
static_assert(offsetof(AudioComponentPlugInInterface, Open) == 0, "AUPlugInInstance layout");
static_assert(offsetof(AudioComponentPlugInInterface, Close) == 8, "AUPlugInInstance layout");
static_assert(offsetof(AudioComponentPlugInInterface, Lookup) == 16, "AUPlugInInstance layout");
static_assert(offsetof(AudioComponentPlugInInterface, reserved) == 24, "AUPlugInInstance layout");
static_assert(offsetof(AUPlugInInstance, mConstruct) == 32, "AUPlugInInstance layout");
static_assert(offsetof(AUPlugInInstance, mDestruct) == 40, "AUPlugInInstance layout");
static_assert(offsetof(AUPlugInInstance, mPad) == 48, "AUPlugInInstance layout");

constexpr size_t kInstanceStorageOffset = 64;

inline void* InstanceStorage(void* block) noexcept
{
    return static_cast<char*>(block) + kInstanceStorageOffset;
}

/** The unit object of an instance block. Units keep AUBase at the start of
    the object (it is their primary base). */
inline AUBase* InstanceObject(void* block) noexcept
{
    return static_cast<AUBase*>(static_cast<ComponentBase*>(InstanceStorage(block)));
}

class AUBaseLookup
{
public:
    /** The method function for a selector: 1 to 7, 9 to 11 and 14 to 18;
        any other selector yields null. */
    static AudioComponentMethod Lookup(SInt16 selector);
};

template <class Lookup, class Implementor>
class APFactory
{
public:
    static_assert(alignof(Implementor) <= 16, "the object sits 64 bytes into a malloc block");

    /** Builds the object in place; nothing for null storage. */
    static ComponentBase* Construct(void* storage, AudioComponentInstance instance)
    {
        if (storage == nullptr)
            return nullptr;
        return new (storage) Implementor(instance);
    }

    /** Runs the destructor; the memory stays. */
    static void Destruct(void* storage)
    {
        static_cast<Implementor*>(static_cast<ComponentBase*>(storage))->~Implementor();
    }

    /** Host main thread. Every field of the head is written; the instance
        storage is left raw. Null when the block cannot be allocated. */
    static AudioComponentPlugInInterface* Factory(const AudioComponentDescription*) noexcept
    {
        void* memory = std::malloc(kInstanceStorageOffset + sizeof(Implementor));
        if (memory == nullptr)
            return nullptr;
        auto* block = static_cast<AUPlugInInstance*>(memory);
        block->mInterface.Open = ComponentBase::AP_Open;
        block->mInterface.Close = ComponentBase::AP_Close;
        block->mInterface.Lookup = Lookup::Lookup;
        block->mInterface.reserved = nullptr;
        block->mConstruct = Construct;
        block->mDestruct = Destruct;
        block->mPad[0] = nullptr;
        block->mPad[1] = nullptr;
        return &block->mInterface;
    }
};
