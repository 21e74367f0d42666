#include "ui/base_window.h"

#include <stdexcept>

#include "app/global_settings.h"
#include "sys/unique_handle.h"
#include "ui/widget_geometry.h"

namespace {

constexpr wchar_t WINDOW_PROPERTY[] = L"WndClassPtr";
constexpr wchar_t WINDOW_TEXT[] = L"Tessaro";
constexpr int WINDOW_ICON_ID = 102;

// Whether GlobalSettings::dpiScale has been measured in this process.
bool& DpiMeasured() {
  static bool measured = false;
  return measured;
}

double MeasuredDpiScale() {
  GlobalSettings* settings = GetGlobalSettings();
  if (settings != nullptr && DpiMeasured()) return settings->dpiScale;
  UniqueWindowDc screen(::GetDC(nullptr));
  const double scale = IBaseWindow::GetDpiScale(screen.get());
  if (settings != nullptr) {
    settings->dpiScale = scale;
    DpiMeasured() = true;
  }
  return scale;
}

void SetWindowScale(double scale) {
  if (GlobalSettings* settings = GetGlobalSettings()) settings->windowScale = scale;
}

bool RegisterWindowClass(const wchar_t* className, HINSTANCE instance) {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof(existing);
  if (::GetClassInfoExW(nullptr, className, &existing)) return true;
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = &IBaseWindow::WindowProc;
  windowClass.hInstance = instance;
  windowClass.hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(WINDOW_ICON_ID));
  windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = className;
  return ::RegisterClassExW(&windowClass) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

IBaseWindow::IBaseWindow(const wchar_t* className, HWND parent, uint32_t width, uint32_t height)
    : designWidth(width), designHeight(height) {
  HINSTANCE instance = parent != nullptr
                           ? reinterpret_cast<HINSTANCE>(::GetWindowLongW(parent, GWL_HINSTANCE))
                           : ::GetModuleHandleW(nullptr);
  const ScaledSize size = ComputeScaledSize();
  SetWindowScale(size.scale);
  const POINT position = CentredPosition(workArea, size.width, size.height);
  if (!RegisterWindowClass(className, instance)) throw std::runtime_error("create window error");
  const DWORD exStyle = parent != nullptr ? WS_EX_TOOLWINDOW : WS_EX_APPWINDOW;
  hwnd = ::CreateWindowExW(exStyle, className, WINDOW_TEXT, WS_POPUP, position.x, position.y,
                           RoundHalf(size.width), RoundHalf(size.height), parent, nullptr,
                           instance, nullptr);
  if (hwnd == nullptr) throw std::runtime_error("create window error");
  ::SetPropW(hwnd, WINDOW_PROPERTY, this);
}

IBaseWindow::~IBaseWindow() {
  DetachWindow();
  if (hwnd != nullptr && ::IsWindow(hwnd)) ::DestroyWindow(hwnd);
}

void IBaseWindow::DetachWindow() noexcept {
  if (hwnd != nullptr && ::GetPropW(hwnd, WINDOW_PROPERTY) == this) {
    ::RemovePropW(hwnd, WINDOW_PROPERTY);
  }
}

LRESULT CALLBACK IBaseWindow::WindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* object = static_cast<IBaseWindow*>(::GetPropW(window, WINDOW_PROPERTY));
  if (object == nullptr) return ::DefWindowProcW(window, msg, wParam, lParam);
  const LRESULT result = object->HandleMessage(msg, wParam, lParam);
  // The last message of a window: its property list must be empty after it.
  if (msg == WM_NCDESTROY) ::RemovePropW(window, WINDOW_PROPERTY);
  return result;
}

ScaledSize IBaseWindow::ComputeScaledSize() {
  if (!::SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0)) {
    return ScaledSize{static_cast<double>(designWidth), static_cast<double>(designHeight), 1.0};
  }
  return ScaleDesignSize(designWidth, designHeight, workArea, MeasuredDpiScale());
}

double IBaseWindow::GetDpiScale(HDC hdc) {
  return DpiScaleFrom(::GetDeviceCaps(hdc, DESKTOPHORZRES), ::GetDeviceCaps(hdc, HORZRES),
                      ::GetDeviceCaps(hdc, LOGPIXELSX));
}

bool IBaseWindow::Resize(uint32_t newWidth, uint32_t newHeight) {
  designWidth = newWidth;
  designHeight = newHeight;
  if (hwnd == nullptr || !::IsWindow(hwnd)) return false;
  const ScaledSize size = ComputeScaledSize();
  SetWindowScale(size.scale);
  const bool sized = ::SetWindowPos(hwnd, nullptr, 0, 0, RoundHalf(size.width),
                                    RoundHalf(size.height), SWP_NOZORDER | SWP_NOMOVE) != 0;
  const POINT position = CentredPosition(workArea, size.width, size.height);
  const bool moved = ::SetWindowPos(hwnd, nullptr, position.x, position.y, 0, 0,
                                    SWP_NOZORDER | SWP_NOSIZE) != 0;
  return sized && moved;
}

void BringWindowToFront(HWND window, WindowZOrder order) {
  ::ShowWindow(window, SW_SHOWNORMAL);
  ::SetWindowPos(window, order == WindowZOrder::Topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0,
                 0, SWP_NOMOVE | SWP_NOSIZE);
  ::SetForegroundWindow(window);
  ::SetFocus(window);
}
