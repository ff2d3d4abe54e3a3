// The sphere the scene keeps its points on, centred at the origin.
#ifndef SCENE_SPHERE_H
#define SCENE_SPHERE_H

const float kSphereRadius = 5.0f;

#endif
