#include "AudioProcessor.h"
#include "Quorvane2AudioProcessor.h"

// Kept in a file of its own: the one place that names the concrete processor.
juce::AudioProcessor* createPluginFilter()
{
    return new Quorvane2AudioProcessor();
}
