#include "pages/warn_window.h"

#include <memory>

#include "pages/dialog_loop.h"
#include "pages/notice_layout.h"
#include "pages/page_events.h"
#include "pages/page_styles.h"
#include "pages/window_messages.h"

namespace {

constexpr uint32_t DIALOG_WIDTH = 400;
constexpr uint32_t DIALOG_HEIGHT = 200;

constexpr char ACTION_CONFIRM[] = "0001";
constexpr char ACTION_DISMISS[] = "0002";

const NoticeLook WARN_LOOK{
    4,
    4,
    5,
    L"确定要取消安装吗？",
    L"安装尚未开始，关闭窗口会取消安装，点击“取消”后继续安装。",
    L"确认",
    L"取消",
    COLOR_PRIMARY_HOVER,
};

}  // namespace

WarnView::WarnView(HWND window, IResourceMgr* skin) : IBaseView(window, skin, ViewKind::Dialog) {
  BuildNoticeWidgets(*this, WARN_LOOK);
}

LRESULT WarnView::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  return HandleStandardMessage(msg, wParam, lParam);
}

LRESULT WarnView::OnResourceClick(int index, LPARAM) {
  if (index < 0 || static_cast<size_t>(index) >= resources.size()) return 0;
  const char* pageCode = openedFrom == CancelOpener::StartPage ? PAGE_CODE_CANCEL_FROM_START
                                                               : PAGE_CODE_CANCEL_FROM_CUSTOM;
  switch (resources[static_cast<size_t>(index)]->id) {
    case NOTICE_GREY_BUTTON_ID:
      ReportPageAction(pageCode, ACTION_CONFIRM);
      ::PostMessageW(hwnd, WM_CANCEL_CONFIRMED, 0, 0);
      break;
    case NOTICE_ORANGE_BUTTON_ID:
    case NOTICE_CLOSE_BUTTON_ID:
      ReportPageAction(pageCode, ACTION_DISMISS);
      break;
    default:
      break;
  }
  // The opener's nested loop sees WM_CANCEL_CONFIRMED before it ends on WM_QUIT.
  CloseDialogAndQuit(hwnd);
  return 0;
}

WarnWindow::WarnWindow(HWND parent, IResourceMgr* skin, const wchar_t* className)
    : DialogWindow(className, parent, DIALOG_WIDTH, DIALOG_HEIGHT) {
  view = std::make_unique<WarnView>(hwnd, skin);
}
