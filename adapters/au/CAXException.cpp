#include "CAXException.h"

#include <new>

OSStatus AUStatusFromCurrentException() noexcept
{
    try
    {
        throw;
    }
    catch (const CAXException& e)
    {
        return e.Error();
    }
    catch (const std::bad_alloc&)
    {
        return kAudio_MemFullError;
    }
    catch (OSStatus status)
    {
        return status;
    }
    catch (int16_t status)
    {
        return (OSStatus) status; // widened with its sign
    }
    catch (...)
    {
        return -1;
    }
}
