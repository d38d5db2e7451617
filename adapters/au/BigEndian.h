// The 32-bit big-endian words of the class-info parameter blob.
#pragma once

#include "PlatformCoreFoundation.h"

inline void AppendBigEndian32(CFMutableDataRef data, UInt32 value)
{
    const UInt8 bytes[4] = { UInt8(value >> 24), UInt8(value >> 16), UInt8(value >> 8), UInt8(value) };
    CFDataAppendBytes(data, bytes, 4);
}

inline UInt32 ReadBigEndian32(const UInt8* p) noexcept
{
    return (UInt32(p[0]) << 24) | (UInt32(p[1]) << 16) | (UInt32(p[2]) << 8) | UInt32(p[3]);
}
