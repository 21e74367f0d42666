// MainWindow: the installer's one top-level window. It owns the five page
// views (created on first use), switches between them, hands every message it
// does not handle itself to the page on screen, and does the run-wide work:
// the join-plan telemetry and disk check before the install, and everything
// that happens when the finished page is entered (hand-off settings, welcome
// page, install result, install report). UI thread only.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "app/first_page.h"
#include "pages/window_messages.h"
#include "ui/base_view.h"
#include "ui/base_window.h"
#include "ui/resource_mgr.h"

class CBeginView;
class CCustomeView;
class CFinishedView;
class CProgressView;
class CNQReportThread;
class CReminderView;

// Decides the install folder and the first page once the window exists
// (`owner` for its message boxes); may raise to abandon the run.
using FirstPageChooser = std::function<FirstPageChoice(HWND owner)>;

constexpr int PAGE_COUNT = 5;

class MainWindow : public IBaseWindow {
 public:
  // Creates the hidden 600 x 400 window of the installer's class, the skin
  // manager, asks `chooseFirstPage` for the folders and shows the first page.
  // Throws std::runtime_error "Create ResMgr error" (after telling the user)
  // when the skin cannot be prepared, "create window error", and whatever
  // `chooseFirstPage` raises.
  explicit MainWindow(const FirstPageChooser& chooseFirstPage);
  // Stops the report thread, deletes the views, releases the skin, then
  // destroys the window.
  ~MainWindow() override;

  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

  // Puts `page` on screen. False for an index outside 0..4 and when the
  // install is refused for lack of room; true when the page is (or already
  // was) shown.
  bool ShowPage(int page);

  std::wstring installPath;
  std::wstring welcomeUrl;
  int32_t currentPage = -1;
  IBaseView* activeView = nullptr;
  std::array<std::unique_ptr<IBaseView>, PAGE_COUNT> views;
  ResourceMgrPtr resourceManager;
  std::wstring installedAppPath;
  std::unique_ptr<CNQReportThread> reportThread;

 private:
  CReminderView& Reminder();
  CBeginView& Begin();
  CCustomeView& Custome();
  CProgressView& Progress();
  CFinishedView& Finished();
  CCustomeView* ExistingCustome() const;

  void ShowStartPage();
  void ShowCustomPage();
  // The join plan, then the disk check, then the download on the progress
  // page; false (with the message box) when the install folder's volume
  // lacks room.
  bool StartInstall();
  void EnterFinishedPage();
  void OpenWelcomePage();
};
