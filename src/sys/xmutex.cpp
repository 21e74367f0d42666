#include "sys/xmutex.h"

#include <utility>

CXMutex::CXMutex() : handle(::CreateMutexW(nullptr, FALSE, nullptr)) {}

CXMutex::CXMutex(UniqueKernelHandle mutex) noexcept : handle(std::move(mutex)) {}

CXMutex::~CXMutex() = default;

void CXMutex::Lock() noexcept {
  if (!handle) return;
  ::WaitForSingleObject(handle.get(), INFINITE);
}

void CXMutex::Unlock() noexcept {
  if (!handle) return;
  ::ReleaseMutex(handle.get());
}
