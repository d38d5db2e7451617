// The entries in-process: the mapping of every kind of exception to a
// status, Open when a constructor or PostConstructor throws, the two ways of
// resetting, and the fast-dispatch functions' null checks.
#include "AUFastDispatch.h"
#include "AUPlugInDispatch.h"
#include "ComponentEntryPoint.h"
#include "TestEffectUnit.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace
{
TEST(ExceptionMapping, EveryKindOfThrowBecomesAStatus)
{
    struct Row
    {
        const char* what;
        void (*thrower)();
        OSStatus status;
    };
    const Row rows[] = {
        { "CAXException", [] { throw CAXException("open", -10875); }, -10875 },
        { "out of memory", [] { throw std::bad_alloc(); }, -108 },
        { "32-bit integer", [] { throw OSStatus(-10877); }, -10877 },
        { "16-bit integer", [] { throw int16_t(-5); }, -5 },
        { "16-bit 0x8000", [] { throw int16_t(-32768); }, -32768 },
        { "anything else", [] { throw std::runtime_error("x"); }, -1 },
        { "a string", [] { throw "x"; }, -1 },
    };
    for (const auto& r : rows)
        EXPECT_EQ(AUCatchAll([&] {
                      r.thrower();
                      return OSStatus(0);
                  }),
                  r.status)
            << r.what;
}

int liveUnits = 0;

// Throws from its constructor or PostConstructor on request.
class FragileUnit : public TestEffectUnit
{
public:
    static int throwIn; // 0 nowhere, 1 constructor, 2 PostConstructor

    explicit FragileUnit(AudioComponentInstance i) : TestEffectUnit(i)
    {
        if (throwIn == 1)
            throw std::bad_alloc();
        ++liveUnits;
    }
    ~FragileUnit() override { --liveUnits; }
    void PostConstructor() override
    {
        TestEffectUnit::PostConstructor();
        if (throwIn == 2)
            throw CAXException("post", -10875);
    }
};
int FragileUnit::throwIn = 0;

TEST(FactoryOpen, ThrowingConstructionReleasesEverything)
{
    struct Row
    {
        int throwIn;
        OSStatus status;
    };
    for (const Row& r : { Row { 0, 0 }, Row { 1, -108 }, Row { 2, -10875 } })
    {
        FragileUnit::throwIn = r.throwIn;
        AudioComponentPlugInInterface* iface = APFactory<AUBaseLookup, FragileUnit>::Factory(nullptr);
        ASSERT_NE(iface, nullptr);
        EXPECT_EQ(iface->Open(iface, reinterpret_cast<AudioComponentInstance>(iface)), r.status);
        EXPECT_EQ(ComponentBase::sNewInstanceType, 0u) << "restored after Open";
        if (r.status == 0)
        {
            EXPECT_EQ(liveUnits, 1);
            EXPECT_EQ(InstanceObject(iface)->InstanceType(), ComponentBase::kAudioComponentInstance);
            EXPECT_EQ(iface->Close(iface), 0);
        }
        // A failed Open has freed the block (ASan reports a leak otherwise)
        // and destroyed whatever it had built.
        EXPECT_EQ(liveUnits, 0) << "throw in " << r.throwIn;
    }
    FragileUnit::throwIn = 0;
}

// Reset that leaves the render time alone, to tell the two resets apart.
class KeepTimeUnit : public TestEffectUnit
{
public:
    using TestEffectUnit::TestEffectUnit;
    OSStatus Reset(AudioUnitScope, AudioUnitElement) override { return 0; }
};

TEST(Reset, OnlyTheComponentEntryRewindsTheRenderTime)
{
    AudioComponentPlugInInterface* iface = APFactory<AUBaseLookup, KeepTimeUnit>::Factory(nullptr);
    ASSERT_EQ(iface->Open(iface, nullptr), 0);
    AUBase* unit = InstanceObject(iface);
    AudioUnitRenderActionFlags flags = 0;
    AudioTimeStamp t {};
    t.mSampleTime = 100.0;
    // Uninitialised, it has no input to pull, but the time is taken first.
    ASSERT_EQ(unit->RenderBus(flags, t, 0, 0), -10876);
    ASSERT_EQ(unit->CurrentRenderTime().mSampleTime, 100.0);

    using ResetMethod = OSStatus (*)(void*, UInt32, UInt32);
    ASSERT_EQ(reinterpret_cast<ResetMethod>(iface->Lookup(kAudioUnitResetSelect))(iface, 0, 0), 0);
    EXPECT_EQ(unit->CurrentRenderTime().mSampleTime, 100.0);

    long block[5] = {};
    auto* bytes = reinterpret_cast<unsigned char*>(block);
    bytes[1] = 16;
    const SInt16 selector = kAudioUnitResetSelect;
    std::memcpy(bytes + 2, &selector, 2);
    ASSERT_EQ(AUBase::ComponentEntryDispatch(reinterpret_cast<ComponentParameters*>(block), unit), 0);
    EXPECT_EQ(unit->CurrentRenderTime().mSampleTime, -1.0);
    EXPECT_EQ(iface->Close(iface), 0);
}

TEST(FastDispatch, NullChecksBeforeTheCall)
{
    TestEffectUnit unit(nullptr);
    unit.PostConstructor();
    void* object = static_cast<AUBase*>(&unit);
    Float32 value = 0;
    AudioTimeStamp t {};
    AudioBufferList list {};

    EXPECT_EQ(CMgr_AudioUnitBaseGetParameter(nullptr, 0, 0, 0, &value), -50);
    EXPECT_EQ(CMgr_AudioUnitBaseGetParameter(object, 0, 0, 0, nullptr), -50);
    EXPECT_EQ(CMgr_AudioUnitBaseGetParameter(object, 0, 0, 0, &value), 0);
    EXPECT_EQ(value, 1.0f);
    EXPECT_EQ(CMgr_AudioUnitBaseGetParameter(object, 5, 0, 0, &value), -10878) << "a throw comes back as a status";
    EXPECT_EQ(CMgr_AudioUnitBaseSetParameter(nullptr, 0, 0, 0, 0.5f, 0), -50);
    EXPECT_EQ(CMgr_AudioUnitBaseSetParameter(object, 0, 0, 0, 0.5f, 0), 0);
    EXPECT_EQ(unit.Globals0()->GetParameter(0), 0.5f);
    EXPECT_EQ(CMgr_AudioUnitBaseRender(nullptr, nullptr, &t, 0, 16, &list), -50);
    EXPECT_EQ(CMgr_AudioUnitBaseRender(object, nullptr, nullptr, 0, 16, &list), -50);
    EXPECT_EQ(CMgr_AudioUnitBaseRender(object, nullptr, &t, 0, 16, nullptr), -50);
    EXPECT_EQ(CMgr_AudioUnitBaseRender(object, nullptr, &t, 0, 16, &list), -10867) << "null flags read as 0";
}

TEST(ComponentOpen, WithoutAComponentManagerNoInstanceIsMade)
{
    // This test program defines no Component Manager.
    long block[3] = {};
    auto* bytes = reinterpret_cast<unsigned char*>(block);
    const SInt16 selector = kComponentOpenSelect;
    std::memcpy(bytes + 2, &selector, 2);
    int instance = 0;
    void* handle = &instance;
    std::memcpy(bytes + 8, &handle, 8);
    liveUnits = 0;
    EXPECT_EQ(ComponentEntryPoint<FragileUnit>::Dispatch(reinterpret_cast<ComponentParameters*>(block), nullptr), -4);
    EXPECT_EQ(liveUnits, 0);
}
} // namespace
