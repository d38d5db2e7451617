// Compiles JUCE's data_structures module with the system's configuration.
#include "QvJuceConfig.h"
#pragma push_macro ("AudioPlayHead")
#undef AudioPlayHead
#define AudioPlayHead JuceBasicsAudioPlayHead
#include <juce_data_structures/juce_data_structures.cpp>
#pragma pop_macro ("AudioPlayHead")
