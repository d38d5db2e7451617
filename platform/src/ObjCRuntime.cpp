// The object runtime: a registry of classes, selectors and protocols, and
// instances that carry their retain count in a hidden head before the object.
#include "ObjCRuntimeInternal.h"

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <new>
#include <string>
#include <vector>

struct objc_selector
{
    std::string name;
};

struct objc_method
{
    SEL name;
    IMP imp;
    std::string types;
};

struct objc_ivar
{
    std::string name;
    std::string types;
    ptrdiff_t offset; // bytes from the start of the object
    size_t size;      // bytes
};

struct objc_class
{
    Class isa = Nil; // no metaclasses
    Class superclass = Nil;
    std::string name;
    size_t instanceSize = sizeof(Class); // bytes; an instance starts with its class
    std::vector<std::unique_ptr<objc_method>> methods;
    std::vector<std::unique_ptr<objc_ivar>> ivars;
    std::vector<Protocol*> protocols;
    bool registered = false;
    bool madeAtRunTime = true; // false for the platform's own classes, which are never disposed of
    std::atomic<long> liveInstances { 0 };
};

namespace
{
struct QvProtocol : objc_object
{
    std::string name;
    bool registered = false;
};

struct Registry
{
    std::recursive_mutex lock;
    std::map<std::string, Class> classes;          // registered
    std::map<std::string, Class> underConstruction;
    std::map<std::string, std::unique_ptr<objc_selector>> selectors;
    std::map<std::string, std::unique_ptr<QvProtocol>> protocols;
};

// Never destroyed: instances and classes may be released during process exit,
// after the destructors of function statics have run.
Registry& registry()
{
    static Registry* r = new Registry;
    return *r;
}

// The head before every instance: its retain count. 16 bytes keep the object
// itself 16-byte aligned, as malloc's memory is.
struct alignas(16) InstanceHead
{
    std::atomic<long> retainCount;
};

static_assert(sizeof(InstanceHead) == 16, "the instance head keeps 16-byte alignment");

InstanceHead* headOf(id object) noexcept
{
    return reinterpret_cast<InstanceHead*>(reinterpret_cast<char*>(object) - sizeof(InstanceHead));
}

const objc_ivar* findIvar(Class cls, const char* name) noexcept
{
    for (Class c = cls; c != Nil; c = c->superclass)
        for (const auto& ivar : c->ivars)
            if (ivar->name == name)
                return ivar.get();
    return nullptr;
}

bool hasSubclass(const Registry& r, Class cls) noexcept
{
    for (const auto& entry : r.classes)
        if (entry.second->superclass == cls)
            return true;
    for (const auto& entry : r.underConstruction)
        if (entry.second->superclass == cls)
            return true;
    return false;
}

// Autorelease pools of one thread: the objects, and where each pool begins.
struct ThreadPools
{
    std::vector<id> objects;
    std::vector<size_t> starts;

    void releaseDownTo(size_t size)
    {
        // A dealloc may autorelease more; they go too.
        while (objects.size() > size)
        {
            id object = objects.back();
            objects.pop_back();
            objc_release(object);
        }
    }

    ~ThreadPools() { releaseDownTo(0); }
};

ThreadPools& threadPools()
{
    thread_local ThreadPools pools;
    return pools;
}
} // namespace

namespace
{
Class allocateClass(Class superclass, const char* name)
{
    if (name == nullptr || *name == 0)
        return Nil;
    auto& r = registry();
    std::lock_guard<std::recursive_mutex> sl(r.lock);
    if (r.classes.count(name) != 0 || r.underConstruction.count(name) != 0)
        return Nil;
    // Subclasses of a class under construction would see its size change.
    if (superclass != Nil && ! superclass->registered)
        return Nil;

    auto* cls = new (std::nothrow) objc_class;
    if (cls == nullptr)
        return Nil;
    cls->superclass = superclass;
    cls->name = name;
    cls->instanceSize = superclass != Nil ? superclass->instanceSize : sizeof(Class);
    r.underConstruction[name] = cls;
    return cls;
}
} // namespace

namespace qvobjc
{
Class makePlatformClass(Class superclass, const char* name, const char* stateIvar)
{
    Class cls = allocateClass(superclass, name);
    if (cls != Nil)
    {
        if (stateIvar != nullptr)
            class_addIvar(cls, stateIvar, sizeof(void*), 3, "^v");
        cls->madeAtRunTime = false;
        objc_registerClassPair(cls);
    }
    return cls;
}

} // namespace qvobjc

extern "C" {

// ---- Classes -------------------------------------------------------------------

Class objc_allocateClassPair(Class superclass, const char* name, size_t)
{
    // The platform's class names are taken first.
    qvobjc::ensurePlatformClasses();
    return allocateClass(superclass, name);
}

void objc_registerClassPair(Class cls)
{
    if (cls == Nil)
        return;
    auto& r = registry();
    std::lock_guard<std::recursive_mutex> sl(r.lock);
    auto it = r.underConstruction.find(cls->name);
    if (it == r.underConstruction.end() || it->second != cls)
        return;
    r.underConstruction.erase(it);
    cls->registered = true;
    r.classes[cls->name] = cls;
}

void objc_disposeClassPair(Class cls)
{
    if (cls == Nil || ! cls->madeAtRunTime)
        return;
    auto& r = registry();
    std::lock_guard<std::recursive_mutex> sl(r.lock);
    // Instances or subclasses still reach the class through their records:
    // it stays rather than leave them pointing at freed memory.
    if (cls->liveInstances.load() != 0 || hasSubclass(r, cls))
        return;
    auto& book = cls->registered ? r.classes : r.underConstruction;
    auto it = book.find(cls->name);
    if (it == book.end() || it->second != cls)
        return;
    book.erase(it);
    delete cls;
}

Class objc_getClass(const char* name)
{
    if (name == nullptr)
        return Nil;
    qvobjc::ensurePlatformClasses();
    auto& r = registry();
    std::lock_guard<std::recursive_mutex> sl(r.lock);
    auto it = r.classes.find(name);
    return it != r.classes.end() ? it->second : Nil;
}

Class objc_lookUpClass(const char* name)
{
    return objc_getClass(name);
}

const char* class_getName(Class cls)
{
    return cls != Nil ? cls->name.c_str() : "nil";
}

Class class_getSuperclass(Class cls)
{
    return cls != Nil ? cls->superclass : Nil;
}

size_t class_getInstanceSize(Class cls)
{
    return cls != Nil ? cls->instanceSize : 0;
}

BOOL class_isMetaClass(Class)
{
    return NO;
}

// ---- Selectors and methods -------------------------------------------------------

SEL sel_registerName(const char* name)
{
    if (name == nullptr)
        return nullptr;
    auto& r = registry();
    std::lock_guard<std::recursive_mutex> sl(r.lock);
    auto& slot = r.selectors[name];
    if (slot == nullptr)
        slot.reset(new objc_selector { name });
    return slot.get();
}

SEL sel_getUid(const char* name)
{
    return sel_registerName(name);
}

const char* sel_getName(SEL selector)
{
    return selector != nullptr ? selector->name.c_str() : "<null selector>";
}

BOOL class_addMethod(Class cls, SEL name, IMP imp, const char* types)
{
    if (cls == Nil || name == nullptr || imp == nullptr)
        return NO;
    auto& r = registry();
    std::lock_guard<std::recursive_mutex> sl(r.lock);
    for (const auto& m : cls->methods)
        if (m->name == name)
            return NO;
    cls->methods.push_back(std::unique_ptr<objc_method>(new objc_method { name, imp, types != nullptr ? types : "" }));
    return YES;
}

Method class_getInstanceMethod(Class cls, SEL name)
{
    if (name == nullptr)
        return nullptr;
    auto& r = registry();
    std::lock_guard<std::recursive_mutex> sl(r.lock);
    for (Class c = cls; c != Nil; c = c->superclass)
        for (const auto& m : c->methods)
            if (m->name == name)
                return m.get();
    return nullptr;
}

BOOL class_respondsToSelector(Class cls, SEL name)
{
    return class_getInstanceMethod(cls, name) != nullptr ? YES : NO;
}

IMP method_getImplementation(Method method)
{
    return method != nullptr ? method->imp : nullptr;
}

SEL method_getName(Method method)
{
    return method != nullptr ? method->name : nullptr;
}

const char* method_getTypeEncoding(Method method)
{
    return method != nullptr ? method->types.c_str() : nullptr;
}

// ---- Instance variables ------------------------------------------------------------

BOOL class_addIvar(Class cls, const char* name, size_t size, uint8_t alignment, const char* types)
{
    if (cls == Nil || name == nullptr || cls->registered || alignment > 6 || size > (1u << 20))
        return NO;
    auto& r = registry();
    std::lock_guard<std::recursive_mutex> sl(r.lock);
    if (findIvar(cls, name) != nullptr)
        return NO;
    const size_t align = size_t(1) << alignment;
    const size_t offset = (cls->instanceSize + align - 1) / align * align;
    cls->ivars.push_back(std::unique_ptr<objc_ivar>(
        new objc_ivar { name, types != nullptr ? types : "", (ptrdiff_t) offset, size }));
    cls->instanceSize = offset + size;
    return YES;
}

Ivar class_getInstanceVariable(Class cls, const char* name)
{
    if (cls == Nil || name == nullptr)
        return nullptr;
    std::lock_guard<std::recursive_mutex> sl(registry().lock);
    return const_cast<Ivar>(findIvar(cls, name));
}

const char* ivar_getName(Ivar ivar)
{
    return ivar != nullptr ? ivar->name.c_str() : nullptr;
}

ptrdiff_t ivar_getOffset(Ivar ivar)
{
    return ivar != nullptr ? ivar->offset : 0;
}

Ivar object_setInstanceVariable(id object, const char* name, void* value)
{
    if (object == nullptr)
        return nullptr;
    Ivar ivar = class_getInstanceVariable(object->isa, name);
    if (ivar != nullptr)
        std::memcpy(reinterpret_cast<char*>(object) + ivar->offset, &value, std::min(ivar->size, sizeof(void*)));
    return ivar;
}

Ivar object_getInstanceVariable(id object, const char* name, void** outValue)
{
    Ivar ivar = object != nullptr ? class_getInstanceVariable(object->isa, name) : nullptr;
    if (outValue != nullptr)
    {
        *outValue = nullptr;
        if (ivar != nullptr)
            std::memcpy(outValue, reinterpret_cast<char*>(object) + ivar->offset, std::min(ivar->size, sizeof(void*)));
    }
    return ivar;
}

// ---- Protocols ------------------------------------------------------------------------

Protocol* objc_getProtocol(const char* name)
{
    if (name == nullptr)
        return nullptr;
    qvobjc::ensurePlatformClasses();
    auto& r = registry();
    std::lock_guard<std::recursive_mutex> sl(r.lock);
    auto it = r.protocols.find(name);
    return it != r.protocols.end() && it->second->registered ? it->second.get() : nullptr;
}

Protocol* objc_allocateProtocol(const char* name)
{
    if (name == nullptr || *name == 0)
        return nullptr;
    auto& r = registry();
    std::lock_guard<std::recursive_mutex> sl(r.lock);
    auto& slot = r.protocols[name];
    if (slot != nullptr)
        return nullptr;
    slot.reset(new QvProtocol);
    slot->isa = Nil;
    slot->name = name;
    return slot.get();
}

void objc_registerProtocol(Protocol* protocol)
{
    if (protocol == nullptr)
        return;
    std::lock_guard<std::recursive_mutex> sl(registry().lock);
    static_cast<QvProtocol*>(protocol)->registered = true;
}

const char* protocol_getName(Protocol* protocol)
{
    return protocol != nullptr ? static_cast<QvProtocol*>(protocol)->name.c_str() : nullptr;
}

BOOL class_addProtocol(Class cls, Protocol* protocol)
{
    if (cls == Nil || protocol == nullptr)
        return NO;
    std::lock_guard<std::recursive_mutex> sl(registry().lock);
    for (Protocol* p : cls->protocols)
        if (p == protocol)
            return NO;
    cls->protocols.push_back(protocol);
    return YES;
}

BOOL class_conformsToProtocol(Class cls, Protocol* protocol)
{
    if (cls == Nil || protocol == nullptr)
        return NO;
    std::lock_guard<std::recursive_mutex> sl(registry().lock);
    for (Protocol* p : cls->protocols)
        if (p == protocol)
            return YES;
    return NO;
}

// ---- Instances --------------------------------------------------------------------------

id class_createInstance(Class cls, size_t extraBytes)
{
    if (cls == Nil || extraBytes > (size_t(1) << 30))
        return nullptr;
    void* memory = std::calloc(1, sizeof(InstanceHead) + cls->instanceSize + extraBytes);
    if (memory == nullptr)
        return nullptr;
    auto* head = new (memory) InstanceHead;
    head->retainCount.store(1);
    auto object = reinterpret_cast<id>(static_cast<char*>(memory) + sizeof(InstanceHead));
    object->isa = cls;
    cls->liveInstances.fetch_add(1);
    return object;
}

id object_dispose(id object)
{
    if (object == nullptr)
        return nullptr;
    Class cls = object->isa;
    InstanceHead* head = headOf(object);
    head->~InstanceHead();
    std::free(head);
    if (cls != Nil)
        cls->liveInstances.fetch_sub(1);
    return nullptr;
}

Class object_getClass(id object)
{
    return object != nullptr ? object->isa : Nil;
}

const char* object_getClassName(id object)
{
    return class_getName(object_getClass(object));
}

id objc_retain(id object)
{
    if (object != nullptr)
        headOf(object)->retainCount.fetch_add(1, std::memory_order_relaxed);
    return object;
}

void objc_release(id object)
{
    if (object == nullptr || headOf(object)->retainCount.fetch_sub(1, std::memory_order_acq_rel) != 1)
        return;
    if (qvobjc::implementationIn(object->isa, "dealloc") != nullptr)
        qvobjc::send<void>(object, "dealloc");
    else
        object_dispose(object);
}

id objc_autorelease(id object)
{
    if (object != nullptr)
        threadPools().objects.push_back(object);
    return object;
}

void* objc_autoreleasePoolPush(void)
{
    auto& pools = threadPools();
    pools.starts.push_back(pools.objects.size());
    // The token is the pool's depth, 1 for the outermost.
    return reinterpret_cast<void*>(static_cast<uintptr_t>(pools.starts.size()));
}

void objc_autoreleasePoolPop(void* pool)
{
    auto& pools = threadPools();
    const auto depth = static_cast<size_t>(reinterpret_cast<uintptr_t>(pool));
    if (depth == 0 || depth > pools.starts.size())
        return; // not a pool of this thread
    const size_t start = pools.starts[depth - 1];
    pools.starts.resize(depth - 1);
    pools.releaseDownTo(start);
}

} // extern "C"
