#include "ui/image_resource.h"

#include "ui/shape_paint.h"
#include "ui/widget_geometry.h"
#include "ui/window_scale.h"

CImageResource::CImageResource(int32_t widgetId, const ResourceStyleSet* styleSet,
                               ResourceType kind)
    : CImageResource(widgetId, styleSet != nullptr ? *styleSet : MakeDefaultStyleSet(), kind) {}

CImageResource::CImageResource(int32_t widgetId, const ResourceStyleSet& styleSet,
                               ResourceType kind)
    : IBaseResource(kind, widgetId, UNPLACED_WIDGET_RECT), styles(styleSet) {}

bool CImageResource::Draw(HDC hdc) {
  if (!visible) return true;
  Gdiplus::Graphics graphics(hdc);
  PrepareWidgetGraphics(graphics);
  DrawCommon(graphics);
  return true;
}

void CImageResource::DrawCommon(Gdiplus::Graphics& graphics) const {
  const ResourceStyle& style = CurrentStyle();
  const double scale = CurrentWindowScale();
  const int radius = ScaleMetric(style.cornerRadius, scale);
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  FillShape(graphics, radius, style.fillColor, rect.left, rect.top, width, height);
  DrawPicture(graphics, image, imageRect);
  StrokeShape(graphics, radius, style.borderColor, ScaleMetric(style.borderWidth, scale), rect.left,
              rect.top, width, height);
}

bool CImageResource::SetRect(int left, int top, int right, int bottom) {
  const double scale = CurrentWindowScale();
  const RECT inflated = InflatedRect(RECT{left, top, right, bottom}, ScaleMetric(inflateX, scale),
                                     ScaleMetric(inflateY, scale));
  rect = FitToAspect(inflated, aspectRatio);
  UpdateImageRect();
  return true;
}

void CImageResource::SetImage(Gdiplus::Image* picture) {
  if (picture == image) return;
  image = picture;
  UpdateImageRect();
}

void CImageResource::UpdateImageRect() {
  double width = 0;
  double height = 0;
  PictureSize(image, width, height);
  FitImageRect(rect, width, height, imageRect);
}

void PrepareWidgetGraphics(Gdiplus::Graphics& graphics) {
  graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
}

void PictureSize(Gdiplus::Image* picture, double& width, double& height) {
  width = picture != nullptr ? picture->GetWidth() : 0;
  height = picture != nullptr ? picture->GetHeight() : 0;
}

void DrawPicture(Gdiplus::Graphics& graphics, Gdiplus::Image* picture, const RECT& target) {
  if (picture == nullptr) return;
  graphics.DrawImage(picture, Gdiplus::Rect(target.left, target.top, target.right - target.left,
                                            target.bottom - target.top));
}
