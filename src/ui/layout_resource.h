// CLayoutResource: divides its rectangle among its children by weight, in a
// column or a row, and gives its background the whole rectangle. It only
// points at its children and background; the view owns them. CSpacerResource:
// an empty place in a layout.
#pragma once

#include <vector>

#include "ui/base_resource.h"

class CLayoutResource : public IBaseResource {
 public:
  // `orientation`: LayoutVertical or LayoutHorizontal; any other value lays
  // out only the background.
  CLayoutResource(int32_t layoutOrientation, int32_t widgetId);

  // Draws nothing: the children and the background are widgets of the view.
  bool Draw(HDC hdc) override;
  // Stores the rectangle and places every child with its own SetRect, then the
  // background. False, with nothing placed, when the children cannot fit:
  // mismatched lists, a total weight of 0, or too little room.
  bool SetRect(int left, int top, int right, int bottom) override;

  // Appends a child with its share `weight`.
  void AddChild(IBaseResource* child, uint32_t weight);

  int32_t orientation;
  uint32_t marginLeft = 0;  // design pixels
  uint32_t marginTop = 0;
  uint32_t marginRight = 0;
  uint32_t marginBottom = 0;
  uint32_t spacing = 0;
  IBaseResource* background = nullptr;
  std::vector<IBaseResource*> children;
  std::vector<uint32_t> weights;
};

class CSpacerResource : public IBaseResource {
 public:
  explicit CSpacerResource(int32_t widgetId);

  bool Draw(HDC hdc) override;
  bool SetRect(int left, int top, int right, int bottom) override;
};
