#include "JUCELibraryRefCount.h"

#include <JuceHeader.h>

#include <mutex>

namespace AAXClasses
{
namespace
{
// Hosts make and release their objects on one thread at a time, usually; the
// lock keeps a start and a shutdown from overlapping if one does not.
std::mutex countLock;
int count = 0;
} // namespace

// Host main thread. On Linux starting the GUI library makes the message
// manager only; the display is opened when a window is first needed, so a
// host without a display can describe and run the plug-in.
JUCELibraryRefCount::JUCELibraryRefCount()
{
    const std::lock_guard<std::mutex> guard(countLock);
    if (count++ == 0)
        juce::initialiseJuce_GUI();
}

JUCELibraryRefCount::~JUCELibraryRefCount()
{
    const std::lock_guard<std::mutex> guard(countLock);
    if (--count == 0)
        juce::shutdownJuce_GUI();
}

int JUCELibraryRefCount::getCount() noexcept
{
    const std::lock_guard<std::mutex> guard(countLock);
    return count;
}
} // namespace AAXClasses
