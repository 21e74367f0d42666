#include "download/client_slot.h"

#include "net/tcp_client.h"

void ClientSlot::Abort() noexcept {
  CXMutexLock guard(lock_);
  aborted_ = true;
  if (client_ != nullptr) client_->Abort();
}

bool ClientSlot::IsAborted() noexcept {
  CXMutexLock guard(lock_);
  return aborted_;
}

AttachedClient::AttachedClient(ClientSlot& slot, CTCPClient& client) noexcept : slot_(slot) {
  CXMutexLock guard(slot_.lock_);
  if (slot_.aborted_) client.Abort();
  slot_.client_ = &client;
}

AttachedClient::~AttachedClient() {
  CXMutexLock guard(slot_.lock_);
  slot_.client_ = nullptr;
}
