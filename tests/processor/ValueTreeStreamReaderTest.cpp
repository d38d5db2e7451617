// The bounded reader of the value-tree stream format, against JUCE's writer.

#include <gtest/gtest.h>

#include "ValueTreeStreamReader.h"

namespace
{
juce::MemoryBlock Write(const juce::ValueTree& tree)
{
    juce::MemoryBlock block;
    juce::MemoryOutputStream out(block, false);
    tree.writeToStream(out);
    out.flush();
    return block;
}

juce::ValueTree Read(const juce::MemoryBlock& block, ValueTreeStreamReader::Limits limits = {})
{
    return ValueTreeStreamReader::Read(block.getData(), block.getSize(), limits);
}

juce::ValueTree SampleTree()
{
    juce::ValueTree root("Root");
    root.setProperty("int", 42, nullptr);
    root.setProperty("negative", -123456789, nullptr);
    root.setProperty("int64", juce::int64(-5000000000LL), nullptr);
    root.setProperty("double", 0.75609756, nullptr);
    root.setProperty("true", true, nullptr);
    root.setProperty("false", false, nullptr);
    root.setProperty("text", juce::String::fromUTF8("Gr\xc3\xbc\xc3\x9f" "e \xe2\x82\xac \xf0\x9f\x8e\xa4"), nullptr);
    root.setProperty("empty", juce::String(), nullptr);
    root.setProperty("binary", juce::var(juce::MemoryBlock("\x00\x01\xff", 3)), nullptr);
    root.setProperty("array", juce::var(juce::Array<juce::var> { 1, "two", juce::var(juce::Array<juce::var> { 3.0 }) }), nullptr);
    root.setProperty("undefined", juce::var::undefined(), nullptr);
    root.setProperty("void", juce::var(), nullptr);

    juce::ValueTree child("Polar pattern L/R");
    child.setProperty("value", 0.5, nullptr);
    juce::ValueTree grandchild("Level RLs/RRs");
    child.appendChild(grandchild, nullptr);
    root.appendChild(child, nullptr);
    root.appendChild(juce::ValueTree("Empty"), nullptr);
    return root;
}
} // namespace

TEST(ValueTreeStreamReader, ReadsEverythingJucesWriterWrites)
{
    const auto original = SampleTree();
    const auto block = Write(original);
    const auto read = Read(block);

    ASSERT_TRUE(read.isValid());
    EXPECT_TRUE(read.isEquivalentTo(original)) << read.toXmlString() << "\nwanted\n" << original.toXmlString();
    EXPECT_TRUE(read["int64"].isInt64());
    EXPECT_TRUE(read["double"].isDouble());
    EXPECT_TRUE(read["undefined"].isUndefined());
    EXPECT_TRUE(read["binary"].isBinaryData());
    EXPECT_EQ(read["binary"].getBinaryData()->getSize(), 3u);
    EXPECT_EQ(Write(read), block) << "writing what was read must give the same bytes";

    // And it agrees with JUCE's own reader on well-formed data.
    EXPECT_TRUE(read.isEquivalentTo(juce::ValueTree::readFromData(block.getData(), block.getSize())));
}

TEST(ValueTreeStreamReader, EveryTruncationIsRejectedAndTrailingBytesAreIgnored)
{
    const auto block = Write(SampleTree());

    for (size_t n = 0; n < block.getSize(); ++n)
        ASSERT_FALSE(ValueTreeStreamReader::Read(block.getData(), n).isValid()) << "accepted a block cut to " << n;

    juce::MemoryBlock padded(block);
    padded.append("\0\0\0garbage", 10);
    EXPECT_TRUE(Read(padded).isEquivalentTo(SampleTree()));

    EXPECT_FALSE(ValueTreeStreamReader::Read(nullptr, 10).isValid());
}

TEST(ValueTreeStreamReader, DepthAndNodeLimits)
{
    juce::ValueTree root("A");
    juce::ValueTree level = root;
    for (int i = 0; i < 3; ++i)
    {
        juce::ValueTree c("B");
        level.appendChild(c, nullptr);
        level = c;
    }
    const auto fourDeep = Write(root);

    EXPECT_TRUE(Read(fourDeep, { 4, 100 }).isValid());
    EXPECT_FALSE(Read(fourDeep, { 3, 100 }).isValid()) << "depth limit not applied";
    EXPECT_TRUE(Read(fourDeep, { 8, 4 }).isValid());
    EXPECT_FALSE(Read(fourDeep, { 8, 3 }).isValid()) << "node limit not applied";

    // Arrays nest too.
    juce::var nested = 1;
    for (int i = 0; i < 20; ++i)
        nested = juce::Array<juce::var> { nested };
    juce::ValueTree withArray("A");
    withArray.setProperty("deep", nested, nullptr);
    EXPECT_FALSE(Read(Write(withArray)).isValid()) << "arrays nested 20 deep must be refused";
}

TEST(ValueTreeStreamReader, MalformedEncodingsAreRejected)
{
    auto block = [](std::initializer_list<int> bytes) {
        juce::MemoryBlock b;
        for (int x : bytes)
        {
            const char c = static_cast<char>(x);
            b.append(&c, 1);
        }
        return b;
    };

    const struct { const char* what; juce::MemoryBlock bytes; } cases[] = {
        { "empty type", block({ 0, 0, 0 }) },
        { "property count beyond the bytes", block({ 'A', 0, 1, 200, 0 }) },
        { "child count beyond the bytes", block({ 'A', 0, 0, 1, 2, 'B', 0, 0, 0 }) },
        { "negative property count", block({ 'A', 0, 0x81, 1, 0 }) },
        { "count in 5 bytes", block({ 'A', 0, 5, 0, 0, 0, 0, 0, 0 }) },
        { "count above INT_MAX", block({ 'A', 0, 4, 0, 0, 0, 0x80, 0 }) },
        { "empty property name", block({ 'A', 0, 1, 1, 0, 0, 0 }) },
        { "int with 3 payload bytes", block({ 'A', 0, 1, 1, 'p', 0, 1, 4, 1, 1, 2, 3, 0 }) },
        { "double with 9 payload bytes", block({ 'A', 0, 1, 1, 'p', 0, 1, 10, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0 }) },
        { "bool with a payload", block({ 'A', 0, 1, 1, 'p', 0, 1, 2, 2, 0, 0 }) },
        { "var longer than the block", block({ 'A', 0, 1, 1, 'p', 0, 1, 50, 5, 'x', 0 }) },
        { "negative var length", block({ 'A', 0, 1, 1, 'p', 0, 0x81, 1, 2, 0 }) },
        { "invalid UTF-8 in a string value", block({ 'A', 0, 1, 1, 'p', 0, 1, 3, 5, 0xff, 0, 0 }) },
        { "overlong UTF-8 in a name", block({ 'A', 0, 1, 1, 0xc0, 0xaf, 0, 0, 0 }) },
        { "lone surrogate U+DFFF in a string value", block({ 'A', 0, 1, 1, 'p', 0, 1, 5, 5, 0xed, 0xbf, 0xbf, 0, 0 }) },
        { "lone surrogate U+D800 in the type", block({ 0xed, 0xa0, 0x80, 0, 0, 0 }) },
        { "array elements overrun their length", block({ 'A', 0, 1, 1, 'p', 0, 1, 2, 7, 1, 1, 1, 2, 0 }) },
        { "array elements short of their length", block({ 'A', 0, 1, 1, 'p', 0, 1, 5, 7, 1, 1, 0, 0, 0 }) },
    };

    for (const auto& c : cases)
        EXPECT_FALSE(Read(c.bytes).isValid()) << c.what;

    // An unknown marker is skipped by its length, as the format allows.
    const auto unknown = Read(block({ 'A', 0, 1, 1, 'p', 0, 1, 3, 42, 9, 9, 0 }));
    ASSERT_TRUE(unknown.isValid());
    EXPECT_TRUE(unknown["p"].isVoid());
}

TEST(ValueTreeStreamReader, Utf8Validation)
{
    const struct { const char* bytes; bool valid; } cases[] = {
        { "plain", true },
        { "\xc3\xa9", true },                 // e acute
        { "\xe2\x82\xac", true },             // euro sign
        { "\xf0\x9f\x8e\xa4", true },         // U+1F3A4
        { "\xc3", false },                    // cut short
        { "\xe2\x82", false },
        { "\x80", false },                    // lone continuation byte
        { "\xc1\xbf", false },                // overlong
        { "\xe0\x80\xaf", false },            // overlong
        { "\xed\x9f\xbf", true },             // U+D7FF, last before the surrogates
        { "\xed\xa0\x80", false },            // U+D800, first surrogate
        { "\xed\xbf\xbf", false },            // U+DFFF, last surrogate
        { "\xee\x80\x80", true },             // U+E000, first after the surrogates
        { "a\xed\xb0\x80z", false },          // lone low surrogate between letters
        { "\xc2\x80", true },                  // U+0080, smallest two-byte form
        { "\xc0\x80", false },                 // U+0000 overlong
        { "\xdf\xbf", true },                  // U+07FF
        { "\xe0\xa0\x80", true },             // U+0800, smallest three-byte form
        { "\xe0\x9f\xbf", false },            // U+07FF overlong
        { "\xef\xbf\xbf", true },             // U+FFFF
        { "\xf0\x90\x80\x80", true },        // U+10000, smallest four-byte form
        { "\xf0\x8f\xbf\xbf", false },       // U+FFFF overlong
        { "\xf4\x8f\xbf\xbf", true },        // U+10FFFF, the last code point
        { "\xf4\x90\x80\x80", false },        // above U+10FFFF
        { "\xf8\x88\x80\x80\x80", false },    // five-byte form
    };

    for (const auto& c : cases)
        EXPECT_EQ(ValueTreeStreamReader::IsValidUtf8(reinterpret_cast<const unsigned char*>(c.bytes), std::strlen(c.bytes)),
                  c.valid)
            << juce::String::toHexString(c.bytes, (int) std::strlen(c.bytes));
}
