// The pages' and the cancel dialog's behaviour on real (hidden) windows,
// driven by the messages the toolkit would deliver: widget states, what is
// posted to the main window, the custom page's folder rules, and the nested
// loop of the cancel dialog. No skin: the widgets draw without pictures.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/global_settings.h"
#include "pages/begin_view.h"
#include "pages/cancel_dialog.h"
#include "pages/custom_path.h"
#include "pages/custome_view.h"
#include "pages/finished_view.h"
#include "pages/warn_window.h"
#include "pages/window_messages.h"
#include "sys/volumes.h"
#include "ui/checkbox_resource.h"
#include "ui/edit_resource.h"
#include "ui/text_resource.h"

namespace {

class SettingsEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { CreateGlobalSettings(); }
  void TearDown() override { DeleteGlobalSettings(); }
};
const auto* const environment = ::testing::AddGlobalTestEnvironment(new SettingsEnvironment);

// Stands in for the main window: hands messages to its page and records the
// page changes the page asks for.
class HostWindow : public IBaseWindow {
 public:
  HostWindow() : IBaseWindow(L"TessaroPagesTestHost", nullptr, 600, 400) {}
  ~HostWindow() override {
    DetachWindow();
    view.reset();
  }

  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
    if (msg == WM_SWITCH_PAGE) {
      switches.push_back(static_cast<int>(wParam));
      return 0;
    }
    if (msg == WM_APP + 7) ++probes;
    if (view) return view->HandleMessage(msg, wParam, lParam);
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
  }

  template <typename View>
  View& Show() {
    view = std::make_unique<View>(hwnd, nullptr);
    return static_cast<View&>(*view);
  }

  std::unique_ptr<IBaseView> view;
  std::vector<int> switches;
  int probes = 0;
};

// Dispatches what is queued for the thread; false when WM_QUIT was among it.
bool Pump() {
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) return false;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  return true;
}

int IndexOf(const IBaseView& view, int32_t id) {
  for (size_t i = 0; i < view.resources.size(); ++i) {
    if (view.resources[i]->id == id) return static_cast<int>(i);
  }
  return -1;
}

LPARAM CentreOf(const IBaseResource& widget) {
  return MAKELPARAM((widget.rect.left + widget.rect.right) / 2,
                    (widget.rect.top + widget.rect.bottom) / 2);
}

// A release over widget `index`, then the posted click handled; false when
// the click ended the run (WM_QUIT).
bool ClickAt(HostWindow& host, int index) {
  const LPARAM at = CentreOf(*host.view->resources[static_cast<size_t>(index)]);
  ::SendMessageW(host.hwnd, WM_LBUTTONUP, 0, at);
  return Pump();
}

ResourceState StateOf(const IBaseView& view, int32_t id) {
  return view.resources[static_cast<size_t>(IndexOf(view, id))]->state;
}

bool IsVisible(const IBaseView& view, int32_t id) {
  return view.resources[static_cast<size_t>(IndexOf(view, id))]->visible != 0;
}

// Where some widgets of each view end up (x, y, width, height at scale 1).
struct Placement {
  int index;
  RECT expected;  // left, top, width, height
};

void ExpectPlacements(const IBaseView& view, size_t count, std::initializer_list<Placement> placements) {
  ASSERT_EQ(view.resources.size(), count);
  for (const Placement& p : placements) {
    const RECT& r = view.resources[static_cast<size_t>(p.index)]->rect;
    EXPECT_EQ(r.left, p.expected.left) << "widget " << p.index;
    EXPECT_EQ(r.top, p.expected.top) << "widget " << p.index;
    EXPECT_EQ(r.right - r.left, p.expected.right) << "widget " << p.index;
    EXPECT_EQ(r.bottom - r.top, p.expected.bottom) << "widget " << p.index;
  }
}

TEST(LayoutTest, ViewsPlaceTheirWidgetsAsDesigned) {
  {
    HostWindow host;
    SCOPED_TRACE("start page");
    ExpectPlacements(host.Show<CBeginView>(), 20,
                     {{4, {562, 24, 16, 16}}, {8, {20, 186, 560, 36}}, {12, {217, 255, 166, 48}},
                      {16, {20, 362, 129, 14}}, {17, {149, 362, 108, 14}}, {18, {257, 362, 215, 14}},
                      {19, {472, 362, 108, 14}}});
  }
  {
    HostWindow host;
    SCOPED_TRACE("custom page");
    ExpectPlacements(host.Show<CCustomeView>(), 29,
                     {{3, {20, 24, 100, 16}}, {6, {44, 70, 512, 48}}, {10, {126, 132, 389, 32}},
                      {11, {515, 136, 41, 24}}, {18, {372, 178, 184, 24}}, {22, {126, 224, 430, 16}},
                      {26, {217, 286, 166, 48}}, {28, {44, 364, 512, 6}}});
  }
  {
    HostWindow host;
    SCOPED_TRACE("finished page");
    ExpectPlacements(host.Show<CFinishedView>(), 16,
                     {{4, {562, 24, 17, 17}}, {8, {20, 173, 560, 32}}, {10, {20, 205, 560, 32}},
                      {14, {217, 300, 166, 48}}});
  }
  {
    SCOPED_TRACE("cancel dialog");
    WarnWindow dialog(nullptr, nullptr, L"TessaroPagesTestLayout");
    ExpectPlacements(*dialog.view, 21,
                     {{3, {1, 2, 398, 26}}, {5, {376, 8, 14, 14}}, {9, {24, 46, 31, 40}},
                      {15, {71, 86, 305, 59}}, {18, {213, 150, 75, 29}}, {20, {301, 150, 75, 29}}});
  }
}

// ---------------------------------------------------------------- start page

class BeginViewTest : public ::testing::Test {
 protected:
  HostWindow host;
  CBeginView& page = host.Show<CBeginView>();
};

TEST_F(BeginViewTest, ClearingTheAgreementDisablesBothButtonsUntilCheckedAgain) {
  const int checkbox = IndexOf(page, BEGIN_ID_CHECKBOX);
  for (bool room : {true, false}) {
    SCOPED_TRACE(room ? "with room" : "without room");
    page.SetHasRoom(room);
    ClickAt(host, checkbox);
    EXPECT_EQ(page.agreed, 0);
    EXPECT_EQ(static_cast<CCheckboxResource&>(*page.resources[checkbox]).checked, 0);
    EXPECT_TRUE(IsVisible(page, BEGIN_ID_HINT));
    EXPECT_EQ(StateOf(page, BEGIN_ID_INSTALL), ResourceState::Disabled);
    EXPECT_EQ(StateOf(page, BEGIN_ID_CUSTOM), ResourceState::Disabled);

    ClickAt(host, IndexOf(page, BEGIN_ID_INSTALL));
    ClickAt(host, IndexOf(page, BEGIN_ID_CUSTOM));
    EXPECT_TRUE(host.switches.empty());

    ClickAt(host, checkbox);
    EXPECT_EQ(page.agreed, 1);
    EXPECT_FALSE(IsVisible(page, BEGIN_ID_HINT));
    EXPECT_EQ(StateOf(page, BEGIN_ID_INSTALL),
              room ? ResourceState::Normal : ResourceState::Disabled);
    EXPECT_EQ(StateOf(page, BEGIN_ID_CUSTOM), ResourceState::Normal);
  }
}

TEST_F(BeginViewTest, WithoutRoomOnlyTheCustomInstallLeadsOn) {
  page.SetHasRoom(false);
  EXPECT_EQ(StateOf(page, BEGIN_ID_INSTALL), ResourceState::Disabled);
  const int install = IndexOf(page, BEGIN_ID_INSTALL);
  ::SendMessageW(host.hwnd, WM_MOUSEMOVE, 0, CentreOf(*page.resources[install]));
  EXPECT_EQ(StateOf(page, BEGIN_ID_INSTALL), ResourceState::Disabled);
  ClickAt(host, install);
  EXPECT_TRUE(host.switches.empty());
  ClickAt(host, IndexOf(page, BEGIN_ID_CUSTOM));
  EXPECT_EQ(host.switches, std::vector<int>{PAGE_CUSTOM});

  page.SetHasRoom(true);
  EXPECT_EQ(StateOf(page, BEGIN_ID_INSTALL), ResourceState::Normal);
  ClickAt(host, install);
  EXPECT_EQ(host.switches, (std::vector<int>{PAGE_CUSTOM, PAGE_PROGRESS}));
}

TEST_F(BeginViewTest, HoverFollowsTheMouseAndPlainWidgetsResetIt) {
  const int install = IndexOf(page, BEGIN_ID_INSTALL);
  ::SendMessageW(host.hwnd, WM_MOUSEMOVE, 0, CentreOf(*page.resources[install]));
  EXPECT_EQ(StateOf(page, BEGIN_ID_INSTALL), ResourceState::Hover);
  ::SendMessageW(host.hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(300, 140));  // the logo
  EXPECT_EQ(StateOf(page, BEGIN_ID_INSTALL), ResourceState::Normal);
}

TEST_F(BeginViewTest, ReleasesOverTheLogoPostNothingOverTheEmptyTextAClick) {
  ::SendMessageW(host.hwnd, WM_LBUTTONUP, 0, CentreOf(*page.resources[7]));
  MSG message;
  EXPECT_FALSE(::PeekMessageW(&message, host.hwnd, WM_RESOURCE_CLICK, WM_RESOURCE_CLICK, PM_REMOVE));
  ::SendMessageW(host.hwnd, WM_LBUTTONUP, 0, CentreOf(*page.resources[9]));
  ASSERT_TRUE(::PeekMessageW(&message, host.hwnd, WM_RESOURCE_CLICK, WM_RESOURCE_CLICK, PM_REMOVE));
  EXPECT_EQ(message.wParam, 9u);
}

// --------------------------------------------------------------- custom page

class CustomeViewTest : public ::testing::Test {
 protected:
  std::wstring EditText() {
    wchar_t text[300] = {};
    ::GetWindowTextW(Edit().editWindow, text, 300);
    return text;
  }
  CEditResource& Edit() {
    return static_cast<CEditResource&>(*page.resources[static_cast<size_t>(IndexOf(page, CUSTOME_ID_EDIT))]);
  }
  std::wstring TextOf(int32_t id) {
    return static_cast<CTextResource&>(*page.resources[static_cast<size_t>(IndexOf(page, id))]).text;
  }
  // The edit box loses the focus with `typed` in it.
  void Type(const std::wstring& typed) {
    ::SetWindowTextW(Edit().editWindow, typed.c_str());
    ::SendMessageW(host.hwnd, WM_COMMAND, MAKEWPARAM(CUSTOME_ID_EDIT, EN_KILLFOCUS),
                   reinterpret_cast<LPARAM>(Edit().editWindow));
  }
  // Mouse moves over "返回" and back onto the background run the page's
  // state rules.
  void MoveOverBackground() {
    ::SendMessageW(host.hwnd, WM_MOUSEMOVE, 0,
                   CentreOf(*page.resources[static_cast<size_t>(IndexOf(page, CUSTOME_ID_BACK))]));
    ::SendMessageW(host.hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(5, 395));
  }

  HostWindow host;
  CCustomeView& page = host.Show<CCustomeView>();
};

TEST_F(CustomeViewTest, TypedFoldersGetTheProductFoldersAndInvalidOnesAreUndone) {
  EXPECT_EQ(TextOf(CUSTOME_ID_REQUIRED), L"");
  EXPECT_EQ(TextOf(CUSTOME_ID_AVAILABLE), L"");
  page.SetPath(L"C:\\Program Files\\Orvane\\Tessaro");
  EXPECT_EQ(page.path, L"C:\\Program Files\\Orvane\\Tessaro");
  EXPECT_EQ(TextOf(CUSTOME_ID_AVAILABLE), FormatSize(static_cast<double>(GetVolumeFreeSpace(L"C:\\"))));
  EXPECT_FALSE(TextOf(CUSTOME_ID_REQUIRED).empty());

  Type(L"D:\\Apps");
  EXPECT_EQ(page.path, L"D:\\Apps\\Orvane\\Tessaro");
  EXPECT_EQ(EditText(), L"D:\\Apps\\Orvane\\Tessaro");
  Type(L"D:\\");
  EXPECT_EQ(page.path, L"D:\\Orvane\\Tessaro");

  for (const wchar_t* invalid : {L"D:\\a*b", L"D:/x", L"D:\\a\\\\b", L"relative"}) {
    Type(invalid);
    EXPECT_EQ(page.path, L"D:\\Orvane\\Tessaro");
    EXPECT_EQ(EditText(), L"D:\\Orvane\\Tessaro");
  }
}

TEST_F(CustomeViewTest, AnInstalledFolderIsTakenAsItIsOnce) {
  page.appendProductFolder = 0;
  page.SetPath(L"C:\\Tools\\App");
  EXPECT_EQ(page.path, L"C:\\Tools\\App");
  EXPECT_EQ(page.appendProductFolder, 1);
  page.SetPath(L"C:\\Other");
  EXPECT_EQ(page.path, L"C:\\Other\\Orvane\\Tessaro");
}

TEST_F(CustomeViewTest, TheRoomRuleFollowsTheAcceptedFolder) {
  // No drive Q: in the test prefix: nothing free there.
  page.SetPath(L"Q:\\Apps");
  EXPECT_EQ(page.hasRoom, 0);
  MoveOverBackground();
  EXPECT_EQ(StateOf(page, CUSTOME_ID_INSTALL), ResourceState::Disabled);
  EXPECT_TRUE(IsVisible(page, CUSTOME_ID_ROOM_WARNING));
  ClickAt(host, IndexOf(page, CUSTOME_ID_INSTALL));
  EXPECT_TRUE(host.switches.empty());

  page.SetPath(L"C:\\Apps");
  ASSERT_EQ(page.hasRoom, 1) << "the test prefix's C: drive needs room for the package";
  MoveOverBackground();
  EXPECT_EQ(StateOf(page, CUSTOME_ID_INSTALL), ResourceState::Normal);
  EXPECT_FALSE(IsVisible(page, CUSTOME_ID_ROOM_WARNING));
  ClickAt(host, IndexOf(page, CUSTOME_ID_INSTALL));
  EXPECT_EQ(host.switches, std::vector<int>{PAGE_PROGRESS});
  EXPECT_FALSE(::IsWindowVisible(Edit().editWindow));
}

TEST_F(CustomeViewTest, ThePlanCheckboxDecidesJoinPlan) {
  const int plan = IndexOf(page, CUSTOME_ID_PLAN);
  ClickAt(host, plan);
  EXPECT_EQ(page.joinPlan, 0);
  EXPECT_EQ(static_cast<CCheckboxResource&>(*page.resources[plan]).checked, 0);
  ClickAt(host, plan);
  EXPECT_EQ(page.joinPlan, 1);
  EXPECT_EQ(static_cast<CCheckboxResource&>(*page.resources[plan]).checked, 1);
}

TEST_F(CustomeViewTest, BackHidesTheEditBoxAndReturnsToTheStartPage) {
  page.SetPath(L"C:\\Apps");
  ClickAt(host, IndexOf(page, CUSTOME_ID_BACK));
  EXPECT_EQ(host.switches, std::vector<int>{PAGE_START});
  EXPECT_FALSE(::IsWindowVisible(Edit().editWindow));
}

// ------------------------------------------------------------- finished page

TEST(FinishedViewTest, EitherButtonHidesTheWindowAndEndsTheRun) {
  for (int32_t id : {FINISHED_ID_CLOSE, FINISHED_ID_LAUNCH}) {
    HostWindow host;
    CFinishedView& page = host.Show<CFinishedView>();
    ::ShowWindow(host.hwnd, SW_SHOWNA);
    EXPECT_FALSE(ClickAt(host, IndexOf(page, id))) << "no quit after button " << id;
    EXPECT_FALSE(::IsWindowVisible(host.hwnd));
  }
}

TEST(FinishedViewTest, ClosingTheWindowEndsTheRun) {
  HostWindow host;
  host.Show<CFinishedView>();
  ::SendMessageW(host.hwnd, WM_CLOSE, 0, 0);
  EXPECT_FALSE(Pump());
  EXPECT_FALSE(::IsWindow(host.hwnd));
}

// ------------------------------------------------------------ cancel dialog

std::vector<UINT> PostedTo(HWND window) {
  std::vector<UINT> posted;
  MSG message;
  while (::PeekMessageW(&message, window, 0, 0, PM_REMOVE)) {
    const UINT msg = message.message;
    if (msg >= WM_APP || msg == WM_CLOSE || msg == WM_QUIT) posted.push_back(msg);
  }
  return posted;
}

TEST(WarnWindowTest, ButtonsPostTheirOutcomeToTheDialogItself) {
  const struct {
    int index;
    std::vector<UINT> posted;
  } cases[] = {
      {18, {WM_CANCEL_CONFIRMED, WM_CLOSE, WM_QUIT}},  // 确认
      {20, {WM_CLOSE, WM_QUIT}},                       // 取消
      {5, {WM_CLOSE, WM_QUIT}},                        // close button
  };
  for (const auto& c : cases) {
    WarnWindow dialog(nullptr, nullptr, L"TessaroPagesTestWarn");
    ::SendMessageW(dialog.hwnd, WM_RESOURCE_CLICK, static_cast<WPARAM>(c.index), 0);
    EXPECT_EQ(PostedTo(dialog.hwnd), c.posted) << "button " << c.index;
  }
}

// Clicks a button of the open cancel dialog from another thread, after
// something for the main window was posted while the dialog is open.
void AnswerDialog(const wchar_t* className, HWND mainWindow, int buttonIndex) {
  HWND dialog = nullptr;
  for (int i = 0; i < 200 && dialog == nullptr; ++i) {
    dialog = ::FindWindowW(className, nullptr);
    if (dialog == nullptr) ::Sleep(25);
  }
  ::PostMessageW(mainWindow, WM_APP + 7, 0, 0);
  ::Sleep(100);
  ::PostMessageW(dialog, WM_RESOURCE_CLICK, static_cast<WPARAM>(buttonIndex), 0);
}

TEST(CancelDialogTest, NestedLoopReportsTheAnswerAndDropsOtherMessages) {
  for (const auto& [button, confirmed] : {std::pair<int, bool>{18, true}, {20, false}}) {
    HostWindow host;
    HWND openDialog = nullptr;
    std::thread answer(AnswerDialog, L"TessaroPagesTestCancel", host.hwnd, button);
    const bool result = AskCancelInstall(host.hwnd, nullptr, L"TessaroPagesTestCancel",
                                         CancelOpener::CustomPage, openDialog);
    answer.join();
    EXPECT_EQ(result, confirmed);
    EXPECT_EQ(openDialog, nullptr);
    EXPECT_EQ(::FindWindowW(L"TessaroPagesTestCancel", nullptr), nullptr);
    EXPECT_TRUE(Pump()) << "the dialog's quit reached the main loop";
    EXPECT_EQ(host.probes, 0) << "a message for the main window got through";
  }
}

TEST(CancelDialogTest, AnOpenDialogIsOnlyBroughtForward) {
  HostWindow host;
  WarnWindow dialog(host.hwnd, nullptr, L"TessaroPagesTestOpen");
  HWND openDialog = dialog.hwnd;
  EXPECT_FALSE(AskCancelInstall(host.hwnd, nullptr, L"TessaroPagesTestOpen",
                                CancelOpener::StartPage, openDialog));
  EXPECT_EQ(openDialog, dialog.hwnd);
  EXPECT_TRUE(::IsWindowVisible(dialog.hwnd));
}

}  // namespace
