#include "ParameterManager.h"

namespace
{
const juce::Identifier valueProperty("value");
const juce::String arraySelectName("Array select");

bool IsNumber(const juce::var& v) noexcept
{
    return v.isInt() || v.isInt64() || v.isDouble() || v.isBool();
}
} // namespace

PARAMETER_MANAGER::PARAMETER_MANAGER(unsigned int count)
    : slots(count)
{
}

PARAMETER_MANAGER::~PARAMETER_MANAGER() = default;

void PARAMETER_MANAGER::SetParameter(unsigned int index, PARAMETER* p)
{
    if (index >= slots.size())
        return;

    if (slots[index].get() != p)
        slots[index].reset(p);

    if (p != nullptr)
        p->SetValue(p->GetValue()); // pushes the default into the engine
}

PARAMETER* PARAMETER_MANAGER::Get(unsigned int index) const noexcept
{
    return index < slots.size() ? slots[index].get() : nullptr;
}

void PARAMETER_MANAGER::WriteValueTree(juce::ValueTree& root) const
{
    for (auto& p : slots)
    {
        if (p == nullptr)
            continue;

        juce::ValueTree child { juce::Identifier(p->GetName()) };
        child.setProperty(valueProperty, static_cast<double>(p->GetValue()), nullptr);
        root.appendChild(child, nullptr);
    }
}

void PARAMETER_MANAGER::ReadValueTree(const juce::ValueTree& root, bool loadArraySelect)
{
    for (auto& p : slots)
    {
        if (p == nullptr)
            continue;

        // Under hosts that fix the output layout themselves it never comes from a state.
        if (! loadArraySelect && p->GetName() == arraySelectName)
            continue;

        const auto child = root.getChildWithName(juce::Identifier(p->GetName()));

        if (! child.isValid())
            continue;

        const auto* v = child.getPropertyPointer(valueProperty);

        if (v == nullptr || ! IsNumber(*v))
            continue; // a child without a usable value leaves its parameter as it was

        p->SetValue(static_cast<float>(static_cast<double>(*v)));
    }
}
