// Host threads setting, reading and saving the built module's effect while
// its audio thread renders: the output stays finite and every text, value
// and chunk keeps its shape (the thread sanitizer build runs this too).
#include "AAXModuleHost.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <thread>

TEST(AaxAdapterThreads, HostThreadsAndTheAudioThreadAtOnce)
{
    ASSERT_TRUE(AAXModule::get().loaded());
    AAXInstance plugin(AAX_eStemFormat_5_1, 48000.0f, false);
    plugin.host.offerAutomation = false;   // values change at once, on whichever thread sets them
    ASSERT_EQ(plugin.initialise(), 0);
    const std::vector<uint8_t> elck = plugin.chunk(kElckChunk);

    constexpr int kRounds = 600;
    std::atomic<bool> bad { false };
    std::atomic<bool> rendering { true };

    std::thread audio([&] {
        Channels in(4, 256, 0.25f), out(6, 256);
        while (rendering)
        {
            plugin.render(in, out, 256);
            for (const auto& ch : out.data)
                for (float s : ch)
                    if (! std::isfinite(s))
                        bad = true;
        }
    });
    auto writer = [&](int seed) {
        for (int i = 0; i < kRounds; ++i)
        {
            const std::string id = std::to_string((i * 7 + seed) % 35);
            plugin.effect->SetParameterNormalizedValue(id.c_str(), ((i + seed) % 101) / 100.0);
            plugin.effect->UpdateParameterNormalizedValue(id.c_str(), ((i * 3 + seed) % 101) / 100.0, AAX_eUpdateSource_Parameter);
            plugin.effect->SetParameterNormalizedRelative(id.c_str(), (i % 2 == 0 ? 0.3 : -0.3));
        }
    };
    std::thread reader([&] {
        for (int i = 0; i < kRounds; ++i)
        {
            const std::string id = std::to_string(i % 35);
            const double v = plugin.parameter(id.c_str());
            if (! (v >= 0.0 && v <= 1.0) || plugin.text(id.c_str()).empty())
                bad = true;
            if (plugin.chunk(kJuceChunk).empty() || plugin.chunk(kElckChunk).size() != elck.size())
                bad = true;
        }
    });
    std::thread a(writer, 1), b(writer, 2);
    a.join();
    b.join();
    reader.join();
    rendering = false;
    audio.join();
    EXPECT_FALSE(bad) << "a sample, value, text or chunk out of shape while others wrote";
}
