#include "pages/main_window.h"

#include <stdexcept>

#include "app/single_instance.h"
#include "pages/begin_view.h"
#include "pages/custome_view.h"
#include "pages/finished_view.h"
#include "pages/install_room.h"
#include "pages/progress_view.h"
#include "pages/reminder_view.h"
#include "sys/text_convert.h"
#include "telemetry/logger_server.h"
#include "telemetry/report/install_report.h"
#include "ui/resource_manager.h"

namespace {

constexpr uint32_t PAGE_WIDTH = 600;
constexpr uint32_t PAGE_HEIGHT = 400;
constexpr uint32_t REMINDER_WIDTH = 400;
constexpr uint32_t REMINDER_HEIGHT = 200;

ResourceMgrPtr MakeSkin(HWND owner) {
  try {
    return MakeResourceManager(DefaultSkinSource());
  } catch (...) {
    ::MessageBoxW(owner, L"软件加载必要运行组建失败", L"错误", MB_OK);
    throw std::runtime_error("Create ResMgr error");
  }
}

// The view of `page`, created on first use.
template <typename View>
View& ViewAt(std::array<std::unique_ptr<IBaseView>, PAGE_COUNT>& views, int page, HWND window,
             IResourceMgr* skin) {
  auto& slot = views[static_cast<size_t>(page)];
  if (!slot) slot = std::make_unique<View>(window, skin);
  return static_cast<View&>(*slot);
}

}  // namespace

MainWindow::MainWindow(const FirstPageChooser& chooseFirstPage)
    : IBaseWindow(MAIN_WINDOW_CLASS, nullptr, PAGE_WIDTH, PAGE_HEIGHT) {
  resourceManager = MakeSkin(hwnd);
  const FirstPageChoice choice = chooseFirstPage(hwnd);
  installedAppPath = choice.installedAppPath;
  installPath = choice.installPath;
  ShowPage(choice.page);
}

MainWindow::~MainWindow() {
  // No message may reach the views while they go away.
  DetachWindow();
  reportThread.reset();
  activeView = nullptr;
  for (auto& view : views) view.reset();
  resourceManager.reset();
  installPath.clear();
  welcomeUrl.clear();
  installedAppPath.clear();
}

LRESULT MainWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 0;
    case WM_CLOSE:
      // Download and install cannot be interrupted by closing the window.
      if (currentPage == PAGE_PROGRESS) return 0;
      break;
    case WM_SWITCH_PAGE:
      ShowPage(static_cast<int>(wParam));
      // The page on screen repaints, whether it changed or stayed.
      ::InvalidateRect(hwnd, nullptr, FALSE);
      return 0;
    case WM_OPEN_WELCOME:
      OpenWelcomePage();
      return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    default:
      break;
  }
  if (activeView != nullptr) return activeView->HandleMessage(msg, wParam, lParam);
  return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

bool MainWindow::ShowPage(int page) {
  if (page < 0 || page >= PAGE_COUNT) return false;
  if (page == currentPage) return true;
  if (page == PAGE_REMINDER) {
    Resize(REMINDER_WIDTH, REMINDER_HEIGHT);
  } else if (currentPage == PAGE_REMINDER) {
    Resize(PAGE_WIDTH, PAGE_HEIGHT);
  }
  switch (page) {
    case PAGE_REMINDER:
      Reminder().installedAppPath = installedAppPath;
      break;
    case PAGE_START:
      ShowStartPage();
      break;
    case PAGE_CUSTOM:
      ShowCustomPage();
      break;
    case PAGE_PROGRESS:
      if (!StartInstall()) return false;
      break;
    case PAGE_FINISHED:
      EnterFinishedPage();
      break;
    default:
      return false;
  }
  currentPage = page;
  activeView = views[static_cast<size_t>(page)].get();
  return true;
}

void MainWindow::ShowStartPage() {
  CBeginView& begin = Begin();
  if (currentPage == PAGE_CUSTOM) installPath = Custome().path;
  begin.SetHasRoom(HasRoomFor(installPath));
}

void MainWindow::ShowCustomPage() {
  CCustomeView& custome = Custome();
  if (currentPage != PAGE_START) return;
  // An existing installation's folder is offered as it is, once; a page that
  // already shows that folder keeps appending the product folders to what
  // the user chooses next.
  if (!installedAppPath.empty() && custome.path != installPath) custome.appendProductFolder = 0;
  custome.SetPath(installPath);
}

bool MainWindow::StartInstall() {
  CCustomeView* custome = ExistingCustome();
  if (currentPage == PAGE_CUSTOM && custome != nullptr) installPath = custome->path;
  const bool joinPlan = custome == nullptr || custome->joinPlan != 0;

  ILoggerServer* logger = GetLoggerServer();
  logger->ClearProperties();
  logger->SetBoolProperty("choose_join_plan", joinPlan);
  logger->SendEvent("vJoinPlan");
  if (!joinPlan) logger->ReleaseHandle();

  if (HasRoomFor(installPath)) {
    CProgressView& progress = Progress();
    progress.joinPlan = joinPlan ? JoinPlan::Accepted : JoinPlan::Declined;
    progress.StartInstall(installPath);
    return true;
  }
  logger->ClearProperties();
  logger->SetStringProperty("error_status", WideToUtf8(L"磁盘空间不足"));
  logger->SendEvent("vInstallPathError");
  ::MessageBoxW(hwnd, L"软件安装路径的磁盘空间不足", L"路径错误", MB_OK);
  return false;
}

CReminderView& MainWindow::Reminder() {
  return ViewAt<CReminderView>(views, PAGE_REMINDER, hwnd, resourceManager.get());
}

CBeginView& MainWindow::Begin() {
  return ViewAt<CBeginView>(views, PAGE_START, hwnd, resourceManager.get());
}

CCustomeView& MainWindow::Custome() {
  return ViewAt<CCustomeView>(views, PAGE_CUSTOM, hwnd, resourceManager.get());
}

CProgressView& MainWindow::Progress() {
  return ViewAt<CProgressView>(views, PAGE_PROGRESS, hwnd, resourceManager.get());
}

CFinishedView& MainWindow::Finished() {
  return ViewAt<CFinishedView>(views, PAGE_FINISHED, hwnd, resourceManager.get());
}

CCustomeView* MainWindow::ExistingCustome() const {
  return static_cast<CCustomeView*>(views[PAGE_CUSTOM].get());
}
