#include "AAX_CParameterManager.h"

#include <cstring>

AAX_CParameterManager::~AAX_CParameterManager()
{
    RemoveAllParameters();
}

void AAX_CParameterManager::Initialize(AAX_IAutomationDelegate* delegate)
{
    automationDelegate = delegate;
}

bool AAX_CParameterManager::AddParameter(AAX_IParameter* parameter)
{
    if (parameter == nullptr || parameter->Identifier() == nullptr)
        return false;

    const std::string id(parameter->Identifier());
    if (index.count(id) != 0)
        return false;

    // Make room first, so that a failed allocation leaves the parameter with
    // its caller rather than half-registered.
    parameters.reserve(parameters.size() + 1);
    index.emplace(id, parameter);
    parameters.emplace_back(parameter);   // cannot throw: room was made
    parameter->SetAutomationDelegate(automationDelegate);
    return true;
}

int32_t AAX_CParameterManager::NumParameters() const
{
    return static_cast<int32_t>(parameters.size());
}

AAX_IParameter* AAX_CParameterManager::GetParameter(int32_t i)
{
    return (i >= 0 && static_cast<size_t>(i) < parameters.size()) ? parameters[static_cast<size_t>(i)].get() : nullptr;
}

const AAX_IParameter* AAX_CParameterManager::GetParameter(int32_t i) const
{
    return const_cast<AAX_CParameterManager*>(this)->GetParameter(i);
}

AAX_IParameter* AAX_CParameterManager::GetParameterByID(AAX_CParamID id)
{
    if (id == nullptr)
        return nullptr;
    auto it = index.find(id);
    return it != index.end() ? it->second : nullptr;
}

const AAX_IParameter* AAX_CParameterManager::GetParameterByID(AAX_CParamID id) const
{
    return const_cast<AAX_CParameterManager*>(this)->GetParameterByID(id);
}

int32_t AAX_CParameterManager::ControlIndexFromID(AAX_CParamID id) const
{
    if (id == nullptr)
        return -1;
    for (size_t i = 0; i < parameters.size(); ++i)
        if (std::strcmp(parameters[i]->Identifier(), id) == 0)
            return static_cast<int32_t>(i);
    return -1;
}

void AAX_CParameterManager::RemoveAllParameters()
{
    index.clear();
    // Each parameter unregisters from the host as it goes, while the
    // automation delegate is still alive.
    parameters.clear();
}
