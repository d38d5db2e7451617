// The info panel: its image, the version line for each plug-in format and
// the notice, where they stand, and that the panel itself paints nothing.
#include <gtest/gtest.h>

#include "ComponentSnapshot.h"
#include "EditorTestFixture.h"
#include "InfoPanel.h"

#include <memory>

namespace
{
class InfoPanelTest : public EditorTest
{
};

std::unique_ptr<Quorvane2AudioProcessor> ProcessorOfType (int type)
{
    auto* p = createPluginFilterOfType ((juce::AudioProcessor::WrapperType) type);
    return std::unique_ptr<Quorvane2AudioProcessor> (dynamic_cast<Quorvane2AudioProcessor*> (p));
}
} // namespace

TEST_F (InfoPanelTest, VersionLineNamesTheFormat)
{
    // The version text ends in a blank: two stand before "64 bit".
    const std::pair<int, const char*> cases[] = { { 0, "V: 1.0.0  64 bit " },   { 1, "V: 1.0.0  64 bit VST" },
                                                  { 2, "V: 1.0.0  64 bit AU" }, { 3, "V: 1.0.0  64 bit " },
                                                  { 4, "V: 1.0.0  64 bit AAX" } };
    for (auto [type, text] : cases)
    {
        auto processor = ProcessorOfType (type);
        ASSERT_NE (processor, nullptr);
        InfoPanel panel (*processor);
        EXPECT_EQ (panel.getVersionLabel().getText(), text) << "wrapper type " << type;
    }
}

TEST_F (InfoPanelTest, ChildrenTextsAndPlaces)
{
    Quorvane2AudioProcessor processor;
    InfoPanel panel (processor);
    panel.setBounds (315, 494, 206, 65);
    EXPECT_EQ (panel.getName(), "Info");
    EXPECT_EQ (panel.getInfoImage().getBounds(), juce::Rectangle<int> (1, 1, 204, 63));
    EXPECT_EQ (panel.getInfoImage().getImage().getBounds(), juce::Rectangle<int> (0, 0, 204, 63));
    // Centred at (103, 32) and (103, 46): half and 0.7 of 206 by 65, rounded to even.
    EXPECT_EQ (panel.getVersionLabel().getBounds(), juce::Rectangle<int> (33, 25, 140, 14));
    EXPECT_EQ (panel.getNoticeLabel().getBounds(), juce::Rectangle<int> (33, 39, 140, 14));

    const auto notice = panel.getNoticeLabel().getText();
    EXPECT_EQ (notice[0], (juce::juce_wchar) 0xA9) << "the notice begins with the copyright sign";
    for (auto* label : { &panel.getVersionLabel(), &panel.getNoticeLabel() })
    {
        EXPECT_EQ (label->getFont().getTypefaceName(), "Roboto");
        EXPECT_EQ (label->getFont().getHeight(), 13.0f);
        EXPECT_TRUE (label->getFont().isBold());
        EXPECT_EQ (label->findColour (juce::Label::textColourId).getARGB(), 0xFFBDCFDFu);
        EXPECT_EQ (label->findColour (juce::Label::backgroundColourId).getARGB(), 0x00000000u);
        EXPECT_EQ (label->getJustificationType(), juce::Justification::centred);
        const auto room = 140 - label->getBorderSize().getLeftAndRight();
        EXPECT_LE (label->getFont().getStringWidthFloat (label->getText()), (float) room) << label->getText() << " must fit in one line";
    }

    // Clicks on the image are the panel's.
    panel.setVisible (true);
    EXPECT_EQ (panel.getComponentAt (10, 10), &panel);
    EXPECT_EQ (panel.getComponentAt (200, 60), &panel);
}

TEST_F (InfoPanelTest, TransparentAroundTheImageWithTheTextsOverIt)
{
    Quorvane2AudioProcessor processor;
    InfoPanel panel (processor);
    panel.setBounds (315, 494, 206, 65);
    const auto image = qvtest::RenderComponent (panel);
    qvtest::SavePng (image, "info-panel");
    EXPECT_EQ (qvtest::PixelAt (image, 0, 0).getAlpha(), 0) << "the panel paints no ground";
    EXPECT_EQ (qvtest::PixelAt (image, 205, 64).getAlpha(), 0);
    const auto picture = panel.getInfoImage().getImage();
    EXPECT_TRUE (qvtest::Near (qvtest::PixelAt (image, 3, 60), picture.getPixelAt (2, 59)));
    // Text-coloured pixels over those the image has there by itself.
    const auto isText = [] (juce::Colour c) { return qvtest::Near (c, juce::Colour (0xFFBDCFDF), 12); };
    const auto added = [&] (juce::Rectangle<int> area) {
        return qvtest::CountPixels (image, area, isText) - qvtest::CountPixels (picture, area.translated (-1, -1), isText);
    };
    EXPECT_GT (added ({ 33, 25, 140, 14 }), 60) << "the version line is drawn";
    EXPECT_GT (added ({ 33, 39, 140, 14 }), 60) << "the notice is drawn";
    EXPECT_EQ (added ({ 0, 0, 206, 24 }), 0) << "no text above the version line";
}
