// A host's whole road through the test plug-in module, loaded with dlopen and
// reached only through its exported functions and the objects they lead to.
#include "AAX_CString.h"
#include "AAX_Exports.h"
#include "AAX_IEffectGUI.h"
#include "AAX_IEffectParameters.h"
#include "ChunkSupport.h"
#include "FakeHost.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

namespace
{
class PluginModule
{
public:
    explicit PluginModule(const char* path) : handle(dlopen(path, RTLD_NOW | RTLD_LOCAL)) {}
    ~PluginModule()
    {
        if (handle != nullptr)
            dlclose(handle);
    }

    template <typename Proc>
    Proc get(const char* name) const
    {
        return reinterpret_cast<Proc>(dlsym(handle, name));
    }

    void* handle;
};
} // namespace

TEST(AaxPluginModule, AHostLoadsDescribesAndRunsThePlugIn)
{
    PluginModule module(QV_AAX_TEST_PLUGIN_PATH);
    ASSERT_NE(module.handle, nullptr) << dlerror();
    auto registerPlugin = module.get<ACFRegisterPluginProc>("ACFRegisterPlugin");
    auto canUnloadNow = module.get<ACFCanUnloadNowProc>("ACFCanUnloadNow");
    auto startup = module.get<ACFStartupProc>("ACFStartup");
    auto shutdown = module.get<ACFShutdownProc>("ACFShutdown");
    auto sdkVersion = module.get<ACFGetSDKVersionProc>("ACFGetSDKVersion");
    ASSERT_TRUE(registerPlugin && canUnloadNow && startup && shutdown && sdkVersion);
    EXPECT_NE(module.get<ACFRegisterComponentProc>("ACFRegisterComponent"), nullptr);
    EXPECT_NE(module.get<ACFGetClassFactoryProc>("ACFGetClassFactory"), nullptr);
    EXPECT_EQ(module.get<void*>("GetEffectDescriptions"), nullptr) << "only the seven are visible";

    FakeHost host;
    uint64_t version = 0;
    EXPECT_EQ(sdkVersion(&version), 0);
    EXPECT_EQ(version, 0x000002000061125CULL);
    EXPECT_EQ(startup(host.unknown()), 0);

    IACFPluginDefinition* definition = nullptr;
    ASSERT_EQ(registerPlugin(host.unknown(), &definition), 0);
    ASSERT_NE(host.lastEffectDescriptor(), nullptr);
    auto createEffect = reinterpret_cast<AAX_CreateEffectParametersProc>(host.lastEffectDescriptor()->procs.at(0));
    auto createGUI = reinterpret_cast<AAX_CreateEffectGUIProc>(host.lastEffectDescriptor()->procs.at(1));

    // The effect object.
    AAX_IEffectParameters* made = createEffect();
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(canUnloadNow(nullptr), 1);
    void* out = nullptr;
    ASSERT_EQ(static_cast<AAX_IACFEffectParameters_V2*>(made)->QueryInterface(IID_IAAXEffectParametersV2, &out), 0);
    auto* effect = static_cast<AAX_IACFEffectParameters_V2*>(out);
    host.automation.answerTo = effect;
    ASSERT_EQ(effect->Initialize(host.unknown()), 0);

    int32_t count = 0;
    EXPECT_EQ(effect->GetNumberOfParameters(&count), 0);
    EXPECT_EQ(count, 36);
    EXPECT_EQ(effect->SetParameterNormalizedValue("4", 0.25), 0);
    uint32_t size = 0;
    ASSERT_EQ(effect->GetChunkSize(AAX_ControlsChunkID, &size), 0);
    EXPECT_EQ(size, 524u);
    ChunkRecord saved(size);
    ASSERT_EQ(effect->GetChunk(AAX_ControlsChunkID, saved.record()), 0);
    effect->SetParameterNormalizedValue("4", 0.9);
    EXPECT_EQ(effect->SetChunk(AAX_ControlsChunkID, saved.record()), 0);
    double value = 0.0;
    effect->GetParameterNormalizedValue("4", &value);
    EXPECT_EQ(value, 0.25);
    AAX_CString text;
    EXPECT_EQ(effect->GetParameterValueString("4", &text, 4), 0);
    EXPECT_STREQ(text.Get(), "0.25");

    // The GUI object, finding the effect through the host.
    host.effectParameters = effect;
    AAX_IEffectGUI* madeGUI = createGUI();
    ASSERT_NE(madeGUI, nullptr);
    ASSERT_EQ(static_cast<AAX_IACFEffectGUI*>(madeGUI)->QueryInterface(IID_IAAXEffectGUIV1, &out), 0);
    auto* gui = static_cast<AAX_IACFEffectGUI*>(out);
    EXPECT_EQ(canUnloadNow(nullptr), 2);
    FakeViewContainer view(host.record, 1);
    ASSERT_EQ(gui->Initialize(host.unknown()), 0);
    EXPECT_EQ(gui->SetViewContainer(&view), 0);
    EXPECT_EQ(view.references(), 1);
    EXPECT_EQ(gui->SetViewContainer(nullptr), 0);
    EXPECT_EQ(gui->Uninitialize(), 0);
    EXPECT_EQ(gui->Release(), 0u);

    EXPECT_EQ(effect->Uninitialize(), 0);
    EXPECT_EQ(effect->Release(), 0u);
    EXPECT_EQ(canUnloadNow(nullptr), 0);
    EXPECT_EQ(shutdown(host.unknown()), 0);
    definition->Release();

    EXPECT_TRUE(host.leakedReferences().empty()) << ::testing::PrintToString(host.leakedReferences());
    EXPECT_TRUE(host.record.violations.empty()) << ::testing::PrintToString(host.record.violations);
    EXPECT_EQ(view.references(), 0);
}
