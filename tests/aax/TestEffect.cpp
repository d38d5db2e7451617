#include "TestEffect.h"

#include "AAX_CBinaryDisplayDelegate.h"
#include "AAX_CBinaryTaperDelegate.h"
#include "AAX_CLinearTaperDelegate.h"
#include "AAX_CNumberDisplayDelegate.h"
#include "AAX_CParameter.h"
#include "AAX_ICollection.h"
#include "AAX_IComponentDescriptor.h"
#include "AAX_IEffectDescriptor.h"
#include "AAX_IPropertyMap.h"

#include <stdexcept>

bool testDescriptionThrows = false;

namespace
{
constexpr AAX_CFieldIndex bypassField = 3;

void processNothing(void* const[], const void*) {}

/** A create procedure: no exception reaches the host, which gets null instead. */
template <typename Object>
Object* createOrNull() noexcept
{
    try
    {
        return new Object();
    }
    catch (...)
    {
        return nullptr;
    }
}
} // namespace

AAX_Result TestEffect::EffectInit()
{
    if (options.failEffectInit)
        return AAXStatus::notImplemented;

    auto* bypass = new AAX_CParameter<bool>(AAX_MasterBypassID, "Master Bypass", false, AAX_CBinaryTaperDelegate<bool>(),
                                            AAX_CBinaryDisplayDelegate<bool>("bypass", "on"), true);
    bypass->SetNumberOfSteps(2);
    bypass->SetType(AAX_eParameterType_Discrete);
    parameterManager.AddParameter(bypass);

    const AAX_CPacketHandler<AAX_CPacketDispatcher> handler(&packetDispatcher, &AAX_CPacketDispatcher::GenerateSingleValuePacket);
    packetDispatcher.RegisterPacket(AAX_MasterBypassID, bypassField, &handler);

    for (int i = 0; i < options.floatParameters; ++i)
    {
        const std::string id = std::to_string(i);
        auto* p = new AAX_CParameter<float>(id.c_str(), ("Parameter " + id).c_str(), 0.5f, AAX_CLinearTaperDelegate<float, 0>(0.0f, 1.0f),
                                            AAX_CNumberDisplayDelegate<float, 3u, 0u>(), true);
        p->AddShortenedName(("P" + id).c_str());
        p->SetNumberOfSteps(0x7fffffff);
        parameterManager.AddParameter(p);
    }

    if (options.previewParameter)
        parameterManager.AddParameter(new AAX_CParameter<bool>(AAX_PreviewParameterID, "Preview", false, AAX_CBinaryTaperDelegate<bool>(),
                                                               AAX_CBinaryDisplayDelegate<bool>("off", "on"), false));
    return AAXStatus::success;
}

AAX_IEffectParameters* TestEffect::Create()
{
    return createOrNull<TestEffect>();
}

void TestGUI::CreateViewContents()
{
    hooks.push_back("CreateViewContents");
}

void TestGUI::CreateViewContainer()
{
    if (throwInViewHook)
        throw std::runtime_error("view failed");
    hooks.push_back("CreateViewContainer " + std::to_string(GetViewContainerType()));
}

void TestGUI::DeleteViewContainer()
{
    hooks.push_back("DeleteViewContainer");
}

AAX_Result TestGUI::ParameterUpdated(AAX_CParamID id)
{
    hooks.push_back(std::string("ParameterUpdated ") + id);
    return AAXStatus::success;
}

AAX_IEffectGUI* TestGUI::Create()
{
    return createOrNull<TestGUI>();
}

AAX_Result GetEffectDescriptions(AAX_ICollection* collection)
{
    if (testDescriptionThrows)
        throw std::runtime_error("description failed");
    if (collection == nullptr)
        return AAXStatus::missingObject;

    AAX_IEffectDescriptor* effect = collection->NewDescriptor();
    if (effect == nullptr)
        return AAXStatus::missingObject;

    effect->AddName("Test Effect");
    effect->AddCategory(0x200);
    effect->AddProcPtr(reinterpret_cast<void*>(&TestGUI::Create), AAXProcPtrID::createEffectGUI);
    effect->AddProcPtr(reinterpret_cast<void*>(&TestEffect::Create), AAXProcPtrID::createEffectParameters);

    if (AAX_IComponentDescriptor* component = effect->NewComponentDescriptor())
    {
        component->AddAudioIn(0);
        component->AddAudioOut(1);
        component->AddDataInPort(bypassField, 4, AAX_EDataInPortType(1));
        AAX_IPropertyMap* properties = component->NewPropertyMap();
        if (properties != nullptr)
            properties->AddProperty(AAX_eProperty_ManufacturerID, AAX_CPropertyValue(AAX_FourCharCode('B', 'r', 'n', 'k')));
        component->AddProcessProc_Native(&processNothing, properties, nullptr, nullptr, nullptr);
        effect->AddComponent(component);
    }

    collection->AddEffect("com.example.test", effect);
    collection->SetManufacturerName("Test Maker");
    collection->AddPackageName("Test");
    collection->SetPackageVersion(1);
    return AAXStatus::success;
}
