// The effect's description for an AAX host and the render callback of its
// native components. GetEffectDescriptions, which the library's registration
// calls, is declared in AAX_Init.h.
#pragma once

#include "AAX.h"

#include <cstdint>

class AAX_IComponentDescriptor;
class AAX_IEffectDescriptor;

namespace AAXClasses
{
/** Names, category, create procedures and the eight stem configurations. */
void getPlugInDescription(AAX_IEffectDescriptor& descriptor);

/** One native component: its context fields, properties and render callback. */
void createDescriptor(AAX_IComponentDescriptor& component, int index, uint32_t inputStem, uint32_t outputStem);

/** audio thread: renders each instance whose context pointer lies from the
    first up to (not including) the end. */
void algorithmProcessCallback(void* const instancesBegin[], const void* instancesEnd);
} // namespace AAXClasses
