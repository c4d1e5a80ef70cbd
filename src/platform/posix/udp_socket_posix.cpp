#include <arpa/inet.h>
#include <fcntl.h>
#include <linux/if_ether.h>
#include <linux/if_packet.h>
#include <net/if.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/posix/udp_frame.h"
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

bool TiesSocketsToAdapters() {
  return true;
}

int TieSocketToAdapter(SocketHandle socket, std::uint32_t adapterIndex) {
  char name[IF_NAMESIZE] = {};
  if (!::if_indextoname(adapterIndex, name)) return errno;
  if (::setsockopt(Fd(socket), SOL_SOCKET, SO_BINDTODEVICE, name, sizeof name) != 0) return errno;
  return 0;
}

namespace {

// A packet socket bypasses the kernel's choice of a source address, which for an adapter without
// one would be another adapter's; it needs the rights that the wizard, which renews leases, runs
// with anyway.
int SendWithoutAddress(SocketHandle socket, std::uint32_t adapterIndex, const std::uint8_t* data,
                       std::size_t length, const Ipv4Endpoint& to) {
  const std::optional<Ipv4Endpoint> local = LocalEndpoint(socket);
  if (!local) return -errno;
  const std::vector<std::uint8_t> frame = posix::Ipv4UdpFrame({0, local->port}, to, data, length);
  const int packets = ::socket(AF_PACKET, SOCK_DGRAM | SOCK_CLOEXEC, htons(ETH_P_IP));
  if (packets < 0) return -errno;
  sockaddr_ll link{};
  link.sll_family = AF_PACKET;
  link.sll_protocol = htons(ETH_P_IP);
  link.sll_ifindex = static_cast<int>(adapterIndex);
  link.sll_halen = ETH_ALEN;
  std::fill_n(link.sll_addr, ETH_ALEN, 0xFF);
  ssize_t sent;
  do {
    sent = ::sendto(packets, frame.data(), frame.size(), MSG_NOSIGNAL,
                    reinterpret_cast<const sockaddr*>(&link), sizeof link);
  } while (sent < 0 && errno == EINTR);
  const int error = errno;
  ::close(packets);
  if (sent < 0) return -error;
  return static_cast<int>(length);
}

}  // namespace

int SendDatagramFrom(SocketHandle socket, std::uint32_t adapterIndex, std::uint32_t from,
                     const std::uint8_t* data, std::size_t length, const Ipv4Endpoint& to) {
  if (from == 0) return SendWithoutAddress(socket, adapterIndex, data, length, to);
  sockaddr_in address = sockets::ToSockaddr(to);
  iovec payload{const_cast<std::uint8_t*>(data), length};
  alignas(cmsghdr) std::uint8_t control[CMSG_SPACE(sizeof(in_pktinfo))] = {};
  msghdr message{};
  message.msg_name = &address;
  message.msg_namelen = sizeof address;
  message.msg_iov = &payload;
  message.msg_iovlen = 1;
  message.msg_control = control;
  message.msg_controllen = sizeof control;
  cmsghdr* header = CMSG_FIRSTHDR(&message);
  header->cmsg_level = IPPROTO_IP;
  header->cmsg_type = IP_PKTINFO;
  header->cmsg_len = CMSG_LEN(sizeof(in_pktinfo));
  auto* info = reinterpret_cast<in_pktinfo*>(CMSG_DATA(header));
  info->ipi_ifindex = static_cast<int>(adapterIndex);
  info->ipi_spec_dst.s_addr = htonl(from);
  ssize_t sent;
  do {
    sent = ::sendmsg(Fd(socket), &message, MSG_NOSIGNAL);
  } while (sent < 0 && errno == EINTR);
  return sent < 0 ? -errno : static_cast<int>(sent);
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
