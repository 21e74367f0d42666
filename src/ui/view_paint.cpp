// The two paint paths of a view: per-pixel alpha for layered dialogs and a
// double buffer for the main window's pages. Every widget is drawn, in list
// order, into a fresh off-screen bitmap that reaches the screen in one call.
#include "sys/unique_handle.h"
#include "ui/base_view.h"
#include "ui/gdi_scope.h"

namespace {

// BeginPaint and EndPaint as a pair.
class PaintScope {
 public:
  explicit PaintScope(HWND window) : window_(window), dc_(::BeginPaint(window, &paint_)) {}
  ~PaintScope() { ::EndPaint(window_, &paint_); }
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;

  HDC dc() const { return dc_; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

// A bottom-up 32-bit DIB section of the given size, all pixels 0
// (fully transparent black).
UniqueGdiObject MakeAlphaBitmap(HDC dc, int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;  // positive: bottom-up rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  info.bmiHeader.biSizeImage = static_cast<DWORD>(width * 4 * height);
  void* bits = nullptr;
  return UniqueGdiObject(::CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
}

}  // namespace

LRESULT IBaseView::PaintLayered() {
  PaintScope paint(hwnd);
  const LONG exStyle = ::GetWindowLongW(hwnd, GWL_EXSTYLE);
  if ((exStyle & WS_EX_LAYERED) == 0) ::SetWindowLongW(hwnd, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);

  RECT window{};
  ::GetWindowRect(hwnd, &window);
  const int width = window.right - window.left;
  const int height = window.bottom - window.top;
  UniqueMemoryDc memory(::CreateCompatibleDC(paint.dc()));
  ::SetBkMode(memory.get(), TRANSPARENT);
  UniqueGdiObject bitmap = MakeAlphaBitmap(paint.dc(), width, height);
  {
    SelectedObject selected(memory.get(), bitmap.get());
    for (const auto& widget : resources) widget->Draw(memory.get());

    UniqueWindowDc screen(::GetDC(nullptr));
    POINT destination{window.left, window.top};
    SIZE size{width, height};
    POINT source{0, 0};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    ::UpdateLayeredWindow(hwnd, screen.get(), &destination, &size, memory.get(), &source, 0,
                          &blend, ULW_ALPHA);
  }
  return 0;
}

LRESULT IBaseView::PaintBuffered(UINT msg, WPARAM wParam, LPARAM lParam) {
  {
    UniqueWindowDc windowDc(::GetDC(hwnd));
    RECT client{};
    ::GetClientRect(hwnd, &client);
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    UniqueMemoryDc memory(::CreateCompatibleDC(windowDc.get()));
    UniqueGdiObject bitmap(::CreateCompatibleBitmap(windowDc.get(), width, height));
    SelectedObject selected(memory.get(), bitmap.get());
    for (const auto& widget : resources) widget->Draw(memory.get());
    ::BitBlt(windowDc.get(), 0, 0, width, height, memory.get(), 0, 0, SRCCOPY);
  }
  // The default handler validates the update region.
  return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}
