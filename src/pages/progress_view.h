// CProgressView: the page of the actual installation. It drives the
// downloader until the package is on disk, runs the setup program silently
// into the chosen folder and watches it, with one percentage over both
// phases under the animated banner. It can hide the window into the
// notification area. Failures go through the retry dialog twice, then the
// manual download or manual install dialog ends the run; success switches
// the main window to the finished page.
//
// Threads: a 50 ms multimedia timer polls on its own thread, holding
// `mutex` for its whole step; it never touches widgets, only posts to the
// main window. The UI thread takes `mutex` to read the phase for the
// percentage and to drop the setup process.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "download/downloader.h"
#include "pages/failure_dialogs.h"
#include "pages/install_progress.h"
#include "pages/page_view.h"
#include "pages/tray_icon.h"
#include "sys/child_process.h"
#include "sys/multimedia_timer.h"
#include "sys/xmutex.h"

class CMovieResource;

// Failed attempts in this run; never reset, not even by a return to the
// start page.
struct FailureCounters {
  int32_t downloadFailures = 0;
  int32_t installFailures = 0;
};

class CProgressView : public CPageView {
 public:
  // Builds and lays out the widgets; sends nothing.
  CProgressView(HWND window, IResourceMgr* skin);
  // Stops the timer (waiting for a step in progress) and the setup program
  // (waiting for it to end), then releases the downloader.
  ~CProgressView() override;

  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

  // Starts (or continues) the download for an install into `directory`;
  // posts WM_DOWNLOAD_FAILED to the main window when it cannot start.
  void StartInstall(const std::wstring& directory);

  // Set by the main window before StartInstall.
  JoinPlan joinPlan = JoinPlan::Accepted;

  // For the page's tests: the percentage the next refresh would show.
  uint32_t CurrentPercent();

 protected:
  bool UpdateWidgetStates(int target, UINT msg) override;
  LRESULT OnLButtonUp(UINT msg, WPARAM wParam, LPARAM lParam) override;
  LRESULT OnResourceClick(int index, LPARAM lParam) override;

 private:
  static void CALLBACK TimerCallback(UINT timerId, UINT message, DWORD_PTR user, DWORD_PTR,
                                     DWORD_PTR);

  void BuildWidgets();
  // Stops polling and the setup program and removes the notification-area
  // icon. UI thread.
  void Stop();
  // Stops polling and the setup program; also from the timer's own step.
  void StopPolling();
  void KillTimer();
  // One timer step, `mutex` held.
  void Step();
  void PollDownload();
  void WatchSetup();
  void LaunchSetup();
  // "vSoftInstallError" with `errorStatus`, polling stopped, the page told.
  void FailInstall(const std::string& errorStatus);
  void PostToMain(UINT msg) const;

  void RefreshProgress();
  LRESULT OnProgressTick();
  void HideToTray();
  LRESULT OnTrayIcon(WPARAM iconId, LPARAM mouseMessage);
  LRESULT OnWake();
  // A failed download or install: the retry dialog, or from the third
  // failure of that kind on the manual dialog and the end of the run.
  void OnFailure(FailureKind failure);
  // Brings the window back before a dialog goes over it.
  void PrepareForDialog();
  void SetBannerPaused(bool paused);

  std::wstring installPath;
  PeriodicTimer timer;
  IDownloader* downloader = nullptr;
  std::unique_ptr<COrvaneBasedProcess> setupProcess;
  CXMutex mutex;
  DWORD installStartMs = 0;
  uint8_t installDone = 0;
  uint8_t installing = 0;
  TrayIcon trayIcon;
  FailureCounters failures;
  CMovieResource* banner = nullptr;
};

// Widget ids of the progress page.
enum ProgressWidgetId : int32_t {
  PROGRESS_ID_HIDE = 1,
  PROGRESS_ID_BAR = 2,
  PROGRESS_ID_BANNER = 3,
  PROGRESS_ID_STATUS = 5,
};
