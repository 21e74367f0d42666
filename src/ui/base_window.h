// IBaseWindow: one borderless top-level window of the installer. The base
// registers the window class, sizes the window from its design size and the
// screen's DPI scale, centres it on the work area, and routes every message of
// the window to the object's HandleMessage. UI thread only.
#pragma once

#include <windows.h>

#include <cstdint>

#include "ui/window_geometry.h"

class IBaseWindow {
 public:
  // Detaches the object from its window, then destroys the window if it still
  // exists: once the object is gone no message may reach it.
  virtual ~IBaseWindow();

  IBaseWindow(const IBaseWindow&) = delete;
  IBaseWindow& operator=(const IBaseWindow&) = delete;

  // Answers every message of the window once it is attached.
  virtual LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) = 0;

  // Reads the work area into workArea and returns the window's size for the
  // design size and the screen's DPI scale (measured once per process, into
  // GlobalSettings::dpiScale). Without a work area: the design size, scale 1.
  ScaledSize ComputeScaledSize();

  // Stores a new design size; resizes and re-centres the window and updates
  // GlobalSettings::windowScale. False, changing nothing else, when there is
  // no window; false when either move fails.
  bool Resize(uint32_t newWidth, uint32_t newHeight);

  // The DPI scale of a screen DC (see DpiScaleFrom).
  static double GetDpiScale(HDC hdc);

  // Registered for every class: forwards to the attached object, or to
  // DefWindowProcW before the object is attached and after it is detached.
  static LRESULT CALLBACK WindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

  HWND hwnd = nullptr;
  RECT workArea{};
  uint32_t designWidth;
  uint32_t designHeight;

 protected:
  // Creates the hidden popup window "Tessaro" of class `className`
  // (registered on first use), owned by `parent` when given (then with no
  // taskbar button), scaled and centred, and attaches the object to it.
  // Throws std::runtime_error "create window error".
  IBaseWindow(const wchar_t* className, HWND parent, uint32_t width, uint32_t height);

  // Stops forwarding the window's messages to this object. Derived
  // destructors call it first, before their members go away.
  void DetachWindow() noexcept;
};

// Whether BringToFront keeps the window above all others.
enum class WindowZOrder { NotTopmost, Topmost };

// Shows the window normally, sets its z-order, brings it to the foreground and
// gives it the keyboard focus.
void BringWindowToFront(HWND window, WindowZOrder order);
