#include "ComponentBase.h"

#include "CAXException.h"
#include "ComponentArguments.h"
#include "ComponentManagerLookup.h"

UInt32 ComponentBase::sNewInstanceType = kComponentMgrInstance;

ComponentBase::ComponentBase(AudioComponentInstance instance)
    : mComponentInstance(instance), mInstanceType(sNewInstanceType)
{
    (void) GetComponentDescription();
}

ComponentBase::~ComponentBase() = default;

AudioComponentDescription ComponentBase::GetComponentDescription() const
{
    AudioComponentDescription description {};
    OSStatus result = kAudio_UnimplementedError;

    if (mInstanceType == kAudioComponentInstance)
        result = CB_GetComponentDescription(mComponentInstance, &description);
    if (mInstanceType == kComponentMgrInstance || result == kAudio_UnimplementedError)
        result = CMgr_GetComponentDescription(mComponentInstance, &description);

    if (result != 0)
        description = AudioComponentDescription {};
    return description;
}

SInt16 ComponentBase::GetSelectorForCanDo(const ComponentParameters* params) noexcept
{
    ComponentArguments args(*params);
    if (args.Selector() != kComponentCanDoSelect || ! args.CarriesBytes(sizeof(SInt16)))
        return 0;
    return args.Get<SInt16>(0);
}

OSStatus ComponentBase::ComponentEntryDispatch(ComponentParameters* params, ComponentBase* object)
{
    if (object == nullptr || params == nullptr)
        return kAudio_ParamError;

    switch (params->what)
    {
        case kComponentVersionSelect:
            return object->Version();

        case kComponentCloseSelect:
        {
            // The object goes whatever its clean-up says.
            const OSStatus status = AUCatchAll([object] {
                object->PreDestructor();
                return OSStatus(0);
            });
            delete object;
            return status;
        }

        case kComponentCanDoSelect:
            switch (GetSelectorForCanDo(params))
            {
                case kComponentOpenSelect:
                case kComponentCloseSelect:
                case kComponentCanDoSelect:
                case kComponentVersionSelect:
                    return 1;
                default:
                    return 0;
            }

        default:
            return badComponentSelector;
    }
}
