// AUBase: the class-info dictionary a host saves and restores, and presets.
#include "AUBase.h"

#include "BigEndian.h"
#include "CFOwned.h"
#include "CAXException.h"

#include <charconv>
#include <new>
#include <vector>

namespace
{
CFStringRef makeKey(const char* text)
{
    CFStringRef key = CFStringCreateWithCString(nullptr, text, kCFStringEncodingUTF8);
    if (key == nullptr)
        throw std::bad_alloc();
    return key;
}

bool hasType(CFTypeRef value, CFTypeID type) noexcept
{
    return value != nullptr && CFGetTypeID(value) == type;
}

// A signed 32-bit number under the key, read only when it is a number that
// converts exactly.
bool readSInt32(CFDictionaryRef dict, CFStringRef key, SInt32& out) noexcept
{
    CFTypeRef value = CFDictionaryGetValue(dict, key);
    return hasType(value, CFNumberGetTypeID())
           && CFNumberGetValue(static_cast<CFNumberRef>(value), kCFNumberSInt32Type, &out);
}

CFStringRef decimalKey(UInt32 n)
{
    char text[32];
    auto r = std::to_chars(text, text + sizeof(text) - 1, n);
    *r.ptr = 0;
    return makeKey(text);
}

// An element-name dictionary is refused unless, for every scope it names,
// it holds a dictionary of strings.
bool elementNamesWellFormed(CFTypeRef names)
{
    if (! hasType(names, CFDictionaryGetTypeID()))
        return false;
    auto* dict = static_cast<CFDictionaryRef>(names);
    for (UInt32 scope = 0; scope < 4; ++scope)
    {
        CFOwned key(decimalKey(scope));
        CFTypeRef scopeNames = CFDictionaryGetValue(dict, key.ref);
        if (scopeNames == nullptr)
            continue;
        if (! hasType(scopeNames, CFDictionaryGetTypeID()))
            return false;

        const CFIndex n = CFDictionaryGetCount(static_cast<CFDictionaryRef>(scopeNames));
        std::vector<const void*> values((size_t) n);
        CFDictionaryGetKeysAndValues(static_cast<CFDictionaryRef>(scopeNames), nullptr, values.data());
        for (const void* v : values)
            if (! hasType(v, CFStringGetTypeID()))
                return false;
    }
    return true;
}
} // namespace

const AUBase::StateKeys& AUBase::Keys()
{
    // Made on first use; released when this module is unloaded (objects that
    // still hold a key keep their own reference).
    struct Holder
    {
        StateKeys keys {
            makeKey("Untitled"), makeKey("version"),  makeKey("type"),           makeKey("subtype"),
            makeKey("manufacturer"), makeKey("data"), makeKey("name"),           makeKey("render-quality"),
            makeKey("cpu-load"),     makeKey("element-name"), makeKey("part"),
        };
        ~Holder()
        {
            for (CFStringRef key : { keys.untitled, keys.version, keys.type, keys.subtype, keys.manufacturer, keys.data,
                                     keys.name, keys.renderQuality, keys.cpuLoad, keys.elementName, keys.part })
                CFRelease(key);
        }
    };
    static const Holder holder;
    return holder.keys;
}

void AUBase::AddNumToDictionary(CFMutableDictionaryRef dict, CFStringRef key, SInt32 value)
{
    CFOwned number(CFNumberCreate(nullptr, kCFNumberSInt32Type, &value));
    if (number.ref == nullptr)
        throw std::bad_alloc();
    CFDictionarySetValue(dict, key, number.ref);
}

// Host main thread.
OSStatus AUBase::SaveState(CFPropertyListRef* outData)
{
    const StateKeys& k = Keys();
    const AudioComponentDescription description = GetComponentDescription();

    auto* dict =
        CFDictionaryCreateMutable(nullptr, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks);
    if (dict == nullptr)
        throw std::bad_alloc();
    CFOwned holdDict(dict);

    AddNumToDictionary(dict, k.version, 0);
    AddNumToDictionary(dict, k.type, (SInt32) description.componentType);
    AddNumToDictionary(dict, k.subtype, (SInt32) description.componentSubType);
    AddNumToDictionary(dict, k.manufacturer, (SInt32) description.componentManufacturer);

    CFMutableDataRef data = CFDataCreateMutable(nullptr, 0);
    if (data == nullptr)
        throw std::bad_alloc();
    CFOwned holdData(data);
    for (AudioUnitScope scope = kAudioUnitScope_Global; scope <= kAudioUnitScope_Output; ++scope)
    {
        AUScope& s = GetScope(scope);
        for (UInt32 i = 0; i < s.GetNumberOfElements(); ++i)
        {
            AUElement* e = s.GetElement(i);
            if (e == nullptr || e->GetNumberOfParameters() == 0)
                continue;
            AppendBigEndian32(data, scope);
            AppendBigEndian32(data, i);
            e->SaveState(data);
        }
    }
    CFDictionarySetValue(dict, k.data, data);

    if (mCurrentPreset.presetName != nullptr)
        CFDictionarySetValue(dict, k.name, mCurrentPreset.presetName);

    UInt32 quality = 0;
    if (GetProperty(kAudioUnitProperty_RenderQuality, kAudioUnitScope_Global, 0, &quality) == 0)
        AddNumToDictionary(dict, k.renderQuality, (SInt32) quality);

    Float32 cpuLoad = 0.0f;
    if (GetProperty(kAudioUnitProperty_CPULoad, kAudioUnitScope_Global, 0, &cpuLoad) == 0)
    {
        CFOwned number(CFNumberCreate(nullptr, kCFNumberFloat32Type, &cpuLoad));
        if (number.ref == nullptr)
            throw std::bad_alloc();
        CFDictionarySetValue(dict, k.cpuLoad, number.ref);
    }

    auto* names = CFDictionaryCreateMutable(nullptr, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks);
    if (names == nullptr)
        throw std::bad_alloc();
    CFOwned holdNames(names);
    for (AudioUnitScope scope = kAudioUnitScope_Global; scope <= kAudioUnitScope_Group; ++scope)
        GetScope(scope).AddElementNamesToDict(names);
    if (CFDictionaryGetCount(names) > 0)
        CFDictionarySetValue(dict, k.elementName, names);

    *outData = holdDict.release();
    return 0;
}

OSStatus AUBase::ValidateClassInfo(CFDictionaryRef dict, const AudioComponentDescription& description)
{
    const StateKeys& k = Keys();
    SInt32 value = 0;

    if (CFDictionaryContainsKey(dict, k.part))
        return kAudioUnitErr_InvalidPropertyValue;
    if (! readSInt32(dict, k.version, value) || value != 0)
        return kAudioUnitErr_InvalidPropertyValue;
    // The type is not compared, but a value that is no number is no class info.
    CFTypeRef type = CFDictionaryGetValue(dict, k.type);
    if (type != nullptr && ! hasType(type, CFNumberGetTypeID()))
        return kAudioUnitErr_InvalidPropertyValue;
    if (! readSInt32(dict, k.subtype, value) || value != (SInt32) description.componentSubType)
        return kAudioUnitErr_InvalidPropertyValue;
    if (! readSInt32(dict, k.manufacturer, value) || value != (SInt32) description.componentManufacturer)
        return kAudioUnitErr_InvalidPropertyValue;

    CFTypeRef data = CFDictionaryGetValue(dict, k.data);
    if (data != nullptr && ! hasType(data, CFDataGetTypeID()))
        return kAudioUnitErr_InvalidPropertyValue;

    CFTypeRef names = CFDictionaryGetValue(dict, k.elementName);
    if (names != nullptr && ! elementNamesWellFormed(names))
        return kAudioUnitErr_InvalidPropertyValue;
    return 0;
}

void AUBase::RestoreParameterBlob(CFDataRef data)
{
    constexpr CFIndex kRecordHead = 8; // scope and element words
    const UInt8* p = CFDataGetBytePtr(data);
    const CFIndex length = CFDataGetLength(data);
    if (p == nullptr || length <= 0)
        return;
    const UInt8* const end = p + length;

    while (p < end)
    {
        if (end - p < kRecordHead)
            break;
        const UInt32 scope = ReadBigEndian32(p);
        const UInt32 element = ReadBigEndian32(p + 4);
        AUElement* e = GetScope(scope).GetElement(element); // an unknown scope throws -10866
        if (e == nullptr)
            break;
        p = e->RestoreState(p + kRecordHead, end);
        if (p == nullptr)
            break; // the record runs past the end of the blob
    }
}

// Host main thread.
OSStatus AUBase::RestoreState(CFPropertyListRef plist)
{
    if (! hasType(plist, CFDictionaryGetTypeID()))
        return kAudioUnitErr_InvalidPropertyValue;
    auto* dict = static_cast<CFDictionaryRef>(plist);
    const StateKeys& k = Keys();

    const OSStatus valid = ValidateClassInfo(dict, GetComponentDescription());
    if (valid != 0)
        return valid;

    if (CFTypeRef data = CFDictionaryGetValue(dict, k.data))
        RestoreParameterBlob(static_cast<CFDataRef>(data));

    CFTypeRef name = CFDictionaryGetValue(dict, k.name);
    if (! hasType(name, CFStringGetTypeID()))
        name = k.untitled;
    CFRetain(name);
    if (mCurrentPreset.presetName != nullptr)
        CFRelease(mCurrentPreset.presetName);
    mCurrentPreset.presetName = static_cast<CFStringRef>(name);
    mCurrentPreset.presetNumber = -1;
    PropertyChanged(kAudioUnitProperty_PresentPreset, kAudioUnitScope_Global, 0);

    CFTypeRef quality = CFDictionaryGetValue(dict, k.renderQuality);
    SInt32 qualityValue = 0;
    if (hasType(quality, CFNumberGetTypeID())
        && CFNumberGetValue(static_cast<CFNumberRef>(quality), kCFNumberSInt32Type, &qualityValue))
        (void) DispatchSetProperty(kAudioUnitProperty_RenderQuality, kAudioUnitScope_Global, 0, &qualityValue,
                                   sizeof(qualityValue));

    CFTypeRef load = CFDictionaryGetValue(dict, k.cpuLoad);
    Float32 loadValue = 0.0f;
    if (hasType(load, CFNumberGetTypeID()))
    {
        CFNumberGetValue(static_cast<CFNumberRef>(load), kCFNumberFloat32Type, &loadValue);
        (void) DispatchSetProperty(kAudioUnitProperty_CPULoad, kAudioUnitScope_Global, 0, &loadValue,
                                   sizeof(loadValue));
    }

    if (CFTypeRef names = CFDictionaryGetValue(dict, k.elementName))
    {
        for (AudioUnitScope scope = kAudioUnitScope_Global; scope <= kAudioUnitScope_Group; ++scope)
        {
            CFOwned key(decimalKey(scope));
            CFTypeRef scopeNames = CFDictionaryGetValue(static_cast<CFDictionaryRef>(names), key.ref);
            if (scopeNames != nullptr && GetScope(scope).RestoreElementNames(static_cast<CFDictionaryRef>(scopeNames)))
                PropertyChanged(kAudioUnitProperty_ElementCount, scope, 0);
        }
    }
    return 0;
}

bool AUBase::SetAFactoryPresetAsCurrent(const AUPreset& preset)
{
    if (preset.presetNumber < 0 || preset.presetName == nullptr)
        return false;
    CFRetain(preset.presetName);
    if (mCurrentPreset.presetName != nullptr)
        CFRelease(mCurrentPreset.presetName);
    mCurrentPreset = preset;
    return true;
}
