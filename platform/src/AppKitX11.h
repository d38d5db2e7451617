// The few X11 requests behind the view objects, on a display connection of
// their own. libX11 is opened at run time, so that the platform library loads
// where there is none (plug-in scanners, render servers).
#pragma once

#include <cstdint>

namespace qvx11
{
/** True when libX11 and a display could be opened (tried once). */
bool available();

/** An unmapped window of (width, height), child of the root, black where
    nothing is drawn; 0 without a display. */
unsigned long createWindow(int width, int height);

// Each request below is synced and runs under an error trap: a window that
// the host destroyed already (and ours with it) makes it fail quietly rather
// than reach the process's X error handler.

void destroyWindow(unsigned long window);
/** Into parent at (x, y); parent 0 is the root. */
void reparent(unsigned long window, unsigned long parent, int x, int y);
void setMapped(unsigned long window, bool mapped);
/** Sizes below 1 are taken as 1, which X allows. */
void moveResize(unsigned long window, int x, int y, int width, int height);
/** The window's size; false when it names no window. */
bool windowSize(unsigned long window, int& width, int& height);
} // namespace qvx11
