// Compiles JUCE's events module with the system's configuration.
#include "QvJuceConfig.h"
#pragma push_macro ("AudioPlayHead")
#undef AudioPlayHead
#define AudioPlayHead JuceBasicsAudioPlayHead
#include <juce_events/juce_events.cpp>
#pragma pop_macro ("AudioPlayHead")
