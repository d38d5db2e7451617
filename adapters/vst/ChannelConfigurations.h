// The input/output channel counts the plug-in accepts, shared by the VST2 and
// Audio Unit adapters.
#pragma once

#include <cstdint>

struct ChannelConfiguration
{
    int16_t numIns;
    int16_t numOuts;
};

/** In the order they are stored; the pairs are distinct, so only the exact
    pair matters to a search. */
constexpr ChannelConfiguration kChannelConfigurations[] = {
    { 2, 2 }, { 2, 4 }, { 2, 6 }, { 2, 7 }, { 2, 8 },
    { 4, 2 }, { 6, 2 }, { 7, 2 }, { 8, 2 },
    { 4, 4 }, { 6, 6 }, { 7, 7 }, { 8, 8 }
};

constexpr int kNumChannelConfigurations = (int) (sizeof(kChannelConfigurations) / sizeof(kChannelConfigurations[0]));

static_assert(kNumChannelConfigurations == 13, "thirteen channel configurations");

/** The most channels any configuration has on one side. */
constexpr int kMaxConfiguredChannels = 8;

constexpr bool configurationsFitWithin(int maxChannels) noexcept
{
    for (const auto& c : kChannelConfigurations)
        if (c.numIns > maxChannels || c.numOuts > maxChannels)
            return false;
    return true;
}

// Channel arrays are sized by this bound, so a pair past it would overrun them.
static_assert(configurationsFitWithin(kMaxConfiguredChannels), "a configuration exceeds kMaxConfiguredChannels");
