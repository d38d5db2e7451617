// One packet for a field of the algorithm context: the bytes the controller
// posts to the audio side when a parameter feeding that field changes.
#pragma once

#include "AAX.h"

#include <cstdint>
#include <vector>

class AAX_CPacket
{
public:
    /** The packet's owned bytes; made holding 8 zero bytes. */
    class SPacketData
    {
    public:
        SPacketData() : bytes(8, 0) {}
        /** Resizes to `size` bytes (new ones zero) and gives the first; a size
            of 0 throws std::out_of_range("vector::_M_range_check"). */
        uint8_t* Get(uint32_t size);
        const uint8_t* Data() const noexcept { return bytes.data(); }

    private:
        std::vector<uint8_t> bytes;
    };

    explicit AAX_CPacket(AAX_CFieldIndex field) : fieldIndex(field) {}

    template <typename T>
    T* GetPtr()
    {
        return reinterpret_cast<T*>(data.Get(sizeof(T)));
    }

    AAX_CFieldIndex GetID() const noexcept { return fieldIndex; }
    bool IsDirty() const noexcept { return dirty; }
    void SetDirty(bool d) noexcept { dirty = d; }
    uint32_t GetSize() const noexcept { return size; }
    void SetSize(uint32_t s) noexcept { size = s; }
    /** Room for `bytes` bytes, which become the packet's size in use. */
    uint8_t* Reserve(uint32_t bytes);
    const uint8_t* Data() const noexcept { return data.Data(); }

private:
    AAX_CFieldIndex fieldIndex;   // algorithm-context field that receives the packet
    bool dirty = true;
    uint32_t size = 0;            // bytes in use
    SPacketData data;
};
