#include "AdapterTestSupport.h"

#include <cstdlib>

OSStatus SteadyInput::supply(void* self, AudioUnitRenderActionFlags*, const AudioTimeStamp*, UInt32, UInt32 frames,
                             AudioBufferList* list)
{
    auto& input = *static_cast<SteadyInput*>(self);
    ++input.pulls;
    for (UInt32 c = 0; c < list->mNumberBuffers; ++c)
    {
        const float level = c < input.levels.size() ? input.levels[c] : 0.0f;
        auto* samples = static_cast<float*>(list->mBuffers[c].mData);
        for (UInt32 j = 0; j < frames; ++j)
            samples[j] = level;
    }
    return 0;
}

OSStatus startUnit(HostUnit& unit, UInt32 ins, UInt32 outs, SteadyInput& input, Float64 rate)
{
    if (OSStatus s = unit.setChannels(kAudioUnitScope_Input, ins, rate))
        return s;
    if (OSStatus s = unit.setChannels(kAudioUnitScope_Output, outs, rate))
        return s;
    if (OSStatus s = unit.setInputCallback(&SteadyInput::supply, &input))
        return s;
    return unit.initialize();
}

OSStatus renderBlocks(HostUnit& unit, ChannelBuffers& out, int blocks, Float64& sample)
{
    for (int b = 0; b < blocks; ++b)
    {
        AudioUnitRenderActionFlags flags = 0;
        const AudioTimeStamp time = sampleTime(sample);
        out.restorePointers();
        if (OSStatus s = unit.render(&flags, &time, 0, kBlock, out.list()))
            return s;
        sample += kBlock;
    }
    return 0;
}

AudioChannelLayout layoutWithTag(AudioChannelLayoutTag tag)
{
    AudioChannelLayout layout {};
    layout.mChannelLayoutTag = tag;
    return layout;
}

bool isPrefixThenHex(const std::string& name, const std::string& prefix)
{
    if (name.compare(0, prefix.size(), prefix) != 0)
        return false;
    const std::string digits = name.substr(prefix.size());
    return ! digits.empty() && digits.size() <= 16
           && digits.find_first_not_of("0123456789abcdef") == std::string::npos;
}

void UnitTest::SetUp()
{
    unsetenv("DISPLAY");
    ASSERT_TRUE(testPluginModule().isLoaded()) << testPluginModule().error();
    unit = open();
    ASSERT_NE(unit, nullptr);
}

std::unique_ptr<HostUnit> UnitTest::open()
{
    OSStatus s = 0;
    auto u = openUnit(GetParam(), &s);
    EXPECT_EQ(s, 0) << "open";
    return u;
}
