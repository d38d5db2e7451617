#include "AUMIDIBase.h"

#include "ComponentArguments.h"

#include <cstring>

namespace
{
// Controller numbers that are channel-mode messages.
constexpr UInt8 kAllSoundOff = 120;
constexpr UInt8 kResetAllControllers = 121;
constexpr UInt8 kAllNotesOff = 123;

// The MIDI name document lives at global scope, element 0 only.
OSStatus checkNameDocumentAddress(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element) noexcept
{
    if (id != kMusicDeviceProperty_MIDIXMLNames)
        return kAudioUnitErr_InvalidProperty;
    if (scope != kAudioUnitScope_Global)
        return kAudioUnitErr_InvalidScope;
    if (element != 0)
        return kAudioUnitErr_InvalidElement;
    return 0;
}
} // namespace

OSStatus AUMIDIBase::MIDIEvent(UInt32 status, UInt32 data1, UInt32 data2, UInt32 offset)
{
    return HandleMidiEvent(UInt8(status & 0xF0), UInt8(status & 0x0F), UInt8(data1), UInt8(data2), offset);
}

OSStatus AUMIDIBase::SysEx(const UInt8* data, UInt32 length)
{
    if (! mAUBaseInstance.IsInitialized())
        return kAudioUnitErr_Uninitialized;
    return HandleSysEx(data, length);
}

OSStatus AUMIDIBase::HandleMidiEvent(UInt8 status, UInt8 channel, UInt8 data1, UInt8 data2, UInt32 offset)
{
    if (! mAUBaseInstance.IsInitialized())
        return kAudioUnitErr_Uninitialized;

    switch (status)
    {
        case 0x80:
            return HandleNoteOff(channel, data1, data2, offset);
        case 0x90:
            if (data2 > 0)
                return HandleNoteOn(channel, data1, data2, offset);
            return HandleNoteOff(channel, data1, 0, offset);
        default:
            return HandleNonNoteEvent(status, channel, data1, data2, offset);
    }
}

OSStatus AUMIDIBase::HandleNonNoteEvent(UInt8 status, UInt8 channel, UInt8 data1, UInt8 data2, UInt32 offset)
{
    switch (status)
    {
        case 0xA0:
            return HandlePolyPressure(channel, data1, data2, offset);
        case 0xB0:
            switch (data1)
            {
                case kAllSoundOff: return HandleAllSoundOff(channel);
                case kResetAllControllers: return HandleResetAllControllers(channel);
                case kAllNotesOff: return HandleAllNotesOff(channel);
                default: return HandleControlChange(channel, data1, data2, offset);
            }
        case 0xC0:
            return HandleProgramChange(channel, data1);
        case 0xD0:
            return HandleChannelPressure(channel, data1, offset);
        case 0xE0:
            return HandlePitchWheel(channel, data1, data2, offset);
        default:
            return 0;
    }
}

OSStatus AUMIDIBase::DelegateGetPropertyInfo(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                                             UInt32& outDataSize, Boolean& outWritable)
{
    const OSStatus address = checkNameDocumentAddress(id, scope, element);
    if (address != 0)
        return address;

    CFURLRef url = nullptr;
    if (GetXMLNames(&url) != 0)
        return kAudioUnitErr_InvalidProperty;
    if (url != nullptr)
        CFRelease(url);
    outDataSize = sizeof(CFURLRef);
    outWritable = false;
    return 0;
}

OSStatus AUMIDIBase::DelegateGetProperty(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                                         void* outData)
{
    const OSStatus address = checkNameDocumentAddress(id, scope, element);
    if (address != 0)
        return address;

    CFURLRef url = nullptr;
    const OSStatus result = GetXMLNames(&url);
    if (result == 0)
        std::memcpy(outData, &url, sizeof(url));
    return result;
}

OSStatus AUMIDIBase::DelegateSetProperty(AudioUnitPropertyID, AudioUnitScope, AudioUnitElement, const void*, UInt32)
{
    return kAudioUnitErr_InvalidProperty;
}

OSStatus AUMIDIBase::ComponentEntryDispatch(ComponentParameters* params, AUMIDIBase* object)
{
    if (object == nullptr || params == nullptr)
        return kAudio_ParamError;

    const ComponentArguments args(*params);
    switch (args.Selector())
    {
        case kMusicDeviceMIDIEventSelect:
            if (! args.Carries(4))
                return kAudio_ParamError;
            return object->MIDIEvent(args.Get<UInt32>(0), args.Get<UInt32>(1), args.Get<UInt32>(2),
                                     args.Get<UInt32>(3));
        case kMusicDeviceSysExSelect:
            if (! args.Carries(2))
                return kAudio_ParamError;
            return object->SysEx(args.Get<const UInt8*>(0), args.Get<UInt32>(1));
        default:
            return badComponentSelector;
    }
}
