/* The window system's view objects for plug-in views: run-time classes of the
   object runtime with the platform's class names and selectors, on X11.

   Classes (messages are sent as PlatformObjCRuntime.h says; "-" marks an
   instance method with its argument and result types):

   NSObject       - init -> id; - dealloc; - retain -> id; - release;
                  - autorelease -> id; - respondsToSelector:(SEL) -> BOOL;
                  - conformsToProtocol:(Protocol*) -> BOOL
   NSView         - initWithFrame:(NSRect) -> id: also makes the view's own X11
                    window (unmapped, a child of the root until the view is
                    added to another view; none without a display);
                  - frame -> NSRect; - setFrame:(NSRect) (posts
                    NSViewFrameDidChangeNotification when asked to);
                  - isHidden -> BOOL; - setHidden:(BOOL);
                  - postsFrameChangedNotifications -> BOOL;
                  - setPostsFrameChangedNotifications:(BOOL);
                  - needsDisplay -> BOOL; - setNeedsDisplay:(BOOL);
                  - superview -> id; - window -> id;
                  - addSubview:(id) (retains it, puts its X11 window into this
                    one's, and sends viewDidMoveToWindow to every view whose
                    window changed); - removeFromSuperview (the reverse);
                  - viewDidMoveToWindow (nothing); - mouseDownCanMoveWindow ->
                    BOOL (YES); - keyDown:(id event) (passed to the superview)
   NSWindow       made by QvWindowCreateForX11Window around a host's X11 window;
                  - contentView -> id; - makeFirstResponder:(id) -> BOOL;
                  - firstResponder -> id; - acceptsMouseMovedEvents -> BOOL;
                  - setAcceptsMouseMovedEvents:(BOOL)
   NSEvent        made by QvEventCreateKeyDown; - timestamp -> double;
                  - keyCode -> unsigned short
   NSApplication  one instance, NSApp; - currentEvent -> id;
                  - sendEvent:(id) (the event becomes the current one)

   Protocol "AUCocoaUIBase" is registered, for view factories to adopt.

   Coordinates are the X11 ones: origin at the top left, y down.
   Threads: the host's main thread only. */
#ifndef QV_PLATFORM_APPKIT_H
#define QV_PLATFORM_APPKIT_H

#include "PlatformObjCRuntime.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef double CGFloat;
typedef double NSTimeInterval; /* seconds */

typedef struct NSPoint
{
    CGFloat x, y;
} NSPoint;

typedef struct NSSize
{
    CGFloat width, height;
} NSSize;

typedef struct NSRect
{
    NSPoint origin;
    NSSize size;
} NSRect;

QV_PLATFORM_STATIC_ASSERT(sizeof(NSRect) == 32, "NSRect is four doubles");

/* The shared application object. */
QV_PLATFORM_API extern id NSApp;

/* Notification names. */
QV_PLATFORM_API extern const CFStringRef NSApplicationWillTerminateNotification;
QV_PLATFORM_API extern const CFStringRef NSViewFrameDidChangeNotification;

/* ---- Ours: what a Linux host and plug-in need beyond the classes ------------ */

/* A window record around a host's X11 window, retained (objc_release it); its
   content view stands for that X11 window, which it never destroys. Nil when
   the id names no window on the display, or there is no display. */
QV_PLATFORM_API id QvWindowCreateForX11Window(unsigned long x11Window);

/* The view's X11 window id; 0 for nil, for an object that is no view, or for
   a view made without a display. A plug-in puts its own windows into it. */
QV_PLATFORM_API unsigned long QvViewGetX11Window(id view);

/* A key-down event, retained (objc_release it). */
QV_PLATFORM_API id QvEventCreateKeyDown(NSTimeInterval timestamp, UInt16 keyCode);

#ifdef __cplusplus
}
#endif

#endif
