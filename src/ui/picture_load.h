// GDI+ images from a file or a stream. The wrappers' own operator new hands
// out GDI+ memory without reporting a failure; these functions check for it,
// so a null result means only that no image object could be allocated. A
// source that does not decode still gives an image object (one that draws
// nothing and reports a size of 0 × 0).
#pragma once

#include <memory>
#include <string>

#include "ui/gdiplus_include.h"

std::unique_ptr<Gdiplus::Image> LoadPictureFile(const std::wstring& path);

// The image reads from `stream` as long as it lives and holds its own
// reference to it.
std::unique_ptr<Gdiplus::Image> LoadPictureStream(IStream* stream);

// An image over a copy of `bytes` in a COM memory stream (SHLWAPI's, reached
// by its ordinal 12, which every Windows since 2000 exports); null when no
// stream or no image object can be made.
std::unique_ptr<Gdiplus::Image> LoadPictureBytes(const std::string& bytes);
