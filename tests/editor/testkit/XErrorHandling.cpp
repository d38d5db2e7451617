// Kept apart from JUCE's headers: Xlib's macros (None, Bool, Status) clash with them.
#include <X11/Xlib.h>

#include <atomic>

namespace qvtest
{
namespace
{
std::atomic<int> xErrorCount { 0 };

// Xlib's default handler ends the process on any error. A plug-in's windows
// live under the host's handler; a test's live under a bare Xvfb with no
// window manager, where the window-manager atoms that JUCE asks for without
// creating them do not exist, and setting such a property fails harmlessly.
int countXError (Display*, XErrorEvent*)
{
    ++xErrorCount;
    return 0;
}
} // namespace

void InstallLenientXErrorHandler()
{
    XSetErrorHandler (countXError);
}

int XErrorCount()
{
    return xErrorCount.load();
}
} // namespace qvtest
