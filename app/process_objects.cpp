// Both objects live in this one file: their order of construction, and so of
// destruction, is the order of definition.
#include "app/process_objects.h"

GLWindow mainWindow;
PointList PointSet;
