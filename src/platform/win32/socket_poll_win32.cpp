#include <winsock2.h>

#include "platform/socket_poll.h"

namespace platform {

std::vector<bool> PollReadable(const std::vector<std::intptr_t>& sockets, int timeoutMs) {
  std::vector<WSAPOLLFD> fds(sockets.size());
  for (std::size_t i = 0; i < sockets.size(); ++i)
    fds[i] = WSAPOLLFD{static_cast<SOCKET>(sockets[i]), POLLRDNORM, 0};
  std::vector<bool> ready(sockets.size(), false);
  if (fds.empty() || WSAPoll(fds.data(), static_cast<ULONG>(fds.size()), timeoutMs) <= 0)
    return ready;
  for (std::size_t i = 0; i < fds.size(); ++i)
    ready[i] = (fds[i].revents & (POLLRDNORM | POLLERR)) != 0;
  return ready;
}

}  // namespace platform
