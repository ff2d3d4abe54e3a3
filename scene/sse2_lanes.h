// The baseline lanes: four floats in one SSE2 register, widened to double in
// two. Every operation is the IEEE operation of the scalar code, lane by
// lane, rounded once; nothing is fused or approximated.
#ifndef SCENE_SSE2_LANES_H
#define SCENE_SSE2_LANES_H

#include <emmintrin.h>

namespace sse2 {

struct Floats {
    static const int kCount = 4;
    static Floats Splat(float value) { return {_mm_set1_ps(value)}; }
    static Floats Load(const float *from) { return {_mm_loadu_ps(from)}; }
    // Lane k holds from[3 - k].
    static Floats LoadReversed(const float *from)
    {
        const __m128 v = _mm_loadu_ps(from);
        return {_mm_shuffle_ps(v, v, _MM_SHUFFLE(0, 1, 2, 3))};
    }

    __m128 v;
};

// Lanes 0-1 and 2-3.
struct Doubles {
    static Doubles Splat(double value) { return {_mm_set1_pd(value), _mm_set1_pd(value)}; }

    __m128d low, high;
};

inline Floats operator+(Floats a, Floats b) { return {_mm_add_ps(a.v, b.v)}; }
inline Floats operator-(Floats a, Floats b) { return {_mm_sub_ps(a.v, b.v)}; }
inline Floats operator*(Floats a, Floats b) { return {_mm_mul_ps(a.v, b.v)}; }
inline Floats operator/(Floats a, Floats b) { return {_mm_div_ps(a.v, b.v)}; }

inline Doubles operator+(Doubles a, Doubles b) { return {_mm_add_pd(a.low, b.low), _mm_add_pd(a.high, b.high)}; }
inline Doubles operator*(Doubles a, Doubles b) { return {_mm_mul_pd(a.low, b.low), _mm_mul_pd(a.high, b.high)}; }
inline Doubles operator/(Doubles a, Doubles b) { return {_mm_div_pd(a.low, b.low), _mm_div_pd(a.high, b.high)}; }
inline Doubles Sqrt(Doubles a) { return {_mm_sqrt_pd(a.low), _mm_sqrt_pd(a.high)}; }

inline Doubles Widen(Floats a) { return {_mm_cvtps_pd(a.v), _mm_cvtps_pd(_mm_movehl_ps(a.v, a.v))}; }
inline Floats Narrow(Doubles a) { return {_mm_movelh_ps(_mm_cvtpd_ps(a.low), _mm_cvtpd_ps(a.high))}; }

inline void Store(float *to, Floats a) { _mm_storeu_ps(to, a.v); }
// to[3 - k] gets lane k.
inline void StoreReversed(float *to, Floats a) { _mm_storeu_ps(to, _mm_shuffle_ps(a.v, a.v, _MM_SHUFFLE(0, 1, 2, 3))); }

// a < b ? a : b, lane by lane: a NaN in a is never taken.
inline Floats Min(Floats a, Floats b) { return {_mm_min_ps(a.v, b.v)}; }
inline float MinAcross(Floats a)
{
    const __m128 pairs = _mm_min_ps(a.v, _mm_movehl_ps(a.v, a.v));
    return _mm_cvtss_f32(_mm_min_ss(pairs, _mm_shuffle_ps(pairs, pairs, _MM_SHUFFLE(1, 1, 1, 1))));
}
// One bit per lane, lane 0 lowest.
inline unsigned LessMask(Floats a, Floats b) { return static_cast<unsigned>(_mm_movemask_ps(_mm_cmplt_ps(a.v, b.v))); }
inline void Transpose(Floats (&rows)[4]) { _MM_TRANSPOSE4_PS(rows[0].v, rows[1].v, rows[2].v, rows[3].v); }

} // namespace sse2

#endif
