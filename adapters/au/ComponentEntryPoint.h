// The component way in: one routine that takes a Component Manager parameter
// block, opens an instance for selector -1 and passes every other selector
// down the unit class's dispatch chain.
#pragma once

#include "AUBase.h"
#include "CAXException.h"
#include "ComponentArguments.h"
#include "ComponentInitLocker.h"
#include "ComponentManagerLookup.h"

#include <memory>

template <class Class>
class ComponentEntryPoint
{
public:
    /** Any thread the host calls on; `storage` is what Open stored for the
        instance (the unit's object). */
    static OSStatus Dispatch(ComponentParameters* params, void* storage) noexcept
    {
        return AUCatchAll([&]() -> OSStatus {
            if (params == nullptr)
                return kAudio_ParamError;
            if (params->what == kComponentOpenSelect)
                return Open(*params);
            Class* object = storage != nullptr ? static_cast<Class*>(static_cast<AUBase*>(storage)) : nullptr;
            return Class::ComponentEntryDispatch(params, object);
        });
    }

private:
    static OSStatus Open(const ComponentParameters& params)
    {
        ComponentInitLocker lock;
        ScopedNewInstanceType type(ComponentBase::kComponentMgrInstance);

        auto instance = static_cast<ComponentInstance>(ComponentArguments(params).Instance());
        if (instance == nullptr)
            return kAudio_ParamError;
        // Without a place to keep the object, no later call could reach it:
        // no instance rather than a half-made one.
        if (! CMgr_HasInstanceStorage())
            return kAudio_UnimplementedError;

        std::unique_ptr<Class> object(new Class(instance));
        object->PostConstructor();
        CMgr_SetComponentInstanceStorage(instance, reinterpret_cast<Handle>(static_cast<AUBase*>(object.get())));
        object.release(); // the instance owns it until Close
        return 0;
    }
};

/** Defines the two exported entries of a plug-in module for one unit class:
    <prefix>Factory (the factory way) and <prefix>Entry (the component way). */
#define QV_AU_DEFINE_ENTRY_POINTS(UnitClass, FactoryName, EntryName)                                    \
    extern "C" __attribute__((visibility("default"))) AudioComponentPlugInInterface* FactoryName(      \
        const AudioComponentDescription* description)                                                 \
    {                                                                                                 \
        return APFactory<AUBaseLookup, UnitClass>::Factory(description);                              \
    }                                                                                                 \
    extern "C" __attribute__((visibility("default"))) ComponentResult EntryName(                      \
        ComponentParameters* params, void* storage)                                                   \
    {                                                                                                 \
        return ComponentEntryPoint<UnitClass>::Dispatch(params, storage);                             \
    }
