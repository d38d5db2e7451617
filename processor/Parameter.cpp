#include "Parameter.h"

#include <cmath>
#include <cstring>

#include "NumberText.h"

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
      defaultValue(defaultVal),
      minimum(minimumValue),
      maximum(maximumValue),
      step(stepValue),
      kind(parameterKind),
      state(Pack(defaultVal, 0))
{
}

PARAMETER::~PARAMETER() = default;

bool PARAMETER::SameBits(float a, float b) noexcept
{
    uint32_t x, y;
    std::memcpy(&x, &a, sizeof x);
    std::memcpy(&y, &b, sizeof y);
    return x == y;
}

float PARAMETER::ValueOf(uint64_t word) noexcept
{
    const auto bits = static_cast<uint32_t>(word);
    float v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

uint8_t PARAMETER::ByteOf(uint64_t word) noexcept
{
    return static_cast<uint8_t>(word >> 32);
}

uint64_t PARAMETER::Pack(float v, uint8_t byteValue) noexcept
{
    uint32_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    return static_cast<uint64_t>(bits) | (static_cast<uint64_t>(byteValue) << 32);
}

uint8_t PARAMETER::ByteFor(float) const noexcept { return 0; }

float PARAMETER::StoreValue(float v) noexcept
{
    const float old = ValueOf(state.exchange(Pack(v, ByteFor(v)), std::memory_order_acq_rel));

    if (! (v == old)) // a NaN on either side counts as a change
        changed.store(true, std::memory_order_release);

    return v;
}

void PARAMETER::SetValue(float newValue) { StoreValue(newValue); }
juce::String PARAMETER::Format() { return TextOf(GetValue()); }
juce::String PARAMETER::FormatValue(float value) const { return TextOf(HeldValue(value)); }
float PARAMETER::HeldValue(float v) const noexcept { return v; }
juce::String PARAMETER::TextOf(float heldValue) const { return NumberText::Fixed(heldValue, 2); }
void PARAMETER::Encode(unsigned char) {}

// The byte again from the value, keeping whatever value another thread may
// have stored meanwhile.
void PARAMETER::Decode()
{
    uint64_t word = state.load(std::memory_order_acquire);
    while (! state.compare_exchange_weak(word, Pack(ValueOf(word), ByteFor(ValueOf(word))),
                                         std::memory_order_acq_rel, std::memory_order_acquire))
    {
    }
}

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

void PARAMETER_SWITCH::SetValue(float newValue) { StoreValue(newValue); }

// The value is the position over the maximum; its byte, decoded back from
// that value, is the position again.
void PARAMETER_SWITCH::Encode(unsigned char newByte)
{
    SetValue(static_cast<float>(newByte) / static_cast<float>(static_cast<uint8_t>(maximum)));
}

void PARAMETER_SWITCH::Decode() { PARAMETER::Decode(); }

uint8_t PARAMETER_SWITCH::ByteFor(float v) const noexcept
{
    return FloatToByte(v, static_cast<unsigned char>(maximum));
}

//==============================================================================
PARAMETER_UNIPOLAR::PARAMETER_UNIPOLAR(unsigned int i, const juce::String& n, float defaultVal)
    : PARAMETER(i, n, defaultVal, 0, 127, 1, kUnipolar)
{
}

void PARAMETER_UNIPOLAR::SetValue(float newValue) { StoreValue(newValue); }

void PARAMETER_UNIPOLAR::Encode(unsigned char newByte)
{
    SetValue(static_cast<float>(newByte) / 127.0f);
}

void PARAMETER_UNIPOLAR::Decode() { PARAMETER::Decode(); }

uint8_t PARAMETER_UNIPOLAR::ByteFor(float v) const noexcept { return FloatToByte(v, 127); }

//==============================================================================
PARAMETER_BIPOLAR::PARAMETER_BIPOLAR(unsigned int i, const juce::String& n, float defaultVal, unsigned char halfScale)
    : PARAMETER(i, n, defaultVal, -64, 63, 1, kBipolar),
      half(halfScale)
{
    PARAMETER_BIPOLAR::Decode();
}

void PARAMETER_BIPOLAR::SetValue(float newValue) { StoreValue(newValue); }

void PARAMETER_BIPOLAR::Encode(unsigned char newByte)
{
    SetValue(static_cast<float>(static_cast<int>(newByte) - 64) / static_cast<float>(half));
}

void PARAMETER_BIPOLAR::Decode() { PARAMETER::Decode(); }

uint8_t PARAMETER_BIPOLAR::ByteFor(float v) const noexcept
{
    return static_cast<uint8_t>(FloatToByte(v, half) + 64);
}
