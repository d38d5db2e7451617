// Registration of the built module: the effect's full description as the
// host's objects receive it, and the exports a host finds.
#include "AAXModuleHost.h"

#include "AAX_Exports.h"

#include <gtest/gtest.h>

namespace
{
std::string call(const std::string& object, const std::string& operation, const std::string& args)
{
    return object + "." + operation + "(" + args + ")";
}

std::string n(uint32_t value)
{
    return std::to_string(int32_t(value));
}
} // namespace

TEST(AaxAdapterDescription, TheModuleRegistersOneEffectWithEightStemConfigurations)
{
    AAXModule& module = AAXModule::get();
    ASSERT_TRUE(module.loaded()) << module.error << " status " << module.registerStatus;
    ASSERT_NE(module.definition, nullptr);
    EXPECT_EQ(module.symbol<void*>("GetEffectDescriptions"), nullptr) << "only the seven entry points are visible";

    uint64_t version = 0;
    EXPECT_EQ(module.symbol<ACFGetSDKVersionProc>("ACFGetSDKVersion")(&version), 0);
    EXPECT_EQ(version, 0x000002000061125CULL);

    const auto& calls = module.registration.record.calls;
    auto collection = module.registration.record.callsStartingWith("Collection.");
    EXPECT_EQ(collection, (std::vector<std::string> {
                              "Collection.AddEffect(com.brennicklimited.quorvane2, Effect1)",
                              "Collection.SetManufacturerName(Brennick Limited)",
                              "Collection.AddPackageName(Quorvane2)",
                              "Collection.AddPackageName(Quorvane2)",
                              "Collection.SetPackageVersion(1)",
                          }));

    // The effect: names, category, the GUI creator (1) before the effect
    // creator (0), then the eight components in table order.
    std::vector<std::string> expected = {
        "Effect1.AddName(Quorvane2)", "Effect1.AddName(Quorvane2)", "Effect1.AddCategory(512)",
        "Effect1.AddProcPtr(1)", "Effect1.AddProcPtr(0)",
    };
    const struct
    {
        uint32_t outputStem;
        uint32_t nativeID;
    } rows[] = {
        { 0x10002, 0x6A636161 }, // stereo, 'jcaa'
        { 0x40004, 0x6A636162 }, // quad carrying B-format, 'jcab'
        { 0x50005, 0x6A636163 }, // 5.0
        { 0x60006, 0x6A636164 }, // 5.1
        { 0x70006, 0x6A636165 }, // 6.0
        { 0x80007, 0x6A636166 }, // 6.1
        { 0xB0007, 0x6A636167 }, // 7.0 (DTS)
        { 0xC0008, 0x6A636168 }, // 7.1 (DTS), 'jcah'
    };
    for (size_t i = 0; i < std::size(rows); ++i)
    {
        const std::string component = "Component" + std::to_string(i + 1);
        const std::string map = "Map" + std::to_string(i + 1);
        for (const std::string& c : std::vector<std::string> {
                 call(component, "AddAudioIn", "0"), call(component, "AddAudioOut", "1"),
                 call(component, "AddAudioBufferLength", "2"), call(component, "AddDataInPort", "3, 4, 1"),
                 call(component, "AddPrivateData", "4, 8, 0"),
                 call(map, "AddProperty", "11, " + n(0x42726E6B)),   // 'Brnk'
                 call(map, "AddProperty", "12, " + n(0x51767232)),   // 'Qvr2'
                 call(map, "AddProperty", "60, 1"),
                 call(map, "AddProperty", "51, " + n(0x40004)),
                 call(map, "AddProperty", "52, " + n(rows[i].outputStem)),
                 call(map, "AddProperty", "13, " + n(rows[i].nativeID)),
                 call(component, "AddProcessProc_Native", "proc, " + map + ", null, null, null"),
                 call("Effect1", "AddComponent", component) })
            expected.push_back(c);
    }

    std::vector<std::string> description;
    for (const auto& c : calls)
        if (c.rfind("Effect1.", 0) == 0 || c.rfind("Component", 0) == 0 || c.rfind("Map", 0) == 0)
            description.push_back(c);
    EXPECT_EQ(description, expected);
    EXPECT_NE(module.processProc, nullptr);
    EXPECT_TRUE(module.registration.record.violations.empty()) << ::testing::PrintToString(module.registration.record.violations);
}

// Hosts that make none of an object: a status, never a crash, and what can
// still be described is.
TEST(AaxAdapterDescription, MissingHostObjectsAreReportedOrSkipped)
{
    ASSERT_TRUE(AAXModule::get().loaded());
    auto registerPlugin = AAXModule::get().symbol<ACFRegisterPluginProc>("ACFRegisterPlugin");

    const struct
    {
        const char* what;
        bool effects, components, maps;
        int32_t status;
        size_t componentsAdded;
        const char* processCall;
    } cases[] = {
        { "no effect descriptor", false, true, true, -20004, 0, nullptr },
        { "no component descriptors", true, false, true, 0, 0, nullptr },
        { "no property maps", true, true, false, 0, 8, "AddProcessProc_Native(proc, null, null, null, null)" },
    };
    for (const auto& c : cases)
    {
        FakeHost host;
        host.makeEffectDescriptors = c.effects;
        host.makeComponentDescriptors = c.components;
        host.makePropertyMaps = c.maps;
        IACFPluginDefinition* definition = nullptr;
        EXPECT_EQ(registerPlugin(host.unknown(), &definition), c.status) << c.what;
        EXPECT_EQ(host.record.callsStartingWith("Effect1.AddComponent").size(), c.componentsAdded) << c.what;
        if (c.status != 0)
        {
            EXPECT_TRUE(host.record.callsStartingWith("Collection.AddEffect").empty()) << c.what;
        }
        if (c.processCall != nullptr)
        {
            EXPECT_EQ(host.record.callsStartingWith("Component1.AddProcessProc").at(0), std::string("Component1.") + c.processCall);
        }
        if (definition != nullptr)
            definition->Release();
        EXPECT_TRUE(host.leakedReferences().empty()) << c.what << ": " << ::testing::PrintToString(host.leakedReferences());
    }
    EXPECT_EQ(AAXModule::get().liveObjects(), 0);
}
