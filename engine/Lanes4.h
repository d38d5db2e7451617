#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>

// Four float lanes with exactly the IEEE single-precision arithmetic of
// scalar code, lane by lane: SSE2 where the compiler offers it (unless
// QV_ENGINE_NO_SIMD is defined), plain arrays otherwise. Both are always
// declared so that tests can hold one against the other.

#if defined(__SSE2__)
#include <emmintrin.h>
#define QV_LANES_SSE2 1
#endif

namespace lanes_portable
{
struct F4
{
    float v[4];
};

inline F4 Load4(const float* p) { F4 r; std::memcpy(r.v, p, sizeof r.v); return r; }
inline void Store4(float* p, F4 a) { std::memcpy(p, a.v, sizeof a.v); }
inline F4 Splat4(float x) { return {{x, x, x, x}}; }
inline F4 operator+(F4 a, F4 b) { for (int i = 0; i < 4; ++i) a.v[i] = a.v[i] + b.v[i]; return a; }
inline F4 operator-(F4 a, F4 b) { for (int i = 0; i < 4; ++i) a.v[i] = a.v[i] - b.v[i]; return a; }
inline F4 operator*(F4 a, F4 b) { for (int i = 0; i < 4; ++i) a.v[i] = a.v[i] * b.v[i]; return a; }
inline F4 Negate4(F4 a) { for (float& x : a.v) x = -x; return a; }
inline F4 Abs4(F4 a) { for (float& x : a.v) x = std::fabs(x); return a; }

inline F4 KillDenormals4(F4 a)
{
    for (float& x : a.v)
    {
        uint32_t bits;
        std::memcpy(&bits, &x, sizeof bits);
        if (((bits & 0x7fffffffu) - 1u) < 0x007fffffu)
            x = 0.0f;
    }
    return a;
}

inline F4 SelectGreater4(F4 a, F4 b, F4 ifGreater, F4 otherwise)
{
    F4 r;
    for (int i = 0; i < 4; ++i)
        r.v[i] = a.v[i] > b.v[i] ? ifGreater.v[i] : otherwise.v[i];
    return r;
}

inline void Transpose4(F4& a, F4& b, F4& c, F4& d)
{
    F4* rows[4] = {&a, &b, &c, &d};
    F4 t[4];
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            t[i].v[j] = rows[j]->v[i];
    a = t[0];
    b = t[1];
    c = t[2];
    d = t[3];
}

// NextMeterValue per lane.
inline F4 NextMeterValue4(F4 value, F4 release, F4 x)
{
    const F4 magnitude = Abs4(x);
    return SelectGreater4(magnitude, value, magnitude, KillDenormals4(value * release));
}
} // namespace lanes_portable

#if QV_LANES_SSE2
namespace lanes_sse2
{
struct F4
{
    __m128 v;
};

inline F4 Load4(const float* p) { return {_mm_loadu_ps(p)}; }
inline void Store4(float* p, F4 a) { _mm_storeu_ps(p, a.v); }
inline F4 Splat4(float x) { return {_mm_set1_ps(x)}; }
inline F4 operator+(F4 a, F4 b) { return {_mm_add_ps(a.v, b.v)}; }
inline F4 operator-(F4 a, F4 b) { return {_mm_sub_ps(a.v, b.v)}; }
inline F4 operator*(F4 a, F4 b) { return {_mm_mul_ps(a.v, b.v)}; }
// Sign flip, as unary minus: -(+0) is -0.
inline F4 Negate4(F4 a) { return {_mm_xor_ps(a.v, _mm_set1_ps(-0.0f))}; }
inline F4 Abs4(F4 a) { return {_mm_andnot_ps(_mm_set1_ps(-0.0f), a.v)}; }

// test_and_kill_denormal per lane, in integers so that a host's
// denormals-are-zero mode cannot change the test.
inline F4 KillDenormals4(F4 a)
{
    const __m128i bits = _mm_castps_si128(a.v);
    const __m128i magnitude = _mm_and_si128(bits, _mm_set1_epi32(0x7fffffff));
    const __m128i keep = _mm_or_si128(_mm_cmpgt_epi32(magnitude, _mm_set1_epi32(0x007fffff)),
                                      _mm_cmpeq_epi32(magnitude, _mm_setzero_si128()));
    return {_mm_castsi128_ps(_mm_and_si128(bits, keep))};
}

// a > b ? ifGreater : otherwise, per lane.
inline F4 SelectGreater4(F4 a, F4 b, F4 ifGreater, F4 otherwise)
{
    const __m128 mask = _mm_cmpgt_ps(a.v, b.v);
    return {_mm_or_ps(_mm_and_ps(mask, ifGreater.v), _mm_andnot_ps(mask, otherwise.v))};
}

inline void Transpose4(F4& a, F4& b, F4& c, F4& d)
{
    _MM_TRANSPOSE4_PS(a.v, b.v, c.v, d.v);
}

// NextMeterValue per lane.
inline F4 NextMeterValue4(F4 value, F4 release, F4 x)
{
    const F4 magnitude = Abs4(x);
    return SelectGreater4(magnitude, value, magnitude, KillDenormals4(value * release));
}
} // namespace lanes_sse2
#endif

#if QV_LANES_SSE2 && !defined(QV_ENGINE_NO_SIMD)
using namespace lanes_sse2;
#else
using namespace lanes_portable;
#endif
