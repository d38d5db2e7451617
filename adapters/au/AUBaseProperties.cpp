// AUBase: the properties a host reads, writes and removes, and the size
// handling of the host's property calls.
#include "AUBase.h"

#include "AUFastDispatch.h"
#include "CAAudioChannelLayout.h"
#include "CAXException.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

namespace
{
template <class T>
void put(void* data, const T& value) noexcept
{
    std::memcpy(data, &value, sizeof(T));
}

template <class T>
T take(const void* data) noexcept
{
    T value;
    std::memcpy(&value, data, sizeof(T));
    return value;
}

bool isString(CFTypeRef ref) noexcept
{
    return CFGetTypeID(ref) == CFStringGetTypeID();
}

// Where the references that a property's value hands the caller (retained
// for it) stand in the value, given the value's bytes; answers how many.
size_t retainedReferenceOffsets(AudioUnitPropertyID id, const UInt8* value, size_t (&offsets)[2]) noexcept
{
    switch (id)
    {
        case kAudioUnitProperty_ClassInfo:
        case kAudioUnitProperty_ParameterValueStrings:
        case kAudioUnitProperty_FactoryPresets:
        case kAudioUnitProperty_ContextName:
        case kAudioUnitProperty_ElementName:
        case kAudioUnitProperty_IconLocation:
            offsets[0] = 0;
            return 1;
        case kAudioUnitProperty_PresentPreset:
            offsets[0] = offsetof(AUPreset, presetName);
            return 1;
        case kAudioUnitProperty_ParameterClumpName:
            offsets[0] = offsetof(AudioUnitParameterNameInfo, outName);
            return 1;
        case kAudioUnitProperty_CocoaUI:
            offsets[0] = offsetof(AudioUnitCocoaViewInfo, mCocoaAUViewBundleLocation);
            offsets[1] = offsetof(AudioUnitCocoaViewInfo, mCocoaAUViewClass);
            return 2;
        case kAudioUnitProperty_ParameterInfo:
        {
            // The name is the caller's to release only when the flags say so.
            const auto flags = take<UInt32>(value + offsetof(AudioUnitParameterInfo, flags));
            if ((flags & kAudioUnitParameterFlag_CFNameRelease) == 0)
                return 0;
            offsets[0] = offsetof(AudioUnitParameterInfo, cfNameString);
            return 1;
        }
        default:
            return 0;
    }
}
} // namespace

// ---- Information -------------------------------------------------------------

OSStatus AUBase::DispatchGetPropertyInfo(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                                         UInt32& outDataSize, Boolean& outWritable)
{
    auto mustExist = [&] { GetScope(scope).SafeGetElement(element); };
    const bool global = scope == kAudioUnitScope_Global;

    outWritable = false;
    switch (id)
    {
        case kAudioUnitProperty_ClassInfo:
            if (! global)
                return kAudioUnitErr_InvalidScope;
            mustExist();
            outDataSize = sizeof(CFPropertyListRef);
            outWritable = true;
            return 0;

        case kAudioUnitProperty_MakeConnection:
            if (! global && scope != kAudioUnitScope_Input)
                return kAudioUnitErr_InvalidScope;
            mustExist();
            outDataSize = sizeof(AudioUnitConnection);
            outWritable = true;
            return 0;

        case kAudioUnitProperty_SampleRate:
            mustExist();
            outDataSize = sizeof(Float64);
            outWritable = IsStreamFormatWritable(scope, element);
            return 0;

        case kAudioUnitProperty_ParameterList:
        {
            UInt32 count = 0;
            const OSStatus result = GetParameterList(scope, nullptr, count);
            outDataSize = SafeMultiplyAddUInt32(count, sizeof(AudioUnitParameterID), 0);
            return result;
        }

        case kAudioUnitProperty_ParameterInfo:
            outDataSize = sizeof(AudioUnitParameterInfo);
            return 0;

        case kAudioUnitProperty_FastDispatch:
            if (! global)
                return kAudioUnitErr_InvalidScope;
            // The fast functions take the object, which only a component
            // instance hands out.
            if (InstanceType() == kAudioComponentInstance)
                return kAudioUnitErr_InvalidProperty;
            outDataSize = sizeof(void*);
            return 0;

        case kAudioUnitProperty_StreamFormat:
            mustExist();
            outDataSize = sizeof(AudioStreamBasicDescription);
            outWritable = IsStreamFormatWritable(scope, element);
            return 0;

        case kAudioUnitProperty_ElementCount:
            outDataSize = sizeof(UInt32);
            outWritable = BusCountWritable(scope);
            return 0;

        case kAudioUnitProperty_Latency:
            if (! global)
                return kAudioUnitErr_InvalidScope;
            mustExist();
            outDataSize = sizeof(Float64);
            return 0;

        case kAudioUnitProperty_SupportedNumChannels:
        {
            if (! global)
                return kAudioUnitErr_InvalidScope;
            const UInt32 pairs = SupportedNumChannels(nullptr);
            if (pairs == 0)
                return kAudioUnitErr_InvalidProperty;
            mustExist();
            outDataSize = SafeMultiplyAddUInt32(pairs, sizeof(AUChannelInfo), 0);
            return 0;
        }

        case kAudioUnitProperty_MaximumFramesPerSlice:
            if (! global)
                return kAudioUnitErr_InvalidScope;
            mustExist();
            outDataSize = sizeof(UInt32);
            outWritable = true;
            return 0;

        case kAudioUnitProperty_ParameterValueStrings:
        {
            const OSStatus result = GetParameterValueStrings(scope, element, nullptr);
            if (result != 0)
                return result;
            outDataSize = sizeof(CFArrayRef);
            return 0;
        }

        case kAudioUnitProperty_GetUIComponentList:
        {
            if (! global)
                return kAudioUnitErr_InvalidScope;
            const UInt32 n = GetNumCustomUIComponents();
            if (n == 0)
                return kAudioUnitErr_InvalidProperty;
            mustExist();
            outDataSize = SafeMultiplyAddUInt32(n, sizeof(AudioComponentDescription), 0);
            return 0;
        }

        case kAudioUnitProperty_AudioChannelLayout:
        {
            outDataSize = GetAudioChannelLayout(scope, element, nullptr, outWritable);
            if (outDataSize == 0)
                return GetChannelLayoutTags(scope, element, nullptr) > 0 ? kAudioUnitErr_InvalidPropertyValue
                                                                         : kAudioUnitErr_InvalidProperty;
            return 0;
        }

        case kAudioUnitProperty_TailTime:
            if (! global)
                return kAudioUnitErr_InvalidScope;
            if (! SupportsTail())
                return kAudioUnitErr_InvalidProperty;
            mustExist();
            outDataSize = sizeof(Float64);
            return 0;

        case kAudioUnitProperty_LastRenderError:
            if (! global)
                return kAudioUnitErr_InvalidScope;
            mustExist();
            outDataSize = sizeof(OSStatus);
            return 0;

        case kAudioUnitProperty_SetRenderCallback:
            if (mAudioUnitAPIVersion < 2)
                return kAudioUnitErr_InvalidProperty;
            if (! global && scope != kAudioUnitScope_Input)
                return kAudioUnitErr_InvalidScope;
            mustExist();
            outDataSize = sizeof(AURenderCallbackStruct);
            outWritable = true;
            return 0;

        case kAudioUnitProperty_FactoryPresets:
        {
            if (! global)
                return kAudioUnitErr_InvalidScope;
            const OSStatus result = GetPresets(nullptr);
            if (result != 0)
                return result;
            mustExist();
            outDataSize = sizeof(CFArrayRef);
            return 0;
        }

        case kAudioUnitProperty_ContextName:
            if (! global)
                return kAudioUnitErr_InvalidScope;
            mustExist();
            outDataSize = sizeof(CFStringRef);
            outWritable = true;
            return 0;

        case kAudioUnitProperty_HostCallbacks:
            if (! global)
                return kAudioUnitErr_InvalidScope;
            mustExist();
            outDataSize = sizeof(HostCallbackInfo);
            outWritable = true;
            return 0;

        case kAudioUnitProperty_ElementName:
            mustExist();
            outDataSize = sizeof(CFStringRef);
            outWritable = true;
            return 0;

        case kAudioUnitProperty_SupportedChannelLayoutTags:
        {
            const UInt32 tags = GetChannelLayoutTags(scope, element, nullptr);
            if (tags == 0)
                return kAudioUnitErr_InvalidProperty;
            outDataSize = SafeMultiplyAddUInt32(tags, sizeof(AudioChannelLayoutTag), 0);
            return 0;
        }

        case kAudioUnitProperty_ParameterClumpName:
            mustExist();
            outDataSize = sizeof(AudioUnitParameterNameInfo);
            return 0;

        case kAudioUnitProperty_PresentPreset:
            if (! global)
                return kAudioUnitErr_InvalidScope;
            mustExist();
            outDataSize = sizeof(AUPreset);
            outWritable = true;
            return 0;

        case kAudioUnitProperty_IconLocation:
        {
            if (! global)
                return kAudioUnitErr_InvalidScope;
            CFURLRef icon = CopyIconLocation();
            if (icon == nullptr)
                return kAudioUnitErr_InvalidProperty;
            CFRelease(icon);
            mustExist();
            outDataSize = sizeof(CFURLRef);
            return 0;
        }

        case kAudioUnitProperty_ShouldAllocateBuffer:
            if (scope != kAudioUnitScope_Input && scope != kAudioUnitScope_Output)
                return kAudioUnitErr_InvalidScope;
            mustExist();
            outDataSize = sizeof(UInt32);
            outWritable = true;
            return 0;

        case kAudioUnitProperty_ParameterHistoryInfo:
            outDataSize = sizeof(AudioUnitParameterHistoryInfo);
            return 0;

        case kLastRenderSampleTimeProperty:
            mustExist();
            outDataSize = sizeof(Float64);
            return 0;

        default:
            return GetPropertyInfo(id, scope, element, outDataSize, outWritable);
    }
}

// ---- Values ------------------------------------------------------------------

OSStatus AUBase::DispatchGetProperty(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                                     void* outData)
{
    switch (id)
    {
        case kAudioUnitProperty_ClassInfo:
            put<CFPropertyListRef>(outData, nullptr);
            return SaveState(static_cast<CFPropertyListRef*>(outData));

        case kAudioUnitProperty_SampleRate:
            put<Float64>(outData, GetStreamFormat(scope, element).mSampleRate);
            return 0;

        case kAudioUnitProperty_ParameterList:
        {
            UInt32 count = 0;
            return GetParameterList(scope, static_cast<AudioUnitParameterID*>(outData), count);
        }

        case kAudioUnitProperty_ParameterInfo:
        {
            AudioUnitParameterInfo info {};
            const OSStatus result = GetParameterInfo(scope, element, info);
            put(outData, info);
            return result;
        }

        case kAudioUnitProperty_FastDispatch:
            if (scope != kAudioUnitScope_Global || InstanceType() != kComponentMgrInstance)
                return kAudioUnitErr_InvalidProperty;
            switch (element)
            {
                case kAudioUnitGetParameterSelect:
                    put<AudioUnitGetParameterProc>(outData, CMgr_AudioUnitBaseGetParameter);
                    return 0;
                case kAudioUnitSetParameterSelect:
                    put<AudioUnitSetParameterProc>(outData, CMgr_AudioUnitBaseSetParameter);
                    return 0;
                case kAudioUnitRenderSelect:
                    if (mAudioUnitAPIVersion < 2)
                        return kAudioUnitErr_InvalidElement;
                    put<AudioUnitRenderProc>(outData, CMgr_AudioUnitBaseRender);
                    return 0;
                default:
                    return GetProperty(id, scope, element, outData);
            }

        case kAudioUnitProperty_StreamFormat:
            put<AudioStreamBasicDescription>(outData, GetStreamFormat(scope, element));
            return 0;

        case kAudioUnitProperty_ElementCount:
            put<UInt32>(outData, GetScope(scope).GetNumberOfElements());
            return 0;

        case kAudioUnitProperty_Latency:
            put<Float64>(outData, GetLatency());
            return 0;

        case kAudioUnitProperty_SupportedNumChannels:
        {
            const AUChannelInfo* pairs = nullptr;
            const UInt32 n = SupportedNumChannels(&pairs);
            if (n > 0 && pairs != nullptr)
                std::memcpy(outData, pairs, size_t(n) * sizeof(AUChannelInfo));
            return 0;
        }

        case kAudioUnitProperty_MaximumFramesPerSlice:
            put<UInt32>(outData, mMaxFramesPerSlice);
            return 0;

        case kAudioUnitProperty_ParameterValueStrings:
            return GetParameterValueStrings(scope, element, static_cast<CFArrayRef*>(outData));

        case kAudioUnitProperty_GetUIComponentList:
            GetUIComponentDescs(static_cast<AudioComponentDescription*>(outData));
            return 0;

        case kAudioUnitProperty_AudioChannelLayout:
        {
            Boolean writable = false;
            const UInt32 size = GetAudioChannelLayout(scope, element, static_cast<AudioChannelLayout*>(outData), writable);
            return size == 0 ? kAudioUnitErr_InvalidProperty : 0;
        }

        case kAudioUnitProperty_TailTime:
            if (! SupportsTail())
                return kAudioUnitErr_InvalidProperty;
            put<Float64>(outData, GetTailTime());
            return 0;

        case kAudioUnitProperty_LastRenderError:
            // Reading the error clears it, so the next failure is announced.
            put<OSStatus>(outData, mLastRenderError.exchange(0));
            return 0;

        case kAudioUnitProperty_FactoryPresets:
            put<CFArrayRef>(outData, nullptr);
            return GetPresets(static_cast<CFArrayRef*>(outData));

        case kAudioUnitProperty_ContextName:
            if (mContextName == nullptr)
                return kAudioUnitErr_InvalidPropertyValue;
            put<CFStringRef>(outData, static_cast<CFStringRef>(CFRetain(mContextName)));
            return 0;

        case kAudioUnitProperty_HostCallbacks:
            put<HostCallbackInfo>(outData, mHostCallbackInfo);
            return 0;

        case kAudioUnitProperty_ElementName:
        {
            AUElement* e = GetScope(scope).SafeGetElement(element);
            if (! e->HasName())
                return kAudioUnitErr_InvalidPropertyValue;
            put<CFStringRef>(outData, static_cast<CFStringRef>(CFRetain(e->GetName())));
            return 0;
        }

        case kAudioUnitProperty_SupportedChannelLayoutTags:
        {
            const UInt32 n = GetChannelLayoutTags(scope, element, static_cast<AudioChannelLayoutTag*>(outData));
            return n == 0 ? kAudioUnitErr_InvalidProperty : 0;
        }

        case kAudioUnitProperty_ParameterClumpName:
        {
            auto info = take<AudioUnitParameterNameInfo>(outData);
            if (info.inID == 0)
                return kAudioUnitErr_InvalidPropertyValue;
            CFStringRef name = nullptr;
            const OSStatus result = CopyClumpName(scope, info.inID, (UInt32) std::max<SInt32>(0, info.inDesiredLength),
                                                  &name);
            if (result == kAudioUnitErr_InvalidProperty)
                return GetProperty(id, scope, element, outData);
            info.outName = name;
            put(outData, info);
            return result;
        }

        case kAudioUnitProperty_PresentPreset:
        {
            AUPreset preset = mCurrentPreset;
            if (preset.presetName != nullptr)
                CFRetain(preset.presetName);
            put(outData, preset);
            return 0;
        }

        case kAudioUnitProperty_IconLocation:
        {
            CFURLRef icon = CopyIconLocation();
            if (icon == nullptr)
                return kAudioUnitErr_InvalidProperty;
            put<CFURLRef>(outData, icon);
            return 0;
        }

        case kAudioUnitProperty_ShouldAllocateBuffer:
        {
            AUIOElement* io = GetScope(scope).GetIOElement(element);
            put<UInt32>(outData, io->WillAllocateBuffer() ? 1 : 0);
            return 0;
        }

        case kAudioUnitProperty_ParameterHistoryInfo:
        {
            AudioUnitParameterHistoryInfo info {};
            const OSStatus result =
                GetParameterHistoryInfo(scope, element, info.updatesPerSecond, info.historyDurationInSeconds);
            put(outData, info);
            return result;
        }

        case kLastRenderSampleTimeProperty:
            put<Float64>(outData, mCurrentRenderTime.mSampleTime);
            return 0;

        default:
            return GetProperty(id, scope, element, outData);
    }
}

// ---- Writes --------------------------------------------------------------------

OSStatus AUBase::SetStreamFormatProperty(AudioUnitScope scope, AudioUnitElement element,
                                         const CAStreamBasicDescription& format)
{
    const CAStreamBasicDescription previous = GetStreamFormat(scope, element);
    // A rate that is not a finite number above 0 is no format at all,
    // whatever a subclass's ValidFormat says.
    if (! std::isfinite(format.mSampleRate) || format.mSampleRate <= 0.0 || ! ValidFormat(scope, element, format))
        return kAudioUnitErr_FormatNotSupported;
    if (previous.IsEqual(format, false))
        return 0;
    if (! IsStreamFormatWritable(scope, element))
        return kAudioUnitErr_PropertyNotWritable;
    return ChangeStreamFormat(scope, element, previous, format);
}

OSStatus AUBase::DispatchSetProperty(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                                     const void* inData, UInt32 inDataSize)
{
    const bool global = scope == kAudioUnitScope_Global;

    switch (id)
    {
        case kAudioUnitProperty_ClassInfo:
            if (inDataSize != sizeof(CFPropertyListRef))
                return kAudioUnitErr_InvalidPropertyValue;
            if (! global)
                return kAudioUnitErr_InvalidScope;
            return RestoreState(take<CFPropertyListRef>(inData));

        case kAudioUnitProperty_MakeConnection:
            if (inDataSize < sizeof(AudioUnitConnection))
                return kAudioUnitErr_InvalidPropertyValue;
            return SetConnection(take<AudioUnitConnection>(inData));

        case kAudioUnitProperty_SampleRate:
        {
            if (inDataSize != sizeof(Float64))
                return kAudioUnitErr_InvalidPropertyValue;
            if (GetScope(scope).GetElement(element) == nullptr)
                return kAudioUnitErr_InvalidElement;
            CAStreamBasicDescription format = GetStreamFormat(scope, element);
            format.mSampleRate = take<Float64>(inData);
            return SetStreamFormatProperty(scope, element, format);
        }

        case kAudioUnitProperty_StreamFormat:
        {
            if (inDataSize < kStreamFormatCompareBytes)
                return kAudioUnitErr_InvalidPropertyValue;
            if (GetScope(scope).GetElement(element) == nullptr)
                return kAudioUnitErr_InvalidElement;
            CAStreamBasicDescription format;
            std::memcpy(static_cast<AudioStreamBasicDescription*>(&format), inData, kStreamFormatCompareBytes);
            return SetStreamFormatProperty(scope, element, format);
        }

        case kAudioUnitProperty_ElementCount:
        {
            if (inDataSize != sizeof(UInt32))
                return kAudioUnitErr_InvalidPropertyValue;
            if (! BusCountWritable(scope))
                return kAudioUnitErr_PropertyNotWritable;
            const OSStatus result = SetBusCount(scope, take<UInt32>(inData));
            if (result == 0)
                PropertyChanged(id, scope, element);
            return result;
        }

        case kAudioUnitProperty_MaximumFramesPerSlice:
        {
            if (inDataSize != sizeof(UInt32))
                return kAudioUnitErr_InvalidPropertyValue;
            const OSStatus result = CanSetMaxFrames();
            if (result != 0)
                return result;
            SetMaxFramesPerSlice(take<UInt32>(inData));
            return 0;
        }

        case kAudioUnitProperty_SetExternalBuffer:
        {
            if (inDataSize < sizeof(AudioUnitExternalBuffer))
                return kAudioUnitErr_InvalidPropertyValue;
            if (! IsInitialized())
                return kAudioUnitErr_Uninitialized;
            const auto buffer = take<AudioUnitExternalBuffer>(inData);
            if ((reinterpret_cast<uintptr_t>(buffer.buffer) & 15) != 0)
                return kAudio_ParamError;
            AUScope& ioScope = scope == kAudioUnitScope_Input ? Inputs() : Outputs();
            ioScope.GetIOElement(element)->UseExternalBuffer(buffer);
            return 0;
        }

        case kAudioUnitProperty_AudioChannelLayout:
        {
            // The count of descriptions is read only once the record's head
            // is known to be there, and the size it implies is reckoned in
            // 64 bits.
            const size_t head = offsetof(AudioChannelLayout, mChannelDescriptions);
            if (inDataSize < head)
                return kAudioUnitErr_InvalidPropertyValue;
            const UInt32 descriptions = take<UInt32>(static_cast<const UInt8*>(inData)
                                                     + offsetof(AudioChannelLayout, mNumberChannelDescriptions));
            if ((uint64_t) inDataSize < CAAudioChannelLayout::CalculateByteSize(descriptions))
                return kAudioUnitErr_InvalidPropertyValue;
            const OSStatus result = SetAudioChannelLayout(scope, element, static_cast<const AudioChannelLayout*>(inData));
            if (result == 0)
                PropertyChanged(id, scope, element);
            return result;
        }

        case kAudioUnitProperty_SetRenderCallback:
        {
            if (inDataSize < sizeof(AURenderCallbackStruct))
                return kAudioUnitErr_InvalidPropertyValue;
            if (mAudioUnitAPIVersion < 2)
                return kAudioUnitErr_InvalidProperty;
            const auto callback = take<AURenderCallbackStruct>(inData);
            return SetInputCallback(id, element, callback.inputProc, callback.inputProcRefCon);
        }

        case kAudioUnitProperty_ContextName:
        {
            if (inDataSize != sizeof(CFStringRef))
                return kAudioUnitErr_InvalidPropertyValue;
            if (! global)
                return kAudioUnitErr_InvalidScope;
            const auto name = take<CFStringRef>(inData);
            if (name != nullptr && ! isString(name))
                return kAudioUnitErr_InvalidPropertyValue;
            if (name != nullptr)
                CFRetain(name);
            if (mContextName != nullptr)
                CFRelease(mContextName);
            mContextName = name;
            PropertyChanged(id, kAudioUnitScope_Global, element);
            return 0;
        }

        case kAudioUnitProperty_HostCallbacks:
        {
            if (! global)
                return kAudioUnitErr_InvalidScope;
            HostCallbackInfo info {};
            if (inData != nullptr)
                std::memcpy(&info, inData, std::min<size_t>(inDataSize, sizeof(HostCallbackInfo)));
            // Listeners hear of a change, and only of a change.
            const bool changed = std::memcmp(&info, &mHostCallbackInfo, sizeof(HostCallbackInfo)) != 0;
            mHostCallbackInfo = info;
            if (changed)
                PropertyChanged(id, kAudioUnitScope_Global, element);
            return 0;
        }

        case kAudioUnitProperty_ElementName:
        {
            AUElement* e = GetScope(scope).GetElement(element);
            if (e == nullptr)
                return kAudioUnitErr_InvalidElement;
            if (inDataSize != sizeof(CFStringRef))
                return kAudioUnitErr_InvalidPropertyValue;
            const auto name = take<CFStringRef>(inData);
            if (name != nullptr && ! isString(name))
                return kAudioUnitErr_InvalidPropertyValue;
            e->SetName(name);
            PropertyChanged(id, scope, element);
            return 0;
        }

        case kAudioUnitProperty_PresentPreset:
        {
            if (inDataSize != sizeof(AUPreset))
                return kAudioUnitErr_InvalidPropertyValue;
            if (! global)
                return kAudioUnitErr_InvalidScope;
            const auto preset = take<AUPreset>(inData);
            OSStatus result = 0;
            if (preset.presetNumber < 0)
            {
                if (preset.presetName == nullptr || ! isString(preset.presetName))
                    return kAudioUnitErr_InvalidPropertyValue;
                CFRetain(preset.presetName);
                if (mCurrentPreset.presetName != nullptr)
                    CFRelease(mCurrentPreset.presetName);
                mCurrentPreset = preset;
            }
            else
            {
                result = NewFactoryPresetSet(preset);
            }
            if (result == 0)
                PropertyChanged(id, kAudioUnitScope_Global, element);
            return result;
        }

        case kAudioUnitProperty_ShouldAllocateBuffer:
        {
            if (scope != kAudioUnitScope_Input && scope != kAudioUnitScope_Output)
                return kAudioUnitErr_InvalidScope;
            AUElement* e = GetScope(scope).GetElement(element);
            if (e == nullptr || e->AsIOElement() == nullptr)
                return kAudioUnitErr_InvalidElement;
            if (inDataSize != sizeof(UInt32))
                return kAudioUnitErr_InvalidPropertyValue;
            if (IsInitialized())
                return kAudioUnitErr_Initialized;
            e->AsIOElement()->SetWillAllocateBuffer(take<UInt32>(inData) != 0);
            return 0;
        }

        default:
        {
            const OSStatus result = SetProperty(id, scope, element, inData, inDataSize);
            if (result == 0)
                PropertyChanged(id, scope, element);
            return result;
        }
    }
}

OSStatus AUBase::DispatchRemovePropertyValue(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element)
{
    switch (id)
    {
        case kAudioUnitProperty_HostCallbacks:
        {
            if (scope != kAudioUnitScope_Global)
                return kAudioUnitErr_InvalidScope;
            static const HostCallbackInfo kNone {};
            if (std::memcmp(&mHostCallbackInfo, &kNone, sizeof(HostCallbackInfo)) != 0)
            {
                mHostCallbackInfo = kNone;
                PropertyChanged(id, kAudioUnitScope_Global, element);
            }
            return 0;
        }

        case kAudioUnitProperty_ContextName:
            if (mContextName != nullptr)
                CFRelease(mContextName);
            mContextName = nullptr;
            return 0;

        case kAudioUnitProperty_AudioChannelLayout:
        {
            const OSStatus result = RemoveAudioChannelLayout(scope, element);
            if (result == 0)
                PropertyChanged(id, scope, element);
            return result;
        }

        default:
            return RemovePropertyValue(id, scope, element);
    }
}

// ---- The host's calls ------------------------------------------------------------

OSStatus AUBase::HostGetPropertyInfo(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                                     UInt32* outDataSize, Boolean* outWritable)
{
    UInt32 size = 0;
    Boolean writable = false;
    const OSStatus result = DispatchGetPropertyInfo(id, scope, element, size, writable);
    if (outDataSize != nullptr)
        *outDataSize = size;
    if (outWritable != nullptr)
        *outWritable = writable;
    return result;
}

OSStatus AUBase::HostGetProperty(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                                 void* outData, UInt32* ioDataSize)
{
    if (ioDataSize == nullptr)
        return kAudio_ParamError;

    UInt32 actualSize = 0;
    Boolean writable = false;

    if (outData == nullptr)
    {
        const OSStatus result = DispatchGetPropertyInfo(id, scope, element, actualSize, writable);
        *ioDataSize = actualSize;
        return result;
    }
    if (*ioDataSize == 0)
        return kAudio_ParamError;

    OSStatus result = DispatchGetPropertyInfo(id, scope, element, actualSize, writable);
    if (result != 0)
        return result;

    std::unique_ptr<UInt8[]> temporary;
    void* destination = outData;
    if (*ioDataSize < actualSize)
    {
        temporary.reset(new UInt8[actualSize]());
        // Some values are read as well as written (the clump-name record
        // carries its question in its first fields).
        std::memcpy(temporary.get(), outData, *ioDataSize);
        destination = temporary.get();
    }

    result = DispatchGetProperty(id, scope, element, destination);
    if (result != 0)
    {
        *ioDataSize = 0;
        return result;
    }

    if (temporary)
    {
        std::memcpy(outData, temporary.get(), *ioDataSize);
        // A reference the caller did not receive whole would never be
        // released.
        size_t offsets[2] = {};
        const size_t count = retainedReferenceOffsets(id, temporary.get(), offsets);
        for (size_t i = 0; i < count; ++i)
        {
            const size_t offset = offsets[i];
            if (offset + sizeof(CFTypeRef) > actualSize || *ioDataSize >= offset + sizeof(CFTypeRef))
                continue;
            const auto ref = take<CFTypeRef>(temporary.get() + offset);
            if (ref != nullptr)
                CFRelease(ref);
        }
    }
    else
    {
        *ioDataSize = actualSize;
    }
    return 0;
}

OSStatus AUBase::HostSetProperty(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                                 const void* inData, UInt32 inDataSize)
{
    if (inData != nullptr && inDataSize != 0)
        return DispatchSetProperty(id, scope, element, inData, inDataSize);
    if (inData == nullptr && inDataSize == 0)
        return DispatchRemovePropertyValue(id, scope, element);
    return kAudio_ParamError;
}

OSStatus AUBase::HostRender(AudioUnitRenderActionFlags* ioFlags, const AudioTimeStamp* timeStamp, UInt32 bus,
                            UInt32 frames, AudioBufferList* ioData)
{
    if (timeStamp == nullptr || ioData == nullptr)
        return kAudio_ParamError;
    AudioUnitRenderActionFlags noFlags = 0;
    return DoRender(ioFlags != nullptr ? *ioFlags : noFlags, *timeStamp, bus, frames, *ioData);
}
