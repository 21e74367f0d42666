// CPageView: what the main window's pages share beyond IBaseView: hover
// handling through the page's own widget-state rules, the window being
// dragged by anything that is not a control, the wake-up of a second
// instance, and building the widget tree.
#pragma once

#include <windows.h>

#include <memory>

#include "ui/base_view.h"
#include "ui/layout_resource.h"

class CPageView : public IBaseView {
 protected:
  CPageView(HWND window, IResourceMgr* skin) : IBaseView(window, skin, ViewKind::Page) {}

  // Every page has its own rules for its widgets' states (WM_MOUSEMOVE,
  // WM_LBUTTONDOWN or WM_RESOURCE_CLICK on widget `target`); the standard
  // hover handling follows them.
  bool UpdateWidgetStates(int target, UINT msg) override = 0;

  // The window stops being topmost; an enabled button is pressed, a check
  // box waits for the release, anything else drags the window.
  LRESULT OnLButtonDown(UINT msg, WPARAM wParam, LPARAM lParam) override;

  // Appends `widget` to the view and, when `parent` is given, to that layout
  // with `weight`. Returns the widget for further setup.
  template <typename Widget>
  Widget* Add(std::unique_ptr<Widget> widget, CLayoutResource* parent, uint32_t weight) {
    Widget* added = AddResource(std::move(widget));
    if (parent != nullptr) parent->AddChild(added, weight);
    return added;
  }

  // The window stops being topmost: a click means the user has it in hand.
  void ReleaseTopmost() const;
  // Lets the user drag the borderless window from where the button went down.
  void DragWindow() const;
  // WM_WAKE_INSTANCE: shows the window, topmost, in the foreground with focus.
  LRESULT Wake();
  // Posts a page change to the main window.
  void SwitchTo(int page) const;

  bool IsButton(int index) const { return TypeAt(index) == ResourceType::Button; }
  bool IsDisabledButton(int index) const;
};

// Moves a widget to `wanted` unless it is there already; true when it moved.
bool MoveState(IBaseResource& widget, ResourceState wanted);
