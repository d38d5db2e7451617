// The text interface that host and plug-in write each other's strings through.
#pragma once

#include <cstdint>

class AAX_IString
{
public:
    virtual ~AAX_IString() = default;

    virtual uint32_t Length() const = 0;             // bytes, without the terminating zero
    virtual uint32_t MaxLength() const = 0;
    virtual const char* Get() const = 0;             // NUL-terminated, never null
    virtual void Set(const char* text) = 0;          // null sets the empty text
    virtual AAX_IString& operator=(const AAX_IString& other) = 0;
    virtual AAX_IString& operator=(const char* text) = 0;

protected:
    AAX_IString() = default;
    AAX_IString(const AAX_IString&) = default;
};
