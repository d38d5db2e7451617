// The component layer under every AAX interface: 16-byte interface
// identifiers and the reference-counted unknown that each interface begins
// with.
#pragma once

#include <cstdint>
#include <cstring>

/** 16-byte identifier: a 32-bit word, two 16-bit words and eight bytes, host byte order. */
struct acfUID
{
    uint32_t data1;
    uint16_t data2;
    uint16_t data3;
    uint8_t data4[8];
};

static_assert(sizeof(acfUID) == 16, "acfUID is 16 bytes");

/** Compared field by field: the word, the two half-words, then the eight bytes as two words. */
inline bool operator==(const acfUID& a, const acfUID& b) noexcept
{
    uint32_t tailA[2], tailB[2];
    std::memcpy(tailA, a.data4, sizeof(tailA));
    std::memcpy(tailB, b.data4, sizeof(tailB));
    return a.data1 == b.data1 && a.data2 == b.data2 && a.data3 == b.data3
           && tailA[0] == tailB[0] && tailA[1] == tailB[1];
}

inline bool operator!=(const acfUID& a, const acfUID& b) noexcept { return ! (a == b); }

namespace acfUIDText
{
constexpr uint32_t hexDigit(char c)
{
    return (c >= '0' && c <= '9') ? uint32_t(c - '0')
         : (c >= 'A' && c <= 'F') ? uint32_t(c - 'A' + 10)
         : (c >= 'a' && c <= 'f') ? uint32_t(c - 'a' + 10)
         : throw "not a hexadecimal digit";
}

constexpr uint32_t hexRun(const char* t, int from, int count)
{
    uint32_t v = 0;
    for (int i = 0; i < count; ++i)
        v = (v << 4) | hexDigit(t[from + i]);
    return v;
}
} // namespace acfUIDText

/** Builds an identifier from its usual text form, XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX:
    the first three groups are numbers, the last two are bytes in order. */
constexpr acfUID acfUIDFromText(const char (&t)[37])
{
    using acfUIDText::hexRun;
    if (t[8] != '-' || t[13] != '-' || t[18] != '-' || t[23] != '-')
        throw "malformed identifier text";
    return acfUID { hexRun(t, 0, 8), uint16_t(hexRun(t, 9, 4)), uint16_t(hexRun(t, 14, 4)),
                    { uint8_t(hexRun(t, 19, 2)), uint8_t(hexRun(t, 21, 2)), uint8_t(hexRun(t, 24, 2)),
                      uint8_t(hexRun(t, 26, 2)), uint8_t(hexRun(t, 28, 2)), uint8_t(hexRun(t, 30, 2)),
                      uint8_t(hexRun(t, 32, 2)), uint8_t(hexRun(t, 34, 2)) } };
}

/** First three operations of every interface. No virtual destructor: objects
    are never deleted through an interface, only released. */
class IACFUnknown
{
public:
    /** 0 and a new reference in *out, or a non-zero status and *out untouched or null. */
    virtual int32_t QueryInterface(const acfUID& iid, void** out) = 0;
    virtual uint32_t AddRef() = 0;
    virtual uint32_t Release() = 0;

protected:
    ~IACFUnknown() = default;
};

/** The host's factory of its own objects. */
class IACFComponentFactory : public IACFUnknown
{
public:
    virtual int32_t CreateComponent(const acfUID& componentID, IACFUnknown* outer, const acfUID& iid, void** out) = 0;

protected:
    ~IACFComponentFactory() = default;
};

/** What ACFRegisterPlugin hands back: the filled collection, seen as a plug-in definition. */
class IACFPluginDefinition : public IACFUnknown
{
protected:
    ~IACFPluginDefinition() = default;
};

class IACFComponentDefinition : public IACFUnknown
{
protected:
    ~IACFComponentDefinition() = default;
};
