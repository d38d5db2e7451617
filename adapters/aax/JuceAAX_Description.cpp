// The plug-in as an AAX host registers it: one effect with eight native
// components, one per stem configuration, and the render callback they share.
#include "JuceAAX_Description.h"

#include "AAXStemFormats.h"
#include "JUCELibraryRefCount.h"
#include "JuceAAX_GUI.h"
#include "JuceAAX_Processor.h"

#include "AAX_Guard.h"
#include "AAX_ICollection.h"
#include "AAX_IComponentDescriptor.h"
#include "AAX_IEffectDescriptor.h"
#include "AAX_IEffectGUI.h"
#include "AAX_IEffectParameters.h"
#include "AAX_IPropertyMap.h"
#include "AAX_Init.h"

#include <cstring>

namespace AAXClasses
{
namespace
{
constexpr const char* kProductName = "Quorvane2";
constexpr const char* kManufacturerName = "Brennick Limited";
// Reverse-DNS from the maker's and the product's names, written the way
// such identifiers usually are: lower case, no blanks.
constexpr const char* kEffectID = "com.brennicklimited.quorvane2";
constexpr uint32_t kPackageVersion = 1;
constexpr uint32_t kPlugInCategory = 0x200;

constexpr AAX_CPropertyValue kManufacturerID = AAX_FourCharCode('B', 'r', 'n', 'k');   // 0x42726E6B
constexpr AAX_CPropertyValue kProductID = AAX_FourCharCode('Q', 'v', 'r', '2');        // 0x51767232
constexpr AAX_CPropertyValue kFirstNativeID = AAX_FourCharCode('j', 'c', 'a', 'a');    // 'jcaa' .. 'jcah'

constexpr uint32_t kBypassPacketBytes = 4;
constexpr AAX_EDataInPortType kPortUnbuffered = AAX_EDataInPortType(1);
constexpr int32_t kPrivateDataBytes = 8;   // one JuceAAX_Processor*
constexpr uint32_t kDefaultOptions = 0;

// The create procedures as the library's types name them; the host calls
// them through the untyped pointers a description carries.
const AAX_CreateEffectParametersProc createEffect = &JuceAAX_Processor::Create;
const AAX_CreateEffectGUIProc createGUI = &JuceAAX_GUI::Create;
} // namespace

void createDescriptor(AAX_IComponentDescriptor& component, int index, uint32_t inputStem, uint32_t outputStem)
{
    component.AddAudioIn(kFieldAudioInputs);
    component.AddAudioOut(kFieldAudioOutputs);
    component.AddAudioBufferLength(kFieldBufferLength);
    component.AddDataInPort(kFieldBypass, kBypassPacketBytes, kPortUnbuffered);
    component.AddPrivateData(kFieldPrivateData, kPrivateDataBytes, kDefaultOptions);

    AAX_IPropertyMap* properties = component.NewPropertyMap();
    if (properties != nullptr)
    {
        properties->AddProperty(AAX_eProperty_ManufacturerID, kManufacturerID);
        properties->AddProperty(AAX_eProperty_ProductID, kProductID);
        properties->AddProperty(AAX_eProperty_CanBypass, 1);
        properties->AddProperty(AAX_eProperty_InputStemFormat, AAX_CPropertyValue(inputStem));
        properties->AddProperty(AAX_eProperty_OutputStemFormat, AAX_CPropertyValue(outputStem));
        properties->AddProperty(AAX_eProperty_PlugInID_Native, kFirstNativeID + index);
    }

    component.AddProcessProc_Native(&algorithmProcessCallback, properties, nullptr, nullptr, nullptr);
}

void getPlugInDescription(AAX_IEffectDescriptor& descriptor)
{
    descriptor.AddName(kProductName);
    descriptor.AddName(kProductName);
    descriptor.AddCategory(kPlugInCategory);
    descriptor.AddProcPtr(reinterpret_cast<void*>(createGUI), AAXProcPtrID::createEffectGUI);
    descriptor.AddProcPtr(reinterpret_cast<void*>(createEffect), AAXProcPtrID::createEffectParameters);

    // A component the host does not give is left out; the others still come.
    for (size_t i = 0; i < kNumChannelConfigs; ++i)
        if (AAX_IComponentDescriptor* component = descriptor.NewComponentDescriptor())
        {
            createDescriptor(*component, int(i), channelConfigs[i].inputStem, channelConfigs[i].outputStem);
            descriptor.AddComponent(component);
        }
}

// audio thread: every instance of one component, one context each. A
// context or field the host left out is skipped; nothing else is touched.
void algorithmProcessCallback(void* const instancesBegin[], const void* instancesEnd)
{
    if (instancesBegin == nullptr || instancesEnd == nullptr)
        return;

    for (void* const* walk = instancesBegin; static_cast<const void*>(walk) < instancesEnd; ++walk)
    {
        const auto* context = static_cast<const JUCEAlgorithmContext*>(*walk);
        if (context == nullptr || context->bufferLength == nullptr || context->bypass == nullptr
            || context->privateData == nullptr)
            continue;

        JuceAAX_Processor* effect = nullptr;
        std::memcpy(&effect, context->privateData, sizeof(effect));
        if (effect == nullptr)
            continue;

        effect->process(context->inputChannels, context->outputChannels, *context->bufferLength, *context->bypass != 0);
    }
}
} // namespace AAXClasses

// Host thread that registers the plug-in, through the library's entry point.
AAX_Result GetEffectDescriptions(AAX_ICollection* collection)
{
    using namespace AAXClasses;
    if (collection == nullptr)
        return AAXStatus::missingObject;

    const JUCELibraryRefCount libraryRefCount;

    AAX_IEffectDescriptor* descriptor = collection->NewDescriptor();
    if (descriptor == nullptr)
        return AAXStatus::missingObject;

    getPlugInDescription(*descriptor);
    collection->AddEffect(kEffectID, descriptor);
    collection->SetManufacturerName(kManufacturerName);
    collection->AddPackageName(kProductName);
    collection->AddPackageName(kProductName);
    collection->SetPackageVersion(kPackageVersion);
    return AAXStatus::success;
}
