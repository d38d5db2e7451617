// Audio through the built module's render callback, for every stem
// configuration, against the processor run directly on the same settings.
#include "AAXModuleHost.h"

#include <Quorvane2AudioProcessor.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace
{
constexpr double kPi = 3.14159265358979323846;

struct Stem
{
    AAX_EStemFormat stem;
    int outputs;
    OutputStemFormat format;
    bool rotate, rearTilt, patternRLsRRs, patternRC, levelLFE;   // automatable in this layout
};

const Stem kStems[] = {
    { AAX_eStemFormat_Stereo, 2, kOutputFormatStereo, true, false, false, false, false },
    { AAX_eStemFormat_Quad, 4, kOutputFormatBFormat, false, false, false, false, false },
    { AAX_eStemFormat_5_0, 5, kOutputFormat5_0, true, true, false, false, false },
    { AAX_eStemFormat_5_1, 6, kOutputFormat5_1, true, true, false, false, true },
    { AAX_eStemFormat_6_0, 6, kOutputFormat6_0, true, true, false, true, false },
    { AAX_eStemFormat_6_1, 7, kOutputFormat6_1, true, true, false, true, true },
    { AAX_eStemFormat_7_0_DTS, 7, kOutputFormat7_0, true, true, true, false, false },
    { AAX_eStemFormat_7_1_DTS, 8, kOutputFormat7_1, true, true, true, false, true },
};

/** Four tones of their own that run on from frame `first`: W X Y Z, or
    LF RF LB RB. */
Channels fourTonesFrom(int first, int frames, double rate)
{
    Channels in(4, frames);
    for (int c = 0; c < 4; ++c)
        for (int i = 0; i < frames; ++i)
        {
            const double t = double(first + i) / rate;
            in.data[(size_t) c][(size_t) i] = float(0.4 * std::sin(2 * kPi * (110.0 + 170.0 * c) * t) + 0.1 * (c - 1.5));
        }
    return in;
}

/** The tones of block number `block` among blocks of `frames` each. */
Channels fourTones(int frames, int block, double rate)
{
    return fourTonesFrom(block * frames, frames, rate);
}

/** The processor itself, prepared as the adapter prepares it, run on one
    buffer of max(inputs, outputs) channels. */
struct Reference
{
    Reference(int outputs, OutputStemFormat format, double rate, int block)
        : processor(createPluginFilterOfType(juce::AudioProcessor::wrapperType_AAX)), outs(outputs), rate(rate)
    {
        processor->setPlayConfigDetails(4, outs, rate, block);
        processor->prepareToPlay(rate, block);
        processor->HostSetOutputFormat(format);
    }

    Channels render(Channels& in, int frames)
    {
        juce::AudioBuffer<float> buffer(std::max(4, outs), frames);
        buffer.clear();
        for (int c = 0; c < 4; ++c)
            buffer.copyFrom(c, 0, in.data[(size_t) c].data(), frames);
        processor->processBlock(buffer, midi);
        Channels out(outs, frames);
        for (int c = 0; c < outs; ++c)
            std::memcpy(out.data[(size_t) c].data(), buffer.getReadPointer(c), sizeof(float) * (size_t) frames);
        return out;
    }

    std::unique_ptr<juce::AudioProcessor> processor;
    juce::MidiBuffer midi;
    int outs;
    double rate;
};

/** Renders blocks of the given lengths through both; the reference is never
    prepared again, so a changed length must leave the adapter's filters as
    they were too. Answers whether every output sample agreed. */
bool rendersAsReference(AAXInstance& plugin, Reference& reference, std::initializer_list<int> blocks, std::string& why)
{
    int number = 0;
    for (int frames : blocks)
    {
        Channels in = fourTones(frames, number++, reference.rate);
        const Channels untouched = in;
        Channels out(reference.outs, frames, 99.0f);
        plugin.render(in, out, frames);
        const Channels expected = reference.render(in, frames);

        if (in.data != untouched.data)
        {
            why = "the host's inputs were written";
            return false;
        }
        for (int c = 0; c < reference.outs; ++c)
            if (out.data[(size_t) c] != expected.data[(size_t) c])
            {
                why = "output " + std::to_string(c) + " of block " + std::to_string(number);
                return false;
            }
    }
    return true;
}
} // namespace

TEST(AaxAdapterAudio, EveryStemRendersAsTheProcessorInAaxOrder)
{
    ASSERT_TRUE(AAXModule::get().loaded());
    for (const auto& s : kStems)
        for (const bool aFormat : { false, true })
        {
            SCOPED_TRACE(testing::Message() << "output stem 0x" << std::hex << s.stem << (aFormat ? ", A-format" : ", B-format"));
            AAXInstance plugin(s.stem, 48000.0f);
            ASSERT_NE(plugin.effect, nullptr);
            Reference reference(s.outputs, s.format, 48000.0, 1024);

            // The input format travels in the processor's state, as a
            // session saved with A-format input brings it; both load it.
            if (aFormat)
            {
                reference.processor->setParameter(Quorvane2AudioProcessor::kInputFormatIndex, 0.0f);
                juce::MemoryBlock state;
                reference.processor->getStateInformation(state);
                reference.processor->setStateInformation(state.getData(), (int) state.getSize());
                const auto* bytes = static_cast<const uint8_t*>(state.getData());
                ASSERT_EQ(plugin.setChunk(kJuceChunk, std::vector<uint8_t>(bytes, bytes + state.getSize())), 0);
            }

            // The layout the stem selects decides what may be automated.
            AAX_CBoolean automatable = 2;
            const struct { const char* id; bool expected; } flags[] = {
                { "4", s.rotate }, { "6", s.rearTilt }, { "11", s.patternRLsRRs }, { "12", s.patternRC }, { "21", s.levelLFE },
            };
            for (const auto& f : flags)
            {
                ASSERT_EQ(plugin.effect->GetParameterIsAutomatable(f.id, &automatable), 0);
                EXPECT_EQ(automatable != 0, f.expected) << "parameter " << f.id;
            }
            EXPECT_EQ(plugin.host.record.callsStartingWith("Controller.SetSignalLatency"),
                      std::vector<std::string> { "Controller.SetSignalLatency(1)" });

            std::string why;
            EXPECT_TRUE(rendersAsReference(plugin, reference, { 512, 512, 256, 256, 1000 }, why)) << why;
        }
}

namespace
{
/** Frames `first` to `first + frames` of every channel of `all`. */
Channels slice(const Channels& all, int first, int frames)
{
    Channels part((int) all.data.size(), frames);
    for (size_t c = 0; c < all.data.size(); ++c)
        std::copy_n(all.data[c].begin() + first, frames, part.data[c].begin());
    return part;
}

/** `input` through the plug-in in blocks of the given lengths, the outputs
    joined up again. */
Channels renderInBlocks(AAXInstance& plugin, const Channels& input, int outputs, std::initializer_list<int> blocks)
{
    Channels joined(outputs, (int) input.data[0].size(), 0.0f);
    int at = 0;
    for (int frames : blocks)
    {
        Channels in = slice(input, at, frames);
        Channels out(outputs, frames, 99.0f);
        plugin.render(in, out, frames);
        for (int c = 0; c < outputs; ++c)
            std::copy(out.data[(size_t) c].begin(), out.data[(size_t) c].end(), joined.data[(size_t) c].begin() + at);
        at += frames;
    }
    return joined;
}

/** The first sample where two renderings part, or the empty text. */
std::string firstDifference(const Channels& got, const Channels& expected)
{
    for (size_t c = 0; c < expected.data.size(); ++c)
        for (size_t i = 0; i < expected.data[c].size(); ++i)
            if (got.data[c][i] != expected.data[c][i])
                return "output " + std::to_string(c) + ", frame " + std::to_string(i) + ": " + std::to_string(got.data[c][i])
                       + " where " + std::to_string(expected.data[c][i]);
    return {};
}

/** A-format input, as a saved session brings it in the processor's state. */
void loadAFormat(AAXInstance& plugin, Reference& reference)
{
    reference.processor->setParameter(Quorvane2AudioProcessor::kInputFormatIndex, 0.0f);
    juce::MemoryBlock state;
    reference.processor->getStateInformation(state);
    const auto* bytes = static_cast<const uint8_t*>(state.getData());
    ASSERT_EQ(plugin.setChunk(kJuceChunk, std::vector<uint8_t>(bytes, bytes + state.getSize())), 0);
}
} // namespace

// A host that changes its block length (a loop, a bounce, the end of a
// selection) must not hear the filters start over: blocks of 1024, 300, 92,
// 4096 and 1 frames give exactly the samples of one block of 5513, with the
// high-pass on (it keeps four samples of history per input) and the level
// smoothers still on their way.
TEST(AaxAdapterAudio, ChangingBlockLengthsKeepEveryFilterAndSmoother)
{
    ASSERT_TRUE(AAXModule::get().loaded());
    constexpr double kRate = 44100.0;
    constexpr int kTotal = 1024 + 300 + 92 + 4096 + 1;
    const Channels input = fourTonesFrom(0, kTotal, kRate);

    for (const auto& s : kStems)
        for (const bool aFormat : { false, true })
        {
            SCOPED_TRACE(testing::Message() << "output stem 0x" << std::hex << s.stem << (aFormat ? ", A-format" : ", B-format"));
            AAXInstance plugin(s.stem, float(kRate));
            ASSERT_NE(plugin.effect, nullptr);
            Reference reference(s.outputs, s.format, kRate, 1024);
            if (aFormat)
                loadAFormat(plugin, reference);
            ASSERT_EQ(plugin.effect->SetParameterNormalizedValue("3", 1.0), 0) << "high-pass on";
            reference.processor->setParameter(3, 1.0f);

            const Channels mixed = renderInBlocks(plugin, input, s.outputs, { 1024, 300, 92, 4096, 1 });
            Channels whole = input;
            const Channels expected = reference.render(whole, kTotal);
            EXPECT_EQ(firstDifference(mixed, expected), "") << "blocks of 1024, 300, 92, 4096, 1 against one of 5513";
        }
}

// Host blocks beyond the adapter's piece of 4096 frames go through in pieces,
// each reading its own stretch of the input: the same samples as the
// processor gives in blocks of 1000.
TEST(AaxAdapterAudio, LongBlocksAreProcessedPieceByPiece)
{
    ASSERT_TRUE(AAXModule::get().loaded());
    constexpr double kRate = 48000.0;
    for (const auto& s : kStems)
        for (const int frames : { 4096, 4097, 5000, 10000 })
        {
            SCOPED_TRACE(testing::Message() << "output stem 0x" << std::hex << s.stem << std::dec << ", one block of " << frames);
            AAXInstance plugin(s.stem, float(kRate));
            ASSERT_NE(plugin.effect, nullptr);
            Reference reference(s.outputs, s.format, kRate, 1024);

            const Channels input = fourTonesFrom(0, frames, kRate);
            Channels in = input;
            Channels out(s.outputs, frames, 99.0f);
            plugin.render(in, out, frames);
            EXPECT_TRUE(in.data == input.data) << "the host's inputs were written";

            Channels expected(s.outputs, frames);
            for (int at = 0; at < frames; at += 1000)
            {
                const int n = std::min(1000, frames - at);
                Channels part = slice(input, at, n);
                const Channels done = reference.render(part, n);
                for (int c = 0; c < s.outputs; ++c)
                    std::copy(done.data[(size_t) c].begin(), done.data[(size_t) c].end(), expected.data[(size_t) c].begin() + at);
            }
            EXPECT_EQ(firstDifference(out, expected), "");
        }
}

// 5.1 comes out as L C R Ls Rs LFE: virtual microphones of pattern 1.25 at
// 30, 0, 330, 125 and 235 degrees, and W low-passed for the LFE.
TEST(AaxAdapterAudio, FivePointOneIsInAaxChannelOrder)
{
    ASSERT_TRUE(AAXModule::get().loaded());
    AAXInstance plugin(AAX_eStemFormat_5_1, 44100.0f);
    constexpr int kFrames = 512;
    const double w = 0.5, x = 0.25, y = -0.125;
    Channels in(4, kFrames), out(6, kFrames);
    for (int i = 0; i < kFrames; ++i)
    {
        in.data[0][(size_t) i] = float(w);
        in.data[1][(size_t) i] = float(x);
        in.data[2][(size_t) i] = float(y);
    }
    for (int b = 0; b < 16; ++b)   // the smoothers and the LFE filter settle
        plugin.render(in, out, kFrames);

    const double angles[] = { 30, 0, 330, 125, 235 };
    for (int c = 0; c < 5; ++c)
    {
        const double r = angles[c] * kPi / 180.0;
        const double expected = (2.0 - 1.25) * 1.4142135 * 0.5 * w + 0.5 * 1.25 * (x * std::cos(r) + y * std::sin(r));
        EXPECT_NEAR(out.data[(size_t) c][kFrames - 1], expected, 1e-5) << "output " << c;
    }
    EXPECT_NEAR(out.data[5][kFrames - 1], w, 1e-3) << "LFE last";
}

// A rate the host cannot give, or nonsense, prepares the processor at 44.1 kHz.
TEST(AaxAdapterAudio, UnusableSampleRatesFallBackTo44100)
{
    ASSERT_TRUE(AAXModule::get().loaded());
    const struct
    {
        const char* what;
        float rate;
        AAX_Result status;
    } cases[] = {
        { "status -20004", 96000.0f, -20004 },
        { "0 Hz", 0.0f, 0 },
        { "negative", -48000.0f, 0 },
        { "NaN", std::numeric_limits<float>::quiet_NaN(), 0 },
        { "infinite", std::numeric_limits<float>::infinity(), 0 },
    };
    for (const auto& c : cases)
    {
        AAXInstance plugin(AAX_eStemFormat_5_1, c.rate, false);
        plugin.host.controller.sampleRateStatus = c.status;
        ASSERT_EQ(plugin.initialise(), 0) << c.what;
        Reference at44100(6, kOutputFormat5_1, 44100.0, 1024);
        std::string why;
        EXPECT_TRUE(rendersAsReference(plugin, at44100, { 512, 512 }, why)) << c.what << ": " << why;
    }

    // The comparison tells rates apart: a 48 kHz instance is not the 44.1 kHz processor.
    AAXInstance at48000(AAX_eStemFormat_5_1, 48000.0f);
    Reference at44100(6, kOutputFormat5_1, 44100.0, 1024);
    std::string why;
    EXPECT_FALSE(rendersAsReference(at48000, at44100, { 512, 512 }, why));
}

// The master bypass reaches the audio as a packet on field 3: outputs then
// carry the inputs of the same number, and the outputs beyond the four
// inputs are silent, whatever the host left in them.
TEST(AaxAdapterAudio, MasterBypassArrivesAsAPacketAndPassesInputsThrough)
{
    ASSERT_TRUE(AAXModule::get().loaded());
    AAXInstance plugin(AAX_eStemFormat_7_1_DTS);
    constexpr int kFrames = 300;

    ASSERT_EQ(plugin.effect->UpdateParameterNormalizedValue("MasterBypassID", 1.0, AAX_eUpdateSource_Parameter), 0);
    plugin.host.record.clear();
    plugin.deliverPackets();
    EXPECT_EQ(plugin.host.record.callsStartingWith("Controller.PostPacket"),
              std::vector<std::string> { "Controller.PostPacket(3, 01000000, 4)" });
    ASSERT_EQ(plugin.bypass, 1);

    Channels in = fourTones(kFrames, 0, 48000.0);
    Channels out(8, kFrames, 7.0f);
    plugin.render(in, out, kFrames);
    for (int c = 0; c < 4; ++c)
        EXPECT_EQ(out.data[(size_t) c], in.data[(size_t) c]) << "output " << c << " carries input " << c;
    for (int c = 4; c < 8; ++c)
        EXPECT_EQ(out.data[(size_t) c], std::vector<float>(kFrames, 0.0f)) << "output " << c << " beyond the inputs";

    plugin.effect->UpdateParameterNormalizedValue("MasterBypassID", 0.0, AAX_eUpdateSource_Parameter);
    plugin.deliverPackets();
    EXPECT_EQ(plugin.bypass, 0);
    plugin.render(in, out, kFrames);
    EXPECT_NE(out.data[0], in.data[0]) << "processing again";
}
