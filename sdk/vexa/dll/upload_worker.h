// The upload thread behind a Vexa handle: sends the spool's records to the
// configured target whenever there are any, retrying with back-off.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>

#include "sys/unique_handle.h"
#include "sys/worker_thread.h"
#include "vexa/core/spool.h"

class UploadWorker final : public COrvaneBasedThread {
 public:
  explicit UploadWorker(Spool spool);
  ~UploadWorker() override;

  // Something changed (a record was committed, the target was set): look at
  // the spool again. A pending back-off is kept unless the target changed.
  void Wake() noexcept;

  // Uploads everything now, whatever the back-off, and waits up to
  // timeoutMs for that attempt to end. True when the spool was emptied.
  // Whatever is not sent stays in the spool for a later run.
  bool Flush(DWORD timeoutMs) noexcept;

 private:
  int Run() override;
  // One attempt to empty the spool; updates the back-off.
  void Attempt();
  DWORD NextWaitMs() const;

  const Spool spool_;
  UniqueKernelHandle wake_;       // auto-reset
  UniqueKernelHandle flushDone_;  // manual-reset
  std::atomic<bool> flushRequested_{false};
  std::atomic<bool> lastFlushEmptied_{false};
  // Owned by the worker thread.
  DWORD backoffMs_ = 0;
  DWORD nextAttemptTick_ = 0;
  uint32_t seenGeneration_ = 0;
};
