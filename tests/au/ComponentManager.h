// The test host's Component Manager: the three functions a unit looks up by
// name, exported from the test program, and the host's book of instances.
#pragma once

#include "PlatformAudioUnit.h"

extern "C" {
Handle GetComponentInstanceStorage(ComponentInstance instance);
void SetComponentInstanceStorage(ComponentInstance instance, Handle storage);
OSErr GetComponentInfo(Component component, ComponentDescription* description, Handle name, Handle info, Handle icon);
}

void RememberComponentInstance(ComponentInstance instance, const AudioComponentDescription& description);
void ForgetComponentInstance(ComponentInstance instance);
