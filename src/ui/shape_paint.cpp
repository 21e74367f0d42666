#include "ui/shape_paint.h"

#include "ui/widget_geometry.h"

namespace {

bool IsInvisible(uint32_t color) { return (color >> 24) == 0; }

// Draws in pixels for the length of a scope, then restores the page unit.
class PixelPageUnit {
 public:
  explicit PixelPageUnit(Gdiplus::Graphics& graphics)
      : graphics_(graphics), previous_(graphics.GetPageUnit()) {
    graphics_.SetPageUnit(Gdiplus::UnitPixel);
  }
  ~PixelPageUnit() { graphics_.SetPageUnit(previous_); }
  PixelPageUnit(const PixelPageUnit&) = delete;
  PixelPageUnit& operator=(const PixelPageUnit&) = delete;

 private:
  Gdiplus::Graphics& graphics_;
  Gdiplus::Unit previous_;
};

// The name of the system's generic sans-serif family; empty when there is none.
std::wstring GenericSansSerifName() {
  Gdiplus::GpFontFamily* family = nullptr;
  if (Gdiplus::DllExports::GdipGetGenericFontFamilySansSerif(&family) != Gdiplus::Ok ||
      family == nullptr) {
    return std::wstring();
  }
  WCHAR name[LF_FACESIZE] = {};
  const bool named = Gdiplus::DllExports::GdipGetFamilyName(family, name, LANG_NEUTRAL) ==
                     Gdiplus::Ok;
  Gdiplus::DllExports::GdipDeleteFontFamily(family);
  return named ? std::wstring(name) : std::wstring();
}

void SetAlignment(int32_t value, Gdiplus::StringFormat& format,
                  Gdiplus::Status (Gdiplus::StringFormat::*set)(Gdiplus::StringAlignment)) {
  switch (value) {
    case TextAlignNear:
      (format.*set)(Gdiplus::StringAlignmentNear);
      break;
    case TextAlignCenter:
      (format.*set)(Gdiplus::StringAlignmentCenter);
      break;
    case TextAlignFar:
      (format.*set)(Gdiplus::StringAlignmentFar);
      break;
    default:
      break;
  }
}

}  // namespace

void AddRoundRectPath(Gdiplus::GraphicsPath& path, int diameter, int x, int y, int width,
                      int height) {
  path.Reset();
  for (const ArcBox& arc : RoundRectArcs(diameter, x, y, width, height)) {
    path.AddArc(arc.x, arc.y, arc.size, arc.size, arc.startAngle, 90.0f);
  }
  path.CloseFigure();
}

void FillShape(Gdiplus::Graphics& graphics, int radius, uint32_t color, int x, int y, int width,
               int height) {
  if (IsInvisible(color) || width <= 0 || height <= 0) return;
  Gdiplus::SolidBrush brush{Gdiplus::Color(color)};
  Gdiplus::Pen pen(Gdiplus::Color(color), 1.0f);
  pen.SetAlignment(Gdiplus::PenAlignmentCenter);
  Gdiplus::GraphicsPath path;
  if (radius > 0) {
    PixelPageUnit pixels(graphics);
    AddRoundRectPath(path, 2 * radius, x, y, width, height);
    graphics.FillPath(&brush, &path);
    graphics.DrawPath(&pen, &path);
    return;
  }
  path.AddRectangle(Gdiplus::Rect(x, y, width - 1, height - 1));
  graphics.FillPath(&brush, &path);
  graphics.DrawPath(&pen, &path);
}

void StrokeShape(Gdiplus::Graphics& graphics, int radius, uint32_t color, int borderWidth, int x,
                 int y, int width, int height) {
  if (borderWidth < 1 || IsInvisible(color) || width <= 0 || height <= 0) return;
  Gdiplus::GraphicsPath path;
  if (radius <= 0) {
    Gdiplus::Pen pen(Gdiplus::Color(color), static_cast<Gdiplus::REAL>(borderWidth));
    pen.SetAlignment(Gdiplus::PenAlignmentCenter);
    path.AddRectangle(Gdiplus::Rect(x, y, width - 1, height - 1));
    graphics.DrawPath(&pen, &path);
    return;
  }
  PixelPageUnit pixels(graphics);
  Gdiplus::Pen pen(Gdiplus::Color(color), 1.0f);
  pen.SetAlignment(Gdiplus::PenAlignmentCenter);
  const int diameter = 2 * radius;
  AddRoundRectPath(path, diameter, x, y, width, height);
  graphics.DrawPath(&pen, &path);
  // Each further pixel of width is one more outline, first narrowed, then
  // flattened, so the border grows inward.
  for (int step = 1; step < borderWidth; ++step) {
    x += 1;
    width -= 2;
    AddRoundRectPath(path, diameter, x, y, width, height);
    graphics.DrawPath(&pen, &path);
    y += 1;
    height -= 2;
    AddRoundRectPath(path, diameter, x, y, width, height);
    graphics.DrawPath(&pen, &path);
  }
}

TextMethod TextMethodForStyle(int fontStyle) {
  return fontStyle == Gdiplus::FontStyleUnderline ? TextMethod::String : TextMethod::FilledPath;
}

int FontStyleOf(const ResourceStyle& style) {
  if (style.bold) return Gdiplus::FontStyleBold;
  if (style.underline) return Gdiplus::FontStyleUnderline;
  return Gdiplus::FontStyleRegular;
}

std::unique_ptr<Gdiplus::Font> MakeStyleFont(const ResourceStyle& style, double scale) {
  std::wstring family = style.fontName;
  {
    Gdiplus::FontFamily probe(family.c_str());
    if (!probe.IsAvailable()) family = GenericSansSerifName();
  }
  if (family.empty()) return nullptr;
  const auto size = static_cast<Gdiplus::REAL>(style.fontSize * scale);
  auto font = std::make_unique<Gdiplus::Font>(family.c_str(), size, FontStyleOf(style),
                                              Gdiplus::UnitPixel);
  if (!font->IsAvailable()) return nullptr;
  return font;
}

std::unique_ptr<Gdiplus::StringFormat> MakeStringFormat(int32_t hAlign, int32_t vAlign,
                                                        int formatFlags) {
  auto format = std::make_unique<Gdiplus::StringFormat>(formatFlags);
  SetAlignment(hAlign, *format, &Gdiplus::StringFormat::SetAlignment);
  SetAlignment(vAlign, *format, &Gdiplus::StringFormat::SetLineAlignment);
  format->SetTrimming(Gdiplus::StringTrimmingEllipsisCharacter);
  return format;
}

void DrawTextInRect(Gdiplus::Graphics& graphics, const std::wstring& text, uint32_t color,
                    const Gdiplus::StringFormat& format, const Gdiplus::RectF& layout,
                    const Gdiplus::Font& font) {
  if (text.empty()) return;
  Gdiplus::SolidBrush brush{Gdiplus::Color(color)};
  if (TextMethodForStyle(font.GetStyle()) == TextMethod::String) {
    graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
    graphics.DrawString(text.c_str(), -1, &font, layout, &format, &brush);
    return;
  }
  Gdiplus::FontFamily family;
  font.GetFamily(&family);
  Gdiplus::GraphicsPath path;
  path.AddString(text.c_str(), -1, &family, font.GetStyle(), font.GetSize(), layout, &format);
  graphics.FillPath(&brush, &path);
}
