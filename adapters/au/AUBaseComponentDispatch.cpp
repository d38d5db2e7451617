// AUBase: the component entry's selectors, and the fast-dispatch functions.
#include "AUBase.h"

#include "AUFastDispatch.h"
#include "CAXException.h"
#include "ComponentArguments.h"

namespace
{
// Argument slots each selector reads; a block with fewer is refused.
unsigned argumentsOf(SInt16 selector) noexcept
{
    switch (selector)
    {
        case kAudioUnitGetPropertyInfoSelect:
        case kAudioUnitGetPropertySelect:
        case kAudioUnitSetPropertySelect:
        case kAudioUnitSetParameterSelect:
        case kAudioUnitRenderSelect:
            return 5;
        case kAudioUnitGetParameterSelect:
            return 4;
        case kAudioUnitAddPropertyListenerSelect:
        case kAudioUnitRemovePropertyListenerWithUserDataSelect:
            return 3;
        case kAudioUnitResetSelect:
        case kAudioUnitAddRenderNotifySelect:
        case kAudioUnitRemoveRenderNotifySelect:
        case kAudioUnitScheduleParametersSelect:
            return 2;
        default:
            return 0;
    }
}
} // namespace

OSStatus AUBase::ComponentEntryDispatch(ComponentParameters* params, AUBase* object)
{
    if (object == nullptr || params == nullptr)
        return kAudio_ParamError;

    const ComponentArguments args(*params);
    const SInt16 selector = args.Selector();
    if (! args.Carries(argumentsOf(selector)))
        return kAudio_ParamError;

    switch (selector)
    {
        case kAudioUnitInitializeSelect:
            return object->DoInitialize();

        case kAudioUnitUninitializeSelect:
            object->DoCleanup();
            return 0;

        case kAudioUnitGetPropertyInfoSelect:
            return object->HostGetPropertyInfo(args.Get<UInt32>(0), args.Get<UInt32>(1), args.Get<UInt32>(2),
                                               args.Get<UInt32*>(3), args.Get<Boolean*>(4));

        case kAudioUnitGetPropertySelect:
            return object->HostGetProperty(args.Get<UInt32>(0), args.Get<UInt32>(1), args.Get<UInt32>(2),
                                           args.Get<void*>(3), args.Get<UInt32*>(4));

        case kAudioUnitSetPropertySelect:
            return object->HostSetProperty(args.Get<UInt32>(0), args.Get<UInt32>(1), args.Get<UInt32>(2),
                                           args.Get<const void*>(3), args.Get<UInt32>(4));

        case kAudioUnitGetParameterSelect:
        {
            auto* value = args.Get<AudioUnitParameterValue*>(3);
            if (value == nullptr)
                return kAudio_ParamError;
            return object->GetParameter(args.Get<UInt32>(0), args.Get<UInt32>(1), args.Get<UInt32>(2), *value);
        }

        case kAudioUnitSetParameterSelect:
            return object->SetParameter(args.Get<UInt32>(0), args.Get<UInt32>(1), args.Get<UInt32>(2),
                                        args.Get<Float32>(3), args.Get<UInt32>(4));

        case kAudioUnitResetSelect:
            object->ResetRenderTime();
            return object->Reset(args.Get<UInt32>(0), args.Get<UInt32>(1));

        case kAudioUnitAddPropertyListenerSelect:
            return object->AddPropertyListener(args.Get<UInt32>(0), args.Get<AudioUnitPropertyListenerProc>(1),
                                               args.Get<void*>(2));

        case kAudioUnitRenderSelect:
            return object->HostRender(args.Get<AudioUnitRenderActionFlags*>(0), args.Get<const AudioTimeStamp*>(1),
                                      args.Get<UInt32>(2), args.Get<UInt32>(3), args.Get<AudioBufferList*>(4));

        case kAudioUnitAddRenderNotifySelect:
            return object->SetRenderNotification(args.Get<AURenderCallback>(0), args.Get<void*>(1));

        case kAudioUnitRemoveRenderNotifySelect:
            return object->RemoveRenderNotification(args.Get<AURenderCallback>(0), args.Get<void*>(1));

        case kAudioUnitScheduleParametersSelect:
            if (object->AudioUnitAPIVersion() < 2)
                return badComponentSelector;
            return object->ScheduleParameter(args.Get<const AudioUnitParameterEvent*>(0), args.Get<UInt32>(1));

        case kAudioUnitRemovePropertyListenerWithUserDataSelect:
            return object->RemovePropertyListener(args.Get<UInt32>(0), args.Get<AudioUnitPropertyListenerProc>(1),
                                                  args.Get<void*>(2), true);

        case kComponentCanDoSelect:
            switch (GetSelectorForCanDo(params))
            {
                case kAudioUnitInitializeSelect:
                case kAudioUnitUninitializeSelect:
                case kAudioUnitGetPropertyInfoSelect:
                case kAudioUnitGetPropertySelect:
                case kAudioUnitSetPropertySelect:
                case kAudioUnitGetParameterSelect:
                case kAudioUnitSetParameterSelect:
                case kAudioUnitResetSelect:
                case kAudioUnitAddPropertyListenerSelect:
                    return 1;
                case kAudioUnitRenderSelect:
                case kAudioUnitAddRenderNotifySelect:
                case kAudioUnitRemoveRenderNotifySelect:
                case kAudioUnitScheduleParametersSelect:
                case kAudioUnitRemovePropertyListenerWithUserDataSelect:
                    return object->AudioUnitAPIVersion() > 1 ? 1 : 0;
                default:
                    return ComponentBase::ComponentEntryDispatch(params, object);
            }

        default:
            return ComponentBase::ComponentEntryDispatch(params, object);
    }
}

OSStatus CMgr_AudioUnitBaseGetParameter(void* object, AudioUnitParameterID id, AudioUnitScope scope,
                                        AudioUnitElement element, AudioUnitParameterValue* outValue)
{
    if (object == nullptr || outValue == nullptr)
        return kAudio_ParamError;
    return AUCatchAll([&] { return static_cast<AUBase*>(object)->GetParameter(id, scope, element, *outValue); });
}

OSStatus CMgr_AudioUnitBaseSetParameter(void* object, AudioUnitParameterID id, AudioUnitScope scope,
                                        AudioUnitElement element, AudioUnitParameterValue value, UInt32 bufferOffset)
{
    if (object == nullptr)
        return kAudio_ParamError;
    return AUCatchAll(
        [&] { return static_cast<AUBase*>(object)->SetParameter(id, scope, element, value, bufferOffset); });
}

OSStatus CMgr_AudioUnitBaseRender(void* object, AudioUnitRenderActionFlags* ioFlags, const AudioTimeStamp* timeStamp,
                                  UInt32 bus, UInt32 frames, AudioBufferList* ioData)
{
    if (object == nullptr)
        return kAudio_ParamError;
    return AUCatchAll([&] { return static_cast<AUBase*>(object)->HostRender(ioFlags, timeStamp, bus, frames, ioData); });
}
