// The built plug-in driven as hosts drive it from several threads at once:
// one thread processing, others automating and asking for texts, with the
// host process in a locale of its own.
#include "VstTestHost.h"

#include "VstOpcodes.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace
{
constexpr float kRate = 44100.0f;
constexpr int kBlock = 64;
constexpr int kChannels = 8;
constexpr int kHostParameters = 35;
constexpr int kFilterIndex = 3;

// 0.5 noise through every gain at +10 dB, the zoom and a figure of eight
// stays far below this; a filter gone unstable passes it within a block.
constexpr float kOutputBound = 1000.0f;

class ThreadedHostTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        unsetenv("DISPLAY");
        library = std::make_unique<PluginLibrary>(QV_VST_PLUGIN_PATH);
    }
    static void TearDownTestSuite() { library.reset(); }

    std::unique_ptr<VstTestHost> startHost()
    {
        auto h = std::make_unique<VstTestHost>(*library);
        if (! h->instantiate())
            return nullptr;
        h->open();
        h->setSampleRate(kRate);
        h->setBlockSize(kBlock);
        h->resume();
        return h;
    }

    static std::unique_ptr<PluginLibrary> library;
};

std::unique_ptr<PluginLibrary> ThreadedHostTest::library;

struct Noise
{
    uint32_t seed;
    float next() // -0.5 .. 0.5
    {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<float>(seed >> 8) / static_cast<float>(1u << 24) - 0.5f;
    }
};

struct OutputCheck
{
    long blocks = 0;
    long badSamples = 0;  // not finite, or beyond the bound
    float worst = 0.0f;

    void take(ChannelSet& out)
    {
        for (int ch = 0; ch < kChannels; ++ch)
            for (int n = 0; n < out.frames(); ++n)
            {
                const float v = out.channel(ch)[n];
                if (! std::isfinite(v) || std::fabs(v) > kOutputBound)
                {
                    ++badSamples;
                    if (! std::isfinite(worst) || ! std::isfinite(v) || std::fabs(v) > worst)
                        worst = std::isfinite(v) ? std::fabs(v) : v;
                }
            }
        ++blocks;
    }
};

// Noise in, blocks out, until told to stop; every output sample checked, and
// the blocks done so far counted in progress for other threads to read.
void ProcessUntil(VstTestHost& host, const std::atomic<bool>& stop, OutputCheck& check,
                  std::atomic<long>* progress = nullptr)
{
    ChannelSet in(kChannels, kBlock), out(kChannels, kBlock);
    Noise noise { 7u };
    while (! stop.load())
    {
        for (int ch = 0; ch < kChannels; ++ch)
            for (int n = 0; n < kBlock; ++n)
                in.channel(ch)[n] = noise.next();
        host.process(in.pointers(), out.pointers(), kBlock);
        check.take(out);
        if (progress != nullptr)
            ++*progress;
    }
}
} // namespace

// A host automating from its own threads while the audio thread runs: one
// thread flips "Filter" on and off as fast as it can (0, 0, 1, 1, ...), two
// more set random host parameters and read their texts. Every output sample
// must stay finite and bounded, during the storm and after it.
TEST_F(ThreadedHostTest, ParameterStormFromOtherThreadsKeepsTheOutputFinite)
{
    auto host = startHost();
    ASSERT_NE(host, nullptr);

    std::atomic<bool> stop { false };
    std::atomic<long> blocksSoFar { 0 };
    OutputCheck during;
    std::thread audio([&] { ProcessUntil(*host, stop, during, &blocksSoFar); });

    std::thread filterFlipper([&] {
        for (long i = 0; ! stop.load(); ++i)
            host->setParameter(kFilterIndex, (i / 2) % 2 == 0 ? 0.0f : 1.0f);
    });

    auto randomSetter = [&](uint32_t seed) {
        Noise pick { seed };
        while (! stop.load())
        {
            const int index = static_cast<int>((pick.next() + 0.5f) * kHostParameters) % kHostParameters;
            host->setParameter(index, pick.next() + 0.5f);
            (void) host->parameterDisplay(index);
            (void) host->getParameter(index);
        }
    };
    std::thread setterA(randomSetter, 11u), setterB(randomSetter, 23u);

    // Three seconds of storm, and on a busy machine as long as it takes the
    // audio thread to get through more than 100 blocks of it (a minute at
    // most: an audio thread that hardly runs is what the check below is for).
    const auto stormStart = std::chrono::steady_clock::now();
    for (auto now = stormStart; now - stormStart < std::chrono::seconds(60); now = std::chrono::steady_clock::now())
    {
        if (now - stormStart >= std::chrono::seconds(3) && blocksSoFar.load() > 100)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    stop = true;
    for (auto* t : { &audio, &filterFlipper, &setterA, &setterB })
        t->join();

    EXPECT_GT(during.blocks, 100) << "the audio thread hardly ran";
    EXPECT_EQ(during.badSamples, 0) << "worst sample " << during.worst << " over " << during.blocks << " blocks";

    // Settled again, and in every later block.
    OutputCheck after;
    ChannelSet in(kChannels, kBlock), out(kChannels, kBlock);
    in.fillAll(0.25f);
    for (int b = 0; b < 200; ++b)
    {
        host->process(in.pointers(), out.pointers(), kBlock);
        after.take(out);
    }
    EXPECT_EQ(after.badSamples, 0) << "worst sample " << after.worst << " after the setters stopped";
}

// A host whose inputs overflowed the gain stage (finite samples near the
// float maximum at +10 dB, high-pass on) leaves the filters full of huge or
// non-finite values. The next block must be clean again, and after suspend
// and resume the plug-in must sound exactly like a freshly started one.
TEST_F(ThreadedHostTest, PoisonedFiltersAreCleanAfterSuspendAndResume)
{
    auto poisoned = startHost();
    auto fresh = startHost();
    ASSERT_NE(poisoned, nullptr);
    ASSERT_NE(fresh, nullptr);
    for (auto* h : { poisoned.get(), fresh.get() })
    {
        h->setParameter(0, 1.0f);            // input level +10 dB
        h->setParameter(kFilterIndex, 1.0f); // high-pass on
    }

    ChannelSet huge(kChannels, kBlock), out(kChannels, kBlock);
    huge.fillAll(3.0e38f);
    for (int n = 0; n < kBlock; n += 2)
        for (int ch = 0; ch < kChannels; ++ch)
            huge.channel(ch)[n] = -3.0e38f;
    poisoned->process(huge.pointers(), out.pointers(), kBlock);

    ChannelSet quiet(kChannels, kBlock);
    quiet.fillAll(0.1f);
    poisoned->process(quiet.pointers(), out.pointers(), kBlock);
    for (int ch = 0; ch < kChannels; ++ch)
        for (int n = 0; n < kBlock; ++n)
            ASSERT_TRUE(std::isfinite(out.channel(ch)[n])) << "block after the overflow, slot " << ch << " frame " << n;

    poisoned->suspend();
    poisoned->resume();
    fresh->suspend();
    fresh->resume();

    Noise noise { 99u };
    ChannelSet in(kChannels, kBlock), a(kChannels, kBlock), b(kChannels, kBlock);
    for (int block = 0; block < 8; ++block)
    {
        for (int ch = 0; ch < kChannels; ++ch)
            for (int n = 0; n < kBlock; ++n)
                in.channel(ch)[n] = noise.next();
        poisoned->process(in.pointers(), a.pointers(), kBlock);
        fresh->process(in.pointers(), b.pointers(), kBlock);
        for (int ch = 0; ch < kChannels; ++ch)
            for (int n = 0; n < kBlock; ++n)
                ASSERT_EQ(a.channel(ch)[n], b.channel(ch)[n])
                    << "block " << block << ", slot " << ch << ", frame " << n << " differs from a fresh start";
    }
}

// The texts a host shows must not follow its process's locale: with a comma
// as the decimal mark, "-0.50" must stay "-0.50".
TEST_F(ThreadedHostTest, ParameterTextsIgnoreTheHostsLocale)
{
    auto host = startHost();
    ASSERT_NE(host, nullptr);

    const float values[] = { 0.0f, 0.1f, 0.25f, 0.3333f, 0.5f, 0.61f, 0.75f, 0.9f, 1.0f };
    struct Text { int index; float value; std::string display; };

    auto readAll = [&] {
        std::vector<Text> texts;
        for (int i = 0; i < kHostParameters; ++i)
            for (float v : values)
            {
                host->setParameter(i, v);
                texts.push_back({ i, v, host->parameterDisplay(i) });
            }
        return texts;
    };

    const std::string before = std::setlocale(LC_ALL, nullptr);
    ASSERT_NE(std::setlocale(LC_ALL, "C"), nullptr);
    const auto inC = readAll();

    std::string comma;
    for (const char* name : { "de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8" })
        if (std::setlocale(LC_ALL, name) != nullptr)
        {
            comma = name;
            break;
        }
    if (comma.empty())
    {
        std::setlocale(LC_ALL, before.c_str());
        GTEST_SKIP() << "no comma-decimal locale installed (generate one: localedef -i de_DE -f UTF-8 de_DE.UTF-8)";
    }
    ASSERT_EQ(std::string(std::localeconv()->decimal_point), ",") << "locale " << comma << " has no decimal comma";

    const auto inComma = readAll();
    std::setlocale(LC_ALL, before.c_str());

    ASSERT_EQ(inC.size(), inComma.size());
    for (size_t k = 0; k < inC.size(); ++k)
        EXPECT_EQ(inComma[k].display, inC[k].display)
            << "parameter " << inC[k].index << " at " << inC[k].value << " in " << comma;

    // Spot checks of the "C" texts themselves.
    auto textOf = [&](int index, float v) {
        for (const auto& t : inC)
            if (t.index == index && t.value == v)
                return t.display;
        return std::string("?");
    };
    EXPECT_EQ(textOf(7, 0.0f), "-0.50") << "zoom at 0";
    EXPECT_EQ(textOf(8, 0.5f), "0.62") << "L/R pattern at 0.5 in the 5.1 range (0.5 + 0.5 * 0.25 = 0.625, rounded to even)";
    EXPECT_EQ(textOf(23, 1.0f), "1.00") << "mute L/R on";
    EXPECT_EQ(textOf(0, 0.0f), "Off") << "input level at 0";
    EXPECT_EQ(textOf(0, 1.0f), " 10dB") << "input level at 1";
    EXPECT_EQ(textOf(5, 0.0f), "-90") << "front tilt at 0";
    EXPECT_EQ(textOf(4, 0.1f), " 36") << "rotate at 0.1";
}
