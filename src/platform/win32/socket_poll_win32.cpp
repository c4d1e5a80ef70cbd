// Room for more sockets than Winsock's default of 64 in one wait.
#define FD_SETSIZE 256
#include <winsock2.h>

#include "platform/socket_poll.h"
#include "platform/udp_socket.h"

namespace platform {

// select() rather than WSAPoll, which Windows before Vista lacks. A socket with a pending error
// (a datagram's port unreachable, for one) reads as readable here too.
std::vector<bool> PollReadable(const std::vector<std::intptr_t>& sockets, int timeoutMs) {
  std::vector<bool> ready(sockets.size(), false);
  fd_set readable;
  FD_ZERO(&readable);
  for (std::intptr_t handle : sockets) {
    const auto socket = static_cast<SOCKET>(handle);
    if (handle == kNoSocket || socket == INVALID_SOCKET || readable.fd_count >= FD_SETSIZE)
      continue;
    FD_SET(socket, &readable);
  }
  // Winsock refuses a wait on no socket at all.
  if (readable.fd_count == 0) return ready;
  timeval timeout{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
  if (::select(0, &readable, nullptr, nullptr, timeoutMs < 0 ? nullptr : &timeout) <= 0)
    return ready;
  for (std::size_t i = 0; i < sockets.size(); ++i)
    ready[i] = FD_ISSET(static_cast<SOCKET>(sockets[i]), &readable) != 0;
  return ready;
}

}  // namespace platform
