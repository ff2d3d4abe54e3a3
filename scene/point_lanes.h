// The points as three arrays of coordinates, so that SIMD lanes load
// consecutive points at once. The arrays are padded on both sides with points
// at infinity: lanes past either end read them freely, and any distance to
// one is +inf or NaN, which is never a nearest distance nor joined by a line.
#ifndef SCENE_POINT_LANES_H
#define SCENE_POINT_LANES_H

#include <stddef.h>

#include <vector>

#include "scene/point_list.h"

class PointLanes {
public:
    // Wide enough for the widest lanes used; a multiple of four.
    static const size_t kPadding = 8;

    // Allocates only when the number of points changes.
    void Reserve(size_t count);
    void Load(const PointList &points);
    void StoreTo(PointList &points) const;

    size_t Count() const { return count_; }
    // Point k's coordinates are X()[k], Y()[k], Z()[k], for k from
    // -kPadding to Count() + kPadding - 1.
    float *X() { return x_.data() + kPadding; }
    float *Y() { return y_.data() + kPadding; }
    float *Z() { return z_.data() + kPadding; }

private:
    size_t count_ = 0;
    std::vector<float> x_, y_, z_;
};

#endif
