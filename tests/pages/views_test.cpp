// The pages' and the dialogs' behaviour on real (hidden) windows, driven by
// the messages the toolkit would deliver: widget states, what is posted to
// the main window, the custom page's folder rules, the dialogs' outcomes and
// their nested loops. No skin: the widgets draw without pictures.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "app/global_settings.h"
#include "pages/begin_view.h"
#include "pages/cancel_dialog.h"
#include "pages/custom_path.h"
#include "pages/custome_view.h"
#include "pages/dialog_loop.h"
#include "pages/failure_dialogs.h"
#include "pages/finished_view.h"
#include "pages/reminder_windows.h"
#include "pages/warn_window.h"
#include "pages/window_messages.h"
#include "support/silent_logger.h"
#include "support/temp_folder.h"
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
    if (msg == WM_PAINT) ++paints;
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
  int paints = 0;
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

// ----------------------------------------------------------- failure dialogs

// Records action records and URL openings in the order they happen.
class CallLog : public SilentLogger {
 public:
  bool ReportAction(const std::string& pageCode, const std::string& actionCode,
                    const std::string& detail) override {
    calls.push_back("action " + pageCode + " " + actionCode + detail);
    return true;
  }
  bool OpenUrl(const std::string& url) override {
    calls.push_back("url " + url);
    return true;
  }

  std::vector<std::string> calls;
};

enum class Failure { RetryDownload, RetryInstall, ManualDownload, ManualInstall };

constexpr char MANUAL_URL[] = "http://127.0.0.1:9/TessaroSetup.exe";

// A failure dialog as the progress page sets it up (the manual install
// dialog with no package), reporting to `log` (null: the process's logger).
std::unique_ptr<DialogWindow> MakeFailureDialog(Failure which, ILoggerServer* log) {
  std::unique_ptr<DialogWindow> dialog;
  if (which == Failure::RetryDownload || which == Failure::RetryInstall) {
    auto retry = std::make_unique<ErrorWindow>(nullptr, nullptr);
    retry->Content().failureKind =
        which == Failure::RetryDownload ? FailureKind::Download : FailureKind::Install;
    dialog = std::move(retry);
  } else if (which == Failure::ManualDownload) {
    auto manual = std::make_unique<DownloadReminderWindow>(nullptr, nullptr);
    manual->Content().downloadUrl = MANUAL_URL;
    dialog = std::move(manual);
  } else {
    dialog = std::make_unique<InstallReminderWindow>(nullptr, nullptr);
  }
  static_cast<FailureNoticeView&>(*dialog->view).logger = log;
  return dialog;
}

// Every widget of the three failure dialogs: id, then left, top, width,
// height at scale 1.
const struct {
  int32_t id;
  RECT expected;
} FAILURE_WIDGETS[] = {
    {5, {0, 0, 400, 200}},    {0, {0, 0, 400, 200}},     {5, {0, 0, 400, 30}},
    {0, {1, 2, 398, 26}},     {4, {10, 5, 380, 20}},     {5, {0, 30, 400, 170}},
    {5, {24, 46, 352, 99}},   {5, {24, 46, 352, 40}},    {3, {24, 46, 31, 40}},
    {6, {55, 46, 16, 40}},    {4, {71, 46, 305, 40}},    {5, {24, 86, 352, 59}},
    {6, {24, 86, 31, 59}},    {6, {55, 86, 16, 59}},     {4, {71, 86, 305, 59}},
    {5, {24, 145, 352, 39}},  {6, {24, 145, 189, 39}},   {1, {213, 150, 75, 29}},
    {6, {288, 145, 13, 39}},  {2, {301, 150, 75, 29}},
};

TEST(FailureDialogTest, WidgetsSitAsDesignedWithTheirOwnTextsAndLooks) {
  const struct {
    Failure which;
    const wchar_t* headline;
    const wchar_t* description;
    const wchar_t* grey;
    const wchar_t* orange;
    uint32_t titleBorder;
    uint32_t greyBorderWidth;
  } cases[] = {
      {Failure::RetryDownload, L"网络异常", L"检测到网络异常，必要组件无法加载，请检查网络后重试。",
       L"立即重试", L"稍后重试", 0xFFC0C0C0, 1},
      {Failure::ManualDownload, L"网络异常",
       L"您的网络环境存在网络异常，需要手动下载软件必要组件，请点击“确认”开始下载。", L"确认",
       L"取消", 0x00FFFFFF, 0},
      {Failure::ManualInstall, L"配置环境异常",
       L"检测到配置环境存在一些问题，不过不用担心，已为您准备好安装包可供安装，是否确认手动安装？",
       L"确认", L"取消", 0x00FFFFFF, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.which));
    const auto dialog = MakeFailureDialog(c.which, nullptr);
    RECT client{};
    ::GetClientRect(dialog->hwnd, &client);
    EXPECT_EQ(client.right, 400);
    EXPECT_EQ(client.bottom, 200);
    const auto& widgets = dialog->view->resources;
    ASSERT_EQ(widgets.size(), std::size(FAILURE_WIDGETS));
    for (size_t i = 0; i < widgets.size(); ++i) {
      const RECT& r = widgets[i]->rect;
      const RECT& e = FAILURE_WIDGETS[i].expected;
      EXPECT_EQ(widgets[i]->id, FAILURE_WIDGETS[i].id) << "widget " << i;
      EXPECT_EQ((std::vector<LONG>{r.left, r.top, r.right - r.left, r.bottom - r.top}),
                (std::vector<LONG>{e.left, e.top, e.right, e.bottom}))
          << "widget " << i;
    }
    EXPECT_EQ(widgets[8]->type, ResourceType::Icon);
    EXPECT_EQ(static_cast<const CTextResource&>(*widgets[4]).text, L"Tessaro");
    EXPECT_EQ(static_cast<const CTextResource&>(*widgets[10]).text, c.headline);
    EXPECT_EQ(static_cast<const CTextResource&>(*widgets[14]).text, c.description);
    EXPECT_EQ(static_cast<const CButtonResource&>(*widgets[17]).text, c.grey);
    EXPECT_EQ(static_cast<const CButtonResource&>(*widgets[19]).text, c.orange);
    const auto& titleBar = static_cast<const CImageResource&>(*widgets[3]);
    EXPECT_EQ(titleBar.styles[ResourceState::Normal].borderColor, c.titleBorder);
    const auto& grey = static_cast<const CButtonResource&>(*widgets[17]);
    for (ResourceState state : {ResourceState::Normal, ResourceState::Hover, ResourceState::Pressed}) {
      EXPECT_EQ(grey.styles[state].borderWidth, c.greyBorderWidth);
    }
  }
  // The notice they share keeps its own ids in the cancel dialog.
  WarnWindow warn(nullptr, nullptr, L"TessaroPagesTestIds");
  EXPECT_EQ(warn.view->resources[0]->id, 6);
  EXPECT_EQ(warn.view->resources[10]->id, 7);
}

// The window messages and the quit a click left in the thread's queue, in
// order; paints are served, everything else is dropped.
std::vector<UINT> QueuedOutcome() {
  std::vector<UINT> queued;
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    const UINT msg = message.message;
    if (msg == WM_PAINT) ::DispatchMessageW(&message);
    if (msg >= WM_APP || msg == WM_CLOSE || msg == WM_QUIT) queued.push_back(msg);
  }
  return queued;
}

TEST(FailureDialogTest, ClicksReportThenEndTheLoopTheirOwnWay) {
  const std::string url = std::string("url ") + MANUAL_URL;
  const struct {
    Failure which;
    int index;
    std::vector<std::string> calls;
    std::vector<UINT> queued;
    bool staysShown;
  } cases[] = {
      {Failure::RetryDownload, 17, {"action 0007 0001"}, {WM_RETRY_CHOSEN, WM_CLOSE, WM_QUIT}, false},
      {Failure::RetryInstall, 17, {"action 0008 0001"}, {WM_RETRY_CHOSEN, WM_CLOSE, WM_QUIT}, false},
      {Failure::RetryDownload, 19, {"action 0007 0002"}, {WM_CLOSE, WM_QUIT}, false},
      {Failure::RetryInstall, 19, {"action 0008 0002"}, {WM_CLOSE, WM_QUIT}, false},
      {Failure::ManualDownload, 17, {"action 0010 0001", url}, {WM_QUIT}, true},
      {Failure::ManualDownload, 19, {"action 0010 0002"}, {WM_QUIT}, true},
      {Failure::ManualInstall, 17, {"action 0011 0001"}, {WM_QUIT}, true},
      {Failure::ManualInstall, 19, {"action 0011 0002"}, {WM_QUIT}, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "dialog " << static_cast<int>(c.which) << ", button " << c.index);
    CallLog log;
    const auto dialog = MakeFailureDialog(c.which, &log);
    ::ShowWindow(dialog->hwnd, SW_SHOWNA);
    QueuedOutcome();
    ::SendMessageW(dialog->hwnd, WM_RESOURCE_CLICK, static_cast<WPARAM>(c.index), 0);
    EXPECT_EQ(log.calls, c.calls);
    EXPECT_EQ(QueuedOutcome(), c.queued);
    EXPECT_EQ(::IsWindowVisible(dialog->hwnd) != FALSE, c.staysShown);
  }
}

TEST(FailureDialogTest, PressingTheTextsOrTheIconNeitherClicksNorMoves) {
  for (Failure which : {Failure::RetryInstall, Failure::ManualDownload, Failure::ManualInstall}) {
    CallLog log;
    const auto dialog = MakeFailureDialog(which, &log);
    ::ShowWindow(dialog->hwnd, SW_SHOWNA);
    RECT before{};
    ::GetWindowRect(dialog->hwnd, &before);
    QueuedOutcome();
    for (int index : {4, 8, 10, 14}) {
      const LPARAM at = CentreOf(*dialog->view->resources[static_cast<size_t>(index)]);
      ::SendMessageW(dialog->hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
      ::SendMessageW(dialog->hwnd, WM_MOUSEMOVE, MK_LBUTTON, at + MAKELPARAM(30, 20));
      ::SendMessageW(dialog->hwnd, WM_LBUTTONUP, 0, at + MAKELPARAM(30, 20));
      ::SendMessageW(dialog->hwnd, WM_LBUTTONUP, 0, at);
    }
    RECT after{};
    ::GetWindowRect(dialog->hwnd, &after);
    EXPECT_TRUE(::EqualRect(&before, &after)) << "dialog " << static_cast<int>(which);
    EXPECT_TRUE(QueuedOutcome().empty()) << "dialog " << static_cast<int>(which);
    EXPECT_TRUE(log.calls.empty());
  }
}

TEST(FailureDialogTest, ConfirmingTheManualInstallStartsThePackageOnce) {
  TempFolder folder;
  const std::wstring package = folder / L"TessaroSetup.cmd";
  const std::wstring marker = folder / L"started.txt";
  ASSERT_TRUE(WriteWholeFile(package, "@echo started%*>>\"%~dp0started.txt\"\r\n"));
  CallLog log;
  for (int index : {19, 17}) {  // 取消, then 确认
    InstallReminderWindow dialog(nullptr, nullptr);
    dialog.Content().packagePath = package;
    dialog.Content().logger = &log;
    ::SendMessageW(dialog.hwnd, WM_RESOURCE_CLICK, static_cast<WPARAM>(index), 0);
    QueuedOutcome();
  }
  EXPECT_EQ(log.calls, (std::vector<std::string>{"action 0011 0002", "action 0011 0001"}));
  for (int i = 0; i < 300 && ReadWholeFile(marker).find('\n') == std::string::npos; ++i) ::Sleep(50);
  ::Sleep(500);  // time for a start that should not have happened to show
  // One start, without arguments.
  EXPECT_EQ(ReadWholeFile(marker), "started\r\n");
}

TEST(DialogLoopTest, AQuitFromElsewhereIsPassedOnOnlyForDialogsThatCloseThemselves) {
  for (const auto& [quit, passedOn] :
       {std::pair<DialogQuit, bool>{DialogQuit::AfterClosing, true}, {DialogQuit::WhileOpen, false}}) {
    ErrorWindow dialog(nullptr, nullptr);
    ::PostMessageW(dialog.hwnd, WM_RETRY_CHOSEN, 0, 0);
    ::PostQuitMessage(5);
    EXPECT_TRUE(PumpDialog(dialog.hwnd, WM_RETRY_CHOSEN, quit));
    MSG message{};
    EXPECT_EQ(::PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE, passedOn);
    EXPECT_EQ(message.wParam, passedOn ? 5u : 0u);
  }
}

// What another thread saw of an open dialog before it clicked a button.
struct SeenDialog {
  HWND window = nullptr;
  HWND owner = nullptr;
  RECT rect{};
  bool visible = false;
};

// Waits for the dialog of `className` to show, notes where it is, posts
// something for the main window, gives the main window time to be painted,
// then clicks button `index` of the dialog.
SeenDialog AnswerFailureDialog(const wchar_t* className, HWND mainWindow, int index) {
  SeenDialog seen;
  for (int i = 0; i < 200 && !seen.visible; ++i) {
    seen.window = ::FindWindowW(className, nullptr);
    seen.visible = seen.window != nullptr && ::IsWindowVisible(seen.window);
    if (!seen.visible) ::Sleep(25);
  }
  if (seen.window == nullptr) return seen;
  seen.owner = ::GetWindow(seen.window, GW_OWNER);
  ::GetWindowRect(seen.window, &seen.rect);
  ::PostMessageW(mainWindow, WM_APP + 7, 0, 0);
  for (int i = 0; i < 30 && ::GetUpdateRect(mainWindow, nullptr, FALSE); ++i) ::Sleep(100);
  ::PostMessageW(seen.window, WM_RESOURCE_CLICK, static_cast<WPARAM>(index), 0);
  return seen;
}

// Runs `open` over a shown main window while another thread answers the
// dialog of `className` with button `index`; checks what every opener
// guarantees: the dialog shown, owned and centred, gone afterwards, other
// messages dropped, the main window painted, and no quit left behind.
void ServeFailureDialog(const wchar_t* className, int index, const std::function<void(HWND)>& open) {
  HostWindow host;
  ::ShowWindow(host.hwnd, SW_SHOWNA);
  Pump();
  ::InvalidateRect(host.hwnd, nullptr, FALSE);
  host.paints = 0;
  SeenDialog seen;
  std::thread answer([&] { seen = AnswerFailureDialog(className, host.hwnd, index); });
  open(host.hwnd);
  answer.join();
  ASSERT_NE(seen.window, nullptr);
  EXPECT_TRUE(seen.visible);
  EXPECT_EQ(seen.owner, host.hwnd);
  RECT hostRect{};
  ::GetWindowRect(host.hwnd, &hostRect);
  EXPECT_EQ(seen.rect.left, hostRect.left + 100);
  EXPECT_EQ(seen.rect.top, hostRect.top + 100);
  EXPECT_FALSE(::IsWindow(seen.window));
  EXPECT_GT(host.paints, 0) << "the main window was not painted meanwhile";
  EXPECT_FALSE(::GetUpdateRect(host.hwnd, nullptr, FALSE));
  EXPECT_TRUE(Pump()) << "a quit was left for the main loop";
  EXPECT_EQ(host.probes, 0) << "a message for the main window got through";
}

TEST(FailureDialogTest, AskRetryIsTrueOnlyForRetry) {
  for (const auto& [kind, index, retry] : {std::tuple<FailureKind, int, bool>{FailureKind::Download, 17, true},
                                           {FailureKind::Install, 17, true},
                                           {FailureKind::Download, 19, false}}) {
    SCOPED_TRACE(testing::Message() << "kind " << static_cast<int>(kind) << ", button " << index);
    bool answer = !retry;
    ServeFailureDialog(L"ProgressChildCloseWnd", index,
                       [&, kind = kind](HWND host) { answer = AskRetry(host, nullptr, kind); });
    EXPECT_EQ(answer, retry);
  }
}

TEST(FailureDialogTest, ManualDialogsKeepTheirQuitToThemselves) {
  {
    SCOPED_TRACE("manual download");
    ServeFailureDialog(L"ProgressDReminderWnd", 17,
                       [](HWND host) { OfferManualDownload(host, nullptr, MANUAL_URL); });
  }
  {
    SCOPED_TRACE("manual install");
    ServeFailureDialog(L"ProgressIReminderWnd", 19,
                       [](HWND host) { OfferManualInstall(host, nullptr, L""); });
  }
}

}  // namespace
