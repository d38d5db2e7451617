#include "TestEffectUnit.h"

#include "ChannelConfigurations.h"

#include <cstring>

namespace
{
class GainKernel : public AUKernelBase
{
public:
    using AUKernelBase::AUKernelBase;
    using AUKernelBase::Process;

    void Process(const Float32* source, Float32* destination, UInt32 frames, UInt32 stride, bool& ioSilence) override
    {
        if (ioSilence)
            return; // silent input past its tail: the base clears the output
        const Float32 gain = GetAudioUnit().GetParameter(TestEffectUnit::kGain);
        for (UInt32 i = 0; i < frames; ++i)
            destination[size_t(i) * stride] = source[size_t(i) * stride] * gain;
        ioSilence = false;
    }
};

struct FactoryPreset
{
    const char* name;
    Float32 gain;
};

constexpr FactoryPreset kFactoryPresets[] = { { "Unity", 1.0f }, { "Half", 0.5f } };

// Output scope only, as the plug-in offers them.
constexpr AudioChannelLayoutTag kOutputTags[] = {
    kAudioChannelLayoutTag_MPEG_5_1_A, kAudioChannelLayoutTag_MPEG_6_1_A, kAudioChannelLayoutTag_MPEG_7_1_C,
    kAudioChannelLayoutTag_Stereo, kAudioChannelLayoutTag_Ambisonic_B_Format
};

AUChannelInfo sChannelInfo[kNumChannelConfigurations];
} // namespace

TestEffectUnit::TestEffectUnit(AudioComponentInstance instance) : AUMIDIEffectBase(instance, false)
{
    Globals0()->UseIndexedParameters(kNumParameters);
    Globals0()->SetParameter(kGain, 1.0f);

    for (UInt32 i = 0; i < sizeof(kFactoryPresets) / sizeof(kFactoryPresets[0]); ++i)
    {
        CFStringRef name = CFStringCreateWithCString(nullptr, kFactoryPresets[i].name, kCFStringEncodingUTF8);
        mPresets.push_back(AUPreset { (SInt32) i, name });
    }
}

TestEffectUnit::~TestEffectUnit()
{
    for (auto& p : mPresets)
        CFRelease(p.presetName);
}

AUKernelBase* TestEffectUnit::NewKernel()
{
    return new GainKernel(*this);
}

UInt32 TestEffectUnit::SupportedNumChannels(const AUChannelInfo** outInfo)
{
    if (outInfo != nullptr)
    {
        for (int i = 0; i < kNumChannelConfigurations; ++i)
            sChannelInfo[i] = AUChannelInfo { kChannelConfigurations[i].numIns, kChannelConfigurations[i].numOuts };
        *outInfo = sChannelInfo;
    }
    return kNumChannelConfigurations;
}

UInt32 TestEffectUnit::GetChannelLayoutTags(AudioUnitScope scope, AudioUnitElement, AudioChannelLayoutTag* outTags)
{
    if (scope != kAudioUnitScope_Output)
        return 0;
    if (outTags != nullptr)
        std::memcpy(outTags, kOutputTags, sizeof(kOutputTags));
    return sizeof(kOutputTags) / sizeof(kOutputTags[0]);
}

OSStatus TestEffectUnit::GetParameterInfo(AudioUnitScope scope, AudioUnitParameterID id, AudioUnitParameterInfo& info)
{
    if (scope != kAudioUnitScope_Global || id >= kNumParameters)
        return kAudioUnitErr_InvalidParameter;
    const char* name = id == kGain ? "Gain" : "Spare";
    std::strncpy(info.name, name, sizeof(info.name) - 1);
    info.minValue = 0.0f;
    info.maxValue = 2.0f;
    info.defaultValue = id == kGain ? 1.0f : 0.0f;
    info.flags = kAudioUnitParameterFlag_IsReadable | kAudioUnitParameterFlag_IsWritable;
    return 0;
}

OSStatus TestEffectUnit::GetPresets(CFArrayRef* outPresets) const
{
    if (outPresets == nullptr)
        return 0;
    CFMutableArrayRef array = CFArrayCreateMutable(nullptr, (CFIndex) mPresets.size(), nullptr);
    for (const auto& p : mPresets)
        CFArrayAppendValue(array, &p);
    *outPresets = array;
    return 0;
}

OSStatus TestEffectUnit::NewFactoryPresetSet(const AUPreset& preset)
{
    if (preset.presetNumber < 0 || (size_t) preset.presetNumber >= mPresets.size())
        return kAudioUnitErr_InvalidProperty;
    Globals0()->SetParameter(kGain, kFactoryPresets[preset.presetNumber].gain);
    SetAFactoryPresetAsCurrent(mPresets[(size_t) preset.presetNumber]);
    return 0;
}

OSStatus TestEffectUnit::GetPropertyInfo(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                                         UInt32& outDataSize, Boolean& outWritable)
{
    if (id == kAudioUnitProperty_RenderQuality && scope == kAudioUnitScope_Global)
    {
        outDataSize = sizeof(UInt32);
        outWritable = true;
        return 0;
    }
    return AUMIDIEffectBase::GetPropertyInfo(id, scope, element, outDataSize, outWritable);
}

OSStatus TestEffectUnit::GetProperty(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                                     void* outData)
{
    if (id == kAudioUnitProperty_RenderQuality && scope == kAudioUnitScope_Global)
    {
        std::memcpy(outData, &mRenderQuality, sizeof(mRenderQuality));
        return 0;
    }
    return AUMIDIEffectBase::GetProperty(id, scope, element, outData);
}

OSStatus TestEffectUnit::SetProperty(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                                     const void* inData, UInt32 inDataSize)
{
    if (id == kAudioUnitProperty_RenderQuality && scope == kAudioUnitScope_Global)
    {
        if (inDataSize != sizeof(UInt32))
            return kAudioUnitErr_InvalidPropertyValue;
        std::memcpy(&mRenderQuality, inData, sizeof(mRenderQuality));
        return 0;
    }
    return AUMIDIEffectBase::SetProperty(id, scope, element, inData, inDataSize);
}
