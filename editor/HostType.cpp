#include "HostType.h"

#include <atomic>

namespace
{
constexpr int noOverride = -1;
std::atomic<int> testOverride { noOverride };

HostType::Type detectRunningHost()
{
    const auto path = juce::File::getSpecialLocation (juce::File::hostApplicationPath).getFullPathName();
    return HostType::DetectFromPath (path);
}

// "Cubase5", "Cubase 5", "Cubase 5.1": the digit after the name, or 0.
int cubaseVersion (const juce::String& name)
{
    const auto afterName = name.fromFirstOccurrenceOf ("Cubase", false, false).trimStart();
    const auto first = afterName[0];
    return juce::CharacterFunctions::isDigit (first) && ! juce::CharacterFunctions::isDigit (afterName[1])
               ? (int) (first - '0')
               : 0;
}
} // namespace

HostType::Type HostType::GetHostType()
{
    const int forced = testOverride.load();

    if (forced != noOverride)
        return (Type) forced;

    static const Type detected = detectRunningHost();
    return detected;
}

HostType::Type HostType::DetectFromPath (const juce::String& executablePath)
{
    // Both separators: a Windows host path may be handed in on any system.
    const auto fileName = executablePath.fromLastOccurrenceOf ("/", false, false)
                                        .fromLastOccurrenceOf ("\\", false, false);

    // Live's executable is just "Live"; its version shows in the bundle or
    // folder name ("Ableton Live 8.app", "Live 7.0.3").
    if (executablePath.contains ("Live 6.")) return AbletonLive6;
    if (executablePath.contains ("Live 7.")) return AbletonLive7;
    if (executablePath.contains ("Live 8.")) return AbletonLive8;
    if (fileName.startsWith ("Live")) return AbletonLiveGeneric;

    if (fileName.contains ("Nuendo")) return SteinbergNuendo;

    // Cubase 5 runs 32-bit plug-ins in a separate bridge process.
    if (fileName.containsIgnoreCase ("VSTBridge") && cubaseVersion (executablePath) == 5)
        return SteinbergCubase5Bridged;

    if (fileName.contains ("Cubase"))
    {
        switch (cubaseVersion (fileName))
        {
            case 4:  return SteinbergCubase4;
            case 5:  return SteinbergCubase5;
            case 6:  return SteinbergCubase6;
            case 7:  return SteinbergCubase7;
            default: return SteinbergCubaseGeneric;
        }
    }

    // "ardour-7.3.0", "ardour8", "Ardour.exe"; its plug-in scanner
    // ("ardour-vst-scanner") counts too, which changes nothing as it edits
    // nothing.
    if (fileName.startsWithIgnoreCase ("ardour")) return Ardour;

    return UnknownHost;
}

bool HostType::IsReadOnlyValueHost (Type type) noexcept
{
    return (type >= SteinbergCubase4 && type <= SteinbergCubase7) || type == SteinbergNuendo;
}

bool HostType::IsAbletonLive (Type type) noexcept
{
    return type >= AbletonLive6 && type <= AbletonLiveGeneric;
}

void HostType::SetHostTypeForTesting (Type type)
{
    testOverride.store ((int) type);
}

void HostType::ClearHostTypeForTesting()
{
    testOverride.store (noOverride);
}
