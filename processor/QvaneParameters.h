#pragma once

#include "Parameter.h"

class QVANE_HOST_DSP_PROCESS;

/** Engine channels that one parameter drives: a pair, or one channel. */
struct EngineChannels
{
    unsigned char channel[2]; // engine channels 0 L .. 8 RC
    int count;                // 1 or 2

    static EngineChannels One(unsigned char c) noexcept { return { { c, c }, 1 }; }
    static EngineChannels Two(unsigned char a, unsigned char b) noexcept { return { { a, b }, 2 }; }
};

// Hosts, the editor and saved states may hand over anything. Every host
// parameter keeps its value within 0..1 (NaN reads as 0) so that no mapping
// below can produce an angle, array type or channel the engine cannot index.
float ClampNormalised(float v) noexcept;

//==============================================================================
// The layer that binds the generic parameter kinds to the engine.
class CQvaneSwitchParameter : public PARAMETER_SWITCH
{
public:
    CQvaneSwitchParameter(unsigned int index, const juce::String& name, float defaultValue,
                          QVANE_HOST_DSP_PROCESS* engine, int maximum = 1);

protected:
    /** Clamps and stores; answers the stored value, which every concrete
        switch then gives the engine. */
    float StoreSwitchValue(float v);
    static bool IsOn(float v) noexcept { return v >= 0.5f; }
    static juce::String OnOffText(const char* label, float v);
    float HeldValue(float v) const noexcept override { return ClampNormalised(v); }

    QVANE_HOST_DSP_PROCESS* const engine; // not owned
};

class CQvaneUnipolarParameter : public PARAMETER_UNIPOLAR
{
public:
    CQvaneUnipolarParameter(unsigned int index, const juce::String& name, float defaultValue,
                            QVANE_HOST_DSP_PROCESS* engine);

protected:
    float HeldValue(float v) const noexcept override { return ClampNormalised(v); }
    QVANE_HOST_DSP_PROCESS* const engine; // not owned
};

class CQvaneBipolarParameter : public PARAMETER_BIPOLAR
{
public:
    CQvaneBipolarParameter(unsigned int index, const juce::String& name, float defaultValue,
                           QVANE_HOST_DSP_PROCESS* engine, unsigned char half = 128);

protected:
    float HeldValue(float v) const noexcept override { return ClampNormalised(v); }
    QVANE_HOST_DSP_PROCESS* const engine; // not owned
};

//==============================================================================
// Switches

class InvertParameter : public CQvaneSwitchParameter
{
public:
    InvertParameter(unsigned int index, QVANE_HOST_DSP_PROCESS* engine);
    void SetValue(float v) override;
    juce::String TextOf(float v) const override;
};

class EndFireParameter : public CQvaneSwitchParameter
{
public:
    EndFireParameter(unsigned int index, QVANE_HOST_DSP_PROCESS* engine);
    void SetValue(float v) override;
    juce::String TextOf(float v) const override;
};

class FilterEnableParameter : public CQvaneSwitchParameter
{
public:
    FilterEnableParameter(unsigned int index, QVANE_HOST_DSP_PROCESS* engine);
    void SetValue(float v) override;
    juce::String TextOf(float v) const override;
};

/** Below 0.5 the inputs are A-format capsule signals, from 0.5 B-format. */
class InputFormatParameter : public CQvaneSwitchParameter
{
public:
    InputFormatParameter(unsigned int index, QVANE_HOST_DSP_PROCESS* engine);
    void SetValue(float v) override;
};

/** The output layout: the byte (0..7) is the engine's array type. */
class ArraySelectParameter : public CQvaneSwitchParameter
{
public:
    ArraySelectParameter(unsigned int index, QVANE_HOST_DSP_PROCESS* engine);
    void SetValue(float v) override;
};

class OutputChannelMuteParameter : public CQvaneSwitchParameter
{
public:
    OutputChannelMuteParameter(unsigned int index, const juce::String& name,
                               QVANE_HOST_DSP_PROCESS* engine, EngineChannels channels);
    void SetValue(float v) override;

private:
    const EngineChannels channels;
};

class OutputChannelSoloParameter : public CQvaneSwitchParameter
{
public:
    OutputChannelSoloParameter(unsigned int index, const juce::String& name,
                               QVANE_HOST_DSP_PROCESS* engine, EngineChannels channels);
    void SetValue(float v) override;

    const EngineChannels& GetChannels() const noexcept { return channels; }

private:
    const EngineChannels channels;
};

//==============================================================================
// Unipolar

/** Input gain: "Off", then -30 dB to +10 dB in 1 dB steps. */
class InputLevelParameter : public CQvaneUnipolarParameter
{
public:
    InputLevelParameter(unsigned int index, QVANE_HOST_DSP_PROCESS* engine);
    void SetValue(float v) override;
    juce::String TextOf(float v) const override;
};

/** Sound-field rotation in whole degrees, v · 360 (360 wraps to 0). */
class RotateParameter : public CQvaneUnipolarParameter
{
public:
    RotateParameter(unsigned int index, QVANE_HOST_DSP_PROCESS* engine);
    void SetValue(float v) override;
    juce::String TextOf(float v) const override;

private:
    static uint16_t Degrees(float v) noexcept;
};

/** Half the polar pattern, mapped into [low, high]; the engine gets twice that. */
class PolarPatternParameter : public CQvaneUnipolarParameter
{
public:
    PolarPatternParameter(unsigned int index, const juce::String& name,
                          QVANE_HOST_DSP_PROCESS* engine, EngineChannels channels);
    void SetValue(float v) override;
    juce::String TextOf(float v) const override;

    /** Changes the range; the engine follows at the next SetValue. */
    void SetRange(float newLow, float newHigh) noexcept;
    float GetLow() const noexcept;
    float GetHigh() const noexcept;

private:
    /** low + v · (high − low) with the range as it is now. */
    float HalfPattern(float v) const noexcept;

    const EngineChannels channels;
    std::atomic<uint64_t> range;  // low (low 32 bits) and high (high 32 bits), floats, set together
};

/** Spread of a speaker pair; each side sits r16(v, 90) degrees off its axis. */
class WidthParameter : public CQvaneUnipolarParameter
{
public:
    enum class Pair { front, side, rear }; // L/R, Ls/Rs, RLs/RRs

    WidthParameter(unsigned int index, const juce::String& name, QVANE_HOST_DSP_PROCESS* engine, Pair pair);
    void SetValue(float v) override;
    juce::String TextOf(float v) const override;

private:
    const Pair pair;
};

/** Output level of channels, or of the whole B-format array. */
class OutputChannelLevelParameter : public CQvaneUnipolarParameter
{
public:
    OutputChannelLevelParameter(unsigned int index, const juce::String& name,
                                QVANE_HOST_DSP_PROCESS* engine, EngineChannels channels);
    /** The B-format array's level. */
    OutputChannelLevelParameter(unsigned int index, const juce::String& name, QVANE_HOST_DSP_PROCESS* engine);
    void SetValue(float v) override;
    juce::String TextOf(float v) const override;

private:
    const EngineChannels channels;
    const bool bFormatArray;
};

/** Carries one engine meter to the editor; drives nothing. */
class ChannelMeter : public CQvaneUnipolarParameter
{
public:
    ChannelMeter(unsigned int index, const juce::String& name, QVANE_HOST_DSP_PROCESS* engine);
    void SetValue(float v) override; // peaks are not clamped, but must be finite

protected:
    float HeldValue(float v) const noexcept override;
};

//==============================================================================
// Bipolar

/** Front or rear tilt, -90..90 degrees around the engine's 0..359 circle. */
class TiltParameter : public CQvaneBipolarParameter
{
public:
    enum class Which { front, rear };

    TiltParameter(unsigned int index, const juce::String& name, QVANE_HOST_DSP_PROCESS* engine, Which which);
    void SetValue(float v) override;
    juce::String TextOf(float v) const override;

private:
    const Which which;
};

/** Zoom (dominance), -0.5..0.5 around the centre. */
class ZoomParameter : public CQvaneBipolarParameter
{
public:
    ZoomParameter(unsigned int index, QVANE_HOST_DSP_PROCESS* engine);
    void SetValue(float v) override;
    juce::String TextOf(float v) const override;
};

//==============================================================================
/** Shared mappings of the parameter table. */
namespace ParameterMapping
{
/** 41 steps: 0 is off (gain 0), then -30 dB .. +10 dB; 31/41 is 0 dB. */
float DbGain(float v);
/** "Off", or the decibels right-aligned in three characters, then "dB". */
juce::String DbText(float v);
} // namespace ParameterMapping
