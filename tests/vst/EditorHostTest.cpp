// The built plug-in's editor inside a real X11 window of our own test host:
// the editor opcodes 13, 14, 15 and 19 as a Linux VST2 host sends them, with
// screenshots read back from the X server.
#include "VstTestHost.h"
#include "X11HostWindow.h"

#include "VstOpcodes.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <unistd.h>
#include <utility>
#include <memory>
#include <thread>

namespace
{
constexpr int kEditorWidth = 522;
constexpr int kEditorHeight = 560;
constexpr uint32_t kHostBackground = 0xffffff;   // what shows where the plug-in draws nothing
constexpr uint32_t kEditorBackground = 0x6e8296; // the editor's, between its panels
constexpr int kInvertIndex = 1;                  // "Invert", the input panel's INVERT switch

class EditorHostTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { library = std::make_unique<PluginLibrary>(QV_VST_PLUGIN_PATH); }
    static void TearDownTestSuite() { library.reset(); }

    void SetUp() override { ASSERT_TRUE(library->isLoaded()) << library->error(); }

    std::unique_ptr<VstTestHost> makeHost()
    {
        auto h = std::make_unique<VstTestHost>(*library);
        if (! h->instantiate())
            return nullptr;
        h->open();
        return h;
    }

    static void idle(VstTestHost& h, int times)
    {
        for (int i = 0; i < times; ++i)
            h.dispatch(EffectOpcode::editorIdle);
    }

    // Idle calls, as a host sends them every few milliseconds, until the
    // window shows none of colour rgb; false when it still does after ten
    // seconds.
    static bool idleUntilGone(VstTestHost& h, X11HostWindow& window, uint32_t rgb)
    {
        return PollUntil([&] {
            h.dispatch(EffectOpcode::editorIdle);
            return window.screenshot().count(rgb) == 0;
        });
    }

    // Idle calls until the editor's window is under the pointer at (x, y)
    // of the host's window, where a click will land; false when it is not
    // there after ten seconds.
    static bool idleUntilUnderPointer(VstTestHost& h, X11HostWindow& window, int x, int y)
    {
        return PollUntil([&] {
            h.dispatch(EffectOpcode::editorIdle);
            return window.pointAtChild(x, y);
        });
    }

    static std::unique_ptr<PluginLibrary> library;
};

std::unique_ptr<PluginLibrary> EditorHostTest::library;

#define REQUIRE_DISPLAY()                                                                  \
    do                                                                                     \
    {                                                                                      \
        if (! HasX11Display())                                                                \
            GTEST_SKIP() << "no display: run under xvfb-run (the test script does)";     \
    } while (false)

} // namespace

// Opcode 13 answers the editor's rectangle, bottom = height and right = width.
TEST_F(EditorHostTest, SizeIsAnsweredBeforeTheEditorOpens)
{
    auto host = makeHost();
    ASSERT_NE(host, nullptr);

    VstRect* rect = nullptr;
    const intptr_t answer = host->dispatch(EffectOpcode::editorGetRect, 0, 0, &rect);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(answer, reinterpret_cast<intptr_t>(rect));
    EXPECT_EQ(rect->top, 0);
    EXPECT_EQ(rect->left, 0);
    EXPECT_EQ(rect->bottom, kEditorHeight);
    EXPECT_EQ(rect->right, kEditorWidth);

    EXPECT_EQ(host->dispatch(EffectOpcode::editorGetRect, 0, 0, nullptr), 0) << "no place to write the pointer";
    EXPECT_EQ(host->dispatch(EffectOpcode::editorClose), 0);
}

// A host that hands over no window, or an id that names no window, is told
// that no editor opened; nothing is left half made, and closing is harmless.
TEST_F(EditorHostTest, NullOrUnknownWindowAnswersZero)
{
    std::unique_ptr<X11HostWindow> probe;
    int windowsBefore = 0;
    if (HasX11Display())
    {
        probe = std::make_unique<X11HostWindow>(10, 10, 0);
        ASSERT_TRUE(probe->isOpen());
        windowsBefore = probe->windowsOnDisplay();
    }

    auto host = makeHost();
    ASSERT_NE(host, nullptr);

    EXPECT_EQ(host->dispatch(EffectOpcode::editorClose), 0) << "close without an open editor";
    EXPECT_EQ(host->dispatch(EffectOpcode::editorOpen, 0, 0, nullptr), 0) << "null window";

    if (probe != nullptr)
    {
        void* noWindow = reinterpret_cast<void*>(static_cast<uintptr_t>(0x1fffffff));
        EXPECT_EQ(host->dispatch(EffectOpcode::editorOpen, 0, 0, noWindow), 0) << "a window id the display does not know";
        EXPECT_EQ(probe->numChildren(), 0);
    }

    EXPECT_EQ(host->dispatch(EffectOpcode::editorClose), 0);
    idle(*host, 3);
    host.reset();

    if (probe != nullptr)
    {
        EXPECT_EQ(probe->windowsOnDisplay(), windowsBefore) << "a window was left on the display";
    }
}

// Opened into the host's window: one child window appears, painted at once
// (also for hosts that never send idle calls), and goes again on close.
TEST_F(EditorHostTest, OpensPaintedInTheHostWindowAndClosesWithoutTrace)
{
    REQUIRE_DISPLAY();
    X11HostWindow window(kEditorWidth, kEditorHeight, kHostBackground);
    ASSERT_TRUE(window.isOpen());
    const int windowsBefore = window.windowsOnDisplay();

    auto host = makeHost();
    ASSERT_NE(host, nullptr);
    ASSERT_EQ(host->dispatch(EffectOpcode::editorOpen, 0, 0, window.handle()), 1);
    EXPECT_EQ(window.numChildren(), 1) << "the editor's child window";

    const auto shot = window.screenshot();
    ASSERT_EQ(shot.width, kEditorWidth);
    ASSERT_EQ(shot.height, kEditorHeight);
    EXPECT_LT(shot.count(kHostBackground), kEditorWidth * kEditorHeight / 100)
        << "the host's background still shows: the editor was not painted without an idle call";
    // The editor's own background, red 110 green 130 blue 150, in the seams
    // between its panels.
    for (auto [x, y] : { std::pair<int, int> { 0, 0 }, { 521, 1 }, { 0, 300 }, { 260, 559 } })
        EXPECT_EQ(shot.at(x, y), kEditorBackground) << "at " << x << ", " << y;

    idle(*host, 5);
    EXPECT_EQ(host->dispatch(EffectOpcode::editorClose), 0);
    window.sync();
    EXPECT_EQ(window.numChildren(), 0) << "the editor's window stayed in the host's";
    host.reset();
    EXPECT_EQ(window.windowsOnDisplay(), windowsBefore) << "windows left on the display";
}

// What the X server asks to be painted again is painted on the host's idle
// calls: the editor opened before the host shows its window (the initial
// paint goes nowhere), then the window covered whole and in part by another.
TEST_F(EditorHostTest, RepaintsWhatTheServerExposesOnIdleCalls)
{
    REQUIRE_DISPLAY();
    X11HostWindow window(kEditorWidth, kEditorHeight, kHostBackground, false);
    ASSERT_TRUE(window.isOpen());

    auto host = makeHost();
    ASSERT_NE(host, nullptr);
    ASSERT_EQ(host->dispatch(EffectOpcode::editorOpen, 0, 0, window.handle()), 1);
    idle(*host, 2);
    window.map(true);
    EXPECT_TRUE(idleUntilGone(*host, window, X11HostWindow::coverRgb)) << "not painted once the host's window was shown";
    EXPECT_LT(window.screenshot().count(kHostBackground), kEditorWidth * kEditorHeight / 100);

    const struct
    {
        int x, y, width, height;
    } covers[] = {
        { 0, 0, kEditorWidth, kEditorHeight },
        { 100, 120, 200, 150 },
        { kEditorWidth - 1, kEditorHeight - 1, 1, 1 },
    };
    for (const auto& c : covers)
    {
        window.coverAndUncover(c.x, c.y, c.width, c.height);
        EXPECT_TRUE(idleUntilGone(*host, window, X11HostWindow::coverRgb))
            << "the part uncovered at " << c.x << "," << c.y << " (" << c.width << "x" << c.height
            << ") was not painted again";
    }

    EXPECT_EQ(host->dispatch(EffectOpcode::editorClose), 0);
}

// A user's click, sent through the X server onto the editor's INVERT switch,
// reaches the parameter and the host hears of it as automation.
TEST_F(EditorHostTest, ClickThroughTheServerSetsTheParameter)
{
    REQUIRE_DISPLAY();
    X11HostWindow window(kEditorWidth, kEditorHeight, kHostBackground);
    ASSERT_TRUE(window.isOpen());
    auto host = makeHost();
    ASSERT_NE(host, nullptr);
    ASSERT_EQ(host->dispatch(EffectOpcode::editorOpen, 0, 0, window.handle()), 1);
    idle(*host, 5);
    ASSERT_EQ(host->getParameter(kInvertIndex), 0.0f);
    host->clearCalls();

    // INVERT sits in the input panel (1, 2) at the left of its switch row.
    ASSERT_TRUE(idleUntilUnderPointer(*host, window, 46, 147))
        << "no XTest on this display, or the editor's window is not where the click goes";
    ASSERT_TRUE(window.click(46, 147)) << "the pointer left our window";
    PollUntil([&] {
        idle(*host, 1);
        return host->getParameter(kInvertIndex) != 0.0f;
    });
    EXPECT_EQ(host->getParameter(kInvertIndex), 1.0f) << "the click did not reach the switch";

    bool automated = false;
    for (const auto& call : host->callsWithOpcode(HostOpcode::automate))
        automated = automated || (call.index == kInvertIndex && call.opt == 1.0f);
    EXPECT_TRUE(automated) << "the host was not told of the new value";

    // Other switches stayed where they were.
    EXPECT_EQ(host->getParameter(2), 0.0f) << "END FIRE";
    EXPECT_EQ(host->getParameter(3), 0.0f) << "HI PASS";
    host->dispatch(EffectOpcode::editorClose);
}

// The editor's events, timers and repaints all run inside the host's own idle
// call, and a request for more idle time from there would only re-enter the
// host: none is made, with or without a mouse gesture, and holding a button
// on a control does not stall the idle calls.
TEST_F(EditorHostTest, NoIdleRequestsFromInsideTheHostsIdleCall)
{
    REQUIRE_DISPLAY();
    X11HostWindow window(kEditorWidth, kEditorHeight, kHostBackground);
    ASSERT_TRUE(window.isOpen());
    auto host = makeHost();
    ASSERT_NE(host, nullptr);
    ASSERT_EQ(host->dispatch(EffectOpcode::editorOpen, 0, 0, window.handle()), 1);

    // Idle calls every 2 ms or so for at least ms milliseconds and at least
    // calls of them, or until ten seconds have passed.
    int idleCalls = 0;
    auto idleFor = [&](int ms, int calls = 0) {
        const auto start = std::chrono::steady_clock::now();
        PollUntil([&] {
            idle(*host, 1);
            ++idleCalls;
            usleep(2000);
            return std::chrono::steady_clock::now() - start >= std::chrono::milliseconds(ms) && idleCalls >= calls;
        });
    };

    idleFor(100);
    host->clearCalls();
    idleFor(600); // more than two ticks of the editor's 250 ms timer
    EXPECT_EQ(host->callsWithOpcode(HostOpcode::idle).size(), 0u) << "idle asked for without a gesture";

    // Hold the button on the input trim's thumb across two timer ticks. A
    // busy machine makes fewer idle calls in that time, so they are counted
    // up to 51 within the ten seconds: an idle call that waits for the
    // button's release never gets there.
    ASSERT_TRUE(idleUntilUnderPointer(*host, window, 178, 70))
        << "no XTest on this display, or the editor's window is not where the press goes";
    ASSERT_TRUE(window.press(178, 70)) << "the pointer left our window";
    idleCalls = 0;
    idleFor(600, 51);
    window.release();
    idleFor(50);
    EXPECT_EQ(host->callsWithOpcode(HostOpcode::idle).size(), 0u) << "idle asked for from inside the host's idle call";
    EXPECT_GT(idleCalls, 50) << "the host's idle calls stalled while the button was held";
    host->dispatch(EffectOpcode::editorClose);
}

// Twenty open and close cycles in one instance, then two instances with
// their editors open at once, closed in either order, and an instance closed
// with its editor still open: nothing is left on the display, no X error.
TEST_F(EditorHostTest, RepeatedAndOverlappingEditorsLeaveNothingBehind)
{
    REQUIRE_DISPLAY();
    X11HostWindow first(kEditorWidth, kEditorHeight, kHostBackground);
    X11HostWindow second(kEditorWidth, kEditorHeight, kHostBackground);
    ASSERT_TRUE(first.isOpen() && second.isOpen());
    const int windowsBefore = first.windowsOnDisplay();

    auto a = makeHost();
    auto b = makeHost();
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);

    // Any X error the plug-in lets through reaches the host's handler.
    X11HostWindow::installErrorCounter();
    const int errorsBefore = X11HostWindow::errorCount();

    for (int cycle = 0; cycle < 20; ++cycle)
    {
        ASSERT_EQ(a->dispatch(EffectOpcode::editorOpen, 0, 0, first.handle()), 1) << "cycle " << cycle;
        idle(*a, 2);
        ASSERT_EQ(first.numChildren(), 1) << "cycle " << cycle;
        a->dispatch(EffectOpcode::editorClose);
        first.sync();
        ASSERT_EQ(first.numChildren(), 0) << "cycle " << cycle;
    }

    for (bool aFirst : { true, false })
    {
        ASSERT_EQ(a->dispatch(EffectOpcode::editorOpen, 0, 0, first.handle()), 1);
        ASSERT_EQ(b->dispatch(EffectOpcode::editorOpen, 0, 0, second.handle()), 1);
        idle(*a, 2);
        idle(*b, 2);
        EXPECT_EQ(first.numChildren(), 1);
        EXPECT_EQ(second.numChildren(), 1);
        (aFirst ? a : b)->dispatch(EffectOpcode::editorClose);
        idle(aFirst ? *b : *a, 2);
        (aFirst ? b : a)->dispatch(EffectOpcode::editorClose);
        first.sync();
        EXPECT_EQ(first.numChildren() + second.numChildren(), 0) << (aFirst ? "a closed first" : "b closed first");
    }

    // Closing the plug-in with its editor open: the editor goes first.
    ASSERT_EQ(b->dispatch(EffectOpcode::editorOpen, 0, 0, second.handle()), 1);
    idle(*b, 2);
    b.reset(); // opcode 1
    second.sync();
    EXPECT_EQ(second.numChildren(), 0);

    a.reset();
    first.sync();
    EXPECT_EQ(first.windowsOnDisplay(), windowsBefore) << "windows left on the display";
    EXPECT_EQ(X11HostWindow::errorCount(), errorsBefore) << "X errors, " << X11HostWindow::lastErrorText();
}
