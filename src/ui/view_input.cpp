// The standard message handling of every view: painting by kind, hover and
// pressed button states, dragging, and clicks posted back as
// WM_RESOURCE_CLICK.
#include "pages/window_messages.h"
#include "ui/base_view.h"

LRESULT IBaseView::HandleStandardMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_PAINT:
      return OnPaint(msg, wParam, lParam);
    case WM_MOUSEMOVE:
      return OnMouseMove(msg, wParam, lParam);
    case WM_LBUTTONDOWN:
      return OnLButtonDown(msg, wParam, lParam);
    case WM_LBUTTONUP:
      return OnLButtonUp(msg, wParam, lParam);
    case WM_RESOURCE_CLICK:
      return OnResourceClick(static_cast<int>(wParam), lParam);
    default:
      return ::DefWindowProcW(hwnd, msg, wParam, lParam);
  }
}

LRESULT IBaseView::OnPaint(UINT msg, WPARAM wParam, LPARAM lParam) {
  return kind == ViewKind::Dialog ? PaintLayered() : PaintBuffered(msg, wParam, lParam);
}

LRESULT IBaseView::OnMouseMove(UINT msg, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = ::DefWindowProcW(hwnd, msg, wParam, lParam);
  if (resources.empty()) return result;
  const int index = HitTest(lParam);
  if (index == hoverIndex) return result;
  bool changed = false;
  switch (TypeAt(index)) {
    case ResourceType::Button:
      changed = UpdateWidgetStates(index, WM_MOUSEMOVE);
      break;
    case ResourceType::Checkbox:
      // Only main-window pages treat a check box as a plain widget here.
      if (kind == ViewKind::Page && hoverIndex != -1) changed = UpdateWidgetStates(0, WM_MOUSEMOVE);
      break;
    case ResourceType::Image:
    case ResourceType::Icon:
    case ResourceType::Text:
    case ResourceType::Spacer:
      if (hoverIndex != -1) changed = UpdateWidgetStates(0, WM_MOUSEMOVE);
      break;
    default:
      // Movie, edit and progress keep the buttons as they are.
      break;
  }
  if (changed) Invalidate();
  hoverIndex = index;
  return result;
}

LRESULT IBaseView::OnLButtonDown(UINT msg, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = ::DefWindowProcW(hwnd, msg, wParam, lParam);
  if (!resources.empty()) {
    const int index = HitTest(lParam);
    if (TypeAt(index) == ResourceType::Button) {
      if (UpdateButtonStates(index, WM_LBUTTONDOWN)) Invalidate();
      return result;
    }
  }
  ::ReleaseCapture();
  // A borderless page moves when dragged by anything but a button.
  if (kind == ViewKind::Page) ::SendMessageW(hwnd, WM_NCLBUTTONDOWN, HTCAPTION, 0);
  return result;
}

LRESULT IBaseView::OnLButtonUp(UINT msg, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = ::DefWindowProcW(hwnd, msg, wParam, lParam);
  if (resources.empty()) return result;
  const int index = HitTest(lParam);
  if (TypeAt(index) == ResourceType::Button) {
    ::PostMessageW(hwnd, WM_RESOURCE_CLICK, static_cast<WPARAM>(index), lParam);
  }
  return result;
}

LRESULT IBaseView::OnResourceClick(int, LPARAM) { return 0; }
