#include "ui_test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "app/global_settings.h"
#include "sys/system_library.h"
#include "ui/gdiplus_session.h"

namespace {

// GDI+ for the whole program: loaded from the system folder before the
// first call through its delay import, exactly as the installer's startup
// does, and started once. GlobalSettings exists throughout, as in a run.
class ToolkitEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    ASSERT_NE(SystemLibrary(L"gdiplus.dll"), nullptr);
    token_ = StartGdiplus();
    ASSERT_TRUE(token_.valid());
    CreateGlobalSettings();
  }
  void TearDown() override {
    DeleteGlobalSettings();
    token_.reset();
  }

 private:
  UniqueGdiplusToken token_;
};

const auto* const environment = ::testing::AddGlobalTestEnvironment(new ToolkitEnvironment);

}  // namespace

Canvas::Canvas(int width, int height) : width_(width), height_(height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  dc_.reset(::CreateCompatibleDC(nullptr));
  bitmap_.reset(::CreateDIBSection(dc_.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  bits_ = static_cast<uint32_t*>(bits);
  previous_ = ::SelectObject(dc_.get(), bitmap_.get());
}

Canvas::~Canvas() { ::SelectObject(dc_.get(), previous_); }

uint32_t Canvas::Pixel(int x, int y) const {
  if (bits_ == nullptr || x < 0 || y < 0 || x >= width_ || y >= height_) return 0xDEADBEEF;
  ::GdiFlush();
  return bits_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)];
}

std::string SmallRedPng() {
  static const char bytes[] =
      "\x89\x50\x4e\x47\x0d\x0a\x1a\x0a\x00\x00\x00\x0d\x49\x48\x44\x52\x00\x00\x00\x03\x00\x00"
      "\x00\x02\x08\x06\x00\x00\x00\x9d\x74\x66\x1a\x00\x00\x00\x11\x49\x44\x41\x54\x78\x9c\x63"
      "\xf8\xcf\xc0\xf0\x1f\x86\x19\x90\x39\x00\x9b\x7e\x0b\xf5\x72\xb0\xb9\x3c\x00\x00\x00\x00"
      "\x49\x45\x4e\x44\xae\x42\x60\x82";
  return std::string(bytes, sizeof(bytes) - 1);
}

bool NearColor(uint32_t actual, uint32_t expected, int tolerance) {
  for (int shift = 0; shift < 32; shift += 8) {
    const int a = static_cast<int>((actual >> shift) & 0xFF);
    const int b = static_cast<int>((expected >> shift) & 0xFF);
    if (std::abs(a - b) > tolerance) return false;
  }
  return true;
}
