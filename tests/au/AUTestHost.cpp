#include "AUTestHost.h"

#include <cstring>
#include <dlfcn.h>

PluginModule::PluginModule(const std::string& path)
{
    // Kept loaded: units made from it may outlive any one test.
    handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    if (handle == nullptr)
        loadError = dlerror();
}

FactoryEntry PluginModule::factory() const
{
    return handle != nullptr ? reinterpret_cast<FactoryEntry>(dlsym(handle, "Quorvane2AUFactory")) : nullptr;
}

ComponentEntry PluginModule::entry() const
{
    return handle != nullptr ? reinterpret_cast<ComponentEntry>(dlsym(handle, "Quorvane2AUEntry")) : nullptr;
}

// The manufacturer the host registers the module under: the plug-in's own
// ('Brnk') for the plug-in, 'Qvan' for the test unit.
#ifndef QV_AU_MANUFACTURER
#define QV_AU_MANUFACTURER 0x5176616E
#endif

AudioComponentDescription testDescription()
{
    return AudioComponentDescription { 0x61756678 /* 'aufx' */, 0x51767232 /* 'Qvr2' */, QV_AU_MANUFACTURER, 0, 0 };
}

OSStatus HostUnit::setChannels(AudioUnitScope scope, UInt32 channels, Float64 rate)
{
    AudioStreamBasicDescription f {};
    f.mSampleRate = rate;
    f.mFormatID = kAudioFormatLinearPCM;
    f.mFormatFlags = kAudioFormatFlagIsFloat | kAudioFormatFlagIsPacked | kAudioFormatFlagIsNonInterleaved;
    f.mBytesPerPacket = 4;
    f.mFramesPerPacket = 1;
    f.mBytesPerFrame = 4;
    f.mChannelsPerFrame = channels;
    f.mBitsPerChannel = 32;
    return set(kAudioUnitProperty_StreamFormat, scope, 0, f);
}

OSStatus HostUnit::setInputCallback(AURenderCallback proc, void* data)
{
    const AURenderCallbackStruct cb { proc, data };
    return set(kAudioUnitProperty_SetRenderCallback, kAudioUnitScope_Input, 0, cb);
}

namespace
{
class FactoryHostUnit final : public HostUnit
{
public:
    explicit FactoryHostUnit(AudioComponentInstance i) : instance(i)
    {
        iface = reinterpret_cast<AudioComponentPlugInInterface*>(i);
    }
    ~FactoryHostUnit() override { AudioComponentInstanceDispose(instance); }

    const char* way() const override { return "factory"; }
    AudioUnit handle() const override { return instance; }

    template <class F>
    F method(SInt16 selector) const
    {
        return reinterpret_cast<F>(iface->Lookup(selector));
    }

    OSStatus initialize() override { return method<OSStatus (*)(void*)>(kAudioUnitInitializeSelect)(iface); }
    OSStatus uninitialize() override { return method<OSStatus (*)(void*)>(kAudioUnitUninitializeSelect)(iface); }
    OSStatus getPropertyInfo(AudioUnitPropertyID id, AudioUnitScope s, AudioUnitElement e, UInt32* size,
                             Boolean* writable) override
    {
        using F = OSStatus (*)(void*, UInt32, UInt32, UInt32, UInt32*, Boolean*);
        return method<F>(kAudioUnitGetPropertyInfoSelect)(iface, id, s, e, size, writable);
    }
    OSStatus getProperty(AudioUnitPropertyID id, AudioUnitScope s, AudioUnitElement e, void* data, UInt32* size) override
    {
        using F = OSStatus (*)(void*, UInt32, UInt32, UInt32, void*, UInt32*);
        return method<F>(kAudioUnitGetPropertySelect)(iface, id, s, e, data, size);
    }
    OSStatus setProperty(AudioUnitPropertyID id, AudioUnitScope s, AudioUnitElement e, const void* data,
                         UInt32 size) override
    {
        using F = OSStatus (*)(void*, UInt32, UInt32, UInt32, const void*, UInt32);
        return method<F>(kAudioUnitSetPropertySelect)(iface, id, s, e, data, size);
    }
    OSStatus getParameter(AudioUnitParameterID id, AudioUnitScope s, AudioUnitElement e, Float32* value) override
    {
        using F = OSStatus (*)(void*, UInt32, UInt32, UInt32, Float32*);
        return method<F>(kAudioUnitGetParameterSelect)(iface, id, s, e, value);
    }
    OSStatus setParameter(AudioUnitParameterID id, AudioUnitScope s, AudioUnitElement e, Float32 value,
                          UInt32 offset) override
    {
        using F = OSStatus (*)(void*, UInt32, UInt32, UInt32, Float32, UInt32);
        return method<F>(kAudioUnitSetParameterSelect)(iface, id, s, e, value, offset);
    }
    OSStatus reset(AudioUnitScope s, AudioUnitElement e) override
    {
        return method<OSStatus (*)(void*, UInt32, UInt32)>(kAudioUnitResetSelect)(iface, s, e);
    }
    OSStatus addPropertyListener(AudioUnitPropertyID id, AudioUnitPropertyListenerProc proc, void* data) override
    {
        using F = OSStatus (*)(void*, UInt32, AudioUnitPropertyListenerProc, void*);
        return method<F>(kAudioUnitAddPropertyListenerSelect)(iface, id, proc, data);
    }
    OSStatus removePropertyListener(AudioUnitPropertyID id, AudioUnitPropertyListenerProc proc, void* data) override
    {
        using F = OSStatus (*)(void*, UInt32, AudioUnitPropertyListenerProc, void*);
        return method<F>(kAudioUnitRemovePropertyListenerWithUserDataSelect)(iface, id, proc, data);
    }
    OSStatus render(AudioUnitRenderActionFlags* flags, const AudioTimeStamp* time, UInt32 bus, UInt32 frames,
                    AudioBufferList* data) override
    {
        using F = OSStatus (*)(void*, AudioUnitRenderActionFlags*, const AudioTimeStamp*, UInt32, UInt32,
                               AudioBufferList*);
        return method<F>(kAudioUnitRenderSelect)(iface, flags, time, bus, frames, data);
    }
    OSStatus addRenderNotify(AURenderCallback proc, void* data) override
    {
        return method<OSStatus (*)(void*, AURenderCallback, void*)>(kAudioUnitAddRenderNotifySelect)(iface, proc, data);
    }
    OSStatus removeRenderNotify(AURenderCallback proc, void* data) override
    {
        return method<OSStatus (*)(void*, AURenderCallback, void*)>(kAudioUnitRemoveRenderNotifySelect)(iface, proc,
                                                                                                         data);
    }
    OSStatus scheduleParameters(const AudioUnitParameterEvent* events, UInt32 count) override
    {
        using F = OSStatus (*)(void*, const AudioUnitParameterEvent*, UInt32);
        return method<F>(kAudioUnitScheduleParametersSelect)(iface, events, count);
    }

private:
    AudioComponentInstance instance;
    AudioComponentPlugInInterface* iface;
};
} // namespace

std::unique_ptr<HostUnit> openThroughFactory(const PluginModule& module, OSStatus* status)
{
    // One registration per module is enough; the registry keeps it.
    static AudioComponent component = nullptr;
    if (component == nullptr)
    {
        const AudioComponentDescription d = testDescription();
        component = AudioComponentRegister(&d, nullptr, 1, module.factory());
    }
    AudioComponentInstance instance = nullptr;
    const OSStatus s = AudioComponentInstanceNew(component, &instance);
    if (status != nullptr)
        *status = s;
    if (s != 0)
        return nullptr;
    return std::make_unique<FactoryHostUnit>(instance);
}

ComponentCall::ComponentCall(SInt16 s, void* i) : selector(s), instance(i)
{
}

OSStatus ComponentCall::call(ComponentEntry entry, void* storage)
{
    // Head (flags, size, selector, padding), the instance slot, the arguments.
    std::vector<long> block(2 + slots.size() + 1, 0);
    auto* bytes = reinterpret_cast<unsigned char*>(block.data());
    bytes[1] = claimed ? claimedSize : (unsigned char) (8 * slots.size());
    std::memcpy(bytes + 2, &selector, sizeof(selector));
    std::memcpy(bytes + 8, &instance, sizeof(instance));
    for (size_t i = 0; i < slots.size(); ++i)
        std::memcpy(bytes + 16 + 8 * i, &slots[i], 8);
    return entry(reinterpret_cast<ComponentParameters*>(bytes), storage);
}

const PluginModule& testPluginModule()
{
    static PluginModule module(QV_AU_PLUGIN_PATH);
    return module;
}
