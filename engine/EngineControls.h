#pragma once

#include <atomic>
#include <cstdint>

// The engine's controls as the setters publish them.
//
// Hosts set parameters from their GUI and automation threads, and the editor
// and the state loader from the message thread, while the audio thread runs.
// So a setter never writes what the audio thread reads: it stores the new
// value here (each field an atomic) and bumps `serial`. The audio thread takes
// everything at the start of each block (QVANE_HOST_DSP_PROCESS::
// ApplyPublishedControls) and alone writes the filter coefficients, smoothing
// targets and switches it runs on.

constexpr int kControlChannels = 9;  // engine channels 0 L .. 8 RC

// Mute, solo and solo-mute of the nine channels packed into one word, so that
// every mute or solo write with the solo-mute flags it implies is one
// compare-and-swap: two setters can never lose each other's change, and a
// reader always sees a set the logic produced.
namespace MuteSoloWord
{
constexpr uint32_t kChannelMask = (1u << kControlChannels) - 1u;
constexpr int kMuteShift = 0;
constexpr int kSoloShift = 9;
constexpr int kSoloMuteShift = 18;

inline bool Mute(uint32_t w, int ch) { return ((w >> (kMuteShift + ch)) & 1u) != 0; }
inline bool Solo(uint32_t w, int ch) { return ((w >> (kSoloShift + ch)) & 1u) != 0; }
inline bool SoloMute(uint32_t w, int ch) { return ((w >> (kSoloMuteShift + ch)) & 1u) != 0; }
inline bool AnySolo(uint32_t w) { return ((w >> kSoloShift) & kChannelMask) != 0; }

// Every channel's solo-mute bit becomes (some solo is on and this channel is
// not soloed).
inline uint32_t WithSoloMute(uint32_t w)
{
    const uint32_t solos = (w >> kSoloShift) & kChannelMask;
    const uint32_t soloMute = solos != 0 ? (~solos & kChannelMask) : 0u;
    return (w & ~(kChannelMask << kSoloMuteShift)) | (soloMute << kSoloMuteShift);
}

// The mute becomes `on` whatever the solos: hosts write values, not presses,
// and send the same value again (automation, a session reload), so a write
// must give the same mute however often it comes.
inline uint32_t WithMute(uint32_t w, int ch, bool on)
{
    const uint32_t bit = 1u << (kMuteShift + ch);
    w = on ? (w | bit) : (w & ~bit);
    return WithSoloMute(w);
}

inline uint32_t WithSolo(uint32_t w, int ch, bool on)
{
    const uint32_t bit = 1u << (kSoloShift + ch);
    w = on ? (w | bit) : (w & ~bit);
    return WithSoloMute(w);
}
} // namespace MuteSoloWord

// Five biquad coefficients handed from a setter thread to the audio thread as
// one set: a sequence lock whose writers are serialised by the sequence itself
// (odd while a writer is inside). The reader never waits: a set caught half
// written is taken at the next block instead.
class PublishedCoefficients
{
public:
    PublishedCoefficients();

    // any thread but the audio thread
    void Publish(const float coeffs[5]);

    // audio thread: copies the set into out and answers true when a complete
    // set newer than `seen` is there; `seen` then records it.
    bool TakeIfNewer(uint32_t* seen, float out[5]) const;

private:
    std::atomic<uint32_t> sequence { 0 };  // even: stable; odd: being written
    std::atomic<float> values[5];          // b0 b1 b2 A1 A2
};

struct EngineControls
{
    EngineControls();

    std::atomic<float> inputGain;                        // linear
    std::atomic<bool> aFormat;                           // inputs are capsule signals
    std::atomic<bool> filter;                            // 80 Hz input high-pass on
    std::atomic<bool> invert;                            // invert Y and Z
    std::atomic<bool> endFire;                           // microphone held end-on
    std::atomic<bool> midSide;                           // stereo gives mid and side
    std::atomic<uint32_t> azimuth;                       // degrees 0-359
    std::atomic<uint32_t> frontElevation;                // degrees 0-359
    std::atomic<uint32_t> rearElevation;                 // degrees 0-359
    std::atomic<float> dominance;                        // zoom, -0.5 .. 0.5
    std::atomic<uint32_t> arrayType;                     // 0 stereo .. 7 B-format
    std::atomic<float> polarPattern[kControlChannels];   // 0 omni, 1 cardioid, 2 figure of eight
    std::atomic<uint32_t> angle[kControlChannels];       // degrees 0-359, anticlockwise from front
    std::atomic<float> level[kControlChannels];          // linear gain
    std::atomic<uint32_t> muteSolo;                      // MuteSoloWord
    std::atomic<float> bFormatLevel;                     // linear gain
    std::atomic<float> masterLevel;                      // linear gain
    PublishedCoefficients lfeCoeffs;
    PublishedCoefficients stereoCoeffs;
    std::atomic<uint32_t> meterResets;                   // bit m: clear meter m at the next block (taken every block)
    std::atomic<uint32_t> serial;                        // bumped after every change above but the meter resets

    // Called by every setter after its stores.
    void Changed() { serial.fetch_add(1, std::memory_order_release); }

    // Stores one control; the audio thread hears of it only when it changed,
    // so a setter that finds nothing new does nothing.
    template <typename T, typename V>
    void Set(std::atomic<T>& field, V value)
    {
        const T v = static_cast<T>(value);
        if (field.exchange(v, std::memory_order_relaxed) != v)
            Changed();
    }
};

// A plain copy of the published controls: what has been set, before the
// audio thread takes it (tests look at it).
struct ControlSnapshot
{
    float inputGain;
    bool aFormat, filter, invert, endFire, midSide;
    uint32_t azimuth, frontElevation, rearElevation;
    float dominance;
    uint32_t arrayType;
    float polarPattern[kControlChannels];
    uint32_t angle[kControlChannels];
    float level[kControlChannels];
    uint32_t muteSolo;
    float bFormatLevel, masterLevel;
};

ControlSnapshot TakeSnapshot(const EngineControls& controls);
