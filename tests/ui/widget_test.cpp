// Widgets drawn onto a 32-bit canvas like the layered paint path's: fills per
// state, rounded and square borders, progress bars, icons and boxes, text,
// layouts and scaling.
#include <gtest/gtest.h>

#include <memory>

#include "app/global_settings.h"
#include "ui/button_resource.h"
#include "ui/checkbox_resource.h"
#include "ui/edit_resource.h"
#include "ui/layout_resource.h"
#include "ui/progress_resource.h"
#include "ui/shape_paint.h"
#include "ui/text_resource.h"
#include "ui_test_support.h"

namespace {

constexpr uint32_t GREEN = 0xFF00C000;
constexpr uint32_t RED = 0xFFFF0000;

// A solid square picture, as a skin picture would be.
std::unique_ptr<Gdiplus::Bitmap> SolidPicture(uint32_t color, int size = 32) {
  auto picture = std::make_unique<Gdiplus::Bitmap>(size, size, PixelFormat32bppARGB);
  Gdiplus::Graphics graphics(picture.get());
  graphics.Clear(Gdiplus::Color(color));
  return picture;
}

bool Opaque(const Canvas& canvas, int x, int y) { return canvas.Alpha(x, y) > 200; }
bool Clear(const Canvas& canvas, int x, int y) { return canvas.Alpha(x, y) < 40; }

// Counts pixels of the rectangle close to `color`.
int CountNear(const Canvas& canvas, const RECT& area, uint32_t color, int tolerance) {
  int count = 0;
  for (int y = area.top; y < area.bottom; ++y) {
    for (int x = area.left; x < area.right; ++x) count += NearColor(canvas.Pixel(x, y), color, tolerance);
  }
  return count;
}

// Every test starts at scale 1 and leaves it so.
class WidgetTest : public ::testing::Test {
 protected:
  void SetUp() override { GetGlobalSettings()->windowScale = 1.0; }
  void TearDown() override { GetGlobalSettings()->windowScale = 1.0; }
};

}  // namespace

TEST_F(WidgetTest, ButtonFillFollowsItsState) {
  struct Case {
    ResourceState state;
    uint32_t fill;
  };
  for (const Case c : {Case{ResourceState::Normal, 0xFF4197FF}, Case{ResourceState::Hover, 0xFF62A6FB},
                       Case{ResourceState::Pressed, 0xFF1873DE},
                       Case{ResourceState::Disabled, 0xFFD8D8D8}}) {
    Canvas canvas(120, 50);
    CButtonResource button(7, L"", nullptr);
    button.SetRect(10, 10, 110, 40);
    button.state = c.state;
    button.Draw(canvas.dc());
    EXPECT_TRUE(NearColor(canvas.Pixel(60, 25), c.fill, 2))
        << std::hex << canvas.Pixel(60, 25) << " for state " << static_cast<int>(c.state);
    EXPECT_TRUE(Clear(canvas, 5, 25));
    EXPECT_TRUE(Clear(canvas, 60, 45));
  }
}

TEST_F(WidgetTest, RoundedCornersStayTransparent) {
  ResourceStyleSet styles = MakeDefaultStyleSet();
  styles[ResourceState::Normal].fillColor = 0xFFFFFFFF;
  styles[ResourceState::Normal].cornerRadius = 10;
  CImageResource panel(1, &styles);
  panel.SetRect(0, 0, 100, 60);
  Canvas canvas(100, 60);
  panel.Draw(canvas.dc());
  for (const POINT corner : {POINT{0, 0}, POINT{99, 0}, POINT{0, 59}, POINT{99, 59}}) {
    EXPECT_TRUE(Clear(canvas, corner.x, corner.y)) << corner.x << "," << corner.y;
  }
  EXPECT_TRUE(Opaque(canvas, 50, 0));
  EXPECT_TRUE(Opaque(canvas, 0, 30));
  EXPECT_TRUE(Opaque(canvas, 50, 30));
}

TEST_F(WidgetTest, SquareBorderStraddlesTheEdgeRoundedBorderGrowsInward) {
  struct Case {
    uint32_t radius;
    bool outsideDrawn;  // pixel 2 outside the left edge
    bool deepDrawn;     // pixel 4 inside the left edge
  };
  for (const Case c : {Case{0, true, false}, Case{4, false, true}}) {
    ResourceStyleSet styles = MakeDefaultStyleSet();
    styles[ResourceState::Normal].borderColor = RED;
    styles[ResourceState::Normal].borderWidth = 5;
    styles[ResourceState::Normal].cornerRadius = c.radius;
    CImageResource panel(1, &styles);
    panel.SetRect(20, 20, 120, 80);
    Canvas canvas(140, 100);
    panel.Draw(canvas.dc());
    const int middle = 50;
    EXPECT_EQ(Opaque(canvas, 18, middle), c.outsideDrawn) << "radius " << c.radius;
    EXPECT_EQ(Opaque(canvas, 24, middle), c.deepDrawn) << "radius " << c.radius;
    EXPECT_TRUE(NearColor(canvas.Pixel(21, middle), RED, 8)) << "radius " << c.radius;
    EXPECT_TRUE(Clear(canvas, 70, middle)) << "the inside is not filled";
  }
}

TEST_F(WidgetTest, ProgressBarOverItsTrack) {
  CProgressResource progress(nullptr);
  EXPECT_EQ(progress.id, 2);
  progress.SetRect(10, 10, 310, 30);
  struct Case {
    uint32_t value;
    LONG barRight;
  };
  for (const Case c : {Case{50, 160}, Case{100, 310}, Case{0, 10}}) {
    progress.SetProgress(c.value);
    EXPECT_EQ(progress.barRect.right, c.barRight);
    Canvas canvas(320, 40);
    progress.Draw(canvas.dc());
    const uint32_t atQuarter = canvas.Pixel(85, 20);
    const uint32_t atThreeQuarters = canvas.Pixel(235, 20);
    EXPECT_TRUE(NearColor(atQuarter, c.value >= 25 ? 0xFF4197FF : 0xFFEEEEEE, 2)) << c.value;
    EXPECT_TRUE(NearColor(atThreeQuarters, c.value >= 75 ? 0xFF4197FF : 0xFFEEEEEE, 2)) << c.value;
    // Fully rounded ends: the track's corner stays transparent.
    EXPECT_TRUE(Clear(canvas, 10, 10));
  }
}

TEST_F(WidgetTest, ButtonIconComesOnlyFromTheCurrentState) {
  auto normal = SolidPicture(GREEN);
  CButtonResource button(3, L"", nullptr);
  button.aspectRatio = 1.0;
  button.SetStateImage(ResourceState::Normal, normal.get());
  button.SetRect(0, 0, 60, 20);
  // Fitted to a square, then the picture fills it.
  EXPECT_EQ(button.rect.left, 20);
  EXPECT_EQ(button.iconRect.left, 20);
  EXPECT_EQ(button.iconRect.right, 40);

  Canvas canvas(60, 20);
  button.Draw(canvas.dc());
  EXPECT_TRUE(NearColor(canvas.Pixel(30, 10), GREEN, 2));

  button.state = ResourceState::Hover;  // no Hover picture: no icon at all
  Canvas hovered(60, 20);
  button.Draw(hovered.dc());
  EXPECT_TRUE(NearColor(hovered.Pixel(30, 10), 0xFF62A6FB, 2));
}

TEST_F(WidgetTest, CheckboxDrawsTheBoxOfItsValueOnly) {
  auto checked = SolidPicture(GREEN);
  auto unchecked = SolidPicture(RED);
  CCheckboxResource box(4, nullptr, L"", checked.get(), unchecked.get());
  box.SetRect(0, 0, 200, 20);
  EXPECT_EQ(box.boxRect.right, 20);
  struct Case {
    int32_t value;
    uint32_t expected;
    bool drawn;
  };
  for (const Case c : {Case{1, GREEN, true}, Case{0, RED, true}, Case{2, 0, false}}) {
    box.checked = c.value;
    Canvas canvas(200, 20);
    box.Draw(canvas.dc());
    if (c.drawn) {
      EXPECT_TRUE(NearColor(canvas.Pixel(10, 10), c.expected, 2)) << c.value;
    } else {
      EXPECT_TRUE(Clear(canvas, 10, 10)) << c.value;
    }
  }
}

TEST_F(WidgetTest, TextStylesChooseTheirDrawingMethod) {
  struct Case {
    uint8_t bold;
    uint8_t underline;
    TextMethod method;
  };
  for (const Case c : {Case{0, 0, TextMethod::FilledPath}, Case{1, 0, TextMethod::FilledPath},
                       Case{0, 1, TextMethod::String}, Case{1, 1, TextMethod::FilledPath}}) {
    ResourceStyle style = MakeDefaultStyle();
    style.bold = c.bold;
    style.underline = c.underline;
    EXPECT_EQ(TextMethodForStyle(FontStyleOf(style)), c.method)
        << int(c.bold) << "/" << int(c.underline);
  }
}

TEST_F(WidgetTest, TextIsDrawnEitherWay) {
  for (const uint8_t underline : {0, 1}) {
    ResourceStyleSet styles = DefaultTextStyles();
    styles[ResourceState::Normal].textColor = 0xFF000000;
    styles[ResourceState::Normal].underline = underline;
    styles[ResourceState::Normal].fontSize = 20;
    CTextResource label(9, &styles, L"Tessaro 安装");
    label.SetRect(0, 0, 200, 40);
    Canvas canvas(200, 40);
    label.Draw(canvas.dc());
    EXPECT_TRUE(NearColor(canvas.Pixel(199, 0), 0xFFFFFFFF, 1)) << "white label background";
    EXPECT_GT(CountNear(canvas, RECT{0, 0, 200, 40}, 0xFF000000, 60), 20)
        << "underline " << int(underline);
  }
}

TEST_F(WidgetTest, HiddenWidgetsDrawNothing) {
  CButtonResource button(1, L"x", nullptr);
  button.SetRect(0, 0, 40, 20);
  button.visible = 0;
  Canvas canvas(40, 20);
  button.Draw(canvas.dc());
  EXPECT_EQ(CountNear(canvas, RECT{0, 0, 40, 20}, 0, 0), 40 * 20);
}

TEST_F(WidgetTest, LayoutPlacesChildrenAndBackground) {
  CLayoutResource root(LayoutVertical, 100);
  CLayoutResource row(LayoutHorizontal, 101);
  CSpacerResource top(1);
  CSpacerResource left(2);
  CSpacerResource right(3);
  CImageResource background(4, nullptr);
  root.marginTop = 10;
  root.spacing = 10;
  root.background = &background;
  root.AddChild(&top, 1);
  root.AddChild(&row, 1);
  row.AddChild(&left, 1);
  row.AddChild(&right, 3);
  ASSERT_TRUE(root.SetRect(0, 0, 400, 110));
  EXPECT_EQ(top.rect.top, 10);
  EXPECT_EQ(top.rect.bottom, 55);
  EXPECT_EQ(row.rect.top, 65);
  EXPECT_EQ(left.rect.right, 100);
  EXPECT_EQ(right.rect.left, 100);
  EXPECT_EQ(right.rect.bottom, 110);
  EXPECT_EQ(background.rect.top, 0);
  EXPECT_EQ(background.rect.right, 400);

  // Mismatched lists place nothing, not even the background.
  root.weights.pop_back();
  background.rect = RECT{};
  EXPECT_FALSE(root.SetRect(0, 0, 800, 600));
  EXPECT_EQ(background.rect.right, 0);
  EXPECT_EQ(top.rect.bottom, 55);
}

TEST_F(WidgetTest, MetricsFollowTheWindowScale) {
  GetGlobalSettings()->windowScale = 1.5;
  CLayoutResource row(LayoutHorizontal, 1);
  CSpacerResource only(2);
  row.marginLeft = 10;
  row.AddChild(&only, 1);
  ASSERT_TRUE(row.SetRect(0, 0, 100, 20));
  EXPECT_EQ(only.rect.left, 15);

  CImageResource grown(3, nullptr);
  grown.inflateX = 5;
  grown.SetRect(20, 20, 40, 40);
  EXPECT_EQ(grown.rect.left, 13);
  EXPECT_EQ(grown.rect.right, 47);

  // A 5-pixel design border is 7 pixels wide at 1.5.
  ResourceStyleSet styles = MakeDefaultStyleSet();
  styles[ResourceState::Normal].borderColor = RED;
  styles[ResourceState::Normal].borderWidth = 5;
  styles[ResourceState::Normal].cornerRadius = 4;
  CImageResource panel(4, &styles);
  panel.SetRect(20, 20, 120, 80);
  Canvas canvas(140, 100);
  panel.Draw(canvas.dc());
  EXPECT_TRUE(Opaque(canvas, 26, 50));
  EXPECT_TRUE(Clear(canvas, 28, 50));
}

TEST_F(WidgetTest, EditIsARealSubclassedChild) {
  HWND parent = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 300, 100, nullptr, nullptr,
                                  nullptr, nullptr);
  ASSERT_NE(parent, nullptr);
  HWND child = nullptr;
  {
    CEditResource edit(parent, nullptr);
    child = edit.editWindow;
    ASSERT_TRUE(::IsWindow(child));
    EXPECT_EQ(edit.id, 5);
    EXPECT_EQ(::GetDlgCtrlID(child), 5);
    wchar_t text[16] = {};
    ::GetWindowTextW(child, text, 16);
    EXPECT_STREQ(text, L"C:/");
    EXPECT_NE(::GetWindowLongW(child, GWL_WNDPROC), static_cast<LONG>(::GetClassLongW(child, GCL_WNDPROC)));
    ::SetWindowTextW(child, L"D:\\Tessaro");
    ::GetWindowTextW(child, text, 16);
    EXPECT_STREQ(text, L"D:\\Tessaro");

    edit.SetRect(10, 20, 210, 50);
    RECT placed{};
    ::GetWindowRect(child, &placed);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&placed), 2);
    EXPECT_EQ(placed.left, 10);
    EXPECT_EQ(placed.top, 20);
    EXPECT_EQ(placed.right - placed.left, 200);
    EXPECT_EQ(placed.bottom - placed.top, 30);
  }
  EXPECT_FALSE(::IsWindow(child));
  ::DestroyWindow(parent);
}
