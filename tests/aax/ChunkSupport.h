// A host chunk record of exactly the size its size field says, so that a read
// past it is caught by the address sanitizer.
#pragma once

#include "AAX.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

class ChunkRecord
{
public:
    explicit ChunkRecord(uint32_t dataBytes, AAX_CTypeID id = AAX_ControlsChunkID)
        : storage(AAX_ChunkHeaderBytes + dataBytes, 0)
    {
        record()->size = int32_t(dataBytes);
        record()->chunkID = id;
    }

    /** A record holding exactly `data` (the size field says so). */
    static ChunkRecord withData(const std::vector<uint8_t>& data)
    {
        ChunkRecord c(uint32_t(data.size()));
        if (! data.empty())
            std::memcpy(c.record()->data, data.data(), data.size());
        return c;
    }

    AAX_SPlugInChunk* record() { return reinterpret_cast<AAX_SPlugInChunk*>(storage.data()); }
    const uint8_t* data() const { return storage.data() + AAX_ChunkHeaderBytes; }
    std::vector<uint8_t> dataBytes() const { return { storage.begin() + AAX_ChunkHeaderBytes, storage.end() }; }

private:
    std::vector<uint8_t> storage;
};
