// What an output channel strip tells its owner: trim moves, mute and solo
// presses, as the strip's key and the new state.
#pragma once

class OutputChannelStripListener
{
public:
    virtual ~OutputChannelStripListener() = default;

    virtual void ResetToDefault (int /*stripId*/) {}
    virtual void TrimChanged (int /*stripId*/, int /*sliderValue*/) {}
    virtual void MuteChanged (int /*stripId*/, bool /*on*/) {}
    virtual void SoloChanged (int /*stripId*/, bool /*on*/) {}
};
