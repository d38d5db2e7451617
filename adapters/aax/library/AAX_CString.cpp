#include "AAX_CString.h"

#include <charconv>
#include <cstring>
#include <limits>

AAX_CString::AAX_CString(const char* t) : text(t != nullptr ? t : "") {}

AAX_CString::AAX_CString(const AAX_IString& other) : text(other.Get() != nullptr ? other.Get() : "") {}

uint32_t AAX_CString::Length() const
{
    return text.size() > maxLength ? maxLength : static_cast<uint32_t>(text.size());
}

uint32_t AAX_CString::MaxLength() const
{
    return maxLength;
}

const char* AAX_CString::Get() const
{
    return text.c_str();
}

void AAX_CString::Set(const char* t)
{
    text.assign(t != nullptr ? t : "");
}

AAX_CString& AAX_CString::operator=(const AAX_IString& other)
{
    if (&other != this)
        Set(other.Get());
    return *this;
}

AAX_CString& AAX_CString::operator=(const char* t)
{
    Set(t);
    return *this;
}

AAX_CString& AAX_CString::operator=(const AAX_CString& other)
{
    text = other.text;
    return *this;
}

void AAX_CString::Clear()
{
    text.clear();
}

void AAX_CString::Erase(uint32_t position, uint32_t count)
{
    if (position < text.size())
        text.erase(position, count);
}

void AAX_CString::AppendNumber(double value, uint32_t precision)
{
    // Room for the widest fixed-notation double (309 integer digits, sign,
    // point) and up to 64 decimals; more precision than that is not asked of text.
    constexpr uint32_t maxPrecision = 64;
    char buffer[400];
    const auto result = std::to_chars(buffer, buffer + sizeof(buffer), value, std::chars_format::fixed,
                                      static_cast<int>(precision < maxPrecision ? precision : maxPrecision));
    if (result.ec == std::errc())
        text.append(buffer, result.ptr);
}

bool AAX_CString::ToDouble(double* value) const
{
    if (value == nullptr)
        return false;

    // A fixed "C" rule: [blanks] [+|-] digits [. digits] [e|E [+|-] digits],
    // at least one digit in the mantissa. No hexadecimal, inf or nan.
    const char* p = text.c_str();
    const char* end = p + text.size();
    while (p < end && (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r' || *p == '\f' || *p == '\v'))
        ++p;

    bool negative = false;
    if (p < end && (*p == '+' || *p == '-'))
        negative = (*p++ == '-');

    const char* start = p;
    size_t digits = 0;
    while (p < end && *p >= '0' && *p <= '9') { ++p; ++digits; }
    if (p < end && *p == '.')
    {
        ++p;
        while (p < end && *p >= '0' && *p <= '9') { ++p; ++digits; }
    }

    double parsed = 0.0;
    if (digits == 0 || std::from_chars(start, end, parsed, std::chars_format::general).ec != std::errc())
    {
        // No digits, or a magnitude beyond double: nothing usable was read.
        *value = 0.0;
        return false;
    }

    *value = negative ? -parsed : parsed;
    return true;
}
