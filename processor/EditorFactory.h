#pragma once

#include "AudioProcessor.h"

class Quorvane2AudioProcessor;

/** Builds the editor that Quorvane2AudioProcessor::createEditor hands out.
    Defined with the editor (editor/Quorvane2AudioProcessorEditor.cpp), so the
    processor library needs nothing of the editor's but this. */
juce::AudioProcessorEditor* CreateProcessorEditor(Quorvane2AudioProcessor& processor);
