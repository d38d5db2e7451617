// The plug-in module's two entries, for the test unit.
#include "AUPlugInDispatch.h"
#include "ComponentEntryPoint.h"
#include "TestEffectUnit.h"

QV_AU_DEFINE_ENTRY_POINTS(TestEffectUnit, Quorvane2AUFactory, Quorvane2AUEntry)
