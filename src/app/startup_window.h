// The installer's main window as far as the wizard is built: borderless,
// 600 x 400, centred on the work area, registered under the class a second
// instance looks for. It brings itself forward when a second instance wakes
// it and ends the run on Alt+F4.
#pragma once

#include <windows.h>

#include "app/first_page.h"
#include "sys/unique_handle.h"

// Registers the class and creates the window, not yet visible; empty on failure.
UniqueWindow CreateStartupWindow(HINSTANCE instance);
