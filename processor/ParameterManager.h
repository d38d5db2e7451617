#pragma once

#include <JuceHeader.h>

#include <memory>
#include <vector>

#include "Parameter.h"

/** The processor's parameter objects, one slot per fixed index; owns them. */
class PARAMETER_MANAGER
{
public:
    explicit PARAMETER_MANAGER(unsigned int count);
    ~PARAMETER_MANAGER();

    /** Adopts p into slot index and pushes its current (default) value into the
        engine. An index past the last slot is ignored and p is not adopted. */
    void SetParameter(unsigned int index, PARAMETER* p);

    /** The parameter in slot index, or null for an empty slot or a bad index. */
    PARAMETER* Get(unsigned int index) const noexcept;
    unsigned int GetCount() const noexcept { return static_cast<unsigned int>(slots.size()); }

    /** Appends one child per parameter, in slot order: its name as the type and
        its value as the double property "value". */
    void WriteValueTree(juce::ValueTree& root) const;

    /** Sets each parameter from the first child of root named after it. A
        parameter without a child, or whose child has no numeric "value", keeps
        its value. "Array select" is skipped unless loadArraySelect is true. */
    void ReadValueTree(const juce::ValueTree& root, bool loadArraySelect);

private:
    std::vector<std::unique_ptr<PARAMETER>> slots;

    JUCE_DECLARE_NON_COPYABLE(PARAMETER_MANAGER)
};
