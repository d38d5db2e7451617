// A bounded, seeded mutation run over "elck" chunks: valid chunks are cut,
// their size fields and names changed, bits flipped and bytes inserted, and
// each result is read by the parser and restored into an effect. Every read
// stays inside the bytes the size field covers (the sanitizer tree checks),
// what reads whole writes back the same, and a refused chunk changes nothing.
#include "AAX_CChunkDataParser.h"
#include "ChunkSupport.h"
#include "FakeHost.h"
#include "TestEffect.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace
{
using Blob = std::vector<uint8_t>;

constexpr uint32_t seed = 20240613;
constexpr int rounds = 20000;

Blob written(const AAX_CChunkDataParser& parser)
{
    ChunkRecord chunk(parser.GetChunkDataSize());
    parser.GetChunkData(chunk.record());
    return chunk.dataBytes();
}

// std::mt19937 gives the same sequence everywhere; distributions do not, so
// numbers are taken from it directly.
class Mutator
{
public:
    explicit Mutator(uint32_t s) : random(s) {}

    size_t below(size_t n) { return n == 0 ? 0 : size_t(random() % n); }

    /** The mutated data and the size field to give it (never above its length). */
    std::pair<Blob, int32_t> mutate(const std::vector<Blob>& seeds)
    {
        Blob b = seeds[below(seeds.size())];
        int32_t sizeField = -1;
        for (size_t steps = 1 + below(3); steps > 0; --steps)
        {
            switch (below(7))
            {
                case 0: b.resize(below(b.size() + 1)); break;                                   // truncate
                case 1: if (! b.empty()) b[below(b.size())] ^= uint8_t(1u << below(8)); break;  // flip a bit
                case 2: sizeField = int32_t(below(b.size() + 1)); break;                        // a shorter size field
                case 3: sizeField = -int32_t(below(1000)); break;                               // a negative one
                case 4: mutateName(b); break;
                case 5: b.insert(b.begin() + long(below(b.size() + 1)), uint8_t(random())); break;
                case 6: if (! b.empty()) b.erase(b.begin() + long(below(b.size()))); break;
            }
        }
        if (sizeField < 0 && below(2) == 0)
            sizeField = int32_t(b.size());
        if (sizeField > int32_t(b.size()))
            sizeField = int32_t(b.size());
        return { b, sizeField };
    }

private:
    /** Changes a byte just after a tag: a name's first character, a zero or a letter. */
    void mutateName(Blob& b)
    {
        std::vector<size_t> tags;
        for (size_t i = 1; i + 1 < b.size(); ++i)
            if (b[i] == '_')
                tags.push_back(i + 1);
        if (tags.empty())
            return;
        static const uint8_t replacements[] = { 0, '0', '3', '5', '9', 'd', 'r', 0xFF };
        b[tags[below(tags.size())]] = replacements[below(sizeof(replacements))];
    }

    std::mt19937 random;
};

void expectSameValues(const AAX_CChunkDataParser& a, const AAX_CChunkDataParser& b)
{
    std::vector<const AAX_CChunkDataParser::DataValue*> kept;
    for (const auto& v : a.Values())
        if (v.kind != AAX_CChunkDataParser::kindNone)
            kept.push_back(&v);
    ASSERT_EQ(kept.size(), b.Values().size());
    for (size_t i = 0; i < kept.size(); ++i)
    {
        EXPECT_EQ(kept[i]->kind, b.Values()[i].kind) << i;
        EXPECT_STREQ(kept[i]->name.Get(), b.Values()[i].name.Get()) << i;
        EXPECT_EQ(kept[i]->number, b.Values()[i].number) << i;
        EXPECT_STREQ(kept[i]->text.Get(), b.Values()[i].text.Get()) << i;
    }
}
} // namespace

TEST(AaxElckMutation, MutatedChunksAreReadSafely)
{
    FakeHost host;
    host.offerAutomation = false;   // values are set at once: no request traffic to log
    TestEffect* effect = new TestEffect();
    AAX_IACFEffectParameters_V2* api = effect;
    api->AddRef();
    ASSERT_EQ(api->Initialize(host.unknown()), 0);

    std::vector<Blob> seeds;
    for (int variant = 0; variant < 3; ++variant)
    {
        for (int i = 0; i < 35; ++i)
            api->SetParameterNormalizedValue(std::to_string(i).c_str(), std::fmod(0.37 * (i + 1) * (variant + 1), 1.0));
        uint32_t size = 0;
        api->GetChunkSize(AAX_ControlsChunkID, &size);
        ChunkRecord c(size);
        ASSERT_EQ(api->GetChunk(AAX_ControlsChunkID, c.record()), 0);
        seeds.push_back(c.dataBytes());
    }
    AAX_CChunkDataParser mixed;
    mixed.AddString("t", "some text");
    mixed.AddInt32("1", 1);
    mixed.AddDouble("2", 0.25);
    mixed.AddString("", "");
    seeds.push_back(written(mixed));
    seeds.push_back({ 1, 1, 1, 1, 'f', '_', '3', 0, 0x3F, 0, 0, 0, 's', '_', '4', 0, 0x12, 0x34, 0, 0 });

    Mutator mutator(seed);
    int whole = 0, refused = 0;
    for (int round = 0; round < rounds; ++round)
    {
        SCOPED_TRACE("round " + std::to_string(round));
        const auto [data, sizeField] = mutator.mutate(seeds);
        auto chunk = ChunkRecord::withData(data);
        chunk.record()->size = sizeField;

        AAX_CChunkDataParser reader;
        if (reader.LoadChunk(chunk.record()))
        {
            ++whole;
            auto again = ChunkRecord::withData(written(reader));
            AAX_CChunkDataParser reread;
            ASSERT_TRUE(reread.LoadChunk(again.record()));
            expectSameValues(reader, reread);
        }

        double before[35];
        for (int i = 0; i < 35; ++i)
            api->GetParameterNormalizedValue(std::to_string(i).c_str(), &before[i]);

        const AAX_Result status = api->SetChunk(AAX_ControlsChunkID, chunk.record());
        ASSERT_TRUE(status == 0 || status == -20008) << status;
        refused += status != 0;
        for (int i = 0; i < 35; ++i)
        {
            double v = -1.0;
            api->GetParameterNormalizedValue(std::to_string(i).c_str(), &v);
            ASSERT_TRUE(v >= 0.0 && v <= 1.0) << i << " = " << v;
            if (status != 0)
            {
                ASSERT_EQ(v, before[i]) << "a refused chunk changed parameter " << i;
            }
        }

        AAX_CBoolean equal = 2;
        ASSERT_EQ(api->CompareActiveChunk(chunk.record(), &equal), 0);
        ASSERT_LE(equal, 1);
    }
    // The run reaches both outcomes, or the mutations have stopped biting.
    EXPECT_GT(whole, rounds / 10);
    EXPECT_GT(refused, rounds / 10);

    api->Uninitialize();
    api->Release();
    EXPECT_TRUE(host.leakedReferences().empty());
}
