// Flushes denormal numbers to zero for the lifetime of one render call.
#pragma once

#include <cstdint>

class ScopedDenormalFlush
{
public:
    // Render thread. Saves this thread's floating-point control word and sets
    // flush-to-zero and denormals-are-zero.
    ScopedDenormalFlush() noexcept;
    // Restores the saved word.
    ~ScopedDenormalFlush();

    ScopedDenormalFlush(const ScopedDenormalFlush&) = delete;
    ScopedDenormalFlush& operator=(const ScopedDenormalFlush&) = delete;

    /** The control-word bits set: x86 MXCSR flush-to-zero 0x8000 and
        denormals-are-zero 0x40 (on ARM the FZ bit). */
    static uint64_t FlushBits() noexcept;
    static uint64_t CurrentControlWord() noexcept;

private:
    uint64_t mSaved;
};
