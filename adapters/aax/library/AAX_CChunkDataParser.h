// The controls chunk "elck": a list of named values written into the host's
// chunk record and read back. The byte layout is fixed, since a chunk written
// by one instance is read by another:
//
//   data offset 0: 01 01 01 01
//   then entries, each starting at a multiple of 4:
//     kind letter, "_", name, zero byte, zero padding to a multiple of 4,
//     value, big-endian: "f" float (4), "l" int32 (4), "d" double (8),
//     "s" int16 (2, then 2 zero bytes), "r" text, zero byte, padding to 4.
#pragma once

#include "AAX.h"
#include "AAX_CString.h"

#include <cstdint>
#include <vector>

class AAX_CChunkDataParser
{
public:
    enum DataKind : int32_t
    {
        kindNone = 0,      // made only when reading an unknown tag
        kindFloat = 1,
        kindInt32 = 2,
        kindDouble = 3,
        kindInt16 = 4,
        kindString = 5
    };

    struct DataValue
    {
        int32_t kind = kindNone;
        AAX_CString name;
        uint64_t number = 0;   // the double's bits for kind 3; the value in the low bits for 1, 2, 4
        AAX_CString text;      // kind 5
    };

    static constexpr uint32_t headerBytes = 4;       // 01 01 01 01
    static constexpr uint32_t maxTaggedName = 255;   // a longer tag and name is cut

    AAX_CChunkDataParser() { Clear(); }

    void Clear();
    void AddDouble(const char* name, double value);
    void AddInt32(const char* name, int32_t value);
    void AddString(const char* name, const AAX_CString& value);

    /** The size field for the current list: 4 plus every entry's bytes. */
    uint32_t GetChunkDataSize() const;
    /** Writes the size field and the data; 0, or -333 when writing fails. */
    AAX_Result GetChunkData(AAX_SPlugInChunk* chunk) const;

    /** Replaces the list with the chunk's entries, never reading past its size
        field. A chunk too small or without the header holds no values. An
        entry cut short by the end of the data makes the whole chunk suspect:
        the list is left empty and the answer is false. */
    bool LoadChunk(const AAX_SPlugInChunk* chunk);

    /** Index of a value of that name, or -1. Lookups in list order cost one
        comparison each. */
    int32_t FindName(const AAX_CString& name);
    bool FindDouble(const char* name, double* value);
    bool FindInt32(const char* name, int32_t* value);
    bool FindString(const char* name, AAX_CString* value);

    int32_t GetChunkVersion() const noexcept { return version; }
    const std::vector<DataValue>& Values() const noexcept { return values; }

private:
    const DataValue* findKind(const char* name, int32_t kind);

    int32_t lastFoundIndex = -1;
    int32_t version = -1;
    std::vector<DataValue> values;
};
