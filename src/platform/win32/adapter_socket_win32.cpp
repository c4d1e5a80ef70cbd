// Windows 2000 and XP tie a socket to an adapter only by binding it to the adapter's address (the
// interface option came with Vista), and an adapter without an address has an automatic one
// (169.254/16) there, so a socket bound to that address reaches it.
#include <winsock2.h>

#include "platform/udp_socket.h"

namespace platform {

bool TiesSocketsToAdapters() {
  return false;
}

int TieSocketToAdapter(SocketHandle, std::uint32_t) {
  return WSAEOPNOTSUPP;
}

int SendDatagramFrom(SocketHandle, std::uint32_t, std::uint32_t, const std::uint8_t*, std::size_t,
                     const Ipv4Endpoint&) {
  return -WSAEOPNOTSUPP;
}

}  // namespace platform
