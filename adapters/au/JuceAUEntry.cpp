// The plug-in module's two entries: the factory way and the component way,
// both to the adapter.
#include "AUPlugInDispatch.h"
#include "ComponentEntryPoint.h"
#include "JuceAU.h"

QV_AU_DEFINE_ENTRY_POINTS(JuceAU, Quorvane2AUFactory, Quorvane2AUEntry)
