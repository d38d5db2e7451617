#include "FreeTypeFaces.h"

#include "FreeTypeFace.h"

namespace
{
void defaultDebugOutput (const juce::String& message)
{
   #if JUCE_DEBUG
    juce::Logger::outputDebugString (message);
   #else
    juce::ignoreUnused (message);
   #endif
}

FreeTypeFaces::DebugOutput debugOutput = defaultDebugOutput;

void sendDebugMessage (const juce::String& message)
{
    if (debugOutput != nullptr)
        debugOutput (message);
}

juce::String styleSuffix (int styleFlags)
{
    switch (styleFlags & (juce::Font::bold | juce::Font::italic))
    {
        case juce::Font::bold:                      return " as bold";
        case juce::Font::italic:                    return " as italic";
        case juce::Font::bold | juce::Font::italic: return " as bold+italic";
        default:                                    return {};
    }
}
} // namespace

// The registry: one per process, deleted when the GUI library shuts down.
class FreeTypeFacesImplementation : private juce::DeletedAtShutdown
{
public:
    struct Entry
    {
        int styleFlags;          // juce::Font style flags: 1 bold, 2 italic
        juce::String familyName; // what fonts are matched against
        juce::String fullName;   // FreeType family name, a blank, style name
        float minHintedHeight;
        float maxHintedHeight;
        const void* data;        // not owned: the caller's block
        int size;                // bytes
    };

    FreeTypeFacesImplementation() : library (FreeTypeLibrary::getInstance()) {}
    ~FreeTypeFacesImplementation() override { clearSingletonInstance(); }

    void addFace (float minHinted, float maxHinted, const void* data, int size, bool appendStyleToFamily)
    {
        if (library == nullptr || library->getHandle() == nullptr || data == nullptr || size <= 0)
            return;

        FT_Face face = nullptr;

        if (FT_New_Memory_Face (library->getHandle(), static_cast<const FT_Byte*> (data), (FT_Long) size, 0, &face) != 0)
            return;

        if ((face->face_flags & FT_FACE_FLAG_SCALABLE) == 0)
        {
            FT_Done_Face (face);
            return;
        }

        int styleFlags = 0;

        if ((face->style_flags & FT_STYLE_FLAG_BOLD) != 0)
            styleFlags |= juce::Font::bold;

        if ((face->style_flags & FT_STYLE_FLAG_ITALIC) != 0)
            styleFlags |= juce::Font::italic;

        const juce::String family (face->family_name != nullptr ? face->family_name : "");
        const juce::String style (face->style_name != nullptr ? face->style_name : "");
        FT_Done_Face (face);

        const juce::String fullName = family + " " + style;
        const juce::String familyName = appendStyleToFamily ? fullName : family;

        // Every editor registers the embedded face again; a second entry could
        // never be reached by a lookup, so the registry keeps only the first.
        for (const auto& e : entries)
            if (e.familyName == familyName && e.data == data && e.size == size)
                return;

        sendDebugMessage ("Added FreeType family '" + family + "' with style '" + style + "'" + styleSuffix (styleFlags));

        entries.add ({ styleFlags, familyName, fullName, minHinted, maxHinted, data, size });
    }

    juce::Typeface::Ptr createTypeface (const juce::Font& font)
    {
        const auto name = font.getTypefaceName();

        for (const auto& e : entries)
        {
            if (e.familyName != name)
                continue;

            const float h = font.getHeight();
            juce::String message = "Created FreeType face '" + e.fullName + "'";
            FreeTypeFace* typeface = nullptr;

            if (e.minHintedHeight <= h && h <= e.maxHintedHeight)
            {
                typeface = new FreeTypeHintedFace (h);
                message << " at hinted size " << juce::String (h, 2);
            }
            else
            {
                typeface = new FreeTypeFace (e.minHintedHeight, e.maxHintedHeight);
            }

            juce::Typeface::Ptr result (typeface);
            typeface->openMemoryFace (e.data, e.size);
            sendDebugMessage (message + styleSuffix (font.getStyleFlags()));
            return result;
        }

        return nullptr;
    }

    int getNumFaces() const noexcept { return entries.size(); }

    JUCE_DECLARE_SINGLETON (FreeTypeFacesImplementation, false)

private:
    FreeTypeLibrary::Ptr library;
    juce::Array<Entry> entries;

    JUCE_DECLARE_NON_COPYABLE (FreeTypeFacesImplementation)
};

JUCE_IMPLEMENT_SINGLETON (FreeTypeFacesImplementation)

//==============================================================================
void FreeTypeFaces::addFaceFromMemory (float minHintedHeight, float maxHintedHeight, bool /*flag*/,
                                       const void* data, int size, bool appendStyleToFamily)
{
    if (auto* registry = FreeTypeFacesImplementation::getInstance())
        registry->addFace (minHintedHeight, maxHintedHeight, data, size, appendStyleToFamily);
}

juce::Typeface::Ptr FreeTypeFaces::createTypefaceForFont (const juce::Font& font)
{
    if (auto* registry = FreeTypeFacesImplementation::getInstance())
        return registry->createTypeface (font);

    return nullptr;
}

int FreeTypeFaces::getNumFaces()
{
    if (auto* registry = FreeTypeFacesImplementation::getInstanceWithoutCreating())
        return registry->getNumFaces();

    return 0;
}

void FreeTypeFaces::setDebugOutput (DebugOutput output)
{
    debugOutput = output;
}
