// The live Vexa handles of the process. A handle is an UploadWorker; the
// registry tells real handles from stale or foreign pointers and wakes every
// worker when a record is committed. Safe from any thread.
#pragma once

#include <memory>
#include <set>

#include "sys/xmutex.h"
#include "vexa/dll/upload_worker.h"

class ClientRegistry {
 public:
  // Never destroyed: DLL unload at process exit must not join threads.
  static ClientRegistry& Instance();

  // Starts a worker on the DLL's spool and returns it as the new handle, or
  // null when that is impossible.
  void* Create();
  bool Contains(void* handle);
  // Removes the handle; its worker (null for an unknown handle) now belongs
  // to the caller.
  std::unique_ptr<UploadWorker> Take(void* handle);
  void WakeAll();

 private:
  ClientRegistry() = default;

  CXMutex lock_;
  std::set<UploadWorker*> workers_;
};

// The spool folder of Vexa.dll: "spool" beside the DLL.
const Spool& DllSpool();
