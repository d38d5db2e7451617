#include "AUMIDIEffectBase.h"

#include "AUFastDispatch.h"
#include "CAXException.h"

#include <cstring>

AUMIDIEffectBase::AUMIDIEffectBase(AudioComponentInstance instance, bool processesInPlace)
    : AUEffectBase(instance, processesInPlace), AUMIDIBase(this)
{
}

OSStatus AUMIDIEffectBase::GetPropertyInfo(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                                           UInt32& outDataSize, Boolean& outWritable)
{
    const OSStatus result = AUEffectBase::GetPropertyInfo(id, scope, element, outDataSize, outWritable);
    if (result == kAudioUnitErr_InvalidProperty)
        return DelegateGetPropertyInfo(id, scope, element, outDataSize, outWritable);
    return result;
}

OSStatus AUMIDIEffectBase::GetProperty(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                                       void* outData)
{
    if (id == kAudioUnitProperty_FastDispatch)
    {
        if (element != kMusicDeviceMIDIEventSelect)
            return kAudioUnitErr_InvalidElement;
        const MusicDeviceMIDIEventProc function = AUMIDIEffectBaseMIDIEvent;
        std::memcpy(outData, &function, sizeof(function));
        return 0;
    }
    const OSStatus result = AUEffectBase::GetProperty(id, scope, element, outData);
    if (result == kAudioUnitErr_InvalidProperty)
        return DelegateGetProperty(id, scope, element, outData);
    return result;
}

OSStatus AUMIDIEffectBase::SetProperty(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                                       const void* inData, UInt32 inDataSize)
{
    const OSStatus result = AUEffectBase::SetProperty(id, scope, element, inData, inDataSize);
    if (result == kAudioUnitErr_InvalidProperty)
        return DelegateSetProperty(id, scope, element, inData, inDataSize);
    return result;
}

OSStatus AUMIDIEffectBase::ComponentEntryDispatch(ComponentParameters* params, AUMIDIEffectBase* object)
{
    if (object == nullptr || params == nullptr)
        return kAudio_ParamError;
    switch (params->what)
    {
        case kMusicDeviceMIDIEventSelect:
        case kMusicDeviceSysExSelect:
            return AUMIDIBase::ComponentEntryDispatch(params, object);
        default:
            return AUBase::ComponentEntryDispatch(params, object);
    }
}

// Render thread.
OSStatus AUMIDIEffectBaseMIDIEvent(void* object, UInt32 status, UInt32 data1, UInt32 data2, UInt32 offset)
{
    if (object == nullptr)
        return kAudio_ParamError;
    auto* unit = static_cast<AUMIDIEffectBase*>(static_cast<AUBase*>(object));
    return AUCatchAll([&] {
        return unit->HandleMidiEvent(UInt8(status & 0xF0), UInt8(status & 0x0F), UInt8(data1 & 0xFF),
                                     UInt8(data2 & 0xFF), offset);
    });
}
