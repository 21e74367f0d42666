// The arithmetic behind widget placement: scaling of design values, picture
// fitting, icon, box and bar rectangles, layout division and the arcs of a
// rounded rectangle. Pure functions of their arguments, so they can be tested
// without a window or GDI+.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <vector>

// trunc(value × scale): margins, inflates, border widths and corner radii.
int ScaleMetric(double value, double scale);

// trunc(value + 0.5), the rounding every placement uses (toward zero after
// adding a half, so it matches the drawing code for the positive values of
// screen coordinates).
int RoundHalf(double value);

// The rectangle grown by dx on the left and right and dy on the top and
// bottom (negative values shrink it).
RECT InflatedRect(const RECT& rect, int dx, int dy);

// The rectangle narrowed or flattened, centred, to the width/height ratio
// `aspectRatio`; unchanged when |aspectRatio| is 1e-8 or less.
RECT FitToAspect(const RECT& rect, double aspectRatio);

// A picture of imageWidth × imageHeight fitted inside `rect`, centred, aspect
// kept. False (and `out` untouched) when the picture or the rectangle has no
// area: a picture that failed to decode reports a size of 0.
bool FitImageRect(const RECT& rect, double imageWidth, double imageHeight, RECT& out);

// The rectangle of a button's icon or a checkbox's box: the picture scaled to
// fit `rect`, at its right edge when iconSide is 1, else at its left edge,
// vertically centred. False (and `out` untouched) as for FitImageRect.
bool IconRect(const RECT& rect, double imageWidth, double imageHeight, int32_t iconSide,
              RECT& out);

// A text rectangle (x, y, width, height) as GDI+ takes it.
struct TextBox {
  float x;
  float y;
  float width;
  float height;
};

// Where the text of a button or checkbox goes beside an icon of iconWidth
// pixels: the rest of the widget minus a gap of 3 pixels (none for a widget
// of 3 pixels or less). An iconWidth of 0 gives the whole widget less the gap.
TextBox TextBesideIcon(const RECT& rect, int iconWidth, int32_t iconSide);

// The filled part of a progress bar: `value` percent of the width, from the
// left. Values above 100 are not clamped.
RECT ProgressBarRect(const RECT& rect, uint32_t value);

// Margins and spacing of a layout, already multiplied by the window scale.
struct LayoutSpacing {
  double left = 0;
  double top = 0;
  double right = 0;
  double bottom = 0;
  double spacing = 0;
};

// Divides `rect` among children of the given weights, top to bottom
// (LayoutVertical) or left to right (LayoutHorizontal). False, with `out`
// empty, when the weights add up to 0 or the rectangle is too small for one
// pixel per child plus margins and spacing. Any other orientation places
// nothing and succeeds.
bool LayoutChildRects(const RECT& rect, int32_t orientation, const LayoutSpacing& spacing,
                      const std::vector<uint32_t>& weights, std::vector<RECT>& out);

// One corner arc of a rounded rectangle: a square of `size` at (x, y), starting
// at `startAngle` degrees and sweeping 90.
struct ArcBox {
  int x;
  int y;
  int size;
  float startAngle;
};

// The four corner arcs, clockwise from the top left, of a rounded rectangle
// with corner diameter `diameter` (clamped to the width and height). A
// diameter of exactly 20 draws the three arcs other than the top-left one 21
// pixels wide, one pixel further in; the outline then ends on the same right
// and bottom edges with a slightly rounder turn.
std::array<ArcBox, 4> RoundRectArcs(int diameter, int x, int y, int width, int height);
