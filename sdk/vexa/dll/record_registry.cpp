#include "vexa/dll/record_registry.h"

#include <memory>
#include <utility>

RecordRegistry& RecordRegistry::Instance() {
  static RecordRegistry* instance = new RecordRegistry();
  return *instance;
}

void* RecordRegistry::Create(int kind, RecordContext context) {
  auto record = std::make_unique<Record>(kind, std::move(context));
  void* handle = record.get();
  CXMutexLock guard(lock_);
  records_.emplace(handle, std::move(record));
  return handle;
}

void RecordRegistry::Release(void* handle) {
  std::unique_ptr<Record> doomed;
  {
    CXMutexLock guard(lock_);
    const auto found = records_.find(handle);
    if (found == records_.end()) return;
    doomed = std::move(found->second);
    records_.erase(found);
  }
}
