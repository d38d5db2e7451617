#include "AUInputElement.h"

#include "ComponentManagerLookup.h"

OSStatus AUInputElement::SetStreamFormat(const CAStreamBasicDescription& format)
{
    AUIOElement::SetStreamFormat(format);
    AllocateBuffer();
    return 0;
}

void AUInputElement::SetConnection(const AudioUnitConnection& connection)
{
    if (connection.sourceAudioUnit == nullptr)
    {
        mInputType.store(kNoInput, std::memory_order_release);
        DeallocateBuffer();
        return;
    }

    mInputType.store(kFromConnection, std::memory_order_release);
    mConnection = connection;
    AllocateBuffer();

    mConnRenderProc = nullptr;
    mConnInstanceStorage = nullptr;

    AudioUnitRenderProc function = nullptr;
    UInt32 size = sizeof(function);
    if (AudioUnitGetProperty(connection.sourceAudioUnit, kAudioUnitProperty_FastDispatch, kAudioUnitScope_Global,
                             kAudioUnitRenderSelect, &function, &size) == 0
        && size == sizeof(function) && function != nullptr)
    {
        // The fast function wants the source's object; without it the
        // ordinary render call is the only way in.
        void* storage = CMgr_GetComponentInstanceStorage(connection.sourceAudioUnit);
        if (storage != nullptr)
        {
            mConnRenderProc = function;
            mConnInstanceStorage = storage;
        }
    }
}

void AUInputElement::SetInputCallback(AURenderCallback function, void* userData)
{
    if (function == nullptr)
    {
        mInputType.store(kNoInput, std::memory_order_release);
        DeallocateBuffer();
        return;
    }
    mInputProc.inputProc = function;
    mInputProc.inputProcRefCon = userData;
    mInputType.store(kFromCallback, std::memory_order_release);
    AllocateBuffer();
}

bool AUInputElement::PulledBuffersUsable(const AudioBufferList& list, UInt32 frames) const noexcept
{
    if (list.mNumberBuffers != mStreamFormat.NumberChannelStreams())
        return false;
    const uint64_t bytes = uint64_t(frames) * mStreamFormat.mBytesPerFrame;
    for (UInt32 i = 0; i < list.mNumberBuffers; ++i)
    {
        const AudioBuffer& b = list.mBuffers[i];
        if (b.mData == nullptr || b.mDataByteSize < bytes
            || b.mNumberChannels != mStreamFormat.NumberInterleavedChannels())
            return false;
    }
    return true;
}

OSStatus AUInputElement::PullInput(AudioUnitRenderActionFlags& flags, const AudioTimeStamp& timeStamp,
                                   AudioUnitElement element, UInt32 frames)
{
    const EInputType type = InputType();
    if (type == kNoInput)
        return kAudioUnitErr_NoConnection;

    AudioBufferList& list = (type == kFromConnection || ! WillAllocateBuffer()) ? PrepareNullBuffer(frames)
                                                                                : PrepareBuffer(frames);

    OSStatus status;
    if (type == kFromCallback)
        status = mInputProc.inputProc(mInputProc.inputProcRefCon, &flags, &timeStamp, element, frames, &list);
    else if (mConnRenderProc != nullptr)
        status = mConnRenderProc(mConnInstanceStorage, &flags, &timeStamp, mConnection.sourceOutputNumber, frames,
                                 &list);
    else
        status = AudioUnitRender(mConnection.sourceAudioUnit, &flags, &timeStamp, mConnection.sourceOutputNumber,
                                 frames, &list);

    if (InputType() == kNoInput)
        return kAudioUnitErr_NoConnection;
    if (status == 0 && ! PulledBuffersUsable(list, frames))
        return kAudio_ParamError;
    return status;
}
