// The editor in a host's view: the view-factory class that a host finds
// through the Cocoa-view property, the view class whose instances it hands
// out, both made at run time under random names so that several copies of the
// plug-in in one process never clash, and the holder component between such a
// view and the processor's editor.
//
// On Linux each view carries an X11 window; the holder becomes a child window
// of it, and the GUI library gets its turns from a timer on the host's main
// run loop while any view lives.
//
// Host main thread (the GUI library's message thread), all of it.
#include "JuceAU.h"

#include <HostType.h>

#include <HostWindow.h>

#include "ObjCMessage.h"
#include "PlatformAppKit.h"

#include <climits>
#include <cstdlib>
#include <dlfcn.h>

using qvobjc::send;

namespace
{
constexpr const char* kFilterIvar = "filter";   // juce::AudioProcessor*, not owned
constexpr const char* kAuIvar = "au";           // JuceAU*, not owned
constexpr const char* kEditorIvar = "editor";   // JuceAU::EditorCompHolder*, owned
constexpr uint8_t kPointerAlignment = 3;        // log2 of 8 bytes

constexpr CFTimeInterval kGuiWorkInterval = 0.01; // seconds between the GUI library's turns
constexpr UInt32 kFactoryInterfaceVersion = 0;

// A class made at run time, disposed of at process exit.
struct RuntimeClass
{
    Class cls = Nil;
    CFStringRef description = nullptr; // the factory's answer to "description"

    ~RuntimeClass()
    {
        if (cls != Nil)
            objc_disposeClassPair(cls);
        if (description != nullptr)
            CFRelease(description);
    }
};

// Lower-case hexadecimal text of a 64-bit random number.
juce::String randomSuffix()
{
    return juce::String::toHexString(juce::Random::getSystemRandom().nextInt64());
}

template <class T>
T* ivarOf(id view, const char* name)
{
    void* value = nullptr;
    object_getInstanceVariable(view, name, &value);
    return static_cast<T*>(value);
}

template <class F>
void addMethod(Class cls, const char* selector, F function, const char* types)
{
    class_addMethod(cls, sel_registerName(selector), reinterpret_cast<IMP>(function), types);
}

// ---- The GUI library's turns on the run loop ------------------------------------

CFRunLoopTimerRef guiWorkTimer = nullptr;

void doGuiWork(CFRunLoopTimerRef, void*)
{
    if (juce::MessageManager::existsAndIsCurrentThread())
        juce::dispatchPendingGuiWork();
}

void startGuiWork()
{
    if (guiWorkTimer != nullptr)
        return;
    guiWorkTimer = CFRunLoopTimerCreate(nullptr, CFAbsoluteTimeGetCurrent() + kGuiWorkInterval, kGuiWorkInterval, 0, 0,
                                        doGuiWork, nullptr);
    CFRunLoopAddTimer(CFRunLoopGetMain(), guiWorkTimer, kCFRunLoopCommonModes);
}

void stopGuiWork()
{
    if (guiWorkTimer == nullptr)
        return;
    CFRunLoopTimerInvalidate(guiWorkTimer);
    CFRelease(guiWorkTimer);
    guiWorkTimer = nullptr;
}

// ---- The view class ------------------------------------------------------------

Class viewClass();

void deleteEditor(id view)
{
    auto* holder = ivarOf<JuceAU::EditorCompHolder>(view, kEditorIvar);
    if (holder == nullptr)
        return;

    // The host may have destroyed its window, and ours with it, already.
    const juce::ScopedXErrorTrap trap;

    // A processor whose unit is gone is never touched.
    auto* filter = ivarOf<juce::AudioProcessor>(view, kFilterIvar);
    if (auto* editor = dynamic_cast<juce::AudioProcessorEditor*>(holder->getChildComponent(0)))
        if (JuceAU::activePlugins.contains(ivarOf<JuceAU>(view, kAuIvar)))
            filter->editorBeingDeleted(editor);

    object_setInstanceVariable(view, kEditorIvar, nullptr);
    juce::detachComponentFromWindowRef(holder, reinterpret_cast<void*>(QvViewGetX11Window(view)));
    delete holder; // and the editor with it
}

void shutdown(id view)
{
    CFNotificationCenterRemoveEveryObserver(CFNotificationCenterGetLocalCenter(), view);
    deleteEditor(view);
    JuceAU::activeUIs.removeFirstMatchingValue(view);
    if (JuceAU::activeUIs.isEmpty())
        stopGuiWork();
    if (JuceAU::activePlugins.isEmpty() && JuceAU::activeUIs.isEmpty())
        juce::shutdownJuce_GUI();
}

// Every method below is called by a host through the runtime: nothing thrown
// may get out.
template <class Body>
void guarded(Body&& body) noexcept
{
    try
    {
        body();
    }
    catch (...)
    {
    }
}

void viewDealloc(id self, SEL)
{
    guarded([self] {
        if (JuceAU::activeUIs.contains(self))
            shutdown(self);
    });
    qvobjc::sendSuper<void>(viewClass(), self, "dealloc");
}

void viewApplicationWillTerminate(id self, SEL, id)
{
    guarded([self] { shutdown(self); });
}

void viewDidMoveToWindow(id self, SEL)
{
    guarded([self] {
        id window = send<id>(self, "window");
        if (window == nullptr)
            return;
        send<void>(window, "setAcceptsMouseMovedEvents:", YES);
        if (auto* holder = ivarOf<JuceAU::EditorCompHolder>(self, kEditorIvar))
        {
            const juce::ScopedXErrorTrap trap;
            // The holder's own window sits inside this view, which answers
            // for it to the host's window.
            send<BOOL>(window, "makeFirstResponder:", self);
            // Now on screen: drawn at once, not at the next turn.
            juce::paintComponentNow(holder);
        }
    });
}

BOOL viewMouseDownCanMoveWindow(id, SEL)
{
    return NO;
}

// The notification centre's call for NSApplicationWillTerminateNotification.
void applicationWillTerminate(CFNotificationCenterRef, void* observer, CFNotificationName, const void*, CFDictionaryRef)
{
    send<void>(static_cast<id>(observer), "applicationWillTerminate:", static_cast<id>(nullptr));
}

Class viewClass()
{
    static RuntimeClass view;
    if (view.cls != Nil)
        return view.cls;

    const juce::String name = "JUCEAUView_" + randomSuffix();
    Class cls = objc_allocateClassPair(objc_getClass("NSView"), name.toRawUTF8(), 0);
    if (cls == Nil)
        return Nil;
    for (const char* ivar : { kFilterIvar, kAuIvar, kEditorIvar })
        class_addIvar(cls, ivar, sizeof(void*), kPointerAlignment, "^v");
    addMethod(cls, "dealloc", viewDealloc, "v@:");
    addMethod(cls, "applicationWillTerminate:", viewApplicationWillTerminate, "v@:@");
    addMethod(cls, "viewDidMoveToWindow", viewDidMoveToWindow, "v@:");
    addMethod(cls, "mouseDownCanMoveWindow", viewMouseDownCanMoveWindow, "c@:");
    objc_registerClassPair(cls);
    view.cls = cls;
    return cls;
}

// The view that holds a holder: the superview of the holder's own window.
id viewHolding(const JuceAU::EditorCompHolder* holder)
{
    for (id view : JuceAU::activeUIs)
        if (ivarOf<JuceAU::EditorCompHolder>(view, kEditorIvar) == holder)
            return view;
    return nullptr;
}

// ---- The view-factory class ----------------------------------------------------------

RuntimeClass& factory();

UInt32 factoryInterfaceVersion(id, SEL)
{
    return kFactoryInterfaceVersion;
}

id factoryDescription(id, SEL)
{
    return reinterpret_cast<id>(const_cast<void*>(static_cast<const void*>(factory().description)));
}

id factoryViewForAudioUnit(id, SEL, AudioUnit unit, NSSize)
{
    id view = nullptr;
    guarded([&] {
        JuceAU::ViewLink link {};
        UInt32 size = sizeof(link);
        if (AudioUnitGetProperty(unit, JuceAU::kViewLinkProperty, kAudioUnitScope_Global, 0, &link, &size) != 0
            || size != sizeof(link) || link.processor == nullptr)
            return;
        // Only a unit of this copy of the plug-in: another copy (or another
        // plug-in answering the same property) has other classes.
        if (! JuceAU::activePlugins.contains(link.unit) || link.unit->getProcessor() != link.processor)
            return;
        // A new editor makes its look and feel the default, which every open
        // window of every unit hears of.
        const juce::ScopedXErrorTrap trap;
        if (auto* editor = link.processor->createEditorIfNeeded())
            view = JuceAU::EditorCompHolder::createViewFor(link.processor, link.unit, editor);
    });
    return view;
}

RuntimeClass& factory()
{
    static RuntimeClass factoryClass;
    if (factoryClass.cls != Nil)
        return factoryClass;

    const juce::String name = "JUCE_AUCocoaViewClass_" + randomSuffix();
    Class cls = objc_allocateClassPair(objc_getClass("NSObject"), name.toRawUTF8(), 0);
    if (cls == Nil)
        return factoryClass;
    addMethod(cls, "interfaceVersion", factoryInterfaceVersion, "I@:");
    addMethod(cls, "description", factoryDescription, "@@:");
    addMethod(cls, "uiViewForAudioUnit:withSize:", factoryViewForAudioUnit, "@@:^v{NSSize=dd}");
    class_addProtocol(cls, objc_getProtocol("AUCocoaUIBase"));
    objc_registerClassPair(cls);
    factoryClass.description = CFStringCreateWithCString(nullptr, "Quorvane2", kCFStringEncodingUTF8);
    factoryClass.cls = cls;
    return factoryClass;
}

// The file this plug-in was loaded from, as a file URL; null when it cannot
// be told.
CFURLRef bundleLocation()
{
    Dl_info info {};
    if (dladdr(reinterpret_cast<void*>(&JuceAU::GetCocoaViewInfo), &info) == 0 || info.dli_fname == nullptr)
        return nullptr;
    char resolved[PATH_MAX];
    const char* path = realpath(info.dli_fname, resolved) != nullptr ? resolved : info.dli_fname;
    CFStringRef text = CFStringCreateWithCString(nullptr, path, kCFStringEncodingUTF8);
    if (text == nullptr)
        return nullptr;
    CFURLRef url = CFURLCreateWithFileSystemPath(nullptr, text, kCFURLPOSIXPathStyle, false);
    CFRelease(text);
    return url;
}

// An autorelease pool for the time of a scope.
struct AutoreleasePool
{
    void* pool = objc_autoreleasePoolPush();
    ~AutoreleasePool() { objc_autoreleasePoolPop(pool); }
};
} // namespace

//==============================================================================
OSStatus JuceAU::GetCocoaViewInfo(AudioUnitCocoaViewInfo& outInfo)
{
    const AutoreleasePool pool;
    Class cls = factory().cls;
    CFURLRef bundle = bundleLocation();
    CFStringRef name = cls != Nil ? CFStringCreateWithCString(nullptr, class_getName(cls), kCFStringEncodingUTF8) : nullptr;
    if (bundle == nullptr || name == nullptr)
    {
        if (bundle != nullptr)
            CFRelease(bundle);
        if (name != nullptr)
            CFRelease(name);
        return kAudioUnitErr_InvalidProperty;
    }
    outInfo.mCocoaAUViewBundleLocation = bundle;
    outInfo.mCocoaAUViewClass[0] = name;
    return 0;
}

void JuceAU::deleteActiveEditors()
{
    for (int i = activeUIs.size(); --i >= 0;)
        if (ivarOf<JuceAU>(activeUIs.getUnchecked(i), kAuIvar) == this)
            deleteEditor(activeUIs.getUnchecked(i));
}

//==============================================================================
JuceAU::EditorCompHolder::EditorCompHolder(juce::AudioProcessorEditor* editor)
{
    setSize(editor->getWidth(), editor->getHeight());
    addAndMakeVisible(editor);
    setWantsKeyboardFocus(false);
}

JuceAU::EditorCompHolder::~EditorCompHolder()
{
    deleteAllChildren(); // the editor goes with its holder
}

id JuceAU::EditorCompHolder::createViewFor(juce::AudioProcessor* processor, JuceAU* au,
                                           juce::AudioProcessorEditor* editor)
{
    Class cls = viewClass();
    if (cls == Nil)
        return nullptr;

    auto holder = std::make_unique<EditorCompHolder>(editor);
    const auto bounds = holder->getLocalBounds();
    const NSRect frame { { (CGFloat) bounds.getX(), (CGFloat) bounds.getY() },
                         { (CGFloat) bounds.getWidth(), (CGFloat) bounds.getHeight() } };
    id view = send<id>(class_createInstance(cls, 0), "initWithFrame:", frame);
    if (view == nullptr)
        return nullptr;
    objc_autorelease(view);

    object_setInstanceVariable(view, kFilterIvar, processor);
    object_setInstanceVariable(view, kAuIvar, au);
    object_setInstanceVariable(view, kEditorIvar, holder.get());

    send<void>(view, "setHidden:", NO);
    send<void>(view, "setPostsFrameChangedNotifications:", YES);
    CFNotificationCenterAddObserver(CFNotificationCenterGetLocalCenter(), view, applicationWillTerminate,
                                    NSApplicationWillTerminateNotification, nullptr,
                                    CFNotificationSuspensionBehaviorDeliverImmediately);
    activeUIs.add(view);

    auto* h = holder.release(); // the view owns it now
    // Without a display the view has no window to hold ours.
    if (const unsigned long window = QvViewGetX11Window(view))
        juce::attachComponentToWindowRef(h, reinterpret_cast<void*>(window), 0);
    h->setVisible(true);
    startGuiWork();
    return view;
}

// The editor changed its size: the host's view takes it, the holder never
// goes below 32 x 32 (the view shows only the editor's part of it).
void JuceAU::EditorCompHolder::childBoundsChanged(juce::Component*)
{
    auto* editor = getChildComponent(0);
    if (editor == nullptr)
        return;

    const juce::ScopedXErrorTrap trap;
    const int width = std::max(editor->getWidth(), kMinimumSize);
    const int height = std::max(editor->getHeight(), kMinimumSize);
    if (getWidth() != width || getHeight() != height)
        setSize(width, height);

    if (id view = viewHolding(this))
    {
        NSRect frame = send<NSRect>(view, "frame");
        frame.size = NSSize { (CGFloat) editor->getWidth(), (CGFloat) editor->getHeight() };
        send<void>(view, "setFrame:", frame);
    }
    repaint();
}

// A host that takes keys only from its own view (Ableton Live) gets each key
// event once more, through the view that holds this one.
bool JuceAU::EditorCompHolder::keyPressed(const juce::KeyPress&)
{
    if (! HostType::IsAbletonLive(HostType::GetHostType()))
        return false;

    static NSTimeInterval lastEventTime = -1.0; // one for the whole process: an event is forwarded once
    id event = send<id>(NSApp, "currentEvent");
    if (event == nullptr)
        return false;
    const NSTimeInterval time = send<NSTimeInterval>(event, "timestamp");
    if (time == lastEventTime)
        return false;
    lastEventTime = time;

    if (id view = viewHolding(this))
    {
        const juce::ScopedXErrorTrap trap;
        id window = send<id>(view, "window");
        send<BOOL>(window, "makeFirstResponder:", view);
        send<void>(view, "keyDown:", event);
        send<BOOL>(window, "makeFirstResponder:", view);
    }
    return false;
}
