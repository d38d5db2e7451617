// The plug-in's view as a host gets it: the Cocoa-view property names the
// factory class, the factory hands out a view, and the host puts that view
// into its own window, a real X11 window under Xvfb read back from the X
// server. Both teardown orders, the application's end, and units that are
// not ours.
#include "AdapterTestSupport.h"
#include "X11HostWindow.h"

#include "ObjCMessage.h"
#include "PlatformAppKit.h"

#include <gtest/gtest.h>

#include <X11/Xlib.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

namespace
{
using qvobjc::send;

constexpr int kEditorWidth = 522, kEditorHeight = 560;
constexpr uint32_t kHostBackground = 0xffffff; // what shows where the plug-in draws nothing

// Child windows of any window, on a connection of the test's own.
int childrenOf(unsigned long window)
{
    static Display* display = XOpenDisplay(nullptr);
    Window root = 0, parent = 0, *children = nullptr;
    unsigned n = 0;
    if (display == nullptr || XQueryTree(display, window, &root, &parent, &children, &n) == 0)
        return -1;
    if (children != nullptr)
        XFree(children);
    return (int) n;
}

void* ivar(id object, const char* name)
{
    void* value = nullptr;
    object_getInstanceVariable(object, name, &value);
    return value;
}

// The GUI library's turns come from the host's main run loop.
void runLoop(double seconds)
{
    CFRunLoopRunInMode(kCFRunLoopDefaultMode, seconds, false);
}

// What a host does: read property 31, find the factory class by its name,
// make a factory, ask it for a view for the unit and keep the view.
id viewFor(AudioUnit unit, std::string* className = nullptr)
{
    AudioUnitCocoaViewInfo info {};
    UInt32 size = sizeof(info);
    if (AudioUnitGetProperty(unit, kAudioUnitProperty_CocoaUI, 0, 0, &info, &size) != 0)
        return nullptr;
    const std::string name = CFStringGetCStringPtr(info.mCocoaAUViewClass[0], kCFStringEncodingUTF8);
    CFRelease(info.mCocoaAUViewClass[0]);
    CFRelease(info.mCocoaAUViewBundleLocation);
    if (className != nullptr)
        *className = name;

    id factory = send<id>(class_createInstance(objc_getClass(name.c_str()), 0), "init");
    void* pool = objc_autoreleasePoolPush();
    id view = send<id>(factory, "uiViewForAudioUnit:withSize:", unit, NSSize { 400, 300 });
    objc_retain(view);
    objc_autoreleasePoolPop(pool);
    objc_release(factory);
    return view;
}

// A host's window with the view in it.
struct HostWindowWithView
{
    X11HostWindow x11;
    id window = nullptr;

    explicit HostWindowWithView(int width = kEditorWidth, int height = kEditorHeight)
        : x11(width, height, kHostBackground)
    {
        if (x11.isOpen())
            window = QvWindowCreateForX11Window(x11.id());
    }
    ~HostWindowWithView() { objc_release(window); }

    void show(id view) { send<void>(send<id>(window, "contentView"), "addSubview:", view); }

    /** The plug-in's view for the unit (retained), in this window and drawn. */
    id showViewOf(AudioUnit unit)
    {
        id view = viewFor(unit);
        if (view != nullptr)
        {
            show(view);
            runLoop(0.05);
        }
        return view;
    }
};

// What a host does when it closes the plug-in's window.
void letGo(id view)
{
    send<void>(view, "removeFromSuperview");
    objc_release(view);
}

class JuceAUViewTest : public ::testing::TestWithParam<Way>
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(testPluginModule().isLoaded()) << testPluginModule().error();
        if (! HasX11Display())
            GTEST_SKIP() << "no display: run under xvfb-run (the test script does)";
        unit = openUnit(GetParam());
        ASSERT_NE(unit, nullptr);
        X11HostWindow::installErrorCounter();
        errorsBefore = X11HostWindow::errorCount();
    }

    void TearDown() override
    {
        if (HasX11Display())
        {
            EXPECT_EQ(X11HostWindow::errorCount(), errorsBefore) << "X errors: " << X11HostWindow::lastErrorText();
        }
    }

    std::unique_ptr<HostUnit> unit;
    int errorsBefore = 0;
};

INSTANTIATE_TEST_SUITE_P(BothWays, JuceAUViewTest, ::testing::Values(Way::factory, Way::component),
                         [](const auto& info) { return std::string(wayName(info.param)); });

// ---- The view in a host's window ---------------------------------------------------------

TEST_P(JuceAUViewTest, EditorInARealWindow)
{
    HostWindowWithView host;
    ASSERT_NE(host.window, nullptr);
    const int windowsBefore = host.x11.windowsOnDisplay();

    std::string factoryName;
    id view = viewFor(unit->handle(), &factoryName);
    ASSERT_NE(view, nullptr);

    const std::string viewClass = class_getName(object_getClass(view));
    EXPECT_TRUE(isPrefixThenHex(viewClass, "JUCEAUView_")) << viewClass;
    EXPECT_EQ(class_getSuperclass(object_getClass(view)), objc_getClass("NSView"));
    EXPECT_NE(viewClass.substr(11), factoryName.substr(22)) << "each class has a random name of its own";

    const NSRect frame = send<NSRect>(view, "frame");
    EXPECT_EQ(frame.size.width, kEditorWidth);
    EXPECT_EQ(frame.size.height, kEditorHeight);
    EXPECT_FALSE(send<BOOL>(view, "isHidden"));
    EXPECT_TRUE(send<BOOL>(view, "postsFrameChangedNotifications"));
    EXPECT_FALSE(send<BOOL>(view, "mouseDownCanMoveWindow"));

    void* link[2] = {};
    UInt32 size = sizeof(link);
    ASSERT_EQ(unit->getProperty(0x1a45ffe9, 0, 0, link, &size), 0);
    EXPECT_EQ(ivar(view, "filter"), link[0]) << "the unit's processor";
    EXPECT_EQ(ivar(view, "au"), link[1]) << "the unit";
    EXPECT_NE(ivar(view, "editor"), nullptr);

    host.show(view);
    EXPECT_TRUE(send<BOOL>(host.window, "acceptsMouseMovedEvents"));
    EXPECT_EQ(send<id>(host.window, "firstResponder"), view);

    // The host's window holds the view's X11 window, which holds the editor's.
    EXPECT_EQ(host.x11.numChildren(), 1);
    EXPECT_EQ(childrenOf(QvViewGetX11Window(view)), 1);

    // Past the panels' opening slides (300 ms), however long the machine
    // takes for them: the host's background gone, or ten seconds.
    PollUntil([&] {
        runLoop(0.01);
        return host.x11.screenshot().count(kHostBackground) < kEditorWidth * kEditorHeight / 100;
    });
    const auto shot = host.x11.screenshot();
    shot.keepForPeople(GetParam() == Way::factory ? "au-view-factory" : "au-view-component");
    ASSERT_EQ(shot.width, kEditorWidth);
    ASSERT_EQ(shot.height, kEditorHeight);
    EXPECT_LT(shot.count(kHostBackground), kEditorWidth * kEditorHeight / 100)
        << "the host's background still shows: the editor was not drawn";

    letGo(view);
    host.x11.sync();
    EXPECT_EQ(host.x11.numChildren(), 0);
    unit.reset(); // the last of the plug-in: the GUI library's own windows go too
    EXPECT_EQ(host.x11.windowsOnDisplay(), windowsBefore) << "windows left on the display";
}

// What the X server asks to be drawn again is drawn on the host's run loop.
TEST_P(JuceAUViewTest, RedrawsOnTheHostsRunLoop)
{
    HostWindowWithView host;
    id view = viewFor(unit->handle());
    ASSERT_NE(view, nullptr);
    host.show(view);
    // Drawn once first, so that what comes after the cover is a redraw.
    ASSERT_TRUE(PollUntil([&] {
        runLoop(0.01);
        return host.x11.screenshot().count(kHostBackground) < kEditorWidth * kEditorHeight / 100;
    })) << "the view was never drawn";

    host.x11.coverAndUncover(100, 120, 200, 150);
    const bool redrawn = PollUntil([&] {
        runLoop(0.01);
        return host.x11.screenshot().count(X11HostWindow::coverRgb) == 0;
    });
    EXPECT_TRUE(redrawn) << "the uncovered part was not drawn again";

    letGo(view);
}

// ---- Teardown in either order ------------------------------------------------------------

TEST_P(JuceAUViewTest, ViewReleasedBeforeItsUnit)
{
    HostWindowWithView host;
    const int windowsBefore = host.x11.windowsOnDisplay();
    int windowsAfterFirst = 0;
    for (int cycle = 0; cycle < 3; ++cycle)
    {
        id view = host.showViewOf(unit->handle());
        ASSERT_NE(view, nullptr) << "cycle " << cycle << ": a new editor for every view";
        letGo(view);
        host.x11.sync();
        EXPECT_EQ(host.x11.numChildren(), 0) << "cycle " << cycle;
        if (cycle == 0)
            windowsAfterFirst = host.x11.windowsOnDisplay();
        EXPECT_EQ(host.x11.windowsOnDisplay(), windowsAfterFirst) << "cycle " << cycle << " left windows";
    }

    // The unit goes on working, and goes last.
    SteadyInput input { { 0.5f } };
    EXPECT_EQ(startUnit(*unit, 2, 2, input), 0);
    unit.reset();
    EXPECT_EQ(host.x11.windowsOnDisplay(), windowsBefore);
}

TEST_P(JuceAUViewTest, UnitClosedBeforeItsView)
{
    HostWindowWithView host;
    const int windowsBefore = host.x11.windowsOnDisplay();
    id view = host.showViewOf(unit->handle());
    ASSERT_NE(view, nullptr);
    const unsigned long viewWindow = QvViewGetX11Window(view);

    EXPECT_EQ(childrenOf(viewWindow), 1);

    unit.reset(); // the editor goes with the unit, before its processor
    EXPECT_EQ(ivar(view, "editor"), nullptr) << "the view's editor was deleted with its unit";
    host.x11.sync();
    EXPECT_EQ(childrenOf(viewWindow), 0) << "the view's own window stays, the editor's goes";
    EXPECT_EQ(host.x11.numChildren(), 1);
    EXPECT_EQ(send<NSRect>(view, "frame").size.width, kEditorWidth) << "the view itself lives on";
    runLoop(0.05);

    // The host lets the view go later; nothing of the unit is touched.
    letGo(view);
    host.x11.sync();
    EXPECT_EQ(host.x11.windowsOnDisplay(), windowsBefore);
}

TEST_P(JuceAUViewTest, HostWindowDestroyedBeforeTheView)
{
    id view = nullptr;
    {
        HostWindowWithView host;
        view = host.showViewOf(unit->handle());
        ASSERT_NE(view, nullptr);
    } // the host's X11 window goes, and the view's windows with it

    letGo(view);
    unit.reset();
}

TEST_P(JuceAUViewTest, ApplicationEndShutsViewsDown)
{
    HostWindowWithView host;
    const int windowsBefore = host.x11.windowsOnDisplay();
    id view = host.showViewOf(unit->handle());
    ASSERT_NE(view, nullptr);

    CFNotificationCenterPostNotification(CFNotificationCenterGetLocalCenter(), NSApplicationWillTerminateNotification,
                                         NSApp, nullptr, true);
    EXPECT_EQ(ivar(view, "editor"), nullptr);
    host.x11.sync();
    EXPECT_EQ(childrenOf(QvViewGetX11Window(view)), 0) << "only the view's own window is left";

    // Posted again, or released afterwards: it has shut down already.
    CFNotificationCenterPostNotification(CFNotificationCenterGetLocalCenter(), NSApplicationWillTerminateNotification,
                                         NSApp, nullptr, true);
    letGo(view);
    unit.reset();
    EXPECT_EQ(host.x11.windowsOnDisplay(), windowsBefore);
}

TEST_P(JuceAUViewTest, TwoUnitsTwoViewsClosedInEitherOrder)
{
    for (bool firstUnitFirst : { true, false })
    {
        HostWindowWithView a, b;
        const int windowsBefore = a.x11.windowsOnDisplay();
        auto other = openUnit(GetParam());
        ASSERT_NE(other, nullptr);
        id viewA = viewFor(unit->handle());
        id viewB = viewFor(other->handle());
        ASSERT_NE(viewA, nullptr);
        ASSERT_NE(viewB, nullptr);
        EXPECT_EQ(object_getClass(viewA), object_getClass(viewB)) << "one view class per process";
        a.show(viewA);
        b.show(viewB);
        runLoop(0.05);

        (firstUnitFirst ? unit : other).reset();
        runLoop(0.05);
        for (id v : { viewA, viewB })
            letGo(v);
        (firstUnitFirst ? other : unit).reset();
        a.x11.sync();
        EXPECT_EQ(a.x11.windowsOnDisplay(), windowsBefore) << (firstUnitFirst ? "first unit first" : "second first");
        unit = openUnit(GetParam());
        ASSERT_NE(unit, nullptr);
    }
}

// ---- Units that are not ours ---------------------------------------------------------------

// A unit as the factory sees it: an interface record whose get-property call
// answers what the test sets.
struct StrangerUnit
{
    AudioComponentPlugInInterface iface { nullptr, nullptr, lookup, nullptr };
    OSStatus status = 0;
    void* link[2] = { nullptr, nullptr };
    bool hasGetProperty = true;

    static StrangerUnit* current;

    static OSStatus getProperty(void* self, UInt32, UInt32, UInt32, void* data, UInt32* size)
    {
        auto& u = *static_cast<StrangerUnit*>(self);
        if (u.status == 0)
        {
            std::memcpy(data, u.link, sizeof(u.link));
            *size = sizeof(u.link);
        }
        return u.status;
    }

    static AudioComponentMethod lookup(SInt16 selector)
    {
        if (selector == kAudioUnitGetPropertySelect && current->hasGetProperty)
            return reinterpret_cast<AudioComponentMethod>(getProperty);
        return nullptr;
    }
};

StrangerUnit* StrangerUnit::current = nullptr;

TEST_P(JuceAUViewTest, NoViewForAUnitThatIsNotOurs)
{
    std::string name;
    id ours = viewFor(unit->handle(), &name);
    ASSERT_NE(ours, nullptr);
    objc_release(ours);

    int notAProcessor = 0;
    void* link[2] = {};
    UInt32 size = sizeof(link);
    ASSERT_EQ(unit->getProperty(0x1a45ffe9, 0, 0, link, &size), 0);

    const struct
    {
        const char* what;
        bool hasGetProperty;
        OSStatus status;
        void* processor;
        void* au;
    } rows[] = {
        { "no get-property call", false, 0, nullptr, nullptr },
        { "the property refused", true, -10879, nullptr, nullptr },
        { "no processor", true, 0, nullptr, link[1] },
        { "a unit that is not one of ours", true, 0, &notAProcessor, &notAProcessor },
        { "our unit with another processor", true, 0, &notAProcessor, link[1] },
    };
    id factory = send<id>(class_createInstance(objc_getClass(name.c_str()), 0), "init");
    for (const auto& r : rows)
    {
        StrangerUnit stranger;
        stranger.hasGetProperty = r.hasGetProperty;
        stranger.status = r.status;
        stranger.link[0] = r.processor;
        stranger.link[1] = r.au;
        StrangerUnit::current = &stranger;
        void* pool = objc_autoreleasePoolPush();
        EXPECT_EQ(send<id>(factory, "uiViewForAudioUnit:withSize:", reinterpret_cast<AudioUnit>(&stranger),
                           NSSize { 1, 1 }),
                  nullptr)
            << r.what;
        objc_autoreleasePoolPop(pool);
    }
    objc_release(factory);
}
} // namespace
