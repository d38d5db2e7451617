// Which host application loaded the plug-in, told from the name of the host
// executable. Only the hosts that need special handling are told apart; the
// numbers are the ones hosts have long been known by, so gaps are unused.
#pragma once

#include <JuceHeader.h>

class HostType
{
public:
    enum Type
    {
        UnknownHost             = 0,
        AbletonLive6            = 1,
        AbletonLive7            = 2,
        AbletonLive8            = 3,
        AbletonLiveGeneric      = 4,
        SteinbergCubase4        = 14,
        SteinbergCubase5        = 15,
        SteinbergCubase5Bridged = 16,
        SteinbergCubaseGeneric  = 17,
        SteinbergCubase6        = 18,
        SteinbergCubase7        = 19,
        SteinbergNuendo         = 24,
        Ardour                  = 40
    };

    // Any thread: the detection only reads the executable's path, once. The
    // type set for testing if any, else the type of the running host.
    static Type GetHostType();

    // The host type that an executable at this path is.
    static Type DetectFromPath (const juce::String& executablePath);

    // Hosts under which editable value boxes are made read-only: Steinberg's
    // older hosts mishandle text typed into a plug-in's window.
    static bool IsReadOnlyValueHost (Type) noexcept;
    static bool IsReadOnlyValueHost() { return IsReadOnlyValueHost (GetHostType()); }

    static bool IsAbletonLive (Type) noexcept;

    // Tests pretend to run inside a given host; ClearHostTypeForTesting
    // returns to detection.
    static void SetHostTypeForTesting (Type);
    static void ClearHostTypeForTesting();
};
