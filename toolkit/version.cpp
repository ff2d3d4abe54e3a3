// The version the build was given from the project's one version number.
#include "toolkit/tk.h"

extern "C" const char *tkVersion(void) { return OV_VERSION_TEXT; }
