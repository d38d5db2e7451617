#pragma once

#include <cstdint>

/** Output layout code. 1-8 are the engine's array type plus 1; 0 only records
    that the host has not fixed a layout yet. */
enum OutputStemFormat : int32_t
{
    kOutputFormatNotSet  = 0,
    kOutputFormatStereo  = 1,
    kOutputFormat5_0     = 2,
    kOutputFormat5_1     = 3,
    kOutputFormat6_0     = 4,
    kOutputFormat6_1     = 5,
    kOutputFormat7_0     = 6,
    kOutputFormat7_1     = 7,
    kOutputFormatBFormat = 8
};

/** How the processor tells the editor and its panels what changed.
    Called on the message thread only (from UpdateUI, FullUIUpdate, createEditor). */
class QuorvaneListener
{
public:
    virtual ~QuorvaneListener() = default;

    virtual void ParameterChangedFloat(int /*index*/, float /*value*/) {}
    virtual void OutputMeterChanged(int /*index*/, float /*value*/) {}
    virtual void InputMeterChanged(int /*index*/, float /*value*/) {}
    virtual void HostHasSetOutputFormat(OutputStemFormat /*format*/) {}
};
