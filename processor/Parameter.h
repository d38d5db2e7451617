#pragma once

#include <JuceHeader.h>

#include <atomic>
#include <cstdint>

/** One value that the host, the editor or the saved state can set.

    Holds the normalised value (0 to 1; meters hold a linear peak) that hosts
    see, an encoded byte, the text shown for it and a changed flag that the
    editor's refresh consumes.

    Threads: any thread may set a value, several at once, with no lock. The
    value and its byte live in one atomic word, stored together from one
    local copy, so a reader never sees the value of one setter with the byte
    of another; the engine only ever hears published values (the engine
    applies them on its own thread).
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
    /** The text of the value held now: FormatValue of it. */
    virtual juce::String Format();
    /** The text this parameter shows while it holds HeldValue(value). Reads
        nothing but the value given and fixed settings, stores nothing: safe
        on any thread, beside setters and the audio thread. */
    juce::String FormatValue(float value) const;
    virtual void Encode(unsigned char newByte);
    virtual void Decode();

    /** value · scale rounded (halves toward zero), kept to its low 8 bits. */
    static uint8_t FloatToByte(float value, unsigned char scale);
    /** value · scale rounded (halves toward zero), kept to its low 16 bits. */
    static uint16_t FloatTouint16_t(float value, unsigned short scale);

    unsigned int GetIndex() const noexcept { return index; }
    const juce::String& GetName() const noexcept { return name; }
    float GetValue() const noexcept { return ValueOf(state.load(std::memory_order_acquire)); }
    float GetDefault() const noexcept { return defaultValue; }
    uint8_t GetByte() const noexcept { return ByteOf(state.load(std::memory_order_acquire)); }
    int GetMinimum() const noexcept { return minimum; }
    int GetMaximum() const noexcept { return maximum; }
    int GetStep() const noexcept { return step; }
    ParamType GetKind() const noexcept { return kind; }

    bool IsChanged() const noexcept { return changed.load(); }
    /** Clears the changed flag and answers whether it was set, in one step, so a
        change made on another thread meanwhile is never lost. */
    bool TakeChanged() noexcept { return changed.exchange(false); }

    bool IsAutomatable() const noexcept { return automatable.load(std::memory_order_relaxed); }
    void SetAutomatable(bool shouldBeAutomatable) noexcept { automatable.store(shouldBeAutomatable, std::memory_order_relaxed); }

protected:
    /** What SetValue(v) would store (the base kind stores v itself). */
    virtual float HeldValue(float v) const noexcept;
    /** The text of a value as stored; every kind's texts come from here, so
        the text of the present value and of any asked-for value agree. */
    virtual juce::String TextOf(float heldValue) const;

    /** The byte of this kind for a value (the base kind keeps no byte: 0). */
    virtual uint8_t ByteFor(float v) const noexcept;

    /** Stores v with its byte in one step and raises the changed flag if v
        differs from what was there (a NaN always differs). Answers v, the
        local copy every engine call of the setter must use. */
    float StoreValue(float v) noexcept;

    /** Calls push with the stored value, and again with a newer one for as
        long as another thread stored one meanwhile, so that when setters race
        the engine ends with the value the parameter holds. For mappings that
        give the same engine state however often they are pushed. */
    template <typename Push>
    void PushUntilSettled(float v, Push&& push)
    {
        for (;;)
        {
            push(v);
            const float now = GetValue();
            if (SameBits(now, v))
                return;
            v = now;
        }
    }

    static bool SameBits(float a, float b) noexcept;
    static float ValueOf(uint64_t word) noexcept;
    static uint8_t ByteOf(uint64_t word) noexcept;
    static uint64_t Pack(float v, uint8_t byte) noexcept;

    const unsigned int index;    // fixed parameter index, 0-49
    const juce::String name;     // display name and saved-state child name
    const float defaultValue;    // normalised
    const int minimum, maximum, step;
    const ParamType kind;

private:
    std::atomic<uint64_t> state;             // value (low 32 bits, float) and byte (bits 32-39)
    std::atomic<bool> changed { true };
    std::atomic<bool> automatable { false };

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

protected:
    uint8_t ByteFor(float v) const noexcept override;
};

/** Control from 0 to 1; the byte spans 0..127. */
class PARAMETER_UNIPOLAR : public PARAMETER
{
public:
    PARAMETER_UNIPOLAR(unsigned int index, const juce::String& name, float defaultValue);

    void SetValue(float newValue) override;
    void Encode(unsigned char newByte) override;
    void Decode() override;

protected:
    uint8_t ByteFor(float v) const noexcept override;
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

protected:
    uint8_t ByteFor(float v) const noexcept override;

private:
    const unsigned char half; // scale of the byte
};
