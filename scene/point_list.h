// The scene's points in creation order: what every pass of a frame works on.
#ifndef SCENE_POINT_LIST_H
#define SCENE_POINT_LIST_H

#include <vector>

#include "scene/vector3.h"

using PointList = std::vector<Vector3>;

#endif
