#include "scene/neighbour_lines.h"

#include <math.h>
#include <string.h>

#include "scene/sse2_lanes.h"
#include "scene/vector3_lanes.h"

namespace {

using Lanes = sse2::Floats;
const size_t kWidth = Lanes::kCount;

const float kInitialNearest = 1000000.0f;
const double kLineRatio = 1.5;

// The least float not below 1.5 * nearest: a float d is below one exactly
// when it is below the other. That is also when d / nearest < 1.5 in double:
// the product of a float and 1.5 is exact in double, and the quotient of two
// floats is either exactly 1.5 or further from it than the division's
// rounding can carry it. Rounding up takes one step to the next float, here
// the next bit pattern: nearest is never negative, nor NaN. Without a branch,
// which would be taken at random.
float LineLimit(float nearest)
{
    const double limit = kLineRatio * nearest;
    const float rounded = static_cast<float>(limit);
    uint32_t bits;
    memcpy(&bits, &rounded, sizeof bits);
    bits += static_cast<double>(rounded) < limit;
    float up;
    memcpy(&up, &bits, sizeof up);
    return up;
}

} // namespace

void NeighbourLines::Find(const PointList &points)
{
    Reserve(points.size());
    points_.Load(points);
    FillDistances();
    // Row by row in separate loops: short, independent iterations overlap.
    for (size_t i = 0; i < count_; ++i)
        limits_[i] = LineLimit(NearestInRow(i));
    for (size_t i = 0; i < count_; ++i)
        JoinRow(i);
}

void NeighbourLines::Reserve(size_t count)
{
    points_.Reserve(count);
    if (count == count_)
        return;
    count_ = count;
    filled_ = (count + kWidth - 1) / kWidth * kWidth;
    stride_ = (count + 2 * kWidth - 1) / (2 * kWidth) * (2 * kWidth);
    wordsPerRow_ = (count + 31) / 32;
    distances_.assign(stride_ * stride_, INFINITY);
    joined_.assign(count * wordsPerRow_, 0);
    limits_.assign(count, 0.0f);
}

// In square tiles of lanes over the upper triangle, each tile stored as rows
// and, transposed, as columns: a difference and its negation have the same
// length. Rows and columns past the last point are distances to padding
// points, never chosen.
void NeighbourLines::FillDistances()
{
    const float *const x = points_.X();
    const float *const y = points_.Y();
    const float *const z = points_.Z();
    float *const distances = distances_.data();
    for (size_t j = 0; j < filled_; j += kWidth) {
        const Vector3Lanes<Lanes> columns = {Lanes::Load(x + j), Lanes::Load(y + j), Lanes::Load(z + j)};
        for (size_t i = 0; i <= j; i += kWidth) {
            Lanes tile[kWidth];
            for (size_t r = 0; r < kWidth; ++r) {
                const Vector3Lanes<Lanes> point = {Lanes::Splat(x[i + r]), Lanes::Splat(y[i + r]),
                                                   Lanes::Splat(z[i + r])};
                tile[r] = Length(point - columns);
                Store(distances + (i + r) * stride_ + j, tile[r]);
            }
            if (i == j) {
                for (size_t r = 0; r < kWidth; ++r)
                    distances[(i + r) * stride_ + i + r] = INFINITY;
                continue;
            }
            Transpose(tile);
            for (size_t c = 0; c < kWidth; ++c)
                Store(distances + (j + c) * stride_ + i, tile[c]);
        }
    }
}

// The minimum of the row whatever the order: no distance is -0, and a NaN
// never wins.
float NeighbourLines::NearestInRow(size_t i) const
{
    const float *const row = &distances_[i * stride_];
    // Two running minima, so that each waits for half the others.
    Lanes even = Lanes::Splat(kInitialNearest);
    Lanes odd = even;
    for (size_t j = 0; j < stride_; j += 2 * kWidth) {
        even = Min(Lanes::Load(row + j), even);
        odd = Min(Lanes::Load(row + j + kWidth), odd);
    }
    return MinAcross(Min(even, odd));
}

void NeighbourLines::JoinRow(size_t i)
{
    const float *const row = &distances_[i * stride_];
    const Lanes limit = Lanes::Splat(limits_[i]);
    uint32_t *const joined = &joined_[i * wordsPerRow_];
    for (size_t word = 0; word < wordsPerRow_; ++word) {
        uint32_t bits = 0;
        for (size_t j = 32 * word; j < stride_ && j < 32 * (word + 1); j += kWidth)
            bits |= LessMask(Lanes::Load(row + j), limit) << (j % 32);
        joined[word] = bits;
    }
}
