// Owns the host parameters, in the order they were added, and finds them by
// identifier or index.
#pragma once

#include "AAX_IParameter.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

class AAX_IAutomationDelegate;

class AAX_CParameterManager
{
public:
    AAX_CParameterManager() = default;
    ~AAX_CParameterManager();

    AAX_CParameterManager(const AAX_CParameterManager&) = delete;
    AAX_CParameterManager& operator=(const AAX_CParameterManager&) = delete;

    /** The delegate handed to every parameter added from now on. */
    void Initialize(AAX_IAutomationDelegate* delegate);

    /** Takes the parameter and gives it the delegate. A null parameter, or one
        whose identifier is already present, is refused (false) and stays the
        caller's. */
    bool AddParameter(AAX_IParameter* parameter);

    int32_t NumParameters() const;
    AAX_IParameter* GetParameter(int32_t index);
    const AAX_IParameter* GetParameter(int32_t index) const;
    /** Exact match only; null text or no match gives null. */
    AAX_IParameter* GetParameterByID(AAX_CParamID id);
    const AAX_IParameter* GetParameterByID(AAX_CParamID id) const;
    /** Position in the list, -1 for null text or no match. */
    int32_t ControlIndexFromID(AAX_CParamID id) const;
    void RemoveAllParameters();

private:
    AAX_IAutomationDelegate* automationDelegate = nullptr;       // not owned
    std::vector<std::unique_ptr<AAX_IParameter>> parameters;
    std::map<std::string, AAX_IParameter*> index;               // by identifier
};
