// The elements of the input and output scopes: a stream format, a buffer list
// with its memory, and the channel layout a host gave.
#pragma once

#include "AUBufferList.h"
#include "AUElement.h"

#include <vector>

class AUIOElement : public AUElement
{
public:
    /** 44100 Hz, "lpcm", flags 0x29 (float, packed, non-interleaved), 4 bytes
        per packet, 1 frame per packet, 4 bytes per frame, 2 channels, 32 bits. */
    explicit AUIOElement(AUBase& audioUnit);

    AUIOElement* AsIOElement() override { return this; }

    /** Copies the format. A channel layout of another channel count no longer
        describes the element and is dropped. */
    virtual OSStatus SetStreamFormat(const CAStreamBasicDescription& format);

    /** Nothing until the unit has begun initialising. 0 frames: the unit's
        maximum frames per slice. Memory only when the element should allocate
        and needs buffer space; else the list alone. */
    virtual void AllocateBuffer(UInt32 frames = 0);

    virtual bool NeedsBufferSpace() const = 0;

    /** The layout tags the element offers; none by default. */
    virtual UInt32 GetChannelLayoutTags(AudioChannelLayoutTag* outTags);
    /** Bytes of the stored layout (0 when none), copied out when asked. */
    virtual UInt32 GetAudioChannelLayout(AudioChannelLayout* outLayout, Boolean& outWritable);
    /** Stores a layout that the unit has already checked; 0. */
    virtual OSStatus SetAudioChannelLayout(const AudioChannelLayout& layout);
    /** Forgets the stored layout; 0. */
    virtual OSStatus RemoveAudioChannelLayout();

    bool HasChannelLayout() const noexcept { return ! mChannelLayout.empty(); }

    const CAStreamBasicDescription& GetStreamFormat() const noexcept { return mStreamFormat; }
    UInt32 NumberChannels() const noexcept { return mStreamFormat.mChannelsPerFrame; }

    /** Throws -10851 when the element should not allocate. */
    AudioBufferList& PrepareBuffer(UInt32 frames);
    AudioBufferList& PrepareNullBuffer(UInt32 frames) { return mIOBuffer.PrepareNullBuffer(mStreamFormat, frames); }
    AudioBufferList& SetBufferList(const AudioBufferList& list) { return mIOBuffer.SetBufferList(list); }
    AudioBufferList& GetBufferList() const { return mIOBuffer.GetBufferList(); }
    void InvalidateBufferList() noexcept { mIOBuffer.InvalidateBufferList(); }
    void CopyBufferListTo(AudioBufferList& list) const { mIOBuffer.CopyBufferListTo(list); }
    void CopyBufferContentsTo(AudioBufferList& list) const { mIOBuffer.CopyBufferContentsTo(list); }
    void UseExternalBuffer(const AudioUnitExternalBuffer& buffer) noexcept { mIOBuffer.UseExternalBuffer(mStreamFormat, buffer); }
    const AUBufferList& GetBuffers() const noexcept { return mIOBuffer; }

    bool WillAllocateBuffer() const noexcept { return mWillAllocate; }
    void SetWillAllocateBuffer(bool allocate) noexcept { mWillAllocate = allocate; }

protected:
    void DeallocateBuffer() noexcept { mIOBuffer.Deallocate(); }

    CAStreamBasicDescription mStreamFormat;
    AUBufferList mIOBuffer;
    bool mWillAllocate = true;
    std::vector<UInt8> mChannelLayout; // the stored layout record; empty: none
};

class AUOutputElement : public AUIOElement
{
public:
    explicit AUOutputElement(AUBase& audioUnit);

    OSStatus SetStreamFormat(const CAStreamBasicDescription& format) override;
    bool NeedsBufferSpace() const override { return true; }
};

/** The stream format every I/O element starts with. */
CAStreamBasicDescription DefaultIOStreamFormat() noexcept;
