// The GUI base: joining the effect's parameters and the host's view
// container, and driving the view hooks.
#include "AAX_UIDs.h"
#include "FakeHost.h"
#include "TestEffect.h"

#include <gtest/gtest.h>

namespace
{
struct AaxGui : ::testing::Test
{
    FakeHost host;
    TestEffect* effect = new TestEffect();
    TestGUI* gui = new TestGUI();
    AAX_IACFEffectGUI* api = gui;
    FakeViewContainer view { host.record, 1 };

    void SetUp() override
    {
        static_cast<AAX_IACFEffectParameters*>(effect)->AddRef();
        ASSERT_EQ(effect->Initialize(host.unknown()), 0);
        host.effectParameters = effect;
        api->AddRef();
    }

    void TearDown() override
    {
        if (api != nullptr)
            api->Release();
        effect->Uninitialize();
        static_cast<AAX_IACFEffectParameters*>(effect)->Release();
        EXPECT_TRUE(host.leakedReferences().empty()) << ::testing::PrintToString(host.leakedReferences());
        EXPECT_EQ(view.references(), 0);
        EXPECT_TRUE(host.record.violations.empty()) << ::testing::PrintToString(host.record.violations);
    }
};
} // namespace

TEST_F(AaxGui, WithoutHostNoViewIsMade)
{
    EXPECT_EQ(api->Initialize(nullptr), -20011);
    EXPECT_TRUE(gui->hooks.empty());
    EXPECT_EQ(gui->GetEffectParameters(), nullptr);
}

TEST_F(AaxGui, ViewContainerComesAndGoes)
{
    ASSERT_EQ(api->Initialize(host.unknown()), 0);
    EXPECT_EQ(gui->GetEffectParameters(), static_cast<AAX_IACFEffectParameters*>(effect));
    EXPECT_EQ(gui->GetViewContainerType(), 0);

    EXPECT_EQ(api->SetViewContainer(&view), 0);
    EXPECT_EQ(gui->GetViewContainerType(), 1);
    EXPECT_EQ(gui->GetViewContainerPtr(), &view.nativeView);
    ASSERT_EQ(gui->hooks.size(), 2u + 36u);
    EXPECT_EQ(gui->hooks[0], "CreateViewContents");
    EXPECT_EQ(gui->hooks[1], "CreateViewContainer 1");
    EXPECT_EQ(gui->hooks[2], "ParameterUpdated MasterBypassID");
    EXPECT_EQ(gui->hooks[3], "ParameterUpdated 0");
    EXPECT_EQ(gui->hooks.back(), "ParameterUpdated 34");

    AAX_Point size { 560.0f, 522.0f };
    host.record.clear();
    EXPECT_EQ(gui->GetViewContainer()->SetViewSize(size), 0);
    EXPECT_EQ(host.record.calls, (std::vector<std::string> { "View.SetViewSize(560, 522)" }));

    gui->hooks.clear();
    EXPECT_EQ(api->SetViewContainer(nullptr), 0);
    EXPECT_EQ(gui->hooks, (std::vector<std::string> { "DeleteViewContainer" }));
    EXPECT_EQ(gui->GetViewContainerType(), 0);
    EXPECT_EQ(view.references(), 0) << "the container is given back";

    host.record.clear();
    EXPECT_EQ(gui->GetViewContainer()->SetViewSize(size), 0) << "without a container the size change is dropped";
    EXPECT_TRUE(host.record.calls.empty());

    EXPECT_EQ(api->Uninitialize(), 0);
    EXPECT_EQ(gui->GetEffectParameters(), nullptr);
}

TEST_F(AaxGui, RemovingAContainerThatNeverCame)
{
    ASSERT_EQ(api->Initialize(host.unknown()), 0);
    gui->hooks.clear();
    EXPECT_EQ(api->SetViewContainer(nullptr), 0);
    EXPECT_EQ(gui->hooks, (std::vector<std::string> { "DeleteViewContainer" }));
    EXPECT_EQ(gui->GetViewContainerType(), 0);
}

TEST_F(AaxGui, ContainerOfAnotherKindAndFailingHooks)
{
    FakeViewContainer other(host.record, 2);
    ASSERT_EQ(api->Initialize(host.unknown()), 0);
    EXPECT_EQ(api->SetViewContainer(&other), 0);
    EXPECT_EQ(gui->hooks.at(1), "CreateViewContainer 2");

    gui->throwInViewHook = true;
    EXPECT_EQ(api->SetViewContainer(&view), static_cast<AAX_Result>(0x8000FFFF)) << "the exception stays in the plug-in";
    EXPECT_EQ(other.references(), 0) << "the old container was let go first";
    api->Release();   // destroyed with the container still set, without Uninitialize
    api = nullptr;
}

TEST_F(AaxGui, HostAnswersWithoutEffectOrServices)
{
    host.effectParameters = nullptr;
    host.offerTransportV1 = host.offerTransportV2 = false;
    ASSERT_EQ(api->Initialize(host.unknown()), 0);
    EXPECT_EQ(api->SetViewContainer(&view), 0);
    EXPECT_EQ(gui->hooks.size(), 2u) << "no effect parameters: no updates";

    double tempo = 0.0;
    EXPECT_EQ(gui->Transport()->GetCurrentTempo(&tempo), -20004);
    AAX_Point size { 1.0f, 1.0f };
    EXPECT_EQ(api->GetViewSize(&size), -20009) << "the base has no view to measure";

    struct Case
    {
        const char* operation;
        AAX_Result status, expected;
    } cases[] = {
        { "GetCustomLabel", api->GetCustomLabel(AAX_EPlugInStrings(0), nullptr), -20004 },
        { "Draw", api->Draw(nullptr), 0 },
        { "TimerWakeup", api->TimerWakeup(), 0 },
        { "NotificationReceived", api->NotificationReceived(0x41535076, nullptr, 4), 0 },
        { "SetControlHighlightInfo", api->SetControlHighlightInfo("0", 1, AAX_EHighlightColor(0)), 0 },
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.status, c.expected) << c.operation;

    // A second Initialize lets go of the first connection.
    EXPECT_EQ(api->Initialize(host.unknown()), 0);
    EXPECT_EQ(gui->GetViewContainerType(), 0);
}

TEST_F(AaxGui, QueriesThroughTheUnknown)
{
    void* out = nullptr;
    EXPECT_EQ(api->QueryInterface(IID_IAAXEffectGUIV1, &out), 0);
    EXPECT_EQ(out, static_cast<void*>(api));
    EXPECT_EQ(api->QueryInterface(IID_IAAXEffectParametersV2, &out), static_cast<AAX_Result>(0x80000004));
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(api->Release(), 1u);
}
