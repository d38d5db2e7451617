#include "AAX_CPacket.h"

#include <stdexcept>

uint8_t* AAX_CPacket::SPacketData::Get(uint32_t size)
{
    if (size == 0)
        throw std::out_of_range("vector::_M_range_check");
    bytes.resize(size, 0);
    return bytes.data();
}

uint8_t* AAX_CPacket::Reserve(uint32_t bytes)
{
    uint8_t* first = data.Get(bytes);
    size = bytes;
    return first;
}
