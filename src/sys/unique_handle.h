// One owner for every kind of Windows handle. A traits type names the handle
// type, its invalid value and how it is closed; UniqueHandle<Traits> owns one
// handle, is move-only and closes it when it goes out of scope. Closing keeps
// the thread's last-error value as it was, so an owner that goes away on an
// error path does not hide the error the caller is about to read.
#pragma once

#include <windows.h>

#include <utility>

template <typename Traits>
class UniqueHandle {
 public:
  using Type = typename Traits::Type;

  UniqueHandle() noexcept = default;
  explicit UniqueHandle(Type handle) noexcept : handle_(handle) {}
  ~UniqueHandle() { reset(); }

  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }

  Type get() const noexcept { return handle_; }
  bool valid() const noexcept { return Traits::IsValid(handle_); }
  explicit operator bool() const noexcept { return valid(); }

  // Gives up ownership without closing.
  Type release() noexcept { return std::exchange(handle_, Traits::Invalid()); }

  void reset(Type handle = Traits::Invalid()) noexcept {
    Type old = std::exchange(handle_, handle);
    if (Traits::IsValid(old)) {
      const DWORD lastError = ::GetLastError();
      Traits::Close(old);
      ::SetLastError(lastError);
    }
  }

 private:
  Type handle_ = Traits::Invalid();
};

// Threads, events, mutexes, processes: NULL when absent.
struct KernelHandleTraits {
  using Type = HANDLE;
  static Type Invalid() noexcept { return nullptr; }
  static bool IsValid(Type h) noexcept { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void Close(Type h) noexcept { ::CloseHandle(h); }
};

// Files (CreateFileW) and toolhelp snapshots: INVALID_HANDLE_VALUE when absent.
struct FileHandleTraits {
  using Type = HANDLE;
  static Type Invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static bool IsValid(Type h) noexcept { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void Close(Type h) noexcept { ::CloseHandle(h); }
};

struct FindHandleTraits {
  using Type = HANDLE;
  static Type Invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static bool IsValid(Type h) noexcept { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void Close(Type h) noexcept { ::FindClose(h); }
};

struct RegKeyTraits {
  using Type = HKEY;
  static Type Invalid() noexcept { return nullptr; }
  static bool IsValid(Type h) noexcept { return h != nullptr; }
  static void Close(Type h) noexcept { ::RegCloseKey(h); }
};

struct ModuleTraits {
  using Type = HMODULE;
  static Type Invalid() noexcept { return nullptr; }
  static bool IsValid(Type h) noexcept { return h != nullptr; }
  static void Close(Type h) noexcept { ::FreeLibrary(h); }
};

// Volume enumerations (FindFirstVolumeW).
struct FindVolumeTraits {
  using Type = HANDLE;
  static Type Invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static bool IsValid(Type h) noexcept { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void Close(Type h) noexcept { ::FindVolumeClose(h); }
};

// SetupAPI device information sets (HDEVINFO). SetupAPI is loaded at run
// time, so Close is defined beside the code that uses it.
struct DeviceInfoSetTraits {
  using Type = void*;
  static Type Invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static bool IsValid(Type h) noexcept { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void Close(Type h) noexcept;
};

// Zip archives opened with minizip (unzFile is an opaque pointer). Close is
// defined beside the zip code so this header does not pull in minizip.
struct ZipArchiveTraits {
  using Type = void*;
  static Type Invalid() noexcept { return nullptr; }
  static bool IsValid(Type h) noexcept { return h != nullptr; }
  static void Close(Type h) noexcept;
};

// Sockets (SOCKET is a UINT_PTR; INVALID_SOCKET is all bits set). Close is
// defined beside the socket code so this header does not pull in Winsock.
struct SocketTraits {
  using Type = UINT_PTR;
  static Type Invalid() noexcept { return ~static_cast<UINT_PTR>(0); }
  static bool IsValid(Type h) noexcept { return h != Invalid(); }
  static void Close(Type h) noexcept;
};

// CryptoAPI provider, key and hash handles (all ULONG_PTR, 0 when absent).
// Close is defined beside the CryptoAPI code.
struct CryptProviderTraits {
  using Type = ULONG_PTR;
  static Type Invalid() noexcept { return 0; }
  static bool IsValid(Type h) noexcept { return h != 0; }
  static void Close(Type h) noexcept;
};
struct CryptKeyTraits {
  using Type = ULONG_PTR;
  static Type Invalid() noexcept { return 0; }
  static bool IsValid(Type h) noexcept { return h != 0; }
  static void Close(Type h) noexcept;
};
struct CryptHashTraits {
  using Type = ULONG_PTR;
  static Type Invalid() noexcept { return 0; }
  static bool IsValid(Type h) noexcept { return h != 0; }
  static void Close(Type h) noexcept;
};

// COM interface pointers: one reference, released on close.
template <typename Interface>
struct ComTraits {
  using Type = Interface*;
  static Type Invalid() noexcept { return nullptr; }
  static bool IsValid(Type h) noexcept { return h != nullptr; }
  static void Close(Type h) noexcept { h->Release(); }
};

// BSTR texts (SysAllocString). Close is defined beside the COM code.
struct BstrTraits {
  using Type = wchar_t*;
  static Type Invalid() noexcept { return nullptr; }
  static bool IsValid(Type h) noexcept { return h != nullptr; }
  static void Close(Type h) noexcept;
};

using UniqueKernelHandle = UniqueHandle<KernelHandleTraits>;
using UniqueFileHandle = UniqueHandle<FileHandleTraits>;
using UniqueFindHandle = UniqueHandle<FindHandleTraits>;
using UniqueRegKey = UniqueHandle<RegKeyTraits>;
using UniqueModule = UniqueHandle<ModuleTraits>;
using UniqueZipArchive = UniqueHandle<ZipArchiveTraits>;
using UniqueFindVolume = UniqueHandle<FindVolumeTraits>;
using UniqueDeviceInfoSet = UniqueHandle<DeviceInfoSetTraits>;
using UniqueSocket = UniqueHandle<SocketTraits>;
using UniqueCryptProvider = UniqueHandle<CryptProviderTraits>;
using UniqueCryptKey = UniqueHandle<CryptKeyTraits>;
using UniqueCryptHash = UniqueHandle<CryptHashTraits>;
using UniqueBstr = UniqueHandle<BstrTraits>;
template <typename Interface>
using UniqueCom = UniqueHandle<ComTraits<Interface>>;

// Top-level windows owned by the code that created them.
struct WindowTraits {
  using Type = HWND;
  static Type Invalid() noexcept { return nullptr; }
  static bool IsValid(Type h) noexcept { return h != nullptr; }
  static void Close(Type h) noexcept {
    if (::IsWindow(h)) ::DestroyWindow(h);
  }
};
using UniqueWindow = UniqueHandle<WindowTraits>;

// GDI objects (pens, brushes, fonts, bitmaps, regions) made by the program.
struct GdiObjectTraits {
  using Type = HGDIOBJ;
  static Type Invalid() noexcept { return nullptr; }
  static bool IsValid(Type h) noexcept { return h != nullptr; }
  static void Close(Type h) noexcept { ::DeleteObject(h); }
};
using UniqueGdiObject = UniqueHandle<GdiObjectTraits>;

// Memory device contexts (CreateCompatibleDC): deleted.
struct MemoryDcTraits {
  using Type = HDC;
  static Type Invalid() noexcept { return nullptr; }
  static bool IsValid(Type h) noexcept { return h != nullptr; }
  static void Close(Type h) noexcept { ::DeleteDC(h); }
};
using UniqueMemoryDc = UniqueHandle<MemoryDcTraits>;

// Device contexts of a window or of the screen (GetDC): released to the
// window they came from, which the system still knows from the DC.
struct WindowDcTraits {
  using Type = HDC;
  static Type Invalid() noexcept { return nullptr; }
  static bool IsValid(Type h) noexcept { return h != nullptr; }
  static void Close(Type h) noexcept { ::ReleaseDC(::WindowFromDC(h), h); }
};
using UniqueWindowDc = UniqueHandle<WindowDcTraits>;

// The GDI+ session token of GdiplusStartup, given back to GdiplusShutdown.
// Close is defined beside the GDI+ code, which alone links GDI+.
struct GdiplusTokenTraits {
  using Type = ULONG_PTR;
  static Type Invalid() noexcept { return 0; }
  static bool IsValid(Type h) noexcept { return h != 0; }
  static void Close(Type h) noexcept;
};
using UniqueGdiplusToken = UniqueHandle<GdiplusTokenTraits>;
