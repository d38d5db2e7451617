// Interface and component identifiers of the AAX host and of this library's
// objects.
#pragma once

#include "ACFUnknown.h"

inline constexpr acfUID IID_IACFUnknown = acfUIDFromText("00000000-0000-0000-C000-000000000046");
inline constexpr acfUID IID_IACFPluginDefinition = acfUIDFromText("00EEF015-7FD0-11D6-8485-00306542A024");
inline constexpr acfUID IID_IACFComponentFactory = acfUIDFromText("382B6A96-7FD0-11D6-BCFE-00306542A024");

inline constexpr acfUID AAXCompID_HostServices = acfUIDFromText("88882C2D-EBBC-42EF-C0AB-8981B0BD0CCA");
inline constexpr acfUID IID_IAAXHostServicesV1 = acfUIDFromText("96D42C2D-EBBC-41EF-B0AB-9991A0ED0CCA");
inline constexpr acfUID AAXCompID_AAXCollection = acfUIDFromText("89882C2D-77BC-42EF-707B-7981B7BD0CCA");
inline constexpr acfUID IID_IAAXCollectionV1 = acfUIDFromText("96D42C2D-EBBC-41DF-B1AB-9991A2EE0CCA");
inline constexpr acfUID AAXCompID_AAXEffectDescriptor = acfUIDFromText("89872C2D-75BC-423F-401B-F9A1BAAD0CCA");
inline constexpr acfUID IID_IAAXEffectDescriptorV1 = acfUIDFromText("96D42C2D-EBBC-41EF-D1CB-499442E40FDA");
inline constexpr acfUID IID_IAAXEffectDescriptorV2 = acfUIDFromText("41ECCC52-416B-4072-84BD-40B05210A74C");
inline constexpr acfUID AAXCompID_AAXComponentDescriptor = acfUIDFromText("94872C3D-95BC-413D-D0DB-D9B12AAD0CCA");
inline constexpr acfUID IID_IAAXComponentDescriptorV1 = acfUIDFromText("96E42C2D-E2BC-51EF-61C7-48994AEB0CDA");
inline constexpr acfUID IID_IAAXComponentDescriptorV2 = acfUIDFromText("1895259E-AAA9-4F0F-A985-149837B76F89");
inline constexpr acfUID AAXCompID_AAXPropertyMap = acfUIDFromText("A587AD3D-D53C-4ADC-D0DD-D9D12DDDDCDA");
inline constexpr acfUID IID_IAAXPropertyMapV1 = acfUIDFromText("96EE2C2D-EECC-5EFF-E2D7-E849E3E2EEEE");
inline constexpr acfUID IID_IAAXPropertyMapV2 = acfUIDFromText("7177DF80-7C9C-11E2-B92A-0800200C9A66");
inline constexpr acfUID IID_IAAXAutomationDelegateV1 = acfUIDFromText("9D5E3D3D-42DC-5EFA-2217-EEE2E8E53E2E");
inline constexpr acfUID IID_IAAXControllerV1 = acfUIDFromText("9D5E3E3D-52DC-5EFB-2018-DE1DE2E63F4E");
inline constexpr acfUID IID_IAAXControllerV2 = acfUIDFromText("4C59AA0E-D7C0-4205-8B6C-32468D42D202");
inline constexpr acfUID IID_IAAXViewContainerV1 = acfUIDFromText("22DA0BBC-D550-4D5E-8CC6-734483B8837F");
inline constexpr acfUID IID_IAAXEffectParametersV1 = acfUIDFromText("964E333D-334C-533F-C2C7-3834C3C23E3E");
inline constexpr acfUID IID_IAAXEffectParametersV2 = acfUIDFromText("F1F47D06-308F-4CC5-9C7C-50A83F8AB813");
inline constexpr acfUID IID_IAAXEffectGUIV1 = acfUIDFromText("964E323D-424C-5E1A-2227-282423222E1E");
inline constexpr acfUID IID_IAAXTransportV1 = acfUIDFromText("5CEE4EF4-6337-4359-B63B-FE58DC36543A");
inline constexpr acfUID IID_IAAXTransportV2 = acfUIDFromText("203CBD9F-982C-4FE6-A827-07480257AEC3");
