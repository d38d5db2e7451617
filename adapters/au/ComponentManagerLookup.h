// The Component Manager and Audio Component functions a unit needs, found by
// name at run time and never linked: first in the platform framework that
// holds them, and, where that framework does not exist, among the process's
// global symbols (a host that has them defines them). Without them each
// function answers its fallback.
#pragma once

#include "PlatformAudioUnit.h"

/** The stored pointer, or null when the function was not found. */
Handle CMgr_GetComponentInstanceStorage(ComponentInstance instance);

/** Stores the pointer; does nothing when the function was not found. */
void CMgr_SetComponentInstanceStorage(ComponentInstance instance, Handle storage);

/** Whether instance storage can be set at all (without it a unit opened
    through the component entry could never be reached). */
bool CMgr_HasInstanceStorage();

/** -4 when "GetComponentInfo" was not found; else its 16-bit result, widened
    with its sign. */
OSStatus CMgr_GetComponentDescription(ComponentInstance instance, AudioComponentDescription* outDescription);

/** The factory way's description: -4 when the Audio Component functions were
    not found, -50 for an instance without a component, else the answer of
    AudioComponentGetDescription. */
OSStatus CB_GetComponentDescription(AudioComponentInstance instance, AudioComponentDescription* outDescription);

// Where the platform keeps these functions.
constexpr const char* kCoreServicesFrameworkPath = "/System/Library/Frameworks/CoreServices.framework/CoreServices";
constexpr const char* kAudioUnitFrameworkPath = "/System/Library/Frameworks/AudioUnit.framework/AudioUnit";
