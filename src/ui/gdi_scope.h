// Puts a GDI object into a device context for the length of a scope and puts
// the previous one back at its end, so a DC is never deleted or released with
// one of our objects still selected.
#pragma once

#include <windows.h>

class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) noexcept : dc_(dc), previous_(::SelectObject(dc, object)) {}
  ~SelectedObject() {
    if (previous_ != nullptr && previous_ != HGDI_ERROR) ::SelectObject(dc_, previous_);
  }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};
