// The simulated AAX host around the built plug-in module: it loads
// Quorvane2_AAX.so with dlopen, registers it through its exports, makes effect
// and GUI objects through the create procedures of the description, and
// renders audio through the native render callback with an algorithm context
// of its own making.
#pragma once

#include "AAX_CString.h"
#include "AAX_IEffectGUI.h"
#include "AAX_IEffectParameters.h"
#include "FakeHost.h"

#include <dlfcn.h>

#include <memory>
#include <string>
#include <vector>

/** The module, loaded and registered once per test program. */
class AAXModule
{
public:
    static AAXModule& get();

    bool loaded() const { return handle != nullptr && registerStatus == 0; }
    std::string error;

    template <typename Proc>
    Proc symbol(const char* name) const
    {
        return handle != nullptr ? reinterpret_cast<Proc>(dlsym(handle, name)) : nullptr;
    }

    /** The host that registered the module: its log holds the description. */
    FakeHost registration;
    int32_t registerStatus = -1;
    IACFPluginDefinition* definition = nullptr;

    AAX_CreateEffectParametersProc createEffect = nullptr;
    AAX_CreateEffectGUIProc createGUI = nullptr;
    AAX_CProcessProc processProc = nullptr;

    /** ACFCanUnloadNow: the module's live objects. */
    int32_t liveObjects() const;

private:
    AAXModule();
    ~AAXModule();
    void* handle = nullptr;
};

/** Channels of samples, one vector each. */
struct Channels
{
    Channels(int count, int frames, float fill = 0.0f) : data((size_t) count, std::vector<float>((size_t) frames, fill)) {}
    std::vector<float*> pointers();
    std::vector<std::vector<float>> data;
};

/** One effect instance on one stem configuration, with its own host. */
class AAXInstance
{
public:
    explicit AAXInstance(AAX_EStemFormat outputStem, float sampleRate = 48000.0f, bool initialise = true);
    ~AAXInstance();

    AAX_Result initialise();

    /** Renders one block: the context's fields as this host fills them. */
    void render(Channels& inputs, Channels& outputs, int32_t frames);

    /** Asks the effect for its coefficients and delivers the packet the
        bypass field received, as a host does before the next block. */
    void deliverPackets();

    double parameter(const char* id) const;
    /** The text of the parameter's present value, as a host asks for it. */
    std::string text(const char* id, int32_t maxLength = 31) const;

    /** The "juce" or "elck" chunk, as GetChunkSize and GetChunk hand it out. */
    std::vector<uint8_t> chunk(AAX_CTypeID id) const;
    AAX_Result setChunk(AAX_CTypeID id, const std::vector<uint8_t>& data);

    FakeHost host;
    AAX_IACFEffectParameters_V2* effect = nullptr;
    std::vector<uint8_t> privateData = std::vector<uint8_t>(8, 0);
    int32_t bypass = 0;
};

constexpr AAX_CTypeID kJuceChunk = 0x6A756365;
constexpr AAX_CTypeID kElckChunk = 0x656C636B;
