// The processor base and the factory, driven through a small processor of the
// test's own. This executable supplies its own createPluginFilter(), so the
// factory's handling of the thread's wrapper type can be seen in isolation,
// including when a processor's constructor throws.

#include <gtest/gtest.h>

#include <atomic>
#include <cstddef>
#include <limits>
#include <memory>
#include <stdexcept>
#include <thread>
#include <vector>

#include "AudioProcessor.h"
#include "NeutralTestProcessor.h"

namespace
{
std::atomic<bool> nextConstructionThrows { false };

class TestProcessor : public NeutralTestProcessor
{
public:
    TestProcessor()
    {
        if (nextConstructionThrows.exchange(false))
            throw std::runtime_error("construction failed");
    }

    void processBlock(juce::AudioSampleBuffer& buffer, juce::MidiBuffer&) override { buffer.clear(); }
    juce::AudioProcessorEditor* createEditor() override
    {
        ++editorsCreated;
        return returnNullEditor ? nullptr : new juce::AudioProcessorEditor(this);
    }
    bool hasEditor() const override { return true; }

    using NeutralTestProcessor::getParameterName;
    using NeutralTestProcessor::getParameterText;
    int getNumParameters() override { return 35; }
    juce::String getParameterName(int i) override { return "Parameter " + juce::String(i); }
    float getParameter(int i) override { return juce::isPositiveAndBelow(i, 50) ? values[i] : 0.0f; }
    juce::String getParameterText(int i) override { return juce::String(getParameter(i), 3); }
    void setParameter(int i, float v) override
    {
        if (juce::isPositiveAndBelow(i, 50))
            values[i] = v;
    }

    void getStateInformation(juce::MemoryBlock& dest) override { dest.replaceAll("state", 5); }
    void setStateInformation(const void* data, int size) override { lastState = juce::MemoryBlock(data, (size_t) size); }

    void numChannelsChanged() override { ++channelChanges; }

    float values[50] {};
    int channelChanges = 0;
    int editorsCreated = 0;
    bool returnNullEditor = false;
    juce::MemoryBlock lastState;
};

struct Call
{
    int listener;
    juce::String what;
    int index;
    float value;
};

class RecordingListener : public juce::AudioProcessorListener
{
public:
    RecordingListener(int idNumber, std::vector<Call>& sharedLog) : id(idNumber), log(sharedLog) {}

    void audioProcessorParameterChanged(juce::AudioProcessor* p, int index, float value) override
    {
        log.push_back({ id, "parameter", index, value });
        for (auto* other : removeOnCall)
            p->removeListener(other);
    }
    void audioProcessorChanged(juce::AudioProcessor*) override { log.push_back({ id, "changed", -1, 0.0f }); }
    void audioProcessorParameterChangeGestureBegin(juce::AudioProcessor* p, int index) override
    {
        log.push_back({ id, "begin", index, 0.0f });
        for (auto* other : removeOnCall)
            p->removeListener(other);
    }
    void audioProcessorParameterChangeGestureEnd(juce::AudioProcessor*, int index) override
    {
        log.push_back({ id, "end", index, 0.0f });
    }

    std::vector<juce::AudioProcessorListener*> removeOnCall;

private:
    int id;
    std::vector<Call>& log;
};
} // namespace

juce::AudioProcessor* createPluginFilter()
{
    return new TestProcessor();
}

//==============================================================================
TEST(PluginFactory, EachWrapperTypeReachesTheProcessorAndIsResetAfterwards)
{
    for (auto type : { juce::AudioProcessor::wrapperType_VST, juce::AudioProcessor::wrapperType_AudioUnit,
                       juce::AudioProcessor::wrapperType_AAX })
    {
        std::unique_ptr<juce::AudioProcessor> made(createPluginFilterOfType(type));
        ASSERT_NE(made, nullptr);
        EXPECT_EQ(made->wrapperType, type) << "factory did not pass wrapper type " << type;

        TestProcessor plain;
        EXPECT_EQ(plain.wrapperType, juce::AudioProcessor::wrapperType_Undefined)
            << "thread's wrapper type left at " << type << " after the factory returned";
    }
}

TEST(PluginFactory, ThrowingConstructorPropagatesAndStillResetsTheWrapperType)
{
    nextConstructionThrows = true;
    EXPECT_THROW(createPluginFilterOfType(juce::AudioProcessor::wrapperType_AAX), std::runtime_error);

    TestProcessor plain;
    EXPECT_EQ(plain.wrapperType, juce::AudioProcessor::wrapperType_Undefined)
        << "a failed construction left the AAX wrapper type set for the next processor";
}

TEST(PluginFactory, WrapperTypeIsPerThread)
{
    juce::AudioProcessor::WrapperType seenOnOtherThread = juce::AudioProcessor::wrapperType_Undefined;

    juce::AudioProcessor::setTypeOfNextNewPlugin(juce::AudioProcessor::wrapperType_AudioUnit);
    std::thread other([&] {
        TestProcessor p;
        seenOnOtherThread = p.wrapperType;
    });
    other.join();
    TestProcessor here;
    juce::AudioProcessor::setTypeOfNextNewPlugin(juce::AudioProcessor::wrapperType_Undefined);

    EXPECT_EQ(seenOnOtherThread, juce::AudioProcessor::wrapperType_Undefined) << "type leaked to another thread";
    EXPECT_EQ(here.wrapperType, juce::AudioProcessor::wrapperType_AudioUnit);
}

//==============================================================================
TEST(AudioProcessorBase, PlayConfigStoresRateAlwaysAndReportsOnlyChannelCountChanges)
{
    TestProcessor p;
    EXPECT_EQ(p.getSampleRate(), 0.0);
    EXPECT_EQ(p.getNumInputChannels(), 0);

    p.setPlayConfigDetails(4, 6, 44100.0, 512);
    EXPECT_EQ(p.channelChanges, 1);
    EXPECT_EQ(p.getNumInputChannels(), 4);
    EXPECT_EQ(p.getNumOutputChannels(), 6);

    p.setPlayConfigDetails(4, 6, 96000.0, 128);
    EXPECT_EQ(p.channelChanges, 1) << "unchanged channel counts must not call numChannelsChanged";
    EXPECT_EQ(p.getSampleRate(), 96000.0);
    EXPECT_EQ(p.getBlockSize(), 128);

    p.setPlayConfigDetails(4, 8, 96000.0, 128);
    EXPECT_EQ(p.channelChanges, 2);
    EXPECT_EQ(p.getNumOutputChannels(), 8);
    EXPECT_FALSE(p.isSuspended());
}

TEST(AudioProcessorBase, EqualLatencyIsNotReportedTwice)
{
    TestProcessor p;
    std::vector<Call> log;
    RecordingListener l(1, log);
    p.addListener(&l);

    p.setLatencySamples(1);
    p.setLatencySamples(1);
    EXPECT_EQ(log.size(), 1u) << "setLatencySamples(1) twice must notify once";
    EXPECT_EQ(p.getLatencySamples(), 1);
    p.removeListener(&l);
}

TEST(AudioProcessorBase, OnlyAnnouncedParametersReachTheListeners)
{
    TestProcessor p;
    std::vector<Call> log;
    RecordingListener l(1, log);
    p.addListener(&l);

    const struct { int index; bool sent; } cases[] = { { 0, true }, { 34, true }, { 35, false }, { 36, false }, { -1, false } };

    for (auto c : cases)
    {
        log.clear();
        p.setParameterNotifyingHost(c.index, 0.625f);
        EXPECT_EQ(log.size(), c.sent ? 1u : 0u) << "index " << c.index;

        if (c.index >= 0)
        {
            EXPECT_EQ(p.getParameter(c.index), 0.625f) << "parameter " << c.index << " not set";
        }
    }

    p.removeListener(&l);
}

TEST(AudioProcessorBase, ListenersAreAddedOnceAndCalledNewestFirst)
{
    TestProcessor p;
    std::vector<Call> log;
    RecordingListener first(1, log), second(2, log);
    p.addListener(&first);
    p.addListener(&second);
    p.addListener(&first); // already there

    p.sendParamChangeMessageToListeners(3, 0.5f);
    ASSERT_EQ(log.size(), 2u) << "a listener added twice must be called once";
    EXPECT_EQ(log[0].listener, 2);
    EXPECT_EQ(log[1].listener, 1);
    EXPECT_EQ(log[0].index, 3);
    EXPECT_EQ(log[0].value, 0.5f);

    p.removeListener(&second);
    log.clear();
    p.updateHostDisplay();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].listener, 1);
    p.removeListener(&first);
}

TEST(AudioProcessorBase, ListenersRemovedDuringTheWalkAreSkipped)
{
    TestProcessor p;
    std::vector<Call> log;
    RecordingListener first(1, log), second(2, log);

    // The newest removes itself: the walk goes on to the older one.
    p.addListener(&first);
    p.addListener(&second);
    second.removeOnCall = { &second };
    p.sendParamChangeMessageToListeners(0, 1.0f);
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].listener, 2);
    EXPECT_EQ(log[1].listener, 1);

    // The newest removes everyone: the index that fell off the end is skipped.
    log.clear();
    p.addListener(&second);
    second.removeOnCall = { &first, &second };
    p.sendParamChangeMessageToListeners(0, 1.0f);
    ASSERT_EQ(log.size(), 1u) << "a listener removed during the walk was still called";
    EXPECT_EQ(log[0].listener, 2);
}

// Gesture begin and end go the way of value changes: every listener, the
// newest first, and only for the parameters announced to hosts.
TEST(AudioProcessorBase, GesturesReachEveryListenerNewestFirstForHostParametersOnly)
{
    TestProcessor p;
    std::vector<Call> log;
    RecordingListener first(1, log), second(2, log);
    p.addListener(&first);
    p.addListener(&second);

    const struct { int index; bool sent; } cases[] = {
        { 0, true }, { 5, true }, { 34, true },                                  // host parameters
        { 35, false }, { 36, false }, { 49, false }, { 50, false },               // input format, layout, meters, beyond
        { -1, false }, { std::numeric_limits<int>::min(), false },               // negative
    };

    for (auto c : cases)
    {
        log.clear();
        p.beginParameterChangeGesture(c.index);
        p.setParameterNotifyingHost(c.index, 0.25f);
        p.endParameterChangeGesture(c.index);

        if (! c.sent)
        {
            EXPECT_TRUE(log.empty()) << "index " << c.index << " reached a listener";
            continue;
        }

        const std::vector<std::pair<int, const char*>> expected = {
            { 2, "begin" }, { 1, "begin" }, { 2, "parameter" }, { 1, "parameter" }, { 2, "end" }, { 1, "end" }
        };
        ASSERT_EQ(log.size(), expected.size()) << "index " << c.index;
        for (size_t k = 0; k < expected.size(); ++k)
        {
            EXPECT_EQ(log[k].listener, expected[k].first) << "index " << c.index << ", call " << k;
            EXPECT_EQ(log[k].what, expected[k].second) << "index " << c.index << ", call " << k;
            EXPECT_EQ(log[k].index, c.index) << "index " << c.index << ", call " << k;
        }
    }

    // A listener that leaves during a begin: the walk goes on to the older one,
    // and the end reaches only the one still there.
    log.clear();
    second.removeOnCall = { &second };
    p.beginParameterChangeGesture(7);
    p.endParameterChangeGesture(7);
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0].listener, 2);
    EXPECT_EQ(log[1].listener, 1);
    EXPECT_EQ(log[2].listener, 1);
    EXPECT_EQ(log[2].what, "end");
    p.removeListener(&first);
}

TEST(AudioProcessorBase, EditorIsMadeOnceAndRemadeAfterDeletion)
{
    TestProcessor p;
    auto* editor = p.createEditorIfNeeded();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->getAudioProcessor(), &p);
    EXPECT_EQ(p.createEditorIfNeeded(), editor);
    EXPECT_EQ(p.editorsCreated, 1);

    p.editorBeingDeleted(editor);
    EXPECT_EQ(p.getActiveEditor(), nullptr);
    delete editor;

    std::unique_ptr<juce::AudioProcessorEditor> again(p.createEditorIfNeeded());
    EXPECT_EQ(p.editorsCreated, 2);

    // Deleting without telling the processor is also noticed: the reference is weak.
    again.reset();
    EXPECT_EQ(p.getActiveEditor(), nullptr);
    std::unique_ptr<juce::AudioProcessorEditor> third(p.createEditorIfNeeded());
    EXPECT_EQ(p.editorsCreated, 3);

    juce::AudioProcessorEditor stranger(&p);
    p.editorBeingDeleted(&stranger);
    EXPECT_EQ(p.getActiveEditor(), third.get()) << "another editor's deletion cleared the active one";
    p.editorBeingDeleted(third.get());
}

TEST(AudioProcessorBase, NullEditorIsNotRecorded)
{
    TestProcessor p;
    p.returnNullEditor = true;
    EXPECT_EQ(p.createEditorIfNeeded(), nullptr);
    EXPECT_EQ(p.getActiveEditor(), nullptr);
}

TEST(AudioProcessorBase, NameAndTextAreCutToTheRequestedLength)
{
    TestProcessor p;
    p.setParameter(7, 0.25f);
    EXPECT_EQ(p.getParameterName(7, 4), "Para");
    EXPECT_EQ(p.getParameterName(7, 100), "Parameter 7");
    EXPECT_EQ(p.getParameterText(7, 3), "0.2");
    EXPECT_EQ(p.getParameterName(7, 0), "");
}

TEST(AudioProcessorBase, BypassKeepsTheBufferAndProgramStateForwards)
{
    TestProcessor p;
    juce::AudioSampleBuffer buffer(2, 4);
    buffer.clear();
    buffer.setSample(0, 0, 0.5f);
    buffer.setSample(1, 3, -0.25f);
    juce::MidiBuffer midi;
    p.processBlockBypassed(buffer, midi);
    EXPECT_EQ(buffer.getSample(0, 0), 0.5f) << "bypass must pass the adapter's input through";
    EXPECT_EQ(buffer.getSample(1, 3), -0.25f);

    juce::MemoryBlock block;
    p.getCurrentProgramStateInformation(block);
    EXPECT_EQ(block.toString(), "state");
    p.setCurrentProgramStateInformation("abc", 3);
    EXPECT_EQ(p.lastState.toString(), "abc");
}

// The answers of the base's non-pure virtuals, which the adapters get for
// every processor that does not override them.
TEST(AudioProcessorBase, DefaultAnswersOfTheOptionalVirtuals)
{
    TestProcessor p;
    juce::AudioProcessor& base = p;

    for (int i : { 0, 34, 49, -1 })
    {
        EXPECT_EQ(base.getParameterNumSteps(i), 0x7fffffff) << "index " << i;
        EXPECT_EQ(base.getParameterDefaultValue(i), 0.0f) << "index " << i;
        EXPECT_EQ(base.getParameterLabel(i), "") << "index " << i;
        EXPECT_TRUE(base.isParameterAutomatable(i)) << "index " << i;
        EXPECT_FALSE(base.isMetaParameter(i)) << "index " << i;
    }

    EXPECT_EQ(base.getPlayHead(), nullptr);
    EXPECT_FALSE(base.isNonRealtime());
    EXPECT_EQ(base.getLatencySamples(), 0);
    EXPECT_TRUE(base.getInputSpeakerArrangement().isEmpty());

    // The added slot and reset do nothing by default; they must not touch parameters.
    p.setParameter(36, 0.5f);
    base.HostSetOutputFormat(1);
    base.reset();
    EXPECT_EQ(p.getParameter(36), 0.5f);
}

// The position record that every adapter fills: its frame-rate codes and the
// start of its layout are fixed, as the adapters write them field by field.
using PlayHead = juce::AudioPlayHead;
static_assert(PlayHead::fps24 == 0 && PlayHead::fps25 == 1 && PlayHead::fps2997 == 2 && PlayHead::fps30 == 3
                  && PlayHead::fps2997drop == 4 && PlayHead::fps30drop == 5 && PlayHead::fpsUnknown == 99,
              "frame-rate codes");
static_assert(sizeof(PlayHead::FrameRateType) == 4, "frame-rate type is a 32-bit field");
static_assert(offsetof(PlayHead::CurrentPositionInfo, timeSigNumerator) == 8, "numerator follows the tempo");
static_assert(offsetof(PlayHead::CurrentPositionInfo, timeInSamples) == 16, "position follows the time signature");
