// Compiles JUCE's gui_basics module with the system's configuration.
#include "QvJuceConfig.h"
#pragma push_macro ("AudioPlayHead")
#undef AudioPlayHead
#define AudioPlayHead JuceBasicsAudioPlayHead
#include <juce_gui_basics/juce_gui_basics.cpp>
#pragma pop_macro ("AudioPlayHead")
