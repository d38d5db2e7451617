#include "AudioEffect.h"

#include "VstOpcodes.h"
#include "VstText.h"

#include <cmath>
#include <cstring>

AudioEffect::AudioEffect(HostCallback callback, int32_t programs, int32_t params)
    : hostCallback(callback),
      editor(nullptr),
      sampleRate(44100.0f),
      blockSize(1024),
      numPrograms(programs),
      numParams(params),
      curProgram(0)
{
    std::memset(&effectRecord, 0, sizeof(effectRecord));
    effectRecord.magic = kEffectMagic;
    effectRecord.dispatcher = dispatchEffectClass;
    effectRecord.processDeprecated = __processClassDeprecated;
    effectRecord.setParameter = setParameterClass;
    effectRecord.getParameter = getParameterClass;
    effectRecord.numPrograms = programs;
    effectRecord.numParams = params;
    effectRecord.numInputs = 1;
    effectRecord.numOutputs = 2;
    effectRecord.flags = kFlagCanReplacing;
    effectRecord.ioRatio = 1.0f;
    effectRecord.object = this;
    effectRecord.uniqueID = kNoEffectUniqueID;
    effectRecord.version = 1;
    effectRecord.processReplacing = processClassReplacing;
    effectRecord.processDoubleReplacing = processClassDoubleReplacing;
}

AudioEffect::~AudioEffect()
{
    delete editor;
}

void AudioEffect::setFlag(int32_t bit, bool state) noexcept
{
    if (state)
        effectRecord.flags |= bit;
    else
        effectRecord.flags &= ~bit;
}

intptr_t AudioEffect::callHost(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt)
{
    if (hostCallback == nullptr)
        return 0;
    return hostCallback(&effectRecord, opcode, index, value, ptr, opt);
}

//==============================================================================
// Host thread, between the entry point and opcode 1. Every opcode that writes
// through ptr answers 0 and writes nothing when the host passes null.
intptr_t AudioEffect::dispatcher(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt)
{
    auto* text = static_cast<char*>(ptr);

    switch (opcode)
    {
        case EffectOpcode::open:
            open();
            return 0;
        case EffectOpcode::close:
            close();
            return 0;
        case EffectOpcode::setProgram:
            if ((int32_t) value < numPrograms)
                setProgram((int32_t) value);
            return 0;
        case EffectOpcode::getProgram:
            return getProgram();
        case EffectOpcode::setProgramName:
            if (text != nullptr)
                setProgramName(text);
            return 0;
        case EffectOpcode::getProgramName:
            if (text != nullptr)
                getProgramName(text);
            return 0;
        case EffectOpcode::getParameterLabel:
            if (text != nullptr)
                getParameterLabel(index, text);
            return 0;
        case EffectOpcode::getParameterDisplay:
            if (text != nullptr)
                getParameterDisplay(index, text);
            return 0;
        case EffectOpcode::getParameterName:
            if (text != nullptr)
                getParameterName(index, text);
            return 0;
        case EffectOpcode::setSampleRate:
            setSampleRate(opt);
            return 0;
        case EffectOpcode::setBlockSize:
            setBlockSize((int32_t) value);
            return 0;
        case EffectOpcode::suspendResume:
            if (value != 0)
                resume();
            else
                suspend();
            return 0;
        case EffectOpcode::editorGetRect:
            if (editor == nullptr || ptr == nullptr)
                return 0;
            return editor->getRect(static_cast<VstRect**>(ptr)) ? 1 : 0;
        case EffectOpcode::editorOpen:
            return editor != nullptr && editor->open(ptr) ? 1 : 0;
        case EffectOpcode::editorClose:
            if (editor != nullptr)
                editor->close();
            return 0;
        case EffectOpcode::editorIdle:
            if (editor != nullptr)
                editor->idle();
            return 0;
        case EffectOpcode::identify:
            return kIdentifyReply;
        case EffectOpcode::getChunk:
            if (ptr == nullptr)
                return 0;
            return getChunk(static_cast<void**>(ptr), index != 0);
        case EffectOpcode::setChunk:
            return setChunk(ptr, (int32_t) value, index != 0);
        default:
            return 0;
    }
}

intptr_t AudioEffect::dispatchEffectClass(AEffect* effect, int32_t opcode, int32_t index,
                                          intptr_t value, void* ptr, float opt)
{
    if (effect == nullptr || effect->object == nullptr)
        return 0;

    auto* self = static_cast<AudioEffect*>(effect->object);

    intptr_t result = 0;

    try
    {
        result = self->dispatcher(opcode, index, value, ptr, opt);
    }
    catch (...)
    {
        // Nothing may be thrown into the host.
        result = 0;
    }

    if (opcode == EffectOpcode::close)
    {
        // The host lets go of the record after close, whatever close did.
        delete self;
        return 1;
    }

    return result;
}

float AudioEffect::getParameterClass(AEffect* effect, int32_t index)
{
    if (effect == nullptr || effect->object == nullptr)
        return 0.0f;

    try
    {
        return static_cast<AudioEffect*>(effect->object)->getParameter(index);
    }
    catch (...)
    {
        return 0.0f;
    }
}

void AudioEffect::setParameterClass(AEffect* effect, int32_t index, float value)
{
    if (effect == nullptr || effect->object == nullptr)
        return;

    try
    {
        static_cast<AudioEffect*>(effect->object)->setParameter(index, value);
    }
    catch (...)
    {
    }
}

void AudioEffect::processClassReplacing(AEffect* effect, float** inputs, float** outputs, int32_t frames)
{
    if (effect == nullptr || effect->object == nullptr)
        return;

    try
    {
        static_cast<AudioEffect*>(effect->object)->processReplacing(inputs, outputs, frames);
    }
    catch (...)
    {
    }
}

void AudioEffect::processClassDoubleReplacing(AEffect* effect, double** inputs, double** outputs, int32_t frames)
{
    if (effect == nullptr || effect->object == nullptr)
        return;

    try
    {
        static_cast<AudioEffect*>(effect->object)->processDoubleReplacing(inputs, outputs, frames);
    }
    catch (...)
    {
    }
}

void AudioEffect::__processClassDeprecated(AEffect* effect, float** inputs, float** outputs, int32_t frames)
{
    if (effect == nullptr || effect->object == nullptr)
        return;

    try
    {
        static_cast<AudioEffect*>(effect->object)->__processDeprecated(inputs, outputs, frames);
    }
    catch (...)
    {
    }
}

//==============================================================================
void AudioEffect::processDoubleReplacing(double**, double**, int32_t) {}
void AudioEffect::__processDeprecated(float**, float**, int32_t) {}
void AudioEffect::setParameter(int32_t, float) {}
float AudioEffect::getParameter(int32_t) { return 0.0f; }
void AudioEffect::setProgramName(char*) {}
int32_t AudioEffect::getChunk(void**, bool) { return 0; }
int32_t AudioEffect::setChunk(void*, int32_t, bool) { return 0; }

void AudioEffect::getProgramName(char* name)
{
    if (name != nullptr)
        name[0] = 0;
}

void AudioEffect::getParameterLabel(int32_t, char* label)
{
    if (label != nullptr)
        label[0] = 0;
}

void AudioEffect::getParameterDisplay(int32_t, char* text)
{
    if (text != nullptr)
        text[0] = 0;
}

void AudioEffect::getParameterName(int32_t, char* text)
{
    if (text != nullptr)
        text[0] = 0;
}

//==============================================================================
// Requests to the host; each answers its neutral value without a callback.

void AudioEffect::setParameterAutomated(int32_t index, float value)
{
    setParameter(index, value);
    callHost(HostOpcode::automate, index, 0, nullptr, value);
}

int32_t AudioEffect::getMasterVersion()
{
    const auto reply = (int32_t) callHost(HostOpcode::version);
    return reply != 0 ? reply : 1;
}

int32_t AudioEffect::getCurrentUniqueId()
{
    return (int32_t) callHost(HostOpcode::currentId);
}

void AudioEffect::masterIdle()
{
    callHost(HostOpcode::idle);
}

bool AudioEffect::__isInputConnectedDeprecated(int32_t input)
{
    return callHost(HostOpcode::pinConnected, input, 0) == 0;
}

bool AudioEffect::__isOutputConnectedDeprecated(int32_t output)
{
    return callHost(HostOpcode::pinConnected, output, 1) == 0;
}

//==============================================================================
void AudioEffect::dB2string(float value, char* text, int32_t maxLen)
{
    // NaN is no level above 0 either.
    if (!(value > 0.0f))
        VstText::copy("-oo", text, maxLen);
    else
        float2string((float) (20.0 * std::log10((double) value)), text, maxLen);
}

void AudioEffect::Hz2string(float samples, char* text, int32_t maxLen)
{
    float2string(samples != 0.0f ? sampleRate / samples : 0.0f, text, maxLen);
}

void AudioEffect::ms2string(float samples, char* text, int32_t maxLen)
{
    float2string((float) ((double) samples * 1000.0 / (double) sampleRate), text, maxLen);
}

void AudioEffect::float2string(float value, char* text, int32_t maxLen)
{
    VstText::copy(VstText::formatFloat(value).data(), text, maxLen);
}

void AudioEffect::int2string(int32_t value, char* text, int32_t maxLen)
{
    VstText::copy(VstText::formatInt(value).data(), text, maxLen);
}
