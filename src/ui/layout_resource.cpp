#include "ui/layout_resource.h"

#include "ui/widget_geometry.h"
#include "ui/window_scale.h"

CLayoutResource::CLayoutResource(int32_t layoutOrientation, int32_t widgetId)
    : IBaseResource(ResourceType::Layout, widgetId, RECT{0, 0, 0, 0}),
      orientation(layoutOrientation) {}

bool CLayoutResource::Draw(HDC) { return true; }

void CLayoutResource::AddChild(IBaseResource* child, uint32_t weight) {
  children.push_back(child);
  weights.push_back(weight);
}

bool CLayoutResource::SetRect(int left, int top, int right, int bottom) {
  rect = RECT{left, top, right, bottom};
  if (children.size() != weights.size()) return false;
  const double scale = CurrentWindowScale();
  LayoutSpacing metrics;
  metrics.left = scale * marginLeft;
  metrics.top = scale * marginTop;
  metrics.right = scale * marginRight;
  metrics.bottom = scale * marginBottom;
  metrics.spacing = scale * spacing;
  std::vector<RECT> placed;
  if (!LayoutChildRects(rect, orientation, metrics, weights, placed)) return false;
  for (size_t i = 0; i < placed.size(); ++i) {
    if (children[i] == nullptr) continue;
    children[i]->SetRect(placed[i].left, placed[i].top, placed[i].right, placed[i].bottom);
  }
  if (background != nullptr) background->SetRect(left, top, right, bottom);
  return true;
}

CSpacerResource::CSpacerResource(int32_t widgetId)
    : IBaseResource(ResourceType::Spacer, widgetId, RECT{0, 0, 0, 0}) {}

bool CSpacerResource::Draw(HDC) { return true; }

bool CSpacerResource::SetRect(int left, int top, int right, int bottom) {
  rect = RECT{left, top, right, bottom};
  return true;
}
