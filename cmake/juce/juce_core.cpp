// Compiles JUCE's core module with the system's configuration.
#include "QvJuceConfig.h"
#pragma push_macro ("AudioPlayHead")
#undef AudioPlayHead
#define AudioPlayHead JuceBasicsAudioPlayHead
#include <juce_core/juce_core.cpp>
#pragma pop_macro ("AudioPlayHead")
