#include "QvaneParameters.h"

#include <cmath>

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

    return juce::String::formatted("%3ddB", b - 31);
}
} // namespace ParameterMapping

namespace
{
juce::String Degrees3(int degrees)
{
    return juce::String::formatted("%3d", degrees);
}
} // namespace

//==============================================================================
CQvaneSwitchParameter::CQvaneSwitchParameter(unsigned int i, const juce::String& n, float defaultVal,
                                             QVANE_HOST_DSP_PROCESS* e, int maximumPosition)
    : PARAMETER_SWITCH(i, n, defaultVal, maximumPosition), engine(e)
{
}

void CQvaneSwitchParameter::StoreSwitchValue(float v)
{
    StoreValue(ClampNormalised(v));
    Decode();
}

juce::String CQvaneSwitchParameter::OnOffText(const char* label) const
{
    return juce::String(label) + (IsOn() ? " On" : " Off");
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
    StoreSwitchValue(v);
    engine->SetInvertEnable(IsOn());
}

juce::String InvertParameter::Format() { return OnOffText("Invert"); }

EndFireParameter::EndFireParameter(unsigned int i, QVANE_HOST_DSP_PROCESS* e)
    : CQvaneSwitchParameter(i, "End Fire", 0.0f, e) {}

void EndFireParameter::SetValue(float v)
{
    StoreSwitchValue(v);
    engine->SetEndFireEnable(IsOn());
}

juce::String EndFireParameter::Format() { return OnOffText("End Fire"); }

FilterEnableParameter::FilterEnableParameter(unsigned int i, QVANE_HOST_DSP_PROCESS* e)
    : CQvaneSwitchParameter(i, "Filter", 0.0f, e) {}

void FilterEnableParameter::SetValue(float v)
{
    StoreSwitchValue(v);
    engine->SetFilterEnable(IsOn());
}

juce::String FilterEnableParameter::Format() { return OnOffText("Filter"); }

InputFormatParameter::InputFormatParameter(unsigned int i, QVANE_HOST_DSP_PROCESS* e)
    : CQvaneSwitchParameter(i, "Input Format", 1.0f, e) {}

void InputFormatParameter::SetValue(float v)
{
    StoreSwitchValue(v);
    engine->SetAFormatEnable(! IsOn());
}

ArraySelectParameter::ArraySelectParameter(unsigned int i, QVANE_HOST_DSP_PROCESS* e)
    : CQvaneSwitchParameter(i, "Array select", 0.25f, e, 7) {}

void ArraySelectParameter::SetValue(float v)
{
    StoreSwitchValue(v);
    engine->SetArrayType(byte);
}

OutputChannelMuteParameter::OutputChannelMuteParameter(unsigned int i, const juce::String& n,
                                                       QVANE_HOST_DSP_PROCESS* e, EngineChannels c)
    : CQvaneSwitchParameter(i, n, 0.0f, e), channels(c) {}

void OutputChannelMuteParameter::SetValue(float v)
{
    StoreSwitchValue(v);

    for (int k = 0; k < channels.count; ++k)
        engine->SetChannelMute(channels.channel[k], IsOn());
}

OutputChannelSoloParameter::OutputChannelSoloParameter(unsigned int i, const juce::String& n,
                                                       QVANE_HOST_DSP_PROCESS* e, EngineChannels c)
    : CQvaneSwitchParameter(i, n, 0.0f, e), channels(c) {}

void OutputChannelSoloParameter::SetValue(float v)
{
    StoreSwitchValue(v);

    for (int k = 0; k < channels.count; ++k)
        engine->SetChannelSolo(channels.channel[k], IsOn());
}

//==============================================================================
InputLevelParameter::InputLevelParameter(unsigned int i, QVANE_HOST_DSP_PROCESS* e)
    : CQvaneUnipolarParameter(i, "Input Level", 0.75609756f, e) {}

void InputLevelParameter::SetValue(float v)
{
    StoreValue(ClampNormalised(v));
    engine->SetInputLevelCoeff(ParameterMapping::DbGain(value));
}

juce::String InputLevelParameter::Format() { return ParameterMapping::DbText(value); }

RotateParameter::RotateParameter(unsigned int i, QVANE_HOST_DSP_PROCESS* e)
    : CQvaneUnipolarParameter(i, "Rotate", 0.0f, e) {}

uint16_t RotateParameter::Degrees() const noexcept
{
    const auto a = FloatTouint16_t(value, 360);
    return a == 360 ? 0 : a; // a full turn is the front again
}

void RotateParameter::SetValue(float v)
{
    StoreValue(ClampNormalised(v));
    engine->SetAzimuthAngle(Degrees());
}

juce::String RotateParameter::Format() { return Degrees3(Degrees()); }

PolarPatternParameter::PolarPatternParameter(unsigned int i, const juce::String& n,
                                             QVANE_HOST_DSP_PROCESS* e, EngineChannels c)
    : CQvaneUnipolarParameter(i, n, 0.5f, e), channels(c) {}

void PolarPatternParameter::SetValue(float v)
{
    StoreValue(ClampNormalised(v));
    const float pattern = 2.0f * HalfPattern();

    for (int k = 0; k < channels.count; ++k)
        engine->SetChannelPolarPattern(channels.channel[k], pattern);
}

juce::String PolarPatternParameter::Format()
{
    return juce::String::formatted("%1.2f", static_cast<double>(HalfPattern()));
}

WidthParameter::WidthParameter(unsigned int i, const juce::String& n, QVANE_HOST_DSP_PROCESS* e, Pair p)
    : CQvaneUnipolarParameter(i, n, p == Pair::front ? 0.33333334f : p == Pair::side ? 0.6111111f : 1.0f, e),
      pair(p)
{
}

void WidthParameter::SetValue(float v)
{
    StoreValue(ClampNormalised(v));
    const auto w = FloatTouint16_t(value, 90); // 0..90 degrees off the pair's axis

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
}

juce::String WidthParameter::Format() { return Degrees3(FloatTouint16_t(value, 180)); }

OutputChannelLevelParameter::OutputChannelLevelParameter(unsigned int i, const juce::String& n,
                                                         QVANE_HOST_DSP_PROCESS* e, EngineChannels c)
    : CQvaneUnipolarParameter(i, n, 0.75609756f, e), channels(c), bFormatArray(false) {}

OutputChannelLevelParameter::OutputChannelLevelParameter(unsigned int i, const juce::String& n,
                                                         QVANE_HOST_DSP_PROCESS* e)
    : CQvaneUnipolarParameter(i, n, 0.75609756f, e), channels(EngineChannels { { 0, 0 }, 0 }), bFormatArray(true) {}

void OutputChannelLevelParameter::SetValue(float v)
{
    StoreValue(ClampNormalised(v));
    const float gain = ParameterMapping::DbGain(value);

    if (bFormatArray)
    {
        engine->SetBFormatArrayLevelCoeff(gain);
        return;
    }

    for (int k = 0; k < channels.count; ++k)
        engine->SetChannelOutputLevelCoeff(channels.channel[k], gain);
}

juce::String OutputChannelLevelParameter::Format() { return ParameterMapping::DbText(value); }

ChannelMeter::ChannelMeter(unsigned int i, const juce::String& n, QVANE_HOST_DSP_PROCESS* e)
    : CQvaneUnipolarParameter(i, n, 0.0f, e) {}

void ChannelMeter::SetValue(float v)
{
    PARAMETER_UNIPOLAR::SetValue(std::isfinite(v) ? v : 0.0f);
}

//==============================================================================
TiltParameter::TiltParameter(unsigned int i, const juce::String& n, QVANE_HOST_DSP_PROCESS* e, Which w)
    : CQvaneBipolarParameter(i, n, 0.5f, e), which(w) {}

void TiltParameter::SetValue(float v)
{
    StoreValue(ClampNormalised(v));
    // 0..180 around the circle from 270 (down) through 0 to 90 (up).
    const auto angle = static_cast<unsigned short>((FloatTouint16_t(value, 180) + 270) % 360);

    if (which == Which::front)
        engine->SetFrontElevationAngle(angle);
    else
        engine->SetRearElevationAngle(angle);
}

juce::String TiltParameter::Format() { return Degrees3(FloatTouint16_t(value, 180) - 90); }

ZoomParameter::ZoomParameter(unsigned int i, QVANE_HOST_DSP_PROCESS* e)
    : CQvaneBipolarParameter(i, "Zoom", 0.5f, e) {}

void ZoomParameter::SetValue(float v)
{
    StoreValue(ClampNormalised(v));
    engine->SetDominance(value - 0.5f);
}

juce::String ZoomParameter::Format()
{
    return juce::String::formatted("%1.2f", static_cast<double>(value - 0.5f));
}
