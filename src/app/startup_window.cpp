#include "app/startup_window.h"

namespace {

constexpr wchar_t CLASS_NAME[] = L"TessaroSetupWindow";
constexpr int WINDOW_WIDTH = 600;
constexpr int WINDOW_HEIGHT = 400;

LRESULT CALLBACK StartupWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SYSKEYDOWN:
      // A popup without a system menu gets no SC_CLOSE from Alt+F4 on every system.
      if (wParam == VK_F4) {
        DestroyWindow(window);
        return 0;
      }
      break;
    case WM_ERASEBKGND: {
      RECT client;
      GetClientRect(window, &client);
      FillRect(reinterpret_cast<HDC>(wParam), &client,
               reinterpret_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
      return 1;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

HWND CreateStartupWindow(HINSTANCE instance) {
  WNDCLASSEXW windowClass = {};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = StartupWindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  windowClass.lpszClassName = CLASS_NAME;
  if (!RegisterClassExW(&windowClass)) return nullptr;

  RECT workArea = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
  const int left = workArea.left + (workArea.right - workArea.left - WINDOW_WIDTH) / 2;
  const int top = workArea.top + (workArea.bottom - workArea.top - WINDOW_HEIGHT) / 2;

  HWND window = CreateWindowExW(0, CLASS_NAME, L"Tessaro", WS_POPUP | WS_MINIMIZEBOX, left, top,
                                WINDOW_WIDTH, WINDOW_HEIGHT, nullptr, nullptr, instance, nullptr);
  if (!window) return nullptr;
  ShowWindow(window, SW_SHOW);
  UpdateWindow(window);
  return window;
}

int RunMessageLoop() {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}
