// The effect base classes on their own: the record they build, the
// dispatcher tables, and every request to the host with and without a host.
#include "AudioEffectX.h"
#include "VstOpcodes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace
{
struct Call
{
    AEffect* effect;
    int32_t opcode, index;
    intptr_t value;
    void* ptr;
    float opt;
};

std::vector<Call> hostCalls;
std::map<int32_t, intptr_t> hostReplies;

intptr_t recordingHost(AEffect* effect, int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt)
{
    hostCalls.push_back({ effect, opcode, index, value, ptr, opt });
    auto it = hostReplies.find(opcode);
    return it != hostReplies.end() ? it->second : 0;
}

class RecordingEditor : public EffectEditor
{
public:
    explicit RecordingEditor(std::vector<std::string>& l) : log(l) {}
    bool getRect(VstRect** r) override { *r = &rect; log.push_back("getRect"); return true; }
    bool open(void*) override { log.push_back("editorOpen"); return true; }
    void close() override { log.push_back("editorClose"); }
    void idle() override { log.push_back("idle"); }
    bool onKeyDown(VstKeyRecord& k) override { lastKey = k; log.push_back("keyDown"); return true; }
    bool onKeyUp(VstKeyRecord& k) override { lastKey = k; log.push_back("keyUp"); return true; }
    bool setKnobMode(int32_t m) override { log.push_back("knob " + std::to_string(m)); return true; }

    VstRect rect { 1, 2, 3, 4 };
    VstKeyRecord lastKey {};
    std::vector<std::string>& log;
};

class ProbeEffect : public AudioEffectX
{
public:
    ProbeEffect(HostCallback cb, int32_t programs, int32_t params) : AudioEffectX(cb, programs, params) {}
    ~ProbeEffect() override { ++destroyed; }

    void processReplacing(float**, float**, int32_t) override {}
    void open() override
    {
        log.push_back("open");
        if (throwOnOpen)
            throw std::runtime_error("open failed");
    }
    void close() override { log.push_back("close"); }
    void suspend() override { log.push_back("suspend"); }
    void resume() override { log.push_back("resume"); AudioEffectX::resume(); }
    void setProgram(int32_t p) override { log.push_back("setProgram " + std::to_string(p)); AudioEffectX::setProgram(p); }
    void setParameter(int32_t i, float v) override { log.push_back("setParameter " + std::to_string(i)); lastValue = v; }
    void setProgramName(char*) override { log.push_back("setProgramName"); }
    void getProgramName(char* t) override { log.push_back("getProgramName"); AudioEffectX::getProgramName(t); }
    void getParameterName(int32_t i, char* t) override { log.push_back("getParameterName"); AudioEffectX::getParameterName(i, t); }
    int32_t getChunk(void**, bool) override { log.push_back("getChunk"); return 0; }
    bool getEffectName(char*) override { log.push_back("getEffectName"); return true; }
    int32_t canDo(char* t) override { log.push_back(std::string("canDo ") + (t ? t : "")); return canDoAnswer; }
    bool getInputProperties(int32_t, VstPinProperties*) override { log.push_back("pin"); return true; }
    bool setSpeakerArrangement(VstSpeakerArrangement*, VstSpeakerArrangement*) override { log.push_back("arrangement"); return true; }
    int32_t getPlugCategory() override { return category; }

    void installEditor() { editor = new RecordingEditor(log); }
    RecordingEditor* recordingEditor() { return static_cast<RecordingEditor*>(editor); }
    bool flag(int32_t bit) const { return hasFlag(bit); }
    intptr_t call(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr, float opt = 0)
    {
        return AudioEffect::dispatchEffectClass(getAeffect(), opcode, index, value, ptr, opt);
    }

    std::vector<std::string> log;
    float lastValue = 0;
    int32_t canDoAnswer = 0;
    int32_t category = 0;
    bool throwOnOpen = false;
    static int destroyed;
};

int ProbeEffect::destroyed = 0;

class EffectTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        hostCalls.clear();
        hostReplies.clear();
        effect = new ProbeEffect(recordingHost, 3, 12);
    }
    void TearDown() override { delete effect; }

    ProbeEffect* effect = nullptr;
};

bool bytesAreZero(const AEffect* e, size_t from, size_t to)
{
    const auto* b = reinterpret_cast<const uint8_t*>(e);
    for (size_t i = from; i < to; ++i)
        if (b[i] != 0)
            return false;
    return true;
}
} // namespace

TEST_F(EffectTest, ConstructorWritesTheRecord)
{
    const AEffect* e = effect->getAeffect();
    EXPECT_EQ(e->magic, 0x56737450);
    EXPECT_EQ(e->dispatcher, &AudioEffect::dispatchEffectClass);
    EXPECT_EQ(e->processDeprecated, &AudioEffect::__processClassDeprecated);
    EXPECT_EQ(e->setParameter, &AudioEffect::setParameterClass);
    EXPECT_EQ(e->getParameter, &AudioEffect::getParameterClass);
    EXPECT_EQ(e->processReplacing, &AudioEffect::processClassReplacing);
    EXPECT_EQ(e->processDoubleReplacing, &AudioEffect::processClassDoubleReplacing);
    EXPECT_EQ(e->numPrograms, 3);
    EXPECT_EQ(e->numParams, 12);
    EXPECT_EQ(e->numInputs, 1);
    EXPECT_EQ(e->numOutputs, 2);
    EXPECT_EQ(e->flags, 0x10) << "replacing only";
    EXPECT_EQ(e->initialDelay, 0);
    EXPECT_EQ(e->ioRatio, 1.0f);
    EXPECT_EQ(e->object, static_cast<AudioEffect*>(effect));
    EXPECT_EQ(e->uniqueID, 0x4E6F4566) << "'NoEf'";
    EXPECT_EQ(e->version, 1);
    EXPECT_TRUE(bytesAreZero(e, 60, 80)) << "padding and unused bytes";
    EXPECT_TRUE(bytesAreZero(e, 84, 92)) << "qualities";
    EXPECT_TRUE(bytesAreZero(e, 104, 112)) << "user pointer";
    EXPECT_TRUE(bytesAreZero(e, 136, 192)) << "future bytes";
    EXPECT_EQ(effect->getSampleRate(), 44100.0f);
    EXPECT_EQ(effect->getBlockSize(), 1024);
}

TEST_F(EffectTest, FlagOperationsSetAndClearTheirBit)
{
    const struct { const char* name; void (*op)(ProbeEffect&, bool); int32_t bit; } cases[] = {
        { "canProcessReplacing", [](ProbeEffect& e, bool s) { e.canProcessReplacing(s); }, 0x10 },
        { "programsAreChunks", [](ProbeEffect& e, bool s) { e.programsAreChunks(s); }, 0x20 },
        { "isSynth", [](ProbeEffect& e, bool s) { e.isSynth(s); }, 0x100 },
        { "noTail", [](ProbeEffect& e, bool s) { e.noTail(s); }, 0x200 },
        { "canDoubleReplacing", [](ProbeEffect& e, bool s) { e.canDoubleReplacing(s); }, 0x1000 },
        { "__hasClipDeprecated", [](ProbeEffect& e, bool s) { e.__hasClipDeprecated(s); }, 0x2 },
        { "__hasVuDeprecated", [](ProbeEffect& e, bool s) { e.__hasVuDeprecated(s); }, 0x4 },
        { "__canMonoDeprecated", [](ProbeEffect& e, bool s) { e.__canMonoDeprecated(s); }, 0x8 },
        { "__wantAsyncOperationDeprecated", [](ProbeEffect& e, bool s) { e.__wantAsyncOperationDeprecated(s); }, 0x400 },
        { "__hasExternalBufferDeprecated", [](ProbeEffect& e, bool s) { e.__hasExternalBufferDeprecated(s); }, 0x800 },
    };
    for (const auto& c : cases)
    {
        const int32_t before = effect->getAeffect()->flags;
        c.op(*effect, true);
        EXPECT_EQ(effect->getAeffect()->flags, before | c.bit) << c.name << "(true)";
        c.op(*effect, false);
        EXPECT_EQ(effect->getAeffect()->flags, before & ~c.bit) << c.name << "(false)";
    }
}

TEST_F(EffectTest, CloseDeletesTheEffectAndAnswersOne)
{
    auto* doomed = new ProbeEffect(recordingHost, 0, 0);
    const int before = ProbeEffect::destroyed;
    EXPECT_EQ(AudioEffect::dispatchEffectClass(doomed->getAeffect(), EffectOpcode::close, 0, 0, nullptr, 0), 1);
    EXPECT_EQ(ProbeEffect::destroyed, before + 1);
}

TEST_F(EffectTest, SetProgramOnlyBelowTheProgramCount)
{
    effect->call(EffectOpcode::setProgram, 0, 2);
    effect->call(EffectOpcode::setProgram, 0, 3);
    effect->call(EffectOpcode::setProgram, 0, -1);
    EXPECT_EQ(effect->log, (std::vector<std::string> { "setProgram 2", "setProgram -1" }));

    ProbeEffect none(recordingHost, 0, 0);
    none.call(EffectOpcode::setProgram, 0, 0);
    none.call(EffectOpcode::setProgram, 0, -2);
    EXPECT_EQ(none.log, (std::vector<std::string> { "setProgram -2" })) << "with 0 programs only negatives pass";
}

TEST_F(EffectTest, DispatcherAnswers)
{
    char text[32];
    const struct { int32_t opcode; intptr_t value; void* ptr; intptr_t expected; } cases[] = {
        { EffectOpcode::identify, 0, nullptr, 0x4E764566 },
        { EffectOpcode::getVstVersion, 0, nullptr, 2400 },
        { EffectOpcode::getCurrentMidiProgram, 0, text, -1 },
        { EffectOpcode::setTotalSampleToProcess, 4410, nullptr, 4410 },
        { EffectOpcode::canBeAutomated, 0, nullptr, 1 },
        { EffectOpcode::startProcess, 0, nullptr, 0 },
        { EffectOpcode::getVendorVersion, 0, nullptr, 0 },
        { EffectOpcode::getTailSize, 0, nullptr, 0 },
        { EffectOpcode::getNumMidiInputChannels, 0, nullptr, 0 },
        { EffectOpcode::setBypass, 1, nullptr, 0 },
        { 28, 0, nullptr, 0 }, { 43, 0, nullptr, 0 }, { 57, 0, nullptr, 0 },
        { 80, 0, nullptr, 0 }, { -1, 0, nullptr, 0 }, { 0x7fffffff, 0, nullptr, 0 },
    };
    for (const auto& c : cases)
        EXPECT_EQ(effect->call(c.opcode, 0, c.value, c.ptr), c.expected) << "opcode " << c.opcode;
}

TEST_F(EffectTest, CategoryIsZeroExtendedAndFollowsTheSynthFlag)
{
    ProbeEffect plain(recordingHost, 0, 0);
    EXPECT_EQ(plain.AudioEffectX::getPlugCategory(), 0);
    plain.isSynth(true);
    EXPECT_EQ(plain.AudioEffectX::getPlugCategory(), 2);

    effect->category = -1;
    EXPECT_EQ(effect->call(EffectOpcode::getPlugCategory), (intptr_t) 0xFFFFFFFFu);
}

TEST_F(EffectTest, SampleRateBlockSizeAndSuspendResume)
{
    effect->call(EffectOpcode::setSampleRate, 0, 0, nullptr, 96000.0f);
    effect->call(EffectOpcode::setBlockSize, 0, 256);
    EXPECT_EQ(effect->getSampleRate(), 96000.0f);
    EXPECT_EQ(effect->getBlockSize(), 256);

    effect->call(EffectOpcode::suspendResume, 0, 7);
    effect->call(EffectOpcode::suspendResume, 0, 0);
    EXPECT_EQ(effect->log, (std::vector<std::string> { "resume", "canDo receiveVstMidiEvent", "suspend" }));
}

TEST_F(EffectTest, ResumeAsksForEventsOnlyForASynthOrAMidiReceiver)
{
    const struct { bool synth; int32_t canDo; bool asks; } cases[] = {
        { false, 0, false }, { false, -1, false }, { false, 2, false }, { false, 1, true }, { true, 0, true },
    };
    for (const auto& c : cases)
    {
        hostCalls.clear();
        effect->isSynth(c.synth);
        effect->canDoAnswer = c.canDo;
        effect->call(EffectOpcode::suspendResume, 0, 1);
        const bool asked = !hostCalls.empty() && hostCalls.back().opcode == HostOpcode::wantMidi && hostCalls.back().value == 1;
        EXPECT_EQ(asked, c.asks) << "synth " << c.synth << ", canDo " << c.canDo;
    }
}

TEST_F(EffectTest, EditorOpcodesReachTheEditorObject)
{
    EXPECT_EQ(effect->call(EffectOpcode::editorOpen), 0) << "no editor object";
    EXPECT_EQ(effect->call(EffectOpcode::editorKeyDown, 65), 0);

    effect->installEditor();
    VstRect* rect = nullptr;
    EXPECT_EQ(effect->call(EffectOpcode::editorGetRect, 0, 0, &rect), 1);
    EXPECT_EQ(rect, &effect->recordingEditor()->rect);
    EXPECT_EQ(effect->call(EffectOpcode::editorOpen), 1);
    EXPECT_EQ(effect->call(EffectOpcode::editorClose), 0);
    EXPECT_EQ(effect->call(EffectOpcode::editorIdle), 0);
    EXPECT_EQ(effect->call(EffectOpcode::editorKeyDown, 65, 0x1234, nullptr, 3.9f), 1);
    EXPECT_EQ(effect->recordingEditor()->lastKey.character, 65);
    EXPECT_EQ(effect->recordingEditor()->lastKey.virtualKey, 0x34) << "low byte of value";
    EXPECT_EQ(effect->recordingEditor()->lastKey.modifiers, 3) << "opt truncated";
    EXPECT_EQ(effect->call(EffectOpcode::editorKeyUp, 66, 0, nullptr, std::nanf("")), 1);
    EXPECT_EQ(effect->recordingEditor()->lastKey.modifiers, 0) << "a NaN modifier is none";
    EXPECT_EQ(effect->call(EffectOpcode::editorKeyDown, 67, 0, nullptr, 257.5f), 1);
    EXPECT_EQ(effect->recordingEditor()->lastKey.modifiers, 1) << "257.5 truncated to 257, low byte 1";
    EXPECT_EQ(effect->call(EffectOpcode::editorKeyUp, 68, 0, nullptr, -1.0f), 1);
    EXPECT_EQ(effect->recordingEditor()->lastKey.modifiers, 0xff) << "-1 truncated, low byte 0xff";
    EXPECT_EQ(effect->call(EffectOpcode::editorKeyUp, 69, 0, nullptr, 1e20f), 1);
    EXPECT_EQ(effect->recordingEditor()->lastKey.modifiers, 0) << "past the int range is none";
    EXPECT_EQ(effect->call(EffectOpcode::setEditKnobMode, 0, 2), 1);
    EXPECT_EQ(effect->log, (std::vector<std::string> { "getRect", "editorOpen", "editorClose", "idle", "keyDown", "keyUp", "keyDown", "keyUp", "keyUp", "knob 2" }));
}

TEST_F(EffectTest, NullPointersNeverReachTheOperations)
{
    const int32_t opcodes[] = {
        EffectOpcode::setProgramName, EffectOpcode::getProgramName, EffectOpcode::getParameterName,
        EffectOpcode::getChunk, EffectOpcode::getEffectName, EffectOpcode::canDo,
        EffectOpcode::getInputProperties, EffectOpcode::setSpeakerArrangement,
    };
    for (int32_t op : opcodes)
        EXPECT_EQ(effect->call(op, 0, 0, nullptr), 0) << "opcode " << op;
    EXPECT_TRUE(effect->log.empty()) << "first reached: " << (effect->log.empty() ? "" : effect->log.front());

    VstSpeakerArrangement output {};
    EXPECT_EQ(effect->call(EffectOpcode::setSpeakerArrangement, 0, 0, &output), 0) << "null input arrangement";
    VstSpeakerArrangement* in = reinterpret_cast<VstSpeakerArrangement*>(0x1);
    EXPECT_EQ(effect->call(EffectOpcode::getSpeakerArrangement, 0, reinterpret_cast<intptr_t>(&in), nullptr), 0);
    EXPECT_EQ(in, reinterpret_cast<VstSpeakerArrangement*>(0x1)) << "nothing written when one pointer is null";

    EXPECT_EQ(AudioEffect::dispatchEffectClass(nullptr, EffectOpcode::open, 0, 0, nullptr, 0), 0);
    EXPECT_EQ(AudioEffect::getParameterClass(nullptr, 0), 0.0f);
    AudioEffect::processClassReplacing(nullptr, nullptr, nullptr, 16);

    // Requests with a null text send nothing to the host.
    hostCalls.clear();
    EXPECT_EQ(effect->canHostDo(nullptr), 0);
    EXPECT_FALSE(effect->getHostVendorString(nullptr));
    EXPECT_FALSE(effect->openFileSelector(nullptr));
    EXPECT_FALSE(effect->__getChunkFileDeprecated(nullptr));
    EXPECT_TRUE(hostCalls.empty()) << "a request with a null text reached the host";
}

TEST_F(EffectTest, ExceptionsStayInsideThePlugin)
{
    effect->throwOnOpen = true;
    EXPECT_EQ(effect->call(EffectOpcode::open), 0);
    EXPECT_EQ(effect->log, (std::vector<std::string> { "open" }));
}

TEST_F(EffectTest, DefaultTextsAreEmpty)
{
    // Opcodes 5 to 8 on a buffer with no zero in it: each leaves a terminated empty text.
    const struct { int32_t opcode; const char* what; } texts[] = {
        { EffectOpcode::getProgramName, "program name" },
        { EffectOpcode::getParameterLabel, "parameter label" },
        { EffectOpcode::getParameterDisplay, "parameter text" },
        { EffectOpcode::getParameterName, "parameter name" },
    };
    for (const auto& t : texts)
    {
        char text[16];
        std::memset(text, 'X', sizeof(text));
        EXPECT_EQ(effect->call(t.opcode, 3, 0, text), 0) << t.what;
        EXPECT_EQ(text[0], '\0') << t.what << " left the host's buffer unterminated";
    }

    VstSpeakerArrangement dummy {};
    VstSpeakerArrangement* in = &dummy;
    VstSpeakerArrangement* out = &dummy;
    EXPECT_EQ(effect->call(EffectOpcode::getSpeakerArrangement, 0, reinterpret_cast<intptr_t>(&in), &out), 0);
    EXPECT_EQ(in, nullptr);
    EXPECT_EQ(out, nullptr);
}

//==============================================================================
// Requests to the host.

TEST_F(EffectTest, RequestsSendTheirOpcodeAndArguments)
{
    char text[64] = "sizeWindow";
    VstFileSelect* selector = reinterpret_cast<VstFileSelect*>(text);
    VstAudioFile* files = reinterpret_cast<VstAudioFile*>(text);
    VstOfflineTask* task = reinterpret_cast<VstOfflineTask*>(text);

    const struct
    {
        const char* name;
        std::function<void(ProbeEffect&)> request;
        int32_t opcode, index;
        intptr_t value;
        void* ptr;
        float opt;
    } cases[] = {
        { "getMasterVersion", [](ProbeEffect& e) { e.getMasterVersion(); }, 1, 0, 0, nullptr, 0 },
        { "getCurrentUniqueId", [](ProbeEffect& e) { e.getCurrentUniqueId(); }, 2, 0, 0, nullptr, 0 },
        { "masterIdle", [](ProbeEffect& e) { e.masterIdle(); }, 3, 0, 0, nullptr, 0 },
        { "__isInputConnectedDeprecated", [](ProbeEffect& e) { e.__isInputConnectedDeprecated(5); }, 4, 5, 0, nullptr, 0 },
        { "__isOutputConnectedDeprecated", [](ProbeEffect& e) { e.__isOutputConnectedDeprecated(6); }, 4, 6, 1, nullptr, 0 },
        { "__wantEventsDeprecated", [](ProbeEffect& e) { e.__wantEventsDeprecated(3); }, 6, 0, 3, nullptr, 0 },
        { "getTimeInfo", [](ProbeEffect& e) { e.getTimeInfo(0xfe00); }, 7, 0, 0xfe00, nullptr, 0 },
        { "__tempoAtDeprecated", [](ProbeEffect& e) { e.__tempoAtDeprecated(77); }, 10, 0, 77, nullptr, 0 },
        { "__getNumAutomatableParametersDeprecated", [](ProbeEffect& e) { e.__getNumAutomatableParametersDeprecated(); }, 11, 0, 0, nullptr, 0 },
        { "__getParameterQuantizationDeprecated", [](ProbeEffect& e) { e.__getParameterQuantizationDeprecated(); }, 12, 0, 0, nullptr, 0 },
        { "ioChanged", [](ProbeEffect& e) { e.ioChanged(); }, 13, 0, 0, nullptr, 0 },
        { "__needIdleDeprecated", [](ProbeEffect& e) { e.__needIdleDeprecated(); }, 14, 0, 0, nullptr, 0 },
        { "sizeWindow", [](ProbeEffect& e) { e.sizeWindow(522, 560); }, 15, 522, 560, nullptr, 0 },
        { "updateSampleRate", [](ProbeEffect& e) { e.updateSampleRate(); }, 16, 0, 0, nullptr, 0 },
        { "updateBlockSize", [](ProbeEffect& e) { e.updateBlockSize(); }, 17, 0, 0, nullptr, 0 },
        { "getInputLatency", [](ProbeEffect& e) { e.getInputLatency(); }, 18, 0, 0, nullptr, 0 },
        { "getOutputLatency", [](ProbeEffect& e) { e.getOutputLatency(); }, 19, 0, 0, nullptr, 0 },
        { "__getPreviousPlugDeprecated", [](ProbeEffect& e) { e.__getPreviousPlugDeprecated(3); }, 20, 0, 0, nullptr, 0 },
        { "__getNextPlugDeprecated", [](ProbeEffect& e) { e.__getNextPlugDeprecated(3); }, 21, 0, 0, nullptr, 0 },
        { "__willProcessReplacingDeprecated", [](ProbeEffect& e) { e.__willProcessReplacingDeprecated(); }, 22, 0, 0, nullptr, 0 },
        { "getCurrentProcessLevel", [](ProbeEffect& e) { e.getCurrentProcessLevel(); }, 23, 0, 0, nullptr, 0 },
        { "getAutomationState", [](ProbeEffect& e) { e.getAutomationState(); }, 24, 0, 0, nullptr, 0 },
        { "offlineStart", [files](ProbeEffect& e) { e.offlineStart(files, 4, 2); }, 25, 2, 4, text, 0 },
        { "offlineRead", [task](ProbeEffect& e) { e.offlineRead(task, (VstOfflineOption) 3, true); }, 26, 1, 3, text, 0 },
        { "offlineWrite", [task](ProbeEffect& e) { e.offlineWrite(task, (VstOfflineOption) 2); }, 27, 0, 2, text, 0 },
        { "offlineGetCurrentPass", [](ProbeEffect& e) { e.offlineGetCurrentPass(); }, 28, 0, 0, nullptr, 0 },
        { "offlineGetCurrentMetaPass", [](ProbeEffect& e) { e.offlineGetCurrentMetaPass(); }, 29, 0, 0, nullptr, 0 },
        { "__setOutputSamplerateDeprecated", [](ProbeEffect& e) { e.__setOutputSamplerateDeprecated(48000.0f); }, 30, 0, 0, nullptr, 48000.0f },
        { "__getOutputSpeakerArrangementDeprecated", [](ProbeEffect& e) { e.__getOutputSpeakerArrangementDeprecated(); }, 31, 0, 0, nullptr, 0 },
        { "getHostVendorString", [&text](ProbeEffect& e) { e.getHostVendorString(text); }, 32, 0, 0, text, 0 },
        { "getHostProductString", [&text](ProbeEffect& e) { e.getHostProductString(text); }, 33, 0, 0, text, 0 },
        { "getHostVendorVersion", [](ProbeEffect& e) { e.getHostVendorVersion(); }, 34, 0, 0, nullptr, 0 },
        { "hostVendorSpecific", [&text](ProbeEffect& e) { e.hostVendorSpecific(9, 99, text, 0.5f); }, 35, 9, 99, text, 0.5f },
        { "canHostDo", [&text](ProbeEffect& e) { e.canHostDo(text); }, 37, 0, 0, text, 0 },
        { "getHostLanguage", [](ProbeEffect& e) { e.getHostLanguage(); }, 38, 0, 0, nullptr, 0 },
        { "__openWindowDeprecated", [&text](ProbeEffect& e) { e.__openWindowDeprecated(reinterpret_cast<__VstWindowDeprecated*>(text)); }, 39, 0, 0, text, 0 },
        { "__closeWindowDeprecated", [&text](ProbeEffect& e) { e.__closeWindowDeprecated(reinterpret_cast<__VstWindowDeprecated*>(text)); }, 40, 0, 0, text, 0 },
        { "getDirectory", [](ProbeEffect& e) { e.getDirectory(); }, 41, 0, 0, nullptr, 0 },
        { "updateDisplay", [](ProbeEffect& e) { e.updateDisplay(); }, 42, 0, 0, nullptr, 0 },
        { "beginEdit", [](ProbeEffect& e) { e.beginEdit(7); }, 43, 7, 0, nullptr, 0 },
        { "endEdit", [](ProbeEffect& e) { e.endEdit(7); }, 44, 7, 0, nullptr, 0 },
        { "openFileSelector", [selector](ProbeEffect& e) { e.openFileSelector(selector); }, 45, 0, 0, text, 0 },
        { "closeFileSelector", [selector](ProbeEffect& e) { e.closeFileSelector(selector); }, 46, 0, 0, text, 0 },
        { "__getChunkFileDeprecated", [&text](ProbeEffect& e) { e.__getChunkFileDeprecated(text); }, 48, 0, 0, text, 0 },
        { "__getInputSpeakerArrangementDeprecated", [](ProbeEffect& e) { e.__getInputSpeakerArrangementDeprecated(); }, 49, 0, 0, nullptr, 0 },
        { "setParameterAutomated", [](ProbeEffect& e) { e.setParameterAutomated(4, 0.75f); }, 0, 4, 0, nullptr, 0.75f },
    };

    for (const auto& c : cases)
    {
        hostCalls.clear();
        c.request(*effect);
        ASSERT_EQ(hostCalls.size(), 1u) << c.name;
        const Call& sent = hostCalls[0];
        EXPECT_EQ(sent.effect, effect->getAeffect()) << c.name;
        EXPECT_EQ(sent.opcode, c.opcode) << c.name;
        EXPECT_EQ(sent.index, c.index) << c.name;
        EXPECT_EQ(sent.value, c.value) << c.name;
        EXPECT_EQ(sent.ptr, c.ptr) << c.name;
        EXPECT_EQ(sent.opt, c.opt) << c.name;
    }

    EXPECT_EQ(effect->log, (std::vector<std::string> { "setParameter 4" })) << "automation sets the parameter too";
    EXPECT_EQ(effect->lastValue, 0.75f);
}

TEST_F(EffectTest, RequestsWithoutAHostAnswerNeutrally)
{
    ProbeEffect alone(nullptr, 0, 0);
    char text[8] = "x";
    EXPECT_EQ(alone.getMasterVersion(), 1);
    EXPECT_EQ(alone.getCurrentUniqueId(), 0);
    EXPECT_TRUE(alone.__isInputConnectedDeprecated(0));
    EXPECT_TRUE(alone.__isOutputConnectedDeprecated(0));
    EXPECT_EQ(alone.getTimeInfo(0xfe00), nullptr);
    EXPECT_FALSE(alone.ioChanged());
    EXPECT_FALSE(alone.sizeWindow(1, 1));
    EXPECT_EQ(alone.updateSampleRate(), 44100.0);
    EXPECT_EQ(alone.updateBlockSize(), 1024);
    EXPECT_EQ(alone.getCurrentProcessLevel(), 0);
    EXPECT_FALSE(alone.offlineStart(nullptr, 0, 0));
    EXPECT_EQ(alone.offlineGetCurrentPass(), 0);
    EXPECT_FALSE(alone.getHostVendorString(text));
    EXPECT_EQ(alone.hostVendorSpecific(1, 2, nullptr, 0), 0);
    EXPECT_EQ(alone.canHostDo(text), 0);
    EXPECT_EQ(alone.getDirectory(), nullptr);
    EXPECT_FALSE(alone.updateDisplay());
    EXPECT_FALSE(alone.beginEdit(0));
    EXPECT_FALSE(alone.endEdit(0));
    EXPECT_EQ(alone.__openWindowDeprecated(nullptr), nullptr);
    EXPECT_FALSE(alone.__closeWindowDeprecated(nullptr));
    alone.setParameterAutomated(4, 0.5f);
    EXPECT_EQ(alone.log, (std::vector<std::string> { "setParameter 4" })) << "automation without a host only sets";
}

TEST_F(EffectTest, RepliesAreInterpreted)
{
    struct Case { const char* name; int32_t opcode; intptr_t reply; std::function<intptr_t(ProbeEffect&)> read; intptr_t expected; };
    char text[] = "sizeWindow";
    const Case cases[] = {
        { "version 0 reads as 1", 1, 0, [](ProbeEffect& e) { return (intptr_t) e.getMasterVersion(); }, 1 },
        { "version 2400", 1, 2400, [](ProbeEffect& e) { return (intptr_t) e.getMasterVersion(); }, 2400 },
        { "canHostDo -1 is no", 37, -1, [&text](ProbeEffect& e) { return (intptr_t) e.canHostDo(text); }, 0 },
        { "canHostDo 5 is yes", 37, 5, [&text](ProbeEffect& e) { return (intptr_t) e.canHostDo(text); }, 1 },
        { "input connected on 0", 4, 0, [](ProbeEffect& e) { return (intptr_t) e.__isInputConnectedDeprecated(0); }, 1 },
        { "input not connected on 1", 4, 1, [](ProbeEffect& e) { return (intptr_t) e.__isInputConnectedDeprecated(0); }, 0 },
        { "offline pass any non-zero is 1", 28, 7, [](ProbeEffect& e) { return (intptr_t) e.offlineGetCurrentPass(); }, 1 },
        { "process level", 23, 4, [](ProbeEffect& e) { return (intptr_t) e.getCurrentProcessLevel(); }, 4 },
        { "sizeWindow done", 15, 1, [](ProbeEffect& e) { return (intptr_t) e.sizeWindow(1, 1); }, 1 },
        { "sample rate 48000 stored", 16, 48000, [](ProbeEffect& e) { return (intptr_t) e.updateSampleRate(); }, 48000 },
        { "sample rate -1 ignored", 16, -1, [](ProbeEffect& e) { return (intptr_t) e.updateSampleRate(); }, 44100 },
        { "block size 64 stored", 17, 64, [](ProbeEffect& e) { return (intptr_t) e.updateBlockSize(); }, 64 },
        { "block size 0 ignored", 17, 0, [](ProbeEffect& e) { return (intptr_t) e.updateBlockSize(); }, 1024 },
    };
    for (const auto& c : cases)
    {
        ProbeEffect e(recordingHost, 0, 0);
        hostReplies.clear();
        hostReplies[c.opcode] = c.reply;
        EXPECT_EQ(c.read(e), c.expected) << c.name;
    }
}

//==============================================================================
// Speaker arrangements.

TEST_F(EffectTest, AllocateCopyAndMatchArrangements)
{
    VstSpeakerArrangement* a = nullptr;
    ASSERT_TRUE(effect->allocateArrangement(&a, 6));
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->numChannels, 6);
    EXPECT_EQ(a->type, 0);
    a->type = 15;
    for (int i = 0; i < 6; ++i)
    {
        VstSpeakerProperties* s = speakerAt(a, i);
        EXPECT_EQ(s->type, 0) << "zeroed speaker " << i;
        s->azimuth = (float) i;
        s->type = 100 + i;
        std::memset(s->name, 'n', sizeof(s->name)); // no terminating zero
    }

    VstSpeakerArrangement* b = nullptr;
    ASSERT_TRUE(effect->allocateArrangement(&b, 1));
    ASSERT_TRUE(effect->matchArrangement(&b, a));
    EXPECT_EQ(b->type, 15);
    EXPECT_EQ(b->numChannels, 6);
    for (int i = 0; i < 6; ++i)
    {
        EXPECT_EQ(speakerAt(b, i)->azimuth, (float) i) << "speaker " << i;
        EXPECT_EQ(speakerAt(b, i)->type, 100 + i) << "speaker " << i;
        EXPECT_EQ(std::strlen(speakerAt(b, i)->name), 63u) << "name cut to 63 and terminated, speaker " << i;
    }

    EXPECT_FALSE(effect->copySpeaker(nullptr, speakerAt(a, 0)));
    EXPECT_FALSE(effect->copySpeaker(speakerAt(a, 0), nullptr));
    EXPECT_FALSE(effect->matchArrangement(&b, nullptr));

    EXPECT_TRUE(effect->deallocateArrangement(&a));
    EXPECT_EQ(a, nullptr);
    EXPECT_TRUE(effect->deallocateArrangement(&a)) << "freeing nothing is fine";
    EXPECT_TRUE(effect->deallocateArrangement(&b));
}
