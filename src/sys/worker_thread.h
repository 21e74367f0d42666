// COrvaneBasedThread: the base of every worker thread.
//
// Start protocol. The base constructor creates the thread suspended; the
// most-derived constructor sets up its own fields and calls ReleaseThread()
// as its last statement. Run therefore never sees a half-built object, and an
// object destroyed before release (a derived constructor that threw) ends its
// thread without ever calling Run. Intermediate classes must not release: only
// the class whose fields are the last to be built knows when that is, so
// concrete workers are best declared final.
//
// Stop protocol. No thread is ever terminated: a thread killed while it holds
// a lock, a heap lock or a half-written stream would leave them in use by the
// rest of the process. StopWorkerThread instead asks the worker to stop and
// joins it:
//   1. stopRequested is set; Run polls it between its steps.
//   2. The manual-reset stop event is signalled; a worker waits on it (through
//      SleepUnlessStopped or StopEvent) instead of sleeping, so its waits end
//      at once.
//   3. OnStopRequested() runs on the stopping thread; a worker overrides it to
//      make its blocking call fail at once (for example by shutting down the
//      socket it sits in recv on).
//   4. A thread never released is resumed and ends without calling Run.
//   5. The thread is joined without time-out.
// The destroying thread therefore blocks only as long as Run takes to notice
// the stop; a worker that polls, waits on the stop event and interrupts its
// blocking calls keeps that short.
//
// Destruction. Every derived destructor must call StopWorkerThread() first,
// before any of its own members go away: by the time the base destructor runs,
// the derived members (sockets, buffers, locks) are already destroyed while
// Run may still be using them, and the derived OnStopRequested can no longer be
// reached. The base destructor calls StopWorkerThread() again as a safety net;
// after a completed stop that second call returns at once.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>

#include "sys/unique_handle.h"

class COrvaneBasedThread {
 public:
  virtual ~COrvaneBasedThread();

  COrvaneBasedThread(const COrvaneBasedThread&) = delete;
  COrvaneBasedThread& operator=(const COrvaneBasedThread&) = delete;

  // False once Run has returned, and from the start when no thread could be
  // created (so an owner polling it never waits for a thread that does not
  // exist). May be read from any thread.
  bool IsRunning() const noexcept { return running.load() != 0; }

  // The thread's handle for waiting on it or reading its exit code; null when
  // no thread was created and after the thread was joined.
  HANDLE ThreadHandle() const noexcept { return handle.get(); }

 protected:
  // Creates the stop event and the thread, suspended. When either cannot be
  // created there is no thread: ReleaseThread does nothing and the worker
  // simply never runs.
  COrvaneBasedThread();

  // Last statement of the most-derived constructor: lets the thread run.
  void ReleaseThread() noexcept;

  // Asks the worker to stop and joins it (see above). Called by every derived
  // destructor first, on the destroying thread (never on the worker itself);
  // a second call returns at once.
  void StopWorkerThread() noexcept;

  // The worker's body; its result becomes the thread's exit code. Anything it
  // raises is caught at the thread's entry and ends the thread with -1.
  virtual int Run() = 0;

  // Called on the stopping thread while Run may be executing: must only do
  // what is safe against Run running at the same moment. Default: nothing.
  virtual void OnStopRequested() noexcept {}

  bool IsStopRequested() const noexcept { return stopRequested.load(); }

  // Waits up to ms milliseconds on the stop event. True when the time passed,
  // false when a stop was requested (before or during the wait).
  bool SleepUnlessStopped(DWORD ms) const noexcept;

  // Manual-reset event signalled by a stop request, for workers that wait on
  // several objects at once. Never null while the thread exists.
  HANDLE StopEvent() const noexcept { return stopEvent.get(); }

 private:
  static unsigned __stdcall ThreadEntry(void* object);

  std::atomic<std::uint8_t> suspended{1};
  std::atomic<std::uint8_t> running{1};
  std::atomic<bool> stopRequested{false};
  UniqueKernelHandle stopEvent;
  UniqueKernelHandle handle;
};
