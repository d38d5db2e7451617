// The component way: a host that opens the unit with the component entry and
// keeps its object as the instance's storage. The instance handle is a host
// record whose Lookup turns each call into a parameter block, so another unit
// can reach this one with the platform's calls too.
#include "AUTestHost.h"
#include "ComponentManager.h"

namespace
{
struct HostRecord
{
    AudioComponentPlugInInterface iface; // Lookup only
    ComponentEntry entry;
};

OSStatus dispatch(void* self, ComponentCall& call)
{
    auto* record = static_cast<HostRecord*>(self);
    return call.call(record->entry, GetComponentInstanceStorage(static_cast<ComponentInstance>(self)));
}

OSStatus recordGetProperty(void* self, UInt32 id, UInt32 scope, UInt32 element, void* data, UInt32* size)
{
    ComponentCall c(kAudioUnitGetPropertySelect, self);
    c.arg(id).arg(scope).arg(element).arg(data).arg(size);
    return dispatch(self, c);
}

OSStatus recordRender(void* self, AudioUnitRenderActionFlags* flags, const AudioTimeStamp* time, UInt32 bus,
                      UInt32 frames, AudioBufferList* list)
{
    ComponentCall c(kAudioUnitRenderSelect, self);
    c.arg(flags).arg(time).arg(bus).arg(frames).arg(list);
    return dispatch(self, c);
}

AudioComponentMethod recordLookup(SInt16 selector)
{
    switch (selector)
    {
        case kAudioUnitGetPropertySelect: return reinterpret_cast<AudioComponentMethod>(recordGetProperty);
        case kAudioUnitRenderSelect: return reinterpret_cast<AudioComponentMethod>(recordRender);
        default: return nullptr;
    }
}

class ComponentHostUnit final : public HostUnit
{
public:
    explicit ComponentHostUnit(ComponentEntry e) : record { { nullptr, nullptr, recordLookup, nullptr }, e } {}
    ~ComponentHostUnit() override
    {
        if (opened)
            ComponentCall(kComponentCloseSelect, self()).call(record.entry, storage());
        ForgetComponentInstance(self());
    }

    OSStatus open()
    {
        RememberComponentInstance(self(), testDescription());
        const OSStatus s = ComponentCall(kComponentOpenSelect, self()).call(record.entry, nullptr);
        opened = s == 0;
        return s;
    }

    const char* way() const override { return "component"; }
    AudioUnit handle() const override { return const_cast<ComponentHostUnit*>(this)->self(); }

    OSStatus initialize() override { return run(kAudioUnitInitializeSelect); }
    OSStatus uninitialize() override { return run(kAudioUnitUninitializeSelect); }
    OSStatus getPropertyInfo(AudioUnitPropertyID id, AudioUnitScope s, AudioUnitElement e, UInt32* size,
                             Boolean* writable) override
    {
        return run(kAudioUnitGetPropertyInfoSelect, id, s, e, size, writable);
    }
    OSStatus getProperty(AudioUnitPropertyID id, AudioUnitScope s, AudioUnitElement e, void* data, UInt32* size) override
    {
        return run(kAudioUnitGetPropertySelect, id, s, e, data, size);
    }
    OSStatus setProperty(AudioUnitPropertyID id, AudioUnitScope s, AudioUnitElement e, const void* data,
                         UInt32 size) override
    {
        return run(kAudioUnitSetPropertySelect, id, s, e, data, size);
    }
    OSStatus getParameter(AudioUnitParameterID id, AudioUnitScope s, AudioUnitElement e, Float32* value) override
    {
        return run(kAudioUnitGetParameterSelect, id, s, e, value);
    }
    OSStatus setParameter(AudioUnitParameterID id, AudioUnitScope s, AudioUnitElement e, Float32 value,
                          UInt32 offset) override
    {
        return run(kAudioUnitSetParameterSelect, id, s, e, value, offset);
    }
    OSStatus reset(AudioUnitScope s, AudioUnitElement e) override { return run(kAudioUnitResetSelect, s, e); }
    OSStatus addPropertyListener(AudioUnitPropertyID id, AudioUnitPropertyListenerProc proc, void* data) override
    {
        return run(kAudioUnitAddPropertyListenerSelect, id, proc, data);
    }
    OSStatus removePropertyListener(AudioUnitPropertyID id, AudioUnitPropertyListenerProc proc, void* data) override
    {
        return run(kAudioUnitRemovePropertyListenerWithUserDataSelect, id, proc, data);
    }
    OSStatus render(AudioUnitRenderActionFlags* flags, const AudioTimeStamp* time, UInt32 bus, UInt32 frames,
                    AudioBufferList* data) override
    {
        return run(kAudioUnitRenderSelect, flags, time, bus, frames, data);
    }
    OSStatus addRenderNotify(AURenderCallback proc, void* data) override
    {
        return run(kAudioUnitAddRenderNotifySelect, proc, data);
    }
    OSStatus removeRenderNotify(AURenderCallback proc, void* data) override
    {
        return run(kAudioUnitRemoveRenderNotifySelect, proc, data);
    }
    OSStatus scheduleParameters(const AudioUnitParameterEvent* events, UInt32 count) override
    {
        return run(kAudioUnitScheduleParametersSelect, events, count);
    }

private:
    ComponentInstance self() { return reinterpret_cast<ComponentInstance>(&record); }
    void* storage() { return GetComponentInstanceStorage(self()); }

    template <class... Args>
    OSStatus run(SInt16 selector, Args... args)
    {
        ComponentCall c(selector, self());
        (c.arg(args), ...);
        return c.call(record.entry, storage());
    }

    HostRecord record;
    bool opened = false;
};
} // namespace

std::unique_ptr<HostUnit> openThroughEntry(const PluginModule& module, OSStatus* status)
{
    auto unit = std::make_unique<ComponentHostUnit>(module.entry());
    const OSStatus s = unit->open();
    if (status != nullptr)
        *status = s;
    if (s != 0)
        return nullptr;
    return unit;
}

std::unique_ptr<HostUnit> openUnit(Way way, OSStatus* status)
{
    return way == Way::factory ? openThroughFactory(testPluginModule(), status)
                               : openThroughEntry(testPluginModule(), status);
}

const char* wayName(Way way)
{
    return way == Way::factory ? "Factory" : "Component";
}
