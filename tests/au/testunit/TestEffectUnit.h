// A small effect built on the Audio Unit bases, for tests only: a gain
// kernel per channel, the thirteen channel pairs of the plug-in, a few layout
// tags, two factory presets and a render-quality property, so that a test
// host can reach every base operation through the entries.
#pragma once

#include "AUMIDIEffectBase.h"

#include <vector>

class TestEffectUnit : public AUMIDIEffectBase
{
public:
    enum Parameter : AudioUnitParameterID
    {
        kGain = 0,   // linear, applied by every kernel
        kSpare = 1,  // stored only
        kNumParameters = 2
    };

    static constexpr UInt32 kDefaultRenderQuality = 64;

    explicit TestEffectUnit(AudioComponentInstance instance);
    ~TestEffectUnit() override;

    AUKernelBase* NewKernel() override;
    UInt32 SupportedNumChannels(const AUChannelInfo** outInfo) override;
    UInt32 GetChannelLayoutTags(AudioUnitScope scope, AudioUnitElement element, AudioChannelLayoutTag* outTags) override;
    OSStatus GetParameterInfo(AudioUnitScope scope, AudioUnitParameterID id, AudioUnitParameterInfo& outInfo) override;
    OSStatus GetPresets(CFArrayRef* outPresets) const override;
    OSStatus NewFactoryPresetSet(const AUPreset& preset) override;
    bool SupportsTail() override { return true; }
    Float64 GetTailTime() override { return 0.0; }

    OSStatus GetPropertyInfo(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                             UInt32& outDataSize, Boolean& outWritable) override;
    OSStatus GetProperty(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element, void* outData) override;
    OSStatus SetProperty(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element, const void* inData,
                         UInt32 inDataSize) override;

private:
    std::vector<AUPreset> mPresets; // names owned
    UInt32 mRenderQuality = kDefaultRenderQuality;
};
