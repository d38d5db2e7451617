#pragma once

#include <JuceHeader.h>

#include <atomic>
#include <cstdint>

/** One value that the host, the editor or the saved state can set.

    Holds the normalised value (0 to 1; meters hold a linear peak) that hosts
    see, an encoded byte, the text shown for it and a changed flag that the
    editor's refresh consumes. No lock: any thread may set a value.
*/
class PARAMETER
{
public:
    enum ParamType : int32_t
    {
        kSwitch   = 0,
        kUnipolar = 1,
        kBipolar  = 2
    };

    PARAMETER(unsigned int index, const juce::String& name, float defaultValue,
              int minimum, int maximum, int step, ParamType kind);
    virtual ~PARAMETER();

    virtual void SetValue(float newValue);
    virtual juce::String Format();
    virtual void Encode(unsigned char newByte);
    virtual void Decode();

    /** value · scale rounded (halves toward zero), kept to its low 8 bits. */
    static uint8_t FloatToByte(float value, unsigned char scale);
    /** value · scale rounded (halves toward zero), kept to its low 16 bits. */
    static uint16_t FloatTouint16_t(float value, unsigned short scale);

    unsigned int GetIndex() const noexcept { return index; }
    const juce::String& GetName() const noexcept { return name; }
    float GetValue() const noexcept { return value; }
    float GetDefault() const noexcept { return defaultValue; }
    uint8_t GetByte() const noexcept { return byte; }
    int GetMinimum() const noexcept { return minimum; }
    int GetMaximum() const noexcept { return maximum; }
    int GetStep() const noexcept { return step; }
    ParamType GetKind() const noexcept { return kind; }

    bool IsChanged() const noexcept { return changed.load(); }
    /** Clears the changed flag and answers whether it was set, in one step, so a
        change made on another thread meanwhile is never lost. */
    bool TakeChanged() noexcept { return changed.exchange(false); }

    bool IsAutomatable() const noexcept { return automatable; }
    void SetAutomatable(bool shouldBeAutomatable) noexcept { automatable = shouldBeAutomatable; }

protected:
    /** Stores v and raises the changed flag if v differs (a NaN always differs). */
    void StoreValue(float v) noexcept;

    const unsigned int index;    // fixed parameter index, 0-49
    const juce::String name;     // display name and saved-state child name
    float value;                 // normalised, 0-1 (meters: linear peak)
    const float defaultValue;    // normalised
    uint8_t byte = 0;            // encoded value
    const int minimum, maximum, step;
    const ParamType kind;
    std::atomic<bool> changed { true };
    bool automatable = false;

private:
    JUCE_DECLARE_NON_COPYABLE(PARAMETER)
};

/** On/off or multi-position control; the byte is the position 0..maximum. */
class PARAMETER_SWITCH : public PARAMETER
{
public:
    PARAMETER_SWITCH(unsigned int index, const juce::String& name, float defaultValue, int maximum = 1);

    void SetValue(float newValue) override;
    void Encode(unsigned char newByte) override;
    void Decode() override;
};

/** Control from 0 to 1; the byte spans 0..127. */
class PARAMETER_UNIPOLAR : public PARAMETER
{
public:
    PARAMETER_UNIPOLAR(unsigned int index, const juce::String& name, float defaultValue);

    void SetValue(float newValue) override;
    void Encode(unsigned char newByte) override;
    void Decode() override;
};

/** Control centred on 0.5; the byte is 64 plus value · half. */
class PARAMETER_BIPOLAR : public PARAMETER
{
public:
    PARAMETER_BIPOLAR(unsigned int index, const juce::String& name, float defaultValue, unsigned char half);

    void SetValue(float newValue) override;
    void Encode(unsigned char newByte) override;
    void Decode() override;

    unsigned char GetHalf() const noexcept { return half; }

private:
    const unsigned char half; // scale of the byte
};
