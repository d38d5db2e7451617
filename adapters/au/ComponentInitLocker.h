// Serialises opening instances, both ways, so that constructors read a
// consistent ComponentBase::sNewInstanceType. Recursive: a constructor that
// opens another instance on the same thread does not deadlock.
#pragma once

#include <pthread.h>

class ComponentInitLocker
{
public:
    ComponentInitLocker() noexcept;
    ~ComponentInitLocker();

    ComponentInitLocker(const ComponentInitLocker&) = delete;
    ComponentInitLocker& operator=(const ComponentInitLocker&) = delete;

    static pthread_mutex_t sComponentOpenMutex;
    static pthread_once_t sOnce;

private:
    static void InitComponentInitLocker() noexcept;
};
