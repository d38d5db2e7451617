// Identifiers of the processor's parameters as an AAX host sees them: the
// decimal digits of the index, "0" to "34".
#pragma once

#include <cstddef>

namespace AAXClasses
{
/** A parameter identifier, NUL-terminated in its own buffer. */
struct ParamID
{
    static constexpr size_t kBytes = 32;
    char text[kBytes];

    operator const char*() const noexcept { return text; }
};

/** The decimal digits of index, no sign and no leading zeros, built backwards
    from the last digit. A negative index gives the empty identifier, which
    names no parameter (its digits alone would name another one). */
ParamID paramIdForIndex(int index) noexcept;

/** The index an identifier names when it is exactly paramIdForIndex(i) of
    some i >= 0; -1 for anything else (null, empty, signs, blanks, leading
    zeros, trailing text, numbers past the int range). */
int indexFromParamID(const char* id) noexcept;
} // namespace AAXClasses
