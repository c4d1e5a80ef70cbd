#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/ip.h>
#include <netinet/ip_icmp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <vector>

#include "platform/icmp_echo.h"
#include "platform/socket_api.h"

namespace platform {

namespace {

std::uint16_t Checksum(const std::uint8_t* data, std::size_t length) {
  std::uint32_t sum = 0;
  for (std::size_t i = 0; i + 1 < length; i += 2) sum += (data[i] << 8) | data[i + 1];
  if (length % 2) sum += data[length - 1] << 8;
  while (sum >> 16) sum = (sum & 0xFFFF) + (sum >> 16);
  return static_cast<std::uint16_t>(~sum);
}

long long NowMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// Each echo gets its own sequence number, so a late reply to an earlier echo never counts.
std::uint16_t NextSequence() {
  static std::atomic<std::uint16_t> sequence{0};
  return ++sequence;
}

struct EchoSocketFd {
  int fd = -1;
  bool raw = false;
  int error = 0;
  ~EchoSocketFd() {
    if (fd >= 0) ::close(fd);
  }
};

void OpenEchoSocket(EchoSocket kind, EchoSocketFd& out) {
  if (kind != EchoSocket::kRawOnly) {
    out.fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_ICMP);
    if (out.fd >= 0 || kind == EchoSocket::kPingOnly) {
      out.error = out.fd >= 0 ? 0 : errno;
      return;
    }
  }
  out.raw = true;
  out.fd = ::socket(AF_INET, SOCK_RAW | SOCK_CLOEXEC, IPPROTO_ICMP);
  out.error = out.fd >= 0 ? 0 : errno;
}

// The ICMP message of a received packet: a raw socket hands over the IP header too.
const std::uint8_t* IcmpPart(const std::uint8_t* packet, std::size_t& length, bool raw) {
  if (!raw) return packet;
  if (length < 20) return nullptr;
  const std::size_t header = (packet[0] & 0x0F) * 4u;
  if (header < 20 || header > length) return nullptr;
  length -= header;
  return packet + header;
}

// A ping socket lets the kernel choose the identifier and filter replies by it; a raw socket
// sees every ICMP packet of the host, so the reply is matched by source, identifier and sequence.
bool IsOurReply(const std::uint8_t* icmp, std::size_t length, bool raw, std::uint16_t id,
                std::uint16_t sequence, std::uint32_t from, std::uint32_t target) {
  if (icmp == nullptr || length < 8 || icmp[0] != ICMP_ECHOREPLY || icmp[1] != 0) return false;
  if (((icmp[6] << 8) | icmp[7]) != sequence) return false;
  if (!raw) return true;
  return from == target && ((icmp[4] << 8) | icmp[5]) == id;
}

}  // namespace

EchoResult SendIcmpEcho(const EchoRequest& request) {
  EchoResult result;
  if (!sockets::EchoRequestInRange(request)) {
    result.status = EchoStatus::kBadRequest;
    return result;
  }
  EchoSocketFd sock;
  OpenEchoSocket(request.socket, sock);
  result.raw = sock.raw;
  if (sock.fd < 0) {
    result.status = EchoStatus::kNoSocket;
    result.error = sock.error;
    return result;
  }
  ::setsockopt(sock.fd, IPPROTO_IP, IP_TTL, &request.ttl, sizeof request.ttl);

  const std::uint16_t id = static_cast<std::uint16_t>(::getpid());
  const std::uint16_t sequence = NextSequence();
  std::vector<std::uint8_t> packet(8 + static_cast<std::size_t>(request.dataSize));
  packet[0] = ICMP_ECHO;
  packet[4] = static_cast<std::uint8_t>(id >> 8);
  packet[5] = static_cast<std::uint8_t>(id);
  packet[6] = static_cast<std::uint8_t>(sequence >> 8);
  packet[7] = static_cast<std::uint8_t>(sequence);
  for (std::size_t i = 8; i < packet.size(); ++i) packet[i] = static_cast<std::uint8_t>(i);
  const std::uint16_t sum = Checksum(packet.data(), packet.size());
  packet[2] = static_cast<std::uint8_t>(sum >> 8);
  packet[3] = static_cast<std::uint8_t>(sum);

  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_addr.s_addr = htonl(request.address);
  if (::sendto(sock.fd, packet.data(), packet.size(), 0, reinterpret_cast<sockaddr*>(&to),
               sizeof to) < 0) {
    result.status = EchoStatus::kSendFailed;
    result.error = errno;
    return result;
  }

  std::vector<std::uint8_t> buffer(packet.size() + 128);
  const long long deadline = NowMs() + request.timeoutMs;
  for (long long left = request.timeoutMs; left >= 0; left = deadline - NowMs()) {
    pollfd readable{sock.fd, POLLIN, 0};
    if (::poll(&readable, 1, static_cast<int>(left)) <= 0) continue;
    sockaddr_in from{};
    socklen_t size = sizeof from;
    const ssize_t got = ::recvfrom(sock.fd, buffer.data(), buffer.size(), MSG_DONTWAIT,
                                   reinterpret_cast<sockaddr*>(&from), &size);
    if (got < 0) continue;
    std::size_t length = static_cast<std::size_t>(got);
    const std::uint8_t* icmp = IcmpPart(buffer.data(), length, sock.raw);
    if (IsOurReply(icmp, length, sock.raw, id, sequence, ntohl(from.sin_addr.s_addr),
                   request.address)) {
      result.status = EchoStatus::kReply;
      return result;
    }
  }
  result.status = EchoStatus::kTimedOut;
  return result;
}

}  // namespace platform
