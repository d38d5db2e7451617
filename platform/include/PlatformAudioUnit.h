/* What an Audio Unit host and an Audio Unit exchange: records, status codes,
   property identifiers, selectors, and the few calls a unit makes into the
   host's world.

   Names, signatures, record layouts and constant values are the platform's
   published ones (native byte order, 8-byte pointers); every offset a host
   relies on is checked below. */
#ifndef QV_PLATFORM_AUDIO_UNIT_H
#define QV_PLATFORM_AUDIO_UNIT_H

#include "PlatformCoreFoundation.h"

#ifdef __cplusplus
extern "C" {
#endif

QV_PLATFORM_STATIC_ASSERT(sizeof(void*) == 8, "the records assume 8-byte pointers");

/* ---- Handles ------------------------------------------------------------ */

/* An instance handle. Here it is the address of the instance's plug-in
   interface record (AudioComponentPlugInInterface, below): the calls of this
   library find the unit's functions through that record's Lookup. */
typedef struct QvComponentInstanceRecord* AudioComponentInstance;
typedef AudioComponentInstance AudioUnit;
typedef AudioComponentInstance ComponentInstance;
typedef struct QvAudioComponentRecord* AudioComponent;
typedef struct QvComponentRecord* Component;
typedef char** Handle;
typedef struct QvAUEventListener* AUEventListenerRef;

typedef UInt32 AudioUnitPropertyID;
typedef UInt32 AudioUnitScope;
typedef UInt32 AudioUnitElement;
typedef UInt32 AudioUnitParameterID;
typedef Float32 AudioUnitParameterValue;
typedef UInt32 AudioUnitRenderActionFlags;
typedef UInt32 AudioFormatID;
typedef UInt32 AudioFormatFlags;
typedef UInt32 AudioChannelLayoutTag;
typedef UInt32 AudioChannelBitmap;
typedef UInt32 AudioChannelLabel;
typedef UInt32 AudioChannelFlags;
typedef UInt32 AudioUnitEventType;
typedef UInt32 AUParameterEventType;
typedef SInt32 ComponentResult;

/* ---- Status codes ------------------------------------------------------- */

enum
{
    kAudio_UnimplementedError = -4,
    kAudio_ParamError = -50,
    kAudio_MemFullError = -108,

    kAudioUnitErr_InvalidProperty = -10879,
    kAudioUnitErr_InvalidParameter = -10878,
    kAudioUnitErr_InvalidElement = -10877,
    kAudioUnitErr_NoConnection = -10876,
    kAudioUnitErr_FailedInitialization = -10875,
    kAudioUnitErr_TooManyFramesToProcess = -10874,
    kAudioUnitErr_FormatNotSupported = -10868,
    kAudioUnitErr_Uninitialized = -10867,
    kAudioUnitErr_InvalidScope = -10866,
    kAudioUnitErr_PropertyNotWritable = -10865,
    kAudioUnitErr_InvalidPropertyValue = -10851,
    kAudioUnitErr_Initialized = -10849
};

/* The Component Manager's answer to a selector it does not know. */
#define badComponentSelector ((OSStatus) 0x80008002)

/* ---- Scopes, properties, selectors -------------------------------------- */

enum
{
    kAudioUnitScope_Global = 0,
    kAudioUnitScope_Input = 1,
    kAudioUnitScope_Output = 2,
    kAudioUnitScope_Group = 3,
    kAudioUnitScope_Part = 4
};

enum
{
    kAudioUnitProperty_ClassInfo = 0,
    kAudioUnitProperty_MakeConnection = 1,
    kAudioUnitProperty_SampleRate = 2,
    kAudioUnitProperty_ParameterList = 3,
    kAudioUnitProperty_ParameterInfo = 4,
    kAudioUnitProperty_FastDispatch = 5,
    kAudioUnitProperty_CPULoad = 6,
    kAudioUnitProperty_StreamFormat = 8,
    kAudioUnitProperty_ElementCount = 11,
    kAudioUnitProperty_Latency = 12,
    kAudioUnitProperty_SupportedNumChannels = 13,
    kAudioUnitProperty_MaximumFramesPerSlice = 14,
    kAudioUnitProperty_SetExternalBuffer = 15,
    kAudioUnitProperty_ParameterValueStrings = 16,
    kAudioUnitProperty_GetUIComponentList = 18,
    kAudioUnitProperty_AudioChannelLayout = 19,
    kAudioUnitProperty_TailTime = 20,
    kAudioUnitProperty_BypassEffect = 21,
    kAudioUnitProperty_LastRenderError = 22,
    kAudioUnitProperty_SetRenderCallback = 23,
    kAudioUnitProperty_FactoryPresets = 24,
    kAudioUnitProperty_ContextName = 25,
    kAudioUnitProperty_RenderQuality = 26,
    kAudioUnitProperty_HostCallbacks = 27,
    kAudioUnitProperty_InPlaceProcessing = 29,
    kAudioUnitProperty_ElementName = 30,
    kAudioUnitProperty_CocoaUI = 31,
    kAudioUnitProperty_SupportedChannelLayoutTags = 32,
    kAudioUnitProperty_ParameterClumpName = 35,
    kAudioUnitProperty_PresentPreset = 36,
    kAudioUnitProperty_OfflineRender = 37,
    kAudioUnitProperty_IconLocation = 39,
    kAudioUnitProperty_ShouldAllocateBuffer = 51,
    kAudioUnitProperty_ParameterHistoryInfo = 53,
    kMusicDeviceProperty_MIDIXMLNames = 1006
};

/* Fast-dispatch function numbers (the element of the fast-dispatch property). */
enum
{
    kAudioUnitGetParameterSelect = 6,
    kAudioUnitSetParameterSelect = 7,
    kAudioUnitRenderSelect = 14,
    kMusicDeviceMIDIEventSelect = 257,
    kMusicDeviceSysExSelect = 258
};

/* Selectors of Lookup and of the component entry. */
enum
{
    kAudioUnitInitializeSelect = 1,
    kAudioUnitUninitializeSelect = 2,
    kAudioUnitGetPropertyInfoSelect = 3,
    kAudioUnitGetPropertySelect = 4,
    kAudioUnitSetPropertySelect = 5,
    /* 6 get parameter, 7 set parameter: above */
    kAudioUnitResetSelect = 9,
    kAudioUnitAddPropertyListenerSelect = 10,
    kAudioUnitRemovePropertyListenerSelect = 11,
    /* 14 render: above */
    kAudioUnitAddRenderNotifySelect = 15,
    kAudioUnitRemoveRenderNotifySelect = 16,
    kAudioUnitScheduleParametersSelect = 17,
    kAudioUnitRemovePropertyListenerWithUserDataSelect = 18,

    kComponentOpenSelect = -1,
    kComponentCloseSelect = -2,
    kComponentCanDoSelect = -3,
    kComponentVersionSelect = -4
};

/* Bits of the render action flags word. */
enum
{
    kAudioUnitRenderAction_PreRender = 0x4,
    kAudioUnitRenderAction_PostRender = 0x8,
    kAudioUnitRenderAction_OutputIsSilence = 0x10,
    kAudioUnitRenderAction_PostRenderError = 0x100
};

/* ---- Stream formats ----------------------------------------------------- */

enum
{
    kAudioFormatLinearPCM = 0x6C70636D /* 'lpcm' */
};

enum
{
    kAudioFormatFlagIsFloat = 0x1,
    kAudioFormatFlagIsBigEndian = 0x2,
    kAudioFormatFlagIsSignedInteger = 0x4,
    kAudioFormatFlagIsPacked = 0x8,
    kAudioFormatFlagIsAlignedHigh = 0x10,
    kAudioFormatFlagIsNonInterleaved = 0x20,
    kAudioFormatFlagIsNonMixable = 0x40,
    kLinearPCMFormatFlagsSampleFractionShift = 7,
    kLinearPCMFormatFlagsSampleFractionMask = 0x1F80, /* 0x3F << 7 */
    kAudioFormatFlagsAreAllClear = (int) 0x80000000
};

typedef struct AudioStreamBasicDescription
{
    Float64 mSampleRate;            /* Hz */
    AudioFormatID mFormatID;
    AudioFormatFlags mFormatFlags;
    UInt32 mBytesPerPacket;
    UInt32 mFramesPerPacket;
    UInt32 mBytesPerFrame;          /* of one buffer: one channel when non-interleaved */
    UInt32 mChannelsPerFrame;
    UInt32 mBitsPerChannel;
    UInt32 mReserved;
} AudioStreamBasicDescription;

QV_PLATFORM_STATIC_ASSERT(sizeof(AudioStreamBasicDescription) == 40, "AudioStreamBasicDescription is 40 bytes");
QV_PLATFORM_STATIC_ASSERT(offsetof(AudioStreamBasicDescription, mFormatID) == 8, "AudioStreamBasicDescription layout");
QV_PLATFORM_STATIC_ASSERT(offsetof(AudioStreamBasicDescription, mChannelsPerFrame) == 28, "AudioStreamBasicDescription layout");
QV_PLATFORM_STATIC_ASSERT(offsetof(AudioStreamBasicDescription, mReserved) == 36, "AudioStreamBasicDescription layout");

/* ---- Buffers ------------------------------------------------------------ */

typedef struct AudioBuffer
{
    UInt32 mNumberChannels;
    UInt32 mDataByteSize;           /* bytes */
    void* mData;
} AudioBuffer;

/* The list goes on past the record: mNumberBuffers entries from offset 8. */
typedef struct AudioBufferList
{
    UInt32 mNumberBuffers;
    AudioBuffer mBuffers[1];
} AudioBufferList;

QV_PLATFORM_STATIC_ASSERT(sizeof(AudioBuffer) == 16, "AudioBuffer is 16 bytes");
QV_PLATFORM_STATIC_ASSERT(offsetof(AudioBuffer, mData) == 8, "AudioBuffer layout");
QV_PLATFORM_STATIC_ASSERT(offsetof(AudioBufferList, mBuffers) == 8, "AudioBufferList layout");

/* ---- Time stamps -------------------------------------------------------- */

typedef struct SMPTETime
{
    SInt16 mSubframes;
    SInt16 mSubframeDivisor;
    UInt32 mCounter;
    UInt32 mType;
    UInt32 mFlags;
    SInt16 mHours;
    SInt16 mMinutes;
    SInt16 mSeconds;
    SInt16 mFrames;
} SMPTETime;

typedef struct AudioTimeStamp
{
    Float64 mSampleTime;            /* samples */
    UInt64 mHostTime;
    Float64 mRateScalar;
    UInt64 mWordClockTime;
    SMPTETime mSMPTETime;
    UInt32 mFlags;
    UInt32 mReserved;
} AudioTimeStamp;

enum
{
    kAudioTimeStampSampleTimeValid = 0x1
};

QV_PLATFORM_STATIC_ASSERT(sizeof(SMPTETime) == 24, "SMPTETime is 24 bytes");
QV_PLATFORM_STATIC_ASSERT(sizeof(AudioTimeStamp) == 64, "AudioTimeStamp is 64 bytes");
QV_PLATFORM_STATIC_ASSERT(offsetof(AudioTimeStamp, mSMPTETime) == 32, "AudioTimeStamp layout");
QV_PLATFORM_STATIC_ASSERT(offsetof(AudioTimeStamp, mFlags) == 56, "AudioTimeStamp layout");

/* ---- Parameters --------------------------------------------------------- */

enum
{
    kParameterEvent_Immediate = 1,
    kParameterEvent_Ramped = 2
};

typedef struct AudioUnitParameterEvent
{
    AudioUnitScope scope;
    AudioUnitElement element;
    AudioUnitParameterID parameter;
    AUParameterEventType eventType;
    union
    {
        struct
        {
            SInt32 startBufferOffset;   /* frames */
            UInt32 durationInFrames;
            AudioUnitParameterValue startValue;
            AudioUnitParameterValue endValue;
        } ramp;
        struct
        {
            UInt32 bufferOffset;        /* frames */
            AudioUnitParameterValue value;
        } immediate;
    } eventValues;
} AudioUnitParameterEvent;

QV_PLATFORM_STATIC_ASSERT(sizeof(AudioUnitParameterEvent) == 32, "AudioUnitParameterEvent is 32 bytes");
QV_PLATFORM_STATIC_ASSERT(offsetof(AudioUnitParameterEvent, eventType) == 12, "AudioUnitParameterEvent layout");
QV_PLATFORM_STATIC_ASSERT(offsetof(AudioUnitParameterEvent, eventValues) == 16, "AudioUnitParameterEvent layout");

enum
{
    kAudioUnitParameterUnit_Generic = 0
};

enum
{
    kAudioUnitParameterFlag_CFNameRelease = 0x00000010,
    kAudioUnitParameterFlag_IsHighResolution = 0x00800000,
    kAudioUnitParameterFlag_NonRealTime = 0x01000000,
    kAudioUnitParameterFlag_HasCFNameString = 0x08000000,
    kAudioUnitParameterFlag_IsGlobalMeta = 0x10000000,
    kAudioUnitParameterFlag_IsReadable = 0x40000000,
    kAudioUnitParameterFlag_IsWritable = (int) 0x80000000
};

typedef struct AudioUnitParameterInfo
{
    char name[52];
    CFStringRef unitName;
    UInt32 clumpID;
    CFStringRef cfNameString;
    UInt32 unit;
    AudioUnitParameterValue minValue;
    AudioUnitParameterValue maxValue;
    AudioUnitParameterValue defaultValue;
    UInt32 flags;
} AudioUnitParameterInfo;

QV_PLATFORM_STATIC_ASSERT(sizeof(AudioUnitParameterInfo) == 104, "AudioUnitParameterInfo is 104 bytes");
QV_PLATFORM_STATIC_ASSERT(offsetof(AudioUnitParameterInfo, unitName) == 56, "AudioUnitParameterInfo layout");
QV_PLATFORM_STATIC_ASSERT(offsetof(AudioUnitParameterInfo, cfNameString) == 72, "AudioUnitParameterInfo layout");
QV_PLATFORM_STATIC_ASSERT(offsetof(AudioUnitParameterInfo, flags) == 96, "AudioUnitParameterInfo layout");

typedef struct AudioUnitParameterHistoryInfo
{
    Float32 updatesPerSecond;
    Float32 historyDurationInSeconds;
} AudioUnitParameterHistoryInfo;

/* The clump-name property's record: the first two fields in, the name out. */
typedef struct AudioUnitParameterNameInfo
{
    UInt32 inID;
    SInt32 inDesiredLength;
    CFStringRef outName;
} AudioUnitParameterNameInfo;

QV_PLATFORM_STATIC_ASSERT(sizeof(AudioUnitParameterNameInfo) == 16, "AudioUnitParameterNameInfo is 16 bytes");

/* ---- Connections, callbacks, presets ------------------------------------ */

typedef OSStatus (*AURenderCallback)(void* inRefCon, AudioUnitRenderActionFlags* ioActionFlags,
                                     const AudioTimeStamp* inTimeStamp, UInt32 inBusNumber,
                                     UInt32 inNumberFrames, AudioBufferList* ioData);

typedef void (*AudioUnitPropertyListenerProc)(void* inRefCon, AudioUnit inUnit, AudioUnitPropertyID inID,
                                              AudioUnitScope inScope, AudioUnitElement inElement);

typedef struct AURenderCallbackStruct
{
    AURenderCallback inputProc;
    void* inputProcRefCon;
} AURenderCallbackStruct;

typedef struct AudioUnitConnection
{
    AudioUnit sourceAudioUnit;
    UInt32 sourceOutputNumber;
    UInt32 destInputNumber;
} AudioUnitConnection;

typedef struct AUPreset
{
    SInt32 presetNumber;
    CFStringRef presetName;
} AUPreset;

typedef struct AudioUnitExternalBuffer
{
    Byte* buffer;
    UInt32 size;                    /* bytes */
} AudioUnitExternalBuffer;

typedef struct AUChannelInfo
{
    SInt16 inChannels;              /* -1, -2: any */
    SInt16 outChannels;
} AUChannelInfo;

QV_PLATFORM_STATIC_ASSERT(sizeof(AURenderCallbackStruct) == 16, "AURenderCallbackStruct is 16 bytes");
QV_PLATFORM_STATIC_ASSERT(sizeof(AudioUnitConnection) == 16, "AudioUnitConnection is 16 bytes");
QV_PLATFORM_STATIC_ASSERT(offsetof(AudioUnitConnection, destInputNumber) == 12, "AudioUnitConnection layout");
QV_PLATFORM_STATIC_ASSERT(sizeof(AUPreset) == 16, "AUPreset is 16 bytes");
QV_PLATFORM_STATIC_ASSERT(sizeof(AudioUnitExternalBuffer) == 16, "AudioUnitExternalBuffer is 16 bytes");
QV_PLATFORM_STATIC_ASSERT(sizeof(AUChannelInfo) == 4, "AUChannelInfo is 4 bytes");

/* The host's musical context. */
typedef OSStatus (*HostCallback_GetBeatAndTempo)(void* inHostUserData, Float64* outCurrentBeat,
                                                 Float64* outCurrentTempo);
typedef OSStatus (*HostCallback_GetMusicalTimeLocation)(void* inHostUserData, UInt32* outDeltaSampleOffsetToNextBeat,
                                                        Float32* outTimeSig_Numerator, UInt32* outTimeSig_Denominator,
                                                        Float64* outCurrentMeasureDownBeat);
typedef OSStatus (*HostCallback_GetTransportState)(void* inHostUserData, Boolean* outIsPlaying,
                                                   Boolean* outTransportStateChanged,
                                                   Float64* outCurrentSampleInTimeLine, Boolean* outIsCycling,
                                                   Float64* outCycleStartBeat, Float64* outCycleEndBeat);

typedef struct HostCallbackInfo
{
    void* hostUserData;
    HostCallback_GetBeatAndTempo beatAndTempoProc;
    HostCallback_GetMusicalTimeLocation musicalTimeLocationProc;
    HostCallback_GetTransportState transportStateProc;
} HostCallbackInfo;

QV_PLATFORM_STATIC_ASSERT(sizeof(HostCallbackInfo) == 32, "HostCallbackInfo is 32 bytes");

/* ---- Channel layouts ---------------------------------------------------- */

enum
{
    kAudioChannelLayoutTag_UseChannelDescriptions = 0,
    kAudioChannelLayoutTag_UseChannelBitmap = 0x10000,
    kAudioChannelLayoutTag_Stereo = 0x650002,
    kAudioChannelLayoutTag_Ambisonic_B_Format = 0x6C0004,
    kAudioChannelLayoutTag_MPEG_5_1_A = 0x790006,
    kAudioChannelLayoutTag_MPEG_6_1_A = 0x7D0007,
    kAudioChannelLayoutTag_MPEG_7_1_A = 0x7E0008,
    kAudioChannelLayoutTag_MPEG_7_1_C = 0x800008
};

typedef struct AudioChannelDescription
{
    AudioChannelLabel mChannelLabel;
    AudioChannelFlags mChannelFlags;
    Float32 mCoordinates[3];
} AudioChannelDescription;

/* The record goes on past its end: mNumberChannelDescriptions entries from offset 12. */
typedef struct AudioChannelLayout
{
    AudioChannelLayoutTag mChannelLayoutTag;
    AudioChannelBitmap mChannelBitmap;
    UInt32 mNumberChannelDescriptions;
    AudioChannelDescription mChannelDescriptions[1];
} AudioChannelLayout;

QV_PLATFORM_STATIC_ASSERT(sizeof(AudioChannelDescription) == 20, "AudioChannelDescription is 20 bytes");
QV_PLATFORM_STATIC_ASSERT(offsetof(AudioChannelLayout, mChannelDescriptions) == 12, "AudioChannelLayout layout");

/* ---- Components --------------------------------------------------------- */

typedef struct AudioComponentDescription
{
    OSType componentType;
    OSType componentSubType;
    OSType componentManufacturer;
    UInt32 componentFlags;
    UInt32 componentFlagsMask;
} AudioComponentDescription;

/* The Component Manager's description: the same five words. */
typedef AudioComponentDescription ComponentDescription;

QV_PLATFORM_STATIC_ASSERT(sizeof(AudioComponentDescription) == 20, "AudioComponentDescription is 20 bytes");

/* Every unit function that Lookup hands out takes the interface record's
   address first; the rest of its arguments depend on the selector. */
typedef OSStatus (*AudioComponentMethod)(void* self, ...);

/* The head of a plug-in instance: what a host reads and calls through. */
typedef struct AudioComponentPlugInInterface
{
    OSStatus (*Open)(void* self, AudioComponentInstance instance);
    OSStatus (*Close)(void* self);
    AudioComponentMethod (*Lookup)(SInt16 selector);
    void* reserved;
} AudioComponentPlugInInterface;

QV_PLATFORM_STATIC_ASSERT(sizeof(AudioComponentPlugInInterface) == 32, "AudioComponentPlugInInterface is 32 bytes");

typedef AudioComponentPlugInInterface* (*AudioComponentFactoryFunction)(const AudioComponentDescription* description);

/* A Component Manager call: byte 0 flags, byte 1 the size in bytes of the
   argument slots after the instance slot (8 per argument), a signed 16-bit
   selector at offset 2, then 8-byte slots: the instance at offset 8 and the
   arguments in their declared order from offset 16. A 32-bit or float
   argument sits in the low bytes of its slot. */
typedef struct ComponentParameters
{
    UInt8 flags;
    UInt8 paramSize;
    SInt16 what;
    UInt32 padding;
    long params[1];
} ComponentParameters;

QV_PLATFORM_STATIC_ASSERT(offsetof(ComponentParameters, what) == 2, "ComponentParameters layout");
QV_PLATFORM_STATIC_ASSERT(offsetof(ComponentParameters, params) == 8, "ComponentParameters layout");

/* Fast-dispatch functions: called with the unit's object, not its handle. */
typedef OSStatus (*AudioUnitGetParameterProc)(void* inComponentStorage, AudioUnitParameterID inID,
                                              AudioUnitScope inScope, AudioUnitElement inElement,
                                              AudioUnitParameterValue* outValue);
typedef OSStatus (*AudioUnitSetParameterProc)(void* inComponentStorage, AudioUnitParameterID inID,
                                              AudioUnitScope inScope, AudioUnitElement inElement,
                                              AudioUnitParameterValue inValue, UInt32 inBufferOffsetInFrames);
typedef OSStatus (*AudioUnitRenderProc)(void* inComponentStorage, AudioUnitRenderActionFlags* ioActionFlags,
                                        const AudioTimeStamp* inTimeStamp, UInt32 inOutputBusNumber,
                                        UInt32 inNumberFrames, AudioBufferList* ioData);
typedef OSStatus (*MusicDeviceMIDIEventProc)(void* inComponentStorage, UInt32 inStatus, UInt32 inData1,
                                             UInt32 inData2, UInt32 inOffsetSampleFrame);

/* The Component Manager functions a unit may look up by name (they are not
   part of this library; a host that has them defines them). */
typedef Handle (*GetComponentInstanceStorageProc)(ComponentInstance instance);
typedef void (*SetComponentInstanceStorageProc)(ComponentInstance instance, Handle storage);
typedef OSErr (*GetComponentInfoProc)(Component component, ComponentDescription* description,
                                      Handle name, Handle info, Handle icon);

/* ---- Events ------------------------------------------------------------- */

enum
{
    kAudioUnitEvent_ParameterValueChange = 0,
    kAudioUnitEvent_BeginParameterChangeGesture = 1,
    kAudioUnitEvent_EndParameterChangeGesture = 2,
    kAudioUnitEvent_PropertyChange = 3
};

typedef struct AudioUnitParameter
{
    AudioUnit mAudioUnit;
    AudioUnitParameterID mParameterID;
    AudioUnitScope mScope;
    AudioUnitElement mElement;
} AudioUnitParameter;

typedef struct AudioUnitProperty
{
    AudioUnit mAudioUnit;
    AudioUnitPropertyID mPropertyID;
    AudioUnitScope mScope;
    AudioUnitElement mElement;
} AudioUnitProperty;

typedef struct AudioUnitEvent
{
    AudioUnitEventType mEventType;
    union
    {
        AudioUnitParameter mParameter;
        AudioUnitProperty mProperty;
    } mArgument;
} AudioUnitEvent;

QV_PLATFORM_STATIC_ASSERT(sizeof(AudioUnitEvent) == 32, "AudioUnitEvent is 32 bytes");
QV_PLATFORM_STATIC_ASSERT(offsetof(AudioUnitEvent, mArgument) == 8, "AudioUnitEvent layout");
QV_PLATFORM_STATIC_ASSERT(offsetof(AudioUnitParameter, mParameterID) == 8, "AudioUnitParameter layout");

/* ---- The Cocoa view record ---------------------------------------------- */

typedef struct AudioUnitCocoaViewInfo
{
    CFURLRef mCocoaAUViewBundleLocation;
    CFStringRef mCocoaAUViewClass[1];
} AudioUnitCocoaViewInfo;

QV_PLATFORM_STATIC_ASSERT(sizeof(AudioUnitCocoaViewInfo) == 16, "AudioUnitCocoaViewInfo is 16 bytes");

/* ---- Calls into the host's world ---------------------------------------- */

/* Any thread. Reads a property of another unit through its Lookup (selector
   4); a null unit, size pointer or Lookup answer gives -50, -50 and
   badComponentSelector. */
QV_PLATFORM_API OSStatus AudioUnitGetProperty(AudioUnit unit, AudioUnitPropertyID id, AudioUnitScope scope,
                                              AudioUnitElement element, void* outData, UInt32* ioDataSize);

/* Render thread. Pulls audio from another unit through its Lookup (selector 14). */
QV_PLATFORM_API OSStatus AudioUnitRender(AudioUnit unit, AudioUnitRenderActionFlags* ioActionFlags,
                                         const AudioTimeStamp* timeStamp, UInt32 outputBusNumber,
                                         UInt32 numberFrames, AudioBufferList* ioData);

/* Any thread. Tells the host's listeners of a parameter or property event.
   Here the events are recorded (the last 1024), for a host to read back. */
QV_PLATFORM_API OSStatus AUEventListenerNotify(AUEventListenerRef sendingListener, void* sendingObject,
                                               const AudioUnitEvent* event);

/* Host main thread. The component registry: a host registers a factory under
   a description and makes instances from it. An instance's handle is the address of the
   interface record the factory answered; Open has been called on it. */
QV_PLATFORM_API AudioComponent AudioComponentRegister(const AudioComponentDescription* description, CFStringRef name,
                                                      UInt32 version, AudioComponentFactoryFunction factory);
QV_PLATFORM_API OSStatus AudioComponentInstanceNew(AudioComponent component, AudioComponentInstance* outInstance);
QV_PLATFORM_API OSStatus AudioComponentInstanceDispose(AudioComponentInstance instance);
/* Null for a handle this registry did not make. */
QV_PLATFORM_API AudioComponent AudioComponentInstanceGetComponent(AudioComponentInstance instance);
QV_PLATFORM_API OSStatus AudioComponentGetDescription(AudioComponent component, AudioComponentDescription* outDescription);

/* ---- Ours: reading back what AUEventListenerNotify was sent -------------- */

/* Events received since the last clear (may exceed the 1024 kept). */
QV_PLATFORM_API UInt32 QvPlatformRecordedEventCount(void);
/* Copies the index-th kept event, oldest first; false past the end. */
QV_PLATFORM_API Boolean QvPlatformRecordedEvent(UInt32 index, AudioUnitEvent* outEvent);
QV_PLATFORM_API void QvPlatformClearRecordedEvents(void);

#ifdef __cplusplus
}
#endif

#endif
