#include "GuiTestEnvironment.h"

#include <gtest/gtest.h>

namespace juce
{
// The message loop's single step. The public loop that runs for a given time
// exists only in builds that permit modal loops, which ours do not.
bool dispatchNextMessageOnSystemQueue (bool returnIfNoPendingMessages);
} // namespace juce

namespace
{
// Initialises the GUI library before the first test and shuts it down after
// the last. Listing the tests (as ctest's discovery does at build time, with
// no display) never gets here.
class JuceGuiEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        qvtest::InstallLenientXErrorHandler();
        juce::initialiseJuce_GUI();
    }
    void TearDown() override
    {
        juce::LookAndFeel::setDefaultLookAndFeel (nullptr);
        juce::shutdownJuce_GUI();
    }
};

// Linked into every editor test executable as an object file, so this runs
// before main reaches RUN_ALL_TESTS.
[[maybe_unused]] auto* const environment = ::testing::AddGlobalTestEnvironment (new JuceGuiEnvironment());
} // namespace

namespace qvtest
{
bool HasDisplay()
{
   #if QV_GUI_TESTS
    return juce::Desktop::getInstance().getDisplays().getPrimaryDisplay() != nullptr;
   #else
    return false;
   #endif
}

void PumpMessages (int milliseconds)
{
    const auto end = juce::Time::getMillisecondCounter() + (juce::uint32) juce::jmax (0, milliseconds);

    do
    {
        while (juce::dispatchNextMessageOnSystemQueue (true))
        {
        }

        juce::Thread::sleep (1);
    }
    while (juce::Time::getMillisecondCounter() < end);
}
} // namespace qvtest
