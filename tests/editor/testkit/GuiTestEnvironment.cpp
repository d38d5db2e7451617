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

bool PumpUntil (const std::function<bool()>& done, double seconds)
{
    const auto deadline = juce::Time::getMillisecondCounterHiRes() + seconds * 1000.0;

    for (;;)
    {
        if (done())
            return true;

        if (juce::Time::getMillisecondCounterHiRes() > deadline)
            return false;

        PumpMessages (1);
    }
}

bool LetAnimatorRest (double seconds)
{
    auto& animator = juce::Desktop::getInstance().getAnimator();
    // Its clock stops in the tick that ends its last animation, but not when
    // animations are cancelled: a short one of its own, which only a tick can
    // end, makes sure that tick comes.
    juce::Component stopwatch;
    animator.animateComponent (&stopwatch, { 0, 0, 1, 1 }, 1.0f, 1, false, 1.0, 1.0);
    const bool rested = PumpUntil ([&] { return ! animator.isAnimating(); }, seconds);
    animator.cancelAnimation (&stopwatch, false);
    return rested;
}

bool WaitForWindowOnScreen (juce::Component& component, bool focused, double seconds)
{
    auto* peer = component.getPeer();

    if (peer == nullptr)
        return false;

    const auto window = (unsigned long) (juce::pointer_sized_uint) peer->getNativeHandle();

    if (! PumpUntil ([&] { return IsWindowViewable (window); }, seconds))
        return false;

    if (! focused)
        return true;

    peer->grabFocus();
    return PumpUntil ([&] { return peer->isFocused(); }, seconds);
}
} // namespace qvtest
