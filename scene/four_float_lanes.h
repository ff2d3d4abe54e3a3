// Four float lanes in one 128-bit register, for SSE2 and every wider set.
// The tag names the instruction set a translation unit is built for: each
// set gets its own instantiations, so code built with wider instructions
// never stands in for the baseline's. Every operation is the IEEE operation
// of the scalar code, lane by lane, rounded once; nothing is fused.
#ifndef SCENE_FOUR_FLOAT_LANES_H
#define SCENE_FOUR_FLOAT_LANES_H

#include <emmintrin.h>

template <class InstructionSet> struct FourFloats {
    static const int kCount = 4;
    static FourFloats Splat(float value) { return {_mm_set1_ps(value)}; }
    static FourFloats Load(const float *from) { return {_mm_loadu_ps(from)}; }
    // Lane k holds from[3 - k].
    static FourFloats LoadReversed(const float *from)
    {
        const __m128 v = _mm_loadu_ps(from);
        return {_mm_shuffle_ps(v, v, _MM_SHUFFLE(0, 1, 2, 3))};
    }

    __m128 v;
};

template <class I> FourFloats<I> operator+(FourFloats<I> a, FourFloats<I> b) { return {_mm_add_ps(a.v, b.v)}; }
template <class I> FourFloats<I> operator-(FourFloats<I> a, FourFloats<I> b) { return {_mm_sub_ps(a.v, b.v)}; }
template <class I> FourFloats<I> operator*(FourFloats<I> a, FourFloats<I> b) { return {_mm_mul_ps(a.v, b.v)}; }
template <class I> FourFloats<I> operator/(FourFloats<I> a, FourFloats<I> b) { return {_mm_div_ps(a.v, b.v)}; }

template <class I> void Store(float *to, FourFloats<I> a) { _mm_storeu_ps(to, a.v); }
// to[3 - k] gets lane k.
template <class I> void StoreReversed(float *to, FourFloats<I> a)
{
    _mm_storeu_ps(to, _mm_shuffle_ps(a.v, a.v, _MM_SHUFFLE(0, 1, 2, 3)));
}

// a < b ? a : b, lane by lane: a NaN in a is never taken.
template <class I> FourFloats<I> Min(FourFloats<I> a, FourFloats<I> b) { return {_mm_min_ps(a.v, b.v)}; }
template <class I> float MinAcross(FourFloats<I> a)
{
    const __m128 pairs = _mm_min_ps(a.v, _mm_movehl_ps(a.v, a.v));
    return _mm_cvtss_f32(_mm_min_ss(pairs, _mm_shuffle_ps(pairs, pairs, _MM_SHUFFLE(1, 1, 1, 1))));
}
// One bit per lane, lane 0 lowest.
template <class I> unsigned LessMask(FourFloats<I> a, FourFloats<I> b)
{
    return static_cast<unsigned>(_mm_movemask_ps(_mm_cmplt_ps(a.v, b.v)));
}
template <class I> void Transpose(FourFloats<I> (&rows)[4])
{
    _MM_TRANSPOSE4_PS(rows[0].v, rows[1].v, rows[2].v, rows[3].v);
}

#endif
