// A small effect and GUI over the library, shaped as the plug-in's own: a
// master bypass "MasterBypassID" feeding field 3, then float parameters "0"
// to "34" (linear 0..1, three decimals, default 0.5).
#pragma once

#include "AAX_CEffectGUI.h"
#include "AAX_CEffectParameters.h"

#include <string>
#include <vector>

struct TestEffectOptions
{
    int floatParameters = 35;
    bool previewParameter = false;   // adds a bool "PreviewID" after the others
    bool failEffectInit = false;
};

class TestEffect : public AAX_CEffectParameters
{
public:
    explicit TestEffect(TestEffectOptions o = {}) : options(o) {}

    AAX_Result EffectInit() override;

    /** The parameter manager, for checks a host could not make. */
    AAX_CParameterManager& parameters() { return parameterManager; }

    static AAX_IEffectParameters* Create();

    TestEffectOptions options;
};

class TestGUI : public AAX_CEffectGUI
{
public:
    void CreateViewContents() override;
    void CreateViewContainer() override;
    void DeleteViewContainer() override;
    AAX_Result ParameterUpdated(AAX_CParamID id) override;

    static AAX_IEffectGUI* Create();

    std::vector<std::string> hooks;   // the view hooks and updates, in order
    bool throwInViewHook = false;
};

/** Set to make the test description throw, as a failing plug-in might. */
extern bool testDescriptionThrows;
