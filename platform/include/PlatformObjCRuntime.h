/* The object runtime that run-time classes are registered with: classes made
   and disposed of at run time, selectors, methods, instance variables,
   protocols, instances with retain counts, and autorelease pools.

   Names and signatures are the runtime's published C ones, so that code
   written against the platform builds against this header. The records
   behind the handles are our own; only an instance's first field (its class)
   is part of the interface.

   There is no message-send trampoline here: a message is sent by looking its
   implementation up (class_getInstanceMethod, method_getImplementation) and
   calling it with the receiver and the selector first, as the trampoline
   would. Classes have no metaclasses: instances are made with
   class_createInstance and an init method.

   Threads: every function may be called from any thread; a class is built
   (methods and instance variables added) on one thread before it is
   registered. */
#ifndef QV_PLATFORM_OBJC_RUNTIME_H
#define QV_PLATFORM_OBJC_RUNTIME_H

#include "PlatformCoreFoundation.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct objc_class* Class;
typedef struct objc_object
{
    Class isa;
} *id;
typedef struct objc_selector* SEL;
typedef struct objc_method* Method;
typedef struct objc_ivar* Ivar;
typedef struct objc_object Protocol;
/* Cast to R (*)(id self, SEL _cmd, arguments...), the method's own types, to call. */
typedef void (*IMP)(void);
typedef signed char BOOL;

#define YES ((BOOL) 1)
#define NO ((BOOL) 0)
#define Nil ((Class) 0)

/* ---- Classes -------------------------------------------------------------- */

/* A new class under construction; Nil when the name is taken. extraBytes is
   ignored. */
QV_PLATFORM_API Class objc_allocateClassPair(Class superclass, const char* name, size_t extraBytes);
/* Makes a class under construction findable by name. */
QV_PLATFORM_API void objc_registerClassPair(Class cls);
/* Destroys a class made by objc_allocateClassPair. A class that still has
   live instances or registered subclasses stays as it is. */
QV_PLATFORM_API void objc_disposeClassPair(Class cls);
/* The registered class of that name, or Nil. */
QV_PLATFORM_API Class objc_getClass(const char* name);
QV_PLATFORM_API Class objc_lookUpClass(const char* name);
/* "nil" for Nil. */
QV_PLATFORM_API const char* class_getName(Class cls);
QV_PLATFORM_API Class class_getSuperclass(Class cls);
QV_PLATFORM_API size_t class_getInstanceSize(Class cls);
QV_PLATFORM_API BOOL class_isMetaClass(Class cls);

/* ---- Selectors and methods -------------------------------------------------- */

/* The one selector of that name (the same pointer every time). */
QV_PLATFORM_API SEL sel_registerName(const char* name);
QV_PLATFORM_API SEL sel_getUid(const char* name);
QV_PLATFORM_API const char* sel_getName(SEL selector);

/* NO when the class itself already has a method of that name. */
QV_PLATFORM_API BOOL class_addMethod(Class cls, SEL name, IMP imp, const char* types);
/* The class's method, or the nearest superclass's; null when none has one. */
QV_PLATFORM_API Method class_getInstanceMethod(Class cls, SEL name);
QV_PLATFORM_API BOOL class_respondsToSelector(Class cls, SEL name);
QV_PLATFORM_API IMP method_getImplementation(Method method);
QV_PLATFORM_API SEL method_getName(Method method);
QV_PLATFORM_API const char* method_getTypeEncoding(Method method);

/* ---- Instance variables ------------------------------------------------------ */

/* Only while the class is under construction; alignment is log2 of the bytes.
   NO when the name is taken in the class or its superclasses. */
QV_PLATFORM_API BOOL class_addIvar(Class cls, const char* name, size_t size, uint8_t alignment, const char* types);
QV_PLATFORM_API Ivar class_getInstanceVariable(Class cls, const char* name);
QV_PLATFORM_API const char* ivar_getName(Ivar ivar);
QV_PLATFORM_API ptrdiff_t ivar_getOffset(Ivar ivar);
/* Writes (reads) the variable's bytes, at most a pointer's worth, from (into)
   the pointer-sized value; null when the object has no such variable. */
QV_PLATFORM_API Ivar object_setInstanceVariable(id object, const char* name, void* value);
QV_PLATFORM_API Ivar object_getInstanceVariable(id object, const char* name, void** outValue);

/* ---- Protocols --------------------------------------------------------------- */

QV_PLATFORM_API Protocol* objc_getProtocol(const char* name);
/* Null when the name is taken. */
QV_PLATFORM_API Protocol* objc_allocateProtocol(const char* name);
QV_PLATFORM_API void objc_registerProtocol(Protocol* protocol);
QV_PLATFORM_API const char* protocol_getName(Protocol* protocol);
QV_PLATFORM_API BOOL class_addProtocol(Class cls, Protocol* protocol);
/* The class itself adopts it (superclasses are not asked). */
QV_PLATFORM_API BOOL class_conformsToProtocol(Class cls, Protocol* protocol);

/* ---- Instances ---------------------------------------------------------------- */

/* Zero-filled, its class set, retain count 1. Nil for Nil or out of memory. */
QV_PLATFORM_API id class_createInstance(Class cls, size_t extraBytes);
/* Frees an instance without sending it anything; answers nil. */
QV_PLATFORM_API id object_dispose(id object);
QV_PLATFORM_API Class object_getClass(id object);
QV_PLATFORM_API const char* object_getClassName(id object);

/* The last release sends the object "dealloc" (object_dispose when it has no
   such method). */
QV_PLATFORM_API id objc_retain(id object);
QV_PLATFORM_API void objc_release(id object);
/* Released when the innermost pool of this thread is popped (at thread exit
   when none was pushed). */
QV_PLATFORM_API id objc_autorelease(id object);
QV_PLATFORM_API void* objc_autoreleasePoolPush(void);
/* Releases what was autoreleased since the matching push (pools pushed after
   it are popped too). */
QV_PLATFORM_API void objc_autoreleasePoolPop(void* pool);

#ifdef __cplusplus
}
#endif

#endif
