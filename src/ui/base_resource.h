// IBaseResource: the base of every widget. A view owns its widgets and draws
// them in list order; layouts only point at them. Widgets are created, drawn
// and changed on the UI thread.
#pragma once

#include <windows.h>

#include <cstdint>

#include "ui/resource_types.h"

class IBaseResource {
 public:
  virtual ~IBaseResource() = default;
  IBaseResource(const IBaseResource&) = delete;
  IBaseResource& operator=(const IBaseResource&) = delete;

  // Paints the widget into `hdc` (client coordinates); always true.
  virtual bool Draw(HDC hdc) = 0;
  // Places the widget; the rectangle is in scaled client pixels. False only
  // for a layout that cannot fit its children.
  virtual bool SetRect(int left, int top, int right, int bottom) = 0;

  ResourceType type;
  int32_t id;                // chosen by the page: FindResource and click handling
  RECT rect;                 // scaled client coordinates
  uint8_t visible = 1;       // 0: Draw paints nothing, yet the widget is still hit
  ResourceState state = ResourceState::Normal;

 protected:
  IBaseResource(ResourceType kind, int32_t widgetId, const RECT& initial)
      : type(kind), id(widgetId), rect(initial) {}
};

// The rectangle of a drawn widget that has not been laid out yet.
constexpr RECT UNPLACED_WIDGET_RECT{0, 0, 50, 20};
