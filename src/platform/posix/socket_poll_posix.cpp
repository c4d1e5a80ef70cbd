#include <poll.h>

#include "platform/socket_poll.h"

namespace platform {

std::vector<bool> PollReadable(const std::vector<std::intptr_t>& sockets, int timeoutMs) {
  std::vector<pollfd> fds(sockets.size());
  for (std::size_t i = 0; i < sockets.size(); ++i)
    fds[i] = pollfd{static_cast<int>(sockets[i]), POLLIN, 0};
  std::vector<bool> ready(sockets.size(), false);
  if (poll(fds.data(), fds.size(), timeoutMs) <= 0) return ready;
  for (std::size_t i = 0; i < fds.size(); ++i)
    ready[i] = (fds[i].revents & (POLLIN | POLLERR)) != 0;
  return ready;
}

}  // namespace platform
