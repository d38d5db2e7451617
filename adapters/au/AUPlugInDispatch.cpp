#include "AUPlugInDispatch.h"

#include "CAXException.h"
#include "ComponentInitLocker.h"

#include <cstdlib>

// ---- Open and Close ----------------------------------------------------------

OSStatus ComponentBase::AP_Open(void* self, AudioComponentInstance instance)
{
    if (self == nullptr)
        return kAudio_ParamError;
    auto* block = static_cast<AUPlugInInstance*>(self);
    ComponentBase* object = nullptr;

    const OSStatus status = AUCatchAll([&] {
        ComponentInitLocker lock;
        ScopedNewInstanceType type(kAudioComponentInstance);
        object = block->mConstruct(InstanceStorage(self), instance);
        object->PostConstructor();
        return OSStatus(0);
    });

    if (status != 0)
    {
        // A half-made object is taken down before its memory goes.
        if (object != nullptr)
            block->mDestruct(InstanceStorage(self));
        std::free(self);
    }
    return status;
}

OSStatus ComponentBase::AP_Close(void* self)
{
    if (self == nullptr)
        return kAudio_ParamError;
    auto* block = static_cast<AUPlugInInstance*>(self);

    const OSStatus status = AUCatchAll([&] {
        static_cast<ComponentBase*>(InstanceStorage(self))->PreDestructor();
        return OSStatus(0);
    });
    // The object goes whatever its clean-up says: the host will not call again.
    block->mDestruct(InstanceStorage(self));
    std::free(self);
    return status;
}

// ---- The method functions ------------------------------------------------------
// Each takes the instance block first, reaches the object at offset 64 and
// makes one call; a null block is -50 and nothing thrown gets out.

namespace
{
template <class Body>
OSStatus withObject(void* self, Body&& body) noexcept
{
    if (self == nullptr)
        return kAudio_ParamError;
    AUBase* object = InstanceObject(self);
    return AUCatchAll([&] { return body(*object); });
}

// Host main thread.
OSStatus AUMethodInitialize(void* self)
{
    return withObject(self, [](AUBase& au) { return au.DoInitialize(); });
}

// Host main thread.
OSStatus AUMethodUninitialize(void* self)
{
    return withObject(self, [](AUBase& au) {
        au.DoCleanup();
        return OSStatus(0);
    });
}

// Any thread.
OSStatus AUMethodGetPropertyInfo(void* self, AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                                 UInt32* outDataSize, Boolean* outWritable)
{
    return withObject(self, [&](AUBase& au) { return au.HostGetPropertyInfo(id, scope, element, outDataSize, outWritable); });
}

// Any thread.
OSStatus AUMethodGetProperty(void* self, AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                             void* outData, UInt32* ioDataSize)
{
    return withObject(self, [&](AUBase& au) { return au.HostGetProperty(id, scope, element, outData, ioDataSize); });
}

// Host main thread.
OSStatus AUMethodSetProperty(void* self, AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                             const void* inData, UInt32 inDataSize)
{
    return withObject(self, [&](AUBase& au) { return au.HostSetProperty(id, scope, element, inData, inDataSize); });
}

// Any thread.
OSStatus AUMethodGetParameter(void* self, AudioUnitParameterID id, AudioUnitScope scope, AudioUnitElement element,
                              AudioUnitParameterValue* outValue)
{
    return withObject(self, [&](AUBase& au) {
        if (outValue == nullptr)
            return OSStatus(kAudio_ParamError);
        return au.GetParameter(id, scope, element, *outValue);
    });
}

// Any thread.
OSStatus AUMethodSetParameter(void* self, AudioUnitParameterID id, AudioUnitScope scope, AudioUnitElement element,
                              AudioUnitParameterValue value, UInt32 bufferOffset)
{
    return withObject(self, [&](AUBase& au) { return au.SetParameter(id, scope, element, value, bufferOffset); });
}

// Host main thread. Unlike the component entry, this leaves the render time
// stamp to Reset itself.
OSStatus AUMethodReset(void* self, AudioUnitScope scope, AudioUnitElement element)
{
    return withObject(self, [&](AUBase& au) { return au.Reset(scope, element); });
}

// Host main thread.
OSStatus AUMethodAddPropertyListener(void* self, AudioUnitPropertyID id, AudioUnitPropertyListenerProc proc,
                                     void* userData)
{
    return withObject(self, [&](AUBase& au) { return au.AddPropertyListener(id, proc, userData); });
}

// Host main thread.
OSStatus AUMethodRemovePropertyListener(void* self, AudioUnitPropertyID id, AudioUnitPropertyListenerProc proc)
{
    return withObject(self, [&](AUBase& au) { return au.RemovePropertyListener(id, proc, nullptr, false); });
}

// Host main thread.
OSStatus AUMethodRemovePropertyListenerWithUserData(void* self, AudioUnitPropertyID id,
                                                    AudioUnitPropertyListenerProc proc, void* userData)
{
    return withObject(self, [&](AUBase& au) { return au.RemovePropertyListener(id, proc, userData, true); });
}

// Render thread.
OSStatus AUMethodRender(void* self, AudioUnitRenderActionFlags* ioFlags, const AudioTimeStamp* timeStamp, UInt32 bus,
                        UInt32 frames, AudioBufferList* ioData)
{
    return withObject(self, [&](AUBase& au) { return au.HostRender(ioFlags, timeStamp, bus, frames, ioData); });
}

// Any thread.
OSStatus AUMethodAddRenderNotify(void* self, AURenderCallback proc, void* userData)
{
    return withObject(self, [&](AUBase& au) { return au.SetRenderNotification(proc, userData); });
}

// Any thread.
OSStatus AUMethodRemoveRenderNotify(void* self, AURenderCallback proc, void* userData)
{
    return withObject(self, [&](AUBase& au) { return au.RemoveRenderNotification(proc, userData); });
}

// The thread that renders, between render calls.
OSStatus AUMethodScheduleParameters(void* self, const AudioUnitParameterEvent* events, UInt32 count)
{
    return withObject(self, [&](AUBase& au) { return au.ScheduleParameter(events, count); });
}

template <class F>
AudioComponentMethod method(F function) noexcept
{
    return reinterpret_cast<AudioComponentMethod>(function);
}
} // namespace

AudioComponentMethod AUBaseLookup::Lookup(SInt16 selector)
{
    switch (selector)
    {
        case kAudioUnitInitializeSelect: return method(AUMethodInitialize);
        case kAudioUnitUninitializeSelect: return method(AUMethodUninitialize);
        case kAudioUnitGetPropertyInfoSelect: return method(AUMethodGetPropertyInfo);
        case kAudioUnitGetPropertySelect: return method(AUMethodGetProperty);
        case kAudioUnitSetPropertySelect: return method(AUMethodSetProperty);
        case kAudioUnitGetParameterSelect: return method(AUMethodGetParameter);
        case kAudioUnitSetParameterSelect: return method(AUMethodSetParameter);
        case kAudioUnitResetSelect: return method(AUMethodReset);
        case kAudioUnitAddPropertyListenerSelect: return method(AUMethodAddPropertyListener);
        case kAudioUnitRemovePropertyListenerSelect: return method(AUMethodRemovePropertyListener);
        case kAudioUnitRenderSelect: return method(AUMethodRender);
        case kAudioUnitAddRenderNotifySelect: return method(AUMethodAddRenderNotify);
        case kAudioUnitRemoveRenderNotifySelect: return method(AUMethodRemoveRenderNotify);
        case kAudioUnitScheduleParametersSelect: return method(AUMethodScheduleParameters);
        case kAudioUnitRemovePropertyListenerWithUserDataSelect: return method(AUMethodRemovePropertyListenerWithUserData);
        default: return nullptr;
    }
}
