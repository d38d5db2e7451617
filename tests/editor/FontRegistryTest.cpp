// The font registry and its FreeType typefaces, on the embedded Roboto Bold.
#include <gtest/gtest.h>

#include "Fonts.h"
#include "FreeTypeFace.h"
#include "FreeTypeFaces.h"
#include "QVLookAndFeel.h"

#include <cmath>
#include <vector>

#include FT_OUTLINE_H

namespace
{
std::vector<juce::String>& capturedMessages()
{
    static std::vector<juce::String> messages;
    return messages;
}

void captureMessage (const juce::String& m) { capturedMessages().push_back (m); }

void registerEmbeddedFace()
{
    FreeTypeFaces::addFaceFromMemory (5.0f, 8.0f, false, Fonts::robotobold_ttf, Fonts::robotobold_ttfSize, false);
}

// The embedded face opened straight from FreeType, for reference figures.
struct ReferenceFace
{
    ReferenceFace()
    {
        FT_Init_FreeType (&library);
        FT_New_Memory_Face (library, reinterpret_cast<const FT_Byte*> (Fonts::robotobold_ttf),
                            Fonts::robotobold_ttfSize, 0, &face);
    }

    ~ReferenceFace()
    {
        FT_Done_Face (face);
        FT_Done_FreeType (library);
    }

    float bboxHeight() const { return (float) (face->bbox.yMax - face->bbox.yMin); }

    FT_Library library = nullptr;
    FT_Face face = nullptr;
};

juce::Typeface::Ptr typefaceFor (float height, int style = juce::Font::bold)
{
    return FreeTypeFaces::createTypefaceForFont (juce::Font ("Roboto", height, style));
}

class FontRegistryTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        registerEmbeddedFace();
        capturedMessages().clear();
        FreeTypeFaces::setDebugOutput (captureMessage);
    }

    void TearDown() override { FreeTypeFaces::setDebugOutput (nullptr); }
};
} // namespace

// Heights 5 to 8 (inclusive) get a hinted face at that size, the rest the
// one unhinted face; each kind with its own scales and FreeType flags.
TEST_F (FontRegistryTest, TypefacePerHeight)
{
    ReferenceFace ref;
    ASSERT_NE (ref.face, nullptr) << "FreeType cannot open the embedded font";
    const float upem = (float) ref.face->units_per_EM;
    const float bboxH = ref.bboxHeight();
    const float lineHeight = (float) (ref.face->ascender - ref.face->descender);
    struct Case { float height; bool hinted; };
    const Case cases[] = { { 4.99f, false }, { 5.0f, true }, { 6.0f, true }, { 6.5f, true }, { 7.0f, true }, { 8.0f, true },
                           { 8.01f, false }, { 0.5f, false }, { 11.5f, false }, { 12.0f, false }, { 15.5f, false } };
    for (const auto& c : cases)
    {
        auto typeface = typefaceFor (c.height);
        ASSERT_NE (typeface, nullptr) << "no typeface for Roboto at " << c.height;
        EXPECT_EQ (typeface->isHinted(), c.hinted) << "height " << c.height;
        EXPECT_EQ (typeface->getName(), "Roboto") << "height " << c.height;
        if (c.hinted)
        {
            auto* face = dynamic_cast<FreeTypeHintedFace*> (typeface.get());
            ASSERT_NE (face, nullptr) << "height " << c.height << " is not a hinted face";
            EXPECT_FLOAT_EQ (face->getHintedHeight(), c.height);
            EXPECT_NEAR (face->getOutlineScale(), 1.0f / (64.0f * c.height), 1e-7f) << "height " << c.height;
            EXPECT_EQ (face->getOutlineScale(), face->getKerningScale()) << "height " << c.height;
            EXPECT_EQ (face->getLoadFlags(), 0x28) << "FT_LOAD_NO_BITMAP | FT_LOAD_FORCE_AUTOHINT";
            EXPECT_EQ (face->getKerningMode(), 0) << "FT_KERNING_DEFAULT";
            continue;
        }
        auto* face = dynamic_cast<FreeTypeFace*> (typeface.get());
        ASSERT_NE (face, nullptr) << "height " << c.height;
        EXPECT_EQ (dynamic_cast<FreeTypeHintedFace*> (face), nullptr) << "height " << c.height << " is hinted";
        EXPECT_FLOAT_EQ (face->getOutlineScale(), 1.0059625f / bboxH) << "height " << c.height;
        EXPECT_FLOAT_EQ (face->getKerningScale(), (upem / bboxH) * 1.0059625f / lineHeight) << "height " << c.height;
        EXPECT_FLOAT_EQ (face->getHeightToPointsFactor(), 1.0f / ((upem / bboxH) * 1.0059625f)) << "height " << c.height;
        EXPECT_FLOAT_EQ (face->getAscent(), (float) ref.face->bbox.yMax / bboxH) << "height " << c.height;
        EXPECT_EQ (face->getLoadFlags(), 9) << "FT_LOAD_NO_SCALE | FT_LOAD_NO_BITMAP";
        EXPECT_EQ (face->getKerningMode(), 2) << "FT_KERNING_UNSCALED";
    }
}

TEST_F (FontRegistryTest, SuitabilityForTheTypefaceCache)
{
    auto hinted = typefaceFor (7.0f);
    auto unhinted = typefaceFor (11.5f);
    struct Case { juce::Typeface* typeface; float height; bool suitable; };
    const Case cases[] = {
        { hinted.get(), 7.0f, true },   { hinted.get(), 7.5f, false },  { hinted.get(), 6.0f, false },
        { unhinted.get(), 4.0f, true }, { unhinted.get(), 11.5f, true }, { unhinted.get(), 0.5f, true },
        { unhinted.get(), 6.0f, false }, { unhinted.get(), 5.0f, false }, { unhinted.get(), 8.0f, false },
        { unhinted.get(), 8.01f, true },
    };
    for (const auto& c : cases)
        EXPECT_EQ (c.typeface->isSuitableForFont (juce::Font ("Roboto", c.height, juce::Font::bold)), c.suitable)
            << (c.typeface->isHinted() ? "hinted 7.0" : "unhinted") << " face asked about height " << c.height;
}

TEST_F (FontRegistryTest, UnknownFamilyGetsNoTypeface)
{
    EXPECT_EQ (FreeTypeFaces::createTypefaceForFont (juce::Font ("Roboto Condensed", 10.0f, 0)), nullptr);
    EXPECT_EQ (FreeTypeFaces::createTypefaceForFont (juce::Font ("roboto", 10.0f, 0)), nullptr) << "names match exactly";
    EXPECT_EQ (FreeTypeFaces::createTypefaceForFont (juce::Font (10.0f)), nullptr) << "the sans-serif placeholder is not Roboto";
}

TEST_F (FontRegistryTest, RepeatedRegistrationAddsTheFaceOnce)
{
    const int before = FreeTypeFaces::getNumFaces();
    ASSERT_GE (before, 1);
    registerEmbeddedFace();
    {
        QVLookAndFeel first, second, third;
    }
    EXPECT_EQ (FreeTypeFaces::getNumFaces(), before) << "opening more editors grew the registry";
    EXPECT_TRUE (capturedMessages().empty()) << "a repeated registration announced itself: " << capturedMessages().front();
}

TEST_F (FontRegistryTest, StyleAppendedToFamilyRegistersASecondName)
{
    FreeTypeFaces::addFaceFromMemory (5.0f, 8.0f, false, Fonts::robotobold_ttf, Fonts::robotobold_ttfSize, true);
    FreeTypeFaces::addFaceFromMemory (5.0f, 8.0f, false, Fonts::robotobold_ttf, Fonts::robotobold_ttfSize, true);
    auto typeface = FreeTypeFaces::createTypefaceForFont (juce::Font ("Roboto Bold", 12.0f, 0));
    ASSERT_NE (typeface, nullptr) << "the face is not found as \"Roboto Bold\"";
    EXPECT_NE (typefaceFor (12.0f), nullptr) << "\"Roboto\" must still reach the earlier entry";
}

TEST_F (FontRegistryTest, UnreadableBlocksAreNotRegistered)
{
    const int before = FreeTypeFaces::getNumFaces();
    const char garbage[64] = { 1, 2, 3, 4 };
    FreeTypeFaces::addFaceFromMemory (5.0f, 8.0f, false, garbage, (int) sizeof (garbage), false);
    FreeTypeFaces::addFaceFromMemory (5.0f, 8.0f, false, nullptr, 100, false);
    FreeTypeFaces::addFaceFromMemory (5.0f, 8.0f, false, Fonts::robotobold_ttf, 0, false);
    FreeTypeFaces::addFaceFromMemory (5.0f, 8.0f, false, Fonts::robotobold_ttf, 1000, false); // truncated
    EXPECT_EQ (FreeTypeFaces::getNumFaces(), before);
    EXPECT_TRUE (capturedMessages().empty());
    FreeTypeFace face (5.0f, 8.0f);
    face.openMemoryFace (garbage, (int) sizeof (garbage));
    EXPECT_FALSE (face.isOpen()) << "a block FreeType cannot read must leave the typeface empty";
}

TEST_F (FontRegistryTest, DebugMessageTexts)
{
    // A block at a new address is a new face to the registry; it must live as
    // long as the registry.
    static const juce::MemoryBlock copy (Fonts::robotobold_ttf, (size_t) Fonts::robotobold_ttfSize);
    capturedMessages().clear();
    FreeTypeFaces::addFaceFromMemory (5.0f, 8.0f, false, copy.getData(), (int) copy.getSize(), false);
    ASSERT_EQ (capturedMessages().size(), 1u);
    EXPECT_EQ (capturedMessages()[0], "Added FreeType family 'Roboto' with style 'Bold' as bold");
    capturedMessages().clear();
    typefaceFor (7.0f, juce::Font::bold);
    typefaceFor (7.25f, juce::Font::plain);
    typefaceFor (13.0f, juce::Font::bold | juce::Font::italic);
    typefaceFor (13.0f, juce::Font::italic);
    const std::vector<juce::String> expected {
        "Created FreeType face 'Roboto Bold' at hinted size 7.00 as bold",
        "Created FreeType face 'Roboto Bold' at hinted size 7.25",
        "Created FreeType face 'Roboto Bold' as bold+italic",
        "Created FreeType face 'Roboto Bold' as italic",
    };
    ASSERT_EQ (capturedMessages().size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ (capturedMessages()[i], expected[i]) << "message " << i;
}

TEST_F (FontRegistryTest, UnhintedGlyphMatchesFreeTypeOutline)
{
    ReferenceFace ref;
    auto typeface = typefaceFor (20.0f);
    auto* face = dynamic_cast<FreeTypeFace*> (typeface.get());
    ASSERT_NE (face, nullptr);
    const float scale = face->getOutlineScale();
    for (juce::juce_wchar c : { (juce::juce_wchar) 'H', (juce::juce_wchar) 'o', (juce::juce_wchar) 'g', (juce::juce_wchar) '8',
                                (juce::juce_wchar) 0xA9 /* copyright sign */ })
    {
        ASSERT_EQ (FT_Load_Char (ref.face, c, FT_LOAD_NO_SCALE | FT_LOAD_NO_BITMAP), 0);
        FT_BBox cbox;
        FT_Outline_Get_CBox (&ref.face->glyph->outline, &cbox);
        juce::Path path;
        ASSERT_TRUE (face->getOutlineForGlyph ((int) c, path)) << "no outline for U+" << (int) c;
        const auto bounds = path.getBounds();
        const float tolerance = 1e-4f;

        // Control points bound both boxes; y is flipped so that it grows downward.
        EXPECT_NEAR (bounds.getX(), (float) cbox.xMin * scale, tolerance) << "U+" << (int) c;
        EXPECT_NEAR (bounds.getRight(), (float) cbox.xMax * scale, tolerance) << "U+" << (int) c;
        EXPECT_NEAR (bounds.getY(), -(float) cbox.yMax * scale, tolerance) << "U+" << (int) c;
        EXPECT_NEAR (bounds.getBottom(), -(float) cbox.yMin * scale, tolerance) << "U+" << (int) c;
        EXPECT_NEAR (face->getStringWidth (juce::String::charToString (c)),
                     (float) ref.face->glyph->metrics.horiAdvance * scale, 1e-5f) << "advance of U+" << (int) c;
    }
}

TEST_F (FontRegistryTest, HintedGlyphsSitOnThePixelGrid)
{
    // The auto-hinter snaps horizontal edges to whole pixels: the flat top
    // and bottom of 'H' and 'E' fall on whole rows at the hinted height.
    for (float h : { 5.0f, 6.0f, 7.0f, 8.0f })
    {
        auto typeface = typefaceFor (h);
        for (juce::juce_wchar c : { (juce::juce_wchar) 'H', (juce::juce_wchar) 'E' })
        {
            juce::Path path;
            ASSERT_TRUE (typeface->getOutlineForGlyph ((int) c, path));
            const auto bounds = path.getBounds();
            const float top = bounds.getY() * h, bottom = bounds.getBottom() * h;
            EXPECT_NEAR (top, std::round (top), 1e-3f) << "cap top of " << (char) c << " at " << h << " px";
            EXPECT_NEAR (bottom, std::round (bottom), 1e-3f) << "baseline of " << (char) c << " at " << h << " px";
            EXPECT_GT (-top, 0.5f * h) << "cap height implausibly small at " << h << " px";
        }
    }
}

TEST_F (FontRegistryTest, KerningPairsComeFromTheFace)
{
    // The embedded Roboto keeps its kerning in tables FreeType's kerning call
    // does not read; a face with a classic kerning table shows the walk.
    ReferenceFace roboto;
    EXPECT_FALSE (FT_HAS_KERNING (roboto.face)) << "the embedded face gained a kerning table: extend this test to it";
    const juce::File kernedFile ("/usr/share/fonts/truetype/dejavu/DejaVuSans-ExtraLight.ttf");
    if (! kernedFile.existsAsFile())
        GTEST_SKIP() << "no face with a kerning table installed (fonts-dejavu-extra)";
    juce::MemoryBlock data;
    ASSERT_TRUE (kernedFile.loadFileAsData (data));
    FT_Library library;
    FT_Face ref;
    ASSERT_EQ (FT_Init_FreeType (&library), 0);
    ASSERT_EQ (FT_New_Memory_Face (library, static_cast<const FT_Byte*> (data.getData()), (FT_Long) data.getSize(), 0, &ref), 0);
    ASSERT_TRUE (FT_HAS_KERNING (ref));
    juce::ReferenceCountedObjectPtr<FreeTypeFace> face (new FreeTypeFace (5.0f, 8.0f));
    face->openMemoryFace (data.getData(), (int) data.getSize());
    ASSERT_TRUE (face->isOpen());
    const auto glyph = [&] (char c) { return FT_Get_Char_Index (ref, (FT_ULong) c); };
    for (const char* pair : { "AV", "To", "LT", "AA" })
    {
        FT_Vector kern;
        ASSERT_EQ (FT_Get_Kerning (ref, glyph (pair[0]), glyph (pair[1]), FT_KERNING_UNSCALED, &kern), 0);
        const float together = face->getStringWidth (pair);
        const float apart = face->getStringWidth (juce::String::charToString ((juce::juce_wchar) pair[0]))
                          + face->getStringWidth (juce::String::charToString ((juce::juce_wchar) pair[1]));
        EXPECT_NEAR (together - apart, (float) kern.x * face->getKerningScale(), 1e-6f) << pair;
        if (juce::String (pair) == "AV")
            EXPECT_LT (kern.x, 0) << "A and V should be drawn closer together";
    }
    FT_Done_Face (ref);
    FT_Done_FreeType (library);
}

// Roboto and the default sans-serif placeholder (which the GUI library's own
// fonts carry) reach the embedded face; any other name is the platform's.
TEST_F (FontRegistryTest, LookAndFeelRoutesRobotoAndTheDefaultSansToTheRegistry)
{
    QVLookAndFeel lnf;
    auto roboto = lnf.getTypefaceForFont (QVLookAndFeel::GetUIFont (11.5f, juce::Font::bold));
    EXPECT_NE (dynamic_cast<FreeTypeFace*> (roboto.get()), nullptr);
    auto hinted = lnf.getTypefaceForFont (QVLookAndFeel::GetUIFont (6.0f, juce::Font::bold));
    EXPECT_NE (dynamic_cast<FreeTypeHintedFace*> (hinted.get()), nullptr);
    auto sans = lnf.getTypefaceForFont (juce::Font (12.0f));
    EXPECT_NE (dynamic_cast<FreeTypeFace*> (sans.get()), nullptr) << "the default sans-serif placeholder";
    auto smallSans = lnf.getTypefaceForFont (juce::Font (7.0f));
    EXPECT_NE (dynamic_cast<FreeTypeHintedFace*> (smallSans.get()), nullptr) << "a 7 px default sans-serif font should be drawn hinted";
    for (const auto& font : { juce::Font ("DejaVu Sans", 12.0f, 0), juce::Font ("Roboto Bold", 12.0f, 0),
                              juce::Font (juce::Font::getDefaultSerifFontName(), 12.0f, 0),
                              juce::Font (juce::Font::getDefaultMonospacedFontName(), 12.0f, 0) })
    {
        auto other = lnf.getTypefaceForFont (font);
        ASSERT_NE (other, nullptr) << "the look and feel must always answer a typeface";
        EXPECT_EQ (dynamic_cast<FreeTypeFace*> (other.get()), nullptr) << font.getTypefaceName() << " reached the registry";
    }
}

// Every font the GUI library makes without asking the editor (menu rows, combo
// box text, labels, text editors, tooltips, alert windows, slider pop-ups)
// resolves to the embedded face and draws real letters, whatever fonts the
// machine has.
TEST_F (FontRegistryTest, LibraryDefaultFontsDrawWithTheEmbeddedFace)
{
    QVLookAndFeel lnf;
    juce::LookAndFeel::setDefaultLookAndFeel (&lnf);
    juce::Typeface::clearTypefaceCache();

    juce::ComboBox box;
    box.setSize (94, 14);
    juce::Slider slider;
    const struct { const char* name; juce::Font font; } fonts[] = {
        { "pop-up menu", lnf.getPopupMenuFont() },
        { "pop-up menu row 12 px high", lnf.getPopupMenuFont().withHeight (12.0f / 1.3f) },
        { "combo box", lnf.getComboBoxFont (box) },
        { "label", juce::Label().getFont() },
        { "text editor", juce::TextEditor().getFont() },
        { "tooltip", juce::Font (13.0f, juce::Font::bold) },
        { "alert window", lnf.getAlertWindowFont() },
        { "alert window message", lnf.getAlertWindowMessageFont() },
        { "alert window title", lnf.getAlertWindowTitleFont() },
        { "slider pop-up", lnf.getSliderPopupFont (slider) },
    };
    for (const auto& row : fonts)
    {
        auto typeface = row.font.getTypefacePtr();
        ASSERT_NE (typeface, nullptr) << row.name;
        EXPECT_NE (dynamic_cast<FreeTypeFace*> (typeface.get()), nullptr) << row.name << " font is not the embedded face";
        juce::Path letter;
        typeface->getOutlineForGlyph ('R', letter);
        EXPECT_FALSE (letter.isEmpty()) << row.name << " font has no outline for R";
        EXPECT_GT (row.font.getStringWidthFloat ("ROTATION"), row.font.getHeight() * 3.0f) << row.name << " font gives text no width";
    }

    juce::LookAndFeel::setDefaultLookAndFeel (nullptr);
    juce::Typeface::clearTypefaceCache();
}

TEST_F (FontRegistryTest, FontsResolveThroughTheDefaultLookAndFeel)
{
    QVLookAndFeel lnf;
    juce::LookAndFeel::setDefaultLookAndFeel (&lnf);
    juce::Typeface::clearTypefaceCache();
    auto small = QVLookAndFeel::GetUIFont (7.0f, juce::Font::bold).getTypefacePtr();
    auto medium = QVLookAndFeel::GetUIFont (13.0f, juce::Font::bold).getTypefacePtr();
    auto title = QVLookAndFeel::GetUIFont (15.5f, juce::Font::bold).getTypefacePtr();
    EXPECT_NE (dynamic_cast<FreeTypeHintedFace*> (small.get()), nullptr) << "a 7 px font should be drawn hinted";
    EXPECT_NE (dynamic_cast<FreeTypeFace*> (medium.get()), nullptr);
    EXPECT_EQ (medium.get(), title.get()) << "the typeface cache should share the unhinted face across heights";
    juce::LookAndFeel::setDefaultLookAndFeel (nullptr);
    juce::Typeface::clearTypefaceCache();
}

//==============================================================================
// Outline conversion on hand-made contours.
namespace
{
struct TestOutline
{
    std::vector<FT_Vector> points;
    std::vector<char> tags;
    std::vector<short> contours;

    FT_Outline outline()
    {
        FT_Outline o {};
        o.n_points = (short) points.size();
        o.n_contours = (short) contours.size();
        o.points = points.data();
        o.tags = tags.data();
        o.contours = contours.data();
        return o;
    }
};

constexpr char on = FT_CURVE_TAG_ON, quad = FT_CURVE_TAG_CONIC, cubic = FT_CURVE_TAG_CUBIC;

// The path as text: "M x y", "L x y", "Q cx cy x y", "C ... x y", "Z".
juce::String describe (const juce::Path& path)
{
    juce::StringArray parts;
    juce::Path::Iterator it (path);

    while (it.next())
    {
        auto n = [] (float v) { return juce::String ((int) v); };

        switch (it.elementType)
        {
            case juce::Path::Iterator::startNewSubPath: parts.add ("M " + n (it.x1) + " " + n (it.y1)); break;
            case juce::Path::Iterator::lineTo:          parts.add ("L " + n (it.x1) + " " + n (it.y1)); break;
            case juce::Path::Iterator::quadraticTo:     parts.add ("Q " + n (it.x1) + " " + n (it.y1) + " " + n (it.x2) + " " + n (it.y2)); break;
            case juce::Path::Iterator::cubicTo:         parts.add ("C " + n (it.x1) + " " + n (it.y1) + " " + n (it.x2) + " " + n (it.y2) + " " + n (it.x3) + " " + n (it.y3)); break;
            case juce::Path::Iterator::closePath:       parts.add ("Z"); break;
        }
    }

    return parts.joinIntoString (", ");
}
} // namespace

// Each contour as a path, or refused (no expected path) when it is broken.
// Each contour as a path, or refused (no expected path) when it is broken.
TEST (OutlineConversion, ContourShapes)
{
    struct Case
    {
        const char* what;
        TestOutline outline;
        const char* expected;
    };
    const Case cases[] = {
        { "lines only are closed",
          { { { 0, 0 }, { 10, 0 }, { 10, 10 } }, { on, on, on }, { 2 } },
          "M 0 0, L 10 0, L 10 10, Z" },
        { "a run of controls meets at integer midpoints",
          { { { 0, 0 }, { 10, 0 }, { 21, 10 }, { 0, 20 } }, { on, quad, quad, on }, { 3 } },
          "M 0 0, Q 10 0 15 5, Q 21 10 0 20, Z" },
        { "a trailing control closes with a quadratic to the start",
          { { { 0, 0 }, { 10, 0 }, { 10, 10 } }, { on, on, quad }, { 2 } },
          "M 0 0, L 10 0, Q 10 10 0 0" },
        { "a leading control starts at an on-curve last point",
          { { { 0, 10 }, { 10, 0 }, { 0, 0 } }, { quad, on, on }, { 2 } },
          "M 0 0, Q 0 10 10 0, Z" },
        { "all controls start at the midpoint of first and last",
          { { { 0, 0 }, { 10, 0 }, { 10, 10 }, { 1, 10 } }, { quad, quad, quad, quad }, { 3 } },
          "M 0 5, Q 0 0 5 0, Q 10 0 10 5, Q 10 10 5 10, Q 1 10 0 5" },
        { "a cubic pair runs to the next point",
          { { { 0, 0 }, { 0, 10 }, { 10, 10 }, { 10, 0 } }, { on, cubic, cubic, on }, { 3 } },
          "M 0 0, C 0 10 10 10 10 0, Z" },
        { "a cubic pair at the end runs to the start",
          { { { 0, 0 }, { 10, 0 }, { 10, 10 }, { 0, 10 } }, { on, on, cubic, cubic }, { 3 } },
          "M 0 0, L 10 0, C 10 10 0 10 0 0" },
        { "two contours",
          { { { 0, 0 }, { 4, 0 }, { 4, 4 }, { 8, 8 }, { 9, 8 }, { 9, 9 } }, { on, on, on, on, on, on }, { 2, 5 } },
          "M 0 0, L 4 0, L 4 4, Z, M 8 8, L 9 8, L 9 9, Z" },
        { "contour starting with a cubic control", { { { 0, 0 }, { 1, 1 }, { 2, 2 } }, { cubic, cubic, on }, { 2 } }, nullptr },
        { "cubic control inside a quadratic run", { { { 0, 0 }, { 1, 1 }, { 2, 2 }, { 3, 3 } }, { on, quad, cubic, cubic }, { 3 } }, nullptr },
        { "lone cubic control", { { { 0, 0 }, { 1, 1 }, { 2, 2 } }, { on, cubic, on }, { 2 } }, nullptr },
        { "contour end past the points", { { { 0, 0 }, { 1, 1 } }, { on, on }, { 5 } }, nullptr },
        { "contour ends out of order", { { { 0, 0 }, { 1, 1 }, { 2, 2 }, { 3, 3 } }, { on, on, on, on }, { 3, 1 } }, nullptr },
    };
    for (auto c : cases)
    {
        juce::Path path;
        auto outline = c.outline.outline();
        ASSERT_EQ (FreeTypeFace::convertOutline (outline, path), c.expected != nullptr) << c.what;
        if (c.expected != nullptr)
            EXPECT_EQ (describe (path), juce::String (c.expected)) << c.what;
    }
}
