// CCheckboxResource: a check box picture beside a one-line text. The page
// flips `checked` on click; the picture follows it.
#pragma once

#include <string>

#include "ui/image_resource.h"

class CCheckboxResource : public CImageResource {
 public:
  // Null `styleSet`: grey text turning blue on hover and dark blue when
  // pressed, no fill and no border. The pictures are the skin manager's.
  CCheckboxResource(int32_t widgetId, const ResourceStyleSet* styleSet, std::wstring caption,
                    Gdiplus::Image* checkedPicture, Gdiplus::Image* uncheckedPicture);

  bool Draw(HDC hdc) override;
  bool SetRect(int left, int top, int right, int bottom) override;

  // Fits the picture of the current `checked` value at the icon side; a value
  // other than 0 or 1 (no picture) leaves boxRect as it was.
  void UpdateBoxRect();

  Gdiplus::Image* checkedImage;
  Gdiplus::Image* uncheckedImage;
  RECT boxRect{};
  int32_t checked = 1;  // 1 checked, 0 unchecked; any other value shows no box
  std::wstring text;

 private:
  Gdiplus::Image* CurrentBoxImage() const;
};

ResourceStyleSet DefaultCheckboxStyles();
