// The window system under a plug-in's editor: the host gives us its window
// (on Linux an X11 window id in place of the platform's view pointer) and we
// put our holder component into it as a child window.
//
// Message thread only, every function here.
#pragma once

#include <JuceHeader.h>

namespace juce
{
/** While one lives, X errors caused by the plug-in's requests are counted
    here instead of reaching the host's error handler, which may end the
    process (Xlib's default does). The GUI library's windows query
    window-manager properties whose atoms a bare X server lacks, and a host may
    destroy its window before the editor in it is closed; neither is worth a
    host's life. Nests: the outermost one installs the handler, syncs with the
    server and puts the host's handler back. Does nothing while the GUI
    library has no display open. */
class ScopedXErrorTrap
{
public:
    ScopedXErrorTrap();
    ~ScopedXErrorTrap();

    /** Syncs with the server; true when any request under the trap failed. */
    bool failed() const;

    ScopedXErrorTrap(const ScopedXErrorTrap&) = delete;
    ScopedXErrorTrap& operator=(const ScopedXErrorTrap&) = delete;

private:
    int errorsAtStart;
    bool active; // a display was open when the trap was set
};

/** Puts the component on the desktop as a child window of hostWindow, shows
    it and brings it to the front without taking focus. The default style,
    1024, makes the window ignore key presses, which stay with the host; 0
    lets the editor take keys. Answers hostWindow, or null when hostWindow is
    null or is no window on the display (then nothing is put on the
    desktop). */
void* attachComponentToWindowRef(Component* component, void* hostWindow,
                                 int styleFlags = ComponentPeer::windowIgnoresKeyPresses);

/** Takes the component off the desktop; its child window is destroyed. */
void detachComponentFromWindowRef(Component* component, void* hostWindow);

/** Grows or shrinks the host's window by the difference between the new size
    and the component's present size; the component itself is not touched. */
void setNativeHostWindowSize(void* hostWindow, Component* component, int newWidth, int newHeight);

/** Nothing to check on this window system. */
void checkWindowVisibility(void* hostWindow, Component* component);

/** Keys are never consumed: the host gets them. Answers false. */
bool forwardCurrentKeyEventToHost(Component* component);

/** Nothing to set up on this window system. */
void initialiseMac();

/** True when hostWindow names a window that exists on the display. */
bool isHostWindowValid(void* hostWindow);

/** Runs what the GUI library has pending: window-system events (mouse, expose,
    configure), posted messages, due timers, and any pending repaint of every
    window. Hosts do not run our event loop; this is how the editor gets time
    from the host's idle calls. */
void dispatchPendingGuiWork();

/** Makes a component just put on the desktop appear now, without waiting for
    the host's next idle call: flushes the window to the display and paints
    it. */
void paintComponentNow(Component* component);
} // namespace juce
