#include "PluginHostType.h"

namespace juce
{
String PluginHostType::getHostPath()
{
    return File::getSpecialLocation(File::hostApplicationPath).getFullPathName();
}

PluginHostType::HostType PluginHostType::getHostType(const String& hostPath)
{
    const String name = File(hostPath).getFileName();

    if (name.contains("Live 6."))
        return AbletonLive6;
    if (name.contains("Live 7."))
        return AbletonLive7;
    if (name.contains("Live 8."))
        return AbletonLive8;
    if (name.contains("Live"))
        return AbletonLiveGeneric;
    return UnknownHost;
}
} // namespace juce
