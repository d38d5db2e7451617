// The built module's view: the editor inside a real X11 window of the test
// host for a container of type 1, screenshots read back from the X server,
// and every way a host takes the view and the effect down.
#include "AAXModuleHost.h"
#include "X11HostWindow.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <thread>

namespace
{
constexpr int kEditorWidth = 522;
constexpr int kEditorHeight = 560;
constexpr uint32_t kHostBackground = 0xffffff;   // shows where the plug-in draws nothing

/** A GUI object of the module on one effect, as the host holds it. */
struct GuiObject
{
    explicit GuiObject(AAXInstance& effectInstance) : host(effectInstance.host)
    {
        if (AAX_IEffectGUI* made = AAXModule::get().createGUI())
        {
            gui = static_cast<AAX_IACFEffectGUI*>(made);
            gui->AddRef();
            host.effectParameters = effectInstance.effect;
            initialised = gui->Initialize(host.unknown());
        }
    }

    ~GuiObject() { release(); }

    void release()
    {
        if (gui == nullptr)
            return;
        gui->Uninitialize();
        gui->Release();
        gui = nullptr;
    }

    AAX_Point size() const
    {
        AAX_Point p { -1.0f, -1.0f };
        sizeStatus = gui->GetViewSize(&p);
        return p;
    }

    FakeHost& host;
    AAX_IACFEffectGUI* gui = nullptr;
    AAX_Result initialised = -1;
    mutable AAX_Result sizeStatus = -1;
};

class AaxAdapterView : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { X11HostWindow::installErrorCounter(); }

    void SetUp() override
    {
        ASSERT_TRUE(AAXModule::get().loaded());
        if (! HasX11Display())
            GTEST_SKIP() << "no display: run under xvfb-run (the test script does)";
        errorsBefore = X11HostWindow::errorCount();
    }

    void TearDown() override
    {
        EXPECT_EQ(X11HostWindow::errorCount(), errorsBefore) << "X errors";
        EXPECT_EQ(AAXModule::get().liveObjects(), 0) << "objects left alive";
    }

    int errorsBefore = 0;
};
} // namespace

// A container of type 1: the editor is a child window of the host's window,
// painted at once; removed, it goes; given again, a new one comes.
TEST_F(AaxAdapterView, TypeOneContainerShowsTheEditorInTheHostWindow)
{
    X11HostWindow window(kEditorWidth, kEditorHeight, kHostBackground);
    ASSERT_TRUE(window.isOpen());
    const int windowsBefore = window.windowsOnDisplay();
    {
        AAXInstance effect(AAX_eStemFormat_5_1);
        FakeViewContainer container(effect.host.record, 1);
        container.nativePointer = window.handle();
        GuiObject view(effect);
        ASSERT_EQ(view.initialised, 0);

        for (const char* round : { "first", "again" })
        {
            SCOPED_TRACE(round);
            ASSERT_EQ(view.gui->SetViewContainer(&container), 0);
            const AAX_Point size = view.size();
            EXPECT_EQ(view.sizeStatus, 0);
            EXPECT_EQ(size.horz, 522.0f);
            EXPECT_EQ(size.vert, 560.0f);
            EXPECT_EQ(window.numChildren(), 1) << "the editor's child window";

            // The host's timer, until the editor's layout animations have
            // ended and it is painted (the checks below), or ten seconds.
            int wakeupErrors = 0;
            PollUntil([&] {
                wakeupErrors += view.gui->TimerWakeup() != 0;
                const X11Screenshot s = window.screenshot();
                return s.count(kHostBackground) < kEditorWidth * kEditorHeight / 100
                    && s.count(0x000000) < kEditorWidth * kEditorHeight / 2;
            });
            EXPECT_EQ(wakeupErrors, 0) << "timer calls that did not answer 0";
            const X11Screenshot shot = window.screenshot();
            shot.keepForPeople(round);
            ASSERT_EQ(shot.width, kEditorWidth);
            ASSERT_EQ(shot.height, kEditorHeight);
            EXPECT_LT(shot.count(kHostBackground), kEditorWidth * kEditorHeight / 100)
                << "the host's background shows: the editor was not painted";
            EXPECT_LT(shot.count(0x000000), kEditorWidth * kEditorHeight / 2)
                << "only the wrapper's black shows: the editor was not painted in it";

            ASSERT_EQ(view.gui->SetViewContainer(nullptr), 0);
            window.sync();
            EXPECT_EQ(window.numChildren(), 0) << "the editor's window stayed";
            EXPECT_EQ(view.size().horz, -1.0f);
            EXPECT_EQ(view.sizeStatus, -20004) << "no view, no size";
        }
        EXPECT_EQ(container.references(), 0);
    }
    EXPECT_EQ(window.windowsOnDisplay(), windowsBefore) << "windows left on the display";
}

// Any other container type, or a type-1 pointer that names no window: the
// editor is built (its size is answered) but nothing goes on the display.
TEST_F(AaxAdapterView, OtherContainersGetTheEditorBuiltButNotOnScreen)
{
    X11HostWindow probe(10, 10, 0);
    ASSERT_TRUE(probe.isOpen());
    const int windowsBefore = probe.windowsOnDisplay();
    const int viewableBefore = probe.viewableWindowsOnDisplay();

    const struct
    {
        int32_t type;
        void* pointer;
    } containers[] = {
        { 0, probe.handle() }, { 2, probe.handle() }, { 3, probe.handle() }, { 1, reinterpret_cast<void*>(uintptr_t(0x1fffffff)) },
    };
    for (const auto& c : containers)
    {
        AAXInstance effect(AAX_eStemFormat_Stereo);
        FakeViewContainer container(effect.host.record, c.type);   // outlives the view that holds it
        container.nativePointer = c.pointer;
        GuiObject view(effect);
        ASSERT_EQ(view.gui->SetViewContainer(&container), 0);
        const AAX_Point size = view.size();
        EXPECT_EQ(size.horz, 522.0f) << "type " << c.type;
        EXPECT_EQ(size.vert, 560.0f) << "type " << c.type;
        EXPECT_EQ(view.gui->TimerWakeup(), 0);
        EXPECT_EQ(probe.numChildren(), 0) << "type " << c.type;
        EXPECT_EQ(probe.viewableWindowsOnDisplay(), viewableBefore) << "type " << c.type;
    }
    EXPECT_EQ(probe.windowsOnDisplay(), windowsBefore) << "windows left on the display";
}

// The host may let go of the view and the effect in either order, with or
// without taking the container away first; the editor always goes before
// the effect (the sanitizer build catches any use of a processor already gone).
TEST_F(AaxAdapterView, EveryTeardownOrderLeavesNothingBehind)
{
    X11HostWindow window(kEditorWidth, kEditorHeight, kHostBackground);
    ASSERT_TRUE(window.isOpen());
    const int windowsBefore = window.windowsOnDisplay();

    enum Order { viewFirst, effectFirst, viewReleasedWithoutUninitialize, effectFirstContainerKept };
    for (const Order order : { viewFirst, effectFirst, viewReleasedWithoutUninitialize, effectFirstContainerKept })
    {
        SCOPED_TRACE(int(order));
        auto effect = std::make_unique<AAXInstance>(AAX_eStemFormat_5_1);
        FakeViewContainer container(effect->host.record, 1);
        container.nativePointer = window.handle();
        auto view = std::make_unique<GuiObject>(*effect);
        ASSERT_EQ(view->gui->SetViewContainer(&container), 0);
        ASSERT_EQ(window.numChildren(), 1);

        switch (order)
        {
            case viewFirst:
                view->gui->SetViewContainer(nullptr);
                view.reset();
                effect.reset();
                break;
            case effectFirst:
                view->gui->SetViewContainer(nullptr);
                effect->effect->Uninitialize();
                effect->effect->Release();   // the view still holds it
                effect->effect = nullptr;
                EXPECT_EQ(AAXModule::get().liveObjects(), 2);
                view.reset();
                break;
            case viewReleasedWithoutUninitialize:
                view->gui->Release();        // still in its container
                view->gui = nullptr;
                effect.reset();
                break;
            case effectFirstContainerKept:
                effect->effect->Uninitialize();
                effect->effect->Release();
                effect->effect = nullptr;
                view.reset();                // Uninitialize with the editor still shown
                break;
        }
        view.reset();
        effect.reset();
        window.sync();
        EXPECT_EQ(window.numChildren(), 0);
        EXPECT_EQ(AAXModule::get().liveObjects(), 0);
    }
    EXPECT_EQ(window.windowsOnDisplay(), windowsBefore);
}

// One editor per effect: a second view of the same effect gets none while
// the first shows it, and gets its own once the first is gone.
TEST_F(AaxAdapterView, ASecondViewOfOneEffectIsRefusedUntilTheFirstGoes)
{
    AAXInstance effect(AAX_eStemFormat_5_1);
    FakeViewContainer first(effect.host.record, 0), second(effect.host.record, 0);

    auto one = std::make_unique<GuiObject>(effect);
    GuiObject two(effect);
    ASSERT_EQ(one->gui->SetViewContainer(&first), 0);
    ASSERT_EQ(two.gui->SetViewContainer(&second), 0);
    EXPECT_EQ(one->size().horz, 522.0f);
    EXPECT_EQ(two.size().horz, -1.0f);
    EXPECT_EQ(two.sizeStatus, -20004);

    one.reset();
    ASSERT_EQ(two.gui->SetViewContainer(&second), 0);
    EXPECT_EQ(two.size().vert, 560.0f);
}

// A click through the X server reaches the editor on the host's timer calls,
// and the change it makes goes to the host as automation.
TEST_F(AaxAdapterView, AClickInTheEditorIsRecordedByTheHost)
{
    X11HostWindow window(kEditorWidth, kEditorHeight, kHostBackground);
    ASSERT_TRUE(window.isOpen());
    AAXInstance effect(AAX_eStemFormat_5_1);
    FakeViewContainer container(effect.host.record, 1);
    container.nativePointer = window.handle();
    GuiObject view(effect);
    ASSERT_EQ(view.gui->SetViewContainer(&container), 0);
    for (int i = 0; i < 5; ++i)
        view.gui->TimerWakeup();
    ASSERT_EQ(effect.parameter("1"), 0.0);
    effect.host.record.clear();

    // INVERT sits at the left of the input panel's switch row.
    ASSERT_TRUE(PollUntil([&] {
        view.gui->TimerWakeup();
        return window.pointAtChild(46, 147);
    })) << "no XTest on this display, or the editor's window is not where the click goes";
    ASSERT_TRUE(window.click(46, 147)) << "the pointer left our window";
    PollUntil([&] {
        view.gui->TimerWakeup();
        return effect.parameter("1") != 0.0;
    });
    EXPECT_EQ(effect.parameter("1"), 1.0) << "the click did not reach the switch";
    EXPECT_EQ(effect.host.record.callsStartingWith("Automation.PostSetValueRequest"),
              std::vector<std::string> { "Automation.PostSetValueRequest(1, 1)" });
    EXPECT_EQ(effect.parameter("2"), 0.0) << "END FIRE stayed";
    view.gui->SetViewContainer(nullptr);
}
