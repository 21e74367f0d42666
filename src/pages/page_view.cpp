#include "pages/page_view.h"

#include "pages/window_messages.h"

LRESULT CPageView::OnLButtonDown(UINT msg, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = ::DefWindowProcW(hwnd, msg, wParam, lParam);
  ReleaseTopmost();
  const int index = HitTest(lParam);
  if (IsButton(index) && !IsDisabledButton(index)) {
    if (UpdateWidgetStates(index, WM_LBUTTONDOWN)) Invalidate();
    return result;
  }
  if (TypeAt(index) == ResourceType::Checkbox) return result;
  DragWindow();
  return result;
}

void CPageView::ReleaseTopmost() const {
  ::SetWindowPos(hwnd, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void CPageView::DragWindow() const {
  ::ReleaseCapture();
  ::SendMessageW(hwnd, WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

LRESULT CPageView::Wake() { return BringToFront(hwnd, WindowZOrder::Topmost); }

void CPageView::SwitchTo(int page) const {
  ::PostMessageW(hwnd, WM_SWITCH_PAGE, static_cast<WPARAM>(page), 0);
}

bool CPageView::IsDisabledButton(int index) const {
  const IBaseResource& widget = *resources[static_cast<size_t>(index)];
  return widget.type == ResourceType::Button && widget.state == ResourceState::Disabled;
}

bool MoveState(IBaseResource& widget, ResourceState wanted) {
  if (widget.state == wanted) return false;
  widget.state = wanted;
  return true;
}
