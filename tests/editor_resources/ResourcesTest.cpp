// The embedded resources: every image decodes with JUCE at the size the editor
// lays out around it and keeps its alpha channel, every byte array ends where
// its size constant says, and the font is Roboto Bold with the glyphs the UI
// draws.

#include <JuceHeader.h>

#include "Bitmaps.h"
#include "Fonts.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <ostream>
#include <string>

namespace
{
// Font and image caches are torn down by JUCE's shutdown; keep the library
// initialised for the whole run so that nothing is left behind.
class JuceEnvironment : public ::testing::Environment
{
public:
    void SetUp() override { juce = std::make_unique<juce::ScopedJuceInitialiser_GUI>(); }
    void TearDown() override { juce.reset(); }

private:
    std::unique_ptr<juce::ScopedJuceInitialiser_GUI> juce;
};

[[maybe_unused]] const auto* const juceEnvironment = ::testing::AddGlobalTestEnvironment(new JuceEnvironment);

struct EmbeddedImage
{
    const char* name;
    const char* data;
    int size;
    int width;
    int height;
};

// Pixel sizes that the editor's layout is built around.
const EmbeddedImage images[] = {
    { "help_png", Bitmaps::help_png, Bitmaps::help_pngSize, 16, 12 },
    { "help_overlay_png", Bitmaps::help_overlay_png, Bitmaps::help_overlay_pngSize, 522, 560 },
    { "protools_help_overlay_png", Bitmaps::protools_help_overlay_png, Bitmaps::protools_help_overlay_pngSize, 522, 560 },
    { "info_png", Bitmaps::info_png, Bitmaps::info_pngSize, 204, 63 },
    { "logo_png", Bitmaps::logo_png, Bitmaps::logo_pngSize, 68, 49 },
    { "head_outline_png", Bitmaps::head_outline_png, Bitmaps::head_outline_pngSize, 65, 70 },
    { "head_topdown_outline_png", Bitmaps::head_topdown_outline_png, Bitmaps::head_topdown_outline_pngSize, 89, 131 },
};

// Names the case in failure messages instead of dumping the record's bytes.
void PrintTo(const EmbeddedImage& image, std::ostream* os)
{
    *os << image.name;
}

uint32_t bigEndian32(const char* p)
{
    const auto* b = reinterpret_cast<const unsigned char*>(p);
    return (uint32_t(b[0]) << 24) | (uint32_t(b[1]) << 16) | (uint32_t(b[2]) << 8) | uint32_t(b[3]);
}

juce::Image decode(const EmbeddedImage& image)
{
    juce::MemoryInputStream in(image.data, static_cast<size_t>(image.size), false);
    juce::PNGImageFormat png;
    return png.canUnderstand(in) && in.setPosition(0) ? png.decodeImage(in) : juce::Image();
}

class EmbeddedImages : public ::testing::TestWithParam<EmbeddedImage>
{
};

TEST_P(EmbeddedImages, PngBytesFromSignatureToIend)
{
    const auto& image = GetParam();
    ASSERT_GT(image.size, 8 + 25) << image.name << ": too short for a PNG signature and IHDR chunk";
    ASSERT_EQ(0, std::memcmp(image.data, "\x89PNG\r\n\x1a\n", 8)) << image.name << ": no PNG signature";
    ASSERT_EQ(0, std::memcmp(image.data + 12, "IHDR", 4)) << image.name << ": first chunk is not IHDR";
    EXPECT_EQ(uint32_t(image.width), bigEndian32(image.data + 16)) << image.name << ": IHDR width";
    EXPECT_EQ(uint32_t(image.height), bigEndian32(image.data + 20)) << image.name << ": IHDR height";
    EXPECT_EQ(8, image.data[24]) << image.name << ": bit depth is not 8";
    EXPECT_EQ(6, image.data[25]) << image.name << ": colour type is not RGBA (6)";

    // A stale size constant would cut the image short or read past it.
    const char* end = image.data + image.size;
    EXPECT_EQ(0u, bigEndian32(end - 12)) << image.name << ": IEND chunk length";
    EXPECT_EQ(0, std::memcmp(end - 8, "IEND", 4)) << image.name << ": the array does not end with IEND";
    EXPECT_EQ(0xAE426082u, bigEndian32(end - 4)) << image.name << ": IEND checksum";
}

TEST_P(EmbeddedImages, DecodesWithJuceAsArgbAtTheLaidOutSize)
{
    const auto& image = GetParam();
    const auto decoded = decode(image);
    ASSERT_TRUE(decoded.isValid()) << image.name << ": JUCE's PNG reader rejects it";
    EXPECT_EQ(image.width, decoded.getWidth()) << image.name;
    EXPECT_EQ(image.height, decoded.getHeight()) << image.name;
    EXPECT_TRUE(decoded.hasAlphaChannel()) << image.name << ": decoded without alpha";
    EXPECT_EQ(juce::Image::ARGB, decoded.getFormat()) << image.name;

    // Something is drawn: not every pixel is fully transparent.
    bool anyInk = false;
    for (int y = 0; y < decoded.getHeight() && !anyInk; ++y)
        for (int x = 0; x < decoded.getWidth() && !anyInk; ++x)
            anyInk = decoded.getPixelAt(x, y).getAlpha() > 0;
    EXPECT_TRUE(anyInk) << image.name << ": every pixel is transparent";

    // The editor loads its images through the image cache from these bytes.
    const auto cached = juce::ImageCache::getFromMemory(image.data, image.size);
    ASSERT_TRUE(cached.isValid()) << image.name << ": the image cache rejects it";
    EXPECT_EQ(image.width, cached.getWidth()) << image.name << ": cached width";
    EXPECT_EQ(image.height, cached.getHeight()) << image.name << ": cached height";
}

INSTANTIATE_TEST_SUITE_P(Bitmaps, EmbeddedImages, ::testing::ValuesIn(images),
                         [](const ::testing::TestParamInfo<EmbeddedImage>& param) { return std::string(param.param.name); });

TEST(HelpOverlays, LetTheEditorShowThroughAndLeaveNoHole)
{
    // The overlays lie over the whole editor: translucent so the panels stay
    // recognisable beneath, yet with no fully clear spot that would look like
    // a usable control while the overlay takes every click.
    for (const auto& image : { images[1], images[2] })
    {
        const auto decoded = decode(image);
        ASSERT_TRUE(decoded.isValid()) << image.name;
        int opaque = 0;
        int clear = 0;
        for (int y = 0; y < decoded.getHeight(); ++y)
            for (int x = 0; x < decoded.getWidth(); ++x)
            {
                const auto alpha = decoded.getPixelAt(x, y).getAlpha();
                opaque += alpha == 255 ? 1 : 0;
                clear += alpha == 0 ? 1 : 0;
            }
        EXPECT_EQ(0, clear) << image.name << ": has fully transparent pixels";
        EXPECT_LT(opaque, decoded.getWidth() * decoded.getHeight() / 2) << image.name << ": mostly opaque, the editor would not show through";
    }

    EXPECT_TRUE(Bitmaps::help_overlay_pngSize != Bitmaps::protools_help_overlay_pngSize
                || std::memcmp(Bitmaps::help_overlay_png, Bitmaps::protools_help_overlay_png,
                               static_cast<size_t>(Bitmaps::help_overlay_pngSize)) != 0)
        << "the VST2 overlay and the Audio Unit/AAX overlay are the same image";
}

//==============================================================================
// Font

TEST(EmbeddedFont, IsRobotoBoldWithEveryCharacterTheEditorWrites)
{
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    ASSERT_EQ(0, FT_Init_FreeType(&library));
    ASSERT_EQ(0, FT_New_Memory_Face(library, reinterpret_cast<const FT_Byte*>(Fonts::robotobold_ttf),
                                    Fonts::robotobold_ttfSize, 0, &face))
        << "FreeType cannot open the embedded font";
    EXPECT_STREQ("Roboto", face->family_name);
    EXPECT_STREQ("Bold", face->style_name);
    EXPECT_NE(0, face->style_flags & FT_STYLE_FLAG_BOLD) << "not flagged bold";
    EXPECT_EQ(0, face->style_flags & FT_STYLE_FLAG_ITALIC) << "flagged italic";
    EXPECT_NE(0, face->face_flags & FT_FACE_FLAG_SCALABLE) << "the registry only takes scalable faces";
    EXPECT_EQ(0, FT_Select_Charmap(face, FT_ENCODING_UNICODE)) << "no Unicode charmap";

    // Printable ASCII (labels, values, typed numbers) and the copyright sign
    // of the info panel's notice line.
    for (char32_t c = 0x20; c <= 0x7F; ++c)
    {
        const char32_t needed = c == 0x7F ? U'\u00A9' : c;
        EXPECT_NE(0u, FT_Get_Char_Index(face, needed)) << "no glyph for U+" << std::hex << uint32_t(needed);
    }
    FT_Done_Face(face);
    FT_Done_FreeType(library);
}

TEST(EmbeddedFont, LoadsInJuceAsRobotoBold)
{
    const auto typeface = juce::Typeface::createSystemTypefaceFor(Fonts::robotobold_ttf,
                                                                  static_cast<size_t>(Fonts::robotobold_ttfSize));
    ASSERT_NE(nullptr, typeface.get()) << "JUCE cannot load the embedded font";
    EXPECT_EQ(juce::String("Roboto"), typeface->getName());
    EXPECT_EQ(juce::String("Bold"), typeface->getStyle());

    const juce::Font font(typeface);
    EXPECT_GT(font.withHeight(13.0f).getStringWidthFloat("SURROUND CONTROLS"), 0.0f) << "no glyph advances";
}
} // namespace
