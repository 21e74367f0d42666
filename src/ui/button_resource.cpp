#include "ui/button_resource.h"

#include <utility>

#include "ui/shape_paint.h"
#include "ui/widget_geometry.h"
#include "ui/window_scale.h"

ResourceStyleSet DefaultButtonStyles() {
  ResourceStyleSet set = MakeDefaultStyleSet();
  for (ResourceStyle& style : set.styles) {
    style.textColor = 0xFFFFFFFF;
    style.borderColor = 0x00FFFFFF;
    style.borderWidth = 0;
    style.cornerRadius = 2;
    style.hAlign = TextAlignCenter;
    style.vAlign = TextAlignCenter;
  }
  set[ResourceState::Normal].fillColor = 0xFF4197FF;
  set[ResourceState::Hover].fillColor = 0xFF62A6FB;
  set[ResourceState::Pressed].fillColor = 0xFF1873DE;
  set[ResourceState::Disabled].fillColor = 0xFFD8D8D8;
  return set;
}

CButtonResource::CButtonResource(int32_t widgetId, std::wstring caption,
                                 const ResourceStyleSet* styleSet)
    : CImageResource(widgetId, styleSet != nullptr ? *styleSet : DefaultButtonStyles(),
                     ResourceType::Button),
      text(std::move(caption)) {}

Gdiplus::Image* CButtonResource::CurrentStateImage() const {
  const auto index = static_cast<int32_t>(state);
  if (index < 0 || index >= RESOURCE_STATE_COUNT) return nullptr;
  return stateImages[static_cast<size_t>(index)];
}

bool CButtonResource::SetRect(int left, int top, int right, int bottom) {
  CImageResource::SetRect(left, top, right, bottom);
  UpdateIconRect();
  return true;
}

void CButtonResource::SetStateImage(ResourceState forState, Gdiplus::Image* picture) {
  const auto index = static_cast<int32_t>(forState);
  if (index < 0 || index >= RESOURCE_STATE_COUNT) return;
  Gdiplus::Image*& slot = stateImages[static_cast<size_t>(index)];
  if (slot == picture) return;
  slot = picture;
  UpdateIconRect();
}

void CButtonResource::UpdateIconRect() {
  double width = 0;
  double height = 0;
  PictureSize(CurrentStateImage(), width, height);
  IconRect(rect, width, height, CurrentStyle().iconSide, iconRect);
}

bool CButtonResource::Draw(HDC hdc) {
  if (!visible) return true;
  Gdiplus::Graphics graphics(hdc);
  PrepareWidgetGraphics(graphics);
  DrawCommon(graphics);

  const ResourceStyle& style = CurrentStyle();
  const auto format = MakeStringFormat(style.hAlign, style.vAlign, Gdiplus::StringFormatFlagsNoWrap);
  TextBox box{static_cast<float>(rect.left), static_cast<float>(rect.top),
              static_cast<float>(rect.right - rect.left), static_cast<float>(rect.bottom - rect.top)};
  if (Gdiplus::Image* picture = CurrentStateImage()) {
    DrawPicture(graphics, picture, iconRect);
    box = TextBesideIcon(rect, iconRect.right - iconRect.left, style.iconSide);
  }
  const auto font = MakeStyleFont(style, CurrentWindowScale());
  if (font) {
    DrawTextInRect(graphics, text, style.textColor, *format,
                   Gdiplus::RectF(box.x, box.y, box.width, box.height), *font);
  }
  return true;
}
