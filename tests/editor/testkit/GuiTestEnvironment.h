// Test-wide set-up for editor tests: the GUI library runs on the test thread
// for the whole run, and tests that need a real display ask for one.
#pragma once

#include <JuceHeader.h>

namespace qvtest
{
// True when windows can be put on a display (an X server, e.g. Xvfb, is
// reachable) and the build allows display tests (QV_GUI_TESTS).
bool HasDisplay();

// Runs the message loop for a while, so windows map and repaint.
void PumpMessages (int milliseconds);

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
