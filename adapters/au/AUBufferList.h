// The buffer list of one I/O element: the platform list it hands out, the
// sample memory behind it (its own, or a host's), and overflow-guarded size
// arithmetic.
#pragma once

#include "CAStreamBasicDescription.h"

/** c when a or b is 0, else a x b + c; throws out of memory when that does
    not fit in 32 bits. */
UInt32 SafeMultiplyAddUInt32(UInt32 a, UInt32 b, UInt32 c);

class AUBufferList
{
public:
    enum PtrState : UInt32
    {
        kPtrsInvalid = 0,
        kPtrsToMyMemory = 1,
        kPtrsToExternalMemory = 2
    };

    AUBufferList() noexcept = default;
    ~AUBufferList();

    AUBufferList(const AUBufferList&) = delete;
    AUBufferList& operator=(const AUBufferList&) = delete;

    /** Points the list into the own memory for `frames`. Throws -10874 past
        the allocated frames or bytes, -10868 for more non-interleaved channels
        than allocated streams. */
    AudioBufferList& PrepareBuffer(const CAStreamBasicDescription& format, UInt32 frames);

    /** The same layout with every data pointer null, for a source that gives
        its own memory. */
    AudioBufferList& PrepareNullBuffer(const CAStreamBasicDescription& format, UInt32 frames);

    /** Takes over a list of others' pointers; throws -1 when it has more
        buffers than allocated streams. */
    AudioBufferList& SetBufferList(const AudioBufferList& list);

    /** Throws -1 while the pointers are invalid. */
    AudioBufferList& GetBufferList() const;

    void InvalidateBufferList() noexcept { mPtrState = kPtrsInvalid; }
    PtrState GetPtrState() const noexcept { return (PtrState) mPtrState; }

    /** Copies pointers and sizes (not samples) into `destination`. */
    void CopyBufferListTo(AudioBufferList& destination) const;

    /** Copies samples into `destination`'s buffers. */
    void CopyBufferContentsTo(AudioBufferList& destination) const;

    /** Room for `frames` of `format`; never shrinks. Throws out of memory. */
    void Allocate(const CAStreamBasicDescription& format, UInt32 frames);
    void Deallocate() noexcept;

    /** Replaces the own memory with a host's, when that is at least as large. */
    void UseExternalBuffer(const CAStreamBasicDescription& format, const AudioUnitExternalBuffer& buffer) noexcept;

    UInt32 GetAllocatedFrames() const noexcept { return mAllocatedFrames; }
    UInt32 GetAllocatedBytes() const noexcept { return mAllocatedBytes; }
    UInt32 GetAllocatedStreams() const noexcept { return mAllocatedStreams; }
    bool UsesExternalMemory() const noexcept { return mExternalMemory; }
    const UInt8* GetMemory() const noexcept { return mMemory; }

private:
    /** Bytes one stream takes in the own memory, a multiple of 16. */
    static UInt32 StreamStride(UInt32 bytesPerFrame, UInt32 frames);

    UInt32 mPtrState = kPtrsInvalid;
    bool mExternalMemory = false;
    AudioBufferList* mPtrs = nullptr;  // room for mAllocatedStreams buffers
    UInt8* mMemory = nullptr;
    UInt32 mAllocatedStreams = 0;
    UInt32 mAllocatedFrames = 0;
    UInt32 mAllocatedBytes = 0;
};

/** Bytes of a buffer list with `buffers` buffers. */
constexpr size_t AudioBufferListBytes(UInt32 buffers) noexcept
{
    return offsetof(AudioBufferList, mBuffers) + size_t(buffers) * sizeof(AudioBuffer);
}
