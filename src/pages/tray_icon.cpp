#include "pages/tray_icon.h"

#include <cwchar>

#include "pages/window_messages.h"

namespace {

constexpr int INSTALLER_ICON_ID = 102;
constexpr wchar_t TRAY_TIP[] = L"Orvane软件已最小化，点击弹出";

}  // namespace

TrayIcon::~TrayIcon() { Remove(); }

bool TrayIcon::Add(HWND window) {
  Remove();
  data_ = NOTIFYICONDATAW{};
  data_.cbSize = sizeof(data_);
  data_.hWnd = window;
  data_.uID = 0;
  data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data_.uCallbackMessage = WM_TRAY_ICON;
  const auto instance = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(window, GWLP_HINSTANCE));
  data_.hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(INSTALLER_ICON_ID));
  wcsncpy(data_.szTip, TRAY_TIP, sizeof(data_.szTip) / sizeof(data_.szTip[0]) - 1);
  shown_ = ::Shell_NotifyIconW(NIM_ADD, &data_) != FALSE;
  return shown_;
}

void TrayIcon::Remove() {
  if (data_.hWnd == nullptr) return;
  ::Shell_NotifyIconW(NIM_DELETE, &data_);
  data_.hWnd = nullptr;
  shown_ = false;
}
