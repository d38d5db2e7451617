// Compiles JUCE's audio_basics module with the system's configuration.
#include "QvJuceConfig.h"
#pragma push_macro ("AudioPlayHead")
#undef AudioPlayHead
#define AudioPlayHead JuceBasicsAudioPlayHead
#include <juce_audio_basics/juce_audio_basics.cpp>
#pragma pop_macro ("AudioPlayHead")
