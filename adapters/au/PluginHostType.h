// Which host application the plug-in runs in, told by the application's
// file name. Only the hosts whose quirks the adapters work around are known.
#pragma once

#include <JuceHeader.h>

namespace juce
{
class PluginHostType
{
public:
    enum HostType
    {
        UnknownHost = 0,
        AbletonLive6 = 1,
        AbletonLive7 = 2,
        AbletonLive8 = 3,
        AbletonLiveGeneric = 4
    };

    /** The host this process is. */
    PluginHostType() : type(getHostType(getHostPath())) {}

    /** The host an application at hostPath would be. */
    explicit PluginHostType(const String& hostPath) : type(getHostType(hostPath)) {}

    bool isAbletonLive() const noexcept { return type >= AbletonLive6 && type <= AbletonLiveGeneric; }

    /** The running application's executable. */
    static String getHostPath();

    /** By the application's file name: "Live 6.",
        "Live 7." and "Live 8." name those versions, any other "Live" a later
        one. Case matters: "Olive" is not Live. */
    static HostType getHostType(const String& hostPath);

    const HostType type;
};
} // namespace juce
