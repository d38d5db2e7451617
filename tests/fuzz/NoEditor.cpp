// The state fuzzer loads states into processors and never opens an editor;
// it is built without the editor library, so the processor's editor factory
// answers that there is none.
#include "EditorFactory.h"

juce::AudioProcessorEditor* CreateProcessorEditor(Quorvane2AudioProcessor&)
{
    return nullptr;
}
