// The adapter in-process, for what the record cannot reach: the chunk's
// release timing, the tables it is built on, and the play head's request.
#include "ChannelConfigurations.h"
#include "JuceVSTWrapper.h"
#include "SpeakerArrangementNames.h"
#include "VSTMidiEventList.h"
#include "VstOpcodes.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace
{
std::vector<int32_t> sentOpcodes;
std::vector<intptr_t> sentValues;
VstTimeInfo* timeInfo = nullptr;

intptr_t fakeHost(AEffect*, int32_t opcode, int32_t, intptr_t value, void*, float)
{
    sentOpcodes.push_back(opcode);
    sentValues.push_back(value);
    if (opcode == HostOpcode::version)
        return 2400;
    if (opcode == HostOpcode::getTimeInfo)
        return reinterpret_cast<intptr_t>(timeInfo);
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
        wrapper = new JuceVSTWrapper(fakeHost, createPluginFilterOfType(juce::AudioProcessor::wrapperType_VST));
    }
    void TearDown() override { delete wrapper; }

    JuceVSTWrapper* wrapper = nullptr;
};
} // namespace

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

TEST_F(WrapperTest, ChunkIsReleasedOnlyWhenStale)
{
    void* data = nullptr;
    ASSERT_GT(wrapper->getChunk(&data, false), 0);
    const uint32_t fetched = juce::Time::getApproximateMillisecondCounter();
    EXPECT_FALSE(wrapper->releaseChunkIfStale(fetched + 500)) << "still within the hold time";
    EXPECT_TRUE(wrapper->releaseChunkIfStale(fetched + 2500));
    EXPECT_FALSE(wrapper->releaseChunkIfStale(fetched + 5000)) << "nothing left to release";
}

TEST_F(WrapperTest, NothingToReleaseAfterSetChunk)
{
    void* data = nullptr;
    const int32_t size = wrapper->getChunk(&data, false);
    ASSERT_GT(size, 0);
    std::vector<char> copy(static_cast<char*>(data), static_cast<char*>(data) + size);
    wrapper->setChunk(copy.data(), size, false);
    EXPECT_FALSE(wrapper->releaseChunkIfStale(juce::Time::getApproximateMillisecondCounter() + 100000u));
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

TEST(ChannelConfigurationTest, ThirteenPairsInStoredOrder)
{
    const int16_t expected[13][2] = { { 2, 2 }, { 2, 4 }, { 2, 6 }, { 2, 7 }, { 2, 8 }, { 4, 2 }, { 6, 2 },
                                      { 7, 2 }, { 8, 2 }, { 4, 4 }, { 6, 6 }, { 7, 7 }, { 8, 8 } };
    ASSERT_EQ(kNumChannelConfigurations, 13);
    for (int i = 0; i < 13; ++i)
    {
        EXPECT_EQ(kChannelConfigurations[i].numIns, expected[i][0]) << "pair " << i;
        EXPECT_EQ(kChannelConfigurations[i].numOuts, expected[i][1]) << "pair " << i;
    }
}

TEST(SpeakerArrangementNameTest, NamesByType)
{
    const struct { int32_t type; const char* name; } cases[] = {
        { 0, "M" }, { 1, "L R" }, { 5, "C Lfe" }, { 15, "L R C Lfe Ls Rs" }, { 17, "L R Ls Rs Sl Sr " },
        { 20, "L R C Ls Rs Lc Rc " }, { 23, "L R C Lfe Ls Rs Sl Sr" },
        { 28, "L R C Lfe Ls Rs Tfl Tfc Tfr Trl Trr Lfe2" }, { 29, "" }, { -1, "" }, { -2, "" },
    };
    for (const auto& c : cases)
        EXPECT_STREQ(speakerArrangementName(c.type), c.name) << "type " << c.type;
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
