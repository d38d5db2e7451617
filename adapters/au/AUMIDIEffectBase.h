// An effect that also takes MIDI: the effect base's audio and properties,
// with the MIDI base's calls and its property beside them.
#pragma once

#include "AUEffectBase.h"
#include "AUMIDIBase.h"

class AUMIDIEffectBase : public AUEffectBase, public AUMIDIBase
{
public:
    AUMIDIEffectBase(AudioComponentInstance instance, bool processesInPlace = false);

    /** The effect base's answer; its -10879 goes on to the MIDI base. */
    OSStatus GetPropertyInfo(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                             UInt32& outDataSize, Boolean& outWritable) override;
    /** Fast dispatch 257 gives the MIDI entry; otherwise as GetPropertyInfo. */
    OSStatus GetProperty(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element, void* outData) override;
    OSStatus SetProperty(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element, const void* inData,
                         UInt32 inDataSize) override;

    /** The MIDI side's versions. */
    OSStatus MIDIEvent(UInt32 status, UInt32 data1, UInt32 data2, UInt32 offset) override
    {
        return AUMIDIBase::MIDIEvent(status, data1, data2, offset);
    }
    OSStatus SysEx(const UInt8* data, UInt32 length) override { return AUMIDIBase::SysEx(data, length); }

    /** 257 and 258 to the MIDI side, everything else to AUBase's chain. */
    static OSStatus ComponentEntryDispatch(ComponentParameters* params, AUMIDIEffectBase* object);
};
