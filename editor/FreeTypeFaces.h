// Registry of font faces given as memory blocks. A requested font whose
// typeface name matches a registered family gets a FreeType typeface: hinted
// for one exact height inside the face's hinted range, unhinted otherwise.
#pragma once

#include <JuceHeader.h>

class FreeTypeFaces
{
public:
    // message thread. Registers the face in the block under its FreeType family
    // name (with its style name appended when appendStyleToFamily is set). The
    // block is not copied: it must outlive the registry and every typeface made
    // from it. A block FreeType cannot open, or that is not scalable, is
    // skipped silently, and so is a face already registered under the same
    // family from the same block (every editor registers the embedded face).
    // `flag` has no effect.
    static void addFaceFromMemory (float minHintedHeight, float maxHintedHeight, bool flag,
                                   const void* data, int size, bool appendStyleToFamily);

    // message thread. A new typeface for the first registered family named
    // exactly as the font's typeface name, or null.
    static juce::Typeface::Ptr createTypefaceForFont (const juce::Font&);

    // Number of registered faces.
    static int getNumFaces();

    // Where the registry's debug messages go. The default sends them to the
    // platform's debug output in debug builds and drops them in release builds.
    using DebugOutput = void (*) (const juce::String&);
    static void setDebugOutput (DebugOutput);
};
