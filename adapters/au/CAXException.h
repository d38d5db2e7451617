// The exception that carries a platform status, and the one rule by which
// every host entry turns whatever was thrown into a status.
#pragma once

#include "PlatformAudioUnit.h"

#include <cstring>

class CAXException
{
public:
    CAXException(const char* operation, OSStatus status) noexcept : mError(status)
    {
        mOperation[0] = 0;
        if (operation != nullptr)
        {
            std::strncpy(mOperation, operation, sizeof(mOperation) - 1);
            mOperation[sizeof(mOperation) - 1] = 0;
        }
    }

    const char* Operation() const noexcept { return mOperation; }
    OSStatus Error() const noexcept { return mError; }

private:
    char mOperation[256];
    OSStatus mError;
};

static_assert(sizeof(CAXException) == 260, "an operation text of 256 bytes, then the status");

/** Call only inside a catch block: the status for the exception in flight.
    CAXException: its status; out of memory: -108; a thrown 32-bit or 16-bit
    integer: its value; anything else: -1. */
OSStatus AUStatusFromCurrentException() noexcept;

/** Runs body(), answering its status or the status of what it threw. */
template <class Body>
OSStatus AUCatchAll(Body&& body) noexcept
{
    try
    {
        return body();
    }
    catch (...)
    {
        return AUStatusFromCurrentException();
    }
}

/** Throws a platform status the way the base classes do: as a 32-bit integer. */
[[noreturn]] inline void AUThrow(OSStatus status)
{
    throw status;
}
