#include "ComponentInitLocker.h"

pthread_mutex_t ComponentInitLocker::sComponentOpenMutex;
pthread_once_t ComponentInitLocker::sOnce = PTHREAD_ONCE_INIT;

void ComponentInitLocker::InitComponentInitLocker() noexcept
{
    pthread_mutexattr_t attr;
    pthread_mutexattr_init(&attr);
    pthread_mutexattr_settype(&attr, PTHREAD_MUTEX_RECURSIVE);
    pthread_mutex_init(&sComponentOpenMutex, &attr);
    pthread_mutexattr_destroy(&attr);
}

ComponentInitLocker::ComponentInitLocker() noexcept
{
    pthread_once(&sOnce, InitComponentInitLocker);
    pthread_mutex_lock(&sComponentOpenMutex);
}

ComponentInitLocker::~ComponentInitLocker()
{
    pthread_mutex_unlock(&sComponentOpenMutex);
}
