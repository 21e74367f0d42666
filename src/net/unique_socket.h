// Sockets are owned by UniqueSocket, the socket kind of the one handle
// template (sys/unique_handle.h). Its closer lives here, beside the socket
// code, so that only code that uses sockets links Winsock.
#pragma once

#include <winsock2.h>

#include <type_traits>

#include "sys/unique_handle.h"

static_assert(std::is_same<SOCKET, SocketTraits::Type>::value,
              "UniqueSocket must hold a Winsock SOCKET unchanged");
static_assert(INVALID_SOCKET == ~static_cast<SOCKET>(0), "INVALID_SOCKET is all bits set");
