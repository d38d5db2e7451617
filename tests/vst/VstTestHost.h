// A VST2 host for the tests: loads the built plug-in with dlopen exactly as a
// host does, records every call the plug-in makes to its callback, and drives
// the AEffect record.
#pragma once

#include "VstRecords.h"

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

struct HostCall
{
    AEffect* effect;
    int32_t opcode;
    int32_t index;
    intptr_t value;
    float opt;
    std::string text;   // the text ptr pointed at, for canDo
};

/** The loaded shared object. One per test; unloaded by the destructor. */
class PluginLibrary
{
public:
    explicit PluginLibrary(const std::string& path);
    ~PluginLibrary();

    PluginLibrary(const PluginLibrary&) = delete;
    PluginLibrary& operator=(const PluginLibrary&) = delete;

    bool isLoaded() const { return handle != nullptr; }
    std::string error() const { return loadError; }
    void* symbol(const char* name) const;

    using EntryPoint = AEffect* (*)(HostCallback);
    EntryPoint entryPoint() const { return reinterpret_cast<EntryPoint>(symbol("VSTPluginMain")); }

private:
    void* handle = nullptr;
    std::string loadError;
};

/** One plug-in instance and the host side of it. */
class VstTestHost
{
public:
    /** Replies the host gives; set before the call they answer. */
    intptr_t versionReply = 2400;
    intptr_t processLevelReply = 1;        // 1 realtime, 4 offline
    VstTimeInfo* timeInfoReply = nullptr;

    explicit VstTestHost(const PluginLibrary& library);
    ~VstTestHost();

    VstTestHost(const VstTestHost&) = delete;
    VstTestHost& operator=(const VstTestHost&) = delete;

    /** Calls the entry point; false when it answered null. */
    bool instantiate();
    AEffect* effect() const { return aeffect; }

    intptr_t dispatch(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr, float opt = 0.0f);

    // The usual host sequence.
    void open();
    void setSampleRate(float rate);
    void setBlockSize(int32_t frames);
    void resume();
    void suspend();
    /** Opcode 1; the plug-in deletes itself and the record is gone. */
    intptr_t close();

    void process(float** inputs, float** outputs, int32_t frames);
    void setParameter(int32_t index, float value);
    float getParameter(int32_t index);

    std::string parameterName(int32_t index);
    std::string parameterDisplay(int32_t index);
    std::string textFrom(int32_t opcode, int32_t index = 0);
    intptr_t canDo(const char* text);

    /** Opcode 23: the chunk's bytes, copied out of the plug-in. */
    std::vector<uint8_t> getChunk();
    intptr_t setChunk(const void* data, intptr_t size);

    bool setSpeakerArrangement(int32_t inType, int32_t inChannels, int32_t outType, int32_t outChannels);

    std::vector<HostCall> calls() const;
    std::vector<HostCall> callsWithOpcode(int32_t opcode) const;
    void clearCalls();

private:
    static intptr_t callback(AEffect* effect, int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt);
    intptr_t answer(AEffect* effect, int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt);

    const PluginLibrary& library;
    AEffect* aeffect = nullptr;
    mutable std::mutex callsLock;
    std::vector<HostCall> recorded;
};

/** Channel storage for process(): separate, zeroed channels of one length. */
class ChannelSet
{
public:
    ChannelSet(int numChannels, int numFrames);

    float** pointers() { return ptrs.data(); }
    float* channel(int i) { return ptrs[(size_t) i]; }
    void fill(int channelIndex, float value);
    void fillAll(float value);
    int frames() const { return numFrames; }

private:
    int numFrames;
    std::vector<std::vector<float>> data;
    std::vector<float*> ptrs;
};
