// Windows and views: creation, scaling and centring, message routing through
// the "WndClassPtr" property, resizing, hit testing and the buttons' states
// under the standard mouse handling.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "app/global_settings.h"
#include "pages/window_messages.h"
#include "ui/button_resource.h"
#include "ui/dialog_window.h"
#include "ui/layout_resource.h"
#include "ui/progress_resource.h"
#include "ui/text_resource.h"
#include "ui_test_support.h"

namespace {

constexpr wchar_t TEST_CLASS[] = L"TessaroToolkitTestWindow";
constexpr UINT PROBE = WM_APP + 1;

// Records which messages reached the object.
class ProbeWindow : public IBaseWindow {
 public:
  explicit ProbeWindow(HWND parent = nullptr, uint32_t width = 400, uint32_t height = 200)
      : IBaseWindow(TEST_CLASS, parent, width, height) {}
  ~ProbeWindow() override { DetachWindow(); }

  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
    seen.push_back(msg);
    if (msg == PROBE) return 42;
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
  }

  bool Saw(UINT msg) const {
    for (UINT m : seen) {
      if (m == msg) return true;
    }
    return false;
  }

  std::vector<UINT> seen;
};

// A view with the standard handling that records its clicks.
class ProbeView : public IBaseView {
 public:
  ProbeView(HWND window, ViewKind viewKind) : IBaseView(window, nullptr, viewKind) {}
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
    return HandleStandardMessage(msg, wParam, lParam);
  }
  LRESULT OnResourceClick(int index, LPARAM) override {
    clicks.push_back(index);
    return 0;
  }
  std::vector<int> clicks;
};

class ProbeDialog : public DialogWindow {
 public:
  ProbeDialog() : DialogWindow(L"TessaroToolkitTestDialog", nullptr, 400, 200) {}
};

LPARAM At(int x, int y) { return MAKELPARAM(x, y); }

RECT WorkArea() {
  RECT area{};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  return area;
}

// Widgets of a small dialog:
//   0 root layout, 1 background image, 2 button, 3 hidden button,
//   4 progress, 5 text, 6 a second image over the right half.
void BuildWidgets(IBaseView& view) {
  auto* root = view.AddResource(std::make_unique<CLayoutResource>(LayoutVertical, 100));
  auto* background = view.AddResource(std::make_unique<CImageResource>(101, nullptr));
  auto* button = view.AddResource(std::make_unique<CButtonResource>(102, L"OK", nullptr));
  auto* hidden = view.AddResource(std::make_unique<CButtonResource>(103, L"", nullptr));
  auto* progress = view.AddResource(std::make_unique<CProgressResource>(nullptr));
  auto* text = view.AddResource(std::make_unique<CTextResource>(105, nullptr, L"text"));
  auto* overlay = view.AddResource(std::make_unique<CImageResource>(106, nullptr));
  root->background = background;
  root->AddChild(background, 1);
  root->SetRect(0, 0, 400, 200);
  button->SetRect(10, 10, 110, 40);
  hidden->SetRect(10, 50, 110, 80);
  hidden->visible = 0;
  progress->SetRect(10, 100, 390, 110);
  text->SetRect(10, 150, 110, 170);
  overlay->SetRect(200, 0, 400, 200);
}

}  // namespace

TEST(WindowTest, CreatesAScaledCentredPopup) {
  ProbeWindow window;
  ASSERT_TRUE(::IsWindow(window.hwnd));
  const double scale = GetGlobalSettings()->dpiScale < 1 ? 1.0 : GetGlobalSettings()->dpiScale;
  EXPECT_DOUBLE_EQ(GetGlobalSettings()->windowScale, scale);
  RECT rect{};
  ::GetWindowRect(window.hwnd, &rect);
  EXPECT_EQ(rect.right - rect.left, static_cast<LONG>(400 * scale + 0.5));
  EXPECT_EQ(rect.bottom - rect.top, static_cast<LONG>(200 * scale + 0.5));
  const POINT centre = CentredPosition(WorkArea(), 400 * scale, 200 * scale);
  EXPECT_EQ(rect.left, centre.x);
  EXPECT_EQ(rect.top, centre.y);

  wchar_t text[16] = {};
  ::GetWindowTextW(window.hwnd, text, 16);
  EXPECT_STREQ(text, L"Tessaro");
  EXPECT_EQ(static_cast<DWORD>(::GetWindowLongW(window.hwnd, GWL_STYLE)) & ~WS_CLIPSIBLINGS,
            static_cast<DWORD>(WS_POPUP));
  EXPECT_TRUE(::GetWindowLongW(window.hwnd, GWL_EXSTYLE) & WS_EX_APPWINDOW);

  ProbeWindow owned(window.hwnd);
  EXPECT_TRUE(::GetWindowLongW(owned.hwnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
  EXPECT_EQ(::GetWindow(owned.hwnd, GW_OWNER), window.hwnd);
}

TEST(WindowTest, MessagesReachTheObjectOnlyWhileAttached) {
  HWND handle = nullptr;
  {
    ProbeWindow window;
    handle = window.hwnd;
    // Sent during CreateWindowExW, before the property existed.
    EXPECT_FALSE(window.Saw(WM_CREATE));
    EXPECT_FALSE(window.Saw(WM_NCCREATE));
    EXPECT_EQ(::SendMessageW(handle, PROBE, 0, 0), 42);
    EXPECT_TRUE(window.Saw(PROBE));

    // A second window of the registered class.
    ProbeWindow second;
    EXPECT_EQ(::SendMessageW(second.hwnd, PROBE, 0, 0), 42);
  }
  // The object is gone and so is its window.
  EXPECT_FALSE(::IsWindow(handle));
}

TEST(WindowTest, ResizeScalesAndCentresAgain) {
  ProbeWindow window(nullptr, 400, 200);
  const double scale = GetGlobalSettings()->windowScale;
  ASSERT_TRUE(window.Resize(600, 400));
  RECT rect{};
  ::GetWindowRect(window.hwnd, &rect);
  EXPECT_EQ(rect.right - rect.left, static_cast<LONG>(600 * scale + 0.5));
  const POINT centre = CentredPosition(WorkArea(), 600 * scale, 400 * scale);
  EXPECT_EQ(rect.left, centre.x);
  EXPECT_EQ(rect.top, centre.y);

  ::DestroyWindow(window.hwnd);
  EXPECT_FALSE(window.Resize(400, 200));
  EXPECT_EQ(window.designWidth, 400u);
  EXPECT_EQ(window.designHeight, 200u);
}

TEST(ViewTest, HitTestPrefersControlsOverPictures) {
  ProbeDialog dialog;
  auto view = std::make_unique<ProbeView>(dialog.hwnd, ViewKind::Dialog);
  BuildWidgets(*view);
  struct Case {
    int x;
    int y;
    int index;
  };
  const Case cases[] = {
      {20, 20, 2},    // the button
      {20, 60, 3},    // a hidden button is still hit
      {50, 105, 4},   // the progress bar
      {20, 160, 5},   // the text
      {150, 190, 1},  // only the background
      {300, 190, 6},  // two pictures: the later one
      {500, 500, 0},  // nothing at all
  };
  for (const Case& c : cases) EXPECT_EQ(view->HitTest(At(c.x, c.y)), c.index) << c.x << "," << c.y;
  EXPECT_EQ(view->FindResource(105), view->resources[5].get());
  EXPECT_EQ(view->FindResource(999), nullptr);
}

TEST(ViewTest, ButtonStatesFollowTheMouse) {
  ProbeDialog dialog;
  dialog.view = std::make_unique<ProbeView>(dialog.hwnd, ViewKind::Dialog);
  auto& view = static_cast<ProbeView&>(*dialog.view);
  BuildWidgets(view);
  IBaseResource& button = *view.resources[2];
  IBaseResource& hidden = *view.resources[3];
  HWND hwnd = dialog.hwnd;

  ::SendMessageW(hwnd, WM_MOUSEMOVE, 0, At(20, 20));
  EXPECT_EQ(button.state, ResourceState::Hover);
  EXPECT_EQ(view.hoverIndex, 2);
  // Onto the progress bar: the button stays hovered.
  ::SendMessageW(hwnd, WM_MOUSEMOVE, 0, At(50, 105));
  EXPECT_EQ(button.state, ResourceState::Hover);
  EXPECT_EQ(view.hoverIndex, 4);
  // Onto the text: every button back to normal.
  ::SendMessageW(hwnd, WM_MOUSEMOVE, 0, At(20, 160));
  EXPECT_EQ(button.state, ResourceState::Normal);
  // Onto the other button and pressing it there.
  ::SendMessageW(hwnd, WM_MOUSEMOVE, 0, At(20, 60));
  EXPECT_EQ(hidden.state, ResourceState::Hover);
  ::SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, At(20, 60));
  EXPECT_EQ(hidden.state, ResourceState::Pressed);
  EXPECT_EQ(button.state, ResourceState::Normal);

  // Released over the first button although pressed elsewhere: that click counts.
  ::SendMessageW(hwnd, WM_LBUTTONUP, 0, At(20, 20));
  MSG msg{};
  ASSERT_TRUE(::PeekMessageW(&msg, hwnd, WM_RESOURCE_CLICK, WM_RESOURCE_CLICK, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 2u);
  ::DispatchMessageW(&msg);
  EXPECT_EQ(view.clicks, std::vector<int>{2});
  // Released over the background: nothing is posted.
  ::SendMessageW(hwnd, WM_LBUTTONUP, 0, At(150, 190));
  EXPECT_FALSE(::PeekMessageW(&msg, hwnd, WM_RESOURCE_CLICK, WM_RESOURCE_CLICK, PM_REMOVE));
}

TEST(ViewTest, UpdateButtonStatesTable) {
  ProbeDialog dialog;
  ProbeView view(dialog.hwnd, ViewKind::Dialog);
  BuildWidgets(view);
  IBaseResource& button = *view.resources[2];
  IBaseResource& other = *view.resources[3];
  struct Case {
    ResourceState before;
    UINT msg;
    ResourceState after;
    bool changed;
  };
  const Case cases[] = {
      {ResourceState::Normal, WM_MOUSEMOVE, ResourceState::Hover, true},
      {ResourceState::Hover, WM_MOUSEMOVE, ResourceState::Hover, false},
      {ResourceState::Hover, WM_LBUTTONDOWN, ResourceState::Pressed, true},
      {ResourceState::Pressed, WM_LBUTTONUP, ResourceState::Pressed, false},
      {ResourceState::Pressed, WM_RESOURCE_CLICK, ResourceState::Normal, true},
  };
  for (const Case& c : cases) {
    button.state = c.before;
    other.state = ResourceState::Normal;
    EXPECT_EQ(view.UpdateButtonStates(2, c.msg), c.changed) << c.msg;
    EXPECT_EQ(button.state, c.after) << c.msg;
  }
  // Any other target returns every button to Normal, the text untouched.
  button.state = ResourceState::Pressed;
  other.state = ResourceState::Hover;
  view.resources[5]->state = ResourceState::Hover;
  EXPECT_TRUE(view.UpdateButtonStates(0, WM_MOUSEMOVE));
  EXPECT_EQ(button.state, ResourceState::Normal);
  EXPECT_EQ(other.state, ResourceState::Normal);
  EXPECT_EQ(view.resources[5]->state, ResourceState::Hover);
}

TEST(ViewTest, DialogBecomesLayeredAtItsFirstPaint) {
  ProbeDialog dialog;
  dialog.view = std::make_unique<ProbeView>(dialog.hwnd, ViewKind::Dialog);
  BuildWidgets(*dialog.view);
  EXPECT_FALSE(::GetWindowLongW(dialog.hwnd, GWL_EXSTYLE) & WS_EX_LAYERED);
  EXPECT_EQ(::SendMessageW(dialog.hwnd, WM_ERASEBKGND, 0, 0), 0);
  ::ShowWindow(dialog.hwnd, SW_SHOWNORMAL);
  ::UpdateWindow(dialog.hwnd);
  EXPECT_TRUE(::GetWindowLongW(dialog.hwnd, GWL_EXSTYLE) & WS_EX_LAYERED);
}
