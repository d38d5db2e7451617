// The plug-in side of the VST 2.4 interface, second layer: the extended
// opcodes 25 to 79 with their defaults, and a named operation for every
// request to the host.
#pragma once

#include "AudioEffect.h"

class AudioEffectX : public AudioEffect
{
public:
    AudioEffectX(HostCallback hostCallback, int32_t numPrograms, int32_t numParams);
    ~AudioEffectX() override;

    /** Serves opcodes 25 to 79 and hands everything else to AudioEffect. */
    intptr_t dispatcher(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) override;

    /** Asks the host for events only for a synthesiser or an effect that says
        it receives MIDI. */
    void resume() override;

    virtual bool canParameterBeAutomated(int32_t index) { (void) index; return true; }
    virtual bool string2parameter(int32_t index, char* text);
    virtual bool getParameterProperties(int32_t index, VstParameterProperties* properties);
    virtual bool beginEdit(int32_t index);
    virtual bool endEdit(int32_t index);
    virtual bool getProgramNameIndexed(int32_t category, int32_t index, char* text);
    virtual bool beginSetProgram() { return false; }
    virtual bool endSetProgram() { return false; }
    virtual int32_t beginLoadBank(VstPatchChunkInfo* info);
    virtual int32_t beginLoadProgram(VstPatchChunkInfo* info);
    virtual bool ioChanged();
    virtual double updateSampleRate();
    virtual int32_t updateBlockSize();
    virtual int32_t getInputLatency();
    virtual int32_t getOutputLatency();
    virtual bool getInputProperties(int32_t index, VstPinProperties* properties);
    virtual bool getOutputProperties(int32_t index, VstPinProperties* properties);
    virtual bool setSpeakerArrangement(VstSpeakerArrangement* input, VstSpeakerArrangement* output);
    virtual bool getSpeakerArrangement(VstSpeakerArrangement** input, VstSpeakerArrangement** output);
    virtual bool setBypass(bool onOff) { (void) onOff; return false; }
    virtual bool setPanLaw(int32_t type, float value) { (void) type; (void) value; return false; }
    virtual bool setProcessPrecision(int32_t precision) { (void) precision; return false; }
    virtual int32_t getNumMidiInputChannels() { return 0; }
    virtual int32_t getNumMidiOutputChannels() { return 0; }
    virtual VstTimeInfo* getTimeInfo(int32_t filter);
    virtual int32_t getCurrentProcessLevel();
    virtual int32_t getAutomationState();
    virtual int32_t processEvents(VstEvents* events);
    virtual int32_t startProcess() { return 0; }
    virtual int32_t stopProcess() { return 0; }
    virtual bool processVariableIo(VstVariableIo* io);
    virtual int32_t setTotalSampleToProcess(int32_t value) { return value; }
    virtual bool getHostVendorString(char* text);
    virtual bool getHostProductString(char* text);
    virtual int32_t getHostVendorVersion();
    virtual intptr_t hostVendorSpecific(int32_t arg1, intptr_t arg2, void* ptrArg, float floatArg);
    virtual int32_t canHostDo(char* text);
    virtual int32_t getHostLanguage();
    virtual void isSynth(bool state = true) { setFlag(kFlagIsSynth, state); }
    virtual void noTail(bool state = true) { setFlag(kFlagNoSoundInStop, state); }
    virtual int32_t getGetTailSize() { return 0; }
    virtual void* getDirectory();
    virtual bool getEffectName(char* name);
    virtual bool getVendorString(char* text);
    virtual bool getProductString(char* text);
    virtual int32_t getVendorVersion() { return 0; }
    virtual intptr_t vendorSpecific(int32_t index, intptr_t value, void* ptr, float opt);
    virtual int32_t canDo(char* text);
    virtual int32_t getVstVersion() { return 2400; }
    virtual int32_t getPlugCategory();
    virtual int32_t getMidiProgramName(int32_t channel, MidiProgramName* name);
    virtual int32_t getCurrentMidiProgram(int32_t channel, MidiProgramName* current);
    virtual int32_t getMidiProgramCategory(int32_t channel, MidiProgramCategory* category);
    virtual bool hasMidiProgramsChanged(int32_t channel);
    virtual bool getMidiKeyName(int32_t channel, MidiKeyName* keyName);
    virtual bool updateDisplay();
    virtual bool sizeWindow(int32_t width, int32_t height);
    virtual bool openFileSelector(VstFileSelect* selector);
    virtual bool closeFileSelector(VstFileSelect* selector);
    virtual int32_t getNextShellPlugin(char* name);
    virtual bool allocateArrangement(VstSpeakerArrangement** arrangement, int32_t numChannels);
    virtual bool deallocateArrangement(VstSpeakerArrangement** arrangement);
    virtual bool copySpeaker(VstSpeakerProperties* to, VstSpeakerProperties* from);
    virtual bool matchArrangement(VstSpeakerArrangement** to, VstSpeakerArrangement* from);
    virtual bool offlineRead(VstOfflineTask* offline, VstOfflineOption option, bool readSource = true);
    virtual bool offlineWrite(VstOfflineTask* offline, VstOfflineOption option);
    virtual bool offlineStart(VstAudioFile* files, int32_t numAudioFiles, int32_t numNewAudioFiles);
    virtual int32_t offlineGetCurrentPass();
    virtual int32_t offlineGetCurrentMetaPass();
    virtual bool offlineNotify(VstAudioFile* files, int32_t numAudioFiles, bool start);
    virtual bool offlinePrepare(VstOfflineTask* offline, int32_t count);
    virtual bool offlineRun(VstOfflineTask* offline, int32_t count);
    virtual int32_t offlineGetNumPasses() { return 0; }
    virtual int32_t offlineGetNumMetaPasses() { return 0; }

    virtual void __wantEventsDeprecated(int32_t filter = 1);
    virtual int32_t __tempoAtDeprecated(int32_t pos);
    virtual int32_t __getNumAutomatableParametersDeprecated();
    virtual int32_t __getParameterQuantizationDeprecated();
    virtual int32_t __getNumCategoriesDeprecated() { return 1; }
    virtual bool __copyProgramDeprecated(int32_t destination) { (void) destination; return false; }
    virtual bool __needIdleDeprecated();
    virtual AEffect* __getPreviousPlugDeprecated(int32_t input);
    virtual AEffect* __getNextPlugDeprecated(int32_t output);
    virtual void __inputConnectedDeprecated(int32_t index, bool state) { (void) index; (void) state; }
    virtual void __outputConnectedDeprecated(int32_t index, bool state) { (void) index; (void) state; }
    virtual int32_t __willProcessReplacingDeprecated();
    virtual void __wantAsyncOperationDeprecated(bool state = true) { setFlag(kFlagExtIsAsync, state); }
    virtual void __hasExternalBufferDeprecated(bool state = true) { setFlag(kFlagExtHasBuffer, state); }
    virtual int32_t __reportCurrentPositionDeprecated() { return 0; }
    virtual float* __reportDestinationBufferDeprecated() { return nullptr; }
    virtual void __setOutputSamplerateDeprecated(float rate);
    virtual VstSpeakerArrangement* __getInputSpeakerArrangementDeprecated();
    virtual VstSpeakerArrangement* __getOutputSpeakerArrangementDeprecated();
    virtual void* __openWindowDeprecated(__VstWindowDeprecated* window);
    virtual bool __closeWindowDeprecated(__VstWindowDeprecated* window);
    virtual void __setBlockSizeAndSampleRateDeprecated(int32_t newBlockSize, float newSampleRate);
    virtual bool __getErrorTextDeprecated(char* text) { (void) text; return false; }
    virtual void* __getIconDeprecated() { return nullptr; }
    virtual bool __setViewPositionDeprecated(int32_t x, int32_t y) { (void) x; (void) y; return false; }
    virtual int32_t __fxIdleDeprecated() { return 0; }
    virtual bool __keysRequiredDeprecated() { return false; }
    virtual bool __getChunkFileDeprecated(void* nativePath);
};
