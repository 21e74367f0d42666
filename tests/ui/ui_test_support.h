// Support for the toolkit's tests: GDI+ and GlobalSettings for the whole test
// program (loaded and started as the installer does), a 32-bit canvas to draw
// widgets on and read pixels back, and a small PNG.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "sys/unique_handle.h"
#include "recording_logger.h"

// A top-down 32-bit DIB selected into a memory DC, all pixels 0 (fully
// transparent black) at the start, like the layered paint path's bitmap.
class Canvas {
 public:
  Canvas(int width, int height);
  ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  HDC dc() const { return dc_.get(); }
  // The pixel as 0xAARRGGBB.
  uint32_t Pixel(int x, int y) const;
  uint32_t Alpha(int x, int y) const { return Pixel(x, y) >> 24; }
  // The pixel without its alpha: 0xRRGGBB.
  uint32_t Rgb(int x, int y) const { return Pixel(x, y) & 0xFFFFFF; }

 private:
  int width_;
  int height_;
  uint32_t* bits_ = nullptr;
  UniqueMemoryDc dc_;
  UniqueGdiObject bitmap_;
  HGDIOBJ previous_ = nullptr;
};

// A 3 x 2 PNG, every pixel opaque red.
std::string SmallRedPng();

// True when the two colours differ by at most `tolerance` in each channel.
bool NearColor(uint32_t actual, uint32_t expected, int tolerance);
