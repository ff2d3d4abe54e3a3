// Opening the toolkit window.
#ifndef TOOLKIT_WINDOW_OPENING_H
#define TOOLKIT_WINDOW_OPENING_H

#include <stdint.h>

// title is UTF-16 when wide is set. 1 with the context current, 0 after
// reporting why not.
int32_t CreateToolkitWindow(const void *title, bool wide);

#endif
