#include "net/unique_socket.h"

void SocketTraits::Close(Type h) noexcept { ::closesocket(static_cast<SOCKET>(h)); }
