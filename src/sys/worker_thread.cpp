#include "sys/worker_thread.h"

#include <process.h>

namespace {

constexpr int kNotRunExitCode = -1;

}  // namespace

COrvaneBasedThread::COrvaneBasedThread()
    : stopEvent(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
  // A worker that could not be told to stop must not run at all.
  if (stopEvent) {
    // The C runtime's creation function, not CreateThread, so that the
    // runtime's per-thread data is set up and freed with the thread.
    const uintptr_t thread =
        ::_beginthreadex(nullptr, 0, &COrvaneBasedThread::ThreadEntry, this, CREATE_SUSPENDED, nullptr);
    handle.reset(reinterpret_cast<HANDLE>(thread));
  }
  if (!handle) running = 0;
}

COrvaneBasedThread::~COrvaneBasedThread() { StopWorkerThread(); }

void COrvaneBasedThread::ReleaseThread() noexcept {
  if (!handle || !suspended.load()) return;
  suspended = 0;
  ::ResumeThread(handle.get());
}

void COrvaneBasedThread::StopWorkerThread() noexcept {
  if (!handle) return;
  stopRequested = true;
  ::SetEvent(stopEvent.get());
  OnStopRequested();
  // Still suspended: the thread was never released. Resuming it with the flag
  // still set lets ThreadEntry end it without calling Run.
  if (suspended.load()) ::ResumeThread(handle.get());
  ::WaitForSingleObject(handle.get(), INFINITE);
  handle.reset();
}

bool COrvaneBasedThread::SleepUnlessStopped(DWORD ms) const noexcept {
  if (stopRequested.load()) return false;
  return ::WaitForSingleObject(stopEvent.get(), ms) == WAIT_TIMEOUT;
}

unsigned __stdcall COrvaneBasedThread::ThreadEntry(void* object) {
  auto* self = static_cast<COrvaneBasedThread*>(object);
  int exitCode = kNotRunExitCode;
  if (!self->suspended.load()) {
    // An exception escaping a thread would end the whole installer.
    try {
      exitCode = self->Run();
    } catch (...) {
      exitCode = kNotRunExitCode;
    }
  }
  self->running = 0;
  return static_cast<unsigned>(exitCode);
}
