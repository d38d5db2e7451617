// The component that holds the editor inside the host's window.
#include "JuceVSTWrapper.h"

#include <HostWindow.h>

// Message thread, like everything here.
JuceVSTWrapper::EditorCompWrapper::EditorCompWrapper(JuceVSTWrapper& wrapper, juce::AudioProcessorEditor* editor)
    : owner(wrapper)
{
    setOpaque(true);
    editor->setOpaque(true);
    setBounds(editor->getBounds());
    editor->setTopLeftPosition(0, 0);
    addAndMakeVisible(editor);
}

JuceVSTWrapper::EditorCompWrapper::~EditorCompWrapper()
{
    cancelPendingUpdate();
    deleteAllChildren(); // the editor goes with its holder
}

// Every repaint of the editor gives the host a chance of idle time while the
// user drags.
void JuceVSTWrapper::EditorCompWrapper::paintOverChildren(juce::Graphics&)
{
    triggerAsyncUpdate();
}

bool JuceVSTWrapper::EditorCompWrapper::keyPressed(const juce::KeyPress&)
{
    return juce::forwardCurrentKeyEventToHost(this);
}

void JuceVSTWrapper::EditorCompWrapper::resized()
{
    if (auto* child = getChildComponent(0))
        child->setBounds(getLocalBounds());
}

// The editor changed its size: the holder and the host's window follow. The
// holder stays at the top left of the host's window (X11 measures from the
// top, so the holder's y stays 0 whatever the height).
void JuceVSTWrapper::EditorCompWrapper::childBoundsChanged(juce::Component* child)
{
    if (child == nullptr)
        return;

    child->setTopLeftPosition(0, 0);
    const int w = child->getWidth();
    const int h = child->getHeight();

    setTopLeftPosition(0, 0);
    owner.resizeHostWindow(w, h);
    setSize(w, h);
    owner.resizeHostWindow(w, h);
}

void JuceVSTWrapper::EditorCompWrapper::handleAsyncUpdate()
{
    owner.tryMasterIdle();
}

juce::AudioProcessorEditor* JuceVSTWrapper::EditorCompWrapper::getEditorComp() const
{
    return dynamic_cast<juce::AudioProcessorEditor*>(getChildComponent(0));
}
