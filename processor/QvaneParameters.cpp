#include "QvaneParameters.h"

#include <cmath>
#include <cstring>

#include "NumberText.h"

#include "QvaneHostDspProcess.h"

float ClampNormalised(float v) noexcept
{
    if (std::isnan(v))
        return 0.0f;

    return juce::jlimit(0.0f, 1.0f, v);
}

namespace ParameterMapping
{
float DbGain(float v)
{
    const auto b = PARAMETER::FloatToByte(v, 41);

    if (b == 0)
        return 0.0f;

    const float exponent = static_cast<float>(b - 31) / 20.0f;
    return static_cast<float>(std::pow(10.0, static_cast<double>(exponent)));
}

juce::String DbText(float v)
{
    const auto b = PARAMETER::FloatToByte(v, 41);

    if (b == 0)
        return "Off";

    return NumberText::Padded(b - 31, 3) + "dB";
}
} // namespace ParameterMapping

namespace
{
juce::String Degrees3(int degrees)
{
    return NumberText::Padded(degrees, 3);
}
} // namespace

//==============================================================================
CQvaneSwitchParameter::CQvaneSwitchParameter(unsigned int i, const juce::String& n, float defaultVal,
                                             QVANE_HOST_DSP_PROCESS* e, int maximumPosition)
    : PARAMETER_SWITCH(i, n, defaultVal, maximumPosition), engine(e)
{
}

float CQvaneSwitchParameter::StoreSwitchValue(float v)
{
    return StoreValue(HeldValue(v));
}

juce::String CQvaneSwitchParameter::OnOffText(const char* label, float v)
{
    return juce::String(label) + (IsOn(v) ? " On" : " Off");
}

CQvaneUnipolarParameter::CQvaneUnipolarParameter(unsigned int i, const juce::String& n, float defaultVal,
                                                 QVANE_HOST_DSP_PROCESS* e)
    : PARAMETER_UNIPOLAR(i, n, defaultVal), engine(e)
{
}

CQvaneBipolarParameter::CQvaneBipolarParameter(unsigned int i, const juce::String& n, float defaultVal,
                                               QVANE_HOST_DSP_PROCESS* e, unsigned char halfScale)
    : PARAMETER_BIPOLAR(i, n, defaultVal, halfScale), engine(e)
{
}

//==============================================================================
InvertParameter::InvertParameter(unsigned int i, QVANE_HOST_DSP_PROCESS* e)
    : CQvaneSwitchParameter(i, "Invert", 0.0f, e) {}

void InvertParameter::SetValue(float v)
{
    PushUntilSettled(StoreSwitchValue(v), [this](float x) { engine->SetInvertEnable(IsOn(x)); });
}

juce::String InvertParameter::TextOf(float v) const { return OnOffText("Invert", v); }

EndFireParameter::EndFireParameter(unsigned int i, QVANE_HOST_DSP_PROCESS* e)
    : CQvaneSwitchParameter(i, "End Fire", 0.0f, e) {}

void EndFireParameter::SetValue(float v)
{
    PushUntilSettled(StoreSwitchValue(v), [this](float x) { engine->SetEndFireEnable(IsOn(x)); });
}

juce::String EndFireParameter::TextOf(float v) const { return OnOffText("End Fire", v); }

FilterEnableParameter::FilterEnableParameter(unsigned int i, QVANE_HOST_DSP_PROCESS* e)
    : CQvaneSwitchParameter(i, "Filter", 0.0f, e) {}

void FilterEnableParameter::SetValue(float v)
{
    PushUntilSettled(StoreSwitchValue(v), [this](float x) { engine->SetFilterEnable(IsOn(x)); });
}

juce::String FilterEnableParameter::TextOf(float v) const { return OnOffText("Filter", v); }

InputFormatParameter::InputFormatParameter(unsigned int i, QVANE_HOST_DSP_PROCESS* e)
    : CQvaneSwitchParameter(i, "Input Format", 1.0f, e) {}

void InputFormatParameter::SetValue(float v)
{
    PushUntilSettled(StoreSwitchValue(v), [this](float x) { engine->SetAFormatEnable(! IsOn(x)); });
}

ArraySelectParameter::ArraySelectParameter(unsigned int i, QVANE_HOST_DSP_PROCESS* e)
    : CQvaneSwitchParameter(i, "Array select", 0.25f, e, 7) {}

void ArraySelectParameter::SetValue(float v)
{
    PushUntilSettled(StoreSwitchValue(v), [this](float x) { engine->SetArrayType(ByteFor(x)); });
}

OutputChannelMuteParameter::OutputChannelMuteParameter(unsigned int i, const juce::String& n,
                                                       QVANE_HOST_DSP_PROCESS* e, EngineChannels c)
    : CQvaneSwitchParameter(i, n, 0.0f, e), channels(c) {}

void OutputChannelMuteParameter::SetValue(float v)
{
    PushUntilSettled(StoreSwitchValue(v), [this](float x) {
        for (int k = 0; k < channels.count; ++k)
            engine->SetChannelMute(channels.channel[k], IsOn(x));
    });
}

OutputChannelSoloParameter::OutputChannelSoloParameter(unsigned int i, const juce::String& n,
                                                       QVANE_HOST_DSP_PROCESS* e, EngineChannels c)
    : CQvaneSwitchParameter(i, n, 0.0f, e), channels(c) {}

void OutputChannelSoloParameter::SetValue(float v)
{
    PushUntilSettled(StoreSwitchValue(v), [this](float x) {
        for (int k = 0; k < channels.count; ++k)
            engine->SetChannelSolo(channels.channel[k], IsOn(x));
    });
}

//==============================================================================
InputLevelParameter::InputLevelParameter(unsigned int i, QVANE_HOST_DSP_PROCESS* e)
    : CQvaneUnipolarParameter(i, "Input Level", 0.75609756f, e) {}

void InputLevelParameter::SetValue(float v)
{
    PushUntilSettled(StoreValue(ClampNormalised(v)),
                     [this](float x) { engine->SetInputLevelCoeff(ParameterMapping::DbGain(x)); });
}

juce::String InputLevelParameter::TextOf(float v) const { return ParameterMapping::DbText(v); }

RotateParameter::RotateParameter(unsigned int i, QVANE_HOST_DSP_PROCESS* e)
    : CQvaneUnipolarParameter(i, "Rotate", 0.0f, e) {}

uint16_t RotateParameter::Degrees(float v) noexcept
{
    const auto a = FloatTouint16_t(v, 360);
    return a == 360 ? 0 : a; // a full turn is the front again
}

void RotateParameter::SetValue(float v)
{
    PushUntilSettled(StoreValue(ClampNormalised(v)), [this](float x) { engine->SetAzimuthAngle(Degrees(x)); });
}

juce::String RotateParameter::TextOf(float v) const { return Degrees3(Degrees(v)); }

namespace
{
uint64_t PackRange(float low, float high) noexcept
{
    uint32_t l, h;
    std::memcpy(&l, &low, sizeof l);
    std::memcpy(&h, &high, sizeof h);
    return static_cast<uint64_t>(l) | (static_cast<uint64_t>(h) << 32);
}

float RangeLow(uint64_t r) noexcept
{
    const auto bits = static_cast<uint32_t>(r);
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

float RangeHigh(uint64_t r) noexcept { return RangeLow(r >> 32); }

// low + v · (high − low), with the range read once.
float HalfPatternIn(uint64_t r, float v) noexcept
{
    return RangeLow(r) + v * (RangeHigh(r) - RangeLow(r));
}
} // namespace

PolarPatternParameter::PolarPatternParameter(unsigned int i, const juce::String& n,
                                             QVANE_HOST_DSP_PROCESS* e, EngineChannels c)
    : CQvaneUnipolarParameter(i, n, 0.5f, e), channels(c), range(PackRange(0.5f, 0.75f)) {}

void PolarPatternParameter::SetRange(float newLow, float newHigh) noexcept
{
    range.store(PackRange(newLow, newHigh), std::memory_order_release);
}

float PolarPatternParameter::GetLow() const noexcept { return RangeLow(range.load(std::memory_order_acquire)); }
float PolarPatternParameter::GetHigh() const noexcept { return RangeHigh(range.load(std::memory_order_acquire)); }

float PolarPatternParameter::HalfPattern(float v) const noexcept
{
    return HalfPatternIn(range.load(std::memory_order_acquire), v);
}

// Like PushUntilSettled, but the range counts too: a layout change that moves
// the range while a host sets the value must not leave the engine with the
// pattern of the old range.
void PolarPatternParameter::SetValue(float v)
{
    float x = StoreValue(ClampNormalised(v));

    for (;;)
    {
        const uint64_t r = range.load(std::memory_order_acquire);
        const float pattern = 2.0f * HalfPatternIn(r, x);

        for (int k = 0; k < channels.count; ++k)
            engine->SetChannelPolarPattern(channels.channel[k], pattern);

        const float now = GetValue();
        if (SameBits(now, x) && range.load(std::memory_order_acquire) == r)
            return;
        x = now;
    }
}

juce::String PolarPatternParameter::TextOf(float v) const
{
    return NumberText::Fixed(HalfPattern(v), 2);
}

WidthParameter::WidthParameter(unsigned int i, const juce::String& n, QVANE_HOST_DSP_PROCESS* e, Pair p)
    : CQvaneUnipolarParameter(i, n, p == Pair::front ? 0.33333334f : p == Pair::side ? 0.6111111f : 1.0f, e),
      pair(p)
{
}

void WidthParameter::SetValue(float v)
{
    PushUntilSettled(StoreValue(ClampNormalised(v)), [this](float x) {
        const auto w = FloatTouint16_t(x, 90); // 0..90 degrees off the pair's axis

        switch (pair)
        {
            case Pair::front:
                engine->SetChannelAngle(0, w);
                engine->SetChannelAngle(1, static_cast<unsigned short>((360 - w) % 360));
                break;
            case Pair::side:
                engine->SetChannelAngle(4, static_cast<unsigned short>(180 - w));
                engine->SetChannelAngle(5, static_cast<unsigned short>(180 + w));
                break;
            case Pair::rear:
                engine->SetChannelAngle(6, static_cast<unsigned short>(180 - w));
                engine->SetChannelAngle(7, static_cast<unsigned short>(180 + w));
                break;
        }
    });
}

juce::String WidthParameter::TextOf(float v) const { return Degrees3(FloatTouint16_t(v, 180)); }

OutputChannelLevelParameter::OutputChannelLevelParameter(unsigned int i, const juce::String& n,
                                                         QVANE_HOST_DSP_PROCESS* e, EngineChannels c)
    : CQvaneUnipolarParameter(i, n, 0.75609756f, e), channels(c), bFormatArray(false) {}

OutputChannelLevelParameter::OutputChannelLevelParameter(unsigned int i, const juce::String& n,
                                                         QVANE_HOST_DSP_PROCESS* e)
    : CQvaneUnipolarParameter(i, n, 0.75609756f, e), channels(EngineChannels { { 0, 0 }, 0 }), bFormatArray(true) {}

void OutputChannelLevelParameter::SetValue(float v)
{
    PushUntilSettled(StoreValue(ClampNormalised(v)), [this](float x) {
        const float gain = ParameterMapping::DbGain(x);

        if (bFormatArray)
        {
            engine->SetBFormatArrayLevelCoeff(gain);
            return;
        }

        for (int k = 0; k < channels.count; ++k)
            engine->SetChannelOutputLevelCoeff(channels.channel[k], gain);
    });
}

juce::String OutputChannelLevelParameter::TextOf(float v) const { return ParameterMapping::DbText(v); }

ChannelMeter::ChannelMeter(unsigned int i, const juce::String& n, QVANE_HOST_DSP_PROCESS* e)
    : CQvaneUnipolarParameter(i, n, 0.0f, e) {}

void ChannelMeter::SetValue(float v)
{
    PARAMETER_UNIPOLAR::SetValue(HeldValue(v));
}

float ChannelMeter::HeldValue(float v) const noexcept { return std::isfinite(v) ? v : 0.0f; }

//==============================================================================
TiltParameter::TiltParameter(unsigned int i, const juce::String& n, QVANE_HOST_DSP_PROCESS* e, Which w)
    : CQvaneBipolarParameter(i, n, 0.5f, e), which(w) {}

void TiltParameter::SetValue(float v)
{
    PushUntilSettled(StoreValue(ClampNormalised(v)), [this](float x) {
        // 0..180 around the circle from 270 (down) through 0 to 90 (up).
        const auto angle = static_cast<unsigned short>((FloatTouint16_t(x, 180) + 270) % 360);

        if (which == Which::front)
            engine->SetFrontElevationAngle(angle);
        else
            engine->SetRearElevationAngle(angle);
    });
}

juce::String TiltParameter::TextOf(float v) const { return Degrees3(FloatTouint16_t(v, 180) - 90); }

ZoomParameter::ZoomParameter(unsigned int i, QVANE_HOST_DSP_PROCESS* e)
    : CQvaneBipolarParameter(i, "Zoom", 0.5f, e) {}

void ZoomParameter::SetValue(float v)
{
    PushUntilSettled(StoreValue(ClampNormalised(v)), [this](float x) { engine->SetDominance(x - 0.5f); });
}

juce::String ZoomParameter::TextOf(float v) const { return NumberText::Fixed(v - 0.5f, 2); }
