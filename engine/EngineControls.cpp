#include "EngineControls.h"

#include <thread>

PublishedCoefficients::PublishedCoefficients()
{
    const float identity[5] = {1.0f, 0.0f, 0.0f, 0.0f, 0.0f};
    for (int k = 0; k < 5; ++k)
        values[k].store(identity[k], std::memory_order_relaxed);
}

void PublishedCoefficients::Publish(const float coeffs[5])
{
    // Enter: move the sequence from even to odd. Another writer inside makes
    // us wait for it; the audio thread never takes part in this.
    uint32_t s = sequence.load(std::memory_order_relaxed);
    for (;;)
    {
        if ((s & 1u) == 0u
            && sequence.compare_exchange_weak(s, s + 1u, std::memory_order_acquire, std::memory_order_relaxed))
            break;
        std::this_thread::yield();
        s = sequence.load(std::memory_order_relaxed);
    }
    std::atomic_thread_fence(std::memory_order_release);
    for (int k = 0; k < 5; ++k)
        values[k].store(coeffs[k], std::memory_order_relaxed);
    sequence.store(s + 2u, std::memory_order_release);
}

bool PublishedCoefficients::TakeIfNewer(uint32_t* seen, float out[5]) const
{
    const uint32_t before = sequence.load(std::memory_order_acquire);
    if (before == *seen || (before & 1u) != 0u)
        return false;
    for (int k = 0; k < 5; ++k)
        out[k] = values[k].load(std::memory_order_relaxed);
    std::atomic_thread_fence(std::memory_order_acquire);
    if (sequence.load(std::memory_order_relaxed) != before)
        return false; // a writer came in meanwhile: take its set next block
    *seen = before;
    return true;
}

EngineControls::EngineControls()
    : inputGain(1.0f), aFormat(false), filter(false), invert(false), endFire(false), midSide(false), azimuth(0),
      frontElevation(0), rearElevation(0), dominance(0.0f), arrayType(0), muteSolo(0), bFormatLevel(1.0f),
      masterLevel(1.0f), meterResets(0), serial(0)
{
    for (int ch = 0; ch < kControlChannels; ++ch)
    {
        polarPattern[ch].store(1.0f, std::memory_order_relaxed);
        angle[ch].store(0, std::memory_order_relaxed);
        level[ch].store(0.0f, std::memory_order_relaxed);
    }
}

ControlSnapshot TakeSnapshot(const EngineControls& c)
{
    constexpr auto relaxed = std::memory_order_relaxed;
    ControlSnapshot s {};
    s.inputGain = c.inputGain.load(relaxed);
    s.aFormat = c.aFormat.load(relaxed);
    s.filter = c.filter.load(relaxed);
    s.invert = c.invert.load(relaxed);
    s.endFire = c.endFire.load(relaxed);
    s.midSide = c.midSide.load(relaxed);
    s.azimuth = c.azimuth.load(relaxed);
    s.frontElevation = c.frontElevation.load(relaxed);
    s.rearElevation = c.rearElevation.load(relaxed);
    s.dominance = c.dominance.load(relaxed);
    s.arrayType = c.arrayType.load(relaxed);
    for (int ch = 0; ch < kControlChannels; ++ch)
    {
        s.polarPattern[ch] = c.polarPattern[ch].load(relaxed);
        s.angle[ch] = c.angle[ch].load(relaxed);
        s.level[ch] = c.level[ch].load(relaxed);
    }
    s.muteSolo = c.muteSolo.load(relaxed);
    s.bFormatLevel = c.bFormatLevel.load(relaxed);
    s.masterLevel = c.masterLevel.load(relaxed);
    return s;
}
