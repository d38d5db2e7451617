// Host-side audio for tests: separate channels of one length, a buffer list
// that points at them, and time stamps.
#pragma once

#include "PlatformAudioUnit.h"

#include <vector>

class ChannelBuffers
{
public:
    ChannelBuffers(UInt32 channels, UInt32 frames, float fill = 0.0f);

    AudioBufferList* list() { return reinterpret_cast<AudioBufferList*>(storage.data()); }
    float* channel(UInt32 c) { return data[c].data(); }
    /** Points the list at nothing, asking the unit for its own memory. */
    void clearPointers();
    /** Points the list at the channels again, sizes as allocated. */
    void restorePointers();

private:
    UInt32 frames;
    std::vector<std::vector<float>> data;
    std::vector<unsigned char> storage; // the buffer list record
};

AudioTimeStamp sampleTime(Float64 sample);
