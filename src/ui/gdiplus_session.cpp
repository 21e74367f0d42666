#include "ui/gdiplus_session.h"

#include "ui/gdiplus_include.h"

void GdiplusTokenTraits::Close(Type h) noexcept { Gdiplus::GdiplusShutdown(h); }

UniqueGdiplusToken StartGdiplus() {
  Gdiplus::GdiplusStartupInput input;
  input.GdiplusVersion = 1;
  input.DebugEventCallback = nullptr;
  input.SuppressBackgroundThread = FALSE;
  input.SuppressExternalCodecs = FALSE;
  ULONG_PTR token = 0;
  if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok) return UniqueGdiplusToken();
  return UniqueGdiplusToken(token);
}
