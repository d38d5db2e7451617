// Kept apart from JUCE's headers: Xlib's macros (None, Bool, Status) clash with them.
#include <X11/Xlib.h>

#include <mutex>

namespace qvtest
{
namespace
{
// A connection of the test's own, so that asking the server never takes
// events meant for the GUI library's connection.
Display* QueryConnection()
{
    static std::once_flag once;
    static Display* display = nullptr;
    std::call_once (once, [] { display = XOpenDisplay (nullptr); });
    return display;
}
} // namespace

bool IsWindowViewable (unsigned long window)
{
    auto* d = QueryConnection();
    if (d == nullptr || window == 0)
        return false;
    XWindowAttributes attributes {};
    return XGetWindowAttributes (d, (Window) window, &attributes) != 0 && attributes.map_state == IsViewable;
}
} // namespace qvtest
