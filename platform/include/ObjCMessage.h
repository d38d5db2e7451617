// Sending a message through the object runtime from C++: the receiver's
// implementation is looked up and called with the receiver and the selector
// first, as the runtime's send trampoline does.
#pragma once

#include "PlatformObjCRuntime.h"

namespace qvobjc
{
/** The implementation that instances of cls use for the selector, or null. */
inline IMP implementationIn(Class cls, const char* selector) noexcept
{
    return cls != Nil ? method_getImplementation(class_getInstanceMethod(cls, sel_registerName(selector))) : nullptr;
}

/** Calls cls's implementation of the selector on the receiver; R{} when
    there is none. */
template <class R, class... Args>
R sendAs(Class cls, id receiver, const char* selector, Args... args)
{
    IMP imp = receiver != nullptr ? implementationIn(cls, selector) : nullptr;
    if (imp == nullptr)
        return R();
    return reinterpret_cast<R (*)(id, SEL, Args...)>(imp)(receiver, sel_registerName(selector), args...);
}

/** [receiver selector: args...]; R{} for nil or a receiver without the method. */
template <class R, class... Args>
R send(id receiver, const char* selector, Args... args)
{
    return sendAs<R>(object_getClass(receiver), receiver, selector, args...);
}

/** The superclass's version, called from a method of cls: [super selector]. */
template <class R, class... Args>
R sendSuper(Class cls, id receiver, const char* selector, Args... args)
{
    return sendAs<R>(class_getSuperclass(cls), receiver, selector, args...);
}
} // namespace qvobjc
