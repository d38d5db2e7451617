// Display: a parameter's real value to and from text.
#pragma once

#include "AAX_CString.h"

#include <cstdint>

class AAX_IDisplayDelegateBase
{
public:
    virtual ~AAX_IDisplayDelegateBase() = default;
};

template <typename T>
class AAX_IDisplayDelegate : public AAX_IDisplayDelegateBase
{
public:
    virtual AAX_IDisplayDelegate* Clone() const = 0;
    virtual bool ValueToString(T value, AAX_CString* text) const = 0;
    /** At most maxChars characters; a negative limit leaves no room. */
    virtual bool ValueToString(T value, int32_t maxChars, AAX_CString* text) const = 0;
    virtual bool StringToValue(const AAX_CString& text, T* value) const = 0;
};
