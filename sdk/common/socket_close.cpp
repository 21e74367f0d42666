// The closer of UniqueSocket, kept apart so that only code using sockets links Winsock.
#include <winsock2.h>

#include "sys/unique_handle.h"

void SocketTraits::Close(Type h) noexcept { ::closesocket(static_cast<SOCKET>(h)); }
