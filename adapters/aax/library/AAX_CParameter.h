// A host parameter holding one value of type T, converted through a taper
// (real to and from normalised) and a display (real to and from text).
//
// With an automation delegate every change is a request to the host, and the
// value follows only the host's UpdateNormalizedValue; without one a change
// takes effect at once. Values are atomics: hosts read and write parameters
// from several threads at once.
#pragma once

#include "AAX_IAutomationDelegate.h"
#include "AAX_IParameter.h"
#include "AAX_Numeric.h"

#include <atomic>
#include <cmath>
#include <cstring>
#include <map>
#include <memory>
#include <type_traits>

template <typename T>
class AAX_CParameter : public AAX_IParameter
{
public:
    static constexpr size_t identifierBytes = 32;   // 31 characters and the zero

    AAX_CParameter(AAX_CParamID id, const AAX_CString& parameterName, T defaultValue,
                   const AAX_ITaperDelegate<T>& taperDelegate, const AAX_IDisplayDelegate<T>& displayDelegate,
                   bool isAutomatable)
        : name(parameterName), automatable(isAutomatable),
          taper(taperDelegate.Clone()), display(displayDelegate.Clone())
    {
        std::memset(identifier, 0, sizeof(identifier));
        if (id != nullptr)
            std::memcpy(identifier, id, strnlen(id, identifierBytes - 1));   // the last byte stays 0

        storedDefault.store(sanitizeReal(defaultValue, taper->GetMinimumValue()));
        if (numberOfSteps == 0)
            numberOfSteps = (type == AAX_eParameterType_Continuous) ? 128u : 2u;
        SetToDefaultValue();
    }

    ~AAX_CParameter() override
    {
        if (automationDelegate != nullptr)
            automationDelegate->UnregisterParameter(identifier);
    }

    AAX_CParameter(const AAX_CParameter&) = delete;
    AAX_CParameter& operator=(const AAX_CParameter&) = delete;

    AAX_CParamID Identifier() const override { return identifier; }
    void SetName(const AAX_CString& newName) override { name = newName; }
    const AAX_CString& Name() const override { return name; }
    void AddShortenedName(const AAX_CString& shortName) override { shortenedNames[shortName.Length()] = shortName; }

    const AAX_CString& ShortenedName(int32_t maxChars) const override
    {
        const uint32_t limit = maxChars > 0 ? static_cast<uint32_t>(maxChars) : 0u;
        if (name.Length() <= limit || shortenedNames.empty())
            return name;
        auto fit = shortenedNames.upper_bound(limit);   // first name longer than the limit
        if (fit == shortenedNames.begin())
            return fit->second;                         // none fits: the shortest
        return std::prev(fit)->second;                  // the longest that fits
    }

    void ClearShortenedNames() override { shortenedNames.clear(); }
    bool Automatable() const override { return automatable; }

    void SetAutomationDelegate(AAX_IAutomationDelegate* delegate) override
    {
        if (automationDelegate != nullptr)
            automationDelegate->UnregisterParameter(identifier);
        automationDelegate = delegate;
        if (automationDelegate != nullptr)
            automationDelegate->RegisterParameter(identifier);
    }

    void Touch() override
    {
        if (automationDelegate != nullptr)
            automationDelegate->PostTouchRequest(identifier);
    }

    void Release() override
    {
        if (automationDelegate != nullptr)
            automationDelegate->PostReleaseRequest(identifier);
    }

    void SetNormalizedValue(double normalized) override
    {
        SetValue(taper->NormalizedToReal(AAX_SanitizeNormalized(normalized, GetNormalizedDefaultValue())));
    }

    double GetNormalizedValue() const override { return taper->RealToNormalized(value.load()); }

    void SetNormalizedDefaultValue(double normalized) override
    {
        if (std::isnan(normalized))
            return;   // no default to read a NaN as: keep the one there is
        storedDefault.store(taper->ConstrainRealValue(taper->NormalizedToReal(AAX_SanitizeNormalized(normalized, 0.0))));
    }

    double GetNormalizedDefaultValue() const override { return taper->RealToNormalized(storedDefault.load()); }
    void SetToDefaultValue() override { SetValue(storedDefault.load()); }
    void SetNumberOfSteps(uint32_t steps) override { numberOfSteps = steps; }
    uint32_t GetNumberOfSteps() const override { return numberOfSteps; }

    uint32_t GetStepValue() const override
    {
        const uint32_t steps = numberOfSteps;
        if (steps < 2)
            return 0;
        const double top = double(steps - 1);
        double step = GetNormalizedValue() * top + 0.5;
        step = step < 0.0 ? 0.0 : (step > top ? top : step);
        return static_cast<uint32_t>(step);
    }

    void SetStepValue(uint32_t step) override
    {
        const uint32_t steps = numberOfSteps;
        if (steps < 2)
            return;
        const double normalized = double(step) / double(steps - 1);
        SetNormalizedValue(normalized > 1.0 ? 1.0 : normalized);
    }

    bool GetValueString(AAX_CString* text) const override { return display->ValueToString(value.load(), text); }

    bool GetValueString(int32_t maxChars, AAX_CString* text) const override
    {
        return display->ValueToString(value.load(), maxChars, text);
    }

    bool GetNormalizedValueFromString(const AAX_CString& text, double* normalized) const override
    {
        if (normalized == nullptr)
            return false;
        T real {};
        if (! display->StringToValue(text, &real))
            return false;
        *normalized = taper->RealToNormalized(real);
        return withinBounds(real);
    }

    bool GetStringFromNormalizedValue(double normalized, AAX_CString& text) const override
    {
        // Reads only: asking for the text of a value never changes the parameter.
        const T real = taper->NormalizedToReal(AAX_SanitizeNormalized(normalized, GetNormalizedDefaultValue()));
        return display->ValueToString(real, &text) && withinBounds(real);
    }

    bool GetStringFromNormalizedValue(double normalized, int32_t maxChars, AAX_CString& text) const override
    {
        const T real = taper->NormalizedToReal(AAX_SanitizeNormalized(normalized, GetNormalizedDefaultValue()));
        return display->ValueToString(real, maxChars, &text) && withinBounds(real);
    }

    bool SetValueFromString(const AAX_CString& text) override
    {
        T real {};
        if (! display->StringToValue(text, &real))
            return false;
        SetValue(real);
        return true;
    }

    bool GetValueAsBool(bool* out) const override { return getAs<bool>(out); }
    bool GetValueAsInt32(int32_t* out) const override { return getAs<int32_t>(out); }
    bool GetValueAsFloat(float* out) const override { return getAs<float>(out); }
    bool GetValueAsDouble(double* out) const override { return getAs<double>(out); }
    bool GetValueAsString(AAX_IString*) const override { return false; }   // no text-valued parameters here

    bool SetValueWithBool(bool v) override { return setAs<bool>(v); }
    bool SetValueWithInt32(int32_t v) override { return setAs<int32_t>(v); }
    bool SetValueWithFloat(float v) override { return setAs<float>(v); }
    bool SetValueWithDouble(double v) override { return setAs<double>(v); }
    bool SetValueWithString(const AAX_IString&) override { return false; }

    void SetType(AAX_EParameterType t) override { type = t; }
    AAX_EParameterType GetType() const override { return type; }
    void SetOrientation(int32_t o) override { orientation = o; }
    int32_t GetOrientation() const override { return orientation; }

    void SetTaperDelegate(AAX_ITaperDelegateBase& newTaper, bool preserveValue) override
    {
        auto* typed = dynamic_cast<AAX_ITaperDelegate<T>*>(&newTaper);
        if (typed == nullptr)
            return;   // a taper of another value type cannot serve this parameter
        const double normalized = GetNormalizedValue();
        taper.reset(typed->Clone());
        needsNotify.store(true);
        if (preserveValue)
            SetValue(value.load());
        else
            UpdateNormalizedValue(normalized);
    }

    void SetDisplayDelegate(AAX_IDisplayDelegateBase& newDisplay) override
    {
        auto* typed = dynamic_cast<AAX_IDisplayDelegate<T>*>(&newDisplay);
        if (typed == nullptr)
            return;
        display.reset(typed->Clone());
        if (automationDelegate != nullptr)
            automationDelegate->PostCurrentValue(identifier, GetNormalizedValue());   // the host redraws the text
    }

    void UpdateNormalizedValue(double normalized) override
    {
        normalized = AAX_SanitizeNormalized(normalized, GetNormalizedDefaultValue());
        const T real = taper->NormalizedToReal(normalized);
        if (! needsNotify.load() && real == value.load())
            return;
        value.store(real);
        if (automationDelegate != nullptr)
            automationDelegate->PostCurrentValue(identifier, normalized);
        needsNotify.store(false);
    }

    /** With an automation delegate: a touch, a set-value request and a release;
        the value follows when the host answers. Without one: at once. */
    void SetValue(T newValue)
    {
        const double normalized = taper->RealToNormalized(sanitizeReal(newValue, storedDefault.load()));
        if (automationDelegate != nullptr)
        {
            Touch();
            automationDelegate->PostSetValueRequest(identifier, normalized);
            Release();
        }
        else
        {
            needsNotify.store(true);
            UpdateNormalizedValue(normalized);
        }
    }

    T GetValue() const { return value.load(); }
    T GetDefaultValue() const { return storedDefault.load(); }

private:
    /** A NaN from outside reads as `fallback`. */
    static T sanitizeReal(T v, T fallback)
    {
        if constexpr (std::is_floating_point_v<T>)
            return std::isnan(v) ? fallback : v;
        else
            return v;
    }

    bool withinBounds(T real) const { return ! (real < taper->GetMinimumValue()) && ! (real > taper->GetMaximumValue()); }

    template <typename U>
    bool getAs(U* out) const
    {
        if constexpr (std::is_same_v<U, T>)
        {
            if (out == nullptr)
                return false;
            *out = value.load();
            return true;
        }
        else
        {
            (void) out;
            return false;
        }
    }

    template <typename U>
    bool setAs(U v)
    {
        if constexpr (std::is_same_v<U, T>)
        {
            SetValue(v);
            return true;
        }
        else
        {
            (void) v;
            return false;
        }
    }

    char identifier[identifierBytes];
    AAX_CString name;
    std::map<uint32_t, AAX_CString> shortenedNames;   // keyed by each name's length
    bool automatable;
    uint32_t numberOfSteps = 0;
    AAX_EParameterType type = AAX_eParameterType_Continuous;
    int32_t orientation = 0;
    std::unique_ptr<AAX_ITaperDelegate<T>> taper;
    std::unique_ptr<AAX_IDisplayDelegate<T>> display;
    AAX_IAutomationDelegate* automationDelegate = nullptr;   // not owned
    std::atomic<bool> needsNotify { true };
    std::atomic<T> value { T() };
    std::atomic<T> storedDefault { T() };
};

extern template class AAX_CParameter<float>;
extern template class AAX_CParameter<bool>;
