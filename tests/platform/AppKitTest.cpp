// The view objects, the notification centre and run loops: a view tree with
// its window, the messages a view gets as it moves, and (with a display) the
// X11 windows behind the views.
#include "ObjCMessage.h"
#include "PlatformAppKit.h"

#include <gtest/gtest.h>

#include <X11/Xlib.h>

#include <chrono>
#include <cstdlib>
#include <thread>
#include <vector>

namespace
{
using qvobjc::send;

// ---- A host's view class that records what reaches it ---------------------------

std::vector<id> moves;       // views told viewDidMoveToWindow, in order
std::vector<id> keyEvents;   // key events that reached a recording view

void recordMove(id self, SEL)
{
    moves.push_back(self);
}

void recordKey(id, SEL, id event)
{
    keyEvents.push_back(event);
}

Class recordingView()
{
    static Class cls = [] {
        Class c = objc_allocateClassPair(objc_getClass("NSView"), "QvTestRecordingView", 0);
        class_addMethod(c, sel_registerName("viewDidMoveToWindow"), reinterpret_cast<IMP>(recordMove), "v@:");
        class_addMethod(c, sel_registerName("keyDown:"), reinterpret_cast<IMP>(recordKey), "v@:@");
        objc_registerClassPair(c);
        return c;
    }();
    return cls;
}

id makeView(Class cls, double x, double y, double w, double h)
{
    return send<id>(class_createInstance(cls, 0), "initWithFrame:", NSRect { { x, y }, { w, h } });
}

// A connection of the test's own. An X server that resets when its last
// client leaves (Xvfb as xvfb-run starts it by default) drops connections
// that arrive during the reset: when another test's process closes the last
// one just as this test connects, XOpenDisplay fails at once. Tried again
// until it succeeds or a deadline passes; once open, the server cannot reset
// under the test.
Display* openDisplay()
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    for (;;)
    {
        if (Display* d = XOpenDisplay(nullptr))
            return d;
        if (std::chrono::steady_clock::now() > deadline)
            return nullptr;
        std::this_thread::yield();
    }
}

// A top-level X11 window of a host, on a connection of the test's own, open
// before the stand-in opens its own. Its requests about windows that are
// gone fail quietly.
struct HostX11Window
{
    Display* display = openDisplay();
    Window window = 0;

    static int ignoreError(Display*, XErrorEvent*) { return 0; }

    HostX11Window(int w, int h)
    {
        if (display == nullptr)
            return;
        XSetErrorHandler(ignoreError);
        window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, (unsigned) w, (unsigned) h, 0, 0, 0xffffff);
        XMapWindow(display, window);
        XSync(display, False);
    }
    ~HostX11Window()
    {
        if (display != nullptr)
        {
            if (window != 0)
                XDestroyWindow(display, window);
            XCloseDisplay(display);
        }
    }

    Window parentOf(Window w)
    {
        Window root = 0, parent = 0, *children = nullptr;
        unsigned n = 0;
        XQueryTree(display, w, &root, &parent, &children, &n);
        if (children != nullptr)
            XFree(children);
        return parent;
    }

    XWindowAttributes attributes(Window w)
    {
        XWindowAttributes a {};
        XGetWindowAttributes(display, w, &a);
        return a;
    }
};

bool hasDisplay()
{
    const char* d = std::getenv("DISPLAY");
    return d != nullptr && *d != '\0';
}

// ---- The view tree -----------------------------------------------------------------------

TEST(AppKitViews, TreeWindowAndMoveMessages)
{
    if (! hasDisplay())
        GTEST_SKIP() << "no display: run under xvfb-run (the test script does)";
    HostX11Window host(300, 200);
    ASSERT_NE(host.window, 0u);

    id window = QvWindowCreateForX11Window(host.window);
    ASSERT_NE(window, nullptr);
    id content = send<id>(window, "contentView");
    ASSERT_NE(content, nullptr);
    EXPECT_EQ(QvViewGetX11Window(content), host.window) << "the content view stands for the host's window";
    EXPECT_EQ(send<id>(content, "window"), window);
    const NSRect contentFrame = send<NSRect>(content, "frame");
    EXPECT_EQ(contentFrame.size.width, 300);
    EXPECT_EQ(contentFrame.size.height, 200);

    void* pool = objc_autoreleasePoolPush();
    id outer = makeView(recordingView(), 0, 0, 200, 100);
    id inner = makeView(recordingView(), 10, 20, 50, 40);
    send<void>(outer, "addSubview:", inner);
    objc_release(inner); // outer holds it now
    EXPECT_EQ(send<id>(inner, "superview"), outer);
    EXPECT_EQ(send<id>(inner, "window"), nullptr) << "no window yet";

    moves.clear();
    send<void>(content, "addSubview:", outer);
    ASSERT_EQ(moves.size(), 2u) << "both views heard of the window";
    EXPECT_EQ(moves[0], outer);
    EXPECT_EQ(moves[1], inner);
    EXPECT_EQ(send<id>(inner, "window"), window);

    // The X11 windows follow the tree: inner in outer, outer in the host's,
    // each at its frame and mapped.
    const Window outerX = QvViewGetX11Window(outer), innerX = QvViewGetX11Window(inner);
    ASSERT_NE(outerX, 0u);
    ASSERT_NE(innerX, 0u);
    EXPECT_EQ(host.parentOf(outerX), host.window);
    EXPECT_EQ(host.parentOf(innerX), outerX);
    XWindowAttributes a = host.attributes(innerX);
    EXPECT_EQ(a.x, 10);
    EXPECT_EQ(a.y, 20);
    EXPECT_EQ(a.width, 50);
    EXPECT_EQ(a.height, 40);
    EXPECT_EQ(a.map_state, IsViewable);

    send<void>(inner, "setHidden:", YES);
    EXPECT_EQ(host.attributes(innerX).map_state, IsUnmapped);
    send<void>(inner, "setHidden:", NO);
    EXPECT_EQ(host.attributes(innerX).map_state, IsViewable);

    send<void>(inner, "setFrame:", NSRect { { 5, 6 }, { 20, 10 } });
    a = host.attributes(innerX);
    EXPECT_EQ(a.x, 5);
    EXPECT_EQ(a.width, 20);
    EXPECT_EQ(a.height, 10);

    // First responder, and keys passed up to the host's view.
    EXPECT_TRUE(send<BOOL>(window, "makeFirstResponder:", inner));
    EXPECT_EQ(send<id>(window, "firstResponder"), inner);
    id strange = makeView(objc_getClass("NSView"), 0, 0, 1, 1);
    EXPECT_FALSE(send<BOOL>(window, "makeFirstResponder:", strange)) << "a view of no window";
    objc_autorelease(strange);

    keyEvents.clear();
    id key = QvEventCreateKeyDown(12.5, 36);
    // A plain view passes the key to its superview.
    id plain = makeView(objc_getClass("NSView"), 0, 0, 5, 5);
    send<void>(outer, "addSubview:", plain);
    objc_release(plain);
    send<void>(plain, "keyDown:", key);
    ASSERT_EQ(keyEvents.size(), 1u);
    EXPECT_EQ(keyEvents[0], key);
    EXPECT_EQ(send<double>(key, "timestamp"), 12.5);
    EXPECT_EQ(send<unsigned short>(key, "keyCode"), 36);

    // Out of the window: the first responder goes, the X11 window is the
    // root's again, unmapped.
    moves.clear();
    send<void>(outer, "removeFromSuperview");
    EXPECT_EQ(send<id>(window, "firstResponder"), nullptr);
    EXPECT_EQ(send<id>(inner, "window"), nullptr);
    EXPECT_EQ(moves.size(), 2u);
    EXPECT_EQ(host.parentOf(outerX), DefaultRootWindow(host.display));
    EXPECT_EQ(host.attributes(outerX).map_state, IsUnmapped);

    objc_release(key);
    objc_release(outer); // its last reference: outer, inner and plain go
    objc_autoreleasePoolPop(pool);
    XSync(host.display, False);
    XWindowAttributes gone {};
    EXPECT_EQ(XGetWindowAttributes(host.display, outerX, &gone), 0) << "the view's X11 window is destroyed";

    objc_release(window);
    EXPECT_NE(host.attributes(host.window).width, 0) << "the host's own window stays";
}

TEST(AppKitViews, WindowOnlyForAWindowThatExists)
{
    EXPECT_EQ(QvWindowCreateForX11Window(0), nullptr);
    EXPECT_EQ(QvViewGetX11Window(nullptr), 0u);
    EXPECT_EQ(QvViewGetX11Window(NSApp), 0u) << "not a view";
    if (! hasDisplay())
        return;

    // The id of a window that the test's connection made and destroyed names
    // no window: the connection never hands it out again, and no other client
    // on the display can have it.
    HostX11Window host(40, 30);
    ASSERT_NE(host.window, 0u);
    const Window destroyed = host.window;
    id live = QvWindowCreateForX11Window(destroyed);
    ASSERT_NE(live, nullptr) << "the stand-in reaches the display while the window is there";
    EXPECT_EQ(send<NSRect>(send<id>(live, "contentView"), "frame").size.width, 40);
    objc_release(live);

    XDestroyWindow(host.display, destroyed);
    XSync(host.display, False);
    host.window = 0;
    EXPECT_EQ(QvWindowCreateForX11Window(destroyed), nullptr) << "an id that names no window";
}

TEST(AppKitViews, CurrentEventOfTheApplication)
{
    ASSERT_NE(NSApp, nullptr);
    id first = QvEventCreateKeyDown(1.0, 0);
    send<void>(NSApp, "sendEvent:", first);
    EXPECT_EQ(send<id>(NSApp, "currentEvent"), first);
    objc_release(first); // the application keeps its own reference
    EXPECT_EQ(send<double>(send<id>(NSApp, "currentEvent"), "timestamp"), 1.0);

    send<void>(NSApp, "sendEvent:", static_cast<id>(nullptr));
    EXPECT_EQ(send<id>(NSApp, "currentEvent"), nullptr);
}

TEST(AppKitViews, FramePostsANotificationWhenAsked)
{
    struct Heard
    {
        int count = 0;
        const void* object = nullptr;
    } heard;
    auto callback = [](CFNotificationCenterRef, void* observer, CFNotificationName, const void* object, CFDictionaryRef) {
        auto& h = *static_cast<Heard*>(observer);
        ++h.count;
        h.object = object;
    };
    CFNotificationCenterRef centre = CFNotificationCenterGetLocalCenter();
    CFNotificationCenterAddObserver(centre, &heard, callback, NSViewFrameDidChangeNotification, nullptr,
                                    CFNotificationSuspensionBehaviorDeliverImmediately);

    void* pool = objc_autoreleasePoolPush();
    id view = objc_autorelease(makeView(objc_getClass("NSView"), 0, 0, 10, 10));
    send<void>(view, "setFrame:", NSRect { { 0, 0 }, { 20, 20 } });
    EXPECT_EQ(heard.count, 0) << "not asked to post";
    send<void>(view, "setPostsFrameChangedNotifications:", YES);
    send<void>(view, "setFrame:", NSRect { { 0, 0 }, { 30, 20 } });
    EXPECT_EQ(heard.count, 1);
    EXPECT_EQ(heard.object, view);
    EXPECT_EQ(send<NSRect>(view, "frame").size.width, 30);
    objc_autoreleasePoolPop(pool);

    CFNotificationCenterRemoveEveryObserver(centre, &heard);
}

// ---- The notification centre ---------------------------------------------------------

struct Observer
{
    int calls = 0;
    bool removeSecondWhenCalled = false;
    Observer* second = nullptr;
};

void observe(CFNotificationCenterRef centre, void* observer, CFNotificationName, const void*, CFDictionaryRef)
{
    auto& o = *static_cast<Observer*>(observer);
    ++o.calls;
    if (o.removeSecondWhenCalled)
        CFNotificationCenterRemoveEveryObserver(centre, o.second);
}

TEST(NotificationCentre, NamesObjectsAndRemoval)
{
    CFNotificationCenterRef centre = CFNotificationCenterGetLocalCenter();
    ASSERT_EQ(centre, CFNotificationCenterGetLocalCenter()) << "one centre";
    CFStringRef ping = CFStringCreateWithCString(nullptr, "QvPing", kCFStringEncodingUTF8);
    CFStringRef pong = CFStringCreateWithCString(nullptr, "QvPong", kCFStringEncodingUTF8);
    int sender = 0, otherSender = 0;

    Observer byName, byObject, everything, removed;
    byName.removeSecondWhenCalled = true;
    byName.second = &removed;
    CFNotificationCenterAddObserver(centre, &byName, observe, ping, nullptr, 4);
    CFNotificationCenterAddObserver(centre, &removed, observe, ping, nullptr, 4);
    CFNotificationCenterAddObserver(centre, &byObject, observe, ping, &sender, 4);
    CFNotificationCenterAddObserver(centre, &everything, observe, nullptr, nullptr, 4);

    CFNotificationCenterPostNotification(centre, ping, &otherSender, nullptr, true);
    EXPECT_EQ(byName.calls, 1);
    EXPECT_EQ(removed.calls, 0) << "removed by an earlier callback of the same post";
    EXPECT_EQ(byObject.calls, 0) << "another sender";
    EXPECT_EQ(everything.calls, 1);

    CFNotificationCenterPostNotification(centre, ping, &sender, nullptr, true);
    EXPECT_EQ(byObject.calls, 1);
    CFNotificationCenterPostNotification(centre, pong, &sender, nullptr, true);
    EXPECT_EQ(byName.calls, 2);
    EXPECT_EQ(everything.calls, 3);

    CFNotificationCenterRemoveObserver(centre, &everything, pong, nullptr);
    CFNotificationCenterPostNotification(centre, ping, &sender, nullptr, true);
    EXPECT_EQ(everything.calls, 4) << "the registration for every name is not the one for pong";
    CFNotificationCenterRemoveObserver(centre, &everything, nullptr, nullptr);
    CFNotificationCenterPostNotification(centre, ping, &sender, nullptr, true);
    EXPECT_EQ(everything.calls, 4);

    for (Observer* o : { &byName, &byObject })
        CFNotificationCenterRemoveEveryObserver(centre, o);
    CFRelease(ping);
    CFRelease(pong);
}

// ---- Run loops ------------------------------------------------------------------------------

TEST(RunLoop, TimersFireWhileTheLoopRuns)
{
    struct Count
    {
        int fired = 0;
    } repeating, once;
    auto tick = [](CFRunLoopTimerRef, void* info) { ++static_cast<Count*>(info)->fired; };

    CFRunLoopRef loop = CFRunLoopGetCurrent();
    EXPECT_EQ(loop, CFRunLoopGetMain()) << "the test runs on the main thread";
    EXPECT_EQ(CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0.01, false), kCFRunLoopRunFinished) << "no timer: finished";

    CFRunLoopTimerContext context { 0, &repeating, nullptr, nullptr, nullptr };
    const CFAbsoluteTime now = CFAbsoluteTimeGetCurrent();
    CFRunLoopTimerRef every10ms = CFRunLoopTimerCreate(nullptr, now + 0.01, 0.01, 0, 0, tick, &context);
    context.info = &once;
    CFRunLoopTimerRef single = CFRunLoopTimerCreate(nullptr, now + 0.02, 0, 0, 0, tick, &context);
    CFRunLoopAddTimer(loop, every10ms, kCFRunLoopCommonModes);
    CFRunLoopAddTimer(loop, single, kCFRunLoopDefaultMode);
    EXPECT_TRUE(CFRunLoopContainsTimer(loop, single, kCFRunLoopDefaultMode));

    EXPECT_EQ(CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0.105, false), kCFRunLoopRunTimedOut);
    EXPECT_GE(repeating.fired, 5) << "about ten in 105 ms";
    EXPECT_LE(repeating.fired, 11);
    EXPECT_EQ(once.fired, 1);
    EXPECT_FALSE(CFRunLoopTimerIsValid(single)) << "a timer without interval fires once";
    EXPECT_FALSE(CFRunLoopContainsTimer(loop, single, kCFRunLoopDefaultMode));

    CFRunLoopTimerInvalidate(every10ms);
    const int before = repeating.fired;
    EXPECT_EQ(CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0.03, false), kCFRunLoopRunFinished);
    EXPECT_EQ(repeating.fired, before) << "an invalidated timer never fires again";
    CFRelease(every10ms);
    CFRelease(single);
}
} // namespace
