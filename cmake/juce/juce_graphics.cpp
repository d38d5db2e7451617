// Compiles JUCE's graphics module with the system's configuration.
#include "QvJuceConfig.h"
#pragma push_macro ("AudioPlayHead")
#undef AudioPlayHead
#define AudioPlayHead JuceBasicsAudioPlayHead
#include <juce_graphics/juce_graphics.cpp>
#pragma pop_macro ("AudioPlayHead")
