#include "ui/picture_load.h"

#include <new>

#include "sys/system_library.h"
#include "sys/unique_handle.h"

namespace {

// Builds the image in GDI+ memory, the memory the wrapper's operator delete
// gives back.
template <typename Source>
std::unique_ptr<Gdiplus::Image> NewPicture(Source source) {
  void* memory = Gdiplus::DllExports::GdipAlloc(sizeof(Gdiplus::Image));
  if (memory == nullptr) return nullptr;
  return std::unique_ptr<Gdiplus::Image>(::new (memory) Gdiplus::Image(source));
}

}  // namespace

std::unique_ptr<Gdiplus::Image> LoadPictureFile(const std::wstring& path) {
  return NewPicture(path.c_str());
}

std::unique_ptr<Gdiplus::Image> LoadPictureStream(IStream* stream) { return NewPicture(stream); }

std::unique_ptr<Gdiplus::Image> LoadPictureBytes(const std::string& bytes) {
  using CreateMemStream = IStream*(WINAPI*)(const BYTE*, UINT);
  // Named exports of this function appeared only in Vista; the ordinal is
  // what XP has.
  static const auto create = SystemFunctionAs<CreateMemStream>(
      L"shlwapi.dll", reinterpret_cast<const char*>(static_cast<uintptr_t>(12)));
  if (create == nullptr || bytes.empty()) return nullptr;
  UniqueCom<IStream> stream(
      create(reinterpret_cast<const BYTE*>(bytes.data()), static_cast<UINT>(bytes.size())));
  if (!stream) return nullptr;
  // The image keeps its own reference to the stream.
  return LoadPictureStream(stream.get());
}
