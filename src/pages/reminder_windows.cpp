#include "pages/reminder_windows.h"

#include <shellapi.h>

#include <memory>

#include "pages/page_styles.h"

namespace {

constexpr char PAGE_CODE_MANUAL_DOWNLOAD[] = "0010";
constexpr char PAGE_CODE_MANUAL_INSTALL[] = "0011";

const FailureNoticeTexts DOWNLOAD_TEXTS{
    L"网络异常",
    L"您的网络环境存在网络异常，需要手动下载软件必要组件，请点击“确认”开始下载。",
    L"确认",
    L"取消",
    COLOR_CLEAR,
    NoticeGreyBorder::None,
};

const FailureNoticeTexts INSTALL_TEXTS{
    L"配置环境异常",
    L"检测到配置环境存在一些问题，不过不用担心，已为您准备好安装包可供安装，是否确认手动安装？",
    L"确认",
    L"取消",
    COLOR_CLEAR,
    NoticeGreyBorder::Outlined,
};

}  // namespace

DownloadReminderView::DownloadReminderView(HWND window, IResourceMgr* skin)
    : FailureNoticeView(window, skin, DOWNLOAD_TEXTS) {}

LRESULT DownloadReminderView::OnResourceClick(int index, LPARAM) {
  const int32_t id = IdAt(index);
  if (id < 0) return 0;
  switch (id) {
    case NOTICE_GREY_BUTTON_ID:
      Logger().ReportAction(PAGE_CODE_MANUAL_DOWNLOAD, FAILURE_ACTION_CONFIRM, "");
      Logger().OpenUrl(downloadUrl);  // false for an empty address; the dialog ends anyway
      break;
    case NOTICE_ORANGE_BUTTON_ID:
      Logger().ReportAction(PAGE_CODE_MANUAL_DOWNLOAD, FAILURE_ACTION_DISMISS, "");
      break;
    default:
      break;
  }
  ::PostQuitMessage(0);
  return 0;
}

InstallReminderView::InstallReminderView(HWND window, IResourceMgr* skin)
    : FailureNoticeView(window, skin, INSTALL_TEXTS) {}

LRESULT InstallReminderView::OnResourceClick(int index, LPARAM) {
  const int32_t id = IdAt(index);
  if (id < 0) return 0;
  switch (id) {
    case NOTICE_GREY_BUTTON_ID:
      Logger().ReportAction(PAGE_CODE_MANUAL_INSTALL, FAILURE_ACTION_CONFIRM, "");
      // An empty name is no package, and the shell may open the current
      // folder for it. The shell's result is of no use either way.
      if (!packagePath.empty()) {
        ::ShellExecuteW(nullptr, L"open", packagePath.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
      }
      break;
    case NOTICE_ORANGE_BUTTON_ID:
      Logger().ReportAction(PAGE_CODE_MANUAL_INSTALL, FAILURE_ACTION_DISMISS, "");
      break;
    default:
      break;
  }
  ::PostQuitMessage(0);
  return 0;
}

DownloadReminderWindow::DownloadReminderWindow(HWND parent, IResourceMgr* skin)
    : DialogWindow(L"ProgressDReminderWnd", parent, FAILURE_DIALOG_WIDTH, FAILURE_DIALOG_HEIGHT) {
  view = std::make_unique<DownloadReminderView>(hwnd, skin);
}

InstallReminderWindow::InstallReminderWindow(HWND parent, IResourceMgr* skin)
    : DialogWindow(L"ProgressIReminderWnd", parent, FAILURE_DIALOG_WIDTH, FAILURE_DIALOG_HEIGHT) {
  view = std::make_unique<InstallReminderView>(hwnd, skin);
}
