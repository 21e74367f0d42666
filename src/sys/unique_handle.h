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

// Zip archives opened with minizip (unzFile is an opaque pointer). Close is
// defined beside the zip code so this header does not pull in minizip.
struct ZipArchiveTraits {
  using Type = void*;
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
