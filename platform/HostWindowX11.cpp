// The host-window functions on X11. The host hands us its window's id where
// the platform would hand a view pointer; our holder becomes an X child
// window of it, created on the GUI library's own display connection, and
// every Xlib call goes through the GUI library's loaded symbols, so the
// plug-in needs no X library to load (hosts scan plug-ins without a display).
#define JUCE_GUI_BASICS_INCLUDE_XHEADERS 1
#include "HostWindow.h"

#include <juce_events/native/juce_linux_EventLoopInternal.h>

namespace juce
{
// The GUI library's own dispatch of one pending message or window-system
// event; answers false when nothing was pending.
bool dispatchNextMessageOnSystemQueue(bool returnIfNoPendingMessages);

namespace
{
// Bounded, so a flood of events cannot keep a host's idle call for long.
constexpr int kMaxDispatchesPerCall = 512;

// The GUI library's display, opened if it is not yet.
::Display* guiDisplay()
{
    auto* windowSystem = XWindowSystem::getInstance();
    return windowSystem != nullptr ? windowSystem->getDisplay() : nullptr;
}

// The GUI library's display if it has one open already, else null.
::Display* openDisplay()
{
    return XWindowSystem::getInstanceWithoutCreating() != nullptr ? guiDisplay() : nullptr;
}

::Window toWindow(void* hostWindow)
{
    return static_cast<::Window>(reinterpret_cast<uintptr_t>(hostWindow));
}

//==============================================================================
int trapDepth = 0;         // message thread
int trappedErrors = 0;     // errors seen by the trap's handler since the process began
XErrorHandler hostHandler {};

int countTrappedError(::Display*, XErrorEvent*)
{
    ++trappedErrors;
    return 0;
}

void syncDisplay()
{
    if (auto* display = openDisplay())
        X11Symbols::getInstance()->xSync(display, False);
}
} // namespace

// Only while the GUI library has a display open: without one no request can
// fail, and the X library's symbols are not loaded for nothing.
ScopedXErrorTrap::ScopedXErrorTrap()
    : errorsAtStart(trappedErrors), active(openDisplay() != nullptr)
{
    if (! active || trapDepth++ > 0)
        return;
    syncDisplay(); // errors from before the trap are the host's business
    hostHandler = X11Symbols::getInstance()->xSetErrorHandler(countTrappedError);
}

ScopedXErrorTrap::~ScopedXErrorTrap()
{
    if (! active || --trapDepth > 0)
        return;
    syncDisplay();
    X11Symbols::getInstance()->xSetErrorHandler(hostHandler);
    hostHandler = {};
}

bool ScopedXErrorTrap::failed() const
{
    syncDisplay();
    return trappedErrors != errorsAtStart;
}

//==============================================================================
bool isHostWindowValid(void* hostWindow)
{
    if (hostWindow == nullptr)
        return false;

    auto* display = guiDisplay();
    if (display == nullptr)
        return false;

    // An id that names no window makes the request fail (status 0), with an
    // X error that the trap keeps from the host (the display is open by now).
    XWindowAttributes attributes {};
    XWindowSystemUtilities::ScopedXLock xLock;
    ScopedXErrorTrap trap;
    const Status ok = X11Symbols::getInstance()->xGetWindowAttributes(display, toWindow(hostWindow), &attributes);
    return ok != 0 && ! trap.failed();
}

void* attachComponentToWindowRef(Component* component, void* hostWindow, int styleFlags)
{
    if (component == nullptr || ! isHostWindowValid(hostWindow))
        return nullptr;

    // Window-manager properties that the GUI library sets on every window can
    // name atoms a bare X server lacks; such a failure is harmless.
    ScopedXErrorTrap trap;
    component->addToDesktop(styleFlags, hostWindow);
    component->setVisible(true);
    component->toFront(false);
    return hostWindow;
}

// The host may have destroyed its window (and ours with it) already.
void detachComponentFromWindowRef(Component* component, void*)
{
    if (component == nullptr)
        return;

    const ScopedXErrorTrap trap;
    component->removeFromDesktop();
}

void setNativeHostWindowSize(void* hostWindow, Component* component, int newWidth, int newHeight)
{
    if (hostWindow == nullptr || component == nullptr)
        return;

    auto* display = guiDisplay();
    if (display == nullptr)
        return;

    XWindowSystemUtilities::ScopedXLock xLock;
    ScopedXErrorTrap trap;
    XWindowAttributes attributes {};
    if (X11Symbols::getInstance()->xGetWindowAttributes(display, toWindow(hostWindow), &attributes) == 0
        || trap.failed())
        return;

    const int width = attributes.width + newWidth - component->getWidth();
    const int height = attributes.height + newHeight - component->getHeight();
    if (width > 0 && height > 0)
        X11Symbols::getInstance()->xResizeWindow(display, toWindow(hostWindow), (unsigned) width, (unsigned) height);
    X11Symbols::getInstance()->xFlush(display);
}

void checkWindowVisibility(void*, Component*) {}

bool forwardCurrentKeyEventToHost(Component*) { return false; }

void initialiseMac() {}

namespace
{
// Xlib reads every event that has arrived whenever it waits for a reply (the
// error trap's XSync does, and so do the GUI library's own round trips) and
// keeps them in its queue, where a poll on the connection no longer sees
// them. Left there, an expose that came in meanwhile would never be painted
// (the editor opened before the host showed its window stays blank): such
// events go to the GUI library's reader of the connection directly.
// Answers whether any was taken from the queue.
bool dispatchQueuedXEvents(::Display* display)
{
    if (display == nullptr)
        return false;

    const auto queued = [display]
    {
        XWindowSystemUtilities::ScopedXLock xLock;
        return X11Symbols::getInstance()->xEventsQueued(display, QueuedAlready);
    };

    const int before = queued();
    if (before <= 0)
        return false;

    LinuxEventLoopInternal::invokeEventLoopCallbackForFd(X11Symbols::getInstance()->xConnectionNumber(display));
    return queued() < before;
}

void dispatchAll(::Display* display)
{
    for (int i = 0; i < kMaxDispatchesPerCall; ++i)
    {
        const bool dispatchedMessage = dispatchNextMessageOnSystemQueue(true);
        const bool dispatchedQueued = dispatchQueuedXEvents(display);
        if (! dispatchedMessage && ! dispatchedQueued)
            break;
    }

    Timer::callPendingTimersSynchronously();

    for (int i = ComponentPeer::getNumPeers(); --i >= 0;)
        if (auto* peer = ComponentPeer::getPeer(i))
            peer->performAnyPendingRepaintsNow();
}
} // namespace

void dispatchPendingGuiWork()
{
    const ScopedXErrorTrap trap; // stands aside while no display is open
    dispatchAll(openDisplay());
}

void paintComponentNow(Component* component)
{
    auto* display = guiDisplay();
    if (component == nullptr || display == nullptr)
        return;

    ScopedXErrorTrap trap;
    component->repaint();
    dispatchAll(display);

    if (auto* peer = component->getPeer())
        peer->performAnyPendingRepaintsNow();
}
} // namespace juce
