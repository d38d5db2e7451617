// No exception may reach a host: every host-called operation runs its body
// through one of these.
#pragma once

#include "AAX.h"

#include <utility>

/** The body's status, or `onException` when it throws. */
template <typename Body>
AAX_Result AAX_Guarded(Body&& body, AAX_Result onException = AAXStatus::unexpected) noexcept
{
    try
    {
        return std::forward<Body>(body)();
    }
    catch (...)
    {
        return onException;
    }
}
