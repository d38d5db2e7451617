// The processor: host queries, formats, automation per layout, the audio
// block's channel pointers and the editor's refresh.

#include "AppliedEngine.h"
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <functional>
#include <iterator>
#include <limits>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "AudioProcessor.h"
#include "Quorvane2AudioProcessor.h"

namespace
{
struct HostCall
{
    int index;
    float value;
};

class HostListener : public juce::AudioProcessorListener
{
public:
    void audioProcessorParameterChanged(juce::AudioProcessor*, int index, float value) override
    {
        calls.push_back({ index, value });
    }
    void audioProcessorChanged(juce::AudioProcessor*) override { ++changes; }

    std::vector<HostCall> calls;
    int changes = 0;
};

struct UiCall
{
    char kind; // 'P' parameter, 'I' input meter, 'O' output meter, 'H' host format
    int index;
    float value;
};

class UiListener : public QuorvaneListener
{
public:
    UiListener(int idNumber, std::vector<std::pair<int, UiCall>>& sharedLog) : id(idNumber), log(sharedLog) {}

    void ParameterChangedFloat(int index, float value) override
    {
        log.push_back({ id, { 'P', index, value } });
        if (onParameter)
            onParameter(index);
    }
    void OutputMeterChanged(int index, float value) override { log.push_back({ id, { 'O', index, value } }); }
    void InputMeterChanged(int index, float value) override { log.push_back({ id, { 'I', index, value } }); }
    void HostHasSetOutputFormat(OutputStemFormat f) override { log.push_back({ id, { 'H', f, 0.0f } }); }

    std::function<void(int)> onParameter;

private:
    int id;
    std::vector<std::pair<int, UiCall>>& log;
};

std::vector<int> ParameterIndices(const std::vector<std::pair<int, UiCall>>& log)
{
    std::vector<int> indices;
    for (const auto& entry : log)
        if (entry.second.kind == 'P')
            indices.push_back(entry.second.index);
    return indices;
}

std::vector<int> Range(int first, int last)
{
    std::vector<int> v;
    for (int i = first; i <= last; ++i)
        v.push_back(i);
    return v;
}
} // namespace

TEST(Processor, FreshProcessorAnswers)
{
    Quorvane2AudioProcessor p;
    EXPECT_EQ(p.getName(), "Quorvane2");
    EXPECT_EQ(p.getNumParameters(), 35);
    EXPECT_EQ(p.GetOutputFormat(), kOutputFormat5_1);
    EXPECT_EQ(p.GetInputFormat(), Quorvane2AudioProcessor::kBFormat);
    EXPECT_EQ(p.GetHostOutputFormat(), kOutputFormatNotSet);
    EXPECT_EQ(p.getLatencySamples(), 1);
    EXPECT_EQ(p.getOutputChannelName(8), "9");
    EXPECT_EQ(VersionInformationString(), "1.0.0 ");
    EXPECT_EQ(p.getInputChannelName(0), "1");
    EXPECT_EQ(p.getOutputChannelName(std::numeric_limits<int>::max()), "2147483648")
        << "a host's largest index must be numbered without overflow";
    EXPECT_FALSE(p.isInputChannelStereoPair(0) || p.isOutputChannelStereoPair(0));
    EXPECT_FALSE(p.silenceInProducesSilenceOut());
    EXPECT_FALSE(p.acceptsMidi() || p.producesMidi());
    EXPECT_EQ(p.getTailLengthSeconds(), 0.0);
    EXPECT_TRUE(p.hasEditor());
    EXPECT_EQ(p.getNumPrograms(), 0);
    EXPECT_EQ(p.getCurrentProgram(), 0);
    EXPECT_EQ(p.getProgramName(0), "");
    EXPECT_EQ(p.getParameterName(13, 5), "Width") << "the base cuts the name to the length asked";

    for (int i : { 0, 36, 49, 50, -1 })
        EXPECT_EQ(p.getParameterNumSteps(i), 0x7fffffff) << "index " << i;

    // Bad indices, negative ones included, get neutral answers.
    for (int bad : { 50, -1, 1000 })
    {
        EXPECT_EQ(p.getParameterName(bad), "Invalid Parameter") << bad;
        EXPECT_EQ(p.getParameter(bad), 0.0f) << bad;
        EXPECT_EQ(p.getParameterText(bad), "") << bad;
        EXPECT_EQ(p.getParameterDefaultValue(bad), 0.0f) << bad;
        EXPECT_FALSE(p.isParameterAutomatable(bad)) << bad;
        p.setParameter(bad, 1.0f);
        p.resetParameterToDefault(bad);
    }
}

namespace
{
/** The controls the parameters have published to the engine, as text, so
    that two moments can be compared whole. */
std::string PublishedControls(Quorvane2AudioProcessor& p)
{
    const ControlSnapshot c = p.GetEngine().GetControls();
    std::string s = std::to_string(c.inputGain) + " " + std::to_string(c.aFormat) + std::to_string(c.filter)
                    + std::to_string(c.invert) + std::to_string(c.endFire) + std::to_string(c.midSide) + " "
                    + std::to_string(c.azimuth) + " " + std::to_string(c.frontElevation) + " "
                    + std::to_string(c.rearElevation) + " " + std::to_string(c.dominance) + " "
                    + std::to_string(c.arrayType) + " " + std::to_string(c.muteSolo) + " "
                    + std::to_string(c.bFormatLevel) + " " + std::to_string(c.masterLevel);
    for (int ch = 0; ch < kControlChannels; ++ch)
        s += " " + std::to_string(c.polarPattern[ch]) + "/" + std::to_string(c.angle[ch]) + "/" + std::to_string(c.level[ch]);
    return s;
}
} // namespace

// A host asks what a value would read as before it sets it: the text is the
// one the parameter shows once it holds that value, and asking sets nothing.
TEST(Processor, TextForAValueIsThatValuesTextAndChangesNothing)
{
    Quorvane2AudioProcessor p;
    const struct
    {
        int index;
        float value;
        int maxLength;
        const char* text;
    } rows[] = {
        { 0, 1.0f, 31, " 10dB" },   { 0, 0.0f, 31, "Off" },       { 0, 0.5f, 31, "-11dB" },
        { 0, 0.9f, 31, "  6dB" },   { 0, 0.02f, 31, "-30dB" },    { 0, 0.5f, 3, "-11" },
        { 0, 2.0f, 31, " 10dB" },   { 0, -3.0f, 31, "Off" },      { 1, 1.0f, 31, "Invert On" },
        { 1, 0.5f, 31, "Invert On" }, { 1, 0.49f, 31, "Invert Off" }, { 1, 1.0f, 6, "Invert" },
        { 2, 1.0f, 31, "End Fire On" }, { 3, 0.9f, 31, "Filter On" }, { 4, 0.5f, 31, "180" },
        { 4, 0.25f, 31, " 90" },    { 4, 1.0f, 31, "  0" },       { 4, 0.9f, 31, "324" },
        { 4, 0.25f, 2, " 9" },      { 5, 0.9f, 31, " 72" },       { 5, 0.0f, 31, "-90" },
        { 6, 0.25f, 31, "-45" },    { 7, 1.0f, 31, "0.50" },      { 7, 0.0f, 31, "-0.50" },
        { 8, 1.0f, 31, "0.75" },    { 8, 0.2f, 31, "0.55" },      { 12, 0.0f, 31, "0.50" },
        { 13, 0.5f, 31, " 90" },    { 14, 1.0f, 31, "180" },      { 15, 0.0f, 31, "  0" },
        { 16, 0.0f, 31, "Off" },    { 21, 0.5f, 31, "-11dB" },    { 22, 1.0f, 31, " 10dB" },
        { 23, 1.0f, 31, "1.00" },   { 34, 1.0f, 31, "1.00" },     { 36, 0.0f, 31, "0.00" },
        { 41, 0.3f, 31, "0.30" },   { 50, 1.0f, 31, "" },         { -1, 1.0f, 31, "" },
    };

    std::vector<float> before;
    for (int i = 0; i < 50; ++i)
    {
        before.push_back(p.getParameter(i));
        p.GetParameterObject(i)->TakeChanged();
    }
    const std::string controls = PublishedControls(p);

    for (const auto& r : rows)
        EXPECT_EQ(p.getParameterTextForValue(r.index, r.value, r.maxLength), r.text)
            << "parameter " << r.index << " at " << r.value << ", " << r.maxLength << " characters";

    for (int i = 0; i < 50; ++i)
    {
        EXPECT_EQ(p.getParameter(i), before[(size_t) i]) << "parameter " << i << " was set";
        EXPECT_FALSE(p.GetParameterObject(i)->IsChanged()) << "parameter " << i << " was marked changed";
    }
    EXPECT_EQ(PublishedControls(p), controls) << "the engine heard of a question";

    // The stereo layout widens the L/R pattern, and its texts follow.
    p.HostSetOutputFormat(1);
    EXPECT_EQ(p.getParameterTextForValue(8, 1.0f, 31), "1.00");
    EXPECT_EQ(p.getParameterTextForValue(8, 0.25f, 31), "0.25");
}

// The asked-for text and the shown text come from one formatting: for every
// parameter and value, asking gives what setting and then reading gives.
TEST(Processor, TextForAValueMatchesTheTextAfterSettingIt)
{
    const float values[] = { -1.0f, 0.0f, 0.013f, 0.25f, 0.5f, 0.5001f, 0.7f, 0.99f, 1.0f, 1.5f,
                             std::nanf(""), std::numeric_limits<float>::infinity() };
    Quorvane2AudioProcessor asked, set;
    for (int i = 0; i < 50; ++i)
        for (float v : values)
        {
            set.setParameter(i, v);
            EXPECT_EQ(asked.getParameterTextForValue(i, v, 100), set.getParameterText(i)) << "parameter " << i << " at " << v;
        }
}

// Asking never goes through the parameter's stored value: while another
// thread keeps setting it, the text asked for is always that value's.
TEST(Processor, TextForAValueIsUnmovedBySettersOnOtherThreads)
{
    Quorvane2AudioProcessor p;
    std::atomic<bool> done { false };
    std::thread setter([&] {
        for (int n = 0; ! done.load(); ++n)
            p.setParameter(4, (n & 1) != 0 ? 0.1f : 0.9f);
    });
    int wrong = 0;
    for (int n = 0; n < 20000; ++n)
        if (p.getParameterTextForValue(4, 0.5f, 31) != "180")
            ++wrong;
    done = true;
    setter.join();
    EXPECT_EQ(wrong, 0) << "texts of another value among 20000";
}

TEST(Processor, FactoryChoosesEngineOrderByWrapperType)
{
    std::unique_ptr<juce::AudioProcessor> vst(createPluginFilterOfType(juce::AudioProcessor::wrapperType_VST));
    std::unique_ptr<juce::AudioProcessor> aax(createPluginFilterOfType(juce::AudioProcessor::wrapperType_AAX));
    auto& vstEngine = dynamic_cast<Quorvane2AudioProcessor&>(*vst).GetEngine();
    auto& aaxEngine = dynamic_cast<Quorvane2AudioProcessor&>(*aax).GetEngine();

    EXPECT_EQ(vst->wrapperType, juce::AudioProcessor::wrapperType_VST);
    EXPECT_EQ(aax->wrapperType, juce::AudioProcessor::wrapperType_AAX);
    EXPECT_EQ(vstEngine.copyOut[0], aaxEngine.copyOut[0]) << "stereo copy-out is the same in both orders";
    EXPECT_EQ(vstEngine.copyOut[7], aaxEngine.copyOut[7]) << "B-format copy-out is the same in both orders";

    for (int t = 1; t <= 6; ++t)
        EXPECT_NE(vstEngine.copyOut[t], aaxEngine.copyOut[t]) << "surround array type " << t << " must differ under AAX";
}

//==============================================================================
// Which host parameters are automatable for each layout set by the host.
TEST(Processor, AutomationFollowsTheHostLayout)
{
    // Groups of the automation rule; the rest (0-3, 22) are always automatable.
    const std::vector<int> unlessBFormat { 4, 5, 7, 8, 13, 16, 23, 29 };
    const std::vector<int> surroundOnly { 6, 9, 10, 14, 17, 18, 24, 25, 30, 31 };
    const std::vector<int> sevenOnly { 11, 15, 19, 26, 32 };
    const std::vector<int> sixOnly { 12, 20, 27, 33 };
    const std::vector<int> lfeOnly { 21, 28, 34 };

    auto contains = [](const std::vector<int>& v, int i) { return std::find(v.begin(), v.end(), i) != v.end(); };

    for (int f = 1; f <= 8; ++f)
    {
        Quorvane2AudioProcessor p;
        p.HostSetOutputFormat(f);
        EXPECT_EQ(p.GetHostOutputFormat(), f);
        EXPECT_EQ(p.GetOutputFormat(), f);

        for (int i = 0; i < 35; ++i)
        {
            bool expected = true;

            if (contains(unlessBFormat, i))
                expected = f != 8;
            else if (contains(surroundOnly, i))
                expected = f != 1 && f != 8;
            else if (contains(sevenOnly, i))
                expected = f == 6 || f == 7;
            else if (contains(sixOnly, i))
                expected = f == 4 || f == 5;
            else if (contains(lfeOnly, i))
                expected = f == 3 || f == 5 || f == 7;

            EXPECT_EQ(p.isParameterAutomatable(i), expected)
                << "layout " << f << ", parameter " << i << " " << p.getParameterName(i);
        }
    }
}

TEST(Processor, EditorLayoutChoiceLeavesAutomationAndHostFormatAlone)
{
    Quorvane2AudioProcessor p;
    HostListener host;
    p.addListener(&host);

    p.UISetOutputFormat(kOutputFormatStereo);
    EXPECT_EQ(p.GetEngine().GetArrayType(), 0);
    EXPECT_EQ(p.GetOutputFormat(), kOutputFormatStereo);
    EXPECT_EQ(p.GetHostOutputFormat(), kOutputFormatNotSet);

    for (int i = 0; i < 35; ++i)
        EXPECT_TRUE(p.isParameterAutomatable(i)) << "parameter " << i;

    // Parameter 8 is re-sent, and in stereo its pattern spans omni to figure of eight.
    ASSERT_EQ(host.calls.size(), 1u);
    EXPECT_EQ(host.calls[0].index, 8);
    EXPECT_EQ(host.calls[0].value, 0.5f);
    EXPECT_FLOAT_EQ(Applied(p).arrayControl.polarTarget[0], 1.0f);
    p.setParameter(8, 1.0f);
    EXPECT_FLOAT_EQ(Applied(p).arrayControl.polarTarget[1], 2.0f);
    p.setParameter(8, 0.0f);
    EXPECT_FLOAT_EQ(Applied(p).arrayControl.polarTarget[1], 0.0f);

    p.UISetOutputFormat(kOutputFormat7_1);
    EXPECT_EQ(p.GetEngine().GetArrayType(), 6);
    EXPECT_FLOAT_EQ(Applied(p).arrayControl.polarTarget[0], 1.0f) << "0.5 + 0 * 0.25, doubled";
    p.removeListener(&host);
}

TEST(Processor, OutputFormatsOutsideTheLayoutsAreIgnored)
{
    for (int bad : { 0, 9, -1, 255, 256 + 3 })
    {
        Quorvane2AudioProcessor p;
        HostListener host;
        p.addListener(&host);

        p.HostSetOutputFormat(bad);
        p.UISetOutputFormat(static_cast<OutputStemFormat>(bad));
        EXPECT_EQ(p.GetOutputFormat(), kOutputFormat5_1) << "format " << bad;
        EXPECT_EQ(p.GetHostOutputFormat(), kOutputFormatNotSet) << "format " << bad;
        EXPECT_EQ(p.getParameter(36), 0.25f) << "format " << bad;
        EXPECT_TRUE(p.isParameterAutomatable(21)) << "format " << bad;
        EXPECT_TRUE(host.calls.empty()) << "format " << bad;
        p.removeListener(&host);
    }
}

TEST(Processor, HostLayoutPushesTheLRPatternWithoutTellingTheHost)
{
    Quorvane2AudioProcessor p;
    HostListener host;
    p.addListener(&host);
    EXPECT_FLOAT_EQ(Applied(p).arrayControl.polarTarget[0], 1.25f);

    p.HostSetOutputFormat(1);
    EXPECT_FLOAT_EQ(Applied(p).arrayControl.polarTarget[0], 1.0f) << "stereo range not applied to the engine";
    EXPECT_FLOAT_EQ(Applied(p).arrayControl.polarTarget[1], 1.0f);
    EXPECT_EQ(p.getParameterText(8), "0.50");

    p.HostSetOutputFormat(3);
    EXPECT_FLOAT_EQ(Applied(p).arrayControl.polarTarget[0], 1.25f);
    EXPECT_TRUE(host.calls.empty()) << "HostSetOutputFormat must not notify the host";
    p.removeListener(&host);
}

TEST(Processor, InputFormatPolarsAndDefaults)
{
    Quorvane2AudioProcessor p;
    HostListener host;
    p.addListener(&host);

    p.SetInputFormat(Quorvane2AudioProcessor::kAFormat);
    EXPECT_EQ(p.GetInputFormat(), Quorvane2AudioProcessor::kAFormat);
    EXPECT_EQ(p.getParameter(35), 0.0f);
    p.SetInputFormat(Quorvane2AudioProcessor::kBFormat);
    EXPECT_EQ(p.GetInputFormat(), Quorvane2AudioProcessor::kBFormat);
    EXPECT_TRUE(host.calls.empty()) << "the input format is not a host parameter";

    p.setAllPolars(0.3f);
    EXPECT_EQ(p.getAllPolars(), 0.3f);
    ASSERT_EQ(host.calls.size(), 5u);

    for (int k = 0; k < 5; ++k)
    {
        EXPECT_EQ(host.calls[(size_t) k].index, 8 + k);
        EXPECT_EQ(p.getParameter(8 + k), 0.3f);
    }

    host.calls.clear();
    p.setParameter(4, 0.75f);
    p.resetParameterToDefault(4);
    EXPECT_EQ(p.getParameter(4), 0.0f);
    EXPECT_EQ(Applied(p).bFormatPath.azimuth, 0u);
    ASSERT_EQ(host.calls.size(), 1u) << "the host hears a reset like any edit";
    EXPECT_EQ(host.calls[0].index, 4);
    EXPECT_EQ(host.calls[0].value, 0.0f);

    host.calls.clear();
    p.resetParameterToDefault(36);  // not a host parameter: the host hears nothing
    EXPECT_TRUE(host.calls.empty());
    p.removeListener(&host);
}

TEST(Processor, MuteSoloQueriesMapGroupsToChannels)
{
    Quorvane2AudioProcessor p;

    for (int g = 0; g < 6; ++g)
    {
        Quorvane2AudioProcessor q;
        q.setParameter(23 + g, 1.0f);
        EXPECT_TRUE(q.GetIsMute(23 + g)) << "group " << g;

        q.setParameter(29 + g, 1.0f);
        EXPECT_TRUE(q.GetIsSolo(29 + g)) << "group " << g;

        for (int other = 0; other < 6; ++other)
            EXPECT_EQ(q.GetIsSoloMute(23 + other), other != g) << "solo " << g << ", group " << other;
    }

    for (int bad : { 22, 35, -1, std::numeric_limits<int>::min(), std::numeric_limits<int>::max() })
    {
        EXPECT_FALSE(p.GetIsMute(bad));
        EXPECT_FALSE(p.GetIsSolo(bad));
        EXPECT_FALSE(p.GetIsSoloMute(bad));
    }

    EXPECT_FALSE(p.GetIsMute(29)) << "solo indices are not mute indices";
    EXPECT_FALSE(p.GetIsSolo(23)) << "mute indices are not solo indices";
}

// Hosts write values, not presses: a mute written while some solo is on sets
// the group's mute to (value >= 0.5) exactly as without a solo, and writing
// the same value again changes nothing. The parameter, its text, the
// processor's query and the engine's flag of every channel of the group agree
// after every write, whichever group holds the solo.
TEST(Processor, MuteWritesDuringASoloSetTheGroupsMute)
{
    const struct
    {
        int mute;
        std::vector<unsigned char> channels; // engine channels 0 L, 1 R, 2 C, 3 LFE, 4 Ls, 5 Rs, 6 RLs, 7 RRs, 8 RC
        int otherSolo;                       // a solo of another group
        int ownSolo;
    } groups[] = {
        { 23, { 0, 1 }, 30, 29 }, { 24, { 2 }, 29, 30 }, { 25, { 4, 5 }, 30, 31 },
        { 26, { 6, 7 }, 30, 32 }, { 27, { 8 }, 30, 33 }, { 28, { 3 }, 30, 34 },
    };
    const struct
    {
        float value;
        bool muted;
        const char* text;
    } writes[] = {
        { 1.0f, true, "1.00" },   { 0.873f, true, "0.87" }, { 0.873f, true, "0.87" }, { 1.0f, true, "1.00" },
        { 1.0f, true, "1.00" },   { 0.0f, false, "0.00" },  { 0.0f, false, "0.00" },  { 0.5f, true, "0.50" },
        { 0.49f, false, "0.49" }, { 0.49f, false, "0.49" }, { 0.873f, true, "0.87" },
    };

    for (const auto& g : groups)
        for (const int solo : { g.otherSolo, g.ownSolo })
        {
            Quorvane2AudioProcessor p;
            p.setParameter(solo, 1.0f);
            for (size_t w = 0; w < std::size(writes); ++w)
            {
                const auto& write = writes[w];
                p.setParameter(g.mute, write.value);
                const std::string where = "mute " + std::to_string(g.mute) + " under solo " + std::to_string(solo)
                                          + ", write " + std::to_string(w) + " of " + std::to_string(write.value);

                EXPECT_EQ(p.getParameter(g.mute), write.value) << where;
                EXPECT_EQ(p.getParameterText(g.mute), write.text) << where;
                EXPECT_EQ(p.GetIsMute(g.mute), write.muted) << where;
                auto& engine = Applied(p);
                for (unsigned char ch : g.channels)
                {
                    EXPECT_EQ(engine.GetIsChannelMute(ch), write.muted) << where << ", engine channel " << int(ch);
                    EXPECT_EQ(engine.arrayControl.mute[ch], write.muted ? 1u : 0u) << where << ", channel " << int(ch);
                }
                EXPECT_EQ(p.GetIsSoloMute(g.mute), solo == g.otherSolo) << where;
                EXPECT_TRUE(p.GetIsSolo(solo)) << where << ": the solo stays";
                for (int other = 23; other <= 28; ++other)
                    EXPECT_EQ(p.GetIsMute(other), other == g.mute && write.muted) << where << ", mute " << other;
            }

            // The last write muted the group: with the solo gone, the mute holds.
            p.setParameter(solo, 0.0f);
            EXPECT_TRUE(p.GetIsMute(g.mute)) << "mute " << g.mute << " after solo " << solo << " cleared";
            EXPECT_FALSE(p.GetIsSoloMute(g.mute)) << "mute " << g.mute << " after solo " << solo << " cleared";
        }
}

// Two threads writing one mute at once, one on and one off, while a solo is
// on: however their stores and engine writes interleave, the engine's mute
// ends as the value the parameter kept.
TEST(Processor, ConcurrentMuteWritesLeaveTheEngineAsTheParameter)
{
    Quorvane2AudioProcessor p;
    p.setParameter(30, 1.0f); // solo C
    for (int round = 0; round < 1000; ++round)
    {
        std::atomic<int> ready { 0 };
        auto writer = [&](float v) {
            ready.fetch_add(1);
            while (ready.load() < 2)
            {
            }
            p.setParameter(25, v); // Mute Ls/Rs
        };
        std::thread on(writer, 1.0f), off(writer, 0.0f);
        on.join();
        off.join();

        const bool muted = p.getParameter(25) >= 0.5f;
        ASSERT_EQ(p.GetEngine().GetIsChannelMute(4), muted) << "round " << round << ", Ls";
        ASSERT_EQ(p.GetEngine().GetIsChannelMute(5), muted) << "round " << round << ", Rs";
    }
}

TEST(Processor, LayoutQueries)
{
    const struct { int format; bool lfe, six, seven; } cases[] = {
        { 1, false, false, false }, { 2, false, false, false }, { 3, true, false, false },
        { 4, false, true, false },  { 5, true, true, false },   { 6, false, false, true },
        { 7, true, false, true },   { 8, false, false, false },
    };

    Quorvane2AudioProcessor p;

    for (auto c : cases)
    {
        p.UISetOutputFormat(static_cast<OutputStemFormat>(c.format));
        EXPECT_EQ(p.HasLFE(), c.lfe) << "layout " << c.format;
        EXPECT_EQ(p.IsFormat6(), c.six) << "layout " << c.format;
        EXPECT_EQ(p.IsFormat7(), c.seven) << "layout " << c.format;
    }
}

//==============================================================================
TEST(Processor, BlockUsesOnlyTheChannelsOfThisBuffer)
{
    Quorvane2AudioProcessor p;
    p.prepareToPlay(44100.0, 64);
    juce::MidiBuffer midi;

    juce::AudioSampleBuffer wide(8, 64);
    wide.clear();
    p.processBlock(wide, midi);

    const float marker = 0.123f;
    for (int ch = 0; ch < 8; ++ch)
        juce::FloatVectorOperations::fill(wide.getWritePointer(ch), marker, 64);

    juce::AudioSampleBuffer narrow(2, 64);
    for (int s = 0; s < 64; ++s)
    {
        narrow.setSample(0, s, 0.5f); // W
        narrow.setSample(1, s, 0.0f); // X
    }
    p.processBlock(narrow, midi);

    for (int ch = 0; ch < 8; ++ch)
        for (int s = 0; s < 64; ++s)
            ASSERT_EQ(wide.getSample(ch, s), marker) << "an earlier, wider buffer was written: channel " << ch;

    EXPECT_NE(narrow.getSample(0, 63), 0.5f) << "the narrow buffer's first channel was not processed";
    EXPECT_GT(p.GetEngine().GetMeterValue(0), 0.0f) << "input meter 1 did not see the block";
}

//==============================================================================
TEST(Processor, UpdateUISendsMetersThenChangedParameters)
{
    Quorvane2AudioProcessor p;
    std::vector<std::pair<int, UiCall>> log;
    UiListener ui(1, log);
    p.quorvaneListeners.add(&ui);

    p.UpdateUI();
    ASSERT_EQ(log.size(), 4u + 9u + 37u);

    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(log[(size_t) i].second.kind, 'I');
    for (int i = 4; i < 13; ++i)
        EXPECT_EQ(log[(size_t) i].second.kind, 'O');
    EXPECT_EQ(log[0].second.index, 37);
    EXPECT_EQ(log[12].second.index, 49);
    EXPECT_EQ(ParameterIndices(log), Range(0, 36)) << "every changed flag starts set";

    log.clear();
    p.UpdateUI();
    EXPECT_EQ(log.size(), 13u) << "nothing changed: meters only";
    EXPECT_TRUE(ParameterIndices(log).empty());

    log.clear();
    p.setParameter(4, 0.5f);
    p.UpdateUI();
    ASSERT_EQ(ParameterIndices(log), std::vector<int>({ 4 }));
    EXPECT_EQ(log.back().second.value, 0.5f);
    p.quorvaneListeners.remove(&ui);
}

TEST(Processor, ChangeMadeWhileListenersRunIsNotLost)
{
    Quorvane2AudioProcessor p;
    std::vector<std::pair<int, UiCall>> log;
    UiListener ui(1, log);
    p.quorvaneListeners.add(&ui);
    p.UpdateUI();

    // Stands in for another thread setting the parameter while the editor is told of it.
    bool once = true;
    ui.onParameter = [&](int index) {
        if (index == 4 && once)
        {
            once = false;
            p.setParameter(4, 0.75f);
        }
    };

    p.setParameter(4, 0.25f);
    log.clear();
    p.UpdateUI();
    log.clear();
    p.UpdateUI();
    ASSERT_EQ(ParameterIndices(log), std::vector<int>({ 4 })) << "the change made during the call was dropped";
    EXPECT_EQ(log.back().second.value, 0.75f);
    p.quorvaneListeners.remove(&ui);
}

TEST(Processor, PrepareSetsTheRateAndRefreshMetersCopiesTheEngineMeters)
{
    Quorvane2AudioProcessor p;
    p.prepareToPlay(48000.0, 32);
    EXPECT_EQ(p.GetEngine().sampleRate, 48000.0f);
    juce::AudioSampleBuffer buffer(6, 32);
    buffer.clear();
    buffer.setSample(0, 31, 0.8f);
    buffer.setSample(3, 31, -0.4f);
    juce::MidiBuffer midi;
    p.processBlock(buffer, midi);

    p.RefreshMeters();

    for (int m = 0; m < 13; ++m)
        EXPECT_EQ(p.getParameter(37 + m), p.GetEngine().GetMeterValue((unsigned char) m)) << "meter " << m;

    EXPECT_GT(p.getParameter(37), 0.0f);
    EXPECT_GT(p.getParameter(40), 0.0f);
}

TEST(Processor, FullUpdateSendsEverythingAndKeepsFlags)
{
    Quorvane2AudioProcessor p;
    std::vector<std::pair<int, UiCall>> log;
    UiListener older(1, log), newer(2, log);
    p.quorvaneListeners.add(&older);
    p.quorvaneListeners.add(&newer);

    p.FullUIUpdate();
    ASSERT_EQ(log.size(), 2u * 37u);
    EXPECT_EQ(log[0].first, 2) << "the most recently added listener is called first";
    EXPECT_EQ(log[1].first, 1);
    EXPECT_EQ(log[1].second.index, 0);
    EXPECT_EQ(log.back().second.index, 36);
    EXPECT_EQ(log.back().second.value, 0.25f);

    log.clear();
    p.quorvaneListeners.remove(&newer);
    p.UpdateUI();
    EXPECT_EQ(ParameterIndices(log), Range(0, 36)) << "FullUIUpdate must not clear changed flags";
    p.quorvaneListeners.remove(&older);
}

TEST(Processor, CreateEditorTellsOfTheHostLayoutBeforeTheFullUpdate)
{
    for (bool hostFixed : { false, true })
    {
        Quorvane2AudioProcessor p;
        std::vector<std::pair<int, UiCall>> log;
        UiListener ui(1, log);
        p.quorvaneListeners.add(&ui);

        if (hostFixed)
            p.HostSetOutputFormat(3);

        std::unique_ptr<juce::AudioProcessorEditor> editor(p.createEditorIfNeeded());
        ASSERT_NE(editor, nullptr);
        EXPECT_EQ(editor->getWidth(), 522);
        EXPECT_EQ(editor->getHeight(), 560);
        EXPECT_EQ(editor->getAudioProcessor(), &p);

        const size_t hostCalls = hostFixed ? 1u : 0u;
        ASSERT_EQ(log.size(), 37u + hostCalls);

        if (hostFixed)
        {
            EXPECT_EQ(log[0].second.kind, 'H');
            EXPECT_EQ(log[0].second.index, 3);
        }

        EXPECT_EQ(log[hostCalls].second.kind, 'P');
        p.editorBeingDeleted(editor.get());
        p.quorvaneListeners.remove(&ui);
    }
}
