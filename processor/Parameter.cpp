#include "Parameter.h"

#include <cmath>

namespace
{
// The one rounding rule of every parameter mapping: a fraction above one half
// rounds away from zero, an exact half goes toward zero (2.5 -> 2, -2.5 -> -2).
// The result keeps only its low bits, as an 8- or 16-bit field would.
int64_t RoundHalfTowardZeroLow16(double x) noexcept
{
    if (! std::isfinite(x))
        return 0;

    double whole = std::trunc(x);
    const double fraction = x - whole;

    if (fraction > 0.5)
        whole += 1.0;
    else if (fraction < -0.5)
        whole -= 1.0;

    // fmod of a whole number by 2^16 is exact and keeps the low 16 bits' worth,
    // so the cast below is always in range however large x was.
    return static_cast<int64_t>(std::fmod(whole, 65536.0));
}
} // namespace

//==============================================================================
PARAMETER::PARAMETER(unsigned int parameterIndex, const juce::String& parameterName, float defaultVal,
                     int minimumValue, int maximumValue, int stepValue, ParamType parameterKind)
    : index(parameterIndex),
      name(parameterName),
      value(defaultVal),
      defaultValue(defaultVal),
      minimum(minimumValue),
      maximum(maximumValue),
      step(stepValue),
      kind(parameterKind)
{
}

PARAMETER::~PARAMETER() = default;

void PARAMETER::StoreValue(float v) noexcept
{
    if (! (v == value)) // a NaN on either side counts as a change
    {
        value = v;
        changed = true;
    }
}

void PARAMETER::SetValue(float newValue) { StoreValue(newValue); }
juce::String PARAMETER::Format() { return juce::String::formatted("%1.2f", static_cast<double>(value)); }
void PARAMETER::Encode(unsigned char) {}
void PARAMETER::Decode() {}

uint8_t PARAMETER::FloatToByte(float v, unsigned char scale)
{
    return static_cast<uint8_t>(RoundHalfTowardZeroLow16(static_cast<double>(v) * scale) & 0xff);
}

uint16_t PARAMETER::FloatTouint16_t(float v, unsigned short scale)
{
    return static_cast<uint16_t>(RoundHalfTowardZeroLow16(static_cast<double>(v) * scale) & 0xffff);
}

//==============================================================================
PARAMETER_SWITCH::PARAMETER_SWITCH(unsigned int i, const juce::String& n, float defaultVal, int maximumPosition)
    : PARAMETER(i, n, defaultVal, 0, maximumPosition, 1, kSwitch)
{
}

void PARAMETER_SWITCH::SetValue(float newValue)
{
    StoreValue(newValue);
    Decode();
}

void PARAMETER_SWITCH::Encode(unsigned char newByte)
{
    byte = newByte;
    SetValue(static_cast<float>(newByte) / static_cast<float>(static_cast<uint8_t>(maximum)));
}

void PARAMETER_SWITCH::Decode()
{
    byte = FloatToByte(value, static_cast<unsigned char>(maximum));
}

//==============================================================================
PARAMETER_UNIPOLAR::PARAMETER_UNIPOLAR(unsigned int i, const juce::String& n, float defaultVal)
    : PARAMETER(i, n, defaultVal, 0, 127, 1, kUnipolar)
{
}

void PARAMETER_UNIPOLAR::SetValue(float newValue)
{
    StoreValue(newValue);
    Decode();
}

void PARAMETER_UNIPOLAR::Encode(unsigned char newByte)
{
    byte = newByte;
    SetValue(static_cast<float>(newByte) / 127.0f);
}

void PARAMETER_UNIPOLAR::Decode()
{
    byte = FloatToByte(value, 127);
}

//==============================================================================
PARAMETER_BIPOLAR::PARAMETER_BIPOLAR(unsigned int i, const juce::String& n, float defaultVal, unsigned char halfScale)
    : PARAMETER(i, n, defaultVal, -64, 63, 1, kBipolar),
      half(halfScale)
{
    PARAMETER::SetValue(defaultVal);
    PARAMETER_BIPOLAR::Decode();
}

void PARAMETER_BIPOLAR::SetValue(float newValue)
{
    StoreValue(newValue);
    Decode();
}

void PARAMETER_BIPOLAR::Encode(unsigned char newByte)
{
    byte = newByte;
    SetValue(static_cast<float>(static_cast<int>(newByte) - 64) / static_cast<float>(half));
}

void PARAMETER_BIPOLAR::Decode()
{
    byte = static_cast<uint8_t>(FloatToByte(value, half) + 64);
}
