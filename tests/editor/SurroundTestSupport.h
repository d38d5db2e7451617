// Shared by the surround-controls tests: what the processor was asked to do,
// and a processor brought to an output layout the way the editor does it.
#pragma once

#include <JuceHeader.h>

#include "Quorvane2AudioProcessor.h"

#include <array>
#include <utility>
#include <vector>

namespace surroundtest
{
// Every parameter write the processor passes on to its host, in order.
class HostCalls : public juce::AudioProcessorListener
{
public:
    explicit HostCalls (juce::AudioProcessor& p) : processor (p) { processor.addListener (this); }
    ~HostCalls() override { processor.removeListener (this); }

    void audioProcessorParameterChanged (juce::AudioProcessor*, int index, float value) override
    {
        calls.emplace_back (index, value);
    }
    void audioProcessorChanged (juce::AudioProcessor*) override {}

    std::vector<std::pair<int, float>> calls;

private:
    juce::AudioProcessor& processor;
};

// Parameters 0 to 36 as the processor answers them now.
inline std::array<float, 37> Values (Quorvane2AudioProcessor& p)
{
    std::array<float, 37> v {};

    for (int i = 0; i < (int) v.size(); ++i)
        v[(size_t) i] = p.getParameter (i);

    return v;
}

// The indices whose values differ between two snapshots.
inline std::vector<int> Changed (const std::array<float, 37>& before, const std::array<float, 37>& after)
{
    std::vector<int> changed;

    for (size_t i = 0; i < before.size(); ++i)
        if (before[i] != after[i])
            changed.push_back ((int) i);

    return changed;
}

// Chooses the layout as the output panel does, lets the editor's refresh
// bring every listener up to date, and ends the fades at once.
inline void ApplyLayout (Quorvane2AudioProcessor& p, OutputStemFormat format)
{
    p.UISetOutputFormat (format);
    p.UpdateUI();
    juce::Desktop::getInstance().getAnimator().cancelAllAnimations (true);
}

struct Layout
{
    OutputStemFormat format;
    const char* name;
};

inline constexpr Layout layouts[] = {
    { kOutputFormatStereo, "STEREO" }, { kOutputFormat5_0, "5.0" }, { kOutputFormat5_1, "5.1" },
    { kOutputFormat6_0, "6.0" },       { kOutputFormat6_1, "6.1" }, { kOutputFormat7_0, "7.0" },
    { kOutputFormat7_1, "7.1" },       { kOutputFormatBFormat, "B FORMAT" },
};
} // namespace surroundtest
