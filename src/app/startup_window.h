// The installer's top-level window while the wizard pages are not built yet:
// borderless, 600 x 400, centred on the work area, closed with Alt+F4.
#pragma once

#include <windows.h>

// Registers the class and shows the window. Returns null when either fails.
HWND CreateStartupWindow(HINSTANCE instance);

// Runs the message loop until WM_QUIT; returns the quit code.
int RunMessageLoop();
