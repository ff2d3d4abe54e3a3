// The process-wide objects, built before the entry runs in this order and torn
// down in reverse after it returns: PointSet first, then mainWindow.
#ifndef APP_PROCESS_OBJECTS_H
#define APP_PROCESS_OBJECTS_H

#include "app/gl_window.h"
#include "scene/scene.h"

extern GLWindow mainWindow;
extern PointList PointSet; // the scene's points, owned by the render thread

#endif
