// The plug-in's exported entry points: the only symbols the shared object
// shows a host.
#include "JuceVSTWrapper.h"
#include "VstOpcodes.h"

#include <memory>

namespace
{
// Host thread that loads the plug-in.
AEffect* pluginEntryPoint(HostCallback hostCallback)
{
    // No callback: no host to answer the version query, nor anything later.
    if (hostCallback == nullptr)
        return nullptr;

    std::unique_ptr<juce::AudioProcessor> processor;

    try
    {
        // On every entry. On Linux this makes the message manager only; the
        // X display is opened when a window is first needed, so a host
        // without a display can load the plug-in.
        juce::initialiseJuce_GUI();

        if (hostCallback(nullptr, HostOpcode::version, 0, 0, nullptr, 0.0f) == 0)
            return nullptr;

        processor.reset(createPluginFilterOfType(juce::AudioProcessor::wrapperType_VST));
        if (processor == nullptr)
            return nullptr;

        auto* wrapper = new JuceVSTWrapper(hostCallback, processor.get());
        processor.release(); // the wrapper owns it now
        return wrapper->getAeffect();
    }
    catch (...)
    {
        // The processor, if made, goes with the unique_ptr.
        return nullptr;
    }
}
} // namespace

// main_macho is the same entry under the name older hosts look for.
extern "C" __attribute__((visibility("default"))) AEffect* VSTPluginMain(HostCallback hostCallback)
{
    return pluginEntryPoint(hostCallback);
}

extern "C" __attribute__((visibility("default"))) AEffect* main_macho(HostCallback hostCallback)
{
    return pluginEntryPoint(hostCallback);
}
