// The relaxation pass on SIMD lanes. Templates over a lane type, so that
// each instruction set builds its own copy from this one text.
//
// The pass is defined as the double loop over pairs (i, j), i < j, each
// update reading and writing points i and j only. Point p is touched by
// (0, p), (1, p), ..., (p - 1, p), (p, p + 1), ..., (p, n - 1), in this order,
// and their sums i + j rise strictly. So running the updates by increasing
// sum, a wave at a time and in any order within a wave, hands every update
// the same two points as the double loop does: the same bits. The pairs of a
// wave touch distinct points and go into lanes side by side, lane k taking
// (i + k, j - k): first points consecutive in memory, second ones consecutive
// in reverse.
//
// Each block of lanes is relaxed in two halves, the push and the return to
// the sphere, and the push of a block is issued before the return of the
// block before it, so that two chains of divisions and square roots are in
// flight at once. The halves are always inlined: as calls they would pass
// their lanes through memory.
#ifndef SCENE_WAVE_RELAXATION_H
#define SCENE_WAVE_RELAXATION_H

#include <stddef.h>

#include "scene/sphere.h"
#include "scene/vector3_lanes.h"

// Point k at x[k], y[k], z[k]; lanes may read a block past either end.
struct PointAxes {
    float *x, *y, *z;
};

template <class Float> struct PairBlock {
    ptrdiff_t first;  // lane k: pair (first + k, second - k)
    ptrdiff_t second;
    ptrdiff_t used;   // lanes from 0 that hold pairs of the wave
    Vector3Lanes<Float> a, b;
};

template <class Float> Vector3Lanes<Float> LoadPoints(const PointAxes &points, ptrdiff_t at)
{
    return {Float::Load(points.x + at), Float::Load(points.y + at), Float::Load(points.z + at)};
}

template <class Float> Vector3Lanes<Float> LoadPointsReversed(const PointAxes &points, ptrdiff_t at)
{
    return {Float::LoadReversed(points.x + at), Float::LoadReversed(points.y + at), Float::LoadReversed(points.z + at)};
}

// Lane k to to[k * step], for the first `used` lanes.
template <class Float> void StoreFirstLanes(float *to, ptrdiff_t step, Float lanes, ptrdiff_t used)
{
    float values[Float::kCount];
    Store(values, lanes);
    for (ptrdiff_t k = 0; k < used; ++k)
        to[k * step] = values[k];
}

template <class Float>
[[gnu::always_inline]] inline void StorePoints(const PointAxes &points, ptrdiff_t at, ptrdiff_t step,
                                               const Vector3Lanes<Float> &p, ptrdiff_t used)
{
    const ptrdiff_t width = Float::kCount;
    if (used < width) {
        StoreFirstLanes(points.x + at, step, p.x, used);
        StoreFirstLanes(points.y + at, step, p.y, used);
        StoreFirstLanes(points.z + at, step, p.z, used);
    } else if (step > 0) {
        Store(points.x + at, p.x);
        Store(points.y + at, p.y);
        Store(points.z + at, p.z);
    } else {
        StoreReversed(points.x + at - (width - 1), p.x);
        StoreReversed(points.y + at - (width - 1), p.y);
        StoreReversed(points.z + at - (width - 1), p.z);
    }
}

template <class Float> inline void PutOnSphere(Vector3Lanes<Float> &point)
{
    DivideBy(point, Length(point));
    point *= Float::Splat(kSphereRadius);
}

template <class Float>
[[gnu::always_inline]] inline PairBlock<Float> PushApart(const PointAxes &points, ptrdiff_t first, ptrdiff_t second,
                                                         ptrdiff_t used, Float forceScale)
{
    PairBlock<Float> block = {first, second, used, LoadPoints<Float>(points, first),
                              LoadPointsReversed<Float>(points, second - (Float::kCount - 1))};
    Vector3Lanes<Float> push = block.a - block.b;
    const Float distance = Length(push);
    DivideBy(push, distance);
    const auto wide = Widen(distance);
    push *= Narrow(decltype(wide)::Splat(1.0) / (wide * wide));
    push *= forceScale;
    block.a += push;
    block.b -= push;
    return block;
}

template <class Float>
[[gnu::always_inline]] inline void ReturnToSphere(const PointAxes &points, PairBlock<Float> &block)
{
    PutOnSphere(block.a);
    PutOnSphere(block.b);
    StorePoints(points, block.first, 1, block.a, block.used);
    StorePoints(points, block.second, -1, block.b, block.used);
}

// The pairs (i, wave - i) for i from first to last, in blocks of Wide lanes;
// the last few go into a block of Narrow lanes if they fit, wasting fewer.
// No lanes in the signature: then the compiler clears the upper halves of
// wide registers on return, which would otherwise slow the SSE code after it.
template <class Wide, class Narrow>
void RelaxWave(const PointAxes &points, ptrdiff_t wave, ptrdiff_t first, ptrdiff_t last, float forceScale)
{
    const Wide wideScale = Wide::Splat(forceScale);
    const Narrow narrowScale = Narrow::Splat(forceScale);
    const auto left = [last](ptrdiff_t i) { return last - i + 1; };
    const auto wideUsed = [last](ptrdiff_t i) { return last - i + 1 < Wide::kCount ? last - i + 1 : Wide::kCount; };
    ptrdiff_t i = first;
    if (left(i) <= Narrow::kCount) {
        PairBlock<Narrow> only = PushApart(points, i, wave - i, left(i), narrowScale);
        ReturnToSphere(points, only);
        return;
    }
    PairBlock<Wide> pushed = PushApart(points, i, wave - i, wideUsed(i), wideScale);
    for (i += Wide::kCount; left(i) > Narrow::kCount; i += Wide::kCount) {
        PairBlock<Wide> next = PushApart(points, i, wave - i, wideUsed(i), wideScale);
        ReturnToSphere(points, pushed);
        pushed = next;
    }
    if (left(i) <= 0) {
        ReturnToSphere(points, pushed);
        return;
    }
    PairBlock<Narrow> rest = PushApart(points, i, wave - i, left(i), narrowScale);
    ReturnToSphere(points, pushed);
    ReturnToSphere(points, rest);
}

template <class Wide, class Narrow> void RelaxInWaves(const PointAxes &points, ptrdiff_t count, float scale)
{
    // From (0, 1) to (n - 2, n - 1).
    for (ptrdiff_t wave = 1; wave <= 2 * count - 3; ++wave) {
        const ptrdiff_t first = wave < count ? 0 : wave - (count - 1);
        RelaxWave<Wide, Narrow>(points, wave, first, (wave - 1) / 2, scale);
    }
}

#endif
