#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

#include "platform/socket_api.h"
#include "platform/udp_socket.h"

namespace platform {

namespace {

int Fd(SocketHandle socket) {
  return static_cast<int>(socket);
}

}  // namespace

UdpOpenResult OpenUdpSocket(const Ipv4Endpoint& local, bool allowBroadcast) {
  const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd < 0) return {kNoSocket, errno};
  const int on = 1;
  if (allowBroadcast && ::setsockopt(fd, SOL_SOCKET, SO_BROADCAST, &on, sizeof on) != 0) {
    const int error = errno;
    ::close(fd);
    return {kNoSocket, error};
  }
  const sockaddr_in address = sockets::ToSockaddr(local);
  if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    const int error = errno;
    ::close(fd);
    return {kNoSocket, error};
  }
  return {fd, 0};
}

void CloseSocket(SocketHandle socket) {
  if (socket != kNoSocket) ::close(Fd(socket));
}

int SendDatagram(SocketHandle socket, const std::uint8_t* data, std::size_t length,
                 const Ipv4Endpoint& to) {
  const sockaddr_in address = sockets::ToSockaddr(to);
  ssize_t sent;
  do {
    sent = ::sendto(Fd(socket), data, length, MSG_NOSIGNAL,
                    reinterpret_cast<const sockaddr*>(&address), sizeof address);
  } while (sent < 0 && errno == EINTR);
  return sent < 0 ? -errno : static_cast<int>(sent);
}

int ReceiveDatagram(SocketHandle socket, std::uint8_t* buffer, std::size_t capacity,
                    Ipv4Endpoint* from) {
  sockaddr_in address{};
  socklen_t size = sizeof address;
  ssize_t received;
  do {
    received =
        ::recvfrom(Fd(socket), buffer, capacity, 0, reinterpret_cast<sockaddr*>(&address), &size);
  } while (received < 0 && errno == EINTR);
  if (received < 0) return -errno;
  if (from) *from = sockets::FromSockaddr(address);
  return static_cast<int>(received);
}

int WouldBlockError() {
  return EAGAIN;
}

std::optional<Ipv4Endpoint> LocalEndpoint(SocketHandle socket) {
  sockaddr_in address{};
  socklen_t size = sizeof address;
  if (::getsockname(Fd(socket), reinterpret_cast<sockaddr*>(&address), &size) != 0)
    return std::nullopt;
  return sockets::FromSockaddr(address);
}

std::vector<bool> WaitReadable(const std::vector<SocketHandle>& sockets, int timeoutMs) {
  std::vector<pollfd> fds(sockets.size());
  for (std::size_t i = 0; i < sockets.size(); ++i) fds[i] = pollfd{Fd(sockets[i]), POLLIN, 0};
  std::vector<bool> ready(sockets.size(), false);
  if (::poll(fds.data(), fds.size(), timeoutMs) <= 0) return ready;
  for (std::size_t i = 0; i < fds.size(); ++i)
    ready[i] = (fds[i].revents & (POLLIN | POLLERR)) != 0;
  return ready;
}

}  // namespace platform
