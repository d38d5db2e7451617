// The plug-in side of the VST 2.4 interface, first layer: the effect that owns
// the AEffect record, turns the host's calls through it into virtual
// operations, and gives every operation a neutral default.
#pragma once

#include "VstRecords.h"

/** An editor object an effect may own. This system never sets one (its
    adapter answers the editor opcodes itself); the dispatcher forwards to it
    when one is there. */
class EffectEditor
{
public:
    virtual ~EffectEditor() = default;

    virtual bool getRect(VstRect** rect) { (void) rect; return false; }
    virtual bool open(void* parentWindow) { (void) parentWindow; return false; }
    virtual void close() {}
    virtual void idle() {}
    virtual bool onKeyDown(VstKeyRecord& key) { (void) key; return false; }
    virtual bool onKeyUp(VstKeyRecord& key) { (void) key; return false; }
    virtual bool setKnobMode(int32_t mode) { (void) mode; return false; }
};

class AudioEffect
{
public:
    AudioEffect(HostCallback hostCallback, int32_t numPrograms, int32_t numParams);
    virtual ~AudioEffect();

    AudioEffect(const AudioEffect&) = delete;
    AudioEffect& operator=(const AudioEffect&) = delete;

    /** Serves opcodes 0 to 24; anything else answers 0. */
    virtual intptr_t dispatcher(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt);

    virtual void open() {}
    virtual void close() {}
    virtual void suspend() {}
    virtual void resume() {}
    virtual void setSampleRate(float newSampleRate) { sampleRate = newSampleRate; }
    virtual void setBlockSize(int32_t newBlockSize) { blockSize = newBlockSize; }
    virtual void processReplacing(float** inputs, float** outputs, int32_t frames) = 0;
    virtual void processDoubleReplacing(double** inputs, double** outputs, int32_t frames);
    virtual void setParameter(int32_t index, float value);
    virtual float getParameter(int32_t index);
    virtual void setParameterAutomated(int32_t index, float value);
    virtual int32_t getProgram() { return curProgram; }
    virtual void setProgram(int32_t program) { curProgram = program; }
    virtual void setProgramName(char* name);
    virtual void getProgramName(char* name);
    virtual void getParameterLabel(int32_t index, char* label);
    virtual void getParameterDisplay(int32_t index, char* text);
    virtual void getParameterName(int32_t index, char* text);
    virtual int32_t getChunk(void** data, bool isPreset);
    virtual int32_t setChunk(void* data, int32_t byteSize, bool isPreset);
    virtual void setUniqueID(int32_t id) { effectRecord.uniqueID = id; }
    virtual void setNumInputs(int32_t inputs) { effectRecord.numInputs = inputs; }
    virtual void setNumOutputs(int32_t outputs) { effectRecord.numOutputs = outputs; }
    virtual void canProcessReplacing(bool state) { setFlag(kFlagCanReplacing, state); }
    virtual void canDoubleReplacing(bool state) { setFlag(kFlagCanDoubleReplacing, state); }
    virtual void programsAreChunks(bool state) { setFlag(kFlagProgramChunks, state); }
    virtual void setInitialDelay(int32_t delay) { effectRecord.initialDelay = delay; }
    virtual EffectEditor* getEditor() { return editor; }
    virtual AEffect* getAeffect() { return &effectRecord; }
    virtual float getSampleRate() { return sampleRate; }
    virtual int32_t getBlockSize() { return blockSize; }
    virtual int32_t getMasterVersion();
    virtual int32_t getCurrentUniqueId();
    virtual void masterIdle();

    // Number-to-text helpers: each writes at most maxLen characters and a zero
    // at byte maxLen, so the buffer needs maxLen + 1 bytes.
    virtual void dB2string(float value, char* text, int32_t maxLen);
    virtual void Hz2string(float samples, char* text, int32_t maxLen);
    virtual void ms2string(float samples, char* text, int32_t maxLen);
    virtual void float2string(float value, char* text, int32_t maxLen);
    virtual void int2string(int32_t value, char* text, int32_t maxLen);

    virtual void __processDeprecated(float** inputs, float** outputs, int32_t frames);
    virtual float __getVuDeprecated() { return 0.0f; }
    virtual void __hasVuDeprecated(bool state) { setFlag(kFlagHasVu, state); }
    virtual void __hasClipDeprecated(bool state) { setFlag(kFlagHasClip, state); }
    virtual void __canMonoDeprecated(bool state) { setFlag(kFlagCanMono, state); }
    virtual void __setRealtimeQualitiesDeprecated(int32_t qualities) { effectRecord.realQualities = qualities; }
    virtual void __setOfflineQualitiesDeprecated(int32_t qualities) { effectRecord.offQualities = qualities; }
    virtual bool __isInputConnectedDeprecated(int32_t input);
    virtual bool __isOutputConnectedDeprecated(int32_t output);

    // The record's entries: each finds the effect through the record and
    // calls its virtual operation. A record without an effect answers 0.
    static intptr_t dispatchEffectClass(AEffect* effect, int32_t opcode, int32_t index,
                                        intptr_t value, void* ptr, float opt);
    static float getParameterClass(AEffect* effect, int32_t index);
    static void setParameterClass(AEffect* effect, int32_t index, float value);
    static void processClassReplacing(AEffect* effect, float** inputs, float** outputs, int32_t frames);
    static void processClassDoubleReplacing(AEffect* effect, double** inputs, double** outputs, int32_t frames);
    static void __processClassDeprecated(AEffect* effect, float** inputs, float** outputs, int32_t frames);

protected:
    void setFlag(int32_t bit, bool state) noexcept;
    bool hasFlag(int32_t bit) const noexcept { return (effectRecord.flags & bit) != 0; }

    /** The host callback, or 0 when there is none. */
    intptr_t callHost(int32_t opcode, int32_t index = 0, intptr_t value = 0,
                      void* ptr = nullptr, float opt = 0.0f);

    HostCallback hostCallback;  // may be null
    EffectEditor* editor;       // owned, may be null
    float sampleRate;           // Hz
    int32_t blockSize;          // samples
    int32_t numPrograms;
    int32_t numParams;
    int32_t curProgram;
    AEffect effectRecord;
};
