// The stem configurations the plug-in offers an AAX host, and what a stem
// means to the processor: how many channels it carries and which output
// layout it selects.
#pragma once

#include "AAX.h"

#include <QuorvaneListener.h>

#include <cstddef>
#include <cstdint>

namespace AAXClasses
{
/** One native component of the effect: four microphone signals in, one
    speaker layout (or B-format on a quad stem) out. */
struct ChannelConfig
{
    uint32_t inputStem;
    uint32_t outputStem;
    uint32_t reserved;   // 0
};

constexpr size_t kNumChannelConfigs = 8;

constexpr ChannelConfig channelConfigs[kNumChannelConfigs] = {
    { AAX_eStemFormat_Quad, AAX_eStemFormat_Stereo, 0 },
    { AAX_eStemFormat_Quad, AAX_eStemFormat_Quad, 0 },      // carrying B-format
    { AAX_eStemFormat_Quad, AAX_eStemFormat_5_0, 0 },
    { AAX_eStemFormat_Quad, AAX_eStemFormat_5_1, 0 },
    { AAX_eStemFormat_Quad, AAX_eStemFormat_6_0, 0 },
    { AAX_eStemFormat_Quad, AAX_eStemFormat_6_1, 0 },
    { AAX_eStemFormat_Quad, AAX_eStemFormat_7_0_DTS, 0 },
    { AAX_eStemFormat_Quad, AAX_eStemFormat_7_1_DTS, 0 },
};

/** The most channels any stem here carries (7.1). */
constexpr int kMaxStemChannels = 8;

/** Channels of a stem; 0 for one these tables do not know ("none" included). */
constexpr int channelCountOfStem(uint32_t stem) noexcept
{
    switch (stem)
    {
        case AAX_eStemFormat_Mono: return 1;
        case AAX_eStemFormat_Stereo: return 2;
        case AAX_eStemFormat_LCR: return 3;
        case AAX_eStemFormat_Quad: return 4;
        case AAX_eStemFormat_5_0: return 5;
        case AAX_eStemFormat_5_1: return 6;
        case AAX_eStemFormat_6_0: return 6;
        case AAX_eStemFormat_6_1: return 7;
        case AAX_eStemFormat_7_0_DTS: return 7;
        case AAX_eStemFormat_7_1_DTS: return 8;
        default: return 0;
    }
}

/** The output layout an output stem selects; stereo for every stem the
    table does not know, so the engine always has a layout it can index. */
constexpr OutputStemFormat outputFormatOfStem(uint32_t stem) noexcept
{
    switch (stem)
    {
        case AAX_eStemFormat_Quad: return kOutputFormatBFormat;
        case AAX_eStemFormat_5_0: return kOutputFormat5_0;
        case AAX_eStemFormat_5_1: return kOutputFormat5_1;
        case AAX_eStemFormat_6_0: return kOutputFormat6_0;
        case AAX_eStemFormat_6_1: return kOutputFormat6_1;
        case AAX_eStemFormat_7_0_DTS: return kOutputFormat7_0;
        case AAX_eStemFormat_7_1_DTS: return kOutputFormat7_1;
        default: return kOutputFormatStereo;
    }
}

static_assert(channelCountOfStem(AAX_eStemFormat_None) == 0, "no stem, no channels");
} // namespace AAXClasses
