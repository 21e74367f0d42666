// One HTTP exchange over Winsock: connect, send a whole request, read the
// reply head. The caller has started Winsock (WSAStartup).
#pragma once

#include <windows.h>

#include <string>

#include "vexa/core/upload_target.h"

struct ExchangeLimits {
  DWORD connectMs = 5000;
  DWORD totalMs = 30000;
};

// Sends `request` to the target's host and port and returns the status code
// of the reply, or 0 when there was none (no address, refused, time-out,
// malformed reply, cancelled). `cancel` may be null; once it is signalled
// every wait ends within a tenth of a second, so a stopping thread is never
// held up by the network. Name resolution is the one step that cannot be
// cancelled; it lasts as long as the system resolver takes.
int ExchangeHttp(const UploadTarget& target, const std::string& request, HANDLE cancel,
                 const ExchangeLimits& limits = ExchangeLimits());
