// Hostile and careless hosts: null pointers, wrong sizes, unknown selectors,
// scopes and elements, values of the wrong kind. Every call answers a status;
// nothing crashes, reads out of bounds or changes what it refused.
#include "AUTestHost.h"
#include "ComponentManager.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

namespace
{
constexpr OSStatus kParamError = -50, kBadValue = -10851;

TEST(AUHostile, FactoryFunctionsWithANullBlock)
{
    const PluginModule& module = testPluginModule();
    ASSERT_TRUE(module.isLoaded()) << module.error();
    const AudioComponentDescription d = testDescription();
    AudioComponentPlugInInterface* iface = module.factory()(&d);
    ASSERT_NE(iface, nullptr);

    EXPECT_EQ(iface->Open(nullptr, nullptr), kParamError);
    EXPECT_EQ(iface->Close(nullptr), kParamError);

    auto m = [&](SInt16 s) { return iface->Lookup(s); };
    using Plain = OSStatus (*)(void*);
    using Six = OSStatus (*)(void*, UInt32, UInt32, UInt32, void*, void*);
    using Param = OSStatus (*)(void*, UInt32, UInt32, UInt32, Float32, UInt32);
    using Three = OSStatus (*)(void*, void*, void*, void*);
    using Render = OSStatus (*)(void*, void*, void*, UInt32, UInt32, void*);
    using Two = OSStatus (*)(void*, UInt32, UInt32);

    EXPECT_EQ(reinterpret_cast<Plain>(m(1))(nullptr), kParamError);
    EXPECT_EQ(reinterpret_cast<Plain>(m(2))(nullptr), kParamError);
    for (SInt16 s : { 3, 4, 5 })
        EXPECT_EQ(reinterpret_cast<Six>(m(s))(nullptr, 0, 0, 0, nullptr, nullptr), kParamError) << "selector " << s;
    EXPECT_EQ(reinterpret_cast<Six>(m(6))(nullptr, 0, 0, 0, nullptr, nullptr), kParamError);
    EXPECT_EQ(reinterpret_cast<Param>(m(7))(nullptr, 0, 0, 0, 1.0f, 0), kParamError);
    EXPECT_EQ(reinterpret_cast<Two>(m(9))(nullptr, 0, 0), kParamError);
    for (SInt16 s : { 10, 11, 15, 16, 17, 18 })
        EXPECT_EQ(reinterpret_cast<Three>(m(s))(nullptr, nullptr, nullptr, nullptr), kParamError) << "selector " << s;
    EXPECT_EQ(reinterpret_cast<Render>(m(14))(nullptr, nullptr, nullptr, 0, 64, nullptr), kParamError);

    // The block was never opened: it is the host's to free.
    std::free(iface);
}

TEST(AUHostile, ComponentEntryWithoutObjectOrWithShortBlocks)
{
    const ComponentEntry entry = testPluginModule().entry();
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry(nullptr, nullptr), kParamError);

    int instance = 0;
    for (SInt16 s : { 1, 2, 3, 4, 5, 6, 7, 9, 10, 14, 15, 16, 17, 18, 257, 258, -2, -3, -4 })
        EXPECT_EQ(ComponentCall(s, &instance).arg(0).arg(0).arg(0).arg(0).arg(0).call(entry, nullptr), kParamError)
            << "selector " << s << " without an object";
    EXPECT_EQ(ComponentCall(kComponentOpenSelect, nullptr).call(entry, nullptr), kParamError) << "no instance";

    auto unit = openUnit(Way::component);
    ASSERT_NE(unit, nullptr);
    void* storage = GetComponentInstanceStorage(unit->handle());

    // A block that says it carries fewer argument slots than the selector
    // reads is refused, not read past.
    UInt32 size = 40;
    AudioStreamBasicDescription f {};
    EXPECT_EQ(ComponentCall(4, unit->handle()).arg(8u).arg(2u).arg(0u).arg(&f).arg(&size).claimSize(32).call(entry, storage),
              kParamError);
    EXPECT_EQ(ComponentCall(257, unit->handle()).arg(0x90u).arg(60u).claimSize(16).call(entry, storage), kParamError);
    EXPECT_EQ(ComponentCall(kComponentCanDoSelect, unit->handle()).claimSize(0).call(entry, storage), 0);
    EXPECT_EQ(ComponentCall(4, unit->handle()).arg(8u).arg(2u).arg(0u).arg(&f).arg(&size).call(entry, storage), 0);
    EXPECT_EQ(f.mSampleRate, 44100.0);
}

class AUHostileTest : public ::testing::TestWithParam<Way>
{
protected:
    void SetUp() override
    {
        unit = openUnit(GetParam());
        ASSERT_NE(unit, nullptr);
    }
    std::unique_ptr<HostUnit> unit;
};

INSTANTIATE_TEST_SUITE_P(BothWays, AUHostileTest, ::testing::Values(Way::factory, Way::component),
                         [](const auto& info) { return std::string(wayName(info.param)); });

OSStatus silentNotify(void*, AudioUnitRenderActionFlags*, const AudioTimeStamp*, UInt32, UInt32, AudioBufferList*)
{
    return 0;
}

TEST_P(AUHostileTest, NullPointersAnswerAStatus)
{
    UInt32 value = 0;
    EXPECT_EQ(unit->getProperty(14, 0, 0, &value, nullptr), kParamError);
    EXPECT_EQ(unit->getPropertyInfo(14, 0, 0, nullptr, nullptr), 0);
    EXPECT_EQ(unit->setProperty(14, 0, 0, &value, 0), kParamError) << "data without a size";
    EXPECT_EQ(unit->setProperty(14, 0, 0, nullptr, 4), kParamError) << "a size without data";
    EXPECT_EQ(unit->addPropertyListener(14, nullptr, nullptr), kParamError);
    EXPECT_EQ(unit->removePropertyListener(14, nullptr, nullptr), kParamError);
    EXPECT_EQ(unit->addRenderNotify(nullptr, nullptr), kParamError);
    EXPECT_EQ(unit->removeRenderNotify(nullptr, nullptr), kParamError);
    EXPECT_EQ(unit->scheduleParameters(nullptr, 3), kParamError);
    EXPECT_EQ(unit->scheduleParameters(nullptr, 0), 0);

    ChannelBuffers out(2, 16);
    AudioTimeStamp t = sampleTime(0);
    EXPECT_EQ(unit->render(nullptr, nullptr, 0, 16, out.list()), kParamError);
    EXPECT_EQ(unit->render(nullptr, &t, 0, 16, nullptr), kParamError);
    EXPECT_EQ(unit->addRenderNotify(silentNotify, nullptr), 0);
}

struct SetRow
{
    const char* what;
    AudioUnitPropertyID id;
    AudioUnitScope scope;
    AudioUnitElement element;
    std::vector<UInt8> bytes;
    OSStatus status;
};

template <class T>
std::vector<UInt8> bytesOf(const T& v, size_t n = sizeof(T))
{
    std::vector<UInt8> b(sizeof(T));
    std::memcpy(b.data(), &v, sizeof(T));
    b.resize(n);
    return b;
}

TEST_P(AUHostileTest, WrongSizesScopesElementsAndKinds)
{
    const SInt32 seven = 7;
    CFHolder number(CFNumberCreate(nullptr, kCFNumberSInt32Type, &seven));
    CFHolder text(makeString("text"));
    const UInt32 four = 4;
    AudioChannelLayout huge {};
    huge.mChannelLayoutTag = 0;
    huge.mNumberChannelDescriptions = 1000000; // far more than the 32 bytes given

    const SetRow rows[] = {
        { "class info of 4 bytes", 0, 0, 0, bytesOf(four), kBadValue },
        { "class info not a dictionary", 0, 0, 0, bytesOf(text.ref), kBadValue },
        { "class info on the input scope", 0, 1, 0, bytesOf(number.ref), -10866 },
        { "connection of 8 bytes", 1, 1, 0, bytesOf(four, 8), kBadValue },
        { "connection to input 3", 1, 1, 0, bytesOf(AudioUnitConnection { nullptr, 0, 3 }), -10877 },
        { "sample rate of 4 bytes", 2, 1, 0, bytesOf(four), kBadValue },
        { "sample rate of input 9", 2, 1, 9, bytesOf(48000.0), -10877 },
        { "format on the group scope", 8, 3, 0, bytesOf(AudioStreamBasicDescription {}), -10877 },
        { "format on scope 99", 8, 99, 0, bytesOf(AudioStreamBasicDescription {}), -10866 },
        { "element count", 11, 1, 0, bytesOf(four), -10865 },
        { "max frames of 2 bytes", 14, 0, 0, bytesOf(four, 2), kBadValue },
        { "external buffer before initialising", 15, 2, 0, bytesOf(AudioUnitExternalBuffer {}), -10867 },
        { "layout shorter than its head", 19, 2, 0, bytesOf(four, 8), kBadValue },
        { "layout claiming a million descriptions", 19, 2, 0, bytesOf(huge), kBadValue },
        { "render callback of 8 bytes", 23, 1, 0, bytesOf(four, 8), kBadValue },
        { "render callback for input 2", 23, 1, 2, bytesOf(AURenderCallbackStruct {}), -10877 },
        { "context name a number", 25, 0, 0, bytesOf(number.ref), kBadValue },
        { "context name on the output scope", 25, 2, 0, bytesOf(text.ref), -10866 },
        { "element name a number", 30, 1, 0, bytesOf(number.ref), kBadValue },
        { "element name of element 4", 30, 1, 4, bytesOf(text.ref), -10877 },
        { "element name on scope 7", 30, 7, 0, bytesOf(text.ref), -10866 },
        { "preset named by a number", 36, 0, 0, bytesOf(AUPreset { -1, (CFStringRef) number.ref }), kBadValue },
        { "preset of 8 bytes", 36, 0, 0, bytesOf(four, 8), kBadValue },
        { "should-allocate on the global scope", 51, 0, 0, bytesOf(four), -10866 },
        { "should-allocate of output 2", 51, 2, 2, bytesOf(four), -10877 },
        { "bypass of 2 bytes", 21, 0, 0, bytesOf(four, 2), kBadValue },
        { "unknown property", 7777, 0, 0, bytesOf(four), -10879 },
    };
    for (const auto& r : rows)
        EXPECT_EQ(unit->setProperty(r.id, r.scope, r.element, r.bytes.data(), (UInt32) r.bytes.size()), r.status)
            << r.what;

    // Nothing refused took effect.
    CFStringRef name = nullptr;
    EXPECT_EQ(unit->get(kAudioUnitProperty_ContextName, 0, 0, name), kBadValue);
    UInt32 frames = 0;
    ASSERT_EQ(unit->get(kAudioUnitProperty_MaximumFramesPerSlice, 0, 0, frames), 0);
    EXPECT_EQ(frames, 1156u);

    // A misaligned external buffer, once initialised.
    ASSERT_EQ(unit->initialize(), 0);
    alignas(16) static Byte memory[64 * 1024];
    EXPECT_EQ(unit->set(15, 2, 0, AudioUnitExternalBuffer { memory + 4, 4096 }), kParamError);
    EXPECT_EQ(unit->set(15, 2, 0, AudioUnitExternalBuffer { memory, sizeof(memory) }), 0);
}

TEST_P(AUHostileTest, ChannelLayoutsAreCheckedBeforeAnythingChanges)
{
    struct Row
    {
        const char* what;
        AudioChannelLayoutTag tag;
        UInt32 bitmap;
        OSStatus status;
    };
    const Row rows[] = {
        { "stereo on two channels", 0x650002, 0, 0 },
        { "5.1 on two channels", 0x790006, 0, kBadValue },
        { "a bitmap of two bits", 0x10000, 0x3, kBadValue }, // right count, tag not offered
        { "B-format on two channels", 0x6C0004, 0, kBadValue },
    };
    for (const auto& r : rows)
    {
        AudioChannelLayout layout {};
        layout.mChannelLayoutTag = r.tag;
        layout.mChannelBitmap = r.bitmap;
        EXPECT_EQ(unit->setProperty(19, 2, 0, &layout, 12), r.status) << r.what;
    }
    // The accepted stereo layout reads back; the refusals after it left it.
    AudioChannelLayout back {};
    UInt32 size = sizeof(back);
    ASSERT_EQ(unit->getProperty(19, 2, 0, &back, &size), 0);
    EXPECT_EQ(size, 12u);
    EXPECT_EQ(back.mChannelLayoutTag, 0x650002u);

    AudioChannelLayout input {};
    input.mChannelLayoutTag = 0x650002;
    EXPECT_EQ(unit->setProperty(19, 1, 0, &input, 12), -10879) << "no tags on the input scope";

    // Six output channels: 5.1 is offered and fits; the stereo layout went
    // with the old channel count.
    ASSERT_EQ(unit->setChannels(kAudioUnitScope_Output, 6), 0);
    EXPECT_EQ(unit->getProperty(19, 2, 0, &back, &size), kBadValue);
    AudioChannelLayout surround {};
    surround.mChannelLayoutTag = 0x790006;
    EXPECT_EQ(unit->setProperty(19, 2, 0, &surround, 12), 0);
    EXPECT_EQ(unit->setProperty(19, 2, 0, nullptr, 0), 0) << "removed";
    EXPECT_EQ(unit->getPropertyInfo(19, 2, 0, &size, nullptr), kBadValue);
}

TEST_P(AUHostileTest, BadScopesAndElementsOnReads)
{
    struct Row
    {
        AudioUnitPropertyID id;
        AudioUnitScope scope;
        AudioUnitElement element;
        OSStatus status;
    };
    const Row rows[] = { { 8, 5, 0, -10866 },          { 8, 1, 0xFFFFFFFF, -10877 }, { 2, 3, 0, -10877 },
                         { 11, 77, 0, -10866 },        { 30, 2, 1, -10877 },          { 51, 1, 9, -10877 },
                         { 0x6C727374, 0, 2, -10877 }, { 3, 12, 0, -10866 },          { 13, 1, 0, -10866 } };
    for (const auto& r : rows)
    {
        UInt8 buffer[128] = {};
        UInt32 size = sizeof(buffer);
        EXPECT_EQ(unit->getProperty(r.id, r.scope, r.element, buffer, &size), r.status)
            << "property " << r.id << " scope " << r.scope << " element " << r.element;
    }
}
} // namespace
