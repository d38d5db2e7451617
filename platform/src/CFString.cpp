// Immutable text, held as UTF-8.
#include "CFObject.h"

#include <climits>
#include <cstring>
#include <string>

struct QvCFString final : qvcf::Object
{
    static constexpr CFTypeID kTypeID = qvcf::kStringTypeID;

    explicit QvCFString(std::string t) : Object(kTypeID), text(std::move(t)) {}

    bool equals(const Object& other) const noexcept override
    {
        return text == static_cast<const QvCFString&>(other).text;
    }

    CFHashCode hash() const noexcept override { return qvcf::hashBytes(text.data(), text.size()); }

    std::string text; // UTF-8
};

namespace
{
// Well-formed UTF-8: no stray continuation bytes, no overlong forms, no
// surrogates, nothing above U+10FFFF.
bool isValidUtf8(const unsigned char* s, size_t n) noexcept
{
    size_t i = 0;
    while (i < n)
    {
        const unsigned c = s[i];
        size_t extra;
        uint32_t min;
        uint32_t cp;

        if (c < 0x80) { ++i; continue; }
        if (c >= 0xC2 && c <= 0xDF) { extra = 1; min = 0x80; cp = c & 0x1F; }
        else if (c >= 0xE0 && c <= 0xEF) { extra = 2; min = 0x800; cp = c & 0x0F; }
        else if (c >= 0xF0 && c <= 0xF4) { extra = 3; min = 0x10000; cp = c & 0x07; }
        else return false;

        if (n - i <= extra)
            return false;
        for (size_t k = 1; k <= extra; ++k)
        {
            if ((s[i + k] & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (s[i + k] & 0x3Fu);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += extra + 1;
    }
    return true;
}

bool isAscii(const std::string& s) noexcept
{
    for (unsigned char c : s)
        if (c >= 0x80)
            return false;
    return true;
}
} // namespace

extern "C" {

CFTypeID CFStringGetTypeID(void)
{
    return QvCFString::kTypeID;
}

// Any thread. Null for a null text, an encoding other than UTF-8 or ASCII, or
// bytes that are not valid in the encoding.
CFStringRef CFStringCreateWithCString(CFAllocatorRef, const char* text, CFStringEncoding encoding)
{
    if (text == nullptr)
        return nullptr;

    const size_t n = std::strlen(text);
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);

    if (encoding == kCFStringEncodingUTF8)
    {
        if (! isValidUtf8(bytes, n))
            return nullptr;
    }
    else if (encoding == kCFStringEncodingASCII)
    {
        for (size_t i = 0; i < n; ++i)
            if (bytes[i] >= 0x80)
                return nullptr;
    }
    else
    {
        return nullptr;
    }

    try
    {
        return qvcf::make<QvCFString>(std::string(text, n));
    }
    catch (...)
    {
        return nullptr;
    }
}

// Any thread. False (and nothing useful in the buffer) when the text and its
// terminating zero do not fit, or cannot be given in the encoding.
Boolean CFStringGetCString(CFStringRef string, char* buffer, CFIndex bufferSize, CFStringEncoding encoding)
{
    auto* s = qvcf::as<QvCFString>(string);
    if (s == nullptr || buffer == nullptr || bufferSize <= 0)
        return false;
    if (encoding != kCFStringEncodingUTF8 && (encoding != kCFStringEncodingASCII || ! isAscii(s->text)))
        return false;
    if ((size_t) bufferSize < s->text.size() + 1)
        return false;

    std::memcpy(buffer, s->text.c_str(), s->text.size() + 1);
    return true;
}

const char* CFStringGetCStringPtr(CFStringRef string, CFStringEncoding encoding)
{
    auto* s = qvcf::as<QvCFString>(string);
    if (s == nullptr)
        return nullptr;
    if (encoding == kCFStringEncodingUTF8 || (encoding == kCFStringEncodingASCII && isAscii(s->text)))
        return s->text.c_str();
    return nullptr;
}

CFIndex CFStringGetLength(CFStringRef string)
{
    auto* s = qvcf::as<QvCFString>(string);
    if (s == nullptr)
        return 0;

    CFIndex units = 0;
    for (unsigned char c : s->text)
    {
        if ((c & 0xC0) == 0x80)
            continue;               // continuation byte
        units += (c >= 0xF0) ? 2 : 1; // four-byte forms need a surrogate pair
    }
    return units;
}

CFIndex CFStringGetMaximumSizeForEncoding(CFIndex length, CFStringEncoding encoding)
{
    if (length < 0)
        return kCFNotFound;
    if (encoding == kCFStringEncodingUTF8)
        return length > LONG_MAX / 3 ? (CFIndex) kCFNotFound : length * 3;
    if (encoding == kCFStringEncodingASCII)
        return length;
    return kCFNotFound;
}

} // extern "C"
