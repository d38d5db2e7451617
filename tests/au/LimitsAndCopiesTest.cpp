// The bases at their limits and on both sides of them: a render of exactly
// the maximum frames per slice, host memory aligned to 8 where 16 is needed,
// and sample copies into host buffers smaller than the unit's own.
#include "AUBufferList.h"
#include "ChannelBuffers.h"
#include "TestEffectUnit.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace
{
OSStatus unitInput(void*, AudioUnitRenderActionFlags*, const AudioTimeStamp*, UInt32, UInt32 frames,
                   AudioBufferList* list)
{
    for (UInt32 c = 0; c < list->mNumberBuffers; ++c)
        for (UInt32 j = 0; j < frames; ++j)
            static_cast<float*>(list->mBuffers[c].mData)[j] = 0.25f;
    return 0;
}

struct Unit : TestEffectUnit
{
    Unit() : TestEffectUnit(nullptr) { PostConstructor(); }
};
} // namespace

TEST(AULimits, RenderOfExactlyTheMaximumFramesRunsAndOneMoreIsRefused)
{
    struct Row
    {
        UInt32 maximum; // 0: the unit's own, 1156
        UInt32 frames;
        OSStatus status;
    };
    const Row rows[] = {
        { 0, 1156, 0 }, { 0, 1157, -10874 }, { 64, 64, 0 }, { 64, 65, -10874 }, { 1, 1, 0 }, { 1, 2, -10874 },
    };
    for (const auto& r : rows)
    {
        SCOPED_TRACE(testing::Message() << "maximum " << (r.maximum == 0 ? 1156 : r.maximum) << ", " << r.frames
                                        << " frames");
        Unit unit;
        if (r.maximum != 0)
        {
            ASSERT_EQ(unit.DispatchSetProperty(kAudioUnitProperty_MaximumFramesPerSlice, 0, 0, &r.maximum, 4), 0);
        }
        ASSERT_EQ(unit.SetInputCallback(23, 0, unitInput, nullptr), 0);
        ASSERT_EQ(unit.DoInitialize(), 0);

        ChannelBuffers host(2, r.frames, 9.0f);
        AudioTimeStamp t {};
        AudioUnitRenderActionFlags flags = 0;
        EXPECT_EQ(unit.DoRender(flags, t, 0, r.frames, *host.list()), r.status);
        // Unit gain: the input comes through; a refused render leaves the host's samples.
        const float last = r.status == 0 ? 0.25f : 9.0f;
        EXPECT_EQ(host.channel(0)[r.frames - 1], last);
        EXPECT_EQ(host.channel(1)[r.frames - 1], last);
    }
}

TEST(AULimits, ExternalBufferMustBeSixteenByteAligned)
{
    alignas(16) static Byte memory[16 * 1024 + 16];
    struct Row
    {
        size_t offset;
        OSStatus status;
    };
    const Row rows[] = { { 1, -50 }, { 4, -50 }, { 8, -50 }, { 12, -50 }, { 16, 0 }, { 0, 0 } };
    for (const auto& r : rows)
    {
        Unit unit;
        ASSERT_EQ(unit.DoInitialize(), 0);
        const AudioUnitExternalBuffer buffer { memory + r.offset, 16 * 1024 };
        EXPECT_EQ(unit.DispatchSetProperty(kAudioUnitProperty_SetExternalBuffer, kAudioUnitScope_Output, 0, &buffer,
                                           sizeof(buffer)),
                  r.status)
            << "memory " << r.offset << " bytes past a 16-byte boundary";
        EXPECT_EQ(unit.GetOutput(0)->GetBuffers().UsesExternalMemory(), r.status == 0) << "offset " << r.offset;
    }
}

// Each destination buffer takes at most its own size: the bytes after it
// stay as they were, and its size is not raised to the source's.
TEST(AUBufferListCopies, ContentsStopAtEachDestinationsSize)
{
    CAStreamBasicDescription format = DefaultIOStreamFormat();
    format.mChannelsPerFrame = 2;
    AUBufferList source;
    source.Allocate(format, 16);
    AudioBufferList& own = source.PrepareBuffer(format, 16); // 64 bytes a channel
    for (UInt32 c = 0; c < 2; ++c)
        for (int j = 0; j < 16; ++j)
            static_cast<float*>(own.mBuffers[c].mData)[j] = float(c + 1);

    struct Row
    {
        UInt32 bytes0, bytes1; // the destination buffers' sizes
    };
    const Row rows[] = { { 64, 64 }, { 60, 64 }, { 64, 4 }, { 32, 0 }, { 0, 16 } };
    constexpr float guard = -7.0f;
    for (const auto& r : rows)
    {
        SCOPED_TRACE(testing::Message() << "destination of " << r.bytes0 << " and " << r.bytes1 << " bytes");
        std::vector<float> a(20, guard), b(20, guard);
        alignas(AudioBufferList) unsigned char record[AudioBufferListBytes(2)] {};
        auto* list = reinterpret_cast<AudioBufferList*>(record);
        list->mNumberBuffers = 2;
        list->mBuffers[0] = AudioBuffer { 1, r.bytes0, a.data() };
        list->mBuffers[1] = AudioBuffer { 1, r.bytes1, b.data() };

        source.CopyBufferContentsTo(*list);

        EXPECT_EQ(list->mBuffers[0].mDataByteSize, r.bytes0);
        EXPECT_EQ(list->mBuffers[1].mDataByteSize, r.bytes1);
        const UInt32 sizes[2] = { r.bytes0, r.bytes1 };
        const std::vector<float>* buffers[2] = { &a, &b };
        for (int c = 0; c < 2; ++c)
            for (UInt32 j = 0; j < 20; ++j)
                ASSERT_EQ((*buffers[c])[j], j < sizes[c] / 4 ? float(c + 1) : guard) << "channel " << c << " sample " << j;
    }
}
