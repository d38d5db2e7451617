// An Audio Unit host for the tests: loads a built plug-in module with dlopen,
// opens instances through either of its entries, and drives them with the
// byte layouts a real host uses.
#pragma once

#include "CFTestSupport.h"
#include "ChannelBuffers.h"
#include "PlatformAudioUnit.h"

#include <memory>
#include <string>
#include <vector>

using FactoryEntry = AudioComponentPlugInInterface* (*)(const AudioComponentDescription*);
using ComponentEntry = ComponentResult (*)(ComponentParameters*, void*);

/** The loaded module. It stays mapped for the process, as hosts keep
    plug-ins they have scanned. */
class PluginModule
{
public:
    explicit PluginModule(const std::string& path);

    bool isLoaded() const { return handle != nullptr; }
    std::string error() const { return loadError; }
    FactoryEntry factory() const;
    ComponentEntry entry() const;

private:
    void* handle = nullptr;
    std::string loadError;
};

/** The description the test host registers the unit under. */
AudioComponentDescription testDescription();

/** One open instance, reached through one of the two entries. Every call
    answers the unit's status. */
class HostUnit
{
public:
    virtual ~HostUnit() = default;

    virtual const char* way() const = 0;
    /** The handle another unit uses to reach this one. */
    virtual AudioUnit handle() const = 0;

    virtual OSStatus initialize() = 0;
    virtual OSStatus uninitialize() = 0;
    virtual OSStatus getPropertyInfo(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                                     UInt32* size, Boolean* writable) = 0;
    virtual OSStatus getProperty(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element, void* data,
                                 UInt32* size) = 0;
    virtual OSStatus setProperty(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                                 const void* data, UInt32 size) = 0;
    virtual OSStatus getParameter(AudioUnitParameterID id, AudioUnitScope scope, AudioUnitElement element,
                                  Float32* value) = 0;
    virtual OSStatus setParameter(AudioUnitParameterID id, AudioUnitScope scope, AudioUnitElement element,
                                  Float32 value, UInt32 offset) = 0;
    virtual OSStatus reset(AudioUnitScope scope, AudioUnitElement element) = 0;
    virtual OSStatus addPropertyListener(AudioUnitPropertyID id, AudioUnitPropertyListenerProc proc, void* data) = 0;
    virtual OSStatus removePropertyListener(AudioUnitPropertyID id, AudioUnitPropertyListenerProc proc, void* data) = 0;
    virtual OSStatus render(AudioUnitRenderActionFlags* flags, const AudioTimeStamp* time, UInt32 bus, UInt32 frames,
                            AudioBufferList* data) = 0;
    virtual OSStatus addRenderNotify(AURenderCallback proc, void* data) = 0;
    virtual OSStatus removeRenderNotify(AURenderCallback proc, void* data) = 0;
    virtual OSStatus scheduleParameters(const AudioUnitParameterEvent* events, UInt32 count) = 0;

    // Conveniences over getProperty and setProperty.
    template <class T>
    OSStatus get(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element, T& value)
    {
        UInt32 size = sizeof(T);
        return getProperty(id, scope, element, &value, &size);
    }
    template <class T>
    OSStatus set(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element, const T& value)
    {
        return setProperty(id, scope, element, &value, sizeof(T));
    }
    /** Non-interleaved 32-bit float at the rate, as hosts set it. */
    OSStatus setChannels(AudioUnitScope scope, UInt32 channels, Float64 rate = 44100.0);
    OSStatus setInputCallback(AURenderCallback proc, void* data);
};

/** Opens through the factory, registered with the platform's component
    registry; calls go through the functions Lookup hands out. */
std::unique_ptr<HostUnit> openThroughFactory(const PluginModule& module, OSStatus* status = nullptr);

/** Opens through the component entry with parameter blocks; needs the
    Component Manager of ComponentManager.cpp. */
std::unique_ptr<HostUnit> openThroughEntry(const PluginModule& module, OSStatus* status = nullptr);

/** A component call as a host makes it: selector, the instance slot, then
    the arguments, each in an 8-byte slot. */
class ComponentCall
{
public:
    ComponentCall(SInt16 selector, void* instance);

    template <class T>
    ComponentCall& arg(T value)
    {
        static_assert(sizeof(T) <= 8, "one slot per argument");
        long slot = 0;
        __builtin_memcpy(&slot, &value, sizeof(T));
        slots.push_back(slot);
        return *this;
    }
    /** Claims a different parameter size than the slots given. */
    ComponentCall& claimSize(UInt8 bytes)
    {
        claimedSize = bytes;
        claimed = true;
        return *this;
    }

    OSStatus call(ComponentEntry entry, void* storage);

private:
    SInt16 selector;
    void* instance;
    std::vector<long> slots;
    UInt8 claimedSize = 0;
    bool claimed = false;
};

/** The module under test, loaded once. */
const PluginModule& testPluginModule();

enum class Way
{
    factory,
    component
};

/** Opens a unit the given way; null (and the status) when that fails. */
std::unique_ptr<HostUnit> openUnit(Way way, OSStatus* status = nullptr);

/** Names the way in parameterised test names. */
const char* wayName(Way way);
