// Turns MIDI channel messages and system-exclusive data into handler calls.
// A second base, beside the unit's AUBase line, that serves that unit.
#pragma once

#include "AUBase.h"

class AUMIDIBase
{
public:
    explicit AUMIDIBase(AUBase* base) noexcept : mAUBaseInstance(*base) {}
    virtual ~AUMIDIBase() = default;

    AUMIDIBase(const AUMIDIBase&) = delete;
    AUMIDIBase& operator=(const AUMIDIBase&) = delete;

    // Render thread (MIDI arrives between render calls).
    /** Splits the status byte into message and channel; data bytes as 8-bit. */
    virtual OSStatus MIDIEvent(UInt32 status, UInt32 data1, UInt32 data2, UInt32 offset);
    /** -10867 before initialisation. */
    virtual OSStatus SysEx(const UInt8* data, UInt32 length);

    // Host main thread: the MIDI name document property (1006), global scope,
    // element 0, when GetXMLNames answers.
    virtual OSStatus DelegateGetPropertyInfo(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                                             UInt32& outDataSize, Boolean& outWritable);
    virtual OSStatus DelegateGetProperty(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                                         void* outData);
    virtual OSStatus DelegateSetProperty(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                                         const void* inData, UInt32 inDataSize);

    /** -10867 before initialisation; note-on with velocity 0 is a note-off. */
    virtual OSStatus HandleMidiEvent(UInt8 status, UInt8 channel, UInt8 data1, UInt8 data2, UInt32 offset);
    virtual OSStatus HandleNonNoteEvent(UInt8 status, UInt8 channel, UInt8 data1, UInt8 data2, UInt32 offset);
    virtual OSStatus GetXMLNames(CFURLRef* outName) { (void) outName; return kAudioUnitErr_InvalidProperty; }
    virtual OSStatus HandleNoteOn(UInt8, UInt8, UInt8, UInt32) { return 0; }
    virtual OSStatus HandleNoteOff(UInt8, UInt8, UInt8, UInt32) { return 0; }
    virtual OSStatus HandleControlChange(UInt8, UInt8, UInt8, UInt32) { return 0; }
    virtual OSStatus HandlePitchWheel(UInt8, UInt8, UInt8, UInt32) { return 0; }
    virtual OSStatus HandleChannelPressure(UInt8, UInt8, UInt32) { return 0; }
    virtual OSStatus HandleProgramChange(UInt8, UInt8) { return 0; }
    virtual OSStatus HandlePolyPressure(UInt8, UInt8, UInt8, UInt32) { return 0; }
    virtual OSStatus HandleResetAllControllers(UInt8) { return 0; }
    virtual OSStatus HandleAllNotesOff(UInt8) { return 0; }
    virtual OSStatus HandleAllSoundOff(UInt8) { return 0; }
    virtual OSStatus HandleSysEx(const UInt8*, UInt32) { return 0; }

    /** Selectors 257 (MIDI event) and 258 (system exclusive); anything else
        0x80008002. */
    static OSStatus ComponentEntryDispatch(ComponentParameters* params, AUMIDIBase* object);

protected:
    AUBase& mAUBaseInstance;
};
