// Window size and position arithmetic: design size times the screen's DPI
// scale, centring on the work area, and the DPI scale from device caps. Pure
// functions, testable without a screen.
#pragma once

#include <windows.h>

#include <cstdint>

struct ScaledSize {
  double width;
  double height;
  double scale;  // the window scale: width / designWidth, never below 1.0
};

// The window for a design of designWidth × designHeight on a screen of
// `dpiScale`: the design times max(1, dpiScale), computed along the work
// area's longer side.
ScaledSize ScaleDesignSize(uint32_t designWidth, uint32_t designHeight, const RECT& workArea,
                           double dpiScale);

// The top-left corner that centres a window of width × height on the work
// area: half its right and bottom edges (halved as integers) minus half the
// window rounded. The work area's left and top are not used.
POINT CentredPosition(const RECT& workArea, double width, double height);

// The screen's scale from GetDeviceCaps values: DESKTOPHORZRES / HORZRES when
// the system stretches the program (ratio above 1), else LOGPIXELSX / 96.
double DpiScaleFrom(int desktopHorzRes, int horzRes, int logPixelsX);
