// The baseline lanes: four floats in one SSE2 register, widened to double in
// two.
#ifndef SCENE_SSE2_LANES_H
#define SCENE_SSE2_LANES_H

#include <emmintrin.h>

#include "scene/four_float_lanes.h"

namespace sse2 {

struct InstructionSet {};
using Floats = FourFloats<InstructionSet>;

// Lanes 0-1 and 2-3.
struct Doubles {
    static Doubles Splat(double value) { return {_mm_set1_pd(value), _mm_set1_pd(value)}; }

    __m128d low, high;
};

inline Doubles operator+(Doubles a, Doubles b) { return {_mm_add_pd(a.low, b.low), _mm_add_pd(a.high, b.high)}; }
inline Doubles operator*(Doubles a, Doubles b) { return {_mm_mul_pd(a.low, b.low), _mm_mul_pd(a.high, b.high)}; }
inline Doubles operator/(Doubles a, Doubles b) { return {_mm_div_pd(a.low, b.low), _mm_div_pd(a.high, b.high)}; }
inline Doubles Sqrt(Doubles a) { return {_mm_sqrt_pd(a.low), _mm_sqrt_pd(a.high)}; }

inline Doubles Widen(Floats a) { return {_mm_cvtps_pd(a.v), _mm_cvtps_pd(_mm_movehl_ps(a.v, a.v))}; }
inline Floats Narrow(Doubles a) { return {_mm_movelh_ps(_mm_cvtpd_ps(a.low), _mm_cvtpd_ps(a.high))}; }

} // namespace sse2

#endif
