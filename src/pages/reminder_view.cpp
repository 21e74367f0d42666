#include "pages/reminder_view.h"

#include "pages/notice_layout.h"
#include "pages/page_events.h"
#include "pages/page_styles.h"
#include "pages/window_messages.h"
#include "sys/text_convert.h"
#include "telemetry/logger_server.h"

namespace {

const NoticeLook REMINDER_LOOK{
    0,
    5,
    4,
    L"您已安装最新版本",
    L"点击“打开”运行软件，或点击“安装”重新安装软件。",
    L"打开",
    L"安装",
    COLOR_PRIMARY_PRESSED,
};

void SendChoice(const wchar_t* choice) { SendTextEvent("vReInstallOpera", "event_name", choice); }

}  // namespace

CReminderView::CReminderView(HWND window, IResourceMgr* skin)
    : IBaseView(window, skin, ViewKind::Page) {
  BuildNoticeWidgets(*this, REMINDER_LOOK);
  SendPageEvent("vInstallPage", L"覆盖安装");
}

LRESULT CReminderView::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_WAKE_INSTANCE:
      return BringToFront(hwnd, WindowZOrder::Topmost);
    case WM_CLOSE:
      // Closing the window (Alt+F4) ends the run like the close button, only
      // without an event: a destroyed main window would leave the run waiting.
      ::PostQuitMessage(0);
      return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    default:
      return HandleStandardMessage(msg, wParam, lParam);
  }
}

LRESULT CReminderView::OnResourceClick(int index, LPARAM) {
  if (index < 0 || static_cast<size_t>(index) >= resources.size()) return 0;
  switch (resources[static_cast<size_t>(index)]->id) {
    case NOTICE_GREY_BUTTON_ID:
      SendChoice(L"打开软件");
      GetLoggerServer()->RunAsDesktopUser("open", WideToUtf8(installedAppPath), 0, 0, 0);
      EndRun();
      break;
    case NOTICE_ORANGE_BUTTON_ID:
      SendChoice(L"直接安装");
      ::PostMessageW(hwnd, WM_SWITCH_PAGE, PAGE_START, 0);
      Invalidate();
      break;
    case NOTICE_CLOSE_BUTTON_ID:
      SendChoice(L"关闭");
      EndRun();
      break;
    default:
      break;
  }
  return 0;
}

void CReminderView::EndRun() const {
  ::ShowWindow(hwnd, SW_HIDE);
  ::PostQuitMessage(0);
}
