#include "pages/progress_view.h"

#include "deployment.h"
#include "pages/failure_dialogs.h"
#include "pages/page_events.h"
#include "pages/page_styles.h"
#include "pages/window_messages.h"
#include "telemetry/logger_server.h"
#include "ui/movie_resource.h"
#include "ui/progress_resource.h"
#include "ui/text_resource.h"

namespace {

constexpr int32_t LAYOUT_ID = 6;
constexpr int32_t SPACER_ID = 7;
constexpr char BANNER_CONFIG_PATH[] = "/applicationService/app/installerConfig?appId=52718340";
constexpr char PAGE_CODE_PROGRESS[] = "0003";
constexpr char ACTION_HIDE[] = "0001";
constexpr char ACTION_RESTORE[] = "0002";
// Failures of one kind offered a retry before the manual dialog ends the run.
constexpr int32_t RETRY_DIALOGS = 2;

ResourceStyleSet HideButtonStyles() {
  ResourceStyleSet set = MakeDefaultStyleSet();
  const uint32_t text[] = {0xCCFFFFFF, 0xA6FFFFFF, 0x91FFFFFF, 0xCCFFFFFF};
  for (size_t i = 0; i < set.styles.size(); ++i) {
    ResourceStyle& style = set.styles[i];
    style.fillColor = COLOR_CLEAR;
    style.hAlign = TextAlignFar;
    style.fontSize = 14;
    style.textColor = text[i];
  }
  return set;
}

ResourceStyleSet BarStyles() {
  ResourceStyleSet set = MakeDefaultStyleSet();
  set[ResourceState::Normal].textColor = 0xFF8F5CFF;
  set[ResourceState::Normal].fillColor = 0xFFEEEEEE;
  set[ResourceState::Normal].cornerRadius = 100;
  return set;
}

}  // namespace

CProgressView::CProgressView(HWND window, IResourceMgr* skin) : CPageView(window, skin) {
  BuildWidgets();
  LayOutToClient();
}

CProgressView::~CProgressView() {
  Stop();
  if (downloader != nullptr) downloader->Release();
}

void CProgressView::BuildWidgets() {
  auto* root = Add(std::make_unique<CLayoutResource>(LayoutVertical, LAYOUT_ID), nullptr, 0);
  const ResourceStyleSet frame = PanelStyles(COLOR_WHITE, 1, COLOR_FRAME);
  root->background = Add(std::make_unique<CImageResource>(0, &frame), nullptr, 0);

  auto* upper = Add(std::make_unique<CLayoutResource>(LayoutVertical, LAYOUT_ID), root, 3);
  upper->marginLeft = 20;
  upper->marginTop = 24;
  upper->marginRight = 20;
  auto movie = std::make_unique<CMovieResource>(
      PROGRESS_ID_BANNER, nullptr, hwnd, deployment::GATEWAY_HOST, deployment::GATEWAY_PORT,
      BANNER_CONFIG_PATH, SkinImage(resourceMgr, L"install_banner.png"));
  movie->aspectRatio = 2.0;
  banner = Add(std::move(movie), nullptr, 0);
  upper->background = banner;

  auto* topRow = Add(std::make_unique<CLayoutResource>(LayoutHorizontal, LAYOUT_ID), upper, 1);
  Add(std::make_unique<CSpacerResource>(SPACER_ID), topRow, 5);
  const ResourceStyleSet hideStyles = HideButtonStyles();
  Add(std::make_unique<CButtonResource>(PROGRESS_ID_HIDE, L"隐藏窗口", &hideStyles), topRow, 1);
  Add(std::make_unique<CSpacerResource>(SPACER_ID), upper, 10);

  auto* lower = Add(std::make_unique<CLayoutResource>(LayoutVertical, LAYOUT_ID), root, 1);
  lower->marginLeft = 48;
  lower->marginRight = 48;
  lower->marginBottom = 24;
  Add(std::make_unique<CSpacerResource>(SPACER_ID), lower, 6);
  ResourceStyleSet statusStyles = TextStyles(COLOR_BODY, TextAlignNear, 14);
  statusStyles[ResourceState::Normal].fillColor = COLOR_CLEAR;
  Add(std::make_unique<CTextResource>(PROGRESS_ID_STATUS, &statusStyles, ProgressStatusText(0)),
      lower, 6);
  Add(std::make_unique<CSpacerResource>(SPACER_ID), lower, 3);
  const ResourceStyleSet barStyles = BarStyles();
  Add(std::make_unique<CProgressResource>(&barStyles), lower, 2);
  Add(std::make_unique<CSpacerResource>(SPACER_ID), lower, 3);
}

// ---- the run ---------------------------------------------------------------

void CProgressView::StartInstall(const std::wstring& directory) {
  Stop();
  installPath = directory;
  if (downloader == nullptr) downloader = CreateDownloader();
  if (downloader == nullptr || !downloader->Start()) {
    PostToMain(WM_DOWNLOAD_FAILED);
    return;
  }
  SetBannerPaused(false);
  // Without a timer nothing is polled: the page stays as it is.
  timer.Start(50, 1000, &CProgressView::TimerCallback, reinterpret_cast<DWORD_PTR>(this));
}

void CALLBACK CProgressView::TimerCallback(UINT, UINT, DWORD_PTR user, DWORD_PTR, DWORD_PTR) {
  auto* view = reinterpret_cast<CProgressView*>(user);
  CXMutexLock lock(view->mutex);
  view->Step();
}

void CProgressView::Stop() {
  StopPolling();
  trayIcon.Remove();
}

void CProgressView::StopPolling() {
  KillTimer();
  CXMutexLock lock(mutex);
  // Waits for a running setup program to end.
  setupProcess.reset();
}

void CProgressView::KillTimer() {
  // From the UI thread this waits for a step in progress, which may itself
  // be waiting for `mutex`: never called with `mutex` held there. From the
  // timer's own thread it returns at once.
  timer.Kill();
}

void CProgressView::Step() {
  if (installing == 0) {
    PollDownload();
  } else if (setupProcess) {
    WatchSetup();
  }
}

void CProgressView::PollDownload() {
  if (downloader == nullptr) return;
  switch (downloader->Poll()) {
    case DownloadReady:
      LaunchSetup();
      break;
    case DownloadShutDown:
    case DownloadFailed: {
      ILoggerServer* logger = GetLoggerServer();
      logger->ClearProperties();
      logger->SetStringProperty("soft_download_status", "下载失败");
      logger->SetIntProperty("download_time", -1);
      logger->SendEvent("pSoftDownloadResult");
      installing = 0;
      StopPolling();
      PostToMain(WM_DOWNLOAD_FAILED);
      break;
    }
    case DownloadIdle:
    case DownloadRunning:
    case 2:  // no downloader reports it; counted as running
      PostToMain(WM_PROGRESS_TICK);
      break;
    default:
      break;
  }
}

void CProgressView::LaunchSetup() {
  const std::wstring command = BuildSetupCommandLine(downloader->GetFilePath(), joinPlan, installPath);
  setupProcess = std::make_unique<COrvaneBasedProcess>(command);
  if (!setupProcess->Start()) {
    // A package that cannot even be started counts as a failed install.
    const DWORD error = ::GetLastError();
    setupProcess.reset();
    FailInstall(StartErrorStatus(error));
    return;
  }
  ILoggerServer* logger = GetLoggerServer();
  logger->ClearProperties();
  logger->SendEvent("vSoftInstallStart");
  installStartMs = MultimediaTime();
  installing = 1;
  PostToMain(WM_PROGRESS_TICK);
}

void CProgressView::WatchSetup() {
  if (!setupProcess->WaitForExit(1)) {
    PostToMain(WM_PROGRESS_TICK);
    return;
  }
  const DWORD exitCode = setupProcess->ExitCode().value_or(static_cast<DWORD>(-1));
  setupProcess.reset();
  if (exitCode == 0) {
    installDone = 1;
    PostToMain(WM_PROGRESS_TICK);
    return;
  }
  FailInstall(InstallErrorStatus(exitCode));
}

void CProgressView::FailInstall(const std::string& errorStatus) {
  installing = 0;
  ILoggerServer* logger = GetLoggerServer();
  logger->ClearProperties();
  logger->SetStringProperty("error_status", errorStatus);
  logger->SendEvent("vSoftInstallError");
  StopPolling();
  PostToMain(WM_INSTALL_FAILED);
}

void CProgressView::PostToMain(UINT msg) const { ::PostMessageW(hwnd, msg, 0, 0); }

uint32_t CProgressView::CurrentPercent() {
  CXMutexLock lock(mutex);
  if (installing == 0) {
    if (installDone != 0) return ProgressPercent(InstallPhase::Done, 0, 0);
    if (downloader == nullptr) return ProgressPercent(InstallPhase::Idle, 0, 0);
    return ProgressPercent(InstallPhase::Downloading, downloader->GetProgress(), 0);
  }
  if (setupProcess) {
    return ProgressPercent(InstallPhase::Installing, 0, MultimediaTime() - installStartMs);
  }
  return ProgressPercent(installDone != 0 ? InstallPhase::Done : InstallPhase::Idle, 0, 0);
}

// ---- the page --------------------------------------------------------------

LRESULT CProgressView::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_TRAY_ICON:
      return OnTrayIcon(wParam, lParam);
    case WM_DOWNLOAD_FAILED:
      OnFailure(FailureKind::Download);
      return 0;
    case WM_INSTALL_FAILED:
      OnFailure(FailureKind::Install);
      return 0;
    case WM_PROGRESS_TICK:
      return OnProgressTick();
    case WM_BANNER_FRAME:
      Invalidate();
      return 0;
    case WM_WAKE_INSTANCE:
      return OnWake();
    default:
      return HandleStandardMessage(msg, wParam, lParam);
  }
}

bool CProgressView::UpdateWidgetStates(int target, UINT msg) {
  bool changed = false;
  for (size_t i = 0; i < resources.size(); ++i) {
    IBaseResource& widget = *resources[i];
    if (widget.id != PROGRESS_ID_HIDE || widget.type != ResourceType::Button) continue;
    ResourceState wanted = ResourceState::Normal;
    if (static_cast<int>(i) == target && msg == WM_MOUSEMOVE) wanted = ResourceState::Hover;
    if (static_cast<int>(i) == target && msg == WM_LBUTTONDOWN) wanted = ResourceState::Pressed;
    changed |= MoveState(widget, wanted);
  }
  return changed;
}

LRESULT CProgressView::OnLButtonUp(UINT msg, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = ::DefWindowProcW(hwnd, msg, wParam, lParam);
  const int index = HitTest(lParam);
  if (resources[static_cast<size_t>(index)]->id == PROGRESS_ID_HIDE && IsButton(index)) {
    ::PostMessageW(hwnd, WM_RESOURCE_CLICK, static_cast<WPARAM>(index), lParam);
  }
  return result;
}

LRESULT CProgressView::OnResourceClick(int index, LPARAM) {
  if (index < 0 || static_cast<size_t>(index) >= resources.size()) return 0;
  if (resources[static_cast<size_t>(index)]->id != PROGRESS_ID_HIDE) return 0;
  if (UpdateWidgetStates(index, WM_RESOURCE_CLICK)) Invalidate();
  ReportPageAction(PAGE_CODE_PROGRESS, ACTION_HIDE);
  HideToTray();
  SetBannerPaused(true);
  return 0;
}

void CProgressView::RefreshProgress() {
  const uint32_t percent = CurrentPercent();
  if (auto* bar = static_cast<CProgressResource*>(FindResource(PROGRESS_ID_BAR))) {
    bar->SetProgress(percent);
  }
  if (auto* status = static_cast<CTextResource*>(FindResource(PROGRESS_ID_STATUS))) {
    status->text = ProgressStatusText(percent);
  }
  Invalidate();
}

LRESULT CProgressView::OnProgressTick() {
  bool done = false;
  {
    CXMutexLock lock(mutex);
    done = installDone != 0;
    installDone = 0;
  }
  if (!done) {
    RefreshProgress();
    return 0;
  }
  Stop();
  ::ShowWindow(hwnd, SW_SHOW);
  SwitchTo(PAGE_FINISHED);
  Invalidate();
  SetBannerPaused(true);
  return 0;
}

void CProgressView::HideToTray() {
  ::ShowWindow(hwnd, SW_HIDE);
  trayIcon.Add(hwnd);
}

LRESULT CProgressView::OnTrayIcon(WPARAM iconId, LPARAM mouseMessage) {
  if (iconId != 0 || (mouseMessage != WM_LBUTTONUP && mouseMessage != WM_RBUTTONUP)) return 0;
  ::ShowWindow(hwnd, SW_SHOW);
  SetBannerPaused(false);
  trayIcon.Remove();
  ReportPageAction(PAGE_CODE_PROGRESS, ACTION_RESTORE);
  return 0;
}

LRESULT CProgressView::OnWake() {
  ::ShowWindow(hwnd, SW_SHOW);
  trayIcon.Remove();
  return Wake();
}

// ---- failures --------------------------------------------------------------

void CProgressView::PrepareForDialog() {
  ::ReleaseCapture();
  SetBannerPaused(true);
  ::ShowWindow(hwnd, SW_SHOW);
  // A window hidden in the notification area comes back for the dialog.
  trayIcon.Remove();
}

void CProgressView::OnFailure(FailureKind failure) {
  int32_t& count = failure == FailureKind::Download ? failures.downloadFailures
                                                 : failures.installFailures;
  ++count;
  PrepareForDialog();
  if (count <= RETRY_DIALOGS) {
    if (AskRetry(hwnd, resourceMgr, failure)) {
      // The downloader continues where it stopped; a ready package is
      // installed again at once.
      StartInstall(installPath);
    } else {
      SwitchTo(PAGE_START);
      Invalidate();
    }
    return;
  }
  if (failure == FailureKind::Download) {
    OfferManualDownload(hwnd, resourceMgr, downloader != nullptr ? downloader->GetPackageUrl() : "");
  } else {
    OfferManualInstall(hwnd, resourceMgr, downloader != nullptr ? downloader->GetFilePath() : L"");
  }
  // Either way the run ends here.
  ::PostQuitMessage(0);
}

void CProgressView::SetBannerPaused(bool paused) {
  if (banner != nullptr) banner->paused = paused ? 1 : 0;
}
