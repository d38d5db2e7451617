// The plug-in's AAX GUI object: shows the editor of the effect it belongs to
// inside the host's view container.
//
// On Linux a container of type 1 (the platform's native view elsewhere) gives
// the host's X11 window id as its pointer, and the editor goes into that
// window as a child window, as the VST2 editor does. A container of any other
// type gets the editor built but not put on screen.
//
// Host main thread, every operation. No operation lets an exception reach the
// host.
#pragma once

#include "JUCELibraryRefCount.h"

#include "AAX_CEffectGUI.h"

#include <AudioProcessor.h>

#include <memory>

namespace AAXClasses
{
class JuceAAX_Processor;

class JuceAAX_GUI : public AAX_CEffectGUI
{
public:
    JuceAAX_GUI();
    ~JuceAAX_GUI() override;

    /** The GUI create procedure of the description: one new object, or null
        when making it failed (nothing reaches the host). */
    static AAX_IEffectGUI* Create();

    void CreateViewContents() override;
    void CreateViewContainer() override;
    void DeleteViewContainer() override;
    AAX_Result GetViewSize(AAX_Point* size) const override;
    AAX_Result ParameterUpdated(AAX_CParamID id) override;
    AAX_Result SetControlHighlightInfo(AAX_CParamID id, AAX_CBoolean highlighted, AAX_EHighlightColor colour) override;

    /** The host's periodic call: on Linux no run loop of the platform feeds
        the editor, so its window events, timers and repaints run here. */
    AAX_Result TimerWakeup() override;

    /** The editor goes before the effect is let go of. */
    AAX_Result Uninitialize() override;

    /** Holds the editor inside the host's view. */
    class ContentWrapperComponent : public juce::Component
    {
    public:
        ContentWrapperComponent(JuceAAX_GUI& owner, juce::AudioProcessor& processor);
        ~ContentWrapperComponent() override;

        void paint(juce::Graphics& g) override;
        void childBoundsChanged(juce::Component* child) override;

        juce::AudioProcessorEditor* getEditor() const noexcept { return editor.get(); }

    private:
        std::unique_ptr<juce::AudioProcessorEditor> editor;
        JuceAAX_GUI& owner;

        JUCE_DECLARE_NON_COPYABLE(ContentWrapperComponent)
    };

    /** The wrapper, null while no view is made. */
    ContentWrapperComponent* getContent() const noexcept { return component.get(); }

private:
    std::unique_ptr<ContentWrapperComponent> component;   // deleted before libraryRefCount counts down
    JUCELibraryRefCount libraryRefCount;
    void* hostWindow = nullptr;                // the X11 window the wrapper is in; null while not on screen
    JuceAAX_Processor* shownEffect = nullptr;  // whose editor the wrapper shows
};
} // namespace AAXClasses
