// Windows 2000 and XP have no way to tie a socket to an interface but its address (the interface
// option came with Vista), and an adapter without an address has an automatic one (169.254/16)
// there, so a socket bound to that address reaches it.
#include <winsock2.h>

#include "platform/udp_socket.h"

namespace platform {

int TieSocketToAdapter(SocketHandle, std::uint32_t, bool* tied) {
  *tied = false;
  return 0;
}

bool SendsWithoutAddress() {
  return false;
}

int SendDatagramWithoutAddress(SocketHandle, std::uint32_t, const std::uint8_t*, std::size_t,
                               const Ipv4Endpoint&) {
  return -WSAEOPNOTSUPP;
}

}  // namespace platform
