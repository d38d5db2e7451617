// The local notification centre: observers by name and object, called
// synchronously on the posting thread.
#include "CFObject.h"

#include <mutex>
#include <vector>

struct QvCFNotificationCenter final : qvcf::Object
{
    static constexpr CFTypeID kTypeID = qvcf::kNotificationCenterTypeID;

    QvCFNotificationCenter() : Object(kTypeID) {}

    struct Registration
    {
        uint64_t serial;               // tells a registration from a later one at the same place
        const void* observer;
        CFNotificationCallback callBack;
        CFStringRef name;              // retained; null: every name
        const void* object;            // null: every object
    };

    std::recursive_mutex lock;
    std::vector<Registration> registrations;
    uint64_t nextSerial = 1;
};

namespace
{
QvCFNotificationCenter* centre(CFNotificationCenterRef ref) noexcept
{
    return qvcf::as<QvCFNotificationCenter>(ref);
}

// Takes out the registrations of the observer that match; answers the names
// to release once the lock is given up.
template <class Match>
std::vector<CFStringRef> removeWhere(QvCFNotificationCenter& c, Match&& match)
{
    std::vector<CFStringRef> names;
    std::lock_guard<std::recursive_mutex> sl(c.lock);
    for (size_t i = c.registrations.size(); i-- > 0;)
    {
        const auto& r = c.registrations[i];
        if (! match(r))
            continue;
        if (r.name != nullptr)
            names.push_back(r.name);
        c.registrations.erase(c.registrations.begin() + (std::ptrdiff_t) i);
    }
    return names;
}

void releaseAll(const std::vector<CFStringRef>& names)
{
    for (CFStringRef n : names)
        CFRelease(n);
}
} // namespace

extern "C" {

CFNotificationCenterRef CFNotificationCenterGetLocalCenter(void)
{
    // Never destroyed: observers may leave during process exit.
    static auto* local = new QvCFNotificationCenter;
    return local;
}

// Any thread.
void CFNotificationCenterAddObserver(CFNotificationCenterRef ref, const void* observer, CFNotificationCallback callBack,
                                     CFStringRef name, const void* object, CFNotificationSuspensionBehavior)
{
    auto* c = centre(ref);
    if (c == nullptr || callBack == nullptr)
        return;
    if (name != nullptr && CFGetTypeID(name) != CFStringGetTypeID())
        return;
    std::lock_guard<std::recursive_mutex> sl(c->lock);
    c->registrations.push_back({ c->nextSerial++, observer, callBack, static_cast<CFStringRef>(CFRetain(name)), object });
}

void CFNotificationCenterRemoveObserver(CFNotificationCenterRef ref, const void* observer, CFNotificationName name,
                                        const void* object)
{
    if (auto* c = centre(ref))
        releaseAll(removeWhere(*c, [&](const QvCFNotificationCenter::Registration& r) {
            return r.observer == observer && (name == nullptr || CFEqual(name, r.name))
                   && (object == nullptr || object == r.object);
        }));
}

void CFNotificationCenterRemoveEveryObserver(CFNotificationCenterRef ref, const void* observer)
{
    if (auto* c = centre(ref))
        releaseAll(removeWhere(*c, [&](const QvCFNotificationCenter::Registration& r) { return r.observer == observer; }));
}

// Any thread: the callbacks run on it, in the order they were added.
void CFNotificationCenterPostNotification(CFNotificationCenterRef ref, CFNotificationName name, const void* object,
                                          CFDictionaryRef userInfo, Boolean)
{
    auto* c = centre(ref);
    if (c == nullptr || name == nullptr)
        return;

    std::vector<uint64_t> due;
    {
        std::lock_guard<std::recursive_mutex> sl(c->lock);
        for (const auto& r : c->registrations)
            if ((r.name == nullptr || CFEqual(r.name, name)) && (r.object == nullptr || r.object == object))
                due.push_back(r.serial);
    }

    // Each is looked up again: an earlier callback may have removed it.
    for (uint64_t serial : due)
    {
        const void* observer = nullptr;
        CFNotificationCallback callBack = nullptr;
        {
            std::lock_guard<std::recursive_mutex> sl(c->lock);
            for (const auto& r : c->registrations)
                if (r.serial == serial)
                {
                    observer = r.observer;
                    callBack = r.callBack;
                    break;
                }
        }
        if (callBack != nullptr)
            callBack(ref, const_cast<void*>(observer), name, object, userInfo);
    }
}

} // extern "C"
