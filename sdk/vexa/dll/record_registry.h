// The live records of the process. Records are handed out as opaque
// pointers; the registry tells real ones from stale or foreign pointers (a
// double free or a write after free does nothing) and serialises all work on
// them. Safe from any thread.
#pragma once

#include <map>
#include <memory>

#include "sys/xmutex.h"
#include "vexa/core/record.h"

class RecordRegistry {
 public:
  static RecordRegistry& Instance();

  void* Create(int kind, RecordContext context);

  // Runs body(Record&) under the registry's lock when `handle` is a live
  // record; returns body's result, or `unknown` otherwise.
  template <typename Result, typename Body>
  Result With(void* handle, Result unknown, Body&& body) {
    if (!handle) return unknown;
    CXMutexLock guard(lock_);
    const auto found = records_.find(handle);
    if (found == records_.end()) return unknown;
    return body(*found->second);
  }

  // Forgets and destroys the record; unknown handles are ignored.
  void Release(void* handle);

 private:
  RecordRegistry() = default;

  CXMutex lock_;
  std::map<void*, std::unique_ptr<Record>> records_;
};
