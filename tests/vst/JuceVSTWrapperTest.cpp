// The adapter in-process, for what the record cannot reach: the chunk's
// release timing, the channel configurations and arrangement names as the
// processor receives them, the text limits, and the play head's request.
#include "ChannelConfigurations.h"
#include "JuceVSTWrapper.h"
#include "NeutralTestProcessor.h"
#include "Quorvane2AudioProcessor.h"
#include "VSTMidiEventList.h"
#include "VstOpcodes.h"

#include <HostType.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <functional>
#include <initializer_list>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace
{
std::vector<int32_t> sentOpcodes;
std::vector<intptr_t> sentValues;
VstTimeInfo* timeInfo = nullptr;
intptr_t processLevelReply = 0;

intptr_t fakeHost(AEffect*, int32_t opcode, int32_t, intptr_t value, void*, float)
{
    sentOpcodes.push_back(opcode);
    sentValues.push_back(value);
    if (opcode == HostOpcode::version)
        return 2400;
    if (opcode == HostOpcode::getTimeInfo)
        return reinterpret_cast<intptr_t>(timeInfo);
    if (opcode == HostOpcode::getCurrentProcessLevel)
        return processLevelReply;
    return 0;
}

class WrapperTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        sentOpcodes.clear();
        sentValues.clear();
        timeInfo = nullptr;
        processLevelReply = 0;
        processor = createPluginFilterOfType(juce::AudioProcessor::wrapperType_VST);
        wrapper = new JuceVSTWrapper(fakeHost, processor);
    }
    void TearDown() override { delete wrapper; }

    intptr_t dispatch(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr, float opt = 0)
    {
        return AudioEffect::dispatchEffectClass(wrapper->getAeffect(), opcode, index, value, ptr, opt);
    }

    bool arrange(VstSpeakerArrangement in, VstSpeakerArrangement out)
    {
        return dispatch(EffectOpcode::setSpeakerArrangement, 0, reinterpret_cast<intptr_t>(&in), &out) != 0;
    }

    juce::AudioProcessor* processor = nullptr; // owned by the wrapper
    JuceVSTWrapper* wrapper = nullptr;
};
} // namespace

namespace
{
// Texts longer than every limit of the record the host reads; "\xc3\xa9" is
// e acute and "\xe2\x82\xac" the euro sign, so a cut can fall inside a character.
const char* const kLongAscii = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
std::string repeated(const char* piece, int times)
{
    std::string s;
    for (int i = 0; i < times; ++i)
        s += piece;
    return s;
}

// A processor whose every text is one of the long texts above: index 0 and
// channel 0 answer ASCII, index 1 two-byte characters, index 2 three-byte ones.
class LongTextProcessor : public NeutralTestProcessor
{
public:
    static juce::String text(int i)
    {
        static const std::string twoByteChars = repeated("\xc3\xa9", 40);      // 80 bytes
        static const std::string threeByteChars = repeated("\xe2\x82\xac", 30); // 90 bytes
        return juce::String::fromUTF8(i == 1 ? twoByteChars.c_str() : i == 2 ? threeByteChars.c_str() : kLongAscii);
    }

    juce::String getInputChannelName(int i) const override { return text(i); }
    juce::String getOutputChannelName(int i) const override { return text(i); }
    int getNumParameters() override { return 3; }
    juce::String getParameterName(int i) override { return text(i); }
    juce::String getParameterText(int i) override { return text(i); }
    int getNumPrograms() override { return 3; }
    int getCurrentProgram() override { return current; }
    void setCurrentProgram(int i) override { current = i; }
    juce::String getProgramName(int i) override { return text(i); }

    int current = 0;
};
} // namespace

// Each text reaches the host as UTF-8 in at most its byte limit, the zero
// included, cut before a character that would not fit whole; not one byte
// past the zero is written.
TEST(WrapperTextLimitTest, EveryTextStopsAtItsByteLimit)
{
    auto* wrapper = new JuceVSTWrapper(fakeHost, new LongTextProcessor());
    auto dispatch = [wrapper](int32_t opcode, int32_t index, intptr_t value, void* ptr) {
        return AudioEffect::dispatchEffectClass(wrapper->getAeffect(), opcode, index, value, ptr, 0.0f);
    };

    enum Field { plainText, pinLabel, pinShortLabel };
    const struct
    {
        const char* what;
        int32_t opcode;
        int32_t index;   // also the program for the program-name opcodes
        size_t limit;    // bytes, the zero included
        Field field;
    } rows[] = {
        { "parameter name, ASCII", EffectOpcode::getParameterName, 0, 16, plainText },
        { "parameter name, 2-byte characters", EffectOpcode::getParameterName, 1, 16, plainText },
        { "parameter name, 3-byte characters", EffectOpcode::getParameterName, 2, 16, plainText },
        { "parameter text, ASCII", EffectOpcode::getParameterDisplay, 0, 24, plainText },
        { "parameter text, 2-byte characters", EffectOpcode::getParameterDisplay, 1, 24, plainText },
        { "parameter text, 3-byte characters", EffectOpcode::getParameterDisplay, 2, 24, plainText },
        { "program name, ASCII", EffectOpcode::getProgramName, 0, 24, plainText },
        { "program name, 3-byte characters", EffectOpcode::getProgramName, 2, 24, plainText },
        { "indexed program name, ASCII", EffectOpcode::getProgramNameIndexed, 0, 24, plainText },
        { "indexed program name, 2-byte characters", EffectOpcode::getProgramNameIndexed, 1, 24, plainText },
        { "input pin label, ASCII", EffectOpcode::getInputProperties, 0, 63, pinLabel },
        { "output pin label, 2-byte characters", EffectOpcode::getOutputProperties, 1, 63, pinLabel },
        { "input pin short label, ASCII", EffectOpcode::getInputProperties, 0, 7, pinShortLabel },
        { "output pin short label, 3-byte characters", EffectOpcode::getOutputProperties, 2, 7, pinShortLabel },
    };

    for (const auto& row : rows)
    {
        // The longest run of whole characters that fits before the zero.
        const std::string full = LongTextProcessor::text(row.index).toStdString();
        size_t cut = 0;
        while (cut < full.size())
        {
            const auto lead = (unsigned char) full[cut];
            const size_t width = lead < 0x80 ? 1 : lead < 0xe0 ? 2 : lead < 0xf0 ? 3 : 4;
            if (cut + width > row.limit - 1)
                break;
            cut += width;
        }
        ASSERT_GT(full.size(), row.limit) << row.what << ": the text must be longer than the limit";

        std::vector<char> bytes(256, 'X');
        char* text = bytes.data();
        VstPinProperties pin;
        if (row.field == plainText)
        {
            if (row.opcode == EffectOpcode::getProgramNameIndexed)
                dispatch(row.opcode, row.index, 0, text);
            else
            {
                dispatch(EffectOpcode::setProgram, 0, row.index, nullptr);
                dispatch(row.opcode, row.index, 0, text);
            }
        }
        else
        {
            std::memset(&pin, 'X', sizeof(pin));
            ASSERT_EQ(dispatch(row.opcode, row.index, 0, &pin), 1) << row.what;
            text = row.field == pinLabel ? pin.label : pin.shortLabel;
        }

        const size_t room = row.field == pinLabel ? sizeof(pin.label) : row.field == pinShortLabel ? sizeof(pin.shortLabel) : bytes.size();
        const std::string written(text, std::find(text, text + room, '\0'));
        EXPECT_EQ(written, full.substr(0, cut)) << row.what << ": limit " << row.limit << " bytes";
        ASSERT_LT(cut, room) << row.what;
        for (size_t i = cut + 1; i < std::min(room, row.limit + 8); ++i)
            EXPECT_EQ(text[i], 'X') << row.what << ": byte " << i << " past the text was written";
    }

    delete wrapper;
}

TEST(ChunkAgeTest, ElapsedTimeAcrossTheCounterWrap)
{
    const struct { const char* name; uint32_t fetchedAt, now; bool stale; } cases[] = {
        { "1 s later", 10000, 11000, false },
        { "2000 ms later", 10000, 12000, false },
        { "2001 ms later", 10000, 12001, true },
        { "just after the wrap, 256 ms later", 0x100, 0x200, false },
        { "fetched before the wrap, read 4.6 s later", 0xFFFFF000u, 0x00000200u, true },
        { "fetched before the wrap, read 1.5 s later", 0xFFFFFC00u, 0x000001E8u, false },
    };
    for (const auto& c : cases)
        EXPECT_EQ(JuceVSTWrapper::isChunkStale(c.fetchedAt, c.now), c.stale) << c.name;
}

TEST_F(WrapperTest, ChunkIsReleasedOnlyWhenStaleAndNotAfterSetChunk)
{
    void* data = nullptr;
    // The wrapper notes the time of the fetch between these two readings,
    // however long the machine takes over it.
    const uint32_t before = juce::Time::getApproximateMillisecondCounter();
    const int32_t size = wrapper->getChunk(&data, false);
    const uint32_t after = juce::Time::getMillisecondCounter();
    ASSERT_GT(size, 0);
    EXPECT_FALSE(wrapper->releaseChunkIfStale(before + 500)) << "still within the hold time";
    EXPECT_TRUE(wrapper->releaseChunkIfStale(after + 2500));
    EXPECT_FALSE(wrapper->releaseChunkIfStale(after + 5000)) << "nothing left to release";

    ASSERT_GT(wrapper->getChunk(&data, false), 0);
    std::vector<char> copy(static_cast<char*>(data), static_cast<char*>(data) + size);
    wrapper->setChunk(copy.data(), size, false);
    EXPECT_FALSE(wrapper->releaseChunkIfStale(juce::Time::getApproximateMillisecondCounter() + 100000u))
        << "setChunk must release the buffer handed out before";
}

TEST_F(WrapperTest, PlayHeadAsksForEverythingAndReadsTheRecord)
{
    juce::AudioPlayHead::CurrentPositionInfo info {};
    EXPECT_FALSE(wrapper->getCurrentPosition(info)) << "host without a time record";
    ASSERT_FALSE(sentOpcodes.empty());
    EXPECT_EQ(sentOpcodes.back(), HostOpcode::getTimeInfo);
    EXPECT_EQ(sentValues.back(), 0xfe00);

    VstTimeInfo t;
    std::memset(&t, 0, sizeof(t));
    t.sampleRate = 44100.0;
    t.samplePos = 44100.0;
    t.tempo = 90.0;
    t.flags = kTempoValid | kTransportPlaying;
    timeInfo = &t;
    ASSERT_TRUE(wrapper->getCurrentPosition(info));
    EXPECT_EQ(info.bpm, 90.0);
    EXPECT_EQ(info.timeInSeconds, 1.0);
    EXPECT_TRUE(info.isPlaying);
}

TEST_F(WrapperTest, ConstructionConfiguresTheProcessor)
{
    EXPECT_EQ(processor->getNumInputChannels(), 8);
    EXPECT_EQ(processor->getNumOutputChannels(), 8);
    EXPECT_EQ(processor->getSampleRate(), 0.0) << "no rate until the host resumes";
    EXPECT_EQ(processor->getBlockSize(), 0);
    EXPECT_EQ(processor->getPlayHead(), static_cast<juce::AudioPlayHead*>(wrapper));
}

TEST_F(WrapperTest, ResumePreparesTheProcessorAtTheHostsRate)
{
    const struct { const char* name; float rate; int32_t block; intptr_t level; double expectedRate; bool offline; } cases[] = {
        { "48 kHz realtime", 48000.0f, 256, 1, 48000.0, false },
        { "offline render", 96000.0f, 64, 4, 96000.0, true },
        { "rate 0 falls back", 0.0f, 512, 0, 44100.0, false },
        { "negative rate falls back", -1.0f, 512, 1, 44100.0, false },
        { "block size 0 passed on as announced", 44100.0f, 0, 1, 44100.0, false },
    };
    for (const auto& c : cases)
    {
        processLevelReply = c.level;
        dispatch(EffectOpcode::setSampleRate, 0, 0, nullptr, c.rate);
        dispatch(EffectOpcode::setBlockSize, 0, c.block);
        dispatch(EffectOpcode::suspendResume, 0, 1);
        EXPECT_EQ(processor->getSampleRate(), c.expectedRate) << c.name;
        EXPECT_EQ(processor->getBlockSize(), c.block) << c.name;
        EXPECT_EQ(processor->isNonRealtime(), c.offline) << c.name;
        EXPECT_EQ(processor->getNumInputChannels(), 8) << c.name;
        dispatch(EffectOpcode::suspendResume, 0, 0);
    }
}

TEST_F(WrapperTest, ArrangementNamesAndCountsReachTheProcessor)
{
    dispatch(EffectOpcode::setSampleRate, 0, 0, nullptr, 48000.0f);
    dispatch(EffectOpcode::setBlockSize, 0, 128);
    dispatch(EffectOpcode::suspendResume, 0, 1);
    dispatch(EffectOpcode::suspendResume, 0, 0);

    // 5.1 in (type 15), stereo out (type 1).
    ASSERT_TRUE(arrange({ 15, 6 }, { 1, 2 }));
    EXPECT_EQ(processor->getInputSpeakerArrangement(), "L R C Lfe Ls Rs");
    EXPECT_EQ(processor->getOutputSpeakerArrangement(), "L R");
    EXPECT_EQ(processor->getNumInputChannels(), 6);
    EXPECT_EQ(processor->getNumOutputChannels(), 2);
    EXPECT_EQ(processor->getSampleRate(), 48000.0) << "the processor's own rate is kept";
    EXPECT_EQ(processor->getBlockSize(), 128) << "the processor's own block size is kept";

    // A type outside the names table is accepted by its counts, with no name.
    ASSERT_TRUE(arrange({ 99, 2 }, { 17, 6 }));
    EXPECT_EQ(processor->getInputSpeakerArrangement(), "");
    EXPECT_EQ(processor->getOutputSpeakerArrangement(), "L R Ls Rs Sl Sr ");

    // Refused: the names are cleared, the counts stay.
    EXPECT_FALSE(arrange({ 0, 1 }, { 0, 1 }));
    EXPECT_EQ(processor->getInputSpeakerArrangement(), "");
    EXPECT_EQ(processor->getOutputSpeakerArrangement(), "");
    EXPECT_EQ(processor->getNumInputChannels(), 2);
    EXPECT_EQ(processor->getNumOutputChannels(), 6);

    // The record the host reads keeps announcing 8 and 8.
    EXPECT_EQ(wrapper->getAeffect()->numInputs, 8);
    EXPECT_EQ(wrapper->getAeffect()->numOutputs, 8);
}

TEST_F(WrapperTest, LatencyChangeIsReportedToTheHost)
{
    wrapper->audioProcessorChanged(nullptr);
    EXPECT_EQ(sentOpcodes, (std::vector<int32_t> { HostOpcode::ioChanged, HostOpcode::updateDisplay }));
    EXPECT_EQ(wrapper->getAeffect()->initialDelay, 1);
}

TEST_F(WrapperTest, GesturesBecomeBeginAndEndEdit)
{
    wrapper->audioProcessorParameterChangeGestureBegin(nullptr, 5);
    wrapper->audioProcessorParameterChangeGestureEnd(nullptr, 5);
    EXPECT_EQ(sentOpcodes, (std::vector<int32_t> { HostOpcode::beginEdit, HostOpcode::endEdit }));
}

// The Audio Unit host is shown the pairs in their stored order.
constexpr bool configurationsInStoredOrder()
{
    const int16_t expected[13][2] = { { 2, 2 }, { 2, 4 }, { 2, 6 }, { 2, 7 }, { 2, 8 }, { 4, 2 }, { 6, 2 },
                                      { 7, 2 }, { 8, 2 }, { 4, 4 }, { 6, 6 }, { 7, 7 }, { 8, 8 } };
    for (int i = 0; i < 13; ++i)
        if (kChannelConfigurations[i].numIns != expected[i][0] || kChannelConfigurations[i].numOuts != expected[i][1])
            return false;
    return kNumChannelConfigurations == 13;
}
static_assert(configurationsInStoredOrder(), "the thirteen channel configurations in their stored order");

// Every count pair from 0 to 9 on each side: exactly the thirteen are accepted.
TEST_F(WrapperTest, OnlyTheThirteenChannelConfigurationsAreAccepted)
{
    const std::set<std::pair<int, int>> accepted = { { 2, 2 }, { 2, 4 }, { 2, 6 }, { 2, 7 }, { 2, 8 }, { 4, 2 }, { 6, 2 },
                                                     { 7, 2 }, { 8, 2 }, { 4, 4 }, { 6, 6 }, { 7, 7 }, { 8, 8 } };
    for (int ins = -1; ins <= 9; ++ins)
        for (int outs = -1; outs <= 9; ++outs)
        {
            const bool expected = accepted.count({ ins, outs }) != 0;
            EXPECT_EQ(arrange({ 0, ins }, { 0, outs }), expected) << ins << " in, " << outs << " out";
            if (expected)
            {
                EXPECT_EQ(processor->getNumInputChannels(), ins) << ins << " in, " << outs << " out";
                EXPECT_EQ(processor->getNumOutputChannels(), outs) << ins << " in, " << outs << " out";
            }
        }
}

// The name the processor is given for each arrangement type; rows 17 and 20
// end in a blank, and types outside 0 to 28 have no name.
TEST_F(WrapperTest, ArrangementTypesReachTheProcessorByName)
{
    const struct { int32_t type; const char* name; } cases[] = {
        { 0, "M" }, { 1, "L R" }, { 2, "Ls Rs" }, { 3, "Lc Rc" }, { 4, "Sl Sr" }, { 5, "C Lfe" },
        { 6, "L R C" }, { 7, "L R S" }, { 8, "L R C Lfe" }, { 9, "L R Lfe S" }, { 10, "L R C S" },
        { 11, "L R Ls Rs" }, { 12, "L R C Lfe S" }, { 13, "L R Lfe Ls Rs" }, { 14, "L R C Ls Rs" },
        { 15, "L R C Lfe Ls Rs" }, { 16, "L R C Ls Rs Cs" }, { 17, "L R Ls Rs Sl Sr " },
        { 18, "L R C Lfe Ls Rs Cs" }, { 19, "L R Lfe Ls Rs Sl Sr" }, { 20, "L R C Ls Rs Lc Rc " },
        { 21, "L R C Ls Rs Sl Sr" }, { 22, "L R C Lfe Ls Rs Lc Rc" }, { 23, "L R C Lfe Ls Rs Sl Sr" },
        { 24, "L R C Ls Rs Lc Rc Cs" }, { 25, "L R C Ls Rs Cs Sl Sr" }, { 26, "L R C Lfe Ls Rs Lc Rc Cs" },
        { 27, "L R C Lfe Ls Rs Cs Sl Sr" }, { 28, "L R C Lfe Ls Rs Tfl Tfc Tfr Trl Trr Lfe2" },
        { 29, "" }, { -1, "" }, { -2, "" }, { 1000, "" },
    };
    for (const auto& c : cases)
    {
        ASSERT_TRUE(arrange({ c.type, 2 }, { 1, 2 })) << "type " << c.type;
        EXPECT_EQ(processor->getInputSpeakerArrangement(), c.name) << "input type " << c.type;
        ASSERT_TRUE(arrange({ 1, 2 }, { c.type, 2 })) << "type " << c.type;
        EXPECT_EQ(processor->getOutputSpeakerArrangement(), c.name) << "output type " << c.type;
    }
}

TEST(VSTMidiEventListTest, FreeEventsEmptiesTheList)
{
    juce::VSTMidiEventList list;
    const uint8_t note[3] = { 0x90, 60, 100 };
    const uint8_t sysex[6] = { 0xf0, 1, 2, 3, 4, 0xf7 };
    list.addEvent(1, note, 3);
    list.addEvent(juce::VSTMidiEventList::kSysExType, sysex, 6);
    list.addEvent(1, nullptr, 5); // bad: data missing
    EXPECT_EQ(list.getNumEvents(), 2);
    list.freeEvents();
    EXPECT_EQ(list.getNumEvents(), 0);
    list.freeEvents();
    EXPECT_EQ(list.getNumEvents(), 0);
}


// Without an editor (the neutral processor offers none) the host must not be
// told that a window opened, nor be given a size, and the record says there
// is no editor.
TEST(WrapperEditorTest, ProcessorWithoutEditorAnswersZeroToOpenAndSize)
{
    auto* wrapper = new JuceVSTWrapper(fakeHost, new NeutralTestProcessor());
    auto dispatch = [wrapper](int32_t opcode, void* ptr) {
        return AudioEffect::dispatchEffectClass(wrapper->getAeffect(), opcode, 0, 0, ptr, 0.0f);
    };

    int hostWindowStandIn = 0;
    EXPECT_EQ(dispatch(EffectOpcode::editorOpen, &hostWindowStandIn), 0);
    EXPECT_EQ(wrapper->getAeffect()->flags & kFlagHasEditor, 0) << "has-editor flag left set";

    VstRect* rect = nullptr;
    EXPECT_EQ(dispatch(EffectOpcode::editorGetRect, &rect), 0);
    EXPECT_EQ(rect, nullptr) << "a size was written without an editor";
    EXPECT_EQ(dispatch(EffectOpcode::editorClose, nullptr), 0);
    EXPECT_EQ(dispatch(EffectOpcode::editorIdle, nullptr), 0);

    dispatch(EffectOpcode::close, nullptr); // deletes the wrapper
}

//==============================================================================
// Edits the editor reports (begin edit 43, automate 0, end edit 44) as the host
// callback hears them: at once, from the editing thread, under most hosts;
// under Ardour only from the next process call, on the thread that makes it.
namespace
{
struct HeardEdit
{
    int32_t opcode;
    int32_t index;
    float value;
    std::thread::id thread;
    float sampleSeen = 0.0f; // *watchedSample when the host was told
};

// The host's own writes go into the same log, with this opcode, so that what
// it holds can be replayed in the order things happened.
constexpr int32_t kHostWrote = -1;

std::mutex heardLock;
std::vector<HeardEdit> heardEdits;
const float* watchedSample = nullptr;

intptr_t editRecordingHost(AEffect*, int32_t opcode, int32_t index, intptr_t, void*, float opt)
{
    if (opcode == HostOpcode::automate || opcode == HostOpcode::beginEdit || opcode == HostOpcode::endEdit)
    {
        const std::lock_guard<std::mutex> lock(heardLock);
        heardEdits.push_back({ opcode, index, opcode == HostOpcode::automate ? opt : 0.0f, std::this_thread::get_id(),
                               watchedSample != nullptr ? *watchedSample : 0.0f });
    }
    return opcode == HostOpcode::version ? 2400 : 0;
}

std::vector<HeardEdit> takeHeardEdits()
{
    const std::lock_guard<std::mutex> lock(heardLock);
    return std::exchange(heardEdits, {});
}

std::string describe(const std::vector<HeardEdit>& edits)
{
    std::string text;
    for (const auto& e : edits)
        text += std::to_string(e.opcode) + "/" + std::to_string(e.index) + " ";
    return text;
}

class DeferredEditNoticeTest : public ::testing::Test
{
protected:
    void startWrapper(HostType::Type host, juce::AudioProcessor* given = nullptr)
    {
        takeHeardEdits();
        HostType::SetHostTypeForTesting(host);
        processor = given != nullptr ? given : createPluginFilterOfType(juce::AudioProcessor::wrapperType_VST);
        wrapper = new JuceVSTWrapper(editRecordingHost, processor);
        auto* effect = wrapper->getAeffect();
        AudioEffect::dispatchEffectClass(effect, EffectOpcode::setSampleRate, 0, 0, nullptr, 48000.0f);
        AudioEffect::dispatchEffectClass(effect, EffectOpcode::setBlockSize, 0, kFrames, nullptr, 0.0f);
        AudioEffect::dispatchEffectClass(effect, EffectOpcode::suspendResume, 0, 1, nullptr, 0.0f);
    }
    void TearDown() override
    {
        delete wrapper;
        HostType::ClearHostTypeForTesting();
    }

    // The host switches the plug-in on or off (Ardour's Active switch); it
    // does not process it while off.
    void setActive(bool on)
    {
        AudioEffect::dispatchEffectClass(wrapper->getAeffect(), EffectOpcode::suspendResume, 0, on ? 1 : 0, nullptr, 0.0f);
    }

    // One block, as the host's audio thread makes it.
    void process(JuceVSTWrapper* instance = nullptr)
    {
        std::array<float*, 8> channels;
        for (size_t i = 0; i < channels.size(); ++i)
            channels[i] = audio[i].data();
        (instance != nullptr ? instance : wrapper)->processReplacing(channels.data(), channels.data(), kFrames);
    }

    // One block from a thread of the test's own, whose id it answers.
    std::thread::id processOnAnotherThread()
    {
        std::thread::id id;
        std::thread audioThread([&] { id = std::this_thread::get_id(); process(); });
        audioThread.join();
        return id;
    }

    static constexpr int kFrames = 64;
    std::array<std::array<float, kFrames>, 8> audio {};
    juce::AudioProcessor* processor = nullptr; // owned by the wrapper
    JuceVSTWrapper* wrapper = nullptr;
};
} // namespace

TEST_F(DeferredEditNoticeTest, ArdourHearsAGestureAtTheNextProcessCallOnItsThreads)
{
    startWrapper(HostType::Ardour);
    ASSERT_TRUE(wrapper->defersEditNotices());

    processor->beginParameterChangeGesture(5);
    processor->setParameterNotifyingHost(5, 0.3f);
    processor->endParameterChangeGesture(5);

    EXPECT_EQ(describe(takeHeardEdits()), "") << "Ardour was told of the edit on the editing thread";
    EXPECT_NEAR(processor->getParameter(5), 0.3f, 1.0e-6f) << "the value itself must not wait";

    const auto audioThread = processOnAnotherThread();
    const auto heard = takeHeardEdits();
    ASSERT_EQ(describe(heard), "43/5 0/5 44/5 ");
    EXPECT_EQ(heard[1].value, 0.3f);
    for (const auto& e : heard)
        EXPECT_EQ(e.thread, audioThread) << "opcode " << e.opcode << " not sent from the process call";

    processOnAnotherThread();
    EXPECT_EQ(describe(takeHeardEdits()), "") << "sent twice";
}

TEST_F(DeferredEditNoticeTest, OtherHostsHearAGestureAtOnce)
{
    for (auto host : { HostType::UnknownHost, HostType::SteinbergCubase7, HostType::AbletonLiveGeneric })
    {
        startWrapper(host);
        EXPECT_FALSE(wrapper->defersEditNotices()) << "host type " << (int) host;

        processor->beginParameterChangeGesture(5);
        processor->setParameterNotifyingHost(5, 0.3f);
        processor->endParameterChangeGesture(5);

        const auto heard = takeHeardEdits();
        ASSERT_EQ(describe(heard), "43/5 0/5 44/5 ") << "host type " << (int) host;
        EXPECT_EQ(heard[1].value, 0.3f);
        for (const auto& e : heard)
            EXPECT_EQ(e.thread, std::this_thread::get_id()) << "host type " << (int) host;

        processOnAnotherThread();
        EXPECT_EQ(describe(takeHeardEdits()), "") << "host type " << (int) host << ": heard again from process";
        delete wrapper;
        wrapper = nullptr;
    }
}

// What the editor does for one user action on these parameters: a begin for
// each, the writes, an end for each.
template <typename Write>
void framedEdit(juce::AudioProcessor& processor, std::initializer_list<int> indices, Write&& write)
{
    for (int index : indices)
        processor.beginParameterChangeGesture(index);
    write();
    for (int index : indices)
        processor.endParameterChangeGesture(index);
}

// Each touched parameter once, in index order, as begin, its value now and
// end; the values the host heard must be the processor's.
::testing::AssertionResult heardOneGestureEach(const std::vector<HeardEdit>& heard, std::initializer_list<int> indices,
                                               juce::AudioProcessor& processor)
{
    std::string expected;
    for (int index : indices)
        expected += "43/" + std::to_string(index) + " 0/" + std::to_string(index) + " 44/" + std::to_string(index) + " ";
    if (describe(heard) != expected)
        return ::testing::AssertionFailure() << "heard " << describe(heard) << "\nwanted " << expected;
    for (size_t k = 1; k < heard.size(); k += 3)
        if (heard[k].value != processor.getParameter(heard[k].index))
            return ::testing::AssertionFailure() << "parameter " << heard[k].index << ": heard " << heard[k].value
                                                 << ", the processor holds " << processor.getParameter(heard[k].index);
    return ::testing::AssertionSuccess();
}

// Ardour stops processing while the plug-in is deactivated, its editor still
// open: however much the user does meanwhile, the next process call tells
// the host every touched parameter's latest value, in balanced gestures.
TEST_F(DeferredEditNoticeTest, EditsMadeWhileTheHostIsNotProcessingAllReachItAtTheNextProcessCall)
{
    startWrapper(HostType::Ardour);
    auto& quorvane = dynamic_cast<Quorvane2AudioProcessor&>(*processor);
    // A drag of 20000 moves over a control of `steps` whole degrees, let go
    // at `last`.
    auto drag = [this](int index, int steps, float last) {
        framedEdit(*processor, { index }, [&] {
            for (int move = 0; move < 20000; ++move)
                processor->setParameterNotifyingHost(index, (float) (move % (steps + 1)) / (float) steps);
            processor->setParameterNotifyingHost(index, last);
        });
    };
    process();
    takeHeardEdits();

    setActive(false);
    // A long drag on Front Tilt that ends at 26 degrees, a click on C's mute,
    // a step of Rear Tilt to 9 degrees, and the ALL pattern row.
    drag(5, 180, 26.0f / 180.0f);
    framedEdit(*processor, { 24 }, [&] { processor->setParameterNotifyingHost(24, 1.0f); });
    framedEdit(*processor, { 6 }, [&] { processor->setParameterNotifyingHost(6, 9.0f / 180.0f); });
    framedEdit(*processor, { 8, 9, 10, 11, 12 }, [&] { quorvane.setAllPolars(0.375f); });
    EXPECT_EQ(describe(takeHeardEdits()), "") << "the host heard of edits while not processing";
    EXPECT_EQ(processor->getParameter(5), 26.0f / 180.0f);
    EXPECT_EQ(processor->getParameter(24), 1.0f);
    EXPECT_EQ(processor->getParameter(6), 9.0f / 180.0f);

    setActive(true);
    process();
    EXPECT_TRUE(heardOneGestureEach(takeHeardEdits(), { 5, 6, 8, 9, 10, 11, 12, 24 }, *processor));
    process();
    EXPECT_EQ(describe(takeHeardEdits()), "") << "sent twice";

    // Again, after the first send: Rotate dragged to 200 degrees, C unmuted.
    setActive(false);
    drag(4, 359, 200.0f / 360.0f);
    framedEdit(*processor, { 24 }, [&] { processor->setParameterNotifyingHost(24, 0.0f); });
    setActive(true);
    process();
    EXPECT_TRUE(heardOneGestureEach(takeHeardEdits(), { 4, 24 }, *processor));
    EXPECT_EQ(processor->getParameter(4), 200.0f / 360.0f);
}

// The host heard the begin and a value; the end, and the value before it,
// come while it is not processing.
TEST_F(DeferredEditNoticeTest, AGestureBegunWhileProcessingAndEndedWhileNot)
{
    startWrapper(HostType::Ardour);

    processor->beginParameterChangeGesture(6);
    processor->setParameterNotifyingHost(6, 0.25f);
    process();
    auto heard = takeHeardEdits();
    ASSERT_EQ(describe(heard), "43/6 0/6 ");
    EXPECT_EQ(heard[1].value, 0.25f);

    setActive(false);
    processor->setParameterNotifyingHost(6, 0.5f);
    processor->endParameterChangeGesture(6);
    // Begun while not processing, still held when processing starts again.
    processor->beginParameterChangeGesture(7);
    processor->setParameterNotifyingHost(7, 0.75f);
    setActive(true);
    process();
    heard = takeHeardEdits();
    ASSERT_EQ(describe(heard), "0/6 44/6 43/7 0/7 ");
    EXPECT_EQ(heard[0].value, 0.5f);
    EXPECT_EQ(heard[3].value, 0.75f);

    processor->endParameterChangeGesture(7);
    process();
    EXPECT_EQ(describe(takeHeardEdits()), "44/7 ");
}

// The host records an edit at the time of the block it hears it in, so it
// hears it before the block is processed; and Ardour's bypass button drives
// the plug-in's own bypass and keeps processing, so edits reach it then too.
TEST_F(DeferredEditNoticeTest, EditsReachTheHostBeforeTheBlockAndWhileBypassed)
{
    startWrapper(HostType::Ardour);
    process();
    takeHeardEdits();
    constexpr float kUntouched = 0.5f;

    for (const bool bypassed : { false, true, false })
    {
        const std::string at = bypassed ? "bypassed" : "not bypassed";
        AudioEffect::dispatchEffectClass(wrapper->getAeffect(), EffectOpcode::setBypass, 0, bypassed ? 1 : 0, nullptr, 0.0f);
        const float value = bypassed ? 0.25f : 0.75f;
        framedEdit(*processor, { 4 }, [&] { processor->setParameterNotifyingHost(4, value); });

        for (auto& channel : audio)
            channel.fill(kUntouched);
        watchedSample = &audio[0][0];
        process();
        watchedSample = nullptr;

        const auto heard = takeHeardEdits();
        ASSERT_EQ(describe(heard), "43/4 0/4 44/4 ") << at;
        EXPECT_EQ(heard[1].value, value) << at;
        if (!bypassed)
        {
            ASSERT_NE(audio[0][0], kUntouched) << "the block must change the sample watched";
            for (const auto& e : heard)
                EXPECT_EQ(e.sampleSeen, kUntouched) << "opcode " << e.opcode << " was sent after the block";
        }
    }
}

// Thousands of gestures, each made while the audio thread goes on processing
// and each given one process call before the next: every one reaches the
// host whole, the last ones too.
TEST_F(DeferredEditNoticeTest, ThousandsOfGesturesWhileProcessingEachReachTheHostThreads)
{
    startWrapper(HostType::Ardour);
    constexpr int kGestures = 4000;
    std::atomic<bool> editsDone { false };
    std::atomic<int> blocks { 0 };
    std::thread::id audioThreadId;

    std::thread audioThread([&] {
        audioThreadId = std::this_thread::get_id();
        while (!editsDone.load())
        {
            process();
            blocks.fetch_add(1);
        }
    });

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    int made = 0;
    for (; made < kGestures && std::chrono::steady_clock::now() < deadline; ++made)
    {
        const int index = made % 35;
        processor->beginParameterChangeGesture(index);
        processor->setParameterNotifyingHost(index, (float) (made % 1000) / 1000.0f);
        processor->endParameterChangeGesture(index);
        // A block that began after the end has run to its finish.
        const int seen = blocks.load();
        while (blocks.load() < seen + 2 && std::chrono::steady_clock::now() < deadline)
            std::this_thread::yield();
    }
    editsDone = true;
    audioThread.join();
    ASSERT_EQ(made, kGestures) << "the audio thread stalled";

    const auto heard = takeHeardEdits();
    ASSERT_EQ(heard.size(), 3u * kGestures);
    for (int g = 0; g < kGestures; ++g)
    {
        const auto* e = &heard[3 * (size_t) g];
        const std::string gesture = describe({ e[0], e[1], e[2] });
        const std::string i = std::to_string(g % 35);
        ASSERT_EQ(gesture, "43/" + i + " 0/" + i + " 44/" + i + " ") << "gesture " << g;
        ASSERT_EQ(e[1].value, (float) (g % 1000) / 1000.0f) << "gesture " << g;
        ASSERT_EQ(e[0].thread, audioThreadId) << "gesture " << g;
    }
}

// Each parameter's begins closed by their ends before the next, nothing left
// open, every value inside a gesture and later than the one before; each
// parameter's last value heard goes to `last`.
::testing::AssertionResult balancedAndInOrder(const std::vector<HeardEdit>& heard, std::map<int, float>& last)
{
    std::map<int, bool> open;
    for (size_t k = 0; k < heard.size(); ++k)
    {
        const auto& e = heard[k];
        bool& isOpen = open[e.index];
        const auto fault = [&](const char* what) {
            return ::testing::AssertionFailure() << "notice " << k << ", parameter " << e.index << ": " << what;
        };
        if (e.opcode == HostOpcode::beginEdit)
        {
            if (isOpen)
                return fault("begun twice");
            isOpen = true;
        }
        else if (e.opcode == HostOpcode::endEdit)
        {
            if (!isOpen)
                return fault("ended without a begin");
            isOpen = false;
        }
        else
        {
            if (!isOpen)
                return fault("a value outside a gesture");
            if (last.count(e.index) != 0 && e.value <= last[e.index])
                return fault("a value out of order or twice");
            last[e.index] = e.value;
        }
    }
    for (const auto& [index, isOpen] : open)
        if (isOpen)
            return ::testing::AssertionFailure() << "parameter " << index << " left open for the host";
    return ::testing::AssertionSuccess();
}

// The editor's thread edits while the audio thread processes: every notice
// the host hears comes from the audio thread, in the order made, and every
// begin is followed by its values and its end before the next begin.
TEST_F(DeferredEditNoticeTest, ConcurrentEditsAndProcessingThreads)
{
    startWrapper(HostType::Ardour);
    constexpr int kGestures = 3000, kValuesPerGesture = 10;
    std::atomic<bool> editsDone { false };
    std::thread::id audioThreadId;

    std::thread audioThread([&] {
        audioThreadId = std::this_thread::get_id();
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        // Once the edits are done, one more block sends what is left.
        bool lastBlock = false;
        while (!lastBlock && std::chrono::steady_clock::now() < deadline)
        {
            lastBlock = editsDone.load();
            process();
        }
    });

    for (int g = 0; g < kGestures; ++g)
    {
        processor->beginParameterChangeGesture(5);
        for (int v = 0; v < kValuesPerGesture; ++v)
            processor->setParameterNotifyingHost(5, (float) (g * kValuesPerGesture + v) / 32768.0f);
        processor->endParameterChangeGesture(5);
    }
    editsDone = true;
    audioThread.join();

    const auto heard = takeHeardEdits();
    ASSERT_FALSE(heard.empty());
    for (size_t i = 0; i < heard.size(); ++i)
    {
        ASSERT_EQ(heard[i].thread, audioThreadId) << "notice " << i;
        ASSERT_EQ(heard[i].index, 5) << "notice " << i;
    }
    std::map<int, float> last;
    ASSERT_TRUE(balancedAndInOrder(heard, last));
    EXPECT_EQ(last[5], (float) (kGestures * kValuesPerGesture - 1) / 32768.0f) << "the final value was lost";
}

// Hosts move a plug-in from one audio thread to another between cycles, and
// some overlap them: two threads write lanes and process while the editor's
// thread edits three parameters that the lanes write too. Every notice is
// heard once, begins and ends balance, values come in the order made, and
// each parameter's last arrives.
TEST_F(DeferredEditNoticeTest, ProcessedByTwoAudioThreads)
{
    startWrapper(HostType::Ardour);
    constexpr int kGestures = 1000, kValuesPerGesture = 4;
    constexpr int kIndices[] = { 4, 5, 6 };
    std::atomic<bool> editsDone { false };
    std::atomic<bool> lanesOnEdited { true };
    std::atomic<int> blocks[2] = { { 0 }, { 0 } }; // blocks each thread has processed
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);

    // Each writes the edited parameters' lanes only from its second block
    // on, as a thread known to process this instance: before, the write
    // would be taken for the host's own change, and heard.
    auto audioThread = [&](int which) {
        std::array<std::array<float, kFrames>, 8> buffers {};
        std::array<float*, 8> channels;
        for (size_t i = 0; i < channels.size(); ++i)
            channels[i] = buffers[i].data();
        auto* effect = wrapper->getAeffect();
        const float lane = which == 0 ? 0.25f : 0.75f;
        for (bool first = true; !editsDone.load() && std::chrono::steady_clock::now() < deadline; first = false)
        {
            effect->setParameter(effect, 7, lane); // Zoom
            if (!first && lanesOnEdited.load())
                for (int index : kIndices)
                    effect->setParameter(effect, index, lane);
            wrapper->processReplacing(channels.data(), channels.data(), kFrames);
            blocks[which].fetch_add(1);
            std::this_thread::yield();
        }
    };
    std::thread first(audioThread, 0), second(audioThread, 1);

    // Each gesture waits for a block of each thread, so both take part.
    auto waitForBothThreads = [&] {
        const int seen[2] = { blocks[0].load(), blocks[1].load() };
        while ((blocks[0].load() == seen[0] || blocks[1].load() == seen[1]) && std::chrono::steady_clock::now() < deadline)
            std::this_thread::yield();
    };
    for (int g = 0; g < kGestures; ++g)
    {
        const int index = kIndices[g % 3];
        if (g == kGestures - 3)
        {
            // The last three gestures' values are to hold: the lanes stop,
            // and a write begun before that has been followed by a block.
            lanesOnEdited = false;
            waitForBothThreads();
            waitForBothThreads();
        }
        processor->beginParameterChangeGesture(index);
        for (int v = 0; v < kValuesPerGesture; ++v)
            processor->setParameterNotifyingHost(index, (float) (g * kValuesPerGesture + v + 1) / 32768.0f);
        if (g % 2 == 0)
            waitForBothThreads(); // some gestures are held over blocks
        processor->endParameterChangeGesture(index);
        waitForBothThreads();
    }
    editsDone = true;
    first.join();
    second.join();
    ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "an audio thread stalled";
    process(); // what was left for the next cycle

    std::map<int, float> last;
    const auto heard = takeHeardEdits();
    for (size_t k = 0; k < heard.size(); ++k)
        ASSERT_TRUE(heard[k].index == 4 || heard[k].index == 5 || heard[k].index == 6) << "notice " << k;
    ASSERT_TRUE(balancedAndInOrder(heard, last));
    EXPECT_TRUE(processor->getParameter(7) == 0.25f || processor->getParameter(7) == 0.75f) << processor->getParameter(7);
    for (int g = kGestures - 3; g < kGestures; ++g)
    {
        const int index = kIndices[g % 3];
        EXPECT_EQ(last[index], (float) ((g + 1) * kValuesPerGesture) / 32768.0f) << "parameter " << index << ": last value lost";
        EXPECT_EQ(last[index], processor->getParameter(index)) << "parameter " << index;
    }
}

//==============================================================================
// A host that hears of editor edits only at its next process call, and that
// plays automation lanes as Ardour does: before each process call, on the
// thread that processes, it writes each lane's value into every parameter it
// has not heard a begin for; in Touch it writes again once it hears the end,
// in Latch never again. Its own controls, scripts and state loads come from
// a thread that never processes. Whatever the wait, the outcome must be what
// a host told at once would have: its own later changes win, a control the
// user holds plays the user's value, and an edit made in one go is heard.
namespace
{
// A thread that lives as long as the test and runs what it is given, so that
// no other thread of the test takes its id over.
class ThreadOfItsOwn
{
public:
    ~ThreadOfItsOwn()
    {
        run({});
        thread.join();
    }

    /** Runs the job there and returns once it is done; an empty job ends it. */
    void run(std::function<void()> job)
    {
        std::unique_lock<std::mutex> lock(mutex);
        pending = std::move(job);
        hasJob = true;
        changed.notify_all();
        changed.wait(lock, [this] { return !hasJob; });
    }

private:
    std::mutex mutex;
    std::condition_variable changed;
    std::function<void()> pending;
    bool hasJob = false;
    std::thread thread { [this] {
        std::unique_lock<std::mutex> lock(mutex);
        for (bool more = true; more;)
        {
            changed.wait(lock, [this] { return hasJob; });
            const auto job = std::move(pending);
            more = job != nullptr;
            // Run unlocked: a job may take the plug-in's locks, and a block
            // holding them may hand this thread a job.
            lock.unlock();
            if (more)
                job();
            lock.lock();
            hasJob = false;
            changed.notify_all();
        }
    } };
};

// The processor, noting what it holds as each block starts (what that block
// plays) and how often each parameter is written; it runs `duringBlock`, once,
// inside the next block.
class BlockWatcher : public Quorvane2AudioProcessor
{
public:
    void processBlock(juce::AudioSampleBuffer& buffer, juce::MidiBuffer& midi) override
    {
        for (int i = 0; i < (int) playing.size(); ++i)
            playing[(size_t) i] = getParameter(i);
        if (duringBlock)
            std::exchange(duringBlock, nullptr)();
        Quorvane2AudioProcessor::processBlock(buffer, midi);
    }

    void setParameter(int index, float value) override
    {
        if ((unsigned) index < writes.size())
            writes[(size_t) index].fetch_add(1);
        Quorvane2AudioProcessor::setParameter(index, value);
    }

    std::array<float, 35> playing {};
    std::array<std::atomic<int>, 35> writes {};
    std::function<void()> duringBlock;
};

class LateHearingHostTest : public DeferredEditNoticeTest
{
protected:
    static constexpr int kParameters = 35;

    void SetUp() override
    {
        watcher = new BlockWatcher();
        startWrapper(HostType::Ardour, watcher);
        // Switched on again from the host's GUI thread, as Ardour's Active
        // switch does: that thread never processes this instance.
        setActive(false);
        setActive(true);
        for (int i = 0; i < kParameters; ++i)
            held[(size_t) i] = processor->getParameter(i);
    }

    void setActive(bool on)
    {
        hostThread.run([&] { DeferredEditNoticeTest::setActive(on); });
    }

    // A change of the host's own, from its GUI thread.
    void hostSets(int index, float value)
    {
        hostThread.run([&] { setFromHost(index, value); });
    }

    struct SavedState
    {
        juce::MemoryBlock chunk;
        std::array<float, kParameters> held;
    };

    SavedState hostSaves(bool onlyCurrent = false)
    {
        void* data = nullptr;
        const auto size = AudioEffect::dispatchEffectClass(wrapper->getAeffect(), EffectOpcode::getChunk, onlyCurrent, 0,
                                                           &data, 0.0f);
        return { juce::MemoryBlock(data, (size_t) size), held };
    }

    void hostLoads(SavedState& state, bool onlyCurrent = false)
    {
        AudioEffect::dispatchEffectClass(wrapper->getAeffect(), EffectOpcode::setChunk, onlyCurrent,
                                         (intptr_t) state.chunk.getSize(), state.chunk.getData(), 0.0f);
        // Logged too, so that the next cycle replays the load after the
        // host's earlier writes.
        const std::lock_guard<std::mutex> lock(heardLock);
        for (int i = 0; i < kParameters; ++i)
            heardEdits.push_back({ kHostWrote, i, state.held[(size_t) i], std::this_thread::get_id() });
        held = state.held;
    }

    // One cycle on the given audio thread (else the calling one): the lanes'
    // writes, then the block; what the host heard is folded into what it
    // holds and into which controls it knows are held.
    std::vector<HeardEdit> cycle(ThreadOfItsOwn* audioThread = nullptr)
    {
        auto writeAndProcess = [this] {
            for (const auto& [index, lane] : lanes)
                if (touched.count(index) == 0 && latched.count(index) == 0)
                    setFromHost(index, lane.value);
            process();
        };
        if (audioThread != nullptr)
            audioThread->run(writeAndProcess);
        else
            writeAndProcess();

        std::vector<HeardEdit> heard;
        for (const auto& e : takeHeardEdits())
        {
            if (e.opcode == kHostWrote)
            {
                held[(size_t) e.index] = e.value;
                continue;
            }
            heard.push_back(e);
            if (e.opcode == HostOpcode::beginEdit)
            {
                touched.insert(e.index);
                if (lanes.count(e.index) != 0 && lanes[e.index].latch)
                    latched.insert(e.index);
            }
            else if (e.opcode == HostOpcode::endEdit)
                touched.erase(e.index);
            else
                held[(size_t) e.index] = e.value;
        }
        return heard;
    }

    float played(int index) const { return watcher->playing[(size_t) index]; }

    // Every parameter as the host holds it against what the plug-in holds.
    ::testing::AssertionResult hostAndPluginAgree()
    {
        for (int i = 0; i < kParameters; ++i)
            if (held[(size_t) i] != processor->getParameter(i))
                return ::testing::AssertionFailure() << "parameter " << i << ": the host holds " << held[(size_t) i]
                                                     << ", the plug-in " << processor->getParameter(i);
        return ::testing::AssertionSuccess();
    }

    struct Lane
    {
        float value;
        bool latch = false; // else Touch
    };

    std::array<float, kParameters> held {};
    std::map<int, Lane> lanes;
    std::set<int> touched, latched;
    BlockWatcher* watcher = nullptr; // the processor, owned by the wrapper
    ThreadOfItsOwn hostThread;

    // A write of the host's own or of its lane, on the calling thread.
    void setFromHost(int index, float value)
    {
        auto* effect = wrapper->getAeffect();
        effect->setParameter(effect, index, value);
        const std::lock_guard<std::mutex> lock(heardLock);
        heardEdits.push_back({ kHostWrote, index, value, std::this_thread::get_id() });
        held[(size_t) index] = value;
    }
};

bool heardValue(const std::vector<HeardEdit>& heard, int index, float value)
{
    return std::any_of(heard.begin(), heard.end(), [&](const HeardEdit& e) {
        return e.opcode == HostOpcode::automate && e.index == index && e.value == value;
    });
}
} // namespace

// The host changes a parameter after an editor gesture ended but before its
// next process call, by a control of its own or by loading a state: the host
// is never told the editor's older value, and afterwards both hold the same.
TEST_F(LateHearingHostTest, AHostChangeAfterAnEditorGestureWins)
{
    cycle();
    setActive(false); // nothing is processed between the steps

    // Front Tilt dragged to 0.567, then set to 0.2 by the host.
    framedEdit(*processor, { 5 }, [&] {
        processor->setParameterNotifyingHost(5, 0.4f);
        processor->setParameterNotifyingHost(5, 0.567f);
    });
    hostSets(5, 0.2f);

    // Rear Tilt at 0.5 when the host saves; dragged to 0.70; the state loaded.
    hostSets(6, 0.5f);
    auto saved = hostSaves();
    framedEdit(*processor, { 6 }, [&] { processor->setParameterNotifyingHost(6, 0.7f); });
    hostLoads(saved);

    // And an editor edit made after the host's change still reaches it.
    hostSets(4, 0.25f);
    framedEdit(*processor, { 4 }, [&] { processor->setParameterNotifyingHost(4, 0.75f); });

    setActive(true);
    const auto heard = cycle();
    EXPECT_FALSE(heardValue(heard, 5, 0.567f)) << "told Front Tilt's value from before its own change: " << describe(heard);
    EXPECT_FALSE(heardValue(heard, 6, 0.7f)) << "told Rear Tilt's value from before the state load: " << describe(heard);
    EXPECT_TRUE(heardValue(heard, 4, 0.75f)) << describe(heard);
    EXPECT_EQ(processor->getParameter(5), 0.2f);
    EXPECT_EQ(processor->getParameter(6), 0.5f);
    EXPECT_EQ(processor->getParameter(4), 0.75f);
    EXPECT_TRUE(hostAndPluginAgree());
    EXPECT_TRUE(touched.empty()) << "a gesture was left open";
}

// Touch over a lane: from the press until the host hears its begin, the lane
// must not replace the user's value; once heard, the host stops writing.
TEST_F(LateHearingHostTest, TouchPlaybackLeavesAHeldControlToTheUser)
{
    lanes[5] = { 0.8f };
    lanes[0] = { 0.25f }; // another lane plays on meanwhile
    cycle();
    ASSERT_EQ(processor->getParameter(5), 0.8f);

    // A press held over four blocks, without moving.
    processor->beginParameterChangeGesture(5);
    processor->setParameterNotifyingHost(5, 0.567f);
    for (int block = 0; block < 4; ++block)
    {
        const auto heard = cycle();
        EXPECT_EQ(processor->getParameter(5), 0.567f) << "block " << block << " of the hold played the lane";
        EXPECT_EQ(held[5], 0.567f) << "block " << block << ": the host records another value";
        EXPECT_EQ(touched.count(5), 1u) << "block " << block;
        if (block == 0)
        {
            EXPECT_EQ(describe(heard), "43/5 0/5 ");
        }
        EXPECT_EQ(processor->getParameter(0), 0.25f) << "the other lane stopped";
    }
    processor->endParameterChangeGesture(5);
    EXPECT_EQ(describe(cycle()), "44/5 ");
    cycle();
    EXPECT_EQ(processor->getParameter(5), 0.8f) << "let go, the lane plays again";

    // A drag: every step, the first included, is played and recorded.
    processor->beginParameterChangeGesture(5);
    for (float step : { 0.3f, 0.35f, 0.4f })
    {
        processor->setParameterNotifyingHost(5, step);
        cycle();
        EXPECT_EQ(processor->getParameter(5), step);
        EXPECT_EQ(held[5], step);
    }
    processor->endParameterChangeGesture(5);
    cycle();
    EXPECT_TRUE(touched.empty());

    // Heard, the held control takes the host's writes as before (a lane in
    // Play mode writes whatever the user does).
    processor->beginParameterChangeGesture(6);
    processor->setParameterNotifyingHost(6, 0.1f);
    cycle();
    hostSets(6, 0.9f);
    cycle();
    EXPECT_EQ(processor->getParameter(6), 0.9f);
    processor->endParameterChangeGesture(6);
    cycle();
    EXPECT_TRUE(hostAndPluginAgree());
}

// Two mute buttons clicked quickly, one or more clicks between two blocks
// and a block inside a click: every gesture the host hears carries the value
// of the click it belongs to, and the lanes on other parameters go on.
TEST_F(LateHearingHostTest, QuickTogglesEachCarryTheirOwnValue)
{
    constexpr int a = 23, b = 24;
    lanes[5] = { 0.125f };
    auto click = [this](int index, float value) {
        framedEdit(*processor, { index }, [&] { processor->setParameterNotifyingHost(index, value); });
    };
    cycle();

    for (int round = 0; round < 300; ++round)
    {
        const std::string at = "round " + std::to_string(round);
        click(a, 1.0f);
        click(b, 1.0f);
        auto heard = cycle();
        ASSERT_EQ(describe(heard), "43/23 0/23 44/23 43/24 0/24 44/24 ") << at;
        ASSERT_EQ(heard[1].value, 1.0f) << at;
        ASSERT_EQ(heard[4].value, 1.0f) << at;

        click(a, 0.0f);
        heard = cycle();
        ASSERT_EQ(describe(heard), "43/23 0/23 44/23 ") << at;
        ASSERT_EQ(heard[1].value, 0.0f) << at;

        // On and off between two blocks: what the host hears is what played.
        click(b, 0.0f);
        click(a, 1.0f);
        click(a, 0.0f);
        heard = cycle();
        ASSERT_EQ(describe(heard), "43/23 0/23 44/23 43/24 0/24 44/24 ") << at;
        ASSERT_EQ(heard[1].value, 0.0f) << at;
        ASSERT_EQ(heard[4].value, 0.0f) << at;

        // A block while the button is down, then one after its release.
        processor->beginParameterChangeGesture(b);
        processor->setParameterNotifyingHost(b, 1.0f);
        heard = cycle();
        ASSERT_EQ(describe(heard), "43/24 0/24 ") << at;
        ASSERT_EQ(heard[1].value, 1.0f) << at;
        processor->endParameterChangeGesture(b);
        click(b, 0.0f);
        heard = cycle();
        ASSERT_EQ(describe(heard), "44/24 43/24 0/24 44/24 ") << at << ": the held gesture must end on its own value";
        ASSERT_EQ(heard[2].value, 0.0f) << at;

        ASSERT_TRUE(hostAndPluginAgree()) << at;
        ASSERT_TRUE(touched.empty()) << at;
        ASSERT_EQ(processor->getParameter(5), 0.125f) << at;
    }
}

// Clicks on mutes and levels typed in, made between two process calls over
// lanes the host plays: the host hears each edit's own value. The block after
// plays the lane, as under a host told at once, which would play its lane up
// to the moment it heard the edit; then Latch, which stops the lane there,
// plays the edit from the next block on, and Touch, which plays the lane
// again, never plays it: a block of it would be a dropout.
TEST_F(LateHearingHostTest, EditsMadeInOneGoOverPlayingLanes)
{
    struct Case
    {
        const char* what;
        int index;
        float lane, edit;
        bool latch;
    };
    const Case cases[] = {
        { "a click on the L/R mute in Latch", 23, 0.0f, 1.0f, true },
        { "a click on the C mute in Touch", 24, 0.0f, 1.0f, false },
        { "-6 dB typed into the trim in Latch", 0, 0.5f, 25.0f / 41.0f, true },
        { "-6 dB typed into the L/R level in Touch", 16, 0.5f, 25.0f / 41.0f, false },
        { "a click on the LFE solo in Latch", 34, 0.0f, 1.0f, true }, // the last parameter
    };
    for (const auto& c : cases)
        lanes[c.index] = { c.lane, c.latch };
    lanes[5] = { 0.125f }; // a lane on a parameter nobody edits
    cycle();

    for (const auto& c : cases)
        framedEdit(*processor, { c.index }, [&] { processor->setParameterNotifyingHost(c.index, c.edit); });
    auto writesSoFar = [this](int index) { return watcher->writes[(size_t) index].exchange(0); };
    for (const auto& c : cases)
        writesSoFar(c.index);
    const auto heard = cycle();
    ASSERT_EQ(describe(heard), "43/0 0/0 44/0 43/16 0/16 44/16 43/23 0/23 44/23 43/24 0/24 44/24 43/34 0/34 44/34 ");
    for (const auto& c : cases)
    {
        EXPECT_TRUE(heardValue(heard, c.index, c.edit)) << c.what << ": the host was told another value";
        EXPECT_EQ(played(c.index), c.lane) << c.what << ": the block the host heard the edit in";
        EXPECT_EQ(writesSoFar(c.index), 2) << c.what << ": the lane's write and the edit given back";
    }
    EXPECT_TRUE(hostAndPluginAgree());

    for (int block = 1; block <= 3; ++block)
    {
        EXPECT_EQ(describe(cycle()), "") << "block " << block;
        for (const auto& c : cases)
        {
            EXPECT_EQ(played(c.index), c.latch ? c.edit : c.lane) << c.what << ", block " << block;
            // Given back once: after that, only a lane that plays again writes.
            EXPECT_EQ(writesSoFar(c.index), c.latch ? 0 : 1) << c.what << ", block " << block;
        }
        EXPECT_EQ(played(5), 0.125f);
        EXPECT_TRUE(hostAndPluginAgree()) << "block " << block;
    }
}

// A host's graph processes an instance on one of its threads one cycle and on
// another the next, and Ardour's analysis view processes a second instance on
// its GUI thread: a lane is known by a thread that processes this instance,
// and the GUI thread's own changes to it still win over a click.
TEST_F(LateHearingHostTest, LanesAreKnownByTheThreadsThatProcessThisInstance)
{
    ThreadOfItsOwn audioThreads[2];
    lanes[23] = { 0.0f }; // Touch
    cycle(&audioThreads[0]);
    cycle(&audioThreads[1]);

    for (int k = 0; k < 4; ++k)
    {
        framedEdit(*processor, { 23 }, [&] { processor->setParameterNotifyingHost(23, 1.0f); });
        const auto heard = cycle(&audioThreads[k % 2]);
        ASSERT_EQ(describe(heard), "43/23 0/23 44/23 ") << "click " << k;
        EXPECT_EQ(heard[1].value, 1.0f) << "click " << k << ": the lane's write was taken for the host's own";
        EXPECT_EQ(played(23), 0.0f) << "click " << k;
        cycle(&audioThreads[(k + 1) % 2]);
        EXPECT_EQ(played(23), 0.0f) << "click " << k;
        EXPECT_TRUE(hostAndPluginAgree()) << "click " << k;
    }

    JuceVSTWrapper analysis(editRecordingHost, createPluginFilterOfType(juce::AudioProcessor::wrapperType_VST));
    hostThread.run([&] { process(&analysis); });

    framedEdit(*processor, { 24 }, [&] { processor->setParameterNotifyingHost(24, 1.0f); });
    hostSets(24, 0.0f);
    const auto heard = cycle(&audioThreads[0]);
    ASSERT_EQ(describe(heard), "43/24 0/24 44/24 ");
    EXPECT_EQ(heard[1].value, 0.0f) << "the GUI thread's change was taken for a lane";
    cycle(&audioThreads[1]);
    EXPECT_EQ(played(24), 0.0f);
    EXPECT_TRUE(hostAndPluginAgree());
}

// The host's own changes while an edit waits, each followed by one block: it
// hears the value the plug-in holds, whatever it wrote, and a loaded state,
// whole or the current program's, brings every parameter back.
TEST_F(LateHearingHostTest, AHostChangeIsHeardAsThePluginHoldsIt)
{
    cycle();
    struct Write
    {
        float value, holds;
    };
    for (const auto& w : { Write { 0.2f, 0.2f }, Write { 1.5f, 1.0f }, Write { NAN, 0.0f } })
    {
        const std::string at = "the host writes " + std::to_string(w.value);
        framedEdit(*processor, { 5 }, [&] { processor->setParameterNotifyingHost(5, 0.567f); });
        hostSets(5, w.value);
        const auto heard = cycle();
        ASSERT_EQ(describe(heard), "43/5 0/5 44/5 ") << at;
        EXPECT_EQ(heard[1].value, w.holds) << at;
        EXPECT_EQ(played(5), w.holds) << at;
        EXPECT_TRUE(hostAndPluginAgree()) << at;
    }

    for (const bool onlyCurrent : { false, true })
    {
        const std::string at = onlyCurrent ? "the current program's state" : "the whole state";
        auto saved = hostSaves(onlyCurrent);
        for (int i = 0; i < kParameters; ++i)
            framedEdit(*processor, { i }, [&] { processor->setParameterNotifyingHost(i, 1.0f - (float) (i + 1) / 64.0f); });
        hostLoads(saved, onlyCurrent);
        const auto heard = cycle();
        EXPECT_EQ(heard.size(), 3u * kParameters) << at;
        for (const auto& e : heard)
        {
            if (e.opcode == HostOpcode::automate)
            {
                EXPECT_EQ(e.value, processor->getParameter(e.index)) << at << ", parameter " << e.index;
            }
        }
        for (int i = 0; i < kParameters; ++i)
            EXPECT_EQ(processor->getParameter(i), saved.held[(size_t) i]) << at << ", parameter " << i;
        EXPECT_TRUE(hostAndPluginAgree()) << at;
    }
}

// The host changes a parameter from its GUI thread while the block in which
// it hears an edit of that parameter runs: the edit's value, due back after
// that block, must not come back over the host's later change.
TEST_F(LateHearingHostTest, AHostChangeDuringTheBlockThatHearsAnEditWins)
{
    struct Case
    {
        const char* what;
        int index;
        float lane, edit, hostSets;
        bool latch;
    };
    const Case cases[] = {
        { "a click on the L/R mute in Latch, unmuted by the host", 23, 0.0f, 1.0f, 0.0f, true },
        { "-6 dB typed into the trim in Touch, 0.75 set by the host", 0, 0.5f, 25.0f / 41.0f, 0.75f, false },
    };
    for (const auto& c : cases)
    {
        lanes = { { c.index, { c.lane, c.latch } } };
        cycle();

        framedEdit(*processor, { c.index }, [&] { processor->setParameterNotifyingHost(c.index, c.edit); });
        watcher->duringBlock = [&] { hostSets(c.index, c.hostSets); };
        const auto heard = cycle();
        ASSERT_TRUE(heardValue(heard, c.index, c.edit)) << c.what << ": " << describe(heard);
        EXPECT_EQ(played(c.index), c.lane) << c.what;
        EXPECT_EQ(processor->getParameter(c.index), c.hostSets) << c.what << ": the edit came back over the host's change";
        EXPECT_TRUE(hostAndPluginAgree()) << c.what;

        cycle();
        EXPECT_EQ(played(c.index), c.latch ? c.hostSets : c.lane) << c.what;
        EXPECT_TRUE(hostAndPluginAgree()) << c.what;
        lanes.clear();
        touched.clear();
        latched.clear();
    }
}

// An engine restart (a new buffer size or device) ends the host's process
// threads. A thread it makes afterwards, a control surface or a script
// runner, can be handed an ended thread's system id: its changes are still
// the host's own, which win over an edit the host has not heard.
TEST_F(LateHearingHostTest, AThreadGivenAnEndedProcessThreadsIdIsNotALane)
{
    juce::Thread::ThreadID ended = nullptr;
    std::thread([&] {
        ended = juce::Thread::getCurrentThreadId();
        cycle();
    }).join();

    // The L/R mute clicked while nothing processes, then unmuted by the host
    // from a new thread with the ended one's id.
    framedEdit(*processor, { 23 }, [&] { processor->setParameterNotifyingHost(23, 1.0f); });
    bool reused = false;
    for (int attempt = 0; attempt < 100 && !reused; ++attempt)
        std::thread([&] {
            reused = juce::Thread::getCurrentThreadId() == ended;
            if (reused)
                setFromHost(23, 0.0f);
        }).join();
    ASSERT_TRUE(reused) << "no new thread was given the ended thread's id";

    ThreadOfItsOwn audioThread;
    const auto heard = cycle(&audioThread);
    ASSERT_EQ(describe(heard), "43/23 0/23 44/23 ");
    EXPECT_EQ(heard[1].value, 0.0f) << "the host's change was taken for a lane";
    EXPECT_EQ(played(23), 0.0f);
    cycle(&audioThread);
    EXPECT_EQ(played(23), 0.0f) << "the click came back over the host's change";
    EXPECT_TRUE(hostAndPluginAgree());
}

// A host that has processed this instance on more threads than are kept
// (engine restarts, a graph of many threads) moves it between two new ones:
// their lanes are still known, so a click over a lane is heard.
TEST_F(LateHearingHostTest, NewProcessThreadsAreKnownOnceMoreHaveProcessedThanAreKept)
{
    lanes[23] = { 0.0f }; // Touch
    std::vector<std::unique_ptr<ThreadOfItsOwn>> threads(ProcessThreads::kCapacity + 2);
    for (auto& thread : threads)
    {
        thread = std::make_unique<ThreadOfItsOwn>();
        cycle(thread.get());
    }

    for (int k = 0; k < 4; ++k)
    {
        auto* audioThread = threads[threads.size() - 2 + (size_t) (k % 2)].get();
        framedEdit(*processor, { 23 }, [&] { processor->setParameterNotifyingHost(23, 1.0f); });
        const auto heard = cycle(audioThread);
        ASSERT_EQ(describe(heard), "43/23 0/23 44/23 ") << "click " << k;
        EXPECT_EQ(heard[1].value, 1.0f) << "click " << k << ": the lane's write was taken for the host's own";
        EXPECT_EQ(played(23), 0.0f) << "click " << k;
        cycle(audioThread);
        EXPECT_EQ(played(23), 0.0f) << "click " << k;
        EXPECT_TRUE(hostAndPluginAgree()) << "click " << k;
    }
}
