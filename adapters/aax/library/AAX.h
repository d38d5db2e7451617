// Plain types, statuses and records that the AAX host and this library pass
// to each other. These are host formats: host byte order (little-endian
// here), 8-byte pointers; every offset a host relies on is checked below.
#pragma once

#include <cstddef>
#include <cstdint>

using AAX_Result = int32_t;          // 0 success, anything else a status below or the host's own
using AAX_CBoolean = uint8_t;        // 0 false, 1 true
using AAX_CParamID = const char*;    // NUL-terminated parameter identifier
using AAX_CTypeID = uint32_t;        // four-character code, first character in the top byte
using AAX_CFieldIndex = int32_t;     // field of the algorithm context
using AAX_CProcPtrID = uint32_t;     // kind of a create procedure (below)
using AAX_CPropertyValue = int32_t;

/** Every outcome the library reports. Host statuses pass through unchanged. */
namespace AAXStatus
{
constexpr AAX_Result success = 0;
constexpr AAX_Result unknownParameter = -20001;      // no parameter has that identifier
constexpr AAX_Result textRefused = -20002;           // text could not be converted
constexpr AAX_Result missingObject = -20004;         // a host interface, object or output is absent
constexpr AAX_Result chunkIndexOutOfRange = -20006;
constexpr AAX_Result unknownChunk = -20007;
constexpr AAX_Result chunkSizeChanged = -20008;      // not the size last reported, or cut short
constexpr AAX_Result notImplemented = -20009;        // also: second-version host interface missing
constexpr AAX_Result guiWithoutHost = -20011;
constexpr AAX_Result chunkWriteFailed = -333;
constexpr AAX_Result interfaceNotOffered = static_cast<AAX_Result>(0x80000004u);
constexpr AAX_Result nullInterface = static_cast<AAX_Result>(0x80000005u);   // thrown by ACFPtr
constexpr AAX_Result unexpected = static_cast<AAX_Result>(0x8000FFFFu);      // exception caught
} // namespace AAXStatus

/** Four characters packed first character highest, as the host writes its codes. */
constexpr uint32_t AAX_FourCharCode(char a, char b, char c, char d) noexcept
{
    return (static_cast<uint32_t>(static_cast<uint8_t>(a)) << 24) | (static_cast<uint32_t>(static_cast<uint8_t>(b)) << 16)
           | (static_cast<uint32_t>(static_cast<uint8_t>(c)) << 8) | static_cast<uint32_t>(static_cast<uint8_t>(d));
}

/** The library's controls chunk; holds every host parameter except the master bypass. */
constexpr AAX_CTypeID AAX_ControlsChunkID = AAX_FourCharCode('e', 'l', 'c', 'k');   // 0x656C636B
constexpr const char* AAX_ControlsChunkName = "Complete Controls State";
constexpr const char* AAX_MasterBypassID = "MasterBypassID";
constexpr const char* AAX_PreviewParameterID = "PreviewID";
constexpr AAX_CTypeID AAX_PreviewNotification = AAX_FourCharCode('A', 'S', 'P', 'v');  // 0x41535076

/** The kinds of create procedure a description registers. */
namespace AAXProcPtrID
{
constexpr AAX_CProcPtrID createEffectParameters = 0;
constexpr AAX_CProcPtrID createEffectGUI = 1;
} // namespace AAXProcPtrID

enum AAX_EParameterType : int32_t
{
    AAX_eParameterType_Discrete = 0,
    AAX_eParameterType_Continuous = 1
};

enum AAX_EUpdateSource : int32_t
{
    AAX_eUpdateSource_Unspecified = 0,
    AAX_eUpdateSource_Parameter = 1,
    AAX_eUpdateSource_Chunk = 2,
    AAX_eUpdateSource_Delay = 3
};

/** Stem formats: (layout number << 16) | channel count. */
enum AAX_EStemFormat : uint32_t
{
    AAX_eStemFormat_Mono = 0x1,
    AAX_eStemFormat_Stereo = 0x10002,
    AAX_eStemFormat_LCR = 0x20003,
    AAX_eStemFormat_Quad = 0x40004,
    AAX_eStemFormat_5_0 = 0x50005,
    AAX_eStemFormat_5_1 = 0x60006,
    AAX_eStemFormat_6_0 = 0x70006,
    AAX_eStemFormat_6_1 = 0x80007,
    AAX_eStemFormat_7_0_DTS = 0xB0007,
    AAX_eStemFormat_7_1_DTS = 0xC0008,
    AAX_eStemFormat_None = 0xFF9C0000
};

/** Property numbers of a property map; the ones this system sets are named. */
enum AAX_EProperty : int32_t
{
    AAX_eProperty_FirstCopied = 10,       // DuplicatePropertyMap copies 10 ..
    AAX_eProperty_ManufacturerID = 11,
    AAX_eProperty_ProductID = 12,
    AAX_eProperty_PlugInID_Native = 13,
    AAX_eProperty_InputStemFormat = 51,
    AAX_eProperty_OutputStemFormat = 52,
    AAX_eProperty_CanBypass = 60,
    AAX_eProperty_LastCopied = 307        // .. to 307 inclusive
};

enum AAX_EFrameRate : int32_t {};
enum AAX_EFeetFramesRate : int32_t {};
enum AAX_EHighlightColor : int32_t {};
enum AAX_EPlugInStrings : int32_t {};
enum AAX_EResourceType : int32_t {};
enum AAX_EMIDINodeType : int32_t {};
enum AAX_EDataInPortType : int32_t {};

/** Holder of the DMA mode type that component descriptions name. */
struct AAX_IDma
{
    enum EMode : int32_t {};
};

struct AAX_SPlugInIdentifierTriad
{
    AAX_CTypeID manufacturerID;
    AAX_CTypeID productID;
    AAX_CTypeID plugInID;
};

struct AAX_CMidiPacket
{
    uint32_t timestamp;       // samples into the block
    uint32_t length;          // bytes of data in use
    uint8_t data[4];
    AAX_CBoolean isImmediate;
};

struct AAX_SHybridRenderInfo;  // never looked into: hybrid rendering is not implemented

/** A size or position in the host's view; vertical first. */
struct AAX_Point
{
    float vert;   // pixels
    float horz;   // pixels
};

struct AAX_Rect
{
    float top, left, width, height;   // pixels
};

/** The host's chunk record. The data runs on past the record for `size` bytes. */
struct AAX_SPlugInChunk
{
    int32_t size;                 // data bytes that follow at offset 56
    int32_t version;
    AAX_CTypeID manufacturerID;
    AAX_CTypeID productID;
    AAX_CTypeID plugInID;
    AAX_CTypeID chunkID;
    char name[32];                // NUL-filled
    char data[1];                 // first byte of `size`
};

static_assert(offsetof(AAX_SPlugInChunk, size) == 0, "chunk record layout");
static_assert(offsetof(AAX_SPlugInChunk, version) == 4, "chunk record layout");
static_assert(offsetof(AAX_SPlugInChunk, manufacturerID) == 8, "chunk record layout");
static_assert(offsetof(AAX_SPlugInChunk, productID) == 12, "chunk record layout");
static_assert(offsetof(AAX_SPlugInChunk, plugInID) == 16, "chunk record layout");
static_assert(offsetof(AAX_SPlugInChunk, chunkID) == 20, "chunk record layout");
static_assert(offsetof(AAX_SPlugInChunk, name) == 24, "chunk record layout");
static_assert(offsetof(AAX_SPlugInChunk, data) == 56, "chunk record layout");
constexpr size_t AAX_ChunkHeaderBytes = offsetof(AAX_SPlugInChunk, data);

static_assert(sizeof(AAX_Point) == 8 && offsetof(AAX_Point, horz) == 4, "point layout");
static_assert(sizeof(AAX_Rect) == 16, "rect layout");
static_assert(sizeof(AAX_SPlugInIdentifierTriad) == 12, "identifier triad layout");
static_assert(sizeof(void*) == 8, "the host records assume 8-byte pointers");
