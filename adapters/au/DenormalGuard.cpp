#include "DenormalGuard.h"

#if defined(__x86_64__) || defined(__i386__)
#include <xmmintrin.h>
#endif

namespace
{
#if defined(__x86_64__) || defined(__i386__)
constexpr uint64_t kFlushToZero = 0x8000;
constexpr uint64_t kDenormalsAreZero = 0x40;
constexpr uint64_t kBits = kFlushToZero | kDenormalsAreZero;

uint64_t readWord() noexcept { return _mm_getcsr(); }
void writeWord(uint64_t w) noexcept { _mm_setcsr((unsigned) w); }
#elif defined(__aarch64__)
constexpr uint64_t kBits = uint64_t(1) << 24; // FPCR.FZ

uint64_t readWord() noexcept
{
    uint64_t w;
    asm volatile("mrs %0, fpcr" : "=r"(w));
    return w;
}
void writeWord(uint64_t w) noexcept { asm volatile("msr fpcr, %0" : : "r"(w)); }
#else
constexpr uint64_t kBits = 0;
uint64_t readWord() noexcept { return 0; }
void writeWord(uint64_t) noexcept {}
#endif
} // namespace

ScopedDenormalFlush::ScopedDenormalFlush() noexcept : mSaved(readWord())
{
    writeWord(mSaved | kBits);
}

ScopedDenormalFlush::~ScopedDenormalFlush()
{
    writeWord(mSaved);
}

uint64_t ScopedDenormalFlush::FlushBits() noexcept
{
    return kBits;
}

uint64_t ScopedDenormalFlush::CurrentControlWord() noexcept
{
    return readWord();
}
