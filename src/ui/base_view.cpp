#include "ui/base_view.h"

#include "pages/window_messages.h"

IBaseView::IBaseView(HWND window, IResourceMgr* manager, ViewKind viewKind)
    : hwnd(window), resourceMgr(manager), kind(viewKind) {}

IBaseView::~IBaseView() = default;

LRESULT IBaseView::BringToFront(HWND window, WindowZOrder order) {
  BringWindowToFront(window, order);
  return 0;
}

int IBaseView::HitTest(LPARAM lParam) const {
  const POINT point{static_cast<LONG>(LOWORD(lParam)), static_cast<LONG>(HIWORD(lParam))};
  int picture = -1;
  for (size_t i = 0; i < resources.size(); ++i) {
    const IBaseResource& widget = *resources[i];
    if (widget.type == ResourceType::Layout) continue;
    if (!::PtInRect(&widget.rect, point)) continue;
    if (widget.type == ResourceType::Image || widget.type == ResourceType::Movie) {
      picture = static_cast<int>(i);
      continue;
    }
    return static_cast<int>(i);
  }
  return picture >= 0 ? picture : 0;
}

IBaseResource* IBaseView::FindResource(int32_t widgetId) const {
  for (const auto& widget : resources) {
    if (widget->id == widgetId) return widget.get();
  }
  return nullptr;
}

bool IBaseView::UpdateButtonStates(int target, UINT msg) {
  bool changed = false;
  for (size_t i = 0; i < resources.size(); ++i) {
    IBaseResource& widget = *resources[i];
    if (widget.type != ResourceType::Button) continue;
    ResourceState wanted = ResourceState::Normal;
    if (static_cast<int>(i) == target && msg != WM_RESOURCE_CLICK) {
      if (msg == WM_MOUSEMOVE) {
        wanted = ResourceState::Hover;
      } else if (msg == WM_LBUTTONDOWN) {
        wanted = ResourceState::Pressed;
      } else {
        continue;
      }
    }
    if (widget.state == wanted) continue;
    widget.state = wanted;
    changed = true;
  }
  return changed;
}

void IBaseView::Invalidate() {
  RECT client{};
  ::GetClientRect(hwnd, &client);
  ::InvalidateRect(hwnd, &client, TRUE);
}

bool IBaseView::LayOutToClient() {
  if (resources.empty()) return false;
  RECT client{};
  ::GetClientRect(hwnd, &client);
  return resources[0]->SetRect(client.left, client.top, client.right, client.bottom);
}

ResourceType IBaseView::TypeAt(int index) const {
  return resources[static_cast<size_t>(index)]->type;
}
