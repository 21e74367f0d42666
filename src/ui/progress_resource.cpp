#include "ui/progress_resource.h"

#include "ui/shape_paint.h"
#include "ui/widget_geometry.h"

ResourceStyleSet DefaultProgressStyles() {
  ResourceStyleSet set = MakeDefaultStyleSet();
  set[ResourceState::Normal].textColor = 0xFF4197FF;
  set[ResourceState::Normal].fillColor = 0xFFEEEEEE;
  set[ResourceState::Normal].cornerRadius = 100;
  return set;
}

CProgressResource::CProgressResource(const ResourceStyleSet* styleSet)
    : CImageResource(PROGRESS_RESOURCE_ID,
                     styleSet != nullptr ? *styleSet : DefaultProgressStyles(),
                     ResourceType::Progress) {}

bool CProgressResource::SetRect(int left, int top, int right, int bottom) {
  CImageResource::SetRect(left, top, right, bottom);
  barRect = ProgressBarRect(rect, value);
  return true;
}

bool CProgressResource::SetProgress(uint32_t percent) {
  value = percent;
  barRect = ProgressBarRect(rect, value);
  return true;
}

bool CProgressResource::Draw(HDC hdc) {
  if (!visible) return true;
  Gdiplus::Graphics graphics(hdc);
  PrepareWidgetGraphics(graphics);
  DrawCommon(graphics);
  // The bar's radius is not scaled: with the default of 100 it is clamped to
  // the bar's height anyway, which rounds both ends fully at any scale.
  const ResourceStyle& style = CurrentStyle();
  FillShape(graphics, static_cast<int>(style.cornerRadius), style.textColor, barRect.left,
            barRect.top, barRect.right - barRect.left, barRect.bottom - barRect.top);
  return true;
}
