// libFuzzer target: any blob handed to setStateInformation, under each of the
// wrapper types that load states differently (VST, Audio Unit, AAX).

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "AudioProcessor.h"
#include "StateBlobCheck.h"

namespace
{
Quorvane2AudioProcessor& ProcessorOfType(juce::AudioProcessor::WrapperType type)
{
    static std::unique_ptr<juce::AudioProcessor> vst(createPluginFilterOfType(juce::AudioProcessor::wrapperType_VST));
    static std::unique_ptr<juce::AudioProcessor> au(createPluginFilterOfType(juce::AudioProcessor::wrapperType_AudioUnit));
    static std::unique_ptr<juce::AudioProcessor> aax(createPluginFilterOfType(juce::AudioProcessor::wrapperType_AAX));

    auto* p = type == juce::AudioProcessor::wrapperType_VST ? vst.get()
            : type == juce::AudioProcessor::wrapperType_AudioUnit ? au.get() : aax.get();
    return static_cast<Quorvane2AudioProcessor&>(*p);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    for (auto type : { juce::AudioProcessor::wrapperType_VST, juce::AudioProcessor::wrapperType_AudioUnit,
                       juce::AudioProcessor::wrapperType_AAX })
    {
        const auto failure = StateBlobCheck::LoadAndCheck(ProcessorOfType(type), data, size);

        if (! failure.empty())
        {
            std::fprintf(stderr, "wrapper type %d: %s\n", static_cast<int>(type), failure.c_str());
            std::abort();
        }
    }

    return 0;
}
