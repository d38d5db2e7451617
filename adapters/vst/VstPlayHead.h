// Turns the host's transport record into the position record the processor
// reads through its play head.
#pragma once

#include "VstRecords.h"

#include <AudioPlayHead.h>

/** The frame-rate type and the divisor that turns an SMPTE offset (in
    eightieths of a frame) into seconds, for a host frame-rate code. */
struct SmpteRate
{
    juce::AudioPlayHead::FrameRateType type;
    double divisor;                         // 80 x frames per second
};

SmpteRate smpteRateForCode(int32_t code) noexcept;

/** Fills info from the host's record. False, with info untouched, when there
    is no record or its sample rate is not above 0. */
bool positionFromTimeInfo(const VstTimeInfo* timeInfo, juce::AudioPlayHead::CurrentPositionInfo& info) noexcept;
