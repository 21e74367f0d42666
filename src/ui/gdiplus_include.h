// The GDI+ C++ wrappers, which need the COM declarations that
// WIN32_LEAN_AND_MEAN leaves out of windows.h.
#pragma once

#include <windows.h>
#include <objidl.h>

#include <gdiplus.h>
