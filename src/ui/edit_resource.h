// CEditResource: the toolkit's one standard control, a single-line EDIT child
// of the page's window that paints itself. The page reads and writes its text
// with GetWindowTextW/SetWindowTextW on editWindow and colours it through
// WM_CTLCOLOREDIT.
#pragma once

#include <string>

#include "sys/unique_handle.h"
#include "ui/image_resource.h"

class CEditResource : public CImageResource {
 public:
  // Creates the EDIT child of `parent` (text "C:/", control id 5) with the
  // Normal style's font. Null `styleSet`: dark text, no fill, no border.
  // Throws std::runtime_error "create widget error" when the child cannot be
  // created.
  CEditResource(HWND parent, const ResourceStyleSet* styleSet);
  // Destroys the child before its font: nothing else manages it.
  ~CEditResource() override;

  // Shows the child and lets it repaint; the toolkit itself paints nothing.
  bool Draw(HDC hdc) override;
  // The common SetRect, then moves and sizes the child to the rectangle.
  bool SetRect(int left, int top, int right, int bottom) override;

  std::wstring text = L"C:/";
  HWND editWindow = nullptr;

 private:
  static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

  UniqueGdiObject font_;
};

constexpr int32_t EDIT_RESOURCE_ID = 5;

ResourceStyleSet DefaultEditStyles();
