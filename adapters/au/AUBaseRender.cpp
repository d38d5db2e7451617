// AUBase: the render call with its notifications, stream formats, channel
// layouts, maximum frames per slice and element counts.
#include "AUBase.h"

#include "CAAudioChannelLayout.h"
#include "CAXException.h"
#include "DenormalGuard.h"

#include <cmath>
#include <memory>

namespace
{
// A host's buffer list must match the element's format exactly before a byte
// of it is touched: as many buffers as the format has streams, each with the
// format's channels, all with data or none (none asks for the unit's own
// memory), and those with data large enough for the frames.
OSStatus checkHostBuffers(const CAStreamBasicDescription& format, UInt32 frames, const AudioBufferList& list) noexcept
{
    if (list.mNumberBuffers != format.NumberChannelStreams())
        return kAudio_ParamError;

    const uint64_t bytes = uint64_t(format.mBytesPerFrame) * frames;
    bool anyNull = false;
    bool anyData = false;
    for (UInt32 i = 0; i < list.mNumberBuffers; ++i)
    {
        const AudioBuffer& b = list.mBuffers[i];
        if (b.mNumberChannels != format.NumberInterleavedChannels())
            return kAudio_ParamError;
        if (b.mData == nullptr)
        {
            anyNull = true;
            continue;
        }
        anyData = true;
        if (b.mDataByteSize < bytes)
            return kAudio_ParamError;
    }
    return (anyNull && anyData) ? kAudio_ParamError : 0;
}
} // namespace

void AUBase::NoteRenderError(OSStatus error)
{
    OSStatus none = 0;
    // Only the first failure since the host last read the error is kept.
    if (mLastRenderError.compare_exchange_strong(none, error))
        PropertyChanged(kAudioUnitProperty_LastRenderError, kAudioUnitScope_Global, 0);
}

// Render thread.
OSStatus AUBase::DoRender(AudioUnitRenderActionFlags& ioFlags, const AudioTimeStamp& timeStamp, UInt32 bus,
                          UInt32 frames, AudioBufferList& ioData)
{
    ScopedDenormalFlush denormals;
    OSStatus error = 0;

    try
    {
        if (! IsInitialized())
            error = kAudioUnitErr_Uninitialized;
        else if (mAudioUnitAPIVersion < 2)
            error = kAudio_ParamError;
        else if (frames > mMaxFramesPerSlice)
            error = kAudioUnitErr_TooManyFramesToProcess;
        else
        {
            AUOutputElement* output = GetOutput(bus);
            const CAStreamBasicDescription& format = output->GetStreamFormat();
            error = checkHostBuffers(format, frames, ioData);
            if (error == 0)
            {
                for (UInt32 i = 0; i < ioData.mNumberBuffers; ++i)
                    if (ioData.mBuffers[i].mData != nullptr)
                        ioData.mBuffers[i].mDataByteSize = format.mBytesPerFrame * frames;

                const bool notify = mRenderCallbacksTouched.load(std::memory_order_acquire);
                if (notify)
                {
                    mRenderCallbacks.update();
                    for (const RenderCallback& rc : mRenderCallbacks)
                    {
                        AudioUnitRenderActionFlags flags = ioFlags | kAudioUnitRenderAction_PreRender;
                        rc.mRenderNotify(rc.mRenderNotifyRefCon, &flags, &timeStamp, bus, frames, &ioData);
                    }
                }

                const OSStatus result = DoRenderBus(ioFlags, timeStamp, bus, *output, frames, ioData);

                AudioUnitRenderActionFlags postFlags = ioFlags | kAudioUnitRenderAction_PostRender;
                if (result != 0)
                {
                    NoteRenderError(result);
                    postFlags |= kAudioUnitRenderAction_PostRenderError;
                }
                if (notify)
                {
                    for (const RenderCallback& rc : mRenderCallbacks)
                    {
                        AudioUnitRenderActionFlags flags = postFlags;
                        rc.mRenderNotify(rc.mRenderNotifyRefCon, &flags, &timeStamp, bus, frames, &ioData);
                    }
                }
                mParamList.clear(); // keeps its capacity: no allocation next time
                return result;
            }
        }
    }
    catch (OSStatus thrown)
    {
        if (thrown == 0)
            return 0;
        error = thrown;
    }
    catch (...)
    {
        error = -1;
    }

    NoteRenderError(error);
    return error;
}

// Render thread.
OSStatus AUBase::DoRenderBus(AudioUnitRenderActionFlags& ioFlags, const AudioTimeStamp& timeStamp, UInt32 bus,
                             AUOutputElement& output, UInt32 frames, AudioBufferList& ioData)
{
    const bool hostBuffers = ioData.mNumberBuffers > 0 && ioData.mBuffers[0].mData != nullptr;

    if (hostBuffers)
    {
        if (output.WillAllocateBuffer() && Outputs().GetNumberOfElements() > 1)
            output.PrepareBuffer(frames);
        else
            output.SetBufferList(ioData);
    }
    else
    {
        output.PrepareBuffer(frames); // -10851 when it must not allocate
    }

    const OSStatus result = RenderBus(ioFlags, timeStamp, bus, frames);
    if (result != 0)
        return result;

    if (hostBuffers)
    {
        output.CopyBufferContentsTo(ioData);
        output.InvalidateBufferList();
    }
    else
    {
        output.CopyBufferListTo(ioData);
    }
    return 0;
}

OSStatus AUBase::RenderBus(AudioUnitRenderActionFlags& ioFlags, const AudioTimeStamp& timeStamp, UInt32, UInt32 frames)
{
    // Exact comparison: this time was already rendered through another bus.
    if (timeStamp.mSampleTime == mCurrentRenderTime.mSampleTime)
        return 0;
    mCurrentRenderTime = timeStamp;
    return Render(ioFlags, timeStamp, frames);
}

// ---- Render-notify callbacks ------------------------------------------------

// Any thread.
OSStatus AUBase::SetRenderNotification(AURenderCallback proc, void* userData)
{
    if (proc == nullptr)
        return kAudio_ParamError;
    mRenderCallbacks.deferred_add(RenderCallback { proc, userData });
    mRenderCallbacksTouched.store(true, std::memory_order_release);
    return 0;
}

// Any thread.
OSStatus AUBase::RemoveRenderNotification(AURenderCallback proc, void* userData)
{
    if (proc == nullptr)
        return kAudio_ParamError;
    mRenderCallbacks.deferred_remove(RenderCallback { proc, userData });
    return 0;
}

// ---- Frames and element counts -------------------------------------------------

void AUBase::SetMaxFramesPerSlice(UInt32 frames)
{
    const UInt32 previous = mMaxFramesPerSlice;
    mMaxFramesPerSlice = frames;
    if (mBuffersAllocated)
    {
        try
        {
            ReallocateBuffers();
        }
        catch (...)
        {
            // Buffers never shrink, so they still hold the previous maximum.
            mMaxFramesPerSlice = previous;
            throw;
        }
    }
    PropertyChanged(kAudioUnitProperty_MaximumFramesPerSlice, kAudioUnitScope_Global, 0);
}

OSStatus AUBase::CanSetMaxFrames() const
{
    return IsInitialized() ? kAudioUnitErr_Initialized : 0;
}

OSStatus AUBase::SetBusCount(AudioUnitScope scope, UInt32 count)
{
    if (IsInitialized())
        return kAudioUnitErr_Initialized;
    GetScope(scope).SetNumberOfElements(count);
    return 0;
}

// ---- Stream formats ----------------------------------------------------------------

bool AUBase::FormatIsCanonical(const CAStreamBasicDescription& f) const noexcept
{
    if (f.mFormatID != kAudioFormatLinearPCM || f.mFramesPerPacket != 1 || f.mBytesPerPacket != f.mBytesPerFrame
        || (f.mFormatFlags & kAudioFormatFlagIsFloat) == 0 || (f.mFormatFlags & kAudioFormatFlagIsBigEndian) != 0
        || f.mBitsPerChannel != 32)
        return false;
    // A stream needs a channel and a rate.
    if (f.mChannelsPerFrame == 0 || ! std::isfinite(f.mSampleRate) || f.mSampleRate <= 0.0)
        return false;

    const bool nonInterleaved = (f.mFormatFlags & kAudioFormatFlagIsNonInterleaved) != 0;
    // Version 2 units take several channels only non-interleaved, version 1
    // units only interleaved.
    if (f.mChannelsPerFrame > 1 && nonInterleaved != (mAudioUnitAPIVersion != 1))
        return false;
    const uint64_t expectedBytes = nonInterleaved ? 4 : 4 * uint64_t(f.mChannelsPerFrame);
    return f.mBytesPerFrame == expectedBytes;
}

bool AUBase::ValidFormat(AudioUnitScope, AudioUnitElement, const CAStreamBasicDescription& format)
{
    return FormatIsCanonical(format);
}

const CAStreamBasicDescription& AUBase::GetStreamFormat(AudioUnitScope scope, AudioUnitElement element)
{
    switch (scope)
    {
        case kAudioUnitScope_Global:
            return GetOutput(0)->GetStreamFormat();
        case kAudioUnitScope_Input:
        case kAudioUnitScope_Output:
            return GetScope(scope).GetIOElement(element)->GetStreamFormat();
        default:
            AUThrow(kAudioUnitErr_InvalidScope);
    }
}

OSStatus AUBase::ChangeStreamFormat(AudioUnitScope scope, AudioUnitElement element, const CAStreamBasicDescription&,
                                    const CAStreamBasicDescription& format)
{
    AUIOElement* io = scope == kAudioUnitScope_Global ? GetOutput(0) : GetScope(scope).GetIOElement(element);
    io->SetStreamFormat(format);
    PropertyChanged(kAudioUnitProperty_StreamFormat, scope, element);
    return 0;
}

// ---- Channel layouts -----------------------------------------------------------------

UInt32 AUBase::GetChannelLayoutTags(AudioUnitScope scope, AudioUnitElement element, AudioChannelLayoutTag* outTags)
{
    return GetScope(scope).GetIOElement(element)->GetChannelLayoutTags(outTags);
}

UInt32 AUBase::GetAudioChannelLayout(AudioUnitScope scope, AudioUnitElement element, AudioChannelLayout* outLayout,
                                     Boolean& outWritable)
{
    return GetScope(scope).GetIOElement(element)->GetAudioChannelLayout(outLayout, outWritable);
}

OSStatus AUBase::CheckAudioChannelLayout(AudioUnitScope scope, AudioUnitElement element,
                                         const AudioChannelLayout& layout)
{
    AUIOElement* io = GetScope(scope).GetIOElement(element);
    if (io->NumberChannels() != CAAudioChannelLayout::NumberChannels(layout))
        return kAudioUnitErr_InvalidPropertyValue;

    const UInt32 count = GetChannelLayoutTags(scope, element, nullptr);
    if (count == 0)
        return kAudioUnitErr_InvalidProperty;

    std::unique_ptr<AudioChannelLayoutTag[]> tags(new AudioChannelLayoutTag[count]);
    GetChannelLayoutTags(scope, element, tags.get());
    for (UInt32 i = 0; i < count; ++i)
        if (tags[i] == layout.mChannelLayoutTag || tags[i] == 0) // 0: any layout
            return 0;
    return kAudioUnitErr_InvalidPropertyValue;
}

// Host main thread. Validates before anything changes: a refused layout
// leaves the element as it was.
OSStatus AUBase::SetAudioChannelLayout(AudioUnitScope scope, AudioUnitElement element, const AudioChannelLayout* layout)
{
    if (layout == nullptr)
        return kAudio_ParamError;
    const OSStatus result = CheckAudioChannelLayout(scope, element, *layout);
    if (result != 0)
        return result;
    return GetScope(scope).GetIOElement(element)->SetAudioChannelLayout(*layout);
}

OSStatus AUBase::RemoveAudioChannelLayout(AudioUnitScope scope, AudioUnitElement element)
{
    AUIOElement* io = GetScope(scope).GetIOElement(element);
    Boolean writable = false;
    if (io->GetAudioChannelLayout(nullptr, writable) > 0)
        return io->RemoveAudioChannelLayout();
    return 0;
}
