// CProgressResource: a rounded track with a bar of `value` percent. The bar's
// colour is the style's textColor, the track's its fillColor.
#pragma once

#include "ui/image_resource.h"

class CProgressResource : public CImageResource {
 public:
  // Always id 2. Null `styleSet`: a blue bar on a light grey track with fully
  // rounded ends (corner radius 100, clamped to the height).
  explicit CProgressResource(const ResourceStyleSet* styleSet);

  bool Draw(HDC hdc) override;
  bool SetRect(int left, int top, int right, int bottom) override;

  // Stores the percentage and recomputes the bar; always true. Values above
  // 100 are not clamped.
  bool SetProgress(uint32_t percent);

  RECT barRect{};
  uint32_t value = 0;
};

constexpr int32_t PROGRESS_RESOURCE_ID = 2;

ResourceStyleSet DefaultProgressStyles();
