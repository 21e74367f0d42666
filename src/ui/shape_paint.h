// Shapes and text as every widget draws them with GDI+: rounded or square
// fills and borders, and text as a filled path or, for underlined fonts, as a
// string. All coordinates are client pixels, already scaled.
#pragma once

#include <memory>
#include <string>

#include "ui/gdiplus_include.h"
#include "ui/resource_style.h"

// Adds the outline of a rounded rectangle with corner diameter `diameter`
// (see RoundRectArcs) to `path` after resetting it.
void AddRoundRectPath(Gdiplus::GraphicsPath& path, int diameter, int x, int y, int width,
                      int height);

// Fills the rectangle in `color`, with corners of `radius` when it is above 0.
// Nothing is drawn for a colour of alpha 0 or a rectangle without area.
void FillShape(Gdiplus::Graphics& graphics, int radius, uint32_t color, int x, int y, int width,
               int height);

// Draws a border of `borderWidth` pixels inside the rectangle: one pen stroke
// for square corners, otherwise one 1-pixel rounded outline per pixel of
// width, each inset by one more pixel.
void StrokeShape(Gdiplus::Graphics& graphics, int radius, uint32_t color, int borderWidth, int x,
                 int y, int width, int height);

// How DrawTextInRect renders a font style.
enum class TextMethod {
  FilledPath,  // text converted to a path and filled: bold and regular fonts
  String,      // DrawString with anti-aliasing: underlined fonts
};

// The method for a font of GDI+ style `fontStyle`: String only for exactly
// FontStyleUnderline.
TextMethod TextMethodForStyle(int fontStyle);

// GDI+ font style of a widget style: Bold when bold, else Underline when
// underline, else Regular.
int FontStyleOf(const ResourceStyle& style);

// The font of a widget style at `scale`: fontName (or the generic sans-serif
// family when that family is unknown), fontSize × scale pixels. Null only
// when no family at all is available.
std::unique_ptr<Gdiplus::Font> MakeStyleFont(const ResourceStyle& style, double scale);

// A string format with the style's alignments (values other than near,
// centre and far keep the format's default), the given format flags and
// ellipsis trimming.
std::unique_ptr<Gdiplus::StringFormat> MakeStringFormat(int32_t hAlign, int32_t vAlign,
                                                        int formatFlags);

void DrawTextInRect(Gdiplus::Graphics& graphics, const std::wstring& text, uint32_t color,
                    const Gdiplus::StringFormat& format, const Gdiplus::RectF& layout,
                    const Gdiplus::Font& font);
