// Lanes for translation units built with AVX: eight floats in one register,
// widened to double in two, and four floats widened to double in one. The
// operations of sse2_lanes.h, with the same bits.
#ifndef SCENE_AVX_LANES_H
#define SCENE_AVX_LANES_H

#include <immintrin.h>

#include "scene/four_float_lanes.h"

namespace avx {

struct InstructionSet {};
using FourFloats = ::FourFloats<InstructionSet>;

struct FourDoubles {
    static FourDoubles Splat(double value) { return {_mm256_set1_pd(value)}; }

    __m256d v;
};

inline FourDoubles operator+(FourDoubles a, FourDoubles b) { return {_mm256_add_pd(a.v, b.v)}; }
inline FourDoubles operator*(FourDoubles a, FourDoubles b) { return {_mm256_mul_pd(a.v, b.v)}; }
inline FourDoubles operator/(FourDoubles a, FourDoubles b) { return {_mm256_div_pd(a.v, b.v)}; }
inline FourDoubles Sqrt(FourDoubles a) { return {_mm256_sqrt_pd(a.v)}; }

inline FourDoubles Widen(FourFloats a) { return {_mm256_cvtps_pd(a.v)}; }
inline FourFloats Narrow(FourDoubles a) { return {_mm256_cvtpd_ps(a.v)}; }

inline __m256 Reverse(__m256 v)
{
    const __m256 halvesReversed = _mm256_permute_ps(v, _MM_SHUFFLE(0, 1, 2, 3));
    return _mm256_permute2f128_ps(halvesReversed, halvesReversed, 1);
}

struct Floats {
    static const int kCount = 8;
    static Floats Splat(float value) { return {_mm256_set1_ps(value)}; }
    static Floats Load(const float *from) { return {_mm256_loadu_ps(from)}; }
    // Lane k holds from[7 - k].
    static Floats LoadReversed(const float *from) { return {Reverse(_mm256_loadu_ps(from))}; }

    __m256 v;
};

// Lanes 0-3 and 4-7.
struct Doubles {
    static Doubles Splat(double value) { return {_mm256_set1_pd(value), _mm256_set1_pd(value)}; }

    __m256d low, high;
};

inline Floats operator+(Floats a, Floats b) { return {_mm256_add_ps(a.v, b.v)}; }
inline Floats operator-(Floats a, Floats b) { return {_mm256_sub_ps(a.v, b.v)}; }
inline Floats operator*(Floats a, Floats b) { return {_mm256_mul_ps(a.v, b.v)}; }
inline Floats operator/(Floats a, Floats b) { return {_mm256_div_ps(a.v, b.v)}; }

inline Doubles operator+(Doubles a, Doubles b) { return {_mm256_add_pd(a.low, b.low), _mm256_add_pd(a.high, b.high)}; }
inline Doubles operator*(Doubles a, Doubles b) { return {_mm256_mul_pd(a.low, b.low), _mm256_mul_pd(a.high, b.high)}; }
inline Doubles operator/(Doubles a, Doubles b) { return {_mm256_div_pd(a.low, b.low), _mm256_div_pd(a.high, b.high)}; }
inline Doubles Sqrt(Doubles a) { return {_mm256_sqrt_pd(a.low), _mm256_sqrt_pd(a.high)}; }

inline Doubles Widen(Floats a)
{
    return {_mm256_cvtps_pd(_mm256_castps256_ps128(a.v)), _mm256_cvtps_pd(_mm256_extractf128_ps(a.v, 1))};
}
inline Floats Narrow(Doubles a)
{
    return {_mm256_insertf128_ps(_mm256_castps128_ps256(_mm256_cvtpd_ps(a.low)), _mm256_cvtpd_ps(a.high), 1)};
}

inline void Store(float *to, Floats a) { _mm256_storeu_ps(to, a.v); }
// to[7 - k] gets lane k.
inline void StoreReversed(float *to, Floats a) { _mm256_storeu_ps(to, Reverse(a.v)); }

} // namespace avx

#endif
