#pragma once

// The part of the sockets API that POSIX and Winsock share, written once for the two
// implementations of the platform's network services. Nothing above the platform includes it.
#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#endif

#include "platform/icmp_echo.h"
#include "platform/name_lookup.h"
#include "platform/udp_socket.h"

namespace platform::sockets {

inline sockaddr_in ToSockaddr(const Ipv4Endpoint& endpoint) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(endpoint.address);
  address.sin_port = htons(endpoint.port);
  return address;
}

inline Ipv4Endpoint FromSockaddr(const sockaddr_in& address) {
  return {ntohl(address.sin_addr.s_addr), ntohs(address.sin_port)};
}

// The resolver's question for the IPv4 addresses of a host.
inline addrinfo Ipv4Question() {
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_DGRAM;
  return hints;
}

// The first IPv4 address of the resolver's answer; not found without one. The caller frees the
// answer with the freeaddrinfo of the getaddrinfo that made it.
inline LookupResult FirstIpv4(const addrinfo* found) {
  LookupResult result{LookupStatus::kNotFound, 0};
  for (const addrinfo* entry = found; entry != nullptr; entry = entry->ai_next) {
    if (entry->ai_family != AF_INET || entry->ai_addrlen < sizeof(sockaddr_in)) continue;
    const auto* address = reinterpret_cast<const sockaddr_in*>(entry->ai_addr);
    result = {LookupStatus::kOk, ntohl(address->sin_addr.s_addr)};
    break;
  }
  return result;
}

// What no system is asked to send: a size or lifetime out of range.
inline bool EchoRequestInRange(const EchoRequest& request) {
  constexpr int kMaxDataSize = 65000;
  return request.dataSize >= 0 && request.dataSize <= kMaxDataSize && request.ttl >= 1 &&
         request.ttl <= 255 && request.timeoutMs >= 0;
}

}  // namespace platform::sockets
