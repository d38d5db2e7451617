// Test-wide set-up for editor tests: the GUI library runs on the test thread
// for the whole run, and tests that need a real display ask for one.
#pragma once

#include <JuceHeader.h>

#include <functional>

namespace qvtest
{
// True when windows can be put on a display (an X server, e.g. Xvfb, is
// reachable) and the build allows display tests (QV_GUI_TESTS).
bool HasDisplay();

// Runs the message loop for a while. Tests wait with PumpUntil instead: a
// loaded machine can take any time to map a window or run a timer.
void PumpMessages (int milliseconds);

// Runs the message loop until done() holds or `seconds` have passed, and says
// whether it holds. The deadline is for a machine that hangs, not a slow one.
bool PumpUntil (const std::function<bool()>& done, double seconds = 10.0);

// Lets the desktop's animator finish what it is doing and stop its clock.
// The animator counts an animation's time from its previous tick while its
// clock runs, and from the animation's start only once it has stopped: after
// this, a test that notes the time and then starts an animation knows that
// the animation cannot end before its length has passed since then.
bool LetAnimatorRest (double seconds = 10.0);

// Waits until the component's window is mapped on the display and, with
// focused, also holds the keyboard focus (asked for once). Whether it is.
bool WaitForWindowOnScreen (juce::Component&, bool focused = false, double seconds = 10.0);

// Whether the X window of this id is mapped with every ancestor mapped.
bool IsWindowViewable (unsigned long window);

// X errors are counted instead of ending the process (installed before the
// first test); the count since start.
void InstallLenientXErrorHandler();
int XErrorCount();
} // namespace qvtest

// In a test body: skip unless a display is there.
#define QV_REQUIRE_DISPLAY()                                                       \
    do                                                                             \
    {                                                                              \
        if (! qvtest::HasDisplay())                                                \
            GTEST_SKIP() << "no display: run under xvfb-run with QV_GUI_TESTS=ON"; \
    } while (false)
