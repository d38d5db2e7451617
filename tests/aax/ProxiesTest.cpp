// The proxies: every operation reaches the host's slot with its arguments
// unchanged and its status back, or answers its missing-interface status
// without calling anything; references are given back when a proxy goes.
#include "AAX_CString.h"
#include "AAX_VAutomationDelegate.h"
#include "AAX_VCollection.h"
#include "AAX_VController.h"
#include "AAX_VHostServices.h"
#include "AAX_VTransport.h"
#include "AAX_VViewContainer.h"
#include "FakeHost.h"

#include <gtest/gtest.h>

#include <functional>

namespace
{
struct Forwarding
{
    std::function<AAX_Result()> call;
    const char* expectedLog;
};

void expectForwarded(FakeHost& host, const std::vector<Forwarding>& cases)
{
    for (const auto& c : cases)
    {
        host.record.clear();
        EXPECT_EQ(c.call(), 0) << c.expectedLog;
        ASSERT_EQ(host.record.calls.size(), 1u) << c.expectedLog;
        EXPECT_EQ(host.record.calls[0], c.expectedLog);
    }
}

void expectCleanHost(const FakeHost& host)
{
    EXPECT_TRUE(host.leakedReferences().empty()) << ::testing::PrintToString(host.leakedReferences());
    EXPECT_TRUE(host.record.violations.empty()) << ::testing::PrintToString(host.record.violations);
}
} // namespace

TEST(AaxProxies, ControllerForwardsArgumentsToItsSlots)
{
    FakeHost host;
    {
        AAX_VController controller(host.unknown());
        const uint8_t bytes[] = { 1, 0, 0, 0 };
        float rate = 0.0f;
        AAX_CString hostName;
        expectForwarded(host, {
            { [&] { return controller.PostPacket(3, bytes, 4); }, "Controller.PostPacket(3, 01000000, 4)" },
            { [&] { return controller.SetSignalLatency(17); }, "Controller.SetSignalLatency(17)" },
            { [&] { return controller.GetSampleRate(&rate); }, "Controller.GetSampleRate()" },
            { [&] { return controller.SendNotification(0x41535076, bytes, 2); }, "Controller.SendNotification(1095979126, 0100, 2)" },
            { [&] { return controller.GetMeterPeakValue(5, &rate); }, "Controller.GetMeterPeakValue(5)" },
            { [&] { return controller.ClearMeterClipped(9); }, "Controller.ClearMeterClipped(9)" },
            { [&] { return controller.GetHostName(&hostName); }, "Controller.GetHostName()" },
        });
        EXPECT_EQ(rate, 48000.0f);
        EXPECT_STREQ(hostName.Get(), "Fake Host");

        host.controller.postStatus = -7;
        EXPECT_EQ(controller.PostPacket(3, bytes, 4), -7) << "a host status passes through unchanged";
    }
    expectCleanHost(host);
}

TEST(AaxProxies, DescriptionProxiesPassHostObjects)
{
    FakeHost host;
    {
        AAX_VCollection collection(host.unknown());
        AAX_IEffectDescriptor* effect = collection.NewDescriptor();
        ASSERT_NE(effect, nullptr);
        AAX_IComponentDescriptor* component = effect->NewComponentDescriptor();
        ASSERT_NE(component, nullptr);
        AAX_IPropertyMap* map = component->NewPropertyMap();
        ASSERT_NE(map, nullptr);

        expectForwarded(host, {
            { [&] { return collection.AddEffect("id", effect); }, "Collection.AddEffect(id, Effect1)" },
            { [&] { return collection.SetPackageVersion(1); }, "Collection.SetPackageVersion(1)" },
            { [&] { return effect->AddComponent(component); }, "Effect1.AddComponent(Component1)" },
            { [&] { return effect->AddCategoryBypassParameter(0x200, "MasterBypassID"); }, "Effect1.AddCategoryBypassParameter(512, MasterBypassID)" },
            { [&] { return effect->SetProperties(nullptr); }, "Effect1.SetProperties(null)" },
            { [&] { return effect->AddMeterDescription(7, "In", map); }, "Effect1.AddMeterDescription(7, In, Map1)" },
            { [&] { return component->AddDataInPort(3, 4, AAX_EDataInPortType(1)); }, "Component1.AddDataInPort(3, 4, 1)" },
            { [&] { return component->AddPrivateData(4, 8, 0); }, "Component1.AddPrivateData(4, 8, 0)" },
            { [&] { return component->AddReservedField(2, 6); }, "Component1.AddReservedField(2, 6)" },
            { [&] { return component->AddTemporaryData(5, 16); }, "Component1.AddTemporaryData(5, 16)" },
            { [&] { return component->AddProcessProc_Native(nullptr, map, nullptr, nullptr, nullptr); },
              "Component1.AddProcessProc_Native(null, Map1, null, null, null)" },
            { [&] { return map->AddProperty(AAX_eProperty_ProductID, 0x51767232); }, "Map1.AddProperty(12, 1366716978)" },
        });
    }
    expectCleanHost(host);
}

TEST(AaxProxies, DuplicatedMapCopiesPropertiesTenTo307)
{
    FakeHost host;
    {
        AAX_VCollection collection(host.unknown());
        AAX_IComponentDescriptor* component = collection.NewDescriptor()->NewComponentDescriptor();
        AAX_IPropertyMap* source = component->NewPropertyMap();
        for (int p : { 9, 10, 60, 307, 308 })
            source->AddProperty(AAX_EProperty(p), p * 2);

        ASSERT_NE(component->DuplicatePropertyMap(source), nullptr);
        const std::map<int32_t, AAX_CPropertyValue> expected { { 10, 20 }, { 60, 120 }, { 307, 614 } };
        EXPECT_EQ(host.propertyMap(1)->properties, expected);
    }
    expectCleanHost(host);
}

TEST(AaxProxies, MissingInterfacesAnswerTheirStatusesWithoutCalling)
{
    FakeHost host;
    host.offerControllerV2 = false;
    host.offerTransportV2 = false;
    {
        AAX_VController controller(host.unknown());
        AAX_VTransport transport(host.unknown());
        AAX_VController none(nullptr);
        AAX_VAutomationDelegate noAutomation(nullptr);
        AAX_VViewContainer noView(nullptr);
        AAX_VHostServices noServices(nullptr);
        AAX_VCollection noCollection(nullptr);
        AAX_Point size { 560.0f, 522.0f };
        float rate = 0.0f;
        uint32_t modifiers = 0;
        AAX_CString name;
        int64_t ticks = 0;
        AAX_EFrameRate frameRate {};
        int32_t offset = 0;

        struct Case
        {
            const char* what;
            AAX_Result status;
            AAX_Result expected;
        } cases[] = {
            { "controller V1 only: GetHostName", controller.GetHostName(&name), -20009 },
            { "controller V1 only: SendNotification", controller.SendNotification(1, nullptr, 0), -20009 },
            { "controller V1 only: GetSampleRate", controller.GetSampleRate(&rate), 0 },
            { "transport V1 only: GetTimeCodeInfo", transport.GetTimeCodeInfo(&frameRate, &offset), -20004 },
            { "transport V1 only: GetTimelineSelectionStartPosition", transport.GetTimelineSelectionStartPosition(&ticks), -20004 },
            { "transport V1 only: GetCurrentTickPosition", transport.GetCurrentTickPosition(&ticks), 0 },
            { "no controller: PostPacket", none.PostPacket(3, nullptr, 0), -20004 },
            { "no automation: PostSetValueRequest", noAutomation.PostSetValueRequest("0", 0.5), -20004 },
            { "no view: GetModifiers", noView.GetModifiers(&modifiers), -20009 },
            { "no view: SetViewSize is dropped", noView.SetViewSize(size), 0 },
            { "no view: HandleParameterMouseDown", noView.HandleParameterMouseDown("0", 0), -20009 },
            { "no host services: Trace", noServices.Trace(1, "x"), -20004 },
            { "no collection: SetManufacturerName", noCollection.SetManufacturerName("x"), -20004 },
        };
        for (const auto& c : cases)
            EXPECT_EQ(c.status, c.expected) << c.what;

        EXPECT_EQ(rate, 48000.0f);
        EXPECT_EQ(noView.GetType(), 0);
        EXPECT_EQ(noView.GetPtr(), nullptr);
        EXPECT_EQ(noCollection.NewDescriptor(), nullptr) << "no host object: no descriptor to fill";
        EXPECT_EQ(host.record.calls, (std::vector<std::string> { "Controller.GetSampleRate()", "Transport.GetCurrentTickPosition()" }));
    }
    expectCleanHost(host);
}

TEST(AaxProxies, RefusedHostObjectsGiveNoDescriptors)
{
    FakeHost host;
    host.makeComponentDescriptors = false;
    host.makePropertyMaps = false;
    {
        AAX_VCollection collection(host.unknown());
        AAX_IEffectDescriptor* effect = collection.NewDescriptor();
        ASSERT_NE(effect, nullptr);
        EXPECT_EQ(effect->NewComponentDescriptor(), nullptr);
        EXPECT_EQ(effect->NewPropertyMap(), nullptr);
        EXPECT_EQ(collection.NewPropertyMap(), nullptr);
    }
    expectCleanHost(host);

    FakeHost noFactory;
    noFactory.offerFactory = false;
    AAX_VCollection collection(noFactory.unknown());
    EXPECT_EQ(collection.GetIUnknown(), nullptr);
}
