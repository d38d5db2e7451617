// A bounded, deterministic fuzz run of the state loader: valid states are cut,
// flipped, spliced and padded by a fixed-seed generator, and each result is
// loaded under the VST, Audio Unit and AAX wrapper types.

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <random>
#include <vector>

#include "AudioProcessor.h"
#include "StateBlobCheck.h"

namespace
{
using Blob = std::vector<uint8_t>;

// std::mt19937 gives the same sequence everywhere; distributions do not, so
// numbers are taken from it directly.
class Mutator
{
public:
    explicit Mutator(uint32_t seed) : random(seed) {}

    size_t Below(size_t n) { return n == 0 ? 0 : static_cast<size_t>(random() % n); }

    Blob Mutate(const std::vector<Blob>& seeds)
    {
        Blob b = seeds[Below(seeds.size())];
        const size_t steps = 1 + Below(4);

        for (size_t s = 0; s < steps; ++s)
            MutateOnce(b, seeds);

        return b;
    }

private:
    void MutateOnce(Blob& b, const std::vector<Blob>& seeds)
    {
        static const uint8_t interesting[] = { 0x00, 0x01, 0x04, 0x05, 0x07, 0x09, 0x7f, 0x80, 0x81, 0x84, 0x85, 0xc3, 0xff };

        switch (Below(8))
        {
            case 0: // truncate
                b.resize(Below(b.size() + 1));
                break;
            case 1: // flip a bit
                if (! b.empty())
                    b[Below(b.size())] ^= static_cast<uint8_t>(1u << Below(8));
                break;
            case 2: // an interesting byte
                if (! b.empty())
                    b[Below(b.size())] = interesting[Below(sizeof(interesting))];
                break;
            case 3: // insert random bytes
            {
                const size_t at = Below(b.size() + 1);
                const size_t n = 1 + Below(8);
                for (size_t k = 0; k < n; ++k)
                    b.insert(b.begin() + static_cast<std::ptrdiff_t>(at), static_cast<uint8_t>(random()));
                break;
            }
            case 4: // delete a range
            {
                if (b.empty())
                    break;
                const size_t at = Below(b.size());
                const size_t n = 1 + Below(std::min<size_t>(b.size() - at, 32));
                b.erase(b.begin() + static_cast<std::ptrdiff_t>(at), b.begin() + static_cast<std::ptrdiff_t>(at + n));
                break;
            }
            case 5: // duplicate a range in place
            {
                if (b.empty())
                    break;
                const size_t at = Below(b.size());
                const size_t n = 1 + Below(std::min<size_t>(b.size() - at, 64));
                Blob piece(b.begin() + static_cast<std::ptrdiff_t>(at), b.begin() + static_cast<std::ptrdiff_t>(at + n));
                b.insert(b.begin() + static_cast<std::ptrdiff_t>(Below(b.size() + 1)), piece.begin(), piece.end());
                break;
            }
            case 6: // a large compressed int where a count may be
            {
                if (b.size() < 5)
                    break;
                const size_t at = Below(b.size() - 4);
                b[at] = static_cast<uint8_t>(Below(2) ? 0x04 : 0x84);
                for (size_t k = 1; k <= 4; ++k)
                    b[at + k] = static_cast<uint8_t>(random());
                break;
            }
            default: // splice the tail of another seed
            {
                const Blob& other = seeds[Below(seeds.size())];
                const size_t keep = Below(b.size() + 1);
                const size_t from = Below(other.size() + 1);
                b.resize(keep);
                b.insert(b.end(), other.begin() + static_cast<std::ptrdiff_t>(from), other.end());
                break;
            }
        }
    }

    std::mt19937 random;
};
} // namespace

TEST(StateFuzz, MutatedAndTruncatedBlobsAreSafeAndRejectedOnesChangeNothing)
{
    constexpr int iterationsPerType = 10000;

    // Seeds: a fresh state and one with everything moved (stereo, solos, mutes).
    const std::vector<Blob> seeds = StateBlobCheck::SeedStates();

    for (auto type : { juce::AudioProcessor::wrapperType_VST, juce::AudioProcessor::wrapperType_AudioUnit,
                       juce::AudioProcessor::wrapperType_AAX })
    {
        std::unique_ptr<juce::AudioProcessor> made(createPluginFilterOfType(type));
        auto& p = dynamic_cast<Quorvane2AudioProcessor&>(*made);
        Mutator mutator(0x51a7e5u + static_cast<uint32_t>(type));
        int accepted = 0, rejected = 0;

        for (int n = 0; n < iterationsPerType; ++n)
        {
            // Now and then start again from a known state with a solo active,
            // so loads also meet the mute-while-solo case.
            if (n % 250 == 0)
            {
                p.setStateInformation(seeds[1].data(), static_cast<int>(seeds[1].size()));
                p.setParameter(29 + (n / 250) % 6, 1.0f);
            }

            const Blob blob = mutator.Mutate(seeds);
            (StateBlobCheck::IsAccepted(blob.data(), blob.size()) ? accepted : rejected)++;
            const auto failure = StateBlobCheck::LoadAndCheck(p, blob.data(), blob.size());
            ASSERT_TRUE(failure.empty()) << "wrapper type " << type << ", blob " << n << " of " << blob.size()
                                         << " bytes: " << failure;
        }

        // The run is only worth something if it reaches both outcomes.
        EXPECT_GT(accepted, iterationsPerType / 20) << "wrapper type " << type;
        EXPECT_GT(rejected, iterationsPerType / 20) << "wrapper type " << type;
    }
}
