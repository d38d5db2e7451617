// The functions a host may call directly, without the selector switch, once
// it has read them from the fast-dispatch property. They take the unit's
// object, not its handle; each does the null checks listed and one call, and
// never lets an exception out.
#pragma once

#include "PlatformAudioUnit.h"

// Any thread.
OSStatus CMgr_AudioUnitBaseGetParameter(void* object, AudioUnitParameterID id, AudioUnitScope scope,
                                        AudioUnitElement element, AudioUnitParameterValue* outValue);
// Any thread.
OSStatus CMgr_AudioUnitBaseSetParameter(void* object, AudioUnitParameterID id, AudioUnitScope scope,
                                        AudioUnitElement element, AudioUnitParameterValue value, UInt32 bufferOffset);
// Render thread.
OSStatus CMgr_AudioUnitBaseRender(void* object, AudioUnitRenderActionFlags* ioFlags, const AudioTimeStamp* timeStamp,
                                  UInt32 bus, UInt32 frames, AudioBufferList* ioData);
// Render thread.
OSStatus AUMIDIEffectBaseMIDIEvent(void* object, UInt32 status, UInt32 data1, UInt32 data2, UInt32 offset);
