#include "AppKitX11.h"

#include <X11/Xlib.h>

#include <algorithm>
#include <dlfcn.h>
#include <mutex>

namespace qvx11
{
namespace
{
struct Symbols
{
    Display* (*openDisplay)(const char*) = nullptr;
    Window (*defaultRootWindow)(Display*) = nullptr;
    Window (*createSimpleWindow)(Display*, Window, int, int, unsigned, unsigned, unsigned, unsigned long,
                                 unsigned long) = nullptr;
    int (*destroyWindow)(Display*, Window) = nullptr;
    int (*reparentWindow)(Display*, Window, Window, int, int) = nullptr;
    int (*mapWindow)(Display*, Window) = nullptr;
    int (*unmapWindow)(Display*, Window) = nullptr;
    int (*moveResizeWindow)(Display*, Window, int, int, unsigned, unsigned) = nullptr;
    Status (*getWindowAttributes)(Display*, Window, XWindowAttributes*) = nullptr;
    int (*sync)(Display*, Bool) = nullptr;
    XErrorHandler (*setErrorHandler)(XErrorHandler) = nullptr;

    Display* display = nullptr; // ours, open for the life of the process
};

template <class F>
bool bind(void* library, const char* name, F& function)
{
    function = reinterpret_cast<F>(dlsym(library, name));
    return function != nullptr;
}

Symbols* load()
{
    void* library = dlopen("libX11.so.6", RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr)
        return nullptr;

    auto* s = new Symbols; // never freed: windows may be destroyed during exit
    const bool all = bind(library, "XOpenDisplay", s->openDisplay)
                     && bind(library, "XDefaultRootWindow", s->defaultRootWindow)
                     && bind(library, "XCreateSimpleWindow", s->createSimpleWindow)
                     && bind(library, "XDestroyWindow", s->destroyWindow)
                     && bind(library, "XReparentWindow", s->reparentWindow)
                     && bind(library, "XMapWindow", s->mapWindow) && bind(library, "XUnmapWindow", s->unmapWindow)
                     && bind(library, "XMoveResizeWindow", s->moveResizeWindow)
                     && bind(library, "XGetWindowAttributes", s->getWindowAttributes)
                     && bind(library, "XSync", s->sync) && bind(library, "XSetErrorHandler", s->setErrorHandler);
    if (all)
        s->display = s->openDisplay(nullptr);
    if (s->display == nullptr)
    {
        delete s;
        return nullptr;
    }
    return s;
}

Symbols* symbols()
{
    static Symbols* s = load();
    return s;
}

// Swaps the process's X error handler for one that only counts, for the
// time of some requests, then syncs and puts the previous one back.
class ErrorTrap
{
public:
    explicit ErrorTrap(Symbols& s) : x(s)
    {
        x.sync(x.display, False);
        errors = 0;
        previous = x.setErrorHandler(count);
    }

    ~ErrorTrap()
    {
        x.sync(x.display, False);
        x.setErrorHandler(previous);
    }

    bool failed()
    {
        x.sync(x.display, False);
        return errors != 0;
    }

private:
    static int count(Display*, XErrorEvent*)
    {
        ++errors;
        return 0;
    }

    static inline int errors = 0; // main thread
    Symbols& x;
    XErrorHandler previous = nullptr;
};

unsigned clampSize(int size)
{
    return (unsigned) std::max(1, size);
}
} // namespace

bool available()
{
    return symbols() != nullptr;
}

unsigned long createWindow(int width, int height)
{
    Symbols* x = symbols();
    if (x == nullptr)
        return 0;
    ErrorTrap trap(*x);
    const Window w = x->createSimpleWindow(x->display, x->defaultRootWindow(x->display), 0, 0, clampSize(width),
                                           clampSize(height), 0, 0, 0);
    return trap.failed() ? 0 : w;
}

void destroyWindow(unsigned long window)
{
    Symbols* x = symbols();
    if (x == nullptr || window == 0)
        return;
    ErrorTrap trap(*x);
    x->destroyWindow(x->display, window);
}

void reparent(unsigned long window, unsigned long parent, int px, int py)
{
    Symbols* x = symbols();
    if (x == nullptr || window == 0)
        return;
    ErrorTrap trap(*x);
    x->reparentWindow(x->display, window, parent != 0 ? parent : x->defaultRootWindow(x->display), px, py);
}

void setMapped(unsigned long window, bool mapped)
{
    Symbols* x = symbols();
    if (x == nullptr || window == 0)
        return;
    ErrorTrap trap(*x);
    if (mapped)
        x->mapWindow(x->display, window);
    else
        x->unmapWindow(x->display, window);
}

void moveResize(unsigned long window, int px, int py, int width, int height)
{
    Symbols* x = symbols();
    if (x == nullptr || window == 0)
        return;
    ErrorTrap trap(*x);
    x->moveResizeWindow(x->display, window, px, py, clampSize(width), clampSize(height));
}

bool windowSize(unsigned long window, int& width, int& height)
{
    Symbols* x = symbols();
    if (x == nullptr || window == 0)
        return false;
    ErrorTrap trap(*x);
    XWindowAttributes attributes {};
    if (x->getWindowAttributes(x->display, window, &attributes) == 0 || trap.failed())
        return false;
    width = attributes.width;
    height = attributes.height;
    return true;
}
} // namespace qvx11
