#include "scene/point_lanes.h"

#include <math.h>

void PointLanes::Reserve(size_t count)
{
    if (!x_.empty() && count == count_)
        return;
    count_ = count;
    for (std::vector<float> *axis : {&x_, &y_, &z_})
        axis->assign(count_ + 2 * kPadding, INFINITY);
}

void PointLanes::Load(const PointList &points)
{
    Reserve(points.size());
    for (size_t k = 0; k < count_; ++k) {
        X()[k] = points[k].x;
        Y()[k] = points[k].y;
        Z()[k] = points[k].z;
    }
}

void PointLanes::StoreTo(PointList &points) const
{
    for (size_t k = 0; k < count_; ++k) {
        points[k].x = x_[kPadding + k];
        points[k].y = y_[kPadding + k];
        points[k].z = z_[kPadding + k];
    }
}
