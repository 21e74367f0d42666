// Lets a stopping thread make a worker's blocking network call fail at once.
// The worker attaches the client it is about to block on for the length of
// that call; Abort() aborts the attached client and every one attached later.
#pragma once

#include "sys/xmutex.h"

class CTCPClient;

class ClientSlot {
 public:
  ClientSlot() = default;
  ClientSlot(const ClientSlot&) = delete;
  ClientSlot& operator=(const ClientSlot&) = delete;

  // Any thread.
  void Abort() noexcept;
  bool IsAborted() noexcept;

 private:
  friend class AttachedClient;
  CXMutex lock_;
  CTCPClient* client_ = nullptr;
  bool aborted_ = false;
};

// Attaches a client to a slot for its own lifetime; a client attached to an
// aborted slot is aborted at once.
class AttachedClient {
 public:
  AttachedClient(ClientSlot& slot, CTCPClient& client) noexcept;
  ~AttachedClient();
  AttachedClient(const AttachedClient&) = delete;
  AttachedClient& operator=(const AttachedClient&) = delete;

 private:
  ClientSlot& slot_;
};
