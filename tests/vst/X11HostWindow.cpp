#include "X11HostWindow.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace
{
std::atomic<int> xErrors { 0 };
std::atomic<int> lastRequest { 0 }, lastError { 0 };

int countHostXError(Display*, XErrorEvent* e)
{
    ++xErrors;
    lastRequest = e->request_code;
    lastError = e->error_code;
    return 0;
}

Display* asDisplay(void* d) { return static_cast<Display*>(d); }

int countDescendants(Display* d, Window w, bool viewableOnly = false)
{
    Window root = 0, parent = 0, *children = nullptr;
    unsigned int n = 0;
    if (XQueryTree(d, w, &root, &parent, &children, &n) == 0)
        return 0;
    int total = 0;
    for (unsigned int i = 0; i < n; ++i)
    {
        XWindowAttributes attributes {};
        const bool viewable = XGetWindowAttributes(d, children[i], &attributes) != 0 && attributes.map_state == IsViewable;
        if (viewableOnly && ! viewable)
            continue; // nothing beneath an unmapped window can show
        total += 1 + countDescendants(d, children[i], viewableOnly);
    }
    if (children != nullptr)
        XFree(children);
    return total;
}

void waitForMap(Display* d, Window w)
{
    for (;;)
    {
        XEvent e;
        XWindowEvent(d, w, StructureNotifyMask, &e);
        if (e.type == MapNotify)
            break;
    }
    XSync(d, False);
}
} // namespace

int X11Screenshot::count(uint32_t rgb) const
{
    return (int) std::count(pixels.begin(), pixels.end(), rgb);
}

void X11Screenshot::keepForPeople(const char* name) const
{
    const char* dir = std::getenv("QV_SCREENSHOT_DIR");
    if (dir == nullptr || *dir == '\0')
        return;
    const std::string path = std::string(dir) + "/" + name + ".ppm";
    if (FILE* f = std::fopen(path.c_str(), "wb"))
    {
        std::fprintf(f, "P6\n%d %d\n255\n", width, height);
        for (uint32_t p : pixels)
        {
            const unsigned char rgb[3] = { (unsigned char) (p >> 16), (unsigned char) (p >> 8), (unsigned char) p };
            std::fwrite(rgb, 1, 3, f);
        }
        std::fclose(f);
    }
}

bool HasX11Display()
{
    const char* d = std::getenv("DISPLAY");
    return d != nullptr && *d != '\0';
}

bool PollUntil(const std::function<bool()>& done, double seconds)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    for (;;)
    {
        if (done())
            return true;
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

X11HostWindow::X11HostWindow(int width, int height, uint32_t backgroundRgb, bool mapped)
{
    Display* d = XOpenDisplay(nullptr);
    if (d == nullptr)
        return;
    display = d;

    const int screen = DefaultScreen(d);
    window = XCreateSimpleWindow(d, RootWindow(d, screen), 0, 0, (unsigned) width, (unsigned) height, 0,
                                 0, backgroundRgb);
    XSelectInput(d, window, ExposureMask | StructureNotifyMask);
    XSync(d, False);
    if (mapped)
        map();
}

namespace
{
// A mapped window of colour coverRgb over (x, y, width, height) of w.
// Override-redirect: placed exactly there, whatever window manager runs.
Window mapCover(Display* d, Window w, int x, int y, int width, int height)
{
    int rootX = 0, rootY = 0;
    Window child = 0;
    XTranslateCoordinates(d, w, DefaultRootWindow(d), x, y, &rootX, &rootY, &child);

    XSetWindowAttributes attributes {};
    attributes.override_redirect = True;
    attributes.background_pixel = X11HostWindow::coverRgb;
    const Window cover = XCreateWindow(d, DefaultRootWindow(d), rootX, rootY, (unsigned) width, (unsigned) height,
                                       0, CopyFromParent, InputOutput, CopyFromParent,
                                       CWOverrideRedirect | CWBackPixel, &attributes);
    XSelectInput(d, cover, StructureNotifyMask);
    XMapRaised(d, cover);
    waitForMap(d, cover);
    return cover;
}
} // namespace

void X11HostWindow::map(bool overCover)
{
    if (! isOpen())
        return;
    Display* d = asDisplay(display);
    Window cover = 0;
    if (overCover)
    {
        XWindowAttributes attributes;
        XGetWindowAttributes(d, window, &attributes);
        cover = mapCover(d, window, 0, 0, attributes.width, attributes.height);
    }
    XMapRaised(d, window);
    waitForMap(d, window);
    if (cover != 0)
        XDestroyWindow(d, cover); // beneath the window now: nothing shows
    XSync(d, False);
}

void X11HostWindow::coverAndUncover(int x, int y, int width, int height)
{
    if (! isOpen())
        return;
    Display* d = asDisplay(display);
    XDestroyWindow(d, mapCover(d, window, x, y, width, height));
    XSync(d, False);
}

X11HostWindow::~X11HostWindow()
{
    if (display == nullptr)
        return;
    if (window != 0)
        XDestroyWindow(asDisplay(display), window);
    XSync(asDisplay(display), False);
    XCloseDisplay(asDisplay(display));
}

void X11HostWindow::sync()
{
    if (display != nullptr)
        XSync(asDisplay(display), False);
}

X11Screenshot X11HostWindow::screenshot()
{
    X11Screenshot shot;
    if (! isOpen())
        return shot;

    Display* d = asDisplay(display);
    XSync(d, False);
    XWindowAttributes attributes;
    XGetWindowAttributes(d, window, &attributes);
    // IncludeInferiors: the plug-in's child window is part of what the user sees.
    XSetSubwindowMode(d, DefaultGC(d, DefaultScreen(d)), IncludeInferiors);
    XImage* image = XGetImage(d, window, 0, 0, (unsigned) attributes.width, (unsigned) attributes.height,
                              AllPlanes, ZPixmap);
    if (image == nullptr)
        return shot;

    shot.width = attributes.width;
    shot.height = attributes.height;
    shot.pixels.resize((size_t) shot.width * (size_t) shot.height);
    for (int y = 0; y < shot.height; ++y)
        for (int x = 0; x < shot.width; ++x)
            shot.pixels[(size_t) y * (size_t) shot.width + (size_t) x] = (uint32_t) (XGetPixel(image, x, y) & 0xffffff);
    XDestroyImage(image);
    return shot;
}

int X11HostWindow::numChildren()
{
    if (! isOpen())
        return 0;
    Window root = 0, parent = 0, *children = nullptr;
    unsigned int n = 0;
    XQueryTree(asDisplay(display), window, &root, &parent, &children, &n);
    if (children != nullptr)
        XFree(children);
    return (int) n;
}

void X11HostWindow::size(int& width, int& height)
{
    width = height = 0;
    if (! isOpen())
        return;
    XWindowAttributes attributes;
    XGetWindowAttributes(asDisplay(display), window, &attributes);
    width = attributes.width;
    height = attributes.height;
}

namespace
{
// The deepest window under the pointer, as the server would hand it a click.
Window windowUnderPointer(Display* d)
{
    Window at = DefaultRootWindow(d);
    for (;;)
    {
        Window root = 0, child = 0;
        int rootX = 0, rootY = 0, x = 0, y = 0;
        unsigned int mask = 0;
        if (! XQueryPointer(d, at, &root, &child, &rootX, &rootY, &x, &y, &mask) || child == 0)
            return at;
        at = child;
    }
}

bool isInside(Display* d, Window w, Window ancestor)
{
    while (w != 0 && w != ancestor)
    {
        Window root = 0, parent = 0, *children = nullptr;
        unsigned int n = 0;
        if (XQueryTree(d, w, &root, &parent, &children, &n) == 0)
            return false;
        if (children != nullptr)
            XFree(children);
        if (w == root)
            return false;
        w = parent;
    }
    return w == ancestor;
}

bool movePointer(Display* d, Window window, int x, int y)
{
    int eventBase = 0, errorBase = 0, major = 0, minor = 0;
    if (! XTestQueryExtension(d, &eventBase, &errorBase, &major, &minor))
        return false;

    int rootX = 0, rootY = 0;
    Window child = 0;
    XTranslateCoordinates(d, window, DefaultRootWindow(d), x, y, &rootX, &rootY, &child);
    XTestFakeMotionEvent(d, DefaultScreen(d), rootX, rootY, CurrentTime);
    XSync(d, False);
    return true;
}
} // namespace

bool X11HostWindow::pointAtChild(int x, int y)
{
    if (! isOpen())
        return false;
    Display* d = asDisplay(display);
    if (! movePointer(d, window, x, y))
        return false;
    const Window under = windowUnderPointer(d);
    return under != window && isInside(d, under, window);
}

bool X11HostWindow::press(int x, int y)
{
    if (! isOpen())
        return false;
    Display* d = asDisplay(display);
    if (! movePointer(d, window, x, y) || ! isInside(d, windowUnderPointer(d), window))
        return false;
    XTestFakeButtonEvent(d, 1, True, CurrentTime);
    XSync(d, False);
    return true;
}

bool X11HostWindow::release()
{
    if (! isOpen())
        return false;
    Display* d = asDisplay(display);
    XTestFakeButtonEvent(d, 1, False, CurrentTime);
    XSync(d, False);
    return true;
}

bool X11HostWindow::moveTo(int x, int y)
{
    return isOpen() && movePointer(asDisplay(display), window, x, y);
}

bool X11HostWindow::isUnderPointer()
{
    if (! isOpen())
        return false;
    Display* d = asDisplay(display);
    Window root = 0, child = 0;
    int rootX = 0, rootY = 0, x = 0, y = 0;
    unsigned int mask = 0;
    if (! XQueryPointer(d, DefaultRootWindow(d), &root, &child, &rootX, &rootY, &x, &y, &mask))
        return false;
    return child == window;
}

bool X11HostWindow::click(int x, int y)
{
    return press(x, y) && release();
}

int X11HostWindow::windowsOnDisplay()
{
    if (display == nullptr)
        return 0;
    return countDescendants(asDisplay(display), DefaultRootWindow(asDisplay(display)));
}

int X11HostWindow::viewableWindowsOnDisplay()
{
    if (display == nullptr)
        return 0;
    return countDescendants(asDisplay(display), DefaultRootWindow(asDisplay(display)), true);
}

void X11HostWindow::installErrorCounter()
{
    XSetErrorHandler(countHostXError);
}

int X11HostWindow::errorCount()
{
    return xErrors.load();
}

std::string X11HostWindow::lastErrorText()
{
    return "last X error " + std::to_string(lastError.load()) + " on request " + std::to_string(lastRequest.load());
}
