// The one process-wide connection to the host's diagnostic services, alive
// from ACFStartup to ACFShutdown.
#pragma once

#include "AAX.h"
#include "ACFUnknown.h"

class AAX_IHostServices;

class AAX_CHostServices
{
public:
    /** With a host and no proxy yet: makes the proxy. With null and a proxy:
        deletes it. Otherwise nothing. Takes no lock: the host calls start-up
        and shut-down once each, around all other use. */
    static void Set(IACFUnknown* host);

    /** The proxy, or null outside start-up and shut-down. */
    static AAX_IHostServices* Get() noexcept;

    /** Forwarded to the host when connected; -20004 otherwise. */
    static AAX_Result Assert(const char* file, int32_t line, const char* note);
    static AAX_Result Trace(int32_t priority, const char* message);
};
