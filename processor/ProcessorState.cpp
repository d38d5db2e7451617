// The saved state: a value tree "QVParameters" with a "Version" and one child
// per parameter, named after it, holding its normalised value as "value".

#include "Quorvane2AudioProcessor.h"
#include "ValueTreeStreamReader.h"

namespace
{
const juce::Identifier stateType("QVParameters");
const juce::Identifier versionProperty("Version");
constexpr double stateVersion = 1.0;
} // namespace

void Quorvane2AudioProcessor::getStateInformation(juce::MemoryBlock& destData)
{
    juce::ValueTree root(stateType);
    root.setProperty(versionProperty, stateVersion, nullptr);
    parameters.WriteValueTree(root);

    if (root.isValid())
    {
        juce::MemoryOutputStream out(destData, false); // replaces what the block held
        root.writeToStream(out);
    }
}

void Quorvane2AudioProcessor::setStateInformation(const void* data, int sizeInBytes)
{
    const bool hostOwnsLayout = wrapperType == wrapperType_AudioUnit || wrapperType == wrapperType_AAX;

    if (data != nullptr && sizeInBytes > 0)
    {
        const auto root = ValueTreeStreamReader::Read(data, static_cast<size_t>(sizeInBytes));

        if (root.isValid() && root.hasType(stateType))
            ApplyLoadedState(root);
    }

    // Outside the Audio Unit and AAX hosts the layout may have come from the
    // state: fit parameter 8's range to it and tell the host, whatever was loaded.
    if (! hostOwnsLayout)
    {
        if (auto* arraySelect = GetParameterObject(kArraySelectIndex))
        {
            SetPolarPatternLRRange(arraySelect->GetByte() == 0);
            setParameterNotifyingHost(kPolarPatternLRIndex, getParameter(kPolarPatternLRIndex));
        }
    }
}

void Quorvane2AudioProcessor::ApplyLoadedState(const juce::ValueTree& root)
{
    const bool loadArraySelect = ! (wrapperType == wrapperType_AudioUnit || wrapperType == wrapperType_AAX);

    // Every parameter write sets its engine state whatever came before, mutes
    // included, so the order of the writes and the solos active before the
    // load do not matter.
    parameters.ReadValueTree(root, loadArraySelect);
}
