// Typefaces whose glyph outlines come from FreeType, for the editor's one
// embedded face. Small heights get a face hinted for exactly one pixel height
// by FreeType's auto-hinter; every other height shares one unhinted face.
#pragma once

#include <JuceHeader.h>

#include <ft2build.h>
#include FT_FREETYPE_H

// The one FreeType library handle of the process. The registry and every
// typeface hold a reference; the handle goes with the last reference.
class FreeTypeLibrary : public juce::ReferenceCountedObject
{
public:
    using Ptr = juce::ReferenceCountedObjectPtr<FreeTypeLibrary>;

    // message thread; creates the library on first use
    static Ptr getInstance();

    ~FreeTypeLibrary() override;

    FT_Library getHandle() const noexcept { return library; }

private:
    FreeTypeLibrary();

    FT_Library library = nullptr;

    JUCE_DECLARE_NON_COPYABLE (FreeTypeLibrary)
};

// Unhinted, scalable typeface: glyphs in font units, scaled to a height of 1.
class FreeTypeFace : public juce::CustomTypeface
{
public:
    FreeTypeFace (float minHintedHeight, float maxHintedHeight);
    ~FreeTypeFace() override;

    // May the typeface cache hand this typeface out for the font? Heights in
    // the hinted range belong to the hinted faces.
    bool isSuitableForFont (const juce::Font&) const override;
    float getHeightToPointsFactor() const override;
    bool isHinted() const override { return false; }

    // Loads the face from a block that must outlive the typeface. A failure
    // leaves the typeface without glyphs.
    void openMemoryFace (const void* data, int size);

    bool isOpen() const noexcept { return face != nullptr; }
    float getOutlineScale() const noexcept { return outlineScale; }
    float getKerningScale() const noexcept { return kerningScale; }
    int getKerningMode() const noexcept { return kerningMode; }
    int getLoadFlags() const noexcept { return loadFlags; }

    // Converts a FreeType outline (in its own units) into a path, contour by
    // contour. False for an outline that breaks the tag rules.
    static bool convertOutline (const FT_Outline&, juce::Path&);

    // Scale shared by the outline scale and the height-to-points factor.
    static constexpr float emAdjust = 1.0059625f;

protected:
    bool loadGlyphIfPossible (juce::juce_wchar) override;

    // Called once the face is open: sets the scales, load flags and kerning mode.
    virtual void prepareFace();

    FreeTypeLibrary::Ptr library;
    float minHintedHeight;        // font height, inclusive
    float maxHintedHeight;        // font height, inclusive
    float outlineScale = 1.0f;    // font units (or 26.6 pixels) to heights of 1
    float kerningScale = 1.0f;    // FreeType kerning units to heights of 1
    int kerningMode = FT_KERNING_UNSCALED;
    FT_Face face = nullptr;
    int loadFlags = FT_LOAD_NO_SCALE | FT_LOAD_NO_BITMAP;

private:
    void closeFace();
    void addKerningPairs();

    JUCE_DECLARE_NON_COPYABLE (FreeTypeFace)
};

// Typeface hinted for one exact pixel height.
class FreeTypeHintedFace : public FreeTypeFace
{
public:
    explicit FreeTypeHintedFace (float hintedHeight);

    bool isSuitableForFont (const juce::Font&) const override;
    bool isHinted() const override { return true; }

    float getHintedHeight() const noexcept { return hintedHeight; }

protected:
    void prepareFace() override;

private:
    float hintedHeight; // pixels

    JUCE_DECLARE_NON_COPYABLE (FreeTypeHintedFace)
};
