// Which pairs of points the frame joins by lines: from each point to every
// point less than 1.5 times as far from it as its nearest. Every pair distance
// is computed once per frame and serves both ends.
#ifndef SCENE_NEIGHBOUR_LINES_H
#define SCENE_NEIGHBOUR_LINES_H

#include <stddef.h>
#include <stdint.h>

#include <vector>

#include "scene/point_lanes.h"
#include "scene/point_list.h"

class NeighbourLines {
public:
    // Allocates only when the number of points changes.
    void Reserve(size_t count);
    void Find(const PointList &points);

    // Calls join(i, j) for every line found, in drawing order: by i, then by j.
    template <class Join> void ForEach(Join join) const
    {
        for (size_t i = 0; i < count_; ++i) {
            const uint32_t *const row = &joined_[i * wordsPerRow_];
            for (size_t word = 0; word < wordsPerRow_; ++word)
                for (uint32_t bits = row[word]; bits != 0; bits &= bits - 1)
                    join(i, word * 32 + static_cast<size_t>(__builtin_ctz(bits)));
        }
    }

private:
    void FillDistances();
    float NearestInRow(size_t i) const;
    void JoinRow(size_t i);

    size_t count_ = 0;
    size_t filled_ = 0; // rows and columns filled: whole lanes
    size_t stride_ = 0; // distances per row: an even number of lanes
    size_t wordsPerRow_ = 0;
    PointLanes points_;
    std::vector<float> distances_; // row i: distances from point i, +inf to itself
    std::vector<float> limits_;    // point i: lines to points closer than this
    std::vector<uint32_t> joined_; // row i: bit j set for a line from i to j
};

#endif
