// The library's text: one growable byte string, always NUL-terminated.
#pragma once

#include "AAX_IString.h"

#include <cstdint>
#include <string>

class AAX_CString : public AAX_IString
{
public:
    static constexpr uint32_t maxLength = 0xFFFFFFFEu;

    AAX_CString() = default;
    AAX_CString(const char* text);                     // null gives the empty text
    AAX_CString(const AAX_CString& other) = default;
    AAX_CString(const AAX_IString& other);
    ~AAX_CString() override = default;

    uint32_t Length() const override;
    uint32_t MaxLength() const override;
    const char* Get() const override;
    void Set(const char* text) override;
    AAX_CString& operator=(const AAX_IString& other) override;
    AAX_CString& operator=(const char* text) override;
    AAX_CString& operator=(const AAX_CString& other);

    void Clear();
    /** Removes `count` bytes from `position`, fewer when the text ends first. */
    void Erase(uint32_t position, uint32_t count);
    const char* CString() const { return text.c_str(); }
    const std::string& StdString() const { return text; }

    /** Appends `value` in fixed notation with `precision` digits after the point,
        the same in every locale. */
    void AppendNumber(double value, uint32_t precision);

    /** Reads a leading decimal number (blanks before it skipped, text after it
        ignored). No number: *value = 0.0 and false. */
    bool ToDouble(double* value) const;

    bool operator==(const AAX_CString& other) const { return text == other.text; }
    bool operator!=(const AAX_CString& other) const { return text != other.text; }
    bool operator==(const char* other) const { return text == (other != nullptr ? other : ""); }
    bool operator!=(const char* other) const { return ! (*this == other); }
    char& operator[](uint32_t index) { return text[index]; }
    const char& operator[](uint32_t index) const { return text[index]; }

private:
    std::string text;
};
