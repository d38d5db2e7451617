// A host process without a Component Manager: the component entry cannot
// keep an instance's object, so it opens none; the factory way works, and the
// unit finds its description through the platform's component registry.
#include "AUTestHost.h"

#include <gtest/gtest.h>

namespace
{
TEST(NoComponentManager, ComponentOpenAnswersUnimplemented)
{
    const PluginModule& module = testPluginModule();
    ASSERT_TRUE(module.isLoaded()) << module.error();
    int instance = 0;
    EXPECT_EQ(ComponentCall(kComponentOpenSelect, &instance).call(module.entry(), nullptr), -4);
    EXPECT_EQ(ComponentCall(kComponentOpenSelect, &instance).call(module.entry(), nullptr), -4) << "and again";
}

TEST(NoComponentManager, FactoryInstanceStillWorks)
{
    OSStatus status = 0;
    auto unit = openThroughFactory(testPluginModule(), &status);
    ASSERT_NE(unit, nullptr) << status;
    EXPECT_EQ(unit->initialize(), 0);

    CFPropertyListRef plist = nullptr;
    ASSERT_EQ(unit->get(kAudioUnitProperty_ClassInfo, 0, 0, plist), 0);
    CFHolder held(plist);
    CFHolder key(makeString("subtype"));
    SInt32 subtype = 0;
    ASSERT_TRUE(CFNumberGetValue(static_cast<CFNumberRef>(CFDictionaryGetValue(static_cast<CFDictionaryRef>(plist), key.ref)),
                                 kCFNumberSInt32Type, &subtype));
    EXPECT_EQ(subtype, 0x51767232);
}
} // namespace
