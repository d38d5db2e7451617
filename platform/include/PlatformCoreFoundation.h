/* The CoreFoundation subset that Audio Unit hosts and units exchange: reference
   counted objects, strings, numbers, data, arrays, dictionaries and file URLs.

   Names, signatures and constant values are the platform's published ones, so
   that a host written against the platform builds against this header. The
   objects' inner layout and type identifiers are our own.

   Threads: retain and release may be called from any thread; a mutable object
   must not be changed on one thread while another thread uses it. */
#ifndef QV_PLATFORM_CORE_FOUNDATION_H
#define QV_PLATFORM_CORE_FOUNDATION_H

#include <stddef.h>
#include <stdint.h>
#ifndef __cplusplus
#include <stdbool.h>
#endif

#ifdef __cplusplus
extern "C" {
#define QV_PLATFORM_STATIC_ASSERT(cond, msg) static_assert(cond, msg)
#else
#define QV_PLATFORM_STATIC_ASSERT(cond, msg) _Static_assert(cond, msg)
#endif

#define QV_PLATFORM_API __attribute__((visibility("default")))

/* Scalar types of the platform. */
typedef unsigned char Boolean;
typedef uint8_t UInt8;
typedef uint8_t Byte;
typedef int16_t SInt16;
typedef uint16_t UInt16;
typedef int32_t SInt32;
typedef uint32_t UInt32;
typedef int64_t SInt64;
typedef uint64_t UInt64;
typedef float Float32;
typedef double Float64;
typedef int32_t OSStatus;
typedef int16_t OSErr;
typedef uint32_t OSType;

typedef long CFIndex;
typedef unsigned long CFTypeID;
typedef unsigned long CFHashCode;
typedef UInt32 CFStringEncoding;
typedef CFIndex CFNumberType;
typedef CFIndex CFURLPathStyle;

typedef const void* CFTypeRef;
typedef CFTypeRef CFPropertyListRef;
typedef const struct QvCFAllocator* CFAllocatorRef;
typedef const struct QvCFString* CFStringRef;
typedef const struct QvCFNumber* CFNumberRef;
typedef const struct QvCFData* CFDataRef;
typedef struct QvCFData* CFMutableDataRef;
typedef const struct QvCFArray* CFArrayRef;
typedef struct QvCFArray* CFMutableArrayRef;
typedef const struct QvCFDictionary* CFDictionaryRef;
typedef struct QvCFDictionary* CFMutableDictionaryRef;
typedef const struct QvCFURL* CFURLRef;

enum
{
    kCFNotFound = -1
};

/* Number types. */
enum
{
    kCFNumberSInt8Type = 1,
    kCFNumberSInt16Type = 2,
    kCFNumberSInt32Type = 3,
    kCFNumberSInt64Type = 4,
    kCFNumberFloat32Type = 5,
    kCFNumberFloat64Type = 6,
    kCFNumberCharType = 7,
    kCFNumberShortType = 8,
    kCFNumberIntType = 9,
    kCFNumberLongType = 10,
    kCFNumberLongLongType = 11,
    kCFNumberFloatType = 12,
    kCFNumberDoubleType = 13,
    kCFNumberCFIndexType = 14,
    kCFNumberNSIntegerType = 15,
    kCFNumberCGFloatType = 16,
    kCFNumberMaxType = 16
};

/* Text encodings this subset converts. */
enum
{
    kCFStringEncodingASCII = 0x0600,
    kCFStringEncodingUTF8 = 0x08000100
};

enum
{
    kCFURLPOSIXPathStyle = 0
};

/* The default allocator is the null allocator reference. */
QV_PLATFORM_API extern const CFAllocatorRef kCFAllocatorDefault;

/* Any object. */
QV_PLATFORM_API CFTypeRef CFRetain(CFTypeRef object);   /* a null object is answered null */
QV_PLATFORM_API void CFRelease(CFTypeRef object);       /* a null object is ignored */
QV_PLATFORM_API CFIndex CFGetRetainCount(CFTypeRef object);
QV_PLATFORM_API CFTypeID CFGetTypeID(CFTypeRef object);
QV_PLATFORM_API Boolean CFEqual(CFTypeRef a, CFTypeRef b);
QV_PLATFORM_API CFHashCode CFHash(CFTypeRef object);

/* Strings: UTF-8 (or ASCII) text. */
QV_PLATFORM_API CFTypeID CFStringGetTypeID(void);
QV_PLATFORM_API CFStringRef CFStringCreateWithCString(CFAllocatorRef allocator, const char* text,
                                                      CFStringEncoding encoding);
QV_PLATFORM_API Boolean CFStringGetCString(CFStringRef string, char* buffer, CFIndex bufferSize,
                                           CFStringEncoding encoding);
QV_PLATFORM_API const char* CFStringGetCStringPtr(CFStringRef string, CFStringEncoding encoding);
QV_PLATFORM_API CFIndex CFStringGetLength(CFStringRef string); /* UTF-16 code units */
QV_PLATFORM_API CFIndex CFStringGetMaximumSizeForEncoding(CFIndex length, CFStringEncoding encoding);

/* Numbers. */
QV_PLATFORM_API CFTypeID CFNumberGetTypeID(void);
QV_PLATFORM_API CFNumberRef CFNumberCreate(CFAllocatorRef allocator, CFNumberType type, const void* value);
QV_PLATFORM_API CFNumberType CFNumberGetType(CFNumberRef number);
QV_PLATFORM_API Boolean CFNumberIsFloatType(CFNumberRef number);
/* Converts to the asked type; false when the conversion lost something. */
QV_PLATFORM_API Boolean CFNumberGetValue(CFNumberRef number, CFNumberType type, void* value);

/* Byte buffers. */
QV_PLATFORM_API CFTypeID CFDataGetTypeID(void);
QV_PLATFORM_API CFDataRef CFDataCreate(CFAllocatorRef allocator, const UInt8* bytes, CFIndex length);
QV_PLATFORM_API CFMutableDataRef CFDataCreateMutable(CFAllocatorRef allocator, CFIndex capacity);
QV_PLATFORM_API void CFDataAppendBytes(CFMutableDataRef data, const UInt8* bytes, CFIndex length);
QV_PLATFORM_API CFIndex CFDataGetLength(CFDataRef data);
QV_PLATFORM_API const UInt8* CFDataGetBytePtr(CFDataRef data);
QV_PLATFORM_API UInt8* CFDataGetMutableBytePtr(CFMutableDataRef data);

/* Arrays. */
typedef const void* (*CFArrayRetainCallBack)(CFAllocatorRef allocator, const void* value);
typedef void (*CFArrayReleaseCallBack)(CFAllocatorRef allocator, const void* value);
typedef CFStringRef (*CFArrayCopyDescriptionCallBack)(const void* value);
typedef Boolean (*CFArrayEqualCallBack)(const void* value1, const void* value2);

typedef struct
{
    CFIndex version;
    CFArrayRetainCallBack retain;
    CFArrayReleaseCallBack release;
    CFArrayCopyDescriptionCallBack copyDescription;
    CFArrayEqualCallBack equal;
} CFArrayCallBacks;

QV_PLATFORM_STATIC_ASSERT(sizeof(CFArrayCallBacks) == 40, "CFArrayCallBacks layout");

/* Retains the values it holds and compares them with CFEqual. */
QV_PLATFORM_API extern const CFArrayCallBacks kCFTypeArrayCallBacks;

QV_PLATFORM_API CFTypeID CFArrayGetTypeID(void);
/* Null call-backs: the array holds plain pointers, neither retained nor released. */
QV_PLATFORM_API CFArrayRef CFArrayCreate(CFAllocatorRef allocator, const void** values, CFIndex count,
                                         const CFArrayCallBacks* callBacks);
QV_PLATFORM_API CFMutableArrayRef CFArrayCreateMutable(CFAllocatorRef allocator, CFIndex capacity,
                                                       const CFArrayCallBacks* callBacks);
QV_PLATFORM_API void CFArrayAppendValue(CFMutableArrayRef array, const void* value);
QV_PLATFORM_API CFIndex CFArrayGetCount(CFArrayRef array);
QV_PLATFORM_API const void* CFArrayGetValueAtIndex(CFArrayRef array, CFIndex index);

/* Dictionaries. */
typedef const void* (*CFDictionaryRetainCallBack)(CFAllocatorRef allocator, const void* value);
typedef void (*CFDictionaryReleaseCallBack)(CFAllocatorRef allocator, const void* value);
typedef CFStringRef (*CFDictionaryCopyDescriptionCallBack)(const void* value);
typedef Boolean (*CFDictionaryEqualCallBack)(const void* value1, const void* value2);
typedef CFHashCode (*CFDictionaryHashCallBack)(const void* value);

typedef struct
{
    CFIndex version;
    CFDictionaryRetainCallBack retain;
    CFDictionaryReleaseCallBack release;
    CFDictionaryCopyDescriptionCallBack copyDescription;
    CFDictionaryEqualCallBack equal;
    CFDictionaryHashCallBack hash;
} CFDictionaryKeyCallBacks;

typedef struct
{
    CFIndex version;
    CFDictionaryRetainCallBack retain;
    CFDictionaryReleaseCallBack release;
    CFDictionaryCopyDescriptionCallBack copyDescription;
    CFDictionaryEqualCallBack equal;
} CFDictionaryValueCallBacks;

QV_PLATFORM_STATIC_ASSERT(sizeof(CFDictionaryKeyCallBacks) == 48, "CFDictionaryKeyCallBacks layout");
QV_PLATFORM_STATIC_ASSERT(sizeof(CFDictionaryValueCallBacks) == 40, "CFDictionaryValueCallBacks layout");

/* Keys and values retained, compared with CFEqual, hashed with CFHash. */
QV_PLATFORM_API extern const CFDictionaryKeyCallBacks kCFTypeDictionaryKeyCallBacks;
QV_PLATFORM_API extern const CFDictionaryValueCallBacks kCFTypeDictionaryValueCallBacks;

QV_PLATFORM_API CFTypeID CFDictionaryGetTypeID(void);
QV_PLATFORM_API CFDictionaryRef CFDictionaryCreate(CFAllocatorRef allocator, const void** keys, const void** values,
                                                   CFIndex count, const CFDictionaryKeyCallBacks* keyCallBacks,
                                                   const CFDictionaryValueCallBacks* valueCallBacks);
QV_PLATFORM_API CFMutableDictionaryRef CFDictionaryCreateMutable(CFAllocatorRef allocator, CFIndex capacity,
                                                                 const CFDictionaryKeyCallBacks* keyCallBacks,
                                                                 const CFDictionaryValueCallBacks* valueCallBacks);
/* Same call-backs and entries as the original. */
QV_PLATFORM_API CFMutableDictionaryRef CFDictionaryCreateMutableCopy(CFAllocatorRef allocator, CFIndex capacity,
                                                                     CFDictionaryRef dictionary);
QV_PLATFORM_API CFIndex CFDictionaryGetCount(CFDictionaryRef dictionary);
QV_PLATFORM_API const void* CFDictionaryGetValue(CFDictionaryRef dictionary, const void* key);
QV_PLATFORM_API Boolean CFDictionaryGetValueIfPresent(CFDictionaryRef dictionary, const void* key, const void** value);
QV_PLATFORM_API Boolean CFDictionaryContainsKey(CFDictionaryRef dictionary, const void* key);
/* Either array may be null; each must have room for CFDictionaryGetCount entries. */
QV_PLATFORM_API void CFDictionaryGetKeysAndValues(CFDictionaryRef dictionary, const void** keys, const void** values);
QV_PLATFORM_API void CFDictionarySetValue(CFMutableDictionaryRef dictionary, const void* key, const void* value);
QV_PLATFORM_API void CFDictionaryRemoveValue(CFMutableDictionaryRef dictionary, const void* key);

/* File URLs. */
QV_PLATFORM_API CFTypeID CFURLGetTypeID(void);
QV_PLATFORM_API CFURLRef CFURLCreateWithFileSystemPath(CFAllocatorRef allocator, CFStringRef path,
                                                       CFURLPathStyle style, Boolean isDirectory);
QV_PLATFORM_API CFStringRef CFURLCopyFileSystemPath(CFURLRef url, CFURLPathStyle style);


/* ---- Notification centre ---------------------------------------------------- */

typedef struct QvCFNotificationCenter* CFNotificationCenterRef;
typedef CFStringRef CFNotificationName;
typedef void (*CFNotificationCallback)(CFNotificationCenterRef center, void* observer, CFNotificationName name,
                                       const void* object, CFDictionaryRef userInfo);
typedef CFIndex CFNotificationSuspensionBehavior;

enum
{
    CFNotificationSuspensionBehaviorDrop = 1,
    CFNotificationSuspensionBehaviorCoalesce = 2,
    CFNotificationSuspensionBehaviorHold = 3,
    CFNotificationSuspensionBehaviorDeliverImmediately = 4
};

/* The process's one centre. Notifications are delivered synchronously on the
   posting thread, whatever the suspension behaviour. */
QV_PLATFORM_API CFNotificationCenterRef CFNotificationCenterGetLocalCenter(void);
/* A null name observes every name, a null object every object. */
QV_PLATFORM_API void CFNotificationCenterAddObserver(CFNotificationCenterRef center, const void* observer,
                                                     CFNotificationCallback callBack, CFStringRef name,
                                                     const void* object,
                                                     CFNotificationSuspensionBehavior suspensionBehavior);
/* A null name or object matches every registration of the observer. */
QV_PLATFORM_API void CFNotificationCenterRemoveObserver(CFNotificationCenterRef center, const void* observer,
                                                        CFNotificationName name, const void* object);
QV_PLATFORM_API void CFNotificationCenterRemoveEveryObserver(CFNotificationCenterRef center, const void* observer);
/* An observer removed by an earlier callback of the same post is not called. */
QV_PLATFORM_API void CFNotificationCenterPostNotification(CFNotificationCenterRef center, CFNotificationName name,
                                                          const void* object, CFDictionaryRef userInfo,
                                                          Boolean deliverImmediately);

/* ---- Run loops and timers ----------------------------------------------------- */

typedef double CFAbsoluteTime;     /* seconds since 1 January 2001 */
typedef double CFTimeInterval;     /* seconds */
typedef UInt32 CFOptionFlags;
typedef CFStringRef CFRunLoopMode;
typedef struct QvCFRunLoop* CFRunLoopRef;
typedef struct QvCFRunLoopTimer* CFRunLoopTimerRef;
typedef void (*CFRunLoopTimerCallBack)(CFRunLoopTimerRef timer, void* info);

typedef struct
{
    CFIndex version;
    void* info;
    const void* (*retain)(const void* info);
    void (*release)(const void* info);
    CFStringRef (*copyDescription)(const void* info);
} CFRunLoopTimerContext;

QV_PLATFORM_STATIC_ASSERT(sizeof(CFRunLoopTimerContext) == 40, "CFRunLoopTimerContext layout");

enum
{
    kCFRunLoopRunFinished = 1,
    kCFRunLoopRunStopped = 2,
    kCFRunLoopRunTimedOut = 3,
    kCFRunLoopRunHandledSource = 4
};

/* Every mode is one mode here. */
QV_PLATFORM_API extern const CFRunLoopMode kCFRunLoopDefaultMode;
QV_PLATFORM_API extern const CFRunLoopMode kCFRunLoopCommonModes;

QV_PLATFORM_API CFAbsoluteTime CFAbsoluteTimeGetCurrent(void);
/* The calling thread's loop; the main thread's loop. Neither is released. */
QV_PLATFORM_API CFRunLoopRef CFRunLoopGetCurrent(void);
QV_PLATFORM_API CFRunLoopRef CFRunLoopGetMain(void);
/* Runs the calling thread's loop: fires its timers as they fall due until
   `seconds` have passed (TimedOut), or answers Finished at once when it has
   no timer. Timers do not end the run early. */
QV_PLATFORM_API SInt32 CFRunLoopRunInMode(CFRunLoopMode mode, CFTimeInterval seconds,
                                          Boolean returnAfterSourceHandled);

/* A CF object (released with CFRelease); the context's info is retained
   through its retain call-back, if any. An interval of 0 or less fires once. */
QV_PLATFORM_API CFRunLoopTimerRef CFRunLoopTimerCreate(CFAllocatorRef allocator, CFAbsoluteTime fireDate,
                                                       CFTimeInterval interval, CFOptionFlags flags, CFIndex order,
                                                       CFRunLoopTimerCallBack callout,
                                                       CFRunLoopTimerContext* context);
/* The loop keeps a reference while the timer is added. */
QV_PLATFORM_API void CFRunLoopAddTimer(CFRunLoopRef loop, CFRunLoopTimerRef timer, CFRunLoopMode mode);
QV_PLATFORM_API void CFRunLoopRemoveTimer(CFRunLoopRef loop, CFRunLoopTimerRef timer, CFRunLoopMode mode);
QV_PLATFORM_API Boolean CFRunLoopContainsTimer(CFRunLoopRef loop, CFRunLoopTimerRef timer, CFRunLoopMode mode);
/* Never fires again; leaves its loop. */
QV_PLATFORM_API void CFRunLoopTimerInvalidate(CFRunLoopTimerRef timer);
QV_PLATFORM_API Boolean CFRunLoopTimerIsValid(CFRunLoopTimerRef timer);

#ifdef __cplusplus
}
#endif

#endif
