// The look and feel's palette, fonts, label factories and panel plates.
#include "ComponentSnapshot.h"
#include "EditorTestFixture.h"

#include <memory>

namespace
{
class LookAndFeelTest : public EditorTest
{
};

struct PanelStub : juce::Component
{
    void paint (juce::Graphics& g) override { QVLookAndFeel::DrawPanelBackground (g, this); }
};

bool NothingDrawn (const juce::Image& image)
{
    return qvtest::CountPixels (image, [] (juce::Colour c) { return c.getAlpha() != 0; }) == 0;
}
} // namespace

TEST_F (LookAndFeelTest, PaletteColours)
{
    EXPECT_EQ (QVLookAndFeel::Col_TabColour.getARGB(), 0xFFBEC4CCu);
    EXPECT_EQ (QVLookAndFeel::Col_BackgroundColour.getARGB(), 0xFF28313Bu);
    EXPECT_EQ (QVLookAndFeel::Col_BackgroundColourHighlight.getARGB(), 0xFF4A5564u);
    EXPECT_EQ (QVLookAndFeel::Col_BFormat.getARGB(), 0xFFFFFFFFu);

    // Hue 0 at saturation 0.4 is a light red; the other polar colours step
    // round the hue circle at full brightness.
    EXPECT_EQ (QVLookAndFeel::Col_CentrePolar.getARGB(), 0xFFFF9999u);
    struct Case { const char* name; juce::Colour colour; float hue, saturation; };
    const Case hsb[] = { { "Col_LRPolar", QVLookAndFeel::Col_LRPolar, 0.2f, 0.4f },
                         { "Col_LsRsPolar", QVLookAndFeel::Col_LsRsPolar, 0.4f, 0.4f },
                         { "Col_RLsRRsPolar", QVLookAndFeel::Col_RLsRRsPolar, 0.6f, 0.4f },
                         { "Col_LFEPolar", QVLookAndFeel::Col_LFEPolar, 0.8f, 0.5f } };
    for (const auto& c : hsb)
    {
        EXPECT_NEAR (c.colour.getHue(), c.hue, 0.01f) << c.name;
        EXPECT_NEAR (c.colour.getSaturation(), c.saturation, 0.01f) << c.name;
        EXPECT_EQ (c.colour.getBrightness(), 1.0f) << c.name;
    }
}

TEST_F (LookAndFeelTest, UIFontKerningStartsAboveEightPixels)
{
    struct Case { float height; float kerning; };
    const Case cases[] = { { 5.0f, 0.0f }, { 8.0f, 0.0f }, { 8.01f, 0.11f }, { 11.5f, 0.11f }, { 15.5f, 0.11f } };
    for (const auto& c : cases)
    {
        const auto font = QVLookAndFeel::GetUIFont (c.height, juce::Font::bold);
        EXPECT_FLOAT_EQ (font.getExtraKerningFactor(), c.kerning) << "height " << c.height;
        EXPECT_EQ (font.getTypefaceName(), "Roboto");
        EXPECT_FLOAT_EQ (font.getHeight(), c.height);
        EXPECT_TRUE (font.isBold());
    }
    EXPECT_FALSE (QVLookAndFeel::GetUIFont (10.0f, juce::Font::plain).isBold());
    EXPECT_TRUE (QVLookAndFeel::GetUIFont (10.0f, juce::Font::italic).isItalic());
}

TEST_F (LookAndFeelTest, ColourTableLaterPairsWin)
{
    ASSERT_EQ (QVLookAndFeel::numColourPairs, 87);

    // The doubled label ids end on their second colour.
    struct Case { int id; juce::uint32 argb; const char* what; };
    const Case cases[] = {
        { juce::Label::textColourId, 0xFFEDEDED, "Label::textColourId" },
        { juce::Label::backgroundColourId, 0x55000000, "Label::backgroundColourId" },
        { juce::Label::outlineColourId, 0x00000000, "Label::outlineColourId" },
        { juce::ComboBox::backgroundColourId, 0x55000000, "ComboBox::backgroundColourId" },
        { juce::ComboBox::textColourId, 0xFFDDDDDD, "ComboBox::textColourId" },
        { juce::ComboBox::arrowColourId, 0xFFDDDDDD, "ComboBox::arrowColourId" },
        { juce::Slider::thumbColourId, 0xFF000000, "Slider::thumbColourId" },
        { juce::Slider::trackColourId, 0xFFFFFFFF, "Slider::trackColourId" },
        { juce::Slider::backgroundColourId, 0xFFAAAAAA, "Slider::backgroundColourId" },
        { juce::Slider::rotarySliderFillColourId, 0xDDFFFFFF, "Slider::rotarySliderFillColourId" },
        { juce::Slider::textBoxTextColourId, 0xFFEDEDED, "Slider::textBoxTextColourId" },
        { juce::Slider::textBoxBackgroundColourId, 0xFF222222, "Slider::textBoxBackgroundColourId" },
        { juce::Slider::textBoxOutlineColourId, 0xFF000000, "Slider::textBoxOutlineColourId" },
        { juce::TextEditor::textColourId, 0xFF00FF00, "TextEditor::textColourId" },
        { juce::TextEditor::highlightColourId, 0x33000000, "TextEditor::highlightColourId" },
        { juce::ToggleButton::textColourId, 0xFFFFFFFF, "ToggleButton::textColourId" },
        { juce::TextButton::buttonColourId, 0xFFDDDDDD, "TextButton::buttonColourId" },
        { juce::PopupMenu::highlightedBackgroundColourId, 0x991111AA, "PopupMenu::highlightedBackgroundColourId" },
        { juce::DrawableButton::textColourId, 0xFF000000, "DrawableButton::textColourId" },
    };
    for (const auto& c : cases)
        EXPECT_EQ (lnf.findColour (c.id).getARGB(), c.argb) << c.what;

    // The 87 pairs in the order they are applied; ids 0x1000280 and 0x1000281
    // occur twice, and their later colours win.
    struct Pair { juce::uint32 id, argb; };
    const Pair pairs[] = {
        { 0x1000100, 0xFFDDDDDDu }, { 0x1000101, 0xFF4444FFu }, { 0x1000103, 0xFF000000u },
        { 0x1000102, 0xFF000000u }, { 0x1006501, 0xFFFFFFFFu }, { 0x1000200, 0xFFFFFFFFu },
        { 0x1000201, 0xFF00FF00u }, { 0x1000202, 0x33000000u }, { 0x1000203, 0xFFFFFFFFu },
        { 0x1000205, 0x00000000u }, { 0x1000206, 0xFFDDDDDDu }, { 0x1000207, 0x00000000u },
        { 0x1000204, 0xFFFFFFFFu }, { 0x1000280, 0x00000000u }, { 0x1000281, 0xFF000000u },
        { 0x1000282, 0x00000000u }, { 0x1000300, 0x00000000u }, { 0x1000400, 0xFFFFFFFFu },
        { 0x1000501, 0x4C000000u }, { 0x1000500, 0x00000000u }, { 0x1000502, 0x80FF0000u },
        { 0x1000700, 0xFFFFFFFFu }, { 0x1000600, 0xFF000000u }, { 0x1000601, 0xFF000000u },
        { 0x1000800, 0xFFFFFFFFu }, { 0x1000900, 0x991111AAu }, { 0x1000A00, 0xFFDDDDDDu },
        { 0x1000B00, 0x55000000u }, { 0x1000E00, 0xFFDDDDDDu }, { 0x1002800, 0xFFFFFFFFu },
        { 0x1002810, 0xB2808080u }, { 0x1002820, 0xFF000000u }, { 0x1001200, 0xFFAAAAAAu },
        { 0x1001300, 0xFF000000u }, { 0x1001310, 0xFFFFFFFFu }, { 0x1001311, 0xDDFFFFFFu },
        { 0x1001312, 0x66000000u }, { 0x1001400, 0xFFEDEDEDu }, { 0x1001500, 0xFF222222u },
        { 0x1001600, 0x33000000u }, { 0x1001700, 0xFF000000u }, { 0x1000280, 0x55000000u },
        { 0x1000281, 0xFFEDEDEDu }, { 0x1005700, 0xFF777777u }, { 0x1001800, 0xFFEDEDEDu },
        { 0x1001810, 0xFF000000u }, { 0x1001820, 0xFF666666u }, { 0x1001900, 0xFFEEEEEEu },
        { 0x1001A00, 0xFFAAAAEEu }, { 0x1001B00, 0xFFEEEEBBu }, { 0x1001C00, 0xFF000000u },
        { 0x1001C10, 0x4C000000u }, { 0x1005800, 0x00000000u }, { 0x1005801, 0xFF777777u },
        { 0x1005812, 0x80000000u }, { 0x1005814, 0x90000000u }, { 0x1003200, 0xFFF6F8F9u },
        { 0x1003210, 0x4C000000u }, { 0x1003220, 0x4C0000FFu }, { 0x1003230, 0x800000FFu },
        { 0x1003240, 0xFF000000u }, { 0x1003250, 0xFFFF0000u }, { 0x1001F00, 0xCC1111EEu },
        { 0x1005400, 0x66000000u }, { 0x1005410, 0xFF000000u }, { 0x1000540, 0x33000000u },
        { 0x1000541, 0xFF000000u }, { 0x1000440, 0x66DDDDDDu }, { 0x1000441, 0x99111111u },
        { 0x1005000, 0xFFFFFFFFu }, { 0x1005001, 0xFF000000u }, { 0x1005002, 0x66000000u },
        { 0x1005003, 0x80FFFF00u }, { 0x1005004, 0xFFB6B600u }, { 0x1005005, 0xFF000000u },
        { 0x1005006, 0xFFD3D3D3u }, { 0x1005007, 0xFF000000u }, { 0x1004500, 0xFFFFFFFFu },
        { 0x1004502, 0x33000000u }, { 0x1004503, 0xFF000000u }, { 0x1007000, 0xFFE5E5E5u },
        { 0x1007001, 0xFF000000u }, { 0x100AD00, 0x00000000u }, { 0x100AD01, 0xFF000000u },
        { 0x1004100, 0xFFFFFFFFu }, { 0x1000850, 0xFF000000u }, { 0x1004010, 0xFF000000u },
    };
    static_assert (sizeof (pairs) / sizeof (pairs[0]) == 87, "87 pairs");

    for (int i = 0; i < 87; ++i)
    {
        EXPECT_EQ (QVLookAndFeel::colourTable[i].id, pairs[i].id) << "colour pair " << i + 1 << ": id";
        EXPECT_EQ (QVLookAndFeel::colourTable[i].argb, pairs[i].argb) << "colour pair " << i + 1 << ": colour";
    }

    for (int i = 0; i < 87; ++i)
    {
        bool setAgainLater = false;
        for (int j = i + 1; j < 87; ++j)
            setAgainLater = setAgainLater || pairs[j].id == pairs[i].id;
        if (! setAgainLater)
            EXPECT_EQ (lnf.findColour ((int) pairs[i].id).getARGB(), pairs[i].argb)
                << "colour id 0x" << std::hex << pairs[i].id << " after construction";
    }
}

TEST_F (LookAndFeelTest, AttachedLabel)
{
    juce::Component parent, owner;
    parent.addAndMakeVisible (owner);
    owner.setBounds (100, 10, 50, 20);
    std::unique_ptr<juce::Label> label (QVLookAndFeel::MakeAttachedLabel (&owner, "L / R"));
    EXPECT_EQ (label->getText(), "L / R");
    EXPECT_EQ (label->getName(), "");
    EXPECT_EQ (label->getAttachedComponent(), &owner);
    EXPECT_TRUE (label->isAttachedOnLeft());
    EXPECT_FLOAT_EQ (label->getFont().getHeight(), 11.5f);
    EXPECT_TRUE (label->getFont().isBold());
    EXPECT_EQ (label->findColour (juce::Label::backgroundColourId), juce::Colours::transparentBlack);
    EXPECT_LT (label->getRight(), owner.getX() + 1) << "the label sits left of its owner";
}

TEST_F (LookAndFeelTest, SmallAndSliderLabels)
{
    struct Case
    {
        const char* what;
        juce::Label* (*make) (juce::Component*);
        juce::Colour background;
        float height;
        bool singleClick;
    };
    const Case cases[] = { { "small label", QVLookAndFeel::MakeSmallLabel, juce::Colours::transparentBlack, 11.5f, false },
                           { "slider label", QVLookAndFeel::MakeSliderLabel, juce::Colours::black.withAlpha (0.4f), 14.5f, true } };
    for (const auto& c : cases)
    {
        juce::Component parent;
        std::unique_ptr<juce::Label> label (c.make (&parent));
        EXPECT_EQ (label->getParentComponent(), &parent) << c.what;
        EXPECT_TRUE (label->isVisible()) << c.what;
        EXPECT_EQ (label->getText(), "") << c.what;
        EXPECT_EQ (label->findColour (juce::Label::textColourId), juce::Colours::white) << c.what;
        EXPECT_EQ (label->findColour (juce::Label::backgroundColourId), c.background) << c.what;
        EXPECT_EQ (label->getJustificationType(), juce::Justification::centred) << c.what;
        EXPECT_EQ (label->getBorderSize(), juce::BorderSize<int> (0)) << c.what;
        EXPECT_FLOAT_EQ (label->getFont().getHeight(), c.height) << c.what;
        EXPECT_EQ (label->isEditableOnSingleClick(), c.singleClick) << c.what;
        EXPECT_FALSE (label->isEditableOnDoubleClick()) << c.what;
        if (c.singleClick)
        {
            EXPECT_FALSE (label->doesLossOfFocusDiscardChanges()) << c.what;
            EXPECT_EQ (label->findColour (juce::TextEditor::backgroundColourId), juce::Colours::red.withAlpha (0.4f)) << c.what;
        }
        std::unique_ptr<juce::Label> orphan (c.make (nullptr));
        EXPECT_EQ (orphan->getParentComponent(), nullptr) << c.what << " made without a parent";
    }
}

TEST_F (LookAndFeelTest, SliderLabelReadOnlyUnderSteinbergHosts)
{
    // Clicks on these labels are checked in a real window (ContactSheetTest).
    for (int type = 0; type <= 30; ++type)
    {
        HostType::SetHostTypeForTesting ((HostType::Type) type);
        const bool readOnly = IsReadOnlyHostType (type);
        juce::Component parent;
        std::unique_ptr<juce::Label> label (QVLookAndFeel::MakeSliderLabel (&parent));
        EXPECT_EQ (label->isEditableOnSingleClick(), ! readOnly) << "host type " << type;
        EXPECT_FALSE (label->isEditableOnDoubleClick()) << "host type " << type;
    }
}

TEST_F (LookAndFeelTest, PanelPlateIsTranslucentBlackInsetByOne)
{
    PanelStub panel;
    panel.setSize (40, 30);
    const auto image = qvtest::RenderComponent (panel);
    qvtest::SavePng (image, "panel-plate");
    const int expectedAlpha = juce::roundToInt (0.45f * 255.0f);
    struct Case { int x, y; bool inside; };
    const Case cases[] = { { 10, 10, true }, { 3, 15, true }, { 38, 15, true }, { 20, 28, true },
                           { 0, 15, false }, { 39, 15, false }, { 20, 0, false }, { 20, 29, false } };
    for (const auto& c : cases)
    {
        const auto pixel = qvtest::PixelAt (image, c.x, c.y);
        if (c.inside)
        {
            EXPECT_NEAR (pixel.getAlpha(), expectedAlpha, 1) << "plate alpha at " << c.x << "," << c.y;
            EXPECT_EQ (pixel.getRed() + pixel.getGreen() + pixel.getBlue(), 0) << "plate is black at " << c.x << "," << c.y;
        }
        else
        {
            EXPECT_EQ (pixel.getAlpha(), 0) << "the plate leaves a 1 pixel margin at " << c.x << "," << c.y;
        }
    }

    // Rounded corners: the corner pixel of the plate is only partly covered.
    EXPECT_LT (qvtest::PixelAt (image, 1, 1).getAlpha(), expectedAlpha - 5);
    EXPECT_GT (qvtest::PixelAt (image, 1, 1).getAlpha(), 0);
}

TEST_F (LookAndFeelTest, TinyPanelsDrawNoPlate)
{
    for (int size : { 0, 1, 2 })
    {
        PanelStub panel;
        panel.setSize (size, size);
        EXPECT_TRUE (NothingDrawn (qvtest::RenderWith (4, 4, [&] (juce::Graphics& g) { QVLookAndFeel::DrawPanelBackground (g, &panel); })))
            << "a " << size << " pixel panel drew something";
    }
    EXPECT_TRUE (NothingDrawn (qvtest::RenderWith (4, 4, [] (juce::Graphics& g) { QVLookAndFeel::DrawPanelBackground (g, nullptr); })))
        << "a null panel drew something";
}

TEST_F (LookAndFeelTest, SubPanelPlateIsTranslucentWhite)
{
    const auto image = qvtest::RenderWith (30, 30, [] (juce::Graphics& g) {
        QVLookAndFeel::DrawSubPanelBackground (g, { 5.0f, 5.0f, 20.0f, 20.0f });
    });
    const auto pixel = qvtest::PixelAt (image, 15, 15);
    EXPECT_NEAR (pixel.getAlpha(), juce::roundToInt (0.2f * 255.0f), 1);
    EXPECT_EQ (pixel.getRed(), 255);
    EXPECT_EQ (qvtest::PixelAt (image, 4, 15).getAlpha(), 0);
    EXPECT_EQ (qvtest::PixelAt (image, 25, 15).getAlpha(), 0);
}
