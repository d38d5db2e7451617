// The records that a VST 2.4 host and this plug-in exchange.
//
// These are host formats: native byte order, 8-byte pointers. Every offset a
// host relies on is checked below, so a layout slip fails the build and not a
// host.
#pragma once

#include <cstddef>
#include <cstdint>

struct AEffect;

/** What the host hands the plug-in at the entry point; every request from the
    plug-in to the host goes through it. */
using HostCallback = intptr_t (*)(AEffect* effect, int32_t opcode, int32_t index,
                                  intptr_t value, void* ptr, float opt);

using AEffectDispatcherProc = intptr_t (*)(AEffect* effect, int32_t opcode, int32_t index,
                                           intptr_t value, void* ptr, float opt);
using AEffectProcessProc = void (*)(AEffect* effect, float** inputs, float** outputs, int32_t frames);
using AEffectProcessDoubleProc = void (*)(AEffect* effect, double** inputs, double** outputs, int32_t frames);
using AEffectSetParameterProc = void (*)(AEffect* effect, int32_t index, float value);
using AEffectGetParameterProc = float (*)(AEffect* effect, int32_t index);

/** Four characters packed big-end first, as the interface writes its codes. */
constexpr int32_t fourCharCode(char a, char b, char c, char d) noexcept
{
    return (int32_t) (((uint32_t) (uint8_t) a << 24) | ((uint32_t) (uint8_t) b << 16)
                      | ((uint32_t) (uint8_t) c << 8) | (uint32_t) (uint8_t) d);
}

constexpr int32_t kEffectMagic = fourCharCode('V', 's', 't', 'P');      // 0x56737450
constexpr int32_t kNoEffectUniqueID = fourCharCode('N', 'o', 'E', 'f'); // 0x4E6F4566
constexpr int32_t kIdentifyReply = fourCharCode('N', 'v', 'E', 'f');    // 0x4E764566

/** Bits of AEffect::flags. */
enum AEffectFlag : int32_t
{
    kFlagHasEditor          = 0x1,
    kFlagHasClip            = 0x2,   // deprecated
    kFlagHasVu              = 0x4,   // deprecated
    kFlagCanMono            = 0x8,   // deprecated
    kFlagCanReplacing       = 0x10,
    kFlagProgramChunks      = 0x20,
    kFlagIsSynth            = 0x100,
    kFlagNoSoundInStop      = 0x200,
    kFlagExtIsAsync         = 0x400, // deprecated
    kFlagExtHasBuffer       = 0x800, // deprecated
    kFlagCanDoubleReplacing = 0x1000
};

/** The record the host reads and calls through; 192 bytes. */
struct AEffect
{
    int32_t magic;                                // 'VstP'
    AEffectDispatcherProc dispatcher;
    AEffectProcessProc processDeprecated;
    AEffectSetParameterProc setParameter;
    AEffectGetParameterProc getParameter;
    int32_t numPrograms;
    int32_t numParams;
    int32_t numInputs;
    int32_t numOutputs;
    int32_t flags;                                // AEffectFlag bits
    intptr_t unused1[2];
    int32_t initialDelay;                         // samples
    int32_t realQualities;
    int32_t offQualities;
    float ioRatio;
    void* object;                                 // the AudioEffect that owns the record
    void* user;
    int32_t uniqueID;
    int32_t version;
    AEffectProcessProc processReplacing;
    AEffectProcessDoubleProc processDoubleReplacing;
    char future[56];
};

static_assert(sizeof(void*) == 8, "the record layout assumes 8-byte pointers");
static_assert(sizeof(AEffect) == 192, "AEffect must be 192 bytes");
static_assert(offsetof(AEffect, magic) == 0, "AEffect layout");
static_assert(offsetof(AEffect, dispatcher) == 8, "AEffect layout");
static_assert(offsetof(AEffect, processDeprecated) == 16, "AEffect layout");
static_assert(offsetof(AEffect, setParameter) == 24, "AEffect layout");
static_assert(offsetof(AEffect, getParameter) == 32, "AEffect layout");
static_assert(offsetof(AEffect, numPrograms) == 40, "AEffect layout");
static_assert(offsetof(AEffect, numParams) == 44, "AEffect layout");
static_assert(offsetof(AEffect, numInputs) == 48, "AEffect layout");
static_assert(offsetof(AEffect, numOutputs) == 52, "AEffect layout");
static_assert(offsetof(AEffect, flags) == 56, "AEffect layout");
static_assert(offsetof(AEffect, unused1) == 64, "AEffect layout");
static_assert(offsetof(AEffect, initialDelay) == 80, "AEffect layout");
static_assert(offsetof(AEffect, realQualities) == 84, "AEffect layout");
static_assert(offsetof(AEffect, offQualities) == 88, "AEffect layout");
static_assert(offsetof(AEffect, ioRatio) == 92, "AEffect layout");
static_assert(offsetof(AEffect, object) == 96, "AEffect layout");
static_assert(offsetof(AEffect, user) == 104, "AEffect layout");
static_assert(offsetof(AEffect, uniqueID) == 112, "AEffect layout");
static_assert(offsetof(AEffect, version) == 116, "AEffect layout");
static_assert(offsetof(AEffect, processReplacing) == 120, "AEffect layout");
static_assert(offsetof(AEffect, processDoubleReplacing) == 128, "AEffect layout");
static_assert(offsetof(AEffect, future) == 136, "AEffect layout");

/** One speaker of an arrangement; 112 bytes. */
struct VstSpeakerProperties
{
    float azimuth;
    float elevation;
    float radius;
    float reserved;
    char name[64];                                // at most 63 characters and a zero
    int32_t type;
    char future[28];
};

static_assert(sizeof(VstSpeakerProperties) == 112, "VstSpeakerProperties must be 112 bytes");
static_assert(offsetof(VstSpeakerProperties, name) == 16, "VstSpeakerProperties layout");
static_assert(offsetof(VstSpeakerProperties, type) == 80, "VstSpeakerProperties layout");
static_assert(offsetof(VstSpeakerProperties, future) == 84, "VstSpeakerProperties layout");

/** The head of a speaker arrangement. The host's record goes on with one
    VstSpeakerProperties per channel, right after these eight bytes. */
struct VstSpeakerArrangement
{
    int32_t type;                                 // arrangement type, -1 none
    int32_t numChannels;
};

static_assert(sizeof(VstSpeakerArrangement) == 8, "VstSpeakerArrangement head must be 8 bytes");

constexpr size_t kSpeakerArrangementHeadBytes = sizeof(VstSpeakerArrangement);

inline VstSpeakerProperties* speakerAt(VstSpeakerArrangement* arrangement, int index) noexcept
{
    auto* base = reinterpret_cast<char*>(arrangement) + kSpeakerArrangementHeadBytes;
    return reinterpret_cast<VstSpeakerProperties*>(base) + index;
}

/** Bits of VstPinProperties::flags. */
enum VstPinFlag : int32_t
{
    kPinIsActive       = 1,
    kPinIsStereo       = 2,
    kPinUseSpeakerType = 4
};

/** A channel's description for the host. The plug-in writes only these fields;
    the host's record may be longer. */
struct VstPinProperties
{
    char label[64];
    int32_t flags;                                // VstPinFlag bits
    int32_t arrangementType;
    char shortLabel[8];
};

static_assert(offsetof(VstPinProperties, label) == 0, "VstPinProperties layout");
static_assert(offsetof(VstPinProperties, flags) == 64, "VstPinProperties layout");
static_assert(offsetof(VstPinProperties, arrangementType) == 68, "VstPinProperties layout");
static_assert(offsetof(VstPinProperties, shortLabel) == 72, "VstPinProperties layout");

/** Bits of VstTimeInfo::flags. */
enum VstTimeInfoFlag : int32_t
{
    kTransportPlaying   = 0x2,
    kTransportCycle     = 0x4,
    kTransportRecording = 0x8,
    kPpqPositionValid   = 0x200,
    kTempoValid         = 0x400,
    kBarStartValid      = 0x800,
    kCycleValid         = 0x1000,
    kTimeSigValid       = 0x2000,
    kSmpteValid         = 0x4000,
    kClockValid         = 0x8000
};

/** The host's transport record, as getTimeInfo returns it. */
struct VstTimeInfo
{
    double samplePos;                             // samples
    double sampleRate;                            // Hz
    double unused1;
    double ppqPos;                                // quarter notes
    double tempo;                                 // beats per minute
    double barStartPos;                           // quarter notes
    double cycleStartPos;                         // quarter notes
    double cycleEndPos;                           // quarter notes
    int32_t timeSigNumerator;
    int32_t timeSigDenominator;
    int32_t smpteOffset;                          // eightieths of a frame
    int32_t smpteFrameRate;                       // frame-rate code
    int32_t unused2;
    int32_t flags;                                // VstTimeInfoFlag bits
};

static_assert(sizeof(VstTimeInfo) == 88, "VstTimeInfo must be 88 bytes");
static_assert(offsetof(VstTimeInfo, sampleRate) == 8, "VstTimeInfo layout");
static_assert(offsetof(VstTimeInfo, ppqPos) == 24, "VstTimeInfo layout");
static_assert(offsetof(VstTimeInfo, tempo) == 32, "VstTimeInfo layout");
static_assert(offsetof(VstTimeInfo, barStartPos) == 40, "VstTimeInfo layout");
static_assert(offsetof(VstTimeInfo, cycleStartPos) == 48, "VstTimeInfo layout");
static_assert(offsetof(VstTimeInfo, cycleEndPos) == 56, "VstTimeInfo layout");
static_assert(offsetof(VstTimeInfo, timeSigNumerator) == 64, "VstTimeInfo layout");
static_assert(offsetof(VstTimeInfo, timeSigDenominator) == 68, "VstTimeInfo layout");
static_assert(offsetof(VstTimeInfo, smpteOffset) == 72, "VstTimeInfo layout");
static_assert(offsetof(VstTimeInfo, smpteFrameRate) == 76, "VstTimeInfo layout");
static_assert(offsetof(VstTimeInfo, flags) == 84, "VstTimeInfo layout");

/** The rectangle handed to the host for the editor's size, in pixels. */
struct VstRect
{
    int16_t top;
    int16_t left;
    int16_t bottom;
    int16_t right;
};

static_assert(sizeof(VstRect) == 8, "VstRect must be four int16");

/** A key event passed to the editor object. */
struct VstKeyRecord
{
    int32_t character;
    uint8_t virtualKey;
    uint8_t modifiers;
};

/** Records that this system passes through but never reads. */
struct VstEvents;
struct VstParameterProperties;
struct VstPatchChunkInfo;
struct VstVariableIo;
struct VstFileSelect;
struct VstOfflineTask;
struct VstAudioFile;
struct MidiProgramName;
struct MidiProgramCategory;
struct MidiKeyName;
struct __VstWindowDeprecated;

/** Which kind of offline data a read or write concerns; passed through as a
    number, never interpreted here. */
enum VstOfflineOption : int32_t
{
};
