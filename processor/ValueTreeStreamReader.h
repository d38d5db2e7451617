#pragma once

#include <JuceHeader.h>

#include <cstddef>

/** Reads the byte format of juce::ValueTree::writeToStream from untrusted data.

    Unlike juce::ValueTree::readFromData, every count and length is checked
    against the bytes that are left before anything is read or allocated,
    nesting is limited, and text must be valid UTF-8. A block is accepted only
    as one whole tree; anything short, malformed or hostile gives an invalid
    tree. Bytes after a complete tree are ignored.

    Format (all integers little-endian):
      tree   = type:string, numProperties:cint, { name:string, value:var },
               numChildren:cint, { tree }
      string = UTF-8 bytes, then a zero byte
      cint   = size byte (bit 7 negative, bits 0-6 count n <= 4), then n bytes
      var    = numBytes:cint, then numBytes bytes: a marker (1 int, 2 true,
               3 false, 4 double, 5 string, 6 int64, 7 array, 8 binary,
               9 undefined) and its payload; numBytes 0 is a void var
*/
class ValueTreeStreamReader
{
public:
    struct Limits
    {
        int maxDepth = 8;     // trees and arrays together; a saved state needs 2
        int maxNodes = 4096;  // trees, properties and array elements together
    };

    static juce::ValueTree Read(const void* data, size_t numBytes, Limits limits);
    static juce::ValueTree Read(const void* data, size_t numBytes) { return Read(data, numBytes, Limits {}); }

    /** True when the bytes are well-formed UTF-8 (no overlongs, surrogates or
        code points above U+10FFFF). */
    static bool IsValidUtf8(const unsigned char* text, size_t numBytes) noexcept;
};
