// Text helpers of the effect classes: the fixed number layouts a VST host
// shows, and the bounded copy that every text handed to a host goes through.
#pragma once

#include <array>
#include <cstdint>

namespace VstText
{
/** At most 8 characters and a zero. */
using Digits = std::array<char, 16>;

/** Copies at most maxLen characters of source into text and writes a zero at
    byte maxLen (and after the copied text); nothing beyond byte maxLen is
    written. Null text or a negative maxLen writes nothing. */
void copy(const char* source, char* text, int32_t maxLen) noexcept;

/** Eight characters: an optional "-", the whole part, a point and as many
    fraction digits as fill eight, cut rather than rounded; "Huge!" for
    values the eight characters cannot hold, "NaN" for not-a-number. */
Digits formatFloat(float value) noexcept;

/** Decimal digits without leading zeros (so 0 gives an empty text), a "-"
    before a negative value; "Huge!" from 100000000 up, and for negative
    values with more than nine digits. */
Digits formatInt(int32_t value) noexcept;
} // namespace VstText
