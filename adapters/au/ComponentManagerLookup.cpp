#include "ComponentManagerLookup.h"

#include "PlatformThreads.h"

#include <dlfcn.h>

namespace
{
using AudioComponentInstanceGetComponentProc = AudioComponent (*)(AudioComponentInstance);
using AudioComponentGetDescriptionProc = OSStatus (*)(AudioComponent, AudioComponentDescription*);

dispatch_once_t sCSInitOnce = 0;
GetComponentInstanceStorageProc sGetComponentInstanceStorageProc = nullptr;
SetComponentInstanceStorageProc sSetComponentInstanceStorageProc = nullptr;
GetComponentInfoProc sGetComponentInfoProc = nullptr;

// Plain flag: first set during an Open, under the open lock.
bool sCBDone = false;
AudioComponentInstanceGetComponentProc sAudioComponentInstanceGetComponentProc = nullptr;
AudioComponentGetDescriptionProc sAudioComponentGetDescriptionProc = nullptr;

void* lookUp(void* framework, const char* name)
{
    return dlsym(framework != nullptr ? framework : RTLD_DEFAULT, name);
}

void CSInitOnce(void*)
{
    void* framework = dlopen(kCoreServicesFrameworkPath, RTLD_LAZY);
    sGetComponentInstanceStorageProc =
        reinterpret_cast<GetComponentInstanceStorageProc>(lookUp(framework, "GetComponentInstanceStorage"));
    sGetComponentInfoProc = reinterpret_cast<GetComponentInfoProc>(lookUp(framework, "GetComponentInfo"));
    sSetComponentInstanceStorageProc =
        reinterpret_cast<SetComponentInstanceStorageProc>(lookUp(framework, "SetComponentInstanceStorage"));
}

void initOnce()
{
    dispatch_once_f(&sCSInitOnce, nullptr, CSInitOnce);
}
} // namespace

Handle CMgr_GetComponentInstanceStorage(ComponentInstance instance)
{
    initOnce();
    return sGetComponentInstanceStorageProc != nullptr ? sGetComponentInstanceStorageProc(instance) : nullptr;
}

void CMgr_SetComponentInstanceStorage(ComponentInstance instance, Handle storage)
{
    initOnce();
    if (sSetComponentInstanceStorageProc != nullptr)
        sSetComponentInstanceStorageProc(instance, storage);
}

bool CMgr_HasInstanceStorage()
{
    initOnce();
    return sSetComponentInstanceStorageProc != nullptr && sGetComponentInstanceStorageProc != nullptr;
}

OSStatus CMgr_GetComponentDescription(ComponentInstance instance, AudioComponentDescription* outDescription)
{
    initOnce();
    if (sGetComponentInfoProc == nullptr)
        return kAudio_UnimplementedError;
    return (OSStatus) sGetComponentInfoProc(reinterpret_cast<Component>(instance), outDescription, nullptr, nullptr,
                                            nullptr);
}

OSStatus CB_GetComponentDescription(AudioComponentInstance instance, AudioComponentDescription* outDescription)
{
    if (! sCBDone)
    {
        void* framework = dlopen(kAudioUnitFrameworkPath, RTLD_LAZY);
        sAudioComponentInstanceGetComponentProc = reinterpret_cast<AudioComponentInstanceGetComponentProc>(
            lookUp(framework, "AudioComponentInstanceGetComponent"));
        if (sAudioComponentInstanceGetComponentProc != nullptr)
            sAudioComponentGetDescriptionProc =
                reinterpret_cast<AudioComponentGetDescriptionProc>(lookUp(framework, "AudioComponentGetDescription"));
        sCBDone = true;
    }

    if (sAudioComponentInstanceGetComponentProc == nullptr || sAudioComponentGetDescriptionProc == nullptr)
        return kAudio_UnimplementedError;

    AudioComponent component = sAudioComponentInstanceGetComponentProc(instance);
    if (component == nullptr)
        return kAudio_ParamError;
    return sAudioComponentGetDescriptionProc(component, outDescription);
}
