// The saved state: its exact bytes, round trips per wrapper type, what loading
// applies, and that damaged or hostile blocks change nothing.

#include "AppliedEngine.h"
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <set>
#include <vector>

#include "AudioProcessor.h"
#include "Quorvane2AudioProcessor.h"

namespace
{
using WT = juce::AudioProcessor::WrapperType;
constexpr WT kVst = juce::AudioProcessor::wrapperType_VST;
constexpr WT kAu = juce::AudioProcessor::wrapperType_AudioUnit;
constexpr WT kAax = juce::AudioProcessor::wrapperType_AAX;

std::unique_ptr<Quorvane2AudioProcessor> Make(WT type)
{
    std::unique_ptr<juce::AudioProcessor> p(createPluginFilterOfType(type));
    return std::unique_ptr<Quorvane2AudioProcessor>(dynamic_cast<Quorvane2AudioProcessor*>(p.release()));
}

juce::MemoryBlock Save(Quorvane2AudioProcessor& p)
{
    juce::MemoryBlock block;
    p.getStateInformation(block);
    return block;
}

void Load(Quorvane2AudioProcessor& p, const juce::MemoryBlock& block)
{
    p.setStateInformation(block.getData(), static_cast<int>(block.getSize()));
}

std::array<float, 50> Values(Quorvane2AudioProcessor& p)
{
    std::array<float, 50> v {};
    for (int i = 0; i < 50; ++i)
        v[(size_t) i] = p.getParameter(i);
    return v;
}

class HostListener : public juce::AudioProcessorListener
{
public:
    void audioProcessorParameterChanged(juce::AudioProcessor*, int index, float) override { indices.push_back(index); }
    void audioProcessorChanged(juce::AudioProcessor*) override {}
    std::vector<int> indices;
};

// A processor with every host parameter moved away from its default, in stereo.
void MoveEverything(Quorvane2AudioProcessor& p)
{
    for (int i = 0; i <= 22; ++i)
        p.setParameter(i, 0.1f + 0.03f * i);

    p.setParameter(24, 1.0f); // mute C
    p.setParameter(31, 1.0f); // solo Ls/Rs
    p.setParameter(35, 0.0f); // A-format
    p.UISetOutputFormat(kOutputFormatStereo);
    p.setParameter(40, 0.4f); // a meter, saved like the rest
}

void AppendBytes(std::vector<uint8_t>& out, const void* data, size_t n)
{
    auto* b = static_cast<const uint8_t*>(data);
    out.insert(out.end(), b, b + n);
}

void AppendString(std::vector<uint8_t>& out, const char* s)
{
    AppendBytes(out, s, std::strlen(s) + 1);
}

// One property written as a double, in the stream format: the name, the var's
// length 9 as a compressed int, the double marker 4 and the little-endian bits.
void AppendDoubleProperty(std::vector<uint8_t>& out, const char* name, double v)
{
    AppendString(out, name);
    const uint8_t head[] = { 0x01, 0x09, 0x04 };
    AppendBytes(out, head, sizeof(head));
    uint8_t bits[8];
    std::memcpy(bits, &v, 8);   // the build machines are little-endian
    AppendBytes(out, bits, 8);
}

// A state tree whose children carry "value"; a void value leaves the property out.
juce::ValueTree StateTree(std::initializer_list<std::pair<const char*, juce::var>> children,
                          const char* type = "QVParameters")
{
    juce::ValueTree tree { juce::Identifier(type) };
    for (const auto& c : children)
    {
        juce::ValueTree child { juce::Identifier(c.first) };
        if (! c.second.isVoid())
            child.setProperty("value", c.second, nullptr);
        tree.appendChild(child, nullptr);
    }
    return tree;
}

juce::MemoryBlock TreeBlock(const juce::ValueTree& tree)
{
    juce::MemoryBlock block;
    juce::MemoryOutputStream out(block, false);
    tree.writeToStream(out);
    out.flush();
    return block;
}
} // namespace

TEST(SavedState, FreshStateHasItsExactSizeAndStart)
{
    Quorvane2AudioProcessor p;
    juce::MemoryBlock block(5000, true);
    p.getStateInformation(block);
    EXPECT_EQ(block.getSize(), 1650u) << "the state must replace the block's content, not add to it";

    std::vector<uint8_t> expected;
    AppendString(expected, "QVParameters");
    expected.push_back(0x01); expected.push_back(0x01);          // one property
    AppendDoubleProperty(expected, "Version", 1.0);
    expected.push_back(0x01); expected.push_back(50);            // fifty children
    AppendString(expected, "Input Level");
    expected.push_back(0x01); expected.push_back(0x01);
    AppendDoubleProperty(expected, "value", static_cast<double>(0.75609756f));
    expected.push_back(0x00);                                    // no grandchildren
    AppendString(expected, "Invert");
    expected.push_back(0x01); expected.push_back(0x01);
    AppendDoubleProperty(expected, "value", 0.0);
    expected.push_back(0x00);

    ASSERT_GE(block.getSize(), expected.size());
    const auto* bytes = static_cast<const uint8_t*>(block.getData());

    for (size_t i = 0; i < expected.size(); ++i)
        ASSERT_EQ(bytes[i], expected[i]) << "state byte " << i << " differs";

    // Version 1.0 as a double: 00 00 00 00 00 00 f0 3f.
    EXPECT_EQ(bytes[32], 0xf0);
    EXPECT_EQ(bytes[33], 0x3f);

    // The last child is the last meter, with nothing after it.
    std::vector<uint8_t> tail;
    AppendString(tail, "Output Meter RC");
    tail.push_back(0x01); tail.push_back(0x01);
    AppendDoubleProperty(tail, "value", 0.0);
    tail.push_back(0x00);
    EXPECT_EQ(std::memcmp(bytes + block.getSize() - tail.size(), tail.data(), tail.size()), 0);
}

TEST(SavedState, JuceReadsTheTreeBackWithEveryParameterInOrder)
{
    Quorvane2AudioProcessor p;
    MoveEverything(p);
    const auto block = Save(p);
    const auto tree = juce::ValueTree::readFromData(block.getData(), block.getSize());

    ASSERT_TRUE(tree.hasType("QVParameters"));
    EXPECT_EQ(static_cast<double>(tree["Version"]), 1.0);
    ASSERT_EQ(tree.getNumChildren(), 50);

    for (int i = 0; i < 50; ++i)
    {
        const auto child = tree.getChild(i);
        EXPECT_EQ(child.getType().toString(), p.getParameterName(i)) << "child " << i;
        EXPECT_TRUE(child["value"].isDouble()) << "child " << i;
        EXPECT_EQ(static_cast<float>(static_cast<double>(child["value"])), p.getParameter(i)) << "child " << i;
    }
}

TEST(SavedState, FreshStateRoundTripsUnchangedForEveryWrapperType)
{
    for (auto type : { juce::AudioProcessor::wrapperType_Undefined, kVst, kAu, kAax })
    {
        auto source = Make(type);
        auto target = Make(type);
        const auto before = Values(*target);
        Load(*target, Save(*source));
        EXPECT_EQ(Values(*target), before) << "wrapper type " << type;
        EXPECT_EQ(Save(*target), Save(*source)) << "wrapper type " << type;
    }
}

TEST(SavedState, ChangedStateRoundTripsPerWrapperType)
{
    for (auto type : { kVst, kAu, kAax })
    {
        auto source = Make(type);
        MoveEverything(*source);
        const auto saved = Save(*source);

        auto target = Make(type);
        HostListener host;
        target->addListener(&host);
        Load(*target, saved);

        const auto want = Values(*source);
        const auto got = Values(*target);

        for (int i = 0; i < 50; ++i)
        {
            if (i == 36 && type != kVst)
                EXPECT_EQ(got[36], 0.25f) << "the host owns the layout under wrapper type " << type;
            else
                EXPECT_EQ(got[(size_t) i], want[(size_t) i]) << "parameter " << i << ", wrapper type " << type;
        }

        EXPECT_EQ(target->GetIsMute(24), true) << "wrapper type " << type;
        EXPECT_EQ(target->GetIsSolo(31), true) << "wrapper type " << type;
        EXPECT_EQ(target->GetInputFormat(), Quorvane2AudioProcessor::kAFormat);

        if (type == kVst)
        {
            EXPECT_EQ(target->GetOutputFormat(), kOutputFormatStereo);
            EXPECT_EQ(host.indices, std::vector<int>({ 8 })) << "parameter 8 must be re-sent under VST";
            // Stereo range: pattern = 2 * v.
            EXPECT_FLOAT_EQ(Applied(*target).arrayControl.polarTarget[0], 2.0f * target->getParameter(8));
            EXPECT_EQ(Save(*target), saved) << "save, load, save must give the same bytes";
        }
        else
        {
            EXPECT_EQ(target->GetOutputFormat(), kOutputFormat5_1);
            EXPECT_TRUE(host.indices.empty()) << "no re-send under wrapper type " << type;
        }

        target->removeListener(&host);
    }
}

TEST(SavedState, VstBlockUnderAudioUnitKeepsTheHostLayout)
{
    auto vst = Make(kVst);
    MoveEverything(*vst);
    auto au = Make(kAu);
    au->HostSetOutputFormat(kOutputFormat7_1);
    Load(*au, Save(*vst));

    EXPECT_EQ(au->GetOutputFormat(), kOutputFormat7_1);
    EXPECT_EQ(au->getParameter(36), 6.0f / 7.0f);

    for (int i = 0; i < 36; ++i)
        EXPECT_EQ(au->getParameter(i), vst->getParameter(i)) << "parameter " << i;
}

TEST(SavedState, EmptyOrForeignBlocksChangeNothingButVstStillResends)
{
    auto foreign = StateTree({ { "Rotate", 0.5 } }, "SomethingElse");
    foreign.setProperty("Version", 1.0, nullptr);
    const auto foreignBlock = TreeBlock(foreign);

    for (auto type : { kVst, kAu })
    {
        auto p = Make(type);
        p->setParameter(4, 0.25f);
        const auto before = Values(*p);
        HostListener host;
        p->addListener(&host);

        p->setStateInformation(nullptr, 0);
        p->setStateInformation("", 0);
        Load(*p, foreignBlock);

        EXPECT_EQ(Values(*p), before) << "wrapper type " << type;
        EXPECT_EQ(host.indices.size(), type == kVst ? 3u : 0u) << "wrapper type " << type;
        p->removeListener(&host);
    }
}

// A child's value must be a number to load, and lands clamped: NaN as 0, a
// non-finite meter as 0.
TEST(SavedState, LoadedValuesMustBeNumbersAndAreClamped)
{
    const struct
    {
        const char* name;
        juce::var value;
        int index;
        float preset; // negative: the default
        float expected;
    } rows[] = {
        { "Rotate", "0.5", 4, 0.25f, 0.25f },       // text
        { "Zoom", juce::var(), 7, 0.75f, 0.75f },   // no value at all
        { "Front Tilt", juce::Array<juce::var> { 1.0 }, 5, -1.0f, 0.5f },
        { "Level C", true, 17, -1.0f, 1.0f },       // a bool counts as 1
        { "Input Level", juce::int64(0), 0, -1.0f, 0.0f },
        { "Array select", 5.0, 36, -1.0f, 1.0f },
        { "Rotate", std::numeric_limits<double>::quiet_NaN(), 4, 0.25f, 0.0f },
        { "Width L/R", -3.0, 13, -1.0f, 0.0f },
        { "Front Tilt", 1.0e300, 5, -1.0f, 1.0f },
        { "Output Meter L", std::numeric_limits<double>::infinity(), 41, 0.4f, 0.0f },
    };

    for (const auto& row : rows)
    {
        Quorvane2AudioProcessor p;
        if (row.preset >= 0.0f)
            p.setParameter(row.index, row.preset);
        Load(p, TreeBlock(StateTree({ { row.name, row.value } })));
        EXPECT_EQ(p.getParameter(row.index), row.expected) << row.name << " saved as " << row.value.toString();
    }

    Quorvane2AudioProcessor p;
    Load(p, TreeBlock(StateTree({ { "Array select", 5.0 }, { "Front Tilt", 1.0e300 } })));
    EXPECT_EQ(p.GetOutputFormat(), kOutputFormatBFormat);
    EXPECT_EQ(Applied(p).bFormatPath.frontElevation, 90u);
}

TEST(SavedState, MutesLoadAsSavedWhateverSolosWereActive)
{
    // The saved state: C muted, L/R not, no solos.
    Quorvane2AudioProcessor source;
    source.setParameter(24, 1.0f);
    const auto saved = Save(source);

    Quorvane2AudioProcessor p;
    p.setParameter(25, 1.0f); // Ls/Rs muted
    p.setParameter(30, 1.0f); // solo C
    p.setParameter(29, 1.0f); // solo L/R
    Load(p, saved);

    for (int g = 0; g < 6; ++g)
    {
        EXPECT_EQ(p.GetIsMute(23 + g), g == 1) << "mute group " << g << " after load";
        EXPECT_FALSE(p.GetIsSolo(29 + g)) << "solo group " << g;
        EXPECT_FALSE(p.GetIsSoloMute(23 + g)) << "solo-mute group " << g;
    }

    EXPECT_FALSE(p.GetEngine().HasSolo());
}

// A state loaded while other solos are on brings exactly its own mutes and
// solos, and a host that then sends every parameter value again (as some do
// after loading a session) leaves them so.
TEST(SavedState, MutesOfAStateLoadedDuringSolosHoldWhenTheHostResendsThem)
{
    const struct
    {
        const char* what;
        std::array<float, 6> mutes; // L/R, C, Ls/Rs, RLs/RRs, RC, LFE
        std::array<float, 6> solos;
    } saved[] = {
        { "L/R muted, C soloed", { 1, 0, 0, 0, 0, 0 }, { 0, 1, 0, 0, 0, 0 } },
        { "every group muted, LFE soloed", { 1, 1, 1, 1, 1, 1 }, { 0, 0, 0, 0, 0, 1 } },
        { "C and RC muted at 0.873, no solo", { 0, 0.873f, 0, 0, 0.873f, 0 }, { 0, 0, 0, 0, 0, 0 } },
    };
    const std::array<std::vector<unsigned char>, 6> channels = { { { 0, 1 }, { 2 }, { 4, 5 }, { 6, 7 }, { 8 }, { 3 } } };

    for (const auto& state : saved)
    {
        Quorvane2AudioProcessor source;
        for (int g = 0; g < 6; ++g)
        {
            source.setParameter(23 + g, state.mutes[(size_t) g]);
            source.setParameter(29 + g, state.solos[(size_t) g]);
        }
        const auto block = Save(source);

        Quorvane2AudioProcessor p;
        p.setParameter(31, 1.0f); // solo Ls/Rs
        p.setParameter(33, 1.0f); // solo RC
        p.setParameter(26, 1.0f); // RLs/RRs muted
        Load(p, block);

        for (const char* step : { "after the load", "after the host sent every value again" })
        {
            for (int g = 0; g < 6; ++g)
            {
                const bool muted = state.mutes[(size_t) g] >= 0.5f;
                const std::string where = std::string(state.what) + ", " + step + ", group " + std::to_string(g);
                EXPECT_EQ(p.getParameter(23 + g), state.mutes[(size_t) g]) << where;
                EXPECT_EQ(p.GetIsMute(23 + g), muted) << where;
                EXPECT_EQ(p.GetIsSolo(29 + g), state.solos[(size_t) g] >= 0.5f) << where;
                for (unsigned char ch : channels[(size_t) g])
                    EXPECT_EQ(Applied(p).arrayControl.mute[ch], muted ? 1u : 0u) << where << ", engine channel " << int(ch);
            }
            for (int i = 0; i < 35; ++i)
                p.setParameter(i, source.getParameter(i));
        }
    }
}

TEST(SavedState, SolosNotInTheStateStayActive)
{
    Quorvane2AudioProcessor p;
    p.setParameter(29, 1.0f); // solo L/R, not mentioned by the state
    Load(p, TreeBlock(StateTree({ { "Mute C", 1.0 } })));

    EXPECT_TRUE(p.GetIsSolo(29));
    EXPECT_TRUE(p.GetIsMute(24)) << "the mute must land as saved";
    EXPECT_TRUE(p.GetIsSoloMute(24));
    EXPECT_FALSE(p.GetIsSoloMute(23));
}

// Which engine channels carry sound after a settled run of a constant W, in
// 7.1 (slots L R C LFE Ls Rs RLs RRs) and 6.1 (slots L R C LFE Ls Rs RC).
static std::array<bool, 9> AudibleChannels(Quorvane2AudioProcessor& p, OutputStemFormat layout)
{
    constexpr int kFrames = 512;
    const int slotChannel71[8] = { 0, 1, 2, 3, 4, 5, 6, 7 };
    const int slotChannel61[7] = { 0, 1, 2, 3, 4, 5, 8 };
    const int* slotChannel = layout == kOutputFormat7_1 ? slotChannel71 : slotChannel61;
    const int numSlots = layout == kOutputFormat7_1 ? 8 : 7;

    juce::AudioBuffer<float> buffer(9, kFrames);
    juce::MidiBuffer midi;
    for (int block = 0; block < 8; ++block)   // 4096 frames: levels and the LFE low-pass have settled
    {
        buffer.clear();
        for (int i = 0; i < kFrames; ++i)
            buffer.setSample(0, i, 0.5f);     // W only
        p.processBlock(buffer, midi);
    }

    std::array<bool, 9> audible {};
    for (int s = 0; s < numSlots; ++s)
    {
        const float last = std::abs(buffer.getSample(s, kFrames - 1));
        EXPECT_TRUE(last < 1e-6f || last > 0.05f) << "slot " << s << " neither silent nor audible: " << last;
        audible[(size_t) slotChannel[s]] = last > 0.05f;
    }
    return audible;
}

// Every mute and every solo, set on its own before a state that mentions no
// mute and no solo is loaded: the parameter keeps its value and the engine
// keeps acting on it, in both layouts that between them hold all nine channels.
TEST(SavedState, MutesAndSolosNotInTheStateKeepActingInTheEngine)
{
    const struct
    {
        int index;
        const char* name;
        std::initializer_list<int> channels; // engine channels 0 L, 1 R, 2 C, 3 LFE, 4 Ls, 5 Rs, 6 RLs, 7 RRs, 8 RC
    } rows[] = {
        { 23, "Mute L/R", { 0, 1 } }, { 24, "Mute C", { 2 } }, { 25, "Mute Ls/Rs", { 4, 5 } },
        { 26, "Mute RLs/RRs", { 6, 7 } }, { 27, "Mute RC", { 8 } }, { 28, "Mute LFE", { 3 } },
        { 29, "Solo L/R", { 0, 1 } }, { 30, "Solo C", { 2 } }, { 31, "Solo Ls/Rs", { 4, 5 } },
        { 32, "Solo RLs/RRs", { 6, 7 } }, { 33, "Solo RC", { 8 } }, { 34, "Solo LFE", { 3 } },
    };
    const auto unrelated = TreeBlock(StateTree({ { "Rotate", 0.25 } }));

    for (const auto& row : rows)
    {
        const bool solo = row.index >= 29;
        for (auto layout : { kOutputFormat7_1, kOutputFormat6_1 })
        {
            Quorvane2AudioProcessor p;
            p.UISetOutputFormat(layout);
            p.setParameter(row.index, 1.0f);
            Load(p, unrelated);

            ASSERT_EQ(p.getParameter(4), 0.25f) << row.name << ": the state did not load";
            for (int i = 23; i <= 34; ++i)
                EXPECT_EQ(p.getParameter(i), i == row.index ? 1.0f : 0.0f)
                    << "parameter " << i << " after a load that did not mention it, " << row.name << " set";

            const auto audible = AudibleChannels(p, layout);
            const std::set<int> inLayout = layout == kOutputFormat7_1 ? std::set<int> { 0, 1, 2, 3, 4, 5, 6, 7 }
                                                                      : std::set<int> { 0, 1, 2, 3, 4, 5, 8 };
            for (int ch : inLayout)
            {
                const bool inGroup = std::find(row.channels.begin(), row.channels.end(), ch) != row.channels.end();
                EXPECT_EQ(audible[(size_t) ch], solo ? inGroup : ! inGroup)
                    << row.name << " set before the load: engine channel " << ch
                    << (audible[(size_t) ch] ? " sounds" : " is silent") << " in layout " << layout;
            }
        }
    }
}

TEST(SavedState, EveryTruncationOfAValidStateChangesNothing)
{
    Quorvane2AudioProcessor source;
    MoveEverything(source);
    const auto saved = Save(source);

    Quorvane2AudioProcessor p;
    p.setParameter(29, 1.0f);
    p.setParameter(23, 1.0f);
    const auto before = Values(p);
    const bool muteBefore = p.GetIsMute(23);
    const auto* bytes = static_cast<const char*>(saved.getData());

    for (size_t n = 0; n < saved.getSize(); ++n)
    {
        p.setStateInformation(bytes, static_cast<int>(n));
        ASSERT_EQ(Values(p), before) << "a block cut to " << n << " bytes changed a parameter";
        ASSERT_EQ(p.GetIsMute(23), muteBefore) << "cut to " << n;
        ASSERT_TRUE(p.GetIsSolo(29)) << "cut to " << n;
    }

    p.setStateInformation(bytes, -1);
    EXPECT_EQ(Values(p), before);

    Load(p, saved);
    EXPECT_EQ(Values(p), Values(source)) << "the whole block must load";
}

TEST(SavedState, HostileBlocksChangeNothing)
{
    // The root type "QVParameters" and its terminator, then the given bytes.
    auto root = [](std::initializer_list<int> tail) {
        std::vector<char> v { 'Q', 'V', 'P', 'a', 'r', 'a', 'm', 'e', 't', 'e', 'r', 's', 0 };
        for (int x : tail)
            v.push_back(static_cast<char>(x));
        return v;
    };

    const struct { const char* what; std::vector<char> bytes; } blocks[] = {
        { "2^31-1 properties", root({ 4, 0xff, 0xff, 0xff, 0x7f }) },
        { "2^31-1 children", root({ 0, 4, 0xff, 0xff, 0xff, 0x7f }) },
        { "negative child count", root({ 0, 0x81, 1 }) },
        { "compressed int with 5 bytes", root({ 5, 1, 0, 0, 0, 0 }) },
        { "child value claiming an int of 9 bytes",
          root({ 0, 1, 1, 'R', 'o', 't', 'a', 't', 'e', 0, 1, 1, 'v', 'a', 'l', 'u', 'e', 0, 1, 9, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0 }) },
        { "invalid UTF-8 in a child's type", root({ 0, 1, 1, 0xc3, 0x28, 0, 0, 0 }) },
        { "unterminated root type", { 'Q', 'V', 'P', 'a', 'r', 'a', 'm' } },
    };

    Quorvane2AudioProcessor p;
    p.setParameter(4, 0.25f);
    const auto before = Values(p);

    for (const auto& b : blocks)
    {
        p.setStateInformation(b.bytes.data(), static_cast<int>(b.bytes.size()));
        EXPECT_EQ(Values(p), before) << b.what;
    }

    // A valid tree whose last child is cut off mid-way: the children before it must not load either.
    const auto whole = TreeBlock(StateTree({ { "Rotate", 0.9 }, { "Zoom", 0.9 } }));
    p.setStateInformation(whole.getData(), static_cast<int>(whole.getSize()) - 3);
    EXPECT_EQ(Values(p), before) << "a partly parsed block applied its first children";
}

TEST(SavedState, DeepNestingIsRefused)
{
    auto root = StateTree({ { "Rotate", 0.5 } });
    juce::ValueTree deepest = root;
    for (int depth = 0; depth < 100; ++depth)
    {
        juce::ValueTree c("Nest");
        deepest.appendChild(c, nullptr);
        deepest = c;
    }

    Quorvane2AudioProcessor p;
    Load(p, TreeBlock(root));
    EXPECT_EQ(p.getParameter(4), 0.0f) << "a tree nested 100 deep must be refused whole";
}
