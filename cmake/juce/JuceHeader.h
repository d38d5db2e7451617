// The one way the system includes JUCE.
//
// JUCE 7's audio-basics module declares its own juce::AudioPlayHead. The
// system defines juce::AudioPlayHead itself (with its own position record),
// so JUCE's class is renamed while its headers are read and nothing can
// resolve to it by accident.
#pragma once

#include "QvJuceConfig.h"

#pragma push_macro ("AudioPlayHead")
#undef AudioPlayHead
#define AudioPlayHead JuceBasicsAudioPlayHead

#include <juce_core/juce_core.h>
#include <juce_events/juce_events.h>
#include <juce_data_structures/juce_data_structures.h>
#include <juce_graphics/juce_graphics.h>
#include <juce_gui_basics/juce_gui_basics.h>
#include <juce_audio_basics/juce_audio_basics.h>

#pragma pop_macro ("AudioPlayHead")
