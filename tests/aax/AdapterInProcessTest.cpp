// The adapter's objects in this process, for what a host cannot see from
// outside: the play head the processor would be given, the processor's
// reports reaching the host, and the editor's life inside the view.
#include "FakeHost.h"
#include "JuceAAX_GUI.h"
#include "JuceAAX_Processor.h"

#include <gtest/gtest.h>

using namespace AAXClasses;

namespace
{
constexpr double kTicksPerQuarter = 960000.0;

/** An effect object initialised by a host, released at the end. */
struct Effect
{
    Effect()
    {
        host.controller.sampleRate = 48000.0f;
        object = static_cast<JuceAAX_Processor*>(JuceAAX_Processor::Create());
        api()->AddRef();
        host.automation.answerTo = api();
        api()->Initialize(host.unknown());
    }

    ~Effect()
    {
        api()->Uninitialize();
        api()->Release();
    }

    AAX_IACFEffectParameters_V2* api() { return object; }
    juce::AudioProcessor& processor() { return object->getPluginInstance(); }

    FakeHost host;
    JuceAAX_Processor* object = nullptr;
};

juce::AudioPlayHead::CurrentPositionInfo positionOf(Effect& e)
{
    juce::AudioPlayHead::CurrentPositionInfo info;
    info.resetToDefault();
    info.isRecording = true;
    info.ppqPositionOfLastBarStart = 9.0;
    EXPECT_TRUE(e.processor().getPlayHead()->getCurrentPosition(info));
    return info;
}
} // namespace

TEST(AaxAdapterPlayHead, PositionComesFromTheTransport)
{
    Effect e;
    auto& t = e.host.transport;
    t.tempo = 97.5;
    t.writeMeter = true;
    t.meterNumerator = 7;
    t.meterDenominator = 8;
    t.writeTicks = true;
    t.ticks = int64_t(2.5 * kTicksPerQuarter);
    t.writeLoop = true;
    t.looping = true;
    t.loopStartTicks = int64_t(4 * kTicksPerQuarter);
    t.loopEndTicks = int64_t(8 * kTicksPerQuarter);
    t.writeNativeSample = t.writeSelection = true;
    t.nativeSample = 1234567891;   // over seven hours at 48 kHz
    t.selectionStart = 96000;

    const struct
    {
        const char* what;
        bool playing;
        AAX_Result playingStatus, selectionStatus;
        int64_t samples;
        double seconds;
    } cases[] = {
        { "playing: the play position", true, 0, 0, 1234567891, 1234567891.0 / 48000.0 },
        { "stopped: the selection start", false, 0, 0, 96000, 2.0 },
        { "stopped, no selection: the play position", false, 0, -20004, 1234567891, 1234567891.0 / 48000.0 },
        { "no playing state: stopped", true, -20004, 0, 96000, 2.0 },
    };
    for (const auto& c : cases)
    {
        t.playing = c.playing;
        t.playingStatus = c.playingStatus;
        t.selectionStatus = c.selectionStatus;
        const auto info = positionOf(e);
        EXPECT_EQ(info.timeInSamples, c.samples) << c.what;
        EXPECT_EQ(info.timeInSeconds, c.seconds) << c.what << ": seconds in double precision";
        EXPECT_EQ(info.isPlaying, c.playing && c.playingStatus == 0) << c.what;
        EXPECT_EQ(info.bpm, 97.5);
        EXPECT_EQ(info.timeSigNumerator, 7);
        EXPECT_EQ(info.timeSigDenominator, 8);
        EXPECT_EQ(info.ppqPosition, 2.5);
        EXPECT_TRUE(info.isLooping);
        EXPECT_EQ(info.ppqLoopStart, 4.0);
        EXPECT_EQ(info.ppqLoopEnd, 8.0);
        EXPECT_FALSE(info.isRecording);
        EXPECT_EQ(info.ppqPositionOfLastBarStart, 0.0);
    }

    // Time code: the host's rate code and offset give the frame rate and the
    // edit origin.
    const struct
    {
        int32_t code;
        AAX_Result status;
        juce::AudioPlayHead::FrameRateType type;
        double origin;
    } timeCodes[] = {
        { 1, 0, juce::AudioPlayHead::fps24, 3600.0 },
        { 2, 0, juce::AudioPlayHead::fps25, 3456.0 },
        { 3, 0, juce::AudioPlayHead::fps2997, 86400 / 29.97002997 },
        { 4, 0, juce::AudioPlayHead::fps2997drop, 86400 / 29.97002997 },
        { 5, 0, juce::AudioPlayHead::fps30, 2880.0 },
        { 6, 0, juce::AudioPlayHead::fps30drop, 2880.0 },
        { 7, 0, juce::AudioPlayHead::fps24, 86400 / 23.976 },
        { 0, 0, juce::AudioPlayHead::fpsUnknown, 3600.0 },
        { 8, 0, juce::AudioPlayHead::fpsUnknown, 3600.0 },
        { 1, -20004, juce::AudioPlayHead::fpsUnknown, 0.0 },
    };
    t.writeTimeCode = true;
    t.timeCodeOffset = 86400;
    for (const auto& c : timeCodes)
    {
        t.timeCodeRate = c.code;
        t.timeCodeStatus = c.status;
        const auto info = positionOf(e);
        EXPECT_EQ(info.frameRate, c.type) << "code " << c.code << ", status " << c.status;
        EXPECT_DOUBLE_EQ(info.editOriginTime, c.origin) << "code " << c.code << ", status " << c.status;
    }
}

TEST(AaxAdapterReports, TheProcessorsChangesReachTheHost)
{
    Effect e;
    auto& calls = e.host.record;

    calls.clear();
    e.processor().setParameterNotifyingHost(4, 0.5f);
    EXPECT_EQ(calls.callsStartingWith("Automation.PostSetValueRequest"), std::vector<std::string> { "Automation.PostSetValueRequest(4, 0.5)" });
    double value = 0;
    e.api()->GetParameterNormalizedValue("4", &value);
    EXPECT_EQ(value, 0.5);

    calls.clear();
    e.processor().setParameterNotifyingHost(36, 0.5f);   // not a host parameter
    EXPECT_TRUE(calls.callsStartingWith("Automation.").empty());

    calls.clear();
    e.processor().setLatencySamples(5);
    EXPECT_EQ(calls.callsStartingWith("Controller.SetSignalLatency"), std::vector<std::string> { "Controller.SetSignalLatency(5)" });

    calls.clear();
    e.object->audioProcessorParameterChangeGestureBegin(&e.processor(), 7);
    e.object->audioProcessorParameterChangeGestureEnd(&e.processor(), 7);
    e.object->audioProcessorParameterChangeGestureBegin(&e.processor(), -7);
    EXPECT_EQ(calls.callsStartingWith("Automation."),
              (std::vector<std::string> { "Automation.PostTouchRequest(7)", "Automation.PostReleaseRequest(7)" }));

    // Offline rendering: 'AXof' and 'AXox'.
    EXPECT_EQ(e.api()->NotificationReceived(0x41586F66, nullptr, 0), 0);
    EXPECT_TRUE(e.processor().isNonRealtime());
    EXPECT_EQ(e.api()->NotificationReceived(0x41586F78, nullptr, 0), 0);
    EXPECT_FALSE(e.processor().isNonRealtime());
}

// A gesture the processor reports (as the editor does around every change)
// reaches the host as a touch before the value and a release after it; gestures on
// the input format and layout, which are no host parameters, send nothing.
TEST(AaxAdapterReports, TheProcessorsGesturesBecomeTouchAndRelease)
{
    Effect e;
    auto& calls = e.host.record;

    calls.clear();
    e.processor().beginParameterChangeGesture(5);
    e.processor().setParameterNotifyingHost(5, 0.25f);
    e.processor().endParameterChangeGesture(5);
    for (int notHost : { 35, 36, -1 })
    {
        e.processor().beginParameterChangeGesture(notHost);
        e.processor().endParameterChangeGesture(notHost);
    }
    // The parameter layer frames each value with a touch and release of its
    // own, inside the gesture's; the host's answer comes back as the current value.
    EXPECT_EQ(calls.callsStartingWith("Automation."),
              (std::vector<std::string> { "Automation.PostTouchRequest(5)",
                                          "Automation.PostTouchRequest(5)", "Automation.PostSetValueRequest(5, 0.25)",
                                          "Automation.PostCurrentValue(5, 0.25)", "Automation.PostReleaseRequest(5)",
                                          "Automation.PostReleaseRequest(5)" }));
}

// The editor lives exactly as long as the wrapper; the processor hears of it
// before it goes; the wrapper follows the editor's size and tells the host.
TEST(AaxAdapterEditor, TheEditorLivesAndGoesWithTheWrapper)
{
    Effect e;
    auto* gui = static_cast<JuceAAX_GUI*>(JuceAAX_GUI::Create());
    static_cast<AAX_IACFEffectGUI*>(gui)->AddRef();
    e.host.effectParameters = e.api();
    ASSERT_EQ(gui->Initialize(e.host.unknown()), 0);

    auto* wrapper = gui->getContent();
    ASSERT_NE(wrapper, nullptr) << "made at Initialize";
    juce::Component::SafePointer<juce::Component> firstEditor(e.processor().getActiveEditor());
    ASSERT_NE(firstEditor.getComponent(), nullptr);
    EXPECT_EQ(firstEditor.getComponent(), wrapper->getEditor());
    gui->CreateViewContents();
    EXPECT_EQ(gui->getContent(), wrapper) << "one wrapper";

    FakeViewContainer container(e.host.record, 0);
    ASSERT_EQ(gui->SetViewContainer(&container), 0);
    e.host.record.clear();
    wrapper->getEditor()->setSize(600, 400);
    EXPECT_EQ(wrapper->getWidth(), 600);
    EXPECT_EQ(wrapper->getHeight(), 400);
    EXPECT_EQ(e.host.record.callsStartingWith("View."), std::vector<std::string> { "View.SetViewSize(400, 600)" });
    AAX_Point size {};
    EXPECT_EQ(gui->GetViewSize(&size), 0);
    EXPECT_EQ(size.horz, 600.0f);
    EXPECT_EQ(size.vert, 400.0f);

    ASSERT_EQ(gui->SetViewContainer(nullptr), 0);
    EXPECT_EQ(gui->getContent(), nullptr);
    EXPECT_EQ(firstEditor.getComponent(), nullptr) << "the editor went with its wrapper";
    EXPECT_EQ(e.processor().getActiveEditor(), nullptr) << "the processor was told";

    ASSERT_EQ(gui->SetViewContainer(&container), 0);
    ASSERT_NE(gui->getContent(), nullptr);
    EXPECT_NE(e.processor().getActiveEditor(), nullptr) << "a new editor with the new wrapper";
    EXPECT_EQ(gui->getContent()->getEditor(), e.processor().getActiveEditor());

    gui->Uninitialize();
    EXPECT_EQ(e.processor().getActiveEditor(), nullptr);
    static_cast<AAX_IACFEffectGUI*>(gui)->Release();
}
