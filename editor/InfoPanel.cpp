#include "InfoPanel.h"

#include "Bitmaps.h"
#include "QVLookAndFeel.h"

namespace
{
constexpr int labelWidth = 140; // pixels; both lines
constexpr int labelHeight = 14;
const juce::Point<int> imagePosition (1, 1);
constexpr float versionCentreY = 0.5f; // of the panel's height
constexpr float noticeCentreY = 0.7f;

constexpr juce::juce_wchar copyrightSign = 0xA9;
// The maker's notice; one short line that fits the 140-pixel label.
const char* const makerNotice = " 2026 Brennick Ltd";

// Word size of this build, in bits.
constexpr int wordBits = 8 * (int) sizeof (void*);

const char* FormatName (juce::AudioProcessor::WrapperType type)
{
    switch (type)
    {
        case juce::AudioProcessor::wrapperType_VST: return "VST";
        case juce::AudioProcessor::wrapperType_AudioUnit: return "AU";
        case juce::AudioProcessor::wrapperType_AAX: return "AAX";
        default: return "";
    }
}

std::unique_ptr<juce::Label> MakeInfoLabel (juce::Component& parent, const juce::String& text)
{
    auto label = std::make_unique<juce::Label> (juce::String(), text);
    parent.addAndMakeVisible (*label);
    label->setSize (labelWidth, labelHeight);
    label->setFont (QVLookAndFeel::GetUIFont (QVLookAndFeel::mediumFontSize, juce::Font::bold));
    label->setColour (juce::Label::backgroundColourId, juce::Colours::transparentBlack);
    label->setColour (juce::Label::textColourId, juce::Colour (InfoPanel::textArgb));
    label->setJustificationType (juce::Justification::centred);
    return label;
}
} // namespace

InfoPanel::InfoPanel (Quorvane2AudioProcessor& processor)
{
    setName ("Info");

    infoImage = std::make_unique<juce::ImageComponent> (juce::String());
    addAndMakeVisible (*infoImage);
    const auto image = juce::ImageCache::getFromMemory (Bitmaps::info_png, Bitmaps::info_pngSize);
    infoImage->setImage (image);
    infoImage->setSize (image.getWidth(), image.getHeight());
    // Clicks on the image reach the panel, which ignores them.
    infoImage->setInterceptsMouseClicks (false, false);

    versionLabel = MakeInfoLabel (*this, VersionText (processor.wrapperType));
    noticeLabel = MakeInfoLabel (*this, NoticeText());
}

InfoPanel::~InfoPanel()
{
    noticeLabel.reset();
    versionLabel.reset();
    infoImage.reset();
}

juce::String InfoPanel::VersionText (juce::AudioProcessor::WrapperType type)
{
    // The version text ends in a blank, so two stand before the word size.
    return "V: " + VersionInformationString() + " " + juce::String (wordBits) + " bit" + " " + FormatName (type);
}

juce::String InfoPanel::NoticeText()
{
    return juce::String::charToString (copyrightSign) + makerNotice;
}

void InfoPanel::resized()
{
    infoImage->setTopLeftPosition (imagePosition);
    versionLabel->setCentreRelative (0.5f, versionCentreY);
    noticeLabel->setCentreRelative (0.5f, noticeCentreY);
}

void InfoPanel::paint (juce::Graphics&)
{
}
