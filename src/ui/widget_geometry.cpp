#include "ui/widget_geometry.h"

#include <algorithm>
#include <cmath>

#include "ui/resource_types.h"

int ScaleMetric(double value, double scale) { return static_cast<int>(value * scale); }

int RoundHalf(double value) { return static_cast<int>(value + 0.5); }

RECT InflatedRect(const RECT& rect, int dx, int dy) {
  return RECT{rect.left - dx, rect.top - dy, rect.right + dx, rect.bottom + dy};
}

RECT FitToAspect(const RECT& rect, double aspectRatio) {
  if (std::fabs(aspectRatio) <= 1e-8) return rect;
  RECT fitted = rect;
  const double width = rect.right - rect.left;
  const double height = rect.bottom - rect.top;
  if (width / height > aspectRatio) {
    const double pad = (width - height * aspectRatio) / 2;
    fitted.left = RoundHalf(rect.left + pad);
    fitted.right = RoundHalf(rect.right - pad);
  } else {
    const double pad = (height - width / aspectRatio) / 2;
    fitted.top = RoundHalf(rect.top + pad);
    fitted.bottom = RoundHalf(rect.bottom - pad);
  }
  return fitted;
}

namespace {

// The factor that fits imageWidth × imageHeight into width × height.
double FitFactor(double width, double height, double imageWidth, double imageHeight) {
  return width / height > imageWidth / imageHeight ? height / imageHeight : width / imageWidth;
}

bool HasArea(const RECT& rect, double imageWidth, double imageHeight) {
  return imageWidth > 0 && imageHeight > 0 && rect.right > rect.left && rect.bottom > rect.top;
}

}  // namespace

bool FitImageRect(const RECT& rect, double imageWidth, double imageHeight, RECT& out) {
  if (!HasArea(rect, imageWidth, imageHeight)) return false;
  const double width = rect.right - rect.left;
  const double height = rect.bottom - rect.top;
  const double k = FitFactor(width, height, imageWidth, imageHeight);
  const double padX = (width - imageWidth * k) / 2;
  const double padY = (height - imageHeight * k) / 2;
  out = RECT{RoundHalf(rect.left + padX), RoundHalf(rect.top + padY), RoundHalf(rect.right - padX),
             RoundHalf(rect.bottom - padY)};
  return true;
}

bool IconRect(const RECT& rect, double imageWidth, double imageHeight, int32_t iconSide,
              RECT& out) {
  if (!HasArea(rect, imageWidth, imageHeight)) return false;
  const double width = rect.right - rect.left;
  const double height = rect.bottom - rect.top;
  const double k = FitFactor(width, height, imageWidth, imageHeight);
  const double iconWidth = imageWidth * k;
  const double iconHeight = imageHeight * k;
  if (iconSide == 1) {
    out.left = RoundHalf(width - iconWidth + rect.left);
    out.right = rect.right;
  } else {
    out.left = rect.left;
    out.right = RoundHalf(rect.right - (width - iconWidth));
  }
  out.top = RoundHalf(rect.top + (height - iconHeight) / 2);
  out.bottom = RoundHalf(rect.bottom - (height - iconHeight) / 2);
  return true;
}

TextBox TextBesideIcon(const RECT& rect, int iconWidth, int32_t iconSide) {
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  const int gap = width > 3 ? 3 : 0;
  const auto rest = static_cast<float>(width - gap - iconWidth);
  const auto left = static_cast<float>(iconSide == 1 ? rect.left : rect.left + gap + iconWidth);
  return TextBox{left, static_cast<float>(rect.top), rest, static_cast<float>(height)};
}

RECT ProgressBarRect(const RECT& rect, uint32_t value) {
  const int64_t width = rect.right - rect.left;
  const auto filled = static_cast<LONG>(width * static_cast<int64_t>(value) / 100);
  return RECT{rect.left, rect.top, rect.left + filled, rect.bottom};
}

bool LayoutChildRects(const RECT& rect, int32_t orientation, const LayoutSpacing& spacing,
                      const std::vector<uint32_t>& weights, std::vector<RECT>& out) {
  out.clear();
  if (orientation != LayoutVertical && orientation != LayoutHorizontal) return true;
  double sum = 0;
  for (uint32_t weight : weights) sum += weight;
  if (sum == 0) return false;

  const double n = static_cast<double>(weights.size());
  const double width = rect.right - rect.left;
  const double height = rect.bottom - rect.top;
  const double gaps = (n - 1) * spacing.spacing;
  const bool vertical = orientation == LayoutVertical;
  const double along = vertical ? height : width;
  const double alongMargins = vertical ? spacing.top + spacing.bottom : spacing.left + spacing.right;
  const double across = vertical ? width : height;
  const double acrossMargins = vertical ? spacing.left + spacing.right : spacing.top + spacing.bottom;
  if (along < n + alongMargins + gaps || across < acrossMargins) return false;

  const double unit = (along - alongMargins - gaps) / sum;
  double pos = vertical ? rect.top + spacing.top : rect.left + spacing.left;
  for (uint32_t weight : weights) {
    const double end = pos + weight * unit;
    if (vertical) {
      out.push_back(RECT{RoundHalf(rect.left + spacing.left), RoundHalf(pos),
                         RoundHalf(rect.right - spacing.right), RoundHalf(end)});
    } else {
      out.push_back(RECT{RoundHalf(pos), RoundHalf(rect.top + spacing.top), RoundHalf(end),
                         RoundHalf(rect.bottom - spacing.bottom)});
    }
    // Unrounded, so rounding errors do not add up along the row.
    pos = end + spacing.spacing;
  }
  return true;
}

std::array<ArcBox, 4> RoundRectArcs(int diameter, int x, int y, int width, int height) {
  const int d = std::min({diameter, width, height});
  if (d == 20) {
    return {ArcBox{x, y, 20, 180.0f}, ArcBox{x + width - 22, y, 21, 270.0f},
            ArcBox{x + width - 22, y + height - 22, 21, 0.0f},
            ArcBox{x, y + height - 22, 21, 90.0f}};
  }
  return {ArcBox{x, y, d, 180.0f}, ArcBox{x + width - d - 1, y, d, 270.0f},
          ArcBox{x + width - d - 1, y + height - d - 1, d, 0.0f},
          ArcBox{x, y + height - d - 1, d, 90.0f}};
}
