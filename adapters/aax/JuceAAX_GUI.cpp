#include "JuceAAX_GUI.h"

#include "JuceAAX_Processor.h"

#include "AAX_Guard.h"

#include <HostWindow.h>

#include <atomic>

namespace AAXClasses
{
namespace
{
/** The container type whose pointer is the host's native view: on Linux its
    X11 window id. */
constexpr int32_t kNativeViewContainerType = 1;

/** The editor takes keys itself, as it does in the platform's native view. */
constexpr int kNoStyleFlags = 0;

// Wrappers alive in the process: while any is, its windows belong to the
// thread that made them.
std::atomic<int> liveWrappers { 0 };

/** The host's main thread becomes the GUI library's message thread when no
    view lives on another one. */
struct AdoptMessageThreadIfFree
{
    AdoptMessageThreadIfFree()
    {
        auto* mm = juce::MessageManager::getInstance();
        if (! mm->isThisTheMessageThread() && liveWrappers.load() == 0)
            mm->setCurrentThreadAsMessageThread();
    }
};

/** Runs a view operation on the message thread, with the message manager's
    lock held for the rest of the scope. */
class OnMessageThread : private AdoptMessageThreadIfFree
{
    const juce::MessageManagerLock lock;
};
} // namespace

//==============================================================================
JuceAAX_GUI::ContentWrapperComponent::ContentWrapperComponent(JuceAAX_GUI& o, juce::AudioProcessor& processor)
    : owner(o)
{
    setOpaque(true);
    setBroughtToFrontOnMouseClick(true);
    ++liveWrappers;

    editor.reset(processor.createEditorIfNeeded());
    if (editor != nullptr)
    {
        addAndMakeVisible(editor.get());
        setBounds(editor->getLocalBounds());
    }
}

// The processor hears of it before the editor goes.
JuceAAX_GUI::ContentWrapperComponent::~ContentWrapperComponent()
{
    if (editor != nullptr)
    {
        juce::PopupMenu::dismissAllActiveMenus();
        if (auto* processor = editor->getAudioProcessor())
            processor->editorBeingDeleted(editor.get());
        editor.reset();
    }
    --liveWrappers;
}

void JuceAAX_GUI::ContentWrapperComponent::paint(juce::Graphics& g)
{
    g.fillAll(juce::Colours::black);
}

// The editor changed its size: the wrapper follows and the host is told.
void JuceAAX_GUI::ContentWrapperComponent::childBoundsChanged(juce::Component*)
{
    if (editor == nullptr)
        return;

    const int width = editor->getWidth();
    const int height = editor->getHeight();
    setSize(width, height);

    AAX_Point size { float(height), float(width) };
    owner.GetViewContainer()->SetViewSize(size);
}

//==============================================================================
JuceAAX_GUI::JuceAAX_GUI() = default;

JuceAAX_GUI::~JuceAAX_GUI()
{
    AAX_Guarded([this] {
        DeleteViewContainer();
        return AAXStatus::success;
    });
}

AAX_IEffectGUI* JuceAAX_GUI::Create()
{
    try
    {
        return new JuceAAX_GUI();
    }
    catch (...)
    {
        return nullptr;   // the host calls this directly: nothing may reach it
    }
}

// Only an effect object of this plug-in has an editor to show, and only one
// view at a time shows it: a second view of the same effect gets none (two
// views of one editor would each own it).
void JuceAAX_GUI::CreateViewContents()
{
    if (component != nullptr)
        return;

    JuceAAX_Processor* effect = JuceAAX_Processor::findLiveEffect(GetEffectParameters());
    if (effect == nullptr || ! effect->attachView(this))
        return;

    try
    {
        const OnMessageThread onMessageThread;
        auto wrapper = std::make_unique<ContentWrapperComponent>(*this, effect->getPluginInstance());
        if (wrapper->getEditor() == nullptr)
        {
            effect->detachView(this);
            return;
        }
        component = std::move(wrapper);
        shownEffect = effect;
    }
    catch (...)
    {
        effect->detachView(this);
        throw;
    }
}

void JuceAAX_GUI::CreateViewContainer()
{
    CreateViewContents();
    if (component == nullptr || GetViewContainerType() != kNativeViewContainerType)
        return;

    const OnMessageThread onMessageThread;

    // A new container while the wrapper is still in the old one's window.
    if (hostWindow != nullptr)
    {
        juce::detachComponentFromWindowRef(component.get(), hostWindow);
        hostWindow = nullptr;
    }

    // A window id the display does not know leaves the wrapper off screen.
    hostWindow = juce::attachComponentToWindowRef(component.get(), GetViewContainerPtr(), kNoStyleFlags);
    if (hostWindow != nullptr)
        juce::paintComponentNow(component.get());   // drawn even before the host's first timer call
}

void JuceAAX_GUI::DeleteViewContainer()
{
    if (component == nullptr)
        return;

    const OnMessageThread onMessageThread;
    JUCE_AUTORELEASEPOOL
    {
        auto wrapper = std::move(component);   // component is null from here on
        if (hostWindow != nullptr)
            juce::detachComponentFromWindowRef(wrapper.get(), hostWindow);
        hostWindow = nullptr;
        wrapper.reset();   // the editor goes with it
    }

    if (shownEffect != nullptr)
        shownEffect->detachView(this);
    shownEffect = nullptr;
}

AAX_Result JuceAAX_GUI::GetViewSize(AAX_Point* size) const
{
    if (size == nullptr || component == nullptr)
        return AAXStatus::missingObject;
    size->horz = float(component->getWidth());
    size->vert = float(component->getHeight());
    return AAXStatus::success;
}

// The editor follows the processor, not the host's view.
AAX_Result JuceAAX_GUI::ParameterUpdated(AAX_CParamID)
{
    return AAXStatus::success;
}

AAX_Result JuceAAX_GUI::SetControlHighlightInfo(AAX_CParamID, AAX_CBoolean, AAX_EHighlightColor)
{
    return AAXStatus::success;
}

AAX_Result JuceAAX_GUI::TimerWakeup()
{
    return AAX_Guarded([this] {
        if (hostWindow != nullptr && juce::MessageManager::existsAndIsCurrentThread())
            juce::dispatchPendingGuiWork();
        return AAXStatus::success;
    });
}

// The base lets go of the effect object, which may be its last holder: the
// editor must be gone by then.
AAX_Result JuceAAX_GUI::Uninitialize()
{
    return AAX_Guarded([this] {
        DeleteViewContainer();
        return AAX_CEffectGUI::Uninitialize();
    });
}
} // namespace AAXClasses
