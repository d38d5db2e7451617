// An Audio Unit effect: one input and one output element, input pulled from
// its source, bypass, in-place processing, the channel check on
// initialisation, and processing through one kernel per output channel.
#pragma once

#include "AUBase.h"

#include <memory>
#include <vector>

class AUEffectBase;

/** Processes one channel. The default processing of each sample kind passes
    the samples through. */
class AUKernelBase
{
public:
    explicit AUKernelBase(AUEffectBase& audioUnit) noexcept : mAudioUnit(audioUnit) {}
    virtual ~AUKernelBase() = default;

    AUKernelBase(const AUKernelBase&) = delete;
    AUKernelBase& operator=(const AUKernelBase&) = delete;

    virtual void Reset() {}
    /** `frames` samples from source to destination, `channelStride` apart;
        ioSilence comes in true when the input is silent and goes out true
        when the output is. */
    virtual void Process(const Float32* source, Float32* destination, UInt32 frames, UInt32 channelStride,
                         bool& ioSilence);
    virtual void Process(const SInt16* source, SInt16* destination, UInt32 frames, UInt32 channelStride,
                         bool& ioSilence);
    virtual void Process(const SInt32* source, SInt32* destination, UInt32 frames, UInt32 channelStride,
                         bool& ioSilence);

    void SetChannelNum(UInt32 channel) noexcept { mChannel = channel; }
    UInt32 GetChannelNum() const noexcept { return mChannel; }
    AUEffectBase& GetAudioUnit() const noexcept { return mAudioUnit; }

private:
    AUEffectBase& mAudioUnit;
    UInt32 mChannel = 0;
};

class AUEffectBase : public AUBase
{
public:
    /** What ProcessScheduledSlice receives as its user data. */
    struct ScheduledProcessParams
    {
        AudioUnitRenderActionFlags* actionFlags;
        AudioBufferList* inputBufferList;
        AudioBufferList* outputBufferList;
        UInt32 framesDone; // how far the lists' pointers have been moved
    };

    AUEffectBase(AudioComponentInstance instance, bool processesInPlace);
    ~AUEffectBase() override;

    // ---- Virtual operations added here, in slot order ----------------------

    virtual AUKernelBase* NewKernel() { return nullptr; }
    virtual bool ShouldBypassEffect() { return mBypassEffect; }
    virtual void SetBypassEffect(bool bypass) { mBypassEffect = bypass; }

    // ---- AUBase operations it replaces --------------------------------------

    OSStatus Initialize() override;
    void Cleanup() override;
    OSStatus Reset(AudioUnitScope scope, AudioUnitElement element) override;
    OSStatus GetPropertyInfo(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                             UInt32& outDataSize, Boolean& outWritable) override;
    OSStatus GetProperty(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element, void* outData) override;
    OSStatus SetProperty(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element, const void* inData,
                         UInt32 inDataSize) override;
    OSStatus ProcessBufferLists(AudioUnitRenderActionFlags& flags, const AudioBufferList& input,
                                AudioBufferList& output, UInt32 frames) override;
    OSStatus Render(AudioUnitRenderActionFlags& flags, const AudioTimeStamp& timeStamp, UInt32 frames) override;
    /** True exactly while uninitialised. */
    bool StreamFormatWritable(AudioUnitScope scope, AudioUnitElement element) override;
    OSStatus ChangeStreamFormat(AudioUnitScope scope, AudioUnitElement element,
                                const CAStreamBasicDescription& previous,
                                const CAStreamBasicDescription& format) override;
    OSStatus ProcessScheduledSlice(void* userData, UInt32 sliceOffset, UInt32 sliceFrames,
                                   UInt32 totalFrames) override;

    /** As many kernels as output element 0 has channels, each told its index. */
    void MaintainKernels();

    /** Whether input marked silent has outlasted latency and tail. */
    bool IsInputSilent(AudioUnitRenderActionFlags flags, UInt32 frames);

    bool ProcessesInPlace() const noexcept { return mProcessesInPlace; }
    void SetProcessesInPlace(bool inPlace) noexcept { mProcessesInPlace = inPlace; }
    bool HasInput(AudioUnitElement element);
    Float64 GetSampleRate() { return GetOutput(0)->GetStreamFormat().mSampleRate; }
    UInt32 GetNumberOfChannels() { return GetOutput(0)->GetStreamFormat().mChannelsPerFrame; }
    /** Parameters of the global element. */
    AudioUnitParameterValue GetParameter(AudioUnitParameterID id) { return Globals0()->GetParameter(id); }
    using AUBase::GetParameter;

    const std::vector<std::unique_ptr<AUKernelBase>>& Kernels() const noexcept { return mKernelList; }
    CommonPCMFormat GetCommonPCMFormat() const noexcept { return mCommonPCMFormat; }
    /** Bytes of one channel's sample in the output format. */
    UInt32 GetBytesPerSample() const noexcept { return mBytesPerSample; }

protected:
    void SetParamHasSampleRateDependency(bool dependent) noexcept { mParamSRDep = dependent; }
    AUInputElement* MainInput() const noexcept { return mMainInput; }
    AUOutputElement* MainOutput() const noexcept { return mMainOutput; }

private:
    template <class T>
    void ProcessBufferListsT(AudioUnitRenderActionFlags& flags, const AudioBufferList& input, AudioBufferList& output,
                             UInt32 frames);

    std::vector<std::unique_ptr<AUKernelBase>> mKernelList;
    bool mBypassEffect = false;
    bool mParamSRDep = false;
    bool mProcessesInPlace;
    SInt32 mTailFramesRemaining = 0;
    bool mResetTailTime = true;
    AUOutputElement* mMainOutput = nullptr;
    AUInputElement* mMainInput = nullptr;
    CommonPCMFormat mCommonPCMFormat = kPCMFormatOther;
    // Per channel, so that the slice arithmetic holds for interleaved lists too.
    UInt32 mBytesPerSample = 0;
};
