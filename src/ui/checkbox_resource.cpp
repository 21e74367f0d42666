#include "ui/checkbox_resource.h"

#include <utility>

#include "ui/shape_paint.h"
#include "ui/widget_geometry.h"
#include "ui/window_scale.h"

ResourceStyleSet DefaultCheckboxStyles() {
  ResourceStyleSet set = MakeDefaultStyleSet();
  for (ResourceStyle& style : set.styles) {
    style.borderColor = 0x00FFFFFF;
    style.fillColor = 0x00FFFFFF;
  }
  set[ResourceState::Normal].textColor = 0xFF4D4D4D;
  set[ResourceState::Hover].textColor = 0xFF4197FF;
  set[ResourceState::Pressed].textColor = 0xFF1873DE;
  return set;
}

CCheckboxResource::CCheckboxResource(int32_t widgetId, const ResourceStyleSet* styleSet,
                                     std::wstring caption, Gdiplus::Image* checkedPicture,
                                     Gdiplus::Image* uncheckedPicture)
    : CImageResource(widgetId, styleSet != nullptr ? *styleSet : DefaultCheckboxStyles(),
                     ResourceType::Checkbox),
      checkedImage(checkedPicture),
      uncheckedImage(uncheckedPicture),
      text(std::move(caption)) {}

Gdiplus::Image* CCheckboxResource::CurrentBoxImage() const {
  if (checked == 1) return checkedImage;
  if (checked == 0) return uncheckedImage;
  return nullptr;
}

bool CCheckboxResource::SetRect(int left, int top, int right, int bottom) {
  CImageResource::SetRect(left, top, right, bottom);
  UpdateBoxRect();
  return true;
}

void CCheckboxResource::UpdateBoxRect() {
  double width = 0;
  double height = 0;
  PictureSize(CurrentBoxImage(), width, height);
  IconRect(rect, width, height, CurrentStyle().iconSide, boxRect);
}

bool CCheckboxResource::Draw(HDC hdc) {
  if (!visible) return true;
  Gdiplus::Graphics graphics(hdc);
  PrepareWidgetGraphics(graphics);
  DrawCommon(graphics);

  const ResourceStyle& style = CurrentStyle();
  const auto format =
      MakeStringFormat(style.hAlign, TextAlignCenter, Gdiplus::StringFormatFlagsNoWrap);
  const TextBox box = TextBesideIcon(rect, boxRect.right - boxRect.left, style.iconSide);
  const auto font = MakeStyleFont(style, CurrentWindowScale());
  if (font) {
    DrawTextInRect(graphics, text, style.textColor, *format,
                   Gdiplus::RectF(box.x, box.y, box.width, box.height), *font);
  }
  DrawPicture(graphics, CurrentBoxImage(), boxRect);
  return true;
}
