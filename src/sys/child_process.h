// COrvaneBasedProcess: starts a program hidden and lets its owner watch it.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "sys/unique_handle.h"

class COrvaneBasedProcess {
 public:
  // What the destructor does with a child that is still running.
  enum class OnDestroy { WaitForChild, LeaveRunning };

  // command: the whole command line, program first (quoted when its path
  // has spaces); no separate application name is used.
  explicit COrvaneBasedProcess(std::wstring command,
                               OnDestroy onDestroy = OnDestroy::WaitForChild);
  // Waits without time-out for a started child unless told to leave it
  // running, then closes both handles.
  virtual ~COrvaneBasedProcess();

  COrvaneBasedProcess(const COrvaneBasedProcess&) = delete;
  COrvaneBasedProcess& operator=(const COrvaneBasedProcess&) = delete;

  // Starts the child with its window hidden, without handle inheritance, in
  // this process's environment and current folder. True when started now or
  // earlier (a second call starts nothing); false when it cannot be started.
  bool Start();

  bool IsStarted() const noexcept { return process.valid(); }

  // Null until started. For polling: wait on it with a short time-out.
  HANDLE ProcessHandle() const noexcept { return process.get(); }

  // True when the child has ended, waiting up to timeoutMs for it; false when
  // it is still running or was never started.
  bool WaitForExit(DWORD timeoutMs) const noexcept;

  // The child's exit code once it has ended; empty while it runs or when it
  // was never started. (A child that is still running is not mistaken for one
  // that exited with STILL_ACTIVE.)
  std::optional<DWORD> ExitCode() const noexcept;

 private:
  bool waitOnDestroy;
  UniqueKernelHandle process;
  UniqueKernelHandle thread;
  std::wstring commandLine;
};
