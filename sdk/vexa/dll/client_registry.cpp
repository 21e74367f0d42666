#include "vexa/dll/client_registry.h"

#include <memory>

ClientRegistry& ClientRegistry::Instance() {
  static ClientRegistry* instance = new ClientRegistry();
  return *instance;
}

void* ClientRegistry::Create() {
  auto worker = std::make_unique<UploadWorker>(DllSpool());
  if (!worker->IsRunning()) return nullptr;
  CXMutexLock guard(lock_);
  UploadWorker* handle = worker.release();
  workers_.insert(handle);
  return handle;
}

bool ClientRegistry::Contains(void* handle) {
  if (!handle) return false;
  CXMutexLock guard(lock_);
  return workers_.count(static_cast<UploadWorker*>(handle)) != 0;
}

std::unique_ptr<UploadWorker> ClientRegistry::Take(void* handle) {
  if (!handle) return nullptr;
  CXMutexLock guard(lock_);
  const auto found = workers_.find(static_cast<UploadWorker*>(handle));
  if (found == workers_.end()) return nullptr;
  std::unique_ptr<UploadWorker> worker(*found);
  workers_.erase(found);
  return worker;
}

void ClientRegistry::WakeAll() {
  CXMutexLock guard(lock_);
  for (UploadWorker* worker : workers_) worker->Wake();
}

const Spool& DllSpool() {
  static const Spool* spool = new Spool(SpoolFolderBesideModule(reinterpret_cast<const void*>(&DllSpool)));
  return *spool;
}
