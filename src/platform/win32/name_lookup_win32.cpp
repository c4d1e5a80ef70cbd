#include <winsock2.h>
#include <ws2tcpip.h>

#include "platform/name_lookup.h"
#include "platform/win32/winsock.h"

namespace platform {

LookupResult LookupIpv4(const std::string& host) {
  if (!win32::EnsureWinsock()) return {LookupStatus::kFailed, 0};
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_DGRAM;
  addrinfo* found = nullptr;
  const int rc = ::getaddrinfo(host.c_str(), nullptr, &hints, &found);
  if (rc != 0) {
    // WSAHOST_NOT_FOUND and WSANO_DATA are the authoritative "no such name" answers; a server
    // that did not answer (WSATRY_AGAIN) or anything else is a failed lookup.
    const bool unknown = rc == EAI_NONAME || rc == WSANO_DATA;
    return {unknown ? LookupStatus::kNotFound : LookupStatus::kFailed, 0};
  }
  LookupResult result{LookupStatus::kNotFound, 0};
  for (const addrinfo* entry = found; entry != nullptr; entry = entry->ai_next) {
    if (entry->ai_family != AF_INET || entry->ai_addrlen < sizeof(sockaddr_in)) continue;
    const auto* address = reinterpret_cast<const sockaddr_in*>(entry->ai_addr);
    result = {LookupStatus::kOk, ntohl(address->sin_addr.s_addr)};
    break;
  }
  ::freeaddrinfo(found);
  return result;
}

}  // namespace platform
