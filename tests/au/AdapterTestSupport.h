// Driving the plug-in's unit as a host does: steady input signals from the
// host's render callback, initialisation with a channel pair, and blocks
// rendered into the host's buffers.
#pragma once

#include "AUTestHost.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

/** A steady level on every input channel, handed over by the host's input
    callback; channels past the list are silent. */
struct SteadyInput
{
    std::vector<float> levels;
    int pulls = 0;

    static OSStatus supply(void* self, AudioUnitRenderActionFlags*, const AudioTimeStamp*, UInt32, UInt32 frames,
                           AudioBufferList* list);
};

constexpr UInt32 kBlock = 512;          // frames per render
constexpr int kSettleBlocks = 16;       // 8192 frames: smoothers, filters and the LFE low-pass have settled

/** Input and output channel counts, the input callback, then initialise;
    the status of the first step that failed. */
OSStatus startUnit(HostUnit& unit, UInt32 ins, UInt32 outs, SteadyInput& input, Float64 rate = 44100.0);

/** Renders `blocks` blocks of kBlock frames into `out`, from sample time
    `sample` on (advanced); the first failing status, or 0. */
OSStatus renderBlocks(HostUnit& unit, ChannelBuffers& out, int blocks, Float64& sample);

/** Whether name is prefix followed by 1 to 16 lower-case hexadecimal digits
    (the text of a 64-bit random number). */
bool isPrefixThenHex(const std::string& name, const std::string& prefix);

/** A layout record that names a channel layout by its tag. */
AudioChannelLayout layoutWithTag(AudioChannelLayoutTag tag);

/** A test run once for each way in, with a unit of the module open. Hosts
    load plug-ins without a display too (scanners, render servers): these
    tests have none. */
class UnitTest : public ::testing::TestWithParam<Way>
{
protected:
    void SetUp() override;

    /** Another unit, the same way. */
    std::unique_ptr<HostUnit> open();

    std::unique_ptr<HostUnit> unit;
};
