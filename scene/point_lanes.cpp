#include "scene/point_lanes.h"

#include <math.h>

void PointLanes::Load(const PointList &points)
{
    if (x_.empty() || points.size() != count_) {
        count_ = points.size();
        for (std::vector<float> *axis : {&x_, &y_, &z_})
            axis->assign(count_ + 2 * kPadding, INFINITY);
    }
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
