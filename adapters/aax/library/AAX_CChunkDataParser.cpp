#include "AAX_CChunkDataParser.h"

#include <cstring>
#include <limits>

namespace
{
constexpr size_t roundUp4(size_t n) noexcept
{
    return (n + 3) & ~size_t(3);
}

char kindLetter(int32_t kind) noexcept
{
    switch (kind)
    {
        case AAX_CChunkDataParser::kindFloat: return 'f';
        case AAX_CChunkDataParser::kindInt32: return 'l';
        case AAX_CChunkDataParser::kindDouble: return 'd';
        case AAX_CChunkDataParser::kindInt16: return 's';
        case AAX_CChunkDataParser::kindString: return 'r';
        default: return 0;
    }
}

size_t valueBytes(const AAX_CChunkDataParser::DataValue& v) noexcept
{
    switch (v.kind)
    {
        case AAX_CChunkDataParser::kindDouble: return 8;
        case AAX_CChunkDataParser::kindString: return roundUp4(std::strlen(v.text.Get()) + 1);
        default: return 4;
    }
}

/** Bytes of one entry: tag, name and zero padded to 4, then the value. */
size_t entryBytes(const AAX_CChunkDataParser::DataValue& v) noexcept
{
    if (kindLetter(v.kind) == 0)
        return 0;   // never written
    return roundUp4(std::strlen(v.name.Get()) + 3) + valueBytes(v);
}

void putBigEndian(char* out, uint64_t value, int bytes) noexcept
{
    for (int i = bytes - 1; i >= 0; --i, value >>= 8)
        out[i] = static_cast<char>(value & 0xFF);
}

uint64_t getBigEndian(const unsigned char* in, int bytes) noexcept
{
    uint64_t value = 0;
    for (int i = 0; i < bytes; ++i)
        value = (value << 8) | in[i];
    return value;
}

size_t totalBytes(const std::vector<AAX_CChunkDataParser::DataValue>& values) noexcept
{
    size_t total = AAX_CChunkDataParser::headerBytes;
    for (const auto& v : values)
        total += entryBytes(v);
    return total;
}
} // namespace

void AAX_CChunkDataParser::Clear()
{
    values.clear();
    lastFoundIndex = -1;
    version = -1;
}

void AAX_CChunkDataParser::AddDouble(const char* name, double value)
{
    DataValue v;
    v.kind = kindDouble;
    v.name = name;
    std::memcpy(&v.number, &value, sizeof(value));
    values.push_back(std::move(v));
}

void AAX_CChunkDataParser::AddInt32(const char* name, int32_t value)
{
    DataValue v;
    v.kind = kindInt32;
    v.name = name;
    v.number = static_cast<uint32_t>(value);
    values.push_back(std::move(v));
}

void AAX_CChunkDataParser::AddString(const char* name, const AAX_CString& value)
{
    DataValue v;
    v.kind = kindString;
    v.name = name;
    v.text = value;
    values.push_back(std::move(v));
}

uint32_t AAX_CChunkDataParser::GetChunkDataSize() const
{
    const size_t total = totalBytes(values);
    return total > size_t(std::numeric_limits<int32_t>::max()) ? uint32_t(std::numeric_limits<int32_t>::max()) : uint32_t(total);
}

AAX_Result AAX_CChunkDataParser::GetChunkData(AAX_SPlugInChunk* chunk) const
{
    if (chunk == nullptr)
        return AAXStatus::missingObject;

    try
    {
        const size_t total = totalBytes(values);
        if (total > size_t(std::numeric_limits<int32_t>::max()))
            return AAXStatus::chunkWriteFailed;   // cannot be described by the size field

        chunk->size = static_cast<int32_t>(total);
        char* data = chunk->data;
        std::memset(data, 0, total);
        std::memset(data, 1, headerBytes);

        size_t position = headerBytes;
        for (const auto& v : values)
        {
            const char letter = kindLetter(v.kind);
            if (letter == 0)
                continue;

            const size_t nameLength = std::strlen(v.name.Get());
            data[position] = letter;
            data[position + 1] = '_';
            std::memcpy(data + position + 2, v.name.Get(), nameLength);   // its zero is already there
            position = roundUp4(position + 2 + nameLength + 1);

            switch (v.kind)
            {
                case kindDouble: putBigEndian(data + position, v.number, 8); break;
                case kindFloat:
                case kindInt32: putBigEndian(data + position, v.number & 0xFFFFFFFFu, 4); break;
                case kindInt16: putBigEndian(data + position, v.number & 0xFFFFu, 2); break;
                case kindString: std::memcpy(data + position, v.text.Get(), std::strlen(v.text.Get())); break;
                default: break;
            }
            position += valueBytes(v);
        }
        return AAXStatus::success;
    }
    catch (...)
    {
        return AAXStatus::chunkWriteFailed;
    }
}

bool AAX_CChunkDataParser::LoadChunk(const AAX_SPlugInChunk* chunk)
{
    Clear();
    if (chunk == nullptr)
        return true;
    version = chunk->version;

    static const unsigned char header[headerBytes] = { 1, 1, 1, 1 };
    const auto* data = reinterpret_cast<const unsigned char*>(chunk->data);
    if (chunk->size < int32_t(headerBytes + 1) || std::memcmp(data, header, headerBytes) != 0)
        return true;   // holds no values

    const size_t size = static_cast<size_t>(chunk->size);
    size_t position = headerBytes;
    auto cutShort = [this] {
        values.clear();
        return false;
    };

    while (position < size)
    {
        // Tag and name: up to 255 bytes before a zero, never past the size.
        const size_t available = size - position;
        const size_t window = available < maxTaggedName ? available : maxTaggedName;
        const void* zero = std::memchr(data + position, 0, window);
        size_t taggedLength = 0;
        if (zero != nullptr)
            taggedLength = static_cast<size_t>(static_cast<const unsigned char*>(zero) - (data + position));
        else if (window == maxTaggedName)
            taggedLength = maxTaggedName;   // over-long: cut, and go on as if its zero followed
        else
            return cutShort();

        const char* tagged = reinterpret_cast<const char*>(data + position);
        DataValue v;
        if (taggedLength > 2)
            v.name = std::string(tagged + 2, taggedLength - 2).c_str();
        const char letter = taggedLength > 0 ? tagged[0] : 0;
        position = roundUp4(position + taggedLength + 1);

        auto need = [&](size_t bytes) { return position <= size && size - position >= bytes; };
        switch (letter)
        {
            case 'r':
            {
                const void* end = position < size ? std::memchr(data + position, 0, size - position) : nullptr;
                if (end == nullptr)
                    return cutShort();
                const size_t length = static_cast<size_t>(static_cast<const unsigned char*>(end) - (data + position));
                v.kind = kindString;
                v.text = std::string(reinterpret_cast<const char*>(data + position), length).c_str();
                position = roundUp4(position + length + 1);
                break;
            }
            case 's':
                if (! need(2))
                    return cutShort();
                v.kind = kindInt16;
                v.number = getBigEndian(data + position, 2);
                position += 4;
                break;
            case 'd':
                if (! need(8))
                    return cutShort();
                v.kind = kindDouble;
                v.number = getBigEndian(data + position, 8);
                position += 8;
                break;
            case 'f':
            case 'l':
                if (! need(4))
                    return cutShort();
                v.kind = letter == 'f' ? kindFloat : kindInt32;
                v.number = getBigEndian(data + position, 4);
                position += 4;
                break;
            default:
                v.kind = kindNone;   // unknown tag: no value read
                break;
        }
        values.push_back(std::move(v));
    }
    return true;
}

int32_t AAX_CChunkDataParser::FindName(const AAX_CString& name)
{
    const int32_t count = static_cast<int32_t>(values.size());
    if (count == 0)
        return -1;

    const bool fromStart = lastFoundIndex < 0 || lastFoundIndex >= count - 1;
    const int32_t first = fromStart ? 0 : lastFoundIndex + 1;
    for (int32_t i = first; i < count; ++i)
        if (values[size_t(i)].name == name)
            return lastFoundIndex = i;
    if (! fromStart)
        for (int32_t i = 0; i <= lastFoundIndex; ++i)
            if (values[size_t(i)].name == name)
                return lastFoundIndex = i;
    return -1;
}

const AAX_CChunkDataParser::DataValue* AAX_CChunkDataParser::findKind(const char* name, int32_t kind)
{
    const int32_t i = FindName(AAX_CString(name));
    if (i < 0 || values[size_t(i)].kind != kind)
        return nullptr;
    return &values[size_t(i)];
}

bool AAX_CChunkDataParser::FindDouble(const char* name, double* value)
{
    const DataValue* v = findKind(name, kindDouble);
    if (v == nullptr || value == nullptr)
        return false;
    std::memcpy(value, &v->number, sizeof(double));
    return true;
}

bool AAX_CChunkDataParser::FindInt32(const char* name, int32_t* value)
{
    const DataValue* v = findKind(name, kindInt32);
    if (v == nullptr || value == nullptr)
        return false;
    *value = static_cast<int32_t>(static_cast<uint32_t>(v->number));
    return true;
}

bool AAX_CChunkDataParser::FindString(const char* name, AAX_CString* value)
{
    const DataValue* v = findKind(name, kindString);
    if (v == nullptr || value == nullptr)
        return false;
    *value = v->text;
    return true;
}
