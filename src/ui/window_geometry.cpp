#include "ui/window_geometry.h"

#include <algorithm>
#include <cmath>

#include "ui/widget_geometry.h"

ScaledSize ScaleDesignSize(uint32_t designWidth, uint32_t designHeight, const RECT& workArea,
                           double dpiScale) {
  const double w = designWidth;
  const double h = designHeight;
  const bool landscape = workArea.right - workArea.left > workArea.bottom - workArea.top;
  if (landscape) {
    const double r = std::max(h, h * dpiScale);
    return ScaledSize{r * (w / h), r, r / h};
  }
  const double r = std::max(w, w * dpiScale);
  return ScaledSize{r, r / (w / h), r / w};
}

POINT CentredPosition(const RECT& workArea, double width, double height) {
  return POINT{workArea.right / 2 - RoundHalf(width * 0.5), workArea.bottom / 2 - RoundHalf(height * 0.5)};
}

double DpiScaleFrom(int desktopHorzRes, int horzRes, int logPixelsX) {
  // A driver that reports no horizontal resolution cannot tell a stretch.
  const double ratio = horzRes > 0 ? static_cast<double>(desktopHorzRes) / horzRes : 1.0;
  if (std::fabs(ratio) - 1 < 1e-8) return logPixelsX / 0.96 / 100;
  return ratio;
}
