// CTextResource: a text label that wraps onto further lines, on a white
// background unless the style says otherwise.
#pragma once

#include <string>

#include "ui/image_resource.h"

class CTextResource : public CImageResource {
 public:
  // Null `styleSet`: the default styles with an opaque white Normal fill.
  CTextResource(int32_t widgetId, const ResourceStyleSet* styleSet, std::wstring caption);

  bool Draw(HDC hdc) override;

  std::wstring text;
};

ResourceStyleSet DefaultTextStyles();
