// The toolkit window's procedure.
#ifndef TOOLKIT_WINDOW_PROCEDURE_H
#define TOOLKIT_WINDOW_PROCEDURE_H

#include "platform/win32_types.h"

LRESULT CALLBACK ToolkitWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

#endif
