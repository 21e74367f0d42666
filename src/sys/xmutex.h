// CXMutex: the lock every shared object embeds, and CXMutexLock, the scoped
// guard that pairs Lock and Unlock on every path.
#pragma once

#include <windows.h>

#include "sys/unique_handle.h"

// An unnamed Windows mutex, not initially owned, default security. When the
// mutex cannot be created the object has no handle and Lock/Unlock do nothing,
// so the owner keeps working, unlocked. Like every Windows mutex it may be
// taken again by the thread that holds it; each Lock needs its own Unlock.
class CXMutex {
 public:
  CXMutex();
  // Adopts an existing mutex; an empty handle gives an object that works
  // unlocked (as when creation failed).
  explicit CXMutex(UniqueKernelHandle mutex) noexcept;
  virtual ~CXMutex();

  CXMutex(const CXMutex&) = delete;
  CXMutex& operator=(const CXMutex&) = delete;

  // Waits without time-out. An abandoned mutex (its holder ended without
  // unlocking) is taken over like a released one.
  void Lock() noexcept;
  void Unlock() noexcept;

  bool HasHandle() const noexcept { return handle.valid(); }

 private:
  UniqueKernelHandle handle;
};

// Holds a CXMutex for the lifetime of the guard.
class CXMutexLock {
 public:
  explicit CXMutexLock(CXMutex& mutex) noexcept : mutex_(mutex) { mutex_.Lock(); }
  ~CXMutexLock() { mutex_.Unlock(); }

  CXMutexLock(const CXMutexLock&) = delete;
  CXMutexLock& operator=(const CXMutexLock&) = delete;

 private:
  CXMutex& mutex_;
};
