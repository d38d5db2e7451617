// The adapter's editor in this process, where the processor can be asked
// what a host cannot see: a window id that names no window leaves no editor
// with the processor and no window on the display, and the next open into a
// real window still succeeds.
#include "JuceVSTWrapper.h"
#include "VstOpcodes.h"
#include "X11HostWindow.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace
{
intptr_t silentHost(AEffect*, int32_t opcode, int32_t, intptr_t, void*, float)
{
    return opcode == HostOpcode::version ? 2400 : 0;
}

void* unknownWindow(uintptr_t id) { return reinterpret_cast<void*>(id); }
} // namespace

TEST(WrapperEditorOpenTest, RefusedWindowLeavesNothingAndALaterOpenSucceeds)
{
    if (! HasX11Display())
        GTEST_SKIP() << "no display: run under xvfb-run (the test script does)";

    X11HostWindow hostWindow(600, 600, 0xffffff);
    ASSERT_TRUE(hostWindow.isOpen());

    juce::AudioProcessor* processor = createPluginFilterOfType(juce::AudioProcessor::wrapperType_VST);
    auto* wrapper = new JuceVSTWrapper(silentHost, processor);
    auto dispatch = [wrapper](int32_t opcode, void* ptr) {
        return AudioEffect::dispatchEffectClass(wrapper->getAeffect(), opcode, 0, 0, ptr, 0.0f);
    };

    // Ids the display does not know: one far past any window, one just above
    // the host's own, which the server may well hand out next.
    const uintptr_t refused[] = { 0x1fffffff, hostWindow.id() + 0x1000, 0x1fffffff };
    // The first open brings the GUI library's connection and its own hidden
    // window: whole-display counts are compared from the second refusal on.
    const int viewableBefore = hostWindow.viewableWindowsOnDisplay();
    int windowsBefore = -1;
    for (uintptr_t id : refused)
    {
        SCOPED_TRACE(testing::Message() << "window id 0x" << std::hex << id);
        EXPECT_EQ(dispatch(EffectOpcode::editorOpen, unknownWindow(id)), 0);
        EXPECT_EQ(processor->getActiveEditor(), nullptr) << "the refused editor is still the processor's";
        EXPECT_EQ(hostWindow.numChildren(), 0);
        EXPECT_EQ(hostWindow.viewableWindowsOnDisplay(), viewableBefore) << "a window shows on the display";
        if (windowsBefore >= 0)
        {
            EXPECT_EQ(hostWindow.windowsOnDisplay(), windowsBefore) << "a window was left on the display";
        }
        windowsBefore = hostWindow.windowsOnDisplay();
    }

    ASSERT_EQ(dispatch(EffectOpcode::editorOpen, hostWindow.handle()), 1) << "a real window after the refusals";
    EXPECT_NE(processor->getActiveEditor(), nullptr);
    EXPECT_EQ(hostWindow.numChildren(), 1);

    EXPECT_EQ(dispatch(EffectOpcode::editorClose, nullptr), 0);
    EXPECT_EQ(processor->getActiveEditor(), nullptr);
    EXPECT_EQ(hostWindow.numChildren(), 0);

    dispatch(EffectOpcode::close, nullptr); // deletes the wrapper and the processor
}
