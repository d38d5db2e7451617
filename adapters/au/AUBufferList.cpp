#include "AUBufferList.h"

#include "CAXException.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

namespace
{
// realloc that frees the old block when it fails and leaves the pointer
// null, so a failure leaks nothing and leaves nothing dangling.
template <class T>
void reallocOrFree(T*& p, size_t size)
{
    void* q = std::realloc(p, size);
    if (q == nullptr && size != 0)
    {
        std::free(p);
        p = nullptr;
        throw std::bad_alloc();
    }
    p = static_cast<T*>(q);
}
} // namespace

UInt32 SafeMultiplyAddUInt32(UInt32 a, UInt32 b, UInt32 c)
{
    if (a == 0 || b == 0)
        return c;
    const uint64_t r = uint64_t(a) * b + c;
    if (r > 0xFFFFFFFFull)
        throw std::bad_alloc();
    return (UInt32) r;
}

AUBufferList::~AUBufferList()
{
    Deallocate();
    std::free(mPtrs);
}

UInt32 AUBufferList::StreamStride(UInt32 bytesPerFrame, UInt32 frames)
{
    return SafeMultiplyAddUInt32(frames, bytesPerFrame, 15) & ~15u;
}

void AUBufferList::Allocate(const CAStreamBasicDescription& format, UInt32 frames)
{
    const UInt32 streams = format.NumberChannelStreams();

    if (streams > mAllocatedStreams)
    {
        const size_t bytes = AudioBufferListBytes(streams);
        // On failure the old storage is gone too: nothing may point into it.
        mAllocatedStreams = 0;
        reallocOrFree(mPtrs, bytes);
        mAllocatedStreams = streams;
    }

    const UInt32 memorySize = SafeMultiplyAddUInt32(streams, StreamStride(format.mBytesPerFrame, frames), 0);
    if (memorySize > mAllocatedBytes)
    {
        if (mExternalMemory)
        {
            // The host's memory is the host's to release.
            mExternalMemory = false;
            mMemory = nullptr;
        }
        mAllocatedBytes = 0;
        mPtrState = kPtrsInvalid;
        reallocOrFree(mMemory, memorySize);
        mAllocatedBytes = memorySize;
    }

    mAllocatedFrames = frames;
    mPtrState = kPtrsInvalid;
}

void AUBufferList::Deallocate() noexcept
{
    mAllocatedStreams = 0;
    mAllocatedFrames = 0;
    mAllocatedBytes = 0;
    if (! mExternalMemory)
        std::free(mMemory);
    mMemory = nullptr;
    mExternalMemory = false;
    mPtrState = kPtrsInvalid;
    // The list storage stays until the destructor.
}

AudioBufferList& AUBufferList::PrepareBuffer(const CAStreamBasicDescription& format, UInt32 frames)
{
    if (frames > mAllocatedFrames || mPtrs == nullptr)
        AUThrow(kAudioUnitErr_TooManyFramesToProcess);

    const UInt32 streams = format.NumberChannelStreams();
    if (streams > mAllocatedStreams)
        AUThrow(kAudioUnitErr_FormatNotSupported);

    // Stream i starts i strides into the memory; the strides are those of the
    // allocation, whatever the number of frames asked for now.
    const uint64_t stride = (uint64_t(format.mBytesPerFrame) * mAllocatedFrames + 15) & ~uint64_t(15);
    const uint64_t size = uint64_t(format.mBytesPerFrame) * frames;
    if (streams > 0 && stride * (streams - 1) + size > mAllocatedBytes)
        AUThrow(kAudioUnitErr_TooManyFramesToProcess);

    mPtrs->mNumberBuffers = streams;
    for (UInt32 i = 0; i < streams; ++i)
    {
        auto& b = mPtrs->mBuffers[i];
        b.mNumberChannels = format.NumberInterleavedChannels();
        b.mDataByteSize = (UInt32) size;
        b.mData = mMemory + stride * i;
    }
    mPtrState = kPtrsToMyMemory;
    return *mPtrs;
}

AudioBufferList& AUBufferList::PrepareNullBuffer(const CAStreamBasicDescription& format, UInt32 frames)
{
    const UInt32 streams = format.NumberChannelStreams();
    if (streams > mAllocatedStreams || mPtrs == nullptr)
        AUThrow(kAudioUnitErr_FormatNotSupported);

    const UInt32 size = SafeMultiplyAddUInt32(frames, format.mBytesPerFrame, 0);
    mPtrs->mNumberBuffers = streams;
    for (UInt32 i = 0; i < streams; ++i)
    {
        auto& b = mPtrs->mBuffers[i];
        b.mNumberChannels = format.NumberInterleavedChannels();
        b.mDataByteSize = size;
        b.mData = nullptr;
    }
    mPtrState = kPtrsToExternalMemory;
    return *mPtrs;
}

AudioBufferList& AUBufferList::SetBufferList(const AudioBufferList& list)
{
    if (list.mNumberBuffers > mAllocatedStreams || mPtrs == nullptr)
        AUThrow(-1);
    std::memmove(mPtrs, &list, AudioBufferListBytes(list.mNumberBuffers));
    mPtrState = kPtrsToExternalMemory;
    return *mPtrs;
}

AudioBufferList& AUBufferList::GetBufferList() const
{
    if (mPtrState == kPtrsInvalid)
        AUThrow(-1);
    return *mPtrs;
}

void AUBufferList::CopyBufferListTo(AudioBufferList& destination) const
{
    if (mPtrState == kPtrsInvalid)
        AUThrow(-1);
    const UInt32 n = std::min(destination.mNumberBuffers, mPtrs->mNumberBuffers);
    for (UInt32 i = 0; i < n; ++i)
        destination.mBuffers[i] = mPtrs->mBuffers[i];
}

void AUBufferList::CopyBufferContentsTo(AudioBufferList& destination) const
{
    if (mPtrState == kPtrsInvalid)
        AUThrow(-1);
    if (mPtrs->mNumberBuffers == 0)
        return;

    for (UInt32 i = 0; i < destination.mNumberBuffers; ++i)
    {
        const AudioBuffer& src = mPtrs->mBuffers[std::min(i, mPtrs->mNumberBuffers - 1)];
        AudioBuffer& dst = destination.mBuffers[i];
        // Never past the end of either buffer.
        const UInt32 bytes = std::min(src.mDataByteSize, dst.mDataByteSize);
        if (src.mData != dst.mData && src.mData != nullptr && dst.mData != nullptr)
            std::memmove(dst.mData, src.mData, bytes);
        dst.mDataByteSize = bytes;
    }
}

void AUBufferList::UseExternalBuffer(const CAStreamBasicDescription& format, const AudioUnitExternalBuffer& buffer) noexcept
{
    if (mMemory == nullptr || mExternalMemory)
        return;

    const UInt32 usable = buffer.size & ~15u;
    const uint64_t bytesPerAllStreams = uint64_t(format.NumberChannelStreams()) * format.mBytesPerFrame;
    if (usable < mAllocatedBytes || bytesPerAllStreams == 0 || buffer.buffer == nullptr)
        return;

    std::free(mMemory);
    mMemory = buffer.buffer;
    mExternalMemory = true;
    mAllocatedBytes = usable;
    mAllocatedFrames = (UInt32) (usable / bytesPerAllStreams);
    mPtrState = kPtrsInvalid;
}
