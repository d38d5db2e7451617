#include "VstTestHost.h"

#include "VstOpcodes.h"

#include <algorithm>
#include <cstring>
#include <dlfcn.h>

namespace
{
// The host callback carries no user pointer: a record leads to its host, and
// the version query at entry (no record yet) to the host being instantiated.
std::mutex registryLock;
std::vector<std::pair<AEffect*, VstTestHost*>> registry;
thread_local VstTestHost* instantiating = nullptr;

VstTestHost* hostFor(AEffect* effect)
{
    if (effect == nullptr)
        return instantiating;

    std::lock_guard<std::mutex> lock(registryLock);
    for (auto& entry : registry)
        if (entry.first == effect)
            return entry.second;
    return instantiating;
}

void unregister(AEffect* effect)
{
    std::lock_guard<std::mutex> lock(registryLock);
    registry.erase(std::remove_if(registry.begin(), registry.end(),
                                  [effect](const auto& e) { return e.first == effect; }),
                   registry.end());
}
} // namespace

//==============================================================================
PluginLibrary::PluginLibrary(const std::string& path)
{
    handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr)
        loadError = dlerror();
}

PluginLibrary::~PluginLibrary()
{
    if (handle != nullptr)
        dlclose(handle);
}

void* PluginLibrary::symbol(const char* name) const
{
    return handle != nullptr ? dlsym(handle, name) : nullptr;
}

//==============================================================================
VstTestHost::VstTestHost(const PluginLibrary& lib) : library(lib) {}

VstTestHost::~VstTestHost()
{
    if (aeffect != nullptr)
        close();
}

bool VstTestHost::instantiate()
{
    auto entry = library.entryPoint();
    if (entry == nullptr)
        return false;

    instantiating = this;
    aeffect = entry(&VstTestHost::callback);
    instantiating = nullptr;

    if (aeffect == nullptr)
        return false;

    std::lock_guard<std::mutex> lock(registryLock);
    registry.emplace_back(aeffect, this);
    return true;
}

intptr_t VstTestHost::callback(AEffect* effect, int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt)
{
    VstTestHost* host = hostFor(effect);
    return host != nullptr ? host->answer(effect, opcode, index, value, ptr, opt) : 0;
}

intptr_t VstTestHost::answer(AEffect* effect, int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt)
{
    HostCall call { effect, opcode, index, value, opt, {} };
    if (opcode == HostOpcode::canDo && ptr != nullptr)
        call.text = static_cast<const char*>(ptr);

    {
        std::lock_guard<std::mutex> lock(callsLock);
        recorded.push_back(call);
    }

    switch (opcode)
    {
        case HostOpcode::version:
            return versionReply;
        case HostOpcode::getCurrentProcessLevel:
            return processLevelReply;
        case HostOpcode::getTimeInfo:
            return reinterpret_cast<intptr_t>(timeInfoReply);
        default:
            return 0;
    }
}

intptr_t VstTestHost::dispatch(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt)
{
    return aeffect->dispatcher(aeffect, opcode, index, value, ptr, opt);
}

void VstTestHost::open() { dispatch(EffectOpcode::open); }
void VstTestHost::setSampleRate(float rate) { dispatch(EffectOpcode::setSampleRate, 0, 0, nullptr, rate); }
void VstTestHost::setBlockSize(int32_t frames) { dispatch(EffectOpcode::setBlockSize, 0, frames); }
void VstTestHost::resume() { dispatch(EffectOpcode::suspendResume, 0, 1); }
void VstTestHost::suspend() { dispatch(EffectOpcode::suspendResume, 0, 0); }

intptr_t VstTestHost::close()
{
    AEffect* e = aeffect;
    const intptr_t result = e->dispatcher(e, EffectOpcode::close, 0, 0, nullptr, 0.0f);
    unregister(e);
    aeffect = nullptr;
    return result;
}

void VstTestHost::process(float** inputs, float** outputs, int32_t frames)
{
    aeffect->processReplacing(aeffect, inputs, outputs, frames);
}

void VstTestHost::setParameter(int32_t index, float value) { aeffect->setParameter(aeffect, index, value); }
float VstTestHost::getParameter(int32_t index) { return aeffect->getParameter(aeffect, index); }

std::string VstTestHost::textFrom(int32_t opcode, int32_t index)
{
    // Hosts pass generous buffers; the plug-in must stay within its limit.
    char buffer[256];
    std::memset(buffer, 'X', sizeof(buffer));
    buffer[sizeof(buffer) - 1] = 0;
    dispatch(opcode, index, 0, buffer);
    return std::string(buffer);
}

std::string VstTestHost::parameterName(int32_t index) { return textFrom(EffectOpcode::getParameterName, index); }
std::string VstTestHost::parameterDisplay(int32_t index) { return textFrom(EffectOpcode::getParameterDisplay, index); }

intptr_t VstTestHost::canDo(const char* text)
{
    std::string copy(text);
    return dispatch(EffectOpcode::canDo, 0, 0, copy.data());
}

std::vector<uint8_t> VstTestHost::getChunk()
{
    void* data = nullptr;
    const intptr_t size = dispatch(EffectOpcode::getChunk, 0, 0, &data);
    if (size <= 0 || data == nullptr)
        return {};
    const auto* bytes = static_cast<const uint8_t*>(data);
    return std::vector<uint8_t>(bytes, bytes + size);
}

intptr_t VstTestHost::setChunk(const void* data, intptr_t size)
{
    return dispatch(EffectOpcode::setChunk, 0, size, const_cast<void*>(data));
}

bool VstTestHost::setSpeakerArrangement(int32_t inType, int32_t inChannels, int32_t outType, int32_t outChannels)
{
    // Head and speakers in one block, as hosts build them.
    const auto build = [](int32_t type, int32_t channels) {
        std::vector<uint8_t> block(kSpeakerArrangementHeadBytes + sizeof(VstSpeakerProperties) * (size_t) std::max(channels, 0));
        auto* head = reinterpret_cast<VstSpeakerArrangement*>(block.data());
        head->type = type;
        head->numChannels = channels;
        return block;
    };
    auto input = build(inType, inChannels);
    auto output = build(outType, outChannels);
    return dispatch(EffectOpcode::setSpeakerArrangement, 0, reinterpret_cast<intptr_t>(input.data()), output.data()) != 0;
}

std::vector<HostCall> VstTestHost::calls() const
{
    std::lock_guard<std::mutex> lock(callsLock);
    return recorded;
}

std::vector<HostCall> VstTestHost::callsWithOpcode(int32_t opcode) const
{
    std::vector<HostCall> result;
    for (const auto& c : calls())
        if (c.opcode == opcode)
            result.push_back(c);
    return result;
}

void VstTestHost::clearCalls()
{
    std::lock_guard<std::mutex> lock(callsLock);
    recorded.clear();
}

//==============================================================================
ChannelSet::ChannelSet(int numChannels, int frames)
    : numFrames(frames), data((size_t) numChannels, std::vector<float>((size_t) frames, 0.0f))
{
    for (auto& c : data)
        ptrs.push_back(c.data());
}

void ChannelSet::fill(int channelIndex, float value)
{
    std::fill(data[(size_t) channelIndex].begin(), data[(size_t) channelIndex].end(), value);
}

void ChannelSet::fillAll(float value)
{
    for (int i = 0; i < (int) data.size(); ++i)
        fill(i, value);
}
