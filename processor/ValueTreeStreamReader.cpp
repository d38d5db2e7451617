#include "ValueTreeStreamReader.h"

#include <cstdint>
#include <cstring>
#include <limits>

namespace
{
enum VarMarker : uint8_t
{
    markerInt       = 1,
    markerBoolTrue  = 2,
    markerBoolFalse = 3,
    markerDouble    = 4,
    markerString    = 5,
    markerInt64     = 6,
    markerArray     = 7,
    markerBinary    = 8,
    markerUndefined = 9
};

// Smallest encodings, used to refuse counts that the bytes left cannot hold:
// a property is a one-character name, its zero and a void var; a child tree a
// one-character type, its zero and two zero counts; an array element a void var.
constexpr size_t minPropertyBytes = 3;
constexpr size_t minChildBytes = 4;
constexpr size_t minElementBytes = 1;

class Parser
{
public:
    Parser(const unsigned char* bytes, size_t size, ValueTreeStreamReader::Limits l)
        : data(bytes), end(size), limits(l)
    {
    }

    bool ReadTree(juce::ValueTree& result, int depth)
    {
        if (depth > limits.maxDepth || ! CountNode())
            return false;

        juce::String type;

        if (! ReadString(type) || type.isEmpty())
            return false;

        juce::ValueTree tree { juce::Identifier(type) };

        int numProperties = 0;

        if (! ReadCount(numProperties, minPropertyBytes))
            return false;

        for (int i = 0; i < numProperties; ++i)
        {
            juce::String name;
            juce::var value;

            if (! CountNode() || ! ReadString(name) || name.isEmpty() || ! ReadVar(value, depth + 1))
                return false;

            tree.setProperty(juce::Identifier(name), value, nullptr);
        }

        int numChildren = 0;

        if (! ReadCount(numChildren, minChildBytes))
            return false;

        for (int i = 0; i < numChildren; ++i)
        {
            juce::ValueTree child;

            if (! ReadTree(child, depth + 1))
                return false;

            tree.appendChild(child, nullptr);
        }

        result = tree;
        return true;
    }

private:
    size_t Left() const noexcept { return end - pos; }

    bool CountNode() noexcept { return ++nodes <= limits.maxNodes; }

    bool ReadByte(uint8_t& b) noexcept
    {
        if (Left() < 1)
            return false;

        b = data[pos++];
        return true;
    }

    bool ReadCompressedInt(int& result) noexcept
    {
        uint8_t sizeByte = 0;

        if (! ReadByte(sizeByte))
            return false;

        const size_t n = sizeByte & 0x7f;

        if (n > 4 || Left() < n)
            return false;

        uint32_t magnitude = 0;

        for (size_t i = 0; i < n; ++i)
            magnitude |= static_cast<uint32_t>(data[pos + i]) << (8 * i);

        pos += n;

        if (magnitude > static_cast<uint32_t>(std::numeric_limits<int>::max()))
            return false;

        result = (sizeByte & 0x80) != 0 ? -static_cast<int>(magnitude) : static_cast<int>(magnitude);
        return true;
    }

    // A count of items that each need at least minBytesEach bytes.
    bool ReadCount(int& count, size_t minBytesEach) noexcept
    {
        return ReadCompressedInt(count) && count >= 0
               && static_cast<size_t>(count) <= Left() / minBytesEach;
    }

    bool ReadString(juce::String& result)
    {
        const auto* start = data + pos;
        const auto* zero = static_cast<const unsigned char*>(std::memchr(start, 0, Left()));

        if (zero == nullptr)
            return false;

        const auto length = static_cast<size_t>(zero - start);

        if (! ValueTreeStreamReader::IsValidUtf8(start, length))
            return false;

        result = juce::String::fromUTF8(reinterpret_cast<const char*>(start), static_cast<int>(length));
        pos += length + 1;
        return true;
    }

    bool ReadFixed(void* dest, size_t n) noexcept
    {
        if (Left() < n)
            return false;

        std::memcpy(dest, data + pos, n);
        pos += n;
        return true;
    }

    bool ReadVar(juce::var& result, int depth)
    {
        int numBytes = 0;

        if (! ReadCompressedInt(numBytes) || numBytes < 0 || static_cast<size_t>(numBytes) > Left())
            return false;

        if (numBytes == 0)
        {
            result = juce::var();
            return true;
        }

        const size_t payloadEnd = pos + static_cast<size_t>(numBytes);
        uint8_t marker = 0;
        ReadByte(marker);
        const size_t payload = static_cast<size_t>(numBytes) - 1;

        // Fixed-size markers must carry exactly their payload, so a length that
        // disagrees with its type is caught here rather than desynchronising.
        switch (marker)
        {
            case markerInt:
            {
                uint8_t b[4];
                if (payload != 4 || ! ReadFixed(b, 4))
                    return false;
                result = static_cast<int>(juce::ByteOrder::littleEndianInt(b));
                return true;
            }
            case markerInt64:
            {
                uint8_t b[8];
                if (payload != 8 || ! ReadFixed(b, 8))
                    return false;
                result = static_cast<juce::int64>(juce::ByteOrder::littleEndianInt64(b));
                return true;
            }
            case markerDouble:
            {
                uint8_t b[8];
                if (payload != 8 || ! ReadFixed(b, 8))
                    return false;
                const auto bits = juce::ByteOrder::littleEndianInt64(b);
                double d = 0.0;
                std::memcpy(&d, &bits, sizeof(d));
                result = d;
                return true;
            }
            case markerBoolTrue:
            case markerBoolFalse:
                if (payload != 0)
                    return false;
                result = marker == markerBoolTrue;
                return true;

            case markerUndefined:
                if (payload != 0)
                    return false;
                result = juce::var::undefined();
                return true;

            case markerString:
            {
                // The writer includes the terminating zero; text stops at the first zero.
                const auto* start = data + pos;
                const auto* zero = static_cast<const unsigned char*>(std::memchr(start, 0, payload));
                const size_t length = zero != nullptr ? static_cast<size_t>(zero - start) : payload;

                if (! ValueTreeStreamReader::IsValidUtf8(start, length))
                    return false;

                result = juce::String::fromUTF8(reinterpret_cast<const char*>(start), static_cast<int>(length));
                pos = payloadEnd;
                return true;
            }
            case markerBinary:
                result = juce::MemoryBlock(data + pos, payload);
                pos = payloadEnd;
                return true;

            case markerArray:
            {
                if (depth > limits.maxDepth)
                    return false;

                // The elements must fill the declared payload exactly.
                const size_t savedEnd = end;
                end = payloadEnd;

                int count = 0;
                bool ok = ReadCount(count, minElementBytes);
                juce::Array<juce::var> elements;

                for (int i = 0; ok && i < count; ++i)
                {
                    juce::var element;
                    ok = CountNode() && ReadVar(element, depth + 1);

                    if (ok)
                        elements.add(element);
                }

                ok = ok && pos == payloadEnd;
                end = savedEnd;

                if (! ok)
                    return false;

                result = elements;
                return true;
            }
            default:
                // An unknown marker is skipped whole, as the writer's own reader does.
                result = juce::var();
                pos = payloadEnd;
                return true;
        }
    }

    const unsigned char* const data;
    size_t end;
    size_t pos = 0;
    const ValueTreeStreamReader::Limits limits;
    int nodes = 0;
};
} // namespace

juce::ValueTree ValueTreeStreamReader::Read(const void* data, size_t numBytes, Limits limits)
{
    if (data == nullptr || numBytes == 0)
        return {};

    Parser parser(static_cast<const unsigned char*>(data), numBytes, limits);
    juce::ValueTree tree;

    if (! parser.ReadTree(tree, 1))
        return {};

    return tree;
}

bool ValueTreeStreamReader::IsValidUtf8(const unsigned char* text, size_t numBytes) noexcept
{
    size_t i = 0;

    while (i < numBytes)
    {
        const unsigned char c = text[i];

        if (c < 0x80)
        {
            ++i;
            continue;
        }

        size_t extra = 0;
        uint32_t codePoint = 0;
        uint32_t lowest = 0;

        if ((c & 0xe0) == 0xc0)      { extra = 1; codePoint = c & 0x1fu; lowest = 0x80; }
        else if ((c & 0xf0) == 0xe0) { extra = 2; codePoint = c & 0x0fu; lowest = 0x800; }
        else if ((c & 0xf8) == 0xf0) { extra = 3; codePoint = c & 0x07u; lowest = 0x10000; }
        else                         return false;

        if (numBytes - i <= extra)
            return false;

        for (size_t k = 1; k <= extra; ++k)
        {
            const unsigned char cc = text[i + k];

            if ((cc & 0xc0) != 0x80)
                return false;

            codePoint = (codePoint << 6) | (cc & 0x3fu);
        }

        if (codePoint < lowest || codePoint > 0x10ffff || (codePoint >= 0xd800 && codePoint <= 0xdfff))
            return false;

        i += extra + 1;
    }

    return true;
}
