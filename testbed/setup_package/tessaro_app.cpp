// The stand-in Tessaro.exe that the stand-in setup package installs: one
// small window titled "Tessaro" that shows its version and ends when closed.
// When TESSARO_APP_LOG names a file, each start appends its command line to
// it as one UTF-8 line, so tests can tell that (and how) it was started.
#include <windows.h>

#include <string>

#include "sys/text_convert.h"
#include "sys/unique_handle.h"

namespace {

constexpr wchar_t kVersion[] = L"" TESSARO_APP_VERSION;
constexpr wchar_t kWindowClass[] = L"TessaroStandInWindow";
constexpr int kWidth = 360;
constexpr int kHeight = 200;

void RecordStart() {
  wchar_t log[MAX_PATH * 2] = {};
  const DWORD length = ::GetEnvironmentVariableW(L"TESSARO_APP_LOG", log, MAX_PATH * 2);
  if (length == 0 || length >= MAX_PATH * 2) return;
  UniqueFileHandle file(::CreateFileW(log, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return;
  const std::string line = WideToUtf8(::GetCommandLineW()) + "\n";
  DWORD written = 0;
  ::WriteFile(file.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

void Paint(HWND window) {
  PAINTSTRUCT paint{};
  HDC dc = ::BeginPaint(window, &paint);
  RECT client{};
  ::GetClientRect(window, &client);
  const std::wstring text = std::wstring(L"Tessaro ") + kVersion;
  ::SetBkMode(dc, TRANSPARENT);
  ::DrawTextW(dc, text.c_str(), -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  ::EndPaint(window, &paint);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      Paint(window);
      return 0;
    case WM_DESTROY:
      ::PostQuitMessage(0);
      return 0;
    default:
      return ::DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, wchar_t*, int show) {
  RecordStart();
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(1));
  windowClass.hCursor = ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.lpszClassName = kWindowClass;
  if (!::RegisterClassExW(&windowClass)) return 1;

  HWND window =
      ::CreateWindowExW(0, kWindowClass, L"Tessaro", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                        CW_USEDEFAULT, kWidth, kHeight, nullptr, nullptr, instance, nullptr);
  if (window == nullptr) return 1;
  ::ShowWindow(window, show);
  ::UpdateWindow(window);

  MSG message{};
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  return 0;
}
