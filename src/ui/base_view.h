// IBaseView: one page of the main window or the content of one dialog. It
// owns its widgets (draw order = list order, later ones on top), paints them
// into an off-screen bitmap, finds the widget under the mouse and drives the
// hover and pressed states of its buttons. UI thread only.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "ui/base_resource.h"
#include "ui/base_window.h"
#include "ui/resource_mgr.h"

// Where a view lives, which decides its paint path and mouse behaviour.
enum class ViewKind {
  Page,    // main-window page: buffered paint, dragged by its background
  Dialog,  // layered dialog: per-pixel alpha paint, not draggable
};

class IBaseView {
 public:
  // Deletes every widget.
  virtual ~IBaseView();

  IBaseView(const IBaseView&) = delete;
  IBaseView& operator=(const IBaseView&) = delete;

  // Each view answers its window's messages, usually through
  // HandleStandardMessage plus its own additions.
  virtual LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) = 0;
  // WM_PAINT of a dialog: makes the window layered on first use and hands it
  // the widgets drawn into a 32-bit bitmap with per-pixel alpha; returns 0.
  virtual LRESULT PaintLayered();
  // WM_PAINT of a main-window page: draws the widgets into a compatible bitmap,
  // copies it to the window in one go, then lets the default procedure validate.
  virtual LRESULT PaintBuffered(UINT msg, WPARAM wParam, LPARAM lParam);
  // BringWindowToFront; returns 0.
  virtual LRESULT BringToFront(HWND window, WindowZOrder order);

  // Appends a widget to the draw list; the view owns it from now on. Returns
  // the widget for further setup (adding it to a layout, say).
  template <typename Widget>
  Widget* AddResource(std::unique_ptr<Widget> widget) {
    Widget* added = widget.get();
    resources.push_back(std::move(widget));
    return added;
  }

  // The index of the widget under the mouse position packed in `lParam`:
  // the first non-layout widget containing the point, except that pictures
  // (Image, Movie) only count when nothing else is hit, the last of them
  // winning. Hidden widgets are hit too. 0 when nothing is hit.
  int HitTest(LPARAM lParam) const;
  // The first widget with that id, or null.
  IBaseResource* FindResource(int32_t widgetId) const;
  // Moves the buttons' states after `msg` on widget `target`: the target
  // hovers on WM_MOUSEMOVE and is pressed on WM_LBUTTONDOWN, keeps its state
  // on other messages, and every other button (and the target on
  // WM_RESOURCE_CLICK) returns to Normal. True when any state changed.
  bool UpdateButtonStates(int target, UINT msg);
  // Asks for a repaint of the whole client area.
  void Invalidate();
  // Lays the root layout (index 0) out to the client area; false when there
  // is none or it does not fit.
  bool LayOutToClient();

  HWND hwnd;
  IResourceMgr* resourceMgr;  // not owned
  std::vector<std::unique_ptr<IBaseResource>> resources;
  int32_t hoverIndex = -1;

 protected:
  IBaseView(HWND window, IResourceMgr* manager, ViewKind viewKind);

  // The standard handling: WM_PAINT by kind, the mouse messages below,
  // WM_RESOURCE_CLICK to OnResourceClick, everything else to DefWindowProcW.
  LRESULT HandleStandardMessage(UINT msg, WPARAM wParam, LPARAM lParam);

  // The view's rules for its widgets' states after `msg` on widget `target`,
  // which the hover handling follows; true when anything changed. Default:
  // UpdateButtonStates.
  virtual bool UpdateWidgetStates(int target, UINT msg) { return UpdateButtonStates(target, msg); }

  virtual LRESULT OnPaint(UINT msg, WPARAM wParam, LPARAM lParam);
  // Hover states follow the mouse over buttons and reset over plain widgets.
  virtual LRESULT OnMouseMove(UINT msg, WPARAM wParam, LPARAM lParam);
  // Presses a button; elsewhere a page starts dragging the window.
  virtual LRESULT OnLButtonDown(UINT msg, WPARAM wParam, LPARAM lParam);
  // Posts WM_RESOURCE_CLICK when released over a button.
  virtual LRESULT OnLButtonUp(UINT msg, WPARAM wParam, LPARAM lParam);
  // The view's action for a click on widget `index`. Default: nothing.
  virtual LRESULT OnResourceClick(int index, LPARAM lParam);

  ResourceType TypeAt(int index) const;

  ViewKind kind;
};
