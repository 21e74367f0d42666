// The multimedia timer and clock, reached at run time (winmm is not one of
// the libraries the executable imports).
#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <atomic>

// Milliseconds since Windows started (timeGetTime); 0 when winmm is missing.
DWORD MultimediaTime();

// A periodic multimedia timer whose callback runs on the timer's own thread.
// Killed synchronously: once Kill returns on another thread no callback is
// running or will run; from inside the callback Kill returns at once.
class PeriodicTimer {
 public:
  PeriodicTimer() = default;
  ~PeriodicTimer() { Kill(); }

  PeriodicTimer(const PeriodicTimer&) = delete;
  PeriodicTimer& operator=(const PeriodicTimer&) = delete;

  // Starts the timer, killing a running one first; false when it could not
  // be created.
  bool Start(UINT delayMs, UINT resolutionMs, LPTIMECALLBACK callback, DWORD_PTR user);
  // Safe from the UI thread and from the callback at the same time.
  void Kill();

  bool IsRunning() const { return id_ != 0; }

 private:
  std::atomic<UINT> id_{0};
};
