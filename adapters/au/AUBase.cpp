// AUBase: construction, life cycle, scopes and elements, listeners, and the
// defaults of the virtual operations.
#include "AUBase.h"

#include "CAXException.h"

AUBase::AUBase(AudioComponentInstance instance, UInt32 numInputElements, UInt32 numOutputElements,
               UInt32 numGroupElements)
    : ComponentBase(instance),
      mInitNumInputEls(numInputElements),
      mInitNumOutputEls(numOutputElements),
      mInitNumGroupEls(numGroupElements)
{
    (void) Keys(); // the shared class-info keys, made once per process

    ResetRenderTime();
    // No listener can be registered yet, so the notice for 14 reaches no one.
    SetMaxFramesPerSlice(kDefaultMaxFramesPerSlice);
    Globals().Initialize(this, kAudioUnitScope_Global, 1);

    mParamList.reserve(24);
    mCurrentPreset.presetNumber = -1;
    mCurrentPreset.presetName = Keys().untitled;
    CFRetain(mCurrentPreset.presetName);
}

AUBase::~AUBase()
{
    if (mCurrentPreset.presetName != nullptr)
        CFRelease(mCurrentPreset.presetName);
    if (mContextName != nullptr)
        CFRelease(mContextName);
}

void AUBase::CreateElements()
{
    if (mElementsCreated)
        return;
    Inputs().Initialize(this, kAudioUnitScope_Input, mInitNumInputEls);
    Outputs().Initialize(this, kAudioUnitScope_Output, mInitNumOutputEls);
    Groups().Initialize(this, kAudioUnitScope_Group, mInitNumGroupEls);
    CreateExtendedElements();
    mElementsCreated = true;
}

OSStatus AUBase::DoInitialize()
{
    if (IsInitialized())
        return 0;

    const OSStatus result = Initialize();
    if (result != 0)
        return result;

    mHasBegunInitializing = true;
    ReallocateBuffers();
    // The render thread tests the flag.
    mInitialized.store(true, std::memory_order_release);
    OSMemoryBarrier();
    return 0;
}

void AUBase::DoCleanup()
{
    if (IsInitialized())
        Cleanup();
    ResetRenderTime();
    mInitialized.store(false, std::memory_order_release);
    OSMemoryBarrier();
}

void AUBase::PreDestructor()
{
    DoCleanup();
}

OSStatus AUBase::Reset(AudioUnitScope, AudioUnitElement)
{
    ResetRenderTime();
    return 0;
}

void AUBase::ResetRenderTime() noexcept
{
    mCurrentRenderTime = AudioTimeStamp {};
    mCurrentRenderTime.mSampleTime = -1.0;
}

void AUBase::ReallocateBuffers()
{
    CreateElements();

    for (UInt32 i = 0; i < Outputs().GetNumberOfElements(); ++i)
        Outputs().GetIOElement(i)->AllocateBuffer();
    for (UInt32 i = 0; i < Inputs().GetNumberOfElements(); ++i)
        Inputs().GetIOElement(i)->AllocateBuffer();
    mBuffersAllocated = true;
}

AUScope& AUBase::GetScope(AudioUnitScope scope)
{
    if (scope < 4)
        return mScopes[scope];
    AUScope* extended = GetScopeExtended(scope);
    if (extended == nullptr)
        AUThrow(kAudioUnitErr_InvalidScope);
    return *extended;
}

AUInputElement* AUBase::GetInput(AudioUnitElement element)
{
    return static_cast<AUInputElement*>(Inputs().GetIOElement(element));
}

AUOutputElement* AUBase::GetOutput(AudioUnitElement element)
{
    return static_cast<AUOutputElement*>(Outputs().GetIOElement(element));
}

AUElement* AUBase::CreateElement(AudioUnitScope scope, AudioUnitElement)
{
    switch (scope)
    {
        case kAudioUnitScope_Global:
        case kAudioUnitScope_Group:
        case kAudioUnitScope_Part:
            return new AUElement(*this);
        case kAudioUnitScope_Input:
            return new AUInputElement(*this);
        case kAudioUnitScope_Output:
            return new AUOutputElement(*this);
        default:
            AUThrow(kAudioUnitErr_InvalidScope);
    }
}

bool AUBase::IsStreamFormatWritable(AudioUnitScope scope, AudioUnitElement element)
{
    switch (scope)
    {
        case kAudioUnitScope_Global:
            return StreamFormatWritable(kAudioUnitScope_Output, 0);
        case kAudioUnitScope_Input:
        {
            AUInputElement* input = GetInput(element);
            if (input->HasConnection())
                return false; // the format follows the source
            return StreamFormatWritable(kAudioUnitScope_Input, element);
        }
        case kAudioUnitScope_Output:
            return StreamFormatWritable(kAudioUnitScope_Output, element);
        default:
            return false;
    }
}

// ---- Listeners ---------------------------------------------------------------

// Host main thread.
OSStatus AUBase::AddPropertyListener(AudioUnitPropertyID id, AudioUnitPropertyListenerProc proc, void* userData)
{
    if (proc == nullptr)
        return kAudio_ParamError;
    if (mPropertyListeners.empty())
        mPropertyListeners.reserve(32);
    mPropertyListeners.push_back(PropertyListener { id, proc, userData });
    return 0;
}

// Host main thread.
OSStatus AUBase::RemovePropertyListener(AudioUnitPropertyID id, AudioUnitPropertyListenerProc proc, void* userData,
                                        bool useUserData)
{
    if (proc == nullptr)
        return kAudio_ParamError;
    for (size_t i = mPropertyListeners.size(); i-- > 0;)
    {
        const auto& l = mPropertyListeners[i];
        if (l.propertyID == id && l.listenerProc == proc && (! useUserData || l.listenerRefCon == userData))
            mPropertyListeners.erase(mPropertyListeners.begin() + (std::ptrdiff_t) i);
    }
    return 0;
}

void AUBase::PropertyChanged(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element)
{
    // By index, on a copy of each record: a listener may add or remove
    // listeners while it is called.
    for (size_t i = 0; i < mPropertyListeners.size(); ++i)
    {
        const PropertyListener l = mPropertyListeners[i];
        if (l.propertyID == id)
            l.listenerProc(l.listenerRefCon, GetComponentInstance(), id, scope, element);
    }
}

// ---- Defaults ----------------------------------------------------------------

OSStatus AUBase::GetPropertyInfo(AudioUnitPropertyID, AudioUnitScope, AudioUnitElement, UInt32&, Boolean&)
{
    return kAudioUnitErr_InvalidProperty;
}

OSStatus AUBase::GetProperty(AudioUnitPropertyID, AudioUnitScope, AudioUnitElement, void*)
{
    return kAudioUnitErr_InvalidProperty;
}

OSStatus AUBase::SetProperty(AudioUnitPropertyID, AudioUnitScope, AudioUnitElement, const void*, UInt32)
{
    return kAudioUnitErr_InvalidProperty;
}

OSStatus AUBase::RemovePropertyValue(AudioUnitPropertyID, AudioUnitScope, AudioUnitElement)
{
    return kAudioUnitErr_InvalidPropertyValue;
}

OSStatus AUBase::ProcessBufferLists(AudioUnitRenderActionFlags&, const AudioBufferList&, AudioBufferList&, UInt32)
{
    return kAudio_UnimplementedError;
}

OSStatus AUBase::ProcessMultipleBufferLists(AudioUnitRenderActionFlags&, UInt32, UInt32, const AudioBufferList**,
                                            UInt32, AudioBufferList**)
{
    return kAudio_UnimplementedError;
}

OSStatus AUBase::ComplexRender(AudioUnitRenderActionFlags&, const AudioTimeStamp&, UInt32, UInt32, UInt32*,
                               AudioBufferList&)
{
    return kAudio_UnimplementedError;
}

OSStatus AUBase::Render(AudioUnitRenderActionFlags&, const AudioTimeStamp&, UInt32)
{
    return 0;
}

OSStatus AUBase::GetParameterInfo(AudioUnitScope, AudioUnitParameterID, AudioUnitParameterInfo&)
{
    return kAudioUnitErr_InvalidElement;
}

OSStatus AUBase::GetParameterHistoryInfo(AudioUnitScope, AudioUnitParameterID, Float32&, Float32&)
{
    return kAudioUnitErr_InvalidProperty;
}

OSStatus AUBase::GetParameterValueStrings(AudioUnitScope, AudioUnitParameterID, CFArrayRef*)
{
    return kAudioUnitErr_InvalidProperty;
}

OSStatus AUBase::CopyClumpName(AudioUnitScope, UInt32, UInt32, CFStringRef*)
{
    return kAudioUnitErr_InvalidProperty;
}

OSStatus AUBase::GetPresets(CFArrayRef*) const
{
    return kAudioUnitErr_InvalidProperty;
}

OSStatus AUBase::NewFactoryPresetSet(const AUPreset&)
{
    return kAudioUnitErr_InvalidProperty;
}

UInt32 AUBase::SupportedNumChannels(const AUChannelInfo**)
{
    return 0;
}

OSStatus AUBase::MIDIEvent(UInt32, UInt32, UInt32, UInt32)
{
    return kAudio_UnimplementedError;
}

OSStatus AUBase::SysEx(const UInt8*, UInt32)
{
    return kAudio_UnimplementedError;
}

OSStatus AUBase::StartNote(UInt32, UInt32, UInt32*, UInt32, const void*)
{
    return kAudio_UnimplementedError;
}

OSStatus AUBase::StopNote(UInt32, UInt32, UInt32)
{
    return kAudio_UnimplementedError;
}

// ---- Input sources ---------------------------------------------------------------

// Host main thread.
OSStatus AUBase::SetConnection(const AudioUnitConnection& connection)
{
    AUInputElement* input = GetInput(connection.destInputNumber);

    if (connection.sourceAudioUnit != nullptr)
    {
        // The input takes the source's output format first; if either step
        // fails nothing else changes.
        CAStreamBasicDescription format;
        UInt32 size = sizeof(AudioStreamBasicDescription);
        OSStatus result = AudioUnitGetProperty(connection.sourceAudioUnit, kAudioUnitProperty_StreamFormat,
                                               kAudioUnitScope_Output, connection.sourceOutputNumber, &format, &size);
        if (result != 0)
            return result;
        result = DispatchSetProperty(kAudioUnitProperty_StreamFormat, kAudioUnitScope_Input,
                                     connection.destInputNumber, &format, sizeof(AudioStreamBasicDescription));
        if (result != 0)
            return result;
    }

    input->SetConnection(connection);
    PropertyChanged(kAudioUnitProperty_MakeConnection, kAudioUnitScope_Input, connection.destInputNumber);
    return 0;
}

// Host main thread.
OSStatus AUBase::SetInputCallback(UInt32 property, AudioUnitElement element, AURenderCallback proc, void* refCon)
{
    GetInput(element)->SetInputCallback(proc, refCon);
    PropertyChanged(property, kAudioUnitScope_Input, element);
    return 0;
}
