// The host ABI: identifier bytes, and the slot of every operation a host
// calls or the library calls on the host, as the interfaces fix them.
#include "AAX_CEffectGUI.h"
#include "AAX_CEffectParameters.h"
#include "AAX_CString.h"
#include "AAX_IACFHostInterfaces.h"
#include "AAX_UIDs.h"
#include "CACFUnknown.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace
{
// A pointer to a virtual member holds 1 + the slot's byte offset in the table
// under the Itanium C++ ABI that this compiler follows.
template <typename Member>
size_t slotOf(Member member)
{
    struct
    {
        uintptr_t pointer;
        ptrdiff_t adjustment;
    } raw;
    static_assert(sizeof(member) == sizeof(raw), "a member pointer is two words");
    std::memcpy(&raw, &member, sizeof(raw));
    return (raw.pointer & 1) != 0 ? (raw.pointer - 1) / sizeof(void*) : size_t(-1);
}

struct Slot
{
    const char* operation;
    size_t actual;
    size_t expected;
};

void expectSlots(const std::vector<Slot>& slots)
{
    for (const auto& s : slots)
        EXPECT_EQ(s.actual, s.expected) << s.operation;
}

using P = AAX_IACFEffectParameters_V2;
} // namespace

TEST(AaxIdentifiers, BytesInHostOrder)
{
    struct Case
    {
        const char* name;
        acfUID id;
        uint8_t bytes[16];
    } cases[] = {
        { "IID_IACFUnknown", IID_IACFUnknown, { 0, 0, 0, 0, 0, 0, 0, 0, 0xC0, 0, 0, 0, 0, 0, 0, 0x46 } },
        { "IID_IACFPluginDefinition", IID_IACFPluginDefinition,
          { 0x15, 0xF0, 0xEE, 0x00, 0xD0, 0x7F, 0xD6, 0x11, 0x84, 0x85, 0x00, 0x30, 0x65, 0x42, 0xA0, 0x24 } },
        { "IID_IAAXEffectParametersV2", IID_IAAXEffectParametersV2,
          { 0x06, 0x7D, 0xF4, 0xF1, 0x8F, 0x30, 0xC5, 0x4C, 0x9C, 0x7C, 0x50, 0xA8, 0x3F, 0x8A, 0xB8, 0x13 } },
        { "IID_IAAXPropertyMapV2", IID_IAAXPropertyMapV2,
          { 0x80, 0xDF, 0x77, 0x71, 0x9C, 0x7C, 0xE2, 0x11, 0xB9, 0x2A, 0x08, 0x00, 0x20, 0x0C, 0x9A, 0x66 } },
        { "AAXCompID_AAXCollection", AAXCompID_AAXCollection,
          { 0x2D, 0x2C, 0x88, 0x89, 0xBC, 0x77, 0xEF, 0x42, 0x70, 0x7B, 0x79, 0x81, 0xB7, 0xBD, 0x0C, 0xCA } },
        { "IID_IAAXTransportV2", IID_IAAXTransportV2,
          { 0x9F, 0xBD, 0x3C, 0x20, 0x2C, 0x98, 0xE6, 0x4F, 0xA8, 0x27, 0x07, 0x48, 0x02, 0x57, 0xAE, 0xC3 } },
    };
    for (const auto& c : cases)
        EXPECT_EQ(std::memcmp(&c.id, c.bytes, 16), 0) << c.name;
}

TEST(AaxIdentifiers, AllDistinctAndComparedByEveryByte)
{
    const acfUID all[] = { IID_IACFUnknown, IID_IACFPluginDefinition, IID_IACFComponentFactory, AAXCompID_HostServices,
                           IID_IAAXHostServicesV1, AAXCompID_AAXCollection, IID_IAAXCollectionV1, AAXCompID_AAXEffectDescriptor,
                           IID_IAAXEffectDescriptorV1, IID_IAAXEffectDescriptorV2, AAXCompID_AAXComponentDescriptor,
                           IID_IAAXComponentDescriptorV1, IID_IAAXComponentDescriptorV2, AAXCompID_AAXPropertyMap,
                           IID_IAAXPropertyMapV1, IID_IAAXPropertyMapV2, IID_IAAXAutomationDelegateV1, IID_IAAXControllerV1,
                           IID_IAAXControllerV2, IID_IAAXViewContainerV1, IID_IAAXEffectParametersV1, IID_IAAXEffectParametersV2,
                           IID_IAAXEffectGUIV1, IID_IAAXTransportV1, IID_IAAXTransportV2 };
    for (size_t i = 0; i < std::size(all); ++i)
        for (size_t j = 0; j < std::size(all); ++j)
            EXPECT_EQ(all[i] == all[j], i == j) << i << " vs " << j;

    // The last byte alone tells these two apart.
    acfUID almost = IID_IAAXControllerV1;
    almost.data4[7] ^= 1;
    EXPECT_FALSE(almost == IID_IAAXControllerV1);
}

TEST(AaxSlots, EffectParametersAsTheHostCallsThem)
{
    expectSlots({
        { "QueryInterface", slotOf(&P::QueryInterface), 0 },
        { "Release", slotOf(&P::Release), 2 },
        { "Initialize", slotOf(&P::Initialize), 3 },
        { "NotificationReceived", slotOf(&P::NotificationReceived), 5 },
        { "GetMasterBypassParameter", slotOf(&P::GetMasterBypassParameter), 7 },
        { "GetParameterNameOfLength", slotOf(&P::GetParameterNameOfLength), 11 },
        { "GetParameter", slotOf(&P::GetParameter), 16 },
        { "GetParameterIDFromIndex", slotOf(&P::GetParameterIDFromIndex), 18 },
        { "GetParameterStringFromValue", slotOf(&P::GetParameterStringFromValue), 21 },
        { "GetParameterNormalizedValue", slotOf(&P::GetParameterNormalizedValue), 23 },
        { "SetParameterNormalizedRelative", slotOf(&P::SetParameterNormalizedRelative), 25 },
        { "UpdateParameterNormalizedValue", slotOf(&P::UpdateParameterNormalizedValue), 29 },
        { "GenerateCoefficients", slotOf(&P::GenerateCoefficients), 31 },
        { "GetChunkIDFromIndex", slotOf(&P::GetChunkIDFromIndex), 34 },
        { "GetChunk", slotOf(&P::GetChunk), 36 },
        { "CompareActiveChunk", slotOf(&P::CompareActiveChunk), 38 },
        { "GetNumberOfChanges", slotOf(&P::GetNumberOfChanges), 39 },
        { "GetCustomData", slotOf(&P::GetCustomData), 42 },
        { "DoMIDITransfers", slotOf(&P::DoMIDITransfers), 44 },
        { "RenderAudio_Hybrid", slotOf(&P::RenderAudio_Hybrid), 45 },
        { "UpdateControlMIDINodes", slotOf(&P::UpdateControlMIDINodes), 47 },
        // The base's own operations follow the host-visible ones.
        { "InternalQueryInterface", slotOf(&AAX_IEffectParameters::InternalQueryInterface), 48 },
        { "EffectInit", slotOf(&AAX_CEffectParameters::EffectInit), 51 },
    });
}

TEST(AaxSlots, GuiAsTheHostCallsIt)
{
    using G = AAX_IACFEffectGUI;
    expectSlots({
        { "Initialize", slotOf(&G::Initialize), 3 },
        { "SetViewContainer", slotOf(&G::SetViewContainer), 6 },
        { "GetViewSize", slotOf(&G::GetViewSize), 7 },
        { "ParameterUpdated", slotOf(&G::ParameterUpdated), 10 },
        { "SetControlHighlightInfo", slotOf(&G::SetControlHighlightInfo), 12 },
        { "InternalQueryInterface", slotOf(&AAX_IEffectGUI::InternalQueryInterface), 13 },
        { "CreateViewContents", slotOf(&AAX_CEffectGUI::CreateViewContents), 16 },
        { "DeleteViewContainer", slotOf(&AAX_CEffectGUI::DeleteViewContainer), 18 },
        { "UpdateAllParameters", slotOf(&AAX_CEffectGUI::UpdateAllParameters), 19 },
    });
}

TEST(AaxSlots, UnknownBaseAndString)
{
    expectSlots({
        { "InitializeInstance", slotOf(&CACFUnknown::InitializeInstance), 2 },
        { "ReclaimMemory", slotOf(&CACFUnknown::ReclaimMemory), 4 },
        { "InternalRelease", slotOf(&CACFUnknown::InternalRelease), 7 },
        { "Length", slotOf(&AAX_IString::Length), 2 },
        { "Get", slotOf(&AAX_IString::Get), 4 },
        { "Set", slotOf(&AAX_IString::Set), 5 },
        { "operator=(string)", slotOf(static_cast<AAX_IString& (AAX_IString::*)(const AAX_IString&)>(&AAX_IString::operator=)), 6 },
        { "operator=(text)", slotOf(static_cast<AAX_IString& (AAX_IString::*)(const char*)>(&AAX_IString::operator=)), 7 },
    });
}

TEST(AaxSlots, HostInterfacesAsTheLibraryCallsThem)
{
    expectSlots({
        { "Factory.CreateComponent", slotOf(&IACFComponentFactory::CreateComponent), 3 },
        { "Controller.GetSampleRate", slotOf(&AAX_IACFController::GetSampleRate), 4 },
        { "Controller.SetSignalLatency", slotOf(&AAX_IACFController::SetSignalLatency), 10 },
        { "Controller.PostPacket", slotOf(&AAX_IACFController::PostPacket), 12 },
        { "Controller.GetMeterClipped", slotOf(&AAX_IACFController::GetMeterClipped), 16 },
        { "Controller.GetMeterCount", slotOf(&AAX_IACFController::GetMeterCount), 18 },
        { "Controller.SendNotification", slotOf(&AAX_IACFController_V2::SendNotification), 20 },
        { "Controller.GetHostName", slotOf(&AAX_IACFController_V2::GetHostName), 23 },
        { "Transport.GetCurrentTicksPerBeat", slotOf(&AAX_IACFTransport::GetCurrentTicksPerBeat), 12 },
        { "Transport.GetTimeCodeInfo", slotOf(&AAX_IACFTransport_V2::GetTimeCodeInfo), 14 },
        { "Automation.PostSetValueRequest", slotOf(&AAX_IACFAutomationDelegate::PostSetValueRequest), 5 },
        { "Automation.GetTouchState", slotOf(&AAX_IACFAutomationDelegate::GetTouchState), 9 },
        { "View.SetViewSize", slotOf(&AAX_IACFViewContainer::SetViewSize), 6 },
        { "View.HandleParameterMouseUp", slotOf(&AAX_IACFViewContainer::HandleParameterMouseUp), 9 },
        { "HostServices.Trace", slotOf(&AAX_IACFHostServices::Trace), 4 },
        { "Collection.AddEffect", slotOf(&AAX_IACFCollection::AddEffect), 7 },
        { "Collection.SetProperties", slotOf(&AAX_IACFCollection::SetProperties), 11 },
        { "Effect.AddProcPtr", slotOf(&AAX_IACFEffectDescriptor::AddProcPtr), 7 },
        { "Effect.AddControlMIDINode", slotOf(&AAX_IACFEffectDescriptor_V2::AddControlMIDINode), 11 },
        { "Component.AddReservedField", slotOf(&AAX_IACFComponentDescriptor::AddReservedField), 4 },
        { "Component.AddDmaInstance", slotOf(&AAX_IACFComponentDescriptor::AddDmaInstance), 14 },
        { "Component.AddProcessProc_Native", slotOf(&AAX_IACFComponentDescriptor::AddProcessProc_Native), 16 },
        { "Component.AddMeters", slotOf(&AAX_IACFComponentDescriptor::AddMeters), 18 },
        { "Component.AddTemporaryData", slotOf(&AAX_IACFComponentDescriptor_V2::AddTemporaryData), 19 },
        { "Map.RemoveProperty", slotOf(&AAX_IACFPropertyMap::RemoveProperty), 5 },
        { "Map.GetPropertyWithIDArray", slotOf(&AAX_IACFPropertyMap_V2::GetPropertyWithIDArray), 7 },
    });
}
