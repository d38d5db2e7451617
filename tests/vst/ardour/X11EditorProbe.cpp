// Looks at a real host's plug-in window from outside the host, through the X
// server alone, as a user sees it: finds the host's window by its title and
// the editor's child window in it by its size, reads the editor's pixels back
// from the screen, lays another window over it and away again to see that the
// editor paints itself again, and writes a screenshot of the whole screen.
// It also asks the host to quit with the keys a user presses.
//
//   qv_x11_editor_probe editor TITLE WIDTH HEIGHT TIMEOUT_S SCREENSHOT.png [HOST_PID]
//       0: the editor is on screen and painted; 1: it is there but its pixels
//       are wrong; 2: no such window came up in time, or the host is gone.
//   qv_x11_editor_probe quit TITLE
//       Sends Ctrl+Q to the top-level window named TITLE. 0 when sent.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <png.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include <sys/types.h>

namespace
{
constexpr uint32_t kEditorBackgroundRgb = 0x6e8296; // the editor's blue-grey background, in the seams between its panels
constexpr uint32_t kInputPanelRgb = 0x3c4752;       // the input panel's plate, behind its title
constexpr uint32_t kCoverRgb = 0x00ff00;            // the window laid over the editor for a moment

// Points of the editor (522 x 560) where its own background shows: the seams
// of one pixel around and between its panels.
constexpr int kSeams[][2] = { { 0, 0 }, { 521, 1 }, { 0, 300 }, { 260, 559 }, { 521, 400 } };
constexpr int kRepaintTimeoutMs = 10000;
constexpr int kPollMs = 100;

constexpr int kOk = 0;
constexpr int kWrongPixels = 1;
constexpr int kNotFound = 2;

using Clock = std::chrono::steady_clock;

struct Image
{
    int width = 0, height = 0;
    std::vector<uint32_t> pixels; // 0xRRGGBB, row by row

    int count(uint32_t rgb) const { return (int) std::count(pixels.begin(), pixels.end(), rgb); }
    uint32_t at(int x, int y) const { return pixels[(size_t) y * (size_t) width + (size_t) x]; }
};

struct Found
{
    Window toplevel = 0;
    Window editor = 0;
    int editors = 0; // windows of the editor's size in the top-level window
    int x = 0, y = 0; // the editor's position on the screen
    std::vector<std::string> sizes; // of every window in the top-level window, for the report
};

// The host's windows come and go while we look: a request about a window
// that has just gone fails, and that is no reason to stop.
int ignoreError(Display*, XErrorEvent*)
{
    return 0;
}

bool sameName(Display* d, Window w, const std::string& title)
{
    char* name = nullptr;
    if (XFetchName(d, w, &name) == 0 || name == nullptr)
        return false;
    const bool same = title == name;
    XFree(name);
    return same;
}

std::vector<Window> childrenOf(Display* d, Window w)
{
    Window root = 0, parent = 0, *children = nullptr;
    unsigned int n = 0;
    std::vector<Window> result;
    if (XQueryTree(d, w, &root, &parent, &children, &n) != 0 && children != nullptr)
    {
        result.assign(children, children + n);
        XFree(children);
    }
    return result;
}

Window findToplevel(Display* d, const std::string& title)
{
    for (Window w : childrenOf(d, DefaultRootWindow(d)))
        if (sameName(d, w, title))
            return w;
    return 0;
}

void findEditor(Display* d, Window w, int width, int height, Found& found)
{
    for (Window child : childrenOf(d, w))
    {
        XWindowAttributes a {};
        if (XGetWindowAttributes(d, child, &a) == 0)
            continue;
        char text[96];
        std::snprintf(text, sizeof text, "0x%lx %dx%d%s", child, a.width, a.height,
                      a.map_state == IsViewable ? "" : " (not viewable)");
        found.sizes.emplace_back(text);
        if (a.width == width && a.height == height && a.map_state == IsViewable)
        {
            ++found.editors;
            found.editor = child;
        }
        findEditor(d, child, width, height, found);
    }
}

Found find(Display* d, const std::string& title, int width, int height)
{
    Found found;
    found.toplevel = findToplevel(d, title);
    if (found.toplevel == 0)
        return found;
    findEditor(d, found.toplevel, width, height, found);
    if (found.editors == 1)
    {
        Window child = 0;
        XTranslateCoordinates(d, found.editor, DefaultRootWindow(d), 0, 0, &found.x, &found.y, &child);
        XWindowAttributes screen {};
        XGetWindowAttributes(d, DefaultRootWindow(d), &screen);
        if (found.x < 0 || found.y < 0 || found.x + width > screen.width || found.y + height > screen.height)
        {
            found.sizes.emplace_back("the editor window is not wholly on the screen");
            found.editors = 0;
        }
    }
    return found;
}

// What the screen shows in the rectangle, whatever window it belongs to.
Image grab(Display* d, int x, int y, int width, int height)
{
    Image image;
    XImage* xi = XGetImage(d, DefaultRootWindow(d), x, y, (unsigned) width, (unsigned) height, AllPlanes, ZPixmap);
    if (xi == nullptr)
        return image;
    image.width = width;
    image.height = height;
    image.pixels.resize((size_t) width * (size_t) height);
    for (int row = 0; row < height; ++row)
        for (int column = 0; column < width; ++column)
            image.pixels[(size_t) row * (size_t) width + (size_t) column] =
                (uint32_t) (XGetPixel(xi, column, row) & 0xffffff);
    XDestroyImage(xi);
    return image;
}

Image grabScreen(Display* d)
{
    XWindowAttributes a {};
    XGetWindowAttributes(d, DefaultRootWindow(d), &a);
    return grab(d, 0, 0, a.width, a.height);
}

// The editor: its background in every seam, the input panel's plate in the
// panel's corner, and no pixel of the cover left.
bool isEditorPainted(const Image& image, std::string& verdict)
{
    const int total = image.width * image.height;
    const int cover = image.count(kCoverRgb);
    int seamsRight = 0;
    for (const auto& p : kSeams)
        if (p[0] < image.width && p[1] < image.height && image.at(p[0], p[1]) == kEditorBackgroundRgb)
            ++seamsRight;
    const bool plate = image.width > 10 && image.height > 10 && image.at(5, 40) == kInputPanelRgb;
    const int numSeams = (int) (sizeof kSeams / sizeof kSeams[0]);
    char text[200];
    std::snprintf(text, sizeof text, "%d of %d seams in the background 0x%06x, input plate %s, %d of %d pixels cover 0x%06x",
                  seamsRight, numSeams, kEditorBackgroundRgb, plate ? "right" : "wrong", cover, total, kCoverRgb);
    verdict = text;
    return total > 0 && seamsRight == numSeams && plate && cover == 0;
}

std::string commonestColours(const Image& image)
{
    std::map<uint32_t, int> counts;
    for (uint32_t p : image.pixels)
        ++counts[p];
    std::vector<std::pair<int, uint32_t>> byCount;
    for (const auto& [rgb, n] : counts)
        byCount.emplace_back(n, rgb);
    std::sort(byCount.rbegin(), byCount.rend());
    std::string text;
    for (size_t i = 0; i < byCount.size() && i < 4; ++i)
    {
        char item[40];
        std::snprintf(item, sizeof item, "%s0x%06x x %d", i == 0 ? "" : ", ", byCount[i].second, byCount[i].first);
        text += item;
    }
    return text;
}

bool writePng(const Image& image, const char* path)
{
    FILE* file = std::fopen(path, "wb");
    if (file == nullptr)
        return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    if (info == nullptr || setjmp(png_jmpbuf(png)))
    {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, (png_uint_32) image.width, (png_uint_32) image.height, 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<png_byte> row((size_t) image.width * 3);
    for (int y = 0; y < image.height; ++y)
    {
        for (int x = 0; x < image.width; ++x)
        {
            const uint32_t p = image.pixels[(size_t) y * (size_t) image.width + (size_t) x];
            row[(size_t) x * 3] = (png_byte) (p >> 16);
            row[(size_t) x * 3 + 1] = (png_byte) (p >> 8);
            row[(size_t) x * 3 + 2] = (png_byte) p;
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0;
}

void waitForMap(Display* d, Window w)
{
    XEvent e;
    do
        XWindowEvent(d, w, StructureNotifyMask, &e);
    while (e.type != MapNotify);
}

// A window over the rectangle and away again, as a window dragged across the
// editor would: the part it covered is the editor's to paint again.
void coverAndUncover(Display* d, int x, int y, int width, int height)
{
    XSetWindowAttributes attributes {};
    attributes.override_redirect = True;
    attributes.background_pixel = kCoverRgb;
    const Window cover = XCreateWindow(d, DefaultRootWindow(d), x, y, (unsigned) width, (unsigned) height, 0,
                                       CopyFromParent, InputOutput, CopyFromParent, CWOverrideRedirect | CWBackPixel,
                                       &attributes);
    XSelectInput(d, cover, StructureNotifyMask);
    XMapRaised(d, cover);
    waitForMap(d, cover);
    XSync(d, False);
    XDestroyWindow(d, cover);
    XSync(d, False);
}

bool hostAlive(pid_t pid)
{
    return pid <= 0 || kill(pid, 0) == 0;
}

void sleepMs(int ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

int probeEditor(Display* d, const std::string& title, int width, int height, int timeoutSeconds, const char* png,
                pid_t hostPid)
{
    const auto deadline = Clock::now() + std::chrono::seconds(timeoutSeconds);
    const auto started = Clock::now();
    Found found;
    Image image;
    std::string verdict;
    bool painted = false;

    // Hosts show the window first and the editor in it a moment later, and
    // the editor paints on the host's next idle calls: wait for all of it.
    while (Clock::now() < deadline && hostAlive(hostPid))
    {
        found = find(d, title, width, height);
        if (found.editors == 1)
        {
            image = grab(d, found.x, found.y, width, height);
            painted = isEditorPainted(image, verdict);
            if (painted)
                break;
        }
        sleepMs(kPollMs);
    }

    const double seconds = std::chrono::duration<double>(Clock::now() - started).count();
    writePng(grabScreen(d), png);

    if (found.toplevel == 0 || found.editors != 1)
    {
        std::printf("FAIL: %s\n", ! hostAlive(hostPid) ? "the host is gone" : "not found in time");
        if (found.toplevel == 0)
            std::printf("no top-level window named \"%s\"\n", title.c_str());
        else
        {
            std::printf("window 0x%lx \"%s\" has %d viewable %dx%d windows; its windows:\n", found.toplevel,
                        title.c_str(), found.editors, width, height);
            for (const auto& s : found.sizes)
                std::printf("  %s\n", s.c_str());
        }
        return kNotFound;
    }

    std::printf("window 0x%lx \"%s\": editor window 0x%lx %dx%d at %d,%d on screen, after %.1f s\n",
                found.toplevel, title.c_str(), found.editor, width, height, found.x, found.y, seconds);
    if (! painted)
    {
        std::printf("FAIL: %s; commonest colours %s\n", verdict.c_str(), commonestColours(image).c_str());
        return kWrongPixels;
    }
    std::printf("pixels: %s\n", verdict.c_str());

    // Covered whole, then in part: the editor paints itself again.
    const struct
    {
        int x, y, width, height;
    } covers[] = { { 0, 0, width, height }, { width / 4, height / 4, width / 3, height / 3 } };
    for (const auto& c : covers)
    {
        coverAndUncover(d, found.x + c.x, found.y + c.y, c.width, c.height);
        const auto repaintDeadline = Clock::now() + std::chrono::milliseconds(kRepaintTimeoutMs);
        do
        {
            image = grab(d, found.x, found.y, width, height);
            painted = isEditorPainted(image, verdict);
            if (! painted)
                sleepMs(kPollMs);
        } while (! painted && Clock::now() < repaintDeadline && hostAlive(hostPid));

        if (! painted)
        {
            writePng(grabScreen(d), png);
            std::printf("FAIL: not painted again after a window covered %dx%d at %d,%d: %s; commonest colours %s\n",
                        c.width, c.height, c.x, c.y, verdict.c_str(), commonestColours(image).c_str());
            return kWrongPixels;
        }
        std::printf("painted again after a window covered %dx%d at %d,%d\n", c.width, c.height, c.x, c.y);
    }

    writePng(grabScreen(d), png);
    return kOk;
}

// Ctrl+Q, as a user presses it in the window; hosts take it from a sent
// event as from the keyboard.
int sendQuit(Display* d, const std::string& title)
{
    const Window w = findToplevel(d, title);
    if (w == 0)
    {
        std::printf("FAIL: no top-level window named \"%s\"\n", title.c_str());
        return 1;
    }
    XKeyEvent key {};
    key.display = d;
    key.window = w;
    key.root = DefaultRootWindow(d);
    key.subwindow = None;
    key.time = CurrentTime;
    key.same_screen = True;
    key.state = ControlMask;
    key.keycode = XKeysymToKeycode(d, XK_q);
    key.type = KeyPress;
    XSendEvent(d, w, True, KeyPressMask, reinterpret_cast<XEvent*>(&key));
    key.type = KeyRelease;
    XSendEvent(d, w, True, KeyReleaseMask, reinterpret_cast<XEvent*>(&key));
    XSync(d, False);
    std::printf("Ctrl+Q sent to window 0x%lx \"%s\"\n", w, title.c_str());
    return 0;
}

int usage()
{
    std::fprintf(stderr, "usage: qv_x11_editor_probe editor TITLE WIDTH HEIGHT TIMEOUT_S SCREENSHOT.png [HOST_PID]\n"
                         "       qv_x11_editor_probe quit TITLE\n");
    return 64;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc < 3)
        return usage();
    const std::string mode = argv[1];
    const std::string title = argv[2];

    Display* d = XOpenDisplay(nullptr);
    if (d == nullptr)
    {
        std::printf("FAIL: cannot open display \"%s\"\n", std::getenv("DISPLAY") != nullptr ? std::getenv("DISPLAY") : "");
        return kNotFound;
    }

    XSetErrorHandler(ignoreError);

    int status = 64;
    if (mode == "editor" && (argc == 7 || argc == 8))
        status = probeEditor(d, title, std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5]), argv[6],
                             argc == 8 ? (pid_t) std::atol(argv[7]) : 0);
    else if (mode == "quit" && argc == 3)
        status = sendQuit(d, title);
    else
        status = usage();

    XCloseDisplay(d);
    std::fflush(stdout);
    return status;
}
