// What the platform's own classes need of the object runtime beyond its
// public functions.
#pragma once

#include "ObjCMessage.h"

namespace qvobjc
{
/** Registers the platform's classes, protocols and shared objects once (also
    run when the library is loaded). */
void ensurePlatformClasses();

/** A registered class that objc_disposeClassPair never removes; with
    stateIvar, instances have one pointer-sized variable of that name. */
Class makePlatformClass(Class superclass, const char* name, const char* stateIvar = nullptr);
} // namespace qvobjc
