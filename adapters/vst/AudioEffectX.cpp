#include "AudioEffectX.h"

#include "VstOpcodes.h"

#include <cstdlib>
#include <cstring>

AudioEffectX::AudioEffectX(HostCallback callback, int32_t programs, int32_t params)
    : AudioEffect(callback, programs, params)
{
}

AudioEffectX::~AudioEffectX() = default;

//==============================================================================
// Host thread, between the entry point and opcode 1. Every opcode that reads
// or writes through ptr (or value, where it carries an address) answers 0 and
// touches nothing when the host passes null.
intptr_t AudioEffectX::dispatcher(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt)
{
    auto* text = static_cast<char*>(ptr);
    const auto boolResult = [](bool b) -> intptr_t { return b ? 1 : 0; };

    switch (opcode)
    {
        case EffectOpcode::processEvents:
            return ptr != nullptr ? processEvents(static_cast<VstEvents*>(ptr)) : 0;
        case EffectOpcode::canBeAutomated:
            return boolResult(canParameterBeAutomated(index));
        case EffectOpcode::string2Parameter:
            return ptr != nullptr ? boolResult(string2parameter(index, text)) : 0;
        case EffectOpcode::getProgramNameIndexed:
            return ptr != nullptr ? boolResult(getProgramNameIndexed((int32_t) value, index, text)) : 0;
        case EffectOpcode::getInputProperties:
            return ptr != nullptr ? boolResult(getInputProperties(index, static_cast<VstPinProperties*>(ptr))) : 0;
        case EffectOpcode::getOutputProperties:
            return ptr != nullptr ? boolResult(getOutputProperties(index, static_cast<VstPinProperties*>(ptr))) : 0;
        case EffectOpcode::getPlugCategory:
            return (intptr_t) (uint32_t) getPlugCategory();
        case EffectOpcode::offlineNotify:
            return ptr != nullptr ? boolResult(offlineNotify(static_cast<VstAudioFile*>(ptr), (int32_t) value, index != 0)) : 0;
        case EffectOpcode::offlinePrepare:
            return ptr != nullptr ? boolResult(offlinePrepare(static_cast<VstOfflineTask*>(ptr), (int32_t) value)) : 0;
        case EffectOpcode::offlineRun:
            return ptr != nullptr ? boolResult(offlineRun(static_cast<VstOfflineTask*>(ptr), (int32_t) value)) : 0;
        case EffectOpcode::processVariableIo:
            return ptr != nullptr ? boolResult(processVariableIo(static_cast<VstVariableIo*>(ptr))) : 0;
        case EffectOpcode::setSpeakerArrangement:
        {
            auto* input = reinterpret_cast<VstSpeakerArrangement*>(value);
            auto* output = static_cast<VstSpeakerArrangement*>(ptr);
            return input != nullptr && output != nullptr ? boolResult(setSpeakerArrangement(input, output)) : 0;
        }
        case EffectOpcode::setBypass:
            return boolResult(setBypass(value != 0));
        case EffectOpcode::getEffectName:
            return ptr != nullptr ? boolResult(getEffectName(text)) : 0;
        case EffectOpcode::getVendorString:
            return ptr != nullptr ? boolResult(getVendorString(text)) : 0;
        case EffectOpcode::getProductString:
            return ptr != nullptr ? boolResult(getProductString(text)) : 0;
        case EffectOpcode::getVendorVersion:
            return getVendorVersion();
        case EffectOpcode::vendorSpecific:
            return vendorSpecific(index, value, ptr, opt);
        case EffectOpcode::canDo:
            return ptr != nullptr ? canDo(text) : 0;
        case EffectOpcode::getTailSize:
            return getGetTailSize();
        case EffectOpcode::getParameterProperties:
            return ptr != nullptr ? boolResult(getParameterProperties(index, static_cast<VstParameterProperties*>(ptr))) : 0;
        case EffectOpcode::getVstVersion:
            return getVstVersion();
        case EffectOpcode::editorKeyDown:
        case EffectOpcode::editorKeyUp:
        {
            if (editor == nullptr)
                return 0;
            // The modifiers travel as a float, truncated to an integer whose
            // low byte is kept; a NaN or one past the int range gives none.
            const bool inIntRange = opt > -2147483648.0f && opt < 2147483648.0f;
            const auto modifiers = inIntRange ? (uint8_t) (int32_t) opt : (uint8_t) 0;
            VstKeyRecord key { index, (uint8_t) value, modifiers };
            return boolResult(opcode == EffectOpcode::editorKeyDown ? editor->onKeyDown(key)
                                                                    : editor->onKeyUp(key));
        }
        case EffectOpcode::setEditKnobMode:
            return editor != nullptr ? boolResult(editor->setKnobMode((int32_t) value)) : 0;
        case EffectOpcode::getMidiProgramName:
            return ptr != nullptr ? getMidiProgramName(index, static_cast<MidiProgramName*>(ptr)) : 0;
        case EffectOpcode::getCurrentMidiProgram:
            return ptr != nullptr ? getCurrentMidiProgram(index, static_cast<MidiProgramName*>(ptr)) : 0;
        case EffectOpcode::getMidiProgramCategory:
            return ptr != nullptr ? getMidiProgramCategory(index, static_cast<MidiProgramCategory*>(ptr)) : 0;
        case EffectOpcode::hasMidiProgramsChanged:
            return boolResult(hasMidiProgramsChanged(index));
        case EffectOpcode::getMidiKeyName:
            return ptr != nullptr ? boolResult(getMidiKeyName(index, static_cast<MidiKeyName*>(ptr))) : 0;
        case EffectOpcode::beginSetProgram:
            return boolResult(beginSetProgram());
        case EffectOpcode::endSetProgram:
            return boolResult(endSetProgram());
        case EffectOpcode::getSpeakerArrangement:
        {
            auto** input = reinterpret_cast<VstSpeakerArrangement**>(value);
            auto** output = static_cast<VstSpeakerArrangement**>(ptr);
            return input != nullptr && output != nullptr ? boolResult(getSpeakerArrangement(input, output)) : 0;
        }
        case EffectOpcode::shellGetNextPlugin:
            return ptr != nullptr ? getNextShellPlugin(text) : 0;
        case EffectOpcode::startProcess:
            return startProcess();
        case EffectOpcode::stopProcess:
            return stopProcess();
        case EffectOpcode::setTotalSampleToProcess:
            return setTotalSampleToProcess((int32_t) value);
        case EffectOpcode::setPanLaw:
            return boolResult(setPanLaw((int32_t) value, opt));
        case EffectOpcode::beginLoadBank:
            return ptr != nullptr ? beginLoadBank(static_cast<VstPatchChunkInfo*>(ptr)) : 0;
        case EffectOpcode::beginLoadProgram:
            return ptr != nullptr ? beginLoadProgram(static_cast<VstPatchChunkInfo*>(ptr)) : 0;
        case EffectOpcode::setProcessPrecision:
            return boolResult(setProcessPrecision((int32_t) value));
        case EffectOpcode::getNumMidiInputChannels:
            return getNumMidiInputChannels();
        case EffectOpcode::getNumMidiOutputChannels:
            return getNumMidiOutputChannels();
        default:
            // 0 to 24 and the unused numbers 28, 30, 31, 32, 36, 37, 43, 46,
            // 53, 54, 55, 57: the base serves or refuses them.
            return AudioEffect::dispatcher(opcode, index, value, ptr, opt);
    }
}

void AudioEffectX::resume()
{
    char receivesMidi[] = "receiveVstMidiEvent";
    if (hasFlag(kFlagIsSynth) || canDo(receivesMidi) == 1)
        __wantEventsDeprecated(1);
}

//==============================================================================
// Neutral defaults.

bool AudioEffectX::string2parameter(int32_t, char*) { return false; }
bool AudioEffectX::getParameterProperties(int32_t, VstParameterProperties*) { return false; }
bool AudioEffectX::getProgramNameIndexed(int32_t, int32_t, char*) { return false; }
int32_t AudioEffectX::beginLoadBank(VstPatchChunkInfo*) { return 0; }
int32_t AudioEffectX::beginLoadProgram(VstPatchChunkInfo*) { return 0; }
bool AudioEffectX::getInputProperties(int32_t, VstPinProperties*) { return false; }
bool AudioEffectX::getOutputProperties(int32_t, VstPinProperties*) { return false; }
bool AudioEffectX::setSpeakerArrangement(VstSpeakerArrangement*, VstSpeakerArrangement*) { return false; }
int32_t AudioEffectX::processEvents(VstEvents*) { return 0; }
bool AudioEffectX::processVariableIo(VstVariableIo*) { return false; }
bool AudioEffectX::getEffectName(char*) { return false; }
bool AudioEffectX::getVendorString(char*) { return false; }
bool AudioEffectX::getProductString(char*) { return false; }
intptr_t AudioEffectX::vendorSpecific(int32_t, intptr_t, void*, float) { return 0; }
int32_t AudioEffectX::canDo(char*) { return 0; }
int32_t AudioEffectX::getMidiProgramName(int32_t, MidiProgramName*) { return 0; }
int32_t AudioEffectX::getCurrentMidiProgram(int32_t, MidiProgramName*) { return -1; }
int32_t AudioEffectX::getMidiProgramCategory(int32_t, MidiProgramCategory*) { return 0; }
bool AudioEffectX::hasMidiProgramsChanged(int32_t) { return false; }
bool AudioEffectX::getMidiKeyName(int32_t, MidiKeyName*) { return false; }
int32_t AudioEffectX::getNextShellPlugin(char*) { return 0; }
bool AudioEffectX::offlineNotify(VstAudioFile*, int32_t, bool) { return false; }
bool AudioEffectX::offlinePrepare(VstOfflineTask*, int32_t) { return false; }
bool AudioEffectX::offlineRun(VstOfflineTask*, int32_t) { return false; }

int32_t AudioEffectX::getPlugCategory()
{
    return hasFlag(kFlagIsSynth) ? 2 : 0;
}

bool AudioEffectX::getSpeakerArrangement(VstSpeakerArrangement** input, VstSpeakerArrangement** output)
{
    if (input != nullptr)
        *input = nullptr;
    if (output != nullptr)
        *output = nullptr;
    return false;
}

void AudioEffectX::__setBlockSizeAndSampleRateDeprecated(int32_t newBlockSize, float newSampleRate)
{
    blockSize = newBlockSize;
    sampleRate = newSampleRate;
}

//==============================================================================
// Requests to the host, each with its neutral answer when there is no callback.

bool AudioEffectX::beginEdit(int32_t index)
{
    return callHost(HostOpcode::beginEdit, index) != 0;
}

bool AudioEffectX::endEdit(int32_t index)
{
    return callHost(HostOpcode::endEdit, index) != 0;
}

bool AudioEffectX::ioChanged()
{
    return callHost(HostOpcode::ioChanged) != 0;
}

double AudioEffectX::updateSampleRate()
{
    const intptr_t reply = callHost(HostOpcode::getSampleRate);
    if (reply > 0)
        sampleRate = (float) reply;
    return sampleRate;
}

int32_t AudioEffectX::updateBlockSize()
{
    const intptr_t reply = callHost(HostOpcode::getBlockSize);
    if (reply > 0)
        blockSize = (int32_t) reply;
    return blockSize;
}

int32_t AudioEffectX::getInputLatency()
{
    return (int32_t) callHost(HostOpcode::getInputLatency);
}

int32_t AudioEffectX::getOutputLatency()
{
    return (int32_t) callHost(HostOpcode::getOutputLatency);
}

VstTimeInfo* AudioEffectX::getTimeInfo(int32_t filter)
{
    return reinterpret_cast<VstTimeInfo*>(callHost(HostOpcode::getTimeInfo, 0, filter));
}

int32_t AudioEffectX::getCurrentProcessLevel()
{
    return (int32_t) callHost(HostOpcode::getCurrentProcessLevel);
}

int32_t AudioEffectX::getAutomationState()
{
    return (int32_t) callHost(HostOpcode::getAutomationState);
}

// The host writes into text, so a null text sends nothing.
bool AudioEffectX::getHostVendorString(char* text)
{
    return text != nullptr && callHost(HostOpcode::getVendorString, 0, 0, text) != 0;
}

bool AudioEffectX::getHostProductString(char* text)
{
    return text != nullptr && callHost(HostOpcode::getProductString, 0, 0, text) != 0;
}

int32_t AudioEffectX::getHostVendorVersion()
{
    return (int32_t) callHost(HostOpcode::getVendorVersion);
}

intptr_t AudioEffectX::hostVendorSpecific(int32_t arg1, intptr_t arg2, void* ptrArg, float floatArg)
{
    return callHost(HostOpcode::vendorSpecific, arg1, arg2, ptrArg, floatArg);
}

int32_t AudioEffectX::canHostDo(char* text)
{
    // The host reads text; -1 ("cannot") counts as no, like 0 ("don't know").
    if (text == nullptr)
        return 0;
    return callHost(HostOpcode::canDo, 0, 0, text) > 0 ? 1 : 0;
}

int32_t AudioEffectX::getHostLanguage()
{
    return (int32_t) callHost(HostOpcode::getLanguage);
}

void* AudioEffectX::getDirectory()
{
    return reinterpret_cast<void*>(callHost(HostOpcode::getDirectory));
}

bool AudioEffectX::updateDisplay()
{
    return callHost(HostOpcode::updateDisplay) != 0;
}

bool AudioEffectX::sizeWindow(int32_t width, int32_t height)
{
    return callHost(HostOpcode::sizeWindow, width, height) != 0;
}

bool AudioEffectX::openFileSelector(VstFileSelect* selector)
{
    return selector != nullptr && callHost(HostOpcode::openFileSelector, 0, 0, selector) != 0;
}

bool AudioEffectX::closeFileSelector(VstFileSelect* selector)
{
    return selector != nullptr && callHost(HostOpcode::closeFileSelector, 0, 0, selector) != 0;
}

bool AudioEffectX::__getChunkFileDeprecated(void* nativePath)
{
    return nativePath != nullptr && callHost(HostOpcode::getChunkFile, 0, 0, nativePath) != 0;
}

bool AudioEffectX::offlineStart(VstAudioFile* files, int32_t numAudioFiles, int32_t numNewAudioFiles)
{
    return callHost(HostOpcode::offlineStart, numNewAudioFiles, numAudioFiles, files) != 0;
}

bool AudioEffectX::offlineRead(VstOfflineTask* offline, VstOfflineOption option, bool readSource)
{
    return callHost(HostOpcode::offlineRead, readSource ? 1 : 0, option, offline) != 0;
}

bool AudioEffectX::offlineWrite(VstOfflineTask* offline, VstOfflineOption option)
{
    return callHost(HostOpcode::offlineWrite, 0, option, offline) != 0;
}

int32_t AudioEffectX::offlineGetCurrentPass()
{
    return callHost(HostOpcode::offlineGetCurrentPass) != 0 ? 1 : 0;
}

int32_t AudioEffectX::offlineGetCurrentMetaPass()
{
    return callHost(HostOpcode::offlineGetCurrentMetaPass) != 0 ? 1 : 0;
}

void AudioEffectX::__wantEventsDeprecated(int32_t filter)
{
    callHost(HostOpcode::wantMidi, 0, filter);
}

int32_t AudioEffectX::__tempoAtDeprecated(int32_t pos)
{
    return (int32_t) callHost(HostOpcode::tempoAt, 0, pos);
}

int32_t AudioEffectX::__getNumAutomatableParametersDeprecated()
{
    return (int32_t) callHost(HostOpcode::getNumAutomatableParameters);
}

int32_t AudioEffectX::__getParameterQuantizationDeprecated()
{
    return (int32_t) callHost(HostOpcode::getParameterQuantization);
}

bool AudioEffectX::__needIdleDeprecated()
{
    return callHost(HostOpcode::needIdle) != 0;
}

AEffect* AudioEffectX::__getPreviousPlugDeprecated(int32_t)
{
    return reinterpret_cast<AEffect*>(callHost(HostOpcode::getPreviousPlug));
}

AEffect* AudioEffectX::__getNextPlugDeprecated(int32_t)
{
    return reinterpret_cast<AEffect*>(callHost(HostOpcode::getNextPlug));
}

int32_t AudioEffectX::__willProcessReplacingDeprecated()
{
    return (int32_t) callHost(HostOpcode::willReplaceOrAccumulate);
}

void AudioEffectX::__setOutputSamplerateDeprecated(float rate)
{
    callHost(HostOpcode::setOutputSampleRate, 0, 0, nullptr, rate);
}

VstSpeakerArrangement* AudioEffectX::__getInputSpeakerArrangementDeprecated()
{
    return reinterpret_cast<VstSpeakerArrangement*>(callHost(HostOpcode::getInputSpeakerArrangement));
}

VstSpeakerArrangement* AudioEffectX::__getOutputSpeakerArrangementDeprecated()
{
    return reinterpret_cast<VstSpeakerArrangement*>(callHost(HostOpcode::getOutputSpeakerArrangement));
}

void* AudioEffectX::__openWindowDeprecated(__VstWindowDeprecated* window)
{
    return reinterpret_cast<void*>(callHost(HostOpcode::openWindow, 0, 0, window));
}

bool AudioEffectX::__closeWindowDeprecated(__VstWindowDeprecated* window)
{
    return callHost(HostOpcode::closeWindow, 0, 0, window) != 0;
}

//==============================================================================
// Speaker arrangements built by the plug-in: an 8-byte head, then one
// 112-byte VstSpeakerProperties per channel.

bool AudioEffectX::allocateArrangement(VstSpeakerArrangement** arrangement, int32_t numChannels)
{
    if (arrangement == nullptr || numChannels < 0)
        return false;

    if (*arrangement != nullptr)
    {
        std::free(*arrangement);
        *arrangement = nullptr;
    }

    const size_t bytes = kSpeakerArrangementHeadBytes + sizeof(VstSpeakerProperties) * (size_t) numChannels;
    auto* block = static_cast<VstSpeakerArrangement*>(std::calloc(1, bytes));
    if (block == nullptr)
        return false;

    block->numChannels = numChannels;
    *arrangement = block;
    return true;
}

bool AudioEffectX::deallocateArrangement(VstSpeakerArrangement** arrangement)
{
    if (arrangement == nullptr)
        return false;

    if (*arrangement != nullptr)
    {
        std::free(*arrangement);
        *arrangement = nullptr;
    }
    return true;
}

bool AudioEffectX::copySpeaker(VstSpeakerProperties* to, VstSpeakerProperties* from)
{
    if (to == nullptr || from == nullptr)
        return false;

    to->azimuth = from->azimuth;
    to->elevation = from->elevation;
    to->radius = from->radius;
    to->reserved = from->reserved;
    // A name without its zero is cut to 63 characters, never read past.
    size_t n = 0;
    while (n < sizeof(to->name) - 1 && from->name[n] != 0)
    {
        to->name[n] = from->name[n];
        ++n;
    }
    std::memset(to->name + n, 0, sizeof(to->name) - n);
    to->type = from->type;
    std::memcpy(to->future, from->future, sizeof(to->future));
    return true;
}

bool AudioEffectX::matchArrangement(VstSpeakerArrangement** to, VstSpeakerArrangement* from)
{
    if (from == nullptr || to == nullptr)
        return false;

    if (!deallocateArrangement(to) || !allocateArrangement(to, from->numChannels))
        return false;

    (*to)->type = from->type;
    for (int32_t i = 0; i < from->numChannels; ++i)
        if (!copySpeaker(speakerAt(*to, i), speakerAt(from, i)))
            return false;

    return true;
}
