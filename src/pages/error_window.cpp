#include "pages/error_window.h"

#include <memory>

#include "pages/dialog_loop.h"
#include "pages/page_styles.h"
#include "pages/window_messages.h"

namespace {

constexpr char PAGE_CODE_DOWNLOAD_RETRY[] = "0007";
constexpr char PAGE_CODE_INSTALL_RETRY[] = "0008";

const FailureNoticeTexts ERROR_TEXTS{
    L"网络异常",
    L"检测到网络异常，必要组件无法加载，请检查网络后重试。",
    L"立即重试",
    L"稍后重试",
    COLOR_FRAME,
    NoticeGreyBorder::Outlined,
};

}  // namespace

ErrorView::ErrorView(HWND window, IResourceMgr* skin) : FailureNoticeView(window, skin, ERROR_TEXTS) {}

LRESULT ErrorView::OnResourceClick(int index, LPARAM) {
  const int32_t id = IdAt(index);
  if (id < 0) return 0;
  const char* pageCode =
      failureKind == FailureKind::Download ? PAGE_CODE_DOWNLOAD_RETRY : PAGE_CODE_INSTALL_RETRY;
  switch (id) {
    case NOTICE_GREY_BUTTON_ID:
      Logger().ReportAction(pageCode, FAILURE_ACTION_CONFIRM, "");
      ::PostMessageW(hwnd, WM_RETRY_CHOSEN, 0, 0);
      break;
    case NOTICE_ORANGE_BUTTON_ID:
      Logger().ReportAction(pageCode, FAILURE_ACTION_DISMISS, "");
      break;
    default:
      break;
  }
  // The opener's nested loop sees WM_RETRY_CHOSEN before it ends on WM_QUIT.
  CloseDialogAndQuit(hwnd);
  return 0;
}

ErrorWindow::ErrorWindow(HWND parent, IResourceMgr* skin)
    : DialogWindow(L"ProgressChildCloseWnd", parent, FAILURE_DIALOG_WIDTH, FAILURE_DIALOG_HEIGHT) {
  view = std::make_unique<ErrorView>(hwnd, skin);
}
