#include "FreeTypeFace.h"

#include FT_OUTLINE_H

namespace
{
// The live library, if any. Creation and release both happen on the
// message thread; the lock only keeps a stray second thread from racing.
FreeTypeLibrary* liveLibrary = nullptr;
juce::CriticalSection liveLibraryLock;

enum class PointKind { onCurve, quadratic, cubic };

PointKind kindOf (char tag) noexcept
{
    switch (FT_CURVE_TAG (tag))
    {
        case FT_CURVE_TAG_ON:    return PointKind::onCurve;
        case FT_CURVE_TAG_CONIC: return PointKind::quadratic;
        default:                 return PointKind::cubic; // as FreeType itself reads bits 0b10 and 0b11
    }
}

// Points stay in whole font units (or 26.6 pixels) until the whole path is
// scaled, so midpoints are halved with integer division as the font data is.
struct IntPoint
{
    FT_Pos x, y;
};

IntPoint midpoint (IntPoint a, IntPoint b) noexcept
{
    return { (a.x + b.x) / 2, (a.y + b.y) / 2 };
}

juce::Point<float> toFloat (IntPoint p) noexcept
{
    return { (float) p.x, (float) p.y };
}
} // namespace

//==============================================================================
FreeTypeLibrary::Ptr FreeTypeLibrary::getInstance()
{
    const juce::ScopedLock sl (liveLibraryLock);

    if (liveLibrary == nullptr)
        liveLibrary = new FreeTypeLibrary();

    return Ptr (liveLibrary);
}

FreeTypeLibrary::FreeTypeLibrary()
{
    if (FT_Init_FreeType (&library) != 0)
        library = nullptr;
}

FreeTypeLibrary::~FreeTypeLibrary()
{
    {
        const juce::ScopedLock sl (liveLibraryLock);

        if (liveLibrary == this)
            liveLibrary = nullptr;
    }

    if (library != nullptr)
        FT_Done_FreeType (library);
}

//==============================================================================
FreeTypeFace::FreeTypeFace (float minHinted, float maxHinted)
    : library (FreeTypeLibrary::getInstance()),
      minHintedHeight (minHinted),
      maxHintedHeight (maxHinted)
{
}

FreeTypeFace::~FreeTypeFace()
{
    closeFace();
}

bool FreeTypeFace::isSuitableForFont (const juce::Font& font) const
{
    const float h = font.getHeight();
    return h < 1.0f || h > maxHintedHeight || h < minHintedHeight;
}

float FreeTypeFace::getHeightToPointsFactor() const
{
    if (face == nullptr)
        return juce::CustomTypeface::getHeightToPointsFactor();

    const float bboxHeight = (float) (face->bbox.yMax - face->bbox.yMin);

    if (bboxHeight <= 0.0f || face->units_per_EM == 0)
        return juce::CustomTypeface::getHeightToPointsFactor();

    return 1.0f / (((float) face->units_per_EM / bboxHeight) * emAdjust);
}

void FreeTypeFace::closeFace()
{
    clear();

    if (face != nullptr)
    {
        FT_Done_Face (face);
        face = nullptr;
    }
}

void FreeTypeFace::openMemoryFace (const void* data, int size)
{
    closeFace();

    if (library == nullptr || library->getHandle() == nullptr || data == nullptr || size <= 0)
        return;

    if (FT_New_Memory_Face (library->getHandle(), static_cast<const FT_Byte*> (data),
                            (FT_Long) size, 0, &face) != 0)
    {
        face = nullptr;
        return;
    }

    if (FT_Select_Charmap (face, FT_ENCODING_UNICODE) != 0
         && (face->num_charmaps <= 0 || FT_Set_Charmap (face, face->charmaps[0]) != 0))
    {
        // Without a charmap no character can be found: the typeface stays empty.
        FT_Done_Face (face);
        face = nullptr;
        return;
    }

    prepareFace();

    const float bboxHeight = (float) (face->bbox.yMax - face->bbox.yMin);
    const float ascentFraction = bboxHeight > 0.0f ? (float) face->bbox.yMax / bboxHeight : 1.0f;

    setCharacteristics (juce::String (face->family_name != nullptr ? face->family_name : ""),
                        ascentFraction,
                        (face->style_flags & FT_STYLE_FLAG_BOLD) != 0,
                        (face->style_flags & FT_STYLE_FLAG_ITALIC) != 0,
                        0);

    if (FT_HAS_KERNING (face))
        addKerningPairs();
}

void FreeTypeFace::addKerningPairs()
{
    FT_UInt glyph1 = 0;

    for (FT_ULong c1 = FT_Get_First_Char (face, &glyph1); glyph1 != 0; c1 = FT_Get_Next_Char (face, c1, &glyph1))
    {
        FT_UInt glyph2 = 0;

        for (FT_ULong c2 = FT_Get_First_Char (face, &glyph2); glyph2 != 0; c2 = FT_Get_Next_Char (face, c2, &glyph2))
        {
            FT_Vector kerning;

            if (FT_Get_Kerning (face, glyph1, glyph2, (FT_UInt) kerningMode, &kerning) != 0)
                break;

            if (kerning.x != 0)
                addKerningPair ((juce::juce_wchar) c1, (juce::juce_wchar) c2, (float) kerning.x * kerningScale);
        }
    }
}

void FreeTypeFace::prepareFace()
{
    const float unitsPerEm = (float) face->units_per_EM;
    const float bboxHeight = (float) (face->bbox.yMax - face->bbox.yMin);
    const float lineHeight = (float) (face->ascender - face->descender);

    if (unitsPerEm <= 0.0f || bboxHeight <= 0.0f)
        return; // keeps the neutral scales of 1; such a face has no usable metrics anyway

    outlineScale = (1.0f / unitsPerEm) * (unitsPerEm / bboxHeight) * emAdjust;
    kerningScale = lineHeight != 0.0f ? (unitsPerEm / bboxHeight) * emAdjust / lineHeight : 0.0f;
    loadFlags = FT_LOAD_NO_SCALE | FT_LOAD_NO_BITMAP;
    kerningMode = FT_KERNING_UNSCALED;
}

bool FreeTypeFace::loadGlyphIfPossible (juce::juce_wchar character)
{
    if (face == nullptr)
        return false;

    const FT_UInt index = FT_Get_Char_Index (face, (FT_ULong) character);

    if (index == 0 || FT_Load_Glyph (face, index, loadFlags) != 0)
        return false;

    if (face->glyph->format != FT_GLYPH_FORMAT_OUTLINE)
        return false;

    juce::Path path;

    if (! convertOutline (face->glyph->outline, path))
        return false;

    path.applyTransform (juce::AffineTransform::scale (outlineScale, -outlineScale));
    addGlyph (character, path, (float) face->glyph->metrics.horiAdvance * outlineScale);
    return true;
}

bool FreeTypeFace::convertOutline (const FT_Outline& outline, juce::Path& path)
{
    int first = 0;

    for (int contour = 0; contour < outline.n_contours; ++contour)
    {
        int last = outline.contours[contour];

        if (last < first || last >= outline.n_points)
            return false; // contour ends out of order or past the points: hostile or broken outline

        auto pointAt = [&outline] (int i) { return IntPoint { outline.points[i].x, outline.points[i].y }; };
        auto kindAt = [&outline] (int i) { return kindOf (outline.tags[i]); };

        IntPoint start = pointAt (first);
        int next = first + 1;

        switch (kindAt (first))
        {
            case PointKind::onCurve:
                break;

            case PointKind::quadratic:
                if (kindAt (last) == PointKind::onCurve)
                {
                    start = pointAt (last);
                    --last; // the last point is the start and so ends the contour
                }
                else
                {
                    start = midpoint (pointAt (first), pointAt (last));
                }

                next = first; // the first point is a control point still to be used
                break;

            case PointKind::cubic:
                return false;
        }

        path.startNewSubPath (toFloat (start));

        bool runOpen = false;          // a quadratic control point waits for its end point
        IntPoint control { 0, 0 };
        bool endsAtStart = false;      // the last segment so far runs into the start point

        for (int i = next; i <= last; ++i)
        {
            const IntPoint p = pointAt (i);

            switch (kindAt (i))
            {
                case PointKind::onCurve:
                    if (runOpen)
                        path.quadraticTo (toFloat (control), toFloat (p));
                    else
                        path.lineTo (toFloat (p));

                    runOpen = false;
                    endsAtStart = false;
                    break;

                case PointKind::quadratic:
                    if (runOpen)
                        path.quadraticTo (toFloat (control), toFloat (midpoint (control, p)));

                    control = p;
                    runOpen = true;
                    break;

                case PointKind::cubic:
                {
                    if (runOpen || i + 1 > last || kindAt (i + 1) != PointKind::cubic)
                        return false;

                    const IntPoint control2 = pointAt (i + 1);
                    endsAtStart = i + 2 > last;
                    const IntPoint end = endsAtStart ? start : pointAt (i + 2);
                    path.cubicTo (toFloat (p), toFloat (control2), toFloat (end));
                    i += 2;
                    break;
                }
            }
        }

        if (runOpen)
        {
            path.quadraticTo (toFloat (control), toFloat (start));
            endsAtStart = true;
        }

        // Otherwise the contour returns to its start with a straight line.
        if (! endsAtStart)
            path.closeSubPath();

        first = outline.contours[contour] + 1;
    }

    return true;
}

//==============================================================================
FreeTypeHintedFace::FreeTypeHintedFace (float height)
    : FreeTypeFace (height, height),
      hintedHeight (height)
{
}

bool FreeTypeHintedFace::isSuitableForFont (const juce::Font& font) const
{
    return font.getHeight() == hintedHeight;
}

void FreeTypeHintedFace::prepareFace()
{
    // The em is this fraction of the font height, so the outline with its
    // ascender and descender fills about one font height.
    constexpr float emPerHeight = 0.854f;
    const float charSize = emPerHeight * hintedHeight;

    FT_Set_Char_Size (face, 0, (FT_F26Dot6) (charSize * 64.0f + 0.5f), 0, 0);

    // 26.6 pixel units to heights of 1: (1 / s) x (1 / 64) x (s / h).
    outlineScale = kerningScale = (1.0f / charSize) * (1.0f / 64.0f) * (charSize / hintedHeight);
    loadFlags = FT_LOAD_NO_BITMAP | FT_LOAD_FORCE_AUTOHINT;
    kerningMode = FT_KERNING_DEFAULT;
}
