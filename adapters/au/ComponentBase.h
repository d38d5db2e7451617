// The root of every Audio Unit object: the host's instance handle, how the
// instance was opened, and the component selectors every unit answers.
#pragma once

#include "PlatformAudioUnit.h"

class ComponentBase
{
public:
    enum EInstanceType : UInt32
    {
        kComponentMgrInstance = 0,   // opened through the component entry
        kAudioComponentInstance = 1  // opened through the factory
    };

    /** Copies sNewInstanceType, and looks the component description up once so
        that the one-time framework look-ups run under the open lock. */
    explicit ComponentBase(AudioComponentInstance instance);
    virtual ~ComponentBase();

    ComponentBase(const ComponentBase&) = delete;
    ComponentBase& operator=(const ComponentBase&) = delete;

    virtual void PostConstructor() {}
    virtual void PreDestructor() {}
    virtual OSStatus Version() { return 1; }

    AudioComponentInstance GetComponentInstance() const noexcept { return mComponentInstance; }
    EInstanceType InstanceType() const noexcept { return (EInstanceType) mInstanceType; }

    /** Type, subtype, manufacturer, flags and mask; all zero when the host's
        world cannot say. */
    AudioComponentDescription GetComponentDescription() const;

    /** Selectors -2 (close), -3 (can do), -4 (version); anything else is
        answered 0x80008002. */
    static OSStatus ComponentEntryDispatch(ComponentParameters* params, ComponentBase* object);

    /** For selector -3 the asked-about selector (the signed 16-bit value at
        offset 16), else 0. */
    static SInt16 GetSelectorForCanDo(const ComponentParameters* params) noexcept;

    // The factory block's Open and Close (see AUPlugInDispatch.h). Host
    // thread that opens or closes the instance.
    static OSStatus AP_Open(void* self, AudioComponentInstance instance);
    static OSStatus AP_Close(void* self);

    /** The instance type the next constructed object takes: 1 only during a
        factory Open, under the open lock. */
    static UInt32 sNewInstanceType;

private:
    AudioComponentInstance mComponentInstance;
    UInt32 mInstanceType;
};

/** While alive, sets sNewInstanceType and restores it afterwards. */
class ScopedNewInstanceType
{
public:
    explicit ScopedNewInstanceType(UInt32 type) noexcept : mSaved(ComponentBase::sNewInstanceType)
    {
        ComponentBase::sNewInstanceType = type;
    }
    ~ScopedNewInstanceType() { ComponentBase::sNewInstanceType = mSaved; }

    ScopedNewInstanceType(const ScopedNewInstanceType&) = delete;
    ScopedNewInstanceType& operator=(const ScopedNewInstanceType&) = delete;

private:
    UInt32 mSaved;
};
