#include "ui/text_resource.h"

#include <utility>

#include "ui/shape_paint.h"
#include "ui/window_scale.h"

ResourceStyleSet DefaultTextStyles() {
  ResourceStyleSet set = MakeDefaultStyleSet();
  set[ResourceState::Normal].fillColor = 0xFFFFFFFF;
  return set;
}

CTextResource::CTextResource(int32_t widgetId, const ResourceStyleSet* styleSet,
                             std::wstring caption)
    : CImageResource(widgetId, styleSet != nullptr ? *styleSet : DefaultTextStyles(),
                     ResourceType::Text),
      text(std::move(caption)) {}

bool CTextResource::Draw(HDC hdc) {
  if (!visible) return true;
  Gdiplus::Graphics graphics(hdc);
  PrepareWidgetGraphics(graphics);
  DrawCommon(graphics);

  const ResourceStyle& style = CurrentStyle();
  // No NoWrap flag: long texts continue on the next line.
  const auto format = MakeStringFormat(style.hAlign, style.vAlign, 0);
  const auto font = MakeStyleFont(style, CurrentWindowScale());
  if (font) {
    const Gdiplus::RectF layout(static_cast<Gdiplus::REAL>(rect.left),
                                static_cast<Gdiplus::REAL>(rect.top),
                                static_cast<Gdiplus::REAL>(rect.right - rect.left),
                                static_cast<Gdiplus::REAL>(rect.bottom - rect.top));
    DrawTextInRect(graphics, text, style.textColor, *format, layout, *font);
  }
  return true;
}
