// The host's side of the window system in the editor tests: a real top-level
// X11 window on the test's display (Xvfb), screenshots read back from the X
// server, clicks sent through the XTest extension, and a count of X errors.
// Plain Xlib, kept apart from the GUI library's headers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct X11Screenshot
{
    int width = 0, height = 0;
    std::vector<uint32_t> pixels; // 0xRRGGBB, row by row

    uint32_t at(int x, int y) const { return pixels[(size_t) y * (size_t) width + (size_t) x]; }
    /** How many pixels have this colour. */
    int count(uint32_t rgb) const;
    /** With QV_SCREENSHOT_DIR set, writes the picture there as <name>.ppm for
        people to look at; otherwise does nothing. */
    void keepForPeople(const char* name) const;
};

/** True when $DISPLAY names a display to open. */
bool HasX11Display();

/** Calls done() every few milliseconds until it returns true or `seconds`
    have passed; whether it did. What the X server, the plug-in's timers and
    the host's idle calls do takes as long as the machine makes it take: tests
    wait for it this way, with a deadline for a machine that hangs. */
bool PollUntil(const std::function<bool()>& done, double seconds = 10.0);

class X11HostWindow
{
public:
    static constexpr uint32_t coverRgb = 0x00ff00;

    /** Opens its own connection to $DISPLAY and makes a width x height window
        filled with backgroundRgb, mapped unless mapped is false (as hosts that
        open the editor before showing their window do). isOpen() is false
        without a display. */
    X11HostWindow(int width, int height, uint32_t backgroundRgb, bool mapped = true);
    ~X11HostWindow();

    X11HostWindow(const X11HostWindow&) = delete;
    X11HostWindow& operator=(const X11HostWindow&) = delete;

    bool isOpen() const { return display != nullptr && window != 0; }
    /** The window as a host hands it to a plug-in. */
    void* handle() const { return reinterpret_cast<void*>(static_cast<uintptr_t>(window)); }
    unsigned long id() const { return window; }

    /** The window's own pixels as the X server holds them (children included). */
    X11Screenshot screenshot();
    /** Child windows of this window. */
    int numChildren();
    /** Maps the window and waits until the server has done so. With
        overCover, the window is mapped over a window of colour coverRgb, so
        that its children show coverRgb until they are painted. */
    void map(bool overCover = false);

    /** Lays another top-level window over (x, y, width, height) of this one
        and takes it away again, as a window dragged across it would: the
        covered part is left for the window's owners to paint again, and
        until they do it shows the cover's colour, coverRgb. */
    void coverAndUncover(int x, int y, int width, int height);

    /** Present size. */
    void size(int& width, int& height);

    /** Moves the pointer to (x, y) in the window through XTest and says
        whether the window under it is one inside this one (the plug-in's),
        not this one itself nor another test's window over it. False without
        XTest. Hosts' idle calls may have to run before the plug-in's window
        shows: wait for this before clicking. */
    bool pointAtChild(int x, int y);

    /** Moves the pointer to (x, y) in the window and clicks the left button
        through XTest, as a user would. False without XTest, and (without
        pressing) when the window under the pointer is not this one or one
        inside it: the click would go to someone else. */
    bool click(int x, int y);
    /** The press and the release of a click on their own (a drag's ends). */
    bool press(int x, int y);
    bool release();
    /** Moves the pointer to (x, y) in the window's coordinates (which may lie
        outside it) through XTest, buttons as they are: a drag's way. */
    bool moveTo(int x, int y);
    /** True when the top-level window under the pointer is this one, so that
        a press now lands here and not on another test's window. */
    bool isUnderPointer();

    /** Windows on the whole display (all descendants of the root). */
    int windowsOnDisplay();
    /** Those of them that are mapped, with every ancestor mapped: what can show. */
    int viewableWindowsOnDisplay();

    /** X errors seen by the process since the handler was installed. */
    static void installErrorCounter();
    static int errorCount();
    /** The error and request codes of the last X error, as text. */
    static std::string lastErrorText();

    void sync();

private:
    void* display = nullptr; // Display*
    unsigned long window = 0;
};
