#include "AAXModuleHost.h"

#include "AAX_Exports.h"
#include "ChunkSupport.h"

#include <cstring>

AAXModule& AAXModule::get()
{
    static AAXModule module;
    return module;
}

AAXModule::AAXModule() : handle(dlopen(QV_AAX_PLUGIN_PATH, RTLD_NOW | RTLD_LOCAL))
{
    if (handle == nullptr)
    {
        error = dlerror();
        return;
    }
    auto registerPlugin = symbol<ACFRegisterPluginProc>("ACFRegisterPlugin");
    if (registerPlugin == nullptr)
    {
        error = "no ACFRegisterPlugin";
        return;
    }
    registerStatus = registerPlugin(registration.unknown(), &definition);

    if (auto* descriptor = registration.lastEffectDescriptor())
    {
        createEffect = reinterpret_cast<AAX_CreateEffectParametersProc>(descriptor->procs[0]);
        createGUI = reinterpret_cast<AAX_CreateEffectGUIProc>(descriptor->procs[1]);
    }
    for (const auto& made : registration.made)
        if (auto* component = dynamic_cast<FakeComponentDescriptor*>(made.get()))
            processProc = component->processProc;
}

AAXModule::~AAXModule()
{
    if (definition != nullptr)
        definition->Release();
    if (handle != nullptr)
        dlclose(handle);
}

int32_t AAXModule::liveObjects() const
{
    auto canUnload = symbol<ACFCanUnloadNowProc>("ACFCanUnloadNow");
    return canUnload != nullptr ? canUnload(nullptr) : -1;
}

std::vector<float*> Channels::pointers()
{
    std::vector<float*> p;
    for (auto& c : data)
        p.push_back(c.data());
    return p;
}

//==============================================================================
AAXInstance::AAXInstance(AAX_EStemFormat outputStem, float sampleRate, bool initialiseNow)
{
    host.controller.outputStem = outputStem;
    host.controller.sampleRate = sampleRate;

    AAX_IEffectParameters* made = AAXModule::get().createEffect();
    void* out = nullptr;
    if (made == nullptr
        || static_cast<AAX_IACFEffectParameters_V2*>(made)->QueryInterface(IID_IAAXEffectParametersV2, &out) != 0)
        return;
    effect = static_cast<AAX_IACFEffectParameters_V2*>(out);
    host.automation.answerTo = effect;
    effect->ResetFieldData(4, privateData.data(), (uint32_t) privateData.size());
    if (initialiseNow)
        initialise();
}

AAX_Result AAXInstance::initialise()
{
    return effect->Initialize(host.unknown());
}

AAXInstance::~AAXInstance()
{
    if (effect == nullptr)
        return;
    effect->Uninitialize();
    effect->Release();
}

void AAXInstance::render(Channels& inputs, Channels& outputs, int32_t frames)
{
    auto ins = inputs.pointers();
    auto outs = outputs.pointers();
    void* privateBlock = privateData.data();
    const void* context[5] = { ins.data(), outs.data(), &frames, &bypass, privateBlock };
    void* instances[1] = { context };
    AAXModule::get().processProc(instances, instances + 1);
}

void AAXInstance::deliverPackets()
{
    effect->GenerateCoefficients();
    auto it = host.controller.packets.find(3);
    if (it != host.controller.packets.end() && it->second.size() == sizeof(int32_t))
        std::memcpy(&bypass, it->second.data(), sizeof(int32_t));
}

double AAXInstance::parameter(const char* id) const
{
    double value = -1.0;
    effect->GetParameterNormalizedValue(id, &value);
    return value;
}

std::string AAXInstance::text(const char* id, int32_t maxLength) const
{
    AAX_CString t;
    effect->GetParameterStringFromValue(id, parameter(id), &t, maxLength);
    return t.Get();
}

std::vector<uint8_t> AAXInstance::chunk(AAX_CTypeID id) const
{
    uint32_t size = 0;
    if (effect->GetChunkSize(id, &size) != 0)
        return {};
    ChunkRecord record(size, id);
    if (effect->GetChunk(id, record.record()) != 0 || record.record()->size != int32_t(size))
        return {};
    return record.dataBytes();
}

AAX_Result AAXInstance::setChunk(AAX_CTypeID id, const std::vector<uint8_t>& data)
{
    ChunkRecord record = ChunkRecord::withData(data);
    record.record()->chunkID = id;
    return effect->SetChunk(id, record.record());
}
