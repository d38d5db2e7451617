// The platform's view classes on the object runtime: NSObject, NSView,
// NSWindow, NSEvent and NSApplication, with each view's X11 window behind it.
#include "AppKitX11.h"
#include "ObjCRuntimeInternal.h"

#include "PlatformAppKit.h"

#include <algorithm>
#include <cmath>
#include <mutex>
#include <vector>

namespace
{
using qvobjc::send;

constexpr const char* kStateIvar = "_qvState";

Class sNSObject = Nil, sNSView = Nil, sNSWindow = Nil, sNSEvent = Nil, sNSApplication = Nil;

// What an NSView keeps, behind its one instance variable.
struct ViewState
{
    NSRect frame {};
    id superview = nullptr;       // not retained: it retains this view
    id window = nullptr;          // not retained
    std::vector<id> subviews;     // retained
    bool hidden = false;
    bool postsFrameChanged = false;
    bool needsDisplay = false;
    unsigned long x11Window = 0;
    bool ownsX11Window = true;    // false for a window's content view
};

struct WindowState
{
    id contentView = nullptr;     // retained
    id firstResponder = nullptr;  // not retained; cleared when it leaves the window
    bool acceptsMouseMoved = false;
};

struct EventState
{
    NSTimeInterval timestamp = 0; // seconds
    UInt16 keyCode = 0;
};

struct ApplicationState
{
    id currentEvent = nullptr;    // retained
};

bool isKindOf(id object, Class cls) noexcept
{
    for (Class c = object_getClass(object); c != Nil; c = class_getSuperclass(c))
        if (c == cls)
            return true;
    return false;
}

template <class State>
State* stateOf(id object, Class cls) noexcept
{
    if (! isKindOf(object, cls))
        return nullptr;
    void* state = nullptr;
    object_getInstanceVariable(object, kStateIvar, &state);
    return static_cast<State*>(state);
}

ViewState* view(id v) noexcept { return stateOf<ViewState>(v, sNSView); }
WindowState* window(id w) noexcept { return stateOf<WindowState>(w, sNSWindow); }
EventState* event(id e) noexcept { return stateOf<EventState>(e, sNSEvent); }
ApplicationState* application(id a) noexcept { return stateOf<ApplicationState>(a, sNSApplication); }

int px(CGFloat v) noexcept
{
    return std::isfinite(v) ? (int) std::lround(std::clamp(v, -32768.0, 32767.0)) : 0;
}

void callSuperDealloc(id self, Class cls)
{
    qvobjc::sendSuper<void>(cls, self, "dealloc");
}

template <class F>
void addMethod(Class cls, const char* selector, F function, const char* types)
{
    class_addMethod(cls, sel_registerName(selector), reinterpret_cast<IMP>(function), types);
}

// ---- NSObject -----------------------------------------------------------------

id objectInit(id self, SEL) { return self; }
void objectDealloc(id self, SEL) { object_dispose(self); }
id objectRetain(id self, SEL) { return objc_retain(self); }
void objectRelease(id self, SEL) { objc_release(self); }
id objectAutorelease(id self, SEL) { return objc_autorelease(self); }

BOOL objectRespondsToSelector(id self, SEL, SEL selector)
{
    return class_respondsToSelector(object_getClass(self), selector);
}

BOOL objectConformsToProtocol(id self, SEL, Protocol* protocol)
{
    for (Class c = object_getClass(self); c != Nil; c = class_getSuperclass(c))
        if (class_conformsToProtocol(c, protocol))
            return YES;
    return NO;
}

// ---- NSView ---------------------------------------------------------------------

void sendDidMoveToWindow(id v)
{
    send<void>(v, "viewDidMoveToWindow");
}

bool isInside(id v, id ancestor)
{
    for (id a = v; a != nullptr; a = view(a) != nullptr ? view(a)->superview : nullptr)
        if (a == ancestor)
            return true;
    return false;
}

// The view and its subviews take the new window; each whose window changed
// hears of it afterwards, outermost first.
void setWindowOfTree(id v, id newWindow)
{
    ViewState* s = view(v);
    if (s == nullptr)
        return;
    const id oldWindow = s->window;
    s->window = newWindow;
    if (oldWindow != newWindow)
    {
        // A view that leaves a window stops being its first responder.
        if (WindowState* w = window(oldWindow))
            if (w->firstResponder != nullptr && isInside(w->firstResponder, v))
                w->firstResponder = nullptr;
    }
    const std::vector<id> children = s->subviews;
    if (oldWindow != newWindow)
        sendDidMoveToWindow(v);
    for (id child : children)
        setWindowOfTree(child, newWindow);
}

// A view whose X11 window sits in its superview's is shown unless hidden; one
// without a superview is never mapped (it would be a top-level window).
void updateMapping(ViewState& s)
{
    qvx11::setMapped(s.x11Window, s.superview != nullptr && ! s.hidden);
}

// Takes a subview out of its superview's list and its X11 window out of the
// superview's; the caller releases it.
void detachFromSuperview(id v, ViewState& s)
{
    if (ViewState* parent = view(s.superview))
    {
        auto& list = parent->subviews;
        list.erase(std::remove(list.begin(), list.end(), v), list.end());
    }
    s.superview = nullptr;
    qvx11::setMapped(s.x11Window, false);
    qvx11::reparent(s.x11Window, 0, px(s.frame.origin.x), px(s.frame.origin.y));
}

id viewInitWithFrame(id self, SEL, NSRect frame)
{
    ViewState* s = view(self);
    if (s == nullptr)
    {
        s = new ViewState;
        object_setInstanceVariable(self, kStateIvar, s);
    }
    s->frame = frame;
    if (s->x11Window == 0)
        s->x11Window = qvx11::createWindow(px(frame.size.width), px(frame.size.height));
    return self;
}

id viewInit(id self, SEL cmd)
{
    return viewInitWithFrame(self, cmd, NSRect {});
}

void viewDealloc(id self, SEL)
{
    if (ViewState* s = view(self))
    {
        // The superview holds a reference while this view is in it, so only
        // subviews are left to let go of.
        const std::vector<id> children = s->subviews;
        for (id child : children)
        {
            if (ViewState* c = view(child))
            {
                detachFromSuperview(child, *c);
                setWindowOfTree(child, nullptr);
            }
            objc_release(child);
        }
        if (s->ownsX11Window)
            qvx11::destroyWindow(s->x11Window);
        delete s;
        object_setInstanceVariable(self, kStateIvar, nullptr);
    }
    callSuperDealloc(self, sNSView);
}

NSRect viewFrame(id self, SEL)
{
    ViewState* s = view(self);
    return s != nullptr ? s->frame : NSRect {};
}

void viewSetFrame(id self, SEL, NSRect frame)
{
    ViewState* s = view(self);
    if (s == nullptr)
        return;
    s->frame = frame;
    qvx11::moveResize(s->x11Window, px(frame.origin.x), px(frame.origin.y), px(frame.size.width),
                      px(frame.size.height));
    if (s->postsFrameChanged)
        CFNotificationCenterPostNotification(CFNotificationCenterGetLocalCenter(), NSViewFrameDidChangeNotification,
                                             self, nullptr, true);
}

// A view's flag read and written as a BOOL property; setHidden: also maps or
// unmaps the view's window.
template <bool ViewState::*flag>
BOOL viewFlag(id self, SEL)
{
    ViewState* s = view(self);
    return s != nullptr && s->*flag ? YES : NO;
}

template <bool ViewState::*flag>
void viewSetFlag(id self, SEL, BOOL value)
{
    if (ViewState* s = view(self))
    {
        s->*flag = value != NO;
        if (flag == &ViewState::hidden)
            updateMapping(*s);
    }
}

// The view it is in, and that view's window.
template <id ViewState::*link>
id viewLink(id self, SEL)
{
    ViewState* s = view(self);
    return s != nullptr ? s->*link : nullptr;
}

void viewRemoveFromSuperview(id self, SEL)
{
    ViewState* s = view(self);
    if (s == nullptr || s->superview == nullptr)
        return;
    detachFromSuperview(self, *s);
    setWindowOfTree(self, nullptr);
    objc_release(self);
}

void viewAddSubview(id self, SEL, id subview)
{
    ViewState* s = view(self);
    ViewState* sub = view(subview);
    // A view cannot hold itself or one of its own ancestors.
    if (s == nullptr || sub == nullptr || isInside(self, subview))
        return;

    objc_retain(subview);
    if (sub->superview != nullptr)
        viewRemoveFromSuperview(subview, nullptr);

    s->subviews.push_back(subview);
    sub->superview = self;
    if (s->x11Window != 0)
        qvx11::reparent(sub->x11Window, s->x11Window, px(sub->frame.origin.x), px(sub->frame.origin.y));
    updateMapping(*sub);
    setWindowOfTree(subview, s->window);
}

void viewDidMoveToWindow(id, SEL) {}

BOOL viewMouseDownCanMoveWindow(id, SEL)
{
    return YES;
}

// A view that does not handle a key passes it to its next responder.
void viewKeyDown(id self, SEL, id keyEvent)
{
    if (ViewState* s = view(self))
        if (s->superview != nullptr)
            send<void>(s->superview, "keyDown:", keyEvent);
}

// ---- NSWindow -------------------------------------------------------------------

void windowDealloc(id self, SEL)
{
    if (WindowState* w = window(self))
    {
        if (ViewState* content = view(w->contentView))
        {
            // Its subviews leave the window as the host's window goes.
            const std::vector<id> children = content->subviews;
            for (id child : children)
                viewRemoveFromSuperview(child, nullptr);
            content->window = nullptr;
        }
        objc_release(w->contentView);
        delete w;
        object_setInstanceVariable(self, kStateIvar, nullptr);
    }
    callSuperDealloc(self, sNSWindow);
}

id windowContentView(id self, SEL)
{
    WindowState* w = window(self);
    return w != nullptr ? w->contentView : nullptr;
}

BOOL windowMakeFirstResponder(id self, SEL, id responder)
{
    WindowState* w = window(self);
    if (w == nullptr)
        return NO;
    // A view of another window cannot answer for this one.
    if (ViewState* v = view(responder))
        if (v->window != self)
            return NO;
    w->firstResponder = responder;
    return YES;
}

id windowFirstResponder(id self, SEL)
{
    WindowState* w = window(self);
    return w != nullptr ? w->firstResponder : nullptr;
}

BOOL windowAcceptsMouseMoved(id self, SEL)
{
    WindowState* w = window(self);
    return w != nullptr && w->acceptsMouseMoved ? YES : NO;
}

void windowSetAcceptsMouseMoved(id self, SEL, BOOL accepts)
{
    if (WindowState* w = window(self))
        w->acceptsMouseMoved = accepts != NO;
}

// ---- NSEvent and NSApplication -------------------------------------------------

void eventDealloc(id self, SEL)
{
    delete event(self);
    object_setInstanceVariable(self, kStateIvar, nullptr);
    callSuperDealloc(self, sNSEvent);
}

NSTimeInterval eventTimestamp(id self, SEL)
{
    EventState* e = event(self);
    return e != nullptr ? e->timestamp : 0.0;
}

unsigned short eventKeyCode(id self, SEL)
{
    EventState* e = event(self);
    return e != nullptr ? e->keyCode : 0;
}

id applicationCurrentEvent(id self, SEL)
{
    ApplicationState* a = application(self);
    return a != nullptr ? a->currentEvent : nullptr;
}

void applicationSendEvent(id self, SEL, id newEvent)
{
    ApplicationState* a = application(self);
    if (a == nullptr || (newEvent != nullptr && event(newEvent) == nullptr))
        return;
    objc_retain(newEvent);
    objc_release(a->currentEvent);
    a->currentEvent = newEvent;
}

// ---- Registration ---------------------------------------------------------------

void registerAll()
{
    sNSObject = qvobjc::makePlatformClass(Nil, "NSObject");
    addMethod(sNSObject, "init", objectInit, "@@:");
    addMethod(sNSObject, "dealloc", objectDealloc, "v@:");
    addMethod(sNSObject, "retain", objectRetain, "@@:");
    addMethod(sNSObject, "release", objectRelease, "v@:");
    addMethod(sNSObject, "autorelease", objectAutorelease, "@@:");
    addMethod(sNSObject, "respondsToSelector:", objectRespondsToSelector, "c@::");
    addMethod(sNSObject, "conformsToProtocol:", objectConformsToProtocol, "c@:@");

    sNSView = qvobjc::makePlatformClass(sNSObject, "NSView", kStateIvar);
    addMethod(sNSView, "init", viewInit, "@@:");
    addMethod(sNSView, "initWithFrame:", viewInitWithFrame, "@@:{NSRect={NSPoint=dd}{NSSize=dd}}");
    addMethod(sNSView, "dealloc", viewDealloc, "v@:");
    addMethod(sNSView, "frame", viewFrame, "{NSRect={NSPoint=dd}{NSSize=dd}}@:");
    addMethod(sNSView, "setFrame:", viewSetFrame, "v@:{NSRect={NSPoint=dd}{NSSize=dd}}");
    addMethod(sNSView, "isHidden", viewFlag<&ViewState::hidden>, "c@:");
    addMethod(sNSView, "setHidden:", viewSetFlag<&ViewState::hidden>, "v@:c");
    addMethod(sNSView, "postsFrameChangedNotifications", viewFlag<&ViewState::postsFrameChanged>, "c@:");
    addMethod(sNSView, "setPostsFrameChangedNotifications:", viewSetFlag<&ViewState::postsFrameChanged>, "v@:c");
    addMethod(sNSView, "needsDisplay", viewFlag<&ViewState::needsDisplay>, "c@:");
    addMethod(sNSView, "setNeedsDisplay:", viewSetFlag<&ViewState::needsDisplay>, "v@:c");
    addMethod(sNSView, "superview", viewLink<&ViewState::superview>, "@@:");
    addMethod(sNSView, "window", viewLink<&ViewState::window>, "@@:");
    addMethod(sNSView, "addSubview:", viewAddSubview, "v@:@");
    addMethod(sNSView, "removeFromSuperview", viewRemoveFromSuperview, "v@:");
    addMethod(sNSView, "viewDidMoveToWindow", viewDidMoveToWindow, "v@:");
    addMethod(sNSView, "mouseDownCanMoveWindow", viewMouseDownCanMoveWindow, "c@:");
    addMethod(sNSView, "keyDown:", viewKeyDown, "v@:@");

    sNSWindow = qvobjc::makePlatformClass(sNSObject, "NSWindow", kStateIvar);
    addMethod(sNSWindow, "dealloc", windowDealloc, "v@:");
    addMethod(sNSWindow, "contentView", windowContentView, "@@:");
    addMethod(sNSWindow, "makeFirstResponder:", windowMakeFirstResponder, "c@:@");
    addMethod(sNSWindow, "firstResponder", windowFirstResponder, "@@:");
    addMethod(sNSWindow, "acceptsMouseMovedEvents", windowAcceptsMouseMoved, "c@:");
    addMethod(sNSWindow, "setAcceptsMouseMovedEvents:", windowSetAcceptsMouseMoved, "v@:c");

    sNSEvent = qvobjc::makePlatformClass(sNSObject, "NSEvent", kStateIvar);
    addMethod(sNSEvent, "dealloc", eventDealloc, "v@:");
    addMethod(sNSEvent, "timestamp", eventTimestamp, "d@:");
    addMethod(sNSEvent, "keyCode", eventKeyCode, "S@:");

    sNSApplication = qvobjc::makePlatformClass(sNSObject, "NSApplication", kStateIvar);
    addMethod(sNSApplication, "currentEvent", applicationCurrentEvent, "@@:");
    addMethod(sNSApplication, "sendEvent:", applicationSendEvent, "v@:@");

    // The protocol that Audio Unit view factories adopt.
    if (Protocol* p = objc_allocateProtocol("AUCocoaUIBase"))
        objc_registerProtocol(p);

    id app = class_createInstance(sNSApplication, 0);
    object_setInstanceVariable(app, kStateIvar, new ApplicationState);
    NSApp = app; // lives with the process
}

CFStringRef notificationName(const char* text)
{
    return CFStringCreateWithCString(nullptr, text, kCFStringEncodingUTF8);
}
} // namespace

namespace qvobjc
{
void ensurePlatformClasses()
{
    static std::once_flag once;
    std::call_once(once, registerAll);
}
} // namespace qvobjc

// Registered as the library loads, so that NSApp is there before anyone reads it.
__attribute__((constructor)) static void registerPlatformClassesAtLoad()
{
    qvobjc::ensurePlatformClasses();
}

extern "C" {

id NSApp = nullptr;
const CFStringRef NSApplicationWillTerminateNotification = notificationName("NSApplicationWillTerminateNotification");
const CFStringRef NSViewFrameDidChangeNotification = notificationName("NSViewFrameDidChangeNotification");

// Host main thread.
id QvWindowCreateForX11Window(unsigned long x11Window)
{
    qvobjc::ensurePlatformClasses();
    int width = 0, height = 0;
    if (x11Window == 0 || ! qvx11::windowSize(x11Window, width, height))
        return nullptr;

    id content = class_createInstance(sNSView, 0);
    auto* contentState = new ViewState;
    contentState->frame = NSRect { { 0, 0 }, { (CGFloat) width, (CGFloat) height } };
    contentState->x11Window = x11Window;
    contentState->ownsX11Window = false;
    object_setInstanceVariable(content, kStateIvar, contentState);

    id w = class_createInstance(sNSWindow, 0);
    auto* windowState = new WindowState;
    windowState->contentView = content;
    object_setInstanceVariable(w, kStateIvar, windowState);
    contentState->window = w;
    return w;
}

unsigned long QvViewGetX11Window(id v)
{
    ViewState* s = view(v);
    return s != nullptr ? s->x11Window : 0;
}

id QvEventCreateKeyDown(NSTimeInterval timestamp, UInt16 keyCode)
{
    qvobjc::ensurePlatformClasses();
    id e = class_createInstance(sNSEvent, 0);
    object_setInstanceVariable(e, kStateIvar, new EventState { timestamp, keyCode });
    return e;
}

} // extern "C"
