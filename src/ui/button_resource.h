// CButtonResource: a filled, optionally rounded button with a text and, per
// state, an optional picture beside it. A picture-only button (the close
// button) has empty text, aspectRatio 1.0 and state pictures.
#pragma once

#include <array>
#include <string>

#include "ui/image_resource.h"

class CButtonResource : public CImageResource {
 public:
  // Null `styleSet`: white text centred on the blue button fills of the four
  // states (grey when disabled), corner radius 2.
  CButtonResource(int32_t widgetId, std::wstring caption, const ResourceStyleSet* styleSet);

  bool Draw(HDC hdc) override;
  bool SetRect(int left, int top, int right, int bottom) override;

  // Sets the picture of `forState` (owned by the skin manager; may be null)
  // and refits the icon when it changed.
  void SetStateImage(ResourceState forState, Gdiplus::Image* picture);
  // Fits the current state's picture into the button at its icon side. A
  // state without a picture leaves iconRect as it was.
  void UpdateIconRect();

  std::array<Gdiplus::Image*, RESOURCE_STATE_COUNT> stateImages{};
  RECT iconRect{};
  std::wstring text;

 private:
  Gdiplus::Image* CurrentStateImage() const;
};

// The styles of a button made without a style set.
ResourceStyleSet DefaultButtonStyles();
