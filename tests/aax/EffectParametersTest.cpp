// The effect-parameters base as a host drives it: parameters by identifier,
// value strings, gestures, notifications, the "elck" chunk, and every call
// with unknown identifiers and null outputs.
#include "AAX_CString.h"
#include "ChunkSupport.h"
#include "FakeHost.h"
#include "TestEffect.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <functional>
#include <limits>
#include <thread>

namespace
{
constexpr AAX_CTypeID elck = 0x656C636B;

struct AaxEffect : ::testing::Test
{
    FakeHost host;
    TestEffect* effect = nullptr;
    AAX_IACFEffectParameters_V2* api = nullptr;   // what the host holds

    void SetUp() override { make({}); }

    void make(TestEffectOptions options)
    {
        effect = new TestEffect(options);
        api = effect;
        api->AddRef();
        host.automation.answerTo = api;
        ASSERT_EQ(api->Initialize(host.unknown()), 0);
        host.record.clear();
    }

    void TearDown() override
    {
        if (api != nullptr)
        {
            api->Uninitialize();
            api->Release();
        }
        EXPECT_TRUE(host.leakedReferences().empty()) << ::testing::PrintToString(host.leakedReferences());
        EXPECT_TRUE(host.record.violations.empty()) << ::testing::PrintToString(host.record.violations);
    }

    double value(const char* id)
    {
        double v = -1.0;
        EXPECT_EQ(api->GetParameterNormalizedValue(id, &v), 0) << id;
        return v;
    }

    ChunkRecord chunk()
    {
        uint32_t size = 0;
        EXPECT_EQ(api->GetChunkSize(elck, &size), 0);
        ChunkRecord c(size);
        EXPECT_EQ(api->GetChunk(elck, c.record()), 0);
        return c;
    }
};

std::string text(const AAX_CString& s)
{
    return s.Get();
}
} // namespace

TEST_F(AaxEffect, ParametersAsTheHostSeesThem)
{
    int32_t count = 0;
    EXPECT_EQ(api->GetNumberOfParameters(&count), 0);
    EXPECT_EQ(count, 36);

    AAX_CString id;
    EXPECT_EQ(api->GetMasterBypassParameter(&id), 0);
    EXPECT_EQ(text(id), "MasterBypassID");
    EXPECT_EQ(api->GetParameterIDFromIndex(0, &id), 0);
    EXPECT_EQ(text(id), "MasterBypassID");
    EXPECT_EQ(api->GetParameterIDFromIndex(35, &id), 0);
    EXPECT_EQ(text(id), "34");

    int32_t index = 0, steps = 0;
    AAX_EParameterType type {};
    EXPECT_EQ(api->GetParameterIndex("4", &index), 0);
    EXPECT_EQ(index, 5);
    EXPECT_EQ(api->GetParameterNumberOfSteps("4", &steps), 0);
    EXPECT_EQ(steps, 0x7fffffff);
    EXPECT_EQ(api->GetParameterNumberOfSteps("MasterBypassID", &steps), 0);
    EXPECT_EQ(steps, 2);
    EXPECT_EQ(api->GetParameterType("MasterBypassID", &type), 0);
    EXPECT_EQ(type, AAX_eParameterType_Discrete);

    double bypassDefault = 0.75;
    EXPECT_EQ(api->GetParameterDefaultNormalizedValue("MasterBypassID", &bypassDefault), 0);
    EXPECT_EQ(bypassDefault, 0.0) << "a success writes its output";
}

TEST_F(AaxEffect, InitializeRegistersEveryParameterOnce)
{
    api->Uninitialize();
    host.record.clear();
    ASSERT_EQ(api->Initialize(host.unknown()), 0);
    ASSERT_EQ(api->Initialize(host.unknown()), 0);   // a second time: starts afresh

    int32_t count = 0;
    api->GetNumberOfParameters(&count);
    EXPECT_EQ(count, 36);
    EXPECT_EQ(host.record.callsStartingWith("Automation.RegisterParameter").size(), 72u);
    EXPECT_EQ(host.record.callsStartingWith("Automation.UnregisterParameter").size(), 36u);
}

TEST_F(AaxEffect, UnknownIdentifiersChangeNothing)
{
    for (const char* id : { "abc", "", "35", "04", "4 ", "masterbypassid", static_cast<const char*>(nullptr) })
    {
        const std::string name = id != nullptr ? std::string("\"") + id + "\"" : "null";
        AAX_CString out("old");
        double d = 0.25;
        int32_t n = 3;
        AAX_CBoolean b = 1;
        AAX_EParameterType t {};
        AAX_IParameter* p = reinterpret_cast<AAX_IParameter*>(&n);
        struct Case
        {
            const char* operation;
            AAX_Result status;
        } cases[] = {
            { "GetParameterIsAutomatable", api->GetParameterIsAutomatable(id, &b) },
            { "GetParameterNumberOfSteps", api->GetParameterNumberOfSteps(id, &n) },
            { "GetParameterName", api->GetParameterName(id, &out) },
            { "GetParameterNameOfLength", api->GetParameterNameOfLength(id, &out, 8) },
            { "GetParameterDefaultNormalizedValue", api->GetParameterDefaultNormalizedValue(id, &d) },
            { "SetParameterDefaultNormalizedValue", api->SetParameterDefaultNormalizedValue(id, 0.9) },
            { "GetParameterType", api->GetParameterType(id, &t) },
            { "GetParameterOrientation", api->GetParameterOrientation(id, &n) },
            { "GetParameter", api->GetParameter(id, &p) },
            { "GetParameterIndex", api->GetParameterIndex(id, &n) },
            { "GetParameterValueFromString", api->GetParameterValueFromString(id, &d, AAX_CString("0.5")) },
            { "GetParameterStringFromValue", api->GetParameterStringFromValue(id, 0.5, &out, 8) },
            { "GetParameterValueString", api->GetParameterValueString(id, &out, 8) },
            { "GetParameterNormalizedValue", api->GetParameterNormalizedValue(id, &d) },
            { "SetParameterNormalizedValue", api->SetParameterNormalizedValue(id, 0.9) },
            { "SetParameterNormalizedRelative", api->SetParameterNormalizedRelative(id, 0.1) },
            { "TouchParameter", api->TouchParameter(id) },
            { "ReleaseParameter", api->ReleaseParameter(id) },
            { "UpdateParameterTouch", api->UpdateParameterTouch(id, 1) },
            { "UpdateParameterNormalizedValue", api->UpdateParameterNormalizedValue(id, 0.9, AAX_eUpdateSource_Parameter) },
            { "UpdateParameterNormalizedRelative", api->UpdateParameterNormalizedRelative(id, 0.1) },
        };
        for (const auto& c : cases)
            EXPECT_EQ(c.status, -20001) << c.operation << " " << name;
        EXPECT_EQ(d, 0.25) << name;
        EXPECT_EQ(p, nullptr) << name;
        EXPECT_EQ(b, 0) << name;
    }

    EXPECT_TRUE(host.record.calls.empty()) << ::testing::PrintToString(host.record.calls);
    int32_t changes = -1;
    EXPECT_EQ(api->GetNumberOfChanges(&changes), 0);
    EXPECT_EQ(changes, 0);
    for (int i = 0; i < 35; ++i)
        EXPECT_EQ(value(std::to_string(i).c_str()), 0.5) << i;

    AAX_CString id("old");
    EXPECT_EQ(api->GetParameterIDFromIndex(36, &id), -20001);
    EXPECT_EQ(api->GetParameterIDFromIndex(-1, &id), -20001);
    EXPECT_EQ(text(id), "");
}

TEST_F(AaxEffect, NullOutputsAreRefused)
{
    struct Case
    {
        const char* operation;
        AAX_Result status;
    } cases[] = {
        { "GetNumberOfParameters", api->GetNumberOfParameters(nullptr) },
        { "GetMasterBypassParameter", api->GetMasterBypassParameter(nullptr) },
        { "GetParameterIsAutomatable", api->GetParameterIsAutomatable("0", nullptr) },
        { "GetParameterNumberOfSteps", api->GetParameterNumberOfSteps("0", nullptr) },
        { "GetParameterName", api->GetParameterName("0", nullptr) },
        { "GetParameterNameOfLength", api->GetParameterNameOfLength("0", nullptr, 4) },
        { "GetParameterDefaultNormalizedValue", api->GetParameterDefaultNormalizedValue("0", nullptr) },
        { "GetParameterType", api->GetParameterType("0", nullptr) },
        { "GetParameterOrientation", api->GetParameterOrientation("0", nullptr) },
        { "GetParameter", api->GetParameter("0", nullptr) },
        { "GetParameterIndex", api->GetParameterIndex("0", nullptr) },
        { "GetParameterIDFromIndex", api->GetParameterIDFromIndex(0, nullptr) },
        { "GetParameterValueFromString", api->GetParameterValueFromString("0", nullptr, AAX_CString("0.5")) },
        { "GetParameterStringFromValue", api->GetParameterStringFromValue("0", 0.5, nullptr, 8) },
        { "GetParameterValueString", api->GetParameterValueString("0", nullptr, 8) },
        { "GetParameterNormalizedValue", api->GetParameterNormalizedValue("0", nullptr) },
        { "ResetFieldData", api->ResetFieldData(4, nullptr, 8) },
        { "GetNumberOfChunks", api->GetNumberOfChunks(nullptr) },
        { "GetChunkIDFromIndex", api->GetChunkIDFromIndex(0, nullptr) },
        { "GetChunkSize", api->GetChunkSize(elck, nullptr) },
        { "GetChunk", api->GetChunk(elck, nullptr) },
        { "SetChunk", api->SetChunk(elck, nullptr) },
        { "CompareActiveChunk", api->CompareActiveChunk(nullptr, nullptr) },
        { "GetNumberOfChanges", api->GetNumberOfChanges(nullptr) },
        { "GetCustomData", api->GetCustomData(0, 0, nullptr, nullptr) },
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.status, -20004) << c.operation;
}

TEST_F(AaxEffect, FixedAnswers)
{
    int32_t info = 9, chunks = 0;
    uint32_t written = 9;
    uint8_t field[12];
    std::memset(field, 0xAB, sizeof(field));
    struct Case
    {
        const char* operation;
        AAX_Result status, expected;
    } cases[] = {
        { "GetParameterValueInfo", api->GetParameterValueInfo("0", 1, &info), -20009 },
        { "GetCurveData", api->GetCurveData(0, nullptr, 0, nullptr), -20009 },
        { "RenderAudio_Hybrid", api->RenderAudio_Hybrid(nullptr), -20009 },
        { "GetCustomData", api->GetCustomData(0, 4, field, &written), 0 },
        { "GetNumberOfChunks", api->GetNumberOfChunks(&chunks), 0 },
        { "ResetFieldData", api->ResetFieldData(4, field, 8), 0 },
        { "TimerWakeup", api->TimerWakeup(), 0 },
        { "NotificationReceived", api->NotificationReceived(0x41586F66, nullptr, 0), 0 },
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.status, c.expected) << c.operation;
    EXPECT_EQ(info, 0);
    EXPECT_EQ(written, 0u);
    EXPECT_EQ(chunks, 1);
    EXPECT_EQ(field[7], 0);
    EXPECT_EQ(field[8], 0xAB) << "only the bytes asked for are zeroed";
}

TEST_F(AaxEffect, ValueStringsAtEveryLength)
{
    api->SetParameterNormalizedValue("3", 0.125);
    const char* expected[] = { "", "0", "0", "0.1", "0.12", "0.125", "0.125" };
    for (int32_t length = 0; length < 7; ++length)
    {
        AAX_CString s("old");
        EXPECT_EQ(api->GetParameterValueString("3", &s, length), 0);
        EXPECT_EQ(text(s), expected[length]) << length;
    }

    AAX_CString s;
    EXPECT_EQ(api->GetParameterStringFromValue("3", 0.5, &s, 4), 0);
    EXPECT_EQ(text(s), "0.50");
    EXPECT_EQ(value("3"), 0.125) << "asking for a text changes nothing";
    EXPECT_EQ(api->GetParameterValueString("MasterBypassID", &s, 8), 0);
    EXPECT_EQ(text(s), "bypass");
    EXPECT_EQ(api->GetParameterStringFromValue("MasterBypassID", 1.0, &s, 8), 0);
    EXPECT_EQ(text(s), "on");

    double d = -1.0;
    EXPECT_EQ(api->GetParameterValueFromString("3", &d, AAX_CString("0.75")), 0);
    EXPECT_EQ(d, 0.75);
    EXPECT_EQ(api->GetParameterValueFromString("3", &d, AAX_CString("1.5")), -20002);
    EXPECT_EQ(api->GetParameterValueFromString("3", &d, AAX_CString("loud")), -20002);
    EXPECT_EQ(api->GetParameterValueFromString("MasterBypassID", &d, AAX_CString("on")), 0);
    EXPECT_EQ(d, 1.0);
}

TEST_F(AaxEffect, NamesOfLength)
{
    AAX_IParameter* p = nullptr;
    ASSERT_EQ(api->GetParameter("7", &p), 0);
    p->ClearShortenedNames();
    p->AddShortenedName("Thirteen char\nSix ch");

    struct Case
    {
        int32_t length;
        const char* expected;
    } cases[] = { { 8, "Six ch" }, { 3, "Thirteen char\nSix ch" }, { 10, "Six ch" }, { 11, "Parameter 7" } };
    for (const auto& c : cases)
    {
        AAX_CString name;
        EXPECT_EQ(api->GetParameterNameOfLength("7", &name, c.length), 0);
        EXPECT_EQ(text(name), c.expected) << c.length;
    }
    AAX_CString name;
    EXPECT_EQ(api->GetParameterName("7", &name), 0);
    EXPECT_EQ(text(name), "Parameter 7");

    // An empty shortened name is the answer for a short place: a success
    // writes it, nothing of what the host had in its text is left.
    p->ClearShortenedNames();
    p->AddShortenedName("");
    AAX_CString hostText("host's own");
    EXPECT_EQ(api->GetParameterNameOfLength("7", &hostText, 5), 0);
    EXPECT_EQ(text(hostText), "");
}

TEST_F(AaxEffect, GesturesAndRelativeSteps)
{
    EXPECT_EQ(api->TouchParameter("4"), 0);
    EXPECT_EQ(api->SetParameterNormalizedValue("4", 0.9), 0);
    EXPECT_EQ(api->ReleaseParameter("4"), 0);
    EXPECT_EQ(host.record.calls, (std::vector<std::string> {
                                     "Automation.PostTouchRequest(4)",
                                     "Automation.PostTouchRequest(4)",
                                     "Automation.PostSetValueRequest(4, 0.9)",
                                     "Automation.PostCurrentValue(4, 0.9)",
                                     "Automation.PostReleaseRequest(4)",
                                     "Automation.PostReleaseRequest(4)",
                                 }));

    struct Case
    {
        double start, delta, expected;
    } cases[] = { { 0.9, 0.3, 1.0 }, { 0.9, -2.0, 0.0 }, { 0.25, 0.5, 0.75 }, { 0.4, std::nan(""), 0.4 } };
    for (const auto& c : cases)
    {
        api->SetParameterNormalizedValue("4", c.start);
        EXPECT_EQ(api->SetParameterNormalizedRelative("4", c.delta), 0);
        EXPECT_FLOAT_EQ(float(value("4")), float(c.expected)) << c.start << " + " << c.delta;
        api->SetParameterNormalizedValue("5", c.start);
        EXPECT_EQ(api->UpdateParameterNormalizedRelative("5", c.delta), 0);
        EXPECT_FLOAT_EQ(float(value("5")), float(c.expected)) << c.start << " + " << c.delta << " (update)";
    }
}

TEST_F(AaxEffect, HostValuesAreHeldToTheRange)
{
    struct Case
    {
        double sent, requested;
    } cases[] = { { 1.5, 1.0 }, { -0.5, 0.0 }, { std::numeric_limits<double>::quiet_NaN(), 0.5 }, { 1e300, 1.0 } };
    for (const auto& c : cases)
    {
        host.record.clear();
        api->SetParameterNormalizedValue("2", 0.1);
        host.record.clear();
        EXPECT_EQ(api->SetParameterNormalizedValue("2", c.sent), 0);
        EXPECT_EQ(host.record.calls.at(1), callText("Automation.PostSetValueRequest", "2", c.requested)) << c.sent;
        EXPECT_EQ(value("2"), c.requested) << c.sent;

        EXPECT_EQ(api->UpdateParameterNormalizedValue("2", c.sent, AAX_eUpdateSource_Parameter), 0);
        EXPECT_EQ(value("2"), c.requested) << c.sent << " from the host's automation";
    }
}

TEST_F(AaxEffect, UpdatesCountChangesAndMarkPackets)
{
    int32_t changes = -1;
    api->GenerateCoefficients();
    host.record.clear();
    api->UpdateParameterNormalizedValue("0", 0.2, AAX_eUpdateSource_Parameter);
    api->UpdateParameterNormalizedValue("MasterBypassID", 1.0, AAX_eUpdateSource_Parameter);
    EXPECT_EQ(api->GetNumberOfChanges(&changes), 0);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(api->GenerateCoefficients(), 0);
    EXPECT_EQ(host.record.callsStartingWith("Controller.PostPacket"), (std::vector<std::string> { "Controller.PostPacket(3, 01000000, 4)" }));
}

TEST_F(AaxEffect, PreviewNotificationReadsOnlyWhatItIsGiven)
{
    api->Uninitialize();
    api->Release();
    TestEffectOptions options;
    options.previewParameter = true;
    make(options);

    const int32_t on = 1;
    const uint8_t threeBytes[3] = { 1, 1, 1 };
    struct Case
    {
        const char* what;
        const void* data;
        uint32_t size;
        double expected;
    } cases[] = {
        { "no data", nullptr, 4, 0.0 }, { "size 0", &on, 0, 0.0 }, { "3 bytes", threeBytes, 3, 0.0 }, { "a word of 1", &on, 4, 1.0 },
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ(api->NotificationReceived(0x41535076, c.data, c.size), 0) << c.what;
        EXPECT_EQ(value("PreviewID"), c.expected) << c.what;
    }
}

TEST_F(AaxEffect, ControlsChunkLayout)
{
    uint32_t size = 0;
    EXPECT_EQ(api->GetChunkSize(elck, &size), 0);
    EXPECT_EQ(size, 524u) << "4 + 10 x 12 (names \"0\" to \"9\") + 25 x 16 (\"10\" to \"34\")";

    ChunkRecord c = chunk();
    EXPECT_EQ(c.record()->size, 524);
    EXPECT_EQ(c.record()->version, -1);
    EXPECT_STREQ(c.record()->name, "Complete Controls State");
    const uint8_t start[] = { 1, 1, 1, 1, 0x64, 0x5F, 0x30, 0x00, 0x3F, 0xE0, 0, 0, 0, 0, 0, 0, 0x64, 0x5F, 0x31, 0x00 };
    EXPECT_EQ(std::memcmp(c.data(), start, sizeof(start)), 0);
    const uint8_t last[] = { 0x64, 0x5F, 0x33, 0x34, 0x00, 0x00, 0x00, 0x00, 0x3F, 0xE0, 0, 0, 0, 0, 0, 0 };
    EXPECT_EQ(std::memcmp(c.data() + 524 - 16, last, sizeof(last)), 0);
    const std::string bytes(reinterpret_cast<const char*>(c.data()), 524);
    EXPECT_EQ(bytes.find("MasterBypassID"), std::string::npos) << "the master bypass stays out";

    AAX_CTypeID id = 0;
    EXPECT_EQ(api->GetChunkIDFromIndex(0, &id), 0);
    EXPECT_EQ(id, elck);
    EXPECT_EQ(api->GetChunkIDFromIndex(1, &id), -20006);
    EXPECT_EQ(id, 0u);
    EXPECT_EQ(api->GetChunkSize(0x6A756365, &size), -20007);
    EXPECT_EQ(size, 0u);
}

TEST_F(AaxEffect, ChunkWithoutItsReportedSizeIsRefused)
{
    ChunkRecord record(524);
    EXPECT_EQ(api->GetChunk(elck, record.record()), -20008) << "no size reported yet";

    uint32_t size = 0;
    api->GetChunkSize(elck, &size);
    EXPECT_EQ(api->GetChunk(0x6A756365, record.record()), -20007);
    EXPECT_EQ(api->GetChunk(elck, record.record()), 0);
}

TEST_F(AaxEffect, ChunkRoundTrip)
{
    for (int i = 0; i < 35; ++i)
        api->SetParameterNormalizedValue(std::to_string(i).c_str(), i / 64.0);
    api->SetParameterNormalizedValue("MasterBypassID", 1.0);
    ChunkRecord saved = chunk();

    AAX_CBoolean equal = 0;
    EXPECT_EQ(api->CompareActiveChunk(saved.record(), &equal), 0);
    EXPECT_EQ(equal, 1);

    for (int i = 0; i < 35; ++i)
        api->SetParameterNormalizedValue(std::to_string(i).c_str(), 1.0);
    api->SetParameterNormalizedValue("MasterBypassID", 0.0);
    EXPECT_EQ(api->CompareActiveChunk(saved.record(), &equal), 0);
    EXPECT_EQ(equal, 0);

    EXPECT_EQ(api->SetChunk(elck, saved.record()), 0);
    for (int i = 0; i < 35; ++i)
        EXPECT_EQ(value(std::to_string(i).c_str()), i / 64.0) << i;
    EXPECT_EQ(value("MasterBypassID"), 0.0) << "the bypass is not in the chunk";
    EXPECT_EQ(api->CompareActiveChunk(saved.record(), &equal), 0);
    EXPECT_EQ(equal, 1);

    ChunkRecord foreign(0, 0x6A756365);
    EXPECT_EQ(api->CompareActiveChunk(foreign.record(), &equal), 0);
    EXPECT_EQ(equal, 1) << "not ours: counts as equal";
    EXPECT_EQ(api->SetChunk(0x6A756365, saved.record()), -20007);
}

TEST_F(AaxEffect, BadChunksChangeNothing)
{
    api->SetParameterNormalizedValue("0", 0.25);
    ChunkRecord saved = chunk();
    api->SetParameterNormalizedValue("0", 0.75);
    const std::vector<uint8_t> bytes = saved.dataBytes();

    struct Case
    {
        const char* what;
        std::vector<uint8_t> data;
        AAX_Result expected;
    } cases[] = {
        { "cut inside the first value", std::vector<uint8_t>(bytes.begin(), bytes.begin() + 12), -20008 },
        { "cut inside the last value", std::vector<uint8_t>(bytes.begin(), bytes.end() - 3), -20008 },
        { "no header", std::vector<uint8_t>(bytes.begin() + 4, bytes.end()), 0 },
        { "empty", {}, 0 },
    };
    for (const auto& c : cases)
    {
        auto record = ChunkRecord::withData(c.data);
        EXPECT_EQ(api->SetChunk(elck, record.record()), c.expected) << c.what;
        EXPECT_EQ(value("0"), 0.75) << c.what;
    }

    // Out-of-range and NaN values are held to the range or read as the default.
    std::vector<uint8_t> hostile = bytes;
    const uint8_t two[8] = { 0x40, 0, 0, 0, 0, 0, 0, 0 };
    const uint8_t notANumber[8] = { 0x7F, 0xF8, 0, 0, 0, 0, 0, 0 };
    std::memcpy(hostile.data() + 8, two, 8);          // "0" = 2.0
    std::memcpy(hostile.data() + 20, notANumber, 8);  // "1" = NaN
    auto record = ChunkRecord::withData(hostile);
    EXPECT_EQ(api->SetChunk(elck, record.record()), 0);
    EXPECT_EQ(value("0"), 1.0);
    EXPECT_EQ(value("1"), 0.5);
}

TEST_F(AaxEffect, HostWithoutServices)
{
    api->Uninitialize();
    api->Release();
    FakeHost bare;
    bare.offerAutomation = false;
    bare.offerControllerV1 = bare.offerControllerV2 = false;
    effect = new TestEffect();
    api = effect;
    api->AddRef();
    ASSERT_EQ(api->Initialize(bare.unknown()), 0);

    EXPECT_EQ(api->SetParameterNormalizedValue("1", 0.3), 0);
    EXPECT_FLOAT_EQ(float(value("1")), 0.3f) << "without host automation the value is set at once";
    EXPECT_EQ(api->UpdateParameterNormalizedValue("MasterBypassID", 1.0, AAX_eUpdateSource_Parameter), 0);
    EXPECT_EQ(api->GenerateCoefficients(), -20004) << "no controller to post to";
    EXPECT_EQ(effect->Controller()->SetSignalLatency(1), -20004);
    EXPECT_TRUE(bare.record.calls.empty());

    api->Uninitialize();
    api->Release();
    api = nullptr;
    EXPECT_TRUE(bare.leakedReferences().empty());
}

TEST_F(AaxEffect, DestroyedWithoutUninitialize)
{
    api->Release();   // the last reference: no Uninitialize before it
    api = nullptr;
    EXPECT_EQ(host.record.callsStartingWith("Automation.UnregisterParameter").size(), 36u);
    EXPECT_EQ(CACFUnknown::GetActiveObjectCount(), 0);
}

TEST_F(AaxEffect, FailingEffectInitIsReported)
{
    api->Uninitialize();
    api->Release();
    TestEffectOptions options;
    options.failEffectInit = true;
    effect = new TestEffect(options);
    api = effect;
    api->AddRef();
    EXPECT_EQ(api->Initialize(host.unknown()), -20009);
}

TEST(AaxEffectThreads, HostThreadsSetReadAndSaveAtOnce)
{
    FakeHost host;
    host.offerAutomation = false;   // values change at once, from whichever thread sets them
    host.offerControllerV1 = host.offerControllerV2 = false;
    auto* effect = new TestEffect();
    AAX_IACFEffectParameters_V2* api = effect;
    api->AddRef();
    ASSERT_EQ(api->Initialize(host.unknown()), 0);

    constexpr int rounds = 2000;
    std::atomic<bool> bad { false };
    auto writer = [&](int seed) {
        for (int i = 0; i < rounds; ++i)
        {
            const std::string id = std::to_string((i * 7 + seed) % 35);
            api->SetParameterNormalizedValue(id.c_str(), ((i + seed) % 101) / 100.0);
            api->UpdateParameterNormalizedValue(id.c_str(), ((i * 3 + seed) % 101) / 100.0, AAX_eUpdateSource_Parameter);
        }
    };
    auto reader = [&] {
        for (int i = 0; i < rounds; ++i)
        {
            double v = -1.0;
            AAX_CString s;
            api->GetParameterNormalizedValue(std::to_string(i % 35).c_str(), &v);
            api->GetParameterValueString(std::to_string(i % 35).c_str(), &s, 8);
            double parsed = -1.0;
            if (! (v >= 0.0 && v <= 1.0) || ! s.ToDouble(&parsed) || ! (parsed >= 0.0 && parsed <= 1.0))
                bad = true;
            uint32_t size = 0;
            api->GetChunkSize(elck, &size);
            ChunkRecord c(size);
            if (api->GetChunk(elck, c.record()) != 0 || size != 524u)
                bad = true;
        }
    };
    std::thread a(writer, 1), b(writer, 2), c(reader);
    a.join();
    b.join();
    c.join();
    EXPECT_FALSE(bad) << "a value, text or chunk out of shape while others wrote";

    api->Uninitialize();
    api->Release();
    EXPECT_TRUE(host.leakedReferences().empty());
}
