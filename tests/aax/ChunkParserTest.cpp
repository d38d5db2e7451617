// The "elck" byte layout, written and read.
#include "AAX_CChunkDataParser.h"
#include "ChunkSupport.h"

#include <gtest/gtest.h>

#include <functional>

namespace
{
std::vector<uint8_t> written(const AAX_CChunkDataParser& parser)
{
    ChunkRecord chunk(parser.GetChunkDataSize());
    EXPECT_EQ(parser.GetChunkData(chunk.record()), 0);
    EXPECT_EQ(uint32_t(chunk.record()->size), parser.GetChunkDataSize());
    return chunk.dataBytes();
}

using V = std::vector<uint8_t>;
} // namespace

TEST(AaxChunkFormat, WrittenBytes)
{
    struct Case
    {
        const char* what;
        std::function<void(AAX_CChunkDataParser&)> fill;
        V expected;
    } cases[] = {
        { "empty list", [](auto&) {}, { 1, 1, 1, 1 } },
        { "double \"0\" = 0.5", [](auto& p) { p.AddDouble("0", 0.5); },
          { 1, 1, 1, 1, 0x64, 0x5F, 0x30, 0x00, 0x3F, 0xE0, 0, 0, 0, 0, 0, 0 } },
        { "int32 \"12\" = 1", [](auto& p) { p.AddInt32("12", 1); },
          { 1, 1, 1, 1, 0x6C, 0x5F, 0x31, 0x32, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01 } },
        { "text \"x\" = abcd", [](auto& p) { p.AddString("x", "abcd"); },
          { 1, 1, 1, 1, 0x72, 0x5F, 0x78, 0x00, 0x61, 0x62, 0x63, 0x64, 0, 0, 0, 0 } },
        { "negative int32, then a double", [](auto& p) { p.AddInt32("a", -2); p.AddDouble("bcdef", -1.0); },
          { 1, 1, 1, 1, 0x6C, 0x5F, 0x61, 0x00, 0xFF, 0xFF, 0xFF, 0xFE,
            0x64, 0x5F, 0x62, 0x63, 0x64, 0x65, 0x66, 0x00, 0xBF, 0xF0, 0, 0, 0, 0, 0, 0 } },
    };
    for (const auto& c : cases)
    {
        AAX_CChunkDataParser parser;
        c.fill(parser);
        EXPECT_EQ(written(parser), c.expected) << c.what;
    }
}

TEST(AaxChunkFormat, EntrySizeFollowsTheNameLength)
{
    // P(L + 3) + 8 for a double named with L characters.
    const size_t expected[] = { 12, 12, 16, 16, 16, 16, 20 };
    for (size_t length = 0; length < std::size(expected); ++length)
    {
        AAX_CChunkDataParser parser;
        parser.AddDouble(std::string(length, 'n').c_str(), 1.0);
        EXPECT_EQ(parser.GetChunkDataSize(), 4 + expected[length]) << length;
        EXPECT_EQ(written(parser).size(), 4 + expected[length]) << length;
    }
}

TEST(AaxChunkFormat, ReadBack)
{
    AAX_CChunkDataParser writer;
    writer.AddString("x", "abcd");
    writer.AddDouble("0", 0.5);
    writer.AddInt32("12", -7);
    auto chunk = ChunkRecord::withData(written(writer));
    chunk.record()->version = 3;

    AAX_CChunkDataParser reader;
    ASSERT_TRUE(reader.LoadChunk(chunk.record()));
    EXPECT_EQ(reader.GetChunkVersion(), 3);
    ASSERT_EQ(reader.Values().size(), 3u);

    AAX_CString text;
    double d = 0.0;
    int32_t n = 0;
    EXPECT_TRUE(reader.FindString("x", &text));
    EXPECT_STREQ(text.Get(), "abcd");
    EXPECT_TRUE(reader.FindDouble("0", &d)) << "found right after the 8 bytes of the text";
    EXPECT_EQ(d, 0.5);
    EXPECT_TRUE(reader.FindInt32("12", &n));
    EXPECT_EQ(n, -7);

    d = 9.0;
    EXPECT_FALSE(reader.FindDouble("12", &d)) << "stored with another kind";
    EXPECT_FALSE(reader.FindDouble("missing", &d));
    EXPECT_EQ(d, 9.0) << "output untouched";
}

TEST(AaxChunkFormat, KindsOnlyTheReaderMakes)
{
    const V data = { 1, 1, 1, 1,
                     'f', '_', 'a', 0, 0x3F, 0x80, 0x00, 0x00,      // float 1.0
                     's', '_', 'b', 0, 0xFF, 0xFE, 0x00, 0x00,      // int16 -2
                     'q', '_', 'c', 0 };                              // unknown tag: no value
    auto chunk = ChunkRecord::withData(data);
    AAX_CChunkDataParser reader;
    ASSERT_TRUE(reader.LoadChunk(chunk.record()));
    ASSERT_EQ(reader.Values().size(), 3u);
    EXPECT_EQ(reader.Values()[0].kind, AAX_CChunkDataParser::kindFloat);
    EXPECT_EQ(reader.Values()[0].number, 0x3F800000u);
    EXPECT_EQ(reader.Values()[1].kind, AAX_CChunkDataParser::kindInt16);
    EXPECT_EQ(reader.Values()[1].number, 0xFFFEu);
    EXPECT_EQ(reader.Values()[2].kind, AAX_CChunkDataParser::kindNone);
    EXPECT_STREQ(reader.Values()[2].name.Get(), "c");

    double d = 0.0;
    EXPECT_FALSE(reader.FindDouble("a", &d)) << "floats have no lookup";
    EXPECT_EQ(written(reader), (V { 1, 1, 1, 1, 'f', '_', 'a', 0, 0x3F, 0x80, 0, 0, 's', '_', 'b', 0, 0xFF, 0xFE, 0, 0 }))
        << "the writer lays out what the reader made, and leaves out an entry without a kind";
}

TEST(AaxChunkFormat, MalformedChunksHoldNoValues)
{
    const V valid = { 1, 1, 1, 1, 0x64, 0x5F, 0x30, 0x00, 0x3F, 0xE0, 0, 0, 0, 0, 0, 0 };
    struct Case
    {
        const char* what;
        V data;
        bool whole;
    } cases[] = {
        { "no data", {}, true },
        { "header only", { 1, 1, 1, 1 }, true },
        { "wrong header", { 1, 1, 1, 2, 0x64, 0x5F, 0x30, 0x00, 0x3F, 0xE0, 0, 0, 0, 0, 0, 0 }, true },
        { "double cut short", V(valid.begin(), valid.end() - 1), false },
        { "name without its zero", V(valid.begin(), valid.begin() + 7), false },
        { "text without its zero", { 1, 1, 1, 1, 'r', '_', 'x', 0, 'a', 'b' }, false },
        { "int32 cut short", { 1, 1, 1, 1, 'l', '_', 'x', 0, 0, 0 }, false },
    };
    for (const auto& c : cases)
    {
        auto chunk = ChunkRecord::withData(c.data);
        AAX_CChunkDataParser reader;
        reader.AddDouble("stale", 1.0);
        EXPECT_EQ(reader.LoadChunk(chunk.record()), c.whole) << c.what;
        EXPECT_TRUE(reader.Values().empty()) << c.what;
    }

    // A size field below the bytes present limits the reading.
    auto chunk = ChunkRecord::withData(valid);
    chunk.record()->size = 12;
    AAX_CChunkDataParser reader;
    EXPECT_FALSE(reader.LoadChunk(chunk.record()));
    chunk.record()->size = -16;
    EXPECT_TRUE(reader.LoadChunk(chunk.record()));
    EXPECT_TRUE(reader.Values().empty());
}

TEST(AaxChunkFormat, OverlongNamesAreCut)
{
    AAX_CChunkDataParser writer;
    writer.AddInt32(std::string(300, 'n').c_str(), 5);
    writer.AddInt32("ok", 6);
    auto chunk = ChunkRecord::withData(written(writer));
    AAX_CChunkDataParser reader;
    reader.LoadChunk(chunk.record());
    ASSERT_FALSE(reader.Values().empty());
    EXPECT_EQ(reader.Values()[0].name.Length(), 253u) << "255 bytes of tag and name";
}

TEST(AaxChunkFormat, LookupContinuesAfterTheLastFound)
{
    AAX_CChunkDataParser parser;
    parser.AddInt32("a", 1);
    parser.AddInt32("b", 2);
    parser.AddInt32("a", 3);
    struct Step
    {
        const char* name;
        int32_t index;
    } steps[] = { { "a", 0 }, { "a", 2 }, { "a", 0 }, { "b", 1 }, { "a", 2 }, { "z", -1 }, { "b", 1 } };
    for (const auto& s : steps)
        EXPECT_EQ(parser.FindName(AAX_CString(s.name)), s.index) << s.name;
}

TEST(AaxChunkFormat, LookupWrapsRoundToTheEntryFoundLast)
{
    // A lookup starts after the entry found last and wraps round up to it.
    // Each row: the entries' one-letter names, the names asked in turn, and
    // the index each must find (-1: absent).
    struct Row { const char* what; const char* names; const char* asked; std::vector<int32_t> found; } rows[] = {
        { "same name twice", "abc", "bb", { 1, 1 } },
        { "first twice", "abc", "aa", { 0, 0 } },
        { "last twice", "abc", "cc", { 2, 2 } },
        { "each before the last found", "abc", "cba", { 2, 1, 0 } },
        { "each after the last found", "abc", "abc", { 0, 1, 2 } },
        { "last, then first", "abc", "cac", { 2, 0, 2 } },
        { "found by wrapping, then resumed from there", "xyzy", "zxy", { 2, 0, 1 } },
        { "absent after every start", "abc", "zazbzcz", { -1, 0, -1, 1, -1, 2, -1 } },
        { "one entry", "a", "aaza", { 0, 0, -1, 0 } },
        { "empty", "", "aa", { -1, -1 } },
    };
    for (const auto& row : rows)
    {
        AAX_CChunkDataParser parser;
        for (const char* n = row.names; *n != 0; ++n)
            parser.AddInt32(std::string(1, *n).c_str(), 7);
        for (size_t i = 0; i < row.found.size(); ++i)
            EXPECT_EQ(parser.FindName(AAX_CString(std::string(1, row.asked[i]).c_str())), row.found[i]) << row.what << ", " << i;
    }
}
