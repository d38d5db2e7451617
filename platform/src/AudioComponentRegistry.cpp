// The component registry: factories registered under a description, and the
// instances made from them.
#include "PlatformAudioUnit.h"

#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

struct QvAudioComponentRecord
{
    AudioComponentDescription description;
    AudioComponentFactoryFunction factory;
    UInt32 version;
};

namespace
{
struct Registry
{
    std::mutex lock;
    std::vector<std::unique_ptr<QvAudioComponentRecord>> components; // live for the process
    std::unordered_map<const void*, AudioComponent> instances;
};

Registry& registry()
{
    static Registry r;
    return r;
}

AudioComponent componentOf(const void* instance)
{
    auto& r = registry();
    std::lock_guard<std::mutex> g(r.lock);
    auto it = r.instances.find(instance);
    return it != r.instances.end() ? it->second : nullptr;
}

void forget(const void* instance)
{
    auto& r = registry();
    std::lock_guard<std::mutex> g(r.lock);
    r.instances.erase(instance);
}
} // namespace

extern "C" {

// Host main thread. The name is not kept.
AudioComponent AudioComponentRegister(const AudioComponentDescription* description, CFStringRef, UInt32 version,
                                      AudioComponentFactoryFunction factory)
{
    if (description == nullptr || factory == nullptr)
        return nullptr;
    try
    {
        auto& r = registry();
        std::lock_guard<std::mutex> g(r.lock);
        r.components.push_back(std::make_unique<QvAudioComponentRecord>(
            QvAudioComponentRecord { *description, factory, version }));
        return r.components.back().get();
    }
    catch (...)
    {
        return nullptr;
    }
}

// Host main thread. Makes the instance with the factory and opens it; the
// instance is known to the registry before Open, so the unit can ask for its
// component while it is being constructed.
OSStatus AudioComponentInstanceNew(AudioComponent component, AudioComponentInstance* outInstance)
{
    if (component == nullptr || outInstance == nullptr)
        return kAudio_ParamError;
    *outInstance = nullptr;

    AudioComponentPlugInInterface* iface = component->factory(&component->description);
    if (iface == nullptr || iface->Open == nullptr)
        return kAudio_MemFullError;

    auto instance = reinterpret_cast<AudioComponentInstance>(iface);
    try
    {
        auto& r = registry();
        std::lock_guard<std::mutex> g(r.lock);
        r.instances[iface] = component;
    }
    catch (...)
    {
        return kAudio_MemFullError;
    }

    const OSStatus status = iface->Open(iface, instance);
    if (status != 0)
    {
        forget(iface); // a failed Open has released the instance itself
        return status;
    }
    *outInstance = instance;
    return 0;
}

OSStatus AudioComponentInstanceDispose(AudioComponentInstance instance)
{
    if (instance == nullptr)
        return kAudio_ParamError;
    auto* iface = reinterpret_cast<AudioComponentPlugInInterface*>(instance);
    forget(iface);
    return iface->Close != nullptr ? iface->Close(iface) : 0;
}

AudioComponent AudioComponentInstanceGetComponent(AudioComponentInstance instance)
{
    return instance != nullptr ? componentOf(instance) : nullptr;
}

OSStatus AudioComponentGetDescription(AudioComponent component, AudioComponentDescription* outDescription)
{
    if (component == nullptr || outDescription == nullptr)
        return kAudio_ParamError;
    *outDescription = component->description;
    return 0;
}

} // extern "C"
