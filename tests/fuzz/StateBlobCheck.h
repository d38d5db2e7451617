#pragma once

// What loading any blob into the processor must guarantee, shared by the
// deterministic mutation test and the libFuzzer target:
//  - a blob that is not one whole "QVParameters" tree changes nothing: every
//    parameter value and every engine mute and solo flag stays as it was;
//  - a blob that loads sets each engine mute it carries to the saved value;
//  - whatever loads, parameters 0-36 stay within 0..1, meters stay finite and
//    the engine's array type, angles and flags stay within their ranges.

#include "../processor/AppliedEngine.h"
#include <cmath>
#include <cstring>
#include <cstdint>
#include <string>
#include <vector>

#include "Quorvane2AudioProcessor.h"
#include "ValueTreeStreamReader.h"

namespace StateBlobCheck
{
struct Snapshot
{
    float values[50];
    uint32_t mute[9], solo[9], soloMute[9];

    explicit Snapshot(Quorvane2AudioProcessor& p)
    {
        for (int i = 0; i < 50; ++i)
            values[i] = p.getParameter(i);

        const auto& a = Applied(p).arrayControl;

        for (int ch = 0; ch < 9; ++ch)
        {
            mute[ch] = a.mute[ch];
            solo[ch] = a.solo[ch];
            soloMute[ch] = a.soloMute[ch];
        }
    }

    // Compares bit patterns, so a NaN that crept in is caught as a change too.
    std::string FirstDifference(const Snapshot& other) const
    {
        for (int i = 0; i < 50; ++i)
            if (std::memcmp(&values[i], &other.values[i], sizeof(float)) != 0)
                return "parameter " + std::to_string(i) + " changed";

        for (int ch = 0; ch < 9; ++ch)
            if (mute[ch] != other.mute[ch] || solo[ch] != other.solo[ch] || soloMute[ch] != other.soloMute[ch])
                return "mute or solo of engine channel " + std::to_string(ch) + " changed";

        return {};
    }
};

inline bool IsAccepted(const void* data, size_t size)
{
    const auto tree = ValueTreeStreamReader::Read(data, size);
    return tree.isValid() && tree.hasType("QVParameters");
}

inline std::string CheckRanges(Quorvane2AudioProcessor& p)
{
    for (int i = 0; i < 50; ++i)
    {
        const float v = p.getParameter(i);

        if (! std::isfinite(v))
            return "parameter " + std::to_string(i) + " is not finite";

        if (i <= 36 && (v < 0.0f || v > 1.0f))
            return "parameter " + std::to_string(i) + " left 0..1: " + std::to_string(v);
    }

    auto& e = Applied(p);

    if (e.GetArrayType() > 7)
        return "array type " + std::to_string(e.GetArrayType());

    if (e.bFormatPath.azimuth >= 360 || e.bFormatPath.frontElevation >= 360 || e.bFormatPath.rearElevation >= 360)
        return "rotation or tilt angle out of range";

    for (int ch = 0; ch < 9; ++ch)
    {
        if (e.arrayControl.angle[ch] >= 360)
            return "channel angle out of range on channel " + std::to_string(ch);

        if (e.arrayControl.mute[ch] > 1 || e.arrayControl.solo[ch] > 1)
            return "mute or solo flag not 0 or 1 on channel " + std::to_string(ch);

        if (! std::isfinite(e.arrayControl.polarTarget[ch]) || ! std::isfinite(e.arrayControl.levelTarget[ch]))
            return "non-finite pattern or level on channel " + std::to_string(ch);
    }

    return {};
}

// Each mute the blob carries as a number must land in the engine as saved,
// whatever solos were active before the load.
inline std::string CheckLoadedMutes(Quorvane2AudioProcessor& p, const juce::ValueTree& tree)
{
    static const int groupChannels[6][2] = { { 0, 1 }, { 2, 2 }, { 4, 5 }, { 6, 7 }, { 8, 8 }, { 3, 3 } };

    for (int g = 0; g < 6; ++g)
    {
        const int index = 23 + g;
        const auto child = tree.getChildWithName(juce::Identifier(p.getParameterName(index)));
        const auto* v = child.isValid() ? child.getPropertyPointer("value") : nullptr;

        if (v == nullptr || ! (v->isInt() || v->isInt64() || v->isDouble() || v->isBool()))
            continue;

        const uint32_t wanted = p.getParameter(index) >= 0.5f ? 1u : 0u;

        for (int ch : groupChannels[g])
            if (Applied(p).arrayControl.mute[ch] != wanted)
                return "mute of engine channel " + std::to_string(ch) + " does not match the loaded value";
    }

    return {};
}

/** The seed states: a fresh processor's, and one with every host parameter
    moved, in the stereo layout. */
inline std::vector<std::vector<uint8_t>> SeedStates()
{
    Quorvane2AudioProcessor fresh, moved;

    for (int i = 0; i < 35; ++i)
        moved.setParameter(i, static_cast<float>(i % 5) / 4.0f);

    moved.UISetOutputFormat(kOutputFormatStereo);
    std::vector<std::vector<uint8_t>> seeds;

    for (auto* p : { &fresh, &moved })
    {
        juce::MemoryBlock block;
        p->getStateInformation(block);
        auto* b = static_cast<const uint8_t*>(block.getData());
        seeds.emplace_back(b, b + block.getSize());
    }

    return seeds;
}

/** Loads the blob and answers an empty text, or what went wrong. */
inline std::string LoadAndCheck(Quorvane2AudioProcessor& p, const void* data, size_t size)
{
    const Snapshot before(p);
    const auto tree = ValueTreeStreamReader::Read(data, size);
    const bool accepted = tree.isValid() && tree.hasType("QVParameters");
    p.setStateInformation(data, static_cast<int>(size));

    if (! accepted)
    {
        const auto difference = Snapshot(p).FirstDifference(before);

        if (! difference.empty())
            return "rejected blob: " + difference;
    }
    else
    {
        const auto mutes = CheckLoadedMutes(p, tree);

        if (! mutes.empty())
            return "accepted blob: " + mutes;
    }

    return CheckRanges(p);
}
} // namespace StateBlobCheck
