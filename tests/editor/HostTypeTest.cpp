// Host detection from the host executable's name.
#include <gtest/gtest.h>

#include "EditorTestFixture.h"

TEST (HostTypeTest, DetectedFromExecutableName)
{
    struct Case { const char* path; HostType::Type expected; };
    const Case cases[] = {
        { "/Applications/Cubase 4.app/Contents/MacOS/Cubase 4", HostType::SteinbergCubase4 },
        { "C:\\Program Files\\Steinberg\\Cubase4\\Cubase4.exe", HostType::SteinbergCubase4 },
        { "C:\\Program Files\\Steinberg\\Cubase 5\\Cubase5.exe", HostType::SteinbergCubase5 },
        { "/Applications/Cubase 5.app/Contents/MacOS/Cubase 5.1", HostType::SteinbergCubase5 },
        { "C:\\Program Files\\Steinberg\\Cubase 5\\VSTBridge\\VSTBridgeApp.exe", HostType::SteinbergCubase5Bridged },
        { "C:\\Program Files\\Steinberg\\Cubase6\\Cubase6.exe", HostType::SteinbergCubase6 },
        { "/Applications/Cubase 7.app/Contents/MacOS/Cubase 7", HostType::SteinbergCubase7 },
        { "C:\\Program Files\\Steinberg\\Cubase\\Cubase.exe", HostType::SteinbergCubaseGeneric },
        { "C:\\Program Files\\Steinberg\\Cubase 12\\Cubase12.exe", HostType::SteinbergCubaseGeneric },
        { "/Applications/Nuendo 4.app/Contents/MacOS/Nuendo", HostType::SteinbergNuendo },
        { "C:\\ProgramData\\Ableton\\Live 6.0.7\\Program\\Live 6.0.7.exe", HostType::AbletonLive6 },
        { "/Applications/Live 7.0.3 OS X/Live.app/Contents/MacOS/Live", HostType::AbletonLive7 },
        { "C:\\ProgramData\\Ableton\\Live 8.2\\Program\\Ableton Live 8.exe", HostType::AbletonLive8 },
        { "/Applications/Ableton Live 11 Suite.app/Contents/MacOS/Live", HostType::AbletonLiveGeneric },
        { "/usr/bin/reaper", HostType::UnknownHost },
        { "/opt/Bitwig Studio/bitwig-studio", HostType::UnknownHost },
        { "C:\\Program Files\\Steinberg\\VSTBridge\\VSTBridgeApp.exe", HostType::UnknownHost },
        { "", HostType::UnknownHost },
    };

    for (const auto& c : cases)
        EXPECT_EQ (HostType::DetectFromPath (c.path), c.expected) << c.path;
}

// The numbers the read-only rule and the Live key handling are written against.
TEST (HostTypeTest, ReadOnlyAndLiveGroups)
{
    EXPECT_EQ (HostType::AbletonLive6, 1);
    EXPECT_EQ (HostType::AbletonLiveGeneric, 4);
    EXPECT_EQ (HostType::SteinbergCubase4, 14);
    EXPECT_EQ (HostType::SteinbergCubase7, 19);
    EXPECT_EQ (HostType::SteinbergNuendo, 24);

    for (int type = 0; type <= 40; ++type)
    {
        const auto t = (HostType::Type) type;
        EXPECT_EQ (HostType::IsReadOnlyValueHost (t), IsReadOnlyHostType (type)) << "type " << type;
        EXPECT_EQ (HostType::IsAbletonLive (t), type >= 1 && type <= 4) << "type " << type;
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
