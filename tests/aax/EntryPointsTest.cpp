// The seven exported functions and the reference-counted objects, in process.
#include "AAX_CHostServices.h"
#include "AAX_Exports.h"
#include "AAX_UIDs.h"
#include "FakeHost.h"
#include "TestEffect.h"

#include <gtest/gtest.h>

namespace
{
void expectClean(const FakeHost& host)
{
    EXPECT_TRUE(host.leakedReferences().empty()) << ::testing::PrintToString(host.leakedReferences());
    EXPECT_TRUE(host.record.violations.empty()) << ::testing::PrintToString(host.record.violations);
}

IACFPluginDefinition* const garbage = reinterpret_cast<IACFPluginDefinition*>(uintptr_t(0x10));
} // namespace

TEST(AaxEntryPoints, SdkVersion)
{
    uint64_t version = 0;
    EXPECT_EQ(ACFGetSDKVersion(&version), 0);
    EXPECT_EQ(version, 0x000002000061125CULL);
    EXPECT_EQ(ACFGetSDKVersion(nullptr), -20004);
}

TEST(AaxEntryPoints, StartupKeepsOneHostServicesProxy)
{
    FakeHost host;
    EXPECT_EQ(ACFShutdown(host.unknown()), 0) << "before start-up: nothing to do";
    EXPECT_EQ(ACFStartup(host.unknown()), 0);
    EXPECT_EQ(ACFStartup(host.unknown()), 0);
    EXPECT_EQ(AAX_CHostServices::Trace(2, "hello"), 0);
    EXPECT_EQ(host.record.calls, (std::vector<std::string> { "Host.CreateComponent(HostServices)", "HostServices.Trace(2, hello)" }));

    EXPECT_EQ(ACFShutdown(nullptr), 0);
    EXPECT_EQ(AAX_CHostServices::Get(), nullptr);
    EXPECT_EQ(AAX_CHostServices::Trace(2, "again"), -20004);
    EXPECT_EQ(ACFStartup(nullptr), 0);
    EXPECT_EQ(AAX_CHostServices::Get(), nullptr);
    expectClean(host);
}

TEST(AaxEntryPoints, RegistrationDescribesTheEffect)
{
    FakeHost host;
    IACFPluginDefinition* definition = garbage;
    EXPECT_EQ(ACFRegisterPlugin(host.unknown(), &definition), 0);
    EXPECT_EQ(definition, static_cast<IACFPluginDefinition*>(&host.definition));
    EXPECT_EQ(host.record.calls, (std::vector<std::string> {
                                     "Host.CreateComponent(Collection)",
                                     "Host.CreateComponent(Effect1)",
                                     "Effect1.AddName(Test Effect)",
                                     "Effect1.AddCategory(512)",
                                     "Effect1.AddProcPtr(1)",
                                     "Effect1.AddProcPtr(0)",
                                     "Host.CreateComponent(Component1)",
                                     "Component1.AddAudioIn(0)",
                                     "Component1.AddAudioOut(1)",
                                     "Component1.AddDataInPort(3, 4, 1)",
                                     "Host.CreateComponent(Map1)",
                                     "Map1.AddProperty(11, 1114795627)",
                                     "Component1.AddProcessProc_Native(proc, Map1, null, null, null)",
                                     "Effect1.AddComponent(Component1)",
                                     "Collection.AddEffect(com.example.test, Effect1)",
                                     "Collection.SetManufacturerName(Test Maker)",
                                     "Collection.AddPackageName(Test)",
                                     "Collection.SetPackageVersion(1)",
                                 }));
    EXPECT_EQ(host.definition.references(), 1) << "the host keeps the definition";
    definition->Release();
    expectClean(host);
}

TEST(AaxEntryPoints, RegistrationFailures)
{
    struct Case
    {
        const char* what;
        std::function<void(FakeHost&)> setUp;
        bool nullHost;
        AAX_Result expected;
    } cases[] = {
        { "null host", [](FakeHost&) {}, true, -20004 },
        { "no factory", [](FakeHost& h) { h.offerFactory = false; }, false, -20004 },
        { "no collection", [](FakeHost& h) { h.makeCollection = false; }, false, -20004 },
        { "no effect descriptor", [](FakeHost& h) { h.makeEffectDescriptors = false; }, false, -20004 },
        { "the description throws", [](FakeHost&) { testDescriptionThrows = true; }, false, static_cast<AAX_Result>(0x8000FFFF) },
    };
    for (const auto& c : cases)
    {
        FakeHost host;
        c.setUp(host);
        IACFPluginDefinition* definition = garbage;
        EXPECT_EQ(ACFRegisterPlugin(c.nullHost ? nullptr : host.unknown(), &definition), c.expected) << c.what;
        testDescriptionThrows = false;
        if (definition != nullptr && definition != garbage)
            definition->Release();
        EXPECT_TRUE(host.record.callsStartingWith("Collection.Add").empty()) << c.what;
        expectClean(host);
    }

    FakeHost host;
    EXPECT_EQ(ACFRegisterPlugin(host.unknown(), nullptr), -20004);
    expectClean(host);
}

TEST(AaxEntryPoints, ComponentsAndFactoriesAreNotOffered)
{
    FakeHost host;
    IACFComponentDefinition* component = reinterpret_cast<IACFComponentDefinition*>(uintptr_t(0x10));
    EXPECT_EQ(ACFRegisterComponent(host.unknown(), 0, &component), 0);
    EXPECT_EQ(component, nullptr);
    EXPECT_EQ(ACFRegisterComponent(host.unknown(), 0, nullptr), -20004);

    void* factory = &component;
    EXPECT_EQ(ACFGetClassFactory(host.unknown(), AAXCompID_AAXCollection, IID_IACFComponentFactory, &factory), -20009);
    EXPECT_EQ(factory, nullptr);
    EXPECT_EQ(ACFGetClassFactory(host.unknown(), AAXCompID_AAXCollection, IID_IACFComponentFactory, nullptr), -20009);
    EXPECT_TRUE(host.record.calls.empty());
}

TEST(AaxEntryPoints, LiveObjectsAndTheirInterfaces)
{
    ASSERT_EQ(ACFCanUnloadNow(nullptr), 0);
    AAX_IEffectParameters* effect = TestEffect::Create();
    AAX_IEffectGUI* gui = TestGUI::Create();
    EXPECT_EQ(ACFCanUnloadNow(nullptr), 2);

    IACFUnknown* unknown = nullptr;
    void* out = nullptr;
    EXPECT_EQ(effect->QueryInterface(IID_IACFUnknown, &out), 0);
    unknown = static_cast<IACFUnknown*>(out);
    EXPECT_EQ(unknown, effect->GetPrivateUnknown());
    EXPECT_NE(static_cast<void*>(unknown), static_cast<void*>(effect));
    EXPECT_EQ(unknown->AddRef(), 2u) << "the query took the first reference";

    EXPECT_EQ(unknown->QueryInterface(IID_IAAXEffectParametersV2, &out), 0);
    EXPECT_EQ(out, static_cast<void*>(static_cast<AAX_IACFEffectParameters_V2*>(effect)));
    EXPECT_EQ(unknown->QueryInterface(IID_IAAXEffectParametersV1, &out), 0);
    EXPECT_EQ(unknown->QueryInterface(IID_IAAXEffectGUIV1, &out), static_cast<AAX_Result>(0x80000004));
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(unknown->QueryInterface(IID_IAAXEffectGUIV1, nullptr), -20004);
    EXPECT_EQ(effect->Release(), 3u);

    // A release with no reference left is refused, not wrapped around.
    EXPECT_EQ(gui->Release(), 0u);
    EXPECT_EQ(ACFCanUnloadNow(nullptr), 2);
    EXPECT_EQ(gui->AddRef(), 1u);
    EXPECT_EQ(gui->Release(), 0u);
    EXPECT_EQ(ACFCanUnloadNow(nullptr), 1);

    for (uint32_t left = 3; left > 0; --left)
        EXPECT_EQ(unknown->Release(), left - 1);
    EXPECT_EQ(ACFCanUnloadNow(nullptr), 0);
}
