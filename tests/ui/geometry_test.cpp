// Placement arithmetic of widgets and windows: layouts, picture fitting, icon
// and box rectangles, progress bars, rounded-rectangle arcs, window scaling
// and centring.
#include <gtest/gtest.h>

#include <vector>

#include "ui/resource_style.h"
#include "ui/resource_types.h"
#include "ui/widget_geometry.h"
#include "ui/window_geometry.h"

namespace {

std::vector<RECT> Layout(const RECT& rect, int32_t orientation, const LayoutSpacing& spacing,
                         const std::vector<uint32_t>& weights, bool& fitted) {
  std::vector<RECT> placed;
  fitted = LayoutChildRects(rect, orientation, spacing, weights, placed);
  return placed;
}

void ExpectRect(const RECT& actual, LONG left, LONG top, LONG right, LONG bottom) {
  EXPECT_EQ(actual.left, left);
  EXPECT_EQ(actual.top, top);
  EXPECT_EQ(actual.right, right);
  EXPECT_EQ(actual.bottom, bottom);
}

}  // namespace

TEST(LayoutTest, VerticalThirdsRoundWithoutAccumulating) {
  bool fitted = false;
  const auto rows = Layout(RECT{10, 50, 110, 150}, LayoutVertical, {}, {1, 1, 1}, fitted);
  ASSERT_TRUE(fitted);
  ASSERT_EQ(rows.size(), 3u);
  ExpectRect(rows[0], 10, 50, 110, 83);
  ExpectRect(rows[1], 10, 83, 110, 117);
  ExpectRect(rows[2], 10, 117, 110, 150);
}

TEST(LayoutTest, HorizontalWithMarginsAndSpacing) {
  LayoutSpacing spacing;
  spacing.left = 10;
  spacing.right = 10;
  spacing.top = 4;
  spacing.bottom = 6;
  spacing.spacing = 5;
  bool fitted = false;
  const auto columns = Layout(RECT{0, 0, 300, 40}, LayoutHorizontal, spacing, {1, 1, 1}, fitted);
  ASSERT_TRUE(fitted);
  ASSERT_EQ(columns.size(), 3u);
  ExpectRect(columns[0], 10, 4, 100, 34);
  ExpectRect(columns[1], 105, 4, 195, 34);
  ExpectRect(columns[2], 200, 4, 290, 34);
}

TEST(LayoutTest, WeightsAreProportions) {
  bool fitted = false;
  const auto rows = Layout(RECT{0, 0, 100, 200}, LayoutVertical, {}, {3, 17}, fitted);
  ASSERT_TRUE(fitted);
  ExpectRect(rows[0], 0, 0, 100, 30);
  ExpectRect(rows[1], 0, 30, 100, 200);
}

TEST(LayoutTest, RefusesWhatCannotFit) {
  LayoutSpacing spacing;
  spacing.left = 10;
  spacing.right = 10;
  spacing.spacing = 5;
  struct Case {
    const char* what;
    RECT rect;
    int32_t orientation;
    std::vector<uint32_t> weights;
    bool fits;
  };
  const Case cases[] = {
      {"25 wide needs 3 + 20 + 10", RECT{0, 0, 25, 40}, LayoutHorizontal, {1, 1, 1}, false},
      {"33 wide is just enough", RECT{0, 0, 33, 40}, LayoutHorizontal, {1, 1, 1}, true},
      {"total weight 0", RECT{0, 0, 300, 40}, LayoutHorizontal, {0, 0}, false},
      {"no children", RECT{0, 0, 300, 40}, LayoutVertical, {}, false},
      {"column narrower than its margins", RECT{0, 0, 19, 400}, LayoutVertical, {1}, false},
  };
  for (const Case& c : cases) {
    bool fitted = !c.fits;
    const auto placed = Layout(c.rect, c.orientation, spacing, c.weights, fitted);
    EXPECT_EQ(fitted, c.fits) << c.what;
    if (!c.fits) {
      EXPECT_TRUE(placed.empty()) << c.what;
    }
  }
}

TEST(LayoutTest, OtherOrientationPlacesNothingButSucceeds) {
  bool fitted = false;
  const auto placed = Layout(RECT{0, 0, 100, 100}, 0, {}, {1, 2}, fitted);
  EXPECT_TRUE(fitted);
  EXPECT_TRUE(placed.empty());
}

TEST(FitTest, PicturesAreCentredWithoutCropOrDistortion) {
  struct Case {
    RECT rect;
    double width;
    double height;
    RECT expected;
  };
  const Case cases[] = {
      {RECT{0, 0, 600, 300}, 1200, 600, RECT{0, 0, 600, 300}},    // same ratio
      {RECT{0, 0, 600, 400}, 1200, 600, RECT{0, 50, 600, 350}},   // letterboxed
      {RECT{10, 10, 110, 60}, 60, 60, RECT{35, 10, 85, 60}},      // pillarboxed
      {RECT{0, 0, 33, 33}, 64, 32, RECT{0, 8, 33, 25}},           // odd padding rounds
  };
  for (const Case& c : cases) {
    RECT fitted{-1, -1, -1, -1};
    ASSERT_TRUE(FitImageRect(c.rect, c.width, c.height, fitted));
    ExpectRect(fitted, c.expected.left, c.expected.top, c.expected.right, c.expected.bottom);
  }
}

TEST(FitTest, PictureWithoutSizeLeavesTheRectangle) {
  RECT fitted{1, 2, 3, 4};
  EXPECT_FALSE(FitImageRect(RECT{0, 0, 100, 100}, 0, 0, fitted));
  EXPECT_FALSE(FitImageRect(RECT{0, 0, 100, 0}, 32, 32, fitted));
  ExpectRect(fitted, 1, 2, 3, 4);
}

TEST(FitTest, AspectRatioAndInflate) {
  ExpectRect(FitToAspect(RECT{0, 0, 100, 40}, 1.0), 30, 0, 70, 40);
  ExpectRect(FitToAspect(RECT{0, 0, 40, 100}, 1.0), 0, 30, 40, 70);
  ExpectRect(FitToAspect(RECT{0, 0, 100, 40}, 0.0), 0, 0, 100, 40);
  ExpectRect(InflatedRect(RECT{10, 10, 20, 20}, 3, -2), 7, 12, 23, 18);
  EXPECT_EQ(ScaleMetric(5, 1.5), 7);
  EXPECT_EQ(ScaleMetric(10, 1.25), 12);
}

TEST(IconTest, IconAndBoxSitAtTheirSide) {
  RECT icon{};
  // A 32 x 32 picture in a 200 x 20 button: a 20 x 20 icon.
  ASSERT_TRUE(IconRect(RECT{100, 10, 300, 30}, 32, 32, IconSideRight, icon));
  ExpectRect(icon, 280, 10, 300, 30);
  ASSERT_TRUE(IconRect(RECT{100, 10, 300, 30}, 32, 32, IconSideLeft, icon));
  ExpectRect(icon, 100, 10, 120, 30);
  // Any side value but 1 is the left; a wide picture centres vertically.
  ASSERT_TRUE(IconRect(RECT{0, 0, 40, 40}, 44, 17, 7, icon));
  ExpectRect(icon, 0, 12, 40, 28);
  RECT untouched{5, 5, 5, 5};
  EXPECT_FALSE(IconRect(RECT{0, 0, 40, 40}, 0, 17, IconSideLeft, untouched));
  ExpectRect(untouched, 5, 5, 5, 5);
}

TEST(IconTest, TextGoesBesideTheIconWithAGap) {
  const TextBox right = TextBesideIcon(RECT{100, 10, 300, 30}, 20, IconSideRight);
  EXPECT_FLOAT_EQ(right.x, 100);
  EXPECT_FLOAT_EQ(right.width, 177);
  const TextBox left = TextBesideIcon(RECT{100, 10, 300, 30}, 20, IconSideLeft);
  EXPECT_FLOAT_EQ(left.x, 123);
  EXPECT_FLOAT_EQ(left.width, 177);
  EXPECT_FLOAT_EQ(left.y, 10);
  EXPECT_FLOAT_EQ(left.height, 20);
  // No gap in a widget of 3 pixels or less.
  EXPECT_FLOAT_EQ(TextBesideIcon(RECT{0, 0, 3, 3}, 1, IconSideLeft).x, 1);
}

TEST(ProgressTest, BarIsAShareOfTheWidth) {
  struct Case {
    uint32_t value;
    LONG right;
  };
  for (const Case& c : {Case{0, 20}, Case{50, 170}, Case{100, 320}, Case{33, 119}, Case{150, 470}}) {
    const RECT bar = ProgressBarRect(RECT{20, 5, 320, 15}, c.value);
    ExpectRect(bar, 20, 5, c.right, 15);
  }
}

TEST(RoundRectTest, DiameterTwentyWidensThreeArcs) {
  struct Case {
    int diameter;
    int rightArcSize;
    int rightArcX;
    int bottomArcY;
  };
  // Rectangle 10, 10, 100 x 60.
  const Case cases[] = {{20, 21, 88, 48}, {18, 18, 91, 51}, {22, 22, 87, 47}};
  for (const Case& c : cases) {
    const auto arcs = RoundRectArcs(c.diameter, 10, 10, 100, 60);
    EXPECT_EQ(arcs[0].size, c.diameter) << c.diameter;
    EXPECT_EQ(arcs[0].x, 10);
    EXPECT_EQ(arcs[1].size, c.rightArcSize) << c.diameter;
    EXPECT_EQ(arcs[1].x, c.rightArcX) << c.diameter;
    EXPECT_EQ(arcs[2].size, c.rightArcSize) << c.diameter;
    EXPECT_EQ(arcs[2].y, c.bottomArcY) << c.diameter;
    EXPECT_EQ(arcs[3].x, 10);
    EXPECT_EQ(arcs[3].size, c.rightArcSize) << c.diameter;
  }
  // The diameter is clamped to the height.
  EXPECT_EQ(RoundRectArcs(200, 0, 0, 300, 8)[2].size, 8);
}

TEST(WindowGeometryTest, DesignSizeTimesDpiNeverBelowDesign) {
  const RECT landscape{0, 0, 1280, 760};
  const RECT portrait{0, 0, 768, 1024};
  struct Case {
    RECT workArea;
    double dpiScale;
    double width;
    double height;
    double scale;
  };
  const Case cases[] = {
      {landscape, 1.0, 600, 400, 1.0}, {landscape, 1.5, 900, 600, 1.5},
      {landscape, 0.75, 600, 400, 1.0}, {portrait, 1.25, 750, 500, 1.25},
  };
  for (const Case& c : cases) {
    const ScaledSize size = ScaleDesignSize(600, 400, c.workArea, c.dpiScale);
    EXPECT_DOUBLE_EQ(size.width, c.width) << c.dpiScale;
    EXPECT_DOUBLE_EQ(size.height, c.height) << c.dpiScale;
    EXPECT_DOUBLE_EQ(size.scale, c.scale) << c.dpiScale;
  }
}

TEST(WindowGeometryTest, CentresOnTheWorkAreaCorner) {
  const POINT dialog = CentredPosition(RECT{0, 0, 1920, 1040}, 400, 200);
  EXPECT_EQ(dialog.x, 760);
  EXPECT_EQ(dialog.y, 420);
  // The left and top edges are not used; odd edges halve as integers.
  const POINT shifted = CentredPosition(RECT{100, 50, 1281, 801}, 600.4, 400.6);
  EXPECT_EQ(shifted.x, 640 - 300);
  EXPECT_EQ(shifted.y, 400 - 200);
  // No work area: centred on the screen origin.
  const POINT none = CentredPosition(RECT{0, 0, 0, 0}, 600, 400);
  EXPECT_EQ(none.x, -300);
  EXPECT_EQ(none.y, -200);
}

TEST(WindowGeometryTest, DpiScaleFromDeviceCaps) {
  EXPECT_DOUBLE_EQ(DpiScaleFrom(1920, 1920, 96), 1.0);
  EXPECT_DOUBLE_EQ(DpiScaleFrom(1920, 1920, 120), 1.25);
  EXPECT_DOUBLE_EQ(DpiScaleFrom(1920, 1920, 144), 1.5);
  // Stretched by the system: the resolution ratio wins.
  EXPECT_DOUBLE_EQ(DpiScaleFrom(2880, 1920, 96), 1.5);
  // A driver without a resolution falls back to the logical DPI.
  EXPECT_DOUBLE_EQ(DpiScaleFrom(1920, 0, 120), 1.25);
}
