// A unit's calls to another unit: found through the other unit's plug-in
// interface record, exactly as a host calls it.
#include "PlatformAudioUnit.h"

namespace
{
AudioComponentMethod lookUp(AudioUnit unit, SInt16 selector) noexcept
{
    auto* iface = reinterpret_cast<const AudioComponentPlugInInterface*>(unit);
    if (iface->Lookup == nullptr)
        return nullptr;
    return iface->Lookup(selector);
}

using GetPropertyMethod = OSStatus (*)(void*, AudioUnitPropertyID, AudioUnitScope, AudioUnitElement, void*, UInt32*);
using RenderMethod = OSStatus (*)(void*, AudioUnitRenderActionFlags*, const AudioTimeStamp*, UInt32, UInt32,
                                  AudioBufferList*);
} // namespace

extern "C" {

// Any thread.
OSStatus AudioUnitGetProperty(AudioUnit unit, AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                              void* outData, UInt32* ioDataSize)
{
    if (unit == nullptr || ioDataSize == nullptr)
        return kAudio_ParamError;
    auto method = reinterpret_cast<GetPropertyMethod>(lookUp(unit, kAudioUnitGetPropertySelect));
    if (method == nullptr)
        return badComponentSelector;
    return method(unit, id, scope, element, outData, ioDataSize);
}

// Render thread.
OSStatus AudioUnitRender(AudioUnit unit, AudioUnitRenderActionFlags* ioActionFlags, const AudioTimeStamp* timeStamp,
                         UInt32 outputBusNumber, UInt32 numberFrames, AudioBufferList* ioData)
{
    if (unit == nullptr)
        return kAudio_ParamError;
    auto method = reinterpret_cast<RenderMethod>(lookUp(unit, kAudioUnitRenderSelect));
    if (method == nullptr)
        return badComponentSelector;
    return method(unit, ioActionFlags, timeStamp, outputBusNumber, numberFrames, ioData);
}

} // extern "C"
