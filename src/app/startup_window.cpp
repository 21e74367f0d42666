#include "app/startup_window.h"

#include "app/single_instance.h"
#include "pages/window_messages.h"

namespace {

constexpr int WINDOW_WIDTH = 600;
constexpr int WINDOW_HEIGHT = 400;

void BringForward(HWND window) {
  ShowWindow(window, SW_SHOWNORMAL);
  SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetForegroundWindow(window);
  SetFocus(window);
}

LRESULT CALLBACK StartupWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_WAKE_INSTANCE:
      BringForward(window);
      return 0;
    case WM_SYSKEYDOWN:
      // A popup without a system menu gets no SC_CLOSE from Alt+F4 on every system.
      if (wParam == VK_F4) {
        PostQuitMessage(0);
        return 0;
      }
      break;
    case WM_CLOSE:
      PostQuitMessage(0);
      return 0;
    case WM_ERASEBKGND: {
      RECT client;
      GetClientRect(window, &client);
      FillRect(reinterpret_cast<HDC>(wParam), &client, reinterpret_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
      return 1;
    }
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

UniqueWindow CreateStartupWindow(HINSTANCE instance) {
  WNDCLASSEXW windowClass = {};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = StartupWindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(102));
  windowClass.lpszClassName = MAIN_WINDOW_CLASS;
  if (!RegisterClassExW(&windowClass)) return UniqueWindow();

  RECT workArea = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
  const int left = workArea.left + (workArea.right - workArea.left - WINDOW_WIDTH) / 2;
  const int top = workArea.top + (workArea.bottom - workArea.top - WINDOW_HEIGHT) / 2;
  return UniqueWindow(CreateWindowExW(WS_EX_APPWINDOW, MAIN_WINDOW_CLASS, L"Tessaro", WS_POPUP, left, top,
                                      WINDOW_WIDTH, WINDOW_HEIGHT, nullptr, nullptr, instance, nullptr));
}
