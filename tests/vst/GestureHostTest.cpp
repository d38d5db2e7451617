// What a VST2 host records while a user works the built plug-in's editor in
// a real X11 window: every change comes as beginEdit (43), automation (0)
// and endEdit (44) on the host callback, so hosts in Touch or Latch mode
// keep the user's moves. Input goes through the X server (XTest).
#include "VstTestHost.h"
#include "X11HostWindow.h"

#include "VstOpcodes.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace
{
constexpr int kEditorWidth = 522;
constexpr int kEditorHeight = 560;
constexpr uint32_t kHostBackground = 0xffffff;
constexpr uint32_t kEditorBackground = 0x6e8296; // the editor's own, between its panels

// The input panel's trim slider (input level, parameter 0) and INVERT switch
// (parameter 1), in the editor's coordinates.
constexpr int kTrimX = 177, kTrimLow = 100, kTrimHigh = 60;
constexpr int kInvertX = 46, kInvertY = 147;

class GestureHostTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { library = std::make_unique<PluginLibrary>(QV_VST_PLUGIN_PATH); }
    static void TearDownTestSuite() { library.reset(); }

    void SetUp() override
    {
        ASSERT_TRUE(library->isLoaded()) << library->error();
        if (! HasX11Display())
            GTEST_SKIP() << "no display: run under xvfb-run (the test script does)";

        window = std::make_unique<X11HostWindow>(kEditorWidth, kEditorHeight, kHostBackground);
        ASSERT_TRUE(window->isOpen());
        host = std::make_unique<VstTestHost>(*library);
        ASSERT_TRUE(host->instantiate());
        host->open();
        ASSERT_EQ(host->dispatch(EffectOpcode::editorOpen, 0, 0, window->handle()), 1);
        ASSERT_TRUE(idleUntil([this] { return window->screenshot().count(kEditorBackground) > 0; }))
            << "the editor never showed in the host's window";
        host->clearCalls();
    }

    void TearDown() override
    {
        if (host != nullptr)
            host->dispatch(EffectOpcode::editorClose);
        host.reset();
        window.reset();
    }

    // Idle calls, as a host sends them every few milliseconds, until the
    // condition holds; false when it still does not after five seconds.
    bool idleUntil(const std::function<bool()>& condition)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (std::chrono::steady_clock::now() < deadline)
        {
            host->dispatch(EffectOpcode::editorIdle);
            if (condition())
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return false;
    }

    // The gesture and automation calls heard so far: "B0" beginEdit of
    // parameter 0, "C0" its automation, "E0" endEdit.
    std::vector<std::string> heard() const
    {
        std::vector<std::string> tokens;
        for (const auto& call : host->calls())
        {
            if (call.effect != host->effect())
                continue;
            if (call.opcode == HostOpcode::beginEdit)
                tokens.push_back("B" + std::to_string(call.index));
            else if (call.opcode == HostOpcode::automate)
                tokens.push_back("C" + std::to_string(call.index));
            else if (call.opcode == HostOpcode::endEdit)
                tokens.push_back("E" + std::to_string(call.index));
        }
        return tokens;
    }

    size_t count(const std::string& token) const
    {
        size_t n = 0;
        for (const auto& t : heard())
            n += t == token ? 1 : 0;
        return n;
    }

    static std::string text(const std::vector<std::string>& tokens)
    {
        std::ostringstream s;
        for (size_t i = 0; i < tokens.size(); ++i)
            s << (i == 0 ? "" : " ") << tokens[i];
        return s.str();
    }

    // One gesture on one parameter: its begin, at least minValues values and
    // nothing else, its end.
    static ::testing::AssertionResult isOneGesture(const std::vector<std::string>& tokens, int index, size_t minValues)
    {
        const auto i = std::to_string(index);
        bool ok = tokens.size() >= minValues + 2 && tokens.front() == "B" + i && tokens.back() == "E" + i;
        for (size_t k = 1; ok && k + 1 < tokens.size(); ++k)
            ok = tokens[k] == "C" + i;
        if (ok)
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "heard \"" << text(tokens) << "\", not one gesture on " << index
                                             << " with at least " << minValues << " values";
    }

    // Puts the pointer on (x, y) of the editor and checks that a press there
    // reaches this test's window.
    void pointAt(int x, int y)
    {
        ASSERT_TRUE(window->moveTo(x, y)) << "no XTest on this display";
        ASSERT_TRUE(window->isUnderPointer()) << "another window lies over the host's window";
    }

    static std::unique_ptr<PluginLibrary> library;
    std::unique_ptr<X11HostWindow> window;
    std::unique_ptr<VstTestHost> host;
};

std::unique_ptr<PluginLibrary> GestureHostTest::library;
} // namespace

// A drag on the trim slider: beginEdit at the press, automation while it
// moves, endEdit only at the release.
TEST_F(GestureHostTest, ADragIsBeginAutomationEnd)
{
    pointAt(kTrimX, kTrimLow);
    ASSERT_TRUE(window->press(kTrimX, kTrimLow));
    ASSERT_TRUE(idleUntil([this] { return count("C0") >= 1; })) << "the press never reached the slider: " << text(heard());
    EXPECT_EQ(heard().front(), "B0") << "no beginEdit before the first value";
    EXPECT_EQ(count("E0"), 0u) << "ended while the button is still held";

    ASSERT_TRUE(window->moveTo(kTrimX, kTrimHigh));
    ASSERT_TRUE(idleUntil([this] { return count("C0") >= 2; })) << "the drag never moved the slider: " << text(heard());
    EXPECT_EQ(count("E0"), 0u) << "ended while the button is still held";

    ASSERT_TRUE(window->release());
    ASSERT_TRUE(idleUntil([this] { return count("E0") >= 1; })) << "no endEdit after the release: " << text(heard());
    EXPECT_TRUE(isOneGesture(heard(), 0, 2));
}

// A click on INVERT: exactly one begin, one value, one end.
TEST_F(GestureHostTest, AClickIsOneBeginOneValueOneEnd)
{
    pointAt(kInvertX, kInvertY);
    ASSERT_TRUE(window->click(kInvertX, kInvertY));
    ASSERT_TRUE(idleUntil([this] { return count("E1") >= 1; })) << "heard " << text(heard());
    EXPECT_EQ(text(heard()), "B1 C1 E1");
    EXPECT_EQ(host->getParameter(1), 1.0f) << "the click did not switch INVERT on";
}

// A drag that leaves the window and is released out there still ends.
TEST_F(GestureHostTest, ADragReleasedOutsideTheWindowStillEnds)
{
    pointAt(kTrimX, kTrimLow);
    ASSERT_TRUE(window->press(kTrimX, kTrimLow));
    ASSERT_TRUE(idleUntil([this] { return count("C0") >= 1; })) << "the press never reached the slider: " << text(heard());

    ASSERT_TRUE(window->moveTo(kEditorWidth + 300, kTrimHigh)); // right of the window, higher up
    ASSERT_TRUE(idleUntil([this] { return count("C0") >= 2; })) << "the drag outside never moved the slider: " << text(heard());

    ASSERT_TRUE(window->release());
    ASSERT_TRUE(idleUntil([this] { return count("E0") >= 1; })) << "no endEdit for a release outside: " << text(heard());
    EXPECT_TRUE(isOneGesture(heard(), 0, 2));
}
