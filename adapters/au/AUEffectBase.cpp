#include "AUEffectBase.h"

#include "CAXException.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace
{
template <class T>
void passThrough(const T* source, T* destination, UInt32 frames, UInt32 stride) noexcept
{
    if (source == destination)
        return;
    for (UInt32 i = 0; i < frames; ++i)
        destination[size_t(i) * stride] = source[size_t(i) * stride];
}

template <class T>
T take(const void* data) noexcept
{
    T value;
    std::memcpy(&value, data, sizeof(T));
    return value;
}

// A pair (in, out) from a configuration table matches the channel counts.
bool pairMatches(SInt16 pairIn, SInt16 pairOut, SInt16 in, SInt16 out) noexcept
{
    if (pairIn < 0 && pairOut < 0)
    {
        // (-1, -2) and (-2, -1): any counts; (-1, -1): equal counts.
        if ((pairIn == -1 && pairOut == -2) || (pairIn == -2 && pairOut == -1))
            return true;
        return pairIn == -1 && pairOut == -1 && in == out;
    }
    return (in == pairIn || pairIn == -1) && (out == pairOut || pairOut == -1);
}

void moveBack(AudioBufferList& list, UInt32 bytesPerSample, UInt32 frames) noexcept
{
    for (UInt32 i = 0; i < list.mNumberBuffers; ++i)
    {
        AudioBuffer& b = list.mBuffers[i];
        const size_t bytes = size_t(b.mNumberChannels) * bytesPerSample * frames;
        if (b.mData != nullptr)
            b.mData = static_cast<UInt8*>(b.mData) - bytes;
        b.mDataByteSize = (UInt32) bytes;
    }
}
} // namespace

void AUKernelBase::Process(const Float32* s, Float32* d, UInt32 frames, UInt32 stride, bool&)
{
    passThrough(s, d, frames, stride);
}

void AUKernelBase::Process(const SInt16* s, SInt16* d, UInt32 frames, UInt32 stride, bool&)
{
    passThrough(s, d, frames, stride);
}

void AUKernelBase::Process(const SInt32* s, SInt32* d, UInt32 frames, UInt32 stride, bool&)
{
    passThrough(s, d, frames, stride);
}

AUEffectBase::AUEffectBase(AudioComponentInstance instance, bool processesInPlace)
    : AUBase(instance, 1, 1, 0), mProcessesInPlace(processesInPlace)
{
}

AUEffectBase::~AUEffectBase() = default;

bool AUEffectBase::HasInput(AudioUnitElement element)
{
    AUElement* e = Inputs().GetElement(element);
    return e != nullptr && static_cast<AUInputElement*>(e->AsIOElement())->IsActive();
}

// Host main thread.
OSStatus AUEffectBase::Initialize()
{
    const auto in = (SInt16) GetInput(0)->NumberChannels();
    const auto out = (SInt16) GetOutput(0)->NumberChannels();

    const AUChannelInfo* table = nullptr;
    const UInt32 pairs = SupportedNumChannels(&table);
    if (pairs > 0 && table != nullptr)
    {
        bool found = false;
        for (UInt32 i = 0; i < pairs && ! found; ++i)
            found = pairMatches(table[i].inChannels, table[i].outChannels, in, out);
        if (! found)
            return kAudioUnitErr_FormatNotSupported;
    }
    else if (in != out || in == 0)
    {
        return kAudioUnitErr_FormatNotSupported;
    }

    MaintainKernels();
    mMainOutput = GetOutput(0);
    mMainInput = GetInput(0);

    const CAStreamBasicDescription& format = mMainOutput->GetStreamFormat();
    bool interleaved = false;
    format.IdentifyCommonPCMFormat(mCommonPCMFormat, &interleaved);
    mBytesPerSample = (interleaved && format.mChannelsPerFrame > 0) ? format.mBytesPerFrame / format.mChannelsPerFrame
                                                                    : format.mBytesPerFrame;
    return 0;
}

void AUEffectBase::Cleanup()
{
    mKernelList.clear();
    mMainOutput = nullptr;
    mMainInput = nullptr;
}

OSStatus AUEffectBase::Reset(AudioUnitScope scope, AudioUnitElement element)
{
    for (auto& kernel : mKernelList)
        if (kernel != nullptr)
            kernel->Reset();
    return AUBase::Reset(scope, element);
}

void AUEffectBase::MaintainKernels()
{
    const UInt32 channels = GetOutput(0)->NumberChannels();
    if (mKernelList.size() > channels)
        mKernelList.resize(channels);
    mKernelList.reserve(channels);
    while (mKernelList.size() < channels)
    {
        std::unique_ptr<AUKernelBase> kernel(NewKernel());
        mKernelList.push_back(std::move(kernel)); // room reserved: cannot throw
    }
    for (UInt32 i = 0; i < channels; ++i)
        if (mKernelList[i] != nullptr)
            mKernelList[i]->SetChannelNum(i);
}

bool AUEffectBase::StreamFormatWritable(AudioUnitScope, AudioUnitElement)
{
    return ! IsInitialized();
}

OSStatus AUEffectBase::ChangeStreamFormat(AudioUnitScope scope, AudioUnitElement element,
                                          const CAStreamBasicDescription& previous,
                                          const CAStreamBasicDescription& format)
{
    const OSStatus result = AUBase::ChangeStreamFormat(scope, element, previous, format);
    if (result == 0 && mParamSRDep && previous.mSampleRate != format.mSampleRate)
        PropertyChanged(kAudioUnitProperty_ParameterList, kAudioUnitScope_Global, 0);
    return result;
}

// ---- Bypass and in-place properties ----------------------------------------------

OSStatus AUEffectBase::GetPropertyInfo(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                                       UInt32& outDataSize, Boolean& outWritable)
{
    if (scope == kAudioUnitScope_Global
        && (id == kAudioUnitProperty_BypassEffect || id == kAudioUnitProperty_InPlaceProcessing))
    {
        outDataSize = sizeof(UInt32);
        outWritable = true;
        return 0;
    }
    return AUBase::GetPropertyInfo(id, scope, element, outDataSize, outWritable);
}

OSStatus AUEffectBase::GetProperty(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                                   void* outData)
{
    if (scope == kAudioUnitScope_Global)
    {
        UInt32 value;
        if (id == kAudioUnitProperty_BypassEffect)
            value = ShouldBypassEffect() ? 1 : 0;
        else if (id == kAudioUnitProperty_InPlaceProcessing)
            value = mProcessesInPlace ? 1 : 0;
        else
            return AUBase::GetProperty(id, scope, element, outData);
        std::memcpy(outData, &value, sizeof(value));
        return 0;
    }
    return AUBase::GetProperty(id, scope, element, outData);
}

OSStatus AUEffectBase::SetProperty(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                                   const void* inData, UInt32 inDataSize)
{
    if (scope == kAudioUnitScope_Global && id == kAudioUnitProperty_BypassEffect)
    {
        if (inDataSize < sizeof(UInt32))
            return kAudioUnitErr_InvalidPropertyValue;
        const bool bypass = take<UInt32>(inData) != 0;
        if (bypass != ShouldBypassEffect())
        {
            // Coming back from bypass starts from a clean state.
            if (! bypass && IsInitialized())
                Reset(kAudioUnitScope_Global, 0);
            SetBypassEffect(bypass);
        }
        return 0;
    }
    if (scope == kAudioUnitScope_Global && id == kAudioUnitProperty_InPlaceProcessing)
    {
        if (inDataSize < sizeof(UInt32))
            return kAudioUnitErr_InvalidPropertyValue;
        mProcessesInPlace = take<UInt32>(inData) != 0;
        return 0;
    }
    return AUBase::SetProperty(id, scope, element, inData, inDataSize);
}

// ---- Rendering ----------------------------------------------------------------------

bool AUEffectBase::IsInputSilent(AudioUnitRenderActionFlags flags, UInt32 frames)
{
    if ((flags & kAudioUnitRenderAction_OutputIsSilence) == 0)
    {
        mResetTailTime = true;
        return false;
    }
    if (mResetTailTime)
    {
        const double tail = std::floor(GetSampleRate() * (GetLatency() + GetTailTime()));
        const double limit = (double) std::numeric_limits<SInt32>::max();
        mTailFramesRemaining = (tail >= 0.0 && tail <= limit) ? (SInt32) tail : (tail > limit ? INT32_MAX : 0);
        mResetTailTime = false;
    }
    if (mTailFramesRemaining < 1)
        return true;
    mTailFramesRemaining -= (SInt32) std::min<UInt32>(frames, (UInt32) INT32_MAX);
    return false;
}

template <class T>
void AUEffectBase::ProcessBufferListsT(AudioUnitRenderActionFlags& flags, const AudioBufferList& input,
                                       AudioBufferList& output, UInt32 frames)
{
    const bool silentInput = IsInputSilent(flags, frames);
    flags |= kAudioUnitRenderAction_OutputIsSilence;

    const UInt32 kernels = (UInt32) mKernelList.size();
    if (input.mNumberBuffers > 1)
    {
        // One buffer per channel: kernel i reads input buffer i, writes output
        // buffer i; kernels without both buffers sit out.
        for (UInt32 i = 0; i < kernels && i < input.mNumberBuffers && i < output.mNumberBuffers; ++i)
        {
            AUKernelBase* kernel = mKernelList[i].get();
            if (kernel == nullptr)
                continue;
            bool ioSilence = silentInput;
            kernel->Process(static_cast<const T*>(input.mBuffers[i].mData), static_cast<T*>(output.mBuffers[i].mData),
                            frames, 1, ioSilence);
            if (! ioSilence)
                flags &= ~(AudioUnitRenderActionFlags) kAudioUnitRenderAction_OutputIsSilence;
        }
    }
    else if (input.mNumberBuffers == 1 && output.mNumberBuffers >= 1
             && input.mBuffers[0].mNumberChannels == output.mBuffers[0].mNumberChannels)
    {
        // One interleaved buffer: kernel i takes every stride-th sample from i.
        const UInt32 stride = input.mBuffers[0].mNumberChannels;
        const auto* source = static_cast<const T*>(input.mBuffers[0].mData);
        auto* destination = static_cast<T*>(output.mBuffers[0].mData);
        for (UInt32 i = 0; i < kernels && i < stride; ++i)
        {
            AUKernelBase* kernel = mKernelList[i].get();
            if (kernel == nullptr)
                continue;
            bool ioSilence = silentInput;
            kernel->Process(source + i, destination + i, frames, stride, ioSilence);
            if (! ioSilence)
                flags &= ~(AudioUnitRenderActionFlags) kAudioUnitRenderAction_OutputIsSilence;
        }
    }
}

OSStatus AUEffectBase::ProcessBufferLists(AudioUnitRenderActionFlags& flags, const AudioBufferList& input,
                                          AudioBufferList& output, UInt32 frames)
{
    switch (mCommonPCMFormat)
    {
        case kPCMFormatFloat32:
            ProcessBufferListsT<Float32>(flags, input, output, frames);
            break;
        case kPCMFormatInt16:
            ProcessBufferListsT<SInt16>(flags, input, output, frames);
            break;
        case kPCMFormatFixed824:
            ProcessBufferListsT<SInt32>(flags, input, output, frames);
            break;
        default:
            AUThrow(kAudio_UnimplementedError);
    }
    return 0;
}

OSStatus AUEffectBase::ProcessScheduledSlice(void* userData, UInt32, UInt32 sliceFrames, UInt32)
{
    auto& p = *static_cast<ScheduledProcessParams*>(userData);
    AudioBufferList* lists[2] = { p.inputBufferList, p.outputBufferList };

    for (AudioBufferList* list : lists)
        for (UInt32 i = 0; i < list->mNumberBuffers; ++i)
            list->mBuffers[i].mDataByteSize = list->mBuffers[i].mNumberChannels * mBytesPerSample * sliceFrames;

    const OSStatus result = ProcessBufferLists(*p.actionFlags, *p.inputBufferList, *p.outputBufferList, sliceFrames);

    for (AudioBufferList* list : lists)
        for (UInt32 i = 0; i < list->mNumberBuffers; ++i)
        {
            AudioBuffer& b = list->mBuffers[i];
            if (b.mData != nullptr)
                b.mData = static_cast<UInt8*>(b.mData) + b.mDataByteSize;
        }
    p.framesDone += sliceFrames;
    return result;
}

// Render thread.
OSStatus AUEffectBase::Render(AudioUnitRenderActionFlags& flags, const AudioTimeStamp& timeStamp, UInt32 frames)
{
    if (mMainInput == nullptr || ! mMainInput->IsActive())
        return kAudioUnitErr_NoConnection;

    OSStatus result = mMainInput->PullInput(flags, timeStamp, 0, frames);
    if (result != 0)
        return result;

    if (mProcessesInPlace && mMainOutput->WillAllocateBuffer())
        mMainOutput->SetBufferList(mMainInput->GetBufferList());

    if (ShouldBypassEffect())
    {
        if (! mProcessesInPlace)
            mMainInput->CopyBufferContentsTo(mMainOutput->GetBufferList());
        return 0;
    }

    AudioBufferList& input = mMainInput->GetBufferList();
    AudioBufferList& output = mMainOutput->GetBufferList();

    if (! HasScheduledEvents())
    {
        result = ProcessBufferLists(flags, input, output, frames);
    }
    else
    {
        ScheduledProcessParams params { &flags, &input, &output, 0 };
        result = ProcessForScheduledParams(GetParamEventList(), frames, &params);
        // Back to the whole call, by exactly as far as the slices moved them
        // (a failed slice ends the walk early).
        moveBack(input, mBytesPerSample, params.framesDone);
        moveBack(output, mBytesPerSample, params.framesDone);
        if (params.framesDone != frames)
        {
            for (AudioBufferList* list : { &input, &output })
                for (UInt32 i = 0; i < list->mNumberBuffers; ++i)
                    list->mBuffers[i].mDataByteSize = list->mBuffers[i].mNumberChannels * mBytesPerSample * frames;
        }
    }

    if ((flags & kAudioUnitRenderAction_OutputIsSilence) && ! mProcessesInPlace)
    {
        for (UInt32 i = 0; i < output.mNumberBuffers; ++i)
            if (output.mBuffers[i].mData != nullptr)
                std::memset(output.mBuffers[i].mData, 0, output.mBuffers[i].mDataByteSize);
    }
    return result;
}
