// Host detection from the host executable's name.
#include <gtest/gtest.h>

#include "EditorTestFixture.h"

// Each host told from its executable, and what that host gets: value boxes
// made read-only under Cubase 4 to 7 and Nuendo, Live's own key handling.
TEST (HostTypeTest, DetectedFromExecutableName)
{
    struct Case { const char* path; HostType::Type expected; bool readOnly, live; };
    const Case cases[] = {
        { "/Applications/Cubase 4.app/Contents/MacOS/Cubase 4", HostType::SteinbergCubase4, true, false },
        { "C:\\Program Files\\Steinberg\\Cubase4\\Cubase4.exe", HostType::SteinbergCubase4, true, false },
        { "C:\\Program Files\\Steinberg\\Cubase 5\\Cubase5.exe", HostType::SteinbergCubase5, true, false },
        { "/Applications/Cubase 5.app/Contents/MacOS/Cubase 5.1", HostType::SteinbergCubase5, true, false },
        { "C:\\Program Files\\Steinberg\\Cubase 5\\VSTBridge\\VSTBridgeApp.exe", HostType::SteinbergCubase5Bridged, true, false },
        { "C:\\Program Files\\Steinberg\\Cubase6\\Cubase6.exe", HostType::SteinbergCubase6, true, false },
        { "/Applications/Cubase 7.app/Contents/MacOS/Cubase 7", HostType::SteinbergCubase7, true, false },
        { "C:\\Program Files\\Steinberg\\Cubase\\Cubase.exe", HostType::SteinbergCubaseGeneric, true, false },
        { "C:\\Program Files\\Steinberg\\Cubase 12\\Cubase12.exe", HostType::SteinbergCubaseGeneric, true, false },
        { "/Applications/Nuendo 4.app/Contents/MacOS/Nuendo", HostType::SteinbergNuendo, true, false },
        { "C:\\ProgramData\\Ableton\\Live 6.0.7\\Program\\Live 6.0.7.exe", HostType::AbletonLive6, false, true },
        { "/Applications/Live 7.0.3 OS X/Live.app/Contents/MacOS/Live", HostType::AbletonLive7, false, true },
        { "C:\\ProgramData\\Ableton\\Live 8.2\\Program\\Ableton Live 8.exe", HostType::AbletonLive8, false, true },
        { "/Applications/Ableton Live 11 Suite.app/Contents/MacOS/Live", HostType::AbletonLiveGeneric, false, true },
        { "/usr/lib/ardour7/ardour-7.3.0~ds0", HostType::Ardour, false, false },
        { "/usr/lib/ardour7/ardour-7.3.0", HostType::Ardour, false, false },
        { "/opt/Ardour-8.2.0/bin/ardour-8.2.0", HostType::Ardour, false, false },
        { "/usr/local/bin/ardour8", HostType::Ardour, false, false },
        { "C:\\Program Files\\Ardour8\\bin\\Ardour.exe", HostType::Ardour, false, false },
        { "/usr/lib/ardour7/ardour-vst-scanner", HostType::Ardour, false, false },
        { "/opt/Ardour-8.2.0/bin/mixbus", HostType::UnknownHost, false, false },
        { "/usr/bin/qtractor", HostType::UnknownHost, false, false },
        { "/usr/bin/reaper", HostType::UnknownHost, false, false },
        { "/opt/Bitwig Studio/bitwig-studio", HostType::UnknownHost, false, false },
        { "C:\\Program Files\\Steinberg\\VSTBridge\\VSTBridgeApp.exe", HostType::UnknownHost, false, false },
        { "", HostType::UnknownHost, false, false },
    };

    for (const auto& c : cases)
    {
        const auto detected = HostType::DetectFromPath (c.path);
        EXPECT_EQ (detected, c.expected) << c.path;
        EXPECT_EQ (HostType::IsReadOnlyValueHost (detected), c.readOnly) << "read-only value boxes under " << c.path;
        EXPECT_EQ (HostType::IsAbletonLive (detected), c.live) << "Live's key handling under " << c.path;
    }
}

TEST (HostTypeTest, TestsCanSetTheHost)
{
    const auto detected = HostType::GetHostType();
    EXPECT_EQ (detected, HostType::UnknownHost) << "the test runner is no known host";

    HostType::SetHostTypeForTesting (HostType::SteinbergNuendo);
    EXPECT_EQ (HostType::GetHostType(), HostType::SteinbergNuendo);
    EXPECT_TRUE (HostType::IsReadOnlyValueHost());

    HostType::SetHostTypeForTesting (HostType::AbletonLive8);
    EXPECT_EQ (HostType::GetHostType(), HostType::AbletonLive8);
    EXPECT_FALSE (HostType::IsReadOnlyValueHost());

    HostType::ClearHostTypeForTesting();
    EXPECT_EQ (HostType::GetHostType(), detected);
}
