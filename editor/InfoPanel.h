// The small plate in the editor's lower right corner: the info image with
// the version line (version, word size, plug-in format) and the maker's
// copyright notice centred over it.
#pragma once

#include <JuceHeader.h>

#include <memory>

#include "Quorvane2AudioProcessor.h"

class InfoPanel : public juce::Component
{
public:
    // message thread. Keeps no reference to the processor.
    explicit InfoPanel (Quorvane2AudioProcessor&);
    ~InfoPanel() override;

    void resized() override;
    // Draws nothing: the editor's background shows around the image.
    void paint (juce::Graphics&) override;

    // "V: " + version + " " + word size + " " + format name of the wrapper type.
    static juce::String VersionText (juce::AudioProcessor::WrapperType);
    // The copyright sign and the maker's notice.
    static juce::String NoticeText();

    juce::ImageComponent& getInfoImage() noexcept { return *infoImage; }
    juce::Label& getVersionLabel() noexcept { return *versionLabel; }
    juce::Label& getNoticeLabel() noexcept { return *noticeLabel; }

    static constexpr juce::uint32 textArgb = 0xFFBDCFDF;

private:
    // Deleted in the reverse order: notice, version, image.
    std::unique_ptr<juce::ImageComponent> infoImage;
    std::unique_ptr<juce::Label> versionLabel;
    std::unique_ptr<juce::Label> noticeLabel;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (InfoPanel)
};
