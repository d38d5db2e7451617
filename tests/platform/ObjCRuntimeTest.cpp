// The object runtime through its C interface: classes made and disposed of at
// run time, methods found through superclasses, instance variables at their
// offsets, protocols, retain counts ending in dealloc, autorelease pools.
#include "ObjCMessage.h"
#include "PlatformObjCRuntime.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>

namespace
{
using qvobjc::send;

int deallocs = 0;

void countingDealloc(id self, SEL)
{
    ++deallocs;
    qvobjc::sendSuper<void>(objc_getClass("QvTestCounted"), self, "dealloc");
}

int answer(id, SEL) { return 42; }
int otherAnswer(id, SEL) { return 7; }
double twice(id, SEL, double v) { return 2 * v; }

// A class with a dealloc that counts, on NSObject.
Class countedClass()
{
    static Class cls = [] {
        Class c = objc_allocateClassPair(objc_getClass("NSObject"), "QvTestCounted", 0);
        class_addMethod(c, sel_registerName("dealloc"), reinterpret_cast<IMP>(countingDealloc), "v@:");
        objc_registerClassPair(c);
        return c;
    }();
    return cls;
}

TEST(ObjCRuntime, PlatformClassesAreThereAtLoad)
{
    for (const char* name : { "NSObject", "NSView", "NSWindow", "NSEvent", "NSApplication" })
    {
        Class cls = objc_getClass(name);
        ASSERT_NE(cls, nullptr) << name;
        EXPECT_STREQ(class_getName(cls), name);
    }
    EXPECT_EQ(class_getSuperclass(objc_getClass("NSView")), objc_getClass("NSObject"));
    EXPECT_EQ(class_getSuperclass(objc_getClass("NSObject")), nullptr);
    EXPECT_STREQ(class_getName(Nil), "nil");
    EXPECT_NE(objc_getProtocol("AUCocoaUIBase"), nullptr);
    EXPECT_STREQ(protocol_getName(objc_getProtocol("AUCocoaUIBase")), "AUCocoaUIBase");
    EXPECT_EQ(objc_getClass("NoSuchClass"), nullptr);
    EXPECT_EQ(objc_getClass(nullptr), nullptr);
}

TEST(ObjCRuntime, ClassesUnderConstructionAndTheirNames)
{
    Class a = objc_allocateClassPair(objc_getClass("NSObject"), "QvTestA", 0);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(objc_getClass("QvTestA"), nullptr) << "not findable before registration";
    EXPECT_EQ(objc_allocateClassPair(objc_getClass("NSObject"), "QvTestA", 0), nullptr) << "the name is taken";
    EXPECT_EQ(objc_allocateClassPair(a, "QvTestSubOfUnregistered", 0), nullptr) << "its size may still change";
    EXPECT_EQ(objc_allocateClassPair(Nil, "NSView", 0), nullptr) << "a platform name";
    EXPECT_EQ(objc_allocateClassPair(Nil, "", 0), nullptr);

    objc_registerClassPair(a);
    EXPECT_EQ(objc_getClass("QvTestA"), a);
    EXPECT_EQ(objc_lookUpClass("QvTestA"), a);

    objc_disposeClassPair(a);
    EXPECT_EQ(objc_getClass("QvTestA"), nullptr) << "disposed of";
    Class again = objc_allocateClassPair(objc_getClass("NSObject"), "QvTestA", 0);
    EXPECT_NE(again, nullptr) << "the name is free again";
    objc_disposeClassPair(again);

    objc_disposeClassPair(objc_getClass("NSObject"));
    EXPECT_NE(objc_getClass("NSObject"), nullptr) << "the platform's classes stay";
}

TEST(ObjCRuntime, MethodsAreFoundThroughSuperclasses)
{
    Class base = objc_allocateClassPair(objc_getClass("NSObject"), "QvTestBase", 0);
    ASSERT_TRUE(class_addMethod(base, sel_registerName("answer"), reinterpret_cast<IMP>(answer), "i@:"));
    EXPECT_FALSE(class_addMethod(base, sel_registerName("answer"), reinterpret_cast<IMP>(otherAnswer), "i@:"))
        << "a class has one method per name";
    objc_registerClassPair(base);

    Class derived = objc_allocateClassPair(base, "QvTestDerived", 0);
    ASSERT_TRUE(class_addMethod(derived, sel_registerName("twice:"), reinterpret_cast<IMP>(twice), "d@:d"));
    objc_registerClassPair(derived);

    EXPECT_EQ(sel_registerName("answer"), sel_registerName("answer")) << "one selector per name";
    EXPECT_STREQ(sel_getName(sel_registerName("twice:")), "twice:");

    id object = class_createInstance(derived, 0);
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(object_getClass(object), derived);
    EXPECT_STREQ(object_getClassName(object), "QvTestDerived");
    EXPECT_EQ(send<int>(object, "answer"), 42) << "inherited";
    EXPECT_EQ(send<double>(object, "twice:", 1.25), 2.5);
    EXPECT_EQ(send<int>(object, "noSuchMethod"), 0) << "no method: a zero answer";
    EXPECT_TRUE(send<BOOL>(object, "respondsToSelector:", sel_registerName("answer")));
    EXPECT_FALSE(send<BOOL>(object, "respondsToSelector:", sel_registerName("noSuchMethod")));
    EXPECT_EQ(send<int>(nullptr, "answer"), 0) << "nil receives anything";

    Method m = class_getInstanceMethod(derived, sel_registerName("answer"));
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(method_getImplementation(m), reinterpret_cast<IMP>(answer));
    EXPECT_STREQ(method_getTypeEncoding(m), "i@:");
    EXPECT_EQ(class_getInstanceMethod(base, sel_registerName("twice:")), nullptr) << "not in the superclass";

    objc_disposeClassPair(base);
    EXPECT_EQ(objc_getClass("QvTestBase"), base) << "a class with a subclass stays";
    objc_release(object);
    objc_disposeClassPair(derived);
    objc_disposeClassPair(base);
    EXPECT_EQ(objc_getClass("QvTestBase"), nullptr);
}

TEST(ObjCRuntime, InstanceVariablesAtAlignedOffsets)
{
    Class cls = objc_allocateClassPair(objc_getClass("NSObject"), "QvTestIvars", 0);
    ASSERT_TRUE(class_addIvar(cls, "flag", 1, 0, "c"));
    ASSERT_TRUE(class_addIvar(cls, "pointer", 8, 3, "^v"));
    ASSERT_TRUE(class_addIvar(cls, "word", 4, 2, "I"));
    EXPECT_FALSE(class_addIvar(cls, "pointer", 8, 3, "^v")) << "the name is taken";
    objc_registerClassPair(cls);
    EXPECT_FALSE(class_addIvar(cls, "late", 8, 3, "^v")) << "not after registration";

    // NSObject's instance is its class pointer: 8 bytes.
    EXPECT_EQ(ivar_getOffset(class_getInstanceVariable(cls, "flag")), 8);
    EXPECT_EQ(ivar_getOffset(class_getInstanceVariable(cls, "pointer")), 16);
    EXPECT_EQ(ivar_getOffset(class_getInstanceVariable(cls, "word")), 24);
    EXPECT_EQ(class_getInstanceSize(cls), 28u);
    EXPECT_EQ(class_getInstanceVariable(cls, "missing"), nullptr);

    id object = class_createInstance(cls, 0);
    void* value = reinterpret_cast<void*>(1);
    ASSERT_NE(object_getInstanceVariable(object, "pointer", &value), nullptr);
    EXPECT_EQ(value, nullptr) << "instances start zeroed";

    int target = 0;
    ASSERT_NE(object_setInstanceVariable(object, "pointer", &target), nullptr);
    object_getInstanceVariable(object, "pointer", &value);
    EXPECT_EQ(value, &target);
    EXPECT_EQ(*reinterpret_cast<void**>(reinterpret_cast<char*>(object) + 16), &target) << "at its offset";

    object_setInstanceVariable(object, "flag", reinterpret_cast<void*>(0x1FF));
    EXPECT_EQ(*(reinterpret_cast<unsigned char*>(object) + 8), 0xFF) << "a 1-byte variable takes one byte";
    EXPECT_EQ(*(reinterpret_cast<unsigned char*>(object) + 9), 0) << "and nothing beyond it";

    EXPECT_EQ(object_setInstanceVariable(object, "missing", &target), nullptr);
    EXPECT_EQ(object_getInstanceVariable(object, "missing", &value), nullptr);
    EXPECT_EQ(value, nullptr);
    EXPECT_EQ(object_getInstanceVariable(nullptr, "pointer", &value), nullptr);
    objc_release(object);
    objc_disposeClassPair(cls);
}

TEST(ObjCRuntime, Protocols)
{
    Protocol* p = objc_allocateProtocol("QvTestProtocol");
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(objc_getProtocol("QvTestProtocol"), nullptr) << "not before registration";
    objc_registerProtocol(p);
    EXPECT_EQ(objc_getProtocol("QvTestProtocol"), p);
    EXPECT_EQ(objc_allocateProtocol("QvTestProtocol"), nullptr);

    Class cls = objc_allocateClassPair(objc_getClass("NSObject"), "QvTestAdopter", 0);
    EXPECT_TRUE(class_addProtocol(cls, p));
    EXPECT_FALSE(class_addProtocol(cls, p)) << "once";
    objc_registerClassPair(cls);
    EXPECT_TRUE(class_conformsToProtocol(cls, p));
    EXPECT_FALSE(class_conformsToProtocol(objc_getClass("NSObject"), p));
    EXPECT_FALSE(class_conformsToProtocol(cls, objc_getProtocol("AUCocoaUIBase")));
    objc_disposeClassPair(cls);
}

TEST(ObjCRuntime, TheLastReleaseSendsDealloc)
{
    deallocs = 0;
    id object = class_createInstance(countedClass(), 0);
    EXPECT_EQ(objc_retain(object), object);
    objc_release(object);
    EXPECT_EQ(deallocs, 0);
    objc_disposeClassPair(countedClass());
    EXPECT_EQ(objc_getClass("QvTestCounted"), countedClass()) << "a class with a live instance stays";
    send<void>(object, "release");
    EXPECT_EQ(deallocs, 1);
    objc_release(nullptr);
    EXPECT_EQ(objc_retain(nullptr), nullptr);
}

TEST(ObjCRuntime, AutoreleasePoolsReleaseOnPop)
{
    deallocs = 0;
    void* outer = objc_autoreleasePoolPush();
    objc_autorelease(class_createInstance(countedClass(), 0));
    void* inner = objc_autoreleasePoolPush();
    objc_autorelease(class_createInstance(countedClass(), 0));
    objc_autorelease(class_createInstance(countedClass(), 0));
    objc_autoreleasePoolPop(inner);
    EXPECT_EQ(deallocs, 2) << "the inner pool's two";

    void* forgotten = objc_autoreleasePoolPush();
    objc_autorelease(class_createInstance(countedClass(), 0));
    (void) forgotten;
    objc_autoreleasePoolPop(outer);
    EXPECT_EQ(deallocs, 4) << "popping the outer pool pops the one pushed after it";

    objc_autoreleasePoolPop(outer);
    objc_autoreleasePoolPop(reinterpret_cast<void*>(999));
    EXPECT_EQ(deallocs, 4) << "a pool popped twice, or never pushed, is ignored";

    // Another thread's pools are its own; at its end its objects go.
    std::thread([] {
        objc_autoreleasePoolPop(reinterpret_cast<void*>(1));
        objc_autorelease(class_createInstance(countedClass(), 0));
    }).join();
    EXPECT_EQ(deallocs, 5);
}
} // namespace
