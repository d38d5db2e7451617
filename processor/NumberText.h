#pragma once

#include <JuceHeader.h>

#include <cstdint>

/** Numbers as text for hosts and the editor, the same in every locale.

    A host process may run with a comma as its decimal mark (LC_NUMERIC
    de_DE and the like); the printf family and juce::String::formatted follow
    it, so a parameter would read "-0,50" in one studio and "-0.50" in the
    next. These always write and read the "C" form: a point, no grouping.
*/
namespace NumberText
{
/** As "%1.<decimals>f" in the "C" locale: correctly rounded, "-" kept on a
    negative value that rounds to 0 ("-0.00"), "nan" / "inf" / "-inf" for the
    non-finite. decimals 0 to 9. */
juce::String Fixed(double value, int decimals);

/** As "%<width>d": the decimal text right-aligned in width characters
    (never cut when longer). */
juce::String Padded(int64_t value, int width);

/** Reads a whole text as one finite decimal number, in the "C" form
    ("-1.5", " 2 ", "1e3"; an optional leading "+"). Blanks around the number
    are allowed, anything else is not: "abc", "", "1.2.3", "nan" and "inf"
    answer false and leave out unchanged. */
bool Parse(const juce::String& text, double& out);

/** Reads the finite decimal number at the start of a text, in the "C" form,
    and ignores what follows it: "30", " -4.5 dB", "+2", ".5", "1e3 x". A text
    that does not begin with a number ("abc", "", "-", "nan", "inf") or whose
    number is not finite as a double answers false and leaves out unchanged. */
bool ParseLeading(const juce::String& text, double& out);

/** ParseLeading for a float: also false when the number lies beyond the float
    range ("1e39"). */
bool ParseLeading(const juce::String& text, float& out);
} // namespace NumberText
